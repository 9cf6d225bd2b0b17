// Start-up driven end to end: the checks and their messages, the screen classes, the first run,
// the main menu's Exit and a view chosen, and "NormalExit" after every exit.
#include "AppTestSupport.h"
#include "resource.h"

#include <DialogDriver.h>

#include "online/Cloud.h"
#include "search/SearchEngine.h"
#include "shell/LicenseAgreementDlg.h"
#include "base/Reference.h"
#include "base/StickyRecordSet.h"
#include "base/VLMessages.h"
#include "shell/VeltraApplication.h"
#include "media/ThumbnailFactory.h"

#include <oleauto.h>

#include <cstdlib>

using apptest::AgreementAnswer;
using apptest::AgreementCalls;
using apptest::AppTest;
using apptest::kBrowseRow;
using apptest::kExitRow;

namespace {

const char kNoDiskSpace[] =
    "Your system cannot run Veltra. Please delete some \nfiles to free hard disk space and re-start Veltra.";
const char kTooFewColours[] =
    "Veltra 2000 requires a minimum of 256 colours.\nPlease change the number of colours setting.";

class StartUpTest : public AppTest {};

TEST_F(StartUpTest, ExitInTheMenuEndsWithNoFrameAndWritesNormalExit)
{
    EXPECT_FALSE(Start(kExitRow));
    EXPECT_EQ(nullptr, app->m_pMainWnd);
    EXPECT_FALSE(IsMainMenuUp());
    // Everything start-up makes is there until the exit.
    EXPECT_NE(nullptr, GetAppSearchEngine());
    EXPECT_NE(nullptr, GetAppReferenceFactory());
    EXPECT_NE(nullptr, GetAppCloud());
    EXPECT_NE(nullptr, GetAppDatabase());
    EXPECT_NE(nullptr, GetAppThumbnailFactory());
    EXPECT_EQ("1", Profile("Runtime", "Previous Run"));
    EXPECT_FALSE(Profile("Veltra Jubilee 2000 (International)", "Last Update").empty());
    // The first start on 1 January 2000: the first new-edition date is written, no notice.
    EXPECT_EQ("2000/09/01", Profile("Veltra Jubilee 2000 (International)", "Next Prompt"));
    EXPECT_EQ(1, AgreementCalls());
    // Exit posts the quit message: the program ends with no message loop.
    MSG msg;
    EXPECT_TRUE(::PeekMessage(&msg, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE));

    EXPECT_EQ("", Profile("CLEAN UP", "NormalExit"));
    Exit();
    EXPECT_EQ("Y", Profile("CLEAN UP", "NormalExit"));
    EXPECT_EQ(nullptr, GetAppSearchEngine());
    EXPECT_EQ(nullptr, GetAppCloud());
    EXPECT_EQ(nullptr, GetAppDatabase());
    EXPECT_EQ(nullptr, AppServices().env.hResourceLibrary);
    // The sticky-note store wrote its (empty) file at exit.
    EXPECT_TRUE(std::filesystem::exists(Prog() / "sticky.nte"));
    // The framework's own profile name is back.
    EXPECT_STRNE("T:\\prog\\vl00i1se.ini", app->m_pszProfileName);
}

TEST_F(StartUpTest, AChosenViewOpensTheFrameAndTheRunningObject)
{
    ASSERT_TRUE(Start(kBrowseRow));
    CBaseWindow* pFrame = DYNAMIC_DOWNCAST(CBaseWindow, app->m_pMainWnd);
    ASSERT_NE(nullptr, pFrame);
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_TRUE(pFrame->IsZoomed()) << "[Screen] max defaults to 1";
    EXPECT_FALSE(IsMainMenuUp());
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, pFrame->GetCurrentMainWin());
    EXPECT_EQ(IDW_JUSTLOOKING, pFrame->GetCurrentMainWin()->GetDlgCtrlID());
    char title[64] = {};
    pFrame->GetWindowText(title, sizeof title);
    EXPECT_STREQ("Veltra 2000", title);

