#pragma once
// The Windows names the dialogs are written against, for a side without
// Windows headers; and the side's window handles: the toolkit's widgets.
#include <SideTypes.h>

class QWidget;
using DialogHandle = QWidget*;
using ControlHandle = QWidget*;
using ParentWindow = QWidget*;

// Results of modal dialogs and message boxes, and the command identifiers of
// a dialog's OK and Cancel buttons.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
};

// Message box types: buttons and icon.
enum : unsigned {
    MB_OK = 0x00000000,
    MB_ICONEXCLAMATION = 0x00000030,
};

// Control styles kept from the resource script.
enum : DWORD {
    WS_TABSTOP = 0x00010000,
    WS_BORDER = 0x00800000,
    WS_VSCROLL = 0x00200000,
    ES_AUTOHSCROLL = 0x0080,
    ES_NUMBER = 0x2000,
    LBS_NOTIFY = 0x0001,
    LBS_SORT = 0x0002,
    LBS_NOINTEGRALHEIGHT = 0x0100,
};

constexpr int LB_ERR = -1;

// The platform's font description, with the fields a font picker reads.
struct LOGFONT {
    LONG lfHeight = 0;  // negative: the em in pixels; positive: the cell height
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[32] = {};  // 31 characters and a terminator
};
