#include "SaverFixture.h"

#include <filesystem>

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
    system.Send(WM_PAINT);
    ASSERT_TRUE(wnd->m_pPictureBits) << wnd->m_strGIFError;
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
    system.Send(WM_PAINT);
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
    system.Send(WM_PAINT);  // set-up, first picture, first verse
    EXPECT_EQ(Pixel(0, 0), kBlue);
    const RECT box = wnd->m_verseRect;
    ASSERT_EQ(box.top, (480 - 25) / 2 - 10);

    system.Send(WM_TIMER, 1);  // same picture: black around it...
    EXPECT_EQ(Pixel(0, 0), kBlack);
    EXPECT_EQ(wnd->m_verseRect, box);
    EXPECT_EQ(Pixel(box.left + 1, box.top), kBlue);  // ...but the old box is cleared with the back colour
    EXPECT_EQ(Pixel(box.left, box.top), kRed);
    EXPECT_EQ(Pixel(box.left - 1, box.top), kBlack);

    system.Send(WM_TIMER, 2);  // a new picture shows at the next verse
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
    TestFullScreenWnd* wnd = StartSaver(200, 100);
    system.Send(WM_PAINT);
    EXPECT_EQ(wnd->m_strPictureFile, "a.gif");
    EXPECT_TRUE(wnd->m_pPictureBits);
    EXPECT_EQ(wnd->m_nNextPicture, 1);

    system.Send(WM_TIMER, 2);
    EXPECT_EQ(wnd->m_strPictureFile, "b.gif");
    EXPECT_FALSE(wnd->m_pPictureBits);
    EXPECT_EQ(wnd->m_strGIFError, "Error, b.gif is not a valid .GIF file");
    system.Send(WM_TIMER, 1);
    EXPECT_EQ(Pixel(2, 2), kBlack);

    system.Send(WM_TIMER, 2);
    EXPECT_FALSE(wnd->m_pPictureBits);
    EXPECT_EQ(wnd->m_strGIFError, "Cant open");
    system.Send(WM_TIMER, 2);
    EXPECT_TRUE(wnd->m_pPictureBits);
    EXPECT_EQ(wnd->m_nPictureWidth, 12);
    EXPECT_EQ(wnd->m_nNextPicture, 0);
    system.Send(WM_TIMER, 2);
    EXPECT_EQ(wnd->m_strPictureFile, "a.gif");
    EXPECT_EQ(wnd->m_nPictureWidth, 10);
}


TEST_F(SaverTest, EveryVerseStepLeavesNoTraceOfEarlierVerses) {
    // Lines of many widths, so that each verse box differs from the last.
    WriteLines("a\nbbbbbbbbbbbbbbbbbbbbbbbbb\ncccccc\ndddddddddddd\neeeeeeeeeeeeeeeeeee\nff\n",
               "ggg\nhhhhhhhhhhhhhhhhhhhhhh\niiiiiiiiiii\n");
    const testing_support::Palette palette = testing_support::TestPalette(16);
    const testing_support::Indices indices = testing_support::RandomIndices(360 * 260, 16, 5);
    WriteFile(SystemDir() + "/noise.gif", testing_support::SimpleGif(360, 260, indices, palette));
    WriteGifList({"noise.gif"});
    settings.BackColor = kBlueColor;
    settings.Delay = 1;
    settings.GIFDelay = 60;
    TestFullScreenWnd* wnd = StartSaver(400, 300);
    system.Send(WM_PAINT);
    for (int step = 0; step < 12; ++step) {
        const bool newPicture = step == 6;  // the same file again: a new picture all the same
        if (newPicture)
            system.Send(WM_TIMER, 2);
        system.Send(WM_TIMER, 1);
        const RECT box = wnd->m_verseRect;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) {
                if (x >= box.left && x < box.right && y >= box.top && y < box.bottom)
                    continue;  // the new verse
                const bool inPicture = x >= 20 && x < 380 && y >= 20 && y < 280;
                std::uint32_t want = newPicture ? kBlue : kBlack;
                if (inPicture) {
                    const auto& rgb = palette[indices[std::size_t(y - 20) * 360 + std::size_t(x - 20)]];
                    want = std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2];
                }
                ASSERT_EQ(Pixel(x, y), want) << "step " << step << " at " << x << "," << y;
            }
    }
}
