#include "saver/FullScreenWnd.h"

#include "platform/Directories.h"

CFullScreenWnd::CFullScreenWnd() : CSaverWnd(TRUE) {}

CFullScreenWnd::~CFullScreenWnd() = default;

void CFullScreenWnd::CreateFullScreen() {
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    CreateFullScreen(RECT{0, 0, width, height});
}

void CFullScreenWnd::CreateFullScreen(const RECT& monitor) {
    Create(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, monitor, nullptr, 0, nullptr);
}

void CFullScreenWnd::OnPaint() {
    CPaintDC paint(this);
    // Later paints draw nothing: the screen changes only with the timers.
    if (!m_bFirstPaint)
        return;
    m_bFirstPaint = FALSE;
    SetSystemDir(GetSystemDirectory());
    CSaverWnd::OnPaint();
    // The first verse shows the first picture, which the set-up has asked
    // for: it is drawn when the picture is here. The message loop runs
    // meanwhile, so input ends the saver as always.
    if (m_astrPictureFiles.empty())
        StartShowing();
    else
        m_bAwaitingFirstPicture = TRUE;
}

void CFullScreenWnd::OnPictureReady() {
    if (!m_bAwaitingFirstPicture)
        return;
    m_bAwaitingFirstPicture = FALSE;
    StartShowing();
}

void CFullScreenWnd::StartShowing() {
    NewVerse();
    // Periods in 32-bit unsigned arithmetic, as the system takes them: a
    // negative setting wraps to a long period, which the timer clamps.
    m_nVerseTimer = SetTimer(kVerseTimer, UINT(m_delay) * 1000u, nullptr);
    m_nPictureTimer = SetTimer(kPictureTimer, UINT(m_gifDelay) * 1000u, nullptr);
}

void CFullScreenWnd::OnTimer(UINT id) {
    if (id == kVerseTimer)
        NewVerse();
    else if (id == kPictureTimer)
        NextPicture();
}

void CFullScreenWnd::OnDestroy() {
    if (m_nVerseTimer != 0)
        KillTimer(kVerseTimer);
    if (m_nPictureTimer != 0)
        KillTimer(kPictureTimer);
    PostQuitMessage(0);
    CSaverWnd::OnDestroy();
}

// The saver must not be closed or restarted by the system's own commands;
// every other command is processed as usual.
void CFullScreenWnd::OnSysCommand(UINT id, LPARAM lParam) {
    if (id == SC_SCREENSAVE || id == SC_CLOSE)
        return;
    CSaverWnd::OnSysCommand(id, lParam);
}

BOOL CFullScreenWnd::OnSetCursor(CWnd*, UINT, UINT) { return TRUE; }

BOOL CFullScreenWnd::OnNcActivate(BOOL active) {
    if (!active)
        return FALSE;
    return CSaverWnd::OnNcActivate(active);
}

void CFullScreenWnd::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    if (state == WA_INACTIVE)
        Close();
    CSaverWnd::OnActivate(state, other, minimized);
}

void CFullScreenWnd::OnActivateApp(BOOL active, DWORD threadId) {
    if (!active)
        Close();
    CSaverWnd::OnActivateApp(active, threadId);
}

// The first position reported is only remembered (a window appearing under
// the pointer is told where it is); any later position that differs from
// it, by a single pixel even, ends the saver.
void CFullScreenWnd::OnMouseMove(UINT flags, POINT point) {
    if (m_ptFirstMouse.x == -1 && m_ptFirstMouse.y == -1)
        m_ptFirstMouse = point;
    else if (point.x != m_ptFirstMouse.x || point.y != m_ptFirstMouse.y)
        Close();
    CSaverWnd::OnMouseMove(flags, point);
}

void CFullScreenWnd::OnLButtonDown(UINT flags, POINT point) {
    Close();
    CSaverWnd::OnLButtonDown(flags, point);
}

void CFullScreenWnd::OnMButtonDown(UINT flags, POINT point) {
    Close();
    CSaverWnd::OnMButtonDown(flags, point);
}

void CFullScreenWnd::OnRButtonDown(UINT flags, POINT point) {
    Close();
    CSaverWnd::OnRButtonDown(flags, point);
}

void CFullScreenWnd::OnKeyDown(UINT key, UINT repeatCount, UINT flags) {
    Close();
    CSaverWnd::OnKeyDown(key, repeatCount, flags);
}

void CFullScreenWnd::OnSysKeyDown(UINT key, UINT repeatCount, UINT flags) {
    Close();
    CSaverWnd::OnSysKeyDown(key, repeatCount, flags);
}
