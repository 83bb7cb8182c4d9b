#pragma once
#include "platform/dc/Framebuffer.h"
#include "platform/window/WindowTypes.h"

#include <QAbstractNativeEventFilter>
#include <QImage>
#include <QWidget>

#include <memory>

class CWnd;
class X11Pixels;

// The Qt widget behind a saver window. It paints the framebuffer, which holds
// device pixels (the widget's size times the screen's scale), and maps
// Qt's events one to one onto the window's messages:
//   key press            -> WM_KEYDOWN, or WM_SYSKEYDOWN with Alt or for F10
//   left/middle/right    -> WM_LBUTTONDOWN / WM_MBUTTONDOWN / WM_RBUTTONDOWN
//   pointer motion       -> WM_MOUSEMOVE (client coordinates)
//   window deactivated   -> WM_ACTIVATE with WA_INACTIVE
//   application inactive -> WM_ACTIVATEAPP with FALSE
//   window manager close -> WM_SYSCOMMAND with SC_CLOSE
//   timer                -> WM_TIMER with its identifier
// Releases, the wheel and other buttons have no message. X11 has no
// counterpart of the screen-saver system command, of the cursor query
// (the window's cursor is blank for good) or of refusing a non-client
// deactivation, so those messages never arrive here.
class SaverWidget : public QWidget, public QAbstractNativeEventFilter {
public:
    SaverWidget(CWnd* wnd, Framebuffer& pixels, Qt::WindowFlags flags);
    ~SaverWidget() override;

    // Null once the window is destroyed: no more messages go out.
    CWnd* m_wnd = nullptr;
    // The X11 window whose destruction ends this one (the preview's parent).
    HWND watchedParent = 0;
    // Whether this window keeps the size of its watched parent.
    bool followParentSize = false;

    void Deliver(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void FramebufferResized();
    // Repaints the part of the window that shows `area` of the framebuffer.
    void UpdateDeviceArea(const RECT& area);

protected:
    QRect DeviceArea(const QRect& layout) const;
    QPaintEngine* paintEngine() const override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QSize DeviceSize() const;

    Framebuffer& m_pixels;
    QImage m_image;  // wraps m_pixels without copying
    // On X11 the framebuffer goes to the window directly (see X11Pixels);
    // elsewhere through the toolkit's painter.
    std::unique_ptr<X11Pixels> m_x11;
};
