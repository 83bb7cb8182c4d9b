#include "platform/dialogs/FilePicker.h"

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, ParentWindow parent)
    : m_bOpenFileDialog(openFileDialog), m_fileName(fileName ? fileName : ""), m_filter(filter ? filter : ""),
      m_pParentWnd(parent), m_defaultExtension(defaultExtension ? defaultExtension : "") {
    m_ofn.Flags = flags;
    // The extension is wanted without its wildcard: "GIF", not "*.GIF".
    if (m_defaultExtension.rfind("*.", 0) == 0)
        m_defaultExtension.erase(0, 2);
}
