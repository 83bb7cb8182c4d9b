#include "platform/window/MemoryWindowSystem.h"

#include "platform/window/Wnd.h"

#include <algorithm>

class MemoryWindowHost : public IWindowHost {
public:
    MemoryWindowHost(MemoryWindowSystem& system, CWnd& wnd, const RECT& rect)
        : m_system(system), m_wnd(wnd), m_pixels(rect.right - rect.left, rect.bottom - rect.top) {
        m_system.m_pixels = &m_pixels;
        m_system.windows.push_back({&wnd, rect, &m_pixels, {}});
    }
    ~MemoryWindowHost() override { Destroy(); }

    Framebuffer& Pixels() override { return m_pixels; }
    void Show(const RECT& area) override {
        m_system.log.push_back("Show");
        m_system.shown.push_back(area);
    }
    UINT SetTimer(UINT id, UINT elapse) override {
        m_system.log.push_back("SetTimer " + std::to_string(id) + " " + std::to_string(elapse));
        if (m_system.refuseTimers)
            return 0;
        m_system.timers[id] = elapse;
        if (MemoryWindowSystem::Window* record = Record())
            record->timers[id] = elapse;
        return id;
    }
    BOOL KillTimer(UINT id) override {
        m_system.log.push_back("KillTimer " + std::to_string(id));
        if (MemoryWindowSystem::Window* record = Record())
            record->timers.erase(id);
        return m_system.timers.erase(id) ? TRUE : FALSE;
    }
    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        m_system.posted.push_back({message, wParam, lParam, &m_wnd});
    }
    double ScaleFactor() const override { return m_system.scale; }
    void Destroy() override {
        if (m_destroyed)
            return;
        m_destroyed = true;
        m_system.log.push_back("Destroy");
        std::erase_if(m_system.windows, [this](const MemoryWindowSystem::Window& w) { return w.wnd == &m_wnd; });
        if (m_system.window != &m_wnd)
            return;
        m_system.timers.clear();
        m_system.window = nullptr;
        m_system.m_pixels = nullptr;
    }

private:
    // This window's entry in the system's list; null once destroyed.
    MemoryWindowSystem::Window* Record() {
        for (MemoryWindowSystem::Window& w : m_system.windows)
            if (w.wnd == &m_wnd)
                return &w;
        return nullptr;
    }

    MemoryWindowSystem& m_system;
    CWnd& m_wnd;
    Framebuffer m_pixels;
    bool m_destroyed = false;
};

MemoryWindowSystem::MemoryWindowSystem() : m_previous(GetWindowSystem()) { SetWindowSystem(this); }

MemoryWindowSystem::~MemoryWindowSystem() { SetWindowSystem(m_previous); }

Framebuffer* MemoryWindowSystem::Pixels() { return m_pixels; }

LRESULT MemoryWindowSystem::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return window ? window->WindowProc(message, wParam, lParam) : 0;
}

LRESULT MemoryWindowSystem::SendTo(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool live = std::any_of(windows.begin(), windows.end(), [wnd](const Window& w) { return w.wnd == wnd; });
    return live ? wnd->WindowProc(message, wParam, lParam) : 0;
}

void MemoryWindowSystem::DeliverPosted() {
    while (!posted.empty()) {
        Message m = posted.front();
        posted.pop_front();
        SendTo(m.target, m.message, m.wParam, m.lParam);
    }
}

std::vector<RECT> MemoryWindowSystem::MonitorRects() {
    return monitors.empty() ? std::vector<RECT>{RECT{0, 0, screenWidth, screenHeight}} : monitors;
}

std::unique_ptr<IWindowHost> MemoryWindowSystem::CreateHost(CWnd& wnd, DWORD exStyle_, DWORD style_,
                                                            const RECT& rect, HWND parent_) {
    if (parent_ != 0 && !foreignWindows.count(parent_))
        return nullptr;  // a child of something that is not a window
    window = &wnd;
    exStyle = exStyle_;
    style = style_;
    createRect = rect;
    parent = parent_;
    return std::make_unique<MemoryWindowHost>(*this, wnd, rect);
}

bool MemoryWindowSystem::GetForeignClientRect(HWND handle, RECT& rect) {
    auto it = foreignWindows.find(handle);
    if (it == foreignWindows.end())
        return false;
    rect = RECT{0, 0, it->second.right - it->second.left, it->second.bottom - it->second.top};
    return true;
}

int MemoryWindowSystem::GetSystemMetrics(int index) {
    return index == SM_CXSCREEN ? screenWidth : index == SM_CYSCREEN ? screenHeight : 0;
}

void MemoryWindowSystem::PostQuitMessage(int exitCode) {
    log.push_back("Quit " + std::to_string(exitCode));
    if (!quitCode)
        quitCode = exitCode;
}

void MemoryWindowSystem::PostTask(std::function<void()> task) { m_tasks.Push(std::move(task)); }

void MemoryWindowSystem::RunTasks() { m_tasks.RunAll(); }
