// The plain owner-drawn list control and the tree-shaped list window: rows after insertion,
// expansion and collapse, deletion with descendants, the notifications (TVN_SELCHANGED, NM_DBLCLK
// after the rows changed) and their records, row heights that follow the text and the width,
// and the colours rows are painted in.
#include "widgets/VLListCtrl.h"
#include "widgets/VLListWindow.h"

#include "base/AppServices.h"
#include "base/ResourceLibrary.h"

#include "WidgetTestSupport.h"

#include <host/Display.h>
#include <host/Input.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const UINT kListId = 301;

// A parent that records the tree-view notifications it receives, with the row count at that
// moment.
class CNotifyRecorder : public CWnd {
public:
    struct Notice {
        UINT code;
        HWND from;
        UINT_PTR id;
        HTREEITEM item;
        UINT state;
        LPARAM value;
        POINT point;
        int rowsThen;
        HTREEITEM oldItem;
    };
    std::vector<Notice> notices;
    CListBox* list = nullptr;

    std::vector<UINT> Codes() const
    {
        std::vector<UINT> codes;
        for (const Notice& n : notices)
            codes.push_back(n.code);
        return codes;
    }

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        auto* pNotify = reinterpret_cast<NMTREEVIEW*>(lParam);
        notices.push_back({pNotify->hdr.code, pNotify->hdr.hwndFrom, pNotify->hdr.idFrom, pNotify->itemNew.hItem,
                           pNotify->itemNew.state, pNotify->itemNew.lParam, pNotify->ptDrag,
                           list != nullptr ? list->GetCount() : -1, pNotify->itemOld.hItem});
        *pResult = 0;
        return TRUE;
    }
};

class ListWindowTest : public BitmapTest {
protected:
    void SetUp() override
    {
        BitmapTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "Lists",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 500, 400), nullptr,
                                    0));
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        list.reset();
        if (parent.GetSafeHwnd())
            parent.DestroyWindow();
        BitmapTest::TearDown();
    }

    CVLListWindow& MakeList(int width = 300, int height = 260, DWORD style = 0)
    {
        list = std::make_unique<CVLListWindow>();
        EXPECT_TRUE(list->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | style,
                                 CRect(10, 10, 10 + width, 10 + height), &parent, kListId));
        parent.list = list.get();
        return *list;
    }
    HTREEITEM Insert(HTREEITEM hParent, const char* text, HTREEITEM after = TVI_LAST, LPARAM value = 0,
                     UINT state = 0)
    {
        TVINSERTSTRUCT insert = {};
        insert.hParent = hParent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
        insert.item.pszText = const_cast<LPSTR>(text);
        insert.item.lParam = value;
        insert.item.state = insert.item.stateMask = state;
        return list->InsertItem(&insert);
    }
    // The texts of the rows, top to bottom.
    std::string Rows() const
    {
        std::string out;
        for (int i = 0; i < list->GetCount(); ++i)
            out += (i ? "," : "") + std::string(list->GetItemText(list->GetItemIdAt(i)));
        return out;
    }
    CPoint RowPoint(int row) const
    {
        CRect r;
        list->GetItemRect(row, &r);
        CPoint p(r.left + 40, (r.top + r.bottom) / 2);
        list->ClientToScreen(&p);
        return p;
    }
    void ClickRow(int row)
    {
        ui::AdvanceClock(1000);
        CPoint p = RowPoint(row);
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }
    void DoubleClickRow(int row)
    {
        ui::AdvanceClock(1000);
        CPoint p = RowPoint(row);
        host::Click(p.x, p.y);
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }

    CNotifyRecorder parent;
    std::unique_ptr<CVLListWindow> list;
};

