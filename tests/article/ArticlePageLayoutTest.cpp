// The article page's layout: the page-line table of fixture articles measured with a fixed-pitch
// test face (12 pixels a character; the bold slot 18), pictures, thumbnails and icons, hits and
// the scroll target, the 7000-line table, and lazy layout from idle counts.
#include "ArticleTestSupport.h"

#include "article/ArticlePageLayout.h"
#include "article/ArticleSection.h"
#include "base/HitList.h"

#include <GifWriter.h>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace article_test {
namespace {

using namespace discbuilder;

// A 312-pixel client area: text 300 pixels wide, 25 characters of the test face.
const RECT kClient = {0, 0, 312, 400};

class TestPageLayout : public CArticlePageLayout {
public:
    TestPageLayout() { SetTextSize(1); }
    ~TestPageLayout() override { ResetPage(); }

    std::vector<int> asked;  // media indexes thumbnails were asked for
    bool makeThumbnails = true;
    int firstSections = 0;   // calls of OnFirstSection

protected:
    void CreateSlotFont(CFont& font, int nSlot, int, CDC*) override
    {
        const int nHeight = nSlot == 1 ? -30 : (nSlot == 4 || nSlot == 5 || nSlot == 8 || nSlot == 9) ? -10 : -20;
        font.CreateFont(nHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FIXED_PITCH, "Courier New");
    }
    CWnd* CreateThumbnailWindow(CArticleDocument*, int nMediaIndex) override
    {
        asked.push_back(nMediaIndex);
        if (!makeThumbnails)
            return NULL;
        auto* pWnd = new CWnd;
        pWnd->CreateEx(0, "STATIC", "", WS_POPUP, 0, 4000, 140, 105, NULL, 0);
        return pWnd;
    }
    void OnFirstSection(CArticleDocument*) override { ++firstSections; }
};

// One expected page line: section, paragraph, line in paragraph, lines in paragraph, start,
// length, x, kind, style index, style start, hit index.
struct Line {
    int section, paragraph, line, lines;
    unsigned start;
    int length, x, kind, style, styleStart, hit;
};

std::string Show(const PageLine& l)
{
    std::ostringstream o;
    o << "{" << l.nSection << ", " << l.nParagraph << ", " << int(l.nLineInParagraph) << ", "
      << int(l.nLinesInParagraph) << ", " << l.dwStart << ", " << l.nLength << ", " << l.x << ", " << int(l.nKind)
      << ", " << l.nStyleIndex << ", " << l.nStyleStart << ", " << l.nHitIndex << "}";
    return o.str();
}

void ExpectLines(const CArticlePageLayout& layout, int nFirst, const std::vector<Line>& expected)
{
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Line& e = expected[i];
        const PageLine& l = layout.GetLine(nFirst + static_cast<int>(i));
        std::ostringstream want;
        want << "{" << e.section << ", " << e.paragraph << ", " << e.line << ", " << e.lines << ", " << e.start << ", "
             << e.length << ", " << e.x << ", " << e.kind << ", " << e.style << ", " << e.styleStart << ", " << e.hit
             << "}";
        EXPECT_EQ(Show(l), want.str()) << "line " << nFirst + i;
    }
}

RecordRun Text(const std::string& text, int flags = 0)
{
    RecordRun run;
    run.text = text;
    run.flags = flags;
    return run;
}

RecordRun Special(int kind, int item, int flags = 0, std::uint32_t extra = 0, int level = 0)
{
    RecordRun run;
    run.kind = kind;
    run.style = item;
    run.flags = flags;
    run.extra = extra;
    run.level = level;
    return run;
}

std::string Gif(int width, int height)
{
    GifImage image;
    image.width = width;
    image.height = height;
    image.indices.assign(static_cast<std::size_t>(width * height), 1);
    return GifFile(image, {{255, 255, 255}, {200, 30, 30}});
}

enum { kTight = 8 };

