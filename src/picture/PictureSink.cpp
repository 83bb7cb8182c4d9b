#include "picture/PictureSink.h"

#include "picture/AreaAveraging.h"
#include "picture/PictureScaling.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

// Weights down are in 1/16384ths, across in 1/256ths (so that the three
// channels of a pixel fit one 64-bit product, 16 bits each); every kept
// pixel's weights sum to exactly one, so a flat colour stays exactly that
// colour.
constexpr std::int64_t kDownOne = std::int64_t(1) << 14;
constexpr std::int64_t kAcrossOne = 256;

// How much of kept pixel `out` (of `outCount`) lies before source position
// `at` (of `inCount`), in units of 1/`one`. Source pixel i then weighs
// Covered(out, i + 1) - Covered(out, i): integers throughout, so the weights
// of one kept pixel add up exactly.
std::int64_t Covered(std::int64_t out, std::int64_t at, std::int64_t inCount, std::int64_t outCount,
                     std::int64_t one) {
    const std::int64_t overlap = std::clamp<std::int64_t>(at * outCount - out * inCount, 0, inCount);
    return (overlap * one + inCount / 2) / inCount;
}

// At most this many source rows to a kept row for the 16-bit averaging.
constexpr std::int64_t kMostRowsPerKeptRow = 64;

// The bytes that pad each row of a bitmap to `stride`, zeroed (the pixels
// are all written later: zeroing them too would cost a pass over the
// whole bitmap).
void ZeroPadding(BYTE* rows, std::size_t length, std::size_t stride, int count) {
    if (stride == length)
        return;
    for (int y = 0; y < count; ++y)
        std::memset(rows + std::size_t(y) * stride + length, 0, stride - length);
}

}  // namespace

PictureSize FitPicture(int width, int height, const PictureArea& area) {
    if (width <= 0 || height <= 0 || area.width <= 0 || area.height <= 0)
        return {};
    const std::int64_t w = width, h = height, aw = area.width, ah = area.height;
    if (w <= aw && h <= ah && area.scale > 0) {
        // As the GIF pictures are: s times larger on a scaled desktop.
        const double sw = std::max(1.0, std::round(double(w) * area.scale));
        const double sh = std::max(1.0, std::round(double(h) * area.scale));
        if (sw <= double(aw) && sh <= double(ah))
            return {int(sw), int(sh)};
    }
    // Shrunk to the side that limits it, the other side rounded to the
    // nearest pixel: the aspect is kept to within half a pixel.
    if (aw * h <= ah * w)
        return {int(aw), int(std::clamp<std::int64_t>((h * aw + w / 2) / w, 1, ah))};
    return {int(std::clamp<std::int64_t>((w * ah + h / 2) / h, 1, aw)), int(ah)};
}

PictureSize PictureSink::Target(int width, int height, int orientation) const {
    if (IsSideways(orientation)) {
        const PictureSize upright = FitPicture(height, width, m_area);
        return {upright.height, upright.width};
    }
    return FitPicture(width, height, m_area);
}

bool PictureSink::Fail(std::string reason) {
    if (m_failure.empty())
        m_failure = std::move(reason);
    return false;
}

