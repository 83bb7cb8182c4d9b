#include "platform/qt/SaverWidget.h"

#include "platform/window/Wnd.h"
#include "platform/qt/X11Pixels.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <xcb/xcb.h>

#include <cmath>

SaverWidget::SaverWidget(CWnd* wnd, Framebuffer& pixels, Qt::WindowFlags flags)
    : QWidget(nullptr, flags), m_wnd(wnd), m_pixels(pixels) {
    // The framebuffer covers every pixel: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Painted by X11Pixels without the toolkit's backing store, which would be
    // a second full-frame copy of the framebuffer.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        setAttribute(Qt::WA_PaintOnScreen);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    FramebufferResized();
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            Deliver(WM_ACTIVATEAPP, FALSE, 0);
    });
    QCoreApplication::instance()->installNativeEventFilter(this);
}

SaverWidget::~SaverWidget() {
    m_x11.reset();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void SaverWidget::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_wnd)
        m_wnd->WindowProc(message, wParam, lParam);  // may destroy the window: nothing after this
}

void SaverWidget::FramebufferResized() {
    m_image = QImage(reinterpret_cast<uchar*>(m_pixels.Pixels()), m_pixels.Width(), m_pixels.Height(),
                     qsizetype(m_pixels.Width()) * 4, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(devicePixelRatioF());
}

QSize SaverWidget::DeviceSize() const {
    const double scale = devicePixelRatioF();
    return QSize(int(std::lround(width() * scale)), int(std::lround(height() * scale)));
}

void SaverWidget::UpdateDeviceArea(const RECT& area) {
    const double scale = devicePixelRatioF();
    const QRectF layout(area.left / scale, area.top / scale, (area.right - area.left) / scale,
                        (area.bottom - area.top) / scale);
    update(layout.toAlignedRect());
}

QPaintEngine* SaverWidget::paintEngine() const {
    return testAttribute(Qt::WA_PaintOnScreen) ? nullptr : QWidget::paintEngine();
}

// The device pixels behind a layout area, within the framebuffer.
QRect SaverWidget::DeviceArea(const QRect& layout) const {
    const double scale = devicePixelRatioF();
    return QRectF(QRectF(layout).topLeft() * scale, QRectF(layout).size() * scale).toAlignedRect() &
           QRect(0, 0, m_pixels.Width(), m_pixels.Height());
}

void SaverWidget::paintEvent(QPaintEvent* event) {
    Deliver(WM_PAINT);
    if (testAttribute(Qt::WA_PaintOnScreen)) {
        if (!m_x11)
            m_x11.reset(X11Pixels::Create(std::uint32_t(winId())));
        if (m_x11) {
            for (const QRect& rect : event->region())
                m_x11->Put(m_pixels, DeviceArea(rect));
            return;
        }
        // A window we cannot write to directly: back to the toolkit's painter.
        setAttribute(Qt::WA_PaintOnScreen, false);
        update();
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const double scale = devicePixelRatioF();
    // The device pixels behind the layout area, copied one to one.
    const QRect device = DeviceArea(event->rect());
    if (!device.isEmpty())
        painter.drawImage(QRectF(QPointF(device.topLeft()) / scale, QSizeF(device.size()) / scale), m_image,
                          QRectF(device));
}

void SaverWidget::keyPressEvent(QKeyEvent* event) {
    const bool system = event->key() == Qt::Key_Alt || event->key() == Qt::Key_F10 ||
                        (event->modifiers() & Qt::AltModifier);
    const LPARAM repeatAndFlags = MAKELPARAM(1, 0);
    Deliver(system ? WM_SYSKEYDOWN : WM_KEYDOWN, WPARAM(event->key() & 0xFFFF), repeatAndFlags);
}

void SaverWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const LPARAM position = MAKELPARAM(at.x(), at.y());
    switch (event->button()) {
    case Qt::LeftButton: Deliver(WM_LBUTTONDOWN, 0, position); break;
    case Qt::MiddleButton: Deliver(WM_MBUTTONDOWN, 0, position); break;
    case Qt::RightButton: Deliver(WM_RBUTTONDOWN, 0, position); break;
    default: break;
    }
}

void SaverWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Deliver(WM_MOUSEMOVE, 0, MAKELPARAM(at.x(), at.y()));
}

void SaverWidget::changeEvent(QEvent* event) {
    // The activation passing to another saver window of this program (one
    // per monitor) is no loss of activation: only another program's window
    // taking it is.
    if (event->type() == QEvent::ActivationChange &&
        (isActiveWindow() || !dynamic_cast<SaverWidget*>(QApplication::activeWindow())))
        Deliver(WM_ACTIVATE, isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, 0);
    QWidget::changeEvent(event);
}

void SaverWidget::closeEvent(QCloseEvent* event) {
    // The window manager's close: the system command, which the window may
    // refuse. The window closes itself through its own messages.
    event->ignore();
    Deliver(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void SaverWidget::resizeEvent(QResizeEvent*) {
    const QSize size = DeviceSize();
    if (size.width() == m_pixels.Width() && size.height() == m_pixels.Height())
        return;
    m_pixels.Resize(size.width(), size.height());
    FramebufferResized();
    Deliver(WM_SIZE, 0, MAKELPARAM(size.width(), size.height()));
}

bool SaverWidget::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (!m_wnd || eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) == XCB_CONFIGURE_NOTIFY && watchedParent != 0 && followParentSize) {
        auto* configure = reinterpret_cast<xcb_configure_notify_event_t*>(event);
        if (configure->window == xcb_window_t(watchedParent)) {
            // The parent's size is in device pixels; a notice with the
            // size unchanged changes nothing.
            const double scale = devicePixelRatioF();
            resize(int(std::lround(configure->width / scale)), int(std::lround(configure->height / scale)));
        }
        return false;
    }
    if ((event->response_type & 0x7F) == XCB_DESTROY_NOTIFY) {
        // The parent took this window down with it, or another program
        // destroyed this very window: end as a destroyed window does.
        const xcb_window_t gone = reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window;
        if ((watchedParent != 0 && gone == xcb_window_t(watchedParent)) || gone == xcb_window_t(internalWinId())) {
            watchedParent = 0;
            m_wnd->PostMessage(WM_CLOSE);
        }
    }
    return false;
}
