#include "platform/Application.h"

#include "platform/qt/ScaleChecks.h"

#include <QApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

int g_argc = 0;
char** g_argv = nullptr;
// The command line the toolkit application is given; it keeps using it.
int g_toolkitArgc = 0;
std::vector<char*> g_toolkitArgv;
std::unique_ptr<QApplication> g_app;
bool g_displayFailed = false;
bool g_preferWayland = false;
int g_displayLossStatus = 1;
bool g_requireX11 = false;
bool g_outOfSession = false;
bool g_prepared = false;
bool g_skipped = false;
bool g_onX11 = false;
bool g_onWayland = false;

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

// The trial connection of OpenXDisplay, until the toolkit has its own.
XConnection g_trial;

// The root window's resource database (what xrdb loads), as text.
std::string XResources(xcb_connection_t* connection) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return {};
    // At most 64 KB (16384 four-byte units): a database is a few kilobytes.
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, screen->root, XCB_ATOM_RESOURCE_MANAGER,
                                                XCB_ATOM_STRING, 0, 16384),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 8)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       std::size_t(xcb_get_property_value_length(reply.get())));
}

void TellIgnoredScale(const char* name, const std::string& value) {
    std::fprintf(stderr, "quorl: %s=\"%s\" is no scale from 0.25 to 16: ignored, the screen's own scale is used\n",
                 name, value.c_str());
}

void DropUnusableScale(const char* name, bool (*usable)(std::string_view)) {
    const char* value = std::getenv(name);
    if (!value || !*value || usable(value))
        return;
    TellIgnoredScale(name, value);
    ::unsetenv(name);
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

// A host may pass no XDG_RUNTIME_DIR (mate-screensaver passes no XDG_*
// variable at all). The toolkit then warns on stderr, into the host's log,
// and makes a folder of its own under /tmp. The user's own runtime folder,
// where the system made one, is the right one; where there is none, the
// toolkit's is as good, and its warning is no news to anyone.
void SettleRuntimeFolder() {
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir)
        return;
    const std::string own = "/run/user/" + std::to_string(::getuid());
    struct stat info {};
    if (::stat(own.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
        (info.st_mode & 0777) == 0700) {
        ::setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
        return;
    }
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
            return;
        if (previous)
            previous(type, context, text);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    });
}

}  // namespace

bool PrintForTerminal(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return true;
}

void InitApplication(int argc, char** argv) {
    g_argc = argc;
    g_argv = argv;
}

void StayOutOfSession() { g_outOfSession = true; }

void RequireX11() {
    g_requireX11 = true;
    g_preferWayland = false;
}

namespace {

// The toolkit aborts when its Wayland plug-in cannot connect: the
// compositor's socket must be there before Wayland is preferred.
bool WaylandSocketExists() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name)
        return false;
    std::string path = name;
    if (path[0] != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !*runtime)
            return false;
        path = std::string(runtime) + "/" + path;
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

}  // namespace

void PreferWayland() {
    const char* forced = std::getenv("QUORL_DISPLAY");
    g_preferWayland = !(forced && std::string(forced) == "x11") && WaylandSocketExists();
}

void SkipToolkit() { g_skipped = true; }

void PrepareGuiApplication() {
    if (g_prepared || g_skipped || QCoreApplication::instance())
        return;
    g_prepared = true;
    // Without a session bus, the toolkit would have D-Bus start one of its
    // own, which outlives the program; the saver needs no bus.
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!bus || !*bus)
        ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    if (g_outOfSession) {
        ::unsetenv("SESSION_MANAGER");
        // The toolkit would remove it itself, while it starts, when other
        // threads may already be reading the environment.
        ::unsetenv("DESKTOP_STARTUP_ID");
    }
    DropUnusableScale("QT_SCALE_FACTOR", IsUsableScale);
    DropUnusableScale("QT_SCREEN_SCALE_FACTORS", IsUsableScreenScales);
    DropUnusableScale("QT_FONT_DPI", IsUsableDpi);
    SettleRuntimeFolder();
    // A platform chosen in the environment (offscreen, for tests) is used as
    // it is; otherwise the windows are X11 windows, in a Wayland session too
    // (the saver's hosts and the preview's parent windows are X11 windows),
    // except the configuration's when Wayland is preferred.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool chosen = platform && *platform;
    g_onWayland = !g_requireX11 && !chosen && g_preferWayland;
    g_onX11 = g_requireX11 || (!chosen && !g_preferWayland);
    if (!g_onX11)
        return;
    // A write to a connection the server has just broken would raise SIGPIPE
    // and kill the program before the toolkit sees the loss; ignored, the
    // write fails and the loss ends the program with its one line.
    ::signal(SIGPIPE, SIG_IGN);
    g_trial = OpenXDisplay();
    if (!g_trial) {
        g_displayFailed = true;
        return;
    }
    // Xft.dpi cannot be dropped from the display; the toolkit's scaling by
    // it is turned off instead, which leaves the screen at its own scale.
    if (const auto dpi = XftDpiResource(XResources(g_trial.get())); dpi && !IsUsableDpi(*dpi)) {
        TellIgnoredScale("Xft.dpi", *dpi);
        ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    }
}

bool EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return true;
    PrepareGuiApplication();
    if (g_displayFailed)
        return false;
    static char fallbackName[] = "quorl", platformOption[] = "-platform", x11Platform[] = "xcb";
    if (g_argv && g_argc > 0)
        g_toolkitArgv.assign(g_argv, g_argv + g_argc);
    else
        g_toolkitArgv = {fallbackName};
    // The platform is chosen on the command line, which the toolkit prefers
    // to its environment variable: the environment is no longer ours to
    // change once threads run. On Wayland it is the toolkit's own Wayland
    // plug-in, with X11 as its second choice.
    static char waylandPlatform[] = "wayland", waylandOrX11Platform[] = "wayland;xcb";
    if (g_onX11)
        g_toolkitArgv.insert(g_toolkitArgv.end(), {platformOption, x11Platform});
    else if (g_onWayland)
        g_toolkitArgv.insert(g_toolkitArgv.end(),
                             {platformOption, DisplayName().empty() ? waylandPlatform : waylandOrX11Platform});
    g_toolkitArgc = int(g_toolkitArgv.size());
    g_toolkitArgv.push_back(nullptr);
    g_app = std::make_unique<QApplication>(g_toolkitArgc, g_toolkitArgv.data());
    g_trial.reset();
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