bool PictureSink::Begin(int width, int height, int fullWidth, int fullHeight, int orientation) {
    if (m_begun)
        return Fail("picture started twice");
    m_begun = true;
    if (width <= 0 || height <= 0 || fullWidth <= 0 || fullHeight <= 0 ||
        std::int64_t(width) * height > kMaxDecodedPixels)
        return Fail("picture size out of bounds");
    const PictureSize target = Target(fullWidth, fullHeight, orientation);
    if (target.width <= 0 || target.height <= 0)
        return Fail("no area to show the picture in");
    m_inWidth = width;
    m_inHeight = height;
    m_orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
    // A picture drawn larger than decoded is kept whole and enlarged at the
    // end; one drawn smaller is shrunk row by row as it comes.
    m_enlarge = target.width > width || target.height > height;
    m_outWidth = m_enlarge ? width : target.width;
    m_outHeight = m_enlarge ? height : target.height;
    m_bgr.resize(std::size_t(width) * 3);
    // An upright picture is kept straight in the bottom-up bitmap the saver
    // paints (zeroed, for the padding): no second picture-sized block.
    m_direct = !m_enlarge && m_orientation == 1;
    m_keptStride = m_direct ? (std::size_t(m_outWidth) * 3 + 3) & ~std::size_t(3) : std::size_t(m_outWidth) * 3;
    m_pixels.reset(new (std::nothrow) BYTE[m_keptStride * std::size_t(m_outHeight)]);
    if (!m_pixels)
        return Fail("out of memory");
    if (m_direct)
        ZeroPadding(m_pixels.get(), std::size_t(m_outWidth) * 3, m_keptStride, m_outHeight);
    if (m_enlarge) {
        m_enlargeTo = target;
        return true;
    }
    // Column weights: each kept column averages the source columns it covers.
    m_taps = 0;
    for (std::int64_t x = 0; x < m_outWidth; ++x) {
        const std::int64_t first = x * width / m_outWidth;
        const std::int64_t last = std::min<std::int64_t>(((x + 1) * width - 1) / m_outWidth, width - 1);
        m_taps = std::max(m_taps, int(last - first + 1));
    }
    // Down then across, on 16-bit lanes, unless a kept row covers so many
    // source rows that weights in 1/256ths would skip some of them.
    m_byRows = std::int64_t(height) <= kMostRowsPerKeptRow * std::int64_t(m_outHeight);
    if (m_byRows)
        m_taps += m_taps & 1;  // the columns go in twos
    m_columnStart.assign(std::size_t(m_outWidth), 0);
    m_columnWeights.assign(std::size_t(m_outWidth) * std::size_t(m_taps), 0);
    for (std::int64_t x = 0; x < m_outWidth; ++x) {
        const std::int64_t first = x * width / m_outWidth;
        const std::int64_t last = std::min<std::int64_t>(((x + 1) * width - 1) / m_outWidth, width - 1);
        // Near the right edge the window starts earlier, so it never reads
        // past the row; the columns before `first` weigh nothing.
        const std::int64_t start = std::max<std::int64_t>(0, std::min<std::int64_t>(first, width - m_taps));
        m_columnStart[std::size_t(x)] = int(start);
        std::uint16_t* weights = &m_columnWeights[std::size_t(x) * std::size_t(m_taps)];
        for (std::int64_t i = first; i <= last; ++i)
            weights[i - start] =
                std::uint16_t(Covered(x, i + 1, width, m_outWidth, kAcrossOne) -
                              Covered(x, i, width, m_outWidth, kAcrossOne));
    }
    if (m_byRows) {
        const int pairs = m_taps / 2;
        m_pairWeights.resize(std::size_t(m_outWidth) * std::size_t(pairs) * kPairWeightValues);
        for (std::size_t i = 0; i < m_pairWeights.size(); ++i) {
            const std::size_t pair = i / kPairWeightValues;
            m_pairWeights[i] = m_columnWeights[2 * pair] | std::uint32_t(m_columnWeights[2 * pair + 1]) << 16;
        }
        m_columnWeights = {};
        // Zeros past the row: the last window may reach one pixel beyond
        // it, at weight zero, and the vector loads read a few values more.
        for (auto& sums : m_downSums)
            sums.assign(std::size_t(width) * 3 + 16, 0);
        return true;
    }
    m_packedRow.assign(std::size_t(width), 0);
    m_shrunkRow.assign(std::size_t(m_outWidth) * 3, 0);
    for (auto& sums : m_rowSums)
        sums.assign(std::size_t(m_outWidth) * 3, 0);
    return true;
}

BYTE* PictureSink::KeptRow(int y) {
    const std::size_t row = m_direct ? std::size_t(m_outHeight - 1 - y) : std::size_t(y);
    return m_pixels.get() + row * m_keptStride;
}

bool PictureSink::PushBGR(const BYTE* row) { return Push(row, 0); }
bool PictureSink::PushBGRA(const BYTE* row) { return Push(row, 1); }
bool PictureSink::PushRGB(const BYTE* row) { return Push(row, 2); }
bool PictureSink::PushRGBA(const BYTE* row) { return Push(row, 3); }

bool PictureSink::Push(const BYTE* row, int order) {
    if (!m_begun || !m_pixels || !m_failure.empty())
        return false;
    if (Stopped())
        return Fail("stopped");
    if (m_rowsIn >= m_inHeight)
        return Fail("too many rows");
    const std::size_t width = std::size_t(m_inWidth);
    const BYTE* bgr = row;
    if (order != 0) {
        const bool alpha = order & 1, swap = order & 2;
        const std::size_t step = alpha ? 4 : 3;
        BYTE* to = m_bgr.data();
        for (std::size_t x = 0; x < width; ++x, row += step, to += 3) {
            const BYTE b = swap ? row[2] : row[0], r = swap ? row[0] : row[2];
            if (!alpha || row[3] == 255) {
                to[0] = b, to[1] = row[1], to[2] = r;
            } else {
                // Straight alpha over the back colour, rounded to nearest.
                const unsigned a = row[3], na = 255 - a;
                to[0] = BYTE((b * a + m_area.back[0] * na + 127) / 255);
                to[1] = BYTE((row[1] * a + m_area.back[1] * na + 127) / 255);
                to[2] = BYTE((r * a + m_area.back[2] * na + 127) / 255);
            }
        }
        bgr = m_bgr.data();
    }
    if (m_enlarge || (m_outWidth == m_inWidth && m_outHeight == m_inHeight))
        std::memcpy(KeptRow(m_rowsIn), bgr, width * 3);
    else
        ShrinkRow(bgr);
    ++m_rowsIn;
    return true;
}

