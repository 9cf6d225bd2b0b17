// The sample disc's atlas as the program reads it: every place of both lists opens its map with a
// hot spot round its point that leads to its country's article; the maps lead down from the flat
// world map and back, name their twins and carry legends; every row of the show list opens; the
// globe's map is a bitmap of 256 colours.
#include "MediaTestSupport.h"

#include "article/ArticleDocument.h"
#include "base/HitList.h"
#include "base/ReferenceList.h"
#include "explore/AtlasVirtualList.h"
#include "media/GrfPictureWin.h"
#include "widgets/Dib.h"
#include "widgets/GlobeDib.h"

#include <Atlas.h>
#include <ContentDatabaseSource.h>
#include <SampleDisc.h>
#include <host/Display.h>
#include <host/Surface.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>

namespace explore_test {
namespace {

// The frame a map of the sample disc is drawn in.
atlas::MapFrame FrameOf(long map)
{
    for (const atlas::Region& r : atlas::Regions())
        if (static_cast<long>(r.political) == map || static_cast<long>(r.terrain) == map)
            return r.frame;
    return atlas::WorldFrame();
}

class AtlasSampleDiscTest : public media_test::MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "t" / "disc");
        ASSERT_TRUE(m_table.LoadTable());
        AppServices().owned.pSearchEngine = &m_table;
    }
    void TearDown() override
    {
        m_maps.clear();
        AppServices().owned.pSearchEngine = NULL;
        MediaTest::TearDown();
    }

    // The map's document, loaded once (nullptr when it does not load).
    CGrfDocument* Map(long number)
    {
        auto& slot = m_maps[number];
        if (!slot.doc) {
            slot.ref = std::make_unique<CReference>(number, "");
            slot.doc = std::make_unique<CGrfDocument>();
            if (!slot.doc->Load(slot.ref.get(), FALSE))
                return nullptr;
        }
        return slot.doc.get();
    }

    // The article's title when it opens, else "".
    std::string OpenArticle(long number)
    {
        CArticleDocument doc;
        if (!doc.Open(new CReference(number, "")) || doc.GetTitle() == NULL)
            return "";
        return doc.GetTitle();
    }

    void Keep(const std::string& png, const std::string& name)
    {
        if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
            std::filesystem::copy_file(png, std::filesystem::path(keep) / name, std::filesystem::copy_options::overwrite_existing);
    }

    struct LoadedMap {
        std::unique_ptr<CReference> ref;
        std::unique_ptr<CGrfDocument> doc;
    };
    std::map<long, LoadedMap> m_maps;
    CRomLinkTable m_table;
};

