#include "platform/dc/Brush.h"

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    // The top byte selects palette modes on Windows; a true-colour framebuffer
    // has no palette, so only the colour itself is kept.
    color_ = color & 0x00FFFFFFu;
    created_ = true;
    return TRUE;
}
