#pragma once
// One font file's face at one size, as both FreeType and HarfBuzz see it:
// FreeType renders its glyphs, HarfBuzz shapes text with it. A Font holds
// its own face and the fallback faces its lines need.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;
struct hb_font_t;

// One rendered glyph, placed relative to the pen position on the baseline.
// Outline glyphs are 8-bit coverage; colour glyphs (emoji) are premultiplied
// 0xAARRGGBB pixels. Rows run top to bottom.
struct GlyphImage {
    int advance = 0;  // hinted advance in whole pixels
    int left = 0;     // bitmap's left edge, right of the pen
    int top = 0;      // bitmap's top row, above the baseline
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
    std::vector<std::uint32_t> color;
};

class FontFace {
public:
    // The face at index `index` of the file, with an em of emWidth x emHeight
    // pixels. A face with only bitmap strikes (colour emoji) is drawn from its
    // strike nearest the size, scaled. Null when the file is no usable font.
    static std::unique_ptr<FontFace> Open(FT_LibraryRec_* library, const std::string& path, int index,
                                          double emWidth, double emHeight);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_FaceRec_* Face() const { return m_face; }
    hb_font_t* Shaper() const { return m_shaper; }
    const std::string& Path() const { return m_path; }
    int Index() const { return m_index; }
    bool HasCodePoint(char32_t codePoint) const;
    // False for faces drawn from bitmap strikes.
    bool Scalable() const { return m_strikeScale == 0; }
    // HarfBuzz's scale: the em in 26.6 pixels.
    int ScaleX() const { return m_scaleX; }
    int ScaleY() const { return m_scaleY; }

    // The rendered glyph; the reference stays valid until the next call.
    const GlyphImage& Glyph(std::uint32_t glyphId);

private:
    FontFace() = default;
    GlyphImage Render(std::uint32_t glyphId) const;
    GlyphImage RenderStrike(std::uint32_t glyphId) const;

    FT_FaceRec_* m_face = nullptr;
    hb_font_t* m_shaper = nullptr;
    std::string m_path;
    int m_index = 0;
    int m_scaleX = 0;
    int m_scaleY = 0;
    // Bitmap-only faces: the strike's pixels per em against the wanted em.
    double m_strikeScale = 0;
    std::unordered_map<std::uint32_t, GlyphImage> m_glyphs;
    std::size_t m_cachedBytes = 0;
};
