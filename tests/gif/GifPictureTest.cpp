// Pictures the decoder must give for well-formed and damaged files.
#include "GifDecodeFixture.h"

using namespace testing_support;
using namespace std::string_literals;
using GifPictureTest = GifDecodeTest;

static const Palette kFour = TestPalette(4);
static const Palette kFull = TestPalette(256);

TEST_F(GifPictureTest, TwoAndFullColourImagesAcrossCodeWidthsFullTablesAndClearCodes) {
    // 20000 random indices fill the table: codes grow from 9 to 12 bits at
    // 512, 1024 and 2048 entries, and the table then stays full, at 12 bits,
    // with no clear code; or it is cleared when full, or every 300 codes.
    const Indices random = RandomIndices(200 * 100, 256, 3);
    // Few colours in long runs make long strings, across rows.
    Indices runs(200 * 100);
    for (std::size_t i = 0; i < runs.size(); ++i)
        runs[i] = BYTE((i / 700) % 3);
    const struct {
        Indices indices;
        Palette palette;
        LzwOptions options;
    } cases[] = {
        {RandomIndices(200 * 100, 2, 1), {{0, 0, 0}, {255, 128, 1}}, {.minCodeSize = 2}},
        {random, kFull, {}},
        {random, kFull, {.clearWhenFull = true}},
        {random, kFull, {.clearEvery = 300}},
        {runs, kFull, {}},
    };
    for (const auto& c : cases) {
        const Decoded result = Decode(SimpleGif(200, 100, c.indices, c.palette, c.options));
        EXPECT_EQ(result.error, "");
        EXPECT_EQ(result.width, 200);
        EXPECT_EQ(result.height, 100);
        EXPECT_EQ(result.pixels, ExpectedPicture(200, 100, c.indices, c.palette)) << &c - cases;
    }
}

TEST_F(GifPictureTest, InterlacedRowsLandAtTheirDisplayPositions) {
    for (int height : {1, 2, 3, 5, 8, 9, 17}) {
        const Indices indices = RandomIndices(std::size_t(6) * height, 256, unsigned(height));
        EXPECT_EQ(Decode(SimpleGif(6, height, indices, kFull, {}, true)).pixels,
                  ExpectedPicture(6, height, indices, kFull, true))
            << height;
    }
    // Three rows arrive in the order 0, 2, 1: the helper's order, checked by hand.
    EXPECT_EQ(Decode(SimpleGif(2, 3, {1, 1, 2, 2, 3, 3}, kFour, {.minCodeSize = 2}, true)).pixels,
              ExpectedPicture(2, 3, {1, 1, 3, 3, 2, 2}, kFour));
}

TEST_F(GifPictureTest, LocalTableElseTheLastGlobalTableSeen) {
    const Indices indices = {0, 1, 2, 3};
    const std::string data = LzwData(indices, {.minCodeSize = 2}) + ";";
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

TEST_F(GifPictureTest, OnlyTheFirstImageIsDecodedAndExtensionsChangeNothing) {
    const Indices first = RandomIndices(4 * 3, 4, 5);
    const std::string comment = "!\xFE\x05he,lo\x03" "abc\0"s;  // a "," that starts no image
    const std::string application = "!\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"s;
    const Decoded result = Decode(Header(&kFour) + application + comment + GraphicControl(2) + ImageDescriptor(4, 3) +
                                  LzwData(first, {.minCodeSize = 2}) + GraphicControl(1) + ImageDescriptor(9, 9) +
                                  LzwData(RandomIndices(81, 4, 6), {.minCodeSize = 2}) + ";");
    EXPECT_EQ(result.width, 4);
    EXPECT_EQ(result.height, 3);
    // The transparent index 2 is painted in its table colour.
    EXPECT_EQ(result.pixels, ExpectedPicture(4, 3, first, kFour));
}

// Codes of 8 bits (code size 7, fewer than 128 codes) end the data on a byte
// boundary, so the codes after it are exactly the zeros of the used-up data.
TEST_F(GifPictureTest, DataEndingEarly) {
    const Palette palette = TestPalette(128);
    Indices indices;
    for (int i = 0; i < 30; ++i)
        indices.push_back(BYTE(i * 5 % 128));
    Indices zeros = indices;
    zeros.resize(10 * 9, 0);
    const std::string open = LzwData(indices, {.minCodeSize = 7, .endCode = false});
    const std::string ended = LzwData(indices, {.minCodeSize = 7});
    for (bool interlaced : {false, true}) {
        const std::string head = Header(&palette) + ImageDescriptor(10, 9, nullptr, interlaced);
        // No end code: the rest of the picture takes colour index 0, also
        // when the file ends with the last sub-block.
        for (const std::string& tail : {open + ";", open.substr(0, open.size() - 1)})
            EXPECT_EQ(Decode(head + tail).pixels, ExpectedPicture(10, 9, zeros, palette, interlaced));
        // The end code: the pixels not reached stay black, whether the
        // zero-length block, more sub-blocks or nothing at all follow it.
        const std::string cut = ended.substr(0, ended.size() - 1);
        for (const std::string& tail : {ended, cut, cut + "\x02zz\0"s})
            EXPECT_EQ(Decode(head + tail).pixels, ExpectedPicture(10, 9, indices, palette, interlaced));
    }
}

// Hand-made code sequences for a 12 x 1 image (code size 2: clear 4, end 5,
// first free entry 6).
TEST_F(GifPictureTest, DamagedCodeStreamsEndThePictureWhereTheirTableBreaks) {
    const struct {
        std::vector<int> codes;
        Indices expected;
        int minCodeSize = 2;
    } cases[] = {
        // 7 is above the next free code 6: it gives the previous string and its
        // own first index (1 1), and stays the previous code, so the entry made
        // at the next code (7) has itself as prefix: expanding it breaks off.
        {{4, 1, 7, 2, 7, 3}, {1, 1, 1, 2}},
        // 10 is above the next free code 8 and 9 is the next free code: entries
        // 9 and 10 end up each other's prefix, and the walk through them stops
        // at the stack's size rather than running on.
        {{4, 0, 1, 2, 10, 9, 0, 9, 1}, {0, 1, 2, 2, 2, 0, 0, 2, 0}},
        // The first code of a table must be a colour index: not the end code,
        // not an undefined entry, not a clear code straight after a clear code.
        {{4, 5, 1}, {}},
        {{4, 6, 1}, {}},
        {{4, 1, 2, 4, 4, 3}, {1, 2}},
        // Leading clear codes are skipped, and a clear code mid-stream restarts.
        {{4, 4, 4, 1, 2, 4, 3, 6, 5}, {1, 2, 3, 3, 3}},
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
        EXPECT_EQ(Decode(Header(&kFour) + ImageDescriptor(12, 1) + PackCodes(c.minCodeSize, c.codes) + ";").pixels,
                  ExpectedPicture(12, 1, c.expected, kFour))
            << ::testing::PrintToString(c.codes);
    }
}
