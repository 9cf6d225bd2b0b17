// The article view at message level: showing articles in each mode with the same-article short
// cut, search results, history steps, table hits, a failed open that keeps the article shown,
// the recent-articles list in the profile, the update article's name and file, saving and
// copying, the title's fit, the pane buttons, and screenshots at the three screen classes.
#include "ArticleViewTestSupport.h"

#include "article/ClearWin.h"
#include "base/OnlineReference.h"
#include "base/Rin.h"
#include "widgets/RollOverButton.h"

#include <TestAppHost.h>
#include <host/Clock.h>

#include <unistd.h>

namespace article_test {
namespace {

// What a command-state update says.
struct CEnableProbe : CCmdUI {
    int nEnabled = -1;
    void Enable(BOOL bOn) override { nEnabled = bOn ? 1 : 0; }
};

// The rich article without its (made-up) picture bytes, which the page would report.
discbuilder::ArticleRecordSource Rich()
{
    discbuilder::ArticleRecordSource s = RichArticle();
    s.pictures.clear();
    return s;
}

CHitList* HitsAt(UINT nSection)
{
    auto* pHits = new CHitList;
    pHits->AddHit(CHitPosition(nSection, 0, 3));
    return pHits;
}

TEST_F(ArticleViewTest, ModesAndTheSameArticleShortCut)
{
    MakeView();
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(Plain(1001, "Aviation"), "a.rcv")));
    ui::PumpUntilIdle();
    ASSERT_EQ(1001, view->GetArticleRin());
    EXPECT_STREQ("Aviation", view->GetDocument()->GetTitle());
    EXPECT_EQ(view->GetDocument(), view->GetPageWin()->GetDocument());
    auto pushed = frame.Of(VLM_PUSH_STATE);
    ASSERT_EQ(1u, pushed.size());
    EXPECT_EQ(0u, pushed[0].wParam);
    EXPECT_EQ(1001, pushed[0].nRin);
    EXPECT_EQ(CString("Aviation"), pushed[0].strTitle);
    ASSERT_EQ(1u, frame.Of(VLM_RECENT_ARTICLES).size());

    // The same article again: no reload, no history entry.
    CArticleDocument* pShown = view->GetDocument();
    frame.log.clear();
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(Plain(1001, "Aviation"), "a.rcv")));
    ui::PumpUntilIdle();
    EXPECT_EQ(pShown, view->GetDocument());
    EXPECT_TRUE(frame.Of(VLM_PUSH_STATE).empty());

    // Mode 1 replaces the hits of the article shown and keeps the document.
    CFileReference* pHitRef = Article(Plain(1001, "Aviation"), "a.rcv");
    pHitRef->SetData(HitsAt(0));
    view->SendMessage(VLM_OPEN_WINDOW, 1, reinterpret_cast<LPARAM>(pHitRef));
    ui::PumpUntilIdle();
    EXPECT_EQ(pShown, view->GetDocument());
    ASSERT_NE(nullptr, view->GetDocument()->GetHitList());
    EXPECT_EQ(1, view->GetDocument()->GetHitList()->GetCount());
    EXPECT_TRUE(view->CanFindAgain());
    EXPECT_TRUE(frame.Of(VLM_PUSH_STATE).empty());

    // Mode 2 has no short cut: the article is read again and goes into the history.
    view->SendMessage(VLM_OPEN_WINDOW, 2, reinterpret_cast<LPARAM>(Article(Plain(1001, "Aviation"), "a.rcv")));
    ui::PumpUntilIdle();
    EXPECT_EQ(1u, frame.Of(VLM_PUSH_STATE).size());
    EXPECT_TRUE(view->GetDocument()->IsLoaded());

    // What the frame carries that is not a reference is freed, not shown.
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(new CArticleStateObj(nullptr)));
    EXPECT_EQ(1001, view->GetArticleRin());
}

