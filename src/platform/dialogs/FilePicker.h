#pragma once
#include "platform/WinTypes.h"
#include "platform/dialogs/WindowHandles.h"

#include <string>

#ifndef OFN_FILEMUSTEXIST
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
#endif

struct OPENFILENAME {
    DWORD Flags = 0;
    // The folder the picker opens in when it exists; else the current one.
    std::string lpstrInitialDir;
};

// A file picker for opening or saving one file. The filter is given the
// platform's way, pairs of description and patterns each ended by '|', the
// list ended by one more ("GIF Files (*.gif)|*.gif||"). Patterns match
// without regard to case, so "*.gif" also finds "PICTURE.GIF".
class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                const char* filter, ParentWindow parent = nullptr);

    // IDOK or IDCANCEL. With OFN_FILEMUSTEXIST only an existing file can be
    // chosen.
    int DoModal();
    // The full path of the chosen file, as the file system spells it.
    std::string GetPathName() const { return m_path; }

    OPENFILENAME m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::string m_fileName;
    std::string m_filter;
    ParentWindow m_pParentWnd;
    std::string m_path;
    // Without its wildcard ("gif"): what a picker that adds an extension to a
    // name typed without one adds.
    std::string m_defaultExtension;
};

// A picker for one existing folder, opening in `folder` when it exists.
class CFolderPickerDialog {
public:
    explicit CFolderPickerDialog(const char* folder = nullptr, DWORD flags = 0, ParentWindow parent = nullptr)
        : m_folder(folder ? folder : ""), m_pParentWnd(parent) {
        (void)flags;
    }

    // IDOK or IDCANCEL.
    int DoModal();
    // The full path of the chosen folder, as the file system spells it.
    std::string GetPathName() const { return m_path; }

private:
    std::string m_folder;
    ParentWindow m_pParentWnd;
    std::string m_path;
};
