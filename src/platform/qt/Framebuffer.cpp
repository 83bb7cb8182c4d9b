#include "platform/dc/Framebuffer.h"

#include <algorithm>
#include <new>
#include <vector>

struct Framebuffer::Storage {
    std::vector<std::uint32_t> pixels;
};

Framebuffer::Framebuffer(int width, int height) : m_storage(std::make_unique<Storage>()) { Resize(width, height); }

Framebuffer::~Framebuffer() = default;

void Framebuffer::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_width && height == m_height)
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
    const int keepWidth = std::min(width, m_width);
    const int keepHeight = std::min(height, m_height);
    for (int y = 0; y < keepHeight; ++y)
        std::copy_n(Row(y), keepWidth, resized.data() + std::size_t(y) * std::size_t(width));
    m_storage->pixels = std::move(resized);
    m_bits = m_storage->pixels.data();
    m_width = width;
    m_height = height;
}
