#pragma once
#include "platform/WinTypes.h"

#include <vector>

// A dialog described as data, the way a resource script describes it: the
// caption, the client size and every control with its identifier, kind, text
// and rectangle, all in dialog units. The order of the controls is their
// creation order, their stacking order (first on top) and the tab order of
// those that take the focus.

// Control styles kept from the resource script; on Windows the platform's own.
#ifndef _WIN32
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
#endif

enum class ControlKind {
    DefPushButton,  // the button that Enter presses
    PushButton,
    Edit,
    Text,          // static text, left aligned, wrapped
    CenteredText,  // static text, centred, wrapped
    Icon,          // an icon resource; `text` is unused, `iconId` names it
    ListBox,
    GroupBox,
};

constexpr int IDC_STATIC = -1;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, cx, cy;  // dialog units
    DWORD style = 0;
    int iconId = 0;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int cx, cy;  // client area, dialog units
    const char* fontFace;
    int fontPoints;
    std::vector<ControlTemplate> controls;
};
