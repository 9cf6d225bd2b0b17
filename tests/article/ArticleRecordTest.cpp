// Round trips from the record writer through the archive (or a single-article file) to the
// reader and the document, in both layouts; the related-link walk; block counts; short files.
#include "ArticleTestSupport.h"

#include "article/ArticleSection.h"
#include "article/ParagraphRun.h"
#include "base/DataFolders.h"
#include "base/RomFile.h"

#include <memory>
#include <random>
#include <vector>

namespace article_test {
namespace {

using discbuilder::ArticleRecordSource;
using discbuilder::ContentArchiveWriter;
using discbuilder::WriteArticleRecord;

std::vector<std::string> Strings(std::unique_ptr<CStringArray> array)
{
    std::vector<std::string> out;
    if (array)
        for (INT_PTR i = 0; i < array->GetSize(); ++i)
            out.emplace_back(static_cast<LPCSTR>(array->GetAt(i)));
    return out;
}

using Texts = std::vector<std::string>;

class ArticleRecordTest : public ArticleTest {
protected:
    // Writes the records into T:\disc\info_dat\vl.dat; their places.
    std::vector<discbuilder::ArchivedRecord> WriteArchive(const std::vector<ArticleRecordSource>& sources)
    {
        ContentArchiveWriter archive;
        for (const ArticleRecordSource& s : sources)
            archive.Add(s.rin, WriteArticleRecord(s));
        archive.Write(DataFolder());
        return archive.Records();
    }
};

TEST_F(ArticleRecordTest, NewLayoutRecordReadsBackFromTheArchive)
{
    ArticleRecordSource other = OldArticle(2);
    other.rin = 1001;
    auto places = WriteArchive({other, RichArticle()});
    ASSERT_GT(places[1].block, 0u);

    CArticleDocument doc;
    // Any path naming vl.dat reads disc 1's archive, whatever folder it names.
    ASSERT_TRUE(OpenDocument(doc, "Q:\\elsewhere\\vl.dat", places[1].block, places[1].blockCount));
    EXPECT_STREQ(doc.GetTitle(), "Volcano");
    EXPECT_EQ(doc.GetReference()->GetTitle(), "Volcano");
    EXPECT_EQ(doc.GetFormatYear(), 1999);
    EXPECT_EQ(doc.GetIssueDate(), 990615);

    EXPECT_EQ(doc.GetSectionCount(), 2);
    EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetSectionTitles())), (Texts{"Introduction", "Eruptions"}));

    EXPECT_EQ(doc.GetTableCount(), 2);
    EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetTableTitles())), (Texts{"Eruptions by year", "Heights"}));
    EXPECT_STREQ(doc.GetTableTitle(1), "Heights");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc.GetTableDataStart()), 11), "TABLEDATA-A");
    ASSERT_NE(doc.GetTableEntry(1), nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc.GetTableDataStart()) + ArticleDword(doc.GetTableEntry(1)) -
                              ArticleDword(doc.GetTableEntry(0)),
                          2),
              "TB");
    EXPECT_EQ(doc.GetTableEntry(2), nullptr);
    EXPECT_EQ(doc.GetTableEntry(0x10001), doc.GetTableEntry(1)) << "the index is taken as 16 bits";

    EXPECT_EQ(doc.GetExtraItemCount(), 2);
    EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetExtraItemTitles())), (Texts{"Ash clouds", "Hot springs"}));
    EXPECT_STREQ(doc.GetExtraItemTitle(0), "Ash clouds");

    EXPECT_EQ(doc.GetMediaEntryCount(), 3);
    EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetMediaCaptions())),
              (Texts{"Lava at night", "Plate map", "Magma rising"}));
    EXPECT_STREQ(doc.GetMediaCaption(2), "Magma rising");
    EXPECT_EQ(doc.GetMediaRin(1), 3000001u);
    ASSERT_NE(doc.GetMediaEntry(2), nullptr);
    EXPECT_EQ(doc.GetMediaEntry(2)[4], 'B');
    EXPECT_EQ(doc.GetMediaEntry(2)[5], 2);
    EXPECT_EQ(doc.GetMediaEntry(3), nullptr);

    EXPECT_EQ(doc.GetLinkCount(), 2);
    EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetLinkTargets())), (Texts{"vl://001006", "tf:A190#D"}));
    LPBYTE pLink = doc.GetLinkEntry(1);
    ASSERT_NE(pLink, nullptr);
    EXPECT_EQ(ArticleWord(pLink), 1);
    EXPECT_EQ(ArticleWord(pLink + 2), 2);
    EXPECT_EQ(ArticleWord(pLink + 4), 1);
    EXPECT_EQ(doc.GetLinkEntry(2), nullptr);
    EXPECT_EQ(doc.GetLinkPositionCount(), 3);
    EXPECT_EQ(ArticleDword(doc.GetLinkPosition(2)), discbuilder::PackTextPosition(1, 6, 4));
    EXPECT_EQ(doc.GetLinkPosition(3), nullptr);

    EXPECT_EQ(doc.GetRelatedCount(), 3);
    EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetRelatedTitles())),
              (Texts{"Earth science", "Great Lakes", "Photosynthesis"}));
    EXPECT_EQ(doc.GetRelatedEntry(0)[5], 1) << "a heading has no link";
    EXPECT_EQ(doc.GetRelatedEntry(1)[4], 1);
    EXPECT_EQ(doc.GetRelatedEntry(1)[5], 0);
    EXPECT_EQ(doc.GetRelatedEntry(3), nullptr);
    EXPECT_EQ(doc.GetRelatedLinkCount(), 2);
    EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetRelatedLinks())), (Texts{"vl://001006", "vl://001003"}));
    EXPECT_TRUE(Strings(std::unique_ptr<CStringArray>(doc.GetTrailingStrings())).empty());

    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc.GetPictureArea()), 20), "GIF89a-picture-bytes");

    // Section lists through the section view and its runs.
    std::unique_ptr<CArticleSection> pSection(doc.GetSection(1));
    ASSERT_NE(pSection, nullptr);
    EXPECT_EQ(pSection->GetRunCount(), 2);
    EXPECT_EQ(pSection->GetLongListCount(), 1);
    EXPECT_EQ(pSection->GetIndentTable()[3], 3);
    CParagraphRun* pRun = pSection->GetRun(1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pRun->GetTextAddress()), pRun->GetTextLength()), "Runny lava.");
    EXPECT_EQ(pRun->GetExtraValue(), 77u);
    EXPECT_EQ(doc.GetSection(2), nullptr);

    doc.SaveAsText("T:\\saved.txt");
    EXPECT_EQ(dir.Read("t/saved.txt"),
              "A volcano is an opening.\r\n\r\nLava flows.\r\n\r\n\r\n\r\nQuiet\r\n\r\nRunny lava.\r\n\r\n")
        << "the picture run is left out; the icon run has no characters";
}

