#include "config/SaverSettings.h"

#include "platform/Profile.h"

#include <cstdint>

namespace {
const SaverSettings kDefaults;
}

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
    settings.FontName = GetProfileString(section, "FontName", kDefaults.FontName);
    // A face name has room for 31 characters on the platform the settings
    // were designed for; longer stored names are cut there.
    if (settings.FontName.size() > 31)
        settings.FontName.resize(31);
    settings.FontSize = GetProfileInt(section, "FontSize", kDefaults.FontSize);
    settings.FontColor = ColorFromText(GetProfileString(section, "FontColor", "16776960"));
    settings.FillColor = ColorFromText(GetProfileString(section, "FillColor", "00000000"));
    settings.BackColor = ColorFromText(GetProfileString(section, "BackColor", "00000000"));
    settings.Delay = GetProfileInt(section, "Delay", kDefaults.Delay);
    settings.GIFDelay = GetProfileInt(section, "GIFDelay", kDefaults.GIFDelay);
}

bool SaveSettings(const SaverSettings& settings) {
    const std::string& section = SettingsSection();
    // Each write replaces the store whole or not at all; the first that fails
    // stops the save, since the rest would fail the same way.
    return WriteProfileInt(section, "FontSize", settings.FontSize) &&
           WriteProfileInt(section, "Delay", settings.Delay) &&
           WriteProfileInt(section, "GIFDelay", settings.GIFDelay) &&
           WriteProfileString(section, "FontName", settings.FontName) &&
           WriteProfileString(section, "FontColor", ColorToText(settings.FontColor)) &&
           WriteProfileString(section, "FillColor", ColorToText(settings.FillColor)) &&
           WriteProfileString(section, "BackColor", ColorToText(settings.BackColor));
}
