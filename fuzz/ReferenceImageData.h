#pragma once
// A deliberately plain reading of a GIF image's data, the judge where the data
// is damaged and no other decoder says what the picture must be: codes built
// bit by bit, one colour index per step.
#include "GifTestFiles.h"

namespace testing_support {

// The bit buffer, which stays from one image to the next as in the real
// decoder (damaged data can read its leftovers): both must be given the same
// images in the same order.
using ReferenceBits = std::array<BYTE, 260>;

// The picture (blue, green, red) that `data`, the bytes from the code size
// byte to the end of the file, gives: black where the data does not reach and
// for indices beyond `colors`. `clean` tells whether it came out whole with no
// rule for damaged data applied: a code size of 2 to 8, every code valid.
std::vector<BYTE> ReferenceImageData(const std::string& data, int width, int height, bool interlaced,
                                     const Palette& colors, ReferenceBits& bits, bool& clean);

}  // namespace testing_support
