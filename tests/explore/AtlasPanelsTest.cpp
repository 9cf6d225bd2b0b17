// The atlas's panels in a test parent under a recording top-level window: Map Search (type-ahead
// on the stepped clock, Enter, clicks, the place opened as 0x401 for the atlas with its hit),
// and the overlay control pad (its name box of one or two lines, the overlay list and choosing
// an overlay, the legend from the map's own source, the rounded window region), with
// screenshots at the three screen classes.
#include "MediaTestSupport.h"

#include "base/HitList.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "explore/AtlasControlPad.h"
#include "explore/AtlasMapSearch.h"
#include "explore/AtlasOverlayTabWin.h"
#include "explore/AtlasShared.h"
#include "explore/AtlasTreeControl.h"
#include "explore/AtlasVirtualList.h"
#include "media/GrfPictureWin.h"
#include "widgets/DibButton.h"
#include "widgets/DibWin.h"
#include "widgets/VLListWindow.h"

#include <Atlas.h>
#include <ListFileWriter.h>
#include <SampleDisc.h>
#include <SampleAtlas.h>
#include <host/Display.h>
#include <host/Input.h>
#include <host/Paths.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace explore_test {
namespace {

using discbuilder::AtlasPlace;

const COLORREF kAtlasGround = RGB(255, 255, 231);

// What reached the top-level window.
struct Opened {
    WPARAM view = 0;
    LONG number = 0;
    CString title;
    int hits = 0;
    UINT section = 0, offset = 0, length = 0;
};

// The frame as the panels see it: a top-level window that records the openings and owns what
// they carry. With an atlas attached it forwards an atlas opening to it.
class CRecordingTop : public CWnd {
public:
    std::vector<Opened> opened;
    std::function<void(CReference*)> onAtlas;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != VLM_OPEN_WINDOW)
            return CWnd::WindowProc(message, wParam, lParam);
        std::unique_ptr<CReference> pRef(reinterpret_cast<CReference*>(lParam));
        Opened o;
        o.view = wParam;
        if (pRef != NULL) {
            o.number = pRef->GetNumber();
            o.title = pRef->GetTitle();
            if (auto* pHits = DYNAMIC_DOWNCAST(CHitList, pRef->GetData()); pHits != NULL) {
                o.hits = pHits->GetCount();
                if (CHitPosition* pFirst = pHits->GetFirst()) {
                    o.section = pFirst->GetSection();
                    o.offset = pFirst->GetOffset();
                    o.length = pFirst->GetLength();
                }
            }
        }
        opened.push_back(o);
        if (onAtlas && wParam == IDW_ATLAS)
            onAtlas(pRef.get());
        return 1;
    }
};

