#include "SaverFixture.h"

#include <algorithm>
#include <filesystem>
#include <utility>

using namespace saver_test;

namespace {
constexpr COLORREF kBlueColor = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
}  // namespace

TEST_F(SaverTest, PicturesAreRowFlippedAndPaddedForTheBitmapCall) {
    BYTE rows[3 * 5 * 3];
    for (int i = 0; i < 45; ++i)
        rows[i] = BYTE(i / 15);  // row r holds r
    ASSERT_TRUE(CSaverWnd::FlipPictureRows(rows, 5, 3));
    EXPECT_EQ(rows[0], 2);
    EXPECT_EQ(rows[15], 1);
    EXPECT_EQ(rows[30], 0);

    int stride = 0;
    auto padded = CSaverWnd::PadPictureRows(rows, 5, 3, stride);
    ASSERT_TRUE(padded);
    EXPECT_EQ(stride, 16);  // 15 bytes of pixels and one filler
    EXPECT_EQ(padded[16], 1);
    EXPECT_EQ(padded[32 + 14], 0);
    ASSERT_TRUE(CSaverWnd::PadPictureRows(rows, 4, 3, stride));
    EXPECT_EQ(stride, 12);

    BYTE single[3] = {1, 2, 3};
    ASSERT_TRUE(CSaverWnd::FlipPictureRows(single, 1, 1));
    EXPECT_EQ(single[0], 1);
    EXPECT_EQ(CSaverWnd::PadPictureRows(nullptr, 4, 3, stride), nullptr);
}

TEST_F(SaverTest, APictureIsCentredAtItsNaturalSize) {
    WriteLines("one\n", "two\n");
    WritePicture("small.gif", 100, 50, {0, 255, 0});
    WriteGifList({"small.gif"});  // relative: found in the system folder
    TestFullScreenWnd* wnd = StartSaver(640, 480);
    Paint();
    ASSERT_TRUE(wnd->GetView().hasPicture) << wnd->GetView().gifError;
    wnd->PaintBackground(RECT{0, 0, 640, 480});
    EXPECT_EQ(Pixel(270, 215), kGreen);
    EXPECT_EQ(Pixel(369, 264), kGreen);
    EXPECT_EQ(Pixel(269, 215), kBlack);
    EXPECT_EQ(Pixel(270, 214), kBlack);
    EXPECT_EQ(Pixel(370, 264), kBlack);
    EXPECT_EQ(Pixel(369, 265), kBlack);
}

TEST_F(SaverTest, ALargerPictureIsCroppedEquallyOnBothSides) {
    WriteLines("one\n", "two\n");
    testing_support::Indices indices(300 * 200, 0);
    indices[44 * 300 + 74] = 1;  // the pixel that lands on the window's corner
    WriteFile(SystemDir() + "/big.gif",
              testing_support::SimpleGif(300, 200, indices, {{0, 0, 255}, {0, 255, 0}}));
    WriteGifList({SystemDir() + "/big.gif"});
    TestFullScreenWnd* wnd = StartSaver(152, 112);
    Paint();
    wnd->PaintBackground(RECT{0, 0, 152, 112});
    EXPECT_EQ(Pixel(0, 0), kGreen);
    EXPECT_EQ(Pixel(1, 0), kBlue);
    EXPECT_EQ(Pixel(151, 111), kBlue);
}

TEST_F(SaverTest, TheBackColourSurroundsANewPictureOnceThenOnlyTheOldVerseBox) {
    WriteLines("aaaa\nbbbb\ncccc\ndddd\n", "eeeeeee\nfffffff\n");
    WritePicture("p.gif", 100, 50, {0, 255, 0});
    WriteGifList({SystemDir() + "/p.gif"});
    settings.BackColor = kBlueColor;
    TestFullScreenWnd* wnd = StartSaver(640, 480);
    Paint();  // set-up, first picture, first verse
    EXPECT_EQ(Pixel(0, 0), kBlue);
    const RECT box = wnd->GetView().verseRect;
    ASSERT_EQ(box.top, (480 - 25) / 2 - 10);

    system.Send(WM_TIMER, 1);  // same picture: black around it...
    EXPECT_EQ(Pixel(0, 0), kBlack);
    EXPECT_EQ(wnd->GetView().verseRect, box);
    EXPECT_EQ(Pixel(box.left + 1, box.top), kBlue);  // ...but the old box is cleared with the back colour
    EXPECT_EQ(Pixel(box.left, box.top), kRed);
    EXPECT_EQ(Pixel(box.left - 1, box.top), kBlack);

    // A new picture shows at the first verse step after it has arrived; the
    // verse step does not wait for it.
    system.Send(WM_TIMER, 2);
    system.Send(WM_TIMER, 1);
    EXPECT_EQ(Pixel(0, 0), kBlack);
    Settle();
    EXPECT_EQ(Pixel(0, 0), kBlack);
    system.Send(WM_TIMER, 1);
    EXPECT_EQ(Pixel(0, 0), kBlue);
}

