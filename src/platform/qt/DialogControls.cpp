#include "platform/qt/DialogControls.h"

#include "platform/dialogs/DialogTemplate.h"
#include "platform/dialogs/ListBox.h"
#include "res/Resources.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {

// An edit field with ES_NUMBER: typed characters other than digits are
// refused, as the platform's number edit refuses them. Pasted text is not
// filtered, so the data exchange still has to check it.
class DigitsOnlyFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!shortcut && text.size() == 1 && text[0].isPrint() && !(text[0] >= u'0' && text[0] <= u'9'))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

QLabel* MakeText(const ControlTemplate& c, Qt::Alignment alignment, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(c.text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(alignment | Qt::AlignTop);
    return label;
}

QWidget* MakeControl(const ControlTemplate& c, QWidget* parent) {
    switch (c.kind) {
    case ControlKind::DefPushButton:
    case ControlKind::PushButton: {
        auto* button = new QPushButton(QString::fromLatin1(c.text), parent);
        button->setAutoDefault(true);
        button->setDefault(c.kind == ControlKind::DefPushButton);
        return button;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(QString::fromLatin1(c.text), parent);
        edit->setFrame(c.style & WS_BORDER);
        if (c.style & ES_NUMBER)
            edit->installEventFilter(new DigitsOnlyFilter(edit));
        return edit;
    }
    case ControlKind::Text:
        return MakeText(c, Qt::AlignLeft, parent);
    case ControlKind::CenteredText:
        return MakeText(c, Qt::AlignHCenter, parent);
    case ControlKind::Icon: {
        auto* label = new QLabel(parent);
        label->setPixmap(LoadIconResource(c.iconId).pixmap(32, 32));
        return label;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setFrameShape((c.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
        list->setVerticalScrollBarPolicy((c.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // A long path keeps its start and its file name in sight.
        list->setTextElideMode(Qt::ElideMiddle);
        MarkListSorted(list, c.style & LBS_SORT);
        return list;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(QString::fromLatin1(c.text), parent);
    }
    return new QWidget(parent);
}

}  // namespace

QWidget* CreateControl(const ControlTemplate& c, QWidget* parent) {
    QWidget* control = MakeControl(c, parent);
    if (c.style & WS_TABSTOP)
        control->setFocusPolicy(Qt::StrongFocus);
    else if (c.kind == ControlKind::PushButton || c.kind == ControlKind::DefPushButton ||
             c.kind == ControlKind::Edit || c.kind == ControlKind::ListBox)
        control->setFocusPolicy(Qt::ClickFocus);
    else
        control->setFocusPolicy(Qt::NoFocus);
    return control;
}

QIcon LoadIconResource(int id) {
    QIcon icon;
    if (const IconResource* resource = FindIconResource(id)) {
        icon.addPixmap(QPixmap(resource->image32));
        icon.addPixmap(QPixmap(resource->image16));
    }
    return icon;
}

void CenterOver(QWidget& window, const QWidget* owner) {
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame(QPoint(), window.size());
    frame.moveCenter(owner && owner->isVisible() ? owner->frameGeometry().center() : area.center());
    // Keep the whole window on the screen.
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1)));
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1)));
    window.move(frame.topLeft());
}
