#include "saver/TimedSaverWnd.h"

#include "platform/Directories.h"

CTimedSaverWnd::CTimedSaverWnd(BOOL autoDelete) : CSaverWnd(autoDelete) {}

CTimedSaverWnd::~CTimedSaverWnd() = default;

void CTimedSaverWnd::OnPaint() {
    CPaintDC paint(this);
    // Later paints draw nothing: the screen changes only with the timers.
    if (!m_bFirstPaint)
        return;
    m_bFirstPaint = FALSE;
    SetSystemDir(GetSystemDirectory());
    CSaverWnd::OnPaint();
    // The first verse shows the first picture, which the set-up has asked
    // for: it is drawn when the picture is here. The message loop runs
    // meanwhile, so input is handled as always.
    if (m_astrPictureFiles.empty())
        StartShowing();
    else
        m_bAwaitingFirstPicture = TRUE;
}

void CTimedSaverWnd::OnPictureReady() {
    if (!m_bAwaitingFirstPicture)
        return;
    m_bAwaitingFirstPicture = FALSE;
    StartShowing();
}

void CTimedSaverWnd::StartShowing() {
    NewVerse();
    // Periods in 32-bit unsigned arithmetic, as the system takes them: a
    // negative setting wraps to a long period, which the timer clamps.
    m_nVerseTimer = SetTimer(kVerseTimer, UINT(m_delay) * 1000u, nullptr);
    m_nPictureTimer = SetTimer(kPictureTimer, UINT(m_gifDelay) * 1000u, nullptr);
}

void CTimedSaverWnd::OnTimer(UINT id) {
    if (id == kVerseTimer)
        NewVerse();
    else if (id == kPictureTimer)
        NextPicture();
}

void CTimedSaverWnd::OnDestroy() {
    if (m_nVerseTimer != 0)
        KillTimer(kVerseTimer);
    if (m_nPictureTimer != 0)
        KillTimer(kPictureTimer);
    PostQuitMessage(0);
    CSaverWnd::OnDestroy();
}

BOOL CTimedSaverWnd::OnSetCursor(CWnd*, UINT, UINT) { return TRUE; }

BOOL CTimedSaverWnd::OnNcActivate(BOOL active) {
    if (!active)
        return FALSE;
    return CSaverWnd::OnNcActivate(active);
}
