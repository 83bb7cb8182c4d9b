#pragma once
// The pixels of one window: what the device context draws into and what the
// window host shows. Words are 0x00RRGGBB, rows top to bottom, stride = width,
// which is the layout a 32-bit RGB toolkit image can wrap without copying.
#include <cstdint>
#include <memory>

#include "platform/WinTypes.h"

// COLORREF is 0x00BBGGRR and the framebuffer wants 0x00RRGGBB; the top byte of a
// COLORREF (palette flags on Windows) means nothing here and is dropped.
constexpr std::uint32_t PixelFromColorRef(COLORREF color) {
    return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

class Framebuffer {
public:
    // The largest framebuffer we allocate (16384 x 16384); a request beyond it,
    // or one the memory cannot hold, leaves an empty 0 x 0 framebuffer.
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

    explicit Framebuffer(int width = 0, int height = 0);
    ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    // Keeps the overlapping top-left part; new pixels are black. Negative sizes
    // count as 0.
    void Resize(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::uint32_t* Pixels() { return m_bits; }
    const std::uint32_t* Pixels() const { return m_bits; }
    std::uint32_t* Row(int y) { return m_bits + std::size_t(y) * std::size_t(m_width); }
    const std::uint32_t* Row(int y) const { return m_bits + std::size_t(y) * std::size_t(m_width); }

    // 0 (black) outside the framebuffer.
    std::uint32_t Pixel(int x, int y) const {
        return x < 0 || y < 0 || x >= m_width || y >= m_height ? 0 : Row(y)[x];
    }

    // Where the side keeps the pixels (win32/: a DIB section that GDI draws
    // into as well).
    struct Storage;
    Storage& SideStorage() const { return *m_storage; }

private:
    int m_width = 0;
    int m_height = 0;
    std::uint32_t* m_bits = nullptr;  // the storage's first pixel
    std::unique_ptr<Storage> m_storage;
};
