// The framebuffer, and FillRect, SetPixelV and the changed area they report.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "DcTestUtil.h"

using namespace dc_test;

// Resizing keeps the top-left overlap and blackens the rest; a size that
// cannot be leaves an empty side; reading outside gives black.
TEST(Framebuffer, ResizeKeepsTheOverlapAndRefusesImpossibleSizes) {
    Framebuffer frame(2, 2);
    for (std::uint32_t i = 0; i < 4; ++i)
        frame.Pixels()[i] = i + 1;  // rows top to bottom, stride = width
    frame.Resize(3, 1);
    EXPECT_EQ(std::vector(frame.Pixels(), frame.Pixels() + 3), (std::vector<std::uint32_t>{1, 2, 0}));
    for (const auto& [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 1}, {INT_MIN, INT_MAX}})
        EXPECT_EQ(frame.Pixel(x, y), 0u) << x << "," << y;
    frame.Resize(-5, 10);
    EXPECT_EQ(std::pair(frame.Width(), frame.Height()), std::pair(0, 10));
    frame.Resize(INT_MAX, INT_MAX);
    EXPECT_EQ(std::pair(frame.Width(), frame.Height()), std::pair(0, 0));
}

TEST(FillRect, FillsTheHalfOpenRectangleClippedToTheFramebuffer) {
    const std::pair<RECT, RECT> cases[] = {  // asked, filled
        {{2, 1, 5, 4}, {2, 1, 5, 4}},
        {{-3, -2, 2, 3}, {0, 0, 2, 3}},
        {{6, 4, 100, 100}, {6, 4, 8, 6}},
        {{0, 2, 8, 4}, {0, 2, 8, 4}},  // whole rows
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 8, 6}},
        {{INT_MIN, 0, -1, 6}, {}},
        {{8, 0, INT_MAX, 6}, {}},
        {{5, 1, 2, 4}, {}},  // inverted
        {{2, 3, 5, 3}, {}},  // empty
        {{INT_MAX, INT_MAX, INT_MIN, INT_MIN}, {}},
    };
    for (const COLORREF color : {RGB(0, 0, 255), RGB(0, 0, 0)}) {  // black takes a faster path
        for (const auto& [rect, filled] : cases) {
            SCOPED_TRACE(testing::Message() << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom);
            Framebuffer frame(8, 6);
            Paint(frame, 0x00808080);
            CDC dc(frame);
            CBrush brush;
            brush.CreateSolidBrush(color);
            EXPECT_NE(dc.FillRect(&rect, &brush), 0);
            const int area = (filled.right - filled.left) * (filled.bottom - filled.top);
            EXPECT_EQ(Count(frame, color == 0 ? 0u : 0x000000FFu, filled), area);
            EXPECT_EQ(Count(frame, 0x00808080), 48 - area);
            EXPECT_EQ(dc.DirtyRect(), filled);
        }
    }
}

TEST(FillRect, RefusesAMissingRectangleOrBrush) {
    Framebuffer frame(4, 4);
    CDC dc(frame);
    const RECT rect{0, 0, 4, 4};
    CBrush brush, neverCreated;
    brush.CreateSolidBrush(RGB(1, 1, 1));
    EXPECT_EQ(dc.FillRect(nullptr, &brush), 0);
    EXPECT_EQ(dc.FillRect(&rect, nullptr), 0);
    EXPECT_EQ(dc.FillRect(&rect, &neverCreated), 0);
    EXPECT_EQ(Count(frame, 0), 16);
    EXPECT_EQ(dc.DirtyRect(), RECT{});
}

// A COLORREF is 0x00BBGGRR, a pixel 0x00RRGGBB; the COLORREF's top byte
// (palette flags elsewhere) means nothing. The changed area is the union of
// what was set since the last reset.
TEST(SetPixelV, SetsOnePixelInsideNothingOutsideAndGrowsTheChangedArea) {
    Framebuffer frame(10, 10);
    CDC dc(frame);
    EXPECT_TRUE(dc.SetPixelV(2, 7, RGB(1, 2, 3) | 0xFF000000u));
    EXPECT_EQ(frame.Pixel(2, 7), 0x00010203u);
    for (const auto& [x, y] : {std::pair{-1, 0}, {10, 0}, {0, -1}, {0, 10}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}})
        EXPECT_FALSE(dc.SetPixelV(x, y, RGB(9, 9, 9)));
    EXPECT_EQ(Count(frame, 0), 99);
    dc.SetPixelV(5, 3, 0);
    EXPECT_EQ(dc.DirtyRect(), (RECT{2, 3, 6, 8}));
    dc.ResetDirty();
    EXPECT_EQ(dc.DirtyRect(), RECT{});
    dc.SetPixelV(9, 9, 0);
    EXPECT_EQ(dc.DirtyRect(), (RECT{9, 9, 10, 10}));
}