// The atlas's place: a cream child with a Map Search button; it records the clicks that reach it.
class CAtlasStandIn : public CWnd {
public:
    int clicks = 0;
    int padToggles = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONDOWN)
            ++clicks;
        if (message == VLM_ATLAS_TOGGLE_PAD)
            ++padToggles;
        if (message == WM_ERASEBKGND) {
            CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
            CRect client;
            GetClientRect(&client);
            CBrush cream(kAtlasGround);
            pDC->FillRect(&client, &cream);
            return 1;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Sorted place names: "Aachen" ... with map 3000733 + i % 3 and hot spot i.
std::vector<AtlasPlace> Places()
{
    const char* names[] = {"Aachen",  "Aberdeen", "Abidjan", "Accra",    "Addis Ababa", "Adelaide", "Agadir",
                           "Algiers", "Almaty",   "Amman",   "Amsterdam", "Ankara",     "Antwerp",  "Athens",
                           "Auckland", "Baghdad", "Baku",    "Bamako",   "Bangkok",     "Barcelona", "Beirut",
                           "Belgrade", "Berlin",  "Bern",    "Bogota",   "Bonn",        "Brasilia", "Bremen",
                           "Brussels", "Bucharest", "Budapest", "Cairo", "Calgary",     "Canberra", "Caracas",
                           "Chicago",  "Dakar",   "Delhi",   "Dublin"};
    std::vector<AtlasPlace> places;
    int i = 0;
    for (const char* name : names) {
        places.push_back({name, "XX", "1.0", "2.0", 3000733u + static_cast<unsigned>(i % 3), i + 5, 1100});
        ++i;
    }
    return places;
}

class AtlasPanelsTest : public media_test::MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        CAtlasShared::Reset();
        UseScreenClass(0);
    }
    void TearDown() override
    {
        m_pad.reset();
        m_search.reset();
        if (m_atlas.GetSafeHwnd() != NULL)
            m_atlas.DestroyWindow();
        if (m_top.GetSafeHwnd() != NULL)
            m_top.DestroyWindow();
        CAtlasShared::Reset();
        FreeLibrary();
        MediaTest::TearDown();
    }

    void FreeLibrary()
    {
        if (AppServices().env.hResourceLibrary != NULL)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
    }
    // The display of a screen class and its resource library.
    void UseScreenClass(int n)
    {
        static const SIZE sizes[] = {{640, 480}, {800, 600}, {1024, 768}};
        FreeLibrary();
        host::SetDisplaySize(sizes[n].cx, sizes[n].cy);
        AppServices().env.nScreenClass = n;
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res" + std::to_string(n) + ".dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(AppServices().env.hResourceLibrary, nullptr);
    }

    void WritePlaces(const std::vector<AtlasPlace>& places)
    {
        std::vector<discbuilder::ListFileEntry> search, distances;
        discbuilder::MakePlaceListEntries(places, search, distances);
        discbuilder::WriteListFiles(DataFolder() / "map_loc.dat", DataFolder() / "map_loc.ndx", search,
                                    discbuilder::kPlaceLineLimit);
    }

    // The frame and the atlas's place filling the screen.
    void MakeWindows()
    {
        const SIZE screen = host::GetDisplaySize();
        ASSERT_TRUE(m_top.CreateEx(0, AfxRegisterWndClass(0), "frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                   CRect(0, 0, screen.cx, screen.cy), NULL, 0));
        ASSERT_TRUE(m_atlas.Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)), "atlas",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, screen.cx, screen.cy), &m_top,
                                   IDW_ATLAS));
        ASSERT_TRUE(m_searchButton.Create("Map Search", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                          CRect(screen.cx - 60, 10, screen.cx - 10, 30), &m_atlas,
                                          IDC_ATLAS_MAP_SEARCH_BUTTON));
        ASSERT_TRUE(m_searchButton.LoadStateBitmaps(IDB_PAD_CLOSE, IDB_PAD_CLOSE_PRESSED));
        ui::PumpUntilIdle();
    }

    void MakeSearch()
    {
        MakeWindows();
        ASSERT_NO_THROW(m_search = std::make_unique<CAtlasMapSearch>());
        ASSERT_TRUE(m_search->Create(CRect(10, 60, 245, 390), &m_atlas));
        m_search->ShowWindow(SW_SHOW);
        m_search->FocusEdit();
        ui::PumpUntilIdle();
    }

    void MakePad()
    {
        MakeWindows();
        m_pad = std::make_unique<CAtlasControlPad>();
        ASSERT_TRUE(m_pad->Create(10, 1, &m_atlas));
        ui::PumpUntilIdle();
    }

    // Types one key into the focus window and lets the clock run on.
    static void Key(UINT vk, std::uint64_t thenMs)
    {
        host::PressKey(vk);
        ui::AdvanceClock(thenMs);
    }

    static CReferenceList* Overlays(const std::vector<std::pair<const char*, LONG>>& items)
    {
        auto* pList = new CReferenceList;
        for (const auto& [title, number] : items)
            pList->Append(new CReference(number, title));
        return pList;
    }

    // The text width of the pad's name font.
    static int NameWidth(const CString& text)
    {
        CClientDC dc(NULL);
        CFont font;
        font.CreatePointFont(110, "Arial");
        CFont* pOld = dc.SelectObject(&font);
        const int n = dc.GetTextExtent(text).cx;
        dc.SelectObject(pOld);
        return n;
    }

    CPoint ScreenOf(CWnd& wnd, CPoint client)
    {
        wnd.ClientToScreen(&client);
        return client;
    }

    void Keep(const std::string& name)
    {
        const std::string png = (dir.path() / name).string();
        ASSERT_TRUE(host::SaveDesktopPng(png));
        if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
            std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }

    CRecordingTop m_top;
    CAtlasStandIn m_atlas;
    CDibButton m_searchButton;
    std::unique_ptr<CAtlasMapSearch> m_search;
    std::unique_ptr<CAtlasControlPad> m_pad;
};

