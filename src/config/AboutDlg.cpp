#include "config/AboutDlg.h"

#include "platform/Directories.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg(ParentWindow parent) : CDialog(IDD_ABOUTBOX, parent) {
    MapCommand(IDC_SETUPINFO, [this] { OnSetupInfo(); });
}

void CAboutDlg::OnSetupInfo() {
    // Modal over the About dialog, which stays open beneath it.
    CMoreStuffDlg dlg(nullptr);
    dlg.DoModal();
}

CMoreStuffDlg::CMoreStuffDlg(ParentWindow parent) : CDialog(IDD_MORESTUFF, parent) {}

std::string CMoreStuffDlg::LineFilesText() {
    const std::string dir = SystemDirectoryForTexts();
    if (dir.empty())
        return {};
    return "You may add (or remove) lines in the files fives.txt and sevens.txt. These files MUST reside in your "
           "folder " +
           dir +
           ". The first file contains lines with five syllables; and the second, lines with seven syllables.";
}

BOOL CMoreStuffDlg::OnInitDialog() {
    // Elsewhere than on Windows the text names the real folder.
    if (const std::string text = LineFilesText(); !text.empty())
        SetControlText(IDC_LINEFILES, text);
    return CDialog::OnInitDialog();
}
