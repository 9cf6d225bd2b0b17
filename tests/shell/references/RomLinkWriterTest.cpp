// The disc builder's ROM_LINK.DAT: what it refuses to write, the defaults it adds, and the file
// read back through the program's reader.
#include "ReferenceTestSupport.h"

#include "base/Reference.h"

#include <stdexcept>
#include <string>

namespace {

using discbuilder::RomLinkEntry;

TEST(RomLinkWriterTest, WritesSortedLinesOfSevenFields)
{
    std::vector<RomLinkEntry> entries = {{4020019, 7, 2, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 10, 2},
                                         {2000461, 2, 3, 1, 2, 60, 1}, {3000732, 4, 6, 1, 1, 70, 3},
                                         {4010010, 5, 1, 0, 1, 0, 1},  {4040006, 1, 7, 0, 1, 0, 1}};
    EXPECT_EQ("1|0|0|0|1|10|2\r\n"
              "2000461|2|3|1|2|60|1\r\n"
              "3000732|4|6|1|1|70|3\r\n"
              "4010010|5|1|0|1|0|1\r\n"
              "4020019|7|2|0|1|0|1\r\n"
              "4040006|1|7|0|1|0|1\r\n",
              discbuilder::RomLinkText(entries));
}

TEST(RomLinkWriterTest, RefusesWhatTheReadersWouldReadDifferently)
{
    struct Case {
        const char* what;
        RomLinkEntry entry;
    } cases[] = {
        {"negative RIN", {-1, 0, 0, 0, 1, 0, 1}},
        {"category", {7, 10, 0, 0, 1, 0, 1}},
        {"kind", {7, 0, -1, 0, 1, 0, 1}},
        {"picture flag", {7, 0, 0, 2, 1, 0, 1}},
        {"disc", {7, 0, 0, 0, 3, 0, 1}},
        {"block of 2^23", {7, 0, 0, 0, 1, 1u << 23, 1}},
        {"count of 0", {7, 0, 0, 0, 1, 0, 0}},
        {"count of 128", {7, 0, 0, 0, 1, 0, 128}},
    };
    for (const Case& c : cases) {
        std::vector<RomLinkEntry> entries = {c.entry};
        discbuilder::AddMissingRomLinkDefaults(entries);
        EXPECT_THROW(discbuilder::RomLinkText(entries), std::invalid_argument) << c.what;
    }
    std::vector<RomLinkEntry> twice = {{7, 0, 0, 0, 1, 0, 1}, {7, 1, 0, 0, 1, 0, 1}};
    discbuilder::AddMissingRomLinkDefaults(twice);
    EXPECT_THROW(discbuilder::RomLinkText(twice), std::invalid_argument);
    // Every default record must be there.
    EXPECT_THROW(discbuilder::RomLinkText({{1, 0, 0, 0, 1, 0, 1}}), std::invalid_argument);
}

TEST(RomLinkWriterTest, DefaultsStandForTheFirstItemOfTheirKind)
{
    std::vector<RomLinkEntry> entries = {{5000, 1, 0, 0, 1, 5, 2}, {3000001, 1, 6, 1, 1, 31, 2}, {2000461, 2, 3, 1, 1, 60, 1}};
    discbuilder::AddMissingRomLinkDefaults(entries);
    ASSERT_EQ(8u, entries.size());
    EXPECT_EQ(60u, entries[2].block) << "an entry already there is kept";
    struct Expected {
        std::int32_t rin;
        int kind;
        std::uint32_t block;  // of the item it stands for: the first of its kind, else the first
    } expected[] = {{1, 0, 5}, {3000732, 6, 31}, {4010010, 1, 5}, {4020019, 2, 5}, {4040006, 7, 5}};
    for (size_t i = 0; i < 5; ++i) {
        const RomLinkEntry& e = entries[3 + i];
        EXPECT_EQ(expected[i].rin, e.rin);
        EXPECT_EQ(expected[i].kind, e.kind) << e.rin;
        EXPECT_EQ(expected[i].block, e.block) << e.rin;
    }
    std::vector<RomLinkEntry> none;
    EXPECT_THROW(discbuilder::AddMissingRomLinkDefaults(none), std::invalid_argument);

    struct Case {
        std::int32_t rin;
        int kind;
    } cases[] = {{12345, 0},  {1012345, 3}, {2000001, 3}, {3000001, 6}, {4010001, 1}, {4020001, 2},
                 {4030001, 5}, {4040001, 7}, {4050001, 9}, {4060001, 8}, {5000001, 0}, {6000001, 4},
                 {7000001, 0}, {8000001, 0}, {9000001, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(c.kind, discbuilder::RomLinkKindDigitFor(c.rin)) << c.rin;
    for (std::int32_t rin : {4000000, 4070000, 10000042, 100000001, -1})
        EXPECT_THROW(discbuilder::RomLinkKindDigitFor(rin), std::invalid_argument) << rin;
}

using RomLinkRoundTripTest = ReferenceTest;

TEST_F(RomLinkRoundTripTest, TheProgramPlacesWhatTheBuilderWrote)
{
    // Every kind digit and category digit once, at blocks and counts up to the limits.
    std::vector<RomLinkEntry> entries;
    for (int digit = 0; digit <= 9; ++digit)
        entries.push_back({100 + digit, digit, digit, digit % 2, 1 + digit % 2,
                           static_cast<std::uint32_t>(digit == 9 ? (1u << 23) - 1 : digit * 1000), 1 + digit * 14});
    discbuilder::AddMissingRomLinkDefaults(entries);
    LoadEngine(entries);
    const LONG kinds[] = {0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000, 0x8000, 0x40000, 0x100000};
    for (int digit = 0; digit <= 9; ++digit) {
        CReference reference(100 + digit, "");
        EXPECT_EQ(100 + digit, reference.GetNumber());
        EXPECT_EQ(digit == 0 ? 0 : 1 << (digit - 1), reference.GetCategory()) << digit;
        EXPECT_EQ(kinds[digit], reference.GetKind()) << digit;
        EXPECT_EQ(digit % 2 ? -1 : 0, reference.GetPictureFlag()) << digit;
        EXPECT_EQ(1 + digit % 2, reference.GetDisc()) << digit;
        EXPECT_EQ(digit == 9 ? (1 << 23) - 1 : digit * 1000, reference.GetBlock()) << digit;
        EXPECT_EQ(1 + digit * 14, reference.GetBlockCount()) << digit;
    }
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(RomLinkRoundTripTest, TheSampleDiscPlacesEveryItemOfItsSource)
{
    const std::filesystem::path source = std::filesystem::path(VL_SAMPLE_DIR) / "index" / "romlink.txt";
    std::vector<RomLinkEntry> entries = discbuilder::ReadRomLinkSource(source);
    ASSERT_FALSE(entries.empty());
    discbuilder::WriteRomLinkFromSource(source, dir.path() / "t" / "data");
    ASSERT_TRUE(engine.LoadTable());
    AppServices().owned.pSearchEngine = &engine;
    EXPECT_EQ(static_cast<int>(entries.size() + discbuilder::RomLinkDefaultRins().size()), engine.GetRomLinkCount());
    for (const RomLinkEntry& e : entries) {
        CReference reference(e.rin, "");
        EXPECT_EQ(e.rin, reference.GetNumber());
        EXPECT_NE(REFKIND_NONE, reference.GetKind()) << e.rin;
        EXPECT_EQ(static_cast<LONG>(e.block), reference.GetBlock()) << e.rin;
    }
    // Articles, pictures and maps lie in the archive; the others have files of their own.
    EXPECT_EQ(REFKIND_ARTICLE, CReference(1001, "").GetKind());
    EXPECT_EQ(REFKIND_PICTURE, CReference(1001001, "").GetKind());
    EXPECT_EQ(REFKIND_MAP, CReference(3000001, "").GetKind());
    EXPECT_EQ(REFKIND_ANIMATION, CReference(4010001, "").GetKind());
    EXPECT_EQ(REFKIND_VIDEO, CReference(4020001, "").GetKind());
    EXPECT_EQ(REFKIND_SIMULATION, CReference(4030001, "").GetKind());
    EXPECT_EQ(REFKIND_VIRTUALREALITY, CReference(4040001, "").GetKind());
    // A number the sample lacks opens the first sample item of its range's kind.
    CReference absent(1999, "");
    EXPECT_EQ(1, absent.GetNumber());
    EXPECT_EQ(CReference(1001, "").GetBlock(), absent.GetBlock());
    CReference absentVideo(4029999, "");
    EXPECT_EQ(4020019, absentVideo.GetNumber());
    EXPECT_EQ(REFKIND_VIDEO, absentVideo.GetKind());
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST(RomLinkWriterTest, ASourceLineThatIsNoRecordIsNamed)
{
    TempDir dir;
    struct Case {
        const char* text;
        const char* named;
    } cases[] = {
        {"1001|4|0|1|0\n", ":1:"},                  // five fields
        {"# items\n1001|4|0|1|0|x\n", "record 1"},  // not a number
        {"1001|4|0|1|0|4\n4005000|0|0|1|0|1\n", "record 2"},  // no disc kind
    };
    for (const Case& c : cases) {
        auto file = dir.Write("romlink.txt", c.text);
        try {
            discbuilder::ReadRomLinkSource(file);
            ADD_FAILURE() << c.text;
        } catch (const std::runtime_error& e) {
            std::string what = e.what();
            EXPECT_NE(std::string::npos, what.find("romlink.txt")) << what;
            EXPECT_NE(std::string::npos, what.find(c.named)) << what;
        }
    }
}

}  // namespace
