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

std::string SystemDirectoryForTexts() {
    std::string dir = GetSystemDirectory();
    std::string home = EnvOrEmpty("HOME");
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    if (home.size() > 1 && dir.compare(0, home.size(), home) == 0 && dir.size() > home.size() &&
        dir[home.size()] == '/')
        dir.replace(0, dir.find_first_not_of('/', home.size()) - 1, "~");
    return dir;
}

std::vector<std::string> GetDefaultDataDirectories() {
    std::string list = EnvOrEmpty("XDG_DATA_DIRS");
    if (list.empty())
        list = "/usr/local/share:/usr/share";  // also when a host passes no XDG_* at all
    std::vector<std::string> dirs;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        // Relative entries are invalid in this variable: they would resolve
        // against whatever folder the program happens to be in.
        if (end > start && list[start] == '/')
            dirs.push_back(list.substr(start, end - start) + "/quorl");
        start = end + 1;
    }
    return dirs;
}
