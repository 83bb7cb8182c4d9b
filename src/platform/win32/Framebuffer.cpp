// The pixels are a top-down 32-bit DIB section, selected into a memory DC
// for as long as the framebuffer lives, so that GDI draws into the very
// words the program reads. Whatever draws with GDI flushes it before
// returning (GdiFlush), so the words are current whenever they are read.
#include "platform/win32/GdiFramebuffer.h"

#include <algorithm>
#include <cstring>

struct Framebuffer::Storage {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

HDC MemoryDcOf(const Framebuffer& framebuffer) { return framebuffer.SideStorage().dc; }

Framebuffer::Framebuffer(int width, int height) : m_storage(std::make_unique<Storage>()) {
    m_storage->dc = ::CreateCompatibleDC(nullptr);
    Resize(width, height);
}

Framebuffer::~Framebuffer() {
    Storage& s = *m_storage;
    if (s.previous)
        ::SelectObject(s.dc, s.previous);
    if (s.bitmap)
        ::DeleteObject(s.bitmap);
    if (s.dc)
        ::DeleteDC(s.dc);
}

void Framebuffer::Resize(int width, int height) {
    Storage& s = *m_storage;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_width && height == m_height)
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
        bitmap = ::CreateDIBSection(s.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap)
            width = height = 0;
    }
    // A new DIB section starts black; the overlap keeps its pixels.
    const int keepWidth = std::min(width, m_width);
    const int keepHeight = std::min(height, m_height);
    ::GdiFlush();
    for (int y = 0; y < keepHeight; ++y)
        std::memcpy(static_cast<std::uint32_t*>(bits) + std::size_t(y) * std::size_t(width),
                    m_bits + std::size_t(y) * std::size_t(m_width), std::size_t(keepWidth) * 4);
    if (bitmap) {
        HGDIOBJ old = ::SelectObject(s.dc, bitmap);
        if (!s.previous)
            s.previous = old;
    } else if (s.previous) {
        ::SelectObject(s.dc, s.previous);
        s.previous = nullptr;
    }
    if (s.bitmap)
        ::DeleteObject(s.bitmap);
    s.bitmap = bitmap;
    m_bits = static_cast<std::uint32_t*>(bits);
    m_width = width;
    m_height = height;
}
