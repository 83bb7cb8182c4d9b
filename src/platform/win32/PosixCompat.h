#pragma once
// The few POSIX open flags the portable code names, as the Windows C library
// spells them. Opening a pipe or a device on Windows never waits for a
// writer, so there is nothing for O_NONBLOCK to do; O_NOINHERIT keeps a file
// from child processes as O_CLOEXEC does. Every file the portable code opens
// with it is read as bytes: O_BINARY, or the C library would stop at the
// first Ctrl-Z and turn CR LF into LF.
#include <fcntl.h>

#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC (O_NOINHERIT | O_BINARY)
#endif
