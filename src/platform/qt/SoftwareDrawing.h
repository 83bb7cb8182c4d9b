#pragma once
// The software drawing under the Qt side's device context: plain loops over
// the framebuffer's words, each given an already clipped, non-empty box.
#include <cstdint>

#include "platform/dc/DeviceContext.h"
#include "platform/dc/PixelBox.h"

class Font;
struct GlyphImage;

struct CDC::SideState {
    // The selected font, or the context's default one. GDI gives every
    // device context a stock font; ours is made only when text is drawn
    // without a selected font, which the saver never does.
    Font* CurrentFont(CFont* selected);
    HFONT defaultFont;
};

void FillBox(Framebuffer& target, const PixelBox& box, std::uint32_t pixel);

// Blends `glyph`'s coverage in `ink` with its top-left at (x, y); returns the
// part of the framebuffer it touched (empty when none).
PixelBox BlendGlyph(Framebuffer& target, const GlyphImage& glyph, std::int64_t x, std::int64_t y, std::uint32_t ink);
