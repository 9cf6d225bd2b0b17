// The media browser's controls: the media list's rolls on the test clock with their sounds, the
// sliding selector's positions, arrows and drags, and the reference tabs' lists and openings.
#include "MediaTestSupport.h"

#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "media/AudioPlayer.h"
#include "media/MediaDisplayRef.h"
#include "media/MediaListCtrl.h"
#include "media/MediaListThumbnail.h"
#include "media/MediaListTabWin.h"
#include "media/MediaOverlayWin.h"
#include "media/MediaSlidingSelector.h"
#include "media/BrowseMediaVirtualListBox.h"
#include "media/ReferenceTabWin.h"
#include "widgets/RadioButton.h"
#include "widgets/VLListWindow.h"

#include <host/Input.h>
#include <host/Paths.h>
#include <host/Sound.h>

#include <memory>
#include <vector>

using namespace media_test;

namespace {

// ---- the media list ----

// A strip that hears which scroll buttons the list asks for.
class CStripHost : public CWnd, public CMediaListStrip {
public:
    void SelectMediaItem(int) override {}
    void OpenMediaItem(int) override {}
    CDibButton* GetActionButton() override { return NULL; }
    void ShowScrollUp(BOOL bEnable, BOOL bShow) override { up = {bEnable, bShow}; }
    void ShowScrollDown(BOOL bEnable, BOOL bShow) override { down = {bEnable, bShow}; }
    std::pair<BOOL, BOOL> up{-1, -1}, down{-1, -1};
};

// The sounds of the record by their tones: motion (looped), start and release.
std::vector<std::string> Sounds()
{
    std::vector<std::string> names;
    for (const host::PlayedSound& s : host::PlayedSounds()) {
        if (s.loop)
            names.push_back("motion");
        else if (s.lengthMs >= 120)
            names.push_back("start");
        else
            names.push_back("release");
    }
    return names;
}

class MediaListTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        AppServices().owned.pAudioPlayer = &player;
        ASSERT_TRUE(strip.CreateEx(0, AfxRegisterWndClass(0), "strip", WS_POPUP | WS_VISIBLE, CRect(0, 0, 90, 400), nullptr,
                                   0));
        ASSERT_TRUE(list.Create(&strip, 20, 21));
        host::ClearPlayedSounds();
    }
    void TearDown() override
    {
        list.DestroyWindow();
        strip.DestroyWindow();
        AppServices().owned.pAudioPlayer = NULL;
        MediaTest::TearDown();
    }
    void AddRows(int n)
    {
        for (int k = 0; k < n; ++k) {
            auto* item = new CWnd;
            ASSERT_TRUE(item->Create(AfxRegisterWndClass(0), "item", WS_CHILD | WS_VISIBLE,
                                     CRect(0, 32 * k, 44, 32 * k + 32), &list, 100 + k));
            ASSERT_TRUE(list.AddItem(item, 44, 32));
        }
        list.LayoutItems();
    }
    int ItemTop(int k)
    {
        CRect rect;
        static_cast<CWnd*>(list.GetItem(k))->GetWindowRect(&rect);
        list.ScreenToClient(&rect);
        return rect.top;
    }
    // The offsets seen after each 15 ms tick until the roll ends.
    std::vector<int> Run()
    {
        std::vector<int> seen;
        for (int tick = 0; tick < 100 && list.IsRolling(); ++tick) {
            ui::AdvanceClock(15);
            seen.push_back(list.GetOffset());
        }
        return seen;
    }

    CAudioPlayer player;
    CStripHost strip;
    CMediaListCtrl list;
};

TEST_F(MediaListTest, ThreeRowsRollNinetySixPixelsInTwentyFourTicksAndBack)
{
    AddRows(3);
    CRect client;
    list.GetClientRect(&client);
    EXPECT_EQ(CSize(44, 3 * 32 + list.GetRollButtonHeight()), client.Size()) << "three rows and the roll button";
    list.RollUp();
    ASSERT_TRUE(list.IsRolling());
    EXPECT_EQ(-96, list.GetPending());
    const std::vector<int> up = Run();
    ASSERT_EQ(25u, up.size()) << "24 ticks of 4 pixels, and the tick that ends the roll";
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(4 * (i + 1), up[size_t(i)]);
    EXPECT_EQ(96, up.back());
    EXPECT_TRUE(list.IsAtEnd());
    EXPECT_EQ(-96, ItemTop(0));
    EXPECT_EQ(-32, ItemTop(2)) << "the items moved with the offset";
    EXPECT_EQ(std::make_pair(BOOL(FALSE), BOOL(TRUE)), strip.up) << "at the end: scroll up shown, disabled";
    EXPECT_EQ(std::make_pair(BOOL(TRUE), BOOL(TRUE)), strip.down);
    EXPECT_EQ((std::vector<std::string>{"release"}), Sounds()) << "the release sound once, with 4 pixels left";

    // Rolling up again at the end does nothing; down brings the column back.
    list.RollUp();
    EXPECT_FALSE(list.IsRolling());
    list.RollDown();
    const std::vector<int> down = Run();
    ASSERT_EQ(25u, down.size());
    EXPECT_EQ(0, down.back());
    EXPECT_EQ(0, ItemTop(0));
    EXPECT_TRUE(list.IsAtStart());
}

