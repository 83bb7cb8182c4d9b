#pragma once
// The profile's store where there is no registry: one INI file (see
// IniDocument), read afresh by every call and changed only whole. A change
// reads the file, applies its values and puts a complete new file in its
// place, all under an exclusive lock on the file's folder, so two programs
// saving at once never mix their values and a save killed half way leaves the
// old file. The lock is an flock(2) on an open file: it ends with its
// process, so no lock outlives a killed save.
//
// A file that cannot be read as settings (no text, too large, not readable)
// is never rewritten: it reads as empty, writes to it fail, and the first
// time it is met one line on stderr names it. Anything but a regular file
// reads as empty and cannot be written, silently.
#include <optional>
#include <string>
#include <vector>

struct IniChange {
    std::string section;
    std::string key;
    std::string escapedValue;  // as IniEscapedValue gives it, or a number's digits
};

std::optional<std::string> ReadIniValue(const std::string& path, const std::string& section, const std::string& key);

// Applies every change in one replacement of the file. False when nothing
// was changed.
bool WriteIniValues(const std::string& path, const std::vector<IniChange>& changes);
