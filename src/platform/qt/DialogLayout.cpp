#include "platform/qt/DialogLayout.h"

#include "platform/dialogs/DialogTemplate.h"
#include "platform/dialogs/DialogWidening.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

// Air between a button's text and its edges, whatever the style's frame
// leaves: a text touching the edge reads as clipped.
constexpr int kButtonTextMargin = 3;

void Place(QWidget& window, const DialogTemplate& t, const std::vector<QWidget*>& controls,
           const DialogBaseUnits& units) {
    window.setFixedSize(MapDialogRect(units, 0, 0, t.cx, t.cy).size());
    for (std::size_t i = 0; i < controls.size() && i < t.controls.size(); ++i) {
        const ControlTemplate& c = t.controls[i];
        const QRect rect = MapDialogRect(units, c.x, c.y, c.cx, c.cy);
        // An icon control takes the size of its icon, whatever the template
        // gives.
        controls[i]->setGeometry(c.kind == ControlKind::Icon ? QRect(rect.topLeft(), QSize(32, 32)) : rect);
    }
}

// The pixels across that a placed control's text needs, up to `widest`: a
// label's every word and its wrapped lines within its height, a button's
// text within its contents and margins, a group box's title. 0 for controls
// without text.
int NeededWidth(const QWidget& control, int widest) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty())
            return 0;
        const QFontMetrics metrics(label->font());
        const QStringList words = label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        return NarrowestFit(label->width(), widest, [&](int width) {
            for (const QString& word : words)
                if (metrics.horizontalAdvance(word.trimmed()) > width)
                    return false;
            return label->heightForWidth(width) <= label->height();
        });
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int frame = std::max(button->width() - contents.width(), 2 * kButtonTextMargin);
        return QFontMetrics(button->font()).horizontalAdvance(button->text()) + frame;
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(&control))
        return box->minimumSizeHint().width();
    return 0;
}

}  // namespace

DialogBaseUnits LayOutDialog(QWidget& window, const DialogTemplate& t, const std::vector<QWidget*>& controls) {
    // The window's font is only what the controls inherit; a control may draw
    // with another (a class font of the desktop's theme).
    const QFont& font = controls.empty() ? window.font() : controls.front()->font();
    DialogBaseUnits units = BaseUnitsOf(font);
    Place(window, t, controls, units);
    std::vector<TextRoom> rooms;
    for (std::size_t i = 0; i < controls.size() && i < t.controls.size(); ++i) {
        const int cx = t.controls[i].cx;
        rooms.push_back({cx, NeededWidth(*controls[i], DialogUnitsToPixels(cx, units.cx * kMaxWidening))});
    }
    const int widened = WidenedUnit(units.cx, rooms);
    if (widened != units.cx) {
        units.cx = widened;
        Place(window, t, controls, units);
    }
    return units;
}
