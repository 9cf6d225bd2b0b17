// The random browsing view: the list size and slot positions by client size, random windows over
// a fixture table with a fixed seed (an empty combination, K = N, K = N + 1, K = 60 with N = 20),
// FIND picks from the file list and a filtered list (by message, by Enter), filter picks with
// their captions and history steps, restoring a step, opening each kind of item, and the sample
// disc's Geography with its thumbnails placed, moved and hidden by a resize.
#include "JustLookingTestSupport.h"

#include "base/AppServices.h"
#include "base/JustLookingRandomSet.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/ReferenceList.h"
#include "base/ResourceLibrary.h"
#include "base/TimelineRequest.h"
#include "base/VLMessages.h"
#include "explore/JustLookingChoiceWnd.h"
#include "explore/JustLookingEditListSearch.h"
#include "explore/JustLookingListWin.h"
#include "explore/JustLookingMainWin.h"
#include "explore/JustLookingShowListBox.h"
#include "explore/JustLookingStateObj.h"
#include "media/MediaDisplayRef.h"
#include "media/ThumbnailFactory.h"
#include "widgets/BaseListData.h"
#include "widgets/Thumbnail.h"

#include <DialogDriver.h>
#include <SampleDisc.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace explore_test {
namespace {

// What the view posted to its frame, the carried objects read and freed.
struct Posted {
    UINT message = 0;
    WPARAM wParam = 0;
    LONG number = 0;                   // the reference's number (opening messages)
    std::vector<LONG> list;            // the media view's list
    CRect rect;                        // a timeline request's left, top, width, height
    std::string name;                  // a timeline request's name
    int category = -1, content = -1;   // a history step
    std::vector<LONG> results;         // a history step's results
};

// The frame: it keeps what the view posts to it and frees the carried objects.
class CRecordingFrame : public CWnd {
public:
    std::vector<Posted> posted;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        Posted p;
        p.message = message;
        p.wParam = wParam;
        CObject* pObject = reinterpret_cast<CObject*>(lParam);
        switch (message) {
        case VLM_OPEN_WINDOW:
            p.number = static_cast<CReference*>(pObject)->GetNumber();
            break;
        case VLM_POST_TO_WINDOW: {
            auto* pDisplay = static_cast<CMediaDisplayRef*>(pObject);
            p.number = pDisplay->GetReference()->GetNumber();
            for (int i = 0; i < pDisplay->GetMediaList()->GetCount(); ++i)
                p.list.push_back(pDisplay->GetMediaList()->GetAtIndex(i)->GetNumber());
            break;
        }
        case VLM_TIMELINE_VIEWER: {
            auto* pRequest = static_cast<TimelineRequest*>(pObject);
            p.rect = CRect(pRequest->m_nLeft, pRequest->m_nTop, pRequest->m_nWidth, pRequest->m_nHeight);
            p.name = static_cast<LPCSTR>(pRequest->m_strName);
            break;
        }
        case VLM_PUSH_STATE: {
            auto* pState = DYNAMIC_DOWNCAST(CJustLookingStateObj, pObject);
            EXPECT_NE(nullptr, pState);
            if (pState != nullptr) {
                EXPECT_EQ(static_cast<UINT>(IDW_JUSTLOOKING), pState->m_nWindowID);
                EXPECT_EQ("Dada Vaveroz", std::string(pState->m_strTitle));
                p.category = pState->m_nCategory;
                p.content = pState->m_nContent;
                for (int i = 0; i < pState->m_results.GetSize(); ++i)
                    p.results.push_back(static_cast<LONG>(pState->m_results[i].m_rin.GetNumber()));
            }
            break;
        }
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
        delete pObject;
        posted.push_back(p);
        return 0;
    }
};

class JustLookingMainWinTest : public JustLookingTest {
protected:
    void SetUp() override
    {
        JustLookingTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW)), "Main", WS_POPUP | WS_VISIBLE,
                                  CRect(0, 0, 1024, 768), nullptr, 0));
        app.m_pMainWnd = &main;
        AppServices().owned.pReferenceFactory = &references;
    }
    void TearDown() override
    {
        view.reset();
        TakePosted();
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        AppServices().owned.pThumbnailFactory = NULL;
        AppServices().owned.pReferenceFactory = NULL;
        thumbnails.reset();
        JustLookingTest::TearDown();
    }

    // A fixture table: per category code, that many articles (numbers from 1001 on), and their
    // show list.
    void WriteTable(const std::vector<std::pair<std::string, int>>& counts)
    {
        std::vector<discbuilder::DadaVaverozItem> items;
        int n = 0;
        for (const auto& [category, count] : counts) {
            for (int i = 0; i < count; ++i, ++n) {
                char title[32];
                std::snprintf(title, sizeof title, "%s %03d", category.c_str(), i);
                discbuilder::DadaVaverozItem item;
                item.title = title;
                item.rinCode = std::to_string(1001 + n);
                item.category = category;
                item.content = "Artcl";
                items.push_back(item);
            }
        }
        WriteDatabase(items);
        WriteShowList(items);
        OpenDatabase();
    }
    // The [RandomCategory] ordinal of every item by its number.
    std::map<LONG, long> CategoryOrdinals()
    {
        std::map<LONG, long> ordinals;
        CJlrcSet set(&db);
        set.Open();
        for (; !set.IsEOF(); set.MoveNext())
            ordinals[atol(set.m_RinCode)] = set.m_RandomCategory;
        set.Close();
        return ordinals;
    }
    void UseSampleDisc()
    {
        discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "t" / "disc");
        ASSERT_TRUE(romLink.LoadTable());
        AppServices().owned.pSearchEngine = &romLink;
        ASSERT_TRUE(db.OpenDatabase("T:\\disc\\info_dat\\"));
        SetAppDatabase(&db);
        thumbnails = std::make_unique<CThumbnailFactory>();
        AppServices().owned.pThumbnailFactory = thumbnails.get();
    }
    // The view over the whole client area of the main window, with that client size.
    void MakeView(int cx, int cy)
    {
        view = std::make_unique<CJustLookingMainWin>();
        ASSERT_TRUE(view->Create(CRect(0, 0, cx, cy), &main));
        view->ShowWindow(SW_SHOW);
        CRect client;
        view->GetClientRect(&client);
        ASSERT_EQ(CSize(cx, cy), client.Size());
        ASSERT_TRUE(NewBoxes().empty());
    }
    void Resize(int cx, int cy) { view->SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE); }

    // Everything the view posted to the frame since the last call.
    std::vector<Posted> TakePosted()
    {
        MSG msg;
        while (main.GetSafeHwnd() != nullptr && ::PeekMessage(&msg, main.GetSafeHwnd(), 0, 0, PM_REMOVE))
            ::DispatchMessage(&msg);
        std::vector<Posted> posted;
        posted.swap(main.posted);
        return posted;
    }
    std::vector<Posted> PostedOf(UINT message)
    {
        std::vector<Posted> found;
        for (const Posted& p : TakePosted())
            if (p.message == message)
                found.push_back(p);
        return found;
    }
    std::vector<LONG> Results() const
    {
        std::vector<LONG> numbers;
        for (int i = 0; i < view->GetResults().GetSize(); ++i)
            numbers.push_back(static_cast<LONG>(view->GetResults()[i].m_rin.GetNumber()));
        return numbers;
    }
    // The title and number of a row of the FIND list now shown.
    std::pair<std::string, LONG> FindRow(long nRow)
    {
        CBaseListData* pData = view->GetFindList()->GetCurrentData();
        pData->EnsureLoaded(nRow);
        TVITEM item = {};
        item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(nRow));
        if (!pData->GetItem(&item))
            return {"", 0};
        return {item.pszText != NULL ? item.pszText : "", static_cast<LONG>(item.lParam)};
    }
    CPoint ThumbAt(int nSlot)
    {
        CRect rect;
        view->GetThumbnail(nSlot)->GetWindowRect(&rect);
        view->ScreenToClient(&rect);
        return rect.TopLeft();
    }

    CRecordingFrame main;
    CReferenceFactory references;
    CRomLinkTable romLink;
    std::unique_ptr<CThumbnailFactory> thumbnails;
    std::unique_ptr<CJustLookingMainWin> view;
};

