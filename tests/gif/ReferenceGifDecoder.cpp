#include "ReferenceGifDecoder.h"

#include <cstring>

namespace testing_support {

using ColorTable = BYTE[256][3];  // red, green, blue

struct ReferenceGifDecoder::State {
    const std::string* file = nullptr;
    std::size_t pos = 0;
    ColorTable global = {};
    int codeSize = 0, clearCode = 0, codeWidth = 0, nextFree = 0, threshold = 0;
    int firstRead = 0, previousCode = 0, firstByte = 0, top = 0;
    int prefix[4096] = {};
    int suffix[4096] = {};
    BYTE stack[8192] = {};
    BYTE bits[280] = {};
    int currentBit = 0, lastBit = 0, lastByteCount = 0, done = 0;

    // A read gets all it asks for, or fails and uses the file up.
    bool Read(BYTE* out, std::size_t count) {
        if (file->size() - pos < count) {
            pos = file->size();
            return false;
        }
        std::memcpy(out, file->data() + pos, count);
        pos += count;
        return true;
    }
    int ReadByte() {
        BYTE byte;
        return Read(&byte, 1) ? byte : -1;
    }
    bool ReadColorTable(int count, ColorTable& table) {
        for (int i = 0; i < count; ++i)
            if (!Read(table[i], 3))
                return false;
        return true;
    }
    int ReadSubBlock(BYTE* buffer) {
        const int n = ReadByte();
        if (n > 0 && !Read(buffer, std::size_t(n)))
            return -1;
        return n;
    }

    // Reads one sub-block per code at most, behind the last two bytes of
    // the previous one; a code may take stale bits beyond the valid ones.
    int NextCode() {
        if (currentBit + codeWidth >= lastBit) {
            if (done)
                return 0;
            bits[0] = bits[lastByteCount - 2];
            bits[1] = bits[lastByteCount - 1];
            int n = ReadSubBlock(bits + 2);
            if (n <= 0) {
                done = 1;
                n = 0;
            }
            lastByteCount = 2 + n;
            currentBit = currentBit - lastBit + 16;
            lastBit = lastByteCount * 8;
            if (currentBit + codeWidth > 280 * 8)
                return -1;
        }
        int code = 0;
        for (int i = 0; i < codeWidth; ++i, ++currentBit)
            if (bits[currentBit / 8] & (1 << (currentBit % 8)))
                code |= 1 << i;
        return code;
    }

    void ResetTable() {
        codeWidth = codeSize + 1;
        threshold = 2 * clearCode;
        nextFree = clearCode + 2;
        for (int i = 0; i < 4096; ++i) {
            prefix[i] = 0;
            suffix[i] = i < clearCode ? (i & 0xFF) : 0;
        }
    }

    int FirstCode(int code) {
        if (code < 0 || code >= clearCode || code > 255)
            return -1;
        previousCode = firstByte = code;
        return code;
    }

    // The next colour index, or -1 when the image ends.
    int NextPixel() {
        if (firstRead) {
            firstRead = 0;
            int code;
            do
                code = NextCode();
            while (code == clearCode);
            return FirstCode(code);
        }
        if (top > 0)
            return stack[--top];
        int code = NextCode();
        if (code < 0 || code == clearCode + 1)
            return -1;
        if (code == clearCode) {
            ResetTable();
            return FirstCode(NextCode());
        }
        const int incoming = code;
        if (code >= nextFree) {
            stack[top++] = BYTE(firstByte);
            code = previousCode;
        }
        // A damaged table can loop: a prefix that is its own code, or a walk
        // longer than the stack, ends the image.
        for (;;) {
            if (top == 8192)
                return -1;
            stack[top++] = BYTE(suffix[code]);
            if (code < clearCode)
                break;
            if (prefix[code] == code)
                return -1;
            code = prefix[code];
        }
        firstByte = suffix[code];
        if (nextFree < 4096) {
            prefix[nextFree] = previousCode;
            suffix[nextFree] = firstByte;
            if (++nextFree >= threshold && threshold < 4096) {
                threshold *= 2;
                ++codeWidth;
            }
        }
        previousCode = incoming;
        return stack[--top];
    }

