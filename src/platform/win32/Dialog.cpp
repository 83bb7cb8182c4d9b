// Dialogs on Win32: the template tables become an in-memory dialog template
// (DLGTEMPLATE and its items, in dialog units) run by DialogBoxIndirectParamA.
#include "platform/dialogs/Dialog.h"

#include "platform/dialogs/DialogTemplate.h"
#include "platform/win32/DialogFit.h"
#include "res/Resources.h"

#include <string>
#include <vector>

namespace {

// The predefined control classes, by atom.
constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082, kListBox = 0x0083;

class TemplateWriter {
public:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value) {
        Word(WORD(value & 0xFFFF));
        Word(WORD(value >> 16));
    }
    // Template text is UTF-16; the tables hold Windows-1252 bytes, whose
    // Latin-1 part is all they use.
    void Text(const char* text) {
        for (const char* c = text ? text : ""; *c; ++c)
            Word(WORD(static_cast<unsigned char>(*c)));
        Word(0);
    }
    void AlignToDword() {
        if (m_words.size() % 2)
            Word(0);
    }
    const WORD* Data() const { return m_words.data(); }

private:
    std::vector<WORD> m_words;
};

struct ControlClass {
    WORD atom;
    DWORD style;
};

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::DefPushButton: return {kButton, BS_DEFPUSHBUTTON};
    case ControlKind::PushButton: return {kButton, BS_PUSHBUTTON};
    case ControlKind::Edit: return {kEdit, ES_LEFT};
    case ControlKind::Text: return {kStatic, SS_LEFT};
    case ControlKind::CenteredText: return {kStatic, SS_CENTER};
    case ControlKind::Icon: return {kStatic, SS_ICON};
    case ControlKind::ListBox: return {kListBox, 0};
    case ControlKind::GroupBox: return {kButton, BS_GROUPBOX};
    }
    return {kStatic, SS_LEFT};
}

void BuildTemplate(const DialogTemplate& t, TemplateWriter& out) {
    out.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
    out.Dword(0);
    out.Word(WORD(t.controls.size()));
    out.Word(0);
    out.Word(0);
    out.Word(WORD(t.cx));
    out.Word(WORD(t.cy));
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(t.caption);
    out.Word(WORD(t.fontPoints));
    out.Text(t.fontFace);
    for (const ControlTemplate& c : t.controls) {
        const ControlClass control = ClassOf(c.kind);
        out.AlignToDword();
        out.Dword(WS_CHILD | WS_VISIBLE | control.style | c.style);
        out.Dword(0);
        out.Word(WORD(c.x));
        out.Word(WORD(c.y));
        out.Word(WORD(c.cx));
        out.Word(WORD(c.cy));
        out.Word(WORD(c.id));  // IDC_STATIC (-1) is 0xFFFF
        out.Word(0xFFFF);
        out.Word(control.atom);
        if (c.kind == ControlKind::Icon) {
            out.Word(0xFFFF);
            out.Word(WORD(c.iconId));
        } else {
            out.Text(c.text);
        }
        out.Word(0);  // no creation data
    }
}

}  // namespace

struct CDialog::SideWindow {
    HWND hWnd = nullptr;
    const DialogTemplate* source = nullptr;
};

// The dialog procedure: the window's messages to its CDialog.
class DialogWindow {
public:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

CDialog::CDialog(int templateId, ParentWindow parent)
    : m_nIDTemplate(templateId), m_pParentWnd(parent), m_window(std::make_unique<SideWindow>()) {}

CDialog::~CDialog() = default;

int LogicalDpiY(DialogHandle window) {
    HDC dc = ::GetDC(window);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc)
        ::ReleaseDC(window, dc);
    return dpi;
}

DialogHandle CDialog::GetSafeHwnd() const { return m_window->hWnd; }

ControlHandle CDialog::GetDlgItem(int id) const {
    return m_window->hWnd ? ::GetDlgItem(m_window->hWnd, id) : nullptr;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    if (m_window->hWnd)
        ::EndDialog(m_window->hWnd, result);
}

void CDialog::SetControlText(int id, const std::string& text) {
    if (!m_window || !m_window->hWnd)
        return;
    ::SetDlgItemTextA(m_window->hWnd, id, text.c_str());
    if (m_window->source)
        FitDialogToTexts(m_window->hWnd, *m_window->source);
}

int CDialog::DoModal() {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(m_nIDTemplate);
    if (!dialogTemplate)
        return -1;
    TemplateWriter data;
    BuildTemplate(*dialogTemplate, data);
    const HWND owner = m_pParentWnd ? m_pParentWnd : ::GetActiveWindow();
    m_nModalResult = -1;
    m_window->source = dialogTemplate;
    const INT_PTR shown =
        ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(data.Data()),
                                  owner, DialogWindow::DialogProc, LPARAM(this));
    m_window->hWnd = nullptr;
    return m_nModalResult != -1 ? m_nModalResult : int(shown);
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, LONG_PTR(dialog));
        dialog->m_window->hWnd = window;
        ::SetForegroundWindow(window);
        // TRUE: the focus goes to the first tab stop.
        const BOOL focusFirst = dialog->OnInitDialog();
        // The texts as OnInitDialog left them, before the dialog shows.
        FitDialogToTexts(window, *dialog->m_window->source);
        return focusFirst;
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        // Buttons, Enter (IDOK) and Escape (IDCANCEL); not what edit fields
        // and list boxes tell of themselves.
        if (HIWORD(wParam) == BN_CLICKED) {
            dialog->OnCommand(LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        dialog->OnCommand(IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}
