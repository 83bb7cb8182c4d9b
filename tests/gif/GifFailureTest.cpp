// Failures, the one warning, and the limits on what a header may ask for.
#include "GifDecodeFixture.h"
#include "GifTestFiles.h"

namespace testing_support {
namespace {

using GifFailureTest = GifDecodeTest;
using namespace std::string_literals;

const Palette kFour = TestPalette(4);

std::string TwoByTwo(const Palette* local = nullptr) {
    return ImageDescriptor(2, 2, local) + LzwData({0, 1, 2, 3}, {.minCodeSize = 2}) + ";";
}

TEST_F(GifFailureTest, EveryFailureHasItsTextAndLeavesTheSizesAlone) {
    const std::string header = Header(&kFour);
    const std::string local = ImageDescriptor(2, 2, &kFour);
    const struct {
        std::string bytes;
        std::string error;
    } cases[] = {
        {"GIF8", "Error reading GIF Magic #"},
        {"GIF89b" + header.substr(6), "Error, Bad GIF Version number"},
        {"GIF87A" + header.substr(6), "Error, Bad GIF Version number"},
        {"GIF89a\x01\x00\x01"s, "Error, failed to GIF read screen descriptor.\nGiving up"},
        {header.substr(0, header.size() - 4), "Error reading GIF colormap"},
        {header + ";", "Unexpected EOF in GIF.\nGiving up"},
        {header + "!", "Error on extension read.\nGiving up"},
        // Cut off inside an extension: the next block byte is missing.
        {header + "!\xFE\x09" "abc", "Unexpected EOF in GIF.\nGiving up"},
        {header + ",\0\0\0\0\x02"s, "Error on dimension read\nGiving up"},
        {header + local.substr(0, local.size() - 1), "Error reading GIF colormap\nGiving up"},
        {header + local, "Error reading GIF file\nLocalColorMap\nGiving up"},
        {header + ImageDescriptor(2, 2), "Error reading GIF file\nGIFScreen Colormap\nGiving up"},
        // An empty picture is refused rather than handed on.
        {header + ImageDescriptor(0, 5) + LzwData({}, {.minCodeSize = 2}), "Error on dimension read\nGiving up"},
        {header + ImageDescriptor(5, 0) + LzwData({}, {.minCodeSize = 2}), "Error on dimension read\nGiving up"},
        // More than 8192 x 8192 pixels is refused before anything is allocated.
        {header + ImageDescriptor(8193, 8192) + LzwData({}), "Out of Memory in GIFRead"},
        {header + ImageDescriptor(65535, 65535) + LzwData({}), "Out of Memory in GIFRead"},
    };
    for (const auto& c : cases) {
        Decoded result = Decode(c.bytes, "earlier message");
        EXPECT_FALSE(result.picture);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.width, -1);
        EXPECT_EQ(result.height, -1);
    }

    const std::string path = PathFor("not-a-picture.gif");
    WriteFile(path, "PNG89a" + header.substr(6) + TwoByTwo());
    int width = -1;
    int height = -1;
    std::string error;
    EXPECT_FALSE(GIFRead(path, width, height, error));
    EXPECT_EQ(error, "Error, " + path + " is not a valid .GIF file");
    EXPECT_FALSE(GIFRead("", width, height, error));
    EXPECT_EQ(error, "No Name Given");
    EXPECT_FALSE(GIFRead(PathFor("missing.gif"), width, height, error));
    EXPECT_EQ(error, "Cant open");
    // A folder or a named pipe is no picture; the pipe must not block.
    std::filesystem::create_directory(PathFor("folder.gif"));
    ::mkfifo(PathFor("pipe.gif").c_str(), 0600);
    for (const char* name : {"folder.gif", "pipe.gif"}) {
        error.clear();
        EXPECT_FALSE(GIFRead(PathFor(name), width, height, error));
        EXPECT_EQ(error, "Cant open") << name;
    }
    EXPECT_EQ(width, -1);
}

TEST_F(GifFailureTest, RelativePathsAreTakenFromTheCurrentDirectory) {
    ScopedCwd cwd;
    WriteFile(PathFor("here.gif"), Header(&kFour) + TwoByTwo());
    std::filesystem::current_path(dir_.path());
    int width = 0;
    int height = 0;
    std::string error;
    EXPECT_TRUE(GIFRead("here.gif", width, height, error));
    EXPECT_EQ(width, 2);
}

TEST_F(GifFailureTest, AspectOtherThanSquareWarnsAndStillDecodes) {
    // 0 and 49 mean square pixels: the error text is left as it was.
    for (BYTE aspect : {0, 49}) {
        Decoded result = Decode(Header(&kFour, aspect) + TwoByTwo(), "earlier message");
        EXPECT_TRUE(result.picture);
        EXPECT_EQ(result.error, "earlier message");
    }
    Decoded warned = Decode(Header(&kFour, 17) + TwoByTwo(), "earlier message");
    ASSERT_TRUE(warned.picture);
    EXPECT_EQ(warned.error, "Non-square pixels in GIF image.\nIgnoring that fact...");
    EXPECT_EQ(warned.Pixels(), ExpectedPicture(2, 2, {0, 1, 2, 3}, kFour));

    // A later failure replaces the warning.
    EXPECT_EQ(Decode(Header(&kFour, 17) + ";").error, "Unexpected EOF in GIF.\nGiving up");
}

TEST_F(GifFailureTest, WideAndTallPicturesWithinTheLimitDecode) {
    Decoded wide = Decode(Header(&kFour) + ImageDescriptor(65535, 1) + LzwData({1, 2}, {.minCodeSize = 2}) + ";");
    ASSERT_TRUE(wide.picture) << wide.error;
    EXPECT_EQ(wide.width, 65535);
    std::vector<BYTE> expected = ExpectedPicture(65535, 1, {1, 2}, kFour);
    EXPECT_EQ(wide.Pixels(), expected);
    Decoded tall = Decode(Header(&kFour) + ImageDescriptor(1, 65535, nullptr, true) + LzwData({3}, {.minCodeSize = 2}));
    ASSERT_TRUE(tall.picture) << tall.error;
    EXPECT_EQ(tall.height, 65535);
}

}  // namespace
}  // namespace testing_support
