// CWnd and message maps: dispatch of window messages, registered messages, commands and their
// ranges, reflection of control notifications, handle maps and modal loops.
#include <afxwin.h>

#include <MessageSpy.h>
#include <UiTest.h>

#include <gtest/gtest-spi.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

UINT RegisteredRefresh()
{
    static const UINT id = ::RegisterWindowMessageA("WndTest_Refresh");
    return id;
}
const UINT g_refresh = RegisteredRefresh();

class CTestWnd : public CWnd {
public:
    int createResult = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        g_log.push_back(std::string("create ") + cs->lpszName);
        if (CWnd::OnCreate(cs) == -1)
            return -1;
        return createResult;
    }
    afx_msg void OnSize(UINT type, int cx, int cy)
    {
        g_log.push_back("size " + std::to_string(type) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    afx_msg void OnLButtonDown(UINT flags, CPoint p)
    {
        g_log.push_back("down " + std::to_string(flags) + " " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    afx_msg LRESULT OnUser(WPARAM w, LPARAM l)
    {
        g_log.push_back("user " + std::to_string(w) + " " + std::to_string(l));
        return 42;
    }
    afx_msg LRESULT OnRefresh(WPARAM, LPARAM)
    {
        g_log.push_back("refresh");
        return 7;
    }
    afx_msg void OnOpen() { g_log.push_back("open"); }
    afx_msg void OnColor(UINT id) { g_log.push_back("color " + std::to_string(id)); }
    afx_msg void OnUpdateSave(CCmdUI* ui) { ui->Enable(FALSE); }
    afx_msg void OnSave() { g_log.push_back("save"); }
    afx_msg void OnTimer(UINT_PTR id) { g_log.push_back("timer " + std::to_string(id)); }
    afx_msg void OnNcDestroy()
    {
        g_log.push_back("ncdestroy");
        CWnd::OnNcDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_TIMER()
ON_WM_NCDESTROY()
ON_MESSAGE(WM_USER + 1, OnUser)
ON_REGISTERED_MESSAGE(g_refresh, OnRefresh)
ON_COMMAND(100, OnOpen)
ON_COMMAND_RANGE(200, 209, OnColor)
ON_COMMAND(300, OnSave)
ON_UPDATE_COMMAND_UI(300, OnUpdateSave)
END_MESSAGE_MAP()

class WndTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        g_log.clear();
    }
};

TEST_F(WndTest, MessageMapsDispatchWindowMessagesWithTheirArguments)
{
    CTestWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "Test", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, NULL, NULL));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 1, 5, 6), 42);
    EXPECT_GE(g_refresh, 0xC000u);
    EXPECT_EQ(wnd.SendMessage(g_refresh), 7);
    host::Click(20, 30);
    wnd.SetTimer(9, 100, NULL);
    ui::AdvanceClock(100);
    EXPECT_EQ(g_log, (std::vector<std::string>{"create Test", "size 0 200x100", "user 5 6", "refresh",
                                               "down 1 10,20", "timer 9"}));
    char cls[64];
    ::GetClassNameA(wnd.m_hWnd, cls, sizeof cls);
    EXPECT_EQ(std::string(cls).rfind("Afx:", 0), 0u) << "registered by AfxRegisterWndClass";
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr) << "detached at WM_NCDESTROY";
    EXPECT_EQ(g_log.back(), "ncdestroy");
}

