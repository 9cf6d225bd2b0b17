#include "MainMenuTestSupport.h"

#include <TestAppHost.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

using menutest::IndexedBmp;
using menutest::MenuTest;

namespace {

int g_passCount = 0;
void CountPass(int, const PALETTEENTRY*, int) { ++g_passCount; }
int g_months = -1;
int Months() { return g_months; }

class MainMenuTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        UseScreenClass(2);
        g_months = -1;
        // The choices need no pixels: the 8-bit display's palette animation is the quickest
        // fade (nothing is redrawn). The cases that look at pixels switch to true colour.
        host::SetDisplayMode(host::DisplayMode::Palette256);
        MainMenuState().bWindowsNT = FALSE;
    }
    void UseTrueColour()
    {
        host::SetDisplayMode(host::DisplayMode::TrueColor);
        MainMenuState().bWindowsNT = TRUE;
    }

    // Opens the menu as the toolbar does after the splash phase, and checks it is up.
    void Open(BOOL bHosted = FALSE)
    {
        ShowMainMenu(15, bHosted);
        ASSERT_TRUE(IsMainMenuUp());
        ASSERT_NE(nullptr, Menu()->GetSafeHwnd());
        ui::PumpUntilIdle();
    }
    // A point inside row nRow's button beside its label (screen coordinates).
    CPoint BesideLabel(int nRow) const
    {
        CRect r = Menu()->GetButtonRect(nRow);
        CPoint pt(r.left + 8, r.CenterPoint().y);
        Menu()->ClientToScreen(&pt);
        return pt;
    }
};

TEST_F(MainMenuTest, WindowTakesTheBackgroundsSizeAndHoldsTheHiddenButtons)
{
    Open();
    CRect client;
    Menu()->GetClientRect(&client);
    CMenuPaletteDib* pBackground = Menu()->GetBackground();
    ASSERT_NE(nullptr, pBackground);
    CRect window;
    Menu()->GetWindowRect(&window);
    EXPECT_EQ(pBackground->GetWidth(), window.Width());
    EXPECT_EQ(std::abs(pBackground->GetHeight()), window.Height());
    char title[64] = {};
    Menu()->GetWindowText(title, sizeof title);
    EXPECT_STREQ("Main Menu vl00i1se", title);
    for (int i = 0; i < kMainMenuButtons; ++i) {
        CWnd* pButton = Menu()->GetDlgItem(100 + i);
        ASSERT_NE(nullptr, pButton) << i;
        char caption[64] = {};
        pButton->GetWindowText(caption, sizeof caption);
        EXPECT_STREQ(MainMenuRows()[i].pszCaption, caption);
        char className[32] = {};
        ::GetClassName(pButton->GetSafeHwnd(), className, sizeof className);
        EXPECT_STRCASEEQ("Button", className) << "the system's push button";
        EXPECT_EQ(static_cast<DWORD>(BS_PUSHBUTTON), pButton->GetStyle() & 0x0F);
        CRect r;
        pButton->GetWindowRect(&r);
        EXPECT_TRUE(r.IsRectEmpty());
        // Rectangles: the layout's top-left at this class, the hover picture's size.
        EXPECT_EQ(CPoint(MainMenuRows()[i].ptLayout[2]), Menu()->GetButtonRect(i).TopLeft());
    }
    EXPECT_EQ(15, Menu()->GetFadeSteps());
    EXPECT_FALSE(Menu()->IsFadedOut());
}

// Without a splash the first fade-in takes the constructed 30 steps; the caller's 15 count
// from then on.
TEST_F(MainMenuTest, FirstFadeInTakes30StepsAndTheStoredCountAfterwards)
{
    MainMenuState().pfnFadePassObserver = CountPass;
    g_passCount = 0;
    Open();
    EXPECT_EQ(31, g_passCount);
    g_passCount = 0;
    CloseMainMenu(TRUE);
    EXPECT_EQ(16, g_passCount);
    EXPECT_FALSE(IsMainMenuUp());
}

