#pragma once
// Real windows on Win32: one window class for the saver's windows, made
// with CreateWindowExA, fed by the program's message loop; each window draws
// from its framebuffer (a DIB section) on WM_PAINT and after drawing outside
// a paint.
#include "platform/window/TaskQueue.h"
#include "platform/window/WindowSystem.h"

#include <functional>

class Win32WindowSystem : public IWindowSystem {
public:
    // Make it on the thread that runs the message loop.
    Win32WindowSystem();
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    std::unique_ptr<IWindowHost> CreateHost(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                            HWND parent) override;
    bool GetForeignClientRect(HWND window, RECT& rect) override;
    int GetSystemMetrics(int index) override;
    void PostQuitMessage(int exitCode) override;
    // One rectangle per monitor, in device pixels; the virtual screen if
    // the system lists none.
    std::vector<RECT> MonitorRects() override;
    void WatchMonitors(std::function<void()> changed) override;
    // The task waits in a queue; a message to a message-only window of the
    // loop's thread wakes the loop to run it.
    void PostTask(std::function<void()> task) override;

    // Runs after a window is told that the display changed.
    void DisplayChanged();

    // Runs the tasks queued so far.
    void RunTasks();

private:
    std::function<void()> m_monitorsChanged;
    HWND m_taskWindow = nullptr;
    TaskQueue m_tasks;
};
