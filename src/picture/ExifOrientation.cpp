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
