#pragma once

// The toolkit application behind the program's one message loop. It is made
// on first need rather than at start-up: a command line that selects nothing
// must end at once, even where there is no display to connect to.

// Keeps the command line for the toolkit. Call once, first thing in main.
void InitApplication(int argc, char** argv);

// The toolkit application, once made, talks to X11 (through XWayland in a
// Wayland session) whatever the environment names: a screen-saver host names
// an X11 window. Call before the application is made.
void RequireX11();

// A saver is no part of the desktop session: the toolkit must not register it
// with the session manager, which could save it and start it again at the
// next login. Call before the application is made.
void StayOutOfSession();

// Makes the toolkit application if there is none yet, on the X display
// unless the environment names another toolkit platform. False when it cannot
// be had: the first failure prints one line naming the display.
bool EnsureGuiApplication();

// A display connection that breaks while the application exists ends the
// process at once with one line and this status (1 unless set): no window,
// dialog or application object is destroyed, and nothing is saved.
void SetDisplayLossStatus(int status);

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();

// Deletes what the message loop left for deletion, then the toolkit
// application. Call once, at the end of main.
void ShutdownApplication();
