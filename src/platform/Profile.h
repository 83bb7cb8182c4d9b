#pragma once
#include <string>

// The application framework's profile operations. After SetRegistryKey every
// value lives under (organisation = the key text, application = the
// application name) in section `section`. On Linux the store is an INI file:
// $XDG_CONFIG_HOME/<key text>/<application name>.conf.
//
// A store that is anything but a regular file reads as empty and cannot be
// written; so does one that cannot be read as settings, which is never
// rewritten.
//
// The application name defaults to the program file's base name without its
// extension, so a copy of the program under another name keeps settings of
// its own.

void SetRegistryKey(const std::string& keyText);
void SetProfileAppName(const std::string& programPath);  // base name, extension dropped
const std::string& GetProfileAppName();                   // also the section name
std::string ProfileFileName();                            // the store's path, for messages

int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue);
std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue);
bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value);

// Gathers the profile writes made while it lives into one change of the
// store, made by Commit: all of them reach the store or none does. Writes
// made meanwhile only record their values and report success. Where the store
// takes values one by one (the registry), each write is made at once and
// Commit has nothing left to do. One batch at a time, on one thread.
class ProfileWriteBatch {
public:
    ProfileWriteBatch();
    ~ProfileWriteBatch();  // drops what was not committed
    ProfileWriteBatch(const ProfileWriteBatch&) = delete;
    ProfileWriteBatch& operator=(const ProfileWriteBatch&) = delete;
    bool Commit();
};