// Section 0: wrapping, hyphens, an overlong word, centring, indents, a fixed paragraph, a
// hidden one and style runs. Section 1: icons, a picture and thumbnails. Section 2: a plain
// paragraph.
ArticleRecordSource PageArticle()
{
    ArticleRecordSource s = RichArticle();
    RecordSection text;
    text.title = "Text";
    text.runs = {
        Text("The quick brown fox jumps over the lazy dog."),          // 0-43
        Text("well-known and self-evident truths", kTight),            // 44-77
        Text("Antidisestablishmentarianisms are long.", kTight),       // 78-116
        Text("Centred", 1 | kTight),                                   // 117-123
        Text("Indented text that wraps onto the next lines.", 4 | kTight),  // 124-168
        Text("x = 1;    y = 2;    z = 3;   end", 2 | kTight),           // 169-200
        Text("hidden text", 15),                                       // 201-211
        Text("aaaa BBBBBBBBBB cccc dddd"),                             // 212-236
    };
    text.styles = {static_cast<std::uint16_t>(217 << 1), static_cast<std::uint16_t>(1 | (0 << 1) | (10 << 5)),
                   static_cast<std::uint16_t>(10 << 1)};
    text.indents = {{0, 3, 9, 9}, {4, 4, 2, 3}};
    RecordSection items;
    items.title = "Items";
    items.runs = {
        Special(4, 1),                       // media icon, blank line behind
        Special(5, 0, kTight),               // table icon
        Special(6, 3, kTight, 4242),         // item icon with its value
        Text("Text after icons.", kTight),
        Special(5, 1, kTight),               // after text: a blank line first
        Special(3, 0, kTight, 777),          // the first picture, with a link
        Special(1, 0, 0, 0, 2),              // two thumbnails at the left
        Special(2, 2, kTight, 0, 1),         // one at the right
    };
    items.runs[6].text = "Beside two thumbnails.";
    items.runs[7].text = "Abc";
    RecordSection last;
    last.title = "Last";
    last.runs = {Text("The end.")};
    s.sections = {text, items, last};
    s.pictures = Gif(50, 46);
    return s;
}

class ArticlePageLayoutTest : public ArticleTest {
protected:
    void Open(const ArticleRecordSource& source, CHitList* pHits = nullptr)
    {
        pDoc = OpenSource(source, pHits);
        if (dc.GetSafeHdc() == NULL)
            dc.CreateCompatibleDC(NULL);
    }
    WORD SectionNumber(int s)
    {
        std::unique_ptr<CArticleSection> pSection(pDoc->GetSection(s));
        return pSection->GetSectionNumber();
    }

    std::unique_ptr<CArticleDocument> pDoc;
    CDC dc;
};

TEST_F(ArticlePageLayoutTest, TextParagraphsBecomeExactPageLines)
{
    Open(PageArticle());
    TestPageLayout layout;
    layout.LayoutSections(&dc, pDoc.get(), kClient, 1);
    EXPECT_EQ(layout.GetSectionsLaidOut(), 1);
    EXPECT_EQ(layout.GetTextWidth(), 300);
    EXPECT_EQ(layout.firstSections, 1);
    ExpectLines(layout, 0,
                {
                    // Breaks fall behind the last space that fits ("jumps" ends on the edge).
                    {0, 0, 0, 3, 0, 20, 0, 0, 0, 0, 0},
                    {0, 0, 1, 3, 20, 24, 0, 0, 0, 0, 0},
                    {0, 0, 2, 3, 44, 0, 0, 0, 0, 0, 0},  // the blank line behind the paragraph
                    // A hyphen is a break: the line ends behind it.
                    {0, 1, 0, 2, 44, 20, 0, 0, 0, 0, 0},
                    {0, 1, 1, 2, 64, 14, 0, 0, 0, 0, 0},
                    // A word longer than the line is never split: it overflows with its space.
                    {0, 2, 0, 2, 78, 30, 0, 0, 0, 0, 0},
                    {0, 2, 1, 2, 108, 9, 0, 0, 0, 0, 0},
                    // Centred: only the centring offset, no indent.
                    {0, 3, 0, 1, 117, 7, 108, 0, 0, 0, 0},
                    // Indented two spaces on the first line, three on the others.
                    {0, 4, 0, 3, 124, 19, 24, 0, 0, 0, 0},
                    {0, 4, 1, 3, 143, 20, 36, 0, 0, 0, 0},
                    {0, 4, 2, 3, 163, 6, 36, 0, 0, 0, 0},
                    // Fixed: one line however long; the hidden paragraph gives nothing.
                    {0, 5, 0, 1, 169, 32, 0, 0, 0, 0, 0},
                    // The bold run is measured in its own (wider) face: 20 characters fit, and
                    // the break falls behind "BBBBBBBBBB ".
                    {0, 7, 0, 3, 212, 16, 0, 0, 0, 0, 0},
                    {0, 7, 1, 3, 228, 9, 0, 0, 2, 227, 0},
                    {0, 7, 2, 3, 237, 0, 0, 0, 0, 0, 0},
                });
    EXPECT_EQ(layout.GetLineCount(), 15);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(layout.GetLine(i).nSectionNumber, SectionNumber(0));
    const int nHeight = layout.GetLineHeight();
    EXPECT_GE(nHeight, 17);
    const RECT& page = layout.GetPageRect();
    EXPECT_EQ(page.bottom, 15 * nHeight);
    EXPECT_EQ(page.right, 300);

    // A narrow window still lays out 300 pixels; a wider one more per line.
    layout.ResetPage();
    layout.LayoutSections(&dc, pDoc.get(), RECT{0, 0, 100, 400}, 1);
    EXPECT_EQ(layout.GetTextWidth(), 300);
    EXPECT_EQ(layout.GetLineCount(), 15);
    layout.ResetPage();
    layout.LayoutSections(&dc, pDoc.get(), RECT{0, 0, 612, 400}, 1);
    EXPECT_EQ(layout.GetLine(0).nLength, 44);
}

