#pragma once
#include "platform/WinTypes.h"

#include <memory>

class CWnd;

// The application object: reads the command line once and picks the mode.
class CSaverApp {
public:
    // TRUE when a saver window exists and the message loop must run.
    BOOL InitInstance(int argc, char** argv);
    // Shows the configuration dialog and stores the settings.
    void RunConfiguration();

    CWnd* m_pMainWnd = nullptr;  // not owned: the window deletes itself
    // The program's status when InitInstance returns FALSE: non-zero when a
    // saver window was asked for and could not be made.
    int m_nExitCode = 0;

private:
    BOOL StartMainWindow(std::unique_ptr<CWnd> wnd);
};

// TRUE when `argument`, less one leading '-' or '/', equals `letter`
// ignoring case (whole strings compared).
BOOL MatchSwitch(const char* argument, const char* letter);
