// The font, colour and file pickers are the platform's common dialogs.
#include "platform/dialogs/ColorPicker.h"
#include "platform/dialogs/FilePicker.h"
#include "platform/dialogs/FontPicker.h"
#include "platform/win32/CommonDialogs.h"

#include <algorithm>

namespace {

HWND OwnerOr(ParentWindow parent) { return parent ? parent : ::GetActiveWindow(); }

}  // namespace

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, ParentWindow parent) : m_pParentWnd(parent) {
    m_cc.rgbResult = initial;
    m_cc.Flags = flags;
}

int CColorDialog::DoModal() { return PickColor(OwnerOr(m_pParentWnd), m_cc.Flags, m_cc.rgbResult) ? IDOK : IDCANCEL; }

CFontDialog::CFontDialog(const LOGFONT* initial, DWORD flags, void*, ParentWindow parent)
    : m_lf{}, m_pParentWnd(parent) {
    m_cf.Flags = flags;
    if (initial)
        m_lf = *initial;
}

int CFontDialog::DoModal() {
    return PickFont(OwnerOr(m_pParentWnd), m_cf.Flags, m_lf, m_cf.iPointSize, m_cf.rgbColors) ? IDOK : IDCANCEL;
}

int CFolderPickerDialog::DoModal() {
    std::string path;
    if (!PickFolder(OwnerOr(m_pParentWnd), m_folder, path))
        return IDCANCEL;
    m_path = path;
    return IDOK;
}

int CFileDialog::DoModal() {
    // "Description|patterns|...|" becomes the platform's NUL-separated list.
    std::string filter = m_filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.push_back('\0');
    std::string path = m_fileName;
    if (!PickFile(OwnerOr(m_pParentWnd), m_bOpenFileDialog, m_ofn.Flags, filter, m_ofn.lpstrInitialDir,
                  m_defaultExtension, path))
        return IDCANCEL;
    m_path = path;
    return IDOK;
}
