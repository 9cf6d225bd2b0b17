// The Dido Dovov's thumbnail grid: the cells of a selection (the hundred-cell cap shared by
// kind), their layout at both cell widths, thumbnails made only as cells scroll into view on the
// sample disc, scrolling, opening by kind, the welcome page and an empty selection. Screenshots
// of the welcome page and of a mixed grid scrolled to its middle.
#include "MediaTestSupport.h"

#include "base/AppDatabase.h"
#include "base/AppServices.h"
#include "base/ReferenceList.h"
#include "base/ResourceLibrary.h"
#include "base/VLDatabase.h"
#include "base/VLMessages.h"
#include "explore/ThumbView.h"
#include "media/MediaDisplayRef.h"
#include "media/ThumbnailFactory.h"
#include "widgets/Thumbnail.h"

#include <DialogDriver.h>
#include <SampleDisc.h>

#include <map>
#include <memory>
#include <set>

namespace explore_test {
namespace {

CReference* Item(LONG nNumber, LONG nKind, LPCSTR lpszTitle)
{
    auto* pRef = new CReference;
    pRef->SetNumber(nNumber);
    pRef->SetKind(nKind);
    pRef->SetTitle(lpszTitle);
    return pRef;
}

// m media (pictures) and a articles, mixed in the list.
void FillList(CReferenceList& list, int m, int a)
{
    for (int i = 0; i < std::max(m, a); ++i) {
        if (i < m)
            list.Append(Item(1001000 + i, REFKIND_PICTURE, "Picture"));
        if (i < a)
            list.Append(Item(2000 + i, REFKIND_ARTICLE, "Article"));
    }
    list.Append(Item(3000001, REFKIND_MAP, "A map is not in the grid"));
    list.Append(Item(4060001, REFKIND_TIMELINE, "Nor is a timeline"));
}

class ThumbViewTest : public media_test::MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW)), "Main", WS_POPUP | WS_VISIBLE,
                                  CRect(0, 0, 820, 600), nullptr, 0));
        app.m_pMainWnd = &main;
    }
    void TearDown() override
    {
        view.reset();
        DropPosted();
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        AppServices().owned.pThumbnailFactory = NULL;
        factory.reset();
        SetAppDatabase(NULL);
        db.Close();
        MediaTest::TearDown();
    }
    // The view as a child of the main window with a client area of that size.
    void MakeView(int width, int height)
    {
        view = std::make_unique<CThumbView>();
        ASSERT_TRUE(view->Create(NULL, "Thumbnail View", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL,
                                 CRect(0, 40, width, 40 + height), &main, 8100));
        CRect client;
        view->GetClientRect(&client);
        view->SetWindowPos(NULL, 0, 40, 2 * width - client.Width(), 2 * height - client.Height(), SWP_NOZORDER);
        view->GetClientRect(&client);
        ASSERT_EQ(width, client.Width());
        ASSERT_EQ(height, client.Height());
    }
    // The disc's thumbnails: the sample disc, its content index, database and a factory.
    void UseSampleDisc()
    {
        discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "t" / "disc");
        ASSERT_TRUE(m_table.LoadTable());
        AppServices().owned.pSearchEngine = &m_table;
        ASSERT_TRUE(db.OpenDatabase("T:\\disc\\info_dat\\"));
        SetAppDatabase(&db);
        AppServices().owned.pThumbnailFactory = factory.get();
    }
    // The next posted open message for the main window (its object deleted): wParam and item.
    std::pair<UINT, std::pair<WPARAM, LONG>> TakePosted()
    {
        MSG msg;
        if (!::PeekMessage(&msg, main.GetSafeHwnd(), VLM_OPEN_WINDOW, VLM_POST_TO_WINDOW, PM_REMOVE))
            return {0, {0, 0}};
        LONG nNumber = 0;
        if (msg.message == VLM_OPEN_WINDOW) {
            auto* pRef = reinterpret_cast<CReference*>(msg.lParam);
            nNumber = pRef->GetNumber();
            delete pRef;
        } else {
            auto* pDisplay = reinterpret_cast<CMediaDisplayRef*>(msg.lParam);
            lastDisplay.clear();
            for (int i = 0; i < pDisplay->GetMediaList()->GetCount(); ++i)
                lastDisplay.push_back(static_cast<LPCSTR>(pDisplay->GetMediaList()->GetAtIndex(i)->GetTitle()));
            nNumber = pDisplay->GetReference()->GetNumber();
            delete pDisplay;
        }
        return {msg.message, {msg.wParam, nNumber}};
    }
    void DropPosted()
    {
        while (TakePosted().first != 0) {
        }
    }
    void Scroll(UINT nCode, int nPos = 0) { view->SendMessage(WM_VSCROLL, MAKEWPARAM(nCode, nPos), 0); }
    // Every placed cell has a thumbnail when its top lies above the client area's last 157 pixels
    // and its row reaches into view (a row scrolled half out still shows), and every thumbnail
    // stands at its cell.
    void ExpectThumbnailsInViewOnly()
    {
        CRect client;
        view->GetClientRect(&client);
        const int top = view->GetScrollPosition(), bottom = top + client.Height() - THUMBVIEW_VIEW_MARGIN;
        for (const auto* pCells : {&view->GetMediaCells(), &view->GetArticleCells()}) {
            for (const CThumbView::Cell& cell : *pCells) {
                SCOPED_TRACE(std::to_string(cell.x) + "," + std::to_string(cell.y));
                if (cell.y < bottom && cell.y + THUMBVIEW_ROW_HEIGHT > top) {
                    EXPECT_NE(nullptr, cell.pThumb);
                }
                if (cell.pThumb == nullptr)
                    continue;
                CRect rect;
                cell.pThumb->GetWindowRect(&rect);
                view->ScreenToClient(&rect);
                EXPECT_EQ(CPoint(cell.x, cell.y - top), rect.TopLeft());
            }
        }
    }
    int Thumbnails() const
    {
        int n = 0;
        for (const auto* pCells : {&view->GetMediaCells(), &view->GetArticleCells()})
            for (const CThumbView::Cell& cell : *pCells)
                n += cell.pThumb != nullptr ? 1 : 0;
        return n;
    }

    CWnd main;
    std::unique_ptr<CThumbView> view;
    std::unique_ptr<CThumbnailFactory> factory = std::make_unique<CThumbnailFactory>();
    CVLDatabase db;
    CRomLinkTable m_table;
    std::vector<std::string> lastDisplay;
};

