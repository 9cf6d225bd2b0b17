// The ROM_LINK table of the search engine: the text file parsed into sorted 12-byte records,
// looked up by binary search with default records by range, and the records damaged files hold
// skipped with one message that names the file.
#include "ReferenceTestSupport.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Parses text into a fresh table; the records and what ParseRomLinkText returned.
struct Parsed {
    DWORD bytes = 0;
    std::vector<RomLinkRecord> records;
};

Parsed Parse(const std::string& text)
{
    std::unique_ptr<RomLinkRecord[]> table(new RomLinkRecord[MAX_ROMRECORDS]);
    std::memset(table.get(), 0, sizeof(RomLinkRecord) * MAX_ROMRECORDS);
    Parsed parsed;
    parsed.bytes = CSearchEngine::ParseRomLinkText(text.c_str(), table.get(), "T:\\data\\ROM_LINK.DAT");
    parsed.records.assign(table.get(), table.get() + parsed.bytes / sizeof(RomLinkRecord));
    return parsed;
}

std::string Digits(const RomLinkRecord& r)
{
    return std::string{r.digit1, r.digit2, r.digit3, r.digit4};
}

RomLinkRecord Record(LONG id, const char* digits, DWORD place)
{
    RomLinkRecord r;
    r.id = id;
    r.digit1 = digits[0];
    r.digit2 = digits[1];
    r.digit3 = digits[2];
    r.digit4 = digits[3];
    r.place = place;
    return r;
}

using RomLinkTest = ReferenceTest;

