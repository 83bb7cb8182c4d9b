#include "config/AboutDlg.h"

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