    // The automation object runs under its class.
    CLSID clsid;
    ASSERT_EQ(S_OK, CLSIDFromString(u"{DFFDEBC0-FBE9-11D0-8039-0060B01A74A3}", &clsid));
    IUnknown* pUnknown = nullptr;
    ASSERT_EQ(S_OK, GetActiveObject(clsid, nullptr, &pUnknown));
    IDispatch* pDispatch = nullptr;
    ASSERT_EQ(S_OK, pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDispatch)));
    EXPECT_EQ(app->GetAutomationObject()->GetIDispatch(FALSE), pDispatch);
    pDispatch->Release();
    pUnknown->Release();

    // Its methods reach the frame: a topic search in the search pane, an article by number.
    CVeltraApplication* pAutomation = app->GetAutomationObject();
    pAutomation->DoKeywordSearch("volcano");
    EXPECT_STREQ("volcano", pFrame->GetSearchTabWin()->GetLastQuery(FALSE));
    EXPECT_FALSE(pFrame->GetSearchTabWin()->IsWordMode());
    ui::PumpUntilIdle();  // the search's first article opens
    EXPECT_EQ(IDW_ARTICLE, pFrame->GetCurrentMainWin()->GetDlgCtrlID());
    pAutomation->GotoArticle("1001");
    MSG msg;
    ASSERT_TRUE(::PeekMessage(&msg, pFrame->GetSafeHwnd(), VLM_OPEN_WINDOW, VLM_OPEN_WINDOW, PM_REMOVE));
    EXPECT_EQ(WPARAM(IDW_ARTICLE), msg.wParam);
    CReference* pReference = reinterpret_cast<CReference*>(msg.lParam);
    ASSERT_NE(nullptr, pReference);
    EXPECT_EQ(1001, pReference->GetNumber());
    delete pReference;
    EXPECT_STREQ("001002", pAutomation->GetCurrentArticle()) << "the article the topic search opened";

    Exit();
    EXPECT_EQ("Y", Profile("CLEAN UP", "NormalExit"));
    EXPECT_EQ(MK_E_UNAVAILABLE, GetActiveObject(clsid, nullptr, &pUnknown));
}

// What the reader sees while choosing: the menu picture, faded in, over the black desktop.
COLORREF g_menuPixel = 0;
std::string g_screenshot;
void LookAtMenu(CMainMenuWnd* pMenu)
{
    CPoint pt = pMenu->GetButtonRect(kBrowseRow).CenterPoint();
    pMenu->ClientToScreen(&pt);
    g_menuPixel = host::DesktopPixel(pt.x, pt.y);
    host::SaveDesktopPng(g_screenshot);
}

TEST_F(StartUpTest, TheMenuIsOnScreenWhenItCanBeChosen)
{
    host::SetDisplayMode(host::DisplayMode::TrueColor);
    MainMenuState().bWindowsNT = TRUE;
    g_menuPixel = 0;
    g_screenshot = (dir.path() / "menu.png").string();
    apptest::BeforeChoosing() = LookAtMenu;
    EXPECT_FALSE(Start(kExitRow));
    EXPECT_NE(RGB(0, 0, 0), g_menuPixel);
    EXPECT_TRUE(std::filesystem::exists(g_screenshot));
}

TEST_F(StartUpTest, ScreenWidthGivesTheClassAndKeepsOnlyItsLibrary)
{
    const struct {
        int width;
        int screenClass;
    } cases[] = {{640, 0}, {641, 1}, {1023, 1}, {1024, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        for (int n = 0; n < 3; ++n) {
            auto name = Prog() / ("vl_res" + std::to_string(n) + ".dll");
            if (!std::filesystem::exists(name))
                std::filesystem::copy_file(std::filesystem::path(VL_LIBRARY_DIR) / name.filename(), name);
        }
        host::SetDesktopSize(c.width, 768);
        MakeApp();
        EXPECT_FALSE(Start(kExitRow));
        EXPECT_EQ(c.screenClass, GetAppScreenClass());
        EXPECT_EQ(c.width, GetAppScreenWidth());
        for (int n = 0; n < 3; ++n)
            EXPECT_EQ(n == c.screenClass, std::filesystem::exists(Prog() / ("vl_res" + std::to_string(n) + ".dll")))
                << n;
        Exit();
        ui::PumpUntilIdle();
    }
}

TEST_F(StartUpTest, FreeSpaceIsCountedIn64Bits)
{
    const struct {
        unsigned long long freeBytes;
        bool starts;
    } cases[] = {
        {7999999, false},
        {8000000, true},
        {4294967296ULL + 4096, true},  // wraps to 4096 in 32 bits
        {8589934592ULL + 1000, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.freeBytes);
        host::SetDriveFreeSpace('T', c.freeBytes, 20000000000ULL);
        MakeApp();
        if (!c.starts)
            host::AnswerMessageBox(kNoDiskSpace, IDOK);
        EXPECT_FALSE(Start(c.starts ? kExitRow : -1));
        EXPECT_EQ(c.starts ? 0 : 1, Boxes(kNoDiskSpace));
        EXPECT_EQ(c.starts, GetAppSearchEngine() != nullptr);
        Exit();
        host::ResetUiScript();
    }
}

TEST_F(StartUpTest, SixteenColoursEndStartUpAndPaletteAndTrueColourPass)
{
    const struct {
        host::DisplayMode mode;
        bool starts;
    } cases[] = {
        {host::DisplayMode::Report16Colors, false},
        {host::DisplayMode::Palette256, true},
        {host::DisplayMode::TrueColor, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode));
        host::SetDisplayMode(c.mode);
        MainMenuState().bWindowsNT = c.mode != host::DisplayMode::Palette256;
        MakeApp();
        if (!c.starts)
            host::AnswerMessageBox(kTooFewColours, IDOK);
        EXPECT_FALSE(Start(c.starts ? kExitRow : -1));
        EXPECT_EQ(c.starts ? 0 : 1, Boxes(kTooFewColours));
        EXPECT_EQ(c.starts, GetAppDatabase() != nullptr);
        Exit();
        host::ResetUiScript();
    }
}

