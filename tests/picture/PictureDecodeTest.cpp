#include "PictureTestFiles.h"
#include "TempDir.h"
#include "picture/ExifOrientation.h"
#include "picture/PictureLoader.h"
#include "picture/PictureSink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

using namespace picture_test;
using testing_support::TempDir;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

PictureArea Area(int width, int height, BYTE red = 0, BYTE green = 0, BYTE blue = 0) {
    PictureArea area;
    area.width = width;
    area.height = height;
    area.back[0] = blue, area.back[1] = green, area.back[2] = red;
    return area;
}

PictureBitmap Decode(const std::string& bytes, const PictureArea& area, std::string* reason = nullptr) {
    std::string why;
    PictureBitmap bitmap = DecodePicture(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), area, why);
    if (reason)
        *reason = why;
    return bitmap;
}

}  // namespace

// Every format and kind, each decoded by us and by convert (the same
// libraries, or its own reading for BMP): the same pixels within the
// format's own rounding. Transparent parts lie on the back colour.
TEST(PictureDecode, EveryFormatMatchesConvert) {
    struct Case {
        const char* name;
        bool alpha;
        const char* options;
        const char* target;
        int tolerance;
    };
    const Case cases[] = {
        {"jpeg", false, "-quality 90", "a.jpg", 0},
        {"jpeg progressive", false, "-interlace Plane", "a.jpg", 0},
        {"jpeg grey", false, "-type Grayscale", "a.jpg", 0},
        {"jpeg cmyk", false, "-colorspace CMYK", "a.jpg", 2},
        {"png", false, "", "a.png", 0},
        {"png palette", false, "-colors 50", "PNG8:a.png", 0},
        {"png grey", false, "-type Grayscale", "a.png", 0},
        {"png 16-bit", false, "-depth 16", "PNG48:a.png", 0},
        {"png alpha", true, "", "PNG32:a.png", 1},
        {"png interlaced", true, "-interlace PNG", "PNG32:a.png", 1},
        {"webp lossless", false, "-define webp:lossless=true", "a.webp", 0},
        {"webp lossy", false, "-quality 80", "a.webp", 0},
        {"webp alpha", true, "-define webp:lossless=true", "a.webp", 1},
        {"bmp", false, "", "BMP3:a.bmp", 0},
        {"bmp palette", false, "-colors 16 -type Palette", "BMP3:a.bmp", 0},
        {"heic", false, "-quality 90", "a.heic", 3},
        {"avif", true, "-quality 90", "a.avif", 3},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSource(dir / "source", c.alpha);
        const std::string target = std::string(c.target).insert(std::string(c.target).find(':') + 1, dir.path() + "/");
        ASSERT_NE(Shell("convert -size 61x37 -depth 8 rgba:" + dir / "source " + c.options + " " + target +
                      " && echo ok"),
                  "");
        const std::string file = dir / std::string(c.target).substr(std::string(c.target).find(':') + 1);
        // (convert's -flatten would make grey pictures linear: only where needed.)
        const std::string reference =
            Shell("convert " + file + (c.alpha ? " -background '#204060' -flatten" : "") + " -depth 8 rgb:-");
        std::string reason;
        const PictureBitmap ours = Decode(ReadAll(file), Area(100, 100, 0x20, 0x40, 0x60), &reason);
        ASSERT_TRUE(ours.bits) << reason;
        EXPECT_EQ(ours.width, 61);
        EXPECT_EQ(ours.height, 37);
        const int difference = MaxDifference(TopDownRgb(ours), reference);
        EXPECT_GE(difference, 0);
        EXPECT_LE(difference, c.tolerance);
    }
}

// The EXIF orientation, in JPEG's APP1 and PNG's eXIf, against convert's
// own turns of the same file.
TEST(PictureDecode, TurnsUprightByTheExifOrientation) {
    const char* turns[] = {"", "", "-flop", "-rotate 180", "-flip", "-transpose", "-rotate 90", "-transverse",
                           "-rotate 270"};
    TempDir dir;
    WriteSource(dir / "source", false);
    for (const char* format : {"jpg", "png"}) {
        const std::string plain = dir / (std::string("plain.") + format);
        ASSERT_NE(Shell("convert -size 61x37 -depth 8 rgba:" + dir / "source -alpha off " + plain + " && echo ok"), "");
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE(std::string(format) + " " + std::to_string(orientation));
            const std::string tagged = WithOrientation(ReadAll(plain), orientation);
            // Found alike by the library and by the walk other decoders use.
            EXPECT_EQ(FileOrientation(reinterpret_cast<const BYTE*>(tagged.data()), tagged.size()), orientation);
            const PictureBitmap ours = Decode(tagged, Area(100, 100));
            ASSERT_TRUE(ours.bits);
            EXPECT_EQ(ours.width, orientation >= 5 ? 37 : 61);
            const std::string reference = Shell("convert " + plain + " " + turns[orientation] + " -depth 8 rgb:-");
            EXPECT_EQ(MaxDifference(TopDownRgb(ours), reference), 0);
        }
    }
    // Damaged or odd EXIF reads as upright.
    const std::string good = std::string("Exif\0\0MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0", 28);
    EXPECT_EQ(ExifOrientation(reinterpret_cast<const BYTE*>(good.data()), good.size()), 6);
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_EQ(ExifOrientation(reinterpret_cast<const BYTE*>(good.data()), cut), 1) << cut;
    std::string nine = good;
    nine[25] = 9;
    EXPECT_EQ(ExifOrientation(reinterpret_cast<const BYTE*>(nine.data()), nine.size()), 1);
}

