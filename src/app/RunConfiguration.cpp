#include "app/SaverApp.h"
#include "config/ConfigDlg.h"
#include "config/SaverSettings.h"
#include "platform/Application.h"
#include "platform/Profile.h"
#include "platform/dialogs/MessageBox.h"

// Load, edit, store: the settings are written back however the dialog was
// closed. Cancel therefore keeps what the font and colour pickers chose;
// only the timer fields fall back to what was loaded, since Cancel does not
// read them. A store that cannot be written is told, as a picture list that
// cannot be is, and the program ends with a failure.
void CSaverApp::RunConfiguration() {
    if (!EnsureGuiApplication()) {
        m_nExitCode = 1;
        return;
    }
    CConfigDlg dlg(nullptr);
    ReadSettings(dlg.m_settings);
    dlg.DoModal();
    if (!SaveSettings(dlg.m_settings)) {
        AfxMessageBox("The settings could not be saved to \"" + ProfileFileName() +
                          "\". The settings saved before are kept unchanged.",
                      MB_OK | MB_ICONEXCLAMATION);
        m_nExitCode = 1;
    }
}
