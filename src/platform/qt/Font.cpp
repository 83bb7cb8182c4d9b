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
// Enough for every letter a verse font ever meets; a text that exceeds it
// only costs re-rendering.
constexpr std::size_t kMaxCachedBytes = std::size_t(64) << 20;

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
void Font::FaceDeleter::operator()(FT_FaceRec_* face) const { FT_Done_Face(face); }

Font::Font(LibraryPtr library, FacePtr face, std::string family, int ascent, int descent)
    : m_library(std::move(library)), m_face(std::move(face)), m_family(std::move(family)), m_ascent(ascent),
      m_descent(descent) {}

Font::~Font() = default;

const GlyphImage& Font::Glyph(char32_t codePoint) {
    if (const auto found = m_glyphs.find(codePoint); found != m_glyphs.end())
        return found->second;
    GlyphImage image = Render(codePoint);
    if (m_cachedBytes + image.coverage.size() > kMaxCachedBytes) {
        m_glyphs.clear();
        m_cachedBytes = 0;
    }
    m_cachedBytes += image.coverage.size();
    return m_glyphs.emplace(codePoint, std::move(image)).first->second;
}

std::int64_t Font::TextWidth(const std::u32string& text) {
    std::int64_t width = 0;
    for (const char32_t codePoint : text)
        width += Glyph(codePoint).advance;
    return width;
}

GlyphImage Font::Render(char32_t codePoint) const {
    GlyphImage image;
    FT_Face face = m_face.get();
    // Hinted outlines give whole-pixel advances, as GDI's do.
    constexpr FT_Int32 kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL;
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (FT_Load_Glyph(face, index, kLoadFlags) != 0 && (index == 0 || FT_Load_Glyph(face, 0, kLoadFlags) != 0))
        return image;
    FT_GlyphSlot slot = face->glyph;
    image.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return image;
    const FT_Bitmap& bitmap = slot->bitmap;
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;  // embedded bitmaps of some faces
    if ((!gray && !mono) || bitmap.width == 0 || bitmap.rows == 0)
        return image;
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.width = static_cast<int>(bitmap.width);
    image.height = static_cast<int>(bitmap.rows);
    image.coverage.resize(std::size_t(image.width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        // A negative pitch stores the rows bottom up.
        const std::ptrdiff_t pitch = std::abs(bitmap.pitch);
        const int row = bitmap.pitch >= 0 ? y : image.height - 1 - y;
        const unsigned char* source = bitmap.buffer + std::ptrdiff_t(row) * pitch;
        std::uint8_t* target = image.coverage.data() + std::size_t(y) * std::size_t(image.width);
        for (int x = 0; x < image.width; ++x)
            target[x] = gray ? source[x] : ((source[x >> 3] >> (7 - (x & 7))) & 1) * 255;
    }
    return image;
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
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), file->path.c_str(), file->index, &rawFace) != 0)
        return nullptr;
    Font::FacePtr face(rawFace);
    if (!FT_IS_SCALABLE(face.get()))
        return nullptr;

    // Windows sizes a cell by the OS/2 win metrics: the requested cell height
    // spans usWinAscent + usWinDescent, the em is the matching share of it,
    // and ascent and descent are each rounded on their own.
    const WinMetrics metrics = ReadWinMetrics(face.get());
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
    const auto to26Dot6 = [](double pixels) { return std::max<FT_F26Dot6>(std::lround(pixels * 64), 1); };
    if (FT_Set_Char_Size(face.get(), to26Dot6(emWidth), to26Dot6(em), 72, 72) != 0)
        return nullptr;

    std::string family = file->family.empty() && face->family_name ? face->family_name : file->family;
    return HFONT(new Font(std::move(library), std::move(face), std::move(family), ascent, descent));
}

CFont::CFont() = default;
CFont::~CFont() = default;

BOOL CFont::Attach(HFONT font) {
    if (!font)
        return FALSE;
    m_hObject = std::move(font);
    return TRUE;
}