// Larger pictures are shrunk to fit, aspect kept, by area averaging (for
// whole ratios exactly convert's box filter); JPEG straight from the DCT at
// 1/4, as libjpeg scales it itself. Smaller ones stay 1:1, or s times larger.
TEST(PictureDecode, FitsLargerPicturesAndKeepsSmallerOnes) {
    TempDir dir;
    WriteSource(dir / "source", false);
    const std::string big = dir / "big.png", photo = dir / "photo.jpg";
    ASSERT_NE(Shell("convert -size 61x37 -depth 8 rgba:" + dir / "source -alpha off -filter point -resize 400% " +
                  big + " && convert " + big + " -quality 95 " + photo + " && echo ok"),
              "");
    // 244 x 148 into 122 x 200: halved.
    PictureBitmap half = Decode(ReadAll(big), Area(122, 200));
    ASSERT_TRUE(half.bits);
    EXPECT_EQ(half.width, 122);
    EXPECT_EQ(half.height, 74);
    EXPECT_LE(MaxDifference(TopDownRgb(half), Shell("convert " + big + " -filter box -resize 50% -depth 8 rgb:-")), 1);
    // 244 x 148 into 61 x 61: a quarter, decoded at 1/4.
    PictureBitmap quarter = Decode(ReadAll(photo), Area(61, 61));
    ASSERT_TRUE(quarter.bits);
    EXPECT_EQ(quarter.width, 61);
    EXPECT_EQ(quarter.height, 37);
    EXPECT_EQ(MaxDifference(TopDownRgb(quarter), Shell("convert -define jpeg:size=61x37 " + photo + " rgb:-")), 0);
    // Not a whole ratio: the height follows the aspect, rounded.
    PictureBitmap odd = Decode(ReadAll(big), Area(100, 1000));
    EXPECT_EQ(odd.width, 100);
    EXPECT_EQ(odd.height, 61);
    // A flat colour stays exactly that colour, however it is averaged.
    PictureArea area = Area(37, 23);
    PictureSink sink(area);
    const std::vector<BYTE> grey(300 * 4, 77);
    ASSERT_TRUE(sink.Begin(300, 190, 300, 190, 6));
    for (int y = 0; y < 190; ++y)
        ASSERT_TRUE(sink.PushBGR(grey.data()));
    const std::string flat = TopDownRgb(sink.Finish());
    EXPECT_EQ(flat, std::string(flat.size(), char(77)));
    EXPECT_EQ(flat.size(), std::size_t(15 * 23 * 3));  // upright: 23 high, 190/300 of it wide
    // Smaller: 1:1, or s times larger at a display scale s, as far as the area allows.
    EXPECT_EQ(Decode(ReadAll(photo), Area(1000, 1000)).width, 244);
    const std::string small = dir / "small.png";
    Shell("convert -size 61x37 -depth 8 rgba:" + dir / "source -alpha off " + small);
    for (auto [scale, width] : {std::pair{1.0, 61}, {2.0, 122}, {3.0, 122}}) {
        PictureArea scaled = Area(122, 200);
        scaled.scale = scale;
        EXPECT_EQ(Decode(ReadAll(small), scaled).width, width) << scale;
    }
}