// ---- Map Search ----

TEST_F(AtlasPanelsTest, TypingStartsOneLookUpThreeHundredMillisecondsAfterTheLastKey)
{
    WritePlaces(Places());
    MakeSearch();
    CAtlasTreeControl* pList = m_search->GetList();
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(CString("Aachen"), pList->GetTopTitle());

    // B, e, r 100 ms apart: no look-up while typing, one 300 ms after the last key.
    Key('B', 100);
    Key('E', 100);
    Key('R', 100);
    ui::AdvanceClock(199);
    EXPECT_TRUE(m_search->IsTypingTimerSet());
    EXPECT_EQ(CString("Aachen"), pList->GetTopTitle()) << "no look-up before the pause";
    ui::AdvanceClock(1);
    EXPECT_FALSE(m_search->IsTypingTimerSet());
    EXPECT_EQ(CString("Berlin"), pList->GetTopTitle()) << "\"ber\" after the pause, not \"b\" or \"be\"";
    EXPECT_EQ(23, pList->GetCurrentItemData());
    EXPECT_TRUE(m_top.opened.empty()) << "a look-up opens nothing";

    // A prefix that matches nothing leaves the list where its find puts it: the first title
    // after it, or the last row when every title is less.
    struct Case {
        const char* text;
        const char* top;
        long row;
    };
    const Case cases[] = {{"Bz", "Cairo", 32}, {"Zz", "Dublin", 39}, {"", "Aachen", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_search->GetEdit().SetWindowText(c.text);
        Key(VK_END, 300);
        EXPECT_EQ(c.row, pList->GetCurrentItemData());
        EXPECT_EQ(c.row, m_search->GetData()->FindTitle(c.text));
    }
}

TEST_F(AtlasPanelsTest, EnterRunsAPendingLookUpAtOnceAndOpensThePlaceWithItsHit)
{
    WritePlaces(Places());
    MakeSearch();
    Key('C', 10);
    Key('A', 10);
    EXPECT_TRUE(m_search->IsTypingTimerSet());
    Key(VK_RETURN, 0);
    EXPECT_FALSE(m_search->IsTypingTimerSet()) << "Enter does not wait for the pause";
    ASSERT_EQ(1u, m_top.opened.size());
    const Opened& o = m_top.opened[0];
    // Cairo is row 32: map 3000733 + 31 % 3, hot spot 36.
    EXPECT_EQ(static_cast<WPARAM>(IDW_ATLAS), o.view);
    EXPECT_EQ(3000734, o.number);
    EXPECT_EQ(CString(""), o.title);
    EXPECT_EQ(1, o.hits);
    EXPECT_EQ(220u, o.section);
    EXPECT_EQ(36u, o.offset);
    EXPECT_EQ(1u, o.length);

    // A click on a row opens that row's place.
    CAtlasTreeControl* pList = m_search->GetList();
    const VLVISIBLEROW& row = pList->GetVisibleRows().GetAt(2);
    const CPoint at = ScreenOf(*pList, CPoint((row.rect.left + row.rect.right) / 2, (row.rect.top + row.rect.bottom) / 2));
    host::Click(at.x, at.y);
    ui::PumpUntilIdle();
    ASSERT_EQ(2u, m_top.opened.size());
    EXPECT_EQ(row.nRow, pList->GetCurrentItemData());
    EXPECT_EQ(3000733 + (row.nRow - 1) % 3, m_top.opened[1].number);
    EXPECT_EQ(static_cast<UINT>(row.nRow - 1 + 5), m_top.opened[1].offset);
}

TEST_F(AtlasPanelsTest, EnterWithAnEmptyListOpensNothing)
{
    WritePlaces({});
    MakeSearch();
    ASSERT_EQ(0, m_search->GetData()->GetCount());
    Key('X', 0);
    Key(VK_RETURN, 0);
    EXPECT_FALSE(m_search->OpenCurrentPlace());
    EXPECT_TRUE(m_top.opened.empty());
}

TEST_F(AtlasPanelsTest, HidingTheViewClosesTheListFilesAndClosingReleasesTheButton)
{
    WritePlaces(Places());
    MakeSearch();
    m_search->ViewHidden();
    EXPECT_FALSE(m_search->AreFilesOpen());
    m_search->ViewHidden();
    m_search->ViewShown();
    EXPECT_TRUE(m_search->AreFilesOpen());
    m_search->GetEdit().SetWindowText("Dub");
    Key(VK_RETURN, 0);
    ASSERT_EQ(1u, m_top.opened.size());
    EXPECT_EQ(3000733 + 38 % 3, m_top.opened[0].number);

    m_searchButton.SetDib(TRUE);
    m_search->SendMessage(WM_COMMAND, IDC_MAP_SEARCH_CLOSE);
    ui::PumpUntilIdle();
    EXPECT_FALSE(m_search->IsWindowVisible());
    EXPECT_FALSE(m_searchButton.IsAlternate()) << "the Map Search button no longer looks pressed";
    EXPECT_EQ(CWnd::GetFocus(), &m_atlas);
}

TEST_F(AtlasPanelsTest, MissingPlaceFilesAbortTheConstruction)
{
    MakeWindows();
    host::AnswerMessageBox("Unable to prepare Atlas' data.", IDOK);
    bool thrown = false;
    try {
        CAtlasMapSearch search;
    } catch (CUserException* e) {
        e->Delete();
        thrown = true;
    }
    EXPECT_TRUE(thrown);
}

// ---- The control pad ----

TEST_F(AtlasPanelsTest, TheNameBoxTakesOneOrTwoLinesByTheRoomLeft)
{
    MakePad();
    struct Case {
        const char* name;
        bool withList;
        int lines;
        bool blankSplit;  // two lines split at a blank (else the second holds the whole name)
    };
    const Case cases[] = {
        {"Political", false, 1, false},
        {"Political", true, 1, false},
        {"Mining and manufacture", false, 1, false},   // between the two rooms
        {"Mining and manufacture", true, 2, true},
        {"Average yearly precipitation", false, 2, true},
        {"Average yearly precipitation", true, 2, true},
        {"Precipitationandtemperatures", false, 2, false},
        {"Precipitationandtemperatures", true, 2, false},
    };
    const int between = NameWidth("Mining and manufacture");
    ASSERT_GE(between, CAtlasControlPad::kRoomWithList) << "the table's middle name must need the list's room";
    ASSERT_LT(between, CAtlasControlPad::kRoomWithoutList) << "and fit the room without a list";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << (c.withList ? " with a list" : ""));
        CAtlasShared::SetOverlayList(c.withList ? Overlays({{"Terrain of Europe", 3000734}}) : NULL);
        CAtlasShared::SetOverlayName(c.name);
        EXPECT_EQ(c.lines, m_pad->MeasureName());
        CString first, second;
        m_pad->GetNameLines(first, second);
        const CString name = c.name;
        if (c.lines == 1) {
            EXPECT_EQ(name, first);
            EXPECT_TRUE(second.IsEmpty());
            EXPECT_EQ(19, m_pad->GetNameBox().Height());
            continue;
        }
        EXPECT_EQ(36, m_pad->GetNameBox().Height());
        const int firstRoom = CAtlasControlPad::kFirstLineRight - CAtlasControlPad::kNameLeft - CAtlasControlPad::kTextIndent;
        if (!c.blankSplit) {
            EXPECT_TRUE(first.IsEmpty());
            EXPECT_EQ(name, second);
            continue;
        }
        EXPECT_EQ(name, first + " " + second);
        EXPECT_LT(NameWidth(first), firstRoom);
        // The last blank that fits: one more word would not.
        const int next = second.Find(' ');
        const CString longer = first + " " + (next < 0 ? second : second.Left(next));
        EXPECT_GE(NameWidth(longer), firstRoom);
    }
}

