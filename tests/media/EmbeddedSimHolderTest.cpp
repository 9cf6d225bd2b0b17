// The simulation holder over the simulation runtime ARAISF.dll and the sample disc's glider
// simulation (si000001.dll in the item's "Sims\" folder): created, hidden, shown again at its
// place, driven with the mouse, destroyed; damaged or foreign libraries refused with a message.
#include "EmbeddedMediaTestSupport.h"

#include "base/DataFolders.h"
#include "media/AraEmbeddedSim.h"
#include "media/EmbeddedSimHolder.h"

#include <SampleDisc.h>

#include <fstream>
#include <memory>

namespace media_test {
namespace {

const char kSimClass[] = "AraSimWindow";

class EmbeddedSimHolderTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        ASSERT_TRUE(parent.CreateParent());
        std::filesystem::create_directories(SimsFolder());
        GrfRecordSource record = RichPicture();
        record.itemNumber = 4030001;
        record.mediaNumber = 4030001;
        const LONG nBlock = WriteArchive({discbuilder::WriteGrfRecord(record)})[0];
        reference.reset(PlacedReference(4030001, REFKIND_SIMULATION, 1, nBlock));
        document = std::make_unique<CGrfDocument>();  // it asks for the data folder when made
        ASSERT_TRUE(document->Load(reference.get(), FALSE));
        ASSERT_STREQ("si000001.dll", document->GetMediaFileName());
    }
    void TearDown() override
    {
        holder.reset();
        document.reset();
        parent.DestroyWindow();
        MediaTest::TearDown();
    }

    std::filesystem::path SimsFolder() const { return DataFolder() / "Sims"; }
    std::filesystem::path SimFile() const { return SimsFolder() / "si000001.dll"; }
    void InstallGlider() const
    {
        std::filesystem::copy_file(std::filesystem::path(VL_SIMS_DIR) / "si000001.dll", SimFile(),
                                   std::filesystem::copy_options::overwrite_existing);
    }

    // The simulation windows that are children of the parent.
    std::vector<HWND> SimWindows() const
    {
        std::vector<HWND> found;
        for (HWND h = ::FindWindowEx(parent.GetSafeHwnd(), NULL, kSimClass, NULL); h != NULL;
             h = ::FindWindowEx(parent.GetSafeHwnd(), h, kSimClass, NULL))
            found.push_back(h);
        return found;
    }
    CRect ClientRectOf(HWND hwnd) const
    {
        CRect rc;
        ::GetWindowRect(hwnd, &rc);
        parent.ScreenToClient(&rc);
        return rc;
    }
    // Pixels of a colour in a part of a window's client area.
    int CountPixels(HWND hwnd, const CRect& area, COLORREF colour) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += ClientPixel(hwnd, x, y) == colour;
        return n;
    }

    CParentWnd parent;
    std::unique_ptr<CReference> reference;
    std::unique_ptr<CGrfDocument> document;
    std::unique_ptr<CEmbeddedSimHolder> holder = std::make_unique<CEmbeddedSimHolder>();
};

