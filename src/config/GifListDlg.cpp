#include "config/GifListDlg.h"

#include "platform/Directories.h"
#include "platform/dialogs/FilePicker.h"
#include "platform/dialogs/ListBox.h"
#include "res/resource.h"


CGifListDlg::CGifListDlg(ParentWindow parent) : CDialog(IDD_GIFLIST, parent) {
    MapCommand(IDC_BROWSE, [this] { OnBrowse(); });
    MapCommand(IDC_REMOVE, [this] { OnRemove(); });
}

BOOL CGifListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CListBox list(GetDlgItem(IDC_GIFLIST));
    if (list.IsValid()) {
        list.ResetContent();
        for (const std::string& path : m_astrGIFFiles)
            list.AddString(path);
    }
    return TRUE;
}

void CGifListDlg::OnBrowse() {
    // The same picture may be added twice: the saver then shows it twice per
    // round.
    CFileDialog dlg(TRUE, "*.GIF", "*.GIF", 0, "GIF Files (*.gif)|*.gif||", GetSafeHwnd());
    dlg.m_ofn.Flags |= OFN_FILEMUSTEXIST;
    // Where relative entries of the list resolve, which is where the picker
    // opened when the list was read with that folder current.
    dlg.m_ofn.lpstrInitialDir = GetSystemDirectory();
    if (dlg.DoModal() != IDOK)
        return;
    CListBox list(GetDlgItem(IDC_GIFLIST));
    if (list.IsValid())
        list.AddString(dlg.GetPathName());
}

void CGifListDlg::OnRemove() {
    CListBox list(GetDlgItem(IDC_GIFLIST));
    if (list.IsValid())
        list.DeleteString(list.GetCurSel());  // refused when nothing is selected
}

void CGifListDlg::OnOK() {
    m_astrGIFFiles.clear();
    CListBox list(GetDlgItem(IDC_GIFLIST));
    if (list.IsValid()) {
        const int count = list.GetCount();
        for (int i = 0; i < count; ++i)
            m_astrGIFFiles.push_back(list.GetText(i));
    }
    CDialog::OnOK();
}
