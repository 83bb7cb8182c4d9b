// Failures, the one warning, and the limits on what a header may ask for.
#include "GifDecodeFixture.h"

#include <sys/stat.h>

using namespace testing_support;
using namespace std::string_literals;
using GifFailureTest = GifDecodeTest;

static const Palette kFour = TestPalette(4);
static const std::string kData = PackCodes(2, LzwCodes({0, 1, 2, 3}, {.minCodeSize = 2})) + ";";

TEST_F(GifFailureTest, EveryFailureHasItsTextAndLeavesTheSizesAlone) {
    const std::string header = Header(&kFour);
    const std::string local = ImageDescriptor(2, 2, &kFour);
    const std::string path = PathFor("picture.gif");
    const struct {
        std::string bytes;
        std::string error;
    } cases[] = {
        {"GIF8", "Error reading GIF Magic #"},
        {"PNG89a" + header.substr(6) + ImageDescriptor(2, 2) + kData, "Error, " + path + " is not a valid .GIF file"},
        {"GIF89b" + header.substr(6), "Error, Bad GIF Version number"},
        {"GIF87A" + header.substr(6), "Error, Bad GIF Version number"},
        {"GIF89a\x01\x00\x01"s, "Error, failed to GIF read screen descriptor.\nGiving up"},
        {header.substr(0, header.size() - 4), "Error reading GIF colormap"},
        // A failure after the aspect warning replaces it.
        {Header(&kFour, 17) + ";", "Unexpected EOF in GIF.\nGiving up"},
        {header + "!", "Error on extension read.\nGiving up"},
        // What lies before the image is passed over for 16 MiB at most.
        {header + std::string(16 << 20, '\0') + ImageDescriptor(2, 2) + kData, "Unexpected EOF in GIF.\nGiving up"},
        // Cut off inside an extension: the next block byte is missing.
        {header + "!\xFE\x09" "abc", "Unexpected EOF in GIF.\nGiving up"},
        {header + ",\0\0\0\0\x02"s, "Error on dimension read\nGiving up"},
        {header + local.substr(0, local.size() - 1), "Error reading GIF colormap\nGiving up"},
        {header + local, "Error reading GIF file\nLocalColorMap\nGiving up"},
        {header + ImageDescriptor(2, 2), "Error reading GIF file\nGIFScreen Colormap\nGiving up"},
        // An empty picture is refused rather than handed on.
        {header + ImageDescriptor(0, 5) + PackCodes(2, {}), "Error on dimension read\nGiving up"},
        {header + ImageDescriptor(5, 0) + PackCodes(2, {}), "Error on dimension read\nGiving up"},
        // More than 8192 x 8192 pixels is refused before anything is allocated.
        {header + ImageDescriptor(8193, 8192) + PackCodes(8, {}), "Out of Memory in GIFRead"},
        {header + ImageDescriptor(65535, 65535) + PackCodes(8, {}), "Out of Memory in GIFRead"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decode(c.bytes, "earlier message"), Decoded{.error = c.error});

    // Nothing to open: no name, no file, a folder, a named pipe (which must
    // not block) or on Windows a device.
    std::filesystem::create_directory(PathFor("folder.gif"));
#ifdef _WIN32
    const std::string special = "NUL";
#else
    const std::string special = PathFor("pipe.gif");
    ASSERT_EQ(::mkfifo(special.c_str(), 0600), 0);
#endif
    for (const std::string& name : {""s, PathFor("missing.gif"), PathFor("folder.gif"), special})
        EXPECT_EQ(DecodePath(name, "earlier message"), Decoded{.error = name.empty() ? "No Name Given" : "Cant open"});
}

// The limit is on pixels, not on either side.
TEST_F(GifFailureTest, WideAndTallPicturesWithinTheLimitDecode) {
    for (const auto& [width, height] : {std::pair{65535, 1}, std::pair{1, 65535}}) {
        const Decoded result = Decode(Header(&kFour) + ImageDescriptor(width, height) + kData);
        EXPECT_EQ(result.width, width);
        EXPECT_EQ(result.pixels, ExpectedPicture(width, height, {0, 1, 2, 3}, kFour));
    }
}