TEST_F(MainMenuTest, ClicksYieldTheRowsChoiceCodes)
{
    const int expected[kMainMenuButtons] = {8002, 8005, 9040, 8007, 8003, 8008, 8006, 8009, 8009, 202, 201, 0, 9004};
    for (int row = 0; row < kMainMenuButtons; ++row) {
        SCOPED_TRACE(row);
        Open();
        CPoint pt = ButtonCentre(row);
        host::Click(pt.x, pt.y);
        WaitPumpingMessages(20);
        EXPECT_EQ(expected[row], MainMenuState().nChoice);
        if (row == 11)
            EXPECT_EQ(0u, Menu()->GetHighlighted()) << "row 11's picture is inert to the mouse";
        else
            EXPECT_EQ(MainMenuRows()[row].nBitmap, Menu()->GetHighlighted());
        if (expected[row] != 0) {
            LPARAM param = -1;
            EXPECT_EQ(expected[row], Menu()->WaitForChoice(&param));
            EXPECT_EQ(row == 8 ? 1 : 0, param);
        }
        CloseMainMenu(TRUE);
    }
}

TEST_F(MainMenuTest, UpdateNowCarriesTheReminderFlagAsParameter)
{
    CTestAppHost appHost;
    appHost.monthsSinceUpdate = Months;
    for (int months : {1, 0, 12, 30}) {
        SCOPED_TRACE(months);
        g_months = months;
        Open();
        EXPECT_EQ(months > 0, bool(Menu()->GetShowReminder()));
        if (months == 1) {
            EXPECT_STREQ("You haven't updated in\n1 month.Click here to", Menu()->ReminderText());
        }
        if (months >= 12) {
            EXPECT_STREQ("You haven't updated in\nover a year.Click here to", Menu()->ReminderText());
        }
        CPoint pt = ButtonCentre(8);
        host::Click(pt.x, pt.y);
        LPARAM param = 0;
        EXPECT_EQ(8009, Menu()->WaitForChoice(&param));
        EXPECT_EQ(months > 0 ? 2 : 1, param);
        CloseMainMenu(TRUE);
    }
    // A snooze that reaches past now keeps the reminder off.
    SetProfile("Veltra Jubilee 2000 (International)", "Update Notice Sleep", "4102444800");  // 2100
    g_months = 3;
    Open();
    EXPECT_FALSE(Menu()->GetShowReminder());
}

TEST_F(MainMenuTest, HiddenButtonsAndRegisteredMessagesChooseToo)
{
    Open();
    // Row 11's hidden button answers although its picture does not.
    Menu()->GetDlgItem(111)->SendMessage(0x00F5 /* BM_CLICK */);
    EXPECT_EQ(203, MainMenuState().nChoice);
    CloseMainMenu(TRUE);
    Open();
    EXPECT_EQ(1, Menu()->SendMessage(::RegisterWindowMessage("VL:MainMenu:SearchMaps")));
    EXPECT_EQ(8003, MainMenuState().nChoice);
    // A registered message sent later takes the latest choice; a click never overrides one.
    EXPECT_EQ(1, Menu()->SendMessage(MainMenuMessage(12)));
    EXPECT_EQ(9004, MainMenuState().nChoice);
}

