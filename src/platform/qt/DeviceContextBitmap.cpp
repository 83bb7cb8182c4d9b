// Device-independent bitmaps: the saver's background picture is one 1:1 copy
// per verse step, so this clips once and then converts whole row spans.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/dc/DeviceContext.h"
#include "platform/qt/PixelRows.h"


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
    const std::int64_t right = std::min({std::int64_t(xSrc) + srcWidth, imageWidth, m_target.Width() - dx});
    const std::int64_t top = std::max({sourceTop, std::int64_t(0), -dy});
    const std::int64_t bottom = std::min({sourceTop + srcHeight, imageHeight, m_target.Height() - dy});
    if (left >= right || top >= bottom)
        return 0;

    // The first row copied and the step to the next, in bytes and in words.
    const std::int64_t firstStoredRow = bottomUp ? imageHeight - 1 - top : top;
    const auto* firstSource = static_cast<const std::uint8_t*>(bits) + firstStoredRow * stride + left * 3;
    ConvertBgrRows(firstSource, bottomUp ? -stride : stride, m_target.Row(int(top + dy)) + (left + dx),
                   m_target.Width(), right - left, bottom - top);
    MarkDirty(int(left + dx), int(top + dy), int(right + dx), int(bottom + dy));
    return static_cast<int>(bottom - top);
}
