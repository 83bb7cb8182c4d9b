#pragma once
#include "platform/WinTypes.h"
#include "platform/dialogs/WindowHandles.h"

#include <string>

struct CHOOSECOLOR {
    COLORREF rgbResult = 0;  // initial colour, then the chosen one
    DWORD Flags = 0;
};

// A colour picker that starts on a 0x00BBGGRR colour and gives one back.
class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, ParentWindow parent = nullptr);

    // IDOK or IDCANCEL; the colour changes only with IDOK.
    int DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLOR m_cc;
    // What the picker sets, as its title; empty for the platform's own. The
    // Windows picker keeps its own title.
    std::string m_strTitle;

private:
    ParentWindow m_pParentWnd;
};
