#pragma once
#include "platform/WinTypes.h"

#include "platform/window/WindowTypes.h"

#include <memory>
#include <vector>

class CWnd;
class CFullScreenWnd;
struct HostedRequest;

// The application object: reads the command line once and picks the mode.
class CSaverApp {
public:
    CSaverApp();
    ~CSaverApp();

    // TRUE when a saver window exists and the message loop must run.
    BOOL InitInstance(int argc, char** argv);
    // Shows the configuration dialog and stores the settings.
    void RunConfiguration();

    CWnd* m_pMainWnd = nullptr;  // the first saver window; not owned, or one of m_covers
    // The program's status when InitInstance returns FALSE: non-zero when a
    // saver window was asked for and could not be made.
    int m_nExitCode = 0;

private:
    BOOL StartMainWindow(std::unique_ptr<CWnd> wnd);
    BOOL StartHosted(const HostedRequest& request);
    bool CoverMonitors();

    // The full-screen savers, one per monitor.
    struct Cover {
        RECT monitor;
        std::unique_ptr<CFullScreenWnd> wnd;
    };
    std::vector<Cover> m_covers;
};

// TRUE when `argument`, less one leading '-' or '/', equals `letter`
// ignoring case (whole strings compared).
BOOL MatchSwitch(const char* argument, const char* letter);