TEST_F(ArticleViewTest, SearchResultsAndTheTableHit)
{
    MakeView();
    // A search result: the search pane is asked up, then the history gets the article.
    CFileReference* pFound = Article(Plain(1003, "Photosynthesis"), "p.rcv");
    pFound->SetData(HitsAt(0));
    view->SendMessage(VLM_OPEN_FOUND_ITEM, IDW_ARTICLE, reinterpret_cast<LPARAM>(pFound));
    ui::PumpUntilIdle();
    ASSERT_EQ(1003, view->GetArticleRin());
    ASSERT_GE(frame.log.size(), 2u);
    EXPECT_EQ(static_cast<UINT>(VLM_SHOW_SEARCH_PANE), frame.log[0].message);
    EXPECT_EQ(static_cast<UINT>(VLM_PUSH_STATE), frame.log[1].message);
    // A result that is not an article is not taken.
    auto* pMap = new CFileReference(3000001, "T:\\map.rcv", 1);
    pMap->SetKind(REFKIND_MAP);
    view->SendMessage(VLM_OPEN_FOUND_ITEM, IDW_ARTICLE, reinterpret_cast<LPARAM>(pMap));
    EXPECT_EQ(1003, view->GetArticleRin());

    // A result whose first hit is in table 1 opens the tables view on it; the only history entry
    // is the article with a single hit on that table, named after it.
    frame.log.clear();
    CFileReference* pTableHit = Article(Rich(), "v.rcv");
    pTableHit->SetData(HitsAt(201));
    view->SendMessage(VLM_OPEN_FOUND_ITEM, IDW_ARTICLE, reinterpret_cast<LPARAM>(pTableHit));
    ui::PumpUntilIdle();
    ASSERT_EQ(1002, view->GetArticleRin());
    auto pushed = frame.Of(VLM_PUSH_STATE);
    ASSERT_EQ(1u, pushed.size());
    EXPECT_EQ(201, pushed[0].nFirstHit);
    EXPECT_EQ(CString("Heights"), pushed[0].strTitle);
    auto tables = frame.Of(VLM_OPEN_WINDOW);
    ASSERT_EQ(1u, tables.size());
    EXPECT_EQ(static_cast<WPARAM>(IDW_TABLE), tables[0].wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(view->GetDocument()), tables[0].lParam);

    // The outline's table line asks for the same (no new history entry with the open flag).
    frame.log.clear();
    view->SendMessage(VLM_PANE_TABLE, 1, 0);
    ui::PumpUntilIdle();
    EXPECT_TRUE(frame.Of(VLM_PUSH_STATE).empty());
    EXPECT_EQ(1u, frame.Of(VLM_OPEN_WINDOW).size());
    // An index past the tables does nothing.
    frame.log.clear();
    view->SendMessage(VLM_PANE_TABLE, 0, 2);
    ui::PumpUntilIdle();
    EXPECT_TRUE(frame.log.empty());
}

TEST_F(ArticleViewTest, AnArticleThatCannotBeReadKeepsTheArticleShown)
{
    MakeView();
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(Plain(1001, "Aviation"), "a.rcv")));
    ui::PumpUntilIdle();
    frame.log.clear();

    // A missing file and a damaged one: the reader's message, then the previous article again.
    const struct {
        const char* name;
        std::string bytes;  // empty: no file
        const char* message;
    } cases[] = {
        {"missing", "", "Unable to access single article RCV file"},
        {"damaged", std::string(600, '\x7f'), "Article data damaged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = "T:\\gone.rcv";
        if (!c.bytes.empty())
            path = WriteRcv(c.bytes, "bad.rcv");
        host::AnswerMessageBox(c.message, IDOK);
        view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(new CFileReference(1005, path.c_str(), 2)));
        ui::PumpUntilIdle();
        EXPECT_EQ(0u, host::PendingMessageBoxAnswers()) << "the reader said why";
        EXPECT_EQ(1001, view->GetArticleRin());
        EXPECT_STREQ("Aviation", view->GetDocument()->GetTitle());
        EXPECT_EQ(view->GetDocument(), view->GetPageWin()->GetDocument());
        EXPECT_TRUE(frame.Of(VLM_PUSH_STATE).empty());
    }
    // The fatal path is the program's own again once the view is done.
    ARTICLE_EXIT_HANDLER pfn = SetArticleExitHandler(ThrowingExit);
    EXPECT_EQ(&ThrowingExit, pfn);
}

