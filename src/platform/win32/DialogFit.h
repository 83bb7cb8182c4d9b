#pragma once
#include <windows.h>

struct DialogTemplate;

// Widens `dialog`, made from `t`, until every static text and button text
// fits its control in the font the controls draw with: the dialog manager
// sized everything from that font's average letter, which clips wider
// texts when "MS Sans Serif" resolves to a face that is narrow on average
// (Wine's among them). Vertical places and sizes stay as they are; a dialog
// whose texts fit is left untouched.
void FitDialogToTexts(HWND dialog, const DialogTemplate& t);
