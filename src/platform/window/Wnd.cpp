#include "platform/window/Wnd.h"

#include <map>
#include <mutex>

namespace {

IWindowSystem* g_windowSystem = nullptr;
// Guards the installing and removing of the window system against tasks
// posted from other threads.
std::mutex g_windowSystemMutex;
CWnd* g_mainWindow = nullptr;

constexpr UINT LoWord(LPARAM value) { return UINT(value & 0xFFFF); }
constexpr UINT HiWord(LPARAM value) { return UINT((value >> 16) & 0xFFFF); }

}  // namespace

void SetWindowSystem(IWindowSystem* system) {
    std::lock_guard<std::mutex> lock(g_windowSystemMutex);
    g_windowSystem = system;
}

void PostTaskToEventLoop(std::function<void()> task) {
    std::lock_guard<std::mutex> lock(g_windowSystemMutex);
    if (g_windowSystem)
        g_windowSystem->PostTask(std::move(task));
}
IWindowSystem* GetWindowSystem() { return g_windowSystem; }

void SetMainWindow(CWnd* wnd) { g_mainWindow = wnd; }

int CWnd::GetSystemMetrics(int index) { return g_windowSystem ? g_windowSystem->GetSystemMetrics(index) : 0; }

void CWnd::PostQuitMessage(int exitCode) {
    if (g_windowSystem)
        g_windowSystem->PostQuitMessage(exitCode);
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_host)
        m_host->Destroy();
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

CWnd* CWnd::FromHandle(HWND handle) {
    static std::map<HWND, std::unique_ptr<CWnd>> foreign;
    std::unique_ptr<CWnd>& wnd = foreign[handle];
    if (!wnd) {
        wnd = std::make_unique<CWnd>();
        wnd->m_hWnd = handle;
    }
    return wnd.get();
}

BOOL CWnd::CreateEx(DWORD exStyle, const char*, const char*, DWORD style, int x, int y, int width, int height,
                    HWND parent, UINT, void*) {
    if (!g_windowSystem || m_host)
        return FALSE;
    if ((style & WS_CHILD) && parent == 0)
        return FALSE;  // a child window needs a parent
    const RECT rect{x, y, LONG(std::int64_t(x) + width), LONG(std::int64_t(y) + height)};
    m_host = g_windowSystem->CreateHost(*this, exStyle, style, rect, parent);
    if (!m_host)
        return FALSE;
    m_hWnd = m_host->Handle() ? m_host->Handle() : HWND(this);
    if (WindowProc(WM_CREATE, 0, 0) == -1) {
        m_host->Destroy();
        m_host.reset();
        m_hWnd = 0;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_host)
        return FALSE;
    WindowProc(WM_DESTROY, 0, 0);
    m_host->Destroy();
    OnNcDestroy();  // may delete this
    return TRUE;
}

void CWnd::OnNcDestroy() {
    m_host.reset();
    m_hWnd = 0;
    if (g_mainWindow == this) {
        g_mainWindow = nullptr;
        PostQuitMessage(0);
    }
    PostNcDestroy();
}

void CWnd::GetClientRect(RECT* rect) const {
    if (!rect)
        return;
    *rect = RECT{};
    if (m_host) {
        rect->right = m_host->Pixels().Width();
        rect->bottom = m_host->Pixels().Height();
    }
}

UINT CWnd::SetTimer(UINT id, UINT elapse, void*) {
    if (!m_host)
        return 0;
    if (elapse < USER_TIMER_MINIMUM)
        elapse = USER_TIMER_MINIMUM;
    if (elapse > USER_TIMER_MAXIMUM)
        elapse = USER_TIMER_MAXIMUM;
    return m_host->SetTimer(id, elapse);
}

BOOL CWnd::KillTimer(UINT id) { return m_host ? m_host->KillTimer(id) : FALSE; }

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_host)
        return FALSE;
    m_host->PostMessage(message, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // A handler may destroy and delete the window: nothing below touches a
    // member after the handler has run.
    switch (message) {
    case WM_CREATE: return OnCreate(nullptr);
    case WM_SIZE: OnSize(UINT(wParam), int(LoWord(lParam)), int(HiWord(lParam))); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_TIMER: OnTimer(UINT(wParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(UINT(wParam), point); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(UINT(wParam), point); return 0;
    case WM_MBUTTONDOWN: OnMButtonDown(UINT(wParam), point); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(UINT(wParam), point); return 0;
    case WM_KEYDOWN: OnKeyDown(UINT(wParam), LoWord(lParam), HiWord(lParam)); return 0;
    case WM_SYSKEYDOWN: OnSysKeyDown(UINT(wParam), LoWord(lParam), HiWord(lParam)); return 0;
    case WM_ACTIVATE: OnActivate(LoWord(LPARAM(wParam)), nullptr, HiWord(LPARAM(wParam)) != 0); return 0;
    case WM_ACTIVATEAPP: OnActivateApp(wParam != 0, DWORD(lParam)); return 0;
    case WM_NCACTIVATE: return OnNcActivate(wParam != 0);
    case WM_SYSCOMMAND: OnSysCommand(UINT(wParam), lParam); return 0;
    case WM_SETCURSOR: return OnSetCursor(this, LoWord(lParam), HiWord(lParam));
    case WM_CLOSE: OnClose(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: return 0;  // no handler: nothing to do
    }
}

// Default processing of each message.
int CWnd::OnCreate(void*) { return 0; }
void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnPaint() {}
void CWnd::OnTimer(UINT) {}
void CWnd::OnMouseMove(UINT, POINT) {}
void CWnd::OnLButtonDown(UINT, POINT) {}
void CWnd::OnMButtonDown(UINT, POINT) {}
void CWnd::OnRButtonDown(UINT, POINT) {}
void CWnd::OnKeyDown(UINT, UINT, UINT) {}
void CWnd::OnSysKeyDown(UINT, UINT, UINT) {}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {}
void CWnd::OnActivateApp(BOOL, DWORD) {}
BOOL CWnd::OnNcActivate(BOOL) { return TRUE; }
void CWnd::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == SC_CLOSE)
        WindowProc(WM_CLOSE, 0, 0);
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return FALSE; }
void CWnd::OnClose() { DestroyWindow(); }
void CWnd::OnDestroy() {}
void CWnd::PostNcDestroy() {}

CClientDC::CClientDC(CWnd* wnd) : m_host(wnd ? wnd->Host() : nullptr) {
    if (m_host)
        m_dc = std::make_unique<CDC>(m_host->Pixels());
}

CClientDC::~CClientDC() {
    if (m_host && m_dc) {
        RECT dirty = m_dc->DirtyRect();
        if (dirty.right > dirty.left && dirty.bottom > dirty.top)
            m_host->Show(dirty);
    }
}