// The archive stays open between reads, and is looked up again when the data folder may have
// moved: a new folder in the settings, a disc change.
TEST_F(ArticleRecordTest, TheKeptArchiveFollowsTheDataFolder)
{
    ArticleRecordSource first = RichArticle();
    auto places = WriteArchive({first});
    auto title = [](const discbuilder::ArchivedRecord& place) {
        CArticleDocument doc;
        EXPECT_TRUE(OpenDocument(doc, "T:\\disc\\info_dat\\vl.dat", place.block, place.blockCount));
        return std::string(doc.GetTitle());
    };
    EXPECT_EQ(title(places[0]), "Volcano");
    EXPECT_EQ(title(places[0]), "Volcano");

    // Another disc folder named in the settings: its archive, with another article at that place.
    ArticleRecordSource second = RichArticle();
    second.title = "Glacier";
    ContentArchiveWriter other;
    other.Add(second.rin, WriteArticleRecord(second));
    std::filesystem::create_directories(HostT("disc2/info_dat"));
    other.Write(HostT("disc2/info_dat"));
    ASSERT_TRUE(WriteAppProfileString("Files", "DataDir", "T:\\disc2\\info_dat\\"));
    EXPECT_EQ(title(other.Records()[0]), "Glacier");

    // A disc change closes the disc files; the next read finds the folder again.
    CRomFile::ReleaseAll();
    EXPECT_EQ(title(other.Records()[0]), "Glacier");
    EXPECT_FALSE(CRomFile::IsReleased());

    // The archive gone from under the settings: the read fails with the archive's message.
    ASSERT_TRUE(WriteAppProfileString("Files", "DataDir", "T:\\nowhere\\"));
    ExpectFatal([&] { LoadAndFree("T:\\disc\\info_dat\\vl.dat", places[0].block, places[0].blockCount); },
                "Unable to access article file: T:\\disc\\info_dat\\vl.dat");
}

