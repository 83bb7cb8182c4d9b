#include "platform/qt/LineShaper.h"

#include <fribidi.h>
#include <hb.h>

#include <algorithm>
#include <memory>

#include "platform/qt/FontFace.h"

namespace {

struct Run {
    std::size_t start = 0;
    std::size_t end = 0;
    int level = 0;  // bidi embedding level: odd runs right to left
    hb_script_t script = HB_SCRIPT_COMMON;
    std::size_t face = 0;
};

struct BufferDeleter {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};

bool Neutral(hb_script_t script) {
    return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
}

// Scripts GDI draws glyph by glyph from the character map.
bool PlacedAsGdiDoes(hb_script_t script) {
    return Neutral(script) || script == HB_SCRIPT_LATIN || script == HB_SCRIPT_GREEK ||
           script == HB_SCRIPT_CYRILLIC;
}

// Code points that belong to the character before them: marks, joiners,
// variation selectors, emoji modifiers and tags. They take its face, so a
// cluster is never split between fonts.
bool Continues(char32_t codePoint, hb_unicode_funcs_t* unicode) {
    switch (hb_unicode_general_category(unicode, codePoint)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
        return true;
    default:
        break;
    }
    return codePoint == 0x200C || codePoint == 0x200D || (codePoint >= 0xFE00 && codePoint <= 0xFE0F) ||
           (codePoint >= 0x1F3FB && codePoint <= 0x1F3FF) || (codePoint >= 0xE0020 && codePoint <= 0xE007F) ||
           (codePoint >= 0xE0100 && codePoint <= 0xE01EF);
}

// Control characters show as the font's own missing-glyph box, as they do on
// Windows, rather than as whatever some other face puts there.
bool Control(char32_t codePoint, hb_unicode_funcs_t* unicode) {
    return hb_unicode_general_category(unicode, codePoint) == HB_UNICODE_GENERAL_CATEGORY_CONTROL;
}

// Pictographs shown as emoji by default, or any character asked to be one
// by the emoji variation selector: drawn in colour where a colour face has
// them, even when the font has a plain glyph.
bool Emoji(std::u32string_view text, std::size_t i) {
    const char32_t c = text[i];
    return (c >= 0x1F000 && c <= 0x1FAFF) || (i + 1 < text.size() && text[i + 1] == 0xFE0F);
}

// Han characters are drawn differently in Japanese, Korean and Chinese; kana
// or hangul in the same line tell which it is.
std::string_view LanguageHint(std::u32string_view text, hb_unicode_funcs_t* unicode) {
    for (const char32_t c : text) {
        const hb_script_t script = hb_unicode_script(unicode, c);
        if (script == HB_SCRIPT_HIRAGANA || script == HB_SCRIPT_KATAKANA)
            return "ja";
        if (script == HB_SCRIPT_HANGUL)
            return "ko";
    }
    return {};
}

bool UsesLanguageHint(hb_script_t script) {
    return script == HB_SCRIPT_HAN || script == HB_SCRIPT_HIRAGANA || script == HB_SCRIPT_KATAKANA ||
           script == HB_SCRIPT_HANGUL || Neutral(script);
}

// Embedding levels from the bidirectional algorithm, the paragraph's
// direction taken from its first strong letter.
std::vector<FriBidiLevel> BidiLevels(std::u32string_view text) {
    std::vector<FriBidiLevel> levels(text.size(), 0);
    const auto* chars = reinterpret_cast<const FriBidiChar*>(text.data());
    // A line without right-to-left letters is one left-to-right run.
    const bool rightToLeft = std::any_of(text.begin(), text.end(), [](char32_t c) {
        const FriBidiCharType type = fribidi_get_bidi_type(c);
        return FRIBIDI_IS_RTL(type) || FRIBIDI_IS_EXPLICIT(type) || FRIBIDI_IS_ISOLATE(type);
    });
    if (!rightToLeft || text.size() > std::size_t(INT32_MAX))
        return levels;
    const auto length = FriBidiStrIndex(text.size());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    fribidi_get_bidi_types(chars, length, types.data());
    fribidi_get_bracket_types(chars, length, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &direction, levels.data()) == 0)
        std::fill(levels.begin(), levels.end(), 0);
    return levels;
}

