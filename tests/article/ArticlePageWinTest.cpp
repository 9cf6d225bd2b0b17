// The article page window on a laid-out fixture article measured with a fixed-pitch test face
// (12 pixels a character): the colours each painting pass leaves on the screen (hits, links,
// stored highlights, the selection), the character hit test, the link table and its hot spots,
// scroll arithmetic, jumps and select all, mouse and key sequences (select, follow a link, drag
// to a drop target, double-click to the dictionary), resizing; screenshots of a sample article.
#include "ArticlePageTestSupport.h"

namespace article_test {
namespace {

using namespace discbuilder;

TEST(PageTextRangeTest, OrderOfEndsAndMembership)
{
    EXPECT_TRUE(SpanOverlapsRange(10, 4, 10, 0));
    EXPECT_TRUE(SpanOverlapsRange(4, 10, 0, 4));
    EXPECT_FALSE(SpanOverlapsRange(4, 10, 0, 3));
    EXPECT_FALSE(SpanOverlapsRange(10, 4, 11, 5));

    // A range dragged backwards from section 2, offset 8-12, to section 0, offset 30-34.
    PageTextRange range;
    range.nAnchorSection = 2;
    range.nAnchorWordStart = 8;
    range.nAnchorWordEnd = 12;
    range.nMovingSection = 0;
    range.nMovingWordStart = 30;
    range.nMovingWordEnd = 34;
    EXPECT_EQ(0, range.GetFirstSection());
    EXPECT_EQ(2, range.GetLastSection());
    EXPECT_EQ(30, range.GetStartOffset());
    EXPECT_EQ(12, range.GetEndOffset());
    struct Case {
        int section, offset, length;
        bool in;
    } cases[] = {
        {0, 29, 0, false}, {0, 28, 2, true}, {0, 5000, 0, true}, {1, 0, 0, true},    {2, 12, 0, true},
        {2, 13, 0, false}, {3, 0, 0, false}, {-1, 0, 0, false},  {0, 30, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.in, bool(range.Contains(c.section, c.offset, c.length)))
            << c.section << ":" << c.offset << "+" << c.length;
    // In one section the smaller start and the larger end count, whichever end holds them.
    range.nAnchorSection = 0;
    EXPECT_EQ(8, range.GetStartOffset());
    EXPECT_EQ(34, range.GetEndOffset());
    range.Reset();
    EXPECT_FALSE(range.Contains(0, 0, 0));
}

TEST_F(ArticlePageWinTest, FirstPaintLaysOutAndDrawsEveryPassInItsColours)
{
    TestPageWin& pw = Show(PageFixture(), MoltenHit());
    ASSERT_GT(pw.GetLineCount(), 10);
    EXPECT_FALSE(pw.IsClickLocked()) << "the first layout pass unlocks clicks";
    EXPECT_EQ(3, pw.GetLinkCount());
    const std::size_t molten = At(kFirst, "molten");

    // Hit: red text, the rest black.
    EXPECT_GT(CountPixels(0, molten, 6, Reddish), 20);
    EXPECT_EQ(0, CountPixels(0, molten, 6, Dark));
    EXPECT_EQ(0, CountPixels(0, At(kFirst, "rock"), 4, Reddish));
    EXPECT_GT(CountPixels(0, At(kFirst, "rock"), 4, Dark), 20);
    // Article link: blue and underlined (a whole blue row under the word); a "tf:" link is not blue.
    EXPECT_GT(CountPixels(0, 0, 9, Bluish), 9 * kCharWidth);
    EXPECT_EQ(0, CountPixels(0, 0, 9, Dark));
    EXPECT_EQ(0, CountPixels(1, 0, 9, Bluish));
    // The page colour around the text.
    EXPECT_GT(CountPixels(0, At(kFirst, "rock"), 4, Exactly(255, 255, 231)), 4 * kCharWidth * 10);

    // A stored highlight: black on yellow; the selection over it wins: blue on lavender.
    const std::size_t lava = At(kFirst, "lava");
    ASSERT_TRUE(pw.GetHighlightStore()->AddHilite(doc->GetReference()->GetNumber(), 0, static_cast<DWORD>(lava), 3,
                                                  static_cast<DWORD>(doc->GetIssueDate())));
    pw.Invalidate();
    ui::PumpUntilIdle();
    EXPECT_GT(CountPixels(0, lava, 4, Exactly(255, 255, 0)), 4 * kCharWidth * 10);
    EXPECT_GT(CountPixels(0, lava, 4, Dark), 20);
    EXPECT_EQ(0, CountPixels(0, At(kFirst, "onto"), 4, Exactly(255, 255, 0))) << "the span ends with its last character";

    const CPoint ptLava = CharPoint(0, lava + 1);
    pw.SelectWordAt(ptLava.x, ptLava.y);
    ::ReleaseCapture();
    ui::PumpUntilIdle();
    EXPECT_EQ(static_cast<int>(lava), pw.GetSelectionStartOffset());
    EXPECT_EQ(static_cast<int>(lava + 3), pw.GetSelectionEndOffset());
    EXPECT_GT(CountPixels(0, lava, 4, Exactly(218, 200, 230)), 4 * kCharWidth * 10);
    EXPECT_EQ(0, CountPixels(0, lava, 4, Exactly(255, 255, 0)));
    EXPECT_GT(CountPixels(0, lava, 4, Bluish), 20);
    EXPECT_EQ(0, CountPixels(0, At(kFirst, "onto"), 4, Exactly(218, 200, 230)));
}

TEST_F(ArticlePageWinTest, AHitOverTwoStyleRunsIsRedInBothAndATwoColourPictureTakesThePageColour)
{
    ArticleRecordSource s = RichArticle();
    s.links.clear();
    RecordSection styled;
    styled.title = "Styled";
    const std::string text = "abcdefghijKLMNOPQRST and the rest of it.";
    styled.runs = {Text(text)};
    const auto rest = static_cast<std::uint16_t>((text.size() - 20) << 1);
    styled.styles = {10 << 1, (10 << 5) | (0 << 1) | 1, rest};  // plain, bold (code 0), plain
    RecordSection pictured;
    pictured.title = "Pictured";
    RecordRun picture;
    picture.kind = 3;
    picture.extra = 1001002;  // the first picture opens this item
    pictured.runs = {picture, Text("Under the picture.")};
    s.sections = {styled, pictured};
    GifImage image;
    image.width = 40;
    image.height = 30;
    image.indices.assign(40 * 30, 0);
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 30; ++x)
            image.indices[static_cast<std::size_t>(y * 40 + x)] = 1;
    s.pictures = GifFile(image, {{255, 255, 255}, {200, 30, 30}});
    auto* pHits = new CHitList;
    pHits->AddHit(CHitPosition(0, 5, 10));
    TestPageWin& pw = Show(s, pHits, 400);

    EXPECT_EQ(0, CountPixels(0, 0, 5, Reddish));
    EXPECT_GT(CountPixels(0, 5, 5, Reddish), 20) << "the plain part of the hit";
    EXPECT_GT(CountPixels(0, 10, 5, Reddish), 20) << "the bold part of the hit";
    EXPECT_EQ(0, CountPixels(0, 10, 5, Dark));
    EXPECT_EQ(0, CountPixels(0, 15, 5, Reddish));
    EXPECT_GT(CountPixels(0, 15, 5, Dark), 20);

    int nPicture = -1;
    for (int i = 0; i < pw.GetLineCount() && nPicture < 0; ++i)
        if (pw.GetLine(i).nKind == PAGE_LINE_PICTURE)
            nPicture = i;
    ASSERT_GE(nPicture, 0);
    const PageLine& line = pw.GetLine(nPicture);
    CPoint corner(line.x + 2, nPicture * pw.GetLineHeight() + 2);
    CPoint middle(line.x + 20, nPicture * pw.GetLineHeight() + 15);
    pw.ClientToScreen(&corner);
    pw.ClientToScreen(&middle);
    EXPECT_EQ(RGB(255, 255, 231), host::DesktopPixel(corner.x, corner.y)) << "white became the page colour";
    EXPECT_EQ(RGB(200, 30, 30), host::DesktopPixel(middle.x, middle.y));

    // The first picture carries a link: a click inside it (not on its edge) opens the item.
    const RECT& rcPicture = pw.GetFirstPictureRect();
    EXPECT_EQ(40, rcPicture.right - rcPicture.left);
    EXPECT_EQ(30, rcPicture.bottom - rcPicture.top);
    Press(CPoint(rcPicture.left, rcPicture.top + 5));
    Release();
    EXPECT_TRUE(pw.shown.empty()) << "the edge is not inside";
    Press(CPoint(rcPicture.left + 5, rcPicture.top + 5));
    Release();
    EXPECT_EQ(1u, pw.shown.size()) << "one reference (placed by the ROM_LINK table, which this test has not)";
}

TEST_F(ArticlePageWinTest, CharacterHitTestSnapsToCharactersAndBacksOverSpaces)
{
    TestPageWin& pw = Show(PageFixture());
    const int nLine = LineOf(0, 0);
    const PageLine& line = pw.GetLine(nLine);
    ASSERT_EQ(0, line.x);
    CClientDC dc(&pw);
    struct Case {
        int x;
        int offset;
    } cases[] = {
        {0, 0},                         // left of the line: its first character
        {1, 0},                         {kCharWidth - 1, 0},   {kCharWidth, 1},  // a cell's right edge is the next's
        {kCharWidth + 1, 1},            {9 * kCharWidth + 3, 8},  // the space after "Volcanoes": back to 's'
        {10 * kCharWidth + 1, 10},      {2000, static_cast<int>(line.dwStart + line.nLength - 1)},
    };
    for (const Case& c : cases) {
        int nWant = c.offset;
        while (nWant > 0 && kFirst[static_cast<std::size_t>(nWant)] == ' ')
            --nWant;
        EXPECT_EQ(nWant, pw.DrawLineHits(&dc, nLine, c.x, nullptr)) << "x " << c.x;
    }
    // A blank line answers with the last character of the line above.
    int nBlank = -1;
    for (int i = 1; i < pw.GetLineCount(); ++i)
        if (pw.GetLine(i).nLength == 0 && IsTextPageLine(pw.GetLine(i)) && IsTextPageLine(pw.GetLine(i - 1)) &&
            pw.GetLine(i - 1).nLength > 0) {
            nBlank = i;
            break;
        }
    ASSERT_GT(nBlank, 0);
    const PageLine& above = pw.GetLine(nBlank - 1);
    EXPECT_EQ(static_cast<int>(above.dwStart + above.nLength - 1), pw.DrawLineHits(&dc, nBlank, 5, nullptr));
}

TEST_F(ArticlePageWinTest, LinkTableIsBoundedAndStopsAtTableLinks)
{
    ArticleRecordSource s = PageFixture();
    // 1100 positions in section 1: the table keeps 1000 and ignores the rest.
    RecordLink many{"vl://001008", {}};
    for (int i = 0; i < 1100; ++i)
        many.positions.push_back(PackTextPosition(1, static_cast<std::uint32_t>(i % 200), 1));
    s.links.push_back(many);
    TestPageWin& pw = Show(s, nullptr, 600);
    ASSERT_EQ(CArticlePageWin::maxLinks, pw.GetLinkCount());
    EXPECT_EQ(CArticlePageWin::maxHotSpots, pw.GetHotSpotCount()) << "one hot spot a linked character, 100 kept";
    EXPECT_EQ(0u, pw.GetLink(0).dwSection);
    EXPECT_EQ(9u, pw.GetLink(0).dwLength);
    EXPECT_EQ(0, pw.GetLink(0).wFlag);
    EXPECT_EQ(1006u, pw.GetLink(0).dwNumber);
    EXPECT_EQ(1, pw.GetLink(1).wFlag) << "\"TF:\" in any case";
    EXPECT_EQ(1007u, pw.GetLink(2).dwNumber);
    EXPECT_EQ(1008u, pw.GetLink(999).dwNumber);

    // A link whose positions lie in a table ends the walk: the links after it are not the page's.
    ArticleRecordSource t = PageFixture();
    t.links.insert(t.links.begin() + 1, RecordLink{"vl://001009", {PackTextPosition(200, 0, 3)}});
    page.reset();
    TestPageWin& pt = Show(t);
    EXPECT_EQ(1, pt.GetLinkCount()) << "the position after the first entry's lies in a table";
    EXPECT_EQ(0u, pt.GetLink(0).dwSection);
}

TEST_F(ArticlePageWinTest, LinkHotSpotsCoverFirstAndLastLinesOfALongLinkWithStrictEdges)
{
    TestPageWin& pw = Show(PageFixture(), nullptr, 400);
    const std::size_t start = At(kLong, "Some");
    const int nFirstLine = LineOf(1, start);
    const int nLastLine = LineOf(1, start + 59);
    ASSERT_GE(nLastLine, nFirstLine + 2) << "the fixture's link runs over three lines or more";
    std::vector<int> linesWithSpot;
    RECT first{};
    for (int i = 0; i < pw.GetHotSpotCount(); ++i)
        if (pw.GetHotSpotLink(i) == 2) {
            linesWithSpot.push_back(pw.GetHotSpotRect(i).top / pw.GetLineHeight());
            if (linesWithSpot.size() == 1)
                first = pw.GetHotSpotRect(i);
        }
    EXPECT_EQ((std::vector<int>{nFirstLine, nLastLine}), linesWithSpot);
    const PageLine& line = pw.GetLine(nFirstLine);
    EXPECT_EQ(line.x + static_cast<int>(start - line.dwStart) * kCharWidth, first.left);
    EXPECT_EQ(line.x + line.nLength * kCharWidth, first.right) << "cut at the line's end";
    EXPECT_EQ(2, pw.HitTestLink(first.left + 1, first.top + 1));
    EXPECT_EQ(-1, pw.HitTestLink(first.left, first.top + 1)) << "the edge pixel is not hot";
    EXPECT_EQ(-1, pw.HitTestLink(first.left + 1, first.top));
    // The middle line of the link is still drawn blue, without a hot spot.
    EXPECT_GT(CountPixels(1, pw.GetLine(nFirstLine + 1).dwStart, 5, Bluish), 5 * kCharWidth);
}

TEST_F(ArticlePageWinTest, ScrollArithmeticMovesByWholeLines)
{
    TestPageWin& pw = Show(PageFixture(), nullptr, 200);
    const int lh = pw.GetLineHeight();
    const int nPage = 200 / lh;
    const int nCount = pw.GetLineCount();
    ASSERT_GT(nCount, nPage + 3);
    const int nEnd = nCount - nPage;
    struct Step {
        UINT code;
        int pos;
        int top;
    } steps[] = {
        {SB_LINEDOWN, 0, 1},          {SB_LINEDOWN, 0, 2},
        {SB_LINEUP, 0, 1},            {SB_PAGEDOWN, 0, std::min(1 + nPage, nEnd)},
        {SB_PAGEUP, 0, 1},            {SB_PAGEUP, 0, 0},
        {SB_LINEUP, 0, 0},            {SB_THUMBTRACK, 3 * lh + lh - 1, 3},
        {SB_THUMBPOSITION, 2 * lh + 1, 2}, {SB_THUMBTRACK, 100000, nEnd},
        {SB_LINEDOWN, 0, nEnd},       {SB_PAGEDOWN, 0, nEnd},
        {SB_THUMBTRACK, 0, 0},
    };
    for (const Step& step : steps) {
        pw.SendMessage(WM_VSCROLL, MAKEWPARAM(step.code, step.pos), 0);
        ui::PumpUntilIdle();
        EXPECT_EQ(step.top, pw.GetTopLine()) << "code " << step.code << " pos " << step.pos;
        EXPECT_EQ(step.top * lh, pw.GetScrollPosition());
        EXPECT_EQ(step.top * lh, pw.GetScrollPos(SB_VERT));
    }
    int nMin = 0, nMax = 0;
    pw.GetScrollRange(SB_VERT, &nMin, &nMax);
    EXPECT_EQ(nEnd * lh, nMax);
    // Every scroll tells the view the section a quarter page down, or the last line's at the end.
    host.posted.clear();
    pw.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100000), 0);
    ui::PumpUntilIdle();
    std::vector<Posted> sections = host.Take(VLM_PANE_SECTION);
    ASSERT_EQ(1u, sections.size());
    EXPECT_EQ(2, sections[0].lParam);
}