TEST_F(AtlasSampleDiscTest, EveryPlaceOfBothListsLiesInAHotSpotOfItsMapLeadingToItsCountry)
{
    std::unique_ptr<CAtlasVirtualList> search;
    std::unique_ptr<CAtlasDistCalcVirtualList> distances;
    ASSERT_NO_THROW({
        search = std::make_unique<CAtlasVirtualList>();
        distances = std::make_unique<CAtlasDistCalcVirtualList>();
    });
    const long n = distances->GetCount();
    EXPECT_EQ(n, search->GetCount());
    EXPECT_GT(n, 500) << "the time-zone cities and one row per country";

    std::map<std::string, std::pair<double, double>> points;
    std::map<DWORD, std::string> articles;
    std::set<long> mapsUsed;
    auto check = [&](long map, const long values[3], const std::string& name, double lat, double lon) {
        SCOPED_TRACE(name);
        EXPECT_EQ(GRF_SECTION_HOTSPOTS, static_cast<UINT>(values[0]));
        EXPECT_EQ(1, values[2]);
        CGrfDocument* doc = Map(map);
        ASSERT_NE(nullptr, doc) << map;
        mapsUsed.insert(map);
        const GRF_HOTSPOT* spot = doc->GetHotSpot(static_cast<int>(values[1]));
        ASSERT_NE(nullptr, spot) << "hot spot " << values[1] << " of " << map;
        const atlas::PixelPoint p = atlas::Project(FrameOf(map), lat, lon);
        EXPECT_TRUE(spot->left < p.x && p.x < spot->right && spot->top < p.y && p.y < spot->bottom)
            << p.x << "," << p.y << " outside " << spot->left << "," << spot->top << "-" << spot->right << "," << spot->bottom;
        EXPECT_EQ(0, spot->kind) << "a link";
        // A click at the point hits a hot spot (this one, or a neighbour's that overlaps it).
        EXPECT_GT(doc->HitTest(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))), 0);
        auto found = articles.find(spot->target);
        if (found == articles.end())
            found = articles.emplace(spot->target, OpenArticle(static_cast<long>(spot->target))).first;
        EXPECT_FALSE(found->second.empty()) << "article " << spot->target << " opens";
        EXPECT_NE(std::string::npos, name.find(found->second)) << "the place lies in " << found->second;
    };
    for (long row = 1; row <= n; ++row) {
        CVLVirtualData::VLTREEENTRY entry;
        const long map = distances->GetTreeEntry(row, entry);
        const double lat = std::atof(entry.strSecond), lon = std::atof(entry.strThird);
        points[std::string(entry.strTitle)] = {lat, lon};
        check(map, entry.nValues, std::string(entry.strTitle), lat, lon);
        if (HasFatalFailure())
            return;
    }
    for (long row = 1; row <= n; ++row) {
        CVLVirtualData::VLLISTENTRY entry;
        const long map = search->GetListEntry(row, entry);
        const auto point = points.find(std::string(entry.strTitle));
        ASSERT_NE(points.end(), point) << entry.strTitle;
        check(map, entry.nValues, std::string(entry.strTitle), point->second.first, point->second.second);
        if (HasFatalFailure())
            return;
    }
    EXPECT_TRUE(mapsUsed.count(atlas::kWorldMap)) << "Antarctica's places";
    EXPECT_EQ(atlas::Regions().size() + 1, mapsUsed.size()) << "every political map has places";
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(AtlasSampleDiscTest, TheWorldMapLeadsToTwinsThatLeadBackAndEveryMapHasALegend)
{
    CGrfDocument* world = Map(atlas::kWorldMap);
    ASSERT_NE(nullptr, world);
    EXPECT_STREQ("Flat World Map", world->GetTitle());
    EXPECT_EQ(0u, world->GetItemNumber()) << "no article belongs to the world map";
    EXPECT_NE(0, world->GetLegendPosition());
    std::set<long> reached;
    for (int k = 0; k < world->GetHotSpotCount(); ++k) {
        const GRF_HOTSPOT* spot = world->GetHotSpot(k);
        for (const atlas::Region& r : atlas::Regions())
            if (spot->target == r.political)
                reached.insert(static_cast<long>(spot->target));
    }
    EXPECT_EQ(atlas::Regions().size(), reached.size()) << "a hot spot for every region";

    for (const atlas::Region& r : atlas::Regions()) {
        SCOPED_TRACE(r.name);
        for (const long number : {static_cast<long>(r.political), static_cast<long>(r.terrain)}) {
            CGrfDocument* doc = Map(number);
            ASSERT_NE(nullptr, doc);
            EXPECT_STREQ((number == static_cast<long>(r.terrain) ? "Terrain of " + r.name : r.name).c_str(), doc->GetTitle());
            EXPECT_EQ(r.article, doc->GetItemNumber()) << "the region's article";
            std::unique_ptr<CReference> up(doc->GetZoomOutReference());
            ASSERT_NE(nullptr, up);
            EXPECT_EQ(atlas::kWorldMap, static_cast<DWORD>(up->GetNumber()));
            // The twins name each other.
            std::unique_ptr<CReferenceList> overlays(doc->GetOverlayReferences());
            ASSERT_NE(nullptr, overlays);
            ASSERT_EQ(2, overlays->GetCount());
            EXPECT_EQ(static_cast<long>(r.political), overlays->GetAtIndex(0)->GetNumber());
            EXPECT_STREQ("Political", overlays->GetAtIndex(0)->GetTitle());
            EXPECT_EQ(static_cast<long>(r.terrain), overlays->GetAtIndex(1)->GetNumber());
            EXPECT_STREQ("Terrain", overlays->GetAtIndex(1)->GetTitle());
            ASSERT_NE(0, doc->GetLegendPosition());
            CDib legend("T:\\disc\\info_dat\\vl.dat", doc->GetLegendPosition());
            EXPECT_GT(legend.GetWidth(), 100);
            CDib full("T:\\disc\\info_dat\\vl.dat", doc->GetFullImagePosition());
            EXPECT_EQ(r.frame.width, full.GetWidth());
            EXPECT_EQ(r.frame.height, full.GetHeight());
        }
        const std::string article = OpenArticle(static_cast<long>(r.article));
        EXPECT_EQ(r.name, article);
    }
    // The maps the sample had before stay, with their links.
    for (long kept : {3000001L, 3000002L}) {
        CGrfDocument* doc = Map(kept);
        ASSERT_NE(nullptr, doc);
        EXPECT_GT(doc->GetHotSpotCount(), 0);
    }
}

TEST_F(AtlasSampleDiscTest, EveryRowOfTheShowListOpens)
{
    int articles = 0, maps = 0;
    for (const auto& row : discbuilder::ReadSourceTable(std::filesystem::path(VL_SAMPLE_DIR) / "lists" / "shows.txt", 4)) {
        SCOPED_TRACE(row[0]);
        const long number = std::atol(row[1].c_str());
        if (row[2] == "Artcl") {
            EXPECT_EQ(row[0], OpenArticle(number));
            ++articles;
        } else if (row[2] == "Map") {
            CGrfDocument* doc = Map(number);
            ASSERT_NE(nullptr, doc);
            EXPECT_STREQ(row[0].c_str(), doc->GetTitle());
            ++maps;
        }
    }
    EXPECT_GT(articles, 249 + 8);
    EXPECT_EQ(2 + 1 + 2 * static_cast<int>(atlas::Regions().size()), maps);
}

