#pragma once
// The scales a user may set for the toolkit: QT_SCALE_FACTOR,
// QT_SCREEN_SCALE_FACTORS and the X resource Xft.dpi. The toolkit takes them
// unchecked: a negative factor made a window 65376 pixels wide that no input
// could end, and 0, nan or 1e6 ended the program without a word. The saver
// accepts a scale that is a finite number from 0.25 to 16, and runs at the
// screen's own scale otherwise.
//
// Plain C++: the checks only; Application.cpp applies them.
#include <optional>
#include <string>
#include <string_view>

// QT_SCALE_FACTOR: one number.
bool IsUsableScale(std::string_view text);
// QT_SCREEN_SCALE_FACTORS: ';'-separated factors, each alone or after
// "<screen name>=".
bool IsUsableScreenScales(std::string_view spec);
// Xft.dpi: dots per inch, 96 to a scale of 1.
bool IsUsableDpi(std::string_view text);

// The value of the last "Xft.dpi:" line of an X resource database's text
// (the root window's RESOURCE_MANAGER), or nothing when it has none.
std::optional<std::string> XftDpiResource(std::string_view resources);