TEST_F(ThumbViewTest, TheCellsOfASelectionShareTheHundredByKind)
{
    MakeView(640, 500);
    struct Case {
        int media, articles;
        std::size_t mediaCells, articleCells;
    };
    for (const Case& c : {Case{150, 50, 75, 25}, Case{30, 90, 25, 75}, Case{60, 40, 60, 40}, Case{3, 0, 3, 0}, Case{0, 0, 0, 0}}) {
        SCOPED_TRACE(std::to_string(c.media) + " media, " + std::to_string(c.articles) + " articles");
        CReferenceList list;
        FillList(list, c.media, c.articles);
        view->SetList(&list);
        EXPECT_EQ(c.mediaCells, view->GetMediaCells().size());
        EXPECT_EQ(c.articleCells, view->GetArticleCells().size());
        // Clones, in list order.
        if (!view->GetMediaCells().empty()) {
            EXPECT_NE(list.GetAtIndex(0), view->GetMediaCells()[0].pReference);
            EXPECT_EQ(1001000, view->GetMediaCells()[0].pReference->GetNumber());
            EXPECT_EQ(1001000 + static_cast<LONG>(c.mediaCells) - 1, view->GetMediaCells().back().pReference->GetNumber());
        }
    }
}

TEST_F(ThumbViewTest, LayoutPlacesEveryCellInRowsOfAlternatingKinds)
{
    for (const int width : {640, 641}) {
        SCOPED_TRACE(width);
        MakeView(width, 500);
        const int cellWidth = width == 640 ? 155 : 156;
        EXPECT_EQ(cellWidth, CThumbView::CellWidthFor(width));
        EXPECT_EQ(4, CThumbView::ColumnsFor(width));
        CReferenceList list;
        FillList(list, 150, 50);
        view->SetList(&list);
        view->Layout();
        // Each place is taken once; the grid is 4 wide and 25 rows deep.
        std::map<std::pair<int, int>, char> grid;
        for (const CThumbView::Cell& cell : view->GetMediaCells()) {
            EXPECT_TRUE(cell.bPlaced);
            EXPECT_TRUE(grid.emplace(std::make_pair(cell.y, cell.x), 'M').second);
        }
        for (const CThumbView::Cell& cell : view->GetArticleCells()) {
            EXPECT_TRUE(cell.bPlaced);
            EXPECT_TRUE(grid.emplace(std::make_pair(cell.y, cell.x), 'A').second);
        }
        ASSERT_EQ(100u, grid.size());
        std::vector<std::string> rows;
        for (const auto& [place, kind] : grid) {
            const int row = (place.first - 10) / 170, column = (place.second - 10) / cellWidth;
            ASSERT_EQ(place.first, 10 + row * 170);
            ASSERT_EQ(place.second, 10 + column * cellWidth);
            ASSERT_LT(column, 4);
            if (rows.size() <= static_cast<std::size_t>(row))
                rows.resize(row + 1);
            rows[row] += kind;
        }
        ASSERT_EQ(25u, rows.size());
        EXPECT_EQ("AMAM", rows[0]);
        EXPECT_EQ("MAMA", rows[1]);
        EXPECT_EQ("AMMM", rows[12]) << "the 25th article opens row 12, then only media remain";
        EXPECT_EQ("MMMM", rows[13]);
        EXPECT_EQ("MMMM", rows[24]);
        EXPECT_EQ(10 + 24 * 170 + 180 - 500, view->GetMaxScroll());
        // No factory here: no thumbnails, and the welcome page is left.
        view->Realize(TRUE);
        EXPECT_FALSE(view->IsWelcome());
        EXPECT_EQ(0, Thumbnails());
    }
}

