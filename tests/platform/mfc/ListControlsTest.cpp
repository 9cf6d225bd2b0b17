// CListBox and CComboBox: the wrappers over the controls, owner-draw virtuals reached through
// reflection from the parent window, and notifications in the parent's and the control's maps.
#include <afxwin.h>

#include <UiTest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

constexpr UINT kRowsId = 10;
constexpr UINT kPickId = 11;
constexpr UINT kComboId = 20;

// An owner-drawn list whose item data is the extra height of each row.
class CRowList : public CListBox {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        mis->itemHeight = static_cast<UINT>(12 + mis->itemData);
        g_log.push_back("measure " + std::to_string(mis->itemData));
    }
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        g_log.push_back("draw " + std::to_string(dis->itemData) + ((dis->itemState & ODS_SELECTED) ? " selected" : ""));
    }
    int CompareItem(LPCOMPAREITEMSTRUCT cis) override
    {
        return cis->itemData1 < cis->itemData2 ? -1 : cis->itemData1 > cis->itemData2 ? 1 : 0;
    }
    void DeleteItem(LPDELETEITEMSTRUCT dis) override { g_log.push_back("delete " + std::to_string(dis->itemData)); }
};

// A list that handles its own selection changes (reflected), so the parent never sees them.
class CPickList : public CListBox {
protected:
    afx_msg void OnSelChange() { g_log.push_back("reflected selchange"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPickList, CListBox)
ON_CONTROL_REFLECT(LBN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

class COwnerCombo : public CComboBox {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        g_log.push_back("combo measure " + std::to_string(static_cast<int>(mis->itemID)));
        mis->itemHeight = 16;
    }
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        if (dis->itemState & ODS_COMBOBOXEDIT)
            g_log.push_back("combo field " + std::to_string(static_cast<int>(dis->itemID)));
    }
};

class CPanel : public CWnd {
protected:
    afx_msg void OnRowsSelChange() { g_log.push_back("parent selchange"); }
    afx_msg void OnRowsDblClk() { g_log.push_back("parent dblclk"); }
    afx_msg void OnPickSelChange() { g_log.push_back("parent pick selchange"); }
    afx_msg void OnComboDropDown() { g_log.push_back("parent dropdown"); }
    afx_msg void OnComboSelEndOk() { g_log.push_back("parent selendok"); }
    afx_msg void OnComboCloseUp() { g_log.push_back("parent closeup"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPanel, CWnd)
ON_LBN_SELCHANGE(kRowsId, OnRowsSelChange)
ON_LBN_DBLCLK(kRowsId, OnRowsDblClk)
ON_LBN_SELCHANGE(kPickId, OnPickSelChange)
ON_CBN_DROPDOWN(kComboId, OnComboDropDown)
ON_CBN_SELENDOK(kComboId, OnComboSelEndOk)
ON_CBN_CLOSEUP(kComboId, OnComboCloseUp)
END_MESSAGE_MAP()

class ListControlsTest : public ui::UiTest {
protected:
    CPanel panel;

    void SetUp() override
    {
        ui::UiTest::SetUp();
        g_log.clear();
        ASSERT_TRUE(panel.CreateEx(0, NULL, "Panel", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL));
    }

    void TearDown() override
    {
        panel.DestroyWindow();
        ui::UiTest::TearDown();
    }

    static void ClickItem(CListBox& list, int index)
    {
        CRect r;
        list.GetItemRect(index, &r);
        CPoint p = r.CenterPoint();
        list.ClientToScreen(&p);
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }

    static bool Logged(const std::string& entry)
    {
        for (const std::string& s : g_log)
            if (s == entry)
                return true;
        return false;
    }
};

TEST_F(ListControlsTest, OwnerDrawVirtualsAreReachedThroughReflection)
{
    CRowList rows;
    ASSERT_TRUE(rows.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_SORT,
                            CRect(10, 10, 150, 200), &panel, kRowsId));
    for (DWORD_PTR data : {8u, 2u, 5u})
        rows.AddString(reinterpret_cast<LPCSTR>(data));
    EXPECT_EQ(rows.GetItemData(0), 2u) << "sorted by CompareItem";
    EXPECT_EQ(rows.GetItemData(2), 8u);
    EXPECT_EQ(rows.GetItemHeight(1), 17) << "measured by MeasureItem";
    EXPECT_TRUE(Logged("measure 8"));

    g_log.clear();
    ui::PumpUntilIdle();
    EXPECT_TRUE(Logged("draw 5")) << "painting reaches DrawItem";
    g_log.clear();
    ClickItem(rows, 1);
    EXPECT_TRUE(Logged("draw 5 selected"));
    EXPECT_TRUE(Logged("parent selchange")) << "LBN_SELCHANGE in the parent's message map";
    EXPECT_EQ(rows.GetCurSel(), 1);

    g_log.clear();
    rows.DeleteString(0);
    EXPECT_EQ(g_log, std::vector<std::string>{"delete 2"});
    g_log.clear();
    rows.DestroyWindow();
    EXPECT_EQ(g_log, (std::vector<std::string>{"delete 5", "delete 8"})) << "the items die with the window";
}

TEST_F(ListControlsTest, ReflectedNotificationStaysWithTheControl)
{
    CPickList pick;
    ASSERT_TRUE(pick.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, CRect(10, 10, 150, 120), &panel, kPickId));
    pick.AddString("first");
    pick.AddString("second");
    ClickItem(pick, 1);
    EXPECT_TRUE(Logged("reflected selchange"));
    EXPECT_FALSE(Logged("parent pick selchange"));
    CString text;
    pick.GetText(1, text);
    EXPECT_EQ(text, "second");
    pick.GetText(5, text);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(pick.FindStringExact(-1, "FIRST"), 0);
    EXPECT_EQ(pick.SelectString(-1, "sec"), 1);
    BOOL outside = FALSE;
    CRect r;
    pick.GetItemRect(1, &r);
    EXPECT_EQ(pick.ItemFromPoint(r.CenterPoint(), outside), 1u);
    EXPECT_FALSE(outside);
}

TEST_F(ListControlsTest, ExtendedSelectionThroughTheWrapper)
{
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_EXTENDEDSEL, CRect(10, 10, 150, 200), &panel, 12));
    for (const char* s : {"a", "b", "c", "d"})
        list.AddString(s);
    EXPECT_EQ(list.SelItemRange(TRUE, 1, 2), LB_OKAY);
    EXPECT_EQ(list.GetSelCount(), 2);
    int items[4] = {};
    EXPECT_EQ(list.GetSelItems(4, items), 2);
    EXPECT_EQ(items[0], 1);
    EXPECT_EQ(items[1], 2);
    list.SelItemRange(FALSE, 1, 1);
    EXPECT_EQ(list.GetSel(1), 0);
    EXPECT_EQ(list.SetSel(3), LB_OKAY);
    EXPECT_EQ(list.GetCaretIndex(), 3);
    int data = 7;
    list.SetItemDataPtr(0, &data);
    EXPECT_EQ(list.GetItemDataPtr(0), &data);
}

