#pragma once
#include "platform/dialogs/DialogIds.h"

#include <vector>

// A dialog described as data, the way a resource script describes it: the
// caption, the client size and every control with its identifier, kind, text
// and rectangle, all in dialog units. The order of the controls is their
// creation order, their stacking order (first on top) and the tab order of
// those that take the focus.

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
