// CWinApp: the message loop's idle semantics, the entry, message boxes, command line, profile
// and wait cursor; frames, views and documents routing commands and updating menus.
#include <afxwin.h>

#include <host/Paths.h>

#include <MessageSpy.h>
#include <TempDir.h>
#include <UiTest.h>

#include <gtest/gtest-spi.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class CIdleApp : public CWinApp {
public:
    CIdleApp() : CWinApp("Idle Test") {}
    std::vector<LONG> counts;
    std::vector<std::function<void()>> steps;  // one per idle call
    BOOL OnIdle(LONG lCount) override
    {
        CWinApp::OnIdle(lCount);
        counts.push_back(lCount);
        size_t call = counts.size() - 1;
        if (call < steps.size() && steps[call])
            steps[call]();
        return TRUE;  // always wants more, so only messages end an idle phase
    }
    BOOL InitInstance() override { return TRUE; }
};

// Temporary objects made for handles are freed the way the idle loop frees them.
class MfcTest : public ui::UiTest {
protected:
    void TearDown() override
    {
        ui::UiTest::TearDown();
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
    }
};

class WinAppTest : public MfcTest {};

TEST_F(WinAppTest, IdleCountRestartsOnlyAfterMessagesThatAreNotPaintsOrStillMouseMoves)
{
    CIdleApp app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, NULL, "Main", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, NULL, NULL));
    app.m_pMainWnd = &main;
    ui::PumpUntilIdle();
    app.steps = {
        nullptr,
        [&] { main.Invalidate(); },                        // a paint: the count goes on
        [&] { main.PostMessage(WM_USER); },                // a posted message: back to 0
        [&] { host::MouseMove(100, 100); },                // the mouse moves: back to 0
        [&] { host::MouseMove(100, 100); },                // a move that does not move: goes on
        [&] { ::PostQuitMessage(5); },
    };
    EXPECT_EQ(app.Run(), 5) << "Run ends with ExitInstance, which returns the quit code";
    EXPECT_EQ(app.counts, (std::vector<LONG>{0, 1, 2, 0, 0, 1}));
    app.m_pMainWnd = NULL;
}

TEST_F(WinAppTest, TheBaseIdleUpdatesTheUserInterfaceThenCleansUp)
{
    struct CountingApp : CWinApp {
        std::vector<std::pair<LONG, BOOL>> calls;
        BOOL OnIdle(LONG lCount) override
        {
            BOOL more = CWinApp::OnIdle(lCount);
            calls.emplace_back(lCount, more);
            if (!more)
                ::PostQuitMessage(0);
            return more;
        }
    } app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, NULL, "Main", WS_POPUP | WS_VISIBLE, 0, 0, 30, 30, NULL, NULL));
    app.m_pMainWnd = &main;
    spy::MessageSpy spy;
    spy.Watch(main.m_hWnd);
    ui::PumpUntilIdle();
    spy.Clear();
    app.Run();
    EXPECT_EQ(app.calls, (std::vector<std::pair<LONG, BOOL>>{{0, TRUE}, {1, FALSE}}));
    EXPECT_EQ(spy.Count(WM_IDLEUPDATECMDUI), 0u) << "sent straight to the object, not through the window";
    app.m_pMainWnd = NULL;
}

class CEntryApp : public CWinApp {
public:
    bool fail = false;
    int exits = 0;
    CCommandLineInfo info;
    BOOL InitInstance() override
    {
        ParseCommandLine(info);
        if (fail)
            return FALSE;
        auto* frame = new CFrameWnd;
        if (!frame->Create(NULL, "Entry"))
            return FALSE;
        m_pMainWnd = frame;
        frame->ShowWindow(m_nCmdShow);
        // The user closes the window once the loop runs.
        host::RunInNextModalLoop([](HWND) {});
        frame->PostMessage(WM_CLOSE);
        return TRUE;
    }
    int ExitInstance() override
    {
        ++exits;
        return CWinApp::ExitInstance() + 100;
    }
};

