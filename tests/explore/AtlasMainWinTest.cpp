// The atlas view on the sample disc under a recording frame: its start on the flat world map,
// maps opened by 0x401 (one history state each, the atlas asked for), zoom out and the history's
// states coming back, the overlay a restored state carries, the main menu's flag opening Map
// Search, the article button, a map that cannot be read, a resize to the same size, the layout
// rules per screen class, and screenshots at the three classes.
#include "MediaTestSupport.h"

#include "base/AppHost.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "base/ViewHost.h"
#include "explore/AtlasDistanceCalculator.h"
#include "explore/AtlasMainWin.h"
#include "explore/AtlasMapSearch.h"
#include "explore/AtlasShared.h"
#include "explore/AtlasStateObj.h"
#include "media/GrfPictureWin.h"
#include "widgets/RollOverButton.h"

#include <Atlas.h>
#include <SampleDisc.h>
#include <host/Display.h>
#include <host/Paths.h>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace explore_test {
namespace {

// The frame as the atlas sees it: it keeps the history's states, records which view it was asked
// to show and what was opened elsewhere, and hands atlas openings to the atlas as the main frame
// does once the map's disc is there.
class CAtlasTestFrame : public CWnd, public CViewHost {
public:
    CWnd* atlas = nullptr;
    std::vector<std::pair<WPARAM, std::unique_ptr<CVLStateObj>>> pushed;
    std::vector<UINT> shown;
    std::vector<std::pair<WPARAM, LONG>> opened;  // (view, number) of openings for other views

    BOOL ShowMainWindow(UINT nID, BOOL) override
    {
        shown.push_back(nID);
        return TRUE;
    }
    CAtlasStateObj* State(std::size_t n) const { return DYNAMIC_DOWNCAST(CAtlasStateObj, pushed.at(n).second.get()); }
    // Takes the newest state off the history (the frame's Back).
    CAtlasStateObj* PopState()
    {
        CVLStateObj* pState = pushed.back().second.release();
        pushed.pop_back();
        return DYNAMIC_DOWNCAST(CAtlasStateObj, pState);
    }

protected:
    afx_msg LRESULT OnPush(WPARAM wParam, LPARAM lParam)
    {
        pushed.emplace_back(wParam, reinterpret_cast<CVLStateObj*>(lParam));
        return 0;
    }
    afx_msg LRESULT OnOpen(WPARAM wParam, LPARAM lParam)
    {
        if (wParam == IDW_ATLAS && atlas != nullptr)
            return atlas->SendMessage(VLM_OPEN_WINDOW, wParam, lParam);
        std::unique_ptr<CReference> pRef(DYNAMIC_DOWNCAST(CReference, reinterpret_cast<CObject*>(lParam)));
        opened.emplace_back(wParam, pRef != nullptr ? pRef->GetNumber() : 0);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAtlasTestFrame, CWnd)
    ON_MESSAGE(VLM_PUSH_STATE, OnPush)
    ON_MESSAGE(VLM_OPEN_WINDOW, OnOpen)
END_MESSAGE_MAP()

// The Tool Kit's states as the view sets them.
class CToolHost : public CAppHost {
public:
    void EnableTools(BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember) override
    {
        last = {bPrint, bSticky, bHighlighter, bWizard, bRemember};
        ++calls;
    }
    std::vector<BOOL> last;
    int calls = 0;
};

const atlas::Region& Europe()
{
    for (const atlas::Region& r : atlas::Regions())
        if (r.name == "Europe")
            return r;
    return atlas::Regions().front();
}

CRect ChildRect(CWnd* pParent, CWnd* pChild)
{
    CRect rect;
    pChild->GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    return rect;
}

class AtlasMainWinTest : public media_test::MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        CAtlasShared::Reset();
        discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "t" / "disc");
        ASSERT_TRUE(m_table.LoadTable());
        AppServices().owned.pSearchEngine = &m_table;
        SetAppHost(&m_host);
    }
    void TearDown() override
    {
        DestroyView();
        SetAppHost(NULL);
        CAtlasShared::Reset();
        FreeLibrary();
        AppServices().owned.pSearchEngine = NULL;
        MediaTest::TearDown();
    }

    void FreeLibrary()
    {
        if (AppServices().env.hResourceLibrary != NULL)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
    }
    // The display of a screen class, its resource library, the frame over the display and the
    // atlas in the frame's view area (the frame's top 60 pixels stand for its toolbar).
    void MakeView(int nClass)
    {
        static const SIZE sizes[] = {{640, 480}, {800, 600}, {1024, 768}};
        DestroyView();
        FreeLibrary();
        const SIZE size = sizes[nClass];
        host::SetDisplaySize(size.cx, size.cy);
        AppServices().env.nScreenClass = nClass;
        AppServices().env.nScreenWidth = size.cx;
        AppServices().env.nScreenHeight = size.cy;
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res" + std::to_string(nClass) + ".dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(AppServices().env.hResourceLibrary, nullptr);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0, NULL, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                   "Frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, size.cx, size.cy), nullptr, 0));
        app.m_pMainWnd = &frame;
        view = new CAtlasMainWin;
        frame.atlas = view;
        ASSERT_TRUE(view->Create(&frame, CRect(0, 60, size.cx, size.cy)));
        // As the frame shows a view: shown, then activated.
        view->ShowWindow(SW_SHOW);
        view->OnActivateMainWin(TRUE);
        ui::PumpUntilIdle();
    }
    void DestroyView()
    {
        frame.atlas = nullptr;
        if (view != nullptr) {
            view->DestroyWindow();
            delete view;
            view = nullptr;
        }
        if (frame.GetSafeHwnd() != nullptr)
            frame.DestroyWindow();
        app.m_pMainWnd = nullptr;
        frame.pushed.clear();
        frame.shown.clear();
        frame.opened.clear();
    }
    void Open(LONG number)
    {
        view->SendMessage(VLM_OPEN_WINDOW, IDW_ATLAS, reinterpret_cast<LPARAM>(new CReference(number, "")));
        ui::PumpUntilIdle();
    }
    void Click(UINT nId)
    {
        view->SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0);
        ui::PumpUntilIdle();
    }
    BOOL Shows(CAtlasMainWin::Button n) const { return view->GetButton(n)->IsWindowVisible(); }
    CRect Rect(CWnd* pChild) const { return ChildRect(view, pChild); }

    void Keep(const std::string& name)
    {
        const std::string png = (dir.path() / name).string();
        ASSERT_TRUE(host::SaveDesktopPng(png));
        if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
            std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }

    CRomLinkTable m_table;
    CToolHost m_host;
    CAtlasTestFrame frame;
    CAtlasMainWin* view = nullptr;
};

