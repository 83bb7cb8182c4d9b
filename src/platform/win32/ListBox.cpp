// The list box operations are the platform's own list box messages; a
// sorted list box (LBS_SORT) sorts as the platform does.
#include "platform/dialogs/ListBox.h"

#include <vector>

CListBox::CListBox(ControlHandle control) : m_list(nullptr) {
    char name[16] = {};
    if (control && ::GetClassNameA(control, name, sizeof name) && _stricmp(name, "ListBox") == 0)
        m_list = control;
}

int CListBox::AddString(const std::string& text) {
    return m_list ? int(::SendMessageA(m_list, LB_ADDSTRING, 0, LPARAM(text.c_str()))) : LB_ERR;
}

int CListBox::DeleteString(int index) {
    return m_list ? int(::SendMessageA(m_list, LB_DELETESTRING, WPARAM(index), 0)) : LB_ERR;
}

int CListBox::GetCount() const { return m_list ? int(::SendMessageA(m_list, LB_GETCOUNT, 0, 0)) : 0; }

int CListBox::GetCurSel() const { return m_list ? int(::SendMessageA(m_list, LB_GETCURSEL, 0, 0)) : LB_ERR; }

int CListBox::SetCurSel(int index) {
    return m_list ? int(::SendMessageA(m_list, LB_SETCURSEL, WPARAM(index), 0)) : LB_ERR;
}

std::string CListBox::GetText(int index) const {
    if (!m_list)
        return {};
    const LRESULT length = ::SendMessageA(m_list, LB_GETTEXTLEN, WPARAM(index), 0);
    if (length == LB_ERR || length < 0)
        return {};
    std::vector<char> text(std::size_t(length) + 1, '\0');
    const LRESULT got = ::SendMessageA(m_list, LB_GETTEXT, WPARAM(index), LPARAM(text.data()));
    return got == LB_ERR ? std::string() : std::string(text.data(), std::size_t(got));
}

void CListBox::SetItemNote(int, const std::string&) {}

void CListBox::ResetContent() {
    if (m_list)
        ::SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
}
