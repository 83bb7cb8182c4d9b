#include "platform/qt/FontMatch.h"

#include "platform/dc/Font.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <pthread.h>

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};

// A configuration of our own, loaded once and released at exit. fontconfig's
// shared default configuration loses a block while it parses its files that
// only FcFini gives back, and FcFini would pull the configuration from under
// the toolkit, which uses it too.
FcConfig* Configuration() {
    static const std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
    return config.get();
}

// The thread of PrepareFontMatching, joined at exit, so the configuration is
// never released while it loads.
struct Preparation {
    pthread_t thread{};
    bool started = false;
    ~Preparation() {
        if (started)
            pthread_join(thread, nullptr);
    }
};
Preparation g_preparation;

const FcChar8* Utf8(const char* text) { return reinterpret_cast<const FcChar8*>(text); }

// GDI's family bits name a kind of face; fontconfig's generic aliases are the
// same idea. A fixed-pitch request also asks for a monospaced face.
const char* GenericFamily(DWORD pitchAndFamily) {
    constexpr DWORD kFixedPitch = 1;
    switch (pitchAndFamily & 0xF0) {
    case 0x10: return "serif";       // FF_ROMAN
    case 0x20: return "sans-serif";  // FF_SWISS
    case 0x30: return "monospace";   // FF_MODERN
    case 0x40: return "cursive";     // FF_SCRIPT
    case 0x50: return "fantasy";     // FF_DECORATIVE
    default: return (pitchAndFamily & 3) == kFixedPitch ? "monospace" : nullptr;
    }
}

}  // namespace

// Loads fontconfig's configuration and font list on a thread of its own, so
// that the first MatchFontFile, which waits for it, finds it ready. Reading
// them takes longer than the rest of a font's set-up; started before the
// toolkit connects to the display, it costs the first verse nothing.
void PrepareFontMatching() {
    if (g_preparation.started)
        return;
    // Without a thread the configuration simply loads on first use.
    g_preparation.started = pthread_create(&g_preparation.thread, nullptr, [](void*) -> void* {
        Configuration();
        return nullptr;
    }, nullptr) == 0;
}

namespace {

// The request as a fontconfig pattern, substituted and ready to match.
PatternPtr RequestPattern(FcConfig* config, const FontRequest& request, bool outlinesOnly,
                          const std::function<void(FcPattern*)>& extra) {
    PatternPtr pattern(FcPatternCreate());
    if (!config || !pattern)
        return nullptr;
    // The face name comes first and the generic family after it, so a known
    // face always wins and an unknown one falls back to the family's face
    // rather than to the system's default sans-serif.
    if (!request.faceName.empty())
        FcPatternAddString(pattern.get(), FC_FAMILY, Utf8(request.faceName.c_str()));
    if (const char* generic = GenericFamily(request.pitchAndFamily))
        FcPatternAddString(pattern.get(), FC_FAMILY, Utf8(generic));
    const int weight = request.weight <= 0 ? 400 : std::min(request.weight, 1000);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    // Only outline fonts can be sized to an arbitrary cell height.
    if (outlinesOnly)
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (extra)
        extra(pattern.get());
    if (!FcConfigSubstitute(config, pattern.get(), FcMatchPattern))
        return nullptr;
    FcDefaultSubstitute(pattern.get());
    return pattern;
}

std::optional<FontFile> FileOf(const FcPattern* match) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) != FcResultMatch || !path)
        return std::nullopt;
    FontFile file;
    file.path = reinterpret_cast<const char*>(path);
    FcPatternGetInteger(match, FC_INDEX, 0, &file.index);
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
        file.family = reinterpret_cast<const char*>(family);
    return file;
}

}  // namespace

std::optional<FontFile> MatchFontFile(const FontRequest& request) {
    FcConfig* config = Configuration();
    const PatternPtr pattern = RequestPattern(config, request, true, nullptr);
    if (!pattern)
        return std::nullopt;
    FcResult result = FcResultNoMatch;
    const PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    return match ? FileOf(match.get()) : std::nullopt;
}

std::optional<FontFile> MatchFallbackFontFile(const FontRequest& request, char32_t codePoint,
                                              const std::string& language, bool colour) {
    struct CharSetDeleter {
        void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
    };
    const std::unique_ptr<FcCharSet, CharSetDeleter> wanted(FcCharSetCreate());
    if (!wanted || !FcCharSetAddChar(wanted.get(), codePoint))
        return std::nullopt;
    FcConfig* config = Configuration();
    // Colour emoji come as bitmap strikes, which are scaled to the size.
    const PatternPtr pattern = RequestPattern(config, request, false, [&](FcPattern* p) {
        FcPatternAddCharSet(p, FC_CHARSET, wanted.get());
        if (!language.empty())
            FcPatternAddString(p, FC_LANG, Utf8(language.c_str()));
        if (colour)
            FcPatternAddBool(p, FC_COLOR, FcTrue);
    });
    if (!pattern)
        return std::nullopt;
    FcResult result = FcResultNoMatch;
    const PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    // The match is only the closest face: it may still lack the character.
    FcCharSet* has = nullptr;
    FcBool isColour = FcFalse;
    if (!match || FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &has) != FcResultMatch ||
        !FcCharSetHasChar(has, codePoint))
        return std::nullopt;
    if (colour && (FcPatternGetBool(match.get(), FC_COLOR, 0, &isColour) != FcResultMatch || !isColour))
        return std::nullopt;
    return FileOf(match.get());
}