TEST_F(ListWindowTest, RowsFollowInsertionExpansionAndCollapse)
{
    MakeList();
    HTREEITEM a = Insert(TVI_ROOT, "A");
    HTREEITEM b = Insert(TVI_ROOT, "B");
    HTREEITEM a1 = Insert(a, "A1");
    HTREEITEM a2 = Insert(a, "A2");
    HTREEITEM a21 = Insert(a2, "A21");
    ASSERT_TRUE(a && b && a1 && a2 && a21);
    EXPECT_EQ(5, list->GetItemCount());

    struct Step {
        const char* name;
        std::function<void()> action;
        const char* rows;
    } steps[] = {
        {"children of a collapsed item have no rows", [] {}, "A,B"},
        {"expanding shows the children in tree order", [&] { list->Expand(a, TVE_EXPAND); }, "A,A1,A2,B"},
        {"a grandchild under its parent", [&] { list->Expand(a2, TVE_EXPAND); }, "A,A1,A2,A21,B"},
        {"collapsing hides the whole subtree", [&] { list->Expand(a, TVE_COLLAPSE); }, "A,B"},
        {"expanding again keeps the inner state", [&] { list->Expand(a, TVE_TOGGLE); }, "A,A1,A2,A21,B"},
        {"sorted under an expanded parent stays under it", [&] { Insert(a, "a15", TVI_SORT); },
         "A,A1,a15,A2,A21,B"},
        {"first child goes right under its parent", [&] { Insert(a, "A0", TVI_FIRST); }, "A,A0,A1,a15,A2,A21,B"},
        {"after an item with shown children: after them", [&] { Insert(a, "A3", a2); },
         "A,A0,A1,a15,A2,A21,A3,B"},
        {"at the end of the top level", [&] { Insert(TVI_ROOT, "C"); }, "A,A0,A1,a15,A2,A21,A3,B,C"},
        {"sorted at the top level goes between the others", [&] { Insert(TVI_ROOT, "b2", TVI_SORT); },
         "A,A0,A1,a15,A2,A21,A3,B,b2,C"},
        {"a child of a hidden expanded item adds no row", [&] {
             list->Expand(a, TVE_COLLAPSE);
             Insert(a2, "A22");
         },
         "A,B,b2,C"},
        {"and shows when its ancestors open", [&] { list->Expand(a, TVE_EXPAND); },
         "A,A0,A1,a15,A2,A21,A22,A3,B,b2,C"},
    };
    for (const Step& step : steps) {
        step.action();
        EXPECT_EQ(step.rows, Rows()) << step.name;
    }
    EXPECT_FALSE(list->Expand(a, 7)) << "another code";
    EXPECT_FALSE(list->Expand(reinterpret_cast<HTREEITEM>(0x7FFFFFF0), TVE_EXPAND));
    EXPECT_EQ(NULL, Insert(reinterpret_cast<HTREEITEM>(0x7FFFFFF0), "orphan")) << "unknown parent";

    // The walk by relation and the item members.
    EXPECT_EQ(a, list->GetRootItem());
    EXPECT_EQ(b, list->GetNextSiblingItem(a));
    EXPECT_EQ(a, list->GetParentItem(a2));
    EXPECT_EQ(TREE_ROOT_ID, list->GetParentItem(a));
    EXPECT_TRUE(list->ItemHasChildren(a2));
    EXPECT_FALSE(list->ItemHasChildren(b));
    EXPECT_EQ(CString("A21"), list->GetItemText(list->GetChildItem(a2)));
    EXPECT_TRUE(list->SetItemValue(a21, 77));
    EXPECT_EQ(77, list->GetItemValue(a21));
    EXPECT_FALSE(list->SetItemValue(reinterpret_cast<HTREEITEM>(0x7FFFFFF0), 1));
    EXPECT_EQ(NULL, list->GetItemIdAt(99));
    EXPECT_EQ(NULL, list->GetItemIdAt(-1));
}

