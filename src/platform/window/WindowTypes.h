#pragma once
// Window messages, styles and constants with the values the saver's windows
// were designed around.
#include "platform/WinTypes.h"

#include <cstdint>

// On Windows these come with the platform's headers (see WinTypes.h).
#ifndef _WIN32
using HWND = std::uintptr_t;  // an X11 window id for foreign windows
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MOUSEWHEEL = 0x020A;

constexpr UINT WA_INACTIVE = 0;
constexpr UINT WA_ACTIVE = 1;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_SCREENSAVE = 0xF140;

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;   // an ordinary framed window
constexpr DWORD WS_DISABLED = 0x08000000;  // takes no input
constexpr DWORD WS_EX_TOPMOST = 0x00000008;

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// Timer periods as the system clamps them.
constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

constexpr LPARAM MAKELPARAM(int low, int high) {
    return LPARAM(std::uint32_t(std::uint16_t(low)) | (std::uint32_t(std::uint16_t(high)) << 16));
}
// Mouse positions travel as signed 16-bit halves of the message parameter.
constexpr int GET_X_LPARAM(LPARAM lp) { return std::int16_t(std::uint16_t(lp & 0xFFFF)); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return std::int16_t(std::uint16_t((lp >> 16) & 0xFFFF)); }
#endif
