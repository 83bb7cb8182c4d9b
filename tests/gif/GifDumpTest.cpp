// gifdump, the decoder from the command line.
#include "GifDecodeFixture.h"
#include "GifTestFiles.h"

#include <sys/wait.h>

namespace testing_support {
namespace {

class GifDumpTest : public GifDecodeTest {
protected:
    // Runs gifdump on `bytes`; returns its exit status.
    int Run(const std::string& bytes) {
        WriteFile(PathFor("in.gif"), bytes);
        const std::string command = std::string("'") + GIFDUMP_PATH + "' '" + PathFor("in.gif") + "' '" +
                                    PathFor("out.bgr") + "' >'" + PathFor("stdout") + "' 2>'" + PathFor("stderr") +
                                    "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Output(const std::string& name) const { return ReadFile(PathFor(name)); }
};

TEST_F(GifDumpTest, WritesThePictureAndPrintsItsSize) {
    const Palette palette = TestPalette(4);
    const Indices indices = {3, 2, 1, 0, 1, 2};
    ASSERT_EQ(Run(Header(&palette, 17) + ImageDescriptor(3, 2) + LzwData(indices, {.minCodeSize = 2}) + ";"), 0);
    EXPECT_EQ(Output("stdout"), "3 2\n");
    EXPECT_EQ(Output("stderr"), "Non-square pixels in GIF image.\nIgnoring that fact...\n");
    const std::vector<BYTE> expected = ExpectedPicture(3, 2, indices, palette);
    EXPECT_EQ(Output("out.bgr"), std::string(expected.begin(), expected.end()));
}

TEST_F(GifDumpTest, FailurePrintsTheErrorText) {
    EXPECT_EQ(Run("GIF89b"), 1);
    EXPECT_EQ(Output("stdout"), "");
    EXPECT_EQ(Output("stderr"), "Error, Bad GIF Version number\n");
}

}  // namespace
}  // namespace testing_support