TEST_F(ArticlePageLayoutTest, IconsPicturesAndThumbnailsTakeTheirLines)
{
    Open(PageArticle());
    TestPageLayout layout;
    layout.LayoutSections(&dc, pDoc.get(), kClient, 2);
    const int nFirst = 15;  // section 0's lines
    const int nHeight = layout.GetLineHeight();
    const int nPicture = 46 / nHeight + 2;
    const int nThumb = 1 + 105 / nHeight;
    const DWORD dwGif = static_cast<DWORD>(Gif(50, 46).size());

    std::vector<Line> expected = {
        {1, 0, 0, 2, 1, 0, 32, 6, 0, 0, 0},  // media icon 1
        {1, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0},
        {1, 1, 0, 1, 0, 0, 32, 7, 0, 0, 0},  // table icon 0: the line before is blank
        {1, 2, 0, 1, 3, 0, 32, 8, 0, 0, 0},  // item icon 3
        {1, 3, 0, 1, 0, 17, 0, 0, 0, 0, 0},
        {1, 4, 0, 2, 0, 0, 0, 0, 0, 0, 0},   // a blank line before an icon that follows text
        {1, 4, 1, 2, 1, 0, 32, 7, 0, 0, 0},
    };
    for (int i = 0; i < nPicture; ++i)
        expected.push_back({1, 5, i, nPicture, 0, i + 1 < nPicture ? static_cast<int>(dwGif) : 0, 125, 1, 0, 0, 0});
    ExpectLines(layout, nFirst, expected);
    EXPECT_EQ(layout.GetItemValue(3), 4242u);
    EXPECT_EQ(layout.GetFirstPictureLink(), 777u);
    EXPECT_EQ(layout.GetPictureCount(), 1);

    // Two left thumbnails: their lines, the text beside them, one blank line below them.
    int nLine = nFirst + static_cast<int>(expected.size());
    EXPECT_EQ(layout.asked, (std::vector<int>{0, 1, 2}));
    const int nLeft = 2 * nThumb + 1;
    for (int i = 0; i < nLeft; ++i) {
        SCOPED_TRACE("left thumbnail line " + std::to_string(i));
        const PageLine& l = layout.GetLine(nLine + i);
        EXPECT_EQ(l.nParagraph, 6);
        EXPECT_EQ(l.nLineInParagraph, i);
        EXPECT_EQ(l.nLinesInParagraph, nLeft);
        EXPECT_EQ(l.nKind, i < 2 * nThumb ? PAGE_LINE_THUMBNAIL_LEFT : PAGE_LINE_TEXT);
        EXPECT_EQ(l.nThumbnailSlot, i < 2 * nThumb ? i / nThumb : 0);
        EXPECT_EQ(l.nMediaIndex, i < 2 * nThumb ? i / nThumb : 0);
        const int nLength = i == 0 ? 11 : i == 1 ? 11 : 0;
        EXPECT_EQ(l.nLength, nLength);
        EXPECT_EQ(l.x, i < 2 * nThumb ? 145 : 0);
    }
    EXPECT_EQ(layout.GetLine(nLine).dwStart, 17u);  // behind "Text after icons."
    EXPECT_EQ(layout.GetLine(nLine + 1).dwStart, 28u);
    // One right thumbnail: its lines start at the left edge.
    nLine += nLeft;
    for (int i = 0; i < nThumb + 1; ++i) {
        SCOPED_TRACE("right thumbnail line " + std::to_string(i));
        const PageLine& l = layout.GetLine(nLine + i);
        EXPECT_EQ(l.nParagraph, 7);
        EXPECT_EQ(l.nLinesInParagraph, nThumb + 1);
        EXPECT_EQ(l.nKind, i < nThumb ? PAGE_LINE_THUMBNAIL_RIGHT : PAGE_LINE_TEXT);
        EXPECT_EQ(l.x, 0);
        EXPECT_EQ(l.nMediaIndex, i < nThumb ? 2 : 0);
        EXPECT_EQ(l.nThumbnailSlot, i < nThumb ? 2 : 0);
    }
    EXPECT_EQ(layout.GetLine(nLine).nLength, 3);
    EXPECT_EQ(layout.GetLineCount(), nLine + nThumb + 1);
    EXPECT_EQ(layout.GetThumbnailSlotCount(), 3);
    ASSERT_NE(layout.GetThumbnail(2), nullptr);

    // The windows stand beside their first lines; scrolled away they are hidden.
    layout.PlaceThumbnailWindows(nLine - nLeft, 0, RECT{0, 0, 612, 4 * nHeight});
    struct {
        int slot, x, y;
        bool shown;
    } placed[] = {{0, 0, 0, true}, {1, 0, nThumb * nHeight, false}, {2, 612 - 140 - 7, nLeft * nHeight, false}};
    for (auto p : placed) {
        SCOPED_TRACE("slot " + std::to_string(p.slot));
        CRect rc;
        layout.GetThumbnail(p.slot)->GetWindowRect(&rc);
        EXPECT_EQ(rc, CRect(p.x, p.y, p.x + 140, p.y + 105));
        EXPECT_EQ(layout.GetThumbnail(p.slot)->IsWindowVisible() != FALSE, p.shown);
    }
    layout.PlaceThumbnailWindows(nLine, 0, RECT{0, 0, 200, 10 * nHeight});  // narrow: 300 wide
    CRect rc;
    layout.GetThumbnail(2)->GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 300 - 140 - 7);
    EXPECT_TRUE(layout.GetThumbnail(2)->IsWindowVisible());
    EXPECT_FALSE(layout.GetThumbnail(0)->IsWindowVisible());  // above the client area

    // A relayout keeps the windows: none is asked for again.
    layout.RestartLayout(FALSE);
    layout.LayoutSections(&dc, pDoc.get(), kClient, 2);
    EXPECT_EQ(layout.asked.size(), 3u);
    EXPECT_EQ(layout.GetLineCount(), nLine + nThumb + 1);
    layout.DeleteThumbnailWindows();
    EXPECT_EQ(layout.GetThumbnailSlotCount(), 0);
    EXPECT_EQ(layout.GetThumbnail(0), nullptr);
}