TEST_F(ArticleRecordTest, OldLayoutRecordsTakeMediaInPairs)
{
    // Six entries: three captions and three media items; seven: four captions, still three
    // media items for the document.
    for (int entries : {6, 7}) {
        SCOPED_TRACE(entries);
        std::string record = WriteArticleRecord(OldArticle(entries));
        CArticleDocument doc;
        ASSERT_TRUE(OpenDocument(doc, WriteRcv(record), 0, BlocksFor(record.size())));
        EXPECT_EQ(doc.GetFormatYear(), 1997);
        EXPECT_EQ(doc.GetIssueDate(), 971130);
        EXPECT_EQ(doc.GetMediaEntryCount(), entries);
        EXPECT_EQ(doc.GetDescriptor()->dwCaptionCount, static_cast<DWORD>((entries + 1) / 2));
        EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetMediaCaptions())),
                  (Texts{"Caption 0", "Caption 1", "Caption 2"}));
        if (entries == 7) {
            EXPECT_STREQ(doc.GetMediaCaption(3), "Caption 3");
        }
        EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetRelatedLinks())), (Texts{"vl://001001", "vl://001002"}));
        EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetTrailingStrings())), (Texts{"vl://001001 first trailing"}));
        EXPECT_EQ(doc.GetDescriptor()->dwTrailingCount, 2u);
        EXPECT_EQ(doc.GetLeadLineCount(), 1);
        EXPECT_EQ(doc.GetTableTitles(), nullptr);

        std::unique_ptr<CArticleSection> pSection(doc.GetSection(0));
        CParagraphRun* pRun = pSection->GetRun(0);
        EXPECT_TRUE(pRun->IsHeading());
        EXPECT_EQ(pRun->GetHeadingLevel(), 1);
        EXPECT_EQ(pRun->GetStyle(), 9);
        EXPECT_TRUE(pRun->HasExtraValue());
        EXPECT_TRUE(pRun->GetFlag1());
        EXPECT_EQ(pRun->GetLevelValue(), 1) << "always 1 in the old layout";
        EXPECT_EQ(pRun->GetKind(), 0);
        EXPECT_FALSE(pRun->IsSpecialKind());

        doc.SaveAsText("T:\\old.txt");
        EXPECT_EQ(dir.Read("t/old.txt"), "Alpha\r\n\r\nBeta\r\n\r\n");
    }
}

