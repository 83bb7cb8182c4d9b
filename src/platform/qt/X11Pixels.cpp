#include "platform/qt/X11Pixels.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>

namespace {

// Depth 24 stored in 32 bits a pixel, so framebuffer rows (0x00RRGGBB words)
// go out as they are; true of every server we run on, but checked rather than
// assumed. A depth-32 window would take the zero top byte as transparency.
bool ThirtyTwoBitsPerPixel(xcb_connection_t* connection, std::uint8_t depth) {
    if (depth != 24)
        return false;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth)
            return it.data->bits_per_pixel == 32;
    return false;
}

}  // namespace

X11Pixels* X11Pixels::Create(std::uint32_t window) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || window == 0)
        return nullptr;
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return nullptr;
    const std::uint8_t depth = geometry->depth;
    free(geometry);
    if (!ThirtyTwoBitsPerPixel(connection, depth))
        return nullptr;
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const std::uint32_t noExposures = 0;
    xcb_create_gc(connection, gc, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    return new X11Pixels(connection, window, gc, depth);
}

X11Pixels::X11Pixels(xcb_connection_t* connection, std::uint32_t window, std::uint32_t gc, std::uint8_t depth)
    : m_connection(connection), m_window(window), m_gc(gc), m_depth(depth),
      // The request length is counted in 4-byte units; keep room for the header.
      m_maxRequestBytes(xcb_get_maximum_request_length(connection) * 4 - 64) {}

X11Pixels::~X11Pixels() {
    if (QGuiApplication::instance())
        xcb_free_gc(m_connection, m_gc);
}

void X11Pixels::Put(const Framebuffer& pixels, const QRect& area) {
    const QRect box = area & QRect(0, 0, pixels.Width(), pixels.Height());
    if (box.isEmpty())
        return;
    const std::uint32_t rowBytes = std::uint32_t(box.width()) * 4;
    // Rows of the box are not contiguous in the framebuffer unless the box
    // spans whole rows, so a narrow box goes row by row; whole rows go in as
    // many rows per request as the server takes.
    const bool wholeRows = box.width() == pixels.Width();
    const int rowsPerRequest = wholeRows ? std::max<int>(1, int(m_maxRequestBytes / rowBytes)) : 1;
    for (int y = box.top(); y <= box.bottom(); y += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, box.bottom() + 1 - y);
        xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, m_gc, std::uint16_t(box.width()),
                      std::uint16_t(rows), std::int16_t(box.left()), std::int16_t(y), 0, m_depth,
                      rowBytes * std::uint32_t(rows),
                      reinterpret_cast<const std::uint8_t*>(pixels.Row(y) + box.left()));
    }
    xcb_flush(m_connection);
}
