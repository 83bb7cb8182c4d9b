#include "app/SaverApp.h"

#include "platform/Profile.h"
#include "saver/FullScreenWnd.h"

#include <cstdlib>
#include <memory>

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
        auto wnd = std::make_unique<CSaverWnd>(TRUE);
        RECT rect{};
        ::GetClientRect(handle, &rect);
        wnd->Create(0, WS_CHILD | WS_VISIBLE, rect, parent, 0, nullptr);
        return StartMainWindow(std::move(wnd));
    }
    if (MatchSwitch(argv[1], "s")) {
        auto wnd = std::make_unique<CFullScreenWnd>();
        wnd->CreateFullScreen();
        return StartMainWindow(std::move(wnd));
    }
    return FALSE;
}

// A window that could not be made (no display, a preview handle that is no
// window) ends the program quietly with a failure rather than leave a message
// loop running with no window.
BOOL CSaverApp::StartMainWindow(std::unique_ptr<CWnd> wnd) {
    if (!wnd->IsWindow()) {
        m_nExitCode = 1;
        return FALSE;
    }
    m_pMainWnd = wnd.release();  // it deletes itself after its last message
    SetMainWindow(m_pMainWnd);
    return TRUE;
}
