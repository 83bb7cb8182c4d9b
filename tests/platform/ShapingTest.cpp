// Lines in other scripts: shaped as HarfBuzz's own tool shapes them, ordered
// as FriBidi orders them, drawn from a fallback face when the font lacks
// their letters, and never as the missing-glyph box.
#include <gtest/gtest.h>

#include <fribidi.h>

#include <cstdio>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "DcTestUtil.h"
#include "platform/dc/TextDecoding.h"
#include "platform/qt/Font.h"

using namespace dc_test;

namespace {

constexpr DWORD kModern = 0x30;

HFONT MakeFont(int height, const char* face) {
    return CreateFontA(height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, kModern, face);
}

struct Shaped {
    std::uint32_t id;
    std::int32_t advance;
    bool operator==(const Shaped&) const = default;
};

// hb-shape's glyph ids and advances for the line in the face at the scale.
std::vector<Shaped> HbShape(const FontFace& face, const std::string& text, const std::string& language) {
    std::string command = "hb-shape --no-glyph-names --no-clusters --bot --eot --font-size=" +
                          std::to_string(face.ScaleX()) + " --face-index=" + std::to_string(face.Index()) +
                          (language.empty() ? "" : " --language=" + language) + " '" + face.Path() + "' '" +
                          text + "'";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            output.append(buffer, n);
        ::pclose(pipe);
    }
    std::vector<Shaped> glyphs;
    static const std::regex kGlyph(R"((\d+)(?:@-?\d+,-?\d+)?\+(-?\d+))");
    for (std::sregex_iterator it(output.begin(), output.end(), kGlyph), end; it != end; ++it)
        glyphs.push_back({std::uint32_t(std::stoul((*it)[1])), std::int32_t(std::stol((*it)[2]))});
    return glyphs;
}

// Frame positions where the image's coverage appears exactly, ink on paper.
int Occurrences(const Framebuffer& frame, const GlyphImage& box, std::uint32_t paper) {
    int found = 0;
    for (int y = 0; y + box.height <= frame.Height(); ++y)
        for (int x = 0; x + box.width <= frame.Width(); ++x) {
            bool same = true;
            for (int row = 0; same && row < box.height; ++row)
                for (int column = 0; same && column < box.width; ++column) {
                    const bool inked = box.coverage[std::size_t(row * box.width + column)] != 0;
                    same = (frame.Pixel(x + column, y + row) != paper) == inked;
                }
            found += same;
        }
    return found;
}

}  // namespace

// Each line in a face that has its script: the same glyphs and advances as
// hb-shape gives for that font file at that scale, placed by those advances.
TEST(Shaping, GlyphsAndAdvancesAreHarfBuzzsOwn) {
    struct Case {
        const char* face;
        const char* text;
        const char* language;
    };
    const Case cases[] = {
        {"Noto Sans Arabic", "\u0644\u0627 \u0633\u0644\u0627\u0645 \u0639\u0644\u064A\u0643\u0645", ""},
        {"Noto Sans Devanagari", "\u0915\u094D\u0937\u0924\u094D\u0930\u093F\u092F \u0928\u092E\u0938\u094D\u0924\u0947", ""},
        {"Noto Sans Thai", "\u0E2A\u0E27\u0E31\u0E2A\u0E14\u0E35\u0E04\u0E23\u0E31\u0E1A \u0E19\u0E49\u0E33", ""},
        {"Noto Sans CJK JP", "\u53E4\u6C60\u3084 \u86D9\u98DB\u3073\u8FBC\u3080\u6C34\u306E\u97F3", "ja"},
    };
    for (const Case& c : cases) {
        HFONT font = MakeFont(40, c.face);
        ASSERT_TRUE(font);
        ASSERT_EQ(font->FamilyName(), c.face);
        const ShapedLine& line = font->Shape(DecodeText(c.text));
        std::vector<Shaped> ours;
        std::int64_t pen = 0;
        for (const PlacedGlyph& glyph : line.glyphs) {
            EXPECT_EQ(glyph.face, 0u) << c.face;
            ours.push_back({glyph.id, glyph.advance});
            pen += glyph.advance;
        }
        const std::vector<Shaped> theirs = HbShape(font->FaceAt(0), c.text, c.language);
        ASSERT_FALSE(theirs.empty()) << "hb-shape (libharfbuzz-bin) gave nothing";
        EXPECT_EQ(ours, theirs) << c.face;
        EXPECT_EQ(line.width, (pen + 32) >> 6) << c.face;
    }
}

