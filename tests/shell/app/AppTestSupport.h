// Fixture of the application tests: a fixed drive T: whose "prog" folder is the program's folder
// (the program's file name reported as T:\prog\vl00i1se.exe) holding the three screen-class
// libraries, the database and the profile; the sample disc in a CD-ROM drive S: labelled
// "VL00I1SE"; plenty of free space; a fresh application object initialised as the class
// library's WinMain does; and the first run's agreements answered by a hook that counts them.
#pragma once

#include "article/ArticleMainWin.h"
#include "base/AppDatabase.h"
#include "base/AppServices.h"
#include "base/Reference.h"
#include "search/KeywordIndex.h"
#include "search/PagingStore.h"
#include "shell/BaseWindow.h"
#include "shell/MainMenu.h"
#include "shell/VLApp.h"

#include "../mainmenu/MainMenuTestSupport.h"

#include <SampleDisc.h>

#include <host/Display.h>
#include <host/Drives.h>
#include <host/Paths.h>

#include <TempDir.h>
#include <UiTest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace apptest {

// The sample disc, built once for every case.
inline std::filesystem::path SampleDisc()
{
    static TempDir dir;
    static const bool built = [] {
        discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "disc");
        return true;
    }();
    (void)built;
    return dir.path() / "disc";
}

inline int& AgreementCalls()
{
    static int n = 0;
    return n;
}
inline int& AgreementAnswer()
{
    static int n = IDOK;
    return n;
}
inline int CountAgreements(CWnd*)
{
    ++AgreementCalls();
    return AgreementAnswer();
}

// The program's application object with its first-run agreements replaceable: a test's answer,
// or the program's own when none is set.
class TestApp : public CVLApp {
public:
    std::function<int(CWnd*)> agreements;
    int RunFirstRunAgreements(CWnd* pParent) override
    {
        return agreements ? agreements(pParent) : CVLApp::RunFirstRunAgreements(pParent);
    }
};

// The row of the start-up main menu to choose as soon as the menu can be driven; the choice is
// made by a thread timer that sends the row's registered message, as another program would.
inline int& RowToChoose()
{
    static int n = -1;
    return n;
}
// Called with the menu window just before the choice is made (NULL: nothing).
inline void (*&BeforeChoosing())(CMainMenuWnd* pMenu)
{
    static void (*pfn)(CMainMenuWnd*) = NULL;
    return pfn;
}
// Set when the BeforeChoosing hook has another program send the row's message: the timer then
// sends nothing itself.
inline bool& ChoiceSentElsewhere()
{
    static bool b = false;
    return b;
}
inline void CALLBACK ChooseRowWhenReady(HWND, UINT, UINT_PTR nIdEvent, DWORD)
{
    const MAIN_MENU_STATE& state = MainMenuState();
    if (state.pMenu == NULL || state.pMenu->GetSafeHwnd() == NULL || state.bFadeRunning || state.bSplashShowing ||
        !state.bSplashOver || state.pMenu->IsAnimating())
        return;
    ::KillTimer(NULL, nIdEvent);
    if (BeforeChoosing() != NULL)
        BeforeChoosing()(state.pMenu);
    if (!ChoiceSentElsewhere())
        ::PostMessage(state.pMenu->GetSafeHwnd(), MainMenuMessage(RowToChoose()), 0, 0);
}

constexpr int kBrowseRow = 0;
constexpr int kSearchTopicsRow = 3;
constexpr int kExitRow = 12;
constexpr int kWizardsRow = 10;

class AppTest : public ShellTest {
protected:
    AppTest() : ShellTest("T:\\prog\\vl00i1se.ini") {}