namespace {

// One row averaged across: each kept pixel is the weighted sum of `taps`
// source pixels, each packed as blue | green << 16 | red << 32, so one
// multiplication weighs all three channels (a sum never exceeds 255 * 256,
// so no field spills into the next); 8 fractional bits are kept for the
// pass down. A fixed count lets the compiler unroll the common cases.
template <int kTaps>
void ShrinkAcross(const std::uint64_t* packed, std::size_t outWidth, const int* starts,
                  const std::uint16_t* weights, int taps, std::uint16_t* shrunk) {
    const int count = kTaps > 0 ? kTaps : taps;
    for (std::size_t x = 0; x < outWidth; ++x, weights += count, shrunk += 3) {
        const std::uint64_t* p = packed + starts[x];
        std::uint64_t sum = 0;
        for (int k = 0; k < count; ++k)
            sum += weights[k] * p[k];
        shrunk[0] = std::uint16_t(sum);
        shrunk[1] = std::uint16_t(sum >> 16);
        shrunk[2] = std::uint16_t(sum >> 32);
    }
}

// Plain loops over separate arrays (`__restrict`), which the compiler turns
// into vector instructions.
void AddDown32(std::uint32_t* __restrict sums, const std::uint16_t* __restrict shrunk, std::uint32_t weight,
             std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        sums[i] += weight * shrunk[i];
}

// A finished kept row: the sums, rounded, become bytes and start again at zero.
void WriteDown(BYTE* __restrict to, std::uint32_t* __restrict sums, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        to[i] = BYTE(std::min<std::uint32_t>(255, (sums[i] + (1u << 21)) >> 22));
        sums[i] = 0;
    }
}

}  // namespace

// Source row `m_rowsIn` is averaged across into kept columns, then added to
// the one or two kept rows it overlaps; a kept row is written out once its
// last source row is in.
void PictureSink::ShrinkRow(const BYTE* bgr) {
    if (m_byRows) {
        ShrinkDownFirst(bgr);
        return;
    }
    const std::size_t outWidth = std::size_t(m_outWidth);
    std::uint64_t* packed = m_packedRow.data();
    for (std::size_t i = 0, width = std::size_t(m_inWidth); i < width; ++i, bgr += 3)
        packed[i] = bgr[0] | std::uint64_t(bgr[1]) << 16 | std::uint64_t(bgr[2]) << 32;
    std::uint16_t* shrunk = m_shrunkRow.data();
    const int* starts = m_columnStart.data();
    const std::uint16_t* weights = m_columnWeights.data();
    switch (m_taps) {
    case 1: ShrinkAcross<1>(packed, outWidth, starts, weights, 1, shrunk); break;
    case 2: ShrinkAcross<2>(packed, outWidth, starts, weights, 2, shrunk); break;
    case 3: ShrinkAcross<3>(packed, outWidth, starts, weights, 3, shrunk); break;
    case 4: ShrinkAcross<4>(packed, outWidth, starts, weights, 4, shrunk); break;
    default: ShrinkAcross<0>(packed, outWidth, starts, weights, m_taps, shrunk); break;
    }
    const std::int64_t j = m_rowsIn, in = m_inHeight, out = m_outHeight;
    const std::int64_t first = j * out / in, last = ((j + 1) * out - 1) / in;
    for (std::int64_t y = first; y <= last && y < out; ++y) {
        const std::uint32_t weight =
            std::uint32_t(Covered(y, j + 1, in, out, kDownOne) - Covered(y, j, in, out, kDownOne));
        std::uint32_t* sums = m_rowSums[y & 1].data();
        if (weight != 0)
            AddDown32(sums, shrunk, weight, outWidth * 3);
        // Kept row y ends within source row j: it is complete.
        if ((y + 1) * in <= (j + 1) * out) {
            WriteDown(KeptRow(int(y)), sums, outWidth * 3);
            ++m_rowsOut;
        }
    }
}

