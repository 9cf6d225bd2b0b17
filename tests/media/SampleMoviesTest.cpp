// The sample disc's movie files as the disc builder writes them: each one opens in the movie
// library with the size, length and sound its item needs.
#include "MovieTestSupport.h"

#include "media/QTAudioWin.h"
#include "media/QTWin.h"

#include <SampleMovies.h>
#include <host/Sound.h>

#include <DialogDriver.h>

namespace media_test {
namespace {

using SampleMoviesTest = MovieTest;

TEST_F(SampleMoviesTest, EverySampleMovieOpensAndPlays)
{
    ASSERT_EQ(Start(MovieLibrary::Real), 0);
    EXPECT_EQ(discbuilder::WriteSampleMovies(DataFolder()).size(), 7u);
    const struct {
        const char* path;
        BOOL panorama;
        CSize window;  // the movie and its bar
        long duration;
        bool sound;
        COLORREF corner;  // the colour near the top right corner (the compressed videos: about)
    } cases[] = {
        {"Movies\\AM000001.mov", FALSE, {160, 136}, 2000, false, RGB(0x87, 0xCE, 0xEB)},
        {"Movies\\AM000002.mov", FALSE, {160, 136}, 2000, false, RGB(0x20, 0x18, 0x30)},
        {"Movies\\VD000001.mov", FALSE, {160, 136}, 2000, true, RGB(0xA8, 0xD8, 0xF0)},
        {"Movies\\VD000002.mov", FALSE, {160, 136}, 2000, true, RGB(0xE8, 0xE0, 0xC8)},
        {"Movies\\QR000001.mov", TRUE, {160, 136}, 1000, false, RGB(0x87, 0xCE, 0xEB)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CString path = CString("T:\\disc\\info_dat\\") + c.path;
        CQTWin win;
        ASSERT_TRUE(win.Create(&parent, CRect(0, 0, 160, 120), WS_CHILD | WS_VISIBLE, path, c.panorama));
        CRect rect;
        win.GetWindowRect(&rect);
        EXPECT_EQ(rect.Size(), c.window);
        EXPECT_EQ(GetMovieDuration(win.GetMovie()), c.duration);
        win.UpdateWindow();
        CClientDC dc(&win);
        COLORREF shown = dc.GetPixel(150, 8);
        EXPECT_NEAR(GetRValue(shown), GetRValue(c.corner), 12);
        EXPECT_NEAR(GetGValue(shown), GetGValue(c.corner), 12);
        EXPECT_NEAR(GetBValue(shown), GetBValue(c.corner), 12);
        std::string shot = std::string("sample-") + (c.path + 7) + ".png";
        ui::dialog::Screenshot(win.GetSafeHwnd(), shot);
        host::ClearPlayedSounds();
        win.Play();
        EXPECT_EQ(host::PlayedSounds().size(), c.sound ? 1u : 0u);
        win.Stop();
    }
    CQTAudioWin audio;
    ASSERT_TRUE(audio.Create(&parent));
    for (const char* clip : {"AU000001.mov", "AU000002.mov"}) {
        SCOPED_TRACE(clip);
        host::ClearPlayedSounds();
        EXPECT_EQ(audio.OpenAndPlay((CString("T:\\disc\\info_dat\\Sound\\") + clip)), 0);
        ASSERT_EQ(host::PlayedSounds().size(), 1u);
        EXPECT_NEAR(host::PlayedSounds()[0].lengthMs, 1500, 50);
        audio.StopAndNotify();
    }
}

}  // namespace
}  // namespace media_test
