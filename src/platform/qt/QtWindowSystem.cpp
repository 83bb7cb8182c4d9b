#include "platform/qt/QtWindowSystem.h"

#include "platform/Application.h"
#include "platform/qt/QtWindowHost.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <algorithm>
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

QPoint ForeignWindowScreenPosition(HWND window) {
    xcb_connection_t* connection = X11Connection();
    if (!connection)
        return QPoint();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> reply(
        xcb_translate_coordinates_reply(connection,
                                        xcb_translate_coordinates(connection, xcb_window_t(window), root, 0, 0),
                                        nullptr),
        &std::free);
    return reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint();
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
    const QRect screen = ScreenDeviceRect(QGuiApplication::primaryScreen());
    return index == SM_CXSCREEN ? screen.width() : index == SM_CYSCREEN ? screen.height() : 0;
}

std::vector<RECT> QtWindowSystem::MonitorRects() {
    std::vector<RECT> rects;
    if (!EnsureGuiApplication())
        return rects;
    QList<QScreen*> screens = QGuiApplication::screens();
    // The primary screen first.
    std::stable_partition(screens.begin(), screens.end(),
                          [](QScreen* screen) { return screen == QGuiApplication::primaryScreen(); });
    for (QScreen* screen : screens) {
        const QRect r = ScreenDeviceRect(screen);
        if (!r.isEmpty())
            rects.push_back(RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    }
    return rects;
}

void QtWindowSystem::WatchMonitors(std::function<void()> changed) {
    m_pendingNotice.reset();  // and with it every connection made before
    m_monitorsChanged = std::move(changed);
    if (!m_monitorsChanged || !EnsureGuiApplication())
        return;
    // Several notices in a row (a screen added, then resized) make one call,
    // from the message loop, once they are all in.
    m_pendingNotice = std::make_unique<QTimer>();
    m_pendingNotice->setSingleShot(true);
    m_pendingNotice->setInterval(0);
    QTimer* pending = m_pendingNotice.get();
    auto notify = [pending] {
        if (!pending->isActive())
            pending->start();
    };
    QObject::connect(pending, &QTimer::timeout, [this] {
        if (m_monitorsChanged)
            m_monitorsChanged();
    });
    auto watchScreen = [pending, notify](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, pending, notify);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, pending, [notify, watchScreen](QScreen* screen) {
        watchScreen(screen);
        notify();
    });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, pending, notify);
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, pending, notify);
}

void QtWindowSystem::PostQuitMessage(int exitCode) {
    // exit() rather than quit(): once a foreign window has been adopted,
    // quit() may be refused.
    if (QCoreApplication::instance())
        QCoreApplication::exit(exitCode);
}

void QtWindowSystem::PostTask(std::function<void()> task) {
    // A queued call is posted as an event, which Qt allows from any thread.
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
}

std::unique_ptr<IWindowSystem> MakeNativeWindowSystem() { return std::make_unique<QtWindowSystem>(); }
