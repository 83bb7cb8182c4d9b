#include "platform/dialogs/Dialog.h"

#include "platform/dialogs/DataExchange.h"
#include "platform/qt/DialogControls.h"
#include "platform/qt/DialogLayout.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <utility>
#include <vector>

namespace {
const char kControlIdProperty[] = "quorlControlId";
}

struct CDialog::SideWindow {
    std::unique_ptr<QDialog> window;
    const DialogTemplate* source = nullptr;
    std::vector<std::pair<int, QWidget*>> controls;  // template order

    void LayOut() const {
        std::vector<QWidget*> placed;
        for (const auto& [id, control] : controls)
            placed.push_back(control);
        LayOutDialog(*window, *source, placed);
    }
};

CDialog::CDialog(int templateId, ParentWindow parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

// The toolkit window of a CDialog. Every way of dismissing it arrives at the
// dialog as the Cancel command, and Enter with no default button to press
// as the OK command, as Windows' dialog manager does with the same templates.
class DialogWindow : public QDialog {
public:
    DialogWindow(CDialog& owner, QWidget* parent) : QDialog(parent), m_owner(owner) {}
    void reject() override { m_owner.OnCommand(IDCANCEL); }
    void Command(int id) { m_owner.OnCommand(id); }
    // The window of `dialog` made from its template, with its controls.
    static std::unique_ptr<CDialog::SideWindow> Build(CDialog& dialog, const DialogTemplate& t, QWidget* owner);

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && !HasDefaultButton()) {
            m_owner.OnCommand(IDOK);
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    bool HasDefaultButton() const {
        for (const QPushButton* button : findChildren<QPushButton*>())
            if (button->isDefault() && button->isVisible())
                return true;
        return false;
    }

    CDialog& m_owner;
};

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    if (m_window)
        m_window->window->done(result);
}

DialogHandle CDialog::GetSafeHwnd() const { return m_window ? m_window->window.get() : nullptr; }

int LogicalDpiY(DialogHandle window) { return window ? window->logicalDpiY() : 96; }

ControlHandle CDialog::GetDlgItem(int id) const {
    if (m_window)
        for (const auto& [controlId, control] : m_window->controls)
            if (controlId == id)
                return control;
    return nullptr;
}

std::unique_ptr<CDialog::SideWindow> DialogWindow::Build(CDialog& dialog, const DialogTemplate& t, QWidget* owner) {
    auto built = std::make_unique<CDialog::SideWindow>();
    auto* window = new DialogWindow(dialog, owner);
    built->window.reset(window);
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
    window->setWindowTitle(QString::fromLatin1(t.caption));
    const QFont font = MakeDialogFont(t.fontFace, t.fontPoints, ScreenLogPixelsY());
    window->setFont(font);

    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& c : t.controls) {
        QWidget* control = CreateControl(c, window);
        control->setProperty(kControlIdProperty, c.id);
        if (auto* button = qobject_cast<QPushButton*>(control))
            QObject::connect(button, &QPushButton::clicked, window, [window, id = c.id] { window->Command(id); });
        // The first control of a template lies on top of the later ones, so
        // that a group box listed after the controls it frames stays below
        // them.
        control->lower();
        if (c.style & WS_TABSTOP) {
            if (previousTabStop)
                QWidget::setTabOrder(previousTabStop, control);
            previousTabStop = control;
        }
        built->controls.emplace_back(c.id, control);
    }
    built->source = &t;
    built->LayOut();
    return built;
}

void CDialog::SetControlText(int id, const std::string& text) {
    QWidget* control = GetDlgItem(id);
    const QString value = QString::fromStdString(text);
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(value);
    else
        return;
    m_window->LayOut();
}

int CDialog::DoModal() {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(m_nIDTemplate);
    if (!dialogTemplate || !QApplication::instance())
        return -1;
    QWidget* owner = m_pParentWnd ? m_pParentWnd : QApplication::activeModalWidget();
    m_nModalResult = -1;
    // Every window of the program, pickers and message boxes too, shows the
    // program's icon.
    if (QGuiApplication::windowIcon().isNull())
        QGuiApplication::setWindowIcon(LoadIconResource(IDI_QUORL));
    m_window = DialogWindow::Build(*this, *dialogTemplate, owner);

    if (OnInitDialog()) {
        for (const auto& [id, control] : m_window->controls) {
            if (control->focusPolicy() & Qt::TabFocus) {
                control->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    // A dialog ended by its own OnInitDialog is never shown.
    if (m_nModalResult == -1) {
        QDialog* window = m_window->window.get();
        CenterOver(*window, owner);
        ReturnFocusTo returnFocus(owner);
        // Without a window manager nothing gives a new window the keyboard;
        // ask for it once the window is up.
        QTimer::singleShot(0, window, [window] { window->activateWindow(); });
        const int shownResult = window->exec();
        if (m_nModalResult == -1)
            m_nModalResult = shownResult;
    }
    const int result = m_nModalResult;
    m_window.reset();
    return result;
}

int ControlId(const QWidget* control) {
    if (!control)
        return -1;
    bool ok = false;
    int id = control->property(kControlIdProperty).toInt(&ok);
    return ok ? id : -1;
}

QWidget* FindControl(const QWidget* dialogWindow, int id) {
    if (!dialogWindow)
        return nullptr;
    for (QWidget* child : dialogWindow->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (ControlId(child) == id)
            return child;
    return nullptr;
}
