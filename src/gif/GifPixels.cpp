// Pixel output: the strings of the expander as blue-green-red pixels at their
// display positions.
//
// Every string an entry stands for has been written to the picture before:
// an entry is the previous string followed by the first index of the next,
// and those were written one after the other. So while the table is intact
// a code's string is copied from where it was written, a few bytes with one
// copy, rather than expanded index by index through its chain of prefixes.
#include "gif/GifBlocks.h"
#include "gif/GifLzw.h"

#include <algorithm>
#include <cstring>

namespace {

// Where the next pixel goes. An interlaced image arrives in four passes:
// rows 0, 8, 16, ...; then 4, 12, ...; then 2, 6, ...; then 1, 3, 5, ...
// A plain image arrives top row first, and since its rows follow each other
// in memory the whole picture is one run that strings can be written across.
class PixelCursor {
public:
    PixelCursor(BYTE* picture, int width, int height, bool interlaced)
        : m_picture(picture), m_width(width), m_height(height), m_interlaced(interlaced) {
        m_next = picture;
        m_runEnd = picture + std::size_t(3) * width * (interlaced ? 1 : height);
    }

    const BYTE* PictureEnd() const { return m_picture + std::size_t(3) * m_width * m_height; }
    BYTE* Next() const { return m_next; }
    BYTE* RunEnd() const { return m_runEnd; }
    // Pixels left in the current run.
    int Room() const { return int((m_runEnd - m_next) / 3); }

    // Moves to `next`, a pixel of the current run before its end.
    void MoveTo(BYTE* next) { m_next = next; }

    // Moves past `count` pixels written at Next() (at most Room()). False once
    // the picture is complete.
    bool Advance(int count) {
        m_next += std::size_t(3) * count;
        return m_next < m_runEnd || NextRow();
    }

    // Writes the pixel `bgr` to every pixel not reached yet.
    void FillRest(const BYTE* bgr) {
        do {
            for (BYTE* p = m_next; p < m_runEnd; p += 3)
                std::memcpy(p, bgr, 3);
            m_next = m_runEnd;
        } while (NextRow());
    }

private:
    bool NextRow() {
        if (!m_interlaced || m_pass == 4)
            return false;
        static constexpr int kPassStep[4] = {8, 8, 4, 2};
        static constexpr int kPassStart[4] = {0, 4, 2, 1};
        m_row += kPassStep[m_pass];
        // A pass whose first row is beyond the height is passed over at once.
        while (m_row >= m_height) {
            if (++m_pass == 4)
                return false;
            m_row = kPassStart[m_pass];
        }
        m_next = m_picture + std::size_t(3) * m_width * m_row;
        m_runEnd = m_next + std::size_t(3) * m_width;
        return true;
    }

