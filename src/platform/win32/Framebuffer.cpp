#include "platform/dc/Framebuffer.h"

#include <algorithm>
#include <cstring>

Framebuffer::Framebuffer(int width, int height) : dc_(::CreateCompatibleDC(nullptr)) { Resize(width, height); }

Framebuffer::~Framebuffer() {
    if (previous_)
        ::SelectObject(dc_, previous_);
    if (bitmap_)
        ::DeleteObject(bitmap_);
    if (dc_)
        ::DeleteDC(dc_);
}

std::uint32_t* Framebuffer::Data() const {
    ::GdiFlush();
    return bits_;
}

void Framebuffer::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    if (std::int64_t(width) * height > kMaxPixels)
        width = height = 0;
    // An empty framebuffer keeps its sizes but has no bitmap to hold.
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    if (width > 0 && height > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // rows top to bottom
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap)
            width = height = 0;
    }
    // A new DIB section starts black; the overlap keeps its pixels.
    const int keepWidth = std::min(width, width_);
    const int keepHeight = std::min(height, height_);
    ::GdiFlush();
    for (int y = 0; y < keepHeight; ++y)
        std::memcpy(static_cast<std::uint32_t*>(bits) + std::size_t(y) * std::size_t(width),
                    bits_ + std::size_t(y) * std::size_t(width_), std::size_t(keepWidth) * 4);
    if (bitmap) {
        HGDIOBJ old = ::SelectObject(dc_, bitmap);
        if (!previous_)
            previous_ = old;
    } else if (previous_) {
        ::SelectObject(dc_, previous_);
        previous_ = nullptr;
    }
    if (bitmap_)
        ::DeleteObject(bitmap_);
    bitmap_ = bitmap;
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
}
