#include "ReferenceImageData.h"

#include <utility>

namespace testing_support {

// Carries the last two bytes and appends one sub-block; a length byte whose
// block the file does not hold adds nothing and ends the data.
bool ReferenceImageData::ReadSubBlock() {
    bits_[0] = bits_[lastByteCount_ - 2];
    bits_[1] = bits_[lastByteCount_ - 1];
    std::size_t n = pos_ < data_->size() ? BYTE((*data_)[pos_++]) : 0;
    if (n > data_->size() - pos_) {
        pos_ = data_->size();
        n = 0;
    }
    data_->copy(reinterpret_cast<char*>(bits_ + 2), n, pos_);
    pos_ += n;
    lastByteCount_ = 2 + int(n);
    currentBit_ += 16 - lastBit_;
    lastBit_ = lastByteCount_ * 8;
    return n > 0;
}

// The code that meets the end of the data takes the stale bits behind it;
// every code after that is 0.
int ReferenceImageData::NextCode() {
    if (currentBit_ + codeWidth_ >= lastBit_) {
        if (done_) {
            clean_ = false;
            return 0;
        }
        do
            done_ = !ReadSubBlock();
        while (!done_ && currentBit_ + codeWidth_ > lastBit_);
        if (currentBit_ + codeWidth_ > lastBit_)
            clean_ = false;
    }
    int code = 0;
    for (int i = 0; i < codeWidth_; ++i, ++currentBit_)
        code |= (bits_[currentBit_ / 8] >> (currentBit_ % 8) & 1) << i;
    return code;
}

void ReferenceImageData::ResetTable() {
    codeWidth_ = codeSize_ + 1;
    nextFree_ = clearCode_ + 2;
    for (int i = 0; i < 4096; ++i) {
        prefix_[i] = 0;
        suffix_[i] = i < clearCode_ ? (i & 0xFF) : 0;
    }
}

// Clear codes in a row are passed over; the first code of a table must be a
// colour index, or the image ends.
int ReferenceImageData::FirstCode() {
    int code;
    do
        code = NextCode();
    while (code == clearCode_);
    if (code >= clearCode_ || code > 255)
        return -1;
    previousCode_ = firstByte_ = code;
    return code;
}

// The next colour index, or -1 when the image ends.
int ReferenceImageData::NextIndex() {
    if (std::exchange(first_, false))
        return FirstCode();
    if (!stack_.empty()) {
        const int index = stack_.back();
        stack_.pop_back();
        return index;
    }
    int code = NextCode();
    if (code == clearCode_) {
        ResetTable();
        return FirstCode();
    }
    if (code == clearCode_ + 1)
        return -1;
    const int incoming = code;
    if (code > nextFree_)
        clean_ = false;
    if (code >= nextFree_) {
        stack_.push_back(BYTE(firstByte_));
        code = previousCode_;
    }
    // A damaged table can loop: a prefix that is its own code, or a string
    // longer than the decoder's 8192-byte stack, ends the image.
    for (;;) {
        if (stack_.size() == 8192)
            return -1;
        stack_.push_back(BYTE(suffix_[code]));
        if (code < clearCode_)
            break;
        if (prefix_[code] == code)
            return -1;
        code = prefix_[code];
    }
    firstByte_ = suffix_[code];
    if (nextFree_ < 4096) {
        prefix_[nextFree_] = previousCode_;
        suffix_[nextFree_] = firstByte_;
        if (++nextFree_ >= 1 << codeWidth_ && codeWidth_ < 12)
            ++codeWidth_;
    }
    previousCode_ = incoming;
    const int index = stack_.back();
    stack_.pop_back();
    return index;
}

std::vector<BYTE> ReferenceImageData::Decode(const std::string& data, int width, int height, bool interlaced,
                                             const Palette& colors) {
    std::vector<BYTE> picture(std::size_t(width) * height * 3);
    data_ = &data;
    pos_ = 1;
    codeSize_ = BYTE(data.at(0));
    clean_ = codeSize_ >= 2 && codeSize_ <= 8;
    if (codeSize_ > 11)
        return picture;
    clearCode_ = 1 << codeSize_;
    currentBit_ = lastBit_ = 0;
    lastByteCount_ = 2;
    done_ = false;
    first_ = true;
    stack_.clear();
    ResetTable();
    static const int start[4] = {0, 4, 2, 1};
    static const int step[4] = {8, 8, 4, 2};
    int x = 0, y = 0, pass = 0;
    for (int v; (v = NextIndex()) >= 0;) {
        const Rgb rgb = std::size_t(v) < colors.size() ? colors[std::size_t(v)] : Rgb{};
        BYTE* p = &picture[(std::size_t(y) * width + x) * 3];
        p[0] = rgb[2];
        p[1] = rgb[1];
        p[2] = rgb[0];
        if (++x < width)
            continue;
        x = 0;
        y += interlaced ? step[pass] : 1;
        while (y >= height) {
            if (!interlaced || ++pass > 3)
                return picture;
            y = start[pass];
        }
    }
    clean_ = false;
    return picture;
}

}  // namespace testing_support
