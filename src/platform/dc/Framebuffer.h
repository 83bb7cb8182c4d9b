#pragma once
// The pixels of one window: what the device context draws into and what the
// window host shows. Words are 0x00RRGGBB, rows top to bottom, stride = width,
// which is the layout a 32-bit RGB toolkit image can wrap without copying.
#include <cstdint>
#include <vector>

#include "platform/WinTypes.h"

// COLORREF is 0x00BBGGRR and the framebuffer wants 0x00RRGGBB; the top byte of a
// COLORREF (palette flags on Windows) means nothing here and is dropped.
constexpr std::uint32_t PixelFromColorRef(COLORREF color) {
    return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}
constexpr COLORREF ColorRefFromPixel(std::uint32_t pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

class Framebuffer {
public:
    // The largest framebuffer we allocate (16384 x 16384); a request beyond it,
    // or one the memory cannot hold, leaves an empty 0 x 0 framebuffer.
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

    explicit Framebuffer(int width = 0, int height = 0);

    // Keeps the overlapping top-left part; new pixels are black. Negative sizes
    // count as 0.
    void Resize(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t* Pixels() { return Data(); }
    const std::uint32_t* Pixels() const { return Data(); }
    std::uint32_t* Row(int y) { return Data() + std::size_t(y) * std::size_t(width_); }
    const std::uint32_t* Row(int y) const { return Data() + std::size_t(y) * std::size_t(width_); }

    // 0 (black) outside the framebuffer.
    std::uint32_t Pixel(int x, int y) const {
        return x < 0 || y < 0 || x >= width_ || y >= height_ ? 0 : Row(y)[x];
    }

#ifdef _WIN32
    // The pixels are a top-down 32-bit DIB section, selected into a memory
    // DC for as long as the framebuffer lives, so that GDI draws into the
    // very words the program reads. Reading them waits for GDI's pending
    // drawing (GdiFlush).
    ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;
    HDC Dc() const { return dc_; }

private:
    std::uint32_t* Data() const;
    int width_ = 0;
    int height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
#else
private:
    std::uint32_t* Data() const { return const_cast<std::uint32_t*>(pixels_.data()); }
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
#endif
};