TEST_F(MediaListTest, StoppingAfterAFewTicksRestsOnTheGrid)
{
    AddRows(3);
    list.RollUp();
    for (int i = 0; i < 3; ++i)
        ui::AdvanceClock(15);
    ASSERT_EQ(12, list.GetOffset());
    host::ClearPlayedSounds();
    list.StopRolling();
    EXPECT_FALSE(list.IsRolling());
    EXPECT_EQ(0, list.GetOffset()) << "back onto the row it was leaving";
    EXPECT_EQ(0, ItemTop(0));
    EXPECT_EQ(CMediaListCtrl::rollStopped, list.GetRollState());
    EXPECT_EQ((std::vector<std::string>{"release"}), Sounds());

    // The roll button after a stop rolls down: from the grid that is nothing to do here.
    list.OnRollButton();
    EXPECT_FALSE(list.IsRolling());

    // Down from the end, stopped after two ticks: back to the end.
    list.RollUp();
    Run();
    list.RollDown();
    ui::AdvanceClock(15);
    ui::AdvanceClock(15);
    ASSERT_EQ(88, list.GetOffset());
    list.StopRolling();
    EXPECT_EQ(96, list.GetOffset());
    EXPECT_EQ(0, list.GetOffset() % 32);
}

TEST_F(MediaListTest, StepsAndAnEmptyList)
{
    list.RollUp();
    EXPECT_FALSE(list.IsRolling()) << "nothing to roll";
    EXPECT_FALSE(list.StepUp());
    AddRows(2);
    EXPECT_TRUE(list.StepUp());
    EXPECT_EQ(32, list.GetOffset());
    EXPECT_TRUE(list.StepUp());
    EXPECT_FALSE(list.StepUp()) << "at the end";
    EXPECT_TRUE(list.StepDown());
    EXPECT_EQ(0, ItemTop(1)) << "row 1 at the top after one step back";
    EXPECT_EQ(2, list.RemoveAll());
    EXPECT_EQ(0, list.GetOffset());
    EXPECT_EQ(CMediaListCtrl::rollNone, list.GetRollState());
}

// ---- the sliding selector ----

class CChooser : public CMediaGroupChooser {
public:
    void ShowGroupItem(int nIndex) override { chosen.push_back(nIndex); }
    std::vector<int> chosen;
};

class SelectorTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 100), nullptr,
                                  0));
        ASSERT_TRUE(selector.Create(&host, 10, 10));
        selector.SetChooser(&chooser);
        selector.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        selector.DestroyWindow();
        host.DestroyWindow();
        ui::UiTest::TearDown();
    }
    void Press(int x, int y = 12) { selector.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Move(int x, int y = 12) { selector.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Release(int x, int y = 12) { selector.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

    CWnd host;
    CMediaSlidingSelector selector;
    CChooser chooser;
};

TEST_F(SelectorTest, StepsAndPositionsByGroupSize)
{
    const struct {
        int count;
        BOOL accepted;
        UINT step;
        int lastLeft;
    } cases[] = {{2, TRUE, 120, 149}, {9, TRUE, 15, 149}, {20, TRUE, 6, 143}, {1, FALSE, 0, 0}, {0, FALSE, 0, 0},
                 {21, FALSE, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        CMediaSlidingSelector fresh;
        EXPECT_EQ(c.accepted, fresh.SetItems(c.count, 1));
        if (!c.accepted) {
            EXPECT_EQ(0u, fresh.GetStep()) << "a refused group changes nothing";
            continue;
        }
        EXPECT_EQ(c.step, fresh.GetStep());
        EXPECT_EQ(CRect(30, 5, 44, 19), fresh.GetPositionRect(0));
        EXPECT_EQ(CRect(c.lastLeft, 5, c.lastLeft + 14, 19), fresh.GetPositionRect(c.count - 1));
    }
}

TEST_F(SelectorTest, ArrowsClicksAndDrags)
{
    ASSERT_TRUE(selector.SetItems(9, 1));
    // Arrows: none before the first, none after the last.
    selector.SendMessage(WM_COMMAND, SLIDER_CMD_LEFT);
    EXPECT_TRUE(chooser.chosen.empty());
    for (int i = 0; i < 10; ++i)
        selector.SendMessage(WM_COMMAND, SLIDER_CMD_RIGHT);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}), chooser.chosen);
    EXPECT_EQ(8, selector.GetCurrentIndex());
    chooser.chosen.clear();
    selector.SendMessage(WM_COMMAND, SLIDER_CMD_NONE);
    EXPECT_TRUE(chooser.chosen.empty());

    // Clicks beside the thumb and on the end caps step; outside the track nothing happens.
    ASSERT_TRUE(selector.SetItems(9, 5));  // thumb at 89..103
    Press(60);
    Release(60);
    Press(140);
    Release(140);
    Press(165);
    Release(165);
    Press(25);
    Release(25);
    Press(5);
    Release(5);
    EXPECT_EQ((std::vector<int>{3, 4, 5, 4}), chooser.chosen);
    chooser.chosen.clear();

    // A drag of the thumb: each position its left edge reaches is shown at once.
    ASSERT_TRUE(selector.SetItems(9, 1));  // thumb at 30..44
    Press(35);
    EXPECT_TRUE(selector.IsDragging());
    Move(40);
    Move(50);  // left edge 45 = position 2's
    Move(65);  // 60 = position 3's
    EXPECT_EQ((std::vector<int>{1, 2}), chooser.chosen);
    Release(65);
    EXPECT_FALSE(selector.IsDragging());
    EXPECT_EQ(2, selector.GetCurrentIndex());
    EXPECT_EQ(CRect(59, 5, 73, 19), selector.GetThumbRect()) << "the thumb rests on its position";

    // Let go outside the track: the picture the drag began with comes back.
    chooser.chosen.clear();
    Press(65);
    Move(80);
    Release(80, 40);
    EXPECT_EQ((std::vector<int>{3, 2}), chooser.chosen);
    EXPECT_EQ(2, selector.GetCurrentIndex());

    // Dragged beyond the track's end, the thumb stops at the last position.
    chooser.chosen.clear();
    Press(65);
    Move(300);
    Release(160);
    EXPECT_EQ(8, selector.GetCurrentIndex());
    EXPECT_EQ(CRect(149, 5, 163, 19), selector.GetThumbRect());
}

// ---- the reference tabs ----

// A top-level window that keeps what is posted to it.
class CCatcher : public CWnd {
public:
    struct Got {
        UINT message;
        WPARAM wParam;
        std::unique_ptr<CObject> object;
    };
    std::vector<Got> got;

protected:
    afx_msg LRESULT OnCarry(WPARAM wParam, LPARAM lParam)
    {
        got.push_back({AfxGetCurrentMessage()->message, wParam, std::unique_ptr<CObject>(reinterpret_cast<CObject*>(lParam))});
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCatcher, CWnd)
    ON_MESSAGE(VLM_OPEN_WINDOW, OnCarry)
    ON_MESSAGE(VLM_POST_TO_WINDOW, OnCarry)
END_MESSAGE_MAP()

class ReferenceTabTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        // The panels' caption band draws its close box from the screen-class library.
        auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(library.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        ASSERT_TRUE(catcher.CreateEx(0, AfxRegisterWndClass(0), "catcher", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 500),
                                     nullptr, 0));
    }
    void TearDown() override
    {
        catcher.DestroyWindow();
        ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
        MediaTest::TearDown();
    }
    CCatcher catcher;
};

