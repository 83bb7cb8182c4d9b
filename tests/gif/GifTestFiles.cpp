#include "GifTestFiles.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace testing_support {

namespace {

std::string Word(int value) { return {char(value & 0xFF), char((value >> 8) & 0xFF)}; }

// The size bits of the packed byte that announces `table`: 2^(bits + 1) entries.
int TableSizeBits(const Palette& table) {
    int bits = 0;
    while ((std::size_t(2) << bits) < table.size())
        ++bits;
    return bits;
}

std::string TableBytes(const Palette& table) {
    std::string out;
    for (const Rgb& rgb : table)
        out.append(reinterpret_cast<const char*>(rgb.data()), 3);
    return out;
}

}  // namespace

std::vector<int> LzwCodes(const Indices& indices, const LzwOptions& options) {
    const int clear = 1 << options.minCodeSize;
    std::vector<int> codes(std::size_t(options.leadingClears), clear);
    std::unordered_map<int, int> table;  // string code << 8 | next index -> code
    for (std::size_t i = 1; i <= indices.size(); ++i) {
        int string = indices[i - 1];
        for (; i < indices.size() && table.count(string << 8 | indices[i]); ++i)
            string = table[string << 8 | indices[i]];
        codes.push_back(string);
        if (i == indices.size())
            break;
        const int next = clear + 2 + int(table.size());
        if (next < 4096)
            table[string << 8 | indices[i]] = next;
        if (const int clears = options.clearsAfter ? options.clearsAfter(next >= 4096) : 0) {
            codes.insert(codes.end(), std::size_t(clears), clear);
            table.clear();
        }
    }
    if (options.endCode)
        codes.push_back(clear + 1);
    return codes;
}

std::string PackCodes(int minCodeSize, const std::vector<int>& codes, const std::function<int()>& blockSize,
                      bool terminator) {
    const int clear = 1 << minCodeSize;
    int width = minCodeSize + 1;
    int nextFree = clear + 2;
    bool first = true;
    std::string bytes;
    std::uint32_t pending = 0;
    int pendingBits = 0;
    for (int code : codes) {
        pending |= std::uint32_t(code) << pendingBits;
        for (pendingBits += width; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
            bytes += char(pending & 0xFF);
        // Every data code but the first of a table makes an entry; the width
        // grows when the next free code reaches 2^width, up to 12 bits.
        if (code == clear) {
            width = minCodeSize + 1;
            nextFree = clear + 2;
            first = true;
        } else if (code != clear + 1 && !std::exchange(first, false) && nextFree < 4096) {
            if (++nextFree >= (1 << width) && width < 12)
                ++width;
        }
    }
    if (pendingBits > 0)
        bytes += char(pending & 0xFF);

    std::string out(1, char(minCodeSize));
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = std::min(bytes.size() - at, std::size_t(blockSize()));
        out += char(length) + bytes.substr(at, length);
        at += length;
    }
    return terminator ? out + '\0' : out;
}

std::string Header(const Palette* global, BYTE aspect) {
    // A 1 x 1 screen: the decoder takes the size from the image.
    return "GIF89a" + Word(1) + Word(1) + char(global ? 0xF0 | TableSizeBits(*global) : 0) + '\0' + char(aspect) +
           (global ? TableBytes(*global) : "");
}

std::string ImageDescriptor(int width, int height, const Palette* local, bool interlaced) {
    const int flags = (local ? 0x80 | TableSizeBits(*local) : 0) | (interlaced ? 0x40 : 0);
    return "," + Word(0) + Word(0) + Word(width) + Word(height) + char(flags) + (local ? TableBytes(*local) : "");
}

std::string SimpleGif(int width, int height, const Indices& indices, const Palette& palette,
                      const LzwOptions& options) {
    return Header(&palette) + ImageDescriptor(width, height) +
           PackCodes(options.minCodeSize, LzwCodes(indices, options)) + ";";
}

std::vector<BYTE> ExpectedPicture(int width, int height, const Indices& indices, const Palette& palette) {
    std::vector<BYTE> picture(std::size_t(width) * height * 3);
    for (std::size_t i = 0; i < indices.size() && i < picture.size() / 3; ++i) {
        const Rgb& rgb = palette.at(indices[i]);
        picture[3 * i] = rgb[2];
        picture[3 * i + 1] = rgb[1];
        picture[3 * i + 2] = rgb[0];
    }
    return picture;
}

Palette TestPalette(int count) {
    Palette palette;
    for (int i = 0; i < count; ++i)
        palette.push_back({BYTE(i), BYTE(255 - i), BYTE(i * 37 + 11)});
    return palette;
}

Indices RandomIndices(std::size_t count, int colors, unsigned seed) {
    std::mt19937 random(seed);
    Indices indices(count);
    for (BYTE& index : indices)
        index = BYTE(random() % unsigned(colors));
    return indices;
}

RandomGif MakeRandomGif(std::mt19937& random) {
    auto below = [&](int n) { return int(random() % unsigned(n)); };
    RandomGif gif;
    // One file in ten is noise of 128 colours or more, large enough to fill
    // the table.
    const bool large = below(10) == 0;
    gif.width = large ? 80 + below(40) : 1 + below(40);
    gif.height = large ? 60 + below(30) : 1 + below(30);
    gif.interlaced = below(2);
    const int minCodeSize = large ? 7 + below(2) : 2 + below(7);
    gif.colors = TestPalette(large ? 128 << below(2) : std::min(256, 2 << below(8)));
    const Palette other = TestPalette(1 << (1 + below(8)));
    const int table = below(3);  // global only, local only, or both (the local one counts)
    gif.head = Header(table == 1 ? nullptr : table == 0 ? &gif.colors : &other, BYTE(below(2) ? 0 : 49));
    const std::string extensions[] = {std::string("!\xF9\x04\x01\x0A\x00\x02\x00", 8),
                                      std::string("!\xFE\x05he,lo\x03" "abc\0", 13),
                                      std::string("!\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19)};
    for (int n = below(4); n > 0; --n)
        gif.head += extensions[below(3)];
    gif.head += ImageDescriptor(gif.width, gif.height, table == 0 ? nullptr : &gif.colors, gif.interlaced);

    // Indices within both the table and the code size; runs make long strings.
    const int colors = std::min(int(gif.colors.size()), 1 << minCodeSize);
    const int repeat = large ? 0 : below(4);  // in quarters
    Indices indices(std::size_t(gif.width) * gif.height);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = i > 0 && below(4) < repeat ? indices[i - 1] : BYTE(below(colors));
    // Clear codes at random, or only once the table is full, or never.
    const int clearOneIn = below(large ? 2 : 3) == 0 ? 0 : 1 + below(400);
    const bool clearWhenFull = below(2);
    LzwOptions options{.minCodeSize = minCodeSize, .leadingClears = below(4), .clearsAfter = [&](bool full) {
                           const bool clear = clearOneIn ? below(clearOneIn) == 0 : full && clearWhenFull;
                           return clear ? 1 + below(3) * below(2) : 0;
                       }};
    // Sub-blocks of 255 bytes, of any length, or runs of 1-byte blocks among them.
    const int blocks = below(3);
    gif.data = PackCodes(minCodeSize, LzwCodes(indices, options), [&] {
        return blocks == 0 ? 255 : blocks == 1 || below(4) == 0 ? 1 + below(255) : 1;
    });
    gif.tail = below(4) ? ";" : ImageDescriptor(3, 1) + PackCodes(2, LzwCodes({1, 2, 3}, {.minCodeSize = 2})) + ";";
    return gif;
}

}  // namespace testing_support
