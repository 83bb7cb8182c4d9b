#pragma once
#include "platform/WinTypes.h"
#include "platform/dialogs/WindowHandles.h"

#include <string>


// Copies `face` into the description, cut to the 31 characters it holds.
void SetFaceName(LOGFONT& lf, const std::string& face);

#ifndef CF_SCREENFONTS
constexpr DWORD CF_SCREENFONTS = 0x00000001;
constexpr DWORD CF_EFFECTS = 0x00000100;  // underline, strike-out and the colour box
#endif

struct CHOOSEFONT {
    DWORD Flags = 0;
    int iPointSize = 0;       // the chosen size in tenths of a point
    COLORREF rgbColors = 0;   // the colour box: initial and chosen colour
};

// A font picker that takes and gives back what the platform's font dialog
// does: a face name, a size in tenths of a point and, with CF_EFFECTS, a
// colour from a box of the sixteen named colours.
class CFontDialog {
public:
    explicit CFontDialog(const LOGFONT* initial, DWORD flags = CF_EFFECTS | CF_SCREENFONTS,
                         void* printerDC = nullptr, ParentWindow parent = nullptr);

    // IDOK or IDCANCEL; the results below change only with IDOK.
    int DoModal();

    std::string GetFaceName() const { return m_lf.lfFaceName; }
    int GetSize() const { return m_cf.iPointSize; }
    COLORREF GetColor() const { return m_cf.rgbColors; }

    CHOOSEFONT m_cf;
    LOGFONT m_lf;

private:
    ParentWindow m_pParentWnd;
};

// The whole points a font description's height stands for on a screen of
// `logPixelsY` dots per inch, rounded: what the picker starts on.
int PointsFromHeight(LONG lfHeight, int logPixelsY);

// A picked point size in tenths of a point, rounded.
int TenthsFromPoints(double points);

// The colours of the colour box, in its order.
struct NamedColor {
    const char* name;
    COLORREF color;
};
extern const NamedColor kFontBoxColors[16];