TEST_F(WinAppTest, TheEntryRunsInitInstanceTheLoopAndExitInstance)
{
    {
        CEntryApp app;
        char line[] = "/p \"C:\\My Files\\a.txt\"";
        EXPECT_EQ(AfxWinMain(::GetModuleHandle(NULL), NULL, line, SW_SHOWMAXIMIZED), 100);
        EXPECT_EQ(app.exits, 1);
        EXPECT_EQ(app.m_pMainWnd, nullptr) << "destroying the main window ended the loop";
        EXPECT_EQ(app.info.m_nShellCommand, CCommandLineInfo::FilePrint);
        EXPECT_EQ(app.info.m_strFileName, "C:\\My Files\\a.txt");
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandle(NULL));
        EXPECT_STREQ(app.m_pszAppName, app.m_pszExeName) << "no title resource: the program's name";
        EXPECT_EQ(host::CountWindows(), 0);
        host::ResetUiScript();
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    CEntryApp failing;
    failing.fail = true;
    char empty[] = "";
    EXPECT_EQ(AfxWinMain(NULL, NULL, empty, SW_SHOW), 100);
    EXPECT_EQ(failing.exits, 1);
    EXPECT_NE(failing.m_pszProfileName, nullptr);
    EXPECT_EQ(std::string(failing.m_pszProfileName), std::string(failing.m_pszExeName) + ".INI");
}

TEST_F(WinAppTest, ModalLoopMessagesReachTheThreadsMessageFilter)
{
    struct CFilterApp : CWinApp {
        std::vector<int> codes;
        BOOL ProcessMessageFilter(int code, LPMSG msg) override
        {
            codes.push_back(code);
            return msg->message == WM_USER;
        }
    } app;
    char empty[] = "";
    AfxWinInit(NULL, NULL, empty, SW_SHOW);
    MSG msg{};
    msg.message = WM_USER;
    EXPECT_TRUE(::CallMsgFilterA(&msg, MSGF_MENU));
    msg.message = WM_USER + 1;
    EXPECT_FALSE(::CallMsgFilterA(&msg, MSGF_DIALOGBOX));
    EXPECT_EQ(app.codes, (std::vector<int>{MSGF_MENU, MSGF_DIALOGBOX}));
}

TEST_F(WinAppTest, CommandLineArgumentsAreParsedAsFlagsAndFiles)
{
    struct Case {
        const char* line;
        int command;
        const char* file;
        BOOL embedded;
    };
    const Case cases[] = {
        {"", CCommandLineInfo::FileNew, "", FALSE},
        {"book.txt", CCommandLineInfo::FileOpen, "book.txt", FALSE},
        {"-Embedding", CCommandLineInfo::FileNew, "", TRUE},
        {"/pt a.txt Printer Driver Port", CCommandLineInfo::FilePrintTo, "a.txt", FALSE},
        {"/Unregserver", CCommandLineInfo::AppUnregister, "", FALSE},
    };
    CWinApp app("Parse");
    for (const Case& c : cases) {
        char line[128];
        std::snprintf(line, sizeof line, "%s", c.line);
        app.m_lpCmdLine = line;
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(static_cast<int>(info.m_nShellCommand), c.command) << c.line;
        EXPECT_EQ(info.m_strFileName, c.file) << c.line;
        EXPECT_EQ(info.m_bRunEmbedded, c.embedded) << c.line;
        if (c.command == CCommandLineInfo::FilePrintTo) {
            EXPECT_EQ(info.m_strPrinterName, "Printer");
            EXPECT_EQ(info.m_strPortName, "Port");
        }
    }
    app.m_lpCmdLine = NULL;
}