TEST_F(JustLookingMainWinTest, TheListSizeAndTheSlotsFollowTheClientSize)
{
    struct Case {
        int cx, cy, size;
    };
    for (const Case& c : {Case{639, 400, 8}, Case{640, 399, 8}, Case{640, 400, 12}, Case{799, 600, 12},
                          Case{800, 599, 12}, Case{800, 600, 20}, Case{1016, 700, 20}}) {
        SCOPED_TRACE(std::to_string(c.cx) + " x " + std::to_string(c.cy));
        EXPECT_EQ(c.size, CJustLookingMainWin::ListSizeFor(c.cx, c.cy));
    }
    // Fractions of the client size, truncated: first and last slot of each size.
    EXPECT_EQ(CPoint(9, 12), CJustLookingMainWin::SlotPosition(8, 0, 600, 600));
    EXPECT_EQ(CPoint(12, 390), CJustLookingMainWin::SlotPosition(8, 7, 600, 600));
    EXPECT_EQ(CPoint(14, 50), CJustLookingMainWin::SlotPosition(12, 0, 700, 500));
    EXPECT_EQ(CPoint(24, 200), CJustLookingMainWin::SlotPosition(12, 11, 700, 500));
    EXPECT_EQ(CPoint(4, 29), CJustLookingMainWin::SlotPosition(20, 0, 800, 600));
    EXPECT_EQ(CPoint(60, 150), CJustLookingMainWin::SlotPosition(20, 19, 800, 600));
    EXPECT_EQ(CPoint(213, 127), CJustLookingMainWin::SlotPosition(20, 2, 800, 600));

    // The device: centred, but never left of 160 or above 105.
    WriteTable({{"GEO", 3}});
    MakeView(800, 600);
    EXPECT_EQ(20, view->GetListSize());
    EXPECT_EQ(CRect(245, 241, 555, 359), view->GetDeviceRect());
    Resize(600, 300);
    EXPECT_EQ(8, view->GetListSize());
    EXPECT_EQ(CRect(160, 105, 470, 223), view->GetDeviceRect());
    // The content list drops from the content choice, shortened to the client area.
    CRect choice, list;
    view->GetContentChoice()->GetWindowRect(&choice);
    view->GetContentList()->GetWindowRect(&list);
    EXPECT_EQ(choice.left, list.left);
    EXPECT_EQ(choice.bottom, list.top);
    view->ScreenToClient(&list);
    EXPECT_LE(list.bottom, 300);
}

