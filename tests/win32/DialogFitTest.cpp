// Every dialog's texts fit their controls in the dialog font as Wine (or
// Windows) resolves it, measured the way the controls draw them: a static
// text wrapped at words within its rectangle, a button's or group box's
// text on one line with some air. The widened dialog still holds all its
// controls.
#include "platform/dialogs/Dialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kButtonPadding = 3;

std::wstring TextOf(HWND control) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(control, text, 1024);
    return text;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

void ExpectTextsFit(HWND dialog) {
    RECT inside{};
    ::GetClientRect(dialog, &inside);
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        RECT box{};
        ::GetWindowRect(c, &box);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
        const std::wstring text = TextOf(c);
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= inside.right && box.bottom <= inside.bottom)
            << '"' << Narrow(text) << "\" lies outside its dialog";
        if (text.empty())
            continue;
        wchar_t kind[32] = {};
        ::GetClassNameW(c, kind, 32);
        const LONG style = ::GetWindowLongW(c, GWL_STYLE);
        RECT room{};
        ::GetClientRect(c, &room);
        HDC dc = ::GetDC(c);
        HGDIOBJ old = ::SelectObject(dc, HGDIOBJ(::SendMessageW(c, WM_GETFONT, 0, 0)));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
        if (lstrcmpiW(kind, L"Static") == 0) {
            RECT drawn{0, 0, room.right, 0};
            ::DrawTextW(dc, text.c_str(), int(text.size()), &drawn, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            EXPECT_LE(drawn.right, room.right) << '"' << Narrow(text) << "\" has a word wider than its control";
            EXPECT_LE(drawn.bottom, room.bottom) << '"' << Narrow(text) << "\" wraps below its control";
        } else if ((style & BS_TYPEMASK) == BS_GROUPBOX) {
            EXPECT_LE(extent.cx + 4 * kButtonPadding, room.right) << '"' << Narrow(text) << '"';
        } else if (lstrcmpiW(kind, L"Button") == 0) {
            EXPECT_LE(extent.cx + 2 * kButtonPadding, room.right) << '"' << Narrow(text) << '"';
            EXPECT_LE(extent.cy, room.bottom) << '"' << Narrow(text) << '"';
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(c, dc);
    }
}

// The dialog this thread has open, checked once and closed.
HWND g_checked = nullptr;
void CALLBACK CheckOpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = ::GetActiveWindow();
    if (!dialog)
        return;
    ::KillTimer(nullptr, timer);
    g_checked = dialog;
    ExpectTextsFit(dialog);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

}  // namespace

TEST(Win32DialogFit, NoTextIsClippedByItsControl) {
    for (int id : {IDD_CONFIG, IDD_ABOUTBOX, IDD_MORESTUFF, IDD_GIFLIST}) {
        SCOPED_TRACE(id);
        g_checked = nullptr;
        ::SetTimer(nullptr, 0, 20, CheckOpenDialog);
        CDialog dlg(id);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(g_checked);
    }
}
