// FillRect, SetPixelV and the changed area they report.
#include <gtest/gtest.h>

#include <climits>

#include "DcTestUtil.h"

using namespace dc_test;

TEST(FillRect, FillsTheHalfOpenRectangleClippedToTheFramebuffer) {
    struct Case {
        RECT rect;
        RECT filled;
    };
    const Case cases[] = {
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
        const std::uint32_t pixel = PixelFromColorRef(color);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.rect.left << "," << c.rect.top << "," << c.rect.right << ","
                                            << c.rect.bottom << " colour " << color);
            Framebuffer frame(8, 6);
            Paint(frame, 0x00808080);
            CDC dc(frame);
            CBrush brush = SolidBrush(color);
            EXPECT_NE(dc.FillRect(&c.rect, &brush), 0);
            const RECT& f = c.filled;
            const int area = (f.right - f.left) * (f.bottom - f.top);
            EXPECT_EQ(CountIn(frame, pixel, f.left, f.top, f.right, f.bottom), area);
            EXPECT_EQ(Count(frame, pixel), area);
            EXPECT_EQ(dc.DirtyRect(), f);
        }
    }
}

TEST(FillRect, RefusesAMissingRectangleOrBrush) {
    Framebuffer frame(4, 4);
    CDC dc(frame);
    const RECT rect{0, 0, 4, 4};
    CBrush brush = SolidBrush(RGB(1, 1, 1));
    CBrush neverCreated;
    EXPECT_EQ(dc.FillRect(nullptr, &brush), 0);
    EXPECT_EQ(dc.FillRect(&rect, nullptr), 0);
    EXPECT_EQ(dc.FillRect(&rect, &neverCreated), 0);
    EXPECT_EQ(Count(frame, 0), 16);
    EXPECT_EQ(dc.DirtyRect(), RECT{});
}

TEST(SetPixelV, SetsOnePixelInsideAndNothingOutside) {
    Framebuffer frame(4, 3);
    CDC dc(frame);
    EXPECT_TRUE(dc.SetPixelV(3, 2, RGB(1, 2, 3)));
    EXPECT_EQ(frame.Pixel(3, 2), 0x00010203u);
    for (const auto& [x, y] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 3}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}})
        EXPECT_FALSE(dc.SetPixelV(x, y, RGB(9, 9, 9)));
    EXPECT_EQ(Count(frame, 0), 11);
}

TEST(DirtyRect, IsTheUnionOfChangesUntilReset) {
    Framebuffer frame(10, 10);
    CDC dc(frame);
    dc.SetPixelV(2, 7, 0);
    dc.SetPixelV(5, 3, 0);
    EXPECT_EQ(dc.DirtyRect(), (RECT{2, 3, 6, 8}));
    dc.ResetDirty();
    EXPECT_EQ(dc.DirtyRect(), RECT{});
    dc.SetPixelV(0, 0, 0);
    EXPECT_EQ(dc.DirtyRect(), (RECT{0, 0, 1, 1}));
}