    // Pixels the data does not reach stay as they are (black).
    void ReadImage(int size, BYTE* picture, int width, int height, const ColorTable& colors, bool interlaced) {
        if (size > 11)
            return;
        codeSize = size;
        clearCode = 1 << size;
        currentBit = lastBit = done = top = 0;
        lastByteCount = 2;
        firstRead = 1;
        ResetTable();
        static const int start[4] = {0, 4, 2, 1};
        static const int step[4] = {8, 8, 4, 2};
        int x = 0, y = 0, pass = 0;
        for (int v; (v = NextPixel()) >= 0;) {
            BYTE* p = picture + (std::size_t(y) * width + x) * 3;
            p[0] = colors[v][2];
            p[1] = colors[v][1];
            p[2] = colors[v][0];
            if (++x < width)
                continue;
            x = 0;
            y += interlaced ? step[pass] : 1;
            while (y >= height) {
                if (!interlaced || ++pass > 3)
                    return;
                y = start[pass];
            }
        }
    }
};

ReferenceGifDecoder::ReferenceGifDecoder() : state_(new State) {}
ReferenceGifDecoder::~ReferenceGifDecoder() = default;

std::unique_ptr<BYTE[]> ReferenceGifDecoder::Decode(const std::string& path, const std::string& bytes, int& width,
                                                    int& height, std::string& error) {
    State& s = *state_;
    s.file = &bytes;
    s.pos = 0;
    auto fail = [&](const std::string& message) {
        error = message;
        return std::unique_ptr<BYTE[]>();
    };
    if (path.empty())
        return fail("No Name Given");
    BYTE magic[6];
    if (!s.Read(magic, 6))
        return fail("Error reading GIF Magic #");
    if (std::memcmp(magic, "GIF", 3) != 0)
        return fail("Error, " + path + " is not a valid .GIF file");
    if (std::memcmp(magic + 3, "87a", 3) != 0 && std::memcmp(magic + 3, "89a", 3) != 0)
        return fail("Error, Bad GIF Version number");
    BYTE screen[7];
    if (!s.Read(screen, 7))
        return fail("Error, failed to GIF read screen descriptor.\nGiving up");
    if ((screen[4] & 0x80) && !s.ReadColorTable(2 << (screen[4] & 7), s.global))
        return fail("Error reading GIF colormap");
    if (screen[6] != 0 && screen[6] != 49)
        error = "Non-square pixels in GIF image.\nIgnoring that fact...";
    for (;;) {
        const int c = s.ReadByte();
        if (c < 0)
            return fail("Unexpected EOF in GIF.\nGiving up");
        if (c == ',')
            break;
        if (c == '!') {
            if (s.ReadByte() < 0)
                return fail("Error on extension read.\nGiving up");
            BYTE block[256];
            while (s.ReadSubBlock(block) > 0) {
            }
        }
    }
    BYTE d[9];
    if (!s.Read(d, 9))
        return fail("Error on dimension read\nGiving up");
    const int w = d[4] | (d[5] << 8);
    const int h = d[6] | (d[7] << 8);
    if (w == 0 || h == 0)
        return fail("Error on dimension read\nGiving up");
    if (std::size_t(w) * h > (std::size_t(1) << 26))
        return fail("Out of Memory in GIFRead");
    auto picture = std::make_unique<BYTE[]>(std::size_t(w) * h * 3);  // black
    const bool local = d[8] & 0x80;
    ColorTable localColors = {};
    if (local && !s.ReadColorTable(2 << (d[8] & 7), localColors))
        return fail("Error reading GIF colormap\nGiving up");
    const int size = s.ReadByte();
    if (size < 0)
        return fail(local ? "Error reading GIF file\nLocalColorMap\nGiving up"
                          : "Error reading GIF file\nGIFScreen Colormap\nGiving up");
    s.ReadImage(size, picture.get(), w, h, local ? localColors : s.global, d[8] & 0x40);
    width = w;
    height = h;
    return picture;
}

}  // namespace testing_support
