#include "gif/GifLzw.h"

GIFDecoderState gifDecoderState;

void GIFRefillBits(GifStream& stream) {
    GIFDecoderState& s = gifDecoderState;
    GIFLzwState& r = s.lzw;
    // No more bits than a code has (12 at most) are ever left unread, and
    // they lie in the last two bytes: carrying those two suffices however
    // short the sub-blocks are.
    do {
        s.bitBuffer[0] = s.bitBuffer[s.lastByteCount - 2];
        s.bitBuffer[1] = s.bitBuffer[s.lastByteCount - 1];
        int length = GIFReadSubBlock(stream, s.bitBuffer + 2);
        if (length <= 0) {
            r.dataExhausted = 1;
            length = 0;
        }
        s.lastByteCount = 2 + length;
        r.currentBit += 16 - r.lastBit;
        r.lastBit = (2 + length) * 8;
    } while (r.currentBit + r.codeWidth > r.lastBit && !r.dataExhausted);
}

void GIFResetEntries(int from, int to) {
    GIFDecoderState& s = gifDecoderState;
    for (int code = from; code < to; ++code) {
        s.prefix[code] = 0;
        s.suffix[code] = 0;
        s.length[code] = 0;
    }
}

int GIFNextPixelInit(int codeSize) {
    GIFDecoderState& s = gifDecoderState;
    GIFLzwState& r = s.lzw;
    // From 12 on, the clear code itself would lie beyond the 4096 entries.
    if (codeSize > 11)
        return kGifBrokenChain;
    r.inputCodeSize = codeSize;
    r.clearCode = 1 << codeSize;
    r.endCode = r.clearCode + 1;
    r.codeWidth = codeSize + 1;
    r.widthThreshold = 2 * r.clearCode;
    r.nextFreeCode = r.clearCode + 2;
    r.firstRead = 1;
    r.currentBit = 0;
    r.lastBit = 0;
    r.dataExhausted = 0;
    // The two bytes carried into the first refill are never read (reading
    // starts at bit 16 then); this only keeps them inside the buffer.
    s.lastByteCount = 2;
    // A literal's entry holds its own value, cut to 8 bits when the code
    // size is above 8.
    for (int code = 0; code < r.clearCode; ++code) {
        const BYTE index = BYTE(code);
        s.prefix[code] = 0;
        s.suffix[code] = index;
        s.length[code] = 1;
        s.firstIndex[code] = index;
        s.copyFrom[code] = s.palette + 3 * index;
    }
    GIFResetEntries(r.clearCode, kGifMaxCodes);
    return 0;
}
