#include "platform/qt/QtWindowSystem.h"

#include "platform/Application.h"
#include "platform/qt/QtWindowHost.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

}  // namespace

// The size of the X11 window `window`, or why it is none we can draw in. An
// id that is no window at all answers with an error (BadWindow or
// BadDrawable) and no reply; a pixmap has a geometry but no window
// attributes; an input-only window has both, but shows nothing; the root
// window is a window we may not take.
static std::optional<RECT> CheckForeignWindow(HWND window, std::string* problem) {
    char id[32];
    std::snprintf(id, sizeof id, "0x%llX", static_cast<unsigned long long>(window));
    auto refuse = [&](const std::string& why) -> std::optional<RECT> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    if (window == 0 || window > 0xFFFFFFFFu)
        return refuse(std::string(id) + " is no window id");
    if (!EnsureGuiApplication())
        return std::nullopt;  // the display was told about already
    xcb_connection_t* connection = X11Connection();
    if (!connection)
        return std::nullopt;
    auto geometryCookie = xcb_get_geometry(connection, xcb_drawable_t(window));
    auto attributesCookie = xcb_get_window_attributes(connection, xcb_window_t(window));
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(connection, geometryCookie, nullptr), &std::free);
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, attributesCookie, nullptr), &std::free);
    const char* display = std::getenv("DISPLAY");
    if (!geometry)
        return refuse("no window " + std::string(id) + " on the display \"" + (display ? display : "") + "\"");
    if (!attributes)
        return refuse(std::string(id) + " is a pixmap, not a window");
    if (geometry->root == xcb_window_t(window))
        return refuse(std::string(id) + " is the root window, not a window of the host's");
    if (attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY)
        return refuse(std::string(id) + " is an input-only window: nothing drawn in it can show");
    return RECT{0, 0, geometry->width, geometry->height};
}

bool ForeignWindowGeometry(HWND window, RECT& rect) {
    const std::optional<RECT> found = CheckForeignWindow(window, nullptr);
    if (found)
        rect = *found;
    return found.has_value();
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

std::string QtWindowSystem::ForeignWindowProblem(HWND window) {
    std::string problem;
    CheckForeignWindow(window, &problem);
    return problem;
}

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
