#pragma once
#include <functional>
#include <vector>

// Widening a dialog whose texts do not fit the controls its template gives
// them. Dialog units come from the font the controls draw with; a face whose
// average letter is narrow for its capitals, digits and punctuation clips
// texts laid out for another face. The horizontal unit then grows, whole
// pixels at a time, until every text fits: the dialog widens as one piece
// and keeps its layout. Each side measures its texts its own way; the
// arithmetic is the same on both.

// What one control's text asks of it: the control is `cx` dialog units wide,
// and its text needs `pixels` across.
struct TextRoom {
    int cx = 0;
    int pixels = 0;
};

// A text wider than twice its average letter allows is not a font's
// proportions but a template fault: the dialog stops growing there.
constexpr int kMaxWidening = 2;

// A control `cx` dialog units wide, in pixels, with a horizontal unit of
// `unit` pixels (an average character width; four dialog units to it),
// rounded as the platform rounds it.
int DialogUnitsToPixels(int cx, int unit);

// The narrowest horizontal unit, from `unit` up to kMaxWidening times it, at
// which every control is as wide as its text needs; the bound when none is.
int WidenedUnit(int unit, const std::vector<TextRoom>& rooms);

// The narrowest width in [from, to] at which `fits` holds, for a `fits` that,
// once true, stays true as the width grows (a wrapped text's height); `to`
// when it holds nowhere below.
int NarrowestFit(int from, int to, const std::function<bool(int width)>& fits);
