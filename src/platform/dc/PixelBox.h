#pragma once
// Clipping shared by the drawing calls: any rectangle in 64-bit coordinates,
// so that sums of INT_MAX/INT_MIN positions and sizes cannot overflow, cut
// down to the framebuffer once, before any pixel loop runs.
#include <algorithm>
#include <cstdint>

#include "platform/dc/Framebuffer.h"

struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Empty() const { return left >= right || top >= bottom; }
};

inline PixelBox ClipToFramebuffer(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                                  const Framebuffer& target) {
    const auto clamp = [](std::int64_t value, int limit) {
        return static_cast<int>(std::clamp<std::int64_t>(value, 0, limit));
    };
    PixelBox box{clamp(left, target.Width()), clamp(top, target.Height()), clamp(right, target.Width()),
                 clamp(bottom, target.Height())};
    if (box.Empty())
        box = PixelBox{};
    return box;
}
