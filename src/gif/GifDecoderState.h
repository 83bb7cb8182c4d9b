#pragma once
// The decoder's working state: one record for the whole process, all of it
// fixed-size storage sized for 12-bit codes, so that decoding a picture
// allocates nothing but the picture itself.
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>

// A colour table store: entry i is (red[i], green[i], blue[i]).
struct GIFColorTable {
    BYTE red[256];
    BYTE green[256];
    BYTE blue[256];
};

// GIF codes are at most 12 bits wide, so the string table never holds more.
constexpr int kGifMaxCodes = 4096;
// Room for the longest string a well-formed table can hold, twice over.
constexpr int kGifStackSize = 8192;
// Two bytes carried over from the previous sub-block, then a sub-block of up
// to 255 bytes.
constexpr int kGifBitBufferSize = 2 + 255;
// The file is read through this much buffer at a time.
constexpr std::size_t kGifReadBufferSize = 64 * 1024;

// The expander's and the bit reader's counters. The decoding loop keeps a
// copy of them in registers and writes it back around the rare calls that
// need the record (a refill, a table reset).
struct GIFLzwState {
    int inputCodeSize;
    int clearCode;
    int endCode;
    int codeWidth;
    int nextFreeCode;
    int widthThreshold;  // the code width grows when nextFreeCode reaches it
    int firstRead;       // the next read takes the first code of the image
    int previousCode;
    int firstByte;       // first colour index of the last expanded string
    int previousLength;  // colour indices in the last expanded string
    int currentBit;      // next unread bit of the bit buffer
    int lastBit;         // number of valid bits: (2 + sub-block length) * 8
    int dataExhausted;   // the block terminator (or the end of the file) was met
};

struct GIFDecoderState {
    // The global colour table persists from one file to the next: an image
    // with no table of its own takes the last global table seen.
    GIFColorTable globalColors;
    int globalColorCount;

    GIFLzwState lzw;

    // The string table.
    std::uint16_t prefix[kGifMaxCodes];
    BYTE suffix[kGifMaxCodes];
    // What lets an entry's string be copied rather than expanded: its length,
    // its first colour index, and where its pixels are: the palette entry
    // for a literal, else the place in the picture where the same string was
    // written before (null when it was not written in one piece).
    std::uint16_t length[kGifMaxCodes];
    BYTE firstIndex[kGifMaxCodes];
    const BYTE* copyFrom[kGifMaxCodes];
    BYTE stack[kGifStackSize];  // the string being expanded, last index first

    // The bit reader's buffer. Three spare bytes let a code be read with
    // whole-byte loads from any bit of the buffer; they stay zero and no code
    // bit ever comes from them.
    BYTE bitBuffer[kGifBitBufferSize + 3];
    int lastByteCount;  // 2 + length of the last sub-block read

    BYTE extensionBuffer[256];

    // The image's colours as blue-green-red pixels, built once per image so
    // that each pixel costs one lookup; the spare bytes let a literal be
    // copied 32 bytes at a time like any string.
    BYTE palette[256 * 3 + 32];

    // The file stream's buffer.
    BYTE readBuffer[kGifReadBufferSize];
};

// All zero when the program starts: no colours, an empty table.
extern GIFDecoderState gifDecoderState;
