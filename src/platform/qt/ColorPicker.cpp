#include "platform/dialogs/ColorPicker.h"

#include "platform/qt/DialogControls.h"
#include "platform/dialogs/DialogIds.h"

#include <QApplication>
#include <QColorDialog>

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, QWidget* parent) : m_pParentWnd(parent) {
    m_cc.rgbResult = initial;
    m_cc.Flags = flags;
}

int CColorDialog::DoModal() {
    if (!QApplication::instance())
        return IDCANCEL;
    QWidget* owner = m_pParentWnd ? m_pParentWnd : QApplication::activeModalWidget();
    ReturnFocusTo returnFocus(owner);
    QColorDialog picker(owner);
    picker.setOptions(QColorDialog::DontUseNativeDialog);
    if (!m_strTitle.empty())
        picker.setWindowTitle(QString::fromStdString(m_strTitle));
    picker.setCurrentColor(QColor(GetRValue(m_cc.rgbResult), GetGValue(m_cc.rgbResult), GetBValue(m_cc.rgbResult)));
    if (picker.exec() != QDialog::Accepted)
        return IDCANCEL;
    const QColor chosen = picker.selectedColor().toRgb();
    m_cc.rgbResult = RGB(BYTE(chosen.red()), BYTE(chosen.green()), BYTE(chosen.blue()));
    return IDOK;
}
