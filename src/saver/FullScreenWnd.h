#pragma once
// The saver proper: a top-most window over the whole screen, or one monitor,
// that closes at the first sign of the user.
#include "saver/TimedSaverWnd.h"

class CFullScreenWnd : public CTimedSaverWnd {
public:
    // A window that deletes itself after its last message, unless told not to.
    explicit CFullScreenWnd(BOOL autoDelete = TRUE) : CTimedSaverWnd(autoDelete) {}

    void CreateFullScreen();
    // Over one monitor, given in device pixels.
    void CreateFullScreen(const RECT& monitor);

protected:
    POINT m_ptFirstMouse{-1, -1};

    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
    void OnActivateApp(BOOL active, DWORD threadId) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMButtonDown(UINT flags, POINT point) override;
    void OnRButtonDown(UINT flags, POINT point) override;
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags) override;
    void OnSysKeyDown(UINT key, UINT repeatCount, UINT flags) override;

private:
    void Close() { PostMessage(WM_CLOSE, 0, 0); }
};
