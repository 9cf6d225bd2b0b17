// The application's printer (defaults, Print Setup, the printer DC) and the help path: the
// application's WinHelp through the main window to the help engine, and the frame's help
// commands (F1, the help contents, Shift+F1 context help).
#include <afxdlgs.h>
#include <afxres.h>

#include <UiTest.h>

#include <host/Help.h>
#include <host/Printer.h>

#include <string>
#include <vector>

namespace {

class WinAppPrinterTest : public ui::UiTest {
protected:
    void TearDown() override
    {
        EXPECT_EQ(host::PendingCommonDialogAnswers(), 0u);
        ui::UiTest::TearDown();
    }
    static std::string Device(HGLOBAL hDevNames)
    {
        auto* names = static_cast<DEVNAMES*>(GlobalLock(hDevNames));
        std::string device = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
        GlobalUnlock(hDevNames);
        return device;
    }
    static void SetOrientation(HGLOBAL hDevMode, short orientation)
    {
        auto* mode = static_cast<DEVMODEA*>(GlobalLock(hDevMode));
        mode->dmFields |= DM_ORIENTATION;
        mode->dmOrientation = orientation;
        GlobalUnlock(hDevMode);
    }
    CWinApp app{"Printer Test"};
};

TEST_F(WinAppPrinterTest, ThePrinterIsTheDefaultUntilPrintSetupChoosesAnother)
{
    EXPECT_EQ(app.m_hDevNames, nullptr);  // nothing until a printer is needed
    PRINTDLG pd{};
    ASSERT_TRUE(app.GetPrinterDeviceDefaults(&pd));
    ASSERT_NE(app.m_hDevNames, nullptr);
    EXPECT_EQ(pd.hDevNames, app.m_hDevNames);
    EXPECT_EQ(pd.hDevMode, app.m_hDevMode);
    EXPECT_EQ(Device(app.m_hDevNames), host::GetPrinter().name);

    // The settings the application keeps go into the dialog and come back out of it.
    SetOrientation(app.m_hDevMode, DMORIENT_LANDSCAPE);
    host::AnswerCommonDialog("print setup", "");
    app.OnFilePrintSetup();
    ASSERT_EQ(host::CommonDialogLog().size(), 1u);
    EXPECT_EQ(host::CommonDialogLog()[0].kind, "print setup");
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(app.m_hDevMode));
    EXPECT_EQ(mode->dmOrientation, DMORIENT_LANDSCAPE);
    GlobalUnlock(app.m_hDevMode);

