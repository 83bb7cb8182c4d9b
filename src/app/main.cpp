#include "app/SaverApp.h"
#include "platform/Application.h"
#include "platform/Profile.h"

int main(int argc, char** argv) {
    InitApplication(argc, argv);
    if (argc > 0)
        SetProfileAppName(argv[0]);
    CSaverApp app;
    if (!app.InitInstance(argc, argv))
        return 0;
    return RunMessageLoop();
}
