#pragma once
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

    std::string m_strFontName;
    int m_nFontSize = 0;  // whole points
    COLORREF m_clrFill = 0;
    COLORREF m_clrFont = 0;
    COLORREF m_clrBack = 0;
    int m_nDelay = 0;     // seconds between verses, field 1000
    int m_nGIFDelay = 0;  // seconds between pictures, field 1001

    // Button handlers.
    void OnGifBackgrounds();
    void OnFont();
    void OnFillColor();
    void OnAbout();
    void OnBackgroundColor();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// The font description's height for a size in points on a screen of
// `logPixelsY` dots per inch: size * dpi / -72, truncated toward zero
// (25 points at 96 dpi give -33).
LONG FontHeightFromPoints(int points, int logPixelsY);