TEST_F(ArticlePageWinTest, AScrolledPageShowsWhatAFullRepaintShows)
{
    TestPageWin& pw = Show(PageFixture(), MoltenHit(), 200);
    auto grab = [&]() {
        CRect rc;
        pw.GetClientRect(&rc);
        pw.ClientToScreen(&rc);
        std::vector<COLORREF> pixels;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                pixels.push_back(host::DesktopPixel(x, y));
        return pixels;
    };
    for (UINT code : {SB_LINEDOWN, SB_LINEDOWN, SB_PAGEDOWN, SB_LINEUP, SB_PAGEUP}) {
        pw.SendMessage(WM_VSCROLL, MAKEWPARAM(code, 0), 0);
        ui::PumpUntilIdle();
        const std::vector<COLORREF> scrolled = grab();
        pw.Invalidate();
        ui::PumpUntilIdle();
        EXPECT_TRUE(scrolled == grab()) << "after code " << code << " at top line " << pw.GetTopLine();
    }
}

TEST_F(ArticlePageWinTest, TheFirstPaintScrollsToTheFirstHitQuietly)
{
    auto* pHits = new CHitList;
    const std::size_t earnest = At(kLong, "earnest");
    pHits->AddHit(CHitPosition(1, static_cast<UINT>(earnest), 7));
    TestPageWin& pw = Show(PageFixture(), pHits, 150);
    const int nPage = 150 / pw.GetLineHeight();
    EXPECT_EQ(std::min(LineOf(1, earnest) - nPage / 4, pw.GetLineCount() - nPage), pw.GetTopLine());
    EXPECT_GT(CountPixels(1, earnest, 7, Reddish), 20);
    EXPECT_TRUE(host.Take(VLM_PANE_SECTION).empty()) << "layout's own scroll reports no section";
}

