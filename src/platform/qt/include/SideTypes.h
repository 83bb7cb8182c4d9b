#pragma once
// The Windows names the saver's code is written against, defined here with
// the system's sizes, layouts and values, for a side without Windows headers.
#include <cstdint>
#include <memory>

using BOOL = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using LONG = std::int32_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    friend bool operator==(const RECT&, const RECT&) = default;
};

struct POINT {
    LONG x = 0;
    LONG y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }

// Windows and their messages.
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

// Client rectangle of any window, ours or foreign. FALSE when it is none.
BOOL GetClientRect(HWND window, RECT* rect);
int GetSystemMetrics(int index);
void PostQuitMessage(int exitCode);

// Drawing.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD BI_RGB = 0;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "laid out as the Windows header");

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
};

// A realised font (FreeType, qt/Font.h), owned by its handle.
class Font;
struct FontDeleter {
    void operator()(Font* font) const;
};
using HFONT = std::unique_ptr<Font, FontDeleter>;

// GDI's font creation. A positive height is the character cell in pixels, a
// negative one the em (cell without internal leading), 0 a default size.
// A non-zero width is the average character width. Escapement, orientation,
// underline, strike-out, character set, precisions and quality are accepted
// and not used. Null when no font can be had.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outputPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, const char* faceName);