TEST_F(ReferenceTabTest, FillShowsTitlesAndKindImagesAndOpeningGoesByKind)
{
    const struct {
        LONG kind;
        UINT image;
        UINT message;
        UINT view;
    } kinds[] = {
        {REFKIND_ANIMATION, 4030, VLM_POST_TO_WINDOW, IDW_MEDIA},  {REFKIND_VIDEO, 4031, VLM_POST_TO_WINDOW, IDW_MEDIA},
        {REFKIND_PICTURE, 4032, VLM_POST_TO_WINDOW, IDW_MEDIA},    {REFKIND_SOUND, 187, VLM_POST_TO_WINDOW, IDW_MEDIA},
        {REFKIND_SIMULATION, 4033, VLM_POST_TO_WINDOW, IDW_MEDIA}, {REFKIND_MAP, 0, VLM_OPEN_WINDOW, IDW_ATLAS},
        {REFKIND_VIRTUALREALITY, 4035, VLM_POST_TO_WINDOW, IDW_MEDIA},
        {REFKIND_ONLINESOUND, 187, VLM_POST_TO_WINDOW, IDW_MEDIA}, {REFKIND_ARTICLE, 4032, VLM_OPEN_WINDOW, IDW_ARTICLE},
        {REFKIND_ARTICLE2, 4032, VLM_OPEN_WINDOW, IDW_ARTICLE},    {REFKIND_BUBBLE, 4035, VLM_POST_TO_WINDOW, IDW_MEDIA},
        {REFKIND_TIMELINE, 4032, 0, 0},
    };
    CReferenceList refs;
    int n = 0;
    for (const auto& k : kinds) {
        CReference* pRef = PlacedReference(1001001 + n, k.kind, 1, 0);
        pRef->SetTitle(("Item " + std::to_string(n++)).c_str());
        refs.Append(pRef);
    }
    CReferenceTabWin tab;
    ASSERT_TRUE(tab.Create("LIST", 10, 10, &catcher, 15020));
    tab.FillList(&refs);
    CVLListWindow* list = tab.GetList();
    ASSERT_EQ(refs.GetCount(), list->GetItemCount());
    for (int i = 0; i < refs.GetCount(); ++i) {
        SCOPED_TRACE(i);
        HTREEITEM item = list->GetItemIdAt(i);
        EXPECT_EQ(("Item " + std::to_string(i)), std::string(list->GetItemText(item)));
        EXPECT_EQ(reinterpret_cast<LPARAM>(refs.GetAtIndex(i)), list->GetItemValue(item)) << "the reference, borrowed";
        if (kinds[i].image != 0) {
            EXPECT_EQ(int(kinds[i].image), list->GetItemImage(item));
        }
    }
    // Opening each kind: its message to the main window, carrying a copy.
    for (int i = 0; i < refs.GetCount(); ++i) {
        SCOPED_TRACE(i);
        catcher.got.clear();
        EXPECT_EQ(kinds[i].view, tab.OpenReference(refs.GetAtIndex(i), "text"));
        ui::PumpUntilIdle();
        if (kinds[i].message == 0) {
            EXPECT_TRUE(catcher.got.empty());
            continue;
        }
        ASSERT_EQ(1u, catcher.got.size());
        EXPECT_EQ(kinds[i].message, catcher.got[0].message);
        EXPECT_EQ(kinds[i].view, catcher.got[0].wParam);
        if (kinds[i].message == VLM_POST_TO_WINDOW) {
            auto* state = DYNAMIC_DOWNCAST(CMediaDisplayRef, catcher.got[0].object.get());
            ASSERT_NE(nullptr, state);
            EXPECT_EQ(refs.GetAtIndex(i)->GetNumber(), state->GetReference()->GetNumber());
            EXPECT_EQ(1, state->GetCallerValue()) << "the view's media list is left alone";
        } else {
            auto* ref = DYNAMIC_DOWNCAST(CReference, catcher.got[0].object.get());
            ASSERT_NE(nullptr, ref);
            EXPECT_NE(refs.GetAtIndex(i), ref) << "a clone travels";
        }
        EXPECT_EQ(kinds[i].kind == REFKIND_MAP, CReferenceTabWin::IsMapPending());
    }
    CReferenceTabWin::ClearPendingMap();
    // An empty list leaves CURRENT empty; ALL MEDIA stays chosen.
    tab.SelectFilter(1);
    CReferenceList empty;
    tab.FillList(&empty);
    EXPECT_EQ(0, list->GetItemCount());
    EXPECT_TRUE(tab.IsAllMediaChecked());
}