TEST_F(ArticlePageWinTest, TextThatFitsIgnoresLineAndPageScrolling)
{
    TestPageWin& pw = Show(PageFixture(), nullptr, 2000);
    for (UINT code : {SB_LINEDOWN, SB_PAGEDOWN}) {
        pw.SendMessage(WM_VSCROLL, MAKEWPARAM(code, 0), 0);
        EXPECT_EQ(0, pw.GetTopLine());
    }
    pw.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), 0);
    EXPECT_EQ(0, pw.GetTopLine());
}

ArticleRecordSource ManySections(int nSections, int nTableSection)
{
    ArticleRecordSource s = RichArticle();
    s.sections.clear();
    s.links.clear();
    for (int i = 0; i < nSections; ++i) {
        RecordSection sec;
        sec.title = "Part " + std::to_string(i);
        sec.runs = {Text("Section " + std::to_string(i) + " has a few words of text in it.")};
        if (i == nTableSection)
            sec.runs.push_back(Icon(5, 1));
        s.sections.push_back(sec);
    }
    return s;
}

TEST_F(ArticlePageWinTest, JumpsLayOutTenSectionsAtATimeAndLandAQuarterPageDown)
{
    TestPageWin& pw = Show(ManySections(30, 15), nullptr, 200);
    EXPECT_EQ(7, pw.GetLayout().GetSectionsLaidOut()) << "the first paint lays out seven sections";
    const int nPage = 200 / pw.GetLineHeight();
    host.posted.clear();
    pw.GoToItem(PAGE_GOTO_TABLE, 1);
    EXPECT_EQ(20, pw.GetLayout().GetSectionsLaidOut()) << "7, then 17 holds the icon, then five past its section";
    int nIcon = -1;
    for (int i = 0; i < pw.GetLineCount(); ++i)
        if (pw.GetLine(i).nKind == PAGE_LINE_TABLE_ICON)
            nIcon = i;
    ASSERT_GE(nIcon, 0);
    EXPECT_EQ(nIcon - nPage / 4, pw.GetTopLine());
    EXPECT_TRUE(host.Take(VLM_PANE_SECTION).empty()) << "a jump posts no section change";

    // A section: near the end the last line stands at the bottom.
    pw.GoToItem(PAGE_GOTO_SECTION, 29);
    EXPECT_EQ(30, pw.GetLayout().GetSectionsLaidOut());
    EXPECT_EQ(pw.GetLineCount() - nPage, pw.GetTopLine());
    // Something that is not there: the top of the page.
    pw.GoToItem(PAGE_GOTO_MEDIA, 7);
    EXPECT_EQ(0, pw.GetTopLine());
}

