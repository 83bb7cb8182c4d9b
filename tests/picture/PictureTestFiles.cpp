#include "PictureTestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace picture_test {

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, got);
    return pclose(pipe) == 0 ? out : std::string();
}

void WriteSource(const std::string& path, bool alpha) {
    std::string pixels;
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 61; ++x) {
            pixels += char(x * 4);
            pixels += char(y * 7);
            pixels += char((x * y) % 251);
            pixels += char(alpha ? 255 - x * 4 : 255);
        }
    std::ofstream(path, std::ios::binary) << pixels;
}

std::string TopDownRgb(const PictureBitmap& bitmap) {
    std::string rgb;
    if (!bitmap.bits)
        return rgb;
    const std::size_t stride = (std::size_t(bitmap.width) * 3 + 3) & ~std::size_t(3);
    for (int y = bitmap.height - 1; y >= 0; --y)
        for (int x = 0; x < bitmap.width; ++x) {
            const BYTE* p = bitmap.bits.get() + std::size_t(y) * stride + std::size_t(x) * 3;
            rgb += char(p[2]);
            rgb += char(p[1]);
            rgb += char(p[0]);
        }
    return rgb;
}

int MaxDifference(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return -1;
    int most = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        most = std::max(most, std::abs(int(BYTE(a[i])) - int(BYTE(b[i]))));
    return most;
}

namespace {

// A big-endian TIFF with one directory entry: the orientation.
std::string ExifTiff(int orientation) {
    return std::string("MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0", 19) + char(orientation) +
           std::string("\0\0\0\0\0\0", 6);
}

std::string Big32(std::size_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::uint32_t Crc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= BYTE(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

}  // namespace

std::string WithOrientation(const std::string& bytes, int orientation) {
    const std::string tiff = ExifTiff(orientation);
    if (bytes.compare(0, 2, "\xFF\xD8") == 0) {
        // An APP1 segment right after the start of image.
        const std::string body = std::string("Exif\0\0", 6) + tiff;
        const std::size_t length = body.size() + 2;
        return bytes.substr(0, 2) + "\xFF\xE1" + char(length >> 8) + char(length & 0xFF) + body + bytes.substr(2);
    }
    // An eXIf chunk right after the header chunk (8 + 25 bytes in).
    const std::string chunk = "eXIf" + tiff;
    return bytes.substr(0, 33) + Big32(tiff.size()) + chunk + Big32(Crc(chunk)) + bytes.substr(33);
}

}  // namespace picture_test
