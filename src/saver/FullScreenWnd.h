#pragma once
// The saver proper: a top-most window over the whole screen that shows the
// first verse on its first paint, changes verse and picture on two timers,
// and closes at the first sign of the user.
#include "saver/SaverWnd.h"

class CFullScreenWnd : public CSaverWnd {
public:
    static constexpr UINT kVerseTimer = 1;
    static constexpr UINT kPictureTimer = 2;

    CFullScreenWnd();
    ~CFullScreenWnd() override;

    void CreateFullScreen();
    // Over one monitor, given in device pixels.
    void CreateFullScreen(const RECT& monitor);

    POINT m_ptFirstMouse{-1, -1};
    UINT m_nVerseTimer = 0;
    UINT m_nPictureTimer = 0;
    BOOL m_bFirstPaint = TRUE;

protected:
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnDestroy() override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    BOOL OnNcActivate(BOOL active) override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
    void OnActivateApp(BOOL active, DWORD threadId) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMButtonDown(UINT flags, POINT point) override;
    void OnRButtonDown(UINT flags, POINT point) override;
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags) override;
    void OnSysKeyDown(UINT key, UINT repeatCount, UINT flags) override;
    void OnTimer(UINT id) override;
    void OnPaint() override;
    void OnPictureReady() override;

    // Set from the first paint until the first picture is here and the
    // first verse is drawn.
    BOOL m_bAwaitingFirstPicture = FALSE;

private:
    void Close() { PostMessage(WM_CLOSE, 0, 0); }
    // The first verse and the two timers.
    void StartShowing();
};
