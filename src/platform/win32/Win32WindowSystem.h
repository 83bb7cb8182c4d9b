#pragma once
// Real windows on Win32: one window class for the saver's windows, made
// with CreateWindowExA, fed by the program's message loop; each window draws
// from its framebuffer (a DIB section) on WM_PAINT and after drawing outside
// a paint.
#include "platform/window/WindowSystem.h"

#include <functional>

class Win32WindowSystem : public IWindowSystem {
public:
    std::unique_ptr<IWindowHost> CreateHost(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                            HWND parent) override;
    bool GetForeignClientRect(HWND window, RECT& rect) override;
    int GetSystemMetrics(int index) override;
    void PostQuitMessage(int exitCode) override;
    // One rectangle: the virtual screen, which spans every monitor.
    std::vector<RECT> MonitorRects() override;
    void WatchMonitors(std::function<void()> changed) override;

    // Runs after a window is told that the display changed.
    void DisplayChanged();

private:
    std::function<void()> m_monitorsChanged;
};
