#include "app/SaverApp.h"
#include "platform/Application.h"
#include "platform/Profile.h"
#ifdef _WIN32
#include "platform/win32/Win32WindowSystem.h"
using NativeWindowSystem = Win32WindowSystem;
#else
#include "platform/window/QtWindowSystem.h"
using NativeWindowSystem = QtWindowSystem;
#endif
#include "platform/window/Wnd.h"
#include "saver/PictureWorker.h"

int main(int argc, char** argv) {
    InitApplication(argc, argv);
    if (argc > 0)
        SetProfileAppName(argv[0]);
    NativeWindowSystem windows;
    SetWindowSystem(&windows);

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
