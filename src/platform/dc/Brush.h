#pragma once
// A solid brush. As in GDI a brush that was never created paints nothing.
#include "platform/WinTypes.h"

class CBrush {
public:
    BOOL CreateSolidBrush(COLORREF color);
    COLORREF Color() const { return m_color; }
    bool IsCreated() const { return m_created; }

private:
    COLORREF m_color = 0;
    bool m_created = false;
};