TEST_F(ArticleViewTest, HistoryStepsAndContributors)
{
    MakeView();
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(Plain(1001, "Aviation"), "a.rcv")));
    ui::PumpUntilIdle();
    frame.log.clear();

    // A step back to another article: the state goes back to the frame as a restore.
    auto* pState = new CArticleStateObj(Article(Plain(1004, "Jazz"), "j.rcv"));
    view->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(pState));
    ui::PumpUntilIdle();
    EXPECT_EQ(1004, view->GetArticleRin());
    auto pushed = frame.Of(VLM_PUSH_STATE);
    ASSERT_EQ(1u, pushed.size());
    EXPECT_EQ(static_cast<WPARAM>(VLM_RESTORE_STATE), pushed[0].wParam);
    EXPECT_EQ(1004, pushed[0].nRin);

    // A step to the article shown only brings the view up; the state goes back on the history,
    // where it is the current entry again (Back from another view to this article).
    frame.log.clear();
    CArticleDocument* pShown = view->GetDocument();
    view->SendMessage(VLM_RESTORE_STATE, 0,
                      reinterpret_cast<LPARAM>(new CArticleStateObj(Article(Plain(1004, "Jazz"), "j.rcv"))));
    ui::PumpUntilIdle();
    EXPECT_EQ(pShown, view->GetDocument());
    pushed = frame.Of(VLM_PUSH_STATE);
    ASSERT_EQ(1u, pushed.size());
    EXPECT_EQ(static_cast<WPARAM>(VLM_RESTORE_STATE), pushed[0].wParam);
    EXPECT_EQ(1004, pushed[0].nRin);
    frame.log.clear();

    // Contributors 5 is no list: nothing happens.
    view->SendMessage(VLM_CONTRIBUTORS, IDW_ARTICLE, 5);
    view->SendMessage(VLM_CONTRIBUTORS, IDW_ARTICLE, 0);
    ui::PumpUntilIdle();
    EXPECT_EQ(pShown, view->GetDocument());
    EXPECT_TRUE(frame.log.empty());
}

TEST_F(ArticleViewTest, TheToolKitGetsEveryToolAndStickyNotesOnlyForDiscArticles)
{
    CTestAppHost appHost;
    std::vector<std::vector<BOOL>> calls;
    appHost.enableTools = [&](BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember) {
        calls.push_back({bPrint, bSticky, bHighlighter, bWizard, bRemember});
    };
    MakeView();
    const struct {
        LONG rin;
        BOOL sticky;
    } cases[] = {{1001, TRUE}, {ARTICLE_ONLINE_RIN + 5, FALSE}, {1002, TRUE}};
    for (const auto& c : cases) {
        calls.clear();
        view->SendMessage(VLM_OPEN_WINDOW, 2,
                          reinterpret_cast<LPARAM>(Article(Plain(c.rin, "Tools"), std::to_string(c.rin) + ".rcv")));
        ui::PumpUntilIdle();
        ASSERT_EQ(c.rin, view->GetArticleRin());
        ASSERT_FALSE(calls.empty()) << c.rin;
        EXPECT_EQ((std::vector<BOOL>{TRUE, c.sticky, TRUE, TRUE, TRUE}), calls.back()) << c.rin;
    }
    // Brought up again (from another view), the article sets the tools again.
    calls.clear();
    view->ShowMainWindow(0, 0);
    ui::PumpUntilIdle();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ((std::vector<BOOL>{TRUE, TRUE, TRUE, TRUE, TRUE}), calls.back());
}