    // The printer DC has those settings: a landscape page.
    CDC dc;
    ASSERT_TRUE(app.CreatePrinterDC(dc));
    EXPECT_GT(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    ::DeleteDC(dc.Detach());

    // Cancelling changes nothing: the same handles, still the application's.
    HGLOBAL names = app.m_hDevNames, devMode = app.m_hDevMode;
    host::CancelCommonDialog("print setup");
    CPrintDialog setup(TRUE);
    EXPECT_EQ(app.DoPrintDialog(&setup), IDCANCEL);
    EXPECT_EQ(app.m_hDevNames, names);
    EXPECT_EQ(app.m_hDevMode, devMode);
    EXPECT_EQ(Device(app.m_hDevNames), host::GetPrinter().name);

    // A print dialog run through the application starts on its printer and keeps the choice.
    CPrintDialog print(FALSE);
    host::AnswerCommonDialog("print", "");
    ASSERT_EQ(app.DoPrintDialog(&print), IDOK);
    EXPECT_EQ(print.m_pd.hDevNames, app.m_hDevNames);
    ASSERT_NE(print.GetPrinterDC(), nullptr);
    EXPECT_GT(GetDeviceCaps(print.GetPrinterDC(), HORZRES), GetDeviceCaps(print.GetPrinterDC(), VERTRES));
    DeleteDC(print.GetPrinterDC());
    // The handles go with the application (the leak check sees them freed).
}

TEST_F(WinAppPrinterTest, SelectPrinterTakesTheHandlesAndAnUnknownPrinterIsRefused)
{
    CPrintDialog defaults(FALSE);
    ASSERT_TRUE(defaults.GetDefaults());
    app.SelectPrinter(defaults.m_pd.hDevNames, defaults.m_pd.hDevMode);
    EXPECT_EQ(app.m_hDevNames, defaults.m_pd.hDevNames);
    // A second selection frees the first (the leak check would see it otherwise).
    CPrintDialog other(FALSE);
    ASSERT_TRUE(other.GetDefaults());
    app.SelectPrinter(other.m_pd.hDevNames, other.m_pd.hDevMode);
    EXPECT_EQ(app.m_hDevMode, other.m_pd.hDevMode);

    // The setup dialog refuses a printer that is not installed and takes the next answer.
    host::AnswerCommonDialog("print setup", "No Such Printer");
    host::AnswerMessageBox("is not installed", IDOK);
    host::AnswerCommonDialog("print setup", "");
    app.OnFilePrintSetup();
    EXPECT_EQ(Device(app.m_hDevNames), host::GetPrinter().name);
}

TEST_F(WinAppPrinterTest, ASettingsChangeOfThePrinterIsReadAgain)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100)));
    app.m_pMainWnd = frame;
    PRINTDLG pd{};
    ASSERT_TRUE(app.GetPrinterDeviceDefaults(&pd));
    SetOrientation(app.m_hDevMode, DMORIENT_LANDSCAPE);
    char other[] = "Another Printer";
    frame->SendMessage(WM_DEVMODECHANGE, 0, reinterpret_cast<LPARAM>(other));
    auto orientation = [&] {
        auto* mode = static_cast<DEVMODEA*>(GlobalLock(app.m_hDevMode));
        short value = mode->dmOrientation;
        GlobalUnlock(app.m_hDevMode);
        return value;
    };
    EXPECT_EQ(orientation(), DMORIENT_LANDSCAPE);  // not the application's printer
    std::string name = host::GetPrinter().name;
    frame->SendMessage(WM_DEVMODECHANGE, 0, reinterpret_cast<LPARAM>(name.data()));
    EXPECT_EQ(orientation(), DMORIENT_PORTRAIT);  // the printer's own settings again
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST(WinAppHelpFileTest, TheHelpFileSitsBesideTheProgram)
{
    CWinApp app("Help File");
    char module[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileName(NULL, module, sizeof module), 0u);
    std::string expected = module;
    expected = expected.substr(0, expected.rfind('.')) + ".HLP";
    app.SetCurrentHandles();
    ASSERT_NE(app.m_pszHelpFilePath, nullptr);
    EXPECT_EQ(std::string(app.m_pszHelpFilePath), expected);
}

// ---- help ----

std::vector<UINT>& HelpAsked()
{
    static std::vector<UINT> asked;
    return asked;
}

// A child that answers WM_COMMANDHELP (lParam 0) with TRUE when its id is even.
LRESULT CALLBACK HelpChild(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMANDHELP) {
        HelpAsked().push_back(static_cast<UINT>(GetDlgCtrlID(hwnd)));
        return GetDlgCtrlID(hwnd) % 2 == 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class FrameHelpTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        host::ClearHelpRequests();
        HelpAsked().clear();
        app.m_pszHelpFilePath = "C:\\APP\\APP.HLP";
        WNDCLASSA wc{};
        wc.lpfnWndProc = HelpChild;
        wc.lpszClassName = "HelpChild";
        RegisterClassA(&wc);
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300)));
        app.m_pMainWnd = frame;
        // Child 12 answers F1, child 11 inside it does not, child 13 beside it does not.
        outer = CreateWindowExA(0, "HelpChild", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 200, frame->m_hWnd,
                                reinterpret_cast<HMENU>(12), nullptr, nullptr);
        inner = CreateWindowExA(0, "HelpChild", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, outer,
                                reinterpret_cast<HMENU>(11), nullptr, nullptr);
        lone = CreateWindowExA(0, "HelpChild", "", WS_CHILD | WS_VISIBLE, 250, 0, 100, 100, frame->m_hWnd,
                               reinterpret_cast<HMENU>(13), nullptr, nullptr);
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        if (IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        ui::UiTest::TearDown();
    }
    static std::vector<std::pair<UINT, ULONG_PTR>> Requests()
    {
        std::vector<std::pair<UINT, ULONG_PTR>> out;
        for (const host::HelpRequest& r : host::HelpRequests())
            out.emplace_back(r.command, r.data);
        return out;
    }
    // Runs Shift+F1 context help and clicks at the screen point.
    void ContextHelpClick(int x, int y, bool left = true)
    {
        host::RunInNextModalLoop([x, y, left](HWND) {
            host::Click(x, y, left ? host::MouseButton::Left : host::MouseButton::Right);
        });
        frame->OnContextHelp();
    }

    CWinApp app{"Help Test"};
    CFrameWnd* frame = nullptr;
    HWND outer = nullptr, inner = nullptr, lone = nullptr;
};

