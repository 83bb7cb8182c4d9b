#pragma once
// The command lines of X11 screen-saver hosts. A host starts its saver with
// `--root` (draw in the window named by $XSCREENSAVER_WINDOW, else on the
// screen), `--window-id ID` (in that window, whatever the variable says) or
// `-window` (in a window of the saver's own), in one- or two-dash spellings,
// along with words every saver is given and may ignore (-fps, -install,
// -visual X, -no-...). These are recognised before the Windows switches.
#include "config/RunOverrides.h"
#include "platform/window/WindowTypes.h"

#include <optional>
#include <string>

struct HostedRequest {
    enum class Where { kHostWindow, kScreen, kOwnWindow };
    Where where = Where::kOwnWindow;
    HWND window = 0;  // for kHostWindow; 0 when the id given is no number
    // For kHostWindow: where the id came from ("--window-id" or
    // "XSCREENSAVER_WINDOW") and its text, for telling what was wrong with it.
    std::string windowSource, windowText;
    // -delay N, -picture-delay N (whole seconds, 1 to 86400; others are
    // ignored) and -pictures PATH, from the host's settings for this saver.
    RunOverrides overrides;
};

// The hosted request in the command line, or nothing when it holds none (the
// Windows switches then apply). `environmentWindow` is $XSCREENSAVER_WINDOW
// (null when unset).
std::optional<HostedRequest> ParseHostedCommandLine(int argc, const char* const* argv,
                                                    const char* environmentWindow);