TEST_F(JustLookingMainWinTest, RandomWindowsReachEveryStartAndShuffleTheirItems)
{
    WriteTable({{"GEO", 60}, {"HIS", 20}, {"HUM", 21}});
    const std::map<LONG, long> ordinals = CategoryOrdinals();
    MakeView(800, 600);
    ASSERT_EQ(20, view->GetListSize());
    srand(7);

    // K = 0: the message, and nothing changes.
    view->PickCategory(4);  // IND: no items
    TakePosted();
    host::AnswerMessageBox("Unable to create Random List", IDOK);
    EXPECT_FALSE(view->MakeRandomList());
    EXPECT_EQ((std::vector<std::string>{JL_NO_RANDOM_LIST}), NewBoxes());
    EXPECT_TRUE(Results().empty());
    EXPECT_TRUE(TakePosted().empty()) << "no history step";

    struct Case {
        int category;
        long count;
        long lastStart;
    };
    for (const Case& c : {Case{2, 20, 0}, Case{3, 21, 1}, Case{1, 60, 40}}) {
        SCOPED_TRACE("category " + std::to_string(c.category));
        view->PickCategory(c.category);
        TakePosted();
        std::set<long> starts;
        std::set<std::vector<LONG>> orders;
        for (int draw = 0; draw < 600; ++draw) {
            ASSERT_TRUE(view->MakeRandomList());
            const std::vector<LONG> results = Results();
            ASSERT_EQ(static_cast<std::size_t>(std::min(c.count, 20L)), results.size());
            // The results are the items of one window of ordinals, each once.
            std::set<long> window;
            for (LONG n : results)
                window.insert(ordinals.at(n));
            ASSERT_EQ(results.size(), window.size());
            ASSERT_EQ(*window.begin() + static_cast<long>(results.size()) - 1, *window.rbegin());
            starts.insert(*window.begin());
            orders.insert(results);
            // Each list is one history step holding the same list.
            const auto steps = PostedOf(VLM_PUSH_STATE);
            ASSERT_EQ(1u, steps.size());
            ASSERT_EQ(results, steps[0].results);
            ASSERT_EQ(c.category, steps[0].category);
        }
        EXPECT_EQ(0, *starts.begin());
        EXPECT_EQ(static_cast<std::size_t>(c.lastStart + 1), starts.size()) << "every start from 0 to K - N";
        EXPECT_EQ(c.lastStart, *starts.rbegin());
        EXPECT_GT(orders.size(), 100u) << "the window's items come in shuffled orders";
    }
    EXPECT_TRUE(NewBoxes().empty());

    // The start covers ranges wider than one draw.
    srand(11);
    long nHighest = 0;
    for (int i = 0; i < 2000; ++i) {
        const long nStart = CJustLookingMainWin::RandomStart(1000000, 20);
        ASSERT_GE(nStart, 0);
        ASSERT_LE(nStart, 1000000 - 20);
        nHighest = std::max(nHighest, nStart);
    }
    EXPECT_GT(nHighest, 900000);
    EXPECT_EQ(0, CJustLookingMainWin::RandomStart(20, 20));
}