TEST_F(ArticleViewTest, RecentArticlesKeepTheLastFiveDiscArticles)
{
    ASSERT_TRUE(WritePrivateProfileString("ARTICLES", "1", "1002 Volcano", "T:\\vl00i1se.ini"));
    ASSERT_TRUE(WritePrivateProfileString("ARTICLES", "2", "no number", "T:\\vl00i1se.ini"));
    ASSERT_TRUE(WritePrivateProfileString("ARTICLES", "3", "0 Zero", "T:\\vl00i1se.ini"));
    ASSERT_TRUE(WritePrivateProfileString("ARTICLES", "4", "1001 Aviation", "T:\\vl00i1se.ini"));
    MakeView();
    ASSERT_EQ(2, view->GetRecentList()->GetCount()) << "entries without a space or with RIN 0 are skipped";
    EXPECT_EQ(1002, view->GetRecentList()->GetAtIndex(1)->GetNumber()) << "the newest last";

    auto key = [](int n) {
        char value[200];
        GetPrivateProfileString("ARTICLES", std::to_string(n).c_str(), "?", value, sizeof(value), "T:\\vl00i1se.ini");
        return std::string(value);
    };
    auto show = [&](int rin, const std::string& title) {
        view->SendMessage(VLM_OPEN_WINDOW, 2,
                          reinterpret_cast<LPARAM>(Article(Plain(rin, title), std::to_string(rin) + ".rcv")));
        ui::PumpUntilIdle();
    };
    // An article already in the list moves to key 1 without a duplicate.
    show(1001, "Aviation");
    EXPECT_EQ("1001 Aviation", key(1));
    EXPECT_EQ("1002 Volcano", key(2));
    EXPECT_EQ("", key(3));
    auto titles = frame.Of(VLM_RECENT_ARTICLES);
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ((std::vector<std::string>{"Aviation", "Volcano"}), titles.back().titles);

    // Six different articles: the last five stay, the newest under key 1.
    for (int i = 0; i < 6; ++i)
        show(1010 + i, "Article " + std::to_string(i));
    EXPECT_EQ("1015 Article 5", key(1));
    EXPECT_EQ("1011 Article 1", key(5));
    EXPECT_EQ(5, view->GetRecentList()->GetCount());

    // An online article stays in the menu list but is never written.
    frame.log.clear();
    show(ARTICLE_ONLINE_RIN + 5, "Online news");
    EXPECT_EQ("1015 Article 5", key(1));
    EXPECT_EQ("", key(5));
    titles = frame.Of(VLM_RECENT_ARTICLES);
    ASSERT_EQ(1u, titles.size());
    EXPECT_EQ("Online news", titles[0].titles.front());

    // The menu's position 0 is the newest: a clone goes to the frame for the article view.
    frame.log.clear();
    view->SendMessage(VLM_OPEN_RECENT, 0, 1);
    ui::PumpUntilIdle();
    auto opened = frame.Of(VLM_OPEN_WINDOW);
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(static_cast<WPARAM>(IDW_ARTICLE), opened[0].wParam);
    EXPECT_EQ(1015, opened[0].nRin);
}

TEST_F(ArticleViewTest, TheUpdateArticleIsThisMonthsDownload)
{
    const struct {
        WORD year, month;
        const char* name;
    } names[] = {{2000, 1, "yb200901"}, {1999, 10, "yb199910"}, {1999, 12, "yb199912"}};
    for (const auto& n : names) {
        SYSTEMTIME date = {};
        date.wYear = n.year;
        date.wMonth = n.month;
        EXPECT_EQ(CString(n.name), CArticleMainWin::UpdateArticleName(date));
    }

    // With the clock in March 2000 the view opens yb200903 from the download folder.
    host::UseTestClock(952041600000LL);  // 2000-03-03 00:00 UTC
    discbuilder::ArticleRecordSource update = Plain(1001, "This month");
    dir.Write("t/download/yb200903.rcv", discbuilder::WriteArticleRecord(update));
    MakeView();
    host::UseRealClock();
    ASSERT_TRUE(view->GetDocument()->IsLoaded());
    EXPECT_STREQ("This month", view->GetDocument()->GetTitle());
    EXPECT_EQ(static_cast<LONG>(CRin("yb200903", FALSE).GetNumber()), view->GetArticleRin());
}

