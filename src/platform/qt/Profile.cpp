#include "platform/Profile.h"

#include "platform/qt/IniDocument.h"
#include "platform/qt/IniStore.h"
#include "platform/ProfileName.h"

#include <QStandardPaths>
#include <QString>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

std::string RunningProgramPath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

namespace {

// The writes of the open ProfileWriteBatch, if one is open.
std::optional<std::vector<IniChange>> g_batch;

// The store is the one file named by ProfileFileName, with no fallbacks, as
// the registry key it stands for has none. It is read afresh by every call:
// the store is touched a handful of times per run.
std::optional<std::string> StoredText(const std::string& section, const std::string& entry) {
    return ReadIniValue(ProfileFileName(), section, entry);
}

bool Write(IniChange change) {
    if (g_batch) {
        g_batch->push_back(std::move(change));
        return true;
    }
    return WriteIniValues(ProfileFileName(), {std::move(change)});
}

}  // namespace

std::string ProfileFileName() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.toStdString() + "/" + RegistryKeyText() + "/" + GetProfileAppName() + ".conf";
}

int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) {
    const std::optional<std::string> text = StoredText(section, entry);
    if (!text)
        return defaultValue;
    // The whole text must be a number that fits: "99999999999" is no 32-bit
    // number, and is not cut to one.
    const char* begin = text->c_str();
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(begin, &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    if (end == begin || *end != '\0' || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return defaultValue;
    return int(number);
}

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue) {
    return StoredText(section, entry).value_or(defaultValue);
}

bool WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    return Write(IniChange{section, entry, std::to_string(value)});
}

bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) {
    return Write(IniChange{section, entry, IniEscapedValue(value)});
}

ProfileWriteBatch::ProfileWriteBatch() { g_batch.emplace(); }

ProfileWriteBatch::~ProfileWriteBatch() { g_batch.reset(); }

bool ProfileWriteBatch::Commit() {
    if (!g_batch)
        return false;
    std::vector<IniChange> changes = std::move(*g_batch);
    g_batch.emplace();
    return WriteIniValues(ProfileFileName(), changes);
}
