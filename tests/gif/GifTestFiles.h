#pragma once
// GIF files built byte by byte inside the tests: a small LZW encoder, a code
// packer that follows the decoder's code widths, the blocks of the file, and
// random well-formed files.
#include "platform/WinTypes.h"

#include <array>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace testing_support {

using Rgb = std::array<BYTE, 3>;
using Palette = std::vector<Rgb>;  // 2, 4, ..., 256 entries
using Indices = std::vector<BYTE>;

struct LzwOptions {
    int minCodeSize = 8;
    int leadingClears = 1;
    // How many clear codes follow a data code (not the last), given whether
    // the table is full; none when empty, so a full table stays full.
    std::function<int(bool full)> clearsAfter = {};
    bool endCode = true;
};

// The codes that encode `indices`.
std::vector<int> LzwCodes(const Indices& indices, const LzwOptions& options = {});

// The image data block: the code size byte, then the codes packed least
// significant bit first at the widths the decoder reads them, cut into
// sub-blocks of the lengths `blockSize` gives (1 to 255), then the
// zero-length terminator when `terminator`.
std::string PackCodes(int minCodeSize, const std::vector<int>& codes,
                      const std::function<int()>& blockSize = [] { return 255; }, bool terminator = true);

// "GIF89a", a logical screen descriptor and the global table.
std::string Header(const Palette* global, BYTE aspect = 0);
// An image descriptor with its local table.
std::string ImageDescriptor(int width, int height, const Palette* local = nullptr, bool interlaced = false);

// A whole one-image file with a global table.
std::string SimpleGif(int width, int height, const Indices& indices, const Palette& palette,
                      const LzwOptions& options = {});

// The picture a plain image of these indices gives: blue, green, red per
// pixel, black beyond the indices.
std::vector<BYTE> ExpectedPicture(int width, int height, const Indices& indices, const Palette& palette);

// `count` entries of distinct colours.
Palette TestPalette(int count);
// Pseudo-random indices below `colors`, the same for the same seed.
Indices RandomIndices(std::size_t count, int colors, unsigned seed);

// A random well-formed file: its size, colour tables, extensions, code size
// (2 to 8), clear codes (runs of up to three, anywhere, or none so that the
// table fills), sub-block lengths (runs of 1-byte blocks among others) and
// interlacing all vary; a second image may follow the first.
struct RandomGif {
    std::string head;  // up to the image's data
    std::string data;  // the code size byte, the sub-blocks, the terminator
    std::string tail;  // what follows the first image
    int width = 0, height = 0;
    bool interlaced = false;
    Palette colors;  // the table the first image takes
};
RandomGif MakeRandomGif(std::mt19937& random);

}  // namespace testing_support
