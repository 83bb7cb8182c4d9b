#include "platform/Profile.h"

#include "platform/ProfileName.h"
#include "platform/RegularFile.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <system_error>

std::string RunningProgramPath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// One short-lived QSettings per operation: the store is touched a handful of
// times per run, and this way every write reaches the disk before the call
// returns. The store is the one file named by ProfileFileName, with no
// fallbacks, as the registry key it stands for has none. QSettings reads the
// file as it is made, so a store that is not a regular file (a named pipe
// would block the read) is never handed to it: it reads as empty and cannot
// be written.
struct SectionSettings : QSettings {
    explicit SectionSettings(const std::string& section)
        : QSettings(Q(ProfileFileName()), QSettings::IniFormat) {
        beginGroup(Q(section));
    }
};

bool StoreUsable() { return IsRegularFileOrMissing(ProfileFileName()); }

}  // namespace

std::string ProfileFileName() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.toStdString() + "/" + RegistryKeyText() + "/" + GetProfileAppName() + ".conf";
}

int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) {
    if (!StoreUsable())
        return defaultValue;
    SectionSettings settings(section);
    QVariant value = settings.value(Q(entry));
    if (!value.isValid())
        return defaultValue;
    // toString().toInt() rather than QVariant::toInt(): the latter truncates
    // "99999999999" silently and reports success.
    bool ok = false;
    int number = value.toString().toInt(&ok);
    return ok ? number : defaultValue;
}

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue) {
    if (!StoreUsable())
        return defaultValue;
    SectionSettings settings(section);
    QVariant value = settings.value(Q(entry));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited value with an unquoted comma comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    return value.toString().toStdString();
}

bool WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    if (!StoreUsable())
        return false;
    SectionSettings settings(section);
    settings.setValue(Q(entry), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) {
    if (!StoreUsable())
        return false;
    SectionSettings settings(section);
    settings.setValue(Q(entry), Q(value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}
