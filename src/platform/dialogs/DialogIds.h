#pragma once
// Results of modal dialogs and message boxes, and the command identifiers of
// a dialog's OK and Cancel buttons. On Windows, the platform's own.
#ifndef _WIN32

enum : int {
    IDOK = 1,
    IDCANCEL = 2,
};

// Message box types: buttons and icon.
enum : unsigned {
    MB_OK = 0x00000000,
    MB_ICONEXCLAMATION = 0x00000030,
};
#endif
