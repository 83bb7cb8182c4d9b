#pragma once
#include <QFont>
#include <QRect>

// Dialog units, as Windows computes them for the same templates:
// a horizontal unit is a quarter of the dialog font's average character
// width, a vertical unit an eighth of its character cell height. A dialog
// therefore grows with its font, and text keeps fitting its controls when
// the font behind "MS Sans Serif" is a wider face.

struct DialogBaseUnits {
    int cx = 0;  // average character width, pixels
    int cy = 0;  // character cell height, pixels
};

// number * numerator / denominator with a 64-bit product, rounded half away
// from zero; -1 when the denominator is 0 or the result does not fit.
int MulDiv(int number, int numerator, int denominator);

// The dialog font: `face` at `points` on a screen of `logPixelsY` dots per
// inch, sized by its em (a negative font height of points * dpi / 72).
QFont MakeDialogFont(const char* face, int points, int logPixelsY);

// Average width: the advance of the 52 letters A-Z a-z, halved per pair and
// rounded up, (width / 26 + 1) / 2. Height: ascent plus descent of the
// face's Windows metrics at the font's em, as each would be rounded on that
// platform; faces without those metrics use the toolkit's ascent and descent.
DialogBaseUnits BaseUnitsOf(const QFont& font);

// A rectangle in dialog units to pixels.
QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int cx, int cy);

// The logical vertical resolution of the primary screen, 96 when there is
// none.
int ScreenLogPixelsY();
