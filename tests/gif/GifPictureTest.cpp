// The pictures the decoder gives: for well-formed files, giflib's; for
// damaged image data, those of the rules for damage, case by case (the fuzz
// target checks them on any data against a plain reading of it).
#include "GifDecodeFixture.h"
#include "GiflibFirstImage.h"

using namespace testing_support;
using GifPictureTest = GifDecodeTest;

static const Palette kFour = TestPalette(4);

TEST_F(GifPictureTest, WellFormedFilesDecodeAsGiflibDecodesThem) {
    std::mt19937 random(2026);
    for (int round = 0; round < 2000; ++round) {
        const RandomGif gif = MakeRandomGif(random);
        const std::string file = gif.head + gif.data + gif.tail;
        const std::optional<GiflibImage> expected = GiflibFirstImage(file);
        ASSERT_TRUE(expected && expected->indicesInTable) << round;
        // Square pixels (aspect 0 or 49): no warning, the text stays as it was.
        const Decoded result = Decode(file, "before");
        ASSERT_EQ(result.error, "before");
        ASSERT_EQ(std::pair(result.width, result.height), std::pair(expected->width, expected->height)) << round;
        ASSERT_TRUE(result.pixels == expected->pixels) << round;
    }
}

// Hand-made code sequences for a 12 x 1 image, unless wider (code size 2:
// clear 4, end 5, first free entry 6).
TEST_F(GifPictureTest, DamagedCodeStreamsEndThePictureWhereTheirTableBreaks) {
    const struct {
        std::vector<int> codes;
        Indices expected;
        int minCodeSize = 2;
        int width = 12;
    } cases[] = {
        // 7 is above the next free code 6: it gives the previous string and its
        // own first index (1 1), and stays the previous code, so the entry made
        // at the next code (7) has itself as prefix: expanding it breaks off.
        {{4, 1, 7, 2, 7, 3}, {1, 1, 1, 2}},
        // The same after a clear code, in a picture wide enough for strings
        // to be copied: 7 was the next free code before the clear.
        {{4, 1, 2, 4, 0, 7, 5}, {1, 2, 0, 0, 0}, 2, 40},
        // 10 is above the next free code 8 and 9 is the next free code: entries
        // 9 and 10 end up each other's prefix, and the walk through them stops
        // at the stack's size rather than running on.
        {{4, 0, 1, 2, 10, 9, 0, 9, 1}, {0, 1, 2, 2, 2, 0, 0, 2, 0}},
        // The first code of a table must be a colour index: not the end code,
        // not an undefined entry.
        {{4, 5, 1}, {}},
        {{4, 6, 1}, {}},
        // The end code leaves the rest black; data that ends without one
        // gives colour index 0 for the rest (the code that meets the end takes
        // stale bits: with 8-bit codes, the block's first byte, a clear code).
        {{4, 1, 2, 5, 3}, {1, 2}},
        {{128, 1, 2, 3}, {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 7},
        {{4, 1, 2, 4, 6, 3}, {1, 2}},
        // Clear codes in a row are passed over, at the start and further on.
        {{4, 4, 4, 1, 2, 4, 3, 6, 5}, {1, 2, 3, 3, 3}},
        {{4, 1, 2, 4, 4, 4, 3, 6, 5}, {1, 2, 3, 3, 3}},
        // Code sizes 0 and 1 work like any other; from 12 on nothing is decoded.
        {{1, 0, 0, 3, 2}, {0, 0, 0, 0}, 0},
        {{2, 1, 0, 4, 3}, {1, 0, 1, 0}, 1},
        {{4096, 1, 2}, {}, 12},
        // A literal above 255 cannot start a table (code size 9) ...
        {{512, 300, 1}, {}, 9},
        // ... and further on it stands for its low 8 bits.
        {{512, 1, 258, 513}, {1, 2}, 9},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(Header(&kFour) + ImageDescriptor(c.width, 1) + PackCodes(c.minCodeSize, c.codes) + ";").pixels,
                  ExpectedPicture(c.width, 1, c.expected, kFour))
            << ::testing::PrintToString(c.codes);
    }
}

TEST_F(GifPictureTest, LocalTableElseTheLastGlobalTableSeen) {
    const Indices indices = {0, 1, 2, 3};
    const std::string data = PackCodes(2, LzwCodes(indices, {.minCodeSize = 2})) + ";";
    const std::string noTables = Header(nullptr) + ImageDescriptor(4, 1) + data;
    // A fresh process has only black.
    EXPECT_EQ(Decode(noTables).pixels, std::vector<BYTE>(12, 0));

    // A local table wins; its missing entries are black, not the global ones.
    const Palette two = {{7, 7, 7}, {9, 9, 9}};
    EXPECT_EQ(Decode(Header(&kFour) + ImageDescriptor(4, 1, &two) + data).pixels,
              ExpectedPicture(4, 1, indices, {two[0], two[1], {0, 0, 0}, {0, 0, 0}}));
    // That file's global table stays for a later file with no table.
    EXPECT_EQ(Decode(noTables).pixels, ExpectedPicture(4, 1, indices, kFour));

    // A smaller global table replaces only its own entries.
    ASSERT_EQ(Decode(SimpleGif(1, 1, {0}, two, {.minCodeSize = 2})).error, "");
    EXPECT_EQ(Decode(noTables).pixels, ExpectedPicture(4, 1, indices, {two[0], two[1], kFour[2], kFour[3]}));
}
