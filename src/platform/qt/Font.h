#pragma once
// A realised font: one outline face at one size, with Windows' cell metrics
// and a cache of rendered glyphs. The verse font draws the same few dozen
// letters every few seconds, so each glyph is rendered once per Font.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/WinTypes.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

// One rendered glyph: 8-bit coverage, rows top to bottom, placed relative to
// the pen position on the baseline.
struct GlyphImage {
    int advance = 0;  // hinted advance in whole pixels
    int left = 0;     // bitmap's left edge, right of the pen
    int top = 0;      // bitmap's top row, above the baseline
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
};

class Font {
public:
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const std::string& FamilyName() const { return m_family; }
    // The character cell: ascent above the baseline plus descent below it.
    int CellHeight() const { return m_ascent + m_descent; }
    int Ascent() const { return m_ascent; }

    // The glyph for a code point (the face's .notdef when it has none). The
    // reference stays valid until the next call.
    const GlyphImage& Glyph(char32_t codePoint);
    // Sum of hinted advances without kerning, as GDI's text output places them.
    std::int64_t TextWidth(const std::u32string& text);

private:
    struct LibraryDeleter {
        void operator()(FT_LibraryRec_* library) const;
    };
    struct FaceDeleter {
        void operator()(FT_FaceRec_* face) const;
    };
    using LibraryPtr = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;
    using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

    Font(LibraryPtr library, FacePtr face, std::string family, int ascent, int descent);
    GlyphImage Render(char32_t codePoint) const;

    friend HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                             const char*);

    // Declared library first: the face must go before the library that made it.
    LibraryPtr m_library;
    FacePtr m_face;
    std::string m_family;
    int m_ascent = 0;
    int m_descent = 0;
    std::unordered_map<char32_t, GlyphImage> m_glyphs;
    std::size_t m_cachedBytes = 0;
};

