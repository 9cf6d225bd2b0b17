// Photo-bubble files: the disc builder's writer and the viewer library's reader agree on every
// field; a file cut anywhere or changed anywhere is refused with a reason, never read past its
// end; the writer refuses what the format cannot hold; the sample's bubble sources parse.
#include <BubWriter.h>
#include <SampleBubbles.h>
#include <ipx/BubFile.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

discbuilder::BubSource SmallBubble(std::uint32_t w, std::uint32_t h, std::vector<discbuilder::BubSpotSource> spots)
{
    discbuilder::BubSource s;
    s.width = w;
    s.height = h;
    s.initialColumn = w / 3;
    for (int i = 0; i < 256; ++i)
        s.rgb[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                                              static_cast<std::uint8_t>(255 - i)};
    for (std::uint32_t i = 0; i < w * h; ++i)
        s.pixels.push_back(static_cast<std::uint8_t>(i * 31 + 7));
    s.spots = std::move(spots);
    return s;
}

bool Read(const std::string& bytes, ipx::BubPicture& picture, std::string& error)
{
    // A copy of exactly the file's size, so that the sanitizer sees any read past its end.
    std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
    return ipx::ReadBubFile(exact.data(), exact.size(), picture, error);
}

TEST(BubFileTest, WhatTheBuilderWritesTheViewerReadsBack)
{
    const std::string longest(831, 'x');
    const discbuilder::BubSource sources[] = {
        SmallBubble(1, 1, {}),
        SmallBubble(37, 11, {{0, 0, 37, 11, "everything"}, {36, 10, 37, 11, "the last pixel"}, {5, 2, 9, 4, longest}}),
        discbuilder::ParseBubbleSource("number: 4050001\nscene: harbour 720 240\nstart: 700\nspot: 1 2 3 4 | A\n", "h.txt").bubble,
    };
    for (const discbuilder::BubSource& source : sources) {
        SCOPED_TRACE(source.width);
        ipx::BubPicture picture;
        std::string error;
        ASSERT_TRUE(Read(discbuilder::WriteBubFile(source), picture, error)) << error;
        EXPECT_EQ(source.width, picture.width);
        EXPECT_EQ(source.height, picture.height);
        EXPECT_EQ(source.initialColumn, picture.initialColumn);
        EXPECT_EQ(source.pixels, picture.pixels);
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(source.rgb[i][0], picture.palette[i][2]) << i;  // stored blue, green, red
            EXPECT_EQ(source.rgb[i][1], picture.palette[i][1]) << i;
            EXPECT_EQ(source.rgb[i][2], picture.palette[i][0]) << i;
            EXPECT_EQ(0, picture.palette[i][3]) << i;
        }
        ASSERT_EQ(source.spots.size(), picture.spots.size());
        for (std::size_t i = 0; i < source.spots.size(); ++i) {
            EXPECT_EQ(source.spots[i].left, picture.spots[i].left);
            EXPECT_EQ(source.spots[i].top, picture.spots[i].top);
            EXPECT_EQ(source.spots[i].right, picture.spots[i].right);
            EXPECT_EQ(source.spots[i].bottom, picture.spots[i].bottom);
            EXPECT_EQ(source.spots[i].text, picture.spots[i].text);
        }
    }
}

TEST(BubFileTest, AFileCutOrChangedAnywhereIsRefusedWithAReason)
{
    const std::string good = discbuilder::WriteBubFile(SmallBubble(9, 4, {{1, 1, 3, 3, "spot"}, {4, 0, 9, 4, "other"}}));
    ipx::BubPicture picture;
    std::string error;
    for (std::size_t length = 0; length < good.size(); ++length) {
        error.clear();
        EXPECT_FALSE(Read(good.substr(0, length), picture, error)) << length;
        EXPECT_FALSE(error.empty()) << length;
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
        std::string changed = good;
        changed[at] = static_cast<char>(changed[at] ^ 0x01);
        error.clear();
        EXPECT_FALSE(Read(changed, picture, error)) << at;
        EXPECT_FALSE(error.empty()) << at;
    }
    EXPECT_FALSE(Read(good + "x", picture, error)) << "nothing follows the checksum";
    EXPECT_TRUE(Read(good, picture, error)) << error;
}

TEST(BubFileTest, TheWriterRefusesWhatTheFormatCannotHold)
{
    auto bad = [](discbuilder::BubSource s) {
        EXPECT_THROW(discbuilder::WriteBubFile(s), std::invalid_argument);
    };
    bad(SmallBubble(0, 1, {}));
    bad(SmallBubble(4, 0, {}));
    discbuilder::BubSource wrongPixels = SmallBubble(4, 4, {});
    wrongPixels.pixels.pop_back();
    bad(wrongPixels);
    discbuilder::BubSource start = SmallBubble(4, 4, {});
    start.initialColumn = 4;
    bad(start);
    bad(SmallBubble(4, 4, {{0, 0, 5, 4, "wider than the picture"}}));
    bad(SmallBubble(4, 4, {{2, 2, 2, 3, "empty"}}));
    bad(SmallBubble(4, 4, {{-1, 0, 2, 2, "left of the picture"}}));
    bad(SmallBubble(4, 4, {{0, 0, 2, 2, ""}}));
    bad(SmallBubble(4, 4, {{0, 0, 2, 2, std::string(832, 'x')}}));
}

TEST(BubFileTest, BadBubbleSourcesAreNamed)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"scene: harbour 720 240\n", "b.txt:1: a bubble needs its number and scene"},
        {"number: 4050001\n", "b.txt:1: a bubble needs its number and scene"},
        {"number: 4050001\nscene: desert 720 240\n", "b.txt:2: unknown bubble scene"},
        {"number: 4050001\nscene: harbour 100 50\n", "b.txt:2: the harbour needs at least"},
        {"number: 4050001\nspot: 1 2 3 | text\n", "b.txt:2: a hot spot is"},
        {"number: 4050001\ncolour: red\n", "b.txt:2: unknown key"},
    };
    for (const auto& c : cases) {
        try {
            discbuilder::ParseBubbleSource(c.text, "b.txt");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(0u, std::string(e.what()).find(c.error)) << e.what();
        }
    }
}

}  // namespace