TEST_F(ArticlePageWinTest, SelectAllSelectsTheWholeArticleAndASecondCallClears)
{
    TestPageWin& pw = Show(PageFixture(), nullptr, 200);
    pw.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    pw.SelectAll();
    EXPECT_TRUE(pw.IsSelectAll());
    EXPECT_EQ(1, pw.GetTopLine()) << "select all keeps the page where it was";
    EXPECT_EQ(0, pw.GetSelectionFirstSection());
    EXPECT_EQ(2, pw.GetSelectionLastSection());
    EXPECT_EQ(0, pw.GetSelectionStartOffset());
    EXPECT_EQ(7, pw.GetSelectionEndOffset());  // "The end." ends at 7
    std::unique_ptr<CString> pText(pw.GetSelectedText(-1));
    ASSERT_TRUE(pText);
    const std::string indent(20, ' ');
    EXPECT_EQ(kFirst + "\r\n\r\n" + indent + kLast + "\r\n\r\n" + kLong + "\r\n\r\nThe end.\r\n\r\n",
              std::string(*pText));
    std::unique_ptr<CString> pCut(pw.GetSelectedText(40));
    EXPECT_EQ(kFirst.substr(0, 40), std::string(*pCut));
    pw.SelectAll();
    EXPECT_FALSE(pw.HasSelection());
    EXPECT_EQ(nullptr, pw.GetSelectedText(-1));
}

