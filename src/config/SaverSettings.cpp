#include "config/SaverSettings.h"

#include "platform/Profile.h"
#include "res/resource.h"

#include <cstdint>
#include <type_traits>

namespace {
const SaverSettings kDefaults;

// Calls `f` with the member `field` stands for in `settings`.
template <class Settings, class F>
auto WithMember(const SettingField& field, Settings& settings, F&& f) {
    return std::visit([&](auto member) { return f(settings.*member); }, field.member);
}

}  // namespace

// The writes go numbers first, as the store has always been written.
const SettingField kSettingFields[7] = {
    {"FontSize", &SaverSettings::FontSize},
    {"Delay", &SaverSettings::Delay, IDC_DELAY, 0, 60},
    {"GIFDelay", &SaverSettings::GIFDelay, IDC_GIFDELAY, 1, 60},
    {"FontName", &SaverSettings::FontName},
    {"FontColor", &SaverSettings::FontColor},
    {"FillColor", &SaverSettings::FillColor},
    {"BackColor", &SaverSettings::BackColor},
};

const std::string& SettingsSection() { return GetProfileAppName(); }

COLORREF ColorFromText(const std::string& text) {
    // atoi's reading, with the accumulation done in unsigned 32-bit arithmetic
    // so that any text yields a defined value (atoi itself overflows).
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + std::uint32_t(text[i] - '0');
    return negative ? 0u - value : value;
}

std::string ColorToText(COLORREF color) { return std::to_string(std::int32_t(color)); }

void ReadSettings(SaverSettings& settings) {
    const std::string& section = SettingsSection();
    for (const SettingField& field : kSettingFields) {
        WithMember(field, settings, [&](auto& value) {
            using Value = std::decay_t<decltype(value)>;
            const Value& fallback = kDefaults.*std::get<Value SaverSettings::*>(field.member);
            if constexpr (std::is_same_v<Value, std::string>)
                value = GetProfileString(section, field.name, fallback);
            else if constexpr (std::is_same_v<Value, COLORREF>)
                value = ColorFromText(GetProfileString(section, field.name, ColorToText(fallback)));
            else
                value = GetProfileInt(section, field.name, fallback);
        });
    }
    // A face name has room for 31 characters in the system's font
    // description (LF_FACESIZE less its terminator); longer stored names are
    // cut there, so every side draws and shows the same name.
    if (settings.FontName.size() > 31)
        settings.FontName.resize(31);
}

bool SaveSettings(const SaverSettings& settings) {
    const std::string& section = SettingsSection();
    // All seven reach the store together or not at all: a save that stopped
    // half way, or met another save, would leave a mix of two.
    ProfileWriteBatch batch;
    for (const SettingField& field : kSettingFields) {
        const bool written = WithMember(field, settings, [&](const auto& value) {
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, std::string>)
                return WriteProfileString(section, field.name, value);
            else if constexpr (std::is_same_v<Value, COLORREF>)
                return WriteProfileString(section, field.name, ColorToText(value));
            else
                return WriteProfileInt(section, field.name, value);
        });
        if (!written)
            return false;
    }
    return batch.Commit();
}
