// Pictures the decoder must give for well-formed and damaged files.
#include "GifDecodeFixture.h"
#include "GifTestFiles.h"

namespace testing_support {
namespace {

using GifPictureTest = GifDecodeTest;
using namespace std::string_literals;

const Palette kFour = TestPalette(4);
const Palette kFull = TestPalette(256);

TEST_F(GifPictureTest, TwoAndFourColourImagesDecodeInBlueGreenRedRows) {
    const Indices two = RandomIndices(7 * 5, 2, 1);
    Palette black = {{0, 0, 0}, {255, 128, 1}};
    Decoded result = Decode(SimpleGif(7, 5, two, black, {.minCodeSize = 2}));
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_EQ(result.width, 7);
    EXPECT_EQ(result.height, 5);
    EXPECT_EQ(result.Pixels(), ExpectedPicture(7, 5, two, black));
    EXPECT_EQ(result.error, "");

    const Indices four = RandomIndices(33 * 3, 4, 2);
    EXPECT_EQ(Decode(SimpleGif(33, 3, four, kFour, {.minCodeSize = 2})).Pixels(), ExpectedPicture(33, 3, four, kFour));
}

// 20000 random indices fill the table: codes grow from 9 to 12 bits at 512,
// 1024 and 2048 entries, and the table then stays full, at 12 bits, with no
// clear code; or it is cleared when full, or every 300 codes.
TEST_F(GifPictureTest, FullColourImagesAcrossCodeWidthsFullTablesAndClearCodes) {
    const Indices indices = RandomIndices(200 * 100, 256, 3);
    const LzwOptions cases[] = {{}, {.clearWhenFull = true}, {.clearEvery = 300}};
    for (const LzwOptions& options : cases) {
        Decoded result = Decode(SimpleGif(200, 100, indices, kFull, options));
        ASSERT_TRUE(result.picture) << result.error;
        EXPECT_EQ(result.Pixels(), ExpectedPicture(200, 100, indices, kFull)) << options.clearEvery;
    }
    // Long strings: few colours in long runs, and a table that repeats itself.
    Indices runs(300 * 200);
    for (std::size_t i = 0; i < runs.size(); ++i)
        runs[i] = BYTE((i / 700) % 3);
    EXPECT_EQ(Decode(SimpleGif(300, 200, runs, kFull)).Pixels(), ExpectedPicture(300, 200, runs, kFull));
}

TEST_F(GifPictureTest, InterlacedRowsLandAtTheirDisplayPositions) {
    for (int height : {1, 2, 3, 5, 8, 9, 17}) {
        const Indices indices = RandomIndices(std::size_t(6) * height, 256, unsigned(height));
        Decoded result = Decode(SimpleGif(6, height, indices, kFull, {}, true));
        ASSERT_TRUE(result.picture) << result.error;
        EXPECT_EQ(result.Pixels(), ExpectedPicture(6, height, indices, kFull, true)) << height;
    }
    // Three rows arrive in the order 0, 2, 1.
    const Indices rows = {1, 1, 2, 2, 3, 3};
    EXPECT_EQ(Decode(SimpleGif(2, 3, rows, kFour, {.minCodeSize = 2}, true)).Pixels(),
              ExpectedPicture(2, 3, {1, 1, 3, 3, 2, 2}, kFour));
}

TEST_F(GifPictureTest, LocalTableWinsAndItsMissingEntriesAreBlack) {
    const Palette local = {{10, 20, 30}, {40, 50, 60}};
    const Indices indices = {0, 1, 2, 3};
    const std::string file = Header(&kFour) + ImageDescriptor(4, 1, &local) +
                             LzwData(indices, {.minCodeSize = 2}) + ";";
    Palette padded = local;
    padded.resize(4, Rgb{0, 0, 0});
    EXPECT_EQ(Decode(file).Pixels(), ExpectedPicture(4, 1, indices, padded));
}

TEST_F(GifPictureTest, ImageWithoutTablesTakesTheLastGlobalTable) {
    const Indices indices = {0, 1, 2, 3};
    const std::string noTables = Header(nullptr) + ImageDescriptor(4, 1) + LzwData(indices, {.minCodeSize = 2}) + ";";
    // A fresh process has only black.
    EXPECT_EQ(Decode(noTables).Pixels(), std::vector<BYTE>(12, 0));

    ASSERT_TRUE(Decode(SimpleGif(1, 1, {0}, kFour, {.minCodeSize = 2})).picture);
    EXPECT_EQ(Decode(noTables).Pixels(), ExpectedPicture(4, 1, indices, kFour));

    // A smaller global table replaces only its own entries.
    const Palette two = {{7, 7, 7}, {9, 9, 9}};
    ASSERT_TRUE(Decode(SimpleGif(1, 1, {0}, two, {.minCodeSize = 2})).picture);
    EXPECT_EQ(Decode(noTables).Pixels(), ExpectedPicture(4, 1, indices, {two[0], two[1], kFour[2], kFour[3]}));
}

TEST_F(GifPictureTest, OnlyTheFirstImageIsDecodedAndExtensionsChangeNothing) {
    const Indices first = RandomIndices(4 * 3, 4, 5);
    const std::string comment = "!\xFE\x05hello\x03" "abc\0"s;
    const std::string application = "!\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"s;
    const std::string file = Header(&kFour) + application + comment + GraphicControl(2) +
                             ImageDescriptor(4, 3) + LzwData(first, {.minCodeSize = 2}) + GraphicControl(1) +
                             ImageDescriptor(9, 9) + LzwData(RandomIndices(81, 4, 6), {.minCodeSize = 2}) + ";";
    Decoded result = Decode(file);
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_EQ(result.width, 4);
    EXPECT_EQ(result.height, 3);
    // The transparent index 2 is painted in its table colour.
    EXPECT_EQ(result.Pixels(), ExpectedPicture(4, 3, first, kFour));
}

// Codes of 8 bits (code size 7, fewer than 128 codes) end the data on a byte
// boundary, so the codes after it are exactly the zeros of the used-up data.
TEST_F(GifPictureTest, DataEndingEarly) {
    const Palette palette = TestPalette(128);
    Indices indices;
    for (int i = 0; i < 30; ++i)
        indices.push_back(BYTE(i * 5 % 128));

    // No end code: the rest of the picture takes colour index 0, in a plain
    // and in an interlaced image.
    Indices zeros = indices;
    zeros.resize(10 * 9, 0);
    for (bool interlaced : {false, true}) {
        const std::string data = LzwData(indices, {.minCodeSize = 7, .endCode = false});
        EXPECT_EQ(Decode(SimpleGif(10, 9, indices, palette, {.minCodeSize = 7, .endCode = false}, interlaced)).Pixels(),
                  ExpectedPicture(10, 9, zeros, palette, interlaced));
        // The same when the file ends with the last sub-block.
        const std::string cut = Header(&palette) + ImageDescriptor(10, 9, nullptr, interlaced) +
                                data.substr(0, data.size() - 1);
        EXPECT_EQ(Decode(cut).Pixels(), ExpectedPicture(10, 9, zeros, palette, interlaced));
    }

    // The end code: the pixels not reached stay black, whether the zero-length
    // block, more sub-blocks or nothing at all follow it.
    const std::string ended = LzwData(indices, {.minCodeSize = 7});
    const std::string head = Header(&palette) + ImageDescriptor(10, 9, nullptr, true);
    for (const std::string& tail : {ended, ended.substr(0, ended.size() - 1),
                                    ended.substr(0, ended.size() - 1) + "\x02zz\0"s}) {
        Decoded result = Decode(head + tail);
        ASSERT_TRUE(result.picture) << result.error;
        EXPECT_EQ(result.Pixels(), ExpectedPicture(10, 9, indices, palette, true));
    }
}

// Hand-made code sequences (code size 2: clear 4, end 5, first free entry 6).
TEST_F(GifPictureTest, DamagedCodeStreamsEndThePictureWhereTheirTableBreaks) {
    auto picture = [&](const std::vector<int>& codes, int minCodeSize = 2) {
        Decoded result = Decode(Header(&kFour) + ImageDescriptor(12, 1) + PackCodes(minCodeSize, codes) + ";");
        EXPECT_TRUE(result.picture) << result.error;
        return result.Pixels();
    };
    auto expect = [&](const Indices& indices) { return ExpectedPicture(12, 1, indices, kFour); };

    // 7 is above the next free code 6: it gives the previous string and its
    // own first index (1 1), and stays the previous code, so the entry made
    // at the next code (7) has itself as prefix: expanding it breaks off.
    EXPECT_EQ(picture({4, 1, 7, 2, 7, 3}), expect({1, 1, 1, 2}));

    // 10 is above the next free code 8 and 9 is the next free code: entries 9
    // and 10 end up each other's prefix, and the walk through them stops at
    // the stack's size rather than running on.
    EXPECT_EQ(picture({4, 0, 1, 2, 10, 9, 0, 9, 1}), expect({0, 1, 2, 2, 2, 0, 0, 2, 0}));

    // The first code of a table must be a colour index: not the end code,
    // not an undefined entry, not a clear code straight after a clear code.
    EXPECT_EQ(picture({4, 5, 1}), expect({}));
    EXPECT_EQ(picture({4, 6, 1}), expect({}));
    EXPECT_EQ(picture({4, 1, 2, 4, 4, 3}), expect({1, 2}));
    // Leading clear codes are skipped, and a clear code mid-stream restarts.
    EXPECT_EQ(picture({4, 4, 4, 1, 2, 4, 3, 6, 5}), expect({1, 2, 3, 3, 3}));

    // Code sizes 0 and 1 work like any other; from 12 on nothing is decoded.
    EXPECT_EQ(picture({1, 0, 0, 3, 2}, 0), expect({0, 0, 0, 0}));
    EXPECT_EQ(picture({2, 1, 0, 4, 3}, 1), expect({1, 0, 1, 0}));
    EXPECT_EQ(picture({4096, 1, 2}, 12), expect({}));
    // A literal above 255 cannot start a table (code size 9) ...
    EXPECT_EQ(picture({512, 300, 1}, 9), expect({}));
    // ... and further on it stands for its low 8 bits.
    EXPECT_EQ(picture({512, 1, 258, 513}, 9), expect({1, 2}));
}

}  // namespace
}  // namespace testing_support