TEST_F(ArticlePageWinTest, DraggingSelectsWholeWordsAndDropsOnTheSearchPane)
{
    TestPageWin& pw = Show(PageFixture(), nullptr, 300);
    CWnd searchPane;
    ASSERT_TRUE(searchPane.CreateEx(0, AfxRegisterWndClass(0), "Search", WS_POPUP | WS_VISIBLE,
                                    CRect(400, 50, 600, 300), nullptr, 0));
    CRecordingTarget target(TEXTDROP_RANK_SEARCH_PANE, TEXTDROP_SEARCH, &searchPane);

    const CPoint from = CharPoint(0, At(kFirst, "erupt") + 2);
    Press(from);
    MoveTo(from + CPoint(1, 0));
    MoveTo(CharPoint(1, At(kLong, "quiet") + 1));
    Release();
    EXPECT_EQ(0, pw.GetSelectionFirstSection());
    EXPECT_EQ(1, pw.GetSelectionLastSection());
    EXPECT_EQ(static_cast<int>(At(kFirst, "erupt")), pw.GetSelectionStartOffset());
    EXPECT_EQ(static_cast<int>(At(kLong, "quiet") + 4), pw.GetSelectionEndOffset());
    std::unique_ptr<CString> pText(pw.GetSelectedText(-1));
    ASSERT_TRUE(pText);
    EXPECT_EQ(kFirst.substr(At(kFirst, "erupt")) + "\r\n\r\n" + std::string(20, ' ') + kLast + "\r\n\r\n" +
                  kLong.substr(0, At(kLong, "quiet") + 5),
              std::string(*pText));

    // Press inside the selection, drag it out of the page onto the search pane: its first 40
    // characters are searched for and the selection goes. The drag shows the system's up-arrow.
    Press(CharPoint(0, At(kFirst, "rock")));
    MoveTo(CharPoint(0, At(kFirst, "rock") + 1));
    EXPECT_EQ(::LoadCursor(NULL, IDC_UPARROW), host::CurrentCursor());
    const CPoint drop(450, 100);
    host::MouseMove(drop.x, drop.y);
    ui::PumpUntilIdle();
    Release();
    ASSERT_EQ(1u, target.received.size());
    EXPECT_EQ(TEXTDROP_SEARCH, target.received[0].first);
    EXPECT_EQ(kFirst.substr(At(kFirst, "erupt"), 40), target.received[0].second);
    EXPECT_FALSE(pw.HasSelection());
    searchPane.DestroyWindow();
}

