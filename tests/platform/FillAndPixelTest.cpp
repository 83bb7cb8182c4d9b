// FillRect, SetPixelV, the context's colour state and the changed area.
#include <gtest/gtest.h>

#include <climits>

#include "DcTestUtil.h"

using namespace dc_test;

namespace {
constexpr std::uint32_t kGrey = 0x00808080;
}

TEST(FillRect, FillsHalfOpenRectangleInTheBrushColour) {
    Framebuffer frame(8, 6);
    Paint(frame, kGrey);
    CDC dc(frame);
    CBrush brush = SolidBrush(RGB(255, 0, 0));
    const RECT rect{2, 1, 5, 4};
    EXPECT_NE(dc.FillRect(&rect, &brush), 0);
    EXPECT_EQ(CountIn(frame, 0x00FF0000, 2, 1, 5, 4), 9);
    EXPECT_EQ(Count(frame, 0x00FF0000), 9);
    EXPECT_EQ(dc.DirtyRect(), rect);
}

TEST(FillRect, ClipsToTheFramebufferWhateverTheCoordinates) {
    struct Case {
        RECT rect;
        int filled;
        RECT dirty;
    };
    const Case cases[] = {
        {{-3, -2, 2, 3}, 6, {0, 0, 2, 3}},
        {{6, 4, 100, 100}, 4, {6, 4, 8, 6}},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 48, {0, 0, 8, 6}},
        {{INT_MIN, 0, -1, 6}, 0, {}},
        {{8, 0, INT_MAX, 6}, 0, {}},
        {{5, 1, 2, 4}, 0, {}},  // inverted
        {{2, 3, 5, 3}, 0, {}},  // empty
        {{INT_MAX, INT_MAX, INT_MIN, INT_MIN}, 0, {}},
    };
    for (const Case& c : cases) {
        Framebuffer frame(8, 6);
        CDC dc(frame);
        CBrush brush = SolidBrush(RGB(0, 0, 255));
        EXPECT_NE(dc.FillRect(&c.rect, &brush), 0);
        EXPECT_EQ(Count(frame, 0x000000FF), c.filled) << c.rect.left << "," << c.rect.top;
        EXPECT_EQ(dc.DirtyRect(), c.dirty) << c.rect.left << "," << c.rect.top;
    }
}

TEST(FillRect, BlackAndWholeRowFillsLeaveOtherRowsAlone) {
    Framebuffer frame(5, 4);
    Paint(frame, kGrey);
    CDC dc(frame);
    CBrush black = SolidBrush(RGB(0, 0, 0));
    const RECT rows{0, 1, 5, 3};
    dc.FillRect(&rows, &black);
    EXPECT_EQ(CountIn(frame, 0, 0, 1, 5, 3), 10);
    EXPECT_EQ(Count(frame, kGrey), 10);
    const RECT inner{1, 0, 3, 1};
    dc.FillRect(&inner, &black);
    EXPECT_EQ(Count(frame, kGrey), 8);
}

TEST(FillRect, RefusesMissingRectangleOrBrush) {
    Framebuffer frame(4, 4);
    Paint(frame, kGrey);
    CDC dc(frame);
    const RECT rect{0, 0, 4, 4};
    CBrush brush = SolidBrush(0);
    CBrush neverCreated;
    EXPECT_EQ(dc.FillRect(nullptr, &brush), 0);
    EXPECT_EQ(dc.FillRect(&rect, nullptr), 0);
    EXPECT_EQ(dc.FillRect(&rect, &neverCreated), 0);
    EXPECT_EQ(Count(frame, kGrey), 16);
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
    EXPECT_EQ(dc.DirtyRect(), (RECT{3, 2, 4, 3}));
}

TEST(DirtyRect, IsTheUnionOfChangesUntilReset) {
    Framebuffer frame(10, 10);
    CDC dc(frame);
    EXPECT_EQ(dc.DirtyRect(), RECT{});
    dc.SetPixelV(2, 7, 0);
    dc.SetPixelV(5, 3, 0);
    EXPECT_EQ(dc.DirtyRect(), (RECT{2, 3, 6, 8}));
    dc.ResetDirty();
    EXPECT_EQ(dc.DirtyRect(), RECT{});
    dc.SetPixelV(0, 0, 0);
    EXPECT_EQ(dc.DirtyRect(), (RECT{0, 0, 1, 1}));
}

TEST(DeviceContextState, StartsAsGdiAndReturnsPreviousValues) {
    Framebuffer frame(1, 1);
    CDC dc(frame);
    EXPECT_EQ(dc.SetTextColor(RGB(0, 255, 255)), RGB(0, 0, 0));
    EXPECT_EQ(dc.SetTextColor(0), RGB(0, 255, 255));
    EXPECT_EQ(dc.SetBkColor(RGB(1, 1, 1)), RGB(255, 255, 255));
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.SetBkMode(7), 0);  // refused, mode unchanged
    EXPECT_EQ(dc.SetBkMode(OPAQUE), TRANSPARENT);
}
