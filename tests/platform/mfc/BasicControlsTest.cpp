// CButton, CStatic, CEdit and CScrollBar in a class-library window: creation, the wrappers'
// messages, notifications through message maps and reflection to the controls.
#include <afxwin.h>

#include <winclip.h>

#include <UiTest.h>

#include <string>
#include <vector>

namespace {

class COwnerButton : public CButton {
public:
    std::vector<UINT> states;
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        states.push_back(dis->itemState);
        ::FillRect(dis->hDC, &dis->rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    }
};

// A scroll bar that keeps its own position from the requests it reflects back to itself.
class CSelfScrollBar : public CScrollBar {
public:
    std::vector<UINT> codes;

protected:
    afx_msg void HScroll(UINT code, UINT pos)
    {
        codes.push_back(code);
        if (code == SB_LINERIGHT)
            SetScrollPos(GetScrollPos() + 1);
        else if (code == SB_THUMBPOSITION)
            SetScrollPos(static_cast<int>(pos));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfScrollBar, CScrollBar)
ON_WM_HSCROLL_REFLECT()
END_MESSAGE_MAP()

class CHost : public CWnd {
public:
    std::vector<std::string> heard;
    CButton ok;
    CButton check;
    CEdit edit;
    CStatic label;
    CScrollBar vbar;
    CSelfScrollBar hbar;
    COwnerButton drawn;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CWnd::OnCreate(cs) == -1)
            return -1;
        ok.Create("OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(10, 10, 90, 34), this, 1);
        check.Create("Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(100, 10, 200, 30), this, 2);
        edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, CRect(10, 40, 200, 100), this, 3);
        label.Create("Label", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(210, 10, 290, 30), this, 4);
        vbar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(210, 40, 226, 140), this, 5);
        hbar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(10, 110, 200, 126), this, 6);
        drawn.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(240, 40, 290, 70), this, 7);
        return 0;
    }
    afx_msg void OnOk() { heard.push_back("ok"); }
    afx_msg void OnCheck() { heard.push_back("check"); }
    afx_msg void OnEditChange() { heard.push_back("change"); }
    afx_msg void OnLabel() { heard.push_back("label"); }
    afx_msg void OnVScroll(UINT code, UINT pos, CWnd* bar)
    {
        heard.push_back("vscroll " + std::to_string(code) + " " + std::to_string(pos) + (bar == &vbar ? " vbar" : " ?"));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHost, CWnd)
ON_WM_CREATE()
ON_WM_VSCROLL()
ON_BN_CLICKED(1, OnOk)
ON_BN_CLICKED(2, OnCheck)
ON_EN_CHANGE(3, OnEditChange)
ON_STN_CLICKED(4, OnLabel)
END_MESSAGE_MAP()

class BasicControlsTest : public ui::UiTest {
protected:
    CHost host;
    void SetUp() override
    {
        ui::UiTest::SetUp();
        ASSERT_TRUE(host.CreateEx(0, NULL, "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 200, NULL, NULL));
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        host.DestroyWindow();
        ui::UiTest::TearDown();
    }
    static void Click(CWnd& w, int x, int y)
    {
        CPoint p(x, y);
        w.ClientToScreen(&p);
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }
};

TEST_F(BasicControlsTest, NotificationsReachTheMessageMap)
{
    Click(host.ok, 40, 12);
    Click(host.check, 5, 10);
    EXPECT_EQ(host.check.GetCheck(), BST_CHECKED);
    Click(host.label, 10, 10);
    host.edit.SetFocus();
    host::TypeText("ab");
    ui::PumpUntilIdle();
    EXPECT_EQ(host.heard, (std::vector<std::string>{"ok", "check", "label", "change", "change"}));
    CString text;
    host.edit.GetWindowText(text);
    EXPECT_STREQ(text, "ab");
    host.check.SetCheck(BST_UNCHECKED);
    EXPECT_EQ(host.check.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(host.ok.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_DEFPUSHBUTTON));
    host.ok.SetButtonStyle(BS_PUSHBUTTON);
    EXPECT_EQ(host.ok.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_PUSHBUTTON));
}

TEST_F(BasicControlsTest, EditWrapperDrivesTheControl)
{
    CEdit& e = host.edit;
    e.SetWindowText("first\r\nsecond");
    EXPECT_EQ(e.GetLineCount(), 2);
    EXPECT_EQ(e.LineIndex(1), 7);
    EXPECT_EQ(e.LineLength(7), 6);
    EXPECT_EQ(e.LineFromChar(9), 1);
    char buf[32] = {};
    EXPECT_EQ(e.GetLine(1, buf, sizeof buf), 6);
    EXPECT_EQ(std::string(buf, 6), "second");
    e.SetSel(0, 5);
    int a = 0, b = 0;
    e.GetSel(a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 5);
    e.Copy();
    e.SetSel(-1, -1);  // no selection
    e.SetSel(13, 13);
    e.Paste();
    host.edit.GetWindowText(buf, sizeof buf);
    EXPECT_STREQ(buf, "first\r\nsecondfirst");
    EXPECT_TRUE(e.CanUndo());
    EXPECT_TRUE(e.Undo());
    e.GetWindowText(buf, sizeof buf);
    EXPECT_STREQ(buf, "first\r\nsecond");
    e.ReplaceSel("!", TRUE);
    EXPECT_TRUE(e.GetModify());
    e.SetModify(FALSE);
    EXPECT_FALSE(e.GetModify());
    e.LimitText(3);
    EXPECT_EQ(e.GetLimitText(), 3u);
    EXPECT_TRUE(e.SetReadOnly(TRUE));
    EXPECT_TRUE(e.GetStyle() & ES_READONLY);
}

TEST_F(BasicControlsTest, ScrollRequestsGoToTheParentOrBackToTheBar)
{
    host.vbar.SetScrollRange(0, 10);
    host.hbar.SetScrollRange(0, 10);
    EXPECT_EQ(host.vbar.GetScrollLimit(), 10);
    Click(host.vbar, 8, 95);  // down arrow
    EXPECT_EQ(host.heard, (std::vector<std::string>{"vscroll 1 0 vbar", "vscroll 8 0 vbar"}));
    // The horizontal bar handles its own requests by reflection; the parent has no handler.
    Click(host.hbar, 185, 8);
    EXPECT_EQ(host.hbar.codes, (std::vector<UINT>{SB_LINERIGHT, SB_ENDSCROLL}));
    EXPECT_EQ(host.hbar.GetScrollPos(), 1);
    SCROLLINFO si{};
    ASSERT_TRUE(host.hbar.GetScrollInfo(&si, SIF_POS | SIF_RANGE));
    EXPECT_EQ(si.nPos, 1);
    EXPECT_EQ(si.nMax, 10);
}

TEST_F(BasicControlsTest, OwnerDrawnButtonDrawsItselfAndCaretWrappersWork)
{
    host.drawn.states.clear();
    Click(host.drawn, 10, 10);
    ASSERT_FALSE(host.drawn.states.empty());
    bool sawSelected = false;
    for (UINT s : host.drawn.states)
        sawSelected |= (s & ODS_SELECTED) != 0;
    EXPECT_TRUE(sawSelected);
    host.CreateSolidCaret(2, 10);
    CWnd::SetCaretPos(CPoint(4, 6));
    EXPECT_EQ(CWnd::GetCaretPos(), CPoint(4, 6));
    host.ShowCaret();
    host.HideCaret();
    EXPECT_TRUE(::DestroyCaret());
}

}  // namespace
