#include "GifTestFiles.h"

#include <algorithm>
#include <random>
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
    std::vector<int> codes{clear};
    std::unordered_map<int, int> table;  // string code << 8 | next index -> code
    int dataCodes = 0;
    auto restart = [&] {
        codes.push_back(clear);
        table.clear();
    };
    for (std::size_t i = 1; i <= indices.size(); ++i) {
        int string = indices[i - 1];
        for (; i < indices.size() && table.count(string << 8 | indices[i]); ++i)
            string = table[string << 8 | indices[i]];
        codes.push_back(string);
        if (i == indices.size())
            break;
        ++dataCodes;
        if (const int next = clear + 2 + int(table.size()); next < 4096)
            table[string << 8 | indices[i]] = next;
        else if (options.clearWhenFull)
            restart();
        if (options.clearEvery && dataCodes % options.clearEvery == 0)
            restart();
    }
    if (options.endCode)
        codes.push_back(clear + 1);
    return codes;
}

std::string PackCodes(int minCodeSize, const std::vector<int>& codes, int blockSize, bool terminator) {
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
    for (std::size_t at = 0; at < bytes.size(); at += std::size_t(blockSize))
        out += char(std::min(bytes.size() - at, std::size_t(blockSize))) + bytes.substr(at, std::size_t(blockSize));
    return terminator ? out + '\0' : out;
}

std::string LzwData(const Indices& indices, const LzwOptions& options) {
    return PackCodes(options.minCodeSize, LzwCodes(indices, options));
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

std::string GraphicControl(int transparent) {
    // Transparency flag, a delay of 10, the index, the terminator.
    return std::string("!\xF9\x04\x01\x0A\x00", 6) + char(transparent) + '\0';
}

std::string SimpleGif(int width, int height, const Indices& indices, const Palette& palette,
                      const LzwOptions& options, bool interlaced) {
    return Header(&palette) + ImageDescriptor(width, height, nullptr, interlaced) + LzwData(indices, options) + ";";
}

std::vector<BYTE> ExpectedPicture(int width, int height, const Indices& indices, const Palette& palette,
                                  bool interlaced) {
    // Rows in file order: first row and step of each pass.
    const std::vector<std::pair<int, int>> passes =
        interlaced ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}} : std::vector{std::pair{0, 1}};
    std::vector<int> rows;
    for (const auto& [start, step] : passes)
        for (int y = start; y < height; y += step)
            rows.push_back(y);
    std::vector<BYTE> picture(std::size_t(width) * height * 3);
    for (std::size_t i = 0; i < indices.size() && i < picture.size() / 3; ++i) {
        const Rgb& rgb = palette.at(indices[i]);
        BYTE* p = &picture[(std::size_t(rows[i / width]) * width + i % width) * 3];
        p[0] = rgb[2];
        p[1] = rgb[1];
        p[2] = rgb[0];
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

}  // namespace testing_support
