#include "platform/qt/DialogLayout.h"

#include "platform/dialogs/DialogTemplate.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

// A text wider than twice its average letter allows is not a font's
// proportions but a template fault; the dialog stops growing there.
constexpr int kMaxWidening = 2;

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

}  // namespace

bool TextFitsControl(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty())
            return true;
        const QFontMetrics metrics(label->font());
        for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (metrics.horizontalAdvance(word.trimmed()) > label->width())
                return false;
        return label->heightForWidth(label->width()) <= label->height();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics(button->font());
        const int room = std::min(contents.width(), button->width() - 2 * kButtonTextMargin);
        return metrics.horizontalAdvance(button->text()) <= room && metrics.height() <= contents.height();
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(&control))
        return box->minimumSizeHint().width() <= box->width();
    return true;
}

DialogBaseUnits LayOutDialog(QWidget& window, const DialogTemplate& t, const std::vector<QWidget*>& controls) {
    // The window's font is only what the controls inherit; a control may draw
    // with another (a class font of the desktop's theme).
    const QFont& font = controls.empty() ? window.font() : controls.front()->font();
    DialogBaseUnits units = BaseUnitsOf(font);
    const int narrowest = units.cx;
    for (;;) {
        Place(window, t, controls, units);
        const bool fits = std::all_of(controls.begin(), controls.end(), [](const QWidget* c) { return TextFitsControl(*c); });
        if (fits || units.cx >= narrowest * kMaxWidening)
            return units;
        ++units.cx;
    }
}
