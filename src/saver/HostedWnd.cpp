#include "saver/HostedWnd.h"

BOOL CHostedWnd::CreateInWindow(HWND host) {
    RECT rect{};
    if (!::GetClientRect(host, &rect))
        return FALSE;
    return Create(0, WS_CHILD | WS_VISIBLE | WS_DISABLED, rect, CWnd::FromHandle(host), 0, nullptr);
}

BOOL CHostedWnd::CreateOverScreen() {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return Create(0, WS_POPUP | WS_VISIBLE | WS_DISABLED, screen, nullptr, 0, nullptr);
}

BOOL CHostedWnd::CreateOwnWindow() {
    // Two thirds of the screen across and down, in its middle.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const RECT rect{width / 6, height / 6, width / 6 + width * 2 / 3, height / 6 + height * 2 / 3};
    return Create(0, WS_CAPTION | WS_VISIBLE, rect, nullptr, 0, nullptr);
}

// A new size, once the saver runs, gets a fresh verse laid out for it at once
// rather than at the next tick. Before the first verse, the first verse is
// laid out for it when the first picture is here.
void CHostedWnd::OnSize(UINT type, int cx, int cy) {
    CFullScreenWnd::OnSize(type, cx, cy);
    if (m_bFirstPaint || m_bAwaitingFirstPicture || cx <= 0 || cy <= 0)
        return;
    m_bFillBackground = TRUE;
    NewVerse();
}

// Closing its own window (the only way a user ends it) ends the program.
void CHostedWnd::OnSysCommand(UINT id, LPARAM lParam) { CSaverWnd::OnSysCommand(id, lParam); }

// The host's input, never the saver's: each of these does only the default
// processing.
void CHostedWnd::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    CSaverWnd::OnActivate(state, other, minimized);
}
void CHostedWnd::OnActivateApp(BOOL active, DWORD threadId) { CSaverWnd::OnActivateApp(active, threadId); }
void CHostedWnd::OnMouseMove(UINT flags, POINT point) { CSaverWnd::OnMouseMove(flags, point); }
void CHostedWnd::OnLButtonDown(UINT flags, POINT point) { CSaverWnd::OnLButtonDown(flags, point); }
void CHostedWnd::OnMButtonDown(UINT flags, POINT point) { CSaverWnd::OnMButtonDown(flags, point); }
void CHostedWnd::OnRButtonDown(UINT flags, POINT point) { CSaverWnd::OnRButtonDown(flags, point); }
void CHostedWnd::OnKeyDown(UINT key, UINT repeatCount, UINT flags) { CSaverWnd::OnKeyDown(key, repeatCount, flags); }
void CHostedWnd::OnSysKeyDown(UINT key, UINT repeatCount, UINT flags) {
    CSaverWnd::OnSysKeyDown(key, repeatCount, flags);
}
