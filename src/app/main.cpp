#include "app/SaverApp.h"
#include "app/Usage.h"
#include "platform/Application.h"
#include "platform/Profile.h"
#include "platform/window/Wnd.h"
#include "saver/PictureWorker.h"
#if QUORL_WAYLAND
#include "platform/window/WaylandSaver.h"
#endif

int main(int argc, char** argv) {
    // Before anything that needs a display: `quorl --help` works anywhere.
    if (const auto text = InformationRequested(argc, argv); text && PrintForTerminal(*text))
        return 0;
    InitApplication(argc, argv);
    if (argc > 0)
        SetProfileAppName(argv[0]);
    std::unique_ptr<IWindowSystem> windows;
#if QUORL_WAYLAND
    bool ownLoop = false;
    // The full-screen saver covers a Wayland compositor's outputs itself;
    // everything else (dialogs, previews, hosted savers) goes through the toolkit.
    if (argc > 1 && MatchSwitch(argv[1], "s")) {
        WaylandSaverChoice wayland = ConnectWaylandSaver();
        if (wayland.failed)
            return 1;
        windows = std::move(wayland.system);
        ownLoop = windows != nullptr;
        if (ownLoop)
            SkipToolkit();
    }
#endif
    if (!windows)
        windows = MakeNativeWindowSystem();
    SetWindowSystem(windows.get());

    int status = 0;
    {
        CSaverApp app;
#if QUORL_WAYLAND
        if (ownLoop)
            status = app.InitInstance(argc, argv) ? RunWaylandLoop(*windows) : app.m_nExitCode;
        else
#endif
            status = app.InitInstance(argc, argv) ? RunMessageLoop() : app.m_nExitCode;
    }
    // A picture still loading is abandoned; nothing may be posted to the
    // window system once it has gone.
    PictureWorker::Get().Stop();
    SetWindowSystem(nullptr);
    ShutdownApplication();
    return status;
}