TEST_F(WinAppTest, MessageBoxesCarryTheApplicationNameAndReportExceptions)
{
    CWinApp app("Encyclopedia");
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, NULL, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, NULL, NULL));
    app.m_pMainWnd = &main;
    host::MessageBoxRecord seen;
    host::AnswerMessageBoxWith("", [&](const host::MessageBoxRecord& box) {
        seen = box;
        return IDNO;
    });
    EXPECT_EQ(AfxMessageBox("Quit now?", MB_YESNO), IDNO);
    EXPECT_EQ(seen.caption, "Encyclopedia");
    EXPECT_EQ(seen.owner, main.m_hWnd);
    EXPECT_EQ(seen.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION)) << "a question gets the question icon";

    // An exception that escapes a message handler is reported in a box.
    struct CThrowing : CWnd {
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_USER)
                AfxThrowMemoryException();
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } throwing;
    ASSERT_TRUE(throwing.CreateEx(0, NULL, "T", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    host::AnswerMessageBox("Encyclopedia", IDOK);
    EXPECT_EQ(throwing.SendMessage(WM_USER), 0);
    auto log = host::MessageBoxLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].caption, "Encyclopedia");
    EXPECT_FALSE(log[1].text.empty());
    app.m_pMainWnd = NULL;
}

TEST_F(WinAppTest, ProfileAndWaitCursor)
{
    TempDir dir;
    auto profile = host::FromHostPath(dir.path().string() + "/app.ini");
    ASSERT_TRUE(profile);
    CWinApp app("Profile");
    app.m_pszProfileName = profile->c_str();
    EXPECT_TRUE(app.WriteProfileString("Screen", "max", "0"));
    EXPECT_TRUE(app.WriteProfileInt("Runtime", "Previous Run", 1));
    EXPECT_EQ(app.GetProfileString("Screen", "max", "1"), "0");
    EXPECT_EQ(app.GetProfileInt("Runtime", "Previous Run", 0), 1u);
    EXPECT_EQ(app.GetProfileInt("Runtime", "Missing", 7), 7u);
    EXPECT_EQ(app.GetProfileString("Nothing", "here"), "");

    ::SetCursor(::LoadCursorA(NULL, IDC_ARROW));
    {
        CWaitCursor wait;
        EXPECT_EQ(host::SystemCursorId(::GetCursor()), 32514);
        {
            CWaitCursor nested;
        }
        EXPECT_EQ(host::SystemCursorId(::GetCursor()), 32514) << "still waiting";
        ::SetCursor(NULL);
        wait.Restore();
        EXPECT_EQ(host::SystemCursorId(::GetCursor()), 32514);
    }
    EXPECT_EQ(host::SystemCursorId(::GetCursor()), 32512);
    EXPECT_EQ(host::SystemCursorId(app.LoadStandardCursor(IDC_CROSS)), 32515);
}

// ---- Frames, views, documents -----------------------------------------------------------------

std::vector<std::string> g_route;

