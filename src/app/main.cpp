#include "app/SaverApp.h"
#include "app/Usage.h"
#include "platform/Application.h"
#include "platform/Profile.h"
#include "platform/window/Wnd.h"
#include "saver/PictureWorker.h"

int main(int argc, char** argv) {
    // Before anything that needs a display: `quorl --help` works anywhere.
    if (const auto text = InformationRequested(argc, argv); text && PrintForTerminal(*text))
        return 0;
    InitApplication(argc, argv);
    if (argc > 0)
        SetProfileAppName(argv[0]);
    const std::unique_ptr<IWindowSystem> windows = MakeNativeWindowSystem();
    SetWindowSystem(windows.get());

    int status = 0;
    {
        CSaverApp app;
        status = app.InitInstance(argc, argv) ? RunMessageLoop() : app.m_nExitCode;
    }
    // A picture still loading is abandoned; nothing may be posted to the
    // window system once it has gone.
    PictureWorker::Get().Stop();
    SetWindowSystem(nullptr);
    ShutdownApplication();
    return status;
}
