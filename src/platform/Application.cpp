#include "platform/Application.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdlib>
#include <memory>

namespace {

int g_argc = 0;
char** g_argv = nullptr;
std::unique_ptr<QApplication> g_app;

bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;  // offscreen and the like need no display
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display && *display) || (wayland && *wayland);
}

}  // namespace

void InitApplication(int argc, char** argv) {
    g_argc = argc;
    g_argv = argv;
}

bool EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return true;
    // Without a display Qt aborts the process; end quietly instead.
    if (!DisplayAvailable())
        return false;
    static char fallbackName[] = "quorl";
    static char* fallbackArgv[] = {fallbackName, nullptr};
    if (!g_argv) {
        g_argc = 1;
        g_argv = fallbackArgv;
    }
    g_app = std::make_unique<QApplication>(g_argc, g_argv);
    // A saver window that closes must not end the program by itself: the
    // program ends with its quit message.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    return true;
}

int RunMessageLoop() { return QCoreApplication::instance() ? QCoreApplication::exec() : 0; }

void ShutdownApplication() {
    if (!g_app)
        return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    g_app.reset();
}