TEST_F(ArticlePageWinTest, ADragAboveThePageScrollsOneLinePerMove)
{
    TestPageWin& pw = Show(PageFixture(), nullptr, 150);
    pw.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 4 * pw.GetLineHeight()), 0);
    ASSERT_EQ(4, pw.GetTopLine());
    int nFrom = 5;
    while (nFrom < pw.GetLineCount() && (!IsTextPageLine(pw.GetLine(nFrom)) || pw.GetLine(nFrom).nLength < 4))
        ++nFrom;
    ASSERT_LT(nFrom, 4 + 150 / pw.GetLineHeight()) << "a text line on the page";
    const PageLine& line = pw.GetLine(nFrom);
    const CPoint from(line.x + kCharWidth + 2, (nFrom - 4) * pw.GetLineHeight() + 3);
    Press(from);
    MoveTo(from + CPoint(1, 0));
    MoveTo(CPoint(20, -10));
    EXPECT_EQ(3, pw.GetTopLine());
    MoveTo(CPoint(20, -12));
    EXPECT_EQ(2, pw.GetTopLine());
    Release();
    // The moving end is the first visible character's word.
    const PageLine& top = pw.GetLine(2);
    EXPECT_EQ(top.nSection, pw.GetSelectionFirstSection());
    EXPECT_EQ(static_cast<int>(top.dwStart), pw.GetSelectionStartOffset());
}

