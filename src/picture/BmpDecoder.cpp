// Windows bitmaps, read here (no library is needed for so plain a format):
// 1, 4 and 8 bits through a palette, 16 and 32 bits through channel masks,
// 24 bits as they are. Compressed (run-length) bitmaps are not read.
#include "picture/PictureDecoders.h"

#include <cstdint>
#include <vector>

namespace {

std::uint32_t Read16(const BYTE* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t Read32(const BYTE* p) { return Read16(p) | Read16(p + 2) << 16; }

// One channel of a masked pixel, widened or narrowed to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (!mask)
            return;
        while (!((mask >> shift) & 1))
            ++shift;
        max = mask >> shift;
    }
    BYTE operator()(std::uint32_t pixel) const {
        return max ? BYTE((((pixel & mask) >> shift) * 255 + max / 2) / max) : 0;
    }
};

constexpr std::uint32_t kRgb = 0, kBitfields = 3, kAlphaBitfields = 6;

}  // namespace

bool DecodeBmp(const BYTE* data, std::size_t size, PictureSink& sink) {
    if (size < 26)
        return sink.Fail("BMP: too short");
    const std::uint32_t offset = Read32(data + 10);
    const std::uint32_t header = Read32(data + 14);
    const bool core = header == 12;
    if (size < 14 + std::size_t(header) || header < 12)
        return sink.Fail("BMP: header cut short");
    const std::int64_t width = core ? Read16(data + 18) : std::int32_t(Read32(data + 18));
    std::int64_t height = core ? std::int16_t(Read16(data + 20)) : std::int32_t(Read32(data + 22));
    const int bits = int(Read16(data + (core ? 24 : 28)));
    const std::uint32_t compression = core ? kRgb : Read32(data + 30);
    const bool topDown = height < 0;
    height = topDown ? -height : height;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 || width * height > kMaxDecodedPixels)
        return sink.Fail("picture size out of bounds");
    if (compression != kRgb && !((compression == kBitfields || compression == kAlphaBitfields) &&
                                 (bits == 16 || bits == 32)))
        return sink.Fail("BMP: compression not read");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return sink.Fail("BMP: bit depth not read");

    // The masks: after a plain info header, or inside a larger one.
    Channel red(0x7C00), green(0x03E0), blue(0x001F), alpha;
    if (bits == 32 && compression == kRgb)
        red = Channel(0xFF0000), green = Channel(0xFF00), blue = Channel(0xFF);
    if (compression != kRgb) {
        const std::size_t masks = 14 + 40;
        const bool withAlpha = compression == kAlphaBitfields || header >= 56;
        if (size < masks + (withAlpha ? 16 : 12))
            return sink.Fail("BMP: masks cut short");
        red = Channel(Read32(data + masks));
        green = Channel(Read32(data + masks + 4));
        blue = Channel(Read32(data + masks + 8));
        if (withAlpha)
            alpha = Channel(Read32(data + masks + 12));
    }
    std::vector<BYTE> palette;  // blue, green, red, alpha
    if (bits <= 8) {
        const std::size_t at = 14 + std::size_t(header), entry = core ? 3 : 4;
        std::size_t count = core ? 0 : Read32(data + 46);
        if (count == 0 || count > (1u << bits))
            count = std::size_t(1) << bits;
        if (at + count * entry > size)
            return sink.Fail("BMP: palette cut short");
        palette.assign((std::size_t(1) << bits) * 4, 0);
        for (std::size_t i = 0; i < count; ++i)
            for (std::size_t c = 0; c < 3; ++c)
                palette[i * 4 + c] = data[at + i * entry + c];
    }
    const std::size_t stride = (std::size_t(width) * std::size_t(bits) + 31) / 32 * 4;
    if (offset > size || (size - offset) / stride < std::size_t(height))
        return sink.Fail("BMP: pixel data cut short");
    if (!sink.Begin(int(width), int(height), int(width), int(height), 1))
        return false;

    std::vector<BYTE> row(std::size_t(width) * 4);
    for (std::int64_t y = 0; y < height; ++y) {
        const BYTE* in = data + offset + std::size_t(topDown ? y : height - 1 - y) * stride;
        BYTE* out = row.data();
        for (std::int64_t x = 0; x < width; ++x, out += 4) {
            if (bits <= 8) {
                const std::size_t bit = std::size_t(x) * std::size_t(bits);
                const unsigned index = (in[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                const BYTE* colour = &palette[index * 4];
                out[0] = colour[0], out[1] = colour[1], out[2] = colour[2], out[3] = 255;
            } else if (bits == 24) {
                const BYTE* p = in + x * 3;
                out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = 255;
            } else {
                const std::uint32_t pixel = bits == 16 ? Read16(in + x * 2) : Read32(in + x * 4);
                out[0] = blue(pixel), out[1] = green(pixel), out[2] = red(pixel);
                out[3] = alpha.mask ? alpha(pixel) : 255;
            }
        }
        if (!sink.PushBGRA(row.data()))
            return false;
    }
    return true;
}
