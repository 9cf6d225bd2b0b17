// The picture writers on their own: the layout of what they write, and the pictures they refuse
// to write. What the program's readers make of the files is tested with the readers
// (tests/widgets/PictureWriterRoundTripTest.cpp).
#include <gtest/gtest.h>

#include "BmpWriter.h"
#include "GifWriter.h"
#include "PictureSource.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

using namespace discbuilder;

namespace {

std::vector<PictureColor> Grey(int n)
{
    std::vector<PictureColor> colors;
    for (int i = 0; i < n; ++i)
        colors.push_back({std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
    return colors;
}

GifImage Image(int width, int height, std::uint8_t index = 0)
{
    GifImage image;
    image.width = width;
    image.height = height;
    image.indices.assign(std::size_t(width) * std::size_t(height), index);
    return image;
}

}  // namespace

TEST(GifWriterTest, HeaderTablesAndCodes)
{
    // A global table of three colours: four entries (size field 1), the fourth black; a local
    // one of five: eight entries (size field 2).
    GifWriter writer(3, 2, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    GifImage image = Image(2, 1, 2);
    image.left = 1;
    image.top = 1;
    image.interlaced = true;
    image.localColors = Grey(5);
    writer.AddImage(image);
    const std::string gif = writer.Finish();
    const std::string header("GIF89a\x03\x00\x02\x00\x91\x00\x00", 13);
    EXPECT_EQ(header, gif.substr(0, 13));
    EXPECT_EQ(std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x00\x00\x00", 12), gif.substr(13, 12));
    EXPECT_EQ(std::string("\x2C\x01\x00\x01\x00\x02\x00\x01\x00\xC2", 10), gif.substr(25, 10));
    EXPECT_EQ(std::string("\x00\x00\x00\x01\x01\x01\x02\x02\x02\x03\x03\x03\x04\x04\x04", 15) + std::string(9, '\0'),
              gif.substr(35, 24)) << "the local table padded to eight entries";
    // Code size 3 (for eight entries): clear 8, the pixel 2, the pixel 2 (its string "2 2" not yet
    // known), end 9 — 4-bit codes: 0x28, 0x92.
    EXPECT_EQ(std::string("\x03\x02\x28\x92\x00\x3B", 6), gif.substr(59));

    // The smallest stream: one pixel, code size 2: clear 4, pixel 0, end 5 in 3-bit codes.
    EXPECT_EQ(std::string("\x44\x01", 2), GifLzwCodes({0}, 2));
    EXPECT_EQ(std::string("\x02\xFF\xFF\x00", 4), GifSubBlocks("\xFF\xFF"));
    EXPECT_EQ(std::string(1, '\0'), GifSubBlocks(""));
    EXPECT_EQ((std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}), GifInterlacedRows(10));
}

TEST(GifWriterTest, AFullTableIsClearedOrKept)
{
    std::vector<std::uint8_t> noise;
    std::uint32_t seed = 7;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        noise.push_back(std::uint8_t(seed >> 24));
    }
    // A few hundred codes leave the table far from full: both ways write the same stream.
    const std::vector<std::uint8_t> few(noise.begin(), noise.begin() + 500);
    EXPECT_EQ(GifLzwCodes(few, 8, GifFullTable::Clear), GifLzwCodes(few, 8, GifFullTable::Keep));
    // Noise of 256 colours fills the table after about 3840 codes: from there the streams part.
    const std::string cleared = GifLzwCodes(noise, 8, GifFullTable::Clear);
    const std::string kept = GifLzwCodes(noise, 8, GifFullTable::Keep);
    EXPECT_NE(cleared, kept);
    const std::size_t common = std::size_t(std::mismatch(cleared.begin(), cleared.end(), kept.begin()).first - cleared.begin());
    EXPECT_GT(common, 3000u * 9 / 8) << "the same codes until the table is full";
}

TEST(GifWriterTest, RefusesWhatItCannotWrite)
{
    struct Case {
        const char* name;
        std::function<void()> write;
    } cases[] = {
        {"screen width 0", [] { GifWriter(0, 1, Grey(2)); }},
        {"screen height 65536", [] { GifWriter(1, 65536, Grey(2)); }},
        {"257 colours", [] { GifWriter(1, 1, Grey(257)); }},
        {"image off the screen", [] {
             GifWriter w(4, 4, Grey(2));
             GifImage image = Image(2, 2);
             image.left = 3;
             w.AddImage(image);
         }},
        {"indexes short of the size", [] {
             GifImage image = Image(3, 3);
             image.indices.pop_back();
             GifFile(image, Grey(2));
         }},
        {"index beyond the table", [] { GifFile(Image(1, 1, 2), Grey(2)); }},
        {"index beyond the local table", [] {
             GifImage image = Image(1, 1, 2);
             image.localColors = Grey(2);
             GifFile(image, Grey(256));
         }},
        {"code size 1", [] {
             GifImage image = Image(1, 1);
             image.minCodeSize = 1;
             GifFile(image, Grey(2));
         }},
        {"code size 12", [] {
             GifImage image = Image(1, 1);
             image.minCodeSize = 12;
             GifFile(image, Grey(2));
         }},
        {"index beyond the code size", [] {
             GifImage image = Image(1, 1, 4);
             image.minCodeSize = 2;
             GifFile(image, Grey(8));
         }},
        {"empty extension block", [] { GifWriter(1, 1, Grey(2)).AddExtension(0xFE, {""}); }},
        {"extension block of 256 bytes", [] { GifWriter(1, 1, Grey(2)).AddExtension(0xFE, {std::string(256, 'x')}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(c.write(), std::invalid_argument);
    }
    EXPECT_THROW(GifWriter(1, 1, Grey(2)).Finish(), std::logic_error) << "no image";
}

TEST(BmpWriterTest, HeadersAndPaddedRows)
{
    BmpPicture p;
    p.width = 3;
    p.height = 2;
    p.bitCount = 4;
    p.colors = Grey(3);
    p.indices = {0, 1, 2, 2, 1, 0};
    const std::string bmp = BmpFile(p);
    ASSERT_EQ(14u + 40 + 12 + 2 * 4, bmp.size());
    EXPECT_EQ(std::string("BM\x4A\x00\x00\x00\x00\x00\x00\x00\x42\x00\x00\x00", 14), bmp.substr(0, 14));
    EXPECT_EQ(std::string("\x28\x00\x00\x00\x03\x00\x00\x00\x02\x00\x00\x00\x01\x00\x04\x00", 16), bmp.substr(14, 16));
    EXPECT_EQ(std::string("\x03\x00\x00\x00", 4), bmp.substr(14 + 32, 4)) << "biClrUsed";
    // Bottom-up: the last row first, two pixels a byte, high nibble first, padded to 4 bytes.
    EXPECT_EQ(std::string("\x21\x00\x00\x00\x01\x20\x00\x00", 8), bmp.substr(66));

    p.topDown = true;
    const std::string topDown = BmpFile(p);
    EXPECT_EQ(std::string("\xFE\xFF\xFF\xFF", 4), topDown.substr(22, 4)) << "a negative height";
    EXPECT_EQ(std::string("\x01\x20\x00\x00\x21\x00\x00\x00", 8), topDown.substr(66));

    BmpPicture rgb;
    rgb.width = 1;
    rgb.height = 1;
    rgb.bitCount = 24;
    rgb.pixels = {{0x11, 0x22, 0x33}};
    EXPECT_EQ(std::string("\x33\x22\x11\x00", 4), BmpFile(rgb).substr(54)) << "blue, green, red, padding";
    EXPECT_EQ(8u, BmpRowLength(33, 1));
}

TEST(BmpWriterTest, RefusesWhatItCannotWrite)
{
    auto picture = [](int width, int height, int bits, int nColors) {
        BmpPicture p;
        p.width = width;
        p.height = height;
        p.bitCount = bits;
        p.colors = Grey(nColors);
        if (bits == 24)
            p.pixels.assign(std::size_t(width) * std::size_t(height), PictureColor{});
        else
            p.indices.assign(std::size_t(width) * std::size_t(height), 0);
        return p;
    };
    struct Case {
        const char* name;
        BmpPicture picture;
    } cases[] = {
        {"2 bits", picture(1, 1, 2, 4)},
        {"16 bits", picture(1, 1, 16, 0)},
        {"width 0", picture(0, 1, 8, 2)},
        {"height 32768", picture(1, 32768, 8, 2)},
        {"3 colours at 1 bit", picture(1, 1, 1, 3)},
        {"no colour table at 8 bits", picture(1, 1, 8, 0)},
        {"a colour table at 24 bits", picture(1, 1, 24, 2)},
        {"index beyond the table", [&] {
             BmpPicture p = picture(2, 1, 4, 3);
             p.indices[1] = 3;
             return p;
         }()},
        {"pixels short of the size", [&] {
             BmpPicture p = picture(2, 2, 24, 0);
             p.pixels.pop_back();
             return p;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(BmpFile(c.picture), std::invalid_argument);
    }
}

TEST(PictureSourceTest, CellsBecomeSquaresOfTheirColour)
{
    const BmpPicture p = ParsePictureSource("# a comment\n"
                                            "\n"
                                            "scale: 2\r\n"
                                            "colour: . 1 2 3\n"
                                            "colour: # 255 0 128\n"
                                            "colour: = 9 9 9\n"
                                            "picture:\n"
                                            "#.=\n"
                                            ".#.\n"
                                            "\n",
                                            "test.txt");
    EXPECT_EQ(6, p.width);
    EXPECT_EQ(4, p.height);
    EXPECT_EQ(4, p.bitCount) << "three colours";
    EXPECT_EQ((std::vector<PictureColor>{{1, 2, 3}, {255, 0, 128}, {9, 9, 9}}), p.colors);
    EXPECT_EQ((std::vector<std::uint8_t>{1, 1, 0, 0, 2, 2, 1, 1, 0, 0, 2, 2, 0, 0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0}),
              p.indices);
    EXPECT_EQ(1, ParsePictureSource("colour: # 0 0 0\npicture:\n#\n", "t").bitCount) << "one colour, unscaled";

    struct Case {
        std::string text;
        const char* message;
    } cases[] = {
        {"size: 3\n", "t.txt: line 1: not a comment, \"scale:\", \"colour:\" or \"picture:\" line"},
        {"scale: 0\n", "t.txt: line 1: the scale is not a number from 1 to 64"},
        {"scale: 65\n", "t.txt: line 1: the scale is not a number from 1 to 64"},
        {"colour: . 1 2\n", "t.txt: line 1: the colour of '.' is not three numbers from 0 to 255"},
        {"colour: . 1 2 256\n", "t.txt: line 1: the colour of '.' is not three numbers from 0 to 255"},
        {"colour:   1 2 3\n", "t.txt: line 1: a blank cannot stand for a colour"},
        {"colour: . 1 2 3\ncolour: . 4 5 6\n", "t.txt: line 2: a second colour for '.'"},
        {"colour: . 1 2 3\npicture:\n..\n...\n", "t.txt: line 4: a row of 3 cells after rows of 2"},
        {"colour: . 1 2 3\npicture:\n.x\n", "t.txt: line 3: no colour for 'x'"},
        {"colour: . 1 2 3\npicture:\n", "t.txt: line 2: no rows of the picture"},
        {"scale: 64\ncolour: . 1 2 3\npicture:\n" + std::string(512, '.') + "\n",
         "t.txt: line 4: a picture larger than 32767 pixels a side"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParsePictureSource(c.text, "t.txt");
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(c.message), e.what());
        }
    }
}