TEST_F(SaverTest, PicturesTakeTurnsAndABadOneShowsBlackForItsTurn) {
    WriteLines("one\n", "two\n");
    WritePicture("a.gif", 10, 10, {255, 0, 0});
    WritePicture("c.gif", 12, 10, {0, 255, 0});
    WriteFile(SystemDir() + "/b.gif", "not a picture");
    WriteGifList({"a.gif", "b.gif", "missing.gif", "c.gif"});
    testing::internal::CaptureStderr();
    TestFullScreenWnd* wnd = StartSaver(200, 100);
    Paint();
    EXPECT_EQ(wnd->GetView().pictureFile, "a.gif");
    EXPECT_TRUE(wnd->GetView().hasPicture);
    EXPECT_EQ(wnd->GetView().nextPicture, 1);

    PictureStep();
    EXPECT_EQ(wnd->GetView().pictureFile, "b.gif");
    EXPECT_FALSE(wnd->GetView().hasPicture);
    EXPECT_EQ(wnd->GetView().gifError, "Error, b.gif is not a valid .GIF file");
    system.Send(WM_TIMER, 1);
    EXPECT_EQ(Pixel(2, 2), kBlack);

    PictureStep();
    EXPECT_FALSE(wnd->GetView().hasPicture);
    EXPECT_EQ(wnd->GetView().gifError, "Cant open");
    PictureStep();
    EXPECT_TRUE(wnd->GetView().hasPicture);
    EXPECT_EQ(wnd->GetView().pictureWidth, 12);
    EXPECT_EQ(wnd->GetView().nextPicture, 0);
    PictureStep();
    EXPECT_EQ(wnd->GetView().pictureFile, "a.gif");
    EXPECT_EQ(wnd->GetView().pictureWidth, 10);
    PictureStep();
    PictureStep();  // b.gif and missing.gif again: told once for the run
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quorl: the picture \"b.gif\" cannot be shown: Error, b.gif is not a valid .GIF file\n"
              "quorl: the picture \"missing.gif\" cannot be shown: Cant open\n");
}

// Each step writes only the pixels that change, so this compares every pixel
// with what the whole-screen painting would show, over many steps, for a
// picture that covers most of the window and one the verse box overhangs,
// with a back colour that differs from black and one that does not.
struct RepaintCase {
    int pictureWidth, pictureHeight;
    COLORREF back;
};

class RepaintTest : public SaverTest, public testing::WithParamInterface<RepaintCase> {};

