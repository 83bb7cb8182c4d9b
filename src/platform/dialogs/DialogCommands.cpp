// What a dialog does with its commands and its data, the same on every
// platform; the window itself is the platform's (Dialog.cpp).
#include "platform/dialogs/Dialog.h"

#include "platform/dialogs/DataExchange.h"

void CDialog::MapCommand(int id, std::function<void()> handler) { m_commands[id] = std::move(handler); }

void CDialog::OnCommand(int id) {
    if (auto it = m_commands.find(id); it != m_commands.end()) {
        it->second();
        return;
    }
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}
