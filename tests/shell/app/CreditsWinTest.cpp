// The About window: its normal size, the Credits and Acknowledgments pages it grows to show from
// the sample disc, Back, Close, and no window at all when a page is missing.
#include "shell/CreditsWin.h"

#include "base/DataFolders.h"
#include "base/ResourceLibrary.h"
#include "widgets/MiniArtThumb.h"

#include "AppTestSupport.h"

#include <DialogDriver.h>

#include <host/UiScript.h>

#include <filesystem>
#include <string>

namespace {

namespace dlg = ui::dialog;

class CreditsWinTest : public apptest::AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(InstallAppProfilePath());
        SetProfile("Files", "DataDir", "S:\\info_dat\\");
        ASSERT_TRUE(LoadAppPalettes());
        AppServices().env.hResourceLibrary = ::LoadLibrary("T:\\prog\\vl_res0.dll");
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
    }
    static CSize WindowSize(CWnd& wnd)
    {
        CRect rect;
        wnd.GetWindowRect(&rect);
        return rect.Size();
    }
    static bool Shown(CWnd* wnd) { return wnd != nullptr && wnd->GetSafeHwnd() != nullptr && wnd->IsWindowVisible(); }
    static void Press(CWnd& button)
    {
        button.SendMessage(BM_CLICK);
        ui::PumpUntilIdle();
    }
    enum { kAcknowledgments, kCredits, kClose, kBack };
};

TEST_F(CreditsWinTest, CreditsAndAcknowledgmentsGrowTheWindowAndBackShrinksIt)
{
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    CCreditsWin about;
    host::RunInNextModalLoop([&](HWND window) {
        ui::PumpUntilIdle();
        EXPECT_EQ(about.GetSafeHwnd(), window);
        EXPECT_EQ(CSize(567, 215), WindowSize(about));
        EXPECT_FALSE(about.IsEnlarged());
        EXPECT_FALSE(Shown(&about.GetButton(kBack)));
        EXPECT_FALSE(Shown(about.GetCreditsBox()));
        EXPECT_FALSE(Shown(about.GetAcknowledgmentsBox()));
        // The row of three buttons, evenly spaced.
        CRect ack, credits, close, client;
        about.GetClientRect(&client);
        about.GetButton(kAcknowledgments).GetWindowRect(&ack);
        about.GetButton(kCredits).GetWindowRect(&credits);
        about.GetButton(kClose).GetWindowRect(&close);
        const int gap = (client.Width() - 3 * ack.Width()) / 4;
        EXPECT_EQ(gap, credits.left - ack.right);
        EXPECT_EQ(gap, close.left - credits.right);
        EXPECT_EQ(ack.top, close.top);
        dlg::Screenshot(window, "about.png");

        Press(about.GetButton(kCredits));
        EXPECT_TRUE(about.IsEnlarged());
        EXPECT_STREQ("Credits", about.GetHeading());
        EXPECT_EQ(CSize(567, screenHeight - 60), WindowSize(about));
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_TRUE(Shown(about.GetCreditsBox()));
        EXPECT_FALSE(Shown(about.GetAcknowledgmentsBox()));
        EXPECT_TRUE(Shown(&about.GetButton(kBack)));
        EXPECT_GT(about.GetCreditsBox()->GetLineCount(), 5) << "the page is laid out";
        CRect page;
        about.GetCreditsBox()->GetWindowRect(&page);
        about.ScreenToClient(&page);
        EXPECT_EQ(about.GetPageRect(), page);
        EXPECT_EQ(27, page.left);
        EXPECT_EQ(215 - 15, page.top);
        dlg::Screenshot(window, "about-credits.png");

        // Acknowledgments swaps the page, not the size.
        Press(about.GetButton(kAcknowledgments));
        EXPECT_STREQ("Acknowledgments", about.GetHeading());
        EXPECT_EQ(CSize(567, screenHeight - 60), WindowSize(about));
        EXPECT_FALSE(Shown(about.GetCreditsBox()));
        EXPECT_TRUE(Shown(about.GetAcknowledgmentsBox()));
        dlg::Screenshot(window, "about-acknowledgments.png");

        Press(about.GetButton(kBack));
        EXPECT_FALSE(about.IsEnlarged());
        EXPECT_EQ(CSize(567, 215), WindowSize(about));
        EXPECT_FALSE(Shown(about.GetCreditsBox()));
        EXPECT_FALSE(Shown(about.GetAcknowledgmentsBox()));
        EXPECT_FALSE(Shown(&about.GetButton(kBack)));

        Press(about.GetButton(kCredits));
        EXPECT_TRUE(about.IsEnlarged());
        EXPECT_EQ(CSize(567, screenHeight - 60), WindowSize(about));
        EXPECT_TRUE(Shown(about.GetCreditsBox()));

        // The pages take no mouse selection.
        EXPECT_TRUE(about.GetCreditsBox()->IsNoSelection());
        EXPECT_TRUE(about.GetAcknowledgmentsBox()->IsNoSelection());
        CRect box;
        about.GetCreditsBox()->GetWindowRect(&box);
        host::Click(box.left + 20, box.top + 10);
        ui::PumpUntilIdle();
        EXPECT_EQ(-1, about.GetCreditsBox()->GetSelectionStart());

        Press(about.GetButton(kClose));
    });
    EXPECT_EQ(IDCANCEL, about.RunTabDialog());
}

TEST_F(CreditsWinTest, AMissingPageGivesNoWindow)
{
    const std::filesystem::path disc = apptest::SampleDisc() / "info_dat";
    for (const char* present : {"vl00crd.htm", "vl00ack.htm", ""}) {
        SCOPED_TRACE(present);
        std::filesystem::remove_all(dir.path() / "t" / "pages");
        std::filesystem::create_directories(dir.path() / "t" / "pages");
        if (*present != '\0')
            std::filesystem::copy_file(disc / present, dir.path() / "t" / "pages" / present);
        SetProfile("Files", "DataDir", "T:\\pages\\");
        CCreditsWin about;
        // No modal loop runs (one would fail the test unanswered).
        EXPECT_EQ(IDCANCEL, about.RunTabDialog());
        EXPECT_EQ(nullptr, about.GetSafeHwnd());
    }
    EXPECT_EQ(0u, host::MessageBoxLog().size());
}

}  // namespace
