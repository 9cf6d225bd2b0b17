// The photo window over the bubble viewer IPX32_53.dll: a bubble opened, its colours given to the
// window (message 0x7515), turned by dragging, hit-tested by double clicks ("RESET" turns it
// back), and its viewer handle released exactly once however the window goes; damaged bubble
// files refused with a message.
#include "EmbeddedMediaTestSupport.h"

#include "media/PhotoWin.h"

#include <BubWriter.h>
#include <SampleBubbles.h>

#include <fstream>
#include <memory>

namespace media_test {
namespace {

const char kBubblePath[] = "T:\\disc\\info_dat\\Photo\\Bu000001.bub";

// Colour index i is (i, 255 - i, 7i): each column of the test bubble has its own colour.
COLORREF IndexColour(int i)
{
    return RGB(i, 255 - i, (i * 7) & 0xFF);
}

// A 200 x 50 bubble whose column x has colour index x, with three hot spots.
discbuilder::BubSource TestBubble()
{
    discbuilder::BubSource s;
    s.width = 200;
    s.height = 50;
    for (int i = 0; i < 256; ++i)
        s.rgb[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                              static_cast<std::uint8_t>((i * 7) & 0xFF)};
    for (std::uint32_t y = 0; y < s.height; ++y)
        for (std::uint32_t x = 0; x < s.width; ++x)
            s.pixels.push_back(static_cast<std::uint8_t>(x));
    s.spots = {{10, 10, 40, 40, "Spot A"}, {60, 10, 90, 40, "RESET"}, {185, 0, 200, 50, "The seam"}};
    return s;
}

class PhotoWinTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        ASSERT_TRUE(parent.CreateParent());
        std::filesystem::create_directories(DataFolder() / "Photo");
        WriteBubble(discbuilder::WriteBubFile(TestBubble()));
        m_hViewerLibrary = ::LoadLibrary("IPX32_53.dll");  // for its counters from the start
        ASSERT_NE(nullptr, m_hViewerLibrary);
        m_nStaleBefore = StaleViewerReleases();
    }
    void TearDown() override
    {
        EXPECT_EQ(m_nStaleBefore, StaleViewerReleases()) << "a viewer handle was released twice";
        parent.DestroyWindow();
        EXPECT_EQ(0, LiveViewers()) << "every viewer was released";
        ::FreeLibrary(m_hViewerLibrary);
        MediaTest::TearDown();
    }

    void WriteBubble(const std::string& bytes) const
    {
        std::ofstream out(DataFolder() / "Photo" / "Bu000001.bub", std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    // A photo window whose client area is 200 x 100: the test bubble at twice its size.
    std::unique_ptr<CPhotoWin> Open(BOOL bExpected = TRUE)
    {
        auto win = std::make_unique<CPhotoWin>();
        EXPECT_EQ(bExpected, win->Create(&parent, CRect(10, 10, 212, 112), kBubblePath));
        win->ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
        return win;
    }

    static void DoubleClick(CWnd& win, int x, int y)
    {
        win.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
        ui::PumpUntilIdle();
    }
    static void Drag(CWnd& win, int fromX, int toX)
    {
        win.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 50));
        win.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, 50));
        win.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(toX, 50));
        ui::PumpUntilIdle();
    }
    // The colour index shown at a client column (the bubble's columns are told by colour).
    static COLORREF Shown(CWnd& win, int x) { return ClientPixel(win.GetSafeHwnd(), x, 10); }

    CParentWnd parent;
    int m_nStaleBefore = 0;
    HMODULE m_hViewerLibrary = NULL;
};

