#include "picture/ExifOrientation.h"

#include <cstdint>
#include <cstring>

int ExifOrientation(const BYTE* data, std::size_t size) {
    if (!data)
        return 1;
    if (size >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0) {
        data += 6;
        size -= 6;
    }
    if (size < 8)
        return 1;
    bool little;
    if (std::memcmp(data, "II*\0", 4) == 0)
        little = true;
    else if (std::memcmp(data, "MM\0*", 4) == 0)
        little = false;
    else
        return 1;
    // Every read is checked against `size`: offsets come from the file.
    auto read16 = [&](std::size_t at) -> std::uint32_t {
        return little ? data[at] | data[at + 1] << 8 : data[at] << 8 | data[at + 1];
    };
    auto read32 = [&](std::size_t at) -> std::uint32_t {
        return little ? read16(at) | read16(at + 2) << 16 : read16(at) << 16 | read16(at + 2);
    };
    const std::uint32_t ifd = read32(4);
    if (ifd > size - 2)
        return 1;
    const std::uint32_t entries = read16(ifd);
    // The orientation lives in the first directory (the main picture's).
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t entry = std::size_t(ifd) + 2 + std::size_t(i) * 12;
        if (entry + 12 > size)
            return 1;
        if (read16(entry) != 0x0112)
            continue;
        // A SHORT, count 1, the value in the entry itself.
        if (read16(entry + 2) != 3 || read32(entry + 4) != 1)
            return 1;
        const std::uint32_t value = read16(entry + 8);
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

namespace {

std::uint32_t Big32(const BYTE* p) { return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
std::uint32_t Little32(const BYTE* p) { return std::uint32_t(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0]; }

}  // namespace

int FileOrientation(const BYTE* data, std::size_t size) {
    if (!data)
        return 1;
    if (size >= 4 && data[0] == 0xFF && data[1] == 0xD8) {
        // JPEG segments: FF, marker, big-endian length (itself included).
        for (std::size_t at = 2; at + 4 <= size && data[at] == 0xFF;) {
            const BYTE marker = data[at + 1];
            const std::size_t length = std::size_t(data[at + 2]) << 8 | data[at + 3];
            if (marker == 0xDA || length < 2 || at + 2 + length > size)
                break;  // the picture data, or a damaged segment
            if (marker == 0xE1 && length >= 8 && std::memcmp(data + at + 4, "Exif\0\0", 6) == 0)
                return ExifOrientation(data + at + 4, length - 2);
            at += 2 + length;
        }
        return 1;
    }
    if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1A\n", 8) == 0) {
        // PNG chunks: length, type, data, CRC; eXIf comes before the data.
        for (std::size_t at = 8; at + 8 <= size;) {
            const std::size_t length = Big32(data + at);
            if (length > size - at - 8 || std::memcmp(data + at + 4, "IDAT", 4) == 0)
                break;
            if (std::memcmp(data + at + 4, "eXIf", 4) == 0)
                return ExifOrientation(data + at + 8, length);
            at += 12 + length;
        }
        return 1;
    }
    if (size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WEBP", 4) == 0) {
        // RIFF chunks: type, little-endian length, data padded to even.
        for (std::size_t at = 12; at + 8 <= size;) {
            const std::size_t length = Little32(data + at + 4);
            if (length > size - at - 8)
                break;
            if (std::memcmp(data + at, "EXIF", 4) == 0)
                return ExifOrientation(data + at + 8, length);
            at += 8 + length + (length & 1);
        }
    }
    return 1;
}