TEST_F(RomLinkTest, ParsesRecordsWhateverRunOfSeparatorsStandsBetweenFields)
{
    for (const char* text : {"7|1|0|0|1|120|3\r\n", "7|1||0|0|1|120|3\r\n", "7\r\n1|0\n|0|1\r|120||3",
                             "||\r\n7|1|0|0|1|120|3"}) {
        Parsed parsed = Parse(text);
        ASSERT_EQ(12u, parsed.bytes) << text;
        const RomLinkRecord& r = parsed.records[0];
        EXPECT_EQ(7, r.id);
        EXPECT_EQ("1001", Digits(r));
        EXPECT_EQ(120u, r.place & 0xFFFFFF);
        EXPECT_EQ(3u, r.place >> 24);
    }
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(RomLinkTest, BlockAndCountAreMaskedIntoTheirBitsAndReadSigned)
{
    Parsed parsed = Parse("1|0|0|0|1|16777217|257\r\n2|0|0|0|1|8388608|128\r\n3|0|0|0|1|8388607|127\r\n");
    ASSERT_EQ(3u, parsed.records.size());
    EXPECT_EQ(0x01000001u, parsed.records[0].place);  // 2^24 + 1 and 256 + 1 keep their low bits
    EXPECT_EQ(1, RomLinkBlock(parsed.records[0]));
    EXPECT_EQ(1, RomLinkBlockCount(parsed.records[0]));
    EXPECT_EQ(-8388608, RomLinkBlock(parsed.records[1]));  // at and above 2^23 and 127 the signs flip
    EXPECT_EQ(-128, RomLinkBlockCount(parsed.records[1]));
    EXPECT_EQ(8388607, RomLinkBlock(parsed.records[2]));
    EXPECT_EQ(127, RomLinkBlockCount(parsed.records[2]));
}

TEST_F(RomLinkTest, DamagedRecordsAreSkippedWithOneMessageNamingTheFile)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<LONG> kept;
        int skipped;
    } cases[] = {
        {"a letter in a digit", "1|0|0|0|1|5|1\r\n2|0|x|0|1|5|1\r\n3|0|0|0|1|5|1\r\n", {1, 3}, 1},
        {"a digit of two figures", "1|10|0|0|1|5|1\r\n2|0|0|0|1|5|1\r\n", {2}, 1},
        {"a sign", "1|0|0|0|1|5|1\r\n-2|0|0|0|1|5|1\r\n3|0|+1|0|1|5|1\r\n", {1}, 2},
        {"a bad block and count", "1|0|0|0|1|5a|1\r\n2|0|0|0|1|5|x\r\n3|0|0|0|1|5|1\r\n", {3}, 2},
        {"an id beyond 32 bits", "1|0|0|0|1|5|1\r\n4294967296|0|0|0|1|5|1\r\n", {1}, 1},
        {"an id too large for a RIN", "1|0|0|0|1|5|1\r\n2147483648|0|0|0|1|5|1\r\n", {1}, 1},
        {"ids out of order", "1|0|0|0|1|5|1\r\n5|0|0|0|1|5|1\r\n3|0|0|0|1|5|1\r\n6|0|0|0|1|5|1\r\n", {1, 5, 6}, 1},
        {"an id repeated", "1|0|0|0|1|5|1\r\n1|2|0|0|1|5|1\r\n2|0|0|0|1|5|1\r\n", {1, 2}, 1},
        {"a truncated last record", "1|0|0|0|1|5|1\r\n2|0|0|0|1|5|1\r\n3|0|0|0", {1, 2}, 1},
        {"a last record without its count", "1|0|0|0|1|5|1\r\n2|0|0|0|1|5\r\n", {1}, 1},
        {"nothing good", "x|y|z\r\n", {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host::ResetUiScript();
        host::AnswerNextMessageBox(IDOK);
        Parsed parsed = Parse(c.text);
        std::vector<LONG> kept;
        for (const RomLinkRecord& r : parsed.records)
            kept.push_back(r.id);
        EXPECT_EQ(c.kept, kept);
        ASSERT_EQ(1u, host::MessageBoxLog().size());
        const host::MessageBoxRecord box = host::MessageBoxLog()[0];
        EXPECT_EQ(">>> " + std::to_string(c.skipped) + " bad or out-of-order record(s) skipped in T:\\data\\ROM_LINK.DAT",
                  box.text);
        EXPECT_EQ(static_cast<UINT>(MB_OK), box.type & MB_TYPEMASK);
    }
    // A kept record after a skipped one is whole: the fields of the next record were not shifted.
    host::ResetUiScript();
    host::AnswerNextMessageBox(IDOK);
    Parsed parsed = Parse("1|0|0|0|1|5|1\r\n2|0|x|0|1|5|1\r\n3|4|5|1|2|77|9\r\n");
    ASSERT_EQ(2u, parsed.records.size());
    EXPECT_EQ(3, parsed.records[1].id);
    EXPECT_EQ("4512", Digits(parsed.records[1]));
    EXPECT_EQ((9u << 24) | 77u, parsed.records[1].place);
}

TEST_F(RomLinkTest, EveryCutAndDamagedCopyGivesAscendingWholeRecords)
{
    const std::string text = discbuilder::RomLinkText(SampleEntries());
    std::vector<std::string> copies;
    for (size_t length = 0; length <= text.size(); ++length)
        copies.push_back(text.substr(0, length));
    unsigned seed = 12345;
    for (int i = 0; i < 300; ++i) {
        std::string damaged = text;
        for (int k = 0; k < 3; ++k) {
            seed = seed * 1103515245u + 12345u;
            damaged[(seed >> 8) % damaged.size()] = static_cast<char>(seed >> 24);
        }
        copies.push_back(damaged);
    }
    for (const std::string& copy : copies) {
        host::ResetUiScript();
        host::AnswerMessageBoxWith("", [](const host::MessageBoxRecord&) { return IDOK; });
        Parsed parsed = Parse(copy);
        EXPECT_LE(host::MessageBoxLog().size(), 1u) << "one message at most";
        host::ResetUiScript();
        for (size_t k = 0; k < parsed.records.size(); ++k) {
            const RomLinkRecord& r = parsed.records[k];
            if (k > 0) {
                EXPECT_LT(parsed.records[k - 1].id, r.id) << copy;
            }
            for (char digit : Digits(r))
                EXPECT_TRUE(digit >= '0' && digit <= '9') << copy;
        }
    }
}

TEST_F(RomLinkTest, MoreThanMaxRecordsIsRefused)
{
    std::string text;
    for (int i = 1; i <= MAX_ROMRECORDS; ++i)
        text += std::to_string(i) + "|0|0|0|1|1|1\r\n";
    EXPECT_EQ(static_cast<DWORD>(MAX_ROMRECORDS) * 12, Parse(text).bytes);
    EXPECT_TRUE(host::MessageBoxLog().empty());

    text += "30001|0|0|0|1|1|1\r\n";
    host::AnswerMessageBox("Romlink.dat exceeds MAX_ROMRECORDS.", IDOK);
    EXPECT_THROW(
        {
            try {
                Parse(text);
            } catch (CUserException* e) {
                e->Delete();
                throw 1;
            }
        },
        int);
    ASSERT_EQ(1u, host::MessageBoxLog().size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), host::MessageBoxLog()[0].type & MB_ICONMASK);
}

