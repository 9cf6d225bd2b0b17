// The sound button and the sound card's play button: a click plays the item's sound clip through
// the one shared sound window, a second click stops it, the sound's end releases everything, and
// disabled sounds or a damaged clip are reported.
#include "MovieTestSupport.h"

#include "media/AudioPopUpButton.h"
#include "media/AudioTextThumb.h"
#include "base/DataFolders.h"

#include <host/Sound.h>

#include <DialogDriver.h>

namespace media_test {
namespace {

const char kQuickTimeError[] =
    "An error has occurred while attempting to play a Quicktime\naudio file.  If this error persists, please "
    "reinstall the\nVeltra Multimedia Encyclopedia to ensure that you\nhave the correct version of Quicktime "
    "installed.\n";

class SoundWidgetsTest : public MovieTest {
protected:
    void SetUp() override
    {
        MovieTest::SetUp();
        ASSERT_EQ(Start(MovieLibrary::Real), 0);
        host::ClearPlayedSounds();
    }
    void Click(CWnd& button) { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)); }
};

TEST_F(SoundWidgetsTest, AClickPlaysASecondStopsAndTheEndReleasesTheButton)
{
    CAudioPopUpButton button;
    ASSERT_TRUE(button.Create("sound", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(5, 5, 32, 22), &parent, 7));
    button.SetPath(WriteSound("AU000001.mov", 1000).c_str());

    Click(button);
    ASSERT_NE(CAudioPopUpButton::GetSharedAudioWin(), nullptr);
    EXPECT_TRUE(button.IsPlaying());
    EXPECT_EQ(CWnd::GetCapture(), &button);
    EXPECT_TRUE(host::SoundPlaying());
    EXPECT_EQ(host::PlayedSounds().size(), 1u);

    Click(button);
    EXPECT_EQ(CAudioPopUpButton::GetSharedAudioWin(), nullptr);
    EXPECT_FALSE(host::SoundPlaying());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // Played to its end: the sound window tells the button, which lets everything go.
    Click(button);
    ASSERT_NE(CAudioPopUpButton::GetSharedAudioWin(), nullptr);
    ui::AdvanceClock(1100);
    EXPECT_EQ(CAudioPopUpButton::GetSharedAudioWin(), nullptr);
    EXPECT_FALSE(button.IsPlaying());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(host::PlayedSounds().size(), 2u);
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(SoundWidgetsTest, DisabledSoundsAndADamagedClipAreReported)
{
    CAudioPopUpButton button;
    ASSERT_TRUE(button.Create("sound", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(5, 5, 32, 22), &parent, 7));
    std::string path = WriteSound("AU000001.mov", 1000);
    button.SetPath(path.c_str());

    ASSERT_TRUE(WritePrivateProfileString(VL_PRODUCT_SECTION, "DSC", "Y", "T:\\vl00i1se.ini"));
    host::AnswerNextMessageBox(IDOK);
    Click(button);
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"Sounds have been disabled."});
    EXPECT_EQ(CAudioPopUpButton::GetSharedAudioWin(), nullptr);
    ASSERT_TRUE(WritePrivateProfileString(VL_PRODUCT_SECTION, "DSC", "n", "T:\\vl00i1se.ini"));

    // A cut clip: refused with the error text, and the button does not keep the mouse.
    std::filesystem::resize_file(HostPath(path), std::filesystem::file_size(HostPath(path)) / 2);
    host::AnswerMessageBox("VL99 - Quicktime Error", IDOK);
    Click(button);
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{kQuickTimeError});
    EXPECT_EQ(CAudioPopUpButton::GetSharedAudioWin(), nullptr);
    EXPECT_FALSE(button.IsPlaying());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_TRUE(host::PlayedSounds().empty());
}

TEST_F(SoundWidgetsTest, TheSoundCardsPlayButtonSitsBesideItAndFollowsIt)
{
    std::unique_ptr<CReference> ref(PlacedReference(6000001, REFKIND_SOUND, 1, 0));
    CString caption = "A trumpet plays a short solo.";
    CAudioTextThumb thumb(ref.get(), &caption, NULL);
    thumb.SetAudioPath(WriteSound("AU000001.mov", 500).c_str());
    ASSERT_TRUE(thumb.CreateAt(&parent, 60, 40));
    CRect client;
    thumb.GetClientRect(&client);
    const int top = 40 + (client.Height() - 16) / 2;
    EXPECT_EQ(thumb.GetButtonRect(), CRect(40, top, 67, top + 17));

    CWnd* pButton = parent.GetDlgItem(CAudioTextThumb::playButtonId);
    ASSERT_EQ(pButton, &thumb.GetPlayButton());
    CString name;
    pButton->GetWindowText(name);
    EXPECT_STREQ("Audio Text thumb play", name);
    CRect placed;
    pButton->GetWindowRect(&placed);
    parent.ScreenToClient(&placed);
    EXPECT_EQ(placed, thumb.GetButtonRect());
    EXPECT_TRUE(pButton->IsWindowVisible());

    thumb.ShowWindow(SW_HIDE);
    EXPECT_FALSE(pButton->IsWindowVisible());
    thumb.ShowWindow(SW_SHOW);
    EXPECT_TRUE(pButton->IsWindowVisible());

    ui::PumpUntilIdle();
    ui::dialog::Screenshot(parent.GetSafeHwnd(), "sound-card-with-play-button.png");
    Click(*pButton);
    EXPECT_EQ(host::PlayedSounds().size(), 1u);
    ui::AdvanceClock(600);
    EXPECT_EQ(CAudioPopUpButton::GetSharedAudioWin(), nullptr);
}

}  // namespace
}  // namespace media_test