TEST_F(FrameHelpTest, TheApplicationsHelpGoesThroughTheMainWindowToTheHelpEngine)
{
    app.WinHelp(42);
    app.OnHelpFinder();
    frame->OnHelpFinder();
    using R = std::vector<std::pair<UINT, ULONG_PTR>>;
    EXPECT_EQ(Requests(), (R{{HELP_CONTEXT, 42}, {HELP_FINDER, 0}, {HELP_FINDER, 0}}));
    ASSERT_FALSE(host::HelpRequests().empty());
    EXPECT_EQ(host::HelpRequests()[0].file, "C:\\APP\\APP.HLP");
    EXPECT_EQ(host::HelpRequests()[0].owner, frame->m_hWnd);

    // Without a help file nothing is asked.
    host::ClearHelpRequests();
    app.m_pszHelpFilePath = NULL;
    app.OnHelpFinder();
    EXPECT_TRUE(host::HelpRequests().empty());
}

TEST_F(FrameHelpTest, F1AsksTheFocusWindowAndItsParentsThenTheFrame)
{
    using R = std::vector<std::pair<UINT, ULONG_PTR>>;
    // The focus in 11: 11 does not answer, its parent 12 does; no help from the frame.
    SetFocus(inner);
    frame->OnHelp();
    EXPECT_EQ(HelpAsked(), (std::vector<UINT>{11, 12}));
    EXPECT_TRUE(host::HelpRequests().empty());

    // The focus in 13, which does not answer: the frame's own help (contents without a help id).
    HelpAsked().clear();
    SetFocus(lone);
    frame->OnHelp();
    EXPECT_EQ(HelpAsked(), (std::vector<UINT>{13}));
    EXPECT_EQ(Requests(), (R{{HELP_FINDER, 0}}));
}

TEST_F(FrameHelpTest, ContextHelpShowsTheHelpCursorUntilAClickAndHelpsOnWhatWasClicked)
{
    using R = std::vector<std::pair<UINT, ULONG_PTR>>;
    POINT p{20, 20};  // inside 11, inside 12
    ClientToScreen(frame->m_hWnd, &p);
    HCURSOR during = nullptr;
    BOOL mode = FALSE;
    host::RunInNextModalLoop([&](HWND) {
        during = host::CurrentCursor();
        mode = frame->IsInHelpMode();
        host::Click(p.x, p.y);
    });
    frame->OnContextHelp();
    EXPECT_EQ(host::SystemCursorId(during), 32651);  // IDC_HELP
    EXPECT_TRUE(mode);
    EXPECT_FALSE(frame->IsInHelpMode());
    EXPECT_EQ(GetCapture(), nullptr);
    // The click did not reach the window, and the help is on the frame's child that holds it.
    EXPECT_EQ(Requests(), (R{{HELP_CONTEXT, 12}}));

    // A right click or Escape ends the mode without help.
    host::ClearHelpRequests();
    ContextHelpClick(p.x, p.y, false);
    host::RunInNextModalLoop([](HWND) { host::PressKey(VK_ESCAPE); });
    frame->OnContextHelp();
    EXPECT_TRUE(host::HelpRequests().empty());

    // A click on the frame itself: the help contents.
    RECT client;
    GetClientRect(frame->m_hWnd, &client);
    POINT inside{client.right - 5, client.bottom - 5};
    ClientToScreen(frame->m_hWnd, &inside);
    ContextHelpClick(inside.x, inside.y);
    EXPECT_EQ(Requests(), (R{{HELP_FINDER, 0}}));
}

TEST(WinHelpTest, RequestsAreCheckedAndRecorded)
{
    host::ClearHelpRequests();
    EXPECT_TRUE(WinHelpA(nullptr, "C:\\HELP\\BOOK.HLP>second", HELP_KEY, reinterpret_cast<ULONG_PTR>("atlas")));
    EXPECT_TRUE(WinHelpA(nullptr, NULL, HELP_QUIT, 0));
    SetLastError(0);
    EXPECT_FALSE(WinHelpA(nullptr, NULL, HELP_CONTEXT, 5));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(WinHelpA(nullptr, "C:\\HELP\\BOOK.HLP", HELP_KEY, 0));
    EXPECT_FALSE(WinHelpA(reinterpret_cast<HWND>(0x7777), "C:\\HELP\\BOOK.HLP", HELP_FINDER, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    std::vector<host::HelpRequest> requests = host::HelpRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].file, "C:\\HELP\\BOOK.HLP");
    EXPECT_EQ(requests[0].window, "second");
    EXPECT_EQ(requests[0].text, "atlas");
    EXPECT_EQ(requests[1].command, static_cast<UINT>(HELP_QUIT));
    host::ClearHelpRequests();
}

}  // namespace
