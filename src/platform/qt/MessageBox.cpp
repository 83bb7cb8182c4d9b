#include "platform/dialogs/MessageBox.h"

#include "platform/Profile.h"
#include "platform/qt/DialogControls.h"

#include <QApplication>
#include <QMessageBox>

namespace {

int ShowQtMessageBox(QWidget* owner, const std::string& text, const std::string& caption, unsigned type) {
    ReturnFocusTo returnFocus(owner);
    QMessageBox box(owner);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon((type & 0xF0) == MB_ICONEXCLAMATION ? QMessageBox::Warning : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return IDOK;
}

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

int AfxMessageBox(const std::string& text, unsigned type, QWidget* owner) {
    if (!owner)
        owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    const std::string& caption = GetProfileAppName();
    if (Handler())
        return Handler()(owner, text, caption, type);
    return ShowQtMessageBox(owner, text, caption, type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}
