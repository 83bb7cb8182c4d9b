#pragma once
#include <QIcon>
#include <QPointer>
#include <QRect>
#include <QWidget>

class QListWidget;
struct ControlTemplate;

// The toolkit widget for one control of a template, inside `parent`
// (LayOutDialog places it). Controls with WS_TABSTOP take the focus by Tab
// and click; statics, icons and group boxes never take it.
QWidget* CreateControl(const ControlTemplate& control, QWidget* parent);

// Whether a list box control sorts what is added (its LBS_SORT style).
void MarkListSorted(QListWidget* list, bool sorted);

// The identifier a control was made with (-1 for none), and the control of a
// dialog window by identifier: for code that meets a dialog only as a
// window, such as tests answering a dialog another dialog opened.
int ControlId(const QWidget* control);
QWidget* FindControl(const QWidget* dialogWindow, int id);

// The icon resource `id` at both of its sizes; a null icon when missing.
QIcon LoadIconResource(int id);

// Centres a top-level `window` over `owner`, or over the primary screen
// when there is no owner, keeping it on that screen.
void CenterOver(QWidget& window, const QWidget* owner);

// While a modal window runs over `owner`, and after: gives the keyboard back
// to the owner when it ends. A window manager would; without one the owner
// would be left without the focus.
class ReturnFocusTo {
public:
    explicit ReturnFocusTo(QWidget* owner) : m_owner(owner) {}
    ~ReturnFocusTo() {
        if (m_owner && m_owner->isVisible())
            m_owner->activateWindow();
    }
    ReturnFocusTo(const ReturnFocusTo&) = delete;
    ReturnFocusTo& operator=(const ReturnFocusTo&) = delete;

private:
    QPointer<QWidget> m_owner;
};