TEST_F(RomLinkTest, DigitsGiveReferenceMembersAndBadCharactersGiveZero)
{
    const LONG categories[] = {0, 0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x40, 0x80, 0x100};
    const LONG kinds[] = {0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000, 0x8000, 0x40000, 0x100000};
    for (int n = 0; n <= 9; ++n) {
        char digits[] = {static_cast<char>('0' + n), static_cast<char>('0' + n), static_cast<char>('0' + n),
                         static_cast<char>('0' + n)};
        RomLinkRecord r = Record(1, digits, 0);
        EXPECT_EQ(categories[n], RomLinkCategory(r)) << n;
        EXPECT_EQ(kinds[n], RomLinkKind(r)) << n;
        EXPECT_EQ(n == 0 ? 0 : -1, RomLinkPictureFlag(r)) << n;
        EXPECT_EQ(n, RomLinkDisc(r)) << n;
    }
    // Characters that no parse leaves but a damaged table might hold never index past the tables.
    for (char bad : {'\0', '/', ':', 'A', static_cast<char>(0xFF), static_cast<char>(0x80)}) {
        char digits[] = {bad, bad, '0', '1'};
        RomLinkRecord r = Record(1, digits, 0);
        EXPECT_EQ(0, RomLinkCategory(r)) << static_cast<int>(bad);
        EXPECT_EQ(0, RomLinkKind(r)) << static_cast<int>(bad);
    }
}

TEST_F(RomLinkTest, InitLoadsTheBuildersFileAndFindsEveryRecord)
{
    LoadEngine();
    EXPECT_TRUE(engine.IsLoaded());
    const auto entries = SampleEntries();
    EXPECT_EQ(static_cast<int>(entries.size()), engine.GetRomLinkCount());
    EXPECT_EQ(entries.size() * 12, GlobalSize(engine.GetRomLinkTable())) << "the table is shrunk to its records";
    for (const discbuilder::RomLinkEntry& e : entries) {
        RomLinkRecord r;
        ASSERT_TRUE(engine.GetRomLink(e.rin, r));
        EXPECT_EQ(e.rin, r.id);
        EXPECT_EQ(std::string({char('0' + e.category), char('0' + e.kind), char('0' + e.pictureFlag),
                               char('0' + e.disc)}),
                  Digits(r));
        EXPECT_EQ(static_cast<LONG>(e.block), RomLinkBlock(r));
        EXPECT_EQ(e.blockCount, RomLinkBlockCount(r));
    }
    EXPECT_TRUE(host::MessageBoxLog().empty());
    EXPECT_TRUE(Reports().empty());
}

TEST_F(RomLinkTest, AbsentIdsTakeTheDefaultRecordOfTheirRange)
{
    LoadEngine();
    struct Case {
        LONG id;
        LONG expected;
    } cases[] = {
        {0, 1},
        {-5, 1},
        {999999, 1},
        {1000000, 2000461},
        {2999999, 2000461},
        {3000000, 3000732},
        {4009999, 3000732},
        {4010000, 4010010},
        {4019999, 4010010},
        {4020000, 4020019},
        {4040007, 4020019},  // the sixth default is fetched but no range selects it
        {9999999, 4020019},
        {0x7FFFFFFF, 4020019},  // above the last id: nothing beyond the table is read
    };
    for (const Case& c : cases) {
        RomLinkRecord r;
        std::memset(&r, 0x55, sizeof r);
        ASSERT_TRUE(engine.GetRomLink(c.id, r));
        EXPECT_EQ(c.expected, r.id) << c.id;
        EXPECT_EQ(c.expected, engine.GetDefaultRecord(c.id).id) << c.id;
    }
    // The first and the last record are found themselves.
    RomLinkRecord r;
    ASSERT_TRUE(engine.GetRomLink(1, r));
    EXPECT_EQ(1, r.id);
    ASSERT_TRUE(engine.GetRomLink(6000003, r));
    EXPECT_EQ(6000003, r.id);
}