    void SetUp() override
    {
        ShellTest::SetUp();
        const std::filesystem::path disc = SampleDisc();
        std::filesystem::create_directories(Prog());
        host::MapDrive('S', disc.string(), DRIVE_CDROM, "VL00I1SE");
        host::SetDriveFreeSpace('T', 100000000, 1000000000);
        host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
        for (int n = 0; n < 3; ++n) {
            std::string name = "vl_res" + std::to_string(n) + ".dll";
            std::filesystem::copy_file(std::filesystem::path(VL_LIBRARY_DIR) / name, Prog() / name);
        }
        std::filesystem::copy_file(disc / "info_dat" / "vl00i1.mdb", Prog() / "vl00i1.mdb");
        dir.Write("t/prog/splash.bmp", menutest::IndexedBmp(64, 48, {0x000000, 0x3366CC, 0xFFFFFF}));
        SetProfile("Files", "Splash", "T:\\prog\\splash.bmp");
        // The online services stay off unless a case connects (its engine reads the connection
        // settings at start-up).
        SetProfile("Online", "Disable", "1");
        // A search's swap file in the case's own folder.
        setenv("VMPATH", "T:\\", 1);
        // Measured again now that the disc's drive is there.
        ResetProgramState();

        // The 8-bit display's palette animation is the quickest fade; the colour cases choose
        // their own display.
        host::SetDisplayMode(host::DisplayMode::Palette256);
        MainMenuState().bWindowsNT = FALSE;
        AgreementCalls() = 0;
        AgreementAnswer() = IDOK;
        RowToChoose() = -1;
        BeforeChoosing() = NULL;
        ChoiceSentElsewhere() = false;
        MakeApp();
    }
    void TearDown() override
    {
        if (app != nullptr && !exited)
            Exit();
        app.reset();
        // A search's swap file goes while its folder is still there (the store would delete it
        // only at the process's exit).
        KeywordShutdown();
        unsetenv("VMPATH");
        VmShutdown();
        host::SetDisplayMode(host::DisplayMode::TrueColor);
        ShellTest::TearDown();
    }

    // A new application object, initialised from the program's arguments.
    void MakeApp()
    {
        app.reset();
        app = std::make_unique<TestApp>();
        exited = false;
        ASSERT_TRUE(AfxWinInit(::GetModuleHandle(NULL), NULL, const_cast<LPSTR>(""), SW_SHOWNORMAL));
        app->agreements = CountAgreements;
    }

    // Runs start-up with the menu row chosen once the menu is ready (-1: none).
    BOOL Start(int nRow)
    {
        RowToChoose() = nRow;
        if (nRow >= 0)
            ::SetTimer(NULL, 0, 10, ChooseRowWhenReady);
        return app->InitInstance();
    }
    // Ends the run: the frame goes (as when the reader closes it), then the exit.
    int Exit()
    {
        exited = true;
        if (CWnd* pMain = app->m_pMainWnd)
            if (::IsWindow(pMain->GetSafeHwnd()))
                pMain->DestroyWindow();
        app->m_pMainWnd = NULL;
        return app->ExitInstance();
    }

    CBaseWindow* Frame() const { return DYNAMIC_DOWNCAST(CBaseWindow, app->m_pMainWnd); }
    CArticleMainWin* Article() const { return DYNAMIC_DOWNCAST(CArticleMainWin, Frame()->GetDlgItem(IDW_ARTICLE)); }

    // The program started from the main menu's Search Topics row and the article opened as a
    // search result (the search pane hidden again when asked); its view, or NULL (with the
    // failure recorded) when it did not open.
    CArticleMainWin* StartWithArticle(LONG nRin, const char* pszTitle, bool bHideSearchPane = false)
    {
        if (!Start(kSearchTopicsRow)) {
            ADD_FAILURE() << "the program did not start";
            return nullptr;
        }
        ui::PumpUntilIdle();
        CArticleMainWin* view = Article();
        if (view == nullptr) {
            ADD_FAILURE() << "no article view";
            return nullptr;
        }
        auto* result = new CReference(nRin, pszTitle);
        Frame()->GetSearchTabWin()->OpenResult(result);
        delete result;
        ui::PumpUntilIdle();
        EXPECT_EQ(nRin, view->GetArticleRin());
        if (view->GetArticleRin() != nRin)
            return nullptr;
        if (bHideSearchPane) {
            Frame()->GetSearchTabWin()->ShowWindow(SW_HIDE);
            ui::PumpUntilIdle();
        }
        return view;
    }

    std::filesystem::path Prog() const { return dir.path() / "t" / "prog"; }
    std::unique_ptr<TestApp> app;
    bool exited = false;
};

}  // namespace apptest
