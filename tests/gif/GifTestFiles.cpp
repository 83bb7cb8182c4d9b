#include "GifTestFiles.h"

#include <random>
#include <unordered_map>
#include <utility>

namespace testing_support {

namespace {

void PutWord(std::string& out, int value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

// The size bits of a packed byte for a table of `count` entries: 2^(N+1).
int TableSizeBits(std::size_t count) {
    int bits = 0;
    while ((std::size_t(2) << bits) < count)
        ++bits;
    return bits;
}

void PutTable(std::string& out, const Palette& palette) {
    for (const Rgb& rgb : palette)
        out.append(reinterpret_cast<const char*>(rgb.data()), 3);
}

}  // namespace

std::vector<int> LzwCodes(const Indices& indices, const LzwOptions& options) {
    const int clear = 1 << options.minCodeSize;
    std::vector<int> codes{clear};
    std::unordered_map<int, int> table;
    int next = clear + 2;
    int dataCodes = 0;
    auto restart = [&] {
        codes.push_back(clear);
        table.clear();
        next = clear + 2;
    };
    if (!indices.empty()) {
        int string = indices[0];
        for (std::size_t i = 1; i < indices.size(); ++i) {
            const int key = (string << 8) | indices[i];
            if (auto found = table.find(key); found != table.end()) {
                string = found->second;
                continue;
            }
            codes.push_back(string);
            ++dataCodes;
            if (next < 4096)
                table[key] = next++;
            else if (options.clearWhenFull)
                restart();
            if (options.clearEvery && dataCodes % options.clearEvery == 0)
                restart();
            string = indices[i];
        }
        codes.push_back(string);
    }
    if (options.endCode)
        codes.push_back(clear + 1);
    return codes;
}

std::string PackCodes(int minCodeSize, const std::vector<int>& codes, int blockSize, bool terminator) {
    const int clear = 1 << minCodeSize;
    int width = minCodeSize + 1;
    int threshold = 2 * clear;
    int nextFree = clear + 2;
    bool first = true;
    std::string bytes;
    std::uint32_t pending = 0;
    int pendingBits = 0;
    for (int code : codes) {
        pending |= std::uint32_t(code) << pendingBits;
        pendingBits += width;
        for (; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
            bytes += char(pending & 0xFF);
        if (code == clear) {
            width = minCodeSize + 1;
            threshold = 2 * clear;
            nextFree = clear + 2;
            first = true;
        } else if (code != clear + 1 && !std::exchange(first, false) && nextFree < 4096) {
            if (++nextFree >= threshold && threshold < 4096) {
                threshold *= 2;
                ++width;
            }
        }
    }
    if (pendingBits > 0)
        bytes += char(pending & 0xFF);

    std::string out(1, char(minCodeSize));
    for (std::size_t at = 0; at < bytes.size(); at += std::size_t(blockSize)) {
        const std::string block = bytes.substr(at, std::size_t(blockSize));
        out += char(block.size());
        out += block;
    }
    if (terminator)
        out += '\0';
    return out;
}

std::string LzwData(const Indices& indices, const LzwOptions& options) {
    return PackCodes(options.minCodeSize, LzwCodes(indices, options));
}

std::string Header(const Palette* global, BYTE aspect, const std::string& version) {
    std::string out = version;
    PutWord(out, 1);
    PutWord(out, 1);
    out += char(global ? 0x80 | 0x70 | TableSizeBits(global->size()) : 0);
    out += '\0';  // background index
    out += char(aspect);
    if (global)
        PutTable(out, *global);
    return out;
}

std::string ImageDescriptor(int width, int height, const Palette* local, bool interlaced) {
    std::string out = ",";
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, width);
    PutWord(out, height);
    out += char((local ? 0x80 | TableSizeBits(local->size()) : 0) | (interlaced ? 0x40 : 0));
    if (local)
        PutTable(out, *local);
    return out;
}

std::string GraphicControl(int transparent) {
    std::string out = "!\xF9\x04";
    out += '\x01';  // a transparent index is given
    PutWord(out, 10);
    out += char(transparent);
    out += '\0';
    return out;
}

std::string SimpleGif(int width, int height, const Indices& indices, const Palette& palette,
                      const LzwOptions& options, bool interlaced) {
    return Header(&palette) + ImageDescriptor(width, height, nullptr, interlaced) + LzwData(indices, options) + ";";
}

std::vector<BYTE> ExpectedPicture(int width, int height, const Indices& indices, const Palette& palette,
                                  bool interlaced) {
    static const int kPassStart[4] = {0, 4, 2, 1};
    static const int kPassStep[4] = {8, 8, 4, 2};
    std::vector<int> rows;
    if (interlaced) {
        for (int pass = 0; pass < 4; ++pass)
            for (int y = kPassStart[pass]; y < height; y += kPassStep[pass])
                rows.push_back(y);
    } else {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
    }
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
