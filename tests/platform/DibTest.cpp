// StretchDIBits at 1:1: row order, row padding, cropping, refusals.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <vector>

#include "DcTestUtil.h"
#include "platform/qt/PixelRows.h"

using namespace dc_test;

namespace {

// Distinct pixels: red = x, green = y, blue = a tag.
std::uint32_t Expected(int x, int y) { return std::uint32_t((x & 0xFF) << 16 | (y & 0xFF) << 8 | 0x5A); }

// That pattern stored as the saver stores its background: blue, green, red
// bytes, rows padded to 4 bytes with filler that must never show, bottom row
// first unless top-down.
struct Dib {
    Dib(int width, int height, bool topDown = false)
        : info{{40, width, topDown ? -height : height, 1, 24, BI_RGB, 0, 0, 0, 0, 0}} {
        const int stride = (width * 3 + 3) / 4 * 4;
        bytes.assign(std::size_t(stride) * height, 0xEE);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint8_t* b = &bytes[std::size_t(topDown ? y : height - 1 - y) * stride + std::size_t(x) * 3];
                b[0] = 0x5A, b[1] = std::uint8_t(y), b[2] = std::uint8_t(x);
            }
    }
    int Draw(CDC& dc, int x, int y, int xSrc, int ySrc, int w, int h) const {
        return dc.StretchDIBits(x, y, w, h, xSrc, ySrc, w, h, bytes.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    std::vector<std::uint8_t> bytes;
    BITMAPINFO info;
};

}  // namespace

// Each case draws a picture into a frame; the frame must then show the
// pattern shifted by (dx, dy) inside `shown`, black elsewhere, and report
// `shown` as changed.
TEST(StretchDIBits, CopiesRowsInOrderCroppedToFrameAndPicture) {
    struct Case {
        int width, height;
        bool topDown;
        int frameWidth, frameHeight, x, y, xSrc, ySrc, w, h, rows;
        RECT shown;
        int dx, dy;
    };
    std::vector<Case> cases = {
        // Larger than the caches, one column in, so that rows start off the
        // vector alignment.
        {1280, 1024, false, 1281, 1024, 1, 0, 0, 0, 1280, 1024, 1024, {1, 0, 1281, 1024}, 1, 0},
        {300, 200, false, 152, 112, -74, -44, 0, 0, 300, 200, 112, {0, 0, 152, 112}, -74, -44},
        {4, 4, true, 4, 4, 0, 0, 0, 0, 4, 4, 4, {0, 0, 4, 4}, 0, 0},
        // Bottom-up, ySrc counts from the bottom row: rows 1 and 2 from the
        // bottom of four are rows 2 and 1 from the top.
        {4, 4, false, 4, 4, 0, 0, 1, 1, 2, 2, 2, {0, 0, 2, 2}, -1, -1},
        // A source rectangle reaching past the picture copies only the picture.
        {4, 4, false, 8, 8, 0, 0, 2, 0, 6, 6, 4, {0, 2, 2, 6}, -2, 2},
    };
    // Nothing at all: off the frame, extreme or empty.
    for (const auto& [x, y, src, size] : {std::array{INT_MAX, 0, 0, 3}, {0, INT_MAX, 0, 3}, {INT_MIN, 0, 0, 3},
                                          {0, INT_MIN, 0, 3}, {-3, 0, 0, 3}, {8, 8, 0, 3}, {0, 0, 0, 0}, {0, 0, 0, -3},
                                          {INT_MIN, INT_MIN, INT_MIN, INT_MAX}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}})
        cases.push_back({3, 3, false, 8, 8, x, y, src, src, size, size, 0, {}, 0, 0});
    // Every path through the many-pixels-at-a-time copies and every padding.
    for (int width = 1; width <= 40; ++width)
        cases.push_back({width, 3, false, 43, 6, 2, 1, 0, 0, width, 3, 3, {2, 1, 2 + width, 4}, 2, 1});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.x << "," << c.y << " from "
                                        << c.xSrc << "," << c.ySrc << " size " << c.w << "x" << c.h);
        Framebuffer frame(c.frameWidth, c.frameHeight);
        CDC dc(frame);
        EXPECT_EQ(Dib(c.width, c.height, c.topDown).Draw(dc, c.x, c.y, c.xSrc, c.ySrc, c.w, c.h), c.rows);
        EXPECT_EQ(dc.DirtyRect(), c.shown);
        for (int y = 0; y < frame.Height(); ++y)
            for (int x = 0; x < frame.Width(); ++x) {
                const bool inside = x >= c.shown.left && x < c.shown.right && y >= c.shown.top && y < c.shown.bottom;
                ASSERT_EQ(frame.Pixel(x, y), inside ? Expected(x - c.dx, y - c.dy) : 0u) << x << "," << y;
            }
    }
}