TEST_F(ListWindowTest, DeletingAnExpandedItemTakesItsDescendantsRows)
{
    MakeList();
    HTREEITEM a = Insert(TVI_ROOT, "A");
    HTREEITEM a1 = Insert(a, "A1");
    HTREEITEM a11 = Insert(a1, "A11");
    Insert(TVI_ROOT, "B");
    list->Expand(a, TVE_EXPAND);
    list->Expand(a1, TVE_EXPAND);
    ASSERT_EQ("A,A1,A11,B", Rows());
    ASSERT_EQ(4, list->GetItemCount());
    list->SelectItem(list->GetNextSiblingItem(a));  // B
    ui::PumpUntilIdle();

    EXPECT_TRUE(list->DeleteItem(a));
    EXPECT_EQ("B", Rows());
    EXPECT_EQ(1, list->GetItemCount());
    EXPECT_EQ(CString("B"), list->GetItemText(list->GetCurrentItemId())) << "the selection stays on B";
    // Stale ids are never found again, not even after new insertions.
    for (HTREEITEM gone : {a, a1, a11}) {
        EXPECT_FALSE(list->DeleteItem(gone));
        EXPECT_EQ(CString(), list->GetItemText(gone));
        EXPECT_FALSE(list->SelectItem(gone));
    }
    HTREEITEM c = Insert(TVI_ROOT, "C");
    EXPECT_NE(a, c);
    EXPECT_EQ(CString(), list->GetItemText(a));

    // ResetContent empties rows and tree.
    list->ResetContent();
    EXPECT_EQ(0, list->GetCount());
    EXPECT_EQ(0, list->GetItemCount());
    EXPECT_EQ(NULL, list->GetRootItem());

    // AddString: sorted when the list was created with LBS_SORT.
    MakeList(300, 260, LBS_SORT);
    EXPECT_EQ(0, list->AddString("beta"));
    EXPECT_EQ(0, list->AddString("Alpha"));
    EXPECT_EQ(2, list->AddString("gamma"));
    EXPECT_EQ("Alpha,beta,gamma", Rows());
    EXPECT_EQ(0, list->GetStyle() & (LBS_SORT | LBS_HASSTRINGS));
    EXPECT_NE(0u, list->GetStyle() & LBS_OWNERDRAWVARIABLE);
}

TEST_F(ListWindowTest, ClicksNotifyTheParentWithTreeViewRecords)
{
    MakeList();
    HTREEITEM a = Insert(TVI_ROOT, "Heading", TVI_LAST, 11, TVIS_BOLD);
    Insert(a, "Child one", TVI_LAST, 12);
    Insert(a, "Child two", TVI_LAST, 13);
    HTREEITEM b = Insert(TVI_ROOT, "Other", TVI_LAST, 14);
    ui::PumpUntilIdle();

    ClickRow(1);
    ASSERT_EQ(std::vector<UINT>{TVN_SELCHANGED}, parent.Codes());
    const CNotifyRecorder::Notice& sel = parent.notices[0];
    EXPECT_EQ(list->GetSafeHwnd(), sel.from);
    EXPECT_EQ(kListId, sel.id);
    EXPECT_EQ(b, sel.item);
    EXPECT_EQ(b, sel.oldItem) << "old and new item both carry the item";
    EXPECT_EQ(14, sel.value);
    EXPECT_EQ(UINT(TVIS_SELECTED), sel.state);
    EXPECT_EQ(0, sel.point.x);
    // Clicking the same row again reports nothing new.
    ClickRow(1);
    EXPECT_EQ(1u, parent.notices.size());

    // A double click toggles the heading; the parent hears NM_DBLCLK after the rows changed.
    parent.notices.clear();
    DoubleClickRow(0);
    ASSERT_FALSE(parent.notices.empty());
    const CNotifyRecorder::Notice& dbl = parent.notices.back();
    EXPECT_EQ(UINT(NM_DBLCLK), dbl.code);
    EXPECT_EQ(a, dbl.item);
    EXPECT_EQ(11, dbl.value);
    EXPECT_EQ(UINT(TVIS_BOLD | TVIS_SELECTED), dbl.state);
    EXPECT_EQ(4, dbl.rowsThen) << "the children were shown before the notice";
    EXPECT_GT(dbl.point.x, 0) << "the mouse point";
    EXPECT_EQ("Heading,Child one,Child two,Other", Rows());

    // After the refill a double click on a child names the child, not the row's old item.
    parent.notices.clear();
    DoubleClickRow(2);
    ASSERT_FALSE(parent.notices.empty());
    EXPECT_EQ(UINT(NM_DBLCLK), parent.notices.back().code);
    EXPECT_EQ(13, parent.notices.back().value);
    EXPECT_EQ("Heading,Child one,Child two,Other", Rows()) << "a leaf has nothing to toggle";

    // Double-clicking the heading again folds it; the selection goes to the heading.
    DoubleClickRow(0);
    EXPECT_EQ("Heading,Other", Rows());
    EXPECT_EQ(a, list->GetCurrentItemId());

    // With toggling off, a double click only reports.
    list->SetToggleOnDoubleClick(FALSE);
    parent.notices.clear();
    DoubleClickRow(0);
    EXPECT_EQ("Heading,Other", Rows());
    EXPECT_EQ(UINT(NM_DBLCLK), parent.notices.back().code);
}

