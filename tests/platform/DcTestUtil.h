#pragma once
// Helpers shared by the device-context tests.
#include <algorithm>
#include <cstdint>

#include "platform/dc/Brush.h"
#include "platform/dc/DeviceContext.h"
#include "platform/dc/Framebuffer.h"

namespace dc_test {

inline void Paint(Framebuffer& frame, std::uint32_t pixel) {
    std::fill_n(frame.Pixels(), std::size_t(frame.Width()) * frame.Height(), pixel);
}

// Pixels equal to `pixel` inside `area` (half-open), by default everywhere.
inline int Count(const Framebuffer& frame, std::uint32_t pixel, RECT area = {0, 0, 1 << 30, 1 << 30}) {
    int count = 0;
    for (int y = area.top; y < std::min<int>(area.bottom, frame.Height()); ++y)
        for (int x = area.left; x < std::min<int>(area.right, frame.Width()); ++x)
            count += frame.Pixel(x, y) == pixel;
    return count;
}

}  // namespace dc_test