// The verse font has no Japanese letters: they come from a CJK face, and the
// font's missing-glyph box shows nowhere. A code point no face has shows
// that box, which proves the search. Emoji come in colour.
TEST(Shaping, LettersTheFontLacksComeFromAFallbackFace) {
    CFont font;
    ASSERT_TRUE(font.Attach(MakeFont(25, "Courier New")));
    const ShapedLine& line = font.GetSafeHandle()->Shape(DecodeText("\u53E4\u6C60\u3084 \u86D9\u98DB\u3073\u8FBC\u3080"));
    for (const PlacedGlyph& glyph : line.glyphs) {
        EXPECT_NE(glyph.id, 0u);
        if (glyph.cluster != 3)  // the space is the font's own
            EXPECT_NE(font.GetSafeHandle()->FaceAt(glyph.face).Path().find("NotoSansCJK"), std::string::npos);
    }
    const GlyphImage box = font.GetSafeHandle()->FaceAt(0).Glyph(0);
    ASSERT_GT(box.width * box.height, 0);

    constexpr std::uint32_t kPaper = 0x00FFFFFF;
    const auto draw = [&](Framebuffer& frame, const std::string& text) {
        Paint(frame, kPaper);
        CDC dc(frame);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(0, 0, 0));
        EXPECT_TRUE(dc.TextOutA(4, 4, text.data(), int(text.size())));
    };
    Framebuffer japanese(400, 40), unknown(400, 40), emoji(400, 40);
    draw(japanese, "\u53E4\u6C60\u3084 \u86D9\u98DB\u3073\u8FBC\u3080");
    EXPECT_GT(400 * 40 - Count(japanese, kPaper), 400);
    EXPECT_EQ(Occurrences(japanese, box, kPaper), 0);
    draw(unknown, "a\U0010FFFDb\U0010FFFD");
    EXPECT_EQ(Occurrences(unknown, box, kPaper), 2);

    draw(emoji, "\U0001F600");
    int coloured = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x) {
            const std::uint32_t p = emoji.Pixel(x, y);
            coloured += ((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) > 0x80 && (p & 0xFF) < 0x60;  // yellow
        }
    EXPECT_GT(coloured, 50);
}

// An Arabic line with a number and a Latin word, in a font with none of the
// Arabic letters: its glyphs, left to right, follow FriBidi's visual order.
TEST(Shaping, MixedDirectionsAreOrderedAsFriBidiOrdersThem) {
    HFONT font = MakeFont(25, "Courier New");
    ASSERT_TRUE(font);
    for (const char* text : {"\u0643\u062A\u0628 2024 \u0633\u0646\u0629", "haiku: \u0643\u062A\u0628 12 \u0628\u064A\u062A!",
                             "\u0633\u0646\u0629 (1999) abc def."}) {
        const std::u32string line = DecodeText(text);
        std::vector<FriBidiStrIndex> visualToLogical(line.size());
        std::vector<FriBidiChar> visual(line.size());
        FriBidiParType direction = FRIBIDI_PAR_ON;
        ASSERT_TRUE(fribidi_log2vis(reinterpret_cast<const FriBidiChar*>(line.data()), FriBidiStrIndex(line.size()),
                                    &direction, visual.data(), nullptr, visualToLogical.data(), nullptr));
        std::vector<FriBidiStrIndex> ours;
        for (const PlacedGlyph& glyph : font->Shape(line).glyphs)
            if (ours.empty() || ours.back() != FriBidiStrIndex(glyph.cluster))
                ours.push_back(FriBidiStrIndex(glyph.cluster));
        EXPECT_EQ(ours, visualToLogical) << text;
    }
}
