#include "platform/dc/Framebuffer.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ColorConversion, SwapsRedAndBlueAndDropsTheTopByte) {
    EXPECT_EQ(PixelFromColorRef(RGB(0x12, 0x34, 0x56)), 0x00123456u);
    EXPECT_EQ(PixelFromColorRef(0xFF00FFFFu), 0x00FFFF00u);  // cyan with palette flags set
    EXPECT_EQ(ColorRefFromPixel(0x00123456u), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(ColorRefFromPixel(0xAB000000u), 0u);
}

TEST(Framebuffer, StartsBlackAndAnswersZeroOutside) {
    Framebuffer frame(3, 2);
    ASSERT_EQ(frame.Width(), 3);
    ASSERT_EQ(frame.Height(), 2);
    frame.Pixels()[5] = 0x00ABCDEF;  // last pixel: stride is the width
    EXPECT_EQ(frame.Pixel(2, 1), 0x00ABCDEFu);
    EXPECT_EQ(frame.Pixel(0, 0), 0u);
    for (const auto& [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {INT_MIN, INT_MAX}})
        EXPECT_EQ(frame.Pixel(x, y), 0u) << x << "," << y;
}

TEST(Framebuffer, ResizeKeepsTheOverlapAndBlackensTheRest) {
    Framebuffer frame(2, 2);
    frame.Row(0)[0] = 1;
    frame.Row(0)[1] = 2;
    frame.Row(1)[0] = 3;
    frame.Row(1)[1] = 4;
    frame.Resize(3, 1);
    EXPECT_EQ(frame.Pixel(0, 0), 1u);
    EXPECT_EQ(frame.Pixel(1, 0), 2u);
    EXPECT_EQ(frame.Pixel(2, 0), 0u);
    frame.Resize(1, 3);
    EXPECT_EQ(frame.Pixel(0, 0), 1u);
    EXPECT_EQ(frame.Pixel(0, 1), 0u);
}

TEST(Framebuffer, RefusesImpossibleSizes) {
    Framebuffer frame(4, 4);
    frame.Resize(-5, 10);
    EXPECT_EQ(frame.Width(), 0);
    EXPECT_EQ(frame.Height(), 10);
    frame.Resize(INT_MAX, INT_MAX);
    EXPECT_EQ(frame.Width(), 0);
    EXPECT_EQ(frame.Height(), 0);
    EXPECT_EQ(frame.Pixel(0, 0), 0u);
}
