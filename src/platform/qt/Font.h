#pragma once
// A realised font: one outline face at one size, with Windows' cell metrics,
// the fallback faces its lines have needed, and its last shaped lines. The
// verse font draws the same few dozen letters every few seconds, so each
// glyph is rendered once per face and each line shaped once per verse.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/qt/FontFace.h"
#include "platform/qt/FontMatch.h"
#include "platform/qt/LineShaper.h"

struct FT_LibraryRec_;

class Font : public FaceSet {
public:
    ~Font() override;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const std::string& FamilyName() const { return m_family; }
    // The character cell: ascent above the baseline plus descent below it.
    int CellHeight() const { return m_ascent + m_descent; }
    int Ascent() const { return m_ascent; }
    int Descent() const { return m_descent; }

    // The line shaped and placed; the few lines last asked for are kept, so
    // measuring a verse's line and drawing it shape it once. The reference
    // stays valid until the next call.
    const ShapedLine& Shape(const std::u32string& text);
    // The shaped line's advance.
    std::int64_t TextWidth(const std::u32string& text) { return Shape(text).width; }

    FontFace& FaceAt(std::size_t index) override { return *m_faces[index]; }
    std::size_t FaceFor(char32_t codePoint, std::string_view language, bool colour) override;

private:
    struct LibraryDeleter {
        void operator()(FT_LibraryRec_* library) const;
    };
    using LibraryPtr = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;

    Font(LibraryPtr library, std::unique_ptr<FontFace> face, FontRequest request, std::string family, int ascent,
         int descent, double emWidth, double em);

    friend HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                             const char*);

    // Declared library first: the faces must go before the library that made them.
    LibraryPtr m_library;
    std::vector<std::unique_ptr<FontFace>> m_faces;
    FontRequest m_request;
    std::string m_family;
    int m_ascent = 0;
    int m_descent = 0;
    double m_emWidth = 0;
    double m_em = 0;
    // Code point (with the language hint and colour wish) to the face that draws it.
    std::unordered_map<std::uint64_t, std::size_t> m_fallbacks;
    // Most recent last.
    std::vector<std::pair<std::u32string, ShapedLine>> m_lines;
};
