#pragma once
#include "platform/window/WindowSystem.h"

#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>

class CWnd;
class QPoint;
class QRect;
class QScreen;
class QWindow;
class SaverWidget;

// True when `window` is an X11 window other than the root; its size then
// goes to `rect`.
bool ForeignWindowGeometry(HWND window, RECT& rect);
// Where `window`'s top-left corner is on the screen, in device pixels.
QPoint ForeignWindowScreenPosition(HWND window);
// Asks the X server to tell us when `window` goes away.
bool WatchForeignWindow(HWND window);
// A screen's rectangle in device pixels.
QRect ScreenDeviceRect(const QScreen* screen);

// One real window: a QWidget that shows the framebuffer and turns Qt events
// into the window's messages.
class QtWindowHost : public IWindowHost {
public:
    static std::unique_ptr<IWindowHost> Create(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect, HWND parent);
    ~QtWindowHost() override;

    Framebuffer& Pixels() override { return m_pixels; }
    void Show(const RECT& area) override;
    UINT SetTimer(UINT id, UINT elapse) override;
    BOOL KillTimer(UINT id) override;
    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Destroy() override;
    double ScaleFactor() const override;

private:
    QtWindowHost() = default;

    Framebuffer m_pixels;
    QPointer<SaverWidget> m_widget;
    QWindow* m_foreignParent = nullptr;  // the preview's parent, deleted after the widget
    std::map<UINT, std::unique_ptr<QTimer>> m_timers;
};