TEST_F(AtlasPanelsTest, TheOverlayListOpensFromTheNameAndIsRebuiltOnlyForANewList)
{
    MakePad();
    // A map without overlays: no mark, and a click on the name shows nothing.
    const CRect box = m_pad->GetNameBox();
    const CPoint name = ScreenOf(*m_pad, CPoint(box.left + 30, box.top + 8));
    host::Click(name.x, name.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(nullptr, m_pad->GetOverlayList());
    EXPECT_FALSE(m_pad->IsListShown());
    const CPoint mark = ScreenOf(*m_pad, CPoint(180, 38));
    EXPECT_EQ(host::DesktopPixel(mark.x, mark.y), RGB(255, 255, 255)) << "the name box, no mark";

    CReferenceList* pFirst = Overlays({{"Political map of Europe", 3000733},
                                        {"Terrain of Europe", 3000734},
                                        {"Population density of Europe", 3000735}});
    CAtlasShared::SetOverlayList(pFirst);
    m_pad->Invalidate();
    ui::PumpUntilIdle();
    EXPECT_NE(host::DesktopPixel(mark.x, mark.y), RGB(255, 255, 255)) << "the drop-down mark";
    host::Click(name.x, name.y);
    ui::PumpUntilIdle();
    CAtlasOverlayTabWin* pWindow = m_pad->GetOverlayList();
    ASSERT_NE(nullptr, pWindow);
    EXPECT_TRUE(pWindow->IsWindowVisible());
    EXPECT_EQ(pFirst, pWindow->GetReferences());
    EXPECT_EQ(3, pWindow->GetList()->GetCount());
    EXPECT_EQ(CString("Terrain of Europe"), pWindow->GetList()->GetItemText(pWindow->GetList()->GetItemIdAt(1)));

    // Closing and opening again keeps the window; a new shared list makes a new one.
    m_pad->ToggleOverlayList();
    EXPECT_FALSE(pWindow->IsWindowVisible());
    m_pad->ToggleOverlayList();
    EXPECT_EQ(pWindow, m_pad->GetOverlayList());
    EXPECT_TRUE(pWindow->IsWindowVisible());

    CReferenceList* pSecond = Overlays({{"Political map of Asia", 3000736}, {"Terrain of Asia", 3000737}});
    CAtlasShared::SetOverlayList(pSecond);
    m_pad->ToggleOverlayList();  // the old window was visible, the new one is built hidden: shown now
    ASSERT_NE(nullptr, m_pad->GetOverlayList());
    EXPECT_EQ(pSecond, m_pad->GetOverlayList()->GetReferences());
    EXPECT_EQ(2, m_pad->GetOverlayList()->GetList()->GetCount());
    EXPECT_TRUE(m_pad->GetOverlayList()->IsWindowVisible());

    // The close button asks the atlas to hide the pad.
    m_pad->GetCloseButton().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    m_pad->GetCloseButton().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    ui::PumpUntilIdle();
    EXPECT_EQ(1, m_atlas.padToggles);
}

TEST_F(AtlasPanelsTest, ARoundedRegionShowsAndPassesOnWhatLiesOutsideTheCorners)
{
    MakePad();
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, m_pad->GetWindowRgn(rgn));
    ::DeleteObject(rgn);
    const CSize size = m_pad->GetPadSize();
    const CPoint corner = ScreenOf(*m_pad, CPoint(1, 1));
    const CPoint corner2 = ScreenOf(*m_pad, CPoint(size.cx - 2, size.cy - 2));
    const CPoint inside = ScreenOf(*m_pad, CPoint(size.cx / 2, size.cy - 5));
    EXPECT_EQ(kAtlasGround, host::DesktopPixel(corner.x, corner.y));
    EXPECT_EQ(kAtlasGround, host::DesktopPixel(corner2.x, corner2.y));
    EXPECT_NE(kAtlasGround, host::DesktopPixel(inside.x, inside.y));
    host::Click(corner.x, corner.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(1, m_atlas.clicks) << "the click outside the corner reaches the atlas";
    host::Click(inside.x, inside.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(1, m_atlas.clicks);
}

// A map record with overlays and a legend in the archive, and its twin in a "%08ld.grf" file.
class AtlasPadMapsTest : public AtlasPanelsTest {
protected:
    static media_test::GrfRecordSource Map(const char* title, const std::string& legend)
    {
        media_test::GrfRecordSource s;
        s.mediaNumber = 3000733;
        s.title = title;
        s.named = {{"MAP_OLAY", 0}, {"LEGEND", 0}};
        s.lists = {{{"Political map of Europe", 3000733}, {"Terrain of Europe", 3000734}}};
        s.previewGif = media_test::TestGif(32, 24);
        s.fullGif = media_test::TestGif(160, 120, 1);
        s.legendGif = legend;
        return s;
    }
};

TEST_F(AtlasPadMapsTest, ChoosingAnOverlayKeepsItsNameAndTheLegendComesFromTheMapsOwnSource)
{
    const std::string archiveLegend = media_test::TestGif(120, 80);
    const LONG block = WriteArchive({discbuilder::WriteGrfRecord(Map("Population density of Europe", archiveLegend))})[0];
    InstallRomLink({{3000733, 1, 6, 0, 1, static_cast<std::uint32_t>(block), 1},
                    {3000734, 1, 6, 0, 1, static_cast<std::uint32_t>(block), 1}});
    MakePad();

    // The atlas's part of a switch, as the atlas view does it: the theme from the title unless an
    // overlay was chosen, the shared overlay list, the legend to the pad.
    std::unique_ptr<CGrfDocument> doc;
    m_top.onAtlas = [&](CReference* pRef) {
        doc = std::make_unique<CGrfDocument>();
        ASSERT_TRUE(doc->Load(pRef, FALSE));
        if (CAtlasShared::GetOverlayNumber() == 0)
            CAtlasShared::SetOverlayName(CAtlasShared::ThemeOfTitle(doc->GetTitle()));
        CAtlasShared::SetOverlayNumber(0);
        CAtlasShared::SetOverlayList(doc->GetOverlayReferences());
        WPARAM source = doc->IsFromArchive() ? 0 : reinterpret_cast<WPARAM>(new CString(doc->GetImageSource()));
        m_pad->PostMessage(VLM_ATLAS_LEGEND, source, doc->GetLegendPosition());
    };
    m_top.SendMessage(VLM_OPEN_WINDOW, IDW_ATLAS, reinterpret_cast<LPARAM>(new CReference(3000733, "")));
    ui::PumpUntilIdle();
    EXPECT_EQ(CString("Population density"), CAtlasShared::GetOverlayName());
    ASSERT_NE(nullptr, m_pad->GetLegend());
    EXPECT_EQ(120, m_pad->GetLegend()->GetDib().GetWidth());
    EXPECT_TRUE(m_pad->GetLegend()->IsWindowVisible());

    // Choose "Terrain of Europe" with a double click on its row.
    m_pad->ToggleOverlayList();
    ui::PumpUntilIdle();
    CVLListWindow* pRows = m_pad->GetOverlayList()->GetList();
    CRect row;
    pRows->GetItemRect(1, &row);
    const CPoint at = ScreenOf(*pRows, row.CenterPoint());
    host::Click(at.x, at.y);
    host::Click(at.x, at.y);
    ui::PumpUntilIdle();
    ASSERT_EQ(2u, m_top.opened.size());
    EXPECT_EQ(3000734, m_top.opened[1].number);
    EXPECT_EQ(CString("Terrain of Europe"), m_top.opened[1].title) << "a clone of the row's reference";
    // The new map's title begins with "Population density", yet the chosen name stays.
    EXPECT_EQ(CString("Terrain of Europe"), CAtlasShared::GetOverlayName());
    EXPECT_EQ(0, CAtlasShared::GetOverlayNumber());
    EXPECT_FALSE(m_pad->IsListShown()) << "the legend closes the list";

    // A legend position outside the archive, and one where no GIF starts.
    const LONG nArchiveSize = static_cast<LONG>(std::filesystem::file_size(DataFolder() / "vl.dat"));
    for (LONG position : std::vector<LONG>{nArchiveSize - 3, nArchiveSize + 100, 0}) {
        SCOPED_TRACE(position);
        host::AnswerMessageBox("Unable to create Map Locator/Legend window.", IDOK);
        m_pad->SendMessage(VLM_ATLAS_LEGEND, 0, position);
        EXPECT_EQ(nullptr, m_pad->GetLegend());
    }

    // A map read from its own file: its legend and its full picture come from that file, though
    // the archive holds other bytes at the same positions.
    const std::string ownLegend = media_test::TestGif(90, 60, 2);
    dir.Write("t/disc/info_dat/03000735.grf", discbuilder::WriteGrfRecord(Map("Terrain of Asia", ownLegend)));
    auto* pOwn = new media_test::CDisc2Reference(3000735, 0x4000);
    m_top.SendMessage(VLM_OPEN_WINDOW, IDW_ATLAS, reinterpret_cast<LPARAM>(pOwn));
    ui::PumpUntilIdle();
    EXPECT_FALSE(doc->IsFromArchive());
    EXPECT_EQ(CString("T:\\disc\\info_dat\\03000735.grf"), doc->GetImageSource());
    EXPECT_EQ(CString("Terrain"), CAtlasShared::GetOverlayName());
    ASSERT_NE(nullptr, m_pad->GetLegend());
    EXPECT_EQ(90, m_pad->GetLegend()->GetDib().GetWidth());
    CGrfPictureWin picture(0x02E7FFFF, 0x026CB0C3);
    picture.SetDocument(doc.get(), FALSE);
    ASSERT_NE(nullptr, picture.GetPicture());
    EXPECT_EQ(160, picture.GetPicture()->GetWidth());
    EXPECT_EQ(120, picture.GetPicture()->GetHeight());
}

// ---- Screenshots ----

// On the sample disc: Map Search scrolled into its place list, and the pad of the first region's
// political map with its legend, then with its overlay list open.
TEST_F(AtlasPanelsTest, ScreenshotsAtTheThreeScreenClasses)
{
    discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "t" / "disc");
    CRomLinkTable table;
    ASSERT_TRUE(table.LoadTable());
    AppServices().owned.pSearchEngine = &table;
    const atlas::Region& region = atlas::Regions().front();
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        m_pad.reset();
        m_search.reset();
        if (m_atlas.GetSafeHwnd() != NULL)
            m_atlas.DestroyWindow();
        if (m_top.GetSafeHwnd() != NULL)
            m_top.DestroyWindow();
        CAtlasShared::Reset();
        UseScreenClass(n);
        MakeSearch();
        m_search->GetEdit().SetWindowText("Par");
        Key(VK_END, 300);
        EXPECT_GT(m_search->GetList()->GetCurrentItemData(), 20);
        EXPECT_EQ(0, m_search->GetList()->GetTopTitle().Find("Par"));
        Keep("atlas-map-search-" + std::to_string(n) + ".png");
        m_search->ShowWindow(SW_HIDE);

        m_pad = std::make_unique<CAtlasControlPad>();
        ASSERT_TRUE(m_pad->Create(10, 1, &m_atlas));
        CGrfDocument doc;
        std::unique_ptr<CReference> ref(CreateItemReference(static_cast<LONG>(region.political), ""));
        ASSERT_TRUE(doc.Load(ref.get(), FALSE));
        CAtlasShared::SetOverlayName(CAtlasShared::ThemeOfTitle(doc.GetTitle()));
        CAtlasShared::SetOverlayList(doc.GetOverlayReferences());
        ASSERT_TRUE(CAtlasControlPad::HasOverlays());
        m_pad->SendMessage(VLM_ATLAS_LEGEND, 0, doc.GetLegendPosition());
        ui::PumpUntilIdle();
        ASSERT_NE(nullptr, m_pad->GetLegend());
        Keep("atlas-control-pad-legend-" + std::to_string(n) + ".png");
        m_pad->ToggleOverlayList();
        ui::PumpUntilIdle();
        EXPECT_TRUE(m_pad->IsListShown());
        Keep("atlas-control-pad-" + std::to_string(n) + ".png");
    }
    m_pad.reset();
    AppServices().owned.pSearchEngine = NULL;
}

}  // namespace
}  // namespace explore_test
