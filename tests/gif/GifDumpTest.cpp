// gifdump, the decoder from the command line.
#include "GifDecodeFixture.h"

#include <sys/wait.h>

using namespace testing_support;
using GifDumpTest = GifDecodeTest;

TEST_F(GifDumpTest, WritesThePictureAndItsSizeOrPrintsTheError) {
    // Runs gifdump on `bytes`; returns its exit status.
    auto run = [&](const std::string& bytes) {
        WriteFile(PathFor("in.gif"), bytes);
        const std::string command = "'" GIFDUMP_PATH "' '" + PathFor("in.gif") + "' '" + PathFor("out.bgr") + "' >'" +
                                    PathFor("stdout") + "' 2>'" + PathFor("stderr") + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const Palette palette = TestPalette(4);
    const Indices indices = {3, 2, 1, 0, 1, 2};
    ASSERT_EQ(run(Header(&palette, 17) + ImageDescriptor(3, 2) + PackCodes(2, LzwCodes(indices, {.minCodeSize = 2})) + ";"), 0);
    EXPECT_EQ(ReadFile(PathFor("stdout")), "3 2\n");
    EXPECT_EQ(ReadFile(PathFor("stderr")), "Non-square pixels in GIF image.\nIgnoring that fact...\n");
    const std::vector<BYTE> expected = ExpectedPicture(3, 2, indices, palette);
    EXPECT_EQ(ReadFile(PathFor("out.bgr")), std::string(expected.begin(), expected.end()));

    EXPECT_EQ(run("GIF89b"), 1);
    EXPECT_EQ(ReadFile(PathFor("stdout")), "");
    EXPECT_EQ(ReadFile(PathFor("stderr")), "Error, Bad GIF Version number\n");
}
