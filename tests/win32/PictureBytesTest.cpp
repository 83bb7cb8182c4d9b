// A picture file is read as bytes: no Ctrl-Z ends it and no CR LF becomes
// LF, as the Windows C library does to files opened as text.
#include "GifDecodeFixture.h"

using namespace testing_support;

TEST_F(GifDecodeTest, EveryByteValueReadsAsItself) {
    const Palette palette = TestPalette(256);
    Indices indices;
    for (int i = 0; i < 256; ++i)
        indices.push_back(BYTE(i));
    const Decoded result = Decode(SimpleGif(16, 16, indices, palette));
    EXPECT_EQ(result.pixels, ExpectedPicture(16, 16, indices, palette));
}