TEST_F(EmbeddedSimHolderTest, CreatedHiddenShownAgainAtItsPlaceAndDestroyed)
{
    InstallGlider();
    const CRect rect(20, 30, 340, 270);
    ASSERT_TRUE(holder->Create(document.get(), &parent, rect));
    ASSERT_NE(nullptr, holder->GetSim());
    EXPECT_TRUE(holder->GetSim()->IsKindOf(RUNTIME_CLASS(CAraEmbeddedSim)));
    std::vector<HWND> windows = SimWindows();
    ASSERT_EQ(1u, windows.size());
    EXPECT_EQ(holder->GetSimWnd()->GetSafeHwnd(), windows[0]);
    EXPECT_EQ(rect, ClientRectOf(windows[0]));
    EXPECT_TRUE(::IsWindowVisible(windows[0])) << "the runtime creates the window shown (flag 1)";
    char title[64] = {};
    ::GetWindowText(windows[0], title, sizeof title);
    EXPECT_STREQ("Build a Glider", title);

    // The glider asks for 320 x 240 whatever it is offered.
    int cx = 100, cy = 50;
    holder->GetPreferredSize(cx, cy);
    EXPECT_EQ(320, cx);
    EXPECT_EQ(240, cy);

    // Moved, the window goes where it is told; hidden, the simulation ends; shown, it starts
    // again at the place it had.
    const CRect moved(200, 60, 520, 300);
    holder->Move(moved);
    EXPECT_EQ(moved, ClientRectOf(windows[0]));
    holder->Hide();
    EXPECT_EQ(nullptr, holder->GetSim());
    EXPECT_TRUE(SimWindows().empty());
    holder->Hide();  // nothing to hide: nothing happens
    holder->Show();
    windows = SimWindows();
    ASSERT_EQ(1u, windows.size());
    EXPECT_EQ(moved, ClientRectOf(windows[0]));
    EXPECT_TRUE(::IsWindowVisible(windows[0]));
    holder->Show();  // already running: no second simulation
    EXPECT_EQ(1u, SimWindows().size());
    holder->GetSim()->Notify();
    ui::PumpUntilIdle();
    ScreenshotOf(windows[0], dir.path(), "simulation-glider.png");

    holder.reset();
    EXPECT_TRUE(SimWindows().empty()) << "no simulation outlives its holder";
    EXPECT_FALSE(::IsWindow(windows[0]));
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(EmbeddedSimHolderTest, TheGliderAnswersTheMouseAndFlies)
{
    InstallGlider();
    ASSERT_TRUE(holder->Create(document.get(), &parent, CRect(10, 10, 330, 250)));
    HWND hwnd = holder->GetSimWnd()->GetSafeHwnd();
    ui::PumpUntilIdle();
    const COLORREF longWing = RGB(200, 40, 40), buttonSelected = RGB(250, 210, 80);
    const CRect farSky(120, 50, 320, 200);
    EXPECT_EQ(0, CountPixels(hwnd, farSky, longWing));
    EXPECT_NE(buttonSelected, ClientPixel(hwnd, 96, 12)) << "short wings are chosen at the start";

    auto click = [&](int x, int y) {
        ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        ui::PumpUntilIdle();
    };
    click(120, 18);  // "Long wings"
    EXPECT_EQ(buttonSelected, ClientPixel(hwnd, 96, 12));
    // A drag upwards raises the launch angle; then Launch, and the glider flies on the clock.
    ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 150));
    ::SendMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 120));
    ::SendMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(150, 120));
    click(280, 18);  // "Launch"
    ui::AdvanceClock(15000);
    EXPECT_GT(CountPixels(hwnd, CRect(120, 50, 320, 240), longWing), 0) << "the glider landed far out";
    ScreenshotOf(hwnd, dir.path(), "simulation-glider-flown.png");
}

// The media viewer's way: made off-screen, hidden, shown again there, asked for its size and
// moved into place. Parked far outside its parent the simulation costs nothing to draw.
TEST_F(EmbeddedSimHolderTest, ParkedOffScreenThenSizedAndPlaced)
{
    InstallGlider();
    ASSERT_TRUE(holder->Create(document.get(), &parent, CRect(-10000, -10000, 0, 0)));
    holder->Hide();
    holder->Show();
    ASSERT_EQ(1u, SimWindows().size());
    EXPECT_EQ(CRect(-10000, -10000, 0, 0), ClientRectOf(SimWindows()[0]));
    ui::PumpUntilIdle();
    CSize size(480, 360);
    holder->GetPreferredSize(size);
    ASSERT_EQ(CSize(320, 240), size);
    const CRect placed(CPoint(188, 137), size);
    holder->Move(placed);
    ui::PumpUntilIdle();
    HWND hwnd = SimWindows()[0];
    EXPECT_EQ(placed, ClientRectOf(hwnd));
    EXPECT_EQ(RGB(90, 160, 70), ClientPixel(hwnd, 300, 230)) << "the grass";
    EXPECT_EQ(RGB(150, 120, 80), ClientPixel(hwnd, 10, 200)) << "the hill";
}

