// The Distance Calculator panel in a test parent under a recording top-level window: choosing
// places by typing and Enter, the distance and its texts, show on map (0x401 with the place's
// hit), clear, the spinning globe and the timers on the stepped clock, 0x438 stopping them all,
// and screenshots at the three screen classes with two places chosen.
#include "MediaTestSupport.h"

#include "base/HitList.h"
#include "base/VLMessages.h"
#include "explore/AtlasDistanceCalculator.h"
#include "explore/AtlasShared.h"
#include "explore/AtlasTreeControl.h"
#include "explore/AtlasVirtualList.h"

#include <ListFileWriter.h>
#include <SampleAtlas.h>
#include <host/Display.h>
#include <host/Input.h>
#include <host/Paths.h>
#include <host/Surface.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace distcalc_test {
namespace {

using discbuilder::AtlasPlace;

struct Opened {
    WPARAM view = 0;
    LONG number = 0;
    UINT section = 0, offset = 0, length = 0;
    int hits = 0;
};

class CRecordingTop : public CWnd {
public:
    std::vector<Opened> opened;

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
        return 1;
    }
};

std::vector<AtlasPlace> Places()
{
    return {
        {"Buenos Aires", "AR", "-34.6000", "-58.4500", 3000734u, 7, 1100},
        {"London", "GB", "51.5083", "-0.1253", 3000735u, 8, 1100},
        {"Paris", "FR", "48.8667", "2.3333", 3000735u, 9, 1100},
        {"Vienna", "AT", "48.2167", "16.3333", 3000736u, 10, 1100},
    };
}

class AtlasDistanceCalculatorTest : public media_test::MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        CAtlasShared::Reset();
        UseScreenClass(0);
    }
    void TearDown() override
    {
        m_calc.reset();
        if (m_atlas.GetSafeHwnd() != NULL)
            m_atlas.DestroyWindow();
        if (m_top.GetSafeHwnd() != NULL)
            m_top.DestroyWindow();
        FreeLibrary();
        MediaTest::TearDown();
    }
    void FreeLibrary()
    {
        if (AppServices().env.hResourceLibrary != NULL)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
    }
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
    void WritePlaces()
    {
        std::vector<discbuilder::ListFileEntry> search, distances;
        discbuilder::MakePlaceListEntries(Places(), search, distances);
        discbuilder::WriteListFiles(DataFolder() / "distcalc.dat", DataFolder() / "distcalc.ndx", distances,
                                    discbuilder::kPlaceLineLimit);
    }
    void MakeCalculator(int nClass = 0)
    {
        const SIZE screen = host::GetDisplaySize();
        ASSERT_TRUE(m_top.CreateEx(0, AfxRegisterWndClass(0), "frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                   CRect(0, 0, screen.cx, screen.cy), NULL, 0));
        ASSERT_TRUE(m_atlas.Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)), "atlas",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, screen.cx, screen.cy), &m_top,
                                   IDW_ATLAS));
        ASSERT_NO_THROW(m_calc = std::make_unique<CAtlasDistanceCalculator>());
        const CSize size = CAtlasDistanceCalculator::PanelSize(nClass);
        ASSERT_TRUE(m_calc->Create(CRect(CPoint(screen.cx - 10 - size.cx, screen.cy - 5 - size.cy), size), &m_atlas));
        m_calc->ShowWindow(SW_SHOW);
        m_calc->StartSpinning();
        m_calc->GetEdit(1).SetFocus();
        ui::PumpUntilIdle();
    }
    // Types a place's beginning into the focused box, then Enter.
    static void Choose(const char* text)
    {
        for (const char* p = text; *p != '\0'; ++p) {
            host::PressKey(static_cast<UINT>(toupper(static_cast<unsigned char>(*p))));
            ui::PumpUntilIdle();
        }
        host::PressKey(VK_RETURN);
        ui::PumpUntilIdle();
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
    CWnd m_atlas;
    std::unique_ptr<CAtlasDistanceCalculator> m_calc;
};