// Another thread drives the menu as another program would: it waits until the buttons can be
// chosen, sends the registered message, and sees "ButtonsExtinct" pulsed when the wait ends.
TEST_F(MainMenuTest, RegisteredMessageFromAnotherThreadEndsTheWait)
{
    Open();
    HWND hMenu = Menu()->GetSafeHwnd();
    std::atomic<LRESULT> answer{-1};
    std::atomic<bool> released{false};
    std::thread sender([&] {
        HANDLE hExtant = NULL;
        while (hExtant == NULL) {
            hExtant = ::OpenEvent(SYNCHRONIZE, FALSE, "VLMainMenu:ButtonsExtant");
            if (hExtant == NULL)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hExtant, INFINITE));
        HANDLE hExtinct = ::OpenEvent(SYNCHRONIZE, FALSE, "VLMainMenu:ButtonsExtinct");
        EXPECT_NE(nullptr, hExtinct);
        std::thread waiter([&] {
            released = ::WaitForSingleObject(hExtinct, INFINITE) == WAIT_OBJECT_0;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        answer = ::SendMessage(hMenu, ::RegisterWindowMessage("VL:MainMenu:BrowseMedia"), 0, 0);
        waiter.join();
        ::CloseHandle(hExtant);
        ::CloseHandle(hExtinct);
    });
    HANDLE hExtant = ::CreateEvent(NULL, TRUE, FALSE, "VLMainMenu:ButtonsExtant");
    HANDLE hExtinct = ::CreateEvent(NULL, FALSE, FALSE, "VLMainMenu:ButtonsExtinct");
    LPARAM param = -1;
    int code = Menu()->WaitForChoice(&param);
    sender.join();
    EXPECT_EQ(8005, code);
    EXPECT_EQ(0, param);
    EXPECT_EQ(1, answer.load());
    EXPECT_TRUE(released.load()) << "ButtonsExtinct pulsed";
    EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(hExtant, 0)) << "ButtonsExtant reset";
    EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(hExtinct, 0)) << "a pulse leaves the event clear";
    ::CloseHandle(hExtant);
    ::CloseHandle(hExtinct);
}

TEST_F(MainMenuTest, HoverLightsTheButtonAndItsGroupCaption)
{
    UseTrueColour();
    Open();
    CPoint browse = BesideLabel(0), media = BesideLabel(1);
    COLORREF plain = host::DesktopPixel(browse.x, browse.y);
    EXPECT_EQ(RGB(0, 51, 153), plain);
    host::MouseMove(browse.x, browse.y);
    WaitPumpingMessages(10);
    EXPECT_EQ(7877u, Menu()->GetHighlighted());
    COLORREF lit = host::DesktopPixel(browse.x, browse.y);
    EXPECT_EQ(RGB(255, 204, 0), lit);
    // A repaint keeps the light on.
    Menu()->Invalidate();
    ui::PumpUntilIdle();
    EXPECT_EQ(lit, host::DesktopPixel(browse.x, browse.y));
    // Straight onto the next button: the new one lights, the old one is plain again.
    host::MouseMove(media.x, media.y);
    WaitPumpingMessages(10);
    EXPECT_EQ(7924u, Menu()->GetHighlighted());
    EXPECT_EQ(plain, host::DesktopPixel(browse.x, browse.y));
    EXPECT_EQ(lit, host::DesktopPixel(media.x, media.y));
    // Off every button.
    CPoint corner(5, 700);
    Menu()->ClientToScreen(&corner);
    host::MouseMove(corner.x, corner.y);
    WaitPumpingMessages(10);
    EXPECT_EQ(0u, Menu()->GetHighlighted());
    EXPECT_EQ(plain, host::DesktopPixel(media.x, media.y));
    EXPECT_EQ(0, MainMenuState().nChoice) << "hovering chooses nothing";
}

// Opened over the running frame, the menu hands the choice over itself.
TEST_F(MainMenuTest, HostedMenuHandsTheChoiceToTheFrame)
{
    struct Frame : CWnd {
        std::vector<std::pair<WPARAM, LPARAM>> choices;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == VLM_MAIN_MENU_CHOICE) {
                choices.emplace_back(wParam, lParam);
                return 0;
            }
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1024, 768,
                               NULL, NULL));
    app.m_pMainWnd = &frame;
    Open(TRUE);
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetWindow(Menu()->GetSafeHwnd(), GW_OWNER));
    CPoint pt = ButtonCentre(5);
    host::Click(pt.x, pt.y);
    LPARAM param = 0;
    EXPECT_EQ(8008, Menu()->WaitForChoice(&param));
    EXPECT_FALSE(IsMainMenuUp());
    std::vector<std::pair<WPARAM, LPARAM>> expected = {{8015, 0}, {8015, 0}, {8008, 0}};
    EXPECT_EQ(expected, frame.choices);
    app.m_pMainWnd = NULL;
    frame.DestroyWindow();
}

