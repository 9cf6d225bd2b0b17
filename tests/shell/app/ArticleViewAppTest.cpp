// The article view in the running program on the sample disc: from the main menu to an article
// found by the search pane, through a link in the page to another article, and back; the
// automation object's current article.
#include "AppTestSupport.h"

#include "article/ArticleDocument.h"
#include "article/ArticleMainWin.h"
#include "article/ArticlePageWin.h"
#include "base/Reference.h"
#include "shell/Toolkit.h"
#include "shell/VeltraApplication.h"

#include <DialogDriver.h>

#include <host/Input.h>

namespace apptest {
namespace {

constexpr int kSearchTopicsRow = 3;

class ArticleViewAppTest : public AppTest {
protected:
    CBaseWindow* Frame() { return DYNAMIC_DOWNCAST(CBaseWindow, app->m_pMainWnd); }
    CArticleMainWin* View() { return DYNAMIC_DOWNCAST(CArticleMainWin, Frame()->GetDlgItem(IDW_ARTICLE)); }
};

TEST_F(ArticleViewAppTest, MainMenuToAnArticleThroughALinkAndBack)
{
    // The main menu's topic search brings up the article view with the search pane over it.
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, Frame());
    CArticleMainWin* view = View();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(static_cast<CWnd*>(view), Frame()->GetCurrentMainWin());

    // The Tool Kit as another view may have left it: every tool off.
    Frame()->GetToolkit()->EnableTools(FALSE, FALSE, FALSE, FALSE, TRUE);
    // A result the reader opens: the jazz article.
    auto* result = new CReference(1004, "Jazz");
    ASSERT_EQ(1004, result->GetNumber()) << "placed through the disc's content index";
    Frame()->GetSearchTabWin()->OpenResult(result);
    delete result;
    ui::PumpUntilIdle();
    ASSERT_EQ(1004, view->GetArticleRin());
    EXPECT_STREQ("Jazz", view->GetDocument()->GetTitle());
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "article-view-running.png");
    // The Tool Kit offers every tool for a disc article.
    CToolkit* toolkit = Frame()->GetToolkit();
    ASSERT_NE(nullptr, toolkit);
    const BOOL* tools = toolkit->GetRememberedTools();
    EXPECT_TRUE(tools[0] && tools[1] && tools[2] && tools[3]);
    EXPECT_TRUE(toolkit->GetTool(CToolkit::idStickyNote)->IsWindowEnabled());

    // The link to broadcasting in the page, clicked.
    CArticlePageWin* page = view->GetPageWin();
    page->UpdateWindow();
    int spot = -1;
    for (int i = 0; i < page->GetHotSpotCount() && spot < 0; ++i)
        if (page->GetLink(page->GetHotSpotLink(i)).dwNumber == 1007)
            spot = i;
    ASSERT_GE(spot, 0) << "the link is on the first page";
    CRect rect(page->GetHotSpotRect(spot));
    CPoint center = rect.CenterPoint();
    page->ClientToScreen(&center);
    host::Click(center.x, center.y);
    ui::PumpUntilIdle();
    ASSERT_EQ(1007, view->GetArticleRin());
    EXPECT_STREQ("Broadcasting", view->GetDocument()->GetTitle());

    // Back: the jazz article again, from the history.
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    ui::PumpUntilIdle();
    EXPECT_EQ(1004, view->GetArticleRin());
    EXPECT_STREQ("Jazz", view->GetDocument()->GetTitle());
    // And forward to broadcasting.
    Frame()->SendMessage(WM_COMMAND, ID_GO_FORWARD);
    ui::PumpUntilIdle();
    EXPECT_EQ(1007, view->GetArticleRin());
}

TEST_F(ArticleViewAppTest, GetCurrentArticleFormatsTheDiscArticleShown)
{
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    CArticleMainWin* view = View();
    ASSERT_NE(nullptr, view);
    CVeltraApplication automation;
    EXPECT_EQ(CString(""), automation.GetCurrentArticle()) << "no article shown";

    // Article 1234: a copy of the aviation article's record under that number.
    auto* ref = new CReference(1001, "");
    ref->SetNumber(1234);
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(ref));
    ui::PumpUntilIdle();
    ASSERT_EQ(1234, view->GetArticleRin());
    EXPECT_EQ(CString("001234"), automation.GetCurrentArticle());
}

}  // namespace
}  // namespace apptest
