#pragma once
// The saver inside a window that another program owns (a screen-saver host
// names it), or in an ordinary window of its own for trying it out. It draws
// as the full-screen saver does, on the same timers, but the host owns the
// input: nothing the user does ends it. The host ends it with a signal or by
// destroying its window.
#include "saver/TimedSaverWnd.h"

class CHostedWnd : public CTimedSaverWnd {
public:
    CHostedWnd() : CTimedSaverWnd(TRUE) {}

    // A child that fills the host's window, takes no input and keeps the
    // window's size. FALSE when `host` is not a window.
    BOOL CreateInWindow(HWND host);
    // Over the whole primary screen, taking no input: for a host that names
    // no window of its own.
    BOOL CreateOverScreen();
    // An ordinary framed window of its own; closing it ends the program.
    BOOL CreateOwnWindow();

protected:
    void OnSize(UINT type, int cx, int cy) override;
};