TEST_F(WndTest, CreationFailsCleanlyWhenOnCreateRefuses)
{
    CTestWnd wnd;
    wnd.createResult = -1;
    EXPECT_FALSE(wnd.CreateEx(0, NULL, "No", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(host::CountWindows(), 0);
    CTestWnd other;
    EXPECT_FALSE(other.CreateEx(0, "NoSuchClass", "x", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(other.m_hWnd, nullptr);
}

TEST_F(WndTest, CommandsRouteThroughTheMapWithRangesAndUpdateState)
{
    CTestWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "Test", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    g_log.clear();
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(204, 1), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(210, 0), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(300, 0), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"open", "color 204"})) << "300 is disabled by its update handler";
    AFX_CMDHANDLERINFO info{};
    EXPECT_TRUE(wnd.OnCmdMsg(205, CN_COMMAND, NULL, &info));
    EXPECT_EQ(info.pTarget, &wnd);
    EXPECT_FALSE(wnd.OnCmdMsg(999, CN_COMMAND, NULL, &info));
}

// A control that handles its own notifications.
class CSelfButton : public CWnd {
public:
    int clicks = 0;
    int draws = 0;
    int notifies = 0;
    HBRUSH brush = reinterpret_cast<HBRUSH>(0x1234);

protected:
    afx_msg void OnReflectedClick() { ++clicks; }
    afx_msg void DrawItem(LPDRAWITEMSTRUCT dis)
    {
        EXPECT_EQ(dis->hwndItem, m_hWnd);
        ++draws;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT type)
    {
        EXPECT_EQ(type, static_cast<UINT>(CTLCOLOR_BTN));
        return brush;
    }
    afx_msg void OnReflectedNotify(NMHDR* hdr, LRESULT* result)
    {
        EXPECT_EQ(hdr->hwndFrom, m_hWnd);
        ++notifies;
        *result = 99;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfButton, CWnd)
ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClick)
ON_WM_DRAWITEM_REFLECT()
ON_WM_CTLCOLOR_REFLECT()
ON_NOTIFY_REFLECT(-2, OnReflectedNotify)
END_MESSAGE_MAP()

class CParentWnd : public CWnd {
public:
    std::vector<std::string> heard;

protected:
    afx_msg void OnButton1() { heard.push_back("clicked 1"); }
    afx_msg void OnButton2() { heard.push_back("clicked 2"); }
    afx_msg void OnNotify2(NMHDR*, LRESULT* result)
    {
        heard.push_back("notify 2");
        *result = 5;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
ON_BN_CLICKED(1, OnButton1)
ON_BN_CLICKED(2, OnButton2)
ON_NOTIFY(-2, 2, OnNotify2)
END_MESSAGE_MAP()

TEST_F(WndTest, ControlNotificationsAreReflectedToControlsThatHandleThem)
{
    CParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "Parent", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CSelfButton self;
    ASSERT_TRUE(self.Create(NULL, "self", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 1));
    CWnd plain;
    ASSERT_TRUE(plain.Create(NULL, "plain", WS_CHILD | WS_VISIBLE, CRect(0, 30, 50, 50), &parent, 2));

    parent.SendMessage(WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(self.m_hWnd));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), reinterpret_cast<LPARAM>(plain.m_hWnd));
    EXPECT_EQ(self.clicks, 1);
    EXPECT_EQ(parent.heard, (std::vector<std::string>{"clicked 2"})) << "the control kept its own click";

    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 1;
    dis.hwndItem = self.m_hWnd;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(self.draws, 1);
    EXPECT_EQ(parent.SendMessage(WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(self.m_hWnd)),
              reinterpret_cast<LRESULT>(self.brush));
    self.brush = NULL;
    EXPECT_EQ(parent.SendMessage(WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(self.m_hWnd)), 0)
        << "a control that gives no brush leaves the colour to its parent";

    NMHDR hdr{self.m_hWnd, 1, static_cast<UINT>(-2)};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hdr)), 99);
    NMHDR other{plain.m_hWnd, 2, static_cast<UINT>(-2)};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&other)), 5);
    EXPECT_EQ(self.notifies, 1);
    EXPECT_EQ(parent.heard.back(), "notify 2");
}