TEST_F(ArticleViewTest, WithoutTheUpdateArticleTheViewStartsEmpty)
{
    MakeView();
    EXPECT_FALSE(view->GetDocument()->IsLoaded());
    EXPECT_EQ(0, view->GetArticleRin());
    EXPECT_EQ(0u, host::MessageBoxLog().size());
    EXPECT_TRUE(view->CanPrint()) << "the article view always offers Print";
}

TEST_F(ArticleViewTest, SaveAsTextAndCopy)
{
    MakeView();
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(Rich(), "v.rcv")));
    ui::PumpUntilIdle();

    // Saved: every run with text, each followed by a blank line.
    host::AnswerCommonDialog("save", "T:\\saved.txt");
    view->SendMessage(VLM_SAVE_AS);
    EXPECT_EQ("A volcano is an opening.\r\n\r\nLava flows.\r\n\r\n\r\n\r\nQuiet\r\n\r\nRunny lava.\r\n\r\n",
              dir.Read("t/saved.txt"));
    // Cancelled: nothing written, nothing said.
    host::CancelCommonDialog("save");
    view->SendMessage(VLM_SAVE_AS);
    EXPECT_EQ(0u, host::MessageBoxLog().size());

    // A full disk: the message, and no file cut short left behind.
    ASSERT_EQ(0, symlink("/dev/full", HostT("full.txt").c_str()));
    host::AnswerCommonDialog("save", "T:\\full.txt");
    host::AnswerMessageBox("already exists", IDYES);
    host::AnswerMessageBox("Error writing file.  File not saved.", IDOK);
    view->SendMessage(VLM_SAVE_AS);
    EXPECT_EQ(2, static_cast<int>(host::MessageBoxLog().size()));
    EXPECT_EQ("Error writing file.  File not saved.", host::MessageBoxLog().back().text);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(HostT("full.txt"))));

    // Copy: the page's selection as text, only while the page has the focus.
    view->SendMessage(VLM_SELECT_ALL);
    view->GetPageWin()->SetFocus();
    CEnableProbe state;
    view->OnUpdateEditCopy(&state);
    EXPECT_EQ(1, state.nEnabled);
    view->OnEditCopy();
    ASSERT_TRUE(::OpenClipboard(NULL));
    HANDLE hText = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(nullptr, hText);
    std::string copied = static_cast<const char*>(::GlobalLock(hText));
    ::GlobalUnlock(hText);
    ::EmptyClipboard();
    ::CloseClipboard();
    EXPECT_NE(std::string::npos, copied.find("A volcano is an opening.")) << copied;
    frame.SetFocus();
    view->OnEditCopy();
    ASSERT_TRUE(::OpenClipboard(NULL));
    EXPECT_EQ(nullptr, ::GetClipboardData(CF_TEXT)) << "the focus is elsewhere: nothing copied";
    ::CloseClipboard();
}

TEST_F(ArticleViewTest, TitleShrinksInStepsOfFourUntilItFits)
{
    MakeView();
    CClientDC dc(view);
    const CRect band(255, 4, 790, 38);
    int nDrop = 0;
    EXPECT_EQ(32, CArticleMainWin::FitTitleHeight(&dc, "Volcano", band, nDrop));
    EXPECT_EQ(0, nDrop);
    // One word far wider than the band: down from 32 by 4 and no lower than 16.
    EXPECT_EQ(16, CArticleMainWin::FitTitleHeight(&dc, CString('W', 120), band, nDrop));
    // Words wrap: the height comes down until the lines fit the band's height.
    const int nWrapped = CArticleMainWin::FitTitleHeight(
        &dc, "The long history of printing with movable type in Europe and Asia", band, nDrop);
    EXPECT_LT(nWrapped, 32);
    EXPECT_EQ(0, (32 - nWrapped) % 4);
    EXPECT_GE(nDrop, 0);
}