// Activating the panel turns it to CURRENT when CURRENT has items: by its WM_CHILDACTIVATE and by
// a press on its caption band; an empty CURRENT list leaves ALL MEDIA chosen.
TEST_F(ReferenceTabTest, ActivationTurnsToTheCurrentListWhenItHasItems)
{
    CMediaListTabWin tab;
    ASSERT_TRUE(tab.Create(10, 10, &catcher));
    tab.ShowWindow(SW_SHOW);
    ui::PumpUntilIdle();
    tab.SelectFilter(1);
    tab.SendMessage(WM_CHILDACTIVATE);
    EXPECT_TRUE(tab.IsAllMediaChecked()) << "nothing in CURRENT";

    CReferenceList given;
    for (auto [number, title] : {std::pair{1001002L, "Lava"}, std::pair{1001001L, "Biplane"}}) {
        CReference* pRef = PlacedReference(number, REFKIND_PICTURE, 1, 0);
        pRef->SetTitle(title);
        given.Append(pRef);
    }
    tab.SetCurrentList(&given);
    tab.SelectFilter(1);
    ASSERT_TRUE(tab.IsAllMediaChecked());
    tab.SendMessage(WM_CHILDACTIVATE);
    ui::PumpUntilIdle();
    EXPECT_FALSE(tab.IsAllMediaChecked());
    EXPECT_EQ(1, tab.GetCurrentButton()->GetCheck());
    EXPECT_TRUE(tab.GetList()->IsWindowVisible()) << "the CURRENT list is the one shown";
    EXPECT_FALSE(tab.GetBrowseList()->IsWindowVisible());

    // A press on the caption band activates it too.
    tab.SelectFilter(1);
    ASSERT_TRUE(tab.IsAllMediaChecked());
    CRect window;
    tab.GetWindowRect(&window);
    ui::AdvanceClock(1000);
    host::Click(window.left + 40, window.top + 8);
    ui::PumpUntilIdle();
    EXPECT_FALSE(tab.IsAllMediaChecked());
    EXPECT_TRUE(tab.GetList()->IsWindowVisible());
}

TEST_F(ReferenceTabTest, TheMediaListKeepsMediaSortedAndTheOverlayShowsOnlyPicturesAndSounds)
{
    CReferenceList given;
    for (auto [number, kind, title] : {std::tuple{1002L, REFKIND_ARTICLE, "Volcano"},
                                       std::tuple{1001002L, REFKIND_PICTURE, "Lava"},
                                       std::tuple{1001001L, REFKIND_PICTURE, "Biplane"}}) {
        CReference* pRef = PlacedReference(number, kind, 1, 0);
        pRef->SetTitle(title);
        given.Append(pRef);
    }
    CMediaListTabWin tab;
    ASSERT_TRUE(tab.Create(10, 10, &catcher));
    tab.SetCurrentList(NULL);
    EXPECT_EQ(nullptr, tab.GetCurrentList());
    tab.SetCurrentList(&given);
    ASSERT_NE(nullptr, tab.GetCurrentList());
    EXPECT_EQ(2, tab.GetCurrentList()->GetCount()) << "the article is not media";
    ASSERT_EQ(2, tab.GetList()->GetItemCount());
    EXPECT_EQ("Biplane", std::string(tab.GetList()->GetItemText(tab.GetList()->GetItemIdAt(0)))) << "sorted";

    // Closing the tab asks its parent to toggle the list (15000).
    struct CToggleSpy : public CWnd {
        BOOL OnCommand(WPARAM wParam, LPARAM) override
        {
            commands.push_back(LOWORD(wParam));
            return TRUE;
        }
        std::vector<UINT> commands;
    } parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "viewer", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 400), nullptr,
                                0));
    CMediaListTabWin closing;
    ASSERT_TRUE(closing.Create(10, 10, &parent));
    closing.SendMessage(WM_CLOSE);
    EXPECT_EQ(std::vector<UINT>{CMediaListTabWin::toggleCommand}, parent.commands);
    closing.DestroyWindow();
    parent.DestroyWindow();

    // Overlays: a map posts nothing; a picture and a sound go to the parent with -1.
    CReferenceList overlays;
    for (LONG kind : {REFKIND_MAP, REFKIND_PICTURE, REFKIND_SOUND})
        overlays.Append(PlacedReference(3100001 + kind, kind, 1, 0));
    CMediaOverlayWin overlay;
    ASSERT_TRUE(overlay.Create(18, 225, &catcher));
    overlay.SetOverlays(&overlays);
    for (int i = 0; i < 3; ++i) {
        catcher.got.clear();
        const BOOL bPosted = overlay.ShowOverlay(overlays.GetAtIndex(i));
        ui::PumpUntilIdle();
        EXPECT_EQ(i > 0, bPosted) << i;
        ASSERT_EQ(i > 0 ? 1u : 0u, catcher.got.size()) << i;
        if (i > 0) {
            EXPECT_EQ(UINT(VLM_POST_TO_WINDOW), catcher.got[0].message);
            EXPECT_EQ(WPARAM(-1), catcher.got[0].wParam);
            auto* state = DYNAMIC_DOWNCAST(CMediaDisplayRef, catcher.got[0].object.get());
            ASSERT_NE(nullptr, state);
            EXPECT_EQ(1, state->GetCallerValue());
        }
    }
}

}  // namespace
