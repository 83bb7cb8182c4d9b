#pragma once
// GIF files built byte by byte inside the tests: a small LZW encoder, a code
// packer that follows the decoder's code widths, and the blocks of the file.
#include "platform/WinTypes.h"

#include <array>
#include <string>
#include <vector>

namespace testing_support {

using Rgb = std::array<BYTE, 3>;
using Palette = std::vector<Rgb>;  // 2, 4, ..., 256 entries
using Indices = std::vector<BYTE>;

// Codes beside the data codes, relative to the clear code of the code size.
struct LzwOptions {
    int minCodeSize = 8;
    int clearEvery = 0;          // a clear code after this many data codes (0: only at the start)
    bool clearWhenFull = false;  // a clear code once the table holds 4096 entries
    bool endCode = true;
};

// The codes that encode `indices`: a clear code, the data, the end code.
std::vector<int> LzwCodes(const Indices& indices, const LzwOptions& options = {});

// The image data block: the code size byte, then the codes packed least
// significant bit first at the widths the decoder reads them (growing with
// the table, back to the start after a clear code), cut into sub-blocks of
// `blockSize` bytes, then the zero-length terminator when `terminator`.
std::string PackCodes(int minCodeSize, const std::vector<int>& codes, int blockSize = 255, bool terminator = true);

// Both of the above.
std::string LzwData(const Indices& indices, const LzwOptions& options = {});

// "GIF89a", a logical screen descriptor and the global table.
std::string Header(const Palette* global, BYTE aspect = 0);
// An image descriptor with its local table.
std::string ImageDescriptor(int width, int height, const Palette* local = nullptr, bool interlaced = false);
// A graphic control extension that marks `transparent` as the transparent index.
std::string GraphicControl(int transparent);

// A whole one-image file with a global table.
std::string SimpleGif(int width, int height, const Indices& indices, const Palette& palette,
                      const LzwOptions& options = {}, bool interlaced = false);

// The picture the decoder must give: blue, green, red per pixel. `indices` are
// in file order; for an interlaced image they are placed at display rows.
std::vector<BYTE> ExpectedPicture(int width, int height, const Indices& indices, const Palette& palette,
                                  bool interlaced = false);

// `count` entries of distinct colours.
Palette TestPalette(int count);
// Pseudo-random indices below `colors`, the same for the same seed.
Indices RandomIndices(std::size_t count, int colors, unsigned seed);

}  // namespace testing_support