TEST_F(AtlasMainWinTest, StartsOnTheFlatWorldMapWithItsIntroductionAndTwoButtons)
{
    MakeView(1);
    EXPECT_EQ(3000732, view->GetMapNumber());
    EXPECT_STREQ("Flat World Map", view->GetMapTitle());
    ASSERT_NE(nullptr, view->GetPictureWin());
    EXPECT_TRUE(view->GetPictureWin()->IsWindowVisible());
    EXPECT_FALSE(view->GetIntroText().IsEmpty()) << "the introduction comes from the string table";
    EXPECT_GT(view->GetIntroRect().Height(), 0);
    EXPECT_TRUE(Shows(CAtlasMainWin::btnDistance));
    EXPECT_TRUE(Shows(CAtlasMainWin::btnMapSearch));
    EXPECT_FALSE(Shows(CAtlasMainWin::btnArticle));
    EXPECT_FALSE(Shows(CAtlasMainWin::btnOverlays));
    EXPECT_FALSE(Shows(CAtlasMainWin::btnZoomOut));
    EXPECT_FALSE(view->GetControlPad().IsWindowVisible());
    EXPECT_EQ(nullptr, view->GetMapSearch()) << "Map Search is made on first use";
    EXPECT_TRUE(frame.pushed.empty()) << "the start records nothing";
    EXPECT_STREQ("Political", CAtlasShared::GetOverlayName());
    // The Tool Kit: print on (a picture is loaded), sticky notes, no highlighter, wizards.
    EXPECT_TRUE(view->AreToolsEnabled());
    EXPECT_EQ((std::vector<BOOL>{TRUE, TRUE, FALSE, TRUE, TRUE}), m_host.last);
    EXPECT_TRUE(view->CanPrint());

    // "DGP" y turns the atlas's tools off (case does not matter); 0x437 reads it again.
    ASSERT_TRUE(WritePrivateProfileString("Veltra Jubilee 2000 (International)", "DGP", "Y", "T:\\vl00i1se.ini"));
    view->SendMessage(VLM_REFRESH_TOOLS, 1, 0);
    EXPECT_FALSE(view->AreToolsEnabled());
    EXPECT_EQ(FALSE, m_host.last[0]);
}

