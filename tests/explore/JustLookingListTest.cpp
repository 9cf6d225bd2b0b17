// The browsing view's FIND list and its controls: the show list file read back (fields at both
// ends and at a block boundary, a missing index, damaged and over-long lines), the FIND list
// container over both lists (same first rows, block loading, its notices, row height, dimmed
// online rows), the choice caption, the category list, the content list and the search edit.
#include "JustLookingTestSupport.h"

#include "base/DataFolders.h"
#include "base/Rin.h"
#include "explore/JustLookingChoiceWnd.h"
#include "explore/JustLookingEditListSearch.h"
#include "explore/JustLookingFileVirtualList.h"
#include "explore/JustLookingListContainer.h"
#include "explore/JustLookingListWin.h"
#include "explore/JustLookingRecSet.h"
#include "explore/JustLookingShowListBox.h"
#include "explore/JustLookingTreeControl.h"

#include <host/Display.h>
#include <host/Input.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace explore_test {
namespace {

// A parent that records the messages its children send it.
class CRecorderWnd : public CWnd {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> messages;

    std::vector<Message> Of(UINT nMessage) const
    {
        std::vector<Message> found;
        for (const Message& m : messages)
            if (m.message == nMessage)
                found.push_back(m);
        return found;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND || message == WM_KEYDOWN || message == WM_NOTIFY || (message >= 0x978 && message <= 0x97A))
            messages.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class JustLookingListTest : public JustLookingTest {
protected:
    void SetUp() override
    {
        JustLookingTest::SetUp();
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "Parent", WS_POPUP | WS_VISIBLE, CRect(0, 0, 640, 480), NULL, 0));
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        JustLookingTest::TearDown();
    }
    // The title and number of a row of a list.
    static std::pair<std::string, long> Row(CBaseListData& list, long nRow)
    {
        TVITEM item = {};
        item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(nRow));
        if (!list.GetItem(&item))
            return {"", 0};
        return {item.pszText != NULL ? item.pszText : "", static_cast<long>(item.lParam)};
    }
    std::vector<std::string> NewBoxTexts() { return NewBoxes(); }

    CRecorderWnd parent;
};

TEST_F(JustLookingListTest, TheShowListReadsEveryFieldAtBothEndsAndAtABlockBoundary)
{
    WriteShowList(Items(250));
    CJustLookingFileVirtualList list;
    ASSERT_TRUE(list.IsListOpen());
    EXPECT_STREQ("T:\\disc\\info_dat\\", list.GetFolder());
    EXPECT_EQ(250, list.GetCount());
    const struct {
        long row;
        const char* title;
        long id;
    } rows[] = {
        {1, "Item 0000", 1001}, {100, "Item 0099", 1100}, {101, "Item 0100", 1101}, {250, "Item 0249", 1250}, {7, "Item 0006", 18000107},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.title);
        CVLVirtualData::VLLISTENTRY entry;
        EXPECT_EQ(r.id, list.GetListEntry(r.row, entry));
        EXPECT_STREQ(r.title, entry.strTitle);
        EXPECT_EQ(0, entry.nValues[0]);
    }
    // The last line read is the last entry: its fields stay with the list.
    list.LoadBlock(250);
    EXPECT_STREQ("Tim", list.GetCode());
    EXPECT_STREQ("HIS", list.GetSecondCode());
    EXPECT_EQ(1250, list.GetNumber());
    // Positioning: 0 rewinds; a line position gives the position after that line.
    EXPECT_EQ(0, list.SkipEntryAt(0));
    const long nSecond = static_cast<long>(std::string("Art|1001|GEO|Item 0000\r\n").size());
    EXPECT_EQ(nSecond + static_cast<long>(std::string("Pic|1002|HIS|Item 0001\r\n").size()), list.SkipEntryAt(nSecond));
    EXPECT_EQ(-1, list.SkipEntryAt(1 << 20));
    EXPECT_TRUE(NewBoxTexts().empty());
}