TEST_F(ArticleViewTest, PaneButtonsOpenOnePaneAtATime)
{
    MakeView();
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(Rich(), "v.rcv")));
    ui::PumpUntilIdle();
    EXPECT_TRUE(view->GetRelatedButton()->IsWindowEnabled()) << "the article has related items";
    EXPECT_FALSE(view->GetOnlineButton()->IsWindowEnabled());

    view->SendMessage(WM_COMMAND, ID_TOGGLE_OUTLINE);
    EXPECT_EQ(ARTICLE_PANE_OUTLINE, view->GetOpenPane());
    EXPECT_TRUE(view->GetOutlinePane()->IsWindowVisible());
    EXPECT_TRUE(view->GetOutlineButton()->IsAlternate());
    view->SendMessage(WM_COMMAND, ID_TOGGLE_RELATED);
    EXPECT_EQ(ARTICLE_PANE_RELATED, view->GetOpenPane());
    EXPECT_FALSE(view->GetOutlinePane()->IsWindowVisible());
    EXPECT_TRUE(view->GetRelatedPane()->IsWindowVisible());
    EXPECT_FALSE(view->GetOutlineButton()->IsAlternate());

    // Twice the same button: no pane, the focus on the page.
    view->SendMessage(WM_COMMAND, ID_TOGGLE_OUTLINE);
    view->SendMessage(WM_COMMAND, ID_TOGGLE_OUTLINE);
    EXPECT_EQ(ARTICLE_PANE_NONE, view->GetOpenPane());
    EXPECT_FALSE(view->GetOutlinePane()->IsWindowVisible());
    EXPECT_FALSE(view->GetRelatedPane()->IsWindowVisible());
    EXPECT_EQ(view->GetPageWin(), CWnd::GetFocus());

    // The pane's own close leaves no pane open.
    view->SendMessage(WM_COMMAND, ID_TOGGLE_OUTLINE);
    view->GetOutlinePane()->SendMessage(WM_CLOSE);
    EXPECT_EQ(ARTICLE_PANE_NONE, view->GetOpenPane());
    EXPECT_FALSE(view->GetOutlineButton()->IsAlternate());

    // The outline's section choice moves the page; the page's scrolling moves the outline.
    view->SendMessage(VLM_PANE_SECTION, 0, 1);
    HTREEITEM hSelected = view->GetOutlinePane()->GetList().GetCurrentItemId();
    EXPECT_EQ(MakeLineCode(OUTLINE_SECTION, 1), view->GetOutlinePane()->GetItemCode(hSelected));
}

TEST_F(ArticleViewTest, ScreenshotsAtTheThreeScreenClasses)
{
    const struct {
        int cls, width, height;
        const char* name;
    } classes[] = {{0, 640, 480, "article-view-640.png"},
                   {1, 800, 600, "article-view-800.png"},
                   {2, 1024, 768, "article-view-1024.png"}};
    for (const auto& c : classes) {
        SCOPED_TRACE(c.name);
        MakeView(c.cls, c.width, c.height);
        view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(Sample("1002-volcano.txt"), "v.rcv")));
        ui::PumpUntilIdle();
        view->SendMessage(WM_COMMAND, ID_TOGGLE_OUTLINE);
        ui::PumpUntilIdle();
        const CRect& text = view->GetTextRect();
        EXPECT_EQ(c.height - 50, text.bottom);
        EXPECT_LE(text.right, c.width);
        CRect pane;
        view->GetOutlinePane()->GetWindowRect(&pane);
        EXPECT_EQ(view->GetSidePaneRect().Width(), pane.Width());
        view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ui::PumpUntilIdle();
        ui::dialog::Screenshot(frame.GetSafeHwnd(), c.name);
        DestroyView();
    }
}

TEST_F(ArticleViewTest, TheClearWindowPaintsItsColour)
{
    MakeView();
    CClearWin clear;
    EXPECT_EQ(PALETTERGB(0, 0, 0), clear.GetColor());
    ASSERT_TRUE(clear.Create(CRect(0, 0, 200, 100), &frame));
    EXPECT_EQ(IDW_CLEAR, clear.GetDlgCtrlID());
    clear.SetColor(RGB(200, 40, 40));
    clear.ShowWindow(SW_SHOW);
    clear.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    clear.UpdateWindow();
    CClientDC dc(&clear);
    EXPECT_EQ(RGB(200, 40, 40), dc.GetPixel(100, 50));
}

}  // namespace
}  // namespace article_test
