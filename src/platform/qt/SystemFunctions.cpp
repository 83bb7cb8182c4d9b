// The system's window functions the saver calls by their Windows names,
// answered by the window system in use.
#include "platform/window/Wnd.h"

BOOL GetClientRect(HWND window, RECT* rect) {
    IWindowSystem* system = GetWindowSystem();
    if (!system || !rect)
        return FALSE;
    return system->GetForeignClientRect(window, *rect) ? TRUE : FALSE;
}

int GetSystemMetrics(int index) { return CWnd::GetSystemMetrics(index); }

void PostQuitMessage(int exitCode) { CWnd::PostQuitMessage(exitCode); }