TEST_F(JustLookingMainWinTest, FindPicksFillTheSlotsInTurnFromEitherList)
{
    WriteTable({{"GEO", 30}, {"HIS", 25}});
    MakeView(600, 400);  // 8 slots
    ASSERT_EQ(8, view->GetListSize());
    ASSERT_EQ(55, view->GetFindRowCount());
    view->OpenFindPanel();
    EXPECT_TRUE(view->IsFindPanelShown());

    // The file list: its first, second and last rows, as the list posts them.
    std::vector<LONG> expected;
    for (long nRow : {1L, 2L, 55L}) {
        const auto row = FindRow(nRow);
        view->SendMessage(JLM_FIND_ROW, static_cast<WPARAM>(nRow), 0);
        expected.push_back(row.second);
        EXPECT_EQ(row.first, std::string(view->GetResults()[static_cast<int>(expected.size()) - 1].m_strTitle));
    }
    EXPECT_EQ(expected, Results());
    EXPECT_FALSE(view->IsWelcome());
    EXPECT_EQ(3, view->GetNextSlot());
    EXPECT_EQ(3u, PostedOf(VLM_PUSH_STATE).size()) << "one history step per pick";

    // A filtered list (History): first, second and last rows.
    view->PickCategory(2);
    ASSERT_EQ(25, view->GetFindRowCount());
    for (long nRow : {1L, 2L, 25L}) {
        const auto row = FindRow(nRow);
        EXPECT_EQ("HIS", row.first.substr(0, 3));
        view->SendMessage(JLM_FIND_ROW, static_cast<WPARAM>(nRow), 0);
        expected.push_back(row.second);
    }
    EXPECT_EQ(expected, Results());

    // Enter in the search edit picks the row the typed text finds.
    view->OpenFindPanel();
    view->GetSearchEdit()->SetWindowText("HIS 017");
    view->SendMessage(WM_KEYDOWN, 'H', 0);
    view->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ui::PumpUntilIdle();
    ASSERT_EQ(7u, Results().size());
    EXPECT_EQ("HIS 017", std::string(view->GetResults()[6].m_strTitle));

    // The eighth pick fills the last slot and the ninth wraps to slot 0.
    view->SendMessage(JLM_FIND_ROW, 3, 0);
    EXPECT_EQ(0, view->GetNextSlot());
    view->SendMessage(JLM_FIND_ROW, 4, 0);
    ASSERT_EQ(8u, Results().size());
    EXPECT_EQ(FindRow(4).second, Results()[0]);
    EXPECT_EQ(1, view->GetNextSlot());
    // A row outside the list places nothing.
    view->SendMessage(JLM_FIND_ROW, 26, 0);
    view->SendMessage(JLM_FIND_ROW, 0, 0);
    EXPECT_EQ(1, view->GetNextSlot());
    TakePosted();

    // Clear: no results, the next pick to slot 0.
    view->ClearList();
    EXPECT_TRUE(Results().empty());
    EXPECT_EQ(0, view->GetThumbnailCount());
    view->SendMessage(JLM_FIND_ROW, 1, 0);
    EXPECT_EQ(std::vector<LONG>{FindRow(1).second}, Results());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(JustLookingMainWinTest, FilterPicksSetCaptionsAndStepsAndAStepRestoresThem)
{
    WriteTable({{"GEO", 12}, {"HIS", 9}});
    MakeView(640, 480);
    TakePosted();

    // A category pick: its caption, the changed flag, the FIND list filtered, one step.
    view->SendMessage(JLM_CATEGORY_CHANGED, 0, 0);  // the list's selection: none, as row 0
    EXPECT_FALSE(view->IsCategoryChanged());
    EXPECT_TRUE(PostedOf(VLM_PUSH_STATE).empty());
    view->PickCategory(1);
    EXPECT_EQ("Geography", std::string(view->GetCategoryChoice()->GetCaption()));
    EXPECT_TRUE(view->IsCategoryChanged());
    EXPECT_EQ(12, view->GetFindRowCount());
    EXPECT_FALSE(view->GetFindList()->IsShowingAll());
    auto steps = PostedOf(VLM_PUSH_STATE);
    ASSERT_EQ(1u, steps.size());
    EXPECT_EQ(1, steps[0].category);
    EXPECT_EQ(0u, steps[0].wParam);
    // The same pick again: nothing changes, no step.
    view->PickCategory(1);
    EXPECT_FALSE(view->IsCategoryChanged());
    EXPECT_TRUE(PostedOf(VLM_PUSH_STATE).empty());

    // A content pick through the content list: the row "Pictures" (content 4).
    CJustLookingListWin* pList = view->GetContentList();
    HTREEITEM hPictures = 0;
    for (int nRow = 0; hPictures == 0; ++nRow) {
        HTREEITEM hItem = pList->GetItemIdAt(nRow);
        ASSERT_NE(static_cast<HTREEITEM>(0), hItem);
        if (pList->GetItemText(hItem) == "Pictures")
            hPictures = hItem;
    }
    view->SendMessage(WM_COMMAND, IDC_JL_CONTENTCHOICE, 0);
    EXPECT_TRUE(pList->IsWindowVisible());
    pList->SelectItem(hPictures);
    ui::PumpUntilIdle();
    EXPECT_FALSE(pList->IsWindowVisible()) << "a pick closes the list";
    EXPECT_EQ(4, view->GetContent());
    EXPECT_EQ("Pictures", std::string(view->GetContentChoice()->GetCaption()));
    EXPECT_TRUE(view->IsContentChanged());
    EXPECT_EQ(0, view->GetFindRowCount()) << "the fixture has articles only";
    steps = PostedOf(VLM_PUSH_STATE);
    ASSERT_EQ(1u, steps.size());
    EXPECT_EQ(4, steps[0].content);
    host::AnswerMessageBox("There are no items", IDOK);
    view->OpenFindPanel();
    EXPECT_EQ((std::vector<std::string>{JL_NO_FIND_ROWS}), NewBoxes());
    EXPECT_FALSE(view->IsFindPanelShown());

    // Both back to "all": the file list again.
    view->PickCategory(0);
    view->PickContent(0);
    EXPECT_EQ("All Categories", std::string(view->GetCategoryChoice()->GetCaption()));
    EXPECT_EQ("All Content", std::string(view->GetContentChoice()->GetCaption()));
    EXPECT_TRUE(view->GetFindList()->IsShowingAll());
    EXPECT_EQ(21, view->GetFindRowCount());
    EXPECT_EQ(2u, PostedOf(VLM_PUSH_STATE).size());

    // A step restores the filters, captions and results, and goes back to the history as the
    // current entry (no new step).
    CJustLookingResultArray results;
    results.Add(CJustLookingResult(CRin(1005), "GEO 004", "GEO"));
    results.Add(CJustLookingResult(CRin(1015), "HIS 002", "HIS"));
    view->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(new CJustLookingStateObj(2, 3, results)));
    EXPECT_EQ(2, view->GetCategory());
    EXPECT_EQ(3, view->GetContent());
    EXPECT_EQ("History", std::string(view->GetCategoryChoice()->GetCaption()));
    EXPECT_EQ("Videos", std::string(view->GetContentChoice()->GetCaption()));
    EXPECT_EQ((std::vector<LONG>{1005, 1015}), Results());
    EXPECT_FALSE(view->IsWelcome());
    steps = PostedOf(VLM_PUSH_STATE);
    ASSERT_EQ(1u, steps.size());
    EXPECT_EQ(static_cast<WPARAM>(VLM_RESTORE_STATE), steps[0].wParam);
    EXPECT_EQ((std::vector<LONG>{1005, 1015}), steps[0].results);
    // Another kind of object is freed.
    view->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(new CReference(1001, "x")));
    EXPECT_TRUE(TakePosted().empty());

    // The update's notice ("VLWM:UPDATE FLAGFILE", as the update sends it): a row the update
    // added (its count cache cleared with it) shows in the filtered FIND list.
    view->PickContent(1);
    view->PickCategory(1);
    ASSERT_EQ(12, view->GetFindRowCount());
    db.Execute("INSERT INTO [Dada Vaveroz Data] ([Title], [Rin Code], [Category], [Content], [Which CD], "
               "[Show In JustLooking]) VALUES ('GEO 999', '1999', 'GEO', 'Artcl', '1', 'Y')");
    db.Execute("DELETE FROM [Table Data] WHERE [Key Value] LIKE 'Dada Vaveroz Records-*'");
    EXPECT_EQ(1, view->SendMessage(::RegisterWindowMessageA("VLWM:UPDATE FLAGFILE"), 0, 0));
    EXPECT_EQ(13, view->GetFindRowCount());
    TakePosted();
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(JustLookingMainWinTest, TheSampleDiscsGeographyOpensByKindAndFollowsResizes)
{
    UseSampleDisc();
    MakeView(800, 600);
    main.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(main.GetSafeHwnd(), "dada-vaveroz-welcome-800.png");

    srand(3);
    view->PickCategory(1);
    ASSERT_TRUE(view->MakeRandomList());
    ASSERT_EQ(20, view->GetResults().GetSize());
    ASSERT_EQ(20, view->GetThumbnailCount());
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(nullptr, view->GetThumbnail(i));
        EXPECT_EQ(CJustLookingMainWin::SlotPosition(20, i, 800, 600), ThumbAt(i));
        EXPECT_EQ(static_cast<LONG>(view->GetResults()[i].m_rin.GetNumber()),
                  view->GetThumbnail(i)->GetReference()->GetNumber());
    }
    main.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(main.GetSafeHwnd(), "dada-vaveroz-geography-800.png");
    TakePosted();

    // A picture picked from the FIND list (Geography's) goes to slot 0.
    view->OpenFindPanel();
    view->GetSearchEdit()->SetWindowText("Lava");
    view->RunSearch();
    view->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ui::PumpUntilIdle();
    ASSERT_EQ(1001002, view->GetThumbnail(0)->GetReference()->GetNumber());
    EXPECT_EQ(1, view->GetNextSlot());
    TakePosted();

    // Opening by kind.
    struct Case {
        LONG number, kind;
        UINT message;
        WPARAM view;
    };
    for (const Case& c : {Case{3000001, REFKIND_MAP, VLM_OPEN_WINDOW, IDW_ATLAS},
                          Case{1002, REFKIND_ARTICLE, VLM_OPEN_WINDOW, IDW_ARTICLE},
                          Case{1002, REFKIND_ARTICLE2, VLM_OPEN_WINDOW, IDW_ARTICLE},
                          Case{4010001, REFKIND_ANIMATION, VLM_POST_TO_WINDOW, IDW_MEDIA},
                          Case{4020001, REFKIND_VIDEO, VLM_POST_TO_WINDOW, IDW_MEDIA},
                          Case{1001001, REFKIND_PICTURE, VLM_POST_TO_WINDOW, IDW_MEDIA},
                          Case{4030001, REFKIND_SOUND, VLM_POST_TO_WINDOW, IDW_MEDIA},
                          Case{6000001, REFKIND_SIMULATION, VLM_POST_TO_WINDOW, IDW_MEDIA},
                          Case{4040001, REFKIND_VIRTUALREALITY, VLM_POST_TO_WINDOW, IDW_MEDIA},
                          Case{4030002, REFKIND_ONLINESOUND, VLM_POST_TO_WINDOW, IDW_MEDIA},
                          Case{1001002, REFKIND_NOFILE, VLM_POST_TO_WINDOW, IDW_MEDIA},
                          Case{4050001, REFKIND_BUBBLE, VLM_POST_TO_WINDOW, IDW_MEDIA}}) {
        SCOPED_TRACE(c.kind);
        auto* pRef = new CReference(c.number, "Item");
        pRef->SetKind(c.kind);
        view->SendMessage(VLM_THUMB_PRESS, 0, reinterpret_cast<LPARAM>(pRef));
        const auto posted = TakePosted();
        ASSERT_EQ(1u, posted.size());
        EXPECT_EQ(c.message, posted[0].message);
        EXPECT_EQ(c.view, posted[0].wParam);
        EXPECT_EQ(c.number, posted[0].number);
        if (c.message == VLM_POST_TO_WINDOW) {
            // The viewer's list: every thumbnail's item, in slot order.
            std::vector<LONG> shown;
            for (int i = 0; i < view->GetThumbnailCount(); ++i)
                if ((view->GetThumbnail(i)->GetReference()->GetKind() & MEDIA_LIST_KIND_MASK) != 0)
                    shown.push_back(view->GetThumbnail(i)->GetReference()->GetNumber());
            ASSERT_FALSE(shown.empty());
            EXPECT_EQ(shown, posted[0].list);
        }
        // The release of any of them opens nothing.
        auto* pRelease = new CReference(c.number, "Item");
        pRelease->SetKind(c.kind);
        view->SendMessage(VLM_THUMB_RELEASE, 0, reinterpret_cast<LPARAM>(pRelease));
        EXPECT_TRUE(TakePosted().empty());
    }
    // A timeline: its press opens nothing, its release the timeline viewer in the view's
    // rectangle (each side at least 200).
    auto timeline = [](LONG nKind) {
        auto* pRef = new CReference;
        pRef->SetNumber(4060001);
        pRef->SetTitle("Milestones");
        pRef->SetKind(nKind);
        return reinterpret_cast<LPARAM>(pRef);
    };
    view->SendMessage(VLM_THUMB_PRESS, 0, timeline(REFKIND_TIMELINE));
    EXPECT_TRUE(TakePosted().empty());
    view->SendMessage(VLM_THUMB_RELEASE, 0, timeline(REFKIND_TIMELINE));
    auto posted = TakePosted();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(static_cast<UINT>(VLM_TIMELINE_VIEWER), posted[0].message);
    EXPECT_EQ(3u, posted[0].wParam);
    EXPECT_EQ(CRect(40, 10, 720, 560), posted[0].rect);
    EXPECT_EQ(std::string(CRin(4060001).FormatRit()), posted[0].name);
    // Any other kind: the message with the link text; nothing opens.
    host::AnswerMessageBox(JL_BAD_MEDIA, IDOK);
    auto* pOdd = new CReference(2001, "Odd");
    pOdd->SetKind(REFKIND_MINIARTICLE);
    pOdd->SetLinkText("vl://002001");
    view->SendMessage(VLM_THUMB_PRESS, 0, reinterpret_cast<LPARAM>(pOdd));
    EXPECT_EQ((std::vector<std::string>{"Bad Media Type in Topic vl://002001"}), NewBoxes());
    EXPECT_TRUE(TakePosted().empty());

    // Smaller: slots at or beyond 12 hide, the others move to the 12-slot places; the list stays.
    Resize(700, 500);
    ASSERT_EQ(12, view->GetListSize());
    EXPECT_EQ(20, view->GetResults().GetSize());
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(i < 12, view->GetThumbnail(i)->IsWindowVisible() != FALSE);
        if (i < 12) {
            EXPECT_EQ(CJustLookingMainWin::SlotPosition(12, i, 700, 500), ThumbAt(i));
        }
    }
    // A step of 20 restored at 12 slots: all 20 stay in the list, those beyond the slots hidden.
    CJustLookingResultArray twenty;
    twenty.Copy(view->GetResults());
    view->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(new CJustLookingStateObj(1, 0, twenty)));
    TakePosted();
    ASSERT_EQ(20, view->GetResults().GetSize());
    ASSERT_EQ(20, view->GetThumbnailCount());
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(nullptr, view->GetThumbnail(i));
        EXPECT_EQ(i < 12, view->GetThumbnail(i)->IsWindowVisible() != FALSE);
    }
    // The timeline's rectangle is at least 200 on each side.
    Resize(250, 220);
    view->SendMessage(VLM_THUMB_RELEASE, 0, timeline(REFKIND_TIMELINE));
    posted = TakePosted();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(CRect(40, 10, 200, 200), posted[0].rect);
    // Back to full size: every slot shows again.
    Resize(800, 600);
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(view->GetThumbnail(i)->IsWindowVisible());
        EXPECT_EQ(CJustLookingMainWin::SlotPosition(20, i, 800, 600), ThumbAt(i));
    }

    // FIND: the typed prefix "Vol" finds Volcano in the whole show list.
    view->PickCategory(0);
    view->OpenFindPanel();
    view->GetSearchEdit()->SetWindowText("Vol");
    view->RunSearch();
    view->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ui::PumpUntilIdle();
    EXPECT_EQ("Volcano", std::string(view->GetResults()[0].m_strTitle));
    EXPECT_EQ(1002, view->GetThumbnail(0)->GetReference()->GetNumber());
    EXPECT_TRUE(NewBoxes().empty());
    TakePosted();
}

}  // namespace
}  // namespace explore_test