TEST_F(JustLookingListTest, AMissingIndexIsBuiltAgain)
{
    WriteShowList(Items(230));
    std::filesystem::remove(DataFolder() / "jlshow.ndx");
    CJustLookingFileVirtualList list;
    ASSERT_TRUE(list.IsListOpen());
    EXPECT_EQ(230, list.GetCount());
    EXPECT_EQ(std::make_pair(std::string("Item 0201"), 1202L), Row(list, 202));
    std::ifstream index(DataFolder() / "Jlshow.ndx");
    std::string first;
    std::getline(index, first);
    EXPECT_EQ("230", first.substr(0, 3));
    EXPECT_TRUE(NewBoxTexts().empty());
}

TEST_F(JustLookingListTest, DamagedAndOverlongLinesAreReadSafely)
{
    const std::string longTitle(140, 'L');
    WriteFile("Jlshow.dat", "ART|1001|IND|Alpha\r\n"
                            "ART|1002|IND|" + longTitle + "\r\n"
                            "ART|1003|IND|" + std::string(110, 'M') + "\r\n"
                            "ART|1004|IND|Omega\r\n");
    {
        CJustLookingFileVirtualList list;
        ASSERT_TRUE(list.IsListOpen());
        // The long line is cut: its rest is no entry of its own.
        ASSERT_EQ(4, list.GetCount());
        EXPECT_EQ(std::string(100, 'L'), Row(list, 2).first);
        EXPECT_EQ(std::string(100, 'M'), Row(list, 3).first);
        EXPECT_EQ(std::make_pair(std::string("Omega"), 1004L), Row(list, 4));
    }
    EXPECT_TRUE(NewBoxTexts().empty());

    // A line of three fields is damage, reported once: the list has no rows.
    std::filesystem::remove(DataFolder() / "Jlshow.ndx");
    WriteFile("Jlshow.dat", "ART|1001|IND|Alpha\r\nART|1002|Beta\r\nART|1003|IND|Gamma\r\n");
    host::AnswerMessageBox("damaged", IDOK);
    CJustLookingFileVirtualList list;
    EXPECT_FALSE(list.IsListOpen());
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ("", Row(list, 1).first);
    list.LoadBlock(1);
    const auto boxes = NewBoxTexts();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0].find("damaged"));
}

TEST_F(JustLookingListTest, TheFindListShowsBothListsAndReportsItsRows)
{
    const auto items = Items(250);
    WriteDatabase(items);
    WriteShowList(items);
    OpenDatabase();
    CJustLookingShowListBox box;
    ASSERT_TRUE(box.Create(CRect(10, 10, 310, 460), &parent, IDC_JL_FINDLIST));
    EXPECT_EQ(250, box.GetFileCount());
    EXPECT_TRUE(box.IsShowingAll());
    EXPECT_EQ(static_cast<CBaseListData*>(box.GetFileList()), box.GetCurrentData());

    // With both filters at "all" the database list has the show list's first rows.
    EXPECT_EQ(250, box.Filter(0, 0));
    box.ShowFiltered();
    EXPECT_FALSE(box.IsShowingAll());
    EXPECT_FALSE(box.GetFileList() == static_cast<void*>(box.GetCurrentData()));
    for (long nRow = 1; nRow <= 5; ++nRow)
        EXPECT_EQ(Row(*box.GetFileList(), nRow), Row(*box.GetDatabaseList(), nRow)) << nRow;

    // Select loads the block that holds the row.
    box.Select(180);
    const long nFirst = box.GetDatabaseList()->GetFirstLoadedRow();
    EXPECT_TRUE(nFirst <= 180 && 180 < nFirst + box.GetDatabaseList()->GetLoadedCount()) << nFirst;
    box.ShowAll();
    box.Select(230);
    const long nFileFirst = box.GetFileList()->GetFirstLoadedRow();
    EXPECT_TRUE(nFileFirst <= 230 && 230 < nFileFirst + box.GetFileList()->GetLoadedCount()) << nFileFirst;

    // Rows are 85 pixels high.
    ui::PumpUntilIdle();
    CJustLookingTreeControl* pTree = box.GetCurrentTree();
    ASSERT_NE(nullptr, pTree);
    EXPECT_TRUE(pTree->IsWindowVisible());
    ASSERT_GE(pTree->GetVisibleRows().GetSize(), 4);
    for (int i = 0; i + 1 < pTree->GetVisibleRows().GetSize(); ++i) {
        const RECT& rc = pTree->GetVisibleRows().GetAt(i).rect;
        EXPECT_EQ(85, rc.bottom - rc.top);
    }

    // A click on the third row and a key down post the current row to the parent.
    parent.messages.clear();
    CPoint third(40, pTree->GetVisibleRows().GetAt(2).rect.top + 40);
    pTree->ClientToScreen(&third);
    host::Click(third.x, third.y);
    ui::PumpUntilIdle();
    pTree->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    ui::PumpUntilIdle();
    const auto rows = parent.Of(JLM_FIND_ROW);
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(3u, rows[0].wParam);
    EXPECT_EQ(4u, rows[1].wParam);
}