TEST_F(AtlasMainWinTest, AMapOpenedRecordsOneStateZoomOutRecordsAnotherAndBackBringsThemBack)
{
    MakeView(1);
    const atlas::Region& europe = Europe();
    Open(static_cast<LONG>(europe.political));
    EXPECT_EQ(LONG(europe.political), view->GetMapNumber());
    EXPECT_STREQ("Europe", view->GetMapTitle());
    EXPECT_TRUE(Shows(CAtlasMainWin::btnArticle));
    EXPECT_TRUE(Shows(CAtlasMainWin::btnOverlays));
    EXPECT_TRUE(Shows(CAtlasMainWin::btnZoomOut));
    ASSERT_EQ(1u, frame.pushed.size());
    EXPECT_EQ(WPARAM(0), frame.pushed[0].first);
    CAtlasStateObj* first = frame.State(0);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(UINT(IDW_ATLAS), first->m_nWindowID);
    EXPECT_EQ(LONG(europe.political), first->GetMapNumber());
    EXPECT_STREQ("Europe", first->GetMapTitle());
    EXPECT_EQ(0, first->GetOverlayNumber());
    EXPECT_STREQ("Political", first->GetOverlayName());
    EXPECT_EQ((std::vector<UINT>{IDW_ATLAS}), frame.shown);
    ASSERT_NE(nullptr, CAtlasShared::GetOverlayList()) << "the map's overlays go to the pad";
    EXPECT_GE(CAtlasShared::GetOverlayList()->GetCount(), 1);

    // The article button opens the region's article (the record's article number).
    Click(IDC_ATLAS_ARTICLE);
    ASSERT_EQ(1u, frame.opened.size());
    EXPECT_EQ(WPARAM(IDW_ARTICLE), frame.opened[0].first);
    EXPECT_EQ(LONG(europe.article), frame.opened[0].second);

    // Zoom out: the world map, recorded by the view's own 0x40E (0, 0).
    Click(IDC_ATLAS_ZOOM_OUT);
    EXPECT_EQ(3000732, view->GetMapNumber());
    EXPECT_FALSE(Shows(CAtlasMainWin::btnZoomOut));
    ASSERT_EQ(2u, frame.pushed.size());
    EXPECT_EQ(3000732, frame.State(1)->GetMapNumber());

    // Back twice: each state comes back and returns to the history marked 0x407.
    for (LONG expected : {LONG(3000732), LONG(europe.political)}) {
        CAtlasStateObj* state = frame.PopState();
        ASSERT_NE(nullptr, state);
        view->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(state));
        ui::PumpUntilIdle();
        EXPECT_EQ(expected, view->GetMapNumber());
        ASSERT_FALSE(frame.pushed.empty());
        EXPECT_EQ(WPARAM(VLM_RESTORE_STATE), frame.pushed.back().first);
        EXPECT_EQ(static_cast<CVLStateObj*>(state), frame.pushed.back().second.get()) << "the same state goes back";
        frame.pushed.pop_back();
    }
    EXPECT_STREQ("Europe", view->GetMapTitle());

    // What is not a reference is freed (the sanitizer sees a leak).
    view->SendMessage(VLM_OPEN_WINDOW, IDW_ATLAS, reinterpret_cast<LPARAM>(new CAtlasStateObj(1, "x", 0, "")));
    EXPECT_EQ(LONG(europe.political), view->GetMapNumber());
}

