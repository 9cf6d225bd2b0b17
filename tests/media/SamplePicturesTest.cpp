// The sample disc's pictures: picture records made by the disc builder from sample/pictures/items,
// placed through ROM_LINK and read back through the program's reader.
#include "MediaTestSupport.h"

#include "base/HitList.h"
#include "base/ReferenceList.h"
#include "base/RomLinkTable.h"
#include "media/DetailCaptionBox.h"
#include "media/GrfPictureWin.h"
#include "widgets/Dib.h"

#include <PictureItemSource.h>
#include <SampleDisc.h>
#include <host/Display.h>
#include <host/Surface.h>

#include <cstdlib>
#include <memory>

namespace media_test {
namespace {

TEST(PictureItemSourceTest, SourcesBecomeRecordsAndBadLinesAreNamed)
{
    const auto item = discbuilder::ParsePictureItemSource("number: 3000001\n"
                                                          "title: Lakes\n"
                                                          "art: MapGreatLakes 100 80\n"
                                                          "caption: One *two* **three**\n"
                                                          "caption: Second\n"
                                                          "label: The label\n"
                                                          "section: A section\n"
                                                          "hotspot: sound 7 | 1 2 3 4\n"
                                                          "hotspot: label | 5 6 7 8\n"
                                                          "zoomout: 3000002\n"
                                                          "overlay: TRA_OLAY | A = 1 ; B = 2\n"
                                                          "legend: MapLegend 60 40\n",
                                                          "lakes.txt");
    EXPECT_EQ(3000001u, item.record.mediaNumber);
    EXPECT_EQ("One \x81two\x80 \x82three\x80\r\rSecond", item.record.caption);
    ASSERT_EQ(2u, item.record.sections.size());
    EXPECT_EQ(1u, item.record.sections[0].mark) << "the picture's sections before the labels";
    EXPECT_EQ(0u, item.record.sections[1].mark);
    ASSERT_EQ(2u, item.record.hotSpots.size());
    EXPECT_EQ(7u, item.record.hotSpots[0].target);
    ASSERT_EQ(1u, item.record.lists.size());
    EXPECT_EQ(2u, item.record.lists[0].size());

    const struct {
        const char* text;
        const char* error;
    } bad[] = {
        {"title: x\nart: MapWorld 10 10\n", "lakes.txt:2: a picture item needs"},
        {"number: 1\ntitle: x\nart: MapWorld 10\n", "lakes.txt:3: art needs"},
        {"number: x1\n", "lakes.txt:1: not a number"},
        {"number: 1\nhotspot: link 5 | 1 2 3\n", "lakes.txt:2: a hot spot needs"},
        {"number: 1\nhotspot: flag | 1 2 3 4\n", "lakes.txt:2: a hot spot's kind"},
        {"number: 1\noverlay: OLAY | A = 1\n", "lakes.txt:2: an overlay is"},
        {"number: 1\ngroup: A 1\n", "lakes.txt:2: a list item is"},
        {"colour: red\n", "lakes.txt:1: unknown key"},
    };
    for (const auto& c : bad) {
        try {
            discbuilder::ParsePictureItemSource(c.text, "lakes.txt");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(0u, std::string(e.what()).find(c.error)) << e.what();
        }
    }
}

class SamplePicturesTest : public MediaTest {
protected:
    // The picture as a PNG among the test's files (and in VL_SCREENSHOT_DIR when set).
    void SavePicture(const CDib& picture, const std::string& name) const
    {
        CClientDC screen(CWnd::GetDesktopWindow());
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, picture.GetWidth(), picture.GetHeight());
        CBitmap* pOld = memory.SelectObject(&bitmap);
        picture.Draw(&memory, 0, 0, 0);
        memory.SelectObject(pOld);
        const std::string png = (dir.path() / name).string();
        auto surface = host::SurfaceOfBitmap(static_cast<HBITMAP>(bitmap.GetSafeHandle()));
        ASSERT_NE(nullptr, surface);
        EXPECT_TRUE(surface->WritePng(png));
        if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
            std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }

    void SetUp() override
    {
        MediaTest::SetUp();
        discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "t" / "disc");
        ASSERT_TRUE(m_table.LoadTable());
        AppServices().owned.pSearchEngine = &m_table;
    }
    void TearDown() override
    {
        AppServices().owned.pSearchEngine = NULL;
        MediaTest::TearDown();
    }
    CRomLinkTable m_table;
};