TEST(StretchDIBits, RefusesWhatItCannotDrawAndLeavesTheFrame) {
    const Dib dib(4, 2);
    // Draws the picture with `change` made to its header.
    const auto draw = [&](auto change, int destWidth = 4, UINT usage = DIB_RGB_COLORS, DWORD rop = SRCCOPY) {
        Framebuffer frame(6, 6);
        CDC dc(frame);
        BITMAPINFO info = dib.info;
        change(info.bmiHeader);
        const int rows = dc.StretchDIBits(0, 0, destWidth, 2, 0, 0, 4, 2, dib.bytes.data(), &info, usage, rop);
        EXPECT_EQ(Count(frame, 0), rows == 0 ? 36 : 36 - 8);
        return rows;
    };
    const auto same = [](BITMAPINFOHEADER&) {};
    EXPECT_EQ(draw([](auto& h) { h.biBitCount = 32; }), 0);
    EXPECT_EQ(draw([](auto& h) { h.biCompression = 1; }), 0);  // run-length encoded
    EXPECT_EQ(draw([](auto& h) { h.biWidth = -4; }), 0);
    EXPECT_EQ(draw([](auto& h) { h.biHeight = 0; }), 0);
    EXPECT_EQ(draw([](auto& h) { h.biSizeImage = 23; }), 0);                  // rows need 24 bytes
    EXPECT_EQ(draw([](auto& h) { h.biWidth = h.biHeight = INT_MAX; }), 0);  // no such buffer
    EXPECT_EQ(draw(same, 8), 0);                                             // scaled
    EXPECT_EQ(draw(same, 4, 1), 0);                                          // palette colours
    EXPECT_EQ(draw(same, 4, DIB_RGB_COLORS, 0x00EE0086), 0);                 // another raster operation
    EXPECT_EQ(draw([](auto& h) { h.biSizeImage = 24; }), 2);                  // an exact size is fine
    Framebuffer frame(6, 6);
    CDC dc(frame);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, nullptr, &dib.info, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, dib.bytes.data(), nullptr, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(Count(frame, 0), 36);
}

// The SSSE3 rows and the plain loop give the same words, write nothing past
// the row, and follow a negative stride.
TEST(PixelRows, PortableAndFastCopiesAgree) {
    std::vector<std::uint8_t> bytes(2 * 3 * 40);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i * 37 + 11);
    const auto word = [&](std::size_t at) { return std::uint32_t(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16); };
    for (int count = 0; count <= 40; ++count) {
        std::vector<std::uint32_t> portable(count + 1, 7), fast(2 * (count + 1), 7);
        ConvertBgrRowPortable(bytes.data() + 120, portable.data(), count);
        // Two rows, the second stored before the first, as bottom-up rows are.
        ConvertBgrRows(bytes.data() + 120, -120, fast.data(), count + 1, count, 2);
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(portable[i], word(120 + 3 * i)) << count << ":" << i;
            ASSERT_EQ(fast[i], portable[i]) << count << ":" << i;
            ASSERT_EQ(fast[count + 1 + i], word(3 * i)) << count << ":" << i;
        }
        EXPECT_EQ(portable[count], 7u);
        EXPECT_EQ(fast[count], 7u);
    }
}