// The splash phase: the splash fades in, choices are refused while it shows, and dismissing it
// fades the menu in.
TEST_F(MainMenuTest, SplashRefusesChoicesUntilDismissed)
{
    MainMenuState().bSplashOver = FALSE;
    dir.Write("t/data/splash.bmp", IndexedBmp(200, 100, {0x3366CC, 0xFFCC00}));
    MainMenuState().pfnFadePassObserver = CountPass;
    g_passCount = 0;
    Open();
    EXPECT_EQ(16, g_passCount) << "the splash fades in over 15 steps";
    EXPECT_TRUE(MainMenuState().bSplashShowing);
    CRect client;
    Menu()->GetClientRect(&client);
    EXPECT_EQ((client.Width() - 200) / 2, MainMenuState().ptSplash.x);
    EXPECT_EQ(0, Menu()->SendMessage(MainMenuMessage(0)));
    EXPECT_EQ(0, MainMenuState().nChoice);
    g_passCount = 0;
    DismissSplash(FALSE);
    EXPECT_EQ(16 + 16, g_passCount) << "splash out over 15, then the menu in over the stored 15";
    EXPECT_TRUE(MainMenuState().bSplashOver);
    EXPECT_FALSE(MainMenuState().bSplashShowing);
    EXPECT_EQ(1, Menu()->SendMessage(MainMenuMessage(0)));
    EXPECT_EQ(8002, MainMenuState().nChoice);
}

TEST_F(MainMenuTest, MissingSplashIsReportedAndTheMenuFadesInDirectly)
{
    MainMenuState().bSplashOver = FALSE;
    host::AnswerMessageBox("Splash graphic not found: T:\\data\\splash.bmp", IDOK);
    Open();
    EXPECT_FALSE(MainMenuState().bSplashShowing);
    EXPECT_EQ(1, Menu()->SendMessage(MainMenuMessage(3)));
    EXPECT_EQ(8007, MainMenuState().nChoice);
}

TEST_F(MainMenuTest, NoBackgroundNoMenu)
{
    ::FreeLibrary(AppServices().env.hResourceLibrary);
    AppServices().env.hResourceLibrary = NULL;
    for (int i = 0; i < kMainMenuButtons; ++i)
        host::AnswerMessageBox("failed to create menu button", IDOK);
    ShowMainMenu(15, FALSE);
    EXPECT_FALSE(IsMainMenuUp());
}

// The menu at the three screen classes, on a true-colour display and (class 2) on the 8-bit
// palette display, saved as PNG screenshots in the test's temp folder (copied to
// VL_SCREENSHOT_DIR when that is set, to look at them).
TEST_F(MainMenuTest, ScreenshotsAtTheThreeScreenClasses)
{
    for (int nClass : {0, 1, 2, 3}) {
        SCOPED_TRACE(nClass);
        ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
        UseScreenClass(nClass == 3 ? 2 : nClass);
        // Class 2 again on the 8-bit display, with its NT path (palette set, window repainted).
        if (nClass == 3)
            host::SetDisplayMode(host::DisplayMode::Palette256);
        else
            UseTrueColour();
        MainMenuState().bWindowsNT = TRUE;
        Open();
        CPoint pt = BesideLabel(3);
        host::MouseMove(pt.x, pt.y);
        WaitPumpingMessages(10);
        ui::PumpUntilIdle();
        std::string name = "menu" + std::to_string(nClass) + ".png";
        ASSERT_TRUE(host::SaveDesktopPng((dir.path() / name).string()));
        EXPECT_GT(std::filesystem::file_size(dir.path() / name), 1000u);
        if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
            std::filesystem::copy_file(dir.path() / name, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
        // The lit button shows the lit face (yellow), a plain one the plain face (blue).
        EXPECT_EQ(RGB(255, 204, 0), host::DesktopPixel(pt.x, pt.y)) << "the lit button";
        CPoint plain = BesideLabel(4);
        EXPECT_EQ(RGB(0, 51, 153), host::DesktopPixel(plain.x, plain.y)) << "a plain button";
        CloseMainMenu(TRUE);
    }
}

}  // namespace
