// The article document: hits that travel with the reference, the lead-line count, the media
// check against the online service, and every accessor of a document without an article.
#include "ArticleTestSupport.h"

#include "base/AppServices.h"
#include "base/HitList.h"
#include "base/ReferenceFactory.h"
#include "base/Rin.h"

#include <TestAppHost.h>

#include <memory>

namespace article_test {
namespace {

using discbuilder::ArticleRecordSource;
using discbuilder::RecordRun;
using discbuilder::WriteArticleRecord;

class ArticleDocumentTest : public ArticleTest {
protected:
    void TearDown() override
    {
        AppServices().owned.pReferenceFactory = NULL;
        ArticleTest::TearDown();
    }
    CReference* RcvReference(const ArticleRecordSource& s)
    {
        std::string record = WriteArticleRecord(s);
        return new CPathReference(WriteRcv(record).c_str(), 0, BlocksFor(record.size()));
    }
};

TEST_F(ArticleDocumentTest, FirstHitSectionComesFromTheReferencesHits)
{
    CArticleDocument doc;
    CReference* pReference = RcvReference(RichArticle());
    CHitList* pHits = new CHitList;
    pHits->AddHit(CHitPosition(1, 40, 5));
    pHits->AddHit(CHitPosition(0, 2, 3));
    pReference->SetData(pHits);
    ASSERT_TRUE(doc.Open(pReference));
    EXPECT_EQ(doc.GetHitList(), pHits) << "borrowed from the reference";
    EXPECT_EQ(doc.GetFirstHitSection(), 1);

    // Another reference for the same article: an empty hit list gives section 0.
    CReference* pOther = RcvReference(RichArticle());
    pOther->SetData(new CHitList);
    doc.SetReference(pOther);
    EXPECT_EQ(doc.GetReference(), pOther);
    EXPECT_EQ(doc.GetFirstHitSection(), 0);
    doc.SetReference(NULL);
    EXPECT_EQ(doc.GetReference(), pOther);

    // No hit list at all.
    CArticleDocument plain;
    ASSERT_TRUE(plain.Open(RcvReference(RichArticle())));
    EXPECT_EQ(plain.GetHitList(), nullptr);
    EXPECT_EQ(plain.GetFirstHitSection(), 0);
}

TEST_F(ArticleDocumentTest, LeadLineCountFromTheFirstSectionsRuns)
{
    struct Case {
        const char* name;
        std::vector<RecordRun> runs;
        int expected;
    } cases[] = {
        {"plain text", {{.kind = 0, .level = 5, .text = "a"}}, 1},
        {"heading adds its level", {{.kind = 2, .level = 3, .text = "a"}}, 4},
        {"heading, then an icon", {{.kind = 1, .level = 2, .text = "a"}, {.kind = 4, .text = ""}}, 4},
        {"text, then an icon", {{.kind = 0, .level = 2, .text = "a"}, {.kind = 4, .text = ""}}, 2},
        {"picture, then the next run's level", {{.kind = 3, .level = 9, .text = ""}, {.kind = 0, .level = 6, .text = "b"}}, 7},
        {"heading, then text", {{.kind = 2, .level = 3, .text = "a"}, {.kind = 0, .level = 6, .text = "b"}}, 4},
        {"no runs", {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArticleRecordSource s = RichArticle();
        s.sections[0].runs = c.runs;
        CArticleDocument doc;
        ASSERT_TRUE(doc.Open(RcvReference(s)));
        EXPECT_EQ(doc.GetLeadLineCount(), c.expected);
    }
}

TEST_F(ArticleDocumentTest, RecordWithoutTablesOrSections)
{
    ArticleRecordSource s = RichArticle();
    s.tables.clear();
    CArticleDocument doc;
    ASSERT_TRUE(doc.Open(RcvReference(s)));
    EXPECT_EQ(doc.GetTableTitles(), nullptr) << "null, not an empty array";
    EXPECT_EQ(doc.GetTableTitle(0), nullptr);
    EXPECT_EQ(doc.GetTableDataStart(), nullptr);
    // Without tables the section data ends where the header says: the pictures end there.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc.GetPictureArea()), 20), "GIF89a-picture-bytes");

    s = RichArticle();
    s.sections.clear();
    CArticleDocument empty;
    ASSERT_TRUE(empty.Open(RcvReference(s)));
    std::unique_ptr<CStringArray> pTitles(empty.GetSectionTitles());
    ASSERT_NE(pTitles, nullptr) << "an empty array";
    EXPECT_EQ(pTitles->GetSize(), 0);
    EXPECT_EQ(empty.GetLeadLineCount(), 1);
}

TEST_F(ArticleDocumentTest, EveryAccessorOfADocumentWithoutAnArticleAnswersNothing)
{
    CArticleDocument doc;
    EXPECT_FALSE(doc.Open(NULL));
    EXPECT_FALSE(doc.IsLoaded());
    EXPECT_EQ(doc.GetTitle(), nullptr);
    EXPECT_EQ(doc.GetFormatYear(), 0);
    EXPECT_EQ(doc.GetIssueDate(), 0);
    EXPECT_EQ(doc.GetSectionCount(), 0);
    EXPECT_EQ(doc.GetSectionTitles(), nullptr);
    EXPECT_EQ(doc.GetSection(0), nullptr);
    EXPECT_EQ(doc.GetTableCount(), 0);
    EXPECT_EQ(doc.GetTableTitles(), nullptr);
    EXPECT_EQ(doc.GetTableTitle(0), nullptr);
    EXPECT_EQ(doc.GetTableEntry(0), nullptr);
    EXPECT_EQ(doc.GetTableDataStart(), nullptr);
    EXPECT_EQ(doc.GetExtraItemCount(), 0);
    EXPECT_EQ(doc.GetExtraItemTitles(), nullptr);
    EXPECT_EQ(doc.GetExtraItemTitle(0), nullptr);
    EXPECT_EQ(doc.GetMediaEntryCount(), 0);
    EXPECT_EQ(doc.GetMediaCaptions(), nullptr);
    EXPECT_EQ(doc.GetMediaCaption(0), nullptr);
    EXPECT_EQ(doc.GetMediaEntry(0), nullptr);
    EXPECT_EQ(doc.GetMediaRin(0), 0u);
    EXPECT_EQ(doc.GetLinkCount(), 0);
    EXPECT_EQ(doc.GetLinkEntry(0), nullptr);
    EXPECT_EQ(doc.GetLinkTargets(), nullptr);
    EXPECT_EQ(doc.GetLinkPositionCount(), 0);
    EXPECT_EQ(doc.GetLinkPosition(0), nullptr);
    EXPECT_EQ(doc.GetRelatedCount(), 0);
    EXPECT_EQ(doc.GetRelatedTitles(), nullptr);
    EXPECT_EQ(doc.GetRelatedEntry(0), nullptr);
    EXPECT_EQ(doc.GetRelatedLinkCount(), 0);
    EXPECT_EQ(doc.GetRelatedLinks(), nullptr);
    EXPECT_EQ(doc.GetTrailingStrings(), nullptr);
    EXPECT_EQ(doc.GetPictureArea(), nullptr);
    EXPECT_FALSE(doc.SaveAsText("T:\\nothing.txt"));
    EXPECT_FALSE(std::filesystem::exists(HostT("nothing.txt")));
}

// Media items that are not on hand are fetched from the online service; one that can be neither
// found nor fetched fails the open.
BOOL g_fetchAnswer = FALSE;
int g_fetches = 0;
BOOL FakeFetch(CReference* pReference, int nFlags)
{
    EXPECT_EQ(nFlags, 1);
    EXPECT_EQ(pReference->GetNumber(), static_cast<LONG>(RIN_ONLINE_OFFSET + 1001002));
    ++g_fetches;
    return g_fetchAnswer;
}

TEST_F(ArticleDocumentTest, MediaThatIsNotOnHandIsFetchedOrFailsTheOpen)
{
    CTestAppHost appHost;
    ASSERT_TRUE(WritePrivateProfileString("Online", "Download", "T:\\download\\", "T:\\vl00i1se.ini"));
    CReferenceFactory factory;
    AppServices().owned.pReferenceFactory = &factory;
    ArticleRecordSource s = RichArticle();
    // A disc picture is on hand; an online picture is a file of the download folder.
    s.media = {{1001001, 'A', 0}, {RIN_ONLINE_OFFSET + 1001002, 'A', 1}};
    s.captions = {"Disc picture", "Online picture"};

    CArticleDocument nothingFetched;
    EXPECT_FALSE(nothingFetched.Open(RcvReference(s))) << "no online service";
    EXPECT_FALSE(nothingFetched.IsLoaded());

    appHost.openOnline = FakeFetch;
    g_fetchAnswer = FALSE;
    g_fetches = 0;
    CArticleDocument refused;
    EXPECT_FALSE(refused.Open(RcvReference(s)));
    EXPECT_EQ(g_fetches, 1);

    g_fetchAnswer = TRUE;
    CArticleDocument fetched;
    EXPECT_TRUE(fetched.Open(RcvReference(s)));
    EXPECT_EQ(g_fetches, 2);

    // Once the file is in the download folder nothing is fetched.
    dir.Write("t/download/pc001002.grf", "picture");
    CArticleDocument onHand;
    EXPECT_TRUE(onHand.Open(RcvReference(s)));
    EXPECT_EQ(g_fetches, 2);
}

}  // namespace
}  // namespace article_test