class CTestDoc : public CDocument {
public:
    afx_msg void OnDocCommand() { g_route.push_back("doc"); }
    afx_msg void OnShared() { g_route.push_back("doc shared"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
ON_COMMAND(501, OnDocCommand)
ON_COMMAND(503, OnShared)
END_MESSAGE_MAP()

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    int draws = 0;
    int updates = 0;
    CDC* lastDC = nullptr;
    void OnDraw(CDC* pDC) override
    {
        ++draws;
        lastDC = pDC;
    }
    void OnUpdate(CView* sender, LPARAM hint, CObject* object) override
    {
        ++updates;
        CView::OnUpdate(sender, hint, object);
    }
    afx_msg void OnViewCommand() { g_route.push_back("view"); }
    afx_msg void OnShared() { g_route.push_back("view shared"); }
    afx_msg void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestView, CView)

BEGIN_MESSAGE_MAP(CTestView, CView)
ON_COMMAND(500, OnViewCommand)
ON_COMMAND(503, OnShared)
ON_UPDATE_COMMAND_UI(504, OnUpdateChecked)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
public:
    afx_msg void OnFrameCommand() { g_route.push_back("frame"); }
    afx_msg void OnUpdateGrayed(CCmdUI* ui) { ui->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
ON_COMMAND(502, OnFrameCommand)
ON_UPDATE_COMMAND_UI(505, OnUpdateGrayed)
END_MESSAGE_MAP()

class CRouteApp : public CWinApp {
public:
    CRouteApp() : CWinApp("Route") {}
    afx_msg void OnAppCommand() { g_route.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteApp, CWinApp)
ON_COMMAND(506, OnAppCommand)
END_MESSAGE_MAP()

class FrameTest : public MfcTest {
protected:
    CRouteApp app;
    CTestDoc* doc = nullptr;
    CTestFrame* frame = nullptr;

    void SetUp() override
    {
        MfcTest::SetUp();
        g_route.clear();
        doc = new CTestDoc;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
        context.m_pCurrentDoc = doc;
        frame = new CTestFrame;
        HMENU bar = ::CreateMenu();
        HMENU popup = ::CreatePopupMenu();
        for (UINT id = 500; id <= 507; ++id)
            ::AppendMenuA(popup, MF_STRING, id, ("Item " + std::to_string(id)).c_str());
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Test");
        ::AppendMenuA(bar, MF_STRING, 507, "&Orphan");
        frame->m_hMenuDefault = bar;
        ASSERT_TRUE(frame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, NULL, NULL, 0, &context));
        app.m_pMainWnd = frame;
        frame->InitialUpdateFrame(doc, TRUE);
        ui::PumpUntilIdle();
    }

    void TearDown() override
    {
        if (app.m_pMainWnd)
            app.m_pMainWnd->DestroyWindow();
        MfcTest::TearDown();
    }

    CTestView* View() { return static_cast<CTestView*>(frame->GetActiveView()); }
};

TEST_F(FrameTest, FrameCreatesItsViewAndTheViewJoinsTheDocument)
{
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(View()->GetDocument(), doc);
    EXPECT_EQ(View()->GetParentFrame(), frame);
    EXPECT_EQ(frame->GetActiveDocument(), doc);
    EXPECT_EQ(View()->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    CRect client, pane;
    frame->GetClientRect(&client);
    View()->GetClientRect(&pane);
    EXPECT_EQ(pane.Width(), client.Width()) << "the pane fills the frame";
    EXPECT_GE(View()->updates, 1) << "initial update";
    EXPECT_GE(View()->draws, 1);
#if __has_include(<mfc/Dc.h>)
    EXPECT_NE(View()->lastDC, nullptr) << "views draw through a CPaintDC";
#endif
    EXPECT_EQ(::GetFocus(), View()->m_hWnd) << "the frame passes the focus to its view";
    POSITION pos = doc->GetFirstViewPosition();
    EXPECT_EQ(doc->GetNextView(pos), View());
    EXPECT_EQ(pos, nullptr);
    int before = View()->updates;
    doc->UpdateAllViews(NULL);
    EXPECT_EQ(View()->updates, before + 1);
}

TEST_F(FrameTest, CommandsRouteViewDocumentFrameApplication)
{
    for (UINT id : {500u, 501u, 502u, 503u, 506u, 599u})
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_EQ(g_route, (std::vector<std::string>{"view", "doc", "frame", "view shared", "app"}));
}

TEST_F(FrameTest, MenusAreUpdatedThroughCommandUserInterfaceHandlers)
{
    HMENU bar = ::GetMenu(frame->m_hWnd);
    HMENU popup = ::GetSubMenu(bar, 0);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    const UINT disabled = MF_GRAYED | MF_DISABLED;
    EXPECT_EQ(::GetMenuState(popup, 500, MF_BYCOMMAND), 0u) << "the view handles it";
    EXPECT_EQ(::GetMenuState(popup, 504, MF_BYCOMMAND), MF_CHECKED | disabled)
        << "checked by its update handler, disabled for want of a command handler";
    EXPECT_EQ(::GetMenuState(popup, 505, MF_BYCOMMAND), disabled) << "its handler disables it";
    EXPECT_EQ(::GetMenuState(popup, 507, MF_BYCOMMAND), disabled) << "no handler anywhere";
    EXPECT_EQ(::GetMenuState(popup, 506, MF_BYCOMMAND), 0u) << "the application handles it";
    // The menu bar's own commands are updated at idle time.
    EXPECT_EQ(::GetMenuState(bar, 507, MF_BYCOMMAND), 0u);
    app.OnIdle(0);
    EXPECT_EQ(::GetMenuState(bar, 507, MF_BYCOMMAND), disabled);
    // A disabled command that still arrives from a menu is ignored.
    frame->m_bAutoMenuEnable = FALSE;
    g_route.clear();
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(505, 0), 0);
    EXPECT_TRUE(g_route.empty());
    // Choosing an item from the real menu loop reaches the view.
    host::RunInNextModalLoop([](HWND) { EXPECT_TRUE(host::ChooseMenuItem(500)); });
    ::SendMessageA(frame->m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, 't');
    ui::PumpUntilIdle();
    EXPECT_EQ(g_route, (std::vector<std::string>{"view"}));
}

TEST_F(FrameTest, ClosingTheMainFrameDestroysViewsAndEndsTheLoop)
{
    CTestView* view = View();
    HWND viewHwnd = view->m_hWnd;
    frame->PostMessage(WM_CLOSE);
    ui::PumpUntilIdle();
    EXPECT_FALSE(::IsWindow(viewHwnd));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the main window's end posts WM_QUIT";
}

}  // namespace

TEST_F(WinAppTest, IdleWithACountFreesTheTemporaryObjectsMadeForHandles)
{
    // Each temporary object is marked by pointing it at a different handle; a fresh temporary
    // made after it was freed carries the handle it was asked for again, whatever its address.
    struct PlainApp : CWinApp {
    } app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, NULL, "Main", WS_POPUP, 0, 0, 30, 30, NULL, NULL));
    HWND child = ::CreateWindowExA(0, AfxRegisterWndClass(0), "", WS_CHILD, 0, 0, 5, 5, main.m_hWnd, NULL, NULL, NULL);
    ASSERT_NE(child, nullptr);
    HDC hdc = ::GetDC(child);
    HGDIOBJ pen = ::GetStockObject(BLACK_PEN);
    HMENU menu = ::CreateMenu();

