#pragma once
// The LZW expander and its bit reader. The per-code paths are inline here,
// since they run once for every two or three pixels, and work on a copy of
// the counters (GIFLzwState) that the caller keeps in local storage, so that
// the compiler can hold it in registers across the pixel stores; what runs
// once per sub-block, per table reset or per image is in GifLzw.cpp and works
// on the record, which the inline paths bring up to date around each call.
//
// The results are those of a plain one-index-per-call expander, odd cases
// included, so that a damaged file gives the picture it always gave, whichever
// way the loop is made fast:
// - a refill is made when a code would end exactly at the last valid bit;
// - the code that meets the end of the data takes the bits beyond the valid
//   ones (the leftovers of earlier sub-blocks), and every code after it is 0;
// - a code above the next free code is expanded as if it were the next free
//   code, yet becomes the previous code as it is;
// - at 4096 entries the table stops growing and codes stay 12 bits wide.
#include "gif/GifBlocks.h"
#include "gif/GifDecoderState.h"
#include "gif/GifStream.h"

#include <algorithm>

// Results that end the image.
constexpr int kGifBrokenChain = -1;
constexpr int kGifEndCode = -2;

// Starts the expander and the bit reader for an image whose minimum code size
// is `codeSize`. Returns 0, or kGifBrokenChain for a size whose codes would
// not fit the table.
int GIFNextPixelInit(int codeSize);

// Out of line, on the record: reads sub-blocks, each behind the two last
// bytes of the one before, until the code about to be read is complete or the
// data is used up.
void GIFRefillBits(GifStream& stream);
// Out of line: resets the entries from `from` up to `to` to their empty state.
void GIFResetEntries(int from, int to);

// The next code, `r.codeWidth` bits, least significant bit first; 0 once the
// data is used up.
inline int GIFNextCode(GifStream& stream, GIFLzwState& r) {
    GIFDecoderState& s = gifDecoderState;
    const int width = r.codeWidth;
    if (r.currentBit + width >= r.lastBit) {
        if (r.dataExhausted)
            return 0;
        s.lzw = r;
        GIFRefillBits(stream);
        r = s.lzw;
    }
    const int bit = r.currentBit;
    const BYTE* bytes = s.bitBuffer + (bit >> 3);
    // 7 bits of offset plus 12 of code fit in three bytes.
    const std::uint32_t word = bytes[0] | (std::uint32_t(bytes[1]) << 8) | (std::uint32_t(bytes[2]) << 16);
    r.currentBit = bit + width;
    return int((word >> (bit & 7)) & ((1u << width) - 1));
}

// Takes the first code of a table (of the image, or after a clear code),
// passing over clear codes in a row. Returns 1 with the colour index on the
// stack, or kGifBrokenChain.
inline int GIFFirstString(GifStream& stream, GIFLzwState& r) {
    int code;
    do
        code = GIFNextCode(stream, r);
    while (code == r.clearCode);
    // The first code of a table is handed out as a colour index as it is, so
    // it must be a literal that is one; anything else (the end code, an
    // undefined entry) ends the image.
    if (code >= r.clearCode || code > 255)
        return kGifBrokenChain;
    r.previousCode = code;
    r.firstByte = code;
    r.previousLength = 1;
    gifDecoderState.stack[0] = BYTE(code);
    return 1;
}

// A clear code: empties the table and takes the code that follows.
inline int GIFRestartTable(GifStream& stream, GIFLzwState& r) {
    // Entries are only ever made at nextFreeCode, so those below it are the
    // only ones that changed since the last reset; the one at it may have
    // been made ahead.
    GIFResetEntries(r.clearCode + 2, std::min(r.nextFreeCode + 1, kGifMaxCodes));
    r.codeWidth = r.inputCodeSize + 1;
    r.widthThreshold = 2 * r.clearCode;
    r.nextFreeCode = r.clearCode + 2;
    return GIFFirstString(stream, r);
}

// Makes the table entry for the code just read: the previous string followed
// by `first`, the first colour index of the code's string. `copyFrom` is
// where the new entry's string lies in the picture, or null.
inline void GIFAddEntry(GIFLzwState& r, int first, const BYTE* copyFrom) {
    GIFDecoderState& s = gifDecoderState;
    if (r.nextFreeCode >= kGifMaxCodes)
        return;
    const int entry = r.nextFreeCode++;
    s.prefix[entry] = std::uint16_t(r.previousCode);
    s.suffix[entry] = BYTE(first);
    s.firstIndex[entry] = BYTE(r.firstByte);
    s.length[entry] = std::uint16_t(r.previousLength + 1);
    s.copyFrom[entry] = copyFrom;
    if (r.nextFreeCode >= r.widthThreshold && r.widthThreshold < kGifMaxCodes) {
        r.widthThreshold *= 2;
        ++r.codeWidth;
    }
}

// Pushes the string of `code` onto the stack above `top`, last index first,
// by walking its prefixes. Returns the new top, or kGifBrokenChain for a
// prefix that is its own code or a walk longer than the stack (a table built
// from damaged data can loop).
inline int GIFExpandChain(const GIFLzwState& r, int code, int top) {
    GIFDecoderState& s = gifDecoderState;
    BYTE* const stack = s.stack;
    while (code >= r.clearCode) {
        if (top == kGifStackSize)
            return kGifBrokenChain;
        stack[top++] = s.suffix[code];
        const int prefix = s.prefix[code];
        if (prefix == code)
            return kGifBrokenChain;
        code = prefix;
    }
    if (top == kGifStackSize)
        return kGifBrokenChain;
    stack[top++] = s.suffix[code];
    return top;
}

// Expands a code read after the first one of its table onto the stack and
// returns how many colour indices it gave (stack[n - 1] is the first), or
// kGifBrokenChain / kGifEndCode when the image ends here.
inline int GIFExpandCode(GifStream& stream, GIFLzwState& r, int code) {
    if (code == r.clearCode)
        return GIFRestartTable(stream, r);
    // The sub-blocks after the end code are not skipped: nothing after the
    // first image is ever read, so no flag needs to remember whether the
    // zero-length block has been met already.
    if (code == r.endCode)
        return kGifEndCode;
    BYTE* const stack = gifDecoderState.stack;
    int count = 0;
    int walk = code;
    if (walk >= r.nextFreeCode) {
        stack[count++] = BYTE(r.firstByte);
        walk = r.previousCode;
    }
    count = GIFExpandChain(r, walk, count);
    if (count < 0)
        return count;
    const int first = stack[count - 1];
    GIFAddEntry(r, first, nullptr);
    r.firstByte = first;
    r.previousCode = code;
    r.previousLength = count;
    return count;
}

// The next string of the image on the stack: its length, or kGifBrokenChain /
// kGifEndCode when the image ends here.
inline int GIFNextPixel(GifStream& stream, GIFLzwState& r) {
    if (r.firstRead) {
        r.firstRead = 0;
        return GIFFirstString(stream, r);
    }
    return GIFExpandCode(stream, r, GIFNextCode(stream, r));
}