TEST_F(ArticlePageLayoutTest, ThumbnailsThatCannotBeMadeAndPicturesThatCannotBeReadTakeNoLines)
{
    ArticleRecordSource s = PageArticle();
    // Two picture paragraphs: the first picture is damaged, the second is read.
    s.sections[1].runs.insert(s.sections[1].runs.begin() + 5, Special(3, 0, kTight));
    s.pictures = std::string("GIF89a\x05\x00", 8) + std::string(20, '\xFF') + Gif(50, 46);
    Open(s);
    TestPageLayout layout;
    layout.makeThumbnails = false;
    host::AnswerNextMessageBox(IDOK);  // the picture reader's complaint
    layout.LayoutSections(&dc, pDoc.get(), kClient, 2);
    EXPECT_EQ(layout.GetPictureCount(), 2);
    const int nPicture = 46 / layout.GetLineHeight() + 2;
    int nPictureLines = 0;
    for (int i = 0; i < layout.GetLineCount(); ++i)
        if (layout.GetLine(i).nKind == PAGE_LINE_PICTURE) {
            ++nPictureLines;
            EXPECT_EQ(layout.GetLine(i).nParagraph, 6);
            EXPECT_EQ(layout.GetLine(i).dwStart, layout.GetPictureOffset(1));
        }
    EXPECT_EQ(nPictureLines, nPicture);
    // Without thumbnail windows the paragraphs are plain text: one line and its blank, then
    // "Abc" alone.
    const int nLast = layout.GetLineCount();
    EXPECT_EQ(layout.GetLine(nLast - 1).nLength, 3);
    EXPECT_EQ(layout.GetLine(nLast - 1).nKind, PAGE_LINE_TEXT);
    EXPECT_EQ(layout.GetLine(nLast - 2).nLength, 0);
    EXPECT_EQ(layout.GetLine(nLast - 3).nLength, 22);
    EXPECT_EQ(layout.GetThumbnailSlotCount(), 3);
    EXPECT_EQ(layout.GetThumbnail(0), nullptr);
}

