#include "platform/dialogs/DataExchange.h"

#include "platform/dialogs/Dialog.h"
#include "platform/dialogs/MessageBox.h"

#include <cstring>
#include <string>

namespace {

// The exchange reads no more of a field than this.
constexpr int kMaxFieldChars = 31;

bool IsEdit(HWND control) {
    char name[16] = {};
    return control && ::GetClassNameA(control, name, sizeof name) && _stricmp(name, "Edit") == 0;
}

}  // namespace

void CDataExchange::Fail() {
    m_bFailed = true;
    if (!m_pLastControl)
        return;
    ::SetFocus(m_pLastControl);
    if (IsEdit(m_pLastControl))
        ::SendMessageA(m_pLastControl, EM_SETSEL, 0, -1);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    const HWND edit = pDX->PrepareCtrl(id);
    if (!IsEdit(edit))
        return;
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(edit, std::to_string(value).c_str());
        return;
    }
    char text[kMaxFieldChars + 1] = {};
    ::GetWindowTextA(edit, text, sizeof text);
    if (!ParseDialogInteger(std::string(text, std::strlen(text)), value)) {
        AfxMessageBox(kPromptInteger, MB_OK | MB_ICONEXCLAMATION, pDX->m_pDlgWnd->GetSafeHwnd());
        pDX->Fail();
    }
}
