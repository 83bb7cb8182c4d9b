#pragma once
// A deliberately plain reader of a GIF image's data, the judge where the data
// is damaged and no other decoder says what the picture must be: codes built
// bit by bit, one colour index per step. The bit buffer stays from one image
// to the next, as in the real decoder (damaged data can read its leftovers),
// so both must be given the same images in the same order.
#include "GifTestFiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class ReferenceImageData {
public:
    // The picture (blue, green, red) that `data`, the bytes from the code size
    // byte to the end of the file, gives: black where the data does not reach,
    // and for indices beyond `colors`.
    std::vector<BYTE> Decode(const std::string& data, int width, int height, bool interlaced, const Palette& colors);

    // Whether the last picture came out whole with no rule for damaged data
    // applied: a code size of 2 to 8, every code a valid one.
    bool Clean() const { return clean_; }

private:
    bool ReadSubBlock();
    int NextCode();
    void ResetTable();
    int FirstCode();
    int NextIndex();

    const std::string* data_ = nullptr;
    std::size_t pos_ = 0;
    bool clean_ = false;
    int codeSize_ = 0, clearCode_ = 0, codeWidth_ = 0, nextFree_ = 0;
    int previousCode_ = 0, firstByte_ = 0;
    bool first_ = true;
    std::vector<int> prefix_ = std::vector<int>(4096), suffix_ = std::vector<int>(4096);
    std::vector<BYTE> stack_;
    BYTE bits_[260] = {};
    int currentBit_ = 0, lastBit_ = 0, lastByteCount_ = 2;
    bool done_ = false;
};

}  // namespace testing_support
