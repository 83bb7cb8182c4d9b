// Text through the device context: measuring, opaque and transparent output,
// the UTF-8 / Windows-1252 reading of bytes, and bad arguments.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "DcTestUtil.h"
#include "platform/dc/TextDecoding.h"

using namespace dc_test;

namespace {

constexpr std::uint32_t kGrey = 0x00808080;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(font.Attach(CreateFontA(25, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x30, "Courier New")));
    }

    SIZE Measure(const std::string& text) {
        Framebuffer frame(1, 1);
        CDC dc(frame);
        dc.SelectObject(&font);
        SIZE size{-1, -1};
        EXPECT_TRUE(dc.GetTextExtentPointA(text.data(), int(text.size()), &size));
        return size;
    }

    // Draws text at (x, y) on a grey frame and hands back the frame.
    Framebuffer Draw(const std::string& text, int x, int y, int mode, RECT* dirty = nullptr) {
        Framebuffer frame(60, 40);
        Paint(frame, kGrey);
        CDC dc(frame);
        dc.SelectObject(&font);
        dc.SetTextColor(kRed);
        dc.SetBkColor(kBlue);
        dc.SetBkMode(mode);
        EXPECT_TRUE(dc.TextOutA(x, y, text.data(), int(text.size())));
        if (dirty)
            *dirty = dc.DirtyRect();
        return frame;
    }

    static bool SameFrame(const Framebuffer& a, const Framebuffer& b) {
        return a.Width() == b.Width() && a.Height() == b.Height() &&
               std::memcmp(a.Pixels(), b.Pixels(), std::size_t(a.Width()) * a.Height() * 4) == 0;
    }

    CFont font;
};

}  // namespace

TEST_F(TextTest, OpaqueFillsTheCellTransparentLeavesIt) {
    RECT opaqueDirty, clearDirty;
    const Framebuffer opaque = Draw("Mi", 5, 7, OPAQUE, &opaqueDirty);
    const Framebuffer clear = Draw("Mi", 5, 7, TRANSPARENT, &clearDirty);
    const RECT cell{5, 7, 5 + 26, 7 + 25};
    EXPECT_EQ(opaqueDirty, cell);
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inCell = x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
            const std::uint32_t o = opaque.Pixel(x, y), c = clear.Pixel(x, y);
            if (!inCell) {
                ASSERT_EQ(o, kGrey) << x << "," << y;
                ASSERT_EQ(c, kGrey) << x << "," << y;
                continue;
            }
            // Red over blue leaves the coverage in the red channel; the same
            // coverage of red over grey must give the transparent pixel.
            const unsigned coverage = (o >> 16) & 0xFF;
            ASSERT_EQ(o & 0xFF, 255 - coverage) << x << "," << y;
            const auto mix = [&](unsigned ink, unsigned below) {
                return std::uint32_t(std::lround((ink * coverage + below * (255 - coverage)) / 255.0));
            };
            ASSERT_EQ(c, mix(255, 128) << 16 | mix(0, 128) << 8 | mix(0, 128)) << x << "," << y;
            ink += coverage == 255;
        }
    EXPECT_GT(ink, 20);  // fully covered stems are exactly the text colour
    EXPECT_GE(clearDirty.left, cell.left);
    EXPECT_LE(clearDirty.right, cell.right);
    EXPECT_GT(clearDirty.right, clearDirty.left);
}

TEST_F(TextTest, DefaultsAreBlackTextOnAnOpaqueWhiteCell) {
    Framebuffer frame(20, 30);
    Paint(frame, kGrey);
    CDC dc(frame);
    dc.SelectObject(&font);
    EXPECT_EQ(dc.SetBkMode(7), 0);  // not a mode: refused, still opaque
    EXPECT_TRUE(dc.TextOutA(0, 0, "M", 1));
    EXPECT_EQ(CountIn(frame, kGrey, 0, 0, 13, 25), 0);
    EXPECT_GT(CountIn(frame, 0x00FFFFFF, 0, 0, 13, 25), 0);
    EXPECT_GT(CountIn(frame, 0x00000000, 0, 0, 13, 25), 0);
}

TEST_F(TextTest, LettersSitOnTheBaselineOfTheCell) {
    const Framebuffer frame = Draw("M", 0, 0, TRANSPARENT);
    int lowest = -1, highest = 40;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            if (frame.Pixel(x, y) != kGrey) {
                lowest = std::max(lowest, y);
                highest = std::min(highest, y);
            }
    EXPECT_EQ(lowest, font.GetFont()->Ascent() - 1);
    EXPECT_GT(highest, 0);  // capitals leave the internal leading free
}

TEST_F(TextTest, MeasuresWithTheCellHeightAndHintedAdvances) {
    EXPECT_EQ(Measure("M"), (SIZE{13, 25}));
    EXPECT_EQ(Measure("An old silent pond"), (SIZE{234, 25}));
    EXPECT_EQ(Measure(""), (SIZE{0, 25}));
    EXPECT_EQ(Measure(std::string("a\0b", 3)), (SIZE{39, 25}));  // a NUL byte is a character like any other
}

