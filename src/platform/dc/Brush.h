#pragma once
// A solid brush. As in GDI a brush that was never created paints nothing.
#include "platform/WinTypes.h"

class CBrush {
public:
    BOOL CreateSolidBrush(COLORREF color);
    COLORREF Color() const { return color_; }
    bool IsCreated() const { return created_; }

private:
    COLORREF color_ = 0;
    bool created_ = false;
};
