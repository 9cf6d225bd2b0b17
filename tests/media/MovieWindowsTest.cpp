// The movie and sound windows over the movie library: the order of their library calls (against
// the recording stand-in and against the real library), a real movie's frames at known times on
// the test clock and its end, a real sound played to its end and notified, and damaged files.
#include "MovieTestSupport.h"

#include "media/QTAudioWin.h"
#include "media/QTWin.h"

#include <host/Sound.h>

#include <DialogDriver.h>

namespace media_test {
namespace {

using Calls = std::vector<std::string>;

const Calls kLoadCalls = {
    "c2pstr",       "FSMakeFSSpec",    "GetNativeWindowPort", "SetGWorld",       "OpenMovieFile",
    "NewMovieFromFile", "CloseMovieFile", "GetMovieBox",      "GetMoviesError",  "NewMovieController",
    "MCDoAction 8 0", "MCDoAction 39",  "MCDoAction 38 8",    "MCDoAction 25",   "MCGetControllerBoundsRect",
    "SetMovieActive",
};

Calls Joined(std::initializer_list<Calls> parts)
{
    Calls all;
    for (const Calls& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class MovieCallOrderTest : public MovieTest, public ::testing::WithParamInterface<MovieLibrary> {};

TEST_P(MovieCallOrderTest, CreatePlayStopDestroyAndShutDownCallTheLibraryInOrder)
{
    ASSERT_EQ(Start(GetParam()), 0);
    EXPECT_EQ(StartQuickTime(), 1) << "started already";
    std::string path = WriteAnimation("AM000001.mov", 5);
    {
        CQTWin win;
        ASSERT_TRUE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, path.c_str(), FALSE));
        EXPECT_EQ(qtml_host::CallLog(), Joined({{"CreatePortAssociation"}, kLoadCalls}));
        // The window takes the controller's size: the movie and its bar.
        CRect rect;
        win.GetWindowRect(&rect);
        EXPECT_EQ(rect.Size(), CSize(160, 136));

        qtml_host::ClearCallLog();
        win.Play();
        win.Stop();
        win.Destroy();
        EXPECT_EQ(qtml_host::CallLog(), (Calls{"MCDoAction 8 65536", "MCDoAction 8 0", "DisposeMovieController",
                                               "DisposeMovie", "GetNativeWindowPort", "DestroyPortAssociation"}));
    }
    qtml_host::ClearCallLog();
    StopQuickTime();
    EXPECT_EQ(qtml_host::CallLog(), (Calls{"ExitMovies", "TerminateQTML"}));
    EXPECT_EQ(QuickTimeReadyFlag(), 0);
}

TEST_P(MovieCallOrderTest, SoundWindowLoadsWithoutThePaletteAndPlays)
{
    ASSERT_EQ(Start(GetParam()), 0);
    std::string path = WriteSound("AU000001.mov", 300);
    CQTAudioWin audio;
    ASSERT_TRUE(audio.Create(&parent));
    EXPECT_EQ(qtml_host::CallLog(), (Calls{"CreatePortAssociation"}));
    qtml_host::ClearCallLog();
    ASSERT_EQ(audio.OpenAndPlay(path.c_str()), 0);
    Calls load = kLoadCalls;
    load.erase(std::find(load.begin(), load.end(), "MCDoAction 39"), std::find(load.begin(), load.end(), "MCDoAction 25"));
    EXPECT_EQ(qtml_host::CallLog(), Joined({load, {"MCDoAction 8 65536"}}));
    EXPECT_TRUE(audio.IsPlaying());
}

INSTANTIATE_TEST_SUITE_P(Libraries, MovieCallOrderTest, ::testing::Values(MovieLibrary::Recording, MovieLibrary::Real),
                         [](const auto& info) { return info.param == MovieLibrary::Real ? "Real" : "Recording"; });

TEST_P(MovieCallOrderTest, AWindowGoneWithItsParentStillGivesBackItsMovie)
{
    ASSERT_EQ(Start(GetParam()), 0);
    std::string path = WriteAnimation("AM000001.mov", 5);
    {
        CQTWin win;
        ASSERT_TRUE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD | WS_VISIBLE, path.c_str(), FALSE));
        parent.DestroyWindow();
        qtml_host::ClearCallLog();
    }
    EXPECT_EQ(qtml_host::CallLog(), (Calls{"DisposeMovieController", "DisposeMovie"}));
}

