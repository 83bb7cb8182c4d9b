#pragma once
// The part of the picture step every decoder shares: a decoder reports the
// size it found, then hands over its rows one at a time, top first; the sink
// shrinks them to the fitted size as they come (so no full-size copy of a
// large photo is ever held), composites alpha over the back colour, and at
// the end turns the result upright into the bottom-up bitmap the saver paints.
#include "platform/WinTypes.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the picture is shown in.
struct PictureArea {
    int width = 0;    // device pixels; a picture larger than this is shrunk to fit
    int height = 0;
    double scale = 1.0;          // the display scale: a smaller picture is drawn this many times larger
    BYTE back[3] = {0, 0, 0};    // blue, green, red under transparent pixels
    const std::atomic<bool>* stop = nullptr;  // set: end soon, without a picture
};

// A picture ready for drawing: 24-bit bottom-up rows padded to 4 bytes.
struct PictureBitmap {
    std::unique_ptr<BYTE[]> bits;
    int width = 0;
    int height = 0;
};

// The largest picture a decoder may produce, shrunk or not: the cost of one
// picture is bounded by it (a 50-megapixel photo decodes scaled to stay under it).
constexpr std::int64_t kMaxDecodedPixels = std::int64_t(8192) * 8192;

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The size a `width` x `height` picture is drawn at in `area`, upright:
// shrunk to fit when larger (aspect kept), else `area.scale` times larger,
// though never beyond the area. At least 1 x 1; zero for an empty area.
PictureSize FitPicture(int width, int height, const PictureArea& area);

// EXIF orientations 5 to 8 store the picture on its side.
inline bool IsSideways(int orientation) { return orientation >= 5 && orientation <= 8; }

class PictureSink {
public:
    explicit PictureSink(const PictureArea& area) : m_area(area) {}

    const PictureArea& Area() const { return m_area; }
    // The size rows are to be shrunk to, for a stored `width` x `height`
    // picture with EXIF `orientation` (in stored orientation, so sideways
    // pictures get their sides swapped).
    PictureSize Target(int width, int height, int orientation) const;

    // Starts a picture whose rows are `width` x `height` (perhaps already
    // reduced by the decoder) and whose whole stored size was `fullWidth` x
    // `fullHeight`; the fit is taken from the latter, so the aspect is the
    // picture's own. False, with a reason, when either is out of bounds or
    // memory runs out.
    bool Begin(int width, int height, int fullWidth, int fullHeight, int orientation);
    // One row of `width` pixels: blue, green, red (and alpha) bytes.
    // False once the picture has been abandoned.
    bool PushBGR(const BYTE* row);
    bool PushBGRA(const BYTE* row);
    // Red, green, blue (and alpha) order, as some libraries give it.
    bool PushRGB(const BYTE* row);
    bool PushRGBA(const BYTE* row);

    bool Stopped() const { return m_area.stop && m_area.stop->load(std::memory_order_relaxed); }
    // Records why the picture failed; the first reason is kept.
    bool Fail(std::string reason);
    const std::string& Failure() const { return m_failure; }

    // The upright bitmap; null unless every row arrived and nothing failed.
    PictureBitmap Finish();

private:
    bool Push(const BYTE* row, int order);  // order: 0 BGR, 1 BGRA, 2 RGB, 3 RGBA
    void ShrinkRow(const BYTE* bgr);
    void ShrinkDownFirst(const BYTE* bgr);
    BYTE* KeptRow(int y);

    PictureArea m_area;
    std::string m_failure;
    bool m_begun = false;
    int m_inWidth = 0, m_inHeight = 0;   // rows as pushed
    int m_outWidth = 0, m_outHeight = 0; // rows as kept, in stored orientation
    int m_orientation = 1;
    bool m_enlarge = false;              // kept at full size, enlarged at the end
    PictureSize m_enlargeTo;
    int m_rowsIn = 0, m_rowsOut = 0;
    // The kept rows: top row first, packed; or, when m_direct, already the
    // finished bitmap (bottom-up, rows padded to 4 bytes).
    std::unique_ptr<BYTE[]> m_pixels;
    bool m_direct = false;
    std::size_t m_keptStride = 0;
    std::vector<BYTE> m_bgr;             // one pushed row, made blue-green-red

    // Area averaging across: every kept column weighs m_taps source columns
    // from its start (zero weights pad the columns that cover fewer), so the
    // loop has one fixed length.
    int m_taps = 0;
    std::vector<int> m_columnStart;
    std::vector<std::uint16_t> m_columnWeights;  // m_taps per kept column
    std::vector<std::uint64_t> m_packedRow;       // a pushed row, a pixel's channels 16 bits apart
    std::vector<std::uint16_t> m_shrunkRow;       // a row shrunk across, 8 fractional bits
    std::vector<std::uint32_t> m_rowSums[2];      // kept rows being summed, by parity
    // Or down first (m_byRows): source rows are summed into kept rows of
    // source width, by parity, and each complete kept row is averaged
    // across, its columns' weights two to a value.
    bool m_byRows = false;
    std::vector<std::uint16_t> m_downSums[2];
    std::vector<std::uint32_t> m_pairWeights;
};
