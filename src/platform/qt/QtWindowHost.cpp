#include "platform/qt/QtWindowHost.h"

#include "platform/qt/SaverWidget.h"
#include "platform/window/Wnd.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace {

// The screen whose device rectangle holds `corner`, else the primary screen.
QScreen* ScreenAt(QPoint corner) {
    for (QScreen* screen : QGuiApplication::screens())
        if (ScreenDeviceRect(screen).contains(corner))
            return screen;
    return QGuiApplication::primaryScreen();
}

QRect LayoutRect(const RECT& rect, double scale) {
    return QRect(int(std::lround(rect.left / scale)), int(std::lround(rect.top / scale)),
                 int(std::lround((rect.right - rect.left) / scale)), int(std::lround((rect.bottom - rect.top) / scale)));
}

}  // namespace

QRect ScreenDeviceRect(const QScreen* screen) {
    // Qt keeps a screen's top-left corner in device pixels and scales only
    // its size.
    const QRect layout = screen->geometry();
    const double scale = screen->devicePixelRatio();
    return QRect(layout.topLeft(), QSize(int(std::lround(layout.width() * scale)),
                                         int(std::lround(layout.height() * scale))));
}

std::unique_ptr<IWindowHost> QtWindowHost::Create(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                                  HWND parent) {
    std::unique_ptr<QtWindowHost> host(new QtWindowHost);
    const int width = std::max<LONG>(0, rect.right - rect.left);
    const int height = std::max<LONG>(0, rect.bottom - rect.top);
    host->m_pixels.Resize(width, height);
    // A child's scale is that of the screen its parent is on.
    QScreen* screen = ScreenAt(parent != 0 ? ForeignWindowScreenPosition(parent) + QPoint(rect.left, rect.top)
                                           : QPoint(rect.left, rect.top));
    const double scale = screen ? screen->devicePixelRatio() : 1.0;
    // A disabled window takes no input at all: pointer events pass through
    // to whatever is below it, and it never takes the focus.
    const bool disabled = style & WS_DISABLED;
    const Qt::WindowFlags inputFlags =
        disabled ? Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus : Qt::WindowFlags();

    if (parent != 0) {
        // A child of another program's window. Qt would silently make a bad
        // id a top-level window, so the id is checked first.
        RECT parentRect;
        if (!(style & WS_CHILD) || !ForeignWindowGeometry(parent, parentRect))
            return nullptr;
        host->m_foreignParent = QWindow::fromWinId(WId(parent));
        if (!host->m_foreignParent)
            return nullptr;
        if (screen)
            host->m_foreignParent->setScreen(screen);  // Qt takes the primary screen otherwise
        auto* widget = new SaverWidget(&wnd, host->m_pixels, Qt::Widget);
        host->m_widget = widget;
        widget->setAttribute(Qt::WA_NativeWindow);
        widget->winId();
        widget->windowHandle()->setFlags(widget->windowHandle()->flags() | inputFlags);
        widget->windowHandle()->setParent(host->m_foreignParent);
        widget->setGeometry(LayoutRect(rect, scale));
        widget->watchedParent = parent;
        widget->followParentSize = disabled;
        WatchForeignWindow(parent);
    } else {
        Qt::WindowFlags flags = Qt::Window | inputFlags;
        if (!(style & WS_CAPTION))
            flags |= Qt::FramelessWindowHint;
        if (exStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
        auto* widget = new SaverWidget(&wnd, host->m_pixels, flags);
        host->m_widget = widget;
        if (!disabled)
            widget->setCursor(Qt::BlankCursor);  // no pointer over the saver
        const bool wholeScreen = screen && ScreenDeviceRect(screen) == QRect(rect.left, rect.top, width, height);
        widget->setGeometry(wholeScreen ? screen->geometry() : LayoutRect(rect, scale));
        if (screen)
            widget->setScreen(screen);
        if (wholeScreen && !(style & WS_CAPTION))
            widget->setWindowState(Qt::WindowFullScreen);
    }
    if (style & WS_VISIBLE) {
        host->m_widget->show();
        if (!disabled && parent == 0) {
            host->m_widget->raise();
            host->m_widget->activateWindow();
        }
    }
    return host;
}

QtWindowHost::~QtWindowHost() {
    Destroy();
    // Deleted from the event loop: this may run inside one of the widget's
    // own event handlers. The foreign parent goes after its child.
    if (m_widget)
        m_widget->deleteLater();
    if (m_foreignParent)
        m_foreignParent->deleteLater();
}

void QtWindowHost::Show(const RECT& area) {
    if (m_widget)
        m_widget->UpdateDeviceArea(area);
}

double QtWindowHost::ScaleFactor() const { return m_widget ? m_widget->devicePixelRatioF() : 1.0; }

UINT QtWindowHost::SetTimer(UINT id, UINT elapse) {
    if (!m_widget || !m_widget->m_wnd)
        return 0;
    std::unique_ptr<QTimer>& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QPointer<SaverWidget> widget = m_widget;
        QObject::connect(timer.get(), &QTimer::timeout, m_widget, [widget, id] {
            if (widget)
                widget->Deliver(WM_TIMER, id, 0);
        });
    }
    timer->start(int(elapse));  // elapse is clamped to at most 0x7FFFFFFF
    return id;
}

BOOL QtWindowHost::KillTimer(UINT id) { return m_timers.erase(id) ? TRUE : FALSE; }

void QtWindowHost::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_widget)
        return;
    QPointer<SaverWidget> widget = m_widget;
    QMetaObject::invokeMethod(
        m_widget,
        [widget, message, wParam, lParam] {
            if (widget)
                widget->Deliver(message, wParam, lParam);
        },
        Qt::QueuedConnection);
}

void QtWindowHost::Destroy() {
    m_timers.clear();
    if (m_widget && m_widget->isActiveWindow()) {
        // The keyboard stays with the saver: another of its windows (on
        // another monitor) takes the activation this one had.
        for (QWidget* other : QApplication::topLevelWidgets()) {
            auto* saver = dynamic_cast<SaverWidget*>(other);
            if (saver && saver != m_widget && saver->m_wnd && saver->isVisible()) {
                saver->activateWindow();
                break;
            }
        }
    }
    if (m_widget) {
        m_widget->m_wnd = nullptr;
        m_widget->watchedParent = 0;
        m_widget->hide();
    }
}