TEST_F(RomLinkTest, WithoutATableNothingIsLookedUp)
{
    RomLinkRecord r;
    std::memset(&r, 0x55, sizeof r);
    EXPECT_FALSE(engine.GetRomLink(1, r));
    EXPECT_EQ(0x55555555, r.id) << "the caller's record is not filled";
    EXPECT_EQ(nullptr, engine.GetRomLinkTable());

    LoadEngine();
    engine.Cleanup();
    EXPECT_FALSE(engine.IsLoaded());
    EXPECT_FALSE(engine.GetRomLink(1, r));
    EXPECT_EQ(nullptr, engine.GetRomLinkTable());
}

TEST_F(RomLinkTest, DefaultsAreFetchedAtInitFromTheTable)
{
    // A table without the default ids: each absent default is fetched as the (still empty)
    // default of its range, so absent ids are placed nowhere.
    WriteRomLinkText("500|1|0|0|1|5|1\r\n");
    ASSERT_TRUE(engine.LoadTable());
    RomLinkRecord r;
    ASSERT_TRUE(engine.GetRomLink(7, r));
    EXPECT_EQ(0, r.id);
    EXPECT_EQ(0u, r.place);

    // A second Init loads the table afresh.
    LoadEngine();
    ASSERT_TRUE(engine.GetRomLink(7, r));
    EXPECT_EQ(1, r.id);
    ASSERT_TRUE(engine.GetRomLink(500, r));
    EXPECT_EQ(1, r.id);
}

TEST_F(RomLinkTest, FilesThatGiveNoTable)
{
    // Missing: the framework's file error report, and Init fails.
    EXPECT_FALSE(engine.LoadTable());
    ASSERT_EQ(1u, Reports().size());
    EXPECT_NE(std::string::npos, Reports()[0].find("ROM_LINK.DAT")) << Reports()[0];
    EXPECT_FALSE(engine.IsLoaded());

    // Empty: no records, no message.
    Reports().clear();
    WriteRomLinkText("");
    EXPECT_FALSE(engine.LoadTable());
    EXPECT_EQ(nullptr, engine.GetRomLinkTable());
    EXPECT_TRUE(host::MessageBoxLog().empty());
    EXPECT_TRUE(Reports().empty());

    // Separators only.
    WriteRomLinkText("|\r\n|\r\n");
    EXPECT_FALSE(engine.LoadTable());
    EXPECT_TRUE(host::MessageBoxLog().empty());

    // Nothing usable: the one message, then no table.
    WriteRomLinkText("1|0|0|0");
    host::AnswerMessageBox("ROM_LINK.DAT", IDOK);
    EXPECT_FALSE(engine.LoadTable());
    EXPECT_EQ(nullptr, engine.GetRomLinkTable());
    EXPECT_EQ(1u, host::MessageBoxLog().size());
}

TEST_F(RomLinkTest, ATruncatedFileKeepsItsWholeRecords)
{
    std::string text = discbuilder::RomLinkText(SampleEntries());
    text.resize(text.size() - 4);  // the last record loses its count and part of its block
    WriteRomLinkText(text);
    host::AnswerMessageBox("T:\\data\\ROM_LINK.DAT", IDOK);
    ASSERT_TRUE(engine.LoadTable());
    EXPECT_EQ(static_cast<int>(SampleEntries().size()) - 1, engine.GetRomLinkCount());
    RomLinkRecord r;
    ASSERT_TRUE(engine.GetRomLink(6000003, r));
    EXPECT_EQ(4020019, r.id) << "the cut record is absent";
    ASSERT_TRUE(engine.GetRomLink(4050002, r));
    EXPECT_EQ(4050002, r.id);
}

TEST_F(RomLinkTest, MoreThanMaxRecordsInTheFileCancelsStartUp)
{
    std::string text;
    for (int i = 1; i <= MAX_ROMRECORDS + 1; ++i)
        text += std::to_string(i) + "|0|0|0|1|1|1\r\n";
    WriteRomLinkText(text);
    host::AnswerMessageBox("MAX_ROMRECORDS", IDOK);
    bool cancelled = false;
    try {
        engine.LoadTable();
    } catch (CUserException* e) {
        cancelled = true;
        e->Delete();
    }
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(nullptr, engine.GetRomLinkTable()) << "nothing is kept (and nothing leaks)";
}

TEST_F(RomLinkTest, NoDiscCancelsStartUp)
{
    SetProfile("Files", "DataDir", NULL);
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    bool cancelled = false;
    try {
        engine.LoadRomLinkFile();
    } catch (CUserException* e) {
        cancelled = true;
        e->Delete();
    }
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(nullptr, engine.GetRomLinkTable());
}

}  // namespace