TEST_F(StartUpTest, FirstRunShowsTheAgreementsOnceAndLaterRunsNone)
{
    EXPECT_FALSE(Start(kExitRow));
    EXPECT_EQ(1, AgreementCalls());
    EXPECT_EQ("1", Profile("Runtime", "Previous Run"));
    const std::string strLastUpdate = Profile("Veltra Jubilee 2000 (International)", "Last Update");
    // Seconds since 1970 at the first start (the test clock starts at 1 January 2000).
    const long long nLastUpdate = std::atoll(strLastUpdate.c_str());
    EXPECT_GE(nLastUpdate, 946684800LL);
    EXPECT_LT(nLastUpdate, 946684800LL + 60);
    Exit();
    ui::AdvanceClock(5000);

    MakeApp();
    EXPECT_FALSE(Start(kExitRow));
    EXPECT_EQ(1, AgreementCalls()) << "the second run shows neither agreement";
    EXPECT_EQ(strLastUpdate, Profile("Veltra Jubilee 2000 (International)", "Last Update")) << "kept";
    Exit();
}

TEST_F(StartUpTest, StalePagingFilesGoFromTheFolderOfTheSettings)
{
    std::filesystem::create_directories(dir.path() / "t" / "swap");
    for (const char* name : {"VM123456", "vmabcdef.tmp", "keep.txt"})
        dir.Write(std::string("t/swap/") + name, "x");
    SetProfile("Veltra Jubilee 2000 (International)", "TFL", "T:\\swap\\");
    EXPECT_FALSE(Start(kExitRow));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "t" / "swap" / "VM123456"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "t" / "swap" / "vmabcdef.tmp"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "t" / "swap" / "keep.txt"));
}

TEST_F(StartUpTest, TheFirstRunShowsTheNoticeAndTheLicenceOverTheMenu)
{
    app->agreements = nullptr;  // the program's own
    std::vector<std::string> shown;
    for (int n = 0; n < 2; ++n)
        host::RunInNextModalLoop([&shown](HWND hDialog) {
            char title[64] = {};
            ::GetWindowText(hDialog, title, sizeof title);
            shown.push_back(title);
            EXPECT_EQ(MainMenuState().pMenu->GetSafeHwnd(), ::GetWindow(hDialog, GW_OWNER));
            ::SendMessage(::GetDlgItem(hDialog, IDOK), BM_CLICK, 0, 0);
        });
    EXPECT_FALSE(Start(kExitRow));
    EXPECT_EQ((std::vector<std::string>{"Proof of Entitlement", "License Agreement"}), shown);
    EXPECT_EQ("1", Profile("Runtime", "Previous Run"));
}

