#include "platform/qt/ScaleChecks.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr double kLeastScale = 0.25, kGreatestScale = 16;

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A decimal number filling the whole text (spaces around it allowed).
std::optional<double> Number(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool InRange(std::optional<double> scale) {
    return scale && std::isfinite(*scale) && *scale >= kLeastScale && *scale <= kGreatestScale;
}

}  // namespace

bool IsUsableScale(std::string_view text) { return InRange(Number(text)); }

bool IsUsableScreenScales(std::string_view spec) {
    for (;;) {
        const std::size_t semicolon = spec.find(';');
        std::string_view entry = spec.substr(0, semicolon);
        if (const std::size_t equals = entry.rfind('='); equals != std::string_view::npos)
            entry.remove_prefix(equals + 1);
        if (!Trimmed(entry).empty() && !IsUsableScale(entry))
            return false;
        if (semicolon == std::string_view::npos)
            return true;
        spec.remove_prefix(semicolon + 1);
    }
}

bool IsUsableDpi(std::string_view text) {
    const std::optional<double> dpi = Number(text);
    return dpi && InRange(*dpi / 96);
}

std::optional<std::string> XftDpiResource(std::string_view resources) {
    std::optional<std::string> found;
    static constexpr std::string_view kName = "Xft.dpi:";
    for (std::size_t start = 0; start <= resources.size();) {
        const std::size_t end = std::min(resources.find('\n', start), resources.size());
        const std::string_view line = resources.substr(start, end - start);
        if (line.substr(0, kName.size()) == kName)
            found = std::string(Trimmed(line.substr(kName.size())));
        start = end + 1;
    }
    return found;
}