TEST_F(AtlasMainWinTest, ARestoredStateKeepsItsOverlayForItsOwnSwitchOnly)
{
    MakeView(0);
    const atlas::Region& europe = Europe();
    auto* state = new CAtlasStateObj(static_cast<LONG>(europe.political), "Europe", 1, "Average July temperatures");
    view->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(state));
    ui::PumpUntilIdle();
    EXPECT_EQ(LONG(europe.political), view->GetMapNumber());
    EXPECT_STREQ("Average July temperatures", CAtlasShared::GetOverlayName()) << "not the title's theme";
    EXPECT_EQ(0, CAtlasShared::GetOverlayNumber());

    Open(static_cast<LONG>(europe.terrain));
    ASSERT_EQ(2u, frame.pushed.size());
    CAtlasStateObj* next = frame.State(1);
    EXPECT_EQ(LONG(europe.terrain), next->GetMapNumber());
    EXPECT_EQ(0, next->GetOverlayNumber());
    EXPECT_STREQ("Terrain", next->GetOverlayName()) << "the new map's own theme";

    // An overlay chosen from the pad's list (number 1, its name) is recorded with the map and
    // only then forgotten.
    CAtlasShared::SetOverlayName("Terrain");
    CAtlasShared::SetOverlayNumber(1);
    Open(static_cast<LONG>(europe.political));
    ASSERT_EQ(3u, frame.pushed.size());
    EXPECT_EQ(1, frame.State(2)->GetOverlayNumber());
    EXPECT_STREQ("Terrain", frame.State(2)->GetOverlayName());
    EXPECT_EQ(0, CAtlasShared::GetOverlayNumber());

    // Copies carry all four values.
    CAtlasStateObj copy(*frame.State(2));
    CAtlasStateObj assigned(1, "", 0, "");
    assigned = copy;
    for (const CAtlasStateObj* s : {&copy, &assigned}) {
        EXPECT_EQ(LONG(europe.political), s->GetMapNumber());
        EXPECT_STREQ("Europe", s->GetMapTitle());
        EXPECT_EQ(1, s->GetOverlayNumber());
        EXPECT_STREQ("Terrain", s->GetOverlayName());
    }
    std::unique_ptr<CVLStateObj> clone(copy.Clone());
    ASSERT_NE(nullptr, DYNAMIC_DOWNCAST(CAtlasStateObj, clone.get()));
    EXPECT_EQ(1, static_cast<CAtlasStateObj*>(clone.get())->GetOverlayNumber());
}