TEST_F(ListWindowTest, RowHeightsFollowTheTextAndTheWidth)
{
    MakeList(300, 300);
    HTREEITEM shortRow = Insert(TVI_ROOT, "Moon");
    HTREEITEM longRow =
        Insert(TVI_ROOT, "A very long title that cannot fit on one line of a narrow list and has to wrap around");
    HTREEITEM heading = Insert(TVI_ROOT, "Heading", TVI_LAST, 0, TVIS_BOLD);
    Insert(heading, "  indented by blanks");
    ASSERT_NE(nullptr, longRow);
    ASSERT_NE(nullptr, shortRow);
    const int one = list->GetItemHeight(0);
    const int wide = list->GetItemHeight(1);
    EXPECT_GT(one, 10);
    EXPECT_GE(wide, 2 * one - 4) << "the long title wraps";

    // Measuring is drawing without ink: the text height plus 2.
    CClientDC dc(list.get());
    RECT rect = {0, 0, 200, 0};
    int textHeight = list->DrawRow(&dc, shortRow, rect, FALSE, FALSE);
    EXPECT_EQ(textHeight + 2, rect.bottom - rect.top);
    RECT none = {0, 0, 200, 0};
    EXPECT_EQ(0, list->DrawRow(&dc, reinterpret_cast<HTREEITEM>(0x7FFFFFF0), none, FALSE, FALSE));

    // Narrowing the window measures every row again.
    list->SetWindowPos(nullptr, 0, 0, 120, 300, SWP_NOMOVE | SWP_NOZORDER);
    ui::PumpUntilIdle();
    EXPECT_GT(list->GetItemHeight(1), wide);
    EXPECT_EQ(one, list->GetItemHeight(0)) << "a short row stays one line";
}

