#include "platform/Profile.h"
#include "platform/ProfileName.h"

#include <filesystem>

namespace {

std::string g_keyText;
std::string g_appName;

std::string BaseNameWithoutExtension(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    if (auto dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

}  // namespace

void SetRegistryKey(const std::string& keyText) { g_keyText = keyText; }

const std::string& RegistryKeyText() { return g_keyText; }

void SetProfileAppName(const std::string& programPath) { g_appName = BaseNameWithoutExtension(programPath); }

const std::string& GetProfileAppName() {
    if (g_appName.empty()) {
        const std::string program = RunningProgramPath();
        g_appName = program.empty() ? std::string("quorl") : BaseNameWithoutExtension(program);
    }
    return g_appName;
}
