// Text through the device context: measuring, opaque and transparent output,
// the UTF-8 / Windows-1252 reading of bytes, and bad arguments.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "DcTestUtil.h"
#include "platform/dc/TextDecoding.h"
#include "platform/qt/Font.h"

using namespace dc_test;

namespace {

constexpr std::uint32_t kGrey = 0x00808080;

class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(font.Attach(CreateFontA(25, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x30, "Courier New")));
        dc.SelectObject(&font);
        dc.SetTextColor(RGB(255, 0, 0));
        dc.SetBkColor(RGB(0, 0, 255));
    }

    SIZE Measure(const std::string& text) {
        SIZE size{-1, -1};
        EXPECT_TRUE(dc.GetTextExtentPointA(text.data(), int(text.size()), &size));
        return size;
    }

    // Red text on blue at (x, y) of the frame painted grey; the area changed.
    RECT Draw(const std::string& text, int x, int y, int mode = OPAQUE) {
        Paint(frame, kGrey);
        dc.ResetDirty();
        dc.SetBkMode(mode);
        EXPECT_TRUE(dc.TextOutA(x, y, text.data(), int(text.size())));
        return dc.DirtyRect();
    }
    std::vector<std::uint32_t> Drawn(const std::string& text) {
        Draw(text, 2, 2);
        return {frame.Pixels(), frame.Pixels() + 60 * 40};
    }

    CFont font;
    Framebuffer frame{60, 40};
    CDC dc{frame};
};

}  // namespace

// Opaque output fills the cell, transparent output blends the same coverage
// over what is there; letters sit on the cell's baseline, capitals below the
// internal leading.
TEST_F(TextTest, OpaqueFillsTheCellTransparentLeavesIt) {
    const RECT cell{5, 7, 5 + 26, 7 + 25};
    EXPECT_EQ(Draw("Mi", 5, 7, OPAQUE), cell);
    const std::vector<std::uint32_t> opaque(frame.Pixels(), frame.Pixels() + 60 * 40);
    const RECT clearDirty = Draw("Mi", 5, 7, TRANSPARENT);
    int ink = 0, lowest = -1, highest = 40;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inCell = x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
            const std::uint32_t o = opaque[std::size_t(y) * 60 + std::size_t(x)], c = frame.Pixel(x, y);
            if (!inCell) {
                ASSERT_TRUE(o == kGrey && c == kGrey) << x << "," << y;
                continue;
            }
            // Red over blue leaves the coverage in the red channel.
            const unsigned coverage = (o >> 16) & 0xFF;
            ASSERT_EQ(o & 0xFF, 255 - coverage) << x << "," << y;
            const auto mix = [&](unsigned ink, unsigned below) {
                return std::uint32_t(std::lround((ink * coverage + below * (255 - coverage)) / 255.0));
            };
            ASSERT_EQ(c, mix(255, 128) << 16 | mix(0, 128) << 8 | mix(0, 128)) << x << "," << y;
            ink += coverage == 255;
            if (coverage > 0) {
                lowest = std::max(lowest, y);
                highest = std::min(highest, y);
            }
        }
    EXPECT_GT(ink, 20);  // fully covered stems are exactly the text colour
    EXPECT_EQ(lowest, cell.top + 18 - 1);  // the ascent is 18 of the 25
    EXPECT_GT(highest, cell.top);
    EXPECT_TRUE(clearDirty.left >= cell.left && clearDirty.right <= cell.right && clearDirty.right > clearDirty.left);
}

// The verse font, "Courier New" at 25, resolves to Liberation Mono with a
// 25-pixel cell. Valid UTF-8 is read as UTF-8, anything else as
// Windows-1252; a NUL byte is a character like any other, and one the face
// lacks still takes the fixed advance.
TEST_F(TextTest, MeasuresTheCellHeightAndHintedAdvancesOfDecodedText) {
    EXPECT_EQ(font.GetSafeHandle()->FamilyName(), "Liberation Mono");
    const std::pair<std::string, int> widths[] = {
        {"M", 13},           {"An old silent pond", 234}, {"", 0},
        {{"a\0b", 3}, 39},   {"caf\xC3\xA9", 4 * 13},     {"caf\xE9", 4 * 13},
        {"\xC3\xA9\xE9", 3 * 13},  // not UTF-8 as a whole: three letters
        {"\xE2\x82\xAC", 13},      // the euro sign
        {"\xF4\x8F\xBF\xBD", 13},  // in no face: the missing-glyph box
        // Overlong, surrogate, beyond U+10FFFF, truncated, stray continuation,
        // bad lead bytes: each byte a letter.
        {"\xC0\xAF", 2 * 13}, {"\xED\xA0\x80", 3 * 13}, {"\xF4\x90\x80\x80", 4 * 13}, {"\xE2\x82", 2 * 13},
        {"a\x80", 2 * 13},    {"\xC3\x28", 2 * 13},     {"\xF8\x88\x80\x80\x80", 5 * 13},
    };
    for (const auto& [text, width] : widths)
        EXPECT_EQ(Measure(text), (SIZE{width, 25})) << text;
    EXPECT_TRUE(Drawn("caf\xC3\xA9") == Drawn("caf\xE9"));
    EXPECT_TRUE(Drawn("\xE2\x82\xAC") == Drawn("\x80"));
    EXPECT_FALSE(Drawn("\xE2\x82\xAC") == Drawn("\xE2"));
}

