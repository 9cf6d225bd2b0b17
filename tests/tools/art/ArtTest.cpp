// The art generator: what it draws and the files it writes.
#include <ArtFiles.h>
#include <ArtTable.h>
#include <Painter.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace {

std::uint32_t Pixel(const art::Picture& p, int x, int y)  // y from the top
{
    const std::uint8_t* px = &p.bgr[static_cast<std::size_t>(p.height - 1 - y) * p.Stride() + static_cast<std::size_t>(x) * 3];
    return px[0] | (px[1] << 8) | (static_cast<std::uint32_t>(px[2]) << 16);
}

std::uint32_t Read32(const std::string& s, std::size_t at)
{
    std::uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

}  // namespace

TEST(Art, CloseBoxIsARaisedFaceWithACross)
{
    art::Picture up = art::Paint(art::Look::CloseBox, 21, 19);
    ASSERT_EQ(up.bgr.size(), up.Stride() * 19);
    EXPECT_EQ(Pixel(up, 0, 0), 0xFFFFFFu);     // light edge at the top left
    EXPECT_EQ(Pixel(up, 20, 18), 0x000000u);   // dark edge at the bottom right
    EXPECT_EQ(Pixel(up, 3, 9), 0xC0C0C0u);     // the face
    EXPECT_EQ(Pixel(up, 10, 9), 0x000000u);    // the cross's middle
    art::Picture down = art::Paint(art::Look::CloseBoxPressed, 21, 19);
    EXPECT_EQ(Pixel(down, 0, 0), 0x808080u);   // sunken
    EXPECT_NE(up.bgr, down.bgr);
}

TEST(Art, BitmapFileLayout)
{
    art::Picture picture = art::Paint(art::Look::SoundButton, 27, 17);
    std::string file = art::BmpFile(picture);
    ASSERT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(Read32(file, 2), file.size());
    EXPECT_EQ(Read32(file, 10), 54u);
    EXPECT_EQ(Read32(file, 18), 27u);
    EXPECT_EQ(Read32(file, 22), 17u);
    EXPECT_EQ(file.size(), 54u + 84 * 17);  // rows of 81 bytes padded to 84
}

TEST(Art, IconKeyColourBecomesTransparent)
{
    art::Picture icon = art::Paint(art::Look::ProgramIcon, 16, 16);
    EXPECT_EQ(Pixel(icon, 0, 0), art::kIconKeyBgr);  // the corner is outside the globe
    std::string file = art::IcoFile({icon}, art::kIconKeyBgr);
    ASSERT_EQ(file.size(), 6u + 16 + 40 + 16 * 16 * 4 + 4 * 16);
    std::size_t colours = 6 + 16 + 40, mask = colours + 16 * 16 * 4;
    // Bottom-up rows: the top-left pixel is the first of the last row.
    std::size_t topLeft = colours + 15 * 16 * 4;
    EXPECT_EQ(static_cast<unsigned char>(file[topLeft + 3]), 0);  // no alpha
    EXPECT_EQ(static_cast<unsigned char>(file[mask + 15 * 4]) & 0x80, 0x80);  // mask bit set
    std::size_t middle = colours + (8 * 16 + 8) * 4;
    EXPECT_EQ(static_cast<unsigned char>(file[middle + 3]), 255);
}

TEST(Art, ToneIsShortPcm)
{
    std::string wave = art::WavFile(440, 100);
    ASSERT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Read32(wave, 24), 11025u);
    EXPECT_EQ(Read32(wave, 40), 1102u);
    EXPECT_EQ(wave.size(), 44u + 1102);
    // Faded in: it starts at silence (128).
    EXPECT_EQ(static_cast<unsigned char>(wave[44]), 128);
}

TEST(Art, TableIdsAreUniqueAndOnTheirSideOf7000)
{
    std::set<int> ids;
    for (const art::Row& row : art::ProgramArt()) {
        EXPECT_TRUE(row.id < 7000 || row.kind == art::Kind::Wave) << row.id;  // sounds are the program's
        EXPECT_TRUE(ids.insert(row.id).second) << row.id;
    }
    for (const art::Row& row : art::LibraryArt()) {
        EXPECT_GE(row.id, 7000);
        EXPECT_TRUE(ids.insert(row.id).second) << row.id;
        for (const art::Size& size : row.sizes)
            EXPECT_GT(size.width * size.height, 0) << row.id;
    }
}

// The toolbar's view and history buttons at each screen class's size: a long one-word label
// ("Forward") is not drawn smaller than the shortest of its neighbours' labels.
TEST(Art, ALongToolbarLabelIsNoSmallerThanItsNeighbours)
{
    struct Size {
        int width, height;
    };
    // The label's ink (white on the face): its height in the label band at the bottom.
    auto inkHeight = [](const art::Picture& p) {
        const int band = std::max(9, p.height / 4);
        int top = -1, bottom = -1;
        for (int y = p.height - 2 - band; y < p.height - 2; ++y)
            for (int x = 2; x < p.width - 2; ++x)
                if (Pixel(p, x, y) == 0xFFFFFFu) {
                    top = top < 0 ? y : top;
                    bottom = y;
                }
        return top < 0 ? 0 : bottom - top + 1;
    };
    for (Size size : {Size{44, 44}, Size{44, 50}, Size{47, 64}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        int shortest = size.height;
        for (const char* label : {"Back", "Home", "Article", "Atlas", "Stop"})
            shortest = std::min(shortest, inkHeight(art::Paint(art::Look::ToolButton, size.width, size.height, label)));
        EXPECT_GE(inkHeight(art::Paint(art::Look::ToolButton, size.width, size.height, "Forward")), shortest);
    }
}
