#include "platform/Directories.h"

#include <cstdlib>

namespace {

std::string EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

std::string GetWindowsDirectory() {
    if (std::string dir = EnvOrEmpty("QUORL_WINDOWS_DIR"); !dir.empty())
        return dir;
    if (std::string data = EnvOrEmpty("XDG_DATA_HOME"); !data.empty())
        return data + "/quorl";
    return EnvOrEmpty("HOME") + "/.local/share/quorl";
}

std::string GetSystemDirectory() { return GetWindowsDirectory() + "/system"; }
