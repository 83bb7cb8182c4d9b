#include "platform/Directories.h"

#include "platform/WinTypes.h"

#include <cstdlib>
#include <vector>

// The Windows directory as the system reports it; $QUORL_WINDOWS_DIR, when
// set, stands in for it (tests give each run a folder of its own).
std::string GetWindowsDirectory() {
    if (const char* dir = std::getenv("QUORL_WINDOWS_DIR"); dir && *dir)
        return dir;
    std::vector<char> buffer(MAX_PATH);
    UINT length = ::GetWindowsDirectoryA(buffer.data(), UINT(buffer.size()));
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = ::GetWindowsDirectoryA(buffer.data(), UINT(buffer.size()));
    }
    return length < buffer.size() ? std::string(buffer.data(), length) : std::string();
}

std::string GetSystemDirectory() { return GetWindowsDirectory() + "\\system"; }

std::string SystemDirectoryForTexts() { return {}; }

// Nothing is installed beside the program on Windows: the user's system
// directory is the only place.
std::vector<std::string> GetDefaultDataDirectories() { return {}; }
