#include "platform/Application.h"

#include <QApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

int g_argc = 0;
char** g_argv = nullptr;
std::unique_ptr<QApplication> g_app;
bool g_displayFailed = false;
int g_displayLossStatus = 1;

std::string DisplayName() {
    const char* display = std::getenv("DISPLAY");
    return display ? display : "";
}

struct ConnectionCloser {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using XConnection = std::unique_ptr<xcb_connection_t, ConnectionCloser>;

// The toolkit aborts the process when it cannot reach its display, with a
// message about plug-ins; the X display is therefore tried first, and a
// failure is one line naming it. The trial connection stays open until the
// toolkit has its own: an X server whose last client leaves resets, and a
// connection made during the reset fails.
XConnection OpenXDisplay() {
    const std::string display = DisplayName();
    if (display.empty()) {
        std::fprintf(stderr, "quorl: no X display: DISPLAY is not set\n");
        return nullptr;
    }
    XConnection connection(xcb_connect(display.c_str(), nullptr));
    if (xcb_connection_has_error(connection.get()) != 0) {
        std::fprintf(stderr, "quorl: cannot open the X display \"%s\"\n", display.c_str());
        return nullptr;
    }
    return connection;
}

// The toolkit's X plug-in calls exit() when its connection breaks, from inside
// the event loop; letting exit() go on would destroy the application object
// under the loop that is using it. Nothing is left to save at that point
// (settings and lists are written whole, outside event handling), so the
// process ends here, before any destructor runs.
void EndAfterLostDisplay() {
    if (!g_app)
        return;  // an ordinary end
    std::fprintf(stderr, "quorl: lost the connection to the X display \"%s\"\n", DisplayName().c_str());
    ::_exit(g_displayLossStatus);
}

}  // namespace

void InitApplication(int argc, char** argv) {
    g_argc = argc;
    g_argv = argv;
}

void StayOutOfSession() { ::unsetenv("SESSION_MANAGER"); }

void RequireX11() { ::unsetenv("QT_QPA_PLATFORM"); }  // X11 is the default below

bool EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return true;
    // Without a session bus, the toolkit would have D-Bus start one of its
    // own, which outlives the program; the saver needs no bus.
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!bus || !*bus)
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    if (g_displayFailed)
        return false;
    // A platform chosen in the environment (offscreen, for tests) is used as
    // it is; otherwise the windows are X11 windows, in a Wayland session too,
    // since the saver's hosts and the preview's parent windows are X11 windows.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    XConnection trial;
    if (!platform || !*platform) {
        trial = OpenXDisplay();
        if (!trial) {
            g_displayFailed = true;
            return false;
        }
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    static char fallbackName[] = "quorl";
    static char* fallbackArgv[] = {fallbackName, nullptr};
    if (!g_argv) {
        g_argc = 1;
        g_argv = fallbackArgv;
    }
    g_app = std::make_unique<QApplication>(g_argc, g_argv);
    static const bool exitWatched = std::atexit(EndAfterLostDisplay) == 0;
    (void)exitWatched;
    // A saver window that closes must not end the program by itself: the
    // program ends with its quit message.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    return true;
}

void SetDisplayLossStatus(int status) { g_displayLossStatus = status; }

int RunMessageLoop() { return QCoreApplication::instance() ? QCoreApplication::exec() : 0; }

void ShutdownApplication() {
    if (!g_app)
        return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    g_app.reset();
}