// Latin, Greek and Cyrillic lines, shaped, draw exactly the pixels they drew
// glyph by glyph before lines were shaped (the hashes were taken then), in
// monospaced and proportional faces, with kerning pairs and ligature letters.
TEST(TextPixels, LatinGreekAndCyrillicLinesDrawAsBeforeShaping) {
    const struct {
        int height, width, weight;
        DWORD family;
        const char* face;
        int mode;
        const char* text;
        std::uint64_t hash;
    } cases[] = {
        {25, 0, 400, 0x30, "Courier New", TRANSPARENT, "An old silent pond", 0x61979c07a9038b82},
        {40, 0, 400, 0x30, "Courier New", OPAQUE, "caf\xC3\xA9 na\xC3\xAFve \xC3\x85ngstr\xC3\xB6m", 0xecd8d9aababce01a},
        {30, 0, 400, 0, "DejaVu Sans", TRANSPARENT, "AV To Wa Ty office fi fl ffi", 0x5c0c8fab7a590a64},
        {33, 0, 400, 0x10, "Times New Roman", TRANSPARENT,
         "\xCE\x91\xCE\xB2\xCE\xB3 \xD0\x96\xD0\xB8\xD0\xB2 123 (x) [y] {z} !?.,;", 0x567035c0f9dc13ef},
        {20, 0, 700, 0x20, "Arial", OPAQUE, "A frog jumps into the pond,", 0xcfb9e6a4b5796feb},
        {17, 9, 400, 0, "DejaVu Serif", TRANSPARENT, "1/2 \xE2\x80\x94 \xE2\x80\x9Cquoted\xE2\x80\x9D", 0xbc656de7bdbc151a},
    };
    for (const auto& c : cases) {
        CFont font;
        ASSERT_TRUE(font.Attach(CreateFontA(c.height, c.width, 0, 0, c.weight, 0, 0, 0, 0, 0, 0, 0, c.family, c.face)));
        Framebuffer frame(900, 90);
        Paint(frame, 0x00336699);
        CDC dc(frame);
        dc.SelectObject(&font);
        dc.SetTextColor(RGB(250, 240, 10));
        dc.SetBkColor(RGB(1, 2, 3));
        dc.SetBkMode(c.mode);
        dc.TextOutA(7, 11, c.text, int(std::strlen(c.text)));
        std::uint64_t hash = 1469598103934665603ull;  // FNV-1a over the pixel words
        for (int i = 0; i < 900 * 90; ++i)
            hash = (hash ^ frame.Pixels()[i]) * 1099511628211ull;
        EXPECT_EQ(hash, c.hash) << c.face << " " << c.text;
    }
}

TEST_F(TextTest, ClipsAtEveryEdgeAndAtExtremePositions) {
    EXPECT_EQ(Draw("MMMMMMMM", -6, -10), (RECT{0, 0, 60, 15}));
    EXPECT_GT(Count(frame, 0x000000FF), 0);
    for (const auto& [x, y] : {std::pair{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {INT_MAX - 5, 0}, {0, INT_MIN + 3},
                               {INT_MIN, 0}, {60, 0}, {0, 40}}) {
        EXPECT_EQ(Draw("An old silent pond", x, y), RECT{}) << x << "," << y;
        EXPECT_EQ(Count(frame, kGrey), 60 * 40) << x << "," << y;
    }
}

TEST_F(TextTest, RefusesBadArgumentsWithoutDrawing) {
    Paint(frame, kGrey);
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
    EXPECT_EQ(Count(frame, kGrey), 60 * 40);
}

// Selecting returns the font before; an empty font is refused; null goes
// back to GDI's stock font, which stands in while none is selected.
TEST(TextFontSelection, SelectReturnsThePreviousFontAndNullGoesBackToTheDefault) {
    Framebuffer frame(1, 1);
    CDC dc(frame);
    CFont big, empty;
    ASSERT_TRUE(big.Attach(CreateFontA(40, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x30, "Courier New")));
    SIZE size{};
    for (auto [select, previous, height] : {std::tuple{&big, (CFont*)nullptr, 40}, {&empty, nullptr, 40},
                                             {nullptr, &big, 16}}) {
        EXPECT_EQ(dc.SelectObject(select), previous);
        EXPECT_TRUE(dc.GetTextExtentPointA("x", 1, &size));
        EXPECT_EQ(size.cy, height);
    }
}

// Windows-1252 as Windows maps it: its five unassigned bytes stay C1 controls.
TEST(TextDecoding, ValidUtf8OrElseWindows1252ForTheWholeString) {
    EXPECT_EQ(DecodeText("a\xC3\xA9\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"), U"a\u00E9\U0001F600\U0010FFFF");
    EXPECT_EQ(DecodeText("\x80\x81\x8D\x9F\xE9\xFF"), U"\u20AC\u0081\u008D\u0178\u00E9\u00FF");
}
