#include "picture/PictureScaling.h"

#include "platform/dc/Framebuffer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

namespace {

// For each output column (or row): the two source columns it lies between
// and the weight of the second, in 1/256ths, sampling at pixel centres.
struct Tap {
    int first, second, weight;
};

std::vector<Tap> Taps(int from, int to) {
    std::vector<Tap> taps(static_cast<std::size_t>(to));
    const double step = double(from) / to;
    for (int i = 0; i < to; ++i) {
        const double at = std::clamp((i + 0.5) * step - 0.5, 0.0, double(from - 1));
        const int first = int(at);
        taps[std::size_t(i)] = Tap{first, std::min(first + 1, from - 1), int(std::lround((at - first) * 256))};
    }
    return taps;
}

int Mix(int a, int b, int weight) { return a + (((b - a) * weight + 128) >> 8); }

}  // namespace

std::unique_ptr<BYTE[]> ScalePictureSmooth(const BYTE* pixels, int& width, int& height, double scale) {
    if (!pixels || width <= 0 || height <= 0 || !(scale > 0))
        return nullptr;
    // At least one pixel each way: a small picture shrinks, but stays.
    const double newWidth = std::max(1.0, std::round(width * scale));
    const double newHeight = std::max(1.0, std::round(height * scale));
    if (newWidth * newHeight > double(Framebuffer::kMaxPixels))
        return nullptr;
    std::unique_ptr<BYTE[]> out = ResamplePicture(pixels, width, height, int(newWidth), int(newHeight));
    if (out) {
        width = int(newWidth);
        height = int(newHeight);
    }
    return out;
}

std::unique_ptr<BYTE[]> ResamplePicture(const BYTE* pixels, int width, int height, int outWidth, int outHeight) {
    if (!pixels || width <= 0 || height <= 0 || outWidth <= 0 || outHeight <= 0 ||
        std::int64_t(outWidth) * outHeight > Framebuffer::kMaxPixels)
        return nullptr;
    std::unique_ptr<BYTE[]> out(new (std::nothrow) BYTE[std::size_t(outWidth) * std::size_t(outHeight) * 3]);
    if (!out)
        return nullptr;
    const std::vector<Tap> columns = Taps(width, outWidth), rows = Taps(height, outHeight);
    const std::size_t inRow = std::size_t(width) * 3;
    BYTE* to = out.get();
    for (const Tap& row : rows) {
        const BYTE* upper = pixels + std::size_t(row.first) * inRow;
        const BYTE* lower = pixels + std::size_t(row.second) * inRow;
        for (const Tap& column : columns) {
            for (int c = 0; c < 3; ++c) {
                const std::size_t a = std::size_t(column.first) * 3 + std::size_t(c);
                const std::size_t b = std::size_t(column.second) * 3 + std::size_t(c);
                const int top = Mix(upper[a], upper[b], column.weight);
                const int bottom = Mix(lower[a], lower[b], column.weight);
                *to++ = BYTE(Mix(top, bottom, row.weight));
            }
        }
    }
    return out;
}
