#include "SaverFixture.h"
#include "verse/VerseBook.h"

using namespace saver_test;

namespace {

std::string Chars(int n) { return std::string(std::size_t(n), 'a'); }

}  // namespace

TEST_F(SaverTest, VerseLinesAreCentredAndFramedByAShadedBox) {
    WriteLines("one\n", "two\n");
    TestFullScreenWnd* wnd = StartSaver();
    Paint();
    RECT client{0, 0, 1024, 768};
    wnd->PaintBackground(client);
    // The real verse font: "Courier New" at 25 is a metric twin whose cell is
    // 25 pixels, every character 13 pixels wide.
    CDC dc(*system.Pixels());
    CFont font;
    ASSERT_TRUE(font.Attach(CreateFontA(25, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x30, "Courier New")));
    dc.SelectObject(&font);
    SIZE size{};
    ASSERT_TRUE(dc.GetTextExtentPointA("M", 1, &size));
    ASSERT_EQ(size, (SIZE{13, 25}));
    // 130, 260 and 195 pixels wide: x = 447, 382, 414; y = 371, 396, 421.
    wnd->DrawVerse(Chars(10), Chars(20), Chars(15), client);
    EXPECT_EQ(wnd->GetView().verseRect, (RECT{372, 361, 652, 456}));

    // Checkerboard corners, in the margin where no text reaches.
    EXPECT_EQ(Pixel(372, 361), kRed);
    EXPECT_EQ(Pixel(373, 361), kBlack);
    EXPECT_EQ(Pixel(372, 362), kBlack);
    EXPECT_EQ(Pixel(651, 362), kRed);
    EXPECT_EQ(Pixel(650, 455), kRed);
    EXPECT_EQ(Pixel(652, 361), kBlack);  // right and bottom lie outside
    EXPECT_EQ(Pixel(372, 456), kBlack);
    EXPECT_EQ(Pixel(371, 361), kBlack);

    // Some text in the verse colour (cyan) inside each line's cell.
    auto cyanIn = [&](int left, int top, int width) {
        int count = 0;
        for (int y = top; y < top + 25; ++y)
            for (int x = left; x < left + width; ++x)
                count += Pixel(x, y) == 0x00FFFF;
        return count;
    };
    EXPECT_GT(cyanIn(447, 371, 130), 0);
    EXPECT_GT(cyanIn(382, 396, 260), 0);
    EXPECT_GT(cyanIn(414, 421, 195), 0);
    EXPECT_EQ(cyanIn(382, 371, 60), 0);  // nothing left of the first line
}

TEST_F(SaverTest, LinesWiderThanTheWindowAndEmptyLinesKeepTheirPlaces) {
    WriteLines("one\n", "two\n");
    TestFullScreenWnd* wnd = StartSaver(101, 300);
    Paint();
    // 156 pixels in 101: (101 - 156) / 2 = -27.5, truncated toward zero.
    // The empty lines sit at x = 50 with width 0 and still count for the box.
    wnd->DrawVerse(Chars(12), "", "", RECT{0, 0, 101, 300});
    EXPECT_EQ(wnd->GetView().verseRect, (RECT{-37, 127, 139, 222}));
    wnd->DrawVerse(Chars(1), "", "", RECT{0, 0, 101, 300});
    EXPECT_EQ(wnd->GetView().verseRect, (RECT{34, 127, 67, 222}));  // 13 wide at 44; the empty ones at 50
}

TEST_F(SaverTest, ShadingIsACheckerboardThatLeavesAnOddLastColumn) {
    WriteLines("one\n", "two\n");
    TestFullScreenWnd* wnd = StartSaver(40, 30);
    Paint();
    CDC dc(*system.Pixels());
    CBrush black;
    black.CreateSolidBrush(0);
    RECT all{0, 0, 40, 30};
    dc.FillRect(&all, &black);

    wnd->ShadeRect(10, 20, 15, 23, dc, kRedColor);  // 5 wide: two pairs of columns
    for (int y = 20; y < 23; ++y)
        for (int x = 10; x < 15; ++x)
            EXPECT_EQ(Pixel(x, y), (x < 14 && (x - 10 + y - 20) % 2 == 0) ? kRed : kBlack) << x << "," << y;

    dc.FillRect(&all, &black);
    wnd->ShadeRect(-3, -3, 4, 2, dc, kRedColor);  // clipped at the top-left corner
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(Pixel(x, y), (x < 3 && y < 2 && (x + y) % 2 == 0) ? kRed : kBlack) << x << "," << y;

    dc.FillRect(&all, &black);
    wnd->ShadeRect(5, 5, 6, 9, dc, kRedColor);        // one column: no pair
    wnd->ShadeRect(5, 5, 9, 5, dc, kRedColor);        // no rows
    wnd->ShadeRect(-2000000000, -2000000000, 2000000000, 2000000000, dc, kRedColor);  // huge, ends quickly
    EXPECT_EQ(Pixel(0, 0), kRed);
    EXPECT_EQ(Pixel(1, 0), kBlack);
}

TEST_F(SaverTest, AnEmptyFirstLineDrawsNothing) {
    WriteLines("\n\n", "two\n");
    TestFullScreenWnd* wnd = StartSaver(200, 100);
    settings.BackColor = kGreenColor;
    SaveSettings(settings);
    Paint();
    EXPECT_EQ(wnd->GetView().verseRect, RECT{});  // no verse, no box
    EXPECT_EQ(Pixel(100, 50), kGreen);    // the set-up's back colour stays
    system.Send(WM_TIMER, 1);
    EXPECT_EQ(Pixel(100, 50), kGreen);
}

TEST_F(SaverTest, MissingLineFilesShowTheNoticeLikeAVerse) {
    TestFullScreenWnd* wnd = StartSaver();
    Paint();
    const int length = int(CVerseBook::NoticeMiddleLine().size());
    const int x2 = (1024 - length * 13) / 2;
    EXPECT_EQ(wnd->GetView().verseRect, (RECT{x2 - 10, 361, x2 + length * 13 + 10, 456}));
}
