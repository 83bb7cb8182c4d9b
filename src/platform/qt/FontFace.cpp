#include "platform/qt/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Enough for every letter a verse font ever meets; a text that exceeds it
// only costs re-rendering.
constexpr std::size_t kMaxCachedBytes = std::size_t(64) << 20;

int To26Dot6(double pixels) { return int(std::max<long>(std::lround(pixels * 64), 1)); }

// The strike whose pixels per em come nearest the wanted em, preferring
// larger ones, which scale down cleanly.
int NearestStrike(FT_Face face, double em) {
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
        const double size = face->available_sizes[i].y_ppem / 64.0;
        const double bestSize = face->available_sizes[best].y_ppem / 64.0;
        if ((bestSize < em && size > bestSize) || (size >= em && size < bestSize))
            best = i;
    }
    return best;
}

// Rows of FreeType's bitmap, top first, whatever the sign of its pitch.
const unsigned char* BitmapRow(const FT_Bitmap& bitmap, unsigned y) {
    const std::ptrdiff_t pitch = std::abs(bitmap.pitch);
    const unsigned row = bitmap.pitch >= 0 ? y : bitmap.rows - 1 - y;
    return bitmap.buffer + std::ptrdiff_t(row) * pitch;
}

}  // namespace

std::unique_ptr<FontFace> FontFace::Open(FT_LibraryRec_* library, const std::string& path, int index,
                                         double emWidth, double emHeight) {
    std::unique_ptr<FontFace> face(new FontFace);
    face->m_path = path;
    face->m_index = index;
    if (FT_New_Face(library, path.c_str(), index, &face->m_face) != 0) {
        face->m_face = nullptr;
        return nullptr;
    }
    FT_Face ft = face->m_face;
    face->m_scaleX = To26Dot6(emWidth);
    face->m_scaleY = To26Dot6(emHeight);
    if (FT_IS_SCALABLE(ft)) {
        if (FT_Set_Char_Size(ft, face->m_scaleX, face->m_scaleY, 72, 72) != 0)
            return nullptr;
    } else {
        if (ft->num_fixed_sizes <= 0)
            return nullptr;
        const int strike = NearestStrike(ft, emHeight);
        if (FT_Select_Size(ft, strike) != 0 || ft->available_sizes[strike].y_ppem <= 0)
            return nullptr;
        face->m_strikeScale = emHeight / (ft->available_sizes[strike].y_ppem / 64.0);
    }

    hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
    if (!blob)
        return nullptr;
    hb_face_t* shaperFace = hb_face_create(blob, unsigned(index));
    hb_blob_destroy(blob);
    face->m_shaper = hb_font_create(shaperFace);
    hb_face_destroy(shaperFace);
    hb_font_set_scale(face->m_shaper, face->m_scaleX, face->m_scaleY);
    return face;
}

FontFace::~FontFace() {
    hb_font_destroy(m_shaper);
    if (m_face)
        FT_Done_Face(m_face);
}

bool FontFace::HasCodePoint(char32_t codePoint) const { return FT_Get_Char_Index(m_face, codePoint) != 0; }

const GlyphImage& FontFace::Glyph(std::uint32_t glyphId) {
    if (const auto found = m_glyphs.find(glyphId); found != m_glyphs.end())
        return found->second;
    GlyphImage image = m_strikeScale > 0 ? RenderStrike(glyphId) : Render(glyphId);
    const std::size_t bytes = image.coverage.size() + image.color.size() * 4;
    if (m_cachedBytes + bytes > kMaxCachedBytes) {
        m_glyphs.clear();
        m_cachedBytes = 0;
    }
    m_cachedBytes += bytes;
    return m_glyphs.emplace(glyphId, std::move(image)).first->second;
}

GlyphImage FontFace::Render(std::uint32_t glyphId) const {
    GlyphImage image;
    // Hinted outlines give whole-pixel advances, as GDI's do.
    constexpr FT_Int32 kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL;
    if (FT_Load_Glyph(m_face, glyphId, kLoadFlags) != 0 && (glyphId == 0 || FT_Load_Glyph(m_face, 0, kLoadFlags) != 0))
        return image;
    FT_GlyphSlot slot = m_face->glyph;
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
        const unsigned char* source = BitmapRow(bitmap, unsigned(y));
        std::uint8_t* target = image.coverage.data() + std::size_t(y) * std::size_t(image.width);
        for (int x = 0; x < image.width; ++x)
            target[x] = gray ? source[x] : ((source[x >> 3] >> (7 - (x & 7))) & 1) * 255;
    }
    return image;
}

// Colour emoji come as large bitmaps; each is scaled to the em by averaging
// the source pixels under each target pixel.
GlyphImage FontFace::RenderStrike(std::uint32_t glyphId) const {
    GlyphImage image;
    if (FT_Load_Glyph(m_face, glyphId, FT_LOAD_COLOR) != 0)
        return image;
    FT_GlyphSlot slot = m_face->glyph;
    const double scale = m_strikeScale;
    image.advance = static_cast<int>(std::lround(slot->advance.x / 64.0 * scale));
    const FT_Bitmap& bitmap = slot->bitmap;
    const bool bgra = bitmap.pixel_mode == FT_PIXEL_MODE_BGRA;
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    if ((!bgra && !gray) || bitmap.width == 0 || bitmap.rows == 0)
        return image;
    image.left = static_cast<int>(std::lround(slot->bitmap_left * scale));
    image.top = static_cast<int>(std::lround(slot->bitmap_top * scale));
    image.width = std::max(1, static_cast<int>(std::lround(bitmap.width * scale)));
    image.height = std::max(1, static_cast<int>(std::lround(bitmap.rows * scale)));
    const auto span = [scale](int target, unsigned limit) {
        const unsigned first = std::min(unsigned(target / scale), limit - 1);
        const unsigned last = std::clamp(unsigned(std::ceil((target + 1) / scale)), first + 1, limit);
        return std::pair{first, last};
    };
    if (bgra)
        image.color.resize(std::size_t(image.width) * std::size_t(image.height));
    else
        image.coverage.resize(std::size_t(image.width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        const auto [top, bottom] = span(y, bitmap.rows);
        for (int x = 0; x < image.width; ++x) {
            const auto [left, right] = span(x, bitmap.width);
            unsigned sum[4] = {0, 0, 0, 0};
            for (unsigned sy = top; sy < bottom; ++sy) {
                const unsigned char* row = BitmapRow(bitmap, sy);
                for (unsigned sx = left; sx < right; ++sx)
                    for (unsigned c = 0; c < (bgra ? 4u : 1u); ++c)
                        sum[c] += row[sx * (bgra ? 4 : 1) + c];
            }
            const unsigned count = (bottom - top) * (right - left);
            const std::size_t at = std::size_t(y) * std::size_t(image.width) + std::size_t(x);
            if (!bgra) {
                image.coverage[at] = std::uint8_t((sum[0] + count / 2) / count);
                continue;
            }
            // BGRA bytes in memory are 0xAARRGGBB as a little-endian word.
            std::uint32_t pixel = 0;
            for (unsigned c = 0; c < 4; ++c)
                pixel |= std::uint32_t((sum[c] + count / 2) / count) << (8 * c);
            image.color[at] = pixel;
        }
    }
    return image;
}
