#pragma once
// The window system that shows real windows, through Qt (X11 or any other
// Qt platform). The full-screen window is a frameless, top-most window over
// its monitor (one per monitor); a window with a foreign parent (the preview) is a native
// child of that X11 window.
#include "platform/window/WindowSystem.h"

#include <QTimer>

class QtWindowSystem : public IWindowSystem {
public:
    std::unique_ptr<IWindowHost> CreateHost(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                            HWND parent) override;
    bool GetForeignClientRect(HWND window, RECT& rect) override;
    std::string ForeignWindowProblem(HWND window) override;
    int GetSystemMetrics(int index) override;
    void PostQuitMessage(int exitCode) override;
    std::vector<RECT> MonitorRects() override;
    void WatchMonitors(std::function<void()> changed) override;
    void PostTask(std::function<void()> task) override;

private:
    std::function<void()> m_monitorsChanged;
    std::unique_ptr<QTimer> m_pendingNotice;  // made with the toolkit application
};