TEST_F(AtlasMainWinTest, OverlayNamesComeFromTheMapTitle)
{
    const struct {
        const char* title;
        const char* overlay;
    } cases[] = {
        {"Average July temperatures of Europe", "Average July temperatures"},
        {"Average January temperatures of Asia", "Average January temperatures"},
        {"Terrain of Asia", "Terrain"},
        {"Population density of Africa", "Population density"},
        {"Europe", "Political"},
        {"The Terrain of Asia", "Political"},
        {"", "Political"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.overlay, CAtlasShared::ThemeOfTitle(c.title)) << c.title;

    // Through the view: each map shown names its theme.
    MakeView(1);
    Open(static_cast<LONG>(Europe().terrain));
    EXPECT_STREQ("Terrain", CAtlasShared::GetOverlayName());
    Open(static_cast<LONG>(Europe().political));
    EXPECT_STREQ("Political", CAtlasShared::GetOverlayName());
}

TEST_F(AtlasMainWinTest, TheStartPageOpensMapSearchOnlyWithTheMainMenuFlag)
{
    MakeView(1);
    // The toolbar's atlas button: a state recorded, the atlas asked for, no Map Search.
    view->SendMessage(VLM_START_PAGE, IDW_ATLAS, 0);
    ui::PumpUntilIdle();
    EXPECT_EQ(1u, frame.pushed.size());
    EXPECT_EQ(3000732, frame.State(0)->GetMapNumber());
    EXPECT_EQ((std::vector<UINT>{IDW_ATLAS}), frame.shown);
    EXPECT_EQ(nullptr, view->GetMapSearch());

    // The main menu's "Search Maps".
    view->SendMessage(VLM_START_PAGE, IDW_ATLAS, 1);
    ui::PumpUntilIdle();
    EXPECT_EQ(2u, frame.pushed.size());
    ASSERT_NE(nullptr, view->GetMapSearch());
    EXPECT_TRUE(view->GetMapSearch()->IsWindowVisible());
    EXPECT_TRUE(view->GetButton(CAtlasMainWin::btnMapSearch)->IsAlternate()) << "its button looks pressed";

    // The button hides it again; a map switch hides it too.
    Click(IDC_ATLAS_MAP_SEARCH);
    EXPECT_FALSE(view->GetMapSearch()->IsWindowVisible());
    EXPECT_FALSE(view->GetButton(CAtlasMainWin::btnMapSearch)->IsAlternate());
    Click(IDC_ATLAS_MAP_SEARCH);
    EXPECT_TRUE(view->GetMapSearch()->IsWindowVisible());
    Open(static_cast<LONG>(Europe().political));
    EXPECT_FALSE(view->GetMapSearch()->IsWindowVisible());
}

TEST_F(AtlasMainWinTest, TheDistanceCalculatorButtonShowsAndHidesItNeverBesideMapSearch)
{
    MakeView(1);
    EXPECT_EQ(nullptr, view->GetDistanceCalculator()) << "made on first use";
    Click(IDC_ATLAS_DISTANCE);
    CAtlasDistanceCalculator* pCalc = view->GetDistanceCalculator();
    ASSERT_NE(nullptr, pCalc);
    EXPECT_TRUE(pCalc->IsWindowVisible());
    EXPECT_TRUE(view->GetButton(CAtlasMainWin::btnDistance)->IsAlternate());
    EXPECT_TRUE(pCalc->IsTimerSet(IDT_DISTCALC_SPIN)) << "the shown globe spins";
    CRect client;
    view->GetClientRect(&client);
    const CRect rect = Rect(pCalc);
    EXPECT_EQ(CPoint(client.right - 10, client.bottom - 5), rect.BottomRight());
    EXPECT_EQ(CAtlasDistanceCalculator::PanelSize(1), rect.Size());

    Click(IDC_ATLAS_DISTANCE);
    EXPECT_FALSE(pCalc->IsWindowVisible());
    EXPECT_FALSE(view->GetButton(CAtlasMainWin::btnDistance)->IsAlternate());
    EXPECT_FALSE(pCalc->IsTimerSet(IDT_DISTCALC_SPIN)) << "a hidden panel runs no timer";

    // Map Search and the calculator take turns.
    Click(IDC_ATLAS_DISTANCE);
    Click(IDC_ATLAS_MAP_SEARCH);
    ASSERT_NE(nullptr, view->GetMapSearch());
    EXPECT_TRUE(view->GetMapSearch()->IsWindowVisible());
    EXPECT_FALSE(pCalc->IsWindowVisible());
    Click(IDC_ATLAS_DISTANCE);
    EXPECT_TRUE(pCalc->IsWindowVisible());
    EXPECT_FALSE(view->GetMapSearch()->IsWindowVisible());

    // Deactivation stops and hides it; activation brings it back.
    view->OnActivateMainWin(FALSE);
    ui::PumpUntilIdle();
    EXPECT_FALSE(pCalc->IsWindowVisible());
    for (UINT nTimer : {IDT_DISTCALC_SPIN, IDT_DISTCALC_TYPING1, IDT_DISTCALC_TYPING2, IDT_DISTCALC_RING,
                        IDT_DISTCALC_BLINK})
        EXPECT_FALSE(pCalc->IsTimerSet(nTimer)) << nTimer;
    view->OnActivateMainWin(TRUE);
    ui::PumpUntilIdle();
    EXPECT_TRUE(pCalc->IsWindowVisible());

    // Vienna to Buenos Aires on the sample disc; show on map opens Vienna's map.
    pCalc->GetEdit(1).SetWindowText("Vienna");
    pCalc->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    pCalc->GetEdit(2).SetWindowText("Buenos");
    pCalc->SendMessage(VLM_DISTCALC_FOCUS, 0, 2 << 16);
    pCalc->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ui::PumpUntilIdle();
    EXPECT_EQ(pCalc->GetMilesText(), "7,341");
    EXPECT_EQ(pCalc->GetKilometresText(), "11,814");
    EXPECT_TRUE(pCalc->ShowPlaceOnMap(1));
    ui::PumpUntilIdle();
}

TEST_F(AtlasMainWinTest, WithoutPlaceFilesMapSearchSaysSoAndTheViewGoesOn)
{
    std::filesystem::remove(DataFolder() / "map_loc.dat");
    MakeView(1);
    // The place list's own message, then the view's.
    host::AnswerMessageBox("Unable to prepare Atlas' data.", IDOK);
    host::AnswerMessageBox("could not be displayed", IDOK);
    view->SendMessage(VLM_START_PAGE, IDW_ATLAS, 1);
    ui::PumpUntilIdle();
    const auto boxes = NewBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ("The Map Search window could not be displayed.", boxes.back());
    EXPECT_EQ(nullptr, view->GetMapSearch());
    EXPECT_EQ(1u, frame.pushed.size()) << "the state was still recorded";
}

TEST_F(AtlasMainWinTest, AMapThatCannotBeReadLeavesTheViewUsable)
{
    MakeView(1);
    // A map reference whose block holds no picture record.
    host::AnswerNextMessageBox(IDOK);
    view->SendMessage(VLM_OPEN_WINDOW, IDW_ATLAS,
                      reinterpret_cast<LPARAM>(media_test::PlacedReference(3009999, REFKIND_MAP, 1, 0)));
    ui::PumpUntilIdle();
    EXPECT_FALSE(NewBoxes().empty()) << "the picture record's own message";
    EXPECT_EQ(3009999, view->GetMapNumber());
    ASSERT_NE(nullptr, view->GetDocument());
    EXPECT_FALSE(view->GetDocument()->IsLoaded());
    EXPECT_FALSE(view->AreToolsEnabled());
    EXPECT_FALSE(view->CanPrint());
    EXPECT_EQ(FALSE, m_host.last[0]);
    // No article to open; zoom out leads to the world map.
    Click(IDC_ATLAS_ARTICLE);
    EXPECT_TRUE(frame.opened.empty());
    Click(IDC_ATLAS_ZOOM_OUT);
    EXPECT_EQ(3000732, view->GetMapNumber());
    EXPECT_TRUE(view->AreToolsEnabled());
}

TEST_F(AtlasMainWinTest, ASizeLikeTheLastChangesNothing)
{
    MakeView(1);
    Open(static_cast<LONG>(Europe().political));
    CRect client;
    view->GetClientRect(&client);
    CGrfPictureWin* picture = view->GetPictureWin();
    ASSERT_NE(nullptr, picture);
    const CRect placed = Rect(picture);
    picture->SetWindowPos(NULL, 3, 200, 50, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    EXPECT_EQ(CRect(3, 200, 53, 240), Rect(picture)) << "no layout for the same size";
    view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width() - 1, client.Height()));
    EXPECT_NE(CRect(3, 200, 53, 240), Rect(picture));
    view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    EXPECT_EQ(placed, Rect(picture));

    // Minimised while current: the picture's rectangle is kept and used by the next layout
    // once.
    picture->SetWindowPos(NULL, 20, 100, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    view->RememberChildWindows(1);
    view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width() - 2, client.Height()));
    EXPECT_EQ(CRect(20, 100, 320, 300), Rect(picture));
    view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    EXPECT_EQ(placed, Rect(picture));
}