TEST_F(ArticlePageWinTest, ClicksFollowLinksAndIconsAndHoverShowsTheTarget)
{
    CReferenceFactory factory;
    AppServices().owned.pReferenceFactory = &factory;
    // The page's media line is a sound's (other kinds open in their views: the application
    // tests follow them).
    ArticleRecordSource fixture = PageFixture();
    fixture.media[0] = {6000001, 'S', 0};
    TestPageWin& pw = Show(fixture, nullptr, 400);

    // Hovering an article link: the status line gets a text and the link cursor shows; leaving
    // clears the status line.
    host.posted.clear();
    MoveTo(CharPoint(0, 3));
    std::vector<Posted> status = host.Take(VLM_STATUS_TEXT);
    ASSERT_EQ(1u, status.size());
    EXPECT_TRUE(status[0].lParam);
    EXPECT_TRUE(CArticlePageWin::IsStatusTextShown());
    HCURSOR hLinkCursor = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDC_PAGE_LINK));
    ASSERT_NE(nullptr, hLinkCursor) << "the program's link cursor";
    EXPECT_EQ(hLinkCursor, host::CurrentCursor());
    MoveTo(CharPoint(0, At(kFirst, "rock")));
    status = host.Take(VLM_STATUS_TEXT);
    ASSERT_EQ(2u, status.size());
    EXPECT_FALSE(status[1].lParam) << "leaving the link clears the status line";
    EXPECT_FALSE(CArticlePageWin::IsStatusTextShown());

    // Over a "TF:" link the time-link cursor shows.
    MoveTo(CharPoint(1, 2));
    HCURSOR hTimeCursor = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDC_PAGE_TIMEFRAME_LINK));
    ASSERT_NE(nullptr, hTimeCursor);
    EXPECT_NE(hLinkCursor, hTimeCursor);
    EXPECT_EQ(hTimeCursor, host::CurrentCursor());

    // A "TF:" link goes to the Dido Dovov view with the whole target text.
    Press(CharPoint(1, 2));
    Release();
    std::vector<Posted> linked = host.Take(VLM_SHOW_LINKED_SELECTION);
    ASSERT_EQ(1u, linked.size());
    EXPECT_EQ(static_cast<WPARAM>(IDW_TIMEFRAME), linked[0].wParam);
    EXPECT_EQ("TF:A190#D", linked[0].text);
    EXPECT_FALSE(pw.IsClickLocked());

    // A table icon asks the view for the table.
    int nTable = -1;
    for (int i = 0; i < pw.GetLineCount(); ++i)
        if (pw.GetLine(i).nKind == PAGE_LINE_TABLE_ICON)
            nTable = i;
    ASSERT_GE(nTable, 0);
    Press(CPoint(40, nTable * pw.GetLineHeight() + 8));
    Release();
    std::vector<Posted> tables = host.Take(VLM_PANE_TABLE);
    ASSERT_EQ(1u, tables.size());
    EXPECT_EQ(0, tables[0].lParam);
    // Past the icon's label nothing happens.
    Press(CPoint(32 + pw.GetIconLabelWidth(nTable) + 2, nTable * pw.GetLineHeight() + 8));
    Release();
    EXPECT_EQ(1u, host.Take(VLM_PANE_TABLE).size());
    // A sound's media line plays it with the line's distance from the top line.
    int nMedia = -1;
    for (int i = 0; i < pw.GetLineCount(); ++i)
        if (pw.GetLine(i).nKind == PAGE_LINE_MEDIA_ICON)
            nMedia = i;
    ASSERT_GT(nMedia, nTable);
    Press(CPoint(40, nMedia * pw.GetLineHeight() + 8));
    Release();
    ASSERT_EQ(1u, pw.sounds.size());
    EXPECT_EQ(6000001u, pw.sounds[0].first);
    EXPECT_EQ(nMedia, pw.sounds[0].second);

    // An article link opens the article and locks clicks until the next layout pass.
    Press(CharPoint(0, 3));
    Release();
    std::vector<Posted> opened = host.Take(VLM_OPEN_WINDOW);
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(static_cast<WPARAM>(IDW_ARTICLE), opened[0].wParam);
    EXPECT_EQ("vl://001006", opened[0].text);
    EXPECT_TRUE(pw.IsClickLocked());
    Press(CharPoint(0, 3));
    Release();
    EXPECT_TRUE(host.Take(VLM_OPEN_WINDOW).size() == 1) << "a locked page ignores clicks";
    AppServices().owned.pReferenceFactory = nullptr;
}

TEST_F(ArticlePageWinTest, DoubleClickLooksTheWordUpAndKeysScrollAndCommand)
{
    TestPageWin& pw = Show(PageFixture(), nullptr, 150);
    CWnd dictionary;
    ASSERT_TRUE(dictionary.CreateEx(0, AfxRegisterWndClass(0), "Dictionary", WS_POPUP, CRect(400, 50, 600, 300),
                                    nullptr, 0));
    CRecordingTarget target(TEXTDROP_RANK_DICTIONARY_PANE, TEXTDROP_LOOKUP, &dictionary);
    const CPoint pt = Screen(CharPoint(0, At(kFirst, "molten") + 2));
    ui::AdvanceClock(1000);
    host::Click(pt.x, pt.y);
    host::Click(pt.x, pt.y);
    ui::PumpUntilIdle();
    ASSERT_EQ(1u, target.received.size());
    EXPECT_EQ("molten", target.received[0].second);
    dictionary.DestroyWindow();

    const int nPage = 150 / pw.GetLineHeight();
    struct Key {
        UINT vk;
        bool ctrl;
        int top;
    } keys[] = {
        {VK_DOWN, false, 1}, {VK_NEXT, false, 1 + nPage}, {VK_UP, false, nPage}, {VK_PRIOR, false, 0},
        {VK_END, false, pw.GetLineCount() - nPage}, {VK_HOME, false, 0}, {VK_DOWN, true, 1},
    };
    for (const Key& k : keys) {
        if (k.ctrl)
            host::KeyDown(VK_CONTROL);
        host::PressKey(k.vk);
        if (k.ctrl)
            host::KeyUp(VK_CONTROL);
        ui::PumpUntilIdle();
        EXPECT_EQ(k.top, pw.GetTopLine()) << "key " << k.vk;
    }
    host::KeyDown(VK_CONTROL);
    host::PressKey('A');
    ui::PumpUntilIdle();
    EXPECT_TRUE(pw.IsSelectAll());
    host::PressKey('C');
    host::PressKey('N');
    host::KeyUp(VK_CONTROL);
    ui::PumpUntilIdle();
    EXPECT_EQ(1, host.copyCommands);
    EXPECT_EQ(1, pw.findNext);
}

