// Text measurement and output. Lines come shaped and glyphs rendered from the
// font's caches, so drawing a line is one blend per glyph pixel.
#include <algorithm>
#include <limits>
#include <string_view>

#include "platform/dc/DeviceContext.h"
#include "platform/dc/PixelBox.h"
#include "platform/dc/TextDecoding.h"
#include "platform/qt/Font.h"
#include "platform/qt/SoftwareDrawing.h"

namespace {

bool ValidText(const char* text, int length) { return length >= 0 && (text || length == 0); }

std::u32string Decode(const char* text, int length) {
    return DecodeText(length > 0 ? std::string_view(text, std::size_t(length)) : std::string_view());
}

// Coverage 0..255 mixes the text colour over the pixel below, per channel,
// rounded to nearest.
std::uint32_t Blend(std::uint32_t below, std::uint32_t ink, unsigned coverage) {
    const unsigned rest = 255 - coverage;
    std::uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned value = ((ink >> shift) & 0xFF) * coverage + ((below >> shift) & 0xFF) * rest + 128;
        mixed |= ((value + (value >> 8)) >> 8) << shift;
    }
    return mixed;
}

// Colour glyphs carry their own colours, premultiplied by their alpha; the
// text colour does not tint them.
void BlendColorGlyph(Framebuffer& target, const GlyphImage& glyph, std::int64_t x, std::int64_t y,
                     const PixelBox& box) {
    for (int row = box.top; row < box.bottom; ++row) {
        const std::uint32_t* source =
            glyph.color.data() + std::size_t(row - y) * std::size_t(glyph.width) + std::size_t(box.left - x);
        std::uint32_t* pixels = target.Row(row) + box.left;
        for (int i = 0; i < box.right - box.left; ++i) {
            const std::uint32_t over = source[i];
            const unsigned rest = 255 - (over >> 24);
            std::uint32_t mixed = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const unsigned below = ((pixels[i] >> shift) & 0xFF) * rest + 128;
                const unsigned value = ((over >> shift) & 0xFF) + ((below + (below >> 8)) >> 8);
                mixed |= std::min(value, 255u) << shift;
            }
            pixels[i] = mixed;
        }
    }
}

}  // namespace

BOOL CDC::GetTextExtentPointA(const char* text, int length, SIZE* size) {
    if (!size || !ValidText(text, length))
        return FALSE;
    Font* font = m_side->CurrentFont(m_font);
    if (!font)
        return FALSE;
    const std::int64_t width = font->TextWidth(Decode(text, length));
    size->cx = static_cast<LONG>(std::min<std::int64_t>(width, std::numeric_limits<LONG>::max()));
    size->cy = font->CellHeight();
    return TRUE;
}

BOOL CDC::TextOutA(int x, int y, const char* text, int length) {
    if (!ValidText(text, length))
        return FALSE;
    Font* font = m_side->CurrentFont(m_font);
    if (!font)
        return FALSE;
    const std::u32string decoded = Decode(text, length);
    const ShapedLine& line = font->Shape(decoded);
    if (m_bkMode == OPAQUE && !decoded.empty()) {
        const PixelBox cell = ClipToFramebuffer(x, y, std::int64_t(x) + line.width,
                                                std::int64_t(y) + font->CellHeight(), m_target);
        if (!cell.Empty()) {
            FillBox(m_target, cell, PixelFromColorRef(m_bkColor));
            MarkDirty(cell.left, cell.top, cell.right, cell.bottom);
        }
    }
    const std::uint32_t ink = PixelFromColorRef(m_textColor);
    const std::int64_t baseline = std::int64_t(y) + font->Ascent();
    for (const PlacedGlyph& placed : line.glyphs) {
        const GlyphImage& glyph = font->FaceAt(placed.face).Glyph(placed.id);
        const PixelBox touched =
            BlendGlyph(m_target, glyph, x + placed.x + glyph.left, baseline - placed.rise - glyph.top, ink);
        if (!touched.Empty())
            MarkDirty(touched.left, touched.top, touched.right, touched.bottom);
    }
    return TRUE;
}

PixelBox BlendGlyph(Framebuffer& target, const GlyphImage& glyph, std::int64_t x, std::int64_t y, std::uint32_t ink) {
    const PixelBox box = ClipToFramebuffer(x, y, x + glyph.width, y + glyph.height, target);
    if (box.Empty())
        return box;
    if (!glyph.color.empty()) {
        BlendColorGlyph(target, glyph, x, y, box);
        return box;
    }
    for (int row = box.top; row < box.bottom; ++row) {
        const std::uint8_t* coverage =
            glyph.coverage.data() + std::size_t(row - y) * std::size_t(glyph.width) + std::size_t(box.left - x);
        std::uint32_t* pixels = target.Row(row) + box.left;
        for (int i = 0; i < box.right - box.left; ++i) {
            const unsigned alpha = coverage[i];
            if (alpha == 255)
                pixels[i] = ink;
            else if (alpha != 0)
                pixels[i] = Blend(pixels[i], ink, alpha);
        }
    }
    return box;
}
