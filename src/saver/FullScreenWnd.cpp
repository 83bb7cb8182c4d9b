#include "saver/FullScreenWnd.h"

void CFullScreenWnd::CreateFullScreen() {
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    CreateFullScreen(RECT{0, 0, width, height});
}

void CFullScreenWnd::CreateFullScreen(const RECT& monitor) {
    Create(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, monitor, nullptr, 0, nullptr);
}

// The saver must not be closed or restarted by the system's own commands;
// every other command is processed as usual.
void CFullScreenWnd::OnSysCommand(UINT id, LPARAM lParam) {
    if (id == SC_SCREENSAVE || id == SC_CLOSE)
        return;
    CTimedSaverWnd::OnSysCommand(id, lParam);
}

void CFullScreenWnd::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    if (state == WA_INACTIVE)
        Close();
    CTimedSaverWnd::OnActivate(state, other, minimized);
}

void CFullScreenWnd::OnActivateApp(BOOL active, DWORD threadId) {
    if (!active)
        Close();
    CTimedSaverWnd::OnActivateApp(active, threadId);
}

// The first position reported is only remembered (a window appearing under
// the pointer is told where it is); any later position that differs from
// it, by a single pixel even, ends the saver.
void CFullScreenWnd::OnMouseMove(UINT flags, POINT point) {
    if (m_ptFirstMouse.x == -1 && m_ptFirstMouse.y == -1)
        m_ptFirstMouse = point;
    else if (point.x != m_ptFirstMouse.x || point.y != m_ptFirstMouse.y)
        Close();
    CTimedSaverWnd::OnMouseMove(flags, point);
}

void CFullScreenWnd::OnLButtonDown(UINT flags, POINT point) {
    Close();
    CTimedSaverWnd::OnLButtonDown(flags, point);
}

void CFullScreenWnd::OnMButtonDown(UINT flags, POINT point) {
    Close();
    CTimedSaverWnd::OnMButtonDown(flags, point);
}

void CFullScreenWnd::OnRButtonDown(UINT flags, POINT point) {
    Close();
    CTimedSaverWnd::OnRButtonDown(flags, point);
}

void CFullScreenWnd::OnKeyDown(UINT key, UINT repeatCount, UINT flags) {
    Close();
    CTimedSaverWnd::OnKeyDown(key, repeatCount, flags);
}

void CFullScreenWnd::OnSysKeyDown(UINT key, UINT repeatCount, UINT flags) {
    Close();
    CTimedSaverWnd::OnSysKeyDown(key, repeatCount, flags);
}
