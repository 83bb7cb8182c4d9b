#pragma once
// How the dialogs name windows: a dialog window, one of its controls, and the
// window a dialog, picker or message box opens over (null: whichever modal
// window is active). The same code reads the same on both platforms.
#ifdef _WIN32
#include "platform/WinTypes.h"
using DialogHandle = HWND;
using ControlHandle = HWND;
using ParentWindow = HWND;
#else
#include <QDialog>
using DialogHandle = QDialog*;
using ControlHandle = QWidget*;
using ParentWindow = QWidget*;
#endif

// Dots per inch of the screen `window` is on, for sizes given in points.
int LogicalDpiY(DialogHandle window);
