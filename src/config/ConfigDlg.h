#pragma once
#include "config/SaverSettings.h"
#include "platform/WinTypes.h"
#include "platform/dialogs/Dialog.h"

#include <string>

// The "Quorl Configuration" dialog: the seven settings as members, the two
// timer fields, and the buttons that open the font, colour, GIF List and
// About dialogs. The pickers change only the members; nothing is stored
// while the dialog is open, except the picture list, which the GIF List
// dialog writes itself.
class CConfigDlg : public CDialog {
public:
    explicit CConfigDlg(ParentWindow parent = nullptr);

    // The seven settings, as the dialog edits them; each member below is one
    // of them.
    SaverSettings m_settings;
    std::string& m_strFontName = m_settings.FontName;
    int& m_nFontSize = m_settings.FontSize;  // whole points
    COLORREF& m_clrFill = m_settings.FillColor;
    COLORREF& m_clrFont = m_settings.FontColor;
    COLORREF& m_clrBack = m_settings.BackColor;
    int& m_nDelay = m_settings.Delay;        // seconds between verses, field 1000
    int& m_nGIFDelay = m_settings.GIFDelay;  // seconds between pictures, field 1001

    // Button handlers.
    void OnGifBackgrounds();
    void OnFont();
    void OnFillColor();
    void OnAbout();
    void OnBackgroundColor();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// The font description's height for a size in points on a screen of
// `logPixelsY` dots per inch: size * dpi / -72, truncated toward zero
// (25 points at 96 dpi give -33).
LONG FontHeightFromPoints(int points, int logPixelsY);