TEST_F(AtlasSampleDiscTest, TheMapsOnScreen)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 760, 520), NULL, 0));
    // Europe opened for a place as Map Search opens it: its hot spot framed.
    std::unique_ptr<CAtlasVirtualList> search;
    ASSERT_NO_THROW(search = std::make_unique<CAtlasVirtualList>());
    const long row = search->FindTitle("Paris, France");
    CVLVirtualData::VLLISTENTRY paris;
    ASSERT_EQ(static_cast<long>(atlas::Regions()[2].political), search->GetListEntry(row, paris));
    const struct {
        long map;
        const char* name;
        bool framed;
    } shots[] = {{static_cast<long>(atlas::kWorldMap), "atlas-flat-world-map.png", false},
                 {static_cast<long>(atlas::Regions()[2].political), "atlas-europe.png", true},
                 {static_cast<long>(atlas::Regions()[2].terrain), "atlas-terrain-of-europe.png", false}};
    for (const auto& shot : shots) {
        SCOPED_TRACE(shot.name);
        CReference ref(shot.map, "");
        if (shot.framed) {
            auto* pHits = new CHitList;
            pHits->AddHit(CHitPosition(static_cast<UINT>(paris.nValues[0]), static_cast<UINT>(paris.nValues[1]), static_cast<UINT>(paris.nValues[2])));
            ref.SetData(pHits);
        }
        CGrfDocument doc;
        ASSERT_TRUE(doc.Load(&ref, TRUE));
        CGrfPictureWin window(PALETTERGB(255, 255, 231), PALETTERGB(195, 176, 108));
        ASSERT_TRUE(window.Create(&frame, 740, 500, &doc, TRUE, FALSE));
        window.ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
        CRect rc;
        window.GetWindowRect(&rc);
        const std::string png = (dir.path() / shot.name).string();
        EXPECT_TRUE(host::SaveDesktopPng(png, &rc));
        Keep(png, shot.name);
        if (shot.framed) {
            // The place's frame is red on the map.
            const GRF_HOTSPOT* spot = doc.GetHotSpot(static_cast<int>(paris.nValues[1]));
            CPoint corner(spot->left, (spot->top + spot->bottom) / 2);
            window.ClientToScreen(&corner);
            EXPECT_EQ(RGB(255, 0, 0), host::DesktopPixel(corner.x, corner.y));
        }
        window.DestroyWindow();
    }
    frame.DestroyWindow();

    // A legend, as the control pad reads it.
    CGrfDocument* europe = Map(static_cast<long>(atlas::Regions()[2].political));
    ASSERT_NE(nullptr, europe);
    CDib legend("T:\\disc\\info_dat\\vl.dat", europe->GetLegendPosition());
    CClientDC screen(CWnd::GetDesktopWindow());
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, legend.GetWidth(), legend.GetHeight());
    CBitmap* pOld = memory.SelectObject(&bitmap);
    legend.Draw(&memory, 0, 0, 0);
    memory.SelectObject(pOld);
    const std::string png = (dir.path() / "atlas-legend.png").string();
    auto surface = host::SurfaceOfBitmap(static_cast<HBITMAP>(bitmap.GetSafeHandle()));
    ASSERT_NE(nullptr, surface);
    EXPECT_TRUE(surface->WritePng(png));
    Keep(png, "atlas-legend.png");
}

TEST(AtlasBitmapsTest, TheGlobesMapHas256ColoursAndTheInsetIsThere)
{
    CGlobeDib globe(240);
    EXPECT_EQ(720, globe.GetWidth());
    EXPECT_EQ(360, globe.GetHeight()) << "twice as wide as high";
    EXPECT_NE(static_cast<HBITMAP>(NULL), globe.GetBitmap());
    ASSERT_NE(nullptr, globe.GetPalette());
    EXPECT_EQ(256, globe.GetPalette()->GetEntryCount());
    HMODULE module = AfxGetInstanceHandle();
    CDib map(module, ::FindResource(module, MAKEINTRESOURCE(240), RT_BITMAP));
    EXPECT_EQ(256u, map.GetColorCount());
    std::set<COLORREF> distinct;
    for (DWORD i = 0; i < map.GetColorCount(); ++i)
        distinct.insert(RGB(map.GetColorTable()[i].rgbRed, map.GetColorTable()[i].rgbGreen, map.GetColorTable()[i].rgbBlue));
    EXPECT_GT(distinct.size(), 200u) << "a table of the earth's colours";
    CDib inset(module, ::FindResource(module, MAKEINTRESOURCE(445), RT_BITMAP));
    EXPECT_EQ(180, inset.GetWidth());
    EXPECT_EQ(90, inset.GetHeight());
}

}  // namespace
}  // namespace explore_test
