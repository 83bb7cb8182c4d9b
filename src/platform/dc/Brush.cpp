#include "platform/dc/Brush.h"

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    // The top byte selects palette modes on Windows; a true-colour framebuffer
    // has no palette, so only the colour itself is kept.
    m_color = color & 0x00FFFFFFu;
    m_created = true;
    return TRUE;
}