// Any ratio, whole or not, and whatever the shrinking's inner loops (a
// ratio near 1, as after a JPEG's reduction; one above 2; more than 64 rows
// to a kept row): each kept pixel is the exact area average of the pixels it
// covers, within rounding.
TEST(PictureDecode, ShrinksToExactAreaAverages) {
    struct Case {
        int width, height, areaWidth, areaHeight, shownWidth, shownHeight;
    };
    for (const Case& c : std::vector<Case>{{300, 225, 288, 216, 288, 216},
                                           {244, 148, 100, 1000, 100, 61},
                                           {61, 37, 60, 60, 60, 36},
                                           {9, 700, 100, 10, 1, 10},
                                           {700, 9, 7, 100, 7, 1}}) {
        const std::string name = std::to_string(c.width) + "x" + std::to_string(c.height);
        std::vector<BYTE> source(std::size_t(c.width) * c.height * 3);
        std::uint32_t seed = 12345;
        for (BYTE& value : source)
            value = BYTE((seed = seed * 1103515245 + 12345) >> 24);
        PictureSink sink(Area(c.areaWidth, c.areaHeight));
        ASSERT_TRUE(sink.Begin(c.width, c.height, c.width, c.height, 1)) << name;
        for (int y = 0; y < c.height; ++y)
            ASSERT_TRUE(sink.PushRGB(&source[std::size_t(y) * c.width * 3])) << name;
        PictureBitmap shown = sink.Finish();
        ASSERT_EQ(shown.width, c.shownWidth) << name;
        ASSERT_EQ(shown.height, c.shownHeight) << name;
        // Kept pixel (x, y) covers [x, x + 1) * width / shownWidth across
        // and the same down: each source pixel weighs its overlap.
        const auto overlap = [](int i, int k, double ratio) {
            return std::max(0.0, std::min(i + 1.0, (k + 1) * ratio) - std::max(double(i), k * ratio));
        };
        const double across = double(c.width) / c.shownWidth, down = double(c.height) / c.shownHeight;
        std::string exact;
        for (int y = 0; y < c.shownHeight; ++y)
            for (int x = 0; x < c.shownWidth; ++x)
                for (int channel = 0; channel < 3; ++channel) {
                    double sum = 0;
                    for (int j = int(y * down); j < c.height && j < (y + 1) * down; ++j)
                        for (int i = int(x * across); i < c.width && i < (x + 1) * across; ++i)
                            sum += overlap(i, x, across) * overlap(j, y, down) *
                                   source[(std::size_t(j) * c.width + i) * 3 + channel];
                    exact += char(BYTE(std::lround(sum / (across * down))));
                }
        EXPECT_LE(MaxDifference(TopDownRgb(shown), exact), 1) << name;
    }
}

// Damaged files and decompression bombs of each format fail, cleanly and
// before allocating what they declare; so does an abandoned picture.
TEST(PictureDecode, BombsAndDamagedFilesFail) {
    TempDir dir;
    WriteSource(dir / "source", true);
    std::vector<std::string> files;
    for (const char* name : {"a.jpg", "a.png", "a.webp", "a.heic", "BMP3:a.bmp"}) {
        const std::string out = std::string(name).insert(std::string(name).find(':') + 1, dir.path() + "/");
        Shell("convert -size 61x37 -depth 8 rgba:" + dir / "source " + out);
        files.push_back(ReadAll(dir / std::string(name).substr(std::string(name).find(':') + 1)));
        ASSERT_FALSE(files.back().empty()) << name;
    }
    std::vector<std::pair<std::string, std::string>> bad;
    for (const std::string& file : files)
        for (std::size_t keep : {std::size_t(0), std::size_t(12), file.size() / 3, file.size() / 2})
            bad.emplace_back("cut to " + std::to_string(keep) + " of " + file.substr(0, 4), file.substr(0, keep));
    // Sizes of 65535 x 65535 declared in front of the same small data.
    std::string png = files[1];
    png.replace(16, 8, std::string("\0\0\xFF\xFF\0\0\xFF\xFF", 8));
    bad.emplace_back("png 65535 squared", png);
    std::string bmp = files[4];
    bmp.replace(18, 8, std::string("\xFF\xFF\0\0\xFF\xFF\0\0", 8));
    bad.emplace_back("bmp 65535 squared", bmp);
    std::string jpeg = files[0];
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i)
        if (jpeg.compare(i, 2, "\xFF\xC0") == 0) {
            jpeg.replace(i + 5, 4, "\xFF\xFF\xFF\xFF");
            break;
        }
    bad.emplace_back("jpeg 65535 squared", jpeg);
    // Endless ancillary chunks and no image data.
    std::string chunks = files[1].substr(0, 33);
    for (int i = 0; i < 20000; ++i)
        chunks += std::string("\0\0\0\0teXt\x5A\x0C\x9A\x5B", 12);
    bad.emplace_back("png endless chunks", chunks);
    for (const auto& [name, bytes] : bad) {
        std::string reason;
        EXPECT_FALSE(Decode(bytes, Area(100, 100), &reason).bits) << name << " " << bytes.size();
        EXPECT_FALSE(reason.empty()) << name;
    }
    std::atomic<bool> stop{true};
    PictureArea stopped = Area(100, 100);
    stopped.stop = &stop;
    for (const std::string& file : files)
        EXPECT_FALSE(Decode(file, stopped).bits);
}
