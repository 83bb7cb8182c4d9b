#pragma once
// The platform's common dialogs, behind plain signatures: <commdlg.h> names
// its descriptions as the pickers' headers do, so the two never meet in one
// file. Each returns false when the user cancelled; the values then stay.
#include "platform/WinTypes.h"

#include <string>

bool PickColor(HWND owner, DWORD flags, COLORREF& color);

// `font` in and out (height and face are read; the rest starts as GDI's
// defaults); `tenthsOfPoints` and `color` out, `color` in as well.
bool PickFont(HWND owner, DWORD flags, LOGFONTA& font, int& tenthsOfPoints, COLORREF& color);

// One existing folder, through the shell's folder browser.
bool PickFolder(HWND owner, const std::string& initialDir, std::string& path);

// `filter` in the platform's form: NUL-separated pairs ending with two NULs.
bool PickFile(HWND owner, bool open, DWORD flags, const std::string& filter, const std::string& initialDir,
              const std::string& defaultExtension, std::string& path);
