#pragma once
// A window system without a display, for tests: it records what the window
// asks of the system (timers, posted messages, the quit message), delivers
// messages when the test says so, and keeps the framebuffer in memory.
#include "platform/window/TaskQueue.h"
#include "platform/window/WindowSystem.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class MemoryWindowSystem : public IWindowSystem {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        CWnd* target = nullptr;  // the window that posted it
    };
    // One live window: what it was made with and what it asks for.
    struct Window {
        CWnd* wnd;
        RECT rect;
        Framebuffer* pixels;
        std::map<UINT, UINT> timers;  // identifier -> period in ms
    };

    MemoryWindowSystem();
    ~MemoryWindowSystem() override;

    // Set-up, before the window is made.
    int screenWidth = 1024;
    int screenHeight = 768;
    std::map<HWND, RECT> foreignWindows;  // windows of other programs
    bool refuseTimers = false;
    double scale = 1.0;            // the desktop's scale factor
    std::vector<RECT> monitors;    // none: one monitor, the screen

    // What happened. With several windows, these follow the newest one.
    CWnd* window = nullptr;  // the live window, null once destroyed
    DWORD exStyle = 0, style = 0;
    RECT createRect{};
    HWND parent = 0;
    std::map<UINT, UINT> timers;   // running timers of every window: identifier -> period in ms
    std::vector<std::string> log;  // "Show", "SetTimer 1 5000", "KillTimer 1", "Destroy", "Quit 0", ...
    std::vector<RECT> shown;       // the areas put on the screen, in order
    std::deque<Message> posted;    // messages waiting for DeliverPosted
    std::optional<int> quitCode;
    std::vector<Window> windows;   // every live window, oldest first


    Framebuffer* Pixels();  // the live window's pixels, or null

    // Driving the window (the newest, or `wnd`).
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendTo(CWnd* wnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void DeliverPosted();  // in order, each to its window; one for a destroyed window is dropped
    void RunTasks();       // the tasks posted so far, in order

    // IWindowSystem
    std::unique_ptr<IWindowHost> CreateHost(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                            HWND parent) override;
    bool GetForeignClientRect(HWND window, RECT& rect) override;
    int GetSystemMetrics(int index) override;
    void PostQuitMessage(int exitCode) override;
    // `monitors`, or one of the screen's size; they never change.
    std::vector<RECT> MonitorRects() override;
    void WatchMonitors(std::function<void()>) override {}
    void PostTask(std::function<void()> task) override;

private:
    TaskQueue m_tasks;
    friend class MemoryWindowHost;
    Framebuffer* m_pixels = nullptr;
    IWindowSystem* m_previous;
};