TEST_P(RepaintTest, EveryVerseStepShowsExactlyWhatAFullRepaintWould) {
    const RepaintCase c = GetParam();
    // Lines of many widths, so that each verse box differs from the last.
    WriteLines("a\nbbbbbbbbbbbbbbbbbbbbbbbbb\ncccccc\ndddddddddddd\neeeeeeeeeeeeeeeeeee\nff\n",
               "ggg\nhhhhhhhhhhhhhhhhhhhhhh\niiiiiiiiiii\n");
    const testing_support::Palette palette = testing_support::TestPalette(16);
    const std::size_t area = std::size_t(c.pictureWidth) * std::size_t(c.pictureHeight);
    const testing_support::Indices indices = testing_support::RandomIndices(area, 16, 5);
    WriteFile(SystemDir() + "/noise.gif", testing_support::SimpleGif(c.pictureWidth, c.pictureHeight, indices, palette));
    WriteGifList({"noise.gif"});
    settings.BackColor = c.back;
    TestFullScreenWnd* wnd = StartSaver(400, 300);
    Paint();
    const int left = (400 - c.pictureWidth) / 2, top = (300 - c.pictureHeight) / 2;
    const std::uint32_t back = PixelFromColorRef(c.back);
    RECT previous = wnd->GetView().verseRect, beforePrevious = previous;
    for (int step = 0; step < 12; ++step) {
        const bool newPicture = step == 6;  // the same file again: a new picture all the same
        if (newPicture)
            PictureStep();
        system.shown.clear();
        system.Send(WM_TIMER, 1);
        const RECT box = wnd->GetView().verseRect;
        const auto inside = [](const RECT& r, int x, int y) {
            return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        };
        // Unless the whole surround changes colour (on the step after a new
        // picture), only the last three verse boxes reach the screen: the new
        // verse, the last one cleared to the back colour, and the one before,
        // cleared in its turn to black.
        const bool surroundChanges = back != kBlack && (step == 0 || step == 7);
        if (!newPicture && !surroundChanges) {
            const RECT all{std::min({box.left, previous.left, beforePrevious.left}),
                           std::min({box.top, previous.top, beforePrevious.top}),
                           std::max({box.right, previous.right, beforePrevious.right}),
                           std::max({box.bottom, previous.bottom, beforePrevious.bottom})};
            for (const RECT& shown : system.shown)
                EXPECT_TRUE(shown.left >= all.left && shown.top >= all.top && shown.right <= all.right &&
                            shown.bottom <= all.bottom)
                    << "step " << step;
        }
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) {
                if (inside(box, x, y))
                    continue;  // the new verse
                std::uint32_t want = newPicture || inside(previous, x, y) ? back : kBlack;
                if (x >= left && x < left + c.pictureWidth && y >= top && y < top + c.pictureHeight) {
                    const std::size_t i = std::size_t(y - top) * std::size_t(c.pictureWidth) + std::size_t(x - left);
                    const auto& rgb = palette[indices[i]];
                    want = std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2];
                }
                ASSERT_EQ(Pixel(x, y), want) << "step " << step << " at " << x << "," << y;
            }
        beforePrevious = std::exchange(previous, box);
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, RepaintTest,
                         testing::Values(RepaintCase{360, 260, kBlueColor}, RepaintCase{60, 40, kBlueColor},
                                         RepaintCase{60, 40, 0}));

namespace {
// A one-colour 24-bit bitmap, bottom-up rows.
std::string Bmp(int width, int height, BYTE red, BYTE green, BYTE blue) {
    const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    const auto le32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x)
        row[std::size_t(x) * 3] = char(blue), row[std::size_t(x) * 3 + 1] = char(green),
                             row[std::size_t(x) * 3 + 2] = char(red);
    std::string file = "BM" + le32(std::uint32_t(54 + stride * height)) + le32(0) + le32(54) + le32(40) +
                       le32(std::uint32_t(width)) + le32(std::uint32_t(height)) + std::string("\x01\0\x18\0", 4) +
                       std::string(24, '\0');
    for (int y = 0; y < height; ++y)
        file += row;
    return file;
}
}  // namespace

// A folder entry: its first picture shows at once, and the expanded list
// then takes the turns on from the next entry. A picture other than GIF
// larger than the window is shrunk to fit it, centred, on the back colour.
TEST_F(SaverTest, AFolderEntryShowsItsPicturesInTurnFittedToTheWindow) {
    WriteLines("one\n", "two\n");
    WriteFile(SystemDir() + "/pics/1/wide.bmp", Bmp(400, 100, 0, 255, 0));
    WriteFile(SystemDir() + "/pics/2.bmp", Bmp(20, 10, 0, 0, 255));
    WritePicture("a.gif", 10, 10, {255, 0, 0});
    WriteGifList({"pics", "a.gif"});
    settings.BackColor = kRedColor;
    TestFullScreenWnd* wnd = StartSaver(200, 100);
    Paint();
    const CSaverWnd::View view = wnd->GetView();
    ASSERT_TRUE(view.hasPicture);
    EXPECT_EQ(view.pictureWidth, 200);
    EXPECT_EQ(view.pictureHeight, 50);
    EXPECT_EQ(view.pictureFiles, (std::vector<std::string>{"pics/1/wide.bmp", "pics/2.bmp", "a.gif"}));
    EXPECT_EQ(view.nextPicture, 1);
    EXPECT_EQ(Pixel(0, 24), kRed);
    EXPECT_EQ(Pixel(0, 25), kGreen);
    EXPECT_EQ(Pixel(199, 74), kGreen);
    EXPECT_EQ(Pixel(199, 75), kRed);
    PictureStep();
    EXPECT_EQ(wnd->GetView().pictureWidth, 20);  // smaller: 1:1
    PictureStep();
    EXPECT_EQ(wnd->GetView().pictureFile, "a.gif");
}
