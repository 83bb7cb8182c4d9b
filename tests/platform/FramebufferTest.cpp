#include "platform/dc/Framebuffer.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Framebuffer, ColorRefsSwapRedAndBlueAndLoseTheirTopByte) {
    EXPECT_EQ(PixelFromColorRef(RGB(0x12, 0x34, 0x56)), 0x00123456u);
    EXPECT_EQ(PixelFromColorRef(0xFF00FFFFu), 0x00FFFF00u);  // yellow with palette flags set
    EXPECT_EQ(ColorRefFromPixel(0xAB123456u), RGB(0x12, 0x34, 0x56));
}

TEST(Framebuffer, ResizeKeepsTheOverlapAndBlackensTheRest) {
    Framebuffer frame(2, 2);
    for (std::uint32_t i = 0; i < 4; ++i)
        frame.Pixels()[i] = i + 1;  // rows top to bottom, stride = width
    frame.Resize(3, 1);
    EXPECT_EQ(frame.Pixel(0, 0), 1u);
    EXPECT_EQ(frame.Pixel(1, 0), 2u);
    EXPECT_EQ(frame.Pixel(2, 0), 0u);
    for (const auto& [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 1}, {INT_MIN, INT_MAX}})
        EXPECT_EQ(frame.Pixel(x, y), 0u) << x << "," << y;
}

TEST(Framebuffer, RefusesImpossibleSizes) {
    Framebuffer frame(4, 4);
    frame.Resize(-5, 10);
    EXPECT_EQ(frame.Width(), 0);
    EXPECT_EQ(frame.Height(), 10);
    frame.Resize(INT_MAX, INT_MAX);
    EXPECT_EQ(frame.Width(), 0);
    EXPECT_EQ(frame.Height(), 0);
}
