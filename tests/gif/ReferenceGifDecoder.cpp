#include "ReferenceGifDecoder.h"

#include <cstring>
#include <new>

namespace testing_support {

namespace {

// A file in memory, read like a byte stream: a read gets all it asks for or
// fails and leaves the stream at its end.
struct ByteStream {
    const std::string& bytes;
    std::size_t pos = 0;

    bool Read(BYTE* out, std::size_t count) {
        if (bytes.size() - pos < count) {
            pos = bytes.size();
            return false;
        }
        std::memcpy(out, bytes.data() + pos, count);
        pos += count;
        return true;
    }
    int ReadByte() {
        BYTE byte;
        return Read(&byte, 1) ? byte : -1;
    }
};

struct ColorTable {
    BYTE red[256] = {};
    BYTE green[256] = {};
    BYTE blue[256] = {};
};

}  // namespace

struct ReferenceGifDecoder::State {
    ColorTable global;
    int zeroBlock = 0;
    int inputCodeSize = 0, codeWidth = 0, clearCode = 0, endCode = 0, nextFree = 0, threshold = 0;
    int firstRead = 0, previousCode = 0, firstByte = 0, refused = 0;
    int prefix[4096] = {};
    int suffix[4096] = {};
    BYTE stack[8192] = {};
    int top = 0;
    BYTE bits[280] = {};
    int currentBit = 0, lastBit = 0, lastByteCount = 0, done = 0;
    BYTE scratch[256] = {};

    int ReadColorTable(ByteStream& in, int count, ColorTable& table) {
        for (int i = 0; i < count; ++i) {
            BYTE rgb[3];
            if (!in.Read(rgb, 3))
                return 0;
            table.red[i] = rgb[0];
            table.green[i] = rgb[1];
            table.blue[i] = rgb[2];
        }
        return 1;
    }

    int ReadSubBlock(ByteStream& in, BYTE* buffer) {
        int n = in.ReadByte();
        if (n < 0)
            return -1;
        zeroBlock = n == 0;
        if (n > 0 && !in.Read(buffer, std::size_t(n)))
            return -1;
        return n;
    }

    // Init: width 0 never happens for a read.
    int NextCode(ByteStream& in, int width) {
        if (currentBit + width >= lastBit) {
            if (done)
                return 0;
            int carry0 = lastByteCount >= 2 ? bits[lastByteCount - 2] : 0;
            int carry1 = lastByteCount >= 2 ? bits[lastByteCount - 1] : 0;
            bits[0] = BYTE(carry0);
            bits[1] = BYTE(carry1);
            int n = ReadSubBlock(in, bits + 2);
            if (n <= 0) {
                done = 1;
                n = 0;
            }
            lastByteCount = 2 + n;
            currentBit = currentBit - lastBit + 16;
            lastBit = (2 + n) * 8;
            if (currentBit + width > 280 * 8)
                return -1;
        }
        int code = 0;
        for (int i = 0; i < width; ++i) {
            int b = currentBit + i;
            if (bits[b / 8] & (1 << (b % 8)))
                code |= 1 << i;
        }
        currentBit += width;
        return code;
    }

    void ResetTable() {
        for (int i = 0; i < 4096; ++i) {
            prefix[i] = 0;
            suffix[i] = i < clearCode ? (i & 0xFF) : 0;
        }
    }

    void InitPixels(int size) {
        refused = size > 11;
        if (refused)
            return;
        inputCodeSize = size;
        codeWidth = size + 1;
        clearCode = 1 << size;
        endCode = clearCode + 1;
        threshold = 2 * clearCode;
        nextFree = clearCode + 2;
        currentBit = 0;
        lastBit = 0;
        done = 0;
        firstRead = 1;
        ResetTable();
        top = 0;
    }

    int FirstCode(int code) {
        if (code < 0 || code >= clearCode || code > 255)
            return -1;
        previousCode = firstByte = code;
        return code;
    }

