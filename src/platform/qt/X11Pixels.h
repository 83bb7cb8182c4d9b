#pragma once
// Puts framebuffer pixels straight into an X11 window, so the saver's one
// framebuffer is the only full-frame copy of the screen in the process: no
// toolkit backing store beside it, and only the changed area crosses to the
// X server.
#include "platform/dc/Framebuffer.h"

#include <QRect>

#include <cstdint>

struct xcb_connection_t;

class X11Pixels {
public:
    // Null when the application does not run on X11 (the offscreen platform
    // of the tests), or `window` is not of depth 24 in 32-bit pixels.
    static X11Pixels* Create(std::uint32_t window);
    ~X11Pixels();
    X11Pixels(const X11Pixels&) = delete;
    X11Pixels& operator=(const X11Pixels&) = delete;

    // Sends `area` (framebuffer coordinates; clipped to it) to the window.
    void Put(const Framebuffer& pixels, const QRect& area);

private:
    X11Pixels(xcb_connection_t* connection, std::uint32_t window, std::uint32_t gc, std::uint8_t depth);

    xcb_connection_t* m_connection;
    std::uint32_t m_window;
    std::uint32_t m_gc;
    std::uint8_t m_depth;
    std::uint32_t m_maxRequestBytes;
};
