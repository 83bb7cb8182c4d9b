// StretchDIBits at 1:1: row order, row padding, cropping, refusals.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "DcTestUtil.h"

using namespace dc_test;

namespace {

constexpr std::uint8_t kFiller = 0xEE;  // must never reach the screen

// A picture given top row first as 0x00RRGGBB words, stored the way the saver
// stores its background: blue, green, red bytes, rows padded to 4 bytes,
// bottom row first unless topDown.
struct Dib {
    Dib(int width, int height, const std::vector<std::uint32_t>& pixels, bool topDown = false) {
        const int stride = (width * 3 + 3) / 4 * 4;
        bytes.assign(std::size_t(stride) * height, kFiller);
        for (int y = 0; y < height; ++y) {
            const int stored = topDown ? y : height - 1 - y;
            for (int x = 0; x < width; ++x) {
                const std::uint32_t p = pixels[std::size_t(y) * width + x];
                std::uint8_t* b = &bytes[std::size_t(stored) * stride + std::size_t(x) * 3];
                b[0] = p & 0xFF;
                b[1] = (p >> 8) & 0xFF;
                b[2] = (p >> 16) & 0xFF;
            }
        }
        info.bmiHeader = {40, width, topDown ? -height : height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    }
    std::vector<std::uint8_t> bytes;
    BITMAPINFO info{};
};

// Distinct, recognisable pixels: red = x, green = y, blue = a tag.
std::vector<std::uint32_t> Pattern(int width, int height) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(std::uint32_t((x & 0xFF) << 16 | (y & 0xFF) << 8 | 0x5A));
    return pixels;
}

std::uint32_t PatternPixel(int x, int y) { return std::uint32_t((x & 0xFF) << 16 | (y & 0xFF) << 8 | 0x5A); }

int Draw(CDC& dc, const Dib& dib, int x, int y) {
    const int w = dib.info.bmiHeader.biWidth;
    const int h = std::abs(dib.info.bmiHeader.biHeight);
    return dc.StretchDIBits(x, y, w, h, 0, 0, w, h, dib.bytes.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

TEST(StretchDIBits, CopiesBottomUpPaddedRowsForEveryRowWidth) {
    // Widths 1..9 take every path through the four-pixels-at-a-time copy and
    // every amount of row padding.
    for (int width = 1; width <= 9; ++width) {
        Framebuffer frame(12, 6);
        CDC dc(frame);
        const Dib dib(width, 3, Pattern(width, 3));
        ASSERT_EQ(Draw(dc, dib, 2, 1), 3) << width;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 12; ++x) {
                const bool inside = x >= 2 && x < 2 + width && y >= 1 && y < 4;
                ASSERT_EQ(frame.Pixel(x, y), inside ? PatternPixel(x - 2, y - 1) : 0u) << width << ":" << x << "," << y;
            }
        EXPECT_EQ(dc.DirtyRect(), (RECT{2, 1, 2 + width, 4}));
    }
}

TEST(StretchDIBits, LargerPictureAtNegativeOffsetShowsItsMiddle) {
    Framebuffer frame(152, 112);
    CDC dc(frame);
    const Dib dib(300, 200, Pattern(300, 200));
    EXPECT_EQ(Draw(dc, dib, -74, -44), 112);
    for (int y = 0; y < 112; ++y)
        for (int x = 0; x < 152; ++x)
            ASSERT_EQ(frame.Pixel(x, y), PatternPixel(x + 74, y + 44)) << x << "," << y;
    EXPECT_EQ(dc.DirtyRect(), (RECT{0, 0, 152, 112}));
}

TEST(StretchDIBits, TopDownRowsAndSourceOrigins) {
    const std::vector<std::uint32_t> pixels = Pattern(4, 4);
    {
        Framebuffer frame(4, 4);
        CDC dc(frame);
        const Dib topDown(4, 4, pixels, true);
        EXPECT_EQ(Draw(dc, topDown, 0, 0), 4);
        EXPECT_EQ(frame.Pixel(1, 3), PatternPixel(1, 3));
    }
    {
        // In a bottom-up bitmap the source y counts from the bottom row: rows
        // 1 and 2 from the bottom are picture rows 2 and 1 from the top.
        Framebuffer frame(4, 4);
        CDC dc(frame);
        const Dib bottomUp(4, 4, pixels);
        EXPECT_EQ(dc.StretchDIBits(0, 0, 2, 2, 1, 1, 2, 2, bottomUp.bytes.data(), &bottomUp.info, DIB_RGB_COLORS,
                                   SRCCOPY),
                  2);
        EXPECT_EQ(frame.Pixel(0, 0), PatternPixel(1, 1));
        EXPECT_EQ(frame.Pixel(1, 1), PatternPixel(2, 2));
        EXPECT_EQ(Count(frame, 0), 12);
    }
    {
        // A source rectangle reaching past the picture copies only the picture.
        Framebuffer frame(8, 8);
        CDC dc(frame);
        const Dib bottomUp(4, 4, pixels);
        EXPECT_EQ(dc.StretchDIBits(0, 0, 6, 6, 2, 0, 6, 6, bottomUp.bytes.data(), &bottomUp.info, DIB_RGB_COLORS,
                                   SRCCOPY),
                  4);
        EXPECT_EQ(frame.Pixel(0, 2), PatternPixel(2, 0));
        EXPECT_EQ(Count(frame, 0), 64 - 8);
    }
}

TEST(StretchDIBits, ExtremePositionsCopyNothing) {
    const Dib dib(3, 3, Pattern(3, 3));
    for (const auto& [x, y] : {std::pair{INT_MAX, 0}, {0, INT_MAX}, {INT_MIN, 0}, {0, INT_MIN}, {-3, 0}, {8, 8}}) {
        Framebuffer frame(8, 8);
        CDC dc(frame);
        EXPECT_EQ(Draw(dc, dib, x, y), 0);
        EXPECT_EQ(Count(frame, 0), 64);
        EXPECT_EQ(dc.DirtyRect(), RECT{});
    }
    Framebuffer frame(8, 8);
    CDC dc(frame);
    EXPECT_EQ(dc.StretchDIBits(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX,
                               dib.bytes.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY),
              0);
}

TEST(StretchDIBits, RefusesWhatItDoesNotDrawAndLeavesTheScreen) {
    const Dib good(4, 2, Pattern(4, 2));
    struct Case {
        const char* what;
        void (*spoil)(BITMAPINFOHEADER&, int& destWidth, UINT& usage, DWORD& rop);
    };
    const Case cases[] = {
        {"32 bits", [](BITMAPINFOHEADER& h, int&, UINT&, DWORD&) { h.biBitCount = 32; }},
        {"compressed", [](BITMAPINFOHEADER& h, int&, UINT&, DWORD&) { h.biCompression = 1; }},
        {"no planes", [](BITMAPINFOHEADER& h, int&, UINT&, DWORD&) { h.biPlanes = 0; }},
        {"core header", [](BITMAPINFOHEADER& h, int&, UINT&, DWORD&) { h.biSize = 12; }},
        {"zero width", [](BITMAPINFOHEADER& h, int&, UINT&, DWORD&) { h.biWidth = 0; }},
        {"negative width", [](BITMAPINFOHEADER& h, int&, UINT&, DWORD&) { h.biWidth = -4; }},
        {"zero height", [](BITMAPINFOHEADER& h, int&, UINT&, DWORD&) { h.biHeight = 0; }},
        {"image size too small", [](BITMAPINFOHEADER& h, int&, UINT&, DWORD&) { h.biSizeImage = 23; }},
        {"unaddressable", [](BITMAPINFOHEADER& h, int&, UINT&, DWORD&) { h.biWidth = h.biHeight = INT_MAX; }},
        {"scaled", [](BITMAPINFOHEADER&, int& w, UINT&, DWORD&) { w = 8; }},
        {"palette colours", [](BITMAPINFOHEADER&, int&, UINT& usage, DWORD&) { usage = 1; }},
        {"other raster op", [](BITMAPINFOHEADER&, int&, UINT&, DWORD& rop) { rop = 0x00EE0086; }},
    };
    for (const Case& c : cases) {
        BITMAPINFO info = good.info;
        int destWidth = 4;
        UINT usage = DIB_RGB_COLORS;
        DWORD rop = SRCCOPY;
        c.spoil(info.bmiHeader, destWidth, usage, rop);
        Framebuffer frame(6, 6);
        CDC dc(frame);
        EXPECT_EQ(dc.StretchDIBits(0, 0, destWidth, 2, 0, 0, 4, 2, good.bytes.data(), &info, usage, rop), 0)
            << c.what;
        EXPECT_EQ(Count(frame, 0), 36) << c.what;
    }
    Framebuffer frame(6, 6);
    CDC dc(frame);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, nullptr, &good.info, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, good.bytes.data(), nullptr, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 0, 0, 0, 0, 0, 0, good.bytes.data(), &good.info, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, -4, -2, 0, 0, -4, -2, good.bytes.data(), &good.info, DIB_RGB_COLORS, SRCCOPY),
              0);
    // The stated image size may be exact.
    BITMAPINFO exact = good.info;
    exact.bmiHeader.biSizeImage = 24;
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, good.bytes.data(), &exact, DIB_RGB_COLORS, SRCCOPY), 2);
}