TEST_F(TextTest, ValidUtf8IsReadAsUtf8AndAnythingElseAsWindows1252) {
    EXPECT_EQ(Measure("caf\xC3\xA9").cx, 4 * 13);       // UTF-8 e-acute: one letter
    EXPECT_EQ(Measure("caf\xE9").cx, 4 * 13);           // Windows-1252 e-acute
    EXPECT_EQ(Measure("\xC3\xA9\xE9").cx, 3 * 13);      // mixed: not UTF-8, so three letters
    EXPECT_EQ(Measure("\xE2\x82\xAC").cx, 13);          // euro sign, UTF-8
    EXPECT_TRUE(SameFrame(Draw("caf\xC3\xA9", 2, 2, OPAQUE), Draw("caf\xE9", 2, 2, OPAQUE)));
    EXPECT_TRUE(SameFrame(Draw("\xE2\x82\xAC", 2, 2, OPAQUE), Draw("\x80", 2, 2, OPAQUE)));
    EXPECT_FALSE(SameFrame(Draw("\xE2\x82\xAC", 2, 2, OPAQUE), Draw("\xE2", 2, 2, OPAQUE)));
}

TEST_F(TextTest, ClipsAtEveryEdgeAndAtExtremePositions) {
    RECT dirty;
    const Framebuffer partly = Draw("MMMMMMMM", -6, -10, OPAQUE, &dirty);
    EXPECT_EQ(dirty, (RECT{0, 0, 60, 15}));
    EXPECT_GT(Count(partly, 0x000000FF), 0);
    for (const auto& [x, y] : {std::pair{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {INT_MAX - 5, 0}, {0, INT_MIN + 3},
                               {INT_MIN, 0}, {60, 0}, {0, 40}}) {
        const Framebuffer frame = Draw("An old silent pond", x, y, OPAQUE, &dirty);
        EXPECT_EQ(Count(frame, kGrey), 60 * 40) << x << "," << y;
        EXPECT_EQ(dirty, RECT{}) << x << "," << y;
    }
}

TEST_F(TextTest, RefusesBadArgumentsWithoutDrawing) {
    Framebuffer frame(20, 20);
    Paint(frame, kGrey);
    CDC dc(frame);
    dc.SelectObject(&font);
    SIZE size{7, 7};
    EXPECT_FALSE(dc.GetTextExtentPointA(nullptr, 3, &size));
    EXPECT_FALSE(dc.GetTextExtentPointA("abc", -1, &size));
    EXPECT_FALSE(dc.GetTextExtentPointA("abc", 3, nullptr));
    EXPECT_EQ(size, (SIZE{7, 7}));
    EXPECT_TRUE(dc.GetTextExtentPointA(nullptr, 0, &size));
    EXPECT_EQ(size, (SIZE{0, 25}));
    EXPECT_FALSE(dc.TextOutA(0, 0, nullptr, 5));
    EXPECT_FALSE(dc.TextOutA(0, 0, "abc", INT_MIN));
    EXPECT_TRUE(dc.TextOutA(0, 0, nullptr, 0));
    EXPECT_TRUE(dc.TextOutA(0, 0, "abc", 0));  // nothing to draw, not even the cell
    EXPECT_EQ(Count(frame, kGrey), 400);
}

TEST(TextFontSelection, SelectReturnsThePreviousFontAndNullGoesBackToTheDefault) {
    Framebuffer frame(1, 1);
    CDC dc(frame);
    SIZE size{};
    EXPECT_TRUE(dc.GetTextExtentPointA("x", 1, &size));  // GDI's stock font stands in
    EXPECT_EQ(size.cy, 16);
    CFont big, empty;
    ASSERT_TRUE(big.Attach(CreateFontA(40, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x30, "Courier New")));
    EXPECT_EQ(dc.SelectObject(&big), nullptr);
    EXPECT_EQ(dc.SelectObject(&empty), nullptr);  // refused
    EXPECT_TRUE(dc.GetTextExtentPointA("x", 1, &size));
    EXPECT_EQ(size.cy, 40);
    EXPECT_EQ(dc.SelectObject(nullptr), &big);
    EXPECT_TRUE(dc.GetTextExtentPointA("x", 1, &size));
    EXPECT_EQ(size.cy, 16);
}

TEST(TextDecoding, ValidUtf8OrElseWindows1252ForTheWholeString) {
    EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"));
    // Overlong, surrogate, beyond U+10FFFF, truncated, stray continuation, bad lead bytes.
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80",
                            "\xC3\x28", "\xFF", "\xF8\x88\x80\x80\x80"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    EXPECT_EQ(DecodeText("a\xC3\xA9\xF0\x9F\x98\x80"), U"a\u00E9\U0001F600");
    EXPECT_EQ(DecodeText("\x80\x81\x8D\x9F\xE9\xFF"), U"\u20AC\u0081\u008D\u0178\u00E9\u00FF");
    EXPECT_EQ(DecodeText("\xC3\xA9\xFF"), U"\u00C3\u00A9\u00FF");  // one bad byte: the whole line is 1252
}
