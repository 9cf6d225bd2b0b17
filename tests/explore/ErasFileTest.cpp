// The Dido Dovov's eras file: the parser's table of cases (limits, damaged and truncated copies),
// the file read from the data folder, and the disc builder's writer read back.
#include "MediaTestSupport.h"

#include "base/ReferenceList.h"
#include "explore/ErasFile.h"

#include <ErasWriter.h>
#include <SampleDisc.h>

#include <fstream>
#include <memory>

namespace explore_test {
namespace {

struct Slot {
    std::string title;
    LONG number;
    bool operator==(const Slot&) const = default;
};
struct Era {
    std::string title;
    std::vector<Slot> slots;  // first to last
    bool operator==(const Era&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Era& era)
{
    out << "[" << era.title << "]";
    for (const Slot& slot : era.slots)
        out << " " << slot.number << "|" << slot.title;
    return out;
}

std::vector<Era> ErasOf(const CErasFile& file)
{
    std::vector<Era> eras;
    for (int k = 1; k <= file.GetEraCount(); ++k) {
        const ERA_ENTRY* pEra = file.GetEra(k);
        Era era{std::string(pEra->strTitle), {}};
        for (LONG s = pEra->nFirst; s <= pEra->nLast; ++s) {
            const ERA_ITEM* pItem = file.GetSlot(static_cast<int>(s));
            EXPECT_NE(nullptr, pItem) << "slot " << s << " of era " << k;
            if (pItem != nullptr)
                era.slots.push_back({std::string(pItem->strTitle), pItem->nNumber});
        }
        eras.push_back(era);
    }
    return eras;
}

// Parses a copy of the bytes in a buffer of their exact size, so that ASan sees any read past it.
CErasFile Parsed(const std::string& bytes)
{
    std::unique_ptr<char[]> copy(new char[bytes.size() + 1]);
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    CErasFile file;
    file.Parse(copy.get(), static_cast<UINT>(bytes.size()));
    return file;
}

std::string Items(int n, int from = 1)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += std::to_string(from + i) + "|Item " + std::to_string(from + i) + "\r\n";
    return text;
}

TEST(ErasFileParseTest, TableOfCases)
{
    const std::string example = "[Era one]\r\n12345|First item\r\n23456|Second item\r\n[Era two]\r\n34567|Third item\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<Era> eras;
        CErasFile::Limit limit;
    };
    const Case cases[] = {
        {"two eras, three items", example,
         {{"Era one", {{"First item", 12345}, {"Second item", 23456}}}, {"Era two", {{"Third item", 34567}}}},
         CErasFile::limitNone},
        {"a last item line without CR LF keeps its number, no title", "[E]\r\n1|One\r\n2|Two",
         {{"E", {{"One", 1}, {"", 2}}}}, CErasFile::limitNone},
        {"a second bar: the number between the bars, the title after the last", "[E]\r\n1|2|Two\r\n3|x|Three\r\n",
         {{"E", {{"Two", 2}, {"Three", 0}}}}, CErasFile::limitNone},
        {"an era with no items covers one empty slot", "[Empty]\r\n[Full]\r\n5|Five\r\n",
         {{"Empty", {{"", 0}}}, {"Full", {{"Five", 5}}}}, CErasFile::limitNone},
        {"text after the ']' is ignored; a lone LF is text", "[A: B] ignored\r\n7|Se\nven\r\n",
         {{"A: B", {{"Se\nven", 7}}}}, CErasFile::limitNone},
        {"items before the first header belong to no era", "1|Lost\r\n[E]\r\n2|Kept\r\n", {{"E", {{"Kept", 2}}}},
         CErasFile::limitNone},
        {"a header cut off before its ']' makes no era", "[E]\r\n1|One\r\n[Cut", {{"E", {{"One", 1}}}},
         CErasFile::limitNone},
        {"a CR at the very end is kept as text", "[E]\r\n1|One\r", {{"E", {{"", 1}}}}, CErasFile::limitNone},
        {"no header at all", "1|One\r\n2|Two\r\n", {}, CErasFile::limitNone},
        {"an empty file", "", {}, CErasFile::limitNone},
        {"a ']' without a '[' has no slot", "]\r\n", {}, CErasFile::limitSlots},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CErasFile file = Parsed(c.bytes);
        EXPECT_EQ(c.eras, ErasOf(file));
        EXPECT_EQ(c.limit, file.GetLimitMet());
    }
    // Slot 2 lies between the two eras of the example.
    const CErasFile file = Parsed(example);
    EXPECT_EQ(3, file.GetEra(2)->nFirst);
    EXPECT_EQ(250, file.GetSlotCount());
    EXPECT_EQ(nullptr, file.GetEra(0));
    EXPECT_EQ(nullptr, file.GetEra(3));
    EXPECT_EQ(nullptr, file.GetSlot(250));
}

TEST(ErasFileParseTest, TheParserStopsAtEachLimitAndKeepsWhatCameBefore)
{
    // 126 items in the only era: 125 slots; the 126th stops the parser.
    CErasFile file = Parsed("[Many]\r\n" + Items(126));
    ASSERT_EQ(1, file.GetEraCount());
    EXPECT_EQ(CErasFile::limitSlots, file.GetLimitMet());
    EXPECT_EQ(124, file.GetEra(1)->nLast);
    EXPECT_EQ(125, ErasOf(file)[0].slots.back().number);
    // Two eras: the first may take the slots of both ("counted over the file").
    file = Parsed("[Many]\r\n" + Items(200) + "[Few]\r\n" + Items(3, 500));
    EXPECT_EQ(CErasFile::limitNone, file.GetLimitMet());
    EXPECT_EQ(2, file.GetEraCount());
    EXPECT_EQ(201, file.GetEra(2)->nFirst);

    // A 352-character title stops before its era; the era before it stays.
    file = Parsed("[Short]\r\n1|One\r\n[" + std::string(352, 'T') + "]\r\n2|Two\r\n");
    EXPECT_EQ(CErasFile::limitField, file.GetLimitMet());
    EXPECT_EQ((std::vector<Era>{{"Short", {{"One", 1}}}}), ErasOf(file));
    // 351 characters are a title; an item title of 352 stops within its era.
    file = Parsed("[" + std::string(351, 'T') + "]\r\n1|" + std::string(351, 'x') + "\r\n2|" + std::string(352, 'y') + "\r\n");
    EXPECT_EQ(CErasFile::limitField, file.GetLimitMet());
    ASSERT_EQ(1, file.GetEraCount());
    EXPECT_EQ(351, file.GetEra(1)->strTitle.GetLength());
    EXPECT_EQ((std::vector<Slot>{{std::string(351, 'x'), 1}, {"", 2}}), ErasOf(file)[0].slots);

    // A 65,536-byte file: its last byte, the last header's ']', is not parsed.
    std::string big;
    int nEras = 0;
    while (big.size() + 324 <= 65536 - 8) {
        big += "[" + std::string(320, 'e') + "]\r\n";
        ++nEras;
    }
    big += std::string(65536 - 8 - big.size(), 'c') + "\r\n[Last]";
    ASSERT_EQ(65536u, big.size());
    file = Parsed(big);
    EXPECT_EQ(CErasFile::limitFileSize, file.GetLimitMet());
    EXPECT_EQ(nEras, file.GetEraCount());
    big.back() = 'x';
    big[65534] = ']';
    EXPECT_EQ(nEras + 1, Parsed(big).GetEraCount()) << "a ']' at the 65,535th byte still ends its header";
}

TEST(ErasFileParseTest, TruncatedAndDamagedCopiesNeverReadOutsideTheBuffer)
{
    const std::string text = "[The Age of Flight]\r\n1001|Aviation\r\n1001001|Monoplane\r\n[Fire: Below]\r\n1002|Volcano\r\n";
    for (std::size_t n = 0; n <= text.size(); ++n) {
        const CErasFile file = Parsed(text.substr(0, n));
        EXPECT_LE(file.GetEraCount(), 2);
    }
    // Every byte turned into each of the characters the parser reacts to.
    for (std::size_t i = 0; i < text.size(); ++i) {
        for (char ch : {'[', ']', '|', '\r', '\n', '\0'}) {
            std::string damaged = text;
            damaged[i] = ch;
            const CErasFile file = Parsed(damaged);
            for (const Era& era : ErasOf(file))
                EXPECT_LE(era.slots.size(), 125u);
        }
    }
}

TEST(ErasFileParseTest, TwoLineTitlesBreakAfterTheFirstColon)
{
    const CErasFile file = Parsed("[Fire from Below: Volcanoes: in History]\r\n[Plain]\r\n");
    EXPECT_EQ("Fire from Below:\n Volcanoes: in History", std::string(file.GetTwoLineTitle(1)));
    EXPECT_EQ("Plain", std::string(file.GetTwoLineTitle(2)));
    EXPECT_EQ("", std::string(file.GetTwoLineTitle(3)));
}

class ErasFileTest : public media_test::MediaTest {};

TEST_F(ErasFileTest, TheWriterWritesWhatTheReaderReadsFromTheDataFolder)
{
    const std::vector<discbuilder::EraSource> eras = discbuilder::ParseErasSource(
        "# comment\n[The Age of Flight]\n1001 | Aviation\n1001001|Monoplane climbing away\n\n[Empty]\n"
        "[Fire from Below: Volcanoes]\n1002|Volcano\n",
        "eras.txt");
    {
        std::ofstream out(DataFolder() / "ERASORT.dat", std::ios::binary | std::ios::trunc);
        out << discbuilder::WriteErasFile(eras);
    }
    InstallRomLink({{1001, 1, 0, 0, 1, 0, 1}, {1001001, 1, 3, 1, 1, 0, 1}, {1002, 2, 0, 0, 1, 0, 1}});
    CErasFile file;
    ASSERT_TRUE(file.Load());
    EXPECT_EQ((std::vector<Era>{{"The Age of Flight", {{"Aviation", 1001}, {"Monoplane climbing away", 1001001}}},
                                {"Empty", {{"", 0}}},
                                {"Fire from Below: Volcanoes", {{"Volcano", 1002}}}}),
              ErasOf(file));
    // An era's items as references: none for the empty slot.
    CReferenceList list;
    EXPECT_EQ(2, file.AppendEraItems(1, &list));
    EXPECT_EQ(0, file.AppendEraItems(2, &list));
    EXPECT_EQ(0, file.AppendEraItems(4, &list));
    ASSERT_EQ(2, list.GetCount());
    CReference* pFirst = list.GetFirstReference();
    EXPECT_EQ(1001, pFirst->GetNumber());
    EXPECT_EQ("Aviation", std::string(pFirst->GetTitle()));
    EXPECT_EQ(REFKIND_ARTICLE, pFirst->GetKind());
    EXPECT_EQ(REFKIND_PICTURE, list.GetNextReference()->GetKind());
    EXPECT_TRUE(NewBoxes().empty());
}

// The sample disc's eras: several, one with a two-line title, one of more than 20 items, every
// item an item of the disc.
TEST_F(ErasFileTest, TheSampleDiscsErasNameItsItems)
{
    const discbuilder::SampleDiscReport report = discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "t" / "disc");
    ASSERT_FALSE(report.eras.empty());
    CRomLinkTable table;
    ASSERT_TRUE(table.LoadTable());
    AppServices().owned.pSearchEngine = &table;
    CErasFile file;
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(CErasFile::limitNone, file.GetLimitMet());
    ASSERT_GE(file.GetEraCount(), 3);
    bool bTwoLines = false, bLong = false;
    for (int k = 1; k <= file.GetEraCount(); ++k) {
        SCOPED_TRACE(std::string(file.GetEra(k)->strTitle));
        bTwoLines |= file.GetTwoLineTitle(k).Find('\n') >= 0;
        CReferenceList items;
        const int n = file.AppendEraItems(k, &items);
        EXPECT_GT(n, 0);
        bLong |= n > 20;
        for (int i = 0; i < items.GetCount(); ++i) {
            EXPECT_NE(REFKIND_NONE, items.GetAtIndex(i)->GetKind()) << items.GetAtIndex(i)->GetNumber();
            EXPECT_FALSE(items.GetAtIndex(i)->GetTitle().IsEmpty());
        }
    }
    EXPECT_TRUE(bTwoLines);
    EXPECT_TRUE(bLong);
    AppServices().owned.pSearchEngine = NULL;
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(ErasFileTest, AMissingFileIsReportedOnceAndLeavesNoEras)
{
    CErasFile file;
    bool bThrown = false;
    try {
        file.Read();
    } catch (CFileException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_TRUE(NewBoxes().empty());
    host::AnswerNextMessageBox(IDOK);
    EXPECT_FALSE(file.Load());
    EXPECT_EQ(1u, NewBoxes().size());
    EXPECT_EQ(0, file.GetEraCount());
    // No data folder at all: nothing to report.
    ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", "Q:\\nowhere\\", "T:\\vl00i1se.ini"));
    host::ResetDrives();
    EXPECT_FALSE(file.Load());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST(ErasWriterTest, SourcesAndFilesThatBreakTheLimitsAreRefused)
{
    EXPECT_THROW(discbuilder::ParseErasSource("1|Before\n[E]\n", "s"), std::runtime_error);
    EXPECT_THROW(discbuilder::ParseErasSource("[E]\nno bar\n", "s"), std::runtime_error);
    EXPECT_THROW(discbuilder::ParseErasSource("[E]\n0|Zero\n", "s"), std::runtime_error);
    EXPECT_THROW(discbuilder::ParseErasSource("[E\n", "s"), std::runtime_error);
    using discbuilder::EraSource;
    auto many = [](std::size_t n) {
        EraSource era{"Many", {}};
        for (std::size_t i = 0; i < n; ++i)
            era.items.push_back({static_cast<std::uint32_t>(i + 1), "x"});
        return era;
    };
    EXPECT_NO_THROW(discbuilder::WriteErasFile({many(125)}));
    EXPECT_THROW(discbuilder::WriteErasFile({many(126)}), std::invalid_argument);
    // Two eras share 250 slots; the second's header takes one more between them.
    EXPECT_NO_THROW(discbuilder::WriteErasFile({many(200), many(49)}));
    EXPECT_THROW(discbuilder::WriteErasFile({many(200), many(50)}), std::invalid_argument);
    EXPECT_THROW(discbuilder::WriteErasFile({EraSource{std::string(352, 'a'), {}}}), std::invalid_argument);
    EXPECT_THROW(discbuilder::WriteErasFile({EraSource{"a|b", {}}}), std::invalid_argument);
    EXPECT_THROW(discbuilder::WriteErasFile({EraSource{"E", {{1, "x]"}}}}), std::invalid_argument);
    std::vector<EraSource> big;
    for (int e = 0; e < 200; ++e)
        big.push_back(EraSource{std::string(340, 'e'), {}});
    EXPECT_THROW(discbuilder::WriteErasFile(big), std::invalid_argument);
}

TEST(ErasWriterTest, ErasByDecadeHoldTheArticlesThatMentionTheirYears)
{
    auto article = [](std::int32_t rin, const char* title, std::vector<std::string> paragraphs) {
        discbuilder::IndexedArticle a;
        a.rin = rin;
        a.title = title;
        a.sections.push_back(paragraphs);
        return a;
    };
    const std::vector<discbuilder::IndexedArticle> articles = {
        article(100001, "Once [fifties]", {"Built in 1951."}),
        article(100002, "Twice", {"From 1955 to 1957, then 1962.", "And 55 BC is no year of ours."}),
        article(100003, "Never", {"No year, 12 of them, 1939 and 2030."}),
        article(100004, "Table", {}),
    };
    std::vector<discbuilder::IndexedArticle> withTable = articles;
    withTable[3].tables.push_back({"1968", "x"});
    const auto eras = discbuilder::ErasByDecade(withTable, 1940, 2029, "Computing in the ", 124);
    ASSERT_EQ(2u, eras.size());
    EXPECT_EQ("Computing in the 1950s", eras[0].title);
    ASSERT_EQ(2u, eras[0].items.size());
    EXPECT_EQ(100002u, eras[0].items[0].number) << "most mentions first";
    EXPECT_EQ("Once  fifties ", eras[0].items[1].title);
    EXPECT_EQ("Computing in the 1960s", eras[1].title);
    ASSERT_EQ(2u, eras[1].items.size());
    EXPECT_EQ(100002u, eras[1].items[0].number) << "then by number";
    EXPECT_EQ(100004u, eras[1].items[1].number);
    EXPECT_EQ(1u, discbuilder::ErasByDecade(withTable, 1940, 2029, "", 1)[0].items.size());
    // The source text reads back as the same eras.
    const auto again = discbuilder::ParseErasSource(discbuilder::ErasSourceText(eras), "eras.txt");
    ASSERT_EQ(2u, again.size());
    EXPECT_EQ(eras[1].items[1].title, again[1].items[1].title);
    EXPECT_NO_THROW(discbuilder::WriteErasFile(eras));
}

}  // namespace
}  // namespace explore_test