TEST_F(ArticlePageWinTest, AWidthChangeRelaysOutAroundTheTopLineAndAHeightChangeKeepsTheLayout)
{
    TestPageWin& pw = Show(PageFixture(), nullptr, 150);
    pw.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 6 * pw.GetLineHeight()), 0);
    const PageLine top = pw.GetLine(pw.GetTopLine());
    const int nLinesBefore = pw.GetLineCount();

    pw.SetWindowPos(nullptr, 0, 0, 400 + CVLScrollWnd::GetVScrollBarWidth(), 150, SWP_NOMOVE | SWP_NOZORDER);
    ui::PumpUntilIdle();
    EXPECT_LT(pw.GetLineCount(), nLinesBefore) << "wider lines, fewer of them";
    const PageLine& now = pw.GetLine(pw.GetTopLine());
    EXPECT_EQ(top.nSection, now.nSection);
    EXPECT_LE(now.dwStart, top.dwStart);
    EXPECT_GE(now.dwStart + now.nLength, top.dwStart) << "the text that was at the top still is";

    const int nLines = pw.GetLineCount();
    const int nTop = pw.GetTopLine();
    pw.SetWindowPos(nullptr, 0, 0, 400 + CVLScrollWnd::GetVScrollBarWidth(), 120, SWP_NOMOVE | SWP_NOZORDER);
    ui::PumpUntilIdle();
    EXPECT_EQ(nLines, pw.GetLineCount());
    EXPECT_EQ(nTop, pw.GetTopLine());
}

// The sample disc's volcano article in the page's own fonts, as the reader sees it, at the top
// and scrolled, with a search hit and a selection.
TEST_F(ArticlePageWinTest, SampleArticleScreenshots)
{
    ASSERT_TRUE(LoadAppPalettes());
    discbuilder::SampleDiscReport disc = discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, HostT("sample"));
    ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", "T:\\sample\\info_dat\\", "T:\\vl00i1se.ini"));
    for (const auto& place : disc.articles) {
        if (place.rin != 1002 && place.rin != 1003)
            continue;
        doc = std::make_unique<CArticleDocument>();
        auto* pRef = new CPathReference("T:\\sample\\info_dat\\vl.dat", static_cast<LONG>(place.block),
                                        static_cast<LONG>(place.blockCount));
        auto* pHits = new CHitList;  // "crust" in the first section
        pHits->AddHit(CHitPosition(0, 39, 5));
        pRef->SetData(pHits);
        ASSERT_TRUE(doc->Open(pRef));
        page = std::make_unique<TestPageWin>();
        page->fixedFace = false;
        ASSERT_TRUE(page->Create("Article Text", WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 640, 480), &host, 1));
        page->ShowDocument(doc.get());
        ui::PumpUntilIdle();
        ASSERT_GT(page->GetLineCount(), 10);
        ui::dialog::Screenshot(page->GetSafeHwnd(), "article-page-" + std::to_string(place.rin) + ".png");
        page->GoToItem(PAGE_GOTO_SECTION, doc->GetSectionCount() - 1);
        ui::PumpUntilIdle();
        ui::dialog::Screenshot(page->GetSafeHwnd(), "article-page-" + std::to_string(place.rin) + "-last.png");
        page->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
        page->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
        page->SelectAll();
        ui::PumpUntilIdle();
        ui::dialog::Screenshot(page->GetSafeHwnd(), "article-page-" + std::to_string(place.rin) + "-selected.png");
        page.reset();
        doc.reset();
    }
}

}  // namespace
}  // namespace article_test