TEST_F(ListControlsTest, ComboBoxWrapperAndOwnerDrawnField)
{
    COwnerCombo combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             CRect(10, 10, 160, 150), &panel, kComboId));
    EXPECT_EQ(g_log, (std::vector<std::string>{"combo measure -1", "combo measure 0"}));
    EXPECT_EQ(combo.GetItemHeight(-1), 16);
    combo.AddString("and");
    combo.AddString("or");
    combo.AddString("not");
    combo.SetCurSel(0);
    CString text;
    combo.GetLBText(2, text);
    EXPECT_EQ(text, "not");
    EXPECT_EQ(combo.GetLBTextLen(1), 2);
    g_log.clear();
    ui::PumpUntilIdle();
    EXPECT_TRUE(Logged("combo field 0"));

    // Dropped and chosen with the keyboard; the parent's map sees the notifications in order.
    combo.SetFocus();
    g_log.clear();
    host::PressKey(VK_F4);
    host::PressKey(VK_DOWN);
    host::PressKey(VK_RETURN);
    ui::PumpUntilIdle();
    std::vector<std::string> notes;
    for (const std::string& s : g_log)
        if (s.rfind("parent", 0) == 0)
            notes.push_back(s);
    EXPECT_EQ(notes, (std::vector<std::string>{"parent dropdown", "parent selendok", "parent closeup"}));
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_FALSE(combo.GetDroppedState());
    CRect dropped;
    combo.GetDroppedControlRect(&dropped);
    EXPECT_EQ(dropped.Height(), 140);
    EXPECT_EQ(combo.SelectString(-1, "no"), 2);
    EXPECT_EQ(combo.FindStringExact(-1, "OR"), 1);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
}

}  // namespace