// A library that cannot run is refused by the runtime with a message, and the holder gives 0.
TEST_F(EmbeddedSimHolderTest, MissingDamagedAndForeignLibrariesAreRefusedWithAMessage)
{
    std::string glider;
    {
        std::ifstream in(std::filesystem::path(VL_SIMS_DIR) / "si000001.dll", std::ios::binary);
        glider.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ASSERT_GT(glider.size(), 8192u);
    const struct {
        const char* name;
        bool present;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"missing", false, "", "the file is missing."},
        {"text", true, "not a library at all\n", "the file is damaged or is not a code library."},
        {"empty", true, "", "the file is damaged or is not a code library."},
        {"truncated", true, glider.substr(0, 4096), "the file is damaged or is not a code library."},
        {"no ELF header", true, std::string(64, '\0') + glider.substr(64), "the file is damaged or is not a code library."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(SimFile());
        if (c.present) {
            std::ofstream out(SimFile(), std::ios::binary);
            out << c.bytes;
        }
        host::AnswerMessageBox("cannot be started", IDOK);
        EXPECT_FALSE(holder->Create(document.get(), &parent, CRect(0, 0, 100, 100)));
        const std::vector<std::string> boxes = NewBoxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("The simulation \"si000001.dll\" cannot be started: " + std::string(c.reason), boxes[0]);
        EXPECT_TRUE(SimWindows().empty());
        holder->Show();  // a failed simulation is not started by Show either (it never ran)
        NewBoxes();
    }
}

TEST_F(EmbeddedSimHolderTest, ALibraryWithoutTheSimulationEntriesIsNotASimulation)
{
    // The bubble viewer is a sound code library, but it has none of a simulation's entries.
    std::filesystem::copy_file(std::filesystem::path(VL_LIBRARY_DIR) / "libIPX32_53.so", SimFile());
    host::AnswerMessageBox("cannot be started", IDOK);
    EXPECT_FALSE(holder->Create(document.get(), &parent, CRect(0, 0, 100, 100)));
    const std::vector<std::string> boxes = NewBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0].find("the library is not a simulation of this runtime.")) << boxes[0];
    EXPECT_TRUE(SimWindows().empty());
    // Without a simulation the size asked for is the size given.
    CSize size(123, 45);
    holder->GetPreferredSize(size);
    EXPECT_EQ(CSize(123, 45), size);
}

// The reader who cancels the disc prompt gets no simulation and no further message.
TEST_F(EmbeddedSimHolderTest, ACancelledDiscPromptEndsQuietly)
{
    InstallGlider();
    ASSERT_TRUE(WriteAppProfileString("Files", "DataDir", NULL));  // the disc must be found now
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    EXPECT_FALSE(holder->Create(document.get(), &parent, CRect(0, 0, 320, 240)));
    EXPECT_EQ(std::vector<std::string>{"Please insert Disc 1."}, NewBoxes());
    EXPECT_TRUE(SimWindows().empty());
}

// The sample disc carries both simulations in its "Sims" folder, where the items' references
// find them.
TEST_F(EmbeddedSimHolderTest, TheSampleDiscsSimulationsRun)
{
    const discbuilder::SampleDiscReport report = discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "t" / "disc");
    ASSERT_EQ(2u, report.simulations.size());
    EXPECT_EQ("si000001.dll", report.simulations[0].filename().string());
    EXPECT_EQ("si000002.dll", report.simulations[1].filename().string());
    CGrfDocument::CloseArchive();  // the fixture's archive was replaced by the disc's
    CRomLinkTable table;
    ASSERT_TRUE(table.LoadTable());
    AppServices().owned.pSearchEngine = &table;
    for (LONG nNumber : {4030001, 4030002}) {
        SCOPED_TRACE(nNumber);
        CReference sample(nNumber, "");
        ASSERT_EQ(REFKIND_SIMULATION, sample.GetKind());
        CGrfDocument doc;
        ASSERT_TRUE(doc.Load(&sample, FALSE));
        ASSERT_TRUE(holder->Create(&doc, &parent, CRect(40, 40, 360, 280)));
        ui::PumpUntilIdle();
        ASSERT_EQ(1u, SimWindows().size());
        HWND hwnd = SimWindows()[0];
        if (nNumber == 4030002) {
            // Water drawn down to nothing: the plant stays small and its leaves turn brown.
            ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(258, 100));
            ::SendMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(258, 230));
            ::SendMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(258, 230));
            ui::AdvanceClock(15000);
            ScreenshotOf(hwnd, dir.path(), "simulation-plant-dry.png");
            // The stem's place (x 110, 40 pixels above the pot) against the wall beside it.
            EXPECT_EQ(ClientPixel(hwnd, 200, 130), ClientPixel(hwnd, 110, 130)) << "no stem grew";
            ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(258, 185));
            ::SendMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(258, 60));
            ::SendMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(258, 60));
            ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(270, 218));  // Restart
            ::SendMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(270, 218));
            ui::AdvanceClock(15000);
            ScreenshotOf(hwnd, dir.path(), "simulation-plant.png");
            EXPECT_NE(ClientPixel(hwnd, 200, 130), ClientPixel(hwnd, 110, 130)) << "watered, it grew";
        }
        holder->Hide();
        EXPECT_TRUE(SimWindows().empty());
    }
    AppServices().owned.pSearchEngine = NULL;
}

}  // namespace
}  // namespace media_test
