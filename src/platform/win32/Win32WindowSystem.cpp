#include "platform/win32/Win32WindowSystem.h"

#include "platform/win32/GdiFramebuffer.h"
#include "platform/window/Wnd.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

const char kClassName[] = "QuorlSaverWindow";
const char kTaskClassName[] = "QuorlTasks";
constexpr UINT kRunTasks = WM_APP + 1;

Win32WindowSystem* g_system = nullptr;

// A pointer with every pixel transparent: the full-screen saver shows none.
HCURSOR BlankCursor() {
    static HCURSOR cursor = [] {
        const int width = ::GetSystemMetrics(SM_CXCURSOR), height = ::GetSystemMetrics(SM_CYCURSOR);
        std::vector<BYTE> andMask(std::size_t(width / 8) * height, 0xFF), xorMask(andMask.size(), 0x00);
        return ::CreateCursor(::GetModuleHandleA(nullptr), 0, 0, width, height, andMask.data(), xorMask.data());
    }();
    return cursor;
}

// One of this program's saver windows: one monitor's saver taking the
// focus from another's is no sign of the user.
bool IsSaverWindow(HWND hwnd) {
    char name[sizeof kClassName + 1] = {};
    DWORD process = 0;
    return hwnd && ::GetWindowThreadProcessId(hwnd, &process) && process == ::GetCurrentProcessId() &&
           ::GetClassNameA(hwnd, name, int(sizeof name)) && std::strcmp(name, kClassName) == 0;
}

// GetDpiForWindow where the system has it (Windows 10 1607 on); before, the
// screen's dots per inch, the same on every monitor.
UINT WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow)
        return getDpiForWindow(hwnd);
    HDC dc = ::GetDC(hwnd);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc)
        ::ReleaseDC(hwnd, dc);
    return dpi > 0 ? UINT(dpi) : 0;
}

class Win32WindowHost : public IWindowHost {
public:
    explicit Win32WindowHost(CWnd& wnd) : m_wnd(&wnd) {}
    ~Win32WindowHost() override { Destroy(); }

    bool Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) {
        m_hwnd = ::CreateWindowExA(exStyle, kClassName, "", style, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, parent, nullptr, ::GetModuleHandleA(nullptr), this);
        if (!m_hwnd)
            return false;
        RECT client{};
        ::GetClientRect(m_hwnd, &client);
        m_pixels.Resize(client.right, client.bottom);
        return true;
    }

    Framebuffer& Pixels() override { return m_pixels; }

    void Show(const RECT& area) override {
        if (!m_hwnd)
            return;
        HDC dc = ::GetDC(m_hwnd);
        ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, MemoryDcOf(m_pixels), area.left,
                 area.top, SRCCOPY);
        ::ReleaseDC(m_hwnd, dc);
    }

    UINT SetTimer(UINT id, UINT elapse) override {
        return m_hwnd && ::SetTimer(m_hwnd, id, elapse, nullptr) ? id : 0;
    }
    BOOL KillTimer(UINT id) override { return m_hwnd ? ::KillTimer(m_hwnd, id) : FALSE; }
    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (m_hwnd)
            ::PostMessageA(m_hwnd, message, wParam, lParam);
    }
    // The CWnd has had its last message: the window goes without telling it.
    void Destroy() override {
        m_wnd = nullptr;
        if (HWND hwnd = std::exchange(m_hwnd, nullptr))
            ::DestroyWindow(hwnd);
    }
    // The window's monitor's scale (the program is aware of each monitor's
    // own): 1 at 96 dots per inch, 1.5 at 144.
    double ScaleFactor() const override {
        const UINT dpi = m_hwnd ? WindowDpi(m_hwnd) : 0;
        return dpi ? dpi / 96.0 : 1.0;
    }
    HWND Handle() const override { return m_hwnd; }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* host = static_cast<Win32WindowHost*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, LONG_PTR(host));
        }
        auto* host = reinterpret_cast<Win32WindowHost*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (!host || !host->m_wnd)
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        return host->Deliver(hwnd, message, wParam, lParam);
    }

