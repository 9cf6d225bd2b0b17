// The random browsing view in the running program on the sample disc: from the main menu to a
// Geography list of 20 thumbnails, a thumbnail opened by a click and Back to the same list, a
// FIND by typing, and screenshots of the welcome, a random list and the open FIND panel at each
// screen class.
#include "AppTestSupport.h"

#include "article/ArticleMainWin.h"
#include "base/Reference.h"
#include "explore/JustLookingChoiceWnd.h"
#include "explore/JustLookingEditListSearch.h"
#include "explore/JustLookingListContainer.h"
#include "explore/JustLookingMainWin.h"
#include "explore/JustLookingShowListBox.h"
#include "widgets/Thumbnail.h"

#include <DialogDriver.h>
#include <host/Clock.h>
#include <host/Display.h>
#include <host/Input.h>

#include <string>
#include <vector>

namespace apptest {
namespace {

class DadaVaverozAppTest : public AppTest {
protected:
    void TearDown() override
    {
        AppTest::TearDown();
        host::SetDesktopSize(1024, 768);
    }
    CJustLookingMainWin* View() const
    {
        return dynamic_cast<CJustLookingMainWin*>(Frame()->GetDlgItem(IDW_JUSTLOOKING));
    }
    void Settle()
    {
        ui::PumpUntilIdle();
        for (LONG count = 0; count < 4; ++count)
            app->OnIdle(count);
        host::StepClock(300);
        ui::PumpUntilIdle();
    }
    // A click at the middle of a window.
    static void ClickOn(CWnd* pWnd)
    {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        host::Click(rect.CenterPoint().x, rect.CenterPoint().y);
    }
    // The category list's row chosen as the reader chooses it: the caption opens the list, the
    // row is selected.
    void ChooseCategory(int nRow)
    {
        ClickOn(View()->GetCategoryChoice());
        Settle();
        CJustLookingListContainer* pList = View()->GetCategoryList();
        ASSERT_TRUE(pList->IsWindowVisible());
        pList->GetListBox().SetCurSel(nRow);
        pList->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_JL_CATEGORYLIST, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(pList->GetListBox().GetSafeHwnd()));
        Settle();
    }
    std::vector<LONG> Shown() const
    {
        std::vector<LONG> numbers;
        for (int i = 0; i < View()->GetThumbnailCount(); ++i)
            numbers.push_back(View()->GetThumbnail(i) != nullptr ? View()->GetThumbnail(i)->GetReference()->GetNumber() : 0);
        return numbers;
    }
    void Refresh()
    {
        Frame()->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ui::PumpUntilIdle();
    }
};

TEST_F(DadaVaverozAppTest, GeographyAtRandomOpensAThumbnailAndBackRestoresTheList)
{
    srand(5);
    ASSERT_TRUE(Start(kBrowseRow));
    Settle();
    CJustLookingMainWin* view = View();
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(static_cast<CWnd*>(view), Frame()->GetCurrentMainWin());
    CRect client;
    view->GetClientRect(&client);
    ASSERT_GE(client.Width(), 800);
    ASSERT_GE(client.Height(), 600);
    EXPECT_EQ(20, view->GetListSize());
    EXPECT_TRUE(view->IsWelcome());

    ChooseCategory(1);
    EXPECT_EQ("Geography", std::string(view->GetCategoryChoice()->GetCaption()));
    CWnd* pRandom = view->GetDlgItem(IDC_JL_RANDOM);
    ASSERT_NE(nullptr, pRandom);
    ClickOn(pRandom);
    Settle();
    ASSERT_EQ(20, view->GetThumbnailCount());
    const std::vector<LONG> shown = Shown();
    for (int i = 0; i < 20; ++i) {
        ASSERT_NE(nullptr, view->GetThumbnail(i)) << i;
        EXPECT_TRUE(view->GetThumbnail(i)->IsWindowVisible()) << i;
    }
    Refresh();
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dada-vaveroz-app-geography.png");

    // An article's thumbnail clicked: the article view shows it.
    int nSlot = -1;
    for (int i = 0; i < 20 && nSlot < 0; ++i)
        if (view->GetThumbnail(i)->GetReference()->GetKind() == REFKIND_ARTICLE)
            nSlot = i;
    ASSERT_GE(nSlot, 0) << "the sample disc's Geography has articles";
    const LONG nArticle = shown[nSlot];
    ClickOn(view->GetThumbnail(nSlot));
    Settle();
    ASSERT_NE(nullptr, Article());
    ASSERT_EQ(static_cast<CWnd*>(Article()), Frame()->GetCurrentMainWin());
    EXPECT_EQ(nArticle, Article()->GetArticleRin());

    // Back: the same thumbnails in the same slots.
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    Settle();
    ASSERT_EQ(static_cast<CWnd*>(view), Frame()->GetCurrentMainWin());
    EXPECT_EQ(shown, Shown());
    EXPECT_EQ("Geography", std::string(view->GetCategoryChoice()->GetCaption()));
    Refresh();
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dada-vaveroz-app-back.png");

    // FIND with every item: typing "Vol" and Enter place Volcano in the first slot.
    ChooseCategory(0);
    ClickOn(view->GetDlgItem(IDC_JL_FINDCHOICE));
    Settle();
    ASSERT_TRUE(view->IsFindPanelShown());
    ASSERT_EQ(static_cast<CWnd*>(view->GetSearchEdit()), CWnd::GetFocus());
    host::TypeText("Vol");
    Settle();
    Refresh();
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dada-vaveroz-app-find-vol.png");
    host::PressKey(VK_RETURN);
    Settle();
    ASSERT_GE(view->GetThumbnailCount(), 1);
    EXPECT_EQ("Volcano", std::string(view->GetResults()[0].m_strTitle));
    EXPECT_EQ(1002, view->GetThumbnail(0)->GetReference()->GetNumber());
}

TEST_F(DadaVaverozAppTest, WelcomeRandomListAndFindPanelAtEveryScreenClass)
{
    const struct {
        int width, height, size;
    } cases[] = {{640, 480, 8}, {800, 600, 12}, {1024, 768, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        host::SetDesktopSize(c.width, c.height);
        for (int n = 0; n < 3; ++n) {
            auto name = Prog() / ("vl_res" + std::to_string(n) + ".dll");
            if (!std::filesystem::exists(name))
                std::filesystem::copy_file(std::filesystem::path(VL_LIBRARY_DIR) / name.filename(), name);
        }
        MakeApp();
        ASSERT_TRUE(Start(kBrowseRow));
        Settle();
        CJustLookingMainWin* view = View();
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(c.size, view->GetListSize());
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        Refresh();
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dada-vaveroz-welcome-" + size + ".png");
        view->SendMessage(WM_COMMAND, IDC_JL_RANDOM);
        Settle();
        EXPECT_EQ(c.size, view->GetThumbnailCount());
        Refresh();
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dada-vaveroz-random-" + size + ".png");
        view->SendMessage(WM_COMMAND, IDC_JL_FINDCHOICE);
        Settle();
        EXPECT_TRUE(view->IsFindPanelShown());
        Refresh();
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dada-vaveroz-find-" + size + ".png");
        Exit();
    }
}

}  // namespace
}  // namespace apptest