// The 1998-and-later related-link walk: the stored count is raised by one; an empty string (the
// string taken last) or the pool's end ends it, and byte 74 holds the number taken.
TEST_F(ArticleRecordTest, RelatedLinkWalkStopsAtAnEmptyStringOrThePoolEnd)
{
    struct Case {
        const char* name;
        int stored;
        Texts links;
        bool emptyLastTitle;
        bool noRelated;
        Texts expected;
    } cases[] = {
        {"count 2 reads three", 2, {"vl://1", "vl://2", "vl://3"}, false, false, {"vl://1", "vl://2", "vl://3"}},
        {"an early empty string ends it", 2, {"vl://1", "", "vl://3"}, false, false, {"vl://1", ""}},
        {"the pool's end ends it", 2, {"vl://1"}, false, false, {"vl://1"}},
        {"count 0 reads one", 0, {"vl://1", "vl://2"}, false, false, {"vl://1"}},
        {"no related items and no links", 0, {}, false, true, {}},
        {"an empty related title before the links", 2, {"vl://1", "vl://2"}, true, false, {}},
        {"count 1 reads two of three", 1, {"vl://1", "vl://2", "vl://3"}, false, false, {"vl://1", "vl://2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArticleRecordSource s = RichArticle();
        s.relatedLinkCountField = c.stored;
        s.relatedLinks = c.links;
        if (c.emptyLastTitle)
            s.related.back().title = "";
        if (c.noRelated)
            s.related.clear();
        std::string record = WriteArticleRecord(s);
        CArticleDocument doc;
        ASSERT_TRUE(OpenDocument(doc, WriteRcv(record), 0, BlocksFor(record.size())));
        EXPECT_EQ(Strings(std::unique_ptr<CStringArray>(doc.GetRelatedLinks())), c.expected);
        EXPECT_EQ(doc.GetRelatedLinkCount(), static_cast<int>(c.expected.size()));
        EXPECT_EQ(ArticleWord(doc.GetRecord() + ARH_RELATED_LINK_COUNT), c.expected.size());
    }
}

// A record whose compressed stream needs more than 200 blocks: a block count of 0 reads 255.
TEST_F(ArticleRecordTest, BlockCountZeroReads255Blocks)
{
    ArticleRecordSource s = RichArticle();
    std::mt19937 random(7);
    s.pictures.resize(120000);
    for (char& ch : s.pictures)
        ch = static_cast<char>(random());
    std::string stream = discbuilder::CompressRecord(WriteArticleRecord(s));
    const DWORD blocks = BlocksFor(stream.size());
    ASSERT_GT(blocks, 200u);
    ASSERT_LE(blocks, 255u);
    std::string archive(512, 'x');  // block 0 holds something else
    archive += stream;
    archive.resize((1 + blocks) * 512, '\0');
    dir.Write("t/disc/info_dat/vl.dat", archive);

    CArticleDocument doc;
    ASSERT_TRUE(OpenDocument(doc, "T:\\vl.dat", 1, 0));
    EXPECT_STREQ(doc.GetTitle(), "Volcano");
    EXPECT_EQ(doc.GetDescriptor()->dwFirstBlock, 1u);

    // The same record read with fewer blocks than its stream is cut short.
    ExpectFatal([] { LoadAndFree("T:\\vl.dat", 1, 200); },
                "Article data damaged: the compressed stream is cut short (T:\\vl.dat, block 1)");

    // A single-article file with count 0 reads at most 255 blocks of it.
    std::string record = WriteArticleRecord(RichArticle());
    record.resize(140000, '\x55');
    CArticleDocument single;
    ASSERT_TRUE(OpenDocument(single, WriteRcv(record), 0, 0));
    EXPECT_EQ(single.GetDescriptor()->dwRecordLength, 255u * 512);
}

TEST_F(ArticleRecordTest, ShortSingleFileLoadsWithAZeroedTail)
{
    std::string record = WriteArticleRecord(RichArticle());
    CArticleDocument doc;
    ASSERT_TRUE(OpenDocument(doc, WriteRcv(record), 0, BlocksFor(record.size()) + 3));
    EXPECT_EQ(doc.GetDescriptor()->dwRecordLength, record.size());
    EXPECT_STREQ(doc.GetTitle(), "Volcano");
    const LPBYTE pRecord = doc.GetRecord();
    for (DWORD i = static_cast<DWORD>(record.size()); i < ARTICLE_RECORD_BUFFER_SIZE; ++i)
        ASSERT_EQ(pRecord[i], 0) << "at " << i;
}

TEST_F(ArticleRecordTest, DescriptorAndViewRecordInMovableMemory)
{
    std::string record = WriteArticleRecord(RichArticle());
    HGLOBAL hView = LoadArticleRecord(WriteRcv(record).c_str(), 5, BlocksFor(record.size()));
    ASSERT_NE(hView, nullptr);
    EXPECT_NE(GlobalFlags(hView), static_cast<UINT>(GMEM_INVALID_HANDLE));
    auto* pView = static_cast<ArticleViewRecord*>(GlobalLock(hView));
    ASSERT_NE(pView, nullptr);
    EXPECT_NE(static_cast<void*>(pView), static_cast<void*>(hView)) << "a movable block's handle is no address";
    EXPECT_EQ(pView->dwMagic, static_cast<DWORD>(ARTICLE_VIEW_MAGIC));
    EXPECT_EQ(pView->lCurrentItem, -1);
    auto* pDescriptor = static_cast<ArticleRecordDescriptor*>(GlobalLock(pView->hDescriptor));
    EXPECT_EQ(pDescriptor->dwMagic, static_cast<DWORD>(ARTICLE_DESCRIPTOR_MAGIC));
    EXPECT_EQ(pDescriptor->dwReserved1, 1u);
    EXPECT_EQ(pDescriptor->dwReserved600, 600u);
    EXPECT_EQ(pDescriptor->dwFirstBlock, 5u);
    EXPECT_EQ(pDescriptor->buffers[0].dwSize, static_cast<DWORD>(ARTICLE_RECORD_BUFFER_SIZE));
    EXPECT_EQ(GlobalSize(pDescriptor->buffers[0].hMem), static_cast<SIZE_T>(ARTICLE_RECORD_BUFFER_SIZE));
    EXPECT_EQ(pDescriptor->buffers[1].hMem, nullptr);
    EXPECT_EQ(pDescriptor->offStringPool + ArticleWord(reinterpret_cast<const BYTE*>(record.data()) + ARH_POOL_LENGTH) + 12,
              pDescriptor->offTextStart);
    GlobalUnlock(pView->hDescriptor);
    FreeArticleRecord(pView->hDescriptor);
    GlobalFree(hView);
}

}  // namespace
}  // namespace article_test
