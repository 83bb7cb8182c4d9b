#include "platform/window/QtWindowHost.h"

#include "platform/window/SaverWidget.h"
#include "platform/window/Wnd.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

std::unique_ptr<IWindowHost> QtWindowHost::Create(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                                  HWND parent) {
    std::unique_ptr<QtWindowHost> host(new QtWindowHost);
    const int width = std::max<LONG>(0, rect.right - rect.left);
    const int height = std::max<LONG>(0, rect.bottom - rect.top);
    host->m_pixels.Resize(width, height);

    if (parent != 0) {
        // A child of another program's window. Qt would silently make a bad
        // id a top-level window, so the id is checked first.
        RECT parentRect;
        if (!(style & WS_CHILD) || !ForeignWindowGeometry(parent, parentRect))
            return nullptr;
        host->m_foreignParent = QWindow::fromWinId(WId(parent));
        if (!host->m_foreignParent)
            return nullptr;
        auto* widget = new SaverWidget(&wnd, host->m_pixels, Qt::Widget);
        host->m_widget = widget;
        widget->setAttribute(Qt::WA_NativeWindow);
        widget->winId();
        widget->windowHandle()->setParent(host->m_foreignParent);
        widget->setGeometry(rect.left, rect.top, width, height);
        widget->watchedParent = parent;
        WatchForeignWindow(parent);
    } else {
        Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
        if (exStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
        auto* widget = new SaverWidget(&wnd, host->m_pixels, flags);
        host->m_widget = widget;
        // No pointer over the saver.
        widget->setCursor(Qt::BlankCursor);
        widget->setGeometry(rect.left, rect.top, width, height);
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen && screen->geometry() == widget->geometry())
            widget->setWindowState(Qt::WindowFullScreen);
    }
    if (style & WS_VISIBLE) {
        host->m_widget->show();
        host->m_widget->raise();
        host->m_widget->activateWindow();
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
        m_widget->update(QRect(area.left, area.top, area.right - area.left, area.bottom - area.top));
}

Framebuffer& QtWindowHost::SparePixels() {
    if (m_spare.Width() != m_pixels.Width() || m_spare.Height() != m_pixels.Height())
        m_spare.Resize(m_pixels.Width(), m_pixels.Height());
    return m_spare;
}

void QtWindowHost::ShowSparePixels() {
    std::swap(m_pixels, SparePixels());
    if (m_widget) {
        m_widget->FramebufferResized();  // the image wraps the other buffer now
        m_widget->update();
    }
}

UINT QtWindowHost::SetTimer(UINT id, UINT elapse) {
    if (!m_widget || !m_widget->wnd)
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
    if (m_widget) {
        m_widget->wnd = nullptr;
        m_widget->watchedParent = 0;
        m_widget->hide();
    }
}
