// Damaged records: every one ends in the fatal path with its text and the non-zero exit code,
// without a read outside the record (the test build runs under the address sanitizer).
#include "ArticleTestSupport.h"

#include <functional>
#include <string>

namespace article_test {
namespace {

using discbuilder::ArticleRecordSource;
using discbuilder::WriteArticleRecord;

void Put16(std::string& r, std::size_t at, unsigned value)
{
    r[at] = static_cast<char>(value & 0xFF);
    r[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& r, std::size_t at, unsigned value)
{
    Put16(r, at, value & 0xFFFF);
    Put16(r, at + 2, value >> 16);
}

unsigned Get16(const std::string& r, std::size_t at)
{
    return ArticleWord(reinterpret_cast<const BYTE*>(r.data()) + at);
}

// Offsets of a record's parts, from its header.
struct Layout {
    std::size_t tables, pool, poolEnd, textStart;
};

Layout LayoutOf(const std::string& r)
{
    const auto* p = reinterpret_cast<const BYTE*>(r.data());
    Layout l;
    l.tables = 82 + p[40] * 8;
    l.pool = l.tables + p[41] * 8 + Get16(r, 72) * 10 + Get16(r, 42) * 10 + Get16(r, 44) * 6 + Get16(r, 46) * 4 +
             static_cast<signed char>(p[55]) * 10;
    l.poolEnd = l.pool + Get16(r, 48);
    l.textStart = l.poolEnd + 12;
    return l;
}

const std::string kDamaged = "Article data damaged: ";

struct RecordCase {
    const char* name;
    std::function<void(std::string&)> damage;
    std::string text;  // after "Article data damaged: "
    bool oldLayout = false;
};

class DamagedRecordTest : public ArticleTest {};

TEST_F(DamagedRecordTest, DamagedRecordsEndInTheFatalPath)
{
    const RecordCase cases[] = {
        {"sections over capacity", [](std::string& r) { r[40] = static_cast<char>(201); },
         "201 sections, more than the 200 the format allows"},
        {"tables over capacity", [](std::string& r) { r[41] = 21; }, "21 tables, more than the 20 the format allows"},
        {"links over capacity", [](std::string& r) { Put16(r, 42, 1001); },
         "1001 links, more than the 1000 the format allows"},
        {"related items over capacity", [](std::string& r) { Put16(r, 44, 501); },
         "501 related items, more than the 500 the format allows"},
        {"extra items over capacity", [](std::string& r) { Put16(r, 76, 21); },
         "21 extra items, more than the 20 the format allows"},
        {"media over capacity", [](std::string& r) { Put16(r, 72, 501); },
         "501 media captions, more than the 500 the format allows"},
        {"old-layout media pairs over capacity", [](std::string& r) { Put16(r, 72, 1001); },
         "501 media captions, more than the 500 the format allows", true},
        {"related links over capacity", [](std::string& r) { Put16(r, 74, 501); },
         "501 related links, more than the 500 the format allows"},
        {"string pool past the end", [](std::string& r) { Put16(r, 48, 0xFFFF); },
         "the string pool runs past the end of the record"},
        {"entry counts push the pool past the end", [](std::string& r) { Put16(r, 46, 60000); },
         "the string pool runs past the end of the record"},
        {"missing NUL at the pool's end", [](std::string& r) { r[LayoutOf(r).poolEnd - 1] = 'x'; },
         "related links: a string runs past the end of the string pool"},
        {"old layout: missing NUL of a trailing string", [](std::string& r) { r[LayoutOf(r).poolEnd - 1] = 'x'; },
         "trailing strings: a string runs past the end of the string pool", true},
        {"title without its NUL", [](std::string& r) { Put16(r, 48, 3); },
         "title: a string runs past the end of the string pool"},
        {"pool too short for its strings", [](std::string& r) { Put16(r, 48, 40); },
         "table titles: a string runs past the end of the string pool"},
        {"negative skipped count", [](std::string& r) { r[55] = static_cast<char>(0xFF); },
         "the count of skipped entries is negative"},
        {"format year not a number", [](std::string& r) { r[27] = 'x'; }, "the format year is not a number"},
        {"section start past the section data", [](std::string& r) { Put32(r, 82 + 8, 100000); },
         "a section's lists run past the end of the section data"},
        {"section data end past the record", [](std::string& r) { Put32(r, LayoutOf(r).tables, 100000); },
         "the section data ends past the end of the record"},
        {"table past the record", [](std::string& r) { Put32(r, LayoutOf(r).tables + 8, 100000); },
         "a table starts past the end of the record"},
        {"picture area longer than the section data", [](std::string& r) { Put32(r, 78, 0x7FFFFFFF); },
         "the picture area is longer than the section data"},
        {"section header counts past the section data", [](std::string& r) { Put16(r, LayoutOf(r).textStart, 0xFFFF); },
         "a section's lists run past the end of the section data"},
        {"paragraph text past its section", [](std::string& r) { Put16(r, LayoutOf(r).textStart + 10 + 4, 60000); },
         "a paragraph's text runs past the end of its section"},
        {"empty string pool", [](std::string& r) { Put16(r, 48, 0); }, "the string pool is empty"},
        {"old layout: paragraph lengths that wrap a 32-bit sum",
         [](std::string& r) {
             Put32(r, LayoutOf(r).textStart + 22 + 2, 1);
             Put32(r, LayoutOf(r).textStart + 22 + 20 + 2, 0xFFFFFFFF);
         },
         "a paragraph's text runs past the end of its section", true},
        {"old layout: paragraph text past its section",
         [](std::string& r) { Put32(r, LayoutOf(r).textStart + 22 + 2, 0x10000000); },
         "a paragraph's text runs past the end of its section", true},
        {"record shorter than its header", [](std::string& r) { r.resize(50); }, "the record is shorter than its header"},
        {"empty file", [](std::string& r) { r.clear(); }, "the record is shorter than its header"},
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string record = WriteArticleRecord(c.oldLayout ? OldArticle(6) : RichArticle());
        c.damage(record);
        std::string path = WriteRcv(record);
        ExpectFatal([&] { LoadAndFree(path, 0, BlocksFor(record.size()) + 1); }, kDamaged + c.text);
        // The document meets the same end and frees what it holds.
        ExpectFatal(
            [&] {
                CArticleDocument doc;
                OpenDocument(doc, path, 0, BlocksFor(record.size()) + 1);
            },
            kDamaged + c.text);
    }
}

class DamagedArchiveTest : public ArticleTest {
protected:
    // Writes vl.dat with the stream at block 0, damaged; the block count of the whole file.
    // A cut stream is not filled up: the file ends with it.
    DWORD WriteDamagedArchive(const std::function<void(std::string&)>& damage, bool fill)
    {
        std::string stream = discbuilder::CompressRecord(WriteArticleRecord(RichArticle()));
        damage(stream);
        DWORD blocks = BlocksFor(stream.size());
        if (fill)
            stream.resize(blocks * 512, '\0');
        dir.Write("t/disc/info_dat/vl.dat", stream);
        return blocks;
    }
};

TEST_F(DamagedArchiveTest, DamagedStreamsEndInTheFatalPath)
{
    const std::string where = " (Q:\\vl.dat, block 0)";
    struct Case {
        const char* name;
        std::function<void(std::string&)> damage;
        std::string text;
        bool fill;
    } cases[] = {
        {"stream cut short by the file's end", [](std::string& s) { s.resize(s.size() / 2); },
         "the compressed stream is cut short", false},
        {"file ends inside the stream's header", [](std::string& s) { s.resize(1); },
         "the compressed stream is cut short", false},
        {"flipped header byte", [](std::string& s) { s[0] = static_cast<char>(s[0] ^ 0x0F); },
         "the compressed stream is not valid", true},
        {"flipped check value", [](std::string& s) { s[s.size() - 2] = static_cast<char>(s[s.size() - 2] ^ 0x40); },
         "the compressed stream is not valid", true},
        {"flipped block type", [](std::string& s) { s[2] = static_cast<char>(s[2] | 0x06); },
         "the compressed stream is not valid", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD asked = WriteDamagedArchive(c.damage, c.fill) + 2;
        ExpectFatal([&] { LoadAndFree("Q:\\vl.dat", 0, asked); }, kDamaged + c.text + where);
    }
}

TEST_F(DamagedArchiveTest, RecordLargerThanItsBufferEndsInTheFatalPath)
{
    std::string record = WriteArticleRecord(RichArticle());
    record.resize(ARTICLE_RECORD_BUFFER_SIZE + 1, '\0');
    std::string stream = discbuilder::CompressRecord(record);
    DWORD blocks = BlocksFor(stream.size());
    stream.resize(blocks * 512, '\0');
    dir.Write("t/disc/info_dat/vl.dat", stream);
    ExpectFatal([&] { LoadAndFree("Q:\\vl.dat", 0, blocks); },
                kDamaged + "the record is larger than its buffer (Q:\\vl.dat, block 0)");

    // One byte less fits.
    record.resize(ARTICLE_RECORD_BUFFER_SIZE);
    stream = discbuilder::CompressRecord(record);
    blocks = BlocksFor(stream.size());
    stream.resize(blocks * 512, '\0');
    dir.Write("t/disc/info_dat/vl.dat", stream);
    CArticleDocument doc;
    ASSERT_TRUE(OpenDocument(doc, "Q:\\vl.dat", 0, blocks));
    EXPECT_EQ(doc.GetDescriptor()->dwRecordLength, static_cast<DWORD>(ARTICLE_RECORD_BUFFER_SIZE));
}

// A block past the archive's end is damage, also where its byte position passes 32 bits and
// would wrap round to the record at the archive's start.
TEST_F(DamagedArchiveTest, BlocksOutsideTheArchiveEndInTheFatalPath)
{
    const DWORD blocks = WriteDamagedArchive([](std::string&) {}, true);
    CArticleDocument doc;
    ASSERT_TRUE(OpenDocument(doc, "Q:\\vl.dat", 0, blocks)) << "the record at block 0 reads";
    for (DWORD block : {blocks, blocks + 1, DWORD{0x400000}, DWORD{0x800000}, DWORD{0x800001}, DWORD{0xFFFFFFFF}}) {
        SCOPED_TRACE(block);
        ExpectFatal([&] { LoadAndFree("Q:\\vl.dat", block, blocks); },
                    kDamaged + "the record lies outside the archive (Q:\\vl.dat, block " + std::to_string(block) + ")");
    }
}

// A single-article file asked for 2^23 blocks or more reads what it holds (the byte count in
// 64 bits), never a wrapped count of nothing.
TEST_F(DamagedArchiveTest, HugeBlockCountsOfASingleFileReadTheRecord)
{
    const std::string bytes = WriteArticleRecord(RichArticle());
    const std::string path = WriteRcv(bytes);
    for (LONG count : {LONG{0x800000}, LONG{0x7FFFFFFF}}) {
        SCOPED_TRACE(count);
        CArticleDocument doc;
        ASSERT_TRUE(OpenDocument(doc, path, 0, count));
        EXPECT_EQ(doc.GetDescriptor()->dwRecordLength, static_cast<DWORD>(bytes.size()));
    }
}

TEST_F(DamagedArchiveTest, MissingFilesEndInTheFatalPath)
{
    // The archive's message names the path asked for, not the file it built.
    ExpectFatal([] { LoadAndFree("Q:\\somewhere\\vl.dat", 0, 1); },
                "Unable to access article file: Q:\\somewhere\\vl.dat");
    ExpectFatal([] { LoadAndFree("T:\\missing.rcv", 0, 1); },
                "Unable to access single article RCV file: T:\\missing.rcv");
}

TEST_F(DamagedArchiveTest, AnUnresolvedDiscIsTheCallersCancel)
{
    ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", NULL, "T:\\vl00i1se.ini"));
    host::AnswerNextMessageBox(IDCANCEL);
    bool cancelled = false;
    try {
        LoadAndFree("Q:\\vl.dat", 0, 1);
    } catch (CUserException* e) {
        cancelled = true;
        e->Delete();
    }
    EXPECT_TRUE(cancelled);
}

// The real end: the program leaves with the non-zero code after the box.
TEST(FatalArticleErrorDeathTest, EndsTheProgramWithANonZeroCode)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            host::AnswerNextMessageBox(IDOK);
            FatalArticleError("Unable to access article data");
        },
        ::testing::ExitedWithCode(ARTICLE_FATAL_EXIT_CODE), "");
}

}  // namespace
}  // namespace article_test
