#include "ReferenceImageData.h"

#include <memory>

namespace testing_support {

namespace {

struct Reader {
    Reader(const std::string& data, ReferenceBits& bits, bool& clean) : data(data), bits(bits), clean(clean) {}

    const std::string& data;
    ReferenceBits& bits;
    bool& clean;
    std::size_t pos = 1;
    int codeSize = BYTE(data[0]), clearCode = 1 << codeSize, codeWidth = 0, nextFree = 0;
    int previousCode = 0, firstByte = 0;
    int prefix[4096] = {}, suffix[4096] = {};
    std::string stack;
    int currentBit = 0, lastBit = 0, lastByteCount = 2;
    bool done = false;

    // Carries the last two bytes and appends one sub-block; a length byte
    // whose block the file does not hold adds nothing and ends the data.
    bool ReadSubBlock() {
        bits[0] = bits[lastByteCount - 2];
        bits[1] = bits[lastByteCount - 1];
        std::size_t n = pos < data.size() ? BYTE(data[pos++]) : 0;
        if (n > data.size() - pos) {
            pos = data.size();
            n = 0;
        }
        pos += data.copy(reinterpret_cast<char*>(&bits[2]), n, pos);
        currentBit += 16 - lastBit;
        lastByteCount = 2 + int(n);
        lastBit = lastByteCount * 8;
        return n > 0;
    }

    // The code that meets the end of the data takes the stale bits behind
    // it; every code after that is 0.
    int NextCode() {
        if (currentBit + codeWidth >= lastBit) {
            if (done) {
                clean = false;
                return 0;
            }
            do
                done = !ReadSubBlock();
            while (!done && currentBit + codeWidth > lastBit);
            clean = clean && currentBit + codeWidth <= lastBit;
        }
        int code = 0;
        for (int i = 0; i < codeWidth; ++i, ++currentBit)
            code |= (bits[currentBit / 8] >> (currentBit % 8) & 1) << i;
        return code;
    }

    void ResetTable() {
        codeWidth = codeSize + 1;
        nextFree = clearCode + 2;
        for (int i = 0; i < 4096; ++i)
            prefix[i] = 0, suffix[i] = i < clearCode ? (i & 0xFF) : 0;
    }

    // Clear codes in a row are passed over; the first code of a table must be
    // a colour index, or the image ends.
    int FirstCode() {
        int code;
        do
            code = NextCode();
        while (code == clearCode);
        if (code >= clearCode || code > 255)
            return -1;
        stack = char(code);
        return previousCode = firstByte = code;
    }

    // Pushes the string of the next code, last index first; false when the
    // image ends.
    bool NextString() {
        int code = NextCode();
        if (code == clearCode) {
            ResetTable();
            return FirstCode() >= 0;
        }
        if (code == clearCode + 1)
            return false;
        const int incoming = code;
        clean = clean && code <= nextFree;
        if (code >= nextFree) {
            stack += char(firstByte);
            code = previousCode;
        }
        // A damaged table can loop: a prefix that is its own code, or a
        // string longer than the decoder's 8192-byte stack, ends the image.
        for (; code >= clearCode; code = prefix[code]) {
            if (stack.size() == 8192 || prefix[code] == code)
                return false;
            stack += char(suffix[code]);
        }
        if (stack.size() == 8192)
            return false;
        stack += char(firstByte = suffix[code]);
        if (nextFree < 4096) {
            prefix[nextFree] = previousCode;
            suffix[nextFree] = firstByte;
            if (++nextFree >= 1 << codeWidth && codeWidth < 12)
                ++codeWidth;
        }
        previousCode = incoming;
        return true;
    }
};

}  // namespace

std::vector<BYTE> ReferenceImageData(const std::string& data, int width, int height, bool interlaced,
                                     const Palette& colors, ReferenceBits& bits, bool& clean) {
    std::vector<BYTE> picture(std::size_t(width) * height * 3);
    clean = BYTE(data.at(0)) >= 2 && BYTE(data[0]) <= 8;
    if (BYTE(data[0]) > 11)
        return picture;
    const auto reader = std::make_unique<Reader>(data, bits, clean);
    Reader& r = *reader;
    r.ResetTable();
    static const int start[4] = {0, 4, 2, 1};
    static const int step[4] = {8, 8, 4, 2};
    int x = 0, y = 0, pass = 0;
    for (bool more = r.FirstCode() >= 0; more; more = r.NextString()) {
        for (; !r.stack.empty(); r.stack.pop_back()) {
            const std::size_t v = BYTE(r.stack.back());
            const Rgb rgb = v < colors.size() ? colors[v] : Rgb{};
            BYTE* p = &picture[(std::size_t(y) * width + x) * 3];
            p[0] = rgb[2], p[1] = rgb[1], p[2] = rgb[0];
            if (++x < width)
                continue;
            x = 0;
            for (y += interlaced ? step[pass] : 1; y >= height; y = start[pass])
                if (!interlaced || ++pass > 3)
                    return picture;
        }
    }
    clean = false;
    return picture;
}

}  // namespace testing_support
