#pragma once
#include "platform/WinTypes.h"

// The application object: reads the command line once and picks the mode.
class CSaverApp {
public:
    // Returns TRUE when a saver window exists and the message loop must run.
    BOOL InitInstance(int argc, char** argv);
    // Shows the configuration dialog and stores the settings.
    void RunConfiguration();
};

// TRUE when `argument`, less one leading '-' or '/', equals `letter`
// ignoring case (whole strings compared).
BOOL MatchSwitch(const char* argument, const char* letter);