// The legend's second place (header byte 394): only inside the archive, and only when set.
class AtlasLegendTest : public media_test::MediaTest {};

TEST_F(AtlasLegendTest, TheSecondLegendPlaceIsUsedOnlyInsideTheArchive)
{
    const std::uint32_t values[] = {100, 0, 0x7FFF0000u};
    std::vector<std::string> records;
    for (std::uint32_t value : values) {
        std::string record = discbuilder::WriteGrfRecord(media_test::RichPicture());
        discbuilder::GrfPut32(record, 394, value);
        records.push_back(record);
    }
    const std::vector<LONG> blocks = WriteArchive(records);
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        std::unique_ptr<CReference> ref(media_test::PlacedReference(1001001 + LONG(i), REFKIND_PICTURE, 1, blocks[i]));
        CGrfDocument doc;
        ASSERT_TRUE(doc.Load(ref.get(), FALSE));
        EXPECT_EQ(i == 0 ? blocks[i] * 512 + 100 : 0, doc.GetAlternativeLegendPosition());
    }
}

TEST(AtlasLayoutRules, PictureAndMapSearchPlacement)
{
    const CRect client(0, 0, 800, 540);
    // The flat map centres the picture; other maps keep 10 pixels on the right, but never
    // start left of the client.
    EXPECT_EQ(CRect(100, 145, 700, 445), CAtlasMainWin::PlacePicture(client, 60, CSize(600, 300), TRUE));
    EXPECT_EQ(CRect(190, 145, 790, 445), CAtlasMainWin::PlacePicture(client, 60, CSize(600, 300), FALSE));
    EXPECT_EQ(CRect(0, 60, 900, 530), CAtlasMainWin::PlacePicture(client, 60, CSize(900, 470), FALSE));

    const CRect remembered(0, 0, 235, 330);
    const struct {
        int nClass;
        CRect current;
        int padWidth;
        CRect client;
        CRect expected;
    } cases[] = {
        // First placement: left 10, top row bottom + gap + 50, the remembered size.
        {0, CRect(), 0, client, CRect(10, 36 + 10 + 50, 245, 36 + 10 + 50 + 330)},
        {1, CRect(), 0, client, CRect(10, 36 + 13 + 50, 245, 36 + 13 + 50 + 330)},
        {2, CRect(), 0, client, CRect(10, 36 + 16 + 50, 245, 36 + 16 + 50 + 330)},
        // Beside a pad that shows on the flat map: right of it, no further 50 pixels.
        {1, CRect(), 202, client, CRect(222, 49, 457, 379)},
        // A short client: the bottom stops 30 pixels above the client's bottom ...
        {1, CRect(), 0, CRect(0, 0, 800, 400), CRect(10, 99, 245, 370)},
        // ... but the panel keeps 160 pixels.
        {1, CRect(), 0, CRect(0, 0, 800, 250), CRect(10, 99, 245, 259)},
        // Placed before: kept, moved right of the margin, below the row and above the limit.
        {1, CRect(300, 200, 535, 400), 0, client, CRect(300, 200, 535, 400)},
        {1, CRect(-50, 20, 185, 620), 0, client, CRect(10, 99, 245, 510)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, CAtlasMainWin::PlaceMapSearch(c.client, 36, c.nClass, remembered, c.current, c.padWidth))
            << c.nClass << " " << c.current.left << " " << c.client.bottom;
}

TEST_F(AtlasMainWinTest, LayoutAtTheThreeScreenClassesWithScreenshots)
{
    const int fontHeights[] = {13, 15, 17};
    const CPoint origins[] = {{10, 30}, {351, 60}, {388, 72}};
    const int maxRights[] = {495, 680, 872};
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        MakeView(n);
        CRect client;
        view->GetClientRect(&client);
        EXPECT_EQ(fontHeights[n], CAtlasMainWin::IntroFontHeight(n));
        EXPECT_EQ(origins[n], view->GetIntroRect().TopLeft());
        EXPECT_EQ(std::min<int>(client.right - 10, maxRights[n]), view->GetIntroRect().right);

        // The row from the right edge less 10, right to left without gaps, at top 10.
        int right = client.right - 10;
        for (int b = 0; b < CAtlasMainWin::kButtonCount; ++b) {
            const CRect rect = Rect(view->GetButton(static_cast<CAtlasMainWin::Button>(b)));
            EXPECT_EQ(right, rect.right) << b;
            EXPECT_EQ(10, rect.top) << b;
            right = rect.left;
        }
        const CRect zoom = Rect(view->GetButton(CAtlasMainWin::btnZoomOut));

        // The flat map: centred, below the introduction.
        const CRect flat = Rect(view->GetPictureWin());
        EXPECT_LE(std::abs(flat.left - (client.right - flat.right)), 1);
        EXPECT_GE(flat.top, view->GetIntroRect().bottom);
        EXPECT_LE(flat.bottom, client.bottom - 10);
        Keep("atlas-flat-map-" + std::to_string(n) + ".png");

        // A regional map: right-aligned 10 pixels from the edge (or from the client's left when
        // wider), below the button row; with the pad and Map Search.
        Open(static_cast<LONG>(Europe().political));
        const CRect regional = Rect(view->GetPictureWin());
        EXPECT_TRUE(regional.right == client.right - 10 || regional.left == 0) << regional.left << "," << regional.right;
        EXPECT_GE(regional.top, zoom.bottom);
        EXPECT_EQ(zoom.bottom, view->GetMapAreaTop());
        Click(IDC_ATLAS_OVERLAYS);
        EXPECT_TRUE(view->GetControlPad().IsWindowVisible());
        EXPECT_EQ(CPoint(10, 1), Rect(&view->GetControlPad()).TopLeft());
        Click(IDC_ATLAS_MAP_SEARCH);
        ASSERT_NE(nullptr, view->GetMapSearch());
        const CRect search = Rect(view->GetMapSearch());
        const int gaps[] = {10, 13, 16};
        EXPECT_EQ(CRect(10, zoom.bottom + gaps[n] + 50, 245, std::min<int>(zoom.bottom + gaps[n] + 50 + 330, client.bottom - 30)),
                  search);
        Keep("atlas-europe-" + std::to_string(n) + ".png");

        // The pad stays open for the next map; the button hides it.
        Open(static_cast<LONG>(Europe().terrain));
        EXPECT_TRUE(view->GetControlPad().IsWindowVisible());
        Click(IDC_ATLAS_OVERLAYS);
        EXPECT_FALSE(view->GetControlPad().IsWindowVisible());
    }
}

}  // namespace
}  // namespace explore_test
