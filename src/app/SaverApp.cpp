#include "app/SaverApp.h"

#include "platform/Profile.h"
#include "saver/FullScreenWnd.h"

#include <cstdlib>

namespace {

// The parent's handle, read as atol reads it (leading white space, an
// optional sign, digits up to the first non-digit); strtol gives the same
// value with a defined result on overflow.
HWND ParseHandle(const char* text) {
    return text ? HWND(std::strtol(text, nullptr, 10)) : 0;
}

}  // namespace

BOOL CSaverApp::InitInstance(int argc, char** argv) {
    SetRegistryKey("Zovex Screen Savers");

    if (argc <= 1 || MatchSwitch(argv[1], "c")) {
        RunConfiguration();
        return FALSE;
    }
    if (MatchSwitch(argv[1], "p")) {
        const HWND handle = ParseHandle(argc > 2 ? argv[2] : nullptr);
        CWnd* parent = CWnd::FromHandle(handle);
        auto* wnd = new CSaverWnd(TRUE);
        RECT rect{};
        ::GetClientRect(handle, &rect);
        // A handle that is not a window gives no preview: end quietly
        // rather than run a message loop with no window.
        if (!wnd->Create(0, WS_CHILD | WS_VISIBLE, rect, parent, 0, nullptr)) {
            delete wnd;
            m_nExitCode = 1;
            return FALSE;
        }
        m_pMainWnd = wnd;
        SetMainWindow(wnd);
        return TRUE;
    }
    if (MatchSwitch(argv[1], "s")) {
        auto* wnd = new CFullScreenWnd;
        wnd->CreateFullScreen();
        if (!wnd->IsWindow()) {
            delete wnd;
            m_nExitCode = 1;
            return FALSE;
        }
        m_pMainWnd = wnd;
        SetMainWindow(wnd);
        return TRUE;
    }
    return FALSE;
}
