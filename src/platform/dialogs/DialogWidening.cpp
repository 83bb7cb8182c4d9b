#include "platform/dialogs/DialogWidening.h"

#include <algorithm>
#include <cstdint>

int DialogUnitsToPixels(int cx, int unit) {
    // cx * unit / 4, halves away from zero, as MulDiv rounds.
    const std::int64_t product = std::int64_t(cx) * unit;
    const std::int64_t rounded = product < 0 ? -((-product + 2) / 4) : (product + 2) / 4;
    return int(std::clamp<std::int64_t>(rounded, INT32_MIN, INT32_MAX));
}

int WidenedUnit(int unit, const std::vector<TextRoom>& rooms) {
    if (unit <= 0)
        return unit;
    const int widest = unit * kMaxWidening;
    for (int u = unit; u < widest; ++u) {
        const bool fits = std::all_of(rooms.begin(), rooms.end(),
                                      [u](const TextRoom& r) { return DialogUnitsToPixels(r.cx, u) >= r.pixels; });
        if (fits)
            return u;
    }
    return widest;
}

int NarrowestFit(int from, int to, const std::function<bool(int width)>& fits) {
    if (from >= to || fits(from))
        return from;
    // fits(lo) is false; the answer lies in (lo, hi].
    int lo = from, hi = to;
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        (fits(mid) ? hi : lo) = mid;
    }
    return hi;
}
