#include "platform/dialogs/FontPicker.h"

#include "platform/qt/DialogControls.h"
#include "platform/dialogs/DialogIds.h"
#include "platform/qt/DialogUnits.h"

#include <QApplication>
#include <QComboBox>
#include <QBoxLayout>
#include <QCheckBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>

#include <cmath>
#include <cstring>

const NamedColor kFontBoxColors[16] = {
    {"Black", RGB(0, 0, 0)},        {"Maroon", RGB(128, 0, 0)},  {"Green", RGB(0, 128, 0)},
    {"Olive", RGB(128, 128, 0)},    {"Navy", RGB(0, 0, 128)},    {"Purple", RGB(128, 0, 128)},
    {"Teal", RGB(0, 128, 128)},     {"Gray", RGB(128, 128, 128)}, {"Silver", RGB(192, 192, 192)},
    {"Red", RGB(255, 0, 0)},        {"Lime", RGB(0, 255, 0)},    {"Yellow", RGB(255, 255, 0)},
    {"Blue", RGB(0, 0, 255)},       {"Fuchsia", RGB(255, 0, 255)}, {"Aqua", RGB(0, 255, 255)},
    {"White", RGB(255, 255, 255)},
};

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

QIcon Swatch(COLORREF c) {
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(c));
    return QIcon(pixmap);
}

// The colour box. A colour that is not one of the sixteen is offered as
// "Custom", so that confirming the picker keeps it.
QComboBox* MakeColorBox(COLORREF initial, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("colorBox"));
    int current = -1;
    for (const NamedColor& named : kFontBoxColors) {
        if (named.color == initial)
            current = box->count();
        box->addItem(Swatch(named.color), QString::fromLatin1(named.name), QVariant::fromValue<uint>(named.color));
    }
    if (current < 0) {
        current = box->count();
        box->addItem(Swatch(initial), QStringLiteral("Custom"), QVariant::fromValue<uint>(initial));
    }
    box->setCurrentIndex(current);
    return box;
}

// The colour box goes into the picker's effects group, beside underline and
// strike-out, where the platform's font dialog has it; below everything
// else when the toolkit's picker has no such group.
QComboBox* AddColorBox(QFontDialog& picker, COLORREF initial) {
    QComboBox* box = MakeColorBox(initial, &picker);
    auto* label = new QLabel(QStringLiteral("&Color:"), &picker);
    label->setBuddy(box);
    for (QGroupBox* group : picker.findChildren<QGroupBox*>()) {
        if (auto* column = qobject_cast<QBoxLayout*>(group->layout()); column && group->findChild<QCheckBox*>()) {
            column->addWidget(label);
            column->addWidget(box);
            return box;
        }
    }
    if (auto* grid = qobject_cast<QGridLayout*>(picker.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1, 1, grid->columnCount() - 1);
    }
    return box;
}

}  // namespace

int PointsFromHeight(LONG lfHeight, int logPixelsY) {
    const int pixels = lfHeight < 0 ? -lfHeight : lfHeight;
    return logPixelsY > 0 ? MulDiv(pixels, 72, logPixelsY) : 0;
}

int TenthsFromPoints(double points) { return int(std::lround(points * 10.0)); }

CFontDialog::CFontDialog(const LOGFONT* initial, DWORD flags, void*, QWidget* parent) : m_pParentWnd(parent) {
    m_cf.Flags = flags;
    if (initial)
        m_lf = *initial;
}

int CFontDialog::DoModal() {
    if (!QApplication::instance())
        return IDCANCEL;
    const int logPixelsY = ScreenLogPixelsY();
    // Start on the face the name resolves to: the toolkit's picker lists
    // real families, not the aliases a stored name may be.
    QFont initialFont{QString::fromUtf8(m_lf.lfFaceName)};
    const QString resolvedFamily = QFontInfo(initialFont).family();
    QFont start(resolvedFamily);
    if (int points = PointsFromHeight(m_lf.lfHeight, logPixelsY); points > 0)
        start.setPointSize(points);

    QWidget* owner = m_pParentWnd ? m_pParentWnd : QApplication::activeModalWidget();
    ReturnFocusTo returnFocus(owner);
    QFontDialog picker(owner);
    picker.setWindowTitle(QStringLiteral("Font"));
    picker.setOption(QFontDialog::DontUseNativeDialog);
    picker.setSizeGripEnabled(false);
    picker.setCurrentFont(start);
    QComboBox* colors = (m_cf.Flags & CF_EFFECTS) ? AddColorBox(picker, m_cf.rgbColors) : nullptr;
    if (picker.exec() != QDialog::Accepted)
        return IDCANCEL;

    const QFont chosen = picker.currentFont();
    // Confirming the face the stored name resolved to keeps the stored name,
    // so an alias such as "Courier New" survives a visit to the picker.
    const QString family = chosen.family() == resolvedFamily ? QString::fromUtf8(m_lf.lfFaceName) : chosen.family();
    SetFaceName(m_lf, family.toStdString());
    const double points = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : chosen.pixelSize() * 72.0 / logPixelsY;
    m_cf.iPointSize = TenthsFromPoints(points);
    m_lf.lfHeight = -MulDiv(m_cf.iPointSize, logPixelsY, 720);
    if (colors)
        m_cf.rgbColors = colors->currentData().toUInt();
    return IDOK;
}