TEST_F(ListWindowTest, RowsArePaintedInTheirColours)
{
    // The list window: white on black when selected, black on the background otherwise.
    MakeList(200, 100);
    Insert(TVI_ROOT, "first", TVI_LAST, 1);
    Insert(TVI_ROOT, "second", TVI_LAST, 2);
    list->SetCurSel(1);
    ui::PumpUntilIdle();
    CRect r0, r1;
    list->GetItemRect(0, &r0);
    list->GetItemRect(1, &r1);
    list->ClientToScreen(&r0);
    list->ClientToScreen(&r1);
    EXPECT_EQ(RGB(255, 255, 255), host::DesktopPixel(r0.right - 3, r0.top + 2));
    EXPECT_EQ(RGB(0, 0, 0), host::DesktopPixel(r1.right - 3, r1.top + 2));

    // The plain list control: system highlight colours for the selected row, its background
    // colour for the others and the empty area.
    class CGreenList : public CVLListCtrl {
    public:
        COLORREF GetBkColor() override { return RGB(0, 128, 0); }
    } plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY,
                             CRect(250, 10, 450, 150), &parent, 302));
    plain.AddString("one");
    plain.AddString("two that is long enough to be wrapped onto a second line here");
    plain.SetCurSel(0);
    ui::PumpUntilIdle();
    CRect p0, p1, client;
    plain.GetItemRect(0, &p0);
    plain.GetItemRect(1, &p1);
    plain.GetClientRect(&client);
    EXPECT_GT(p1.Height(), p0.Height()) << "word-wrapped rows are taller";
    plain.ClientToScreen(&p0);
    plain.ClientToScreen(&p1);
    plain.ClientToScreen(&client);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), host::DesktopPixel(p0.right - 2, p0.top + 1));
    EXPECT_EQ(RGB(0, 128, 0), host::DesktopPixel(p1.right - 2, p1.top + 1));
    EXPECT_EQ(RGB(0, 128, 0), host::DesktopPixel(client.right - 2, client.bottom - 2));
    EXPECT_EQ(0, plain.CompareItem(nullptr));
    plain.DestroyWindow();
}

}  // namespace

namespace {

TEST_F(ListWindowTest, CheckedItemsWithoutTheirDownloadedFileCarryAMark)
{
    app.m_pszProfileName = "T:\\vl00i1se.ini";
    ASSERT_TRUE(WritePrivateProfileString("Online", "Download", "T:\\dl", "T:\\vl00i1se.ini"));
    dir.Write("t/dl/yb001927.rcv", "record");
    MakeList(300, 200);
    HTREEITEM here = Insert(TVI_ROOT, "Aviation (1927)", TVI_LAST, 15001927);
    HTREEITEM missing = Insert(TVI_ROOT, "Volcano (1980)", TVI_LAST, 15001980);
    HTREEITEM unchecked = Insert(TVI_ROOT, "Jazz", TVI_LAST, 15001981);
    list->CheckItemFile(here);
    list->CheckItemFile(missing);
    list->CheckItemFile(reinterpret_cast<HTREEITEM>(0x7FFFFFF0));  // unknown: nothing happens
    ui::PumpUntilIdle();
    CTreeData& tree = list->GetTree();
    EXPECT_TRUE(tree.FindNodeById(here)->m_bChecked);
    EXPECT_TRUE(tree.FindNodeById(here)->m_bFileAvailable);
    EXPECT_TRUE(tree.FindNodeById(missing)->m_bChecked);
    EXPECT_FALSE(tree.FindNodeById(missing)->m_bFileAvailable);
    EXPECT_FALSE(tree.FindNodeById(unchecked)->m_bChecked);

    // The mark (red on white) follows the text of the missing one only.
    auto RedPixels = [&](int row) {
        CRect r;
        list->GetItemRect(row, &r);
        list->ClientToScreen(&r);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += host::DesktopPixel(x, y) == RGB(204, 0, 0);
        return n;
    };
    EXPECT_EQ(0, RedPixels(0));
    EXPECT_GT(RedPixels(1), 10);
    EXPECT_EQ(0, RedPixels(2));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(ListWindowTest, AFrameWidthReplacesTheBorder)
{
    CVLListCtrl plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, CRect(10, 10, 210, 110),
                             &parent, 303));
    EXPECT_TRUE(plain.HasStandardFrame());
    CRect before, after;
    plain.GetClientRect(&before);
    plain.SetFrameWidth(4);
    plain.GetClientRect(&after);
    EXPECT_FALSE(plain.HasStandardFrame());
    EXPECT_EQ(4, plain.GetFrameWidth());
    EXPECT_EQ(before.Width() - 8, after.Width());
    EXPECT_EQ(before.Height() - 8, after.Height());
    EXPECT_EQ(::GetSystemMetrics(SM_CXVSCROLL), CVLListCtrl::GetScrollBarWidth());
    plain.DestroyWindow();
}

}  // namespace
