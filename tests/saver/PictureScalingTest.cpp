#include "picture/PictureScaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

TEST(PictureScaling, ResamplesSmoothlyKeepsTheEdgesAndRefusesWhatCannotBeAFramebuffer) {
    // A black and a white pixel side by side, doubled: the outer pixels keep
    // their colour, the inner ones are a blend, never a copy of a neighbour.
    const std::vector<BYTE> pair{0, 0, 0, 255, 255, 255};
    int width = 2, height = 1;
    auto doubled = ScalePictureSmooth(pair.data(), width, height, 2.0);
    ASSERT_NE(doubled, nullptr);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 2);
    const BYTE* row = doubled.get();
    EXPECT_EQ(row[0], 0);
    EXPECT_EQ(row[9], 255);
    EXPECT_GT(row[3], 0);
    EXPECT_LT(row[3], row[6]);
    EXPECT_LT(row[6], 255);
    EXPECT_EQ(std::vector<BYTE>(row, row + 12), std::vector<BYTE>(row + 12, row + 24));  // one row, twice

    // One pixel at 1.5 and at a tenth: still one pixel, unchanged.
    for (double scale : {1.5, 0.1}) {
        const std::vector<BYTE> one{10, 20, 30};
        width = height = 1;
        auto scaled = ScalePictureSmooth(one.data(), width, height, scale);
        ASSERT_NE(scaled, nullptr) << scale;
        for (int i = 0; i < width * height * 3; ++i)
            EXPECT_EQ(scaled[std::size_t(i)], one[std::size_t(i) % 3]) << scale;
    }

    // Too large or nonsense: nothing, and the size left as it was.
    for (auto [w, h, scale] : {std::tuple{16384, 16384, 2.0}, {1, 1, 0.0}, {1, 1, -2.0}, {1, 1, std::nan("")}}) {
        width = w, height = h;
        EXPECT_EQ(ScalePictureSmooth(pair.data(), width, height, scale), nullptr) << w << " " << scale;
        EXPECT_EQ(width, w);
    }
}