    auto mark = [&] {
        CWnd::FromHandle(child)->m_hWnd = main.m_hWnd;
        CDC::FromHandle(hdc)->m_hAttribDC = NULL;
        CGdiObject::FromHandle(pen)->m_hObject = ::GetStockObject(WHITE_PEN);
        CMenu::FromHandle(menu)->m_hMenu = NULL;
    };
    auto stillMarked = [&] {
        int marked = 0;
        marked += CWnd::FromHandle(child)->m_hWnd == main.m_hWnd;
        marked += CDC::FromHandle(hdc)->m_hAttribDC == NULL;
        marked += CGdiObject::FromHandle(pen)->m_hObject == ::GetStockObject(WHITE_PEN);
        marked += CMenu::FromHandle(menu)->m_hMenu == NULL;
        return marked;
    };
    mark();
    EXPECT_TRUE(app.OnIdle(0));
    EXPECT_EQ(stillMarked(), 4) << "the first idle call only updates the user interface";
    EXPECT_FALSE(app.OnIdle(1));
    EXPECT_EQ(stillMarked(), 0) << "later idle calls free every temporary object";
    EXPECT_EQ(CWnd::FromHandle(child)->m_hWnd, child);
    EXPECT_EQ(CDC::FromHandle(hdc)->m_hAttribDC, hdc);
    EXPECT_EQ(CGdiObject::FromHandle(pen)->m_hObject, pen);
    EXPECT_EQ(CMenu::FromHandle(menu)->m_hMenu, menu);
    EXPECT_EQ(CWnd::FromHandle(main.m_hWnd), &main) << "permanent objects stay";

    app.OnIdle(2);
    ::ReleaseDC(child, hdc);
    ::DestroyMenu(menu);
}
