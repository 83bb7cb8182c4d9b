#pragma once
// One wl_shm buffer of 32-bit XRGB pixels, whose words have the framebuffer's
// layout (0x00RRGGBB, little-endian), so damaged rows copy as they are.
#include "platform/WinTypes.h"
#include "platform/wayland/WaylandProxy.h"

#include <cstdint>
#include <memory>
#include <vector>

class Framebuffer;

class ShmBuffer {
public:
    // Null when the shared memory cannot be had.
    static std::unique_ptr<ShmBuffer> Create(wl_shm* shm, int width, int height);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    wl_buffer* Buffer() const { return m_buffer.get(); }
    // The compositor reads the buffer between its attachment and its release.
    bool busy = false;
    // Areas drawn since this buffer was last brought up to date.
    std::vector<RECT> stale;

    // Copies the framebuffer's stale areas (clipped to both) into the buffer.
    void CatchUp(const Framebuffer& pixels);

private:
    ShmBuffer() = default;
    int m_width = 0;
    int m_height = 0;
    std::uint32_t* m_data = nullptr;
    std::size_t m_size = 0;
    WaylandPtr<wl_buffer> m_buffer;
};

// Adds `area` to `rects`; many areas fold into their bounding box, which
// keeps the damage list short when a frame waits behind a slow compositor.
void AddArea(std::vector<RECT>& rects, const RECT& area);
