#include "app/HostedCommandLine.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A window id as hosts write it: hexadecimal with 0x, or decimal; the whole
// text must be the number. 0 when it is not one.
HWND ParseWindowId(const char* text) {
    if (!text)
        return 0;
    const bool hex = (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'));
    const char* digits = hex ? text + 2 : text;
    const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
    if (*digits == '\0' || std::strspn(digits, allowed) != std::strlen(digits))
        return 0;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(digits, &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || value > 0xFFFFFFFFull)
        return 0;
    return HWND(value);
}

// Seconds for a timer: a whole decimal number from 1 to a day.
std::optional<int> ParseSeconds(const char* text) {
    if (!text || !*text || std::strspn(text, "0123456789") != std::strlen(text) || std::strlen(text) > 5)
        return std::nullopt;
    const int value = std::atoi(text);
    if (value < 1 || value > 86400)
        return std::nullopt;
    return value;
}

// The word without its dashes ("--root" and "-root" are one word), or empty
// when it does not start with a dash.
std::string Word(const char* argument) {
    if (argument[0] != '-')
        return {};
    return argument + (argument[1] == '-' ? 2 : 1);
}

}  // namespace

std::optional<HostedRequest> ParseHostedCommandLine(int argc, const char* const* argv,
                                                    const char* environmentWindow) {
    bool hosted = false, root = false, ownWindow = false, windowIdGiven = false;
    HWND windowId = 0;
    const char* windowIdText = nullptr;
    RunOverrides overrides;
    for (int i = 1; i < argc; ++i) {
        const std::string word = Word(argv[i]);
        if (word == "root") {
            root = true;
        } else if (word == "window-id") {
            windowIdGiven = true;
            windowIdText = i + 1 < argc ? argv[++i] : nullptr;
            windowId = ParseWindowId(windowIdText);
        } else if (word == "window") {
            ownWindow = true;
        } else if (word == "delay" || word == "picture-delay") {
            const std::optional<int> seconds = ParseSeconds(i + 1 < argc ? argv[++i] : nullptr);
            if (seconds)
                (word == "delay" ? overrides.delay : overrides.pictureDelay) = seconds;
        } else if (word == "pictures") {
            if (i + 1 < argc)
                overrides.pictures = std::string(argv[++i]);
        } else if (word == "visual" || word == "display") {
            ++i;  // its value
        } else if (!(word == "fps" || word == "install" || word == "mono" || word.rfind("no-", 0) == 0)) {
            continue;  // not a host's word: it decides nothing
        }
        hosted = true;
    }
    if (!hosted)
        return std::nullopt;
    HostedRequest request;
    request.overrides = std::move(overrides);
    if (windowIdGiven) {
        request.where = HostedRequest::Where::kHostWindow;
        request.window = windowId;
        request.windowSource = "--window-id";
        request.windowText = windowIdText ? windowIdText : "";
    } else if (root && environmentWindow && *environmentWindow) {
        request.where = HostedRequest::Where::kHostWindow;
        request.window = ParseWindowId(environmentWindow);
        request.windowSource = "XSCREENSAVER_WINDOW";
        request.windowText = environmentWindow;
    } else if (root && !ownWindow) {
        request.where = HostedRequest::Where::kScreen;
    }
    return request;
}
