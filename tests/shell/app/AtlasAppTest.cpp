// The atlas in the running program on the sample disc: the main menu's "Search Maps" opens it
// with Map Search; "Vienna" and Enter open the map of Europe with Vienna's hot spot framed; the
// pad's overlay list opens "Terrain of Europe"; zoom out goes to the world map; Back twice walks
// the history back to Europe; the article button opens the region's article.
#include "AppTestSupport.h"

#include "base/HitList.h"
#include "explore/AtlasControlPad.h"
#include "explore/AtlasMainWin.h"
#include "explore/AtlasMapSearch.h"
#include "explore/AtlasOverlayTabWin.h"
#include "explore/AtlasShared.h"
#include "media/GrfDocument.h"
#include "media/GrfPictureWin.h"
#include "widgets/RollOverButton.h"
#include "widgets/VLListWindow.h"

#include <Atlas.h>
#include <DialogDriver.h>
#include <host/Input.h>

namespace apptest {
namespace {

class AtlasAppTest : public AppTest {
protected:
    void TearDown() override
    {
        AppTest::TearDown();
        CAtlasShared::Reset();
    }
    CAtlasMainWin* Atlas() { return DYNAMIC_DOWNCAST(CAtlasMainWin, Frame()->GetDlgItem(IDW_ATLAS)); }

    static void ClickWindow(CWnd* pWnd)
    {
        ui::AdvanceClock(1000);
        CRect rect;
        pWnd->GetWindowRect(&rect);
        host::Click(rect.CenterPoint().x, rect.CenterPoint().y);
        ui::PumpUntilIdle();
    }
    static const atlas::Region& Europe()
    {
        for (const atlas::Region& r : atlas::Regions())
            if (r.name == "Europe")
                return r;
        return atlas::Regions().front();
    }
};

TEST_F(AtlasAppTest, SearchMapsViennaOverlaysZoomOutBackAndTheRegionsArticle)
{
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    // The main menu's "Search Maps".
    Frame()->SendMessage(VLM_MAIN_MENU_CHOICE, kChoiceAtlas, 0);
    ui::PumpUntilIdle();
    CAtlasMainWin* atlas = Atlas();
    ASSERT_NE(nullptr, atlas);
    EXPECT_EQ(static_cast<CWnd*>(atlas), Frame()->GetCurrentMainWin());
    EXPECT_EQ(3000732, atlas->GetMapNumber());
    CAtlasMapSearch* search = atlas->GetMapSearch();
    ASSERT_NE(nullptr, search);
    EXPECT_TRUE(search->IsWindowVisible());
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "atlas-search-maps-running.png");

    // "Vienna", Enter: the map of Europe with Vienna's hot spot framed in red.
    search->FocusEdit();
    host::TypeText("Vienna");
    ui::AdvanceClock(400);
    ui::PumpUntilIdle();
    host::PressKey(VK_RETURN);
    ui::PumpUntilIdle();
    const atlas::Region& europe = Europe();
    ASSERT_EQ(LONG(europe.political), atlas->GetMapNumber());
    EXPECT_STREQ("Europe", atlas->GetMapTitle());
    CGrfPictureWin* picture = atlas->GetPictureWin();
    ASSERT_NE(nullptr, picture);
    CHitList* hits = DYNAMIC_DOWNCAST(CHitList, atlas->GetDocument()->GetReferenceData());
    ASSERT_NE(nullptr, hits);
    ASSERT_GE(hits->GetCount(), 1);
    const GRF_HOTSPOT* spot = atlas->GetDocument()->GetHotSpot(static_cast<int>(hits->GetAt(0)->GetOffset()));
    ASSERT_NE(nullptr, spot);
    {
        const CPoint origin = picture->GetOrigin();
        CClientDC dc(picture);
        const int y = (spot->top + spot->bottom) / 2 + origin.y;
        // Red as the 256-colour display shows it: strong red, little green and blue.
        auto red = [&](int x) {
            const COLORREF c = dc.GetPixel(x, y);
            return GetRValue(c) >= 150 && GetGValue(c) < 90 && GetBValue(c) < 90;
        };
        EXPECT_TRUE(red(spot->left + origin.x)) << "the frame's left side";
        EXPECT_TRUE(red(spot->right - 1 + origin.x)) << "its right side";
    }
    EXPECT_TRUE(atlas->GetButton(CAtlasMainWin::btnZoomOut)->IsWindowVisible());
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "atlas-vienna-running.png");

    // Overlays: the pad, its list, the terrain overlay: "Terrain of Europe".
    ClickWindow(atlas->GetButton(CAtlasMainWin::btnOverlays));
    CAtlasControlPad& pad = atlas->GetControlPad();
    ASSERT_TRUE(pad.IsWindowVisible());
    pad.ToggleOverlayList();
    ui::PumpUntilIdle();
    CAtlasOverlayTabWin* overlays = pad.GetOverlayList();
    ASSERT_NE(nullptr, overlays);
    CVLListWindow* list = overlays->GetList();
    HTREEITEM terrain = NULL;
    for (int i = 0; i <= list->GetCount(); ++i)
        if (HTREEITEM item = list->GetItemIdAt(i); item != NULL && list->GetItemText(item) == "Terrain")
            terrain = item;
    ASSERT_NE(nullptr, terrain);
    list->SelectItem(terrain);
    ASSERT_TRUE(overlays->ChooseCurrent());
    ui::PumpUntilIdle();
    EXPECT_EQ(LONG(europe.terrain), atlas->GetMapNumber());
    EXPECT_STREQ("Terrain of Europe", atlas->GetMapTitle());
    EXPECT_STREQ("Terrain", CAtlasShared::GetOverlayName());
    EXPECT_TRUE(pad.IsWindowVisible()) << "the pad stays open";
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "atlas-terrain-running.png");

    // Zoom out: the world map.
    ClickWindow(atlas->GetButton(CAtlasMainWin::btnZoomOut));
    EXPECT_EQ(3000732, atlas->GetMapNumber());
    EXPECT_FALSE(pad.IsWindowVisible());

    // Back twice: Terrain of Europe, then Europe.
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    ui::PumpUntilIdle();
    EXPECT_EQ(LONG(europe.terrain), atlas->GetMapNumber());
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    ui::PumpUntilIdle();
    EXPECT_EQ(LONG(europe.political), atlas->GetMapNumber());
    EXPECT_EQ(static_cast<CWnd*>(atlas), Frame()->GetCurrentMainWin());

    // The article button: the region's article in the article view.
    ClickWindow(atlas->GetButton(CAtlasMainWin::btnArticle));
    ASSERT_NE(nullptr, Article());
    EXPECT_EQ(static_cast<CWnd*>(Article()), Frame()->GetCurrentMainWin());
    EXPECT_EQ(LONG(europe.article), Article()->GetArticleRin());
}

}  // namespace
}  // namespace apptest
