#include "app/SaverApp.h"

#include "app/HostedCommandLine.h"
#include "platform/Application.h"
#include "platform/Profile.h"
#include "platform/Termination.h"
#include "platform/dc/Font.h"
#include "saver/FullScreenWnd.h"
#include "saver/HostedWnd.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// The parent's handle, read as atol reads it (leading white space, an
// optional sign, digits up to the first non-digit); strtol gives the same
// value with a defined result on overflow.
HWND ParseHandle(const char* text) {
    return text ? HWND(std::intptr_t(std::strtol(text, nullptr, 10))) : 0;
}

bool IsWindowsSwitch(const char* argument) {
    return MatchSwitch(argument, "s") || MatchSwitch(argument, "p") || MatchSwitch(argument, "c");
}

}  // namespace

CSaverApp::CSaverApp() = default;

CSaverApp::~CSaverApp() {
    if (!m_covers.empty() && GetWindowSystem())
        GetWindowSystem()->WatchMonitors(nullptr);
}

BOOL CSaverApp::InitInstance(int argc, char** argv) {
    SetRegistryKey("Zovex Screen Savers");
    CurrentRunOverrides() = {};

    // A screen-saver host's command line; the Windows switches keep their
    // meaning whatever follows them.
    if (argc > 1 && !IsWindowsSwitch(argv[1])) {
        if (auto hosted = ParseHostedCommandLine(argc, argv, std::getenv("XSCREENSAVER_WINDOW")))
            return StartHosted(*hosted);
    }

    if (argc <= 1 || MatchSwitch(argv[1], "c")) {
        PreferWayland();
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
        StayOutOfSession();
        EndAtOnceOnTerminationSignals();
        PrepareGuiApplication();  // before the font thread starts
        PrepareFontMatching();
        if (!CoverMonitors()) {
            m_nExitCode = 1;
            return FALSE;
        }
        GetWindowSystem()->WatchMonitors([this] {
            if (!CoverMonitors())
                ::PostQuitMessage(0);
        });
        return TRUE;
    }
    return FALSE;
}

BOOL CSaverApp::StartHosted(const HostedRequest& request) {
    RequireX11();
    StayOutOfSession();
    EndAtOnceOnTerminationSignals();
    PrepareGuiApplication();  // before the font thread starts
    PrepareFontMatching();
    // The host's display going away ends its saver as a normal ending does.
    SetDisplayLossStatus(0);
    if (request.where == HostedRequest::Where::kHostWindow) {
        // A window that cannot be drawn in is told in one line: the host's
        // log is the only place a user may look.
        std::string problem;
        if (request.window == 0)
            problem = request.windowSource + " \"" + request.windowText +
                      "\" is no window id: a number, decimal or hexadecimal after 0x, other than 0";
        else if (IWindowSystem* system = GetWindowSystem())
            problem = system->ForeignWindowProblem(request.window);
        if (!problem.empty()) {
            std::fprintf(stderr, "quorl: %s\n", problem.c_str());
            m_nExitCode = 1;
            return FALSE;
        }
    }
    CurrentRunOverrides() = request.overrides;
    auto wnd = std::make_unique<CHostedWnd>();
    switch (request.where) {
    case HostedRequest::Where::kHostWindow: wnd->CreateInWindow(request.window); break;
    case HostedRequest::Where::kScreen: wnd->CreateOverScreen(); break;
    case HostedRequest::Where::kOwnWindow: wnd->CreateOwnWindow(); break;
    }
    return StartMainWindow(std::move(wnd));
}

// One full-screen saver per monitor, each with its own verse and picture. A
// monitor that went away (or changed its size) takes its window with it, and
// without the quit message the closing of a saver window would post: input
// on any window still ends them all. False when no window could be made.
bool CSaverApp::CoverMonitors() {
    for (const Cover& cover : m_covers)
        if (!cover.wnd->IsWindow())
            return true;  // the user closed one: the saver is ending
    IWindowSystem* system = GetWindowSystem();
    const std::vector<RECT> monitors = system ? system->MonitorRects() : std::vector<RECT>{};
    std::erase_if(m_covers, [&](const Cover& cover) {
        return std::find(monitors.begin(), monitors.end(), cover.monitor) == monitors.end();
    });
    for (const RECT& monitor : monitors) {
        if (std::any_of(m_covers.begin(), m_covers.end(), [&](const Cover& cover) { return cover.monitor == monitor; }))
            continue;
        auto wnd = std::make_unique<CFullScreenWnd>(FALSE);  // owned here, so a monitor's removal can take it
        wnd->CreateFullScreen(monitor);
        if (wnd->IsWindow())
            m_covers.push_back(Cover{monitor, std::move(wnd)});
    }
    m_pMainWnd = m_covers.empty() ? nullptr : m_covers.front().wnd.get();
    SetMainWindow(m_pMainWnd);
    return m_pMainWnd != nullptr;
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