private:
    LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(hwnd, &paint);
            m_wnd->WindowProc(WM_PAINT, 0, 0);
            // The handler may have ended the window; what it drew shows if not.
            if (m_hwnd)
                ::BitBlt(dc, 0, 0, m_pixels.Width(), m_pixels.Height(), MemoryDcOf(m_pixels), 0, 0, SRCCOPY);
            ::EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_SIZE:
            m_pixels.Resize(LOWORD(lParam), HIWORD(lParam));
            return m_wnd->WindowProc(message, wParam, lParam);
        case WM_SETCURSOR:
            // The class's blank pointer stays unless the window changes it.
            ::SetCursor(BlankCursor());
            return m_wnd->WindowProc(message, wParam, lParam);
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE && IsSaverWindow(HWND(lParam)))
                return 0;
            return m_wnd->WindowProc(message, wParam, lParam);
        case WM_DISPLAYCHANGE:
            // Later, from the loop: the change may take this very window.
            if (Win32WindowSystem* system = g_system)
                system->PostTask([system] { system->DisplayChanged(); });
            return 0;
        case WM_NCDESTROY:
            // Destroyed from outside (the preview's parent went): the CWnd
            // has its last messages now.
            m_hwnd = nullptr;
            if (CWnd* wnd = std::exchange(m_wnd, nullptr))
                wnd->DestroyWindow();
            return 0;
        case WM_TIMER:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_ACTIVATEAPP:
        case WM_NCACTIVATE:
        case WM_SYSCOMMAND:
        case WM_CLOSE:
        case WM_DESTROY:
            return m_wnd->WindowProc(message, wParam, lParam);
        default:
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        }
    }

    CWnd* m_wnd;
    HWND m_hwnd = nullptr;
    Framebuffer m_pixels;
};

bool RegisterSaverClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Win32WindowHost::WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hCursor = BlankCursor();
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassA(&windowClass) != 0;
    }();
    return registered;
}

LRESULT CALLBACK TaskWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunTasks) {
        if (auto* system = reinterpret_cast<Win32WindowSystem*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA)))
            system->RunTasks();
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() {
    WNDCLASSA taskClass{};
    taskClass.lpfnWndProc = TaskWindowProc;
    taskClass.hInstance = ::GetModuleHandleA(nullptr);
    taskClass.lpszClassName = kTaskClassName;
    ::RegisterClassA(&taskClass);
    m_taskWindow = ::CreateWindowExA(0, kTaskClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
    if (m_taskWindow)
        ::SetWindowLongPtrA(m_taskWindow, GWLP_USERDATA, LONG_PTR(this));
}

Win32WindowSystem::~Win32WindowSystem() {
    if (m_taskWindow)
        ::DestroyWindow(m_taskWindow);
    if (g_system == this)
        g_system = nullptr;
}

void Win32WindowSystem::PostTask(std::function<void()> task) {
    m_tasks.Push(std::move(task));
    if (m_taskWindow)
        ::PostMessageA(m_taskWindow, kRunTasks, 0, 0);
}

void Win32WindowSystem::RunTasks() { m_tasks.RunAll(); }

std::unique_ptr<IWindowHost> Win32WindowSystem::CreateHost(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                                           HWND parent) {
    g_system = this;
    if (!RegisterSaverClass() || (parent && !::IsWindow(parent)))
        return nullptr;
    auto host = std::make_unique<Win32WindowHost>(wnd);
    if (!host->Create(exStyle, style, rect, parent))
        return nullptr;
    return host;
}

bool Win32WindowSystem::GetForeignClientRect(HWND window, RECT& rect) {
    return window && ::IsWindow(window) && ::GetClientRect(window, &rect);
}

int Win32WindowSystem::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

void Win32WindowSystem::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

std::vector<RECT> Win32WindowSystem::MonitorRects() {
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR, HDC, LPRECT rect, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rect);
            return TRUE;
        },
        LPARAM(&monitors));
    if (monitors.empty()) {
        const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
        monitors.push_back(RECT{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)});
    }
    return monitors;
}

void Win32WindowSystem::WatchMonitors(std::function<void()> changed) {
    g_system = this;
    m_monitorsChanged = std::move(changed);
}

void Win32WindowSystem::DisplayChanged() {
    if (m_monitorsChanged)
        m_monitorsChanged();
}

std::unique_ptr<IWindowSystem> MakeNativeWindowSystem() { return std::make_unique<Win32WindowSystem>(); }
