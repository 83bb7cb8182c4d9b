#pragma once
// <windows.h> as every layer of the Windows build sees it: the platform's own
// types, messages and constants, without the macros that would rename the
// program's own functions and members (PostMessage, the profile operations,
// the directory routines) to their "A" variants.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// Mouse positions travel as signed 16-bit halves of the message parameter.
#ifndef GET_X_LPARAM
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#endif

#undef PostMessage
#undef GetWindowsDirectory
#undef GetSystemDirectory
#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString
#undef MessageBox

// Rectangles, points and sizes compare member by member, as the program's
// own versions of these types do on Linux.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
