#pragma once
// The saver as it shows: the first verse on the first paint (once the first
// picture is here), then a new verse and a new picture on two timers, and
// the end of the message loop when the window goes. What the user's input
// does is left to the two kinds of window built on it: the full-screen saver
// ends at the first sign of the user, a hosted one leaves input to its host.
#include "saver/SaverWnd.h"

class CTimedSaverWnd : public CSaverWnd {
public:
    static constexpr UINT kVerseTimer = 1;
    static constexpr UINT kPictureTimer = 2;

    explicit CTimedSaverWnd(BOOL autoDelete);
    ~CTimedSaverWnd() override;

protected:
    UINT m_nVerseTimer = 0;
    UINT m_nPictureTimer = 0;
    BOOL m_bFirstPaint = TRUE;

    void OnDestroy() override;
    // No pointer shows over the saver, and its window never looks inactive.
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    BOOL OnNcActivate(BOOL active) override;
    void OnTimer(UINT id) override;
    void OnPaint() override;
    void OnPictureReady() override;

    // Set from the first paint until the first picture is here and the
    // first verse is drawn.
    BOOL m_bAwaitingFirstPicture = FALSE;

private:
    // The first verse and the two timers.
    void StartShowing();
};
