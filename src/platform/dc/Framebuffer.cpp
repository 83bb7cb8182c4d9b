#include "platform/dc/Framebuffer.h"

#include <algorithm>
#include <new>

Framebuffer::Framebuffer(int width, int height) { Resize(width, height); }

void Framebuffer::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    const std::int64_t count = std::int64_t(width) * height;
    std::vector<std::uint32_t> resized;
    if (count > kMaxPixels)
        width = height = 0;
    try {
        resized.assign(std::size_t(width) * std::size_t(height), 0u);
    } catch (const std::bad_alloc&) {
        width = height = 0;
    }
    const int keepWidth = std::min(width, width_);
    const int keepHeight = std::min(height, height_);
    for (int y = 0; y < keepHeight; ++y)
        std::copy_n(Row(y), keepWidth, resized.data() + std::size_t(y) * std::size_t(width));
    pixels_ = std::move(resized);
    width_ = width;
    height_ = height;
}