TEST_F(SamplePicturesTest, EveryPictureOfTheDiscLoadsWithItsImages)
{
    const struct {
        LONG number;
        LONG kind;
        const char* title;
        int width;
    } items[] = {
        {1001001, REFKIND_PICTURE, "Monoplane climbing away", 400}, {1001002, REFKIND_PICTURE, "Lava fountains at night", 400},
        {1001003, REFKIND_PICTURE, "Leaves against the sun", 400},  {1001004, REFKIND_PICTURE, "Trumpet solo", 400},
        {3000001, REFKIND_MAP, "Map of the Great Lakes", 480},       {3000002, REFKIND_MAP, "Volcanoes of the World", 480},
    };
    for (const auto& item : items) {
        SCOPED_TRACE(item.number);
        CReference ref(item.number, "");
        EXPECT_EQ(item.kind, ref.GetKind());
        EXPECT_EQ(-1, ref.GetPictureFlag()) << "pictures are placed with their flag set";
        CGrfDocument doc;
        ASSERT_TRUE(doc.Load(&ref, TRUE));
        EXPECT_STREQ(item.title, doc.GetTitle());
        EXPECT_GT(doc.GetCaptionLength(), 0);
        EXPECT_GT(doc.GetHotSpotCount(), 0);
        std::unique_ptr<CDib> preview(doc.CreateMainDib());
        std::unique_ptr<CDib> second(doc.CreateSecondDib());
        ASSERT_NE(nullptr, preview);
        ASSERT_NE(nullptr, second);
        EXPECT_EQ(96, preview->GetWidth());
        EXPECT_EQ(44, second->GetWidth());
        CDib full("T:\\disc\\info_dat\\vl.dat", doc.GetFullImagePosition());
        EXPECT_EQ(item.width, full.GetWidth());
        SavePicture(full, "sample-" + std::to_string(item.number) + ".png");
    }
    // The world map's overlays and the lakes' zoom-out and legend.
    CReference lakes(3000001, "");
    CGrfDocument doc;
    ASSERT_TRUE(doc.Load(&lakes, FALSE));
    std::unique_ptr<CReference> up(doc.GetZoomOutReference());
    ASSERT_NE(nullptr, up);
    EXPECT_EQ(3000002, up->GetNumber());
    EXPECT_EQ(REFKIND_MAP, up->GetKind());
    std::unique_ptr<CReferenceList> overlays(doc.GetOverlayReferences());
    ASSERT_NE(nullptr, overlays);
    EXPECT_STREQ("Volcanoes of the World", overlays->GetAtIndex(0)->GetTitle());
    ASSERT_NE(0, doc.GetLegendPosition());
    CDib legend("T:\\disc\\info_dat\\vl.dat", doc.GetLegendPosition());
    EXPECT_EQ(160, legend.GetWidth());
    EXPECT_STREQ("The vent: the opening through which the lava leaves the volcano.", [] {
        CReference lava(1001002, "");
        CGrfDocument d;
        EXPECT_TRUE(d.Load(&lava, FALSE));
        return CString(d.GetSectionData(d.GetHotSpotLabelCode(1) - GRF_SECTION_TEXT));
    }());
}

TEST_F(SamplePicturesTest, TheMapInThePictureWindow)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 700, 500), NULL, 0));
    CReference ref(3000001, "");
    auto* pHits = new CHitList;
    pHits->AddHit(CHitPosition(GRF_SECTION_HOTSPOTS, 0, 2));
    ref.SetData(pHits);
    CGrfDocument doc;
    ASSERT_TRUE(doc.Load(&ref, TRUE));
    CGrfPictureWin window(PALETTERGB(255, 255, 255), PALETTERGB(195, 176, 108));
    ASSERT_TRUE(window.Create(&frame, 480, 360, &doc, TRUE, FALSE));
    window.ShowWindow(SW_SHOW);
    ui::PumpUntilIdle();
    CRect rc;
    window.GetWindowRect(&rc);
    const std::string png = (dir.path() / "sample-map-window.png").string();
    EXPECT_TRUE(host::SaveDesktopPng(png, &rc));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / "sample-map-window.png",
                                   std::filesystem::copy_options::overwrite_existing);
    // The first hot spot's frame (30, 40)-(230, 100) is red on the map.
    CPoint corner(30, 70);
    window.ClientToScreen(&corner);
    EXPECT_EQ(RGB(255, 0, 0), host::DesktopPixel(corner.x, corner.y));

    // Lake Ontario's label pops up under it, pulled in from the window's right edge.
    window.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(420, 170));
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, window.GetLabelBox());
    EXPECT_EQ(0, window.GetLabelBox()->GetText().Find("Lake Ontario, the smallest")) << static_cast<LPCSTR>(window.GetLabelBox()->GetText());
    const std::string label = (dir.path() / "sample-map-label.png").string();
    EXPECT_TRUE(host::SaveDesktopPng(label, &rc));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(label, std::filesystem::path(keep) / "sample-map-label.png",
                                   std::filesystem::copy_options::overwrite_existing);
    window.DestroyWindow();
    frame.DestroyWindow();
}

}  // namespace
}  // namespace media_test
