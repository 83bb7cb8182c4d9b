#include "app/SaverApp.h"

#include "platform/WinTypes.h"

// A build without the configuration dialog says so and ends with a failure.
void CSaverApp::RunConfiguration() {
    ::MessageBoxA(nullptr, "This build of the screen saver has no settings to configure.", "Quorl",
                  MB_OK | MB_ICONEXCLAMATION);
    m_nExitCode = 1;
}
