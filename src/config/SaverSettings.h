#pragma once
#include "platform/WinTypes.h"

#include <string>
#include <variant>

// The seven user settings, each field named after its entry in the store.
struct SaverSettings {
    std::string FontName = "Courier New";
    int FontSize = 25;
    COLORREF FontColor = 16776960;  // cyan
    COLORREF FillColor = 0;         // black
    COLORREF BackColor = 0;         // black
    int Delay = 5;                  // seconds between verses
    int GIFDelay = 15;              // seconds between pictures

    friend bool operator==(const SaverSettings&, const SaverSettings&) = default;
};

// One setting: its entry in the store and its member; where the
// configuration dialog edits it as a number, the edit field and the values
// the field accepts (else a picker sets it). The default is the member's in
// a default SaverSettings.
struct SettingField {
    const char* name;
    // A text, a number, or a colour (kept as decimal text).
    std::variant<std::string SaverSettings::*, int SaverSettings::*, COLORREF SaverSettings::*> member;
    int control = 0;  // the dialog's edit field; 0: none
    int minValue = 0;
    int maxValue = 0;
};

// Every setting once, in the order they are stored.
extern const SettingField kSettingFields[7];

// The store's section: the application's profile name.
const std::string& SettingsSection();

// Reads every entry, taking its default when missing. No range is enforced.
void ReadSettings(SaverSettings& settings);
// Writes all seven entries, changed or not. False when the store could not
// be written; what it held before is then kept.
bool SaveSettings(const SaverSettings& settings);

// Colours are kept as decimal text: read the way atoi reads (sign, digits up
// to the first non-digit, 32-bit wrap), written with "%d".
COLORREF ColorFromText(const std::string& text);
std::string ColorToText(COLORREF color);