using MovieRecordingTest = MovieTest;

TEST_F(MovieRecordingTest, WindowPaletteGoesToMoviesAndToTheFourPanoramasMadeForIt)
{
    ASSERT_EQ(Start(MovieLibrary::Recording), 0);
    struct Case {
        const char* path;
        BOOL panorama;
        bool palette;
    } cases[] = {
        {"T:\\disc\\QR000062.mov", TRUE, true},
        {"T:\\disc\\QR000061.mov", TRUE, true},
        {"T:\\disc\\QR000065.mov", TRUE, false},
        {"T:\\disc\\QR000060.mov", TRUE, false},
        {"T:\\disc\\AM000065.mov", FALSE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        qtml_host::ClearCallLog();
        CQTWin win;
        ASSERT_TRUE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD, c.path, c.panorama));
        Calls log = qtml_host::CallLog();
        EXPECT_EQ(std::count(log.begin(), log.end(), "MCDoAction 38 8"), c.palette ? 1 : 0);
        // A panorama is driven through its controller only.
        qtml_host::ClearCallLog();
        win.Play();
        win.Stop();
        EXPECT_EQ(qtml_host::CallLog().size(), c.panorama ? 0u : 2u);
    }
}

TEST_F(MovieRecordingTest, AFailingLibraryCallEndsTheLoadThereAndHidesTheWindow)
{
    ASSERT_EQ(Start(MovieLibrary::Recording), 0);
    HMODULE library = GetModuleHandle("QuickTime.qts");
    ASSERT_NE(library, nullptr);
    auto fail = reinterpret_cast<void (*)(const char*)>(GetProcAddress(library, "RecordingFail"));
    ASSERT_NE(fail, nullptr);
    const std::pair<const char*, std::size_t> cases[] = {
        {"FSMakeFSSpec", 2}, {"OpenMovieFile", 5}, {"NewMovieFromFile", 7}, {"CloseMovieFile", 7}, {"GetMoviesError", 9},
    };
    for (const auto& [call, through] : cases) {
        SCOPED_TRACE(call);
        fail(call);
        qtml_host::ClearCallLog();
        CQTWin win;
        EXPECT_FALSE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD | WS_VISIBLE, "T:\\disc\\AM000001.mov", FALSE));
        Calls log = qtml_host::CallLog();
        Calls expected = Joined({{"CreatePortAssociation"}, Calls(kLoadCalls.begin(), kLoadCalls.begin() + through)});
        // A movie made before the failure is given back.
        if (std::string(call) == "CloseMovieFile" || std::string(call) == "GetMoviesError")
            expected.push_back("DisposeMovie");
        EXPECT_EQ(log, expected);
        EXPECT_FALSE(win.IsWindowVisible());
        EXPECT_FALSE(win.HasController());
    }
    fail("");
}

TEST_F(MovieRecordingTest, WithoutTheLibraryNothingIsCreatedOrPlayed)
{
    EXPECT_EQ(Start(MovieLibrary::Missing), 1);
    EXPECT_EQ(QuickTimeReadyFlag(), 0);
    CQTWin win;
    EXPECT_FALSE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD, "T:\\disc\\AM000001.mov", FALSE));
    EXPECT_EQ(win.GetSafeHwnd(), nullptr);
    CQTAudioWin audio;
    audio.Create(&parent);
    EXPECT_EQ(audio.OpenAndPlay("T:\\disc\\info_dat\\Sound\\AU000001.mov"), 1);
    ui::PumpUntilIdle();
    EXPECT_TRUE(main.Of(VLM_STOP_OFF).empty());
}

using RealMovieTest = MovieTest;

