// Font resolution and Windows cell metrics; the verse font itself is
// measured through the device context in TextTest.cpp.
#include "platform/qt/Font.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

namespace {

constexpr DWORD kModern = 0x30;  // FF_MODERN, default pitch: what the verse font asks for

HFONT MakeFont(int height, const char* face, DWORD pitchAndFamily = kModern, int width = 0) {
    return CreateFontA(height, width, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, pitchAndFamily, face);
}

}  // namespace

// A positive height is the cell, a negative one the em (the cell adds the
// internal leading), zero a default; a width sets the average character
// width. Windows' rounding of ascent and descent on their own may miss the
// cell by one pixel at a few sizes, never by more.
TEST(CreateFont, HeightAndWidthFollowTheRequest) {
    for (int height = 6; height <= 120; ++height) {
        HFONT font = MakeFont(height, "Courier New");
        ASSERT_TRUE(font);
        EXPECT_NEAR(font->CellHeight(), height, 1) << height;
    }
    // Liberation Mono's OS/2 win metrics: ascent 1705 and descent 615 font
    // units on a 2048-unit em. An em of 100 pixels gives a cell of the two,
    // each rounded on its own: 83 + 30.
    EXPECT_EQ(MakeFont(-100, "Courier New")->CellHeight(),
              std::lround(100 * 1705 / 2048.0) + std::lround(100 * 615 / 2048.0));
    // Height 0, "a reasonable size", is the font a 16-pixel cell asks for.
    EXPECT_EQ(MakeFont(0, "Courier New")->CellHeight(), MakeFont(16, "Courier New")->CellHeight());
    EXPECT_EQ(MakeFont(25, "Courier New", kModern, 26)->TextWidth(U"M"), 26);
}

// An unknown face falls back to the asked family (a modern face is fixed
// pitch); a face that exists wins over the family. Absurd sizes and names
// still give a font of bounded size.
TEST(CreateFont, UnknownFacesAndAbsurdRequestsStillGiveAUsableFont) {
    for (const char* face : {"No Such Face Anywhere", "", static_cast<const char*>(nullptr)}) {
        HFONT font = MakeFont(25, face);
        ASSERT_TRUE(font) << (face ? face : "null");
        EXPECT_EQ(font->TextWidth(U"i"), font->TextWidth(U"M")) << font->FamilyName();
        EXPECT_GT(font->TextWidth(U"i"), 0);
    }
    EXPECT_EQ(MakeFont(25, "DejaVu Sans")->FamilyName(), "DejaVu Sans");
    const std::string longName(5000, 'x');
    for (int height : {INT_MIN, INT_MAX, -1, 1}) {
        HFONT font = MakeFont(height, longName.c_str(), kModern, height);
        ASSERT_TRUE(font) << height;
        EXPECT_GT(font->CellHeight(), 0);
        EXPECT_LE(font->CellHeight(), 2400);
        EXPECT_GE(font->TextWidth(U"W"), 0);
    }
}