TEST_F(ArticlePageLayoutTest, PictureTableStopsAtCapacityAndIgnoresMarkedRecords)
{
    // 120 signatures: the table keeps 100 and their end.
    ArticleRecordSource s = PageArticle();
    std::string many;
    for (int i = 0; i < 120; ++i)
        many += "gif-" + std::to_string(i) + ";";
    s.pictures = many;
    Open(s);
    TestPageLayout layout;
    layout.LayoutSections(&dc, pDoc.get(), kClient, 1);
    EXPECT_EQ(layout.GetPictureCount(), 100);
    EXPECT_EQ(layout.GetPictureOffset(99), static_cast<DWORD>(many.find("gif-99;")));
    EXPECT_EQ(layout.GetPictureOffset(100), static_cast<DWORD>(many.size()));

    // A record carrying "GIF Smart" shows no inline pictures.
    s.pictures = Gif(50, 46) + "gif smart";
    Open(s);
    TestPageLayout marked;
    marked.LayoutSections(&dc, pDoc.get(), kClient, 2);
    EXPECT_EQ(marked.GetPictureCount(), 0);
    for (int i = 0; i < marked.GetLineCount(); ++i)
        EXPECT_NE(marked.GetLine(i).nKind, PAGE_LINE_PICTURE);
}