    BYTE* const m_picture;
    const int m_width;
    const int m_height;
    const bool m_interlaced;
    int m_pass = 0;
    int m_row = 0;
    BYTE* m_next;
    BYTE* m_runEnd;
};

void BuildPalette(const GIFColorTable& colors, BYTE* palette) {
    for (int i = 0; i < 256; ++i) {
        palette[3 * i] = colors.blue[i];
        palette[3 * i + 1] = colors.green[i];
        palette[3 * i + 2] = colors.red[i];
    }
}

// Writes the `count` colour indices on the stack (the last one first) at the
// cursor, across runs. False once the picture is complete.
bool WriteStack(PixelCursor& cursor, int count, const BYTE* palette) {
    const BYTE* const stack = gifDecoderState.stack;
    while (count > 0) {
        const int run = std::min(count, cursor.Room());
        BYTE* out = cursor.Next();
        for (const BYTE* index = stack + count; index != stack + count - run; out += 3)
            std::memcpy(out, palette + 3 * *--index, 3);
        count -= run;
        if (!cursor.Advance(run))
            return false;
    }
    return true;
}

// The rest of the image through the expander alone, one string at a time.
void ExpandStrings(GifStream& stream, GIFLzwState& r, PixelCursor& cursor, const BYTE* palette) {
    for (;;) {
        const int count = GIFNextPixel(stream, r);
        if (count < 0 || !WriteStack(cursor, count, palette))
            return;
        // Past the end of the data every code is 0, a string of one index 0.
        if (r.dataExhausted) {
            cursor.FillRest(palette);
            return;
        }
    }
}

// Most strings are a few pixels long. Those of up to 5 pixels are copied as
// 16 bytes in one go, when the run has room for them: the bytes beyond the
// string are overwritten by the strings that follow, or made black with the
// rest of the picture when the image ends before them.
constexpr int kBlockBytes = 16;
constexpr int kBlockPixels = kBlockBytes / 3;
// Where most strings are about a block long, the common loop copies two
// blocks whatever the string's length, since a branch on it would be guessed
// wrong for every other string. So an entry is copied from the picture only
// if two blocks from its start lie within the picture.
constexpr int kCopyReach = 2 * kBlockBytes;
// Pixels a code from which strings count as about a block long.
constexpr int kLongStringPixels = 4;

void CopyBlock(BYTE* out, const BYTE* from) {
    BYTE block[kBlockBytes];
    std::memcpy(block, from, kBlockBytes);
    std::memcpy(out, block, kBlockBytes);
}

// The common codes of CopyStrings in a loop of their own, with nothing else
// in the registers: a string in the table, with a copy of it in the
// picture, ending well before the run does. Returns at the first code that is
// anything else, leaving it unread, with the state as CopyStrings would have
// left it. `longStrings` tells whether the strings were kLongStringPixels or
// more on average, which chooses how the next call copies them.
template <int kBlocksAtOnce>
void CopyCommonStrings(GIFLzwState& r, PixelCursor& cursor, const BYTE*& lastStart, bool& lastContinues,
                       const BYTE* pictureEnd, bool& longStrings) {
    GIFDecoderState& s = gifDecoderState;
    BYTE* out = cursor.Next();
    // The strings copied here end kCopyReach bytes before the run's end, so
    // each one continues in the run and the blocks copied never leave it.
    BYTE* const copyEnd = cursor.RunEnd() - kCopyReach;
    const BYTE* entryFrom = lastContinues && pictureEnd - lastStart >= kCopyReach ? lastStart : nullptr;
    const BYTE* const bits = s.bitBuffer;
    const int lastBit = r.lastBit;
    int bit = r.currentBit;
    int width = r.codeWidth;
    int bitLimit = lastBit - width;  // a code starting here would reach the last bit
    std::uint32_t mask = (1u << width) - 1;
    int nextFree = r.nextFreeCode;
    int threshold = r.widthThreshold;
    int previous = r.previousCode;
    int firstByte = r.firstByte;
    int previousLength = r.previousLength;
    // The entry the next code makes is known but for its last index, the
    // first of the next string: made ahead, it lets a code that names it be
    // copied like any other. The clear code, the end code and the codes above
    // it have length 0 until made.
    auto makeAhead = [&](int entry, int prefix, int first, int length, const BYTE* from) {
        s.prefix[entry] = std::uint16_t(prefix);
        s.firstIndex[entry] = BYTE(first);
        s.length[entry] = std::uint16_t(length);
        s.copyFrom[entry] = from;
    };
    if (nextFree < kGifMaxCodes)
        makeAhead(nextFree, previous, firstByte, previousLength + 1, entryFrom);
    BYTE* const start = out;
    while (bit < bitLimit) {
        std::uint32_t word;
        std::memcpy(&word, bits + (bit >> 3), sizeof word);
        const int code = int((word >> (bit & 7)) & mask);
        const int length = s.length[code];
        const BYTE* const from = s.copyFrom[code];
        const std::size_t bytes = std::size_t(3) * length;
        if (length == 0 || !from || std::ptrdiff_t(bytes) > copyEnd - out)
            break;
        bit += width;
        const int first = s.firstIndex[code];
        // Block by block, front to back. A string shorter than the blocks
        // copied at once takes the bytes after it too, which the next strings
        // overwrite (entries are made only where kCopyReach bytes lie before
        // the picture's end); a longer one ends with the block that ends with
        // it. The string's own bytes lie apart from where it goes, before it
        // or in another row.
        constexpr int kAtOnce = kBlocksAtOnce * kBlockBytes;
        BYTE blocks[kAtOnce];
        std::memcpy(blocks, from, kAtOnce);
        std::memcpy(out, blocks, kAtOnce);
        if (bytes > kAtOnce) {
            for (std::size_t done = kAtOnce; done + kBlockBytes < bytes; done += kBlockBytes)
                CopyBlock(out + done, from + done);
            CopyBlock(out + bytes - kBlockBytes, from + bytes - kBlockBytes);
        }
        if (nextFree < kGifMaxCodes) {
            // The entry made now is the last string and its own first pixel,
            // which lies where the copy goes: take that pixel once written.
            if (code == nextFree)
                std::memcpy(out + bytes - 3, out, 3);
            s.suffix[nextFree] = BYTE(first);
            if (++nextFree >= threshold && threshold < kGifMaxCodes) {
                threshold *= 2;
                ++width;
                mask = (1u << width) - 1;
                bitLimit = lastBit - width;
            }
            if (nextFree < kGifMaxCodes)
                makeAhead(nextFree, code, first, length + 1, out);
        }
        firstByte = first;
        previous = code;
        previousLength = length;
        entryFrom = out;
        out += bytes;
    }
    if (out == start)
        return;
    // Strings of kLongStringPixels a code: bytes written * width = 3 *
    // kLongStringPixels * bits read.
    longStrings = (out - start) * width >= 3 * kLongStringPixels * (bit - r.currentBit);
    r.currentBit = bit;
    r.codeWidth = width;
    r.nextFreeCode = nextFree;
    r.widthThreshold = threshold;
    r.previousCode = previous;
    r.firstByte = firstByte;
    r.previousLength = previousLength;
    lastStart = entryFrom;
    lastContinues = true;
    cursor.MoveTo(out);
}

// Decodes while the table is intact, copying strings from the picture.
// Returns true when a code above the next free one has made the table's
// strings depend on entries not made yet: the rest of the image is then left
// to ExpandStrings.
bool CopyStrings(GifStream& stream, GIFLzwState& r, PixelCursor& cursor, const BYTE* palette) {
    const GIFDecoderState& s = gifDecoderState;
    // Entries made from strings this close to the picture's end are expanded
    // rather than copied, so that a block copy never reads past the picture.
    const BYTE* const pictureEnd = cursor.PictureEnd();
    // Where the last string starts, and whether the next one follows it in
    // the same run (then the entry the next code makes lies there too).
    const BYTE* lastStart = nullptr;
    bool lastContinues = false;
    bool longStrings = false;
    auto writeStack = [&](int count) {
        lastStart = cursor.Next();
        lastContinues = count < cursor.Room();
        return WriteStack(cursor, count, palette);
    };

    const int first = GIFNextPixel(stream, r);
    if (first < 0 || !writeStack(first))
        return false;
    for (;;) {
        if (r.dataExhausted) {
            cursor.FillRest(palette);
            return false;
        }
        if (longStrings)
            CopyCommonStrings<2>(r, cursor, lastStart, lastContinues, pictureEnd, longStrings);
        else
            CopyCommonStrings<1>(r, cursor, lastStart, lastContinues, pictureEnd, longStrings);
        const int code = GIFNextCode(stream, r);
        if (unsigned(code) > unsigned(r.nextFreeCode) || unsigned(code - r.clearCode) < 2) {
            // Rare codes: a clear code, the end of the data, or a code above
            // the next free one, after which the table is no longer intact.
            if (code == r.endCode)
                return false;
            const bool intact = code == r.clearCode;
            const int count = intact ? GIFRestartTable(stream, r) : GIFExpandCode(stream, r, code);
            if (count < 0 || !writeStack(count))
                return false;
            if (!intact)
                return true;
            continue;
        }

        BYTE* const out = cursor.Next();
        const int room = cursor.Room();
        const bool madeNow = code == r.nextFreeCode;
        const int firstIndex = madeNow ? r.firstByte : s.firstIndex[code];
        GIFAddEntry(r, firstIndex, lastContinues && pictureEnd - lastStart >= kCopyReach ? lastStart : nullptr);
        r.firstByte = firstIndex;
        r.previousCode = code;
        const int length = s.length[code];
        r.previousLength = length;
        const BYTE* const from = s.copyFrom[code];
        const std::size_t head = std::size_t(3) * (length - 1);
        if (from && length <= kBlockPixels && room > kBlockPixels) {
            CopyBlock(out, from);
            // The entry made now is the last string and its own first pixel,
            // which lies where the copy goes: take that pixel once written.
            if (madeNow)
                std::memcpy(out + head, out, 3);
        } else if (from && length <= room) {
            std::memcpy(out, from, head);
            std::memcpy(out + head, from + head, 3);
        } else {
            // Not in one piece in the picture, or not fitting the row.
            const int count = GIFExpandChain(r, code, 0);
            if (count < 0 || !writeStack(count))
                return false;
            continue;
        }
        lastStart = out;
        lastContinues = length < room;
        if (!cursor.Advance(length))
            return false;
    }
}

}  // namespace

int GIFReadImage(GifStream& stream, BYTE* picture, int width, int height, const GIFColorTable& colors,
                 bool interlaced) {
    const int codeSize = stream.ReadByte();
    if (codeSize < 0)
        return 0;
    PixelCursor cursor(picture, width, height, interlaced);
    GIFDecoderState& s = gifDecoderState;
    if (GIFNextPixelInit(codeSize) == 0) {
        BuildPalette(colors, s.palette);
        // A local copy of the counters, which the compiler can keep in
        // registers: the record could be changed by any byte stored in the
        // picture.
        GIFLzwState r = s.lzw;
        if (CopyStrings(stream, r, cursor, s.palette))
            ExpandStrings(stream, r, cursor, s.palette);
        s.lzw = r;
    }
    // The picture is not cleared beforehand: the pixels the data did not
    // reach are made black now, which costs nothing for a complete image.
    static constexpr BYTE kBlack[3] = {0, 0, 0};
    cursor.FillRest(kBlack);
    return 1;
}
