#include "app/SaverApp.h"

#include "platform/Profile.h"

BOOL CSaverApp::InitInstance(int argc, char** argv) {
    SetRegistryKey("Zovex Screen Savers");
    if (argc <= 1 || MatchSwitch(argv[1], "c")) {
        RunConfiguration();
        return FALSE;
    }
    return FALSE;
}