TEST_F(ArticlePageLayoutTest, HitsGiveLinesTheirHitIndexAndTheScrollTarget)
{
    auto* pHits = new CHitList;
    pHits->AddHit(CHitPosition(0, 26, 4));   // "over", on line 1
    pHits->AddHit(CHitPosition(0, 60, 4));   // in paragraph 1
    pHits->AddHit(CHitPosition(2, 4, 3));    // "end" in the last section
    Open(PageArticle(), pHits);
    TestPageLayout layout;
    layout.LayoutSections(&dc, pDoc.get(), kClient, 1);
    const int expected[] = {0, 0, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(layout.GetLine(i).nHitIndex, expected[i]) << "line " << i;
    // The first hit's line is the line holding its last character.
    EXPECT_EQ(layout.GetFirstHitLine(), 1);
    EXPECT_EQ(layout.ChooseTopLine(FALSE, 4), 0);

    // One zero-length hit: its paragraph stands a quarter page from the top.
    auto* pMark = new CHitList;
    pMark->AddHit(CHitPosition(0, 130, 0));
    Open(PageArticle(), pMark);
    TestPageLayout marked;
    marked.LayoutSections(&dc, pDoc.get(), kClient, 3);
    EXPECT_EQ(marked.GetFirstHitLine(), 8);  // paragraph 4's first line
    EXPECT_EQ(marked.GetLine(8).nHitIndex, 0);
    EXPECT_EQ(marked.ChooseTopLine(FALSE, 8), 6);
    EXPECT_EQ(marked.ChooseTopLine(FALSE, marked.GetLineCount() + 10), 0);

    // Near the end the page stops at its last full screen.
    auto* pEnd = new CHitList;
    pEnd->AddHit(CHitPosition(2, 0, 0));
    Open(PageArticle(), pEnd);
    TestPageLayout atEnd;
    atEnd.LayoutSections(&dc, pDoc.get(), kClient, 3);
    EXPECT_EQ(atEnd.GetFirstHitLine(), atEnd.GetLineCount() - 2);
    EXPECT_EQ(atEnd.ChooseTopLine(FALSE, 8), atEnd.GetLineCount() - 8);
}

TEST_F(ArticlePageLayoutTest, RestartKeepsTheTopLineAsAnchor)
{
    Open(PageArticle());
    TestPageLayout layout;
    layout.LayoutSections(&dc, pDoc.get(), kClient, 1);
    layout.SetTopLine(9);  // "that wraps onto the next " of paragraph 4
    layout.RestartLayout(FALSE);
    EXPECT_EQ(layout.GetLineCount(), 0);
    EXPECT_EQ(layout.GetAnchorSection(), 0);
    EXPECT_EQ(layout.GetAnchorStart(), 143u);
    EXPECT_FALSE(layout.GetScrollToFirstHit());
    // Wider: paragraph 4 is one line starting before the anchor, so the first line at or after
    // the anchor's offset is paragraph 5's.
    layout.LayoutSections(&dc, pDoc.get(), RECT{0, 0, 612, 400}, 1);
    const int nTop = layout.ChooseTopLine(TRUE, 2);
    EXPECT_EQ(layout.GetLine(nTop).nParagraph, 5);
    EXPECT_EQ(layout.GetLine(nTop).dwStart, 169u);
    EXPECT_EQ(layout.ChooseTopLine(FALSE, 2), -1);  // neither hit nor anchor: no scroll
}

TEST_F(ArticlePageLayoutTest, TheTableEndsAtSevenThousandLines)
{
    // Three sections of 12,000 five-character words: 2,400 lines each.
    ArticleRecordSource s = PageArticle();
    std::string words;
    for (int i = 0; i < 12000; ++i)
        words += "abcd ";
    RecordSection big;
    big.title = "Big";
    big.runs = {Text(words, kTight)};
    s.sections = {big, big, big, s.sections[2]};
    Open(s);
    TestPageLayout layout;
    layout.LayoutSections(&dc, pDoc.get(), kClient, 4);
    ASSERT_EQ(layout.GetLineCount(), CArticlePageLayout::maxLines);
    const PageLine& first = layout.GetLine(0);
    EXPECT_EQ(first.nLength, 25);
    // The last line holds the whole rest of its paragraph; the section after adds nothing.
    const PageLine& last = layout.GetLine(CArticlePageLayout::maxLines - 1);
    EXPECT_EQ(last.nSection, 2);
    EXPECT_EQ(last.dwStart, static_cast<DWORD>(2199 * 25));
    EXPECT_EQ(last.nLength, static_cast<WORD>(words.size() - 2199 * 25));
    EXPECT_EQ(layout.GetSectionsLaidOut(), 4);
}

TEST_F(ArticlePageLayoutTest, IdleLaysOutOneSectionInTenCalls)
{
    ArticleRecordSource s = PageArticle();
    s.sections.push_back(s.sections[2]);
    s.sections.push_back(s.sections[2]);  // five sections
    Open(s);
    TestPageLayout layout;
    layout.LayoutSections(&dc, pDoc.get(), kClient, 1);  // the first page
    // Idle count -> sections laid out after the call, and the answer.
    struct {
        LONG count;
        int sections;
        BOOL more;
    } steps[] = {{0, 1, TRUE},  {4, 1, TRUE},  {5, 2, TRUE},  {6, 2, TRUE},  {14, 2, TRUE},
                 {15, 3, TRUE}, {25, 4, TRUE}, {35, 5, TRUE}, {36, 5, FALSE}, {45, 5, FALSE}};
    int nLines = layout.GetLineCount();
    for (auto step : steps) {
        SCOPED_TRACE("idle count " + std::to_string(step.count));
        EXPECT_EQ(layout.OnIdle(step.count, &dc, pDoc.get(), kClient), step.more);
        EXPECT_EQ(layout.GetSectionsLaidOut(), step.sections);
        EXPECT_GE(layout.GetLineCount(), nLines);
        nLines = layout.GetLineCount();
    }
    EXPECT_EQ(layout.GetLine(nLines - 1).nSection, 4);

    // A pop-up or a missing disc holds layout back; the answer stays "more to do".
    TestPageLayout held;
    held.LayoutSections(&dc, pDoc.get(), kClient, 1);
    held.m_bPopupShown = TRUE;
    EXPECT_TRUE(held.OnIdle(5, &dc, pDoc.get(), kClient));
    EXPECT_EQ(held.GetSectionsLaidOut(), 1);
    held.m_bPopupShown = FALSE;
    ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", NULL, "T:\\vl00i1se.ini"));  // no disc anywhere
    EXPECT_TRUE(held.OnIdle(5, &dc, pDoc.get(), kClient));
    EXPECT_TRUE(held.m_bDiscMissing);
    EXPECT_EQ(held.GetSectionsLaidOut(), 1);
    ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", "T:\\disc\\info_dat\\", "T:\\vl00i1se.ini"));
    EXPECT_TRUE(held.OnIdle(5, &dc, pDoc.get(), kClient));
    EXPECT_EQ(held.GetSectionsLaidOut(), 1);  // until the next paint clears the flag
    held.m_bDiscMissing = FALSE;
    EXPECT_TRUE(held.OnIdle(15, &dc, pDoc.get(), kClient));
    EXPECT_EQ(held.GetSectionsLaidOut(), 2);

    // Nothing to lay out without an article.
    CArticleDocument empty;
    EXPECT_FALSE(held.OnIdle(5, &dc, &empty, kClient));
    EXPECT_FALSE(held.OnIdle(5, &dc, nullptr, kClient));
}

}  // namespace
}  // namespace article_test

