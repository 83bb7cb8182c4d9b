#pragma once
#include "platform/dialogs/DialogIds.h"
#include "platform/dialogs/WindowHandles.h"

#include <functional>
#include <string>

// The program's message boxes, titled with the application name. Every box
// goes through one replaceable handler, so tests can see and answer them.

// Shows `text` in a modal box over `owner` (the active window when null) and
// returns the button pressed (IDOK for a box with only OK).
int AfxMessageBox(const std::string& text, unsigned type = MB_OK, ParentWindow owner = nullptr);

// The handler gets the owner, the text, the caption and the type; it returns
// the button pressed.
using MessageBoxHandler =
    std::function<int(ParentWindow owner, const std::string& text, const std::string& caption, unsigned type)>;

// Installs `handler` (an empty one restores the real box) and returns the
// handler it replaces.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
