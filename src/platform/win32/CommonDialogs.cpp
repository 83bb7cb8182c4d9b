#include "platform/win32/CommonDialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

bool PickColor(HWND owner, DWORD flags, COLORREF& color) {
    // The sixteen custom colours live as long as the program.
    static COLORREF customColors[16] = {};
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = color & 0x00FFFFFFu;
    cc.lpCustColors = customColors;
    cc.Flags = flags | CC_RGBINIT;
    if (!::ChooseColorA(&cc))
        return false;
    color = cc.rgbResult;
    return true;
}

bool PickFont(HWND owner, DWORD flags, LOGFONTA& font, int& tenthsOfPoints, COLORREF& color) {
    LOGFONTA start{};
    start.lfHeight = font.lfHeight;
    std::memcpy(start.lfFaceName, font.lfFaceName, sizeof start.lfFaceName);
    start.lfFaceName[sizeof start.lfFaceName - 1] = '\0';
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &start;
    cf.Flags = flags | CF_INITTOLOGFONTSTRUCT;
    cf.rgbColors = color & 0x00FFFFFFu;
    if (!::ChooseFontA(&cf))
        return false;
    font = start;
    tenthsOfPoints = cf.iPointSize;
    color = cf.rgbColors;
    return true;
}

bool PickFile(HWND owner, bool open, DWORD flags, const std::string& filter, const std::string& initialDir,
              const std::string& defaultExtension, std::string& path) {
    std::vector<char> file(32768, '\0');
    std::memcpy(file.data(), path.data(), std::min(path.size(), file.size() - 1));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = DWORD(file.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    ofn.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!(open ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn)))
        return false;
    path = file.data();
    return true;
}

namespace {

// Selects the folder the browser should open at, once it is up.
int CALLBACK BrowseStarted(HWND window, UINT message, LPARAM, LPARAM initialDir) {
    if (message == BFFM_INITIALIZED && initialDir)
        ::SendMessageA(window, BFFM_SETSELECTIONA, TRUE, initialDir);
    return 0;
}

}  // namespace

bool PickFolder(HWND owner, const std::string& initialDir, std::string& path) {
    char chosen[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = chosen;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseStarted;
    info.lParam = initialDir.empty() ? 0 : LPARAM(initialDir.c_str());
    // The browser of the new style needs COM on this thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    LPITEMIDLIST item = ::SHBrowseForFolderA(&info);
    if (SUCCEEDED(com))
        ::CoUninitialize();
    if (!item)
        return false;
    const bool ok = ::SHGetPathFromIDListA(item, chosen) != FALSE;
    ::CoTaskMemFree(item);
    if (ok)
        path = chosen;
    return ok;
}
