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
    SaverSettings settings;
    ReadSettings(settings);
    dlg.m_strFontName = settings.FontName;
    dlg.m_nFontSize = settings.FontSize;
    dlg.m_clrFill = settings.FillColor;
    dlg.m_clrFont = settings.FontColor;
    dlg.m_clrBack = settings.BackColor;
    dlg.m_nDelay = settings.Delay;
    dlg.m_nGIFDelay = settings.GIFDelay;

    dlg.DoModal();

    settings.FontName = dlg.m_strFontName;
    settings.FontSize = dlg.m_nFontSize;
    settings.FillColor = dlg.m_clrFill;
    settings.FontColor = dlg.m_clrFont;
    settings.BackColor = dlg.m_clrBack;
    settings.Delay = dlg.m_nDelay;
    settings.GIFDelay = dlg.m_nGIFDelay;
    if (!SaveSettings(settings)) {
        AfxMessageBox("The settings could not be saved to \"" + ProfileFileName() +
                          "\". The settings saved before are kept unchanged.",
                      MB_OK | MB_ICONEXCLAMATION);
        m_nExitCode = 1;
    }
}
