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
void CHostedWnd::OnSize(UINT, int cx, int cy) {
    if (m_bFirstPaint || m_bAwaitingFirstPicture || cx <= 0 || cy <= 0)
        return;
    m_bFillBackground = TRUE;
    NewVerse();
}
