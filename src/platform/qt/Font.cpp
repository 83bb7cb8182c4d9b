#include "platform/qt/Font.h"

#include "platform/dc/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/qt/FontMatch.h"

namespace {

// A height of 0 asks for "a reasonable size"; this is the cell we give.
constexpr int kDefaultCellHeight = 16;
// No screen is taller than this; beyond it a glyph bitmap alone would run
// into megabytes, so larger requests are drawn at this size.
constexpr std::int64_t kMaxHeight = 2048;
// Windows truncates a face name to LF_FACESIZE - 1 characters.
constexpr std::size_t kMaxFaceName = 31;
// A verse's lines, measured and drawn, with room to spare.
constexpr std::size_t kKeptLines = 8;
// Fallback faces one font may open; past them, letters show the missing-glyph
// box rather than open ever more files.
constexpr std::size_t kMaxFaces = 32;

// The vertical extent Windows sizes a cell by, in font units.
struct WinMetrics {
    double unitsPerEm = 0;
    double ascent = 0;
    double descent = 0;
    double averageWidth = 0;
};

// |value| without overflow for INT_MIN.
std::int64_t Magnitude(int value) { return value < 0 ? -std::int64_t(value) : value; }

WinMetrics ReadWinMetrics(FT_Face face) {
    WinMetrics metrics;
    metrics.unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        metrics.ascent = os2->usWinAscent;
        metrics.descent = os2->usWinDescent;
        metrics.averageWidth = std::max<int>(os2->xAvgCharWidth, 0);
    } else if (face->ascender - face->descender > 0) {
        // Fonts without OS/2 win metrics: the horizontal header's extent is
        // what Windows falls back to as well.
        metrics.ascent = std::max<FT_Short>(face->ascender, 0);
        metrics.descent = std::max<int>(-face->descender, 0);
    } else {
        metrics.ascent = metrics.unitsPerEm;
    }
    return metrics;
}

}  // namespace

void Font::LibraryDeleter::operator()(FT_LibraryRec_* library) const { FT_Done_FreeType(library); }

Font::Font(LibraryPtr library, std::unique_ptr<FontFace> face, FontRequest request, std::string family, int ascent,
           int descent, double emWidth, double em)
    : m_library(std::move(library)), m_request(std::move(request)), m_family(std::move(family)), m_ascent(ascent),
      m_descent(descent), m_emWidth(emWidth), m_em(em) {
    m_faces.push_back(std::move(face));
}

Font::~Font() = default;

const ShapedLine& Font::Shape(const std::u32string& text) {
    const auto found = std::find_if(m_lines.begin(), m_lines.end(), [&](const auto& line) { return line.first == text; });
    if (found != m_lines.end()) {
        std::rotate(found, found + 1, m_lines.end());
        return m_lines.back().second;
    }
    ShapedLine shaped = ShapeLine(text, *this);
    if (m_lines.size() == kKeptLines)
        m_lines.erase(m_lines.begin());
    m_lines.emplace_back(text, std::move(shaped));
    return m_lines.back().second;
}

std::size_t Font::FaceFor(char32_t codePoint, std::string_view language, bool colour) {
    // Code point, colour wish and up to four letters of the language hint.
    std::uint64_t key = std::uint64_t(codePoint) | (colour ? std::uint64_t(1) << 24 : 0);
    for (std::size_t i = 0; i < language.size() && i < 4; ++i)
        key |= std::uint64_t(static_cast<unsigned char>(language[i])) << (32 + 8 * i);
    if (const auto found = m_fallbacks.find(key); found != m_fallbacks.end())
        return found->second;
    std::size_t index = 0;
    if (const std::optional<FontFile> file = MatchFallbackFontFile(m_request, codePoint, std::string(language), colour)) {
        const auto same = std::find_if(m_faces.begin(), m_faces.end(), [&](const auto& face) {
            return face->Path() == file->path && face->Index() == file->index;
        });
        if (same != m_faces.end()) {
            index = std::size_t(same - m_faces.begin());
        } else if (m_faces.size() < kMaxFaces) {
            // Fallback faces share the font's em, so their letters sit at the
            // same size on the same baseline.
            if (auto face = FontFace::Open(m_library.get(), file->path, file->index, m_emWidth, m_em)) {
                if (face->HasCodePoint(codePoint)) {
                    m_faces.push_back(std::move(face));
                    index = m_faces.size() - 1;
                }
            }
        }
    }
    m_fallbacks.emplace(key, index);
    return index;
}

void FontDeleter::operator()(Font* font) const { delete font; }

HFONT CreateFontA(int height, int width, int /*escapement*/, int /*orientation*/, int weight, DWORD italic,
                  DWORD /*underline*/, DWORD /*strikeOut*/, DWORD /*charSet*/, DWORD /*outputPrecision*/,
                  DWORD /*clipPrecision*/, DWORD /*quality*/, DWORD pitchAndFamily, const char* faceName) {
    FontRequest request;
    if (faceName)
        request.faceName.assign(faceName, ::strnlen(faceName, kMaxFaceName));
    request.weight = weight;
    request.italic = italic != 0;
    request.pitchAndFamily = pitchAndFamily;
    const std::optional<FontFile> file = MatchFontFile(request);
    if (!file)
        return nullptr;

    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0)
        return nullptr;
    Font::LibraryPtr library(rawLibrary);
    FT_Face face = nullptr;
    if (FT_New_Face(library.get(), file->path.c_str(), file->index, &face) != 0)
        return nullptr;
    struct FaceDeleter {
        void operator()(FT_Face face) const { FT_Done_Face(face); }
    };
    const std::unique_ptr<FT_FaceRec_, FaceDeleter> metricsFace(face);
    if (!FT_IS_SCALABLE(face))
        return nullptr;

    // Windows sizes a cell by the OS/2 win metrics: the requested cell height
    // spans usWinAscent + usWinDescent, the em is the matching share of it,
    // and ascent and descent are each rounded on their own.
    const WinMetrics metrics = ReadWinMetrics(face);
    const double extent = metrics.ascent + metrics.descent;
    std::int64_t requested = height == 0 ? kDefaultCellHeight : Magnitude(height);
    requested = std::min(requested, kMaxHeight);
    const double em = height >= 0 ? requested * metrics.unitsPerEm / extent : double(requested);
    const double scale = em / metrics.unitsPerEm;
    const int ascent = static_cast<int>(std::lround(metrics.ascent * scale));
    const int descent = static_cast<int>(std::lround(metrics.descent * scale));

    // A width asks for that average character width, stretching the em across.
    double emWidth = em;
    if (width != 0 && metrics.averageWidth > 0) {
        const double wanted = double(std::min(Magnitude(width), kMaxHeight));
        emWidth = wanted * metrics.unitsPerEm / metrics.averageWidth;
    }
    std::unique_ptr<FontFace> sized = FontFace::Open(library.get(), file->path, file->index, emWidth, em);
    if (!sized)
        return nullptr;
    std::string family = file->family.empty() && face->family_name ? face->family_name : file->family;
    return HFONT(new Font(std::move(library), std::move(sized), std::move(request), std::move(family), ascent,
                          descent, emWidth, em));
}

CFont::CFont() = default;
CFont::~CFont() = default;

BOOL CFont::Attach(HFONT font) {
    if (!font)
        return FALSE;
    m_hObject = std::move(font);
    return TRUE;
}
