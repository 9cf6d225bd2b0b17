// CListCtrl, CImageList, CProgressCtrl and CRichEditCtrl: the wrappers over the common controls
// and the rich edit control, with the list's notifications in the parent's message map.
#include <afxcmn.h>

#include <UiTest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;
constexpr UINT kListId = 1007;

class CPanel : public CWnd {
protected:
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
    {
        g_log.push_back("column " + std::to_string(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem));
        *pResult = 0;
    }
    afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult)
    {
        g_log.push_back("dblclk " + std::to_string(reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem));
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPanel, CWnd)
ON_NOTIFY(LVN_COLUMNCLICK, kListId, OnColumnClick)
ON_NOTIFY(NM_DBLCLK, kListId, OnDblClk)
END_MESSAGE_MAP()

int CALLBACK BySubject(LPARAM a, LPARAM b, LPARAM reverse)
{
    int d = lstrcmpiA(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
    return reverse ? -d : d;
}

DWORD CALLBACK TakeFront(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb)
{
    auto* text = reinterpret_cast<CString*>(cookie);
    LONG n = std::min<LONG>(cb, text->GetLength());
    memcpy(buffer, static_cast<LPCSTR>(*text), static_cast<size_t>(n));
    *text = text->Mid(n);
    *pcb = n;
    return 0;
}

class CommonControlsTest : public ui::UiTest {
protected:
    CPanel panel;

    void SetUp() override
    {
        ui::UiTest::SetUp();
        g_log.clear();
        ASSERT_TRUE(panel.CreateEx(0, NULL, "Panel", WS_POPUP | WS_VISIBLE, 0, 0, 420, 300, NULL, NULL));
    }
    void TearDown() override
    {
        panel.DestroyWindow();
        ui::UiTest::TearDown();
    }
};

TEST_F(CommonControlsTest, ListWithImagesSortsAndNotifiesThroughTheMessageMap)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR | ILC_MASK, 2, 2));
    EXPECT_EQ(images.Add(LoadIcon(NULL, IDI_APPLICATION)), 0);
    EXPECT_EQ(images.Add(LoadIcon(NULL, IDI_QUESTION)), 1);
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_EQ(CImageList::FromHandle(images.m_hImageList), &images);

    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                            CRect(10, 10, 400, 200), &panel, kListId));
    EXPECT_EQ(list.SetImageList(&images, LVSIL_SMALL), nullptr);
    EXPECT_EQ(list.GetImageList(LVSIL_SMALL), &images);
    EXPECT_EQ(list.InsertColumn(0, "Subject", LVCFMT_LEFT, 200), 0);
    EXPECT_EQ(list.InsertColumn(1, "Status", LVCFMT_LEFT, 80, 1), 1);
    const char* subjects[] = {"beta", "Alpha", "gamma"};
    for (int i = 0; i < 3; ++i) {
        int at = list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, i, subjects[i], 0, 0, i % 2,
                                 reinterpret_cast<LPARAM>(subjects[i]));
        EXPECT_EQ(at, i);
        EXPECT_TRUE(list.SetItemText(at, 1, i == 1 ? "Read" : "Unread"));
    }
    EXPECT_TRUE(list.SortItems(BySubject, 0));
    EXPECT_EQ(list.GetItemText(0, 0), "Alpha");
    EXPECT_EQ(list.GetItemText(0, 1), "Read");
    EXPECT_EQ(reinterpret_cast<const char*>(list.GetItemData(2)), subjects[2]);
    EXPECT_TRUE(list.SortItems(BySubject, 1));
    EXPECT_EQ(list.GetItemText(0, 0), "gamma");

    // Selection through the wrapper, read back by position.
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 2u);
    std::vector<int> selected;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;)
        selected.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ(selected, (std::vector<int>{0, 2}));

    // A click on the header and a double click on a row reach the parent's message map.
    CRect row;
    ASSERT_TRUE(list.GetItemRect(1, &row, LVIR_BOUNDS));
    CPoint header(250, row.top / 2);
    list.ClientToScreen(&header);
    host::Click(header.x, header.y);
    CPoint item(40, row.CenterPoint().y);
    list.ClientToScreen(&item);
    host::Click(item.x, item.y);
    host::Click(item.x, item.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(g_log, (std::vector<std::string>{"column 1", "dblclk 1"}));
    EXPECT_EQ(list.GetSelectedCount(), 1u);

    list.DestroyWindow();
    EXPECT_EQ(images.GetImageCount(), 2) << "a shared image list outlives the list view";
    HIMAGELIST h = images.Detach();
    EXPECT_EQ(images.m_hImageList, nullptr);
    EXPECT_TRUE(ImageList_Destroy(h));
}

TEST_F(CommonControlsTest, ProgressAndRichEditWrappers)
{
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 28), &panel, 1005));
    progress.SetRange32(0, 4096);
    progress.SetPos(1024);
    int lower = -1, upper = -1;
    progress.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 4096);
    EXPECT_EQ(progress.OffsetPos(1024), 1024);
    EXPECT_EQ(progress.GetPos(), 2048);

    // The viewer's way: the library loaded, a sunken read-only control, the text streamed in.
    HMODULE lib = LoadLibrary("RICHED32.DLL");
    ASSERT_NE(lib, nullptr);
    {
        CRichEditCtrl text;
        ASSERT_TRUE(text.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_SUNKEN,
                                CRect(10, 40, 400, 200), &panel, 1000));
        CString rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 100% {\\b sure}\\par second line}";
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&rtf), 0, TakeFront};
        EXPECT_EQ(text.StreamIn(SF_RTF, es), 22);
        EXPECT_EQ(es.dwError, 0u);
        EXPECT_EQ(text.GetLineCount(), 2);
        char line[32] = {};
        EXPECT_EQ(text.GetLine(0, line, sizeof line), 11);
        EXPECT_EQ(std::string(line, 11), "100% sure\r\n");
        FINDTEXTEX ft{{0, -1}, "second", {0, 0}};
        EXPECT_EQ(text.FindText(FR_DOWN, &ft), 11);
        text.SetSel(ft.chrgText);
        EXPECT_EQ(text.GetSelText(), "second");
        EXPECT_EQ(text.LineFromChar(ft.chrgText.cpMin), 1);
        CString range;
        EXPECT_EQ(text.GetTextRange(5, 9, range), 4);
        EXPECT_EQ(range, "sure");
        CHARFORMAT cf{};
        text.SetSel(5, 9);
        text.GetSelectionCharFormat(cf);
        EXPECT_TRUE(cf.dwEffects & CFE_BOLD);
        text.DestroyWindow();
    }
    EXPECT_TRUE(FreeLibrary(lib));
}

}  // namespace
