#pragma once
// The POSIX calls the shared test helpers (support/TempDir.h) use, as the
// Windows C library has them. Every test of the Windows build sees them.
#include <direct.h>
#include <io.h>

#include <cstdlib>

inline char* mkdtemp(char* pattern) { return ::_mktemp(pattern) && ::_mkdir(pattern) == 0 ? pattern : nullptr; }
inline int setenv(const char* name, const char* value, int) { return ::_putenv_s(name, value); }
inline int unsetenv(const char* name) { return ::_putenv_s(name, ""); }
