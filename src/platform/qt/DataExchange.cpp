#include "platform/dialogs/DataExchange.h"

#include "platform/dialogs/Dialog.h"
#include "platform/dialogs/MessageBox.h"

#include <QDialog>
#include <QLineEdit>


namespace {

// The exchange reads no more of a field than this.
constexpr int kMaxFieldChars = 31;

}  // namespace

void CDataExchange::Fail() {
    m_bFailed = true;
    if (!m_pLastControl)
        return;
    m_pLastControl->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(m_pLastControl))
        edit->selectAll();
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    auto* edit = qobject_cast<QLineEdit*>(pDX->PrepareCtrl(id));
    if (!edit)
        return;
    if (!pDX->m_bSaveAndValidate) {
        edit->setText(QString::number(value));
        return;
    }
    const std::string text = edit->text().left(kMaxFieldChars).toStdString();
    if (!ParseDialogInteger(text, value)) {
        AfxMessageBox(kPromptInteger, MB_OK | MB_ICONEXCLAMATION, pDX->m_pDlgWnd->GetSafeHwnd());
        pDX->Fail();
    }
}
