// Font resolution and Windows cell metrics.
#include "platform/dc/Font.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>


namespace {

constexpr DWORD kModern = 0x30;  // FF_MODERN, default pitch: what the verse font asks for

std::unique_ptr<Font> MakeFont(int height, const char* face, DWORD pitchAndFamily = kModern, int width = 0) {
    return CreateFontA(height, width, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, pitchAndFamily, face);
}

// Measured as GetTextExtentPointA measures ASCII.
SIZE Extent(Font* font, const char* text) {
    const std::u32string line(text, text + std::strlen(text));
    return SIZE{static_cast<LONG>(font->TextWidth(line)), font->CellHeight()};
}

}  // namespace

TEST(CreateFont, CourierNewAt25IsLiberationMonoWithA25PixelCell) {
    std::unique_ptr<Font> font = MakeFont(25, "Courier New");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->FamilyName(), "Liberation Mono");
    EXPECT_EQ(font->CellHeight(), 25);
    EXPECT_EQ(font->Ascent(), 18);
    EXPECT_EQ(font->Descent(), 7);
    EXPECT_EQ(Extent(font.get(), "M"), (SIZE{13, 25}));
    EXPECT_EQ(Extent(font.get(), "An old silent pond"), (SIZE{234, 25}));
}

TEST(CreateFont, PositiveHeightIsTheCellNegativeTheEmZeroADefault) {
    // Windows' rounding of ascent and descent on their own may miss the cell
    // by one pixel at a few sizes, never by more.
    for (int height = 6; height <= 120; ++height) {
        std::unique_ptr<Font> font = MakeFont(height, "Courier New");
        ASSERT_TRUE(font);
        EXPECT_NEAR(font->CellHeight(), height, 1) << height;
    }
    // The em excludes the internal leading, so the cell is taller.
    std::unique_ptr<Font> em = MakeFont(-100, "Courier New");
    ASSERT_TRUE(em);
    EXPECT_EQ(em->CellHeight(), 113);
    std::unique_ptr<Font> standard = MakeFont(0, "Courier New");
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard->CellHeight(), 16);
}

TEST(CreateFont, WidthSetsTheAverageCharacterWidth) {
    std::unique_ptr<Font> wide = MakeFont(25, "Courier New", kModern, 26);
    ASSERT_TRUE(wide);
    EXPECT_EQ(Extent(wide.get(), "M"), (SIZE{26, 25}));
}

TEST(CreateFont, UnknownFaceFallsBackToTheAskedFamily) {
    for (const char* face : {"No Such Face Anywhere", "", static_cast<const char*>(nullptr)}) {
        std::unique_ptr<Font> font = MakeFont(25, face);
        ASSERT_TRUE(font) << (face ? face : "null");
        // A modern face is fixed pitch: every letter takes the same advance.
        EXPECT_EQ(Extent(font.get(), "i").cx, Extent(font.get(), "M").cx) << font->FamilyName();
        EXPECT_GT(Extent(font.get(), "i").cx, 0);
    }
    // A face that exists wins over the family.
    std::unique_ptr<Font> sans = MakeFont(25, "DejaVu Sans");
    ASSERT_TRUE(sans);
    EXPECT_EQ(sans->FamilyName(), "DejaVu Sans");
    // Without a family any font will do.
    EXPECT_TRUE(MakeFont(25, "No Such Face Anywhere", 0));
}

TEST(CreateFont, AbsurdRequestsStillGiveABoundedFont) {
    const std::string longName(5000, 'x');
    for (int height : {INT_MIN, INT_MAX, -1, 1}) {
        std::unique_ptr<Font> font = MakeFont(height, longName.c_str(), kModern, height);
        ASSERT_TRUE(font) << height;
        EXPECT_GT(font->CellHeight(), 0);
        EXPECT_LE(font->CellHeight(), 2400);
        EXPECT_GE(font->Glyph(U'W').advance, 0);
    }
}

TEST(Font, RendersEachGlyphOnceAndGivesNotdefForMissingOnes) {
    std::unique_ptr<Font> font = MakeFont(25, "Courier New");
    ASSERT_TRUE(font);
    const GlyphImage* first = &font->Glyph(U'M');
    EXPECT_EQ(first, &font->Glyph(U'M'));
    EXPECT_GT(first->width, 0);
    EXPECT_EQ(first->coverage.size(), std::size_t(first->width) * first->height);
    // Not in the face: the .notdef box, with the face's fixed advance.
    const GlyphImage& missing = font->Glyph(U'\U0001F600');
    EXPECT_EQ(missing.advance, 13);
    EXPECT_GT(missing.width, 0);
    EXPECT_EQ(font->Glyph(U'\U0010FFFF').advance, 13);
}

TEST(CFont, AttachTakesOnlyAFont) {
    CFont holder;
    EXPECT_FALSE(holder.Attach(nullptr));
    EXPECT_EQ(holder.GetFont(), nullptr);
    std::unique_ptr<Font> font = MakeFont(25, "Courier New");
    Font* raw = font.get();
    EXPECT_TRUE(holder.Attach(std::move(font)));
    EXPECT_FALSE(holder.Attach(nullptr));
    EXPECT_EQ(holder.GetFont(), raw);
}
