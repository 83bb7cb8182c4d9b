#pragma once
// How the dialogs name windows: a dialog window, one of its controls, and the
// window a dialog, picker or message box opens over (null: whichever modal
// window is active). Each is the side's own handle (see SideDialogTypes.h), so
// the same code reads the same on every side.
#include <SideDialogTypes.h>

// Dots per inch of the screen `window` is on, for sizes given in points.
int LogicalDpiY(DialogHandle window);
