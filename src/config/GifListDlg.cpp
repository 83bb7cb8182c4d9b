#include "config/GifListDlg.h"

#include "picture/PictureDecoders.h"
#include "picture/PictureLoader.h"
#include "platform/Directories.h"
#include "platform/dialogs/FilePicker.h"
#include "platform/dialogs/ListBox.h"
#include "platform/RegularFile.h"
#include "res/resource.h"

#include <filesystem>

namespace {

// Why the saver would leave black behind the verse for this entry, in a few
// words; empty when it is a folder or a picture it reads. Relative entries
// are taken from the system directory, as the saver takes them.
std::string WhyNotShown(const std::string& path) {
    const bool relative = !path.empty() && path[0] != '/' && path[0] != '\\' && path.find(':') == std::string::npos;
    const std::string full = relative ? GetSystemDirectory() + "/" + path : path;
    std::error_code error;
    if (std::filesystem::is_directory(full, error))
        return {};
    if (!OpenRegularFile(full))
        return "cannot be shown: missing or unreadable";
    if (!IsShownFormat(PeekPictureFormat(full)))
        return "cannot be shown: not a picture Quorl reads";
    return {};
}

void AddEntry(CListBox& list, const std::string& path) {
    const int index = list.AddString(path);
    if (const std::string why = WhyNotShown(path); !why.empty())
        list.SetItemNote(index, why);
}

}  // namespace

CGifListDlg::CGifListDlg(ParentWindow parent) : CDialog(IDD_GIFLIST, parent) {
    MapCommand(IDC_BROWSE, [this] { OnBrowse(); });
    MapCommand(IDC_REMOVE, [this] { OnRemove(); });
    MapCommand(IDC_ADDFOLDER, [this] { OnAddFolder(); });
}

BOOL CGifListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CListBox list(GetDlgItem(IDC_GIFLIST));
    if (list.IsValid()) {
        list.ResetContent();
        for (const std::string& path : m_astrGIFFiles)
            AddEntry(list, path);
    }
    return TRUE;
}

void CGifListDlg::OnBrowse() {
    // The same picture may be added twice: the saver then shows it twice per
    // round.
    // Every picture the saver reads, by the names such files usually have.
    const std::string patterns = kPictureNamePatterns;
    const std::string filter = "Pictures|" + patterns + "|GIF Files (*.gif)|*.gif|All Files (*.*)|*.*||";
    CFileDialog dlg(TRUE, "*.GIF", "*.GIF", 0, filter.c_str(), GetSafeHwnd());
    dlg.m_ofn.Flags |= OFN_FILEMUSTEXIST;
    // Where relative entries of the list resolve, which is where the picker
    // opened when the list was read with that folder current.
    dlg.m_ofn.lpstrInitialDir = GetSystemDirectory();
    if (dlg.DoModal() != IDOK)
        return;
    CListBox list(GetDlgItem(IDC_GIFLIST));
    if (list.IsValid())
        AddEntry(list, dlg.GetPathName());
}

void CGifListDlg::OnAddFolder() {
    CFolderPickerDialog dlg(GetSystemDirectory().c_str(), 0, GetSafeHwnd());
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
