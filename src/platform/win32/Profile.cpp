// The profile operations on the registry: every value of section S lives in
// HKEY_CURRENT_USER\Software\<key text>\<application name>\<S>. Numbers are
// REG_DWORD values, texts REG_SZ values.
#include "platform/Profile.h"

#include "platform/ProfileName.h"
#include "platform/WinTypes.h"

#include <vector>

std::string RunningProgramPath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

namespace {

std::string SectionKeyPath(const std::string& section) {
    return "Software\\" + RegistryKeyText() + "\\" + GetProfileAppName() + "\\" + section;
}

// The section's key, opened for reading or made for writing; closed when it goes.
class SectionKey {
public:
    SectionKey(const std::string& section, bool forWriting) {
        const std::string path = SectionKeyPath(section);
        const LSTATUS status =
            forWriting ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_WRITE, nullptr, &m_key, nullptr)
                       : ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &m_key);
        if (status != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~SectionKey() {
        if (m_key)
            ::RegCloseKey(m_key);
    }
    SectionKey(const SectionKey&) = delete;
    SectionKey& operator=(const SectionKey&) = delete;
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

}  // namespace

std::string ProfileFileName() { return "HKEY_CURRENT_USER\\" + SectionKeyPath(GetProfileAppName()); }

int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) {
    SectionKey key(section, false);
    DWORD type = 0, value = 0, size = sizeof(value);
    if (!key.get() ||
        ::RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return int(value);
}

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue) {
    SectionKey key(section, false);
    if (!key.get())
        return defaultValue;
    // A value written by hand may be of any size: ask, then read, and ask
    // again should it have grown in between.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        if (::RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return defaultValue;
        std::string text(size, '\0');
        const LSTATUS status = ::RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type,
                                                  reinterpret_cast<BYTE*>(text.data()), &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return defaultValue;
        text.resize(size);
        // Stored text need not end with its NUL; the text ends at the first one.
        if (auto nul = text.find('\0'); nul != std::string::npos)
            text.erase(nul);
        return text;
    }
    return defaultValue;
}

bool WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    SectionKey key(section, true);
    const DWORD number = DWORD(value);
    return key.get() && ::RegSetValueExA(key.get(), entry.c_str(), 0, REG_DWORD,
                                         reinterpret_cast<const BYTE*>(&number), sizeof(number)) == ERROR_SUCCESS;
}

bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) {
    SectionKey key(section, true);
    // Registry text ends at its first NUL, as the stored value would.
    const std::string text = value.substr(0, value.find('\0'));
    return key.get() && ::RegSetValueExA(key.get(), entry.c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1)) ==
                            ERROR_SUCCESS;
}

// The registry keeps each value as it is written.
ProfileWriteBatch::ProfileWriteBatch() = default;
ProfileWriteBatch::~ProfileWriteBatch() = default;
bool ProfileWriteBatch::Commit() { return true; }
