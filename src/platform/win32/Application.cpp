// The program's message loop on Win32. The system is always there: nothing
// to connect to and nothing to lose.
#include "platform/Application.h"

#include "platform/WinTypes.h"

bool PrintForTerminal(const std::string&) { return false; }

void InitApplication(int, char**) {}

void RequireX11() {}

void PreferWayland() {}

void StayOutOfSession() {}

void PrepareGuiApplication() {}

bool EnsureGuiApplication() { return true; }

void SetDisplayLossStatus(int) {}

int RunMessageLoop() {
    MSG message;
    BOOL got;
    while ((got = ::GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1)
            return 1;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return int(message.wParam);
}

void ShutdownApplication() {}
