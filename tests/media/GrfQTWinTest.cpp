// The movie window of a picture record: its movie found through the record, its hot spots in the
// window's coordinates, stopping when hidden, and the message when the movie does not load.
#include "MovieTestSupport.h"

#include "media/GrfQTWin.h"

namespace media_test {
namespace {

class GrfQTWinTest : public MovieTest {
protected:
    // An animation item (media number 4010001: AM000001.mov) with an article link and a map link.
    void OpenDocument(LONG nKind = REFKIND_ANIMATION)
    {
        InstallRomLink({{1002, 1, 0, 0, 1, 0, 1}, {3000001, 1, 6, 0, 1, 0, 1}});
        GrfRecordSource s;
        s.mediaNumber = 4010001;
        s.itemNumber = 4010001;
        s.title = "How a wing lifts";
        s.hotSpots = {{10, 10, 50, 40, GrfHotSpotKind::Link, 1002}, {60, 10, 90, 40, GrfHotSpotKind::Link, 3000001},
                      {100, 10, 120, 40, GrfHotSpotKind::Label, 0}};
        s.previewGif = TestGif(4, 4);
        s.fullGif = TestGif(16, 12);
        CGrfDocument::CloseArchive();
        const LONG block = WriteArchive({discbuilder::WriteGrfRecord(s)})[0];
        reference.reset(PlacedReference(4010001, nKind, 1, block));
        document = std::make_unique<CGrfDocument>();
        ASSERT_TRUE(document->Load(reference.get(), TRUE));
    }
    void TearDown() override
    {
        document.reset();
        reference.reset();
        MovieTest::TearDown();
    }

    std::unique_ptr<CReference> reference;
    std::unique_ptr<CGrfDocument> document;
};

TEST_F(GrfQTWinTest, PlaysTheItemsMovieAndOpensItsLinks)
{
    ASSERT_EQ(Start(MovieLibrary::Real), 0);
    WriteAnimation("AM000001.mov", 20);
    OpenDocument();
    CGrfQTWin win;
    ASSERT_TRUE(win.Create(document.get(), &parent, CRect(0, 0, 160, 120)));
    EXPECT_STREQ("T:\\disc\\info_dat\\Movies\\AM000001.mov", win.GetPath());
    EXPECT_FALSE(win.IsPanorama());
    win.ShowWindow(SW_SHOW);
    ui::PumpUntilIdle();

    // Over a link the window holds the mouse; off it, lets it go.
    win.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(CWnd::GetCapture(), &win);
    win.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(55, 20));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    for (int x : {20, 70, 110, 140})
        win.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(x, 20));
    ui::PumpUntilIdle();
    EXPECT_EQ(main.Of(VLM_OPEN_WINDOW),
              (std::vector<std::pair<WPARAM, LPARAM>>{{IDW_ARTICLE, 1002}, {IDW_ATLAS, 3000001}}));

    // Hidden, the movie stops.
    win.Play();
    long info = 0;
    MCGetControllerInfo(win.GetController(), &info);
    EXPECT_NE(info & mcInfoIsPlaying, 0);
    win.ShowWindow(SW_HIDE);
    MCGetControllerInfo(win.GetController(), &info);
    EXPECT_EQ(info & mcInfoIsPlaying, 0);
}

TEST_F(GrfQTWinTest, APanoramaItemMakesAPanoramaWindow)
{
    ASSERT_EQ(Start(MovieLibrary::Real), 0);
    discbuilder::MovieSource wide;
    wide.width = 640;
    wide.height = 120;
    wide.frames.push_back(discbuilder::MovieTestFrame(640, 120, kGround, kBar, 1));
    wide.comment = "panorama 160";
    Write("Movies", "QR000001.mov", wide);
    OpenDocument(REFKIND_VIRTUALREALITY);
    CGrfQTWin win;
    ASSERT_TRUE(win.Create(document.get(), &parent, CRect(0, 0, 160, 120)));
    EXPECT_TRUE(win.IsPanorama());
    win.ShowWindow(SW_SHOW);
    win.UpdateWindow();
    // The view shows the left 160 pixels of the picture, its bar at 80 to 159; dragging 40 pixels
    // to the left moves the view 40 pixels on.
    CClientDC dc(&win);
    EXPECT_EQ(dc.GetPixel(100, 60), RGB(255, 255, 0));
    EXPECT_EQ(dc.GetPixel(60, 60), RGB(0, 128, 255));
    win.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(100, 60));
    win.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 60));
    win.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, 60));
    EXPECT_EQ(dc.GetPixel(60, 60), RGB(255, 255, 0));
    EXPECT_EQ(dc.GetPixel(130, 60), RGB(0, 128, 255));
    // Play and Stop leave a panorama to its controller.
    win.Play();
    long info = 0;
    MCGetControllerInfo(win.GetController(), &info);
    EXPECT_EQ(info & mcInfoIsPlaying, 0);
}

TEST_F(GrfQTWinTest, AMovieThatDoesNotLoadIsReported)
{
    ASSERT_EQ(Start(MovieLibrary::Real), 0);
    OpenDocument();
    std::filesystem::create_directories(DataFolder() / "Movies");
    std::ofstream(DataFolder() / "Movies" / "AM000001.mov", std::ios::binary) << "not a movie";
    CGrfQTWin win;
    host::AnswerNextMessageBox(IDOK);
    EXPECT_FALSE(win.Create(document.get(), &parent, CRect(0, 0, 160, 120)));
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"Unable to create movie window."});
}

}  // namespace
}  // namespace media_test
