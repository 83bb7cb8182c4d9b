#include "platform/window/QtWindowSystem.h"

#include "platform/Application.h"
#include "platform/window/QtWindowHost.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

}  // namespace

bool ForeignWindowGeometry(HWND window, RECT& rect) {
    if (window == 0 || window > 0xFFFFFFFFu || !EnsureGuiApplication())
        return false;
    xcb_connection_t* connection = X11Connection();
    if (!connection)
        return false;
    // An id that is not a window answers with an error (BadWindow or
    // BadDrawable) and no reply.
    xcb_generic_error_t* error = nullptr;
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> reply(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, xcb_drawable_t(window)), &error),
        &std::free);
    std::free(error);
    if (!reply)
        return false;
    // The root window is a drawable with geometry too, but it is not a
    // window we may draw in.
    if (reply->root == xcb_window_t(window))
        return false;
    rect = RECT{0, 0, reply->width, reply->height};
    return true;
}

bool WatchForeignWindow(HWND window) {
    xcb_connection_t* connection = X11Connection();
    if (!connection)
        return false;
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, xcb_window_t(window)),
                                        nullptr),
        &std::free);
    if (!attributes)
        return false;
    const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, xcb_window_t(window), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    return true;
}

std::unique_ptr<IWindowHost> QtWindowSystem::CreateHost(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                                        HWND parent) {
    if (!EnsureGuiApplication())
        return nullptr;
    return QtWindowHost::Create(wnd, exStyle, style, rect, parent);
}

bool QtWindowSystem::GetForeignClientRect(HWND window, RECT& rect) { return ForeignWindowGeometry(window, rect); }

int QtWindowSystem::GetSystemMetrics(int index) {
    if (!EnsureGuiApplication() || !QGuiApplication::primaryScreen())
        return 0;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return index == SM_CXSCREEN ? screen.width() : index == SM_CYSCREEN ? screen.height() : 0;
}

void QtWindowSystem::PostQuitMessage(int exitCode) {
    // exit() rather than quit(): once a foreign window has been adopted,
    // quit() may be refused.
    if (QCoreApplication::instance())
        QCoreApplication::exit(exitCode);
}
