#pragma once
#include <string>

// The toolkit application behind the program's one message loop. It is made
// on first need rather than at start-up: a command line that selects nothing
// must end at once, even where there is no display to connect to.

// Keeps the command line for the toolkit. Call once, first thing in main.
void InitApplication(int argc, char** argv);

// Prints `text` on standard output for whoever typed the command, and true.
// False where the program has no terminal to print to (a Windows GUI
// program), which then reads the words as it always has.
bool PrintForTerminal(const std::string& text);

// The toolkit application, once made, talks to X11 (through XWayland in a
// Wayland session) whatever the environment names: a screen-saver host names
// an X11 window. Call before PrepareGuiApplication.
void RequireX11();

// The configuration dialogs are ordinary windows: in a Wayland session they
// go to the compositor itself rather than through XWayland (unless
// QUORL_DISPLAY is "x11"). Call before the application is made.
void PreferWayland();

// The full-screen saver on a Wayland compositor draws through a window
// system of its own and never makes the toolkit application: preparing it
// then opens no display and settles nothing. Call before
// PrepareGuiApplication.
void SkipToolkit();

// A saver is no part of the desktop session: the toolkit must not register it
// with the session manager, which could save it and start it again at the
// next login. Call before PrepareGuiApplication.
void StayOutOfSession();

// Settles what the toolkit application will find in the environment, and
// opens the X display it will use (a failure prints the one line, and
// EnsureGuiApplication then fails). It changes the environment, so it must
// run before any thread starts: changing the environment while another
// thread reads it (fontconfig does, as it loads) is undefined behaviour.
// EnsureGuiApplication calls it if nothing has; a road that starts a thread
// before the application is made calls it first.
//
// A scale that is no finite number from 0.25 to 16 (QT_SCALE_FACTOR, each of
// QT_SCREEN_SCALE_FACTORS, QT_FONT_DPI or the X resource Xft.dpi over 96) is
// ignored, with one line on stderr: the screen keeps its own scale.
void PrepareGuiApplication();

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
