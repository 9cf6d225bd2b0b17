// The disc builder's ROM_LINK.DAT: what it refuses to write, the defaults it adds, and the file
// read back through the program's reader.
#include "ReferenceTestSupport.h"

#include "shell/Reference.h"

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
        discbuilder::AddMissingRomLinkDefaults(entries, 0, 1);
        EXPECT_THROW(discbuilder::RomLinkText(entries), std::invalid_argument) << c.what;
    }
    std::vector<RomLinkEntry> twice = {{7, 0, 0, 0, 1, 0, 1}, {7, 1, 0, 0, 1, 0, 1}};
    discbuilder::AddMissingRomLinkDefaults(twice, 0, 1);
    EXPECT_THROW(discbuilder::RomLinkText(twice), std::invalid_argument);
    // Every default record must be there.
    EXPECT_THROW(discbuilder::RomLinkText({{1, 0, 0, 0, 1, 0, 1}}), std::invalid_argument);
}

TEST(RomLinkWriterTest, DefaultsTakeTheKindOfTheirRange)
{
    std::vector<RomLinkEntry> entries = {{2000461, 2, 3, 1, 1, 60, 1}};
    discbuilder::AddMissingRomLinkDefaults(entries, 5, 2);
    ASSERT_EQ(6u, entries.size());
    EXPECT_EQ(60u, entries[0].block) << "an entry already there is kept";
    const int kinds[] = {0, 6, 1, 2, 7};  // ids 1, 3000732, 4010010, 4020019, 4040006
    for (size_t i = 1; i < entries.size(); ++i) {
        EXPECT_EQ(kinds[i - 1], entries[i].kind) << entries[i].rin;
        EXPECT_EQ(5u, entries[i].block);
        EXPECT_EQ(2, entries[i].blockCount);
    }

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
    discbuilder::AddMissingRomLinkDefaults(entries, 0, 1);
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

}  // namespace
