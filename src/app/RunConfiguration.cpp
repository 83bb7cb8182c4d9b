#include "app/SaverApp.h"
#include "config/ConfigDlg.h"
#include "config/SaverSettings.h"
#include "platform/Application.h"

// Load, edit, store: the settings are written back however the dialog was
// closed. Cancel therefore keeps what the font and colour pickers chose;
// only the timer fields fall back to what was loaded, since Cancel does not
// read them.
void CSaverApp::RunConfiguration() {
    if (!EnsureGuiApplication())
        return;
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
    SaveSettings(settings);
}