// The sample disc's French licence: its accents shown, its paragraphs wrapped by the dialog's
// box (no line of the text runs past the box, and a paragraph takes several of its lines).
TEST_F(StartUpTest, TheFrenchLicenceKeepsItsAccentsAndTheDialogWrapsIt)
{
    app->agreements = nullptr;
    std::string text;
    int lines = 0;
    host::RunInNextModalLoop([](HWND hNotice) {
        ::SendMessage(::GetDlgItem(hNotice, IDC_POE_FRENCH), BM_CLICK, 0, 0);
        ::SendMessage(::GetDlgItem(hNotice, IDOK), BM_CLICK, 0, 0);
    });
    host::RunInNextModalLoop([&](HWND hLicence) {
        HWND hText = ::GetDlgItem(hLicence, IDC_LICENSE_TEXT);
        char buffer[2048] = {};
        ::GetWindowText(hText, buffer, sizeof buffer);
        text = buffer;
        lines = static_cast<int>(::SendMessage(hText, EM_GETLINECOUNT, 0, 0));
        ui::dialog::Screenshot(hLicence, "licence-french.png");
        ::SendMessage(::GetDlgItem(hLicence, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(Start(kExitRow));
    EXPECT_NE(std::string::npos, text.find("a \xE9t\xE9 \xE9" "crit")) << text;
    EXPECT_NE(std::string::npos, text.find("\xEAtre essay\xE9 sans disque"));
    // Six lines unwrapped (the heading, two paragraphs, two blank lines and the empty last one);
    // the long paragraph alone needs several lines of the box.
    EXPECT_GT(lines, 7);
}

TEST_F(StartUpTest, DecliningAnAgreementEndsStartUpBeforeTheServices)
{
    AgreementAnswer() = IDCANCEL;
    EXPECT_FALSE(Start(-1));
    EXPECT_EQ(1, AgreementCalls());
    EXPECT_FALSE(IsMainMenuUp());
    EXPECT_EQ(nullptr, GetAppSearchEngine());
    EXPECT_EQ("", Profile("Runtime", "Previous Run"));
    Exit();
    EXPECT_EQ("Y", Profile("CLEAN UP", "NormalExit"));
}

// The agreements hook runs inside start-up's handler: what it raises shows how each kind of
// exception ends start-up.
int g_raise = 0;
int RaiseInAgreements(CWnd*)
{
    switch (g_raise) {
    case 0: AfxThrowUserException();
    case 1: AfxThrowNotSupportedException();
    case 2: AfxThrowMemoryException();
    default: AfxThrowFileException(CFileException::generic);
    }
}

TEST_F(StartUpTest, EachKindOfExceptionEndsStartUpWithItsMessage)
{
    const struct {
        int raise;
        const char* message;  // NULL: none
    } cases[] = {
        {0, NULL},
        {1, NULL},
        {2, "Insufficient memory to run."},
        {3, "An unknown or unexpected error occurred during initialization."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raise);
        MakeApp();
        g_raise = c.raise;
        app->agreements = RaiseInAgreements;
        if (c.message != NULL)
            host::AnswerMessageBox(c.message, IDOK);
        EXPECT_FALSE(Start(-1));
        EXPECT_FALSE(IsMainMenuUp()) << "the menu is closed";
        EXPECT_EQ(c.message != NULL ? 1u : 0u, host::MessageBoxLog().size());
        Exit();
        EXPECT_EQ("Y", Profile("CLEAN UP", "NormalExit"));
        host::ResetUiScript();
    }
}

TEST_F(StartUpTest, FailedStartUpsStillWriteNormalExit)
{
    // The database missing: its own message, then start-up ends silently.
    std::filesystem::remove(Prog() / "vl00i1.mdb");
    host::AnswerMessageBox("could not be found", IDOK);
    EXPECT_FALSE(Start(-1));
    EXPECT_EQ(1, Boxes("The Veltra database file \"vl00i1.mdb\" could not be found."));
    EXPECT_FALSE(IsMainMenuUp());
    Exit();
    EXPECT_EQ("Y", Profile("CLEAN UP", "NormalExit"));

    // No disc and the prompt cancelled.
    ::WritePrivateProfileString("CLEAN UP", "NormalExit", NULL, "T:\\prog\\vl00i1se.ini");
    host::UnmapDrive('S');
    ResetProgramState();
    MakeApp();
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    // The preferences are offered (where the disc's place can be set); Cancel gives up.
    host::RunInNextModalLoop(
        [](HWND hPreferences) { ::SendMessage(::GetDlgItem(hPreferences, IDCANCEL), BM_CLICK, 0, 0); });
    host::AnswerMessageBox("The Veltra CD #1 could not be located.", IDOK);
    EXPECT_FALSE(Start(-1));
    Exit();
    EXPECT_EQ("Y", Profile("CLEAN UP", "NormalExit"));
}

}  // namespace
