#include "picture/PictureFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

bool StartsWith(const BYTE* bytes, std::size_t size, std::size_t at, const char* text) {
    const std::size_t length = std::strlen(text);
    return size >= at + length && std::memcmp(bytes + at, text, length) == 0;
}

std::uint32_t BigEndian32(const BYTE* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// An ISO base media file is HEIF (HEIC or AVIF) when its major brand, or one
// of the compatible brands that fit in the signature bytes, names an image
// brand; video files of the same family name none.
bool IsHeif(const BYTE* bytes, std::size_t size) {
    if (!StartsWith(bytes, size, 4, "ftyp"))
        return false;
    static const char* const kBrands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx",
                                          "mif1", "msf1", "mif2", "avif", "avis"};
    const std::size_t boxEnd = std::min<std::size_t>(size, BigEndian32(bytes));
    for (std::size_t at = 8; at + 4 <= boxEnd; at += at == 8 ? 8 : 4)  // skips the minor version
        for (const char* brand : kBrands)
            if (std::memcmp(bytes + at, brand, 4) == 0)
                return true;
    return false;
}

}  // namespace

PictureFormat DetectPictureFormat(const BYTE* bytes, std::size_t size) {
    if (!bytes)
        return PictureFormat::Unknown;
    if (StartsWith(bytes, size, 0, "GIF8"))
        return PictureFormat::Gif;
    if (StartsWith(bytes, size, 0, "\xFF\xD8\xFF"))
        return PictureFormat::Jpeg;
    if (StartsWith(bytes, size, 0, "\x89PNG\r\n\x1A\n"))
        return PictureFormat::Png;
    if (StartsWith(bytes, size, 0, "RIFF") && StartsWith(bytes, size, 8, "WEBP"))
        return PictureFormat::WebP;
    // "BM" alone begins many text files; the info header's size (one of the
    // sizes Windows has defined) makes it a bitmap.
    if (StartsWith(bytes, size, 0, "BM") && size >= 18) {
        const std::uint32_t header = bytes[14] | bytes[15] << 8 | std::uint32_t(bytes[16]) << 16 |
                                     std::uint32_t(bytes[17]) << 24;
        if (header == 12 || header == 40 || header == 52 || header == 56 || header == 108 || header == 124)
            return PictureFormat::Bmp;
    }
    if (IsHeif(bytes, size))
        return PictureFormat::Heif;
    return PictureFormat::Unknown;
}
