// Device-independent bitmaps: the saver's background picture is one 1:1 copy
// per verse step, so this is a clipped row loop that turns blue-green-red
// bytes into framebuffer words, four pixels per step.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/dc/DeviceContext.h"

namespace {

// b, g, r bytes to 0x00RRGGBB words.
void ConvertRow(const std::uint8_t* source, std::uint32_t* target, std::int64_t count) {
    std::int64_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Twelve bytes hold four pixels: three word loads, four word stores.
        for (; i + 4 <= count; i += 4, source += 12) {
            std::uint32_t w[3];
            std::memcpy(w, source, sizeof w);
            target[i] = w[0] & 0xFFFFFFu;
            target[i + 1] = (w[0] >> 24) | ((w[1] & 0xFFFFu) << 8);
            target[i + 2] = (w[1] >> 16) | ((w[2] & 0xFFu) << 16);
            target[i + 3] = w[2] >> 8;
        }
    }
    for (; i < count; ++i, source += 3)
        target[i] = std::uint32_t(source[0]) | (std::uint32_t(source[1]) << 8) | (std::uint32_t(source[2]) << 16);
}

}  // namespace

int CDC::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                       int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (!bits || !info || usage != DIB_RGB_COLORS || rop != SRCCOPY)
        return 0;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biBitCount != 24 ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0)
        return 0;
    // No scaling and no mirroring.
    if (destWidth != srcWidth || destHeight != srcHeight || srcWidth <= 0 || srcHeight <= 0)
        return 0;

    const std::int64_t imageWidth = header.biWidth;
    const std::int64_t imageHeight = header.biHeight < 0 ? -std::int64_t(header.biHeight) : header.biHeight;
    const bool bottomUp = header.biHeight > 0;
    const std::int64_t stride = (imageWidth * 24 + 31) / 32 * 4;
    // A header whose rows could not all be addressed describes no real buffer;
    // one that states a smaller image size than its rows need is inconsistent.
    if (imageHeight > std::numeric_limits<std::ptrdiff_t>::max() / stride)
        return 0;
    if (header.biSizeImage != 0 && std::int64_t(header.biSizeImage) < stride * imageHeight)
        return 0;

    // Work in source coordinates with rows numbered from the top. In a
    // bottom-up bitmap GDI counts ySrc from the bottom row.
    const std::int64_t sourceTop = bottomUp ? imageHeight - (std::int64_t(ySrc) + srcHeight) : ySrc;
    const std::int64_t dx = std::int64_t(xDest) - xSrc;
    const std::int64_t dy = std::int64_t(yDest) - sourceTop;
    const std::int64_t left = std::max({std::int64_t(xSrc), std::int64_t(0), -dx});
    const std::int64_t right = std::min({std::int64_t(xSrc) + srcWidth, imageWidth, target_.Width() - dx});
    const std::int64_t top = std::max({sourceTop, std::int64_t(0), -dy});
    const std::int64_t bottom = std::min({sourceTop + srcHeight, imageHeight, target_.Height() - dy});
    if (left >= right || top >= bottom)
        return 0;

    const auto* bytes = static_cast<const std::uint8_t*>(bits);
    for (std::int64_t row = top; row < bottom; ++row) {
        const std::int64_t storedRow = bottomUp ? imageHeight - 1 - row : row;
        ConvertRow(bytes + storedRow * stride + left * 3, target_.Row(int(row + dy)) + (left + dx), right - left);
    }
    MarkDirty(int(left + dx), int(top + dy), int(right + dx), int(bottom + dy));
    return static_cast<int>(bottom - top);
}