// The colour at a point of the window's client area, as 0xRRGGBB.
std::uint32_t PixelAt(CWnd& win, int x, int y)
{
    CClientDC dc(&win);
    COLORREF c = dc.GetPixel(x, y);
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Where the bar of the frame showing is: the x of its left edge on row 60.
int BarLeft(CWnd& win, std::uint32_t bar)
{
    for (int x = 0; x < 160; ++x)
        if (PixelAt(win, x, 60) == bar)
            return x;
    return -1;
}

TEST_F(RealMovieTest, FramesFollowTheClockAndTheEndIsReported)
{
    ASSERT_EQ(Start(MovieLibrary::Real), 0);
    std::string path = WriteAnimation("AM000001.mov", 20);
    CQTWin win;
    ASSERT_TRUE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, path.c_str(), FALSE));
    win.UpdateWindow();
    EXPECT_EQ(GetMovieDuration(win.GetMovie()), 2000);
    EXPECT_EQ(BarLeft(win, kBar), 0);
    EXPECT_EQ(PixelAt(win, 100, 10), kGround);

    win.Play();
    // Frame n starts at n * 100 ms and shows its bar at 20 n (wrapping past the right edge).
    const std::pair<int, int> steps[] = {{250, 40}, {300, 100}, {700, 99}};
    long at = 0;
    for (const auto& [step, left] : steps) {
        ui::AdvanceClock(step);
        at += step;
        SCOPED_TRACE(at);
        EXPECT_EQ(GetMovieTime(win.GetMovie()), at);
        EXPECT_EQ(BarLeft(win, kBar), left);
        // The window reports the playing state from the first message after the start.
        EXPECT_EQ(main.Of(VLM_STOP_OFF), (std::vector<std::pair<WPARAM, LPARAM>>{{0, 1}}));
    }
    ui::dialog::Screenshot(win.GetSafeHwnd(), "movie-window-playing.png");
    ui::AdvanceClock(1000);
    EXPECT_EQ(GetMovieTime(win.GetMovie()), 2000);
    EXPECT_EQ(BarLeft(win, kBar), 98);  // the last frame stays
    long info = 0;
    MCGetControllerInfo(win.GetController(), &info);
    EXPECT_EQ(info & mcInfoIsPlaying, 0);
    EXPECT_EQ(main.Of(VLM_STOP_OFF), (std::vector<std::pair<WPARAM, LPARAM>>{{0, 1}, {0, 0}}));
}

TEST_F(RealMovieTest, TheControlBarPlaysStopsAndMovesInTheMovie)
{
    ASSERT_EQ(Start(MovieLibrary::Real), 0);
    std::string path = WriteAnimation("AM000001.mov", 20);
    CQTWin win;
    ASSERT_TRUE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, path.c_str(), FALSE));
    auto playing = [&] {
        long info = 0;
        MCGetControllerInfo(win.GetController(), &info);
        return (info & mcInfoIsPlaying) != 0;
    };
    // The bar lies under the movie: its button at the left, then the track (18 to 154).
    win.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(8, 128));
    EXPECT_TRUE(playing());
    ui::AdvanceClock(300);
    win.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(8, 128));
    EXPECT_FALSE(playing());
    EXPECT_EQ(GetMovieTime(win.GetMovie()), 300);
    win.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(86, 128));
    EXPECT_EQ(GetMovieTime(win.GetMovie()), 1000);
    EXPECT_EQ(BarLeft(win, kBar), 59);  // frame 10
    // Back before the key frame that the last picture was decoded from.
    win.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(25, 128));
    EXPECT_EQ(GetMovieTime(win.GetMovie()), 7 * 2000 / 136);
    EXPECT_EQ(BarLeft(win, kBar), 20);  // frame 1
    // A click in the picture is the window's own.
    EXPECT_EQ(win.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(80, 60)), 0);
    EXPECT_EQ(GetMovieTime(win.GetMovie()), 7 * 2000 / 136);
}

TEST_F(RealMovieTest, ASoundPlaysThroughThePlatformAndItsEndNotifiesTheParent)
{
    ASSERT_EQ(Start(MovieLibrary::Real), 0);
    std::string path = WriteSound("AU000001.mov", 1500);
    CQTAudioWin audio;
    ASSERT_TRUE(audio.Create(&parent));
    host::ClearPlayedSounds();
    ASSERT_EQ(audio.OpenAndPlay(path.c_str()), 0);
    auto played = host::PlayedSounds();
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].format.samplesPerSec, 22050u);
    EXPECT_EQ(played[0].format.channels, 1);
    EXPECT_EQ(played[0].format.bitsPerSample, 16);
    EXPECT_NEAR(played[0].lengthMs, 1500, 50);
    EXPECT_TRUE(played[0].async);

    ui::AdvanceClock(1400);
    EXPECT_TRUE(parent.Of(MM_MCINOTIFY).empty());
    EXPECT_TRUE(audio.IsPlaying());
    ui::AdvanceClock(200);
    EXPECT_EQ(parent.Of(MM_MCINOTIFY), (std::vector<std::pair<WPARAM, LPARAM>>{{1, 0}}));
    EXPECT_FALSE(audio.IsPlaying());
    // Both the sound window and the movie window under it report the state: started, then stopped.
    auto states = main.Of(VLM_STOP_OFF);
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.front(), std::make_pair(WPARAM(0), LPARAM(1)));
    EXPECT_EQ(states.back(), std::make_pair(WPARAM(0), LPARAM(0)));
}