TEST_F(JustLookingListTest, AnOnlineRowWithoutItsFileIsDimmed)
{
    const auto items = Items(40);
    WriteDatabase(items);
    WriteShowList(items);
    OpenDatabase();
    std::filesystem::create_directories(dir.path() / "t" / "download");
    SetDownloadDir("T:\\download\\");
    // "Item 0013" (online) has its file; "Item 0006" has none.
    const CString strRit = CRin(18000114).FormatRit();
    dir.Write("t/download/" + std::string(strRit) + ".rcv", "downloaded");
    EXPECT_FALSE(CJustLookingTreeControl::IsItemAvailable(18000107));
    EXPECT_TRUE(CJustLookingTreeControl::IsItemAvailable(18000114));
    EXPECT_TRUE(CJustLookingTreeControl::IsItemAvailable(1001));

    CJustLookingShowListBox box;
    ASSERT_TRUE(box.Create(CRect(0, 0, 300, 440), &parent, IDC_JL_FINDLIST));
    CJustLookingTreeControl* pTree = box.GetCurrentTree();
    pTree->LayOutRows(6, TRUE);  // rows 6 ("Item 0005") and 7 ("Item 0006") at the top
    ui::PumpUntilIdle();
    CRect rc;
    box.GetWindowRect(&rc);
    const std::string png = (dir.path() / "justlooking-find-list.png").string();
    EXPECT_TRUE(host::SaveDesktopPng(png, &rc));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / "justlooking-find-list.png",
                                   std::filesystem::copy_options::overwrite_existing);

    // The darkest text pixel of a row's title (right of where the not-downloaded mark stands).
    auto darkest = [&](int nIndex) {
        const RECT& row = pTree->GetVisibleRows().GetAt(nIndex).rect;
        int nDarkest = 255 * 3;
        for (int y = row.top; y < row.top + 30; ++y)
            for (int x = 30; x < 200; ++x) {
                CPoint p(x, y);
                pTree->ClientToScreen(&p);
                const COLORREF c = host::DesktopPixel(p.x, p.y);
                nDarkest = std::min(nDarkest, GetRValue(c) + GetGValue(c) + GetBValue(c));
            }
        return nDarkest;
    };
    ASSERT_EQ(6, pTree->GetVisibleRows().GetAt(0).nRow);
    const int nPlain = darkest(0);
    const int nDimmed = darkest(1);
    EXPECT_LT(nPlain, 3 * 60);                       // black text
    EXPECT_GE(nDimmed, 3 * 100);                     // grey text only
    EXPECT_LT(nDimmed, 3 * 250);                     // but text there
}

TEST_F(JustLookingListTest, WithoutTheShowListTheFindListHasNoRows)
{
    WriteDatabase(Items(20));
    OpenDatabase();
    host::AnswerMessageBox("Jlshow index file is missing", IDOK);
    CJustLookingShowListBox box;
    ASSERT_TRUE(box.Create(CRect(0, 0, 300, 400), &parent, IDC_JL_FINDLIST));
    EXPECT_EQ(0, box.GetFileCount());
    EXPECT_EQ(0, box.GetCurrentData()->GetCount());
    const auto boxes = NewBoxTexts();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Jlshow index file is missing.  Need to build a new one.", boxes[0]);
    // The database side still works.
    EXPECT_EQ(20, box.Filter(0, 0));
}

TEST_F(JustLookingListTest, WithoutADatabaseTheFindListIsNotCreated)
{
    WriteShowList(Items(20));
    host::AnswerMessageBox("Unable to get Database", IDOK);
    CJustLookingShowListBox box;
    EXPECT_FALSE(box.Create(CRect(0, 0, 300, 400), &parent, IDC_JL_FINDLIST));
    EXPECT_EQ(nullptr, box.GetSafeHwnd());
}