TEST_F(ThumbViewTest, ASelectionWithNoHitsLeavesAnEmptyGrid)
{
    MakeView(640, 400);
    EXPECT_TRUE(view->IsWelcome());
    CReferenceList empty;
    view->SetList(&empty);
    view->Layout();
    view->Realize(TRUE);
    EXPECT_FALSE(view->IsWelcome()) << "the welcome page does not come back";
    EXPECT_TRUE(view->GetMediaCells().empty());
    EXPECT_TRUE(view->GetArticleCells().empty());
    EXPECT_EQ(0, view->GetMaxScroll());
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(0, view->GetScrollPosition());
}

TEST_F(ThumbViewTest, ThumbnailsAreMadeAsTheirCellsScrollIntoViewAndOpenByKind)
{
    UseSampleDisc();
    // The welcome page first.
    MakeView(780, 500);
    main.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(main.GetSafeHwnd(), "dido-dovov-welcome.png");

    // The sample disc's picture items and its articles (the Dido Dovov's first eras and the
    // countries of the atlas).
    CReferenceList list;
    for (LONG n : {4010001L, 4010002L, 6000001L, 6000002L, 4050001L, 3000001L, 3000002L, 1001001L, 1001002L, 1001003L,
                   1001004L, 1001005L, 4030001L, 4030002L, 4020001L, 4020002L, 4040001L})
        list.Append(new CReference(n, "Media"));
    for (LONG n = 1001; n <= 1007; ++n)
        list.Append(new CReference(n, "An article"));
    for (LONG n = 1100; n <= 1132; ++n)
        list.Append(new CReference(n, "A country"));
    view->SetList(&list);
    ASSERT_EQ(15u, view->GetMediaCells().size()) << "the two maps are not in the grid";
    ASSERT_EQ(40u, view->GetArticleCells().size());
    view->Layout();
    view->Realize(TRUE);
    EXPECT_EQ(10 + 10 * 170 + 180 - 500, view->GetMaxScroll()) << "5 columns, 11 rows";
    EXPECT_EQ(10, Thumbnails()) << "two rows in view";
    ExpectThumbnailsInViewOnly();

    // Dragging the thumb does not scroll; letting it go does.
    Scroll(SB_THUMBTRACK, 600);
    EXPECT_EQ(0, view->GetScrollPosition());
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(250, view->GetScrollPosition());
    ExpectThumbnailsInViewOnly();
    EXPECT_EQ(20, Thumbnails());
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(275, view->GetScrollPosition());
    Scroll(SB_LINEUP);
    Scroll(SB_PAGEUP);
    EXPECT_EQ(0, view->GetScrollPosition());
    EXPECT_EQ(20, Thumbnails()) << "thumbnails stay once made";
    Scroll(SB_THUMBPOSITION, 9999);
    EXPECT_EQ(view->GetMaxScroll(), view->GetScrollPosition());
    for (const auto& box : NewBoxes())
        ADD_FAILURE() << box;

    ExpectThumbnailsInViewOnly();
    Scroll(SB_THUMBPOSITION, view->GetMaxScroll() / 2);
    ExpectThumbnailsInViewOnly();
    EXPECT_TRUE(NewBoxes().empty());
    main.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(main.GetSafeHwnd(), "dido-dovov-grid-middle.png");
    DropPosted();

    // Opening: articles in the article view, maps in the atlas, media in the media view with
    // every media item of the grid, "No Title" for an empty title.
    view->GetMediaCells()[1].pReference->SetTitle("");
    view->SendMessage(VLM_THUMB_PRESS, 0, reinterpret_cast<LPARAM>(view->GetArticleCells()[0].pReference->Clone()));
    EXPECT_EQ((std::pair<UINT, std::pair<WPARAM, LONG>>{VLM_OPEN_WINDOW, {IDW_ARTICLE, 1001}}), TakePosted());
    view->SendMessage(VLM_THUMB_PRESS, 0, reinterpret_cast<LPARAM>(new CReference(3000002, "")));
    EXPECT_EQ((std::pair<UINT, std::pair<WPARAM, LONG>>{VLM_OPEN_WINDOW, {IDW_ATLAS, 3000002}}), TakePosted());
    view->SendMessage(VLM_THUMB_PRESS, 0, reinterpret_cast<LPARAM>(view->GetMediaCells()[3].pReference->Clone()));
    EXPECT_EQ((std::pair<UINT, std::pair<WPARAM, LONG>>{VLM_POST_TO_WINDOW, {IDW_MEDIA, view->GetMediaCells()[3].pReference->GetNumber()}}),
              TakePosted());
    ASSERT_EQ(15u, lastDisplay.size());
    EXPECT_EQ(THUMBVIEW_NO_TITLE, lastDisplay[1]);
    EXPECT_EQ(std::string(view->GetMediaCells()[0].pReference->GetTitle()), lastDisplay[0]);
    host::AnswerMessageBox(THUMBVIEW_BAD_MEDIA, IDOK);
    view->SendMessage(VLM_THUMB_PRESS, 0, reinterpret_cast<LPARAM>(Item(4060001, REFKIND_TIMELINE, "Milestones")));
    EXPECT_EQ((std::vector<std::string>{"Bad Media Type in Topic Milestones"}), NewBoxes());
    EXPECT_EQ(0u, TakePosted().first);
    // A thumbnail's release carries a clone too: the view frees it and opens nothing more.
    EXPECT_EQ(1, view->SendMessage(VLM_THUMB_RELEASE, 0, reinterpret_cast<LPARAM>(view->GetArticleCells()[0].pReference->Clone())));
    EXPECT_EQ(0u, TakePosted().first);

    // Back to the welcome page: no thumbnails, no scrolling.
    view->ShowWelcome();
    EXPECT_TRUE(view->IsWelcome());
    EXPECT_EQ(0, Thumbnails());
    EXPECT_EQ(0, view->GetMaxScroll());
}

}  // namespace
}  // namespace explore_test
