#include "app/SaverApp.h"
#include "platform/Application.h"
#include "platform/Profile.h"
#include "platform/window/QtWindowSystem.h"
#include "platform/window/Wnd.h"

int main(int argc, char** argv) {
    InitApplication(argc, argv);
    if (argc > 0)
        SetProfileAppName(argv[0]);
    QtWindowSystem windows;
    SetWindowSystem(&windows);

    int status = 0;
    {
        CSaverApp app;
        status = app.InitInstance(argc, argv) ? RunMessageLoop() : app.m_nExitCode;
    }
    SetWindowSystem(nullptr);
    ShutdownApplication();
    return status;
}