TEST_F(WndTest, HandleMapsKeepPermanentAndTemporaryObjectsApart)
{
    HWND raw = ::CreateWindowExA(0, spy::MessageSpy::ClassName(), "raw", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    CWnd* temp = CWnd::FromHandle(raw);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(CWnd::FromHandle(raw), temp);
    EXPECT_EQ(temp->m_hWnd, raw);
    CWnd::DeleteTempMap();
    CWnd attached;
    EXPECT_TRUE(attached.Attach(raw));
    EXPECT_EQ(CWnd::FromHandle(raw), &attached);
    EXPECT_EQ(attached.Detach(), raw);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    // Subclassing an existing window sends its messages through the map, then back.
    CTestWnd sub;
    ASSERT_TRUE(sub.SubclassWindow(raw));
    EXPECT_EQ(::SendMessageA(raw, WM_USER + 1, 1, 2), 42);
    EXPECT_EQ(sub.UnsubclassWindow(), raw);
    EXPECT_EQ(::SendMessageA(raw, WM_USER + 1, 1, 2), 0);
    ::DestroyWindow(raw);
    CWnd::DeleteTempMap();
}

TEST_F(WndTest, DescendantsAreFoundAndReachedDeep)
{
    CWnd top, mid, leaf;
    ASSERT_TRUE(top.CreateEx(0, NULL, "top", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    ASSERT_TRUE(mid.Create(NULL, "mid", WS_CHILD, CRect(0, 0, 50, 50), &top, 10));
    ASSERT_TRUE(leaf.Create(NULL, "leaf", WS_CHILD, CRect(0, 0, 5, 5), &mid, 11));
    EXPECT_EQ(top.GetDescendantWindow(11), &leaf);
    EXPECT_EQ(top.GetDescendantWindow(10), &mid);
    EXPECT_EQ(top.GetDescendantWindow(12), nullptr);
    spy::MessageSpy spy;
    spy.Watch(mid.m_hWnd);
    spy.Watch(leaf.m_hWnd);
    top.SendMessageToDescendants(WM_USER + 5, 1, 2);
    EXPECT_TRUE(spy.Matches({{WM_USER + 5, spy::Sent, 0, 0, mid.m_hWnd}, {WM_USER + 5, spy::Sent, 0, 0, leaf.m_hWnd}}));
    top.SendMessageToDescendants(WM_USER + 5, 1, 2, FALSE);
    EXPECT_TRUE(spy.Matches({{WM_USER + 5, spy::Sent, 0, 0, mid.m_hWnd}}));
    EXPECT_EQ(leaf.GetParentFrame(), nullptr);
    EXPECT_EQ(leaf.GetTopLevelParent(), &top);
}

TEST_F(WndTest, CenterWindowCentresOnTheOwnerOrTheScreen)
{
    CWnd owner, popup;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "owner", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, NULL, NULL));
    ASSERT_TRUE(popup.CreateEx(0, NULL, "popup", WS_POPUP, 0, 0, 100, 50, owner.m_hWnd, NULL));
    popup.CenterWindow();
    CRect r;
    popup.GetWindowRect(&r);
    EXPECT_EQ(r.left, 250);
    EXPECT_EQ(r.top, 225);
    owner.ShowWindow(SW_HIDE);
    popup.CenterWindow();
    popup.GetWindowRect(&r);
    EXPECT_EQ(r.left, (1024 - 100) / 2);
    EXPECT_EQ(r.top, (768 - 50) / 2);
}

TEST_F(WndTest, NestedModalLoopsRunScriptedActionsAndReturnTheirResults)
{
    CWnd owner, outer, inner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL));
    ASSERT_TRUE(outer.CreateEx(0, NULL, "outer", WS_POPUP | WS_CAPTION, 10, 10, 200, 100, owner.m_hWnd, NULL));
    ASSERT_TRUE(inner.CreateEx(0, NULL, "inner", WS_POPUP | WS_CAPTION, 20, 20, 100, 50, outer.m_hWnd, NULL));
    spy::MessageSpy spy;
    spy.Unignore(WM_ENTERIDLE);
    spy.Watch(owner.m_hWnd);
    spy.Watch(outer.m_hWnd);
    spy.Watch(inner.m_hWnd);
    int innerResult = 0;
    host::RunInNextModalLoop([&](HWND modal) {
        EXPECT_EQ(modal, outer.m_hWnd);
        EXPECT_TRUE(outer.IsWindowVisible()) << "MLF_SHOWONIDLE showed the window when the queue went idle";
        host::RunInNextModalLoop([&](HWND nested) {
            EXPECT_EQ(nested, inner.m_hWnd);
            inner.EndModalLoop(7);
        });
        innerResult = inner.RunModalLoop();
        outer.EndModalLoop(3);
    });
    EXPECT_EQ(outer.RunModalLoop(MLF_SHOWONIDLE), 3);
    EXPECT_EQ(innerResult, 7);
    auto interesting = [&](HWND h) {
        std::vector<std::pair<UINT, bool>> got;
        for (const spy::Recorded& r : spy.Messages(h))
            if (r.message == WM_ENTERIDLE || r.message == WM_KICKIDLE || r.message == WM_SHOWWINDOW || r.message == WM_NULL)
                got.emplace_back(r.message, r.posted);
        return got;
    };
    using P = std::vector<std::pair<UINT, bool>>;
    EXPECT_EQ(interesting(owner.m_hWnd), (P{{WM_ENTERIDLE, false}}));
    // The inner loop's idle notice goes to its owner, the outer window; the WM_NULLs that end
    // the loops stay in the queue.
    EXPECT_EQ(interesting(outer.m_hWnd), (P{{WM_SHOWWINDOW, false}, {WM_KICKIDLE, false}, {WM_ENTERIDLE, false}}));
    EXPECT_EQ(interesting(inner.m_hWnd), (P{{WM_KICKIDLE, false}}));
    MSG pending;
    EXPECT_TRUE(::PeekMessageA(&pending, inner.m_hWnd, WM_NULL, WM_NULL, PM_REMOVE));
    EXPECT_TRUE(::PeekMessageA(&pending, outer.m_hWnd, WM_NULL, WM_NULL, PM_REMOVE));
    int unanswered = 0;
    EXPECT_NONFATAL_FAILURE(unanswered = inner.RunModalLoop(), "Unanswered modal loop: modal loop \"inner\"");
    EXPECT_EQ(unanswered, -1);
}

