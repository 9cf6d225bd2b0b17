// The Dido Dovov in the running program on the sample disc: an article's "tf:" link opens the
// view on its period with the article among the thumbnails, a thumbnail opens its item and
// Back returns to the same period; from the main menu a century filtered by a category, and an
// era of the disc's eras file. Screenshots at the three screen classes: the welcome page with
// the time machine, a result grid with the status strip, Era mode with its list open.
#include "AppTestSupport.h"

#include "article/ArticleMainWin.h"
#include "article/ArticlePageWin.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "explore/ThumbView.h"
#include "explore/TimeFrameMainWin.h"
#include "explore/TimeMachineWnd.h"
#include "explore/TimeStatWnd.h"
#include "widgets/Thumbnail.h"

#include <DialogDriver.h>

#include <host/Desktop.h>
#include <host/Input.h>

#include <algorithm>
#include <vector>

namespace apptest {
namespace {

constexpr int kDidoDovovRow = 6;

class DidoDovovAppTest : public AppTest {
protected:
    void TearDown() override
    {
        AppTest::TearDown();
        host::SetDesktopSize(1024, 768);
    }
    CTimeFrameMainWin* View() const { return DYNAMIC_DOWNCAST(CTimeFrameMainWin, Frame()->GetDlgItem(IDW_TIMEFRAME)); }
    // The item numbers of the grid, media cells then article cells.
    std::vector<LONG> Shown()
    {
        std::vector<LONG> numbers;
        CThumbView* thumbs = View()->GetThumbView();
        for (const auto* cells : {&thumbs->GetMediaCells(), &thumbs->GetArticleCells()})
            for (const CThumbView::Cell& cell : *cells)
                numbers.push_back(cell.pReference->GetNumber());
        return numbers;
    }
    bool Shows(LONG n)
    {
        const std::vector<LONG> shown = Shown();
        return std::find(shown.begin(), shown.end(), n) != shown.end();
    }
    std::string Status(int i) { return static_cast<LPCSTR>(View()->GetStatWnd()->GetField(i)); }
    void Click(CWnd* pWnd, CPoint point)
    {
        ui::AdvanceClock(1000);  // no double click with the click before
        pWnd->ClientToScreen(&point);
        host::Click(point.x, point.y);
        ui::PumpUntilIdle();
    }
    void ClickCentre(CWnd* pWnd)
    {
        CRect rect;
        pWnd->GetClientRect(&rect);
        Click(pWnd, rect.CenterPoint());
    }
    // A search puts the panel aside; the strip's button brings it back.
    void ShowPanel()
    {
        ASSERT_FALSE(View()->GetTimeMachine()->IsWindowVisible());
        ClickCentre(&View()->GetStatWnd()->GetShowButton());
        ASSERT_TRUE(View()->GetTimeMachine()->IsWindowVisible());
    }
};

TEST_F(DidoDovovAppTest, AnArticlesTimeLinkOpensItsPeriodAndBackReturnsToIt)
{
    CArticleMainWin* article = StartWithArticle(1001, "Aviation", true);
    ASSERT_NE(nullptr, article);
    CArticlePageWin* page = article->GetPageWin();
    page->UpdateWindow();
    int spot = -1;
    for (int i = 0; i < page->GetHotSpotCount() && spot < 0; ++i)
        if (page->GetLink(page->GetHotSpotLink(i)).wFlag == 1 && !CRect(page->GetHotSpotRect(i)).IsRectEmpty())
            spot = i;
    ASSERT_GE(spot, 0) << "the timeline link is on the first page";
    Click(page, CRect(page->GetHotSpotRect(spot)).CenterPoint());

    CTimeFrameMainWin* view = View();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(static_cast<CWnd*>(view), Frame()->GetCurrentMainWin());
    EXPECT_EQ("1900's", Status(1));
    EXPECT_EQ("Decade", Status(0));
    EXPECT_TRUE(Shows(1001)) << "Aviation mentions 1903 and 1909";
    EXPECT_FALSE(Shows(1002)) << "Volcano's years are 1912 and 1980";
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dido-dovov-link-1900s.png");

    // Aviation's thumbnail opens the article.
    CThumbnail* thumb = nullptr;
    for (const CThumbView::Cell& cell : view->GetThumbView()->GetArticleCells())
        if (cell.pReference->GetNumber() == 1001)
            thumb = cell.pThumb;
    ASSERT_NE(nullptr, thumb) << "the thumbnail is in view";
    // Its frame, not the mini-article's text inside it.
    Click(thumb, CPoint(1, 1));
    ui::PumpUntilIdle();

    // Aviation's years stand in its table: the article opens with its table shown.
    EXPECT_EQ(1001, article->GetArticleRin());
    EXPECT_EQ(IDW_TABLE, Frame()->GetCurrentMainWin()->GetDlgCtrlID());

    // Back: the Dido Dovov on the same period, without a new search.
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    ui::PumpUntilIdle();
    EXPECT_EQ(static_cast<CWnd*>(view), Frame()->GetCurrentMainWin());
    EXPECT_EQ("1900's", Status(1));
    EXPECT_TRUE(Shows(1001));
    EXPECT_EQ(std::string("A190#D"), static_cast<LPCSTR>(view->GetTimeMachine()->GetLastQuery()));
}

TEST_F(DidoDovovAppTest, MainMenuCenturyFilteredByCategoryAndAnEra)
{
    ASSERT_TRUE(Start(kDidoDovovRow));
    ui::PumpUntilIdle();
    CTimeFrameMainWin* view = View();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(static_cast<CWnd*>(view), Frame()->GetCurrentMainWin());
    CTimeMachineWnd* machine = view->GetTimeMachine();
    EXPECT_TRUE(view->GetThumbView()->IsWelcome());

    // Century, 1900, Geography, through the panel's own controls.
    ClickCentre(machine->GetButton(TM_ID_CENTURY));
    machine->GetDateCtrl().SetValue(1900);
    ClickCentre(&machine->GetCategoryFace());
    ASSERT_TRUE(machine->IsCategoryListOpen());
    CVLListWindow& list = machine->GetCategoryList();
    CRect row;
    list.GetItemRect(1, &row);
    Click(&list, row.CenterPoint());
    EXPECT_FALSE(machine->IsCategoryListOpen());
    EXPECT_EQ(1, machine->GetSelection().nCategory);
    ClickCentre(machine->GetButton(TM_ID_SEARCH));
    EXPECT_EQ("Century", Status(0));
    EXPECT_EQ("1900's", Status(1));
    EXPECT_EQ("Geography", Status(2));
    EXPECT_TRUE(Shows(1002)) << "Volcano (1912, 1980) is Geography";
    EXPECT_FALSE(Shows(1001)) << "Aviation is Industry / Technology";

    // All categories again: Aviation comes back from the same hits.
    ShowPanel();
    machine->ChooseCategory(0);
    ClickCentre(machine->GetButton(TM_ID_SEARCH));
    EXPECT_TRUE(Shows(1001));
    EXPECT_TRUE(Shows(1002));

    // Era mode: the disc's first era and its items.
    ShowPanel();
    ClickCentre(machine->GetButton(TM_ID_ERA));
    ASSERT_GE(machine->GetEras().GetEraCount(), 1);
    ClickCentre(&machine->GetEraFace());
    ASSERT_TRUE(machine->IsEraListOpen());
    CVLListWindow& eras = machine->GetEraList();
    eras.GetItemRect(1, &row);
    Click(&eras, row.CenterPoint());
    ClickCentre(machine->GetButton(TM_ID_SEARCH));
    EXPECT_EQ("Era", Status(0));
    CReferenceList expected;
    machine->GetEras().AppendEraItems(1, &expected);
    EXPECT_EQ(static_cast<size_t>(expected.GetCount()), Shown().size());
}

TEST_F(DidoDovovAppTest, TheViewAtEveryScreenClass)
{
    const struct {
        int width, height, screenClass;
    } cases[] = {{640, 480, 0}, {800, 600, 1}, {1024, 768, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        host::SetDesktopSize(c.width, c.height);
        for (int n = 0; n < 3; ++n) {
            auto name = Prog() / ("vl_res" + std::to_string(n) + ".dll");
            if (!std::filesystem::exists(name))
                std::filesystem::copy_file(std::filesystem::path(VL_LIBRARY_DIR) / name.filename(), name);
        }
        MakeApp();
        ASSERT_TRUE(Start(kDidoDovovRow));
        ui::PumpUntilIdle();
        ASSERT_EQ(c.screenClass, GetAppScreenClass());
        CTimeFrameMainWin* view = View();
        ASSERT_NE(nullptr, view);
        CTimeMachineWnd* machine = view->GetTimeMachine();
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dido-dovov-welcome-" + size + ".png");

        ClickCentre(machine->GetButton(TM_ID_DECADE));
        machine->GetDateCtrl().SetValue(1900);
        ClickCentre(machine->GetButton(TM_ID_SEARCH));
        EXPECT_EQ("1900's", Status(1));
        EXPECT_TRUE(view->GetStatWnd()->IsWindowVisible());
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dido-dovov-grid-" + size + ".png");

        ShowPanel();
        ClickCentre(machine->GetButton(TM_ID_ERA));
        ClickCentre(&machine->GetEraFace());
        EXPECT_TRUE(machine->GetEraList().IsWindowVisible());
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "dido-dovov-eras-" + size + ".png");
        Exit();
        ui::PumpUntilIdle();
    }
}

}  // namespace
}  // namespace apptest
