#pragma once
// The full-screen saver on a Wayland compositor: one layer-shell surface per
// output, with the window system's own event loop in place of the toolkit's.
// `QUORL_DISPLAY` chooses: "wayland" insists on it, "x11" never tries it;
// unset, Wayland is used when WAYLAND_DISPLAY names a compositor that offers
// layer shell.
#include "platform/window/WindowSystem.h"

#include <memory>

struct WaylandSaverChoice {
    std::unique_ptr<IWindowSystem> system;  // null: the saver goes to X11
    bool failed = false;  // Wayland was insisted on and cannot be had (said on stderr)
};

WaylandSaverChoice ConnectWaylandSaver();

// Runs the Wayland system's event loop until the quit message; its exit
// code, or 1 when the compositor went away (said in one line on stderr).
int RunWaylandLoop(IWindowSystem& system);
