#pragma once
// A line of text to positioned glyphs: the bidirectional algorithm splits it
// into runs of one direction, each run takes the script of its letters and a
// face that has them (the font's own, else a fallback), and HarfBuzz shapes
// each run. The runs are then laid out left to right in visual order.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class FontFace;

// The faces a line may draw from: the font's own face first, fallbacks
// added as the lines need them.
class FaceSet {
public:
    virtual ~FaceSet() = default;
    virtual FontFace& FaceAt(std::size_t index) = 0;
    // The index of a face that has the code point, 0 when no face does.
    // `language` is a hint (an ISO 639 code, or empty) for scripts whose
    // letters differ by language, such as the Han characters; `colour` asks
    // for a colour face (emoji) and finds none when no colour face has it.
    virtual std::size_t FaceFor(char32_t codePoint, std::string_view language, bool colour) = 0;
};

struct PlacedGlyph {
    std::size_t face = 0;       // index into the FaceSet
    std::uint32_t id = 0;       // glyph index in that face
    std::uint32_t cluster = 0;  // index of the first code point it draws
    std::int64_t x = 0;         // pen position in whole pixels from the line's left edge
    int rise = 0;               // whole pixels above the baseline
    std::int32_t advance = 0;   // the shaper's advance, 26.6 pixels
};

struct ShapedLine {
    std::vector<PlacedGlyph> glyphs;  // in visual order, left to right
    std::int64_t width = 0;           // the line's advance in whole pixels
};

// Runs in scripts drawn without shaping on Windows (Latin, Greek, Cyrillic,
// digits and punctuation) keep GDI's placement: hinted whole-pixel advances,
// no kerning, no ligatures. Every other run is placed as HarfBuzz shapes it.
ShapedLine ShapeLine(std::u32string_view text, FaceSet& faces);