TEST_F(PhotoWinTest, OpenedTurnedHitTestedAndReleasedOnceOnClose)
{
    auto win = Open();
    EXPECT_EQ(win.get(), CPhotoWin::GetCurrent());
    ASSERT_NE(nullptr, CPhotoWin::GetViewerHandle());
    EXPECT_EQ(1, LiveViewers());
    char name[32] = {};
    ::GetWindowText(win->GetSafeHwnd(), name, sizeof name);
    EXPECT_STREQ("Photobubble", name);
    EXPECT_EQ(WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER, win->GetStyle() & (WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_POPUP));

    // The viewer's 0x7515 made the window's palette from the bubble's colours.
    ASSERT_NE(nullptr, win->GetPalette());
    PALETTEENTRY entries[2] = {};
    ASSERT_EQ(2u, ::GetPaletteEntries(win->GetPalette(), 5, 2, entries));
    EXPECT_EQ(5, entries[0].peRed);
    EXPECT_EQ(250, entries[0].peGreen);
    EXPECT_EQ(35, entries[0].peBlue);
    EXPECT_EQ(6, entries[1].peRed);
    const HPALETTE hPalette = win->GetPalette();
    EXPECT_EQ(hPalette, win->BuildPalette()) << "built again, the palette handed out stays the one";

    EXPECT_EQ(IndexColour(0), Shown(*win, 0));
    EXPECT_EQ(IndexColour(10), Shown(*win, 21));
    EXPECT_EQ(0, win->GetState());
    EXPECT_TRUE(win->Query());

    // A spot that is not "RESET" goes on to the viewer, which shows its text along the bottom.
    const COLORREF strip = RGB(20, 24, 40);
    DoubleClick(*win, 30, 30);
    EXPECT_EQ(strip, ClientPixel(win->GetSafeHwnd(), 3, 97));
    EXPECT_EQ(0, win->GetState());

    // Dragging 40 pixels to the left turns the view 20 columns (36 degrees) to the right.
    Drag(*win, 100, 60);
    EXPECT_EQ(36, win->GetState());
    EXPECT_EQ(IndexColour(20), Shown(*win, 0));
    // "RESET" (columns 60 to 89, now at client x 80 to 139) turns it back and clears the text.
    DoubleClick(*win, 90, 30);
    EXPECT_EQ(0, win->GetState());
    EXPECT_EQ(IndexColour(1), ClientPixel(win->GetSafeHwnd(), 3, 97));

    // Turned past its start the panorama closes on itself: column 170 at the left edge, the
    // seam at x 60, and a spot across it still answers.
    Drag(*win, 40, 100);
    EXPECT_EQ(IndexColour(170), Shown(*win, 0));
    EXPECT_EQ(IndexColour(199), Shown(*win, 59));
    EXPECT_EQ(IndexColour(0), Shown(*win, 61));
    DoubleClick(*win, 45, 30);
    EXPECT_EQ(strip, ClientPixel(win->GetSafeHwnd(), 3, 97));
    ScreenshotOf(win->GetSafeHwnd(), dir.path(), "photo-bubble-test.png");

    // Closing gives the handle back; the window stays (close is answered without the old
    // procedure) and its destruction finds nothing left to release.
    win->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, CPhotoWin::GetViewerHandle());
    EXPECT_EQ(0, LiveViewers());
    EXPECT_TRUE(::IsWindow(win->GetSafeHwnd()));
    win->DestroyWindow();
    win.reset();
    EXPECT_EQ(nullptr, CPhotoWin::GetCurrent());
}

TEST_F(PhotoWinTest, DestroyedOrDeletedTheWindowReleasesItsViewerOnce)
{
    auto win = Open();
    win->DestroyWindow();
    EXPECT_EQ(nullptr, CPhotoWin::GetViewerHandle());
    EXPECT_EQ(0, LiveViewers());
    win.reset();

    // Deleted while it still exists: the destructor's release and the destruction's are one.
    win = Open();
    EXPECT_EQ(1, LiveViewers());
    win.reset();
    EXPECT_EQ(nullptr, CPhotoWin::GetViewerHandle());
    EXPECT_EQ(0, LiveViewers());
}

// One bubble at a time: a second photo window takes the viewer over, and the first one going
// afterwards leaves the second's viewer alone.
TEST_F(PhotoWinTest, AnOlderWindowGoingLeavesTheNewerOnesViewer)
{
    auto first = Open();
    auto second = Open();
    EXPECT_EQ(second.get(), CPhotoWin::GetCurrent());
    EXPECT_EQ(1, LiveViewers()) << "the first window's viewer was released when the second took over";
    HANDLE hViewer = CPhotoWin::GetViewerHandle();
    ASSERT_NE(nullptr, hViewer);
    first.reset();
    EXPECT_EQ(hViewer, CPhotoWin::GetViewerHandle());
    EXPECT_EQ(1, LiveViewers());
    Drag(*second, 100, 60);
    EXPECT_EQ(36, second->GetState());
    second.reset();
    EXPECT_EQ(0, LiveViewers());
}

