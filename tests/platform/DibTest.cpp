// StretchDIBits at 1:1: row order, row padding, cropping, refusals.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "DcTestUtil.h"
#include "platform/dc/PixelRows.h"

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
    int Draw(CDC& dc, int x, int y) {
        const int w = info.bmiHeader.biWidth, h = std::abs(info.bmiHeader.biHeight);
        return Draw(dc, x, y, 0, 0, w, h);
    }
    int Draw(CDC& dc, int x, int y, int xSrc, int ySrc, int w, int h) {
        return dc.StretchDIBits(x, y, w, h, xSrc, ySrc, w, h, bytes.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    std::vector<std::uint8_t> bytes;
    BITMAPINFO info;
};

// The frame shows the pattern shifted by (dx, dy) inside `area`, black elsewhere.
void ExpectShows(const Framebuffer& frame, RECT area, int dx, int dy) {
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x) {
            const bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
            ASSERT_EQ(frame.Pixel(x, y), inside ? Expected(x - dx, y - dy) : 0u) << x << "," << y;
        }
}

}  // namespace

TEST(StretchDIBits, CopiesBottomUpPaddedRowsOfEveryWidth) {
    // Widths 1..40 take every path through the many-pixels-at-a-time copies
    // and every amount of row padding.
    for (int width = 1; width <= 40; ++width) {
        SCOPED_TRACE(width);
        Framebuffer frame(43, 6);
        CDC dc(frame);
        EXPECT_EQ(Dib(width, 3).Draw(dc, 2, 1), 3);
        ExpectShows(frame, {2, 1, 2 + width, 4}, 2, 1);
        EXPECT_EQ(dc.DirtyRect(), (RECT{2, 1, 2 + width, 4}));
    }
}

TEST(StretchDIBits, FullScreenCopyAtAnUnalignedColumnIsExact) {
    // Large enough to bypass the caches; one column in, so that rows start off
    // the vector alignment.
    Framebuffer frame(1281, 1024);
    CDC dc(frame);
    EXPECT_EQ(Dib(1280, 1024).Draw(dc, 1, 0), 1024);
    ExpectShows(frame, {1, 0, 1281, 1024}, 1, 0);
}

TEST(StretchDIBits, LargerPictureAtNegativeOffsetShowsItsMiddle) {
    Framebuffer frame(152, 112);
    CDC dc(frame);
    EXPECT_EQ(Dib(300, 200).Draw(dc, -74, -44), 112);
    ExpectShows(frame, {0, 0, 152, 112}, -74, -44);
    EXPECT_EQ(dc.DirtyRect(), (RECT{0, 0, 152, 112}));
}

TEST(StretchDIBits, TopDownRowsAndSourceRectangles) {
    Framebuffer topDown(4, 4);
    CDC topDownDc(topDown);
    EXPECT_EQ(Dib(4, 4, true).Draw(topDownDc, 0, 0), 4);
    ExpectShows(topDown, {0, 0, 4, 4}, 0, 0);

    // In a bottom-up bitmap ySrc counts from the bottom row: rows 1 and 2 from
    // the bottom of a 4-row picture are rows 2 and 1 from the top.
    Framebuffer inner(4, 4);
    CDC innerDc(inner);
    EXPECT_EQ(Dib(4, 4).Draw(innerDc, 0, 0, 1, 1, 2, 2), 2);
    ExpectShows(inner, {0, 0, 2, 2}, -1, -1);

    // A source rectangle reaching past the picture copies only the picture.
    Framebuffer past(8, 8);
    CDC pastDc(past);
    EXPECT_EQ(Dib(4, 4).Draw(pastDc, 0, 0, 2, 0, 6, 6), 4);
    ExpectShows(past, {0, 2, 2, 6}, -2, 2);
}

TEST(StretchDIBits, ExtremePositionsCopyNothing) {
    Dib dib(3, 3);
    for (const auto& [x, y] : {std::pair{INT_MAX, 0}, {0, INT_MAX}, {INT_MIN, 0}, {0, INT_MIN}, {-3, 0}, {8, 8}}) {
        Framebuffer frame(8, 8);
        CDC dc(frame);
        EXPECT_EQ(dib.Draw(dc, x, y), 0);
        EXPECT_EQ(Count(frame, 0), 64);
        EXPECT_EQ(dc.DirtyRect(), RECT{});
    }
    Framebuffer frame(8, 8);
    CDC dc(frame);
    EXPECT_EQ(dib.Draw(dc, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MAX, INT_MAX), 0);
    EXPECT_EQ(dib.Draw(dc, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX), 0);
}

TEST(StretchDIBits, RefusesWhatItCannotDrawAndLeavesTheScreen) {
    Dib good(4, 2);
    const auto draw = [&](BITMAPINFOHEADER header, int destWidth = 4, UINT usage = DIB_RGB_COLORS,
                          DWORD rop = SRCCOPY) {
        Framebuffer frame(6, 6);
        CDC dc(frame);
        const BITMAPINFO info{header};
        const int rows = dc.StretchDIBits(0, 0, destWidth, 2, 0, 0, 4, 2, good.bytes.data(), &info, usage, rop);
        EXPECT_EQ(Count(frame, 0), rows == 0 ? 36 : 36 - 8);
        return rows;
    };
    const BITMAPINFOHEADER ok = good.info.bmiHeader;
    auto with = [&](auto change) {
        BITMAPINFOHEADER header = ok;
        change(header);
        return header;
    };
    EXPECT_EQ(draw(with([](auto& h) { h.biBitCount = 32; })), 0);
    EXPECT_EQ(draw(with([](auto& h) { h.biCompression = 1; })), 0);   // run-length encoded
    EXPECT_EQ(draw(with([](auto& h) { h.biPlanes = 0; })), 0);
    EXPECT_EQ(draw(with([](auto& h) { h.biSize = 12; })), 0);         // the old core header
    EXPECT_EQ(draw(with([](auto& h) { h.biWidth = 0; })), 0);
    EXPECT_EQ(draw(with([](auto& h) { h.biWidth = -4; })), 0);
    EXPECT_EQ(draw(with([](auto& h) { h.biHeight = 0; })), 0);
    EXPECT_EQ(draw(with([](auto& h) { h.biSizeImage = 23; })), 0);    // rows need 24 bytes
    EXPECT_EQ(draw(with([](auto& h) { h.biWidth = h.biHeight = INT_MAX; })), 0);  // no such buffer
    EXPECT_EQ(draw(ok, 8), 0);                                         // scaled
    EXPECT_EQ(draw(ok, 4, 1), 0);                                      // palette colours
    EXPECT_EQ(draw(ok, 4, DIB_RGB_COLORS, 0x00EE0086), 0);             // another raster operation
    EXPECT_EQ(draw(with([](auto& h) { h.biSizeImage = 24; })), 2);    // an exact size is fine

    Framebuffer frame(6, 6);
    CDC dc(frame);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, nullptr, &good.info, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, good.bytes.data(), nullptr, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(good.Draw(dc, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(good.Draw(dc, 0, 0, 0, 0, -4, -2), 0);
    EXPECT_EQ(Count(frame, 0), 36);
}

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
        EXPECT_EQ(portable[count], 7u);  // nothing written past the row
        EXPECT_EQ(fast[count], 7u);
    }
}