TEST_F(RealMovieTest, AMovieWithSoundStartsItsSoundWithItsPictures)
{
    ASSERT_EQ(Start(MovieLibrary::Real), 0);
    std::string path = WriteAnimation("VD000001.mov", 10, true);
    CQTWin win;
    ASSERT_TRUE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD | WS_VISIBLE, path.c_str(), FALSE));
    host::ClearPlayedSounds();
    win.Play();
    ASSERT_EQ(host::PlayedSounds().size(), 1u);
    EXPECT_NEAR(host::PlayedSounds()[0].lengthMs, 1000, 50);
    EXPECT_TRUE(host::SoundPlaying());
    win.Stop();
    EXPECT_FALSE(host::SoundPlaying());
}

TEST_F(RealMovieTest, DamagedAndCutMovieFilesAreRefused)
{
    ASSERT_EQ(Start(MovieLibrary::Real), 0);
    std::string good = WriteAnimation("AM000001.mov", 10, true);
    std::ifstream in(HostPath(good), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u);
    std::string garbled = bytes;
    for (std::size_t i = 0; i < 64 && i < garbled.size(); ++i)
        garbled[i] = static_cast<char>(0xA5 ^ i);
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"text", "This is no movie at all.\r\n"},
        {"first 100 bytes", bytes.substr(0, 100)},
        {"cut in its tables", bytes.substr(0, bytes.size() / 20)},
        {"cut in its samples", bytes.substr(0, bytes.size() * 3 / 5)},
        {"one byte short", bytes.substr(0, bytes.size() - 1)},
        {"header garbled", garbled},
        {"a WAVE sound by another name", std::string("RIFF\x24\x10\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x22\x56\0\0\x01\0\x08\0data\0\x10\0\0", 44) + std::string(4096, '\x80')},
    };
    for (const auto& [what, content] : cases) {
        SCOPED_TRACE(what);
        std::ofstream(HostPath("T:\\disc\\info_dat\\Movies\\AM000002.mov"), std::ios::binary | std::ios::trunc) << content;
        CQTWin win;
        EXPECT_FALSE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD | WS_VISIBLE,
                                "T:\\disc\\info_dat\\Movies\\AM000002.mov", FALSE));
        EXPECT_FALSE(win.HasController());
        CQTAudioWin audio;
        ASSERT_TRUE(audio.Create(&parent));
        EXPECT_EQ(audio.OpenAndPlay("T:\\disc\\info_dat\\Movies\\AM000002.mov"), 1);
    }
    // Scribbled over anywhere: opened or refused, never read out of bounds (the sanitizers watch).
    const std::string damagedPath = "T:\\disc\\info_dat\\Movies\\AM000003.mov";
    for (int n = 0; n < 24; ++n) {
        std::string scribbled = bytes;
        const std::size_t at = bytes.size() * static_cast<std::size_t>(n) / 24;
        for (std::size_t i = at; i < at + 16 && i < scribbled.size(); ++i)
            scribbled[i] = static_cast<char>(0xFF - (i * 37) % 251);
        std::ofstream(HostPath(damagedPath), std::ios::binary | std::ios::trunc) << scribbled;
        CQTWin win;
        if (win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD, damagedPath.c_str(), FALSE)) {
            win.Play();
            ui::AdvanceClock(1100);
        }
    }
    // The whole file still plays.
    CQTWin win;
    EXPECT_TRUE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD, good.c_str(), FALSE));
}

}  // namespace
}  // namespace media_test
