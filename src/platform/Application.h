#pragma once

// The toolkit application behind the program's one message loop. It is made
// on first need rather than at start-up: a command line that selects nothing
// must end at once, even where there is no display to connect to.

// Keeps the command line for the toolkit. Call once, first thing in main.
void InitApplication(int argc, char** argv);

// Makes the toolkit application if there is none yet. False when it cannot
// be had (no display).
bool EnsureGuiApplication();

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();

// Deletes what the message loop left for deletion, then the toolkit
// application. Call once, at the end of main.
void ShutdownApplication();
