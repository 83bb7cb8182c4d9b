#pragma once
// Helpers shared by the device-context tests.
#include <cstdint>

#include "platform/dc/Brush.h"
#include "platform/dc/DeviceContext.h"
#include "platform/dc/Framebuffer.h"

namespace dc_test {

inline CBrush SolidBrush(COLORREF color) {
    CBrush brush;
    brush.CreateSolidBrush(color);
    return brush;
}

inline void Paint(Framebuffer& frame, std::uint32_t pixel) {
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            frame.Row(y)[x] = pixel;
}

// Pixels equal to `pixel` inside [left, right) x [top, bottom).
inline int CountIn(const Framebuffer& frame, std::uint32_t pixel, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            count += frame.Pixel(x, y) == pixel;
    return count;
}

inline int Count(const Framebuffer& frame, std::uint32_t pixel) {
    return CountIn(frame, pixel, 0, 0, frame.Width(), frame.Height());
}

}  // namespace dc_test
