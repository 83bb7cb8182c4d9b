#pragma once
// Turns a GDI font request into a font file on this machine through
// fontconfig, so that Windows face names ("Courier New", "Arial") land on their
// metric-compatible stand-ins and unknown names on a face of the asked family.
#include <optional>
#include <string>

#include "platform/WinTypes.h"

struct FontRequest {
    std::string faceName;       // may be empty: any face of the family
    int weight = 400;           // GDI weight, 0 = don't care
    bool italic = false;
    DWORD pitchAndFamily = 0;   // GDI pitch (low 2 bits) and family (0x10..0x50)
};

struct FontFile {
    std::string path;
    int index = 0;              // face index inside the file (collections, instances)
    std::string family;         // the family fontconfig resolved, e.g. "Liberation Mono"
};

std::optional<FontFile> MatchFontFile(const FontRequest& request);

// A face, as like the request as fontconfig finds, that has the code point
// (as terminals and browsers fall back); none when no installed face has it.
// `language` (ISO 639, may be empty) picks among faces that draw the same
// character differently. `colour` asks for a colour face (emoji) only.
std::optional<FontFile> MatchFallbackFontFile(const FontRequest& request, char32_t codePoint,
                                              const std::string& language, bool colour);