// Splits the line where the level, the script or the face changes.
std::vector<Run> Itemize(std::u32string_view text, const std::vector<FriBidiLevel>& levels, FaceSet& faces,
                         hb_unicode_funcs_t* unicode, std::string_view language) {
    const std::size_t n = text.size();
    // Scripts: neutral characters take the script before them, or after them
    // at the start of the line.
    std::vector<hb_script_t> scripts(n);
    hb_script_t current = HB_SCRIPT_COMMON;
    for (std::size_t i = 0; i < n; ++i) {
        const hb_script_t script = hb_unicode_script(unicode, text[i]);
        if (!Neutral(script))
            current = script;
        scripts[i] = Neutral(script) ? current : script;
    }
    for (std::size_t i = n; i-- > 0;)
        if (Neutral(scripts[i]) && i + 1 < n)
            scripts[i] = scripts[i + 1];

    std::vector<Run> runs;
    FontFace& own = faces.FaceAt(0);
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = text[i];
        std::size_t face = 0;
        if (i > 0 && Continues(c, unicode)) {
            face = runs.back().face;
        } else if (!Control(c, unicode)) {
            if (Emoji(text, i))
                face = faces.FaceFor(c, {}, true);
            if (face == 0 && !own.HasCodePoint(c))
                face = faces.FaceFor(c, UsesLanguageHint(scripts[i]) ? language : std::string_view(), false);
        }
        if (!runs.empty() && runs.back().level == levels[i] && runs.back().script == scripts[i] &&
            runs.back().face == face) {
            runs.back().end = i + 1;
            continue;
        }
        runs.push_back(Run{i, i + 1, levels[i], scripts[i], face});
    }
    return runs;
}

// Rule L2: from the highest level down to the lowest odd one, every stretch
// of runs at that level or above is reversed.
std::vector<std::size_t> VisualOrder(const std::vector<Run>& runs) {
    std::vector<std::size_t> order(runs.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    int highest = 0, lowestOdd = 127;
    for (const Run& run : runs) {
        highest = std::max(highest, run.level);
        if (run.level % 2)
            lowestOdd = std::min(lowestOdd, run.level);
    }
    for (int level = highest; level >= lowestOdd; --level) {
        for (std::size_t i = 0; i < order.size();) {
            if (runs[order[i]].level < level) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < order.size() && runs[order[end]].level >= level)
                ++end;
            std::reverse(order.begin() + std::ptrdiff_t(i), order.begin() + std::ptrdiff_t(end));
            i = end;
        }
    }
    return order;
}

}  // namespace

ShapedLine ShapeLine(std::u32string_view text, FaceSet& faces) {
    ShapedLine line;
    if (text.empty())
        return line;
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    const std::string_view language = LanguageHint(text, unicode);
    const std::vector<Run> runs = Itemize(text, BidiLevels(text), faces, unicode, language);
    const std::unique_ptr<hb_buffer_t, BufferDeleter> buffer(hb_buffer_create());
    static const hb_feature_t kGdiFeatures[] = {
        {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('c', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    };
    const auto* chars = reinterpret_cast<const std::uint32_t*>(text.data());

    std::int64_t pen = 0;  // 26.6 pixels
    for (const std::size_t index : VisualOrder(runs)) {
        const Run& run = runs[index];
        FontFace& face = faces.FaceAt(run.face);
        hb_buffer_t* b = buffer.get();
        hb_buffer_clear_contents(b);
        hb_buffer_add_utf32(b, chars, int(text.size()), unsigned(run.start), int(run.end - run.start));
        hb_buffer_set_direction(b, run.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_set_script(b, run.script);
        const std::string runLanguage(UsesLanguageHint(run.script) ? language : std::string_view());
        hb_buffer_set_language(b, runLanguage.empty() ? hb_language_get_default()
                                                      : hb_language_from_string(runLanguage.c_str(), -1));
        hb_buffer_set_flags(b, hb_buffer_flags_t((run.start == 0 ? HB_BUFFER_FLAG_BOT : 0) |
                                                 (run.end == text.size() ? HB_BUFFER_FLAG_EOT : 0)));
        const bool gdi = PlacedAsGdiDoes(run.script) && face.Scalable();
        hb_shape(face.Shaper(), b, gdi ? kGdiFeatures : nullptr, gdi ? 3 : 0);

        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(b, &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(b, &count);
        for (unsigned i = 0; i < count; ++i) {
            PlacedGlyph glyph;
            glyph.face = run.face;
            glyph.id = infos[i].codepoint;
            glyph.cluster = infos[i].cluster;
            glyph.advance = positions[i].x_advance;
            glyph.x = (pen + positions[i].x_offset + 32) >> 6;
            glyph.rise = (positions[i].y_offset + 32) >> 6;
            line.glyphs.push_back(glyph);
            // Marks the shaper gives no advance stay without one.
            if (gdi && positions[i].x_advance != 0)
                pen += std::int64_t(face.Glyph(glyph.id).advance) * 64;
            else
                pen += positions[i].x_advance;
        }
    }
    line.width = std::max<std::int64_t>((pen + 32) >> 6, 0);
    return line;
}
