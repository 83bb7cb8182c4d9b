#include "platform/win32/DialogFit.h"

#include "platform/dialogs/DialogTemplate.h"
#include "platform/dialogs/DialogWidening.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Air between a button's text and its edges, whatever the frame and the
// focus rectangle leave: a text touching the edge reads as clipped.
constexpr int kButtonTextMargin = 3;
// A group box's title starts a little in from its corner and leaves a gap
// before the frame goes on.
constexpr int kGroupTitleMargin = 4 * kButtonTextMargin;

// A control's device context with the control's own font selected.
class ControlDc {
public:
    explicit ControlDc(HWND control)
        : m_control(control), m_dc(::GetDC(control)),
          m_old(m_dc ? ::SelectObject(m_dc, HGDIOBJ(::SendMessageW(control, WM_GETFONT, 0, 0))) : nullptr) {}
    ~ControlDc() {
        if (!m_dc)
            return;
        if (m_old)
            ::SelectObject(m_dc, m_old);
        ::ReleaseDC(m_control, m_dc);
    }
    ControlDc(const ControlDc&) = delete;
    ControlDc& operator=(const ControlDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_control;
    HDC m_dc;
    HGDIOBJ m_old;
};

std::wstring TextOf(HWND control) {
    std::wstring text(std::size_t(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(std::size_t(std::max(0, ::GetWindowTextW(control, text.data(), int(text.size())))));
    return text;
}

// The pixels across that the text of `control` (`c` in the template) needs,
// given its height and its width now; 0 for controls without text.
int NeededWidth(HWND control, const ControlTemplate& c, int width, int height, int widest) {
    const std::wstring text = TextOf(control);
    if (text.empty())
        return 0;
    ControlDc dc(control);
    if (!dc.Get())
        return 0;
    SIZE extent{};
    switch (c.kind) {
    case ControlKind::DefPushButton:
    case ControlKind::PushButton:
        ::GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &extent);
        return extent.cx + 2 * kButtonTextMargin;
    case ControlKind::GroupBox:
        ::GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &extent);
        return extent.cx + kGroupTitleMargin;
    case ControlKind::Text:
    case ControlKind::CenteredText: {
        // A static text wraps at words, as the control draws it; a word
        // wider than the control, or lines below its bottom, are clipped.
        const UINT flags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS |
                           (c.kind == ControlKind::CenteredText ? DT_CENTER : DT_LEFT) |
                           ((c.style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        return NarrowestFit(width, widest, [&](int w) {
            RECT r{0, 0, w, 0};
            ::DrawTextW(dc.Get(), text.c_str(), int(text.size()), &r, flags);
            return r.right <= w && r.bottom <= height;
        });
    }
    default:
        return 0;
    }
}

}  // namespace

void FitDialogToTexts(HWND dialog, const DialogTemplate& t) {
    std::vector<HWND> controls;  // template order: the dialog manager stacks them so
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        controls.push_back(c);
    RECT units{0, 0, 4, 8};
    if (controls.size() != t.controls.size() || !::MapDialogRect(dialog, &units) || units.right <= 0)
        return;
    const int unit = units.right;

    std::vector<TextRoom> rooms;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        RECT client{};
        ::GetClientRect(controls[i], &client);
        const ControlTemplate& c = t.controls[i];
        const int widest = DialogUnitsToPixels(c.cx, unit * kMaxWidening);
        rooms.push_back({c.cx, NeededWidth(controls[i], c, client.right, client.bottom, widest)});
    }
    const int widened = WidenedUnit(unit, rooms);

    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlTemplate& c = t.controls[i];
        RECT r{c.x, c.y, c.x + c.cx, c.y + c.cy};
        ::MapDialogRect(dialog, &r);
        // An icon keeps the size of its icon.
        const UINT size = c.kind == ControlKind::Icon ? SWP_NOSIZE : 0;
        ::SetWindowPos(controls[i], nullptr, DialogUnitsToPixels(c.x, widened), r.top,
                       DialogUnitsToPixels(c.cx, widened), r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | size);
    }
    RECT client{}, frame{};
    ::GetClientRect(dialog, &client);
    ::GetWindowRect(dialog, &frame);
    const int grow = DialogUnitsToPixels(t.cx, widened) - client.right;
    if (grow != 0)
        // About its middle, so a centred dialog stays centred.
        ::SetWindowPos(dialog, nullptr, frame.left - grow / 2, frame.top, frame.right - frame.left + grow,
                       frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(dialog, nullptr, TRUE);
}