// A window whose frame is its own: a 10-pixel border all round and a 20-pixel band on top,
// pressed and released in the band by the mouse.
class CFramedWnd : public CWnd {
protected:
    afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* p)
    {
        RECT& r = p->rgrc[0];
        r.left += 10;
        r.top += 30;
        r.right -= 10;
        r.bottom -= 10;
    }
    afx_msg void OnNcLButtonDown(UINT hit, CPoint p)
    {
        g_log.push_back("ncdown " + std::to_string(hit) + " " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    afx_msg void OnNcLButtonUp(UINT hit, CPoint p)
    {
        g_log.push_back("ncup " + std::to_string(hit) + " " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFramedWnd, CWnd)
ON_WM_NCCALCSIZE()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONUP()
END_MESSAGE_MAP()

TEST_F(WndTest, NonClientSizeAndButtonReleaseReachTheirHandlers)
{
    CFramedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "framed", WS_POPUP | WS_VISIBLE, CRect(100, 100, 300, 250), nullptr, 0));
    // At creation and after a resize the handler decides the client area.
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, 180, 110), client);
    CPoint origin(0, 0);
    wnd.ClientToScreen(&origin);
    EXPECT_EQ(CPoint(110, 130), origin);
    wnd.SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    wnd.GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, 280, 160), client);
    // A press and a release in the band (screen coordinates, as the platform gives them).
    host::MouseMove(150, 110);
    host::MouseDown();
    host::MouseUp();
    ui::PumpUntilIdle();
    ASSERT_EQ(2u, g_log.size());
    EXPECT_EQ(0u, g_log[0].find("ncdown "));
    EXPECT_NE(std::string::npos, g_log[0].find(" 150,110"));
    EXPECT_EQ(0u, g_log[1].find("ncup "));
    EXPECT_NE(std::string::npos, g_log[1].find(" 150,110"));
    wnd.DestroyWindow();
}

}  // namespace
