// The real decoder against the plain reference decoder, file after file, on
// every truncation of some files and on randomly damaged ones: every byte of
// the pictures, the sizes and the error texts must agree.
#include "GifDecodeFixture.h"
#include "GifTestFiles.h"
#include "ReferenceGifDecoder.h"

#include <random>

namespace testing_support {
namespace {

class GifDifferentialTest : public GifDecodeTest {
protected:
    // Both decoders keep state from file to file, so they must see the same files.
    void ExpectSame(const std::string& bytes) {
        Decoded real = Decode(bytes, "before");
        Decoded reference;
        reference.error = "before";
        reference.picture = reference_.Decode(PathFor("picture.gif"), bytes, reference.width, reference.height,
                                              reference.error);
        ASSERT_EQ(bool(real.picture), bool(reference.picture)) << real.error;
        ASSERT_EQ(real.error, reference.error);
        ASSERT_EQ(real.width, reference.width);
        ASSERT_EQ(real.height, reference.height);
        ASSERT_TRUE(real.Pixels() == reference.Pixels());
    }

    ReferenceGifDecoder reference_;
};

TEST_F(GifDifferentialTest, EveryTruncationPoint) {
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
}

// Sub-blocks shorter than their codes make the bit reader fall further and
// further behind the data until the image ends.
TEST_F(GifDifferentialTest, SubBlocksShorterThanTheirCodes) {
    const Palette full = TestPalette(256);
    for (int blockSize : {1, 2}) {
        const std::vector<int> codes = LzwCodes(RandomIndices(3000, 256, 9));
        ExpectSame(Header(&full) + ImageDescriptor(60, 50) + PackCodes(8, codes, blockSize) + ";");
    }
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
        const int damage = below(6);
        for (int i = 0; i < damage; ++i) {
            const std::size_t at = std::size_t(below(int(data.size())));
            switch (below(3)) {
            case 0: data[at] = char(data[at] ^ (1 << below(8))); break;
            case 1: data[at] = char(below(256)); break;
            default: data.resize(at); break;
            }
            if (data.empty())
                break;
        }
        ASSERT_NO_FATAL_FAILURE(ExpectSame(head + data + ";")) << round;
    }
}

}  // namespace
}  // namespace testing_support