TEST_F(AtlasDistanceCalculatorTest, ChoosingTwoPlacesGivesTheDistanceAndItsTexts)
{
    WritePlaces();
    MakeCalculator();
    EXPECT_EQ(m_calc->GetMilesText(), "") << "no result before both places are chosen";

    Choose("Par");
    const auto& paris = m_calc->GetPlace(1);
    EXPECT_EQ(paris.strName, "Paris");
    EXPECT_EQ(paris.strCoordinates, "48.8667 N, 2.3333 E");
    EXPECT_FALSE(m_calc->IsSpinning()) << "choosing a place stops the spinning";
    EXPECT_EQ(CWnd::GetFocus(), &m_calc->GetEdit(2)) << "the focus moves to the other place";
    EXPECT_FALSE(m_calc->AreBothChosen());

    Choose("Lon");
    EXPECT_EQ(m_calc->GetPlace(2).strName, "London");
    EXPECT_TRUE(m_calc->AreBothChosen());
    EXPECT_EQ(m_calc->GetMiles(), 212);
    EXPECT_EQ(m_calc->GetKilometres(), 341);
    EXPECT_EQ(m_calc->GetMilesText(), "212");

    // Place 2 becomes Buenos Aires; Paris is replaced by Vienna.
    m_calc->ClearPlace(2);
    EXPECT_FALSE(m_calc->AreBothChosen());
    EXPECT_EQ(m_calc->GetMilesText(), "");
    EXPECT_EQ(m_calc->GetPlace(2).strCoordinates, "");
    m_calc->GetEdit(2).SetFocus();
    ui::PumpUntilIdle();
    Choose("Bue");
    EXPECT_EQ(m_calc->GetPlace(2).strCoordinates, "34.6000 S, 58.4500 W");
    m_calc->ClearPlace(1);
    m_calc->GetEdit(1).SetFocus();
    ui::PumpUntilIdle();
    Choose("Vie");
    EXPECT_EQ(m_calc->GetMilesText(), "7,341");
    EXPECT_EQ(m_calc->GetKilometresText(), "11,814");

    // Show on map: the place's map with its hit.
    ASSERT_TRUE(m_calc->ShowPlaceOnMap(1));
    ui::PumpUntilIdle();
    ASSERT_EQ(1u, m_top.opened.size());
    EXPECT_EQ(static_cast<WPARAM>(IDW_ATLAS), m_top.opened[0].view);
    EXPECT_EQ(3000736, m_top.opened[0].number);
    EXPECT_EQ(1, m_top.opened[0].hits);
    EXPECT_EQ(10u, m_top.opened[0].offset);
    m_calc->ClearPlace(1);
    EXPECT_FALSE(m_calc->ShowPlaceOnMap(1)) << "an empty place opens nothing";
}

TEST_F(AtlasDistanceCalculatorTest, SpinningTypingAndStopOnTheSteppedClock)
{
    WritePlaces();
    MakeCalculator();
    ASSERT_TRUE(m_calc->IsTimerSet(IDT_DISTCALC_SPIN));
    const int nTurn = m_calc->GetTurn();
    ui::AdvanceClock(300);
    ui::PumpUntilIdle();
    EXPECT_EQ(m_calc->GetTurn(), nTurn - 6) << "6 degrees west per tick";
    ui::AdvanceClock(600);
    ui::PumpUntilIdle();
    EXPECT_EQ(m_calc->GetTurn(), nTurn - 18);

    host::PressKey('V');
    ui::PumpUntilIdle();
    EXPECT_TRUE(m_calc->IsTimerSet(IDT_DISTCALC_TYPING1));
    EXPECT_TRUE(m_calc->GetList(1)->IsWindowVisible()) << "typing shows the place's list";

    m_calc->SendMessage(VLM_STOP, 0, 0);
    for (UINT nTimer : {IDT_DISTCALC_SPIN, IDT_DISTCALC_TYPING1, IDT_DISTCALC_TYPING2, IDT_DISTCALC_RING,
                        IDT_DISTCALC_BLINK})
        EXPECT_FALSE(m_calc->IsTimerSet(nTimer)) << nTimer;
    EXPECT_FALSE(m_calc->IsSpinning());
    ui::AdvanceClock(900);
    ui::PumpUntilIdle();
    EXPECT_EQ(m_calc->GetTurn(), nTurn - 18) << "a stopped globe stays";
}

TEST_F(AtlasDistanceCalculatorTest, ScreenshotsAtTheThreeScreenClasses)
{
    WritePlaces();
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        m_calc.reset();
        if (m_atlas.GetSafeHwnd() != NULL)
            m_atlas.DestroyWindow();
        if (m_top.GetSafeHwnd() != NULL)
            m_top.DestroyWindow();
        m_top.opened.clear();
        UseScreenClass(n);
        MakeCalculator(n);
        Choose("Vie");
        Choose("Bue");
        EXPECT_EQ(m_calc->GetMiles(), 7341);
        m_calc->RedrawWindow();
        ui::PumpUntilIdle();
        Keep("atlas-distance-calculator-" + std::to_string(n) + ".png");
    }
}

}  // namespace
}  // namespace distcalc_test
