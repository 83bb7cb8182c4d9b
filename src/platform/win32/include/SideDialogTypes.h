#pragma once
// The dialogs' names are the system's own; a window handle of the dialogs is
// a window's HWND.
#include <SideTypes.h>

using DialogHandle = HWND;
using ControlHandle = HWND;
using ParentWindow = HWND;