TEST_F(JustLookingListTest, TheSmallControlsReportToTheirParent)
{
    // The choice caption: a click posts its id; a new caption repaints.
    CJustLookingChoiceWnd choice;
    ASSERT_TRUE(choice.Create("All Categories", CRect(10, 10, 210, 34), &parent, 14010));
    char szClass[64] = {};
    ::GetClassNameA(choice.m_hWnd, szClass, sizeof szClass);
    EXPECT_STREQ("CJustLookingChoiceWnd", szClass);
    choice.SetCaption("Geography");
    ui::PumpUntilIdle();
    CPoint p(20, 20);
    parent.ClientToScreen(&p);
    // The arrow stands at the right edge; the caption is painted in black on white.
    CPoint arrow(205, 22);
    parent.ClientToScreen(&arrow);
    EXPECT_NE(RGB(255, 255, 255), host::DesktopPixel(arrow.x, arrow.y));
    host::Click(p.x, p.y);
    ui::PumpUntilIdle();
    auto commands = parent.Of(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(14010u, LOWORD(commands[0].wParam));

    // The category list: a change of row sends 0x979, the content list's id 0x978.
    for (UINT nID : {static_cast<UINT>(IDC_JL_CATEGORYLIST), static_cast<UINT>(IDC_JL_CONTENTLIST)}) {
        parent.messages.clear();
        CJustLookingListContainer list;
        ASSERT_TRUE(list.Create(CRect(10, 40, 210, 200), &parent, nID));
        for (const char* text : {"All", "Geography", "History"})
            list.AddString(text);
        EXPECT_EQ(3, list.GetListBox().GetCount());
        EXPECT_EQ(nID, static_cast<UINT>(list.GetListBox().GetDlgCtrlID()));
        list.GetListBox().SetCurSel(2);
        list.SendMessage(WM_COMMAND, MAKEWPARAM(nID, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list.GetListBox().m_hWnd));
        const auto sent = parent.Of(nID == IDC_JL_CONTENTLIST ? JLM_CONTENT_CHANGED : JLM_CATEGORY_CHANGED);
        ASSERT_EQ(1u, sent.size());
        EXPECT_EQ(2u, sent[0].wParam);
    }

    // The content list: a double click hands the id to the parent.
    parent.messages.clear();
    std::unique_ptr<CJustLookingListWin> content(
        static_cast<CJustLookingListWin*>(RUNTIME_CLASS(CJustLookingListWin)->CreateObject()));
    ASSERT_TRUE(content->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(220, 40, 420, 200), &parent, IDC_JL_CONTENTLIST));
    content->AddString("All Content");
    content->AddString("Articles");
    content->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 5));
    commands = parent.Of(WM_COMMAND);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(static_cast<UINT>(IDC_JL_CONTENTLIST), LOWORD(commands.back().wParam));
    EXPECT_EQ(static_cast<UINT>(LBN_DBLCLK), HIWORD(commands.back().wParam));

    // How the controls look together.
    CJustLookingListContainer categories;
    ASSERT_TRUE(categories.Create(CRect(10, 40, 210, 200), &parent, IDC_JL_CATEGORYLIST));
    for (const char* text : {"All Categories", "Geography", "History"})
        categories.AddString(text);
    categories.GetListBox().SetCurSel(1);
    ui::PumpUntilIdle();
    CRect rcParent;
    parent.GetWindowRect(&rcParent);
    rcParent.bottom = rcParent.top + 240;
    const std::string png = (dir.path() / "justlooking-controls.png").string();
    EXPECT_TRUE(host::SaveDesktopPng(png, &rcParent));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / "justlooking-controls.png",
                                   std::filesystem::copy_options::overwrite_existing);

    // The search edit: a key goes into the edit and on to the parent.
    parent.messages.clear();
    CJustLookingEditListSearch edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 210, 210, 234), &parent, 14020));
    edit.SendMessage(WM_KEYDOWN, VK_END, 0x014F0001);
    ui::PumpUntilIdle();
    const auto keys = parent.Of(WM_KEYDOWN);
    ASSERT_EQ(1u, keys.size());
    EXPECT_EQ(static_cast<WPARAM>(VK_END), keys[0].wParam);
    EXPECT_EQ(0, keys[0].lParam);
    content->DestroyWindow();
}

}  // namespace
}  // namespace explore_test