    int NextPixel(ByteStream& in) {
        if (refused)
            return -1;
        if (firstRead) {
            firstRead = 0;
            int code;
            do
                code = NextCode(in, codeWidth);
            while (code == clearCode);
            return FirstCode(code);
        }
        if (top > 0)
            return stack[--top];
        int code = NextCode(in, codeWidth);
        if (code < 0)
            return -1;
        if (code == clearCode) {
            ResetTable();
            codeWidth = inputCodeSize + 1;
            threshold = 2 * clearCode;
            nextFree = clearCode + 2;
            top = 0;
            return FirstCode(NextCode(in, codeWidth));
        }
        if (code == endCode) {
            if (!zeroBlock)
                while (ReadSubBlock(in, scratch) > 0) {
                }
            return -2;
        }
        int incoming = code;
        if (code >= nextFree) {
            stack[top++] = BYTE(firstByte);
            code = previousCode;
        }
        while (code >= clearCode) {
            if (top == 8192)
                return -1;
            stack[top++] = BYTE(suffix[code]);
            if (prefix[code] == code)
                return -1;
            code = prefix[code];
        }
        if (top == 8192)
            return -1;
        firstByte = suffix[code];
        stack[top++] = BYTE(firstByte);
        if (nextFree < 4096) {
            prefix[nextFree] = previousCode;
            suffix[nextFree] = firstByte;
            ++nextFree;
            if (nextFree >= threshold && threshold < 4096) {
                threshold *= 2;
                ++codeWidth;
            }
        }
        previousCode = incoming;
        return stack[--top];
    }

    int ReadImage(ByteStream& in, BYTE* picture, int width, int height, const ColorTable& colors,
                  bool interlaced) {
        int size = in.ReadByte();
        if (size < 0)
            return 0;
        InitPixels(size);
        static const int step[4] = {8, 8, 4, 2};
        static const int start[4] = {0, 4, 2, 1};
        int x = 0, y = 0, pass = 0;
        for (;;) {
            int v = NextPixel(in);
            if (v < 0)
                return 1;
            BYTE* p = picture + (std::size_t(y) * width + x) * 3;
            p[0] = colors.blue[v];
            p[1] = colors.green[v];
            p[2] = colors.red[v];
            if (++x < width)
                continue;
            x = 0;
            if (!interlaced) {
                if (++y >= height)
                    return 1;
                continue;
            }
            y += step[pass];
            while (y >= height) {
                if (++pass > 3)
                    return 1;
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
    ByteStream in{bytes};
    auto fail = [&](const std::string& message) {
        error = message;
        return std::unique_ptr<BYTE[]>();
    };
    if (path.empty())
        return fail("No Name Given");
    BYTE magic[6];
    if (!in.Read(magic, 6))
        return fail("Error reading GIF Magic #");
    if (std::memcmp(magic, "GIF", 3) != 0)
        return fail("Error, " + path + " is not a valid .GIF file");
    if (std::memcmp(magic + 3, "87a", 3) != 0 && std::memcmp(magic + 3, "89a", 3) != 0)
        return fail("Error, Bad GIF Version number");
    BYTE screen[7];
    if (!in.Read(screen, 7))
        return fail("Error, failed to GIF read screen descriptor.\nGiving up");
    if ((screen[4] & 0x80) && !s.ReadColorTable(in, 1 << ((screen[4] & 7) + 1), s.global))
        return fail("Error reading GIF colormap");
    if (screen[6] != 0 && screen[6] != 49)
        error = "Non-square pixels in GIF image.\nIgnoring that fact...";
    for (;;) {
        int c = in.ReadByte();
        if (c < 0)
            return fail("Unexpected EOF in GIF.\nGiving up");
        if (c == ',')
            break;
        if (c == '!') {
            if (in.ReadByte() < 0)
                return fail("Error on extension read.\nGiving up");
            while (s.ReadSubBlock(in, s.scratch) > 0) {
            }
        }
    }
    BYTE d[9];
    if (!in.Read(d, 9))
        return fail("Error on dimension read\nGiving up");
    int w = d[4] | (d[5] << 8);
    int h = d[6] | (d[7] << 8);
    if (w == 0 || h == 0)
        return fail("Error on dimension read\nGiving up");
    if (std::size_t(w) * h > (std::size_t(1) << 26))
        return fail("Out of Memory in GIFRead");
    std::unique_ptr<BYTE[]> picture(new (std::nothrow) BYTE[std::size_t(w) * h * 3]());
    if (!picture)
        return fail("Out of Memory in GIFRead");
    bool interlaced = d[8] & 0x40;
    if (d[8] & 0x80) {
        ColorTable local;
        if (!s.ReadColorTable(in, 1 << ((d[8] & 7) + 1), local))
            return fail("Error reading GIF colormap\nGiving up");
        if (!s.ReadImage(in, picture.get(), w, h, local, interlaced))
            return fail("Error reading GIF file\nLocalColorMap\nGiving up");
    } else if (!s.ReadImage(in, picture.get(), w, h, s.global, interlaced)) {
        return fail("Error reading GIF file\nGIFScreen Colormap\nGiving up");
    }
    width = w;
    height = h;
    return picture;
}

}  // namespace testing_support