namespace article_test {
namespace {

TEST(ArticlePageFontsTest, SlotsHaveTheirFacesAndSizesForEachTextSize)
{
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    int previous = 0;
    for (int nClass = 0; nClass < 3; ++nClass) {
        SCOPED_TRACE("size class " + std::to_string(nClass));
        CArticlePageLayout layout;
        layout.SetTextSize(nClass, &dc);
        const int kBase[] = {100, 110, 130};
        EXPECT_EQ(layout.GetBaseSize(), kBase[nClass]);
        TEXTMETRIC tm[CArticlePageLayout::fontCount];
        char face[CArticlePageLayout::fontCount][LF_FACESIZE];
        for (int i = 0; i < CArticlePageLayout::fontCount; ++i) {
            CFont* pOld = dc.SelectObject(layout.GetFont(i));
            dc.GetTextMetrics(&tm[i]);
            ::GetTextFace(dc.GetSafeHdc(), LF_FACESIZE, face[i]);
            dc.SelectObject(pOld);
        }
        EXPECT_STREQ(face[0], "Arial");
        EXPECT_GT(tm[0].tmHeight, previous);
        previous = tm[0].tmHeight;
        EXPECT_GE(tm[1].tmWeight, FW_BOLD);
        EXPECT_TRUE(tm[2].tmItalic);
        EXPECT_STREQ(face[3], "Courier New");
        EXPECT_EQ(tm[3].tmPitchAndFamily & TMPF_FIXED_PITCH, 0);  // the bit set means variable
        for (int small : {4, 5, 8, 9})
            EXPECT_LT(tm[small].tmHeight, tm[0].tmHeight) << small;
        EXPECT_TRUE(tm[8].tmItalic && tm[9].tmItalic);
        EXPECT_STREQ(face[6], "Symbol");
        EXPECT_STREQ(face[7], "VeltraMath");
        EXPECT_EQ(tm[7].tmCharSet, SYMBOL_CHARSET);
        EXPECT_TRUE(tm[10].tmUnderlined);
        EXPECT_EQ(tm[10].tmHeight, tm[0].tmHeight);
    }

    // Style entries to slots: plain runs the body; styled ones by their code.
    struct {
        WORD entry;
        int slot;
    } cases[] = {{10 << 1, 0},      {1 | (0 << 1), 1}, {1 | (1 << 1), 0},  {1 | (2 << 1), 2},  {1 | (3 << 1), 2},
                 {1 | (4 << 1), 4}, {1 | (5 << 1), 5}, {1 | (6 << 1), 6},  {1 | (7 << 1), 7},  {1 | (8 << 1), 8},
                 {1 | (9 << 1), 9}, {1 | (10 << 1), 0}, {1 | (15 << 1), 0}};
    for (auto c : cases)
        EXPECT_EQ(CArticlePageLayout::StyleFontSlot(c.entry), c.slot) << c.entry;
}

}  // namespace
}  // namespace article_test