// Source row `m_rowsIn` is weighed into the one or two kept rows it
// overlaps (the first of a kept row's source rows starts its sums); a kept
// row whose last source row this is gets averaged across into its bytes.
void PictureSink::ShrinkDownFirst(const BYTE* bgr) {
    const std::size_t count = std::size_t(m_inWidth) * 3;
    const std::int64_t j = m_rowsIn, in = m_inHeight, out = m_outHeight;
    const std::int64_t first = j * out / in, last = ((j + 1) * out - 1) / in;
    const auto weight = [&](std::int64_t y) {
        return unsigned(Covered(y, j + 1, in, out, kAreaWeightOne) - Covered(y, j, in, out, kAreaWeightOne));
    };
    const auto across = [&](std::int64_t y) {
        ShrinkAcross(m_downSums[y & 1].data(), std::size_t(m_outWidth), m_columnStart.data(), m_pairWeights.data(),
                     m_taps / 2, KeptRow(int(y)));
        ++m_rowsOut;
    };
    // Kept row y starts in this source row when y * in / out == j, and ends
    // in it when (y + 1) * in <= (j + 1) * out.
    if (last == first + 1 && last < out && first * in / out != j && (first + 1) * in <= (j + 1) * out &&
        last * in / out == j && (last + 1) * in > (j + 1) * out) {
        SplitDown(m_downSums[first & 1].data(), m_downSums[last & 1].data(), bgr, weight(first), weight(last),
                  count);
        across(first);
        return;
    }
    for (std::int64_t y = first; y <= last && y < out; ++y) {
        const bool starts = y * in / out == j, ends = (y + 1) * in <= (j + 1) * out;
        WeighDown(m_downSums[y & 1].data(), bgr, weight(y), count, starts, ends);
        if (ends)
            across(y);
    }
}

PictureBitmap PictureSink::Finish() {
    PictureBitmap bitmap;
    if (!m_begun || !m_pixels || !m_failure.empty())
        return bitmap;
    if (Stopped()) {
        Fail("stopped");
        return bitmap;
    }
    if (m_rowsIn != m_inHeight) {
        Fail("picture data ends early");
        return bitmap;
    }
    if (m_direct) {
        bitmap.bits = std::move(m_pixels);
        bitmap.width = m_outWidth;
        bitmap.height = m_outHeight;
        return bitmap;
    }
    std::unique_ptr<BYTE[]> kept = std::move(m_pixels);
    int width = m_outWidth, height = m_outHeight;
    if (m_enlarge) {
        kept = ResamplePicture(kept.get(), width, height, m_enlargeTo.width, m_enlargeTo.height);
        if (!kept) {
            Fail("out of memory");
            return bitmap;
        }
        width = m_enlargeTo.width;
        height = m_enlargeTo.height;
    }
    // Upright and bottom-up in one pass: for each shown pixel, the stored one
    // it comes from, walked with a fixed step along the row and the column.
    const bool sideways = IsSideways(m_orientation);
    const int shownWidth = sideways ? height : width, shownHeight = sideways ? width : height;
    const std::ptrdiff_t row = std::ptrdiff_t(width) * 3, pixel = 3;
    const std::ptrdiff_t right = std::ptrdiff_t(width - 1) * 3, bottom = std::ptrdiff_t(height - 1) * row;
    std::ptrdiff_t origin = 0, stepX = pixel, stepY = row;  // orientation 1
    switch (m_orientation) {
    case 2: origin = right, stepX = -pixel, stepY = row; break;
    case 3: origin = right + bottom, stepX = -pixel, stepY = -row; break;
    case 4: origin = bottom, stepX = pixel, stepY = -row; break;
    case 5: origin = 0, stepX = row, stepY = pixel; break;
    case 6: origin = bottom, stepX = -row, stepY = pixel; break;
    case 7: origin = bottom + right, stepX = -row, stepY = -pixel; break;
    case 8: origin = right, stepX = row, stepY = -pixel; break;
    default: break;
    }
    const std::size_t stride = (std::size_t(shownWidth) * 3 + 3) & ~std::size_t(3);
    bitmap.bits.reset(new (std::nothrow) BYTE[stride * std::size_t(shownHeight)]);
    if (!bitmap.bits) {
        Fail("out of memory");
        return bitmap;
    }
    ZeroPadding(bitmap.bits.get(), std::size_t(shownWidth) * 3, stride, shownHeight);
    const BYTE* source = kept.get();
    for (int y = 0; y < shownHeight; ++y) {
        BYTE* to = bitmap.bits.get() + std::size_t(shownHeight - 1 - y) * stride;
        const BYTE* from = source + origin + stepY * y;
        if (stepX == pixel) {
            std::memcpy(to, from, std::size_t(shownWidth) * 3);
            continue;
        }
        for (int x = 0; x < shownWidth; ++x, to += 3, from += stepX) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    bitmap.width = shownWidth;
    bitmap.height = shownHeight;
    return bitmap;
}