// A bubble file the viewer cannot read is refused with the reason; the window exists, shows
// nothing, and its viewer is still released once.
TEST_F(PhotoWinTest, DamagedBubbleFilesAreRefusedWithAMessage)
{
    const std::string good = discbuilder::WriteBubFile(TestBubble());
    std::string flipped = good;
    flipped[2000] = static_cast<char>(flipped[2000] ^ 0x40);
    const struct {
        const char* name;
        bool present;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"missing", false, "", "the file is missing."},
        {"empty", true, "", "the file is truncated."},
        {"cut in the header", true, good.substr(0, 20), "the file is truncated."},
        {"cut in the pixels", true, good.substr(0, good.size() / 2), "the file is truncated."},
        {"cut in the checksum", true, good.substr(0, good.size() - 2), "the file is damaged (its checksum does not match)."},
        {"a pixel changed", true, flipped, "the file is damaged (its checksum does not match)."},
        {"not a bubble", true, "GIF89a and then some", "the file is not a photo bubble."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(DataFolder() / "Photo" / "Bu000001.bub");
        if (c.present)
            WriteBubble(c.bytes);
        host::AnswerMessageBox("cannot be shown", IDOK);
        auto win = Open(FALSE);
        const std::vector<std::string> boxes = NewBoxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("The photo bubble \"Bu000001.bub\" cannot be shown: " + std::string(c.reason), boxes[0]);
        EXPECT_TRUE(::IsWindow(win->GetSafeHwnd()));
        EXPECT_EQ(RGB(0, 0, 0), Shown(*win, 50)) << "nothing shown";
        EXPECT_EQ(nullptr, win->GetPalette());
        DoubleClick(*win, 30, 30);  // nothing to hit, nothing happens
        win.reset();
        EXPECT_EQ(0, LiveViewers());
        EXPECT_EQ(nullptr, CPhotoWin::GetViewerHandle());
    }
}

// The sample disc's harbour, found as the program finds a bubble item: the item's data folder
// (the photo folder) and its media file name.
TEST_F(PhotoWinTest, TheSampleHarbourInAWindow)
{
    ASSERT_EQ(1u, discbuilder::WriteSampleBubbles(VL_SAMPLE_DIR, DataFolder()).size());
    GrfRecordSource record = RichPicture();
    record.itemNumber = 4050001;
    record.mediaNumber = 4050001;
    const LONG nBlock = WriteArchive({discbuilder::WriteGrfRecord(record)})[0];
    std::unique_ptr<CReference> ref(PlacedReference(4050001, REFKIND_BUBBLE, 1, nBlock));
    auto document = std::make_unique<CGrfDocument>();
    ASSERT_TRUE(document->Load(ref.get(), FALSE));
    CString strFolder;
    ASSERT_TRUE(document->GetDataFolder(strFolder, TRUE));
    const CString strPath = strFolder + document->GetMediaFileName();
    EXPECT_STREQ(kBubblePath, strPath);

    CPhotoWin win;
    ASSERT_TRUE(win.Create(&parent, CRect(10, 10, 652, 332), strPath));
    win.ShowWindow(SW_SHOW);
    ui::PumpUntilIdle();
    EXPECT_NE(nullptr, win.GetPalette());
    ScreenshotOf(win.GetSafeHwnd(), dir.path(), "photo-bubble-harbour.png");
    // The lighthouse: columns 174 to 225 of the picture, shown at its size from column 40.
    DoubleClick(win, 200 - 40, 150);
    ScreenshotOf(win.GetSafeHwnd(), dir.path(), "photo-bubble-harbour-lighthouse.png");
    Drag(win, 500, 100);
    ScreenshotOf(win.GetSafeHwnd(), dir.path(), "photo-bubble-harbour-turned.png");
    win.DestroyWindow();
}

}  // namespace
}  // namespace media_test
