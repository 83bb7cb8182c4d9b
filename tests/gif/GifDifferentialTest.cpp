// The real decoder against the plain reference decoder, file after file, on
// every truncation of some files and on randomly damaged ones: every byte of
// the pictures, the sizes and the error texts must agree.
#include "GifDecodeFixture.h"
#include "ReferenceGifDecoder.h"

#include <random>

using namespace testing_support;

class GifDifferentialTest : public GifDecodeTest {
protected:
    // Both decoders keep state from file to file, so they must see the same files.
    void ExpectSame(const std::string& bytes) {
        const Decoded expected = Collect("before", [&](int& width, int& height, std::string& error) {
            return reference_.Decode(PathFor("picture.gif"), bytes, width, height, error);
        });
        ASSERT_EQ(Decode(bytes, "before"), expected);
    }

    ReferenceGifDecoder reference_;
};

TEST_F(GifDifferentialTest, EveryTruncationPointAndSubBlocksShorterThanTheirCodes) {
    const Palette full = TestPalette(256);
    const Palette eight = TestPalette(8);
    const std::string files[] = {
        Header(&full, 17) + "!\xFE\x03" "abc" + std::string(1, '\0') + GraphicControl(3) +
            ImageDescriptor(40, 30, nullptr, true) + LzwData(RandomIndices(1200, 256, 7)) + ";",
        Header(nullptr) + ImageDescriptor(23, 9, &eight) +
            PackCodes(3, LzwCodes(RandomIndices(23 * 9, 8, 8), {.minCodeSize = 3}), 7) + ";",
    };
    for (const std::string& file : files)
        for (std::size_t size = 0; size <= file.size(); ++size)
            ASSERT_NO_FATAL_FAILURE(ExpectSame(file.substr(0, size))) << size;

    // Sub-blocks shorter than their codes make the bit reader fall further and
    // further behind the data until the image ends.
    for (int blockSize : {1, 2})
        ExpectSame(Header(&full) + ImageDescriptor(60, 50) +
                   PackCodes(8, LzwCodes(RandomIndices(3000, 256, 9)), blockSize) + ";");
}

TEST_F(GifDifferentialTest, RandomlyDamagedFiles) {
    std::mt19937 random(12345);
    auto below = [&](int n) { return int(random() % unsigned(n)); };
    for (int round = 0; round < 4000; ++round) {
        const int minCodeSize = 1 + below(8);
        const int colors = std::min(256, 2 << below(8));
        const Palette palette = TestPalette(colors);
        const int width = 1 + below(40);
        const int height = 1 + below(30);
        const int pixels = below(2) ? width * height : below(width * height + 1);
        Indices indices = RandomIndices(std::size_t(pixels), std::min(colors, 1 << minCodeSize), unsigned(round));
        // Runs make long strings.
        if (below(2))
            for (std::size_t i = 1; i < indices.size(); ++i)
                if (below(4))
                    indices[i] = indices[i - 1];
        const LzwOptions options{.minCodeSize = minCodeSize, .clearEvery = below(3) ? 0 : 1 + below(50),
                                 .endCode = below(4) != 0};
        const std::string head = Header(below(4) ? &palette : nullptr) +
                                 ImageDescriptor(width, height, below(3) ? nullptr : &palette, below(2));
        std::string data = PackCodes(minCodeSize, LzwCodes(indices, options), 1 + below(255), below(4) != 0);
        // Flipped bits, bytes overwritten, data cut short.
        for (int damage = below(6); damage > 0 && !data.empty(); --damage) {
            const std::size_t at = std::size_t(below(int(data.size())));
            switch (below(3)) {
            case 0: data[at] = char(data[at] ^ (1 << below(8))); break;
            case 1: data[at] = char(below(256)); break;
            default: data.resize(at); break;
            }
        }
        ASSERT_NO_FATAL_FAILURE(ExpectSame(head + data + ";")) << round;
    }
}
