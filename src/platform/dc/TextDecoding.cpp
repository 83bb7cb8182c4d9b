#include "platform/dc/TextDecoding.h"

#include <array>
#include <cstddef>

namespace {

// Length of the UTF-8 sequence at bytes[i] and its code point, or 0 when the
// sequence is malformed: truncated, overlong, a surrogate or beyond U+10FFFF.
std::size_t Utf8Sequence(std::string_view bytes, std::size_t i, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() - i < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    char32_t codePoint;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8Sequence(bytes, i, codePoint);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

char32_t CodePointFromCp1252(unsigned char byte) {
    static constexpr std::array<char16_t, 32> k80to9F = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (byte >= 0x80 && byte <= 0x9F)
        return k80to9F[byte - 0x80];
    return byte;  // the rest of the code page is Latin-1
}

std::u32string DecodeText(std::string_view bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    if (IsValidUtf8(bytes)) {
        char32_t codePoint = 0;
        for (std::size_t i = 0; i < bytes.size();) {
            i += Utf8Sequence(bytes, i, codePoint);
            text.push_back(codePoint);
        }
    } else {
        for (const char byte : bytes)
            text.push_back(CodePointFromCp1252(static_cast<unsigned char>(byte)));
    }
    return text;
}
