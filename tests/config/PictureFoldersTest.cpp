#include "config/PictureFolders.h"
#include "config/RunOverrides.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using testing_support::TempDir;
using testing_support::WriteFile;
using List = std::vector<std::string>;

namespace {
const char kGif[] = "GIF89a\x01\0\x01\0";
const char kPng[] = "\x89PNG\r\n\x1A\n....";
}  // namespace

// A folder stands for the pictures under it (by name or by first bytes), in
// name order, subfolders in their place; hidden names, other files and links
// back up the tree are left out, and the bound holds for the whole list.
TEST(PictureFolders, ExpandInNameOrderSkippingHiddenOtherFilesAndLoops) {
    TempDir dir;
    const std::string top = dir / "pics";
    WriteFile(top + "/b.png", kPng);
    WriteFile(top + "/a/z.gif", kGif);
    WriteFile(top + "/a/.hidden.gif", kGif);
    WriteFile(top + "/.cache/x.gif", kGif);
    WriteFile(top + "/c.txt", "not a picture");
    WriteFile(top + "/e.txt", kPng);  // a picture by its bytes
    WriteFile(top + "/f.JPG", "");    // a picture by its name: judged at its turn
    WriteFile(top + "/C.jpg", "\xFF\xD8\xFF\xE0");  // upper case sorts first
    std::filesystem::create_directory_symlink(top, top + "/a/loop");
    std::filesystem::create_symlink(top + "/b.png", top + "/d-link.png");
    const List inside{top + "/C.jpg", top + "/a/z.gif", top + "/b.png", top + "/d-link.png", top + "/e.txt",
                      top + "/f.JPG"};
    List found;
    ScanPictureFolder(top, 100, found);
    EXPECT_EQ(found, inside);

    const ExpandedPictureList list = ExpandPictureList({"/no/such.gif", top, top + "/b.png"});
    EXPECT_TRUE(list.changed);
    List want{"/no/such.gif"};
    want.insert(want.end(), inside.begin(), inside.end());
    want.push_back(top + "/b.png");
    EXPECT_EQ(list.files, want);
    EXPECT_EQ(list.starts, (std::vector<std::size_t>{0, 1, 7}));
    EXPECT_FALSE(ExpandPictureList({"/x.gif", top + "/b.png"}).changed);
    found.clear();
    ScanPictureFolder(top, 2, found);
    EXPECT_EQ(found.size(), 2u);
    std::atomic<bool> stop{true};
    EXPECT_TRUE(ExpandPictureList({top}, &stop).files.empty());
}

// -pictures PATH: a folder or a picture stands for itself, anything else is
// a list file whose relative entries sit beside it; without it, the stored list.
TEST(PictureFolders, APicturesSwitchNamesAFolderAPictureOrAList) {
    TempDir dir;
    WriteFile(dir / "one.gif", kGif);
    WriteFile(dir / "list.txt", "one.gif\r\n/abs/two.png\r\n");
    std::filesystem::create_directory(dir / "folder");
    const struct {
        std::string given;
        List want;
    } cases[] = {
        {dir / "folder", {dir / "folder"}},
        {dir / "one.gif", {dir / "one.gif"}},
        {dir / "list.txt", {dir / "one.gif", "/abs/two.png"}},
        {dir / "missing.txt", {}},
    };
    for (const auto& c : cases) {
        CurrentRunOverrides().pictures = c.given;
        List list{"left over"};
        ReadRunPictureList(list);
        EXPECT_EQ(list, c.want) << c.given;
    }
    CurrentRunOverrides() = {};
}
