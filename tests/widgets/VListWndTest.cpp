// The virtual list window: only the rows in view are fetched and laid out, every scroll code
// moves the top row as the table says, clicks, Shift clicks and double clicks reach the parent,
// hover tracking with Shift, the keys, the row height and point size setters, and a screenshot
// of the sample disc's place list scrolled to the middle.
#include "widgets/VLVListWnd.h"

#include "ListProviderFixture.h"

#include <host/Display.h>
#include <host/Input.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace listdata {
namespace {

// A window that records the WM_COMMAND and WM_LBUTTONDBLCLK messages it receives.
class CRecorder : public CWnd {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> received;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND || message == WM_LBUTTONDBLCLK)
            received.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A list whose hover tracking the test starts.
class CTrackingList : public CVLVListWnd {
public:
    using CVLVListWnd::CVLVListWnd;
    void Track(const CRect& rect)
    {
        m_bTracking = TRUE;
        m_rcTracking = rect;
        SetCapture();
    }
    BOOL IsTracking() const { return m_bTracking; }
};

const UINT kListId = 1234;

class VListWndTest : public ListProviderTest {
protected:
    void SetUp() override
    {
        ListProviderTest::SetUp();
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "Lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640,
                                    480, nullptr, nullptr));
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        list.reset();
        if (parent.GetSafeHwnd())
            parent.DestroyWindow();
        memory.reset();
        ListProviderTest::TearDown();
    }

    // Rows "Row 001" ... with identifiers 1 ... (single lines) in a list of the given client size.
    CVLVListWnd& MakeList(int rows, int width = 300, int height = 200, DWORD flags = 0, UINT id = kListId,
                          CWnd* pParent = nullptr)
    {
        std::vector<Row> data;
        for (int i = 1; i <= rows; ++i) {
            char title[32];
            std::snprintf(title, sizeof title, "Row %03d", i);
            data.push_back({title, i});
        }
        return MakeListOver(std::move(data), width, height, flags, id, pParent);
    }
    CVLVListWnd& MakeListOver(std::vector<Row> rows, int width, int height, DWORD flags = 0, UINT id = kListId,
                              CWnd* pParent = nullptr)
    {
        memory = std::make_unique<CMemoryListData>(std::move(rows));
        list = std::make_unique<CTrackingList>(memory.get());
        CRect rect(10, 10, 10 + width, 10 + height);
        EXPECT_TRUE(list->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, flags, rect, pParent ? pParent : &parent, id));
        ui::PumpUntilIdle();
        return *list;
    }
    // The centre of a visible row, on the screen.
    CPoint RowCentre(long row) const
    {
        const CVirtualVisibleRectArray& rows = list->GetVisibleRows();
        for (int i = 0; i < rows.GetSize(); ++i)
            if (rows.GetAt(i).nRow == row) {
                CRect rect(rows.GetAt(i).rect);
                CPoint p = rect.CenterPoint();
                list->ClientToScreen(&p);
                return p;
            }
        ADD_FAILURE() << "row " << row << " is not visible";
        return CPoint(0, 0);
    }
    void Click(CPoint p)
    {
        ui::AdvanceClock(1000);  // not the second half of a double click
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }
    void Scroll(UINT code, UINT thumb = 0)
    {
        list->SendMessage(WM_VSCROLL, MAKEWPARAM(code, thumb), 0);
        ui::PumpUntilIdle();
    }
    std::vector<CRecorder::Message> Commands(CRecorder& from) const
    {
        std::vector<CRecorder::Message> commands;
        for (const auto& m : from.received)
            if (m.message == WM_COMMAND)
                commands.push_back(m);
        return commands;
    }

    CRecorder parent;
    std::unique_ptr<CMemoryListData> memory;
    std::unique_ptr<CTrackingList> list;
};

TEST_F(VListWndTest, OnlyTheRowsInViewAreFetchedAndLaidOutBelowEachOther)
{
    CVLVListWnd& wnd = MakeList(5000);
    const CVirtualVisibleRectArray& rows = wnd.GetVisibleRows();
    ASSERT_GT(rows.GetSize(), 3);
    EXPECT_EQ(1, wnd.GetFirstVisible());
    EXPECT_EQ(rows.GetSize(), wnd.GetLastVisible());
    EXPECT_EQ("Row 001", std::string(wnd.GetTopTitle()));
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.top + 1, rows.GetAt(0).rect.top);
    for (int i = 1; i < rows.GetSize(); ++i)
        EXPECT_EQ(rows.GetAt(i - 1).rect.bottom, rows.GetAt(i).rect.top);
    EXPECT_GE(rows.GetAt(rows.GetUpperBound()).rect.bottom, client.bottom) << "the last row reaches the bottom";
    EXPECT_LT(rows.GetAt(rows.GetUpperBound() - 1).rect.bottom, client.bottom);
    // Laid out and painted: a few rows, not five thousand.
    EXPECT_LE(memory->fetched, 3 * rows.GetSize());
    int nMin = -1, nMax = -1;
    wnd.GetScrollRange(SB_VERT, &nMin, &nMax);
    EXPECT_EQ(0, nMin);
    EXPECT_EQ(4999, nMax);
    // The neighbours by key.
    EXPECT_EQ(3, wnd.GetNextVisible(2));
    EXPECT_EQ(1, wnd.GetPrevVisible(2));
    EXPECT_EQ(0, wnd.GetPrevVisible(1));
    EXPECT_EQ(0, wnd.GetNextVisible(rows.GetSize()));
    EXPECT_EQ(1, wnd.GetTopKey());
}

TEST_F(VListWndTest, EveryScrollCodeMovesTheTopRowAsTheTableSays)
{
    CVLVListWnd& wnd = MakeList(100);
    const long page = wnd.GetVisibleRows().GetUpperBound();  // rows wholly in view less one
    ASSERT_GE(page, 3);
    struct Case {
        const char* what;
        long from;
        UINT code, thumb;
        long top;
    } const cases[] = {
        {"line up at the top", 1, SB_LINEUP, 0, 1},
        {"line up", 5, SB_LINEUP, 0, 4},
        {"line down", 1, SB_LINEDOWN, 0, 2},
        {"line down at the end: the last row at the top", 100, SB_LINEDOWN, 0, 100},
        {"line down to the last row", 99, SB_LINEDOWN, 0, 100},
        {"page down", 1, SB_PAGEDOWN, 0, 1 + page},
        {"page down near the end", 98, SB_PAGEDOWN, 0, 100},
        {"page up", 30, SB_PAGEUP, 0, 30 - page},
        {"page up near the top", 3, SB_PAGEUP, 0, 1},
        {"thumb track", 1, SB_THUMBTRACK, 41, 42},
        {"thumb position", 50, SB_THUMBPOSITION, 0, 1},
        {"top", 77, SB_TOP, 0, 1},
        {"bottom", 1, SB_BOTTOM, 0, 100},
        {"end scroll: nothing", 12, SB_ENDSCROLL, 0, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        wnd.ScrollToIndex(c.from);
        ASSERT_EQ(c.from, wnd.GetFirstVisible());
        Scroll(c.code, c.thumb);
        EXPECT_EQ(c.top, wnd.GetFirstVisible());
        EXPECT_EQ(c.top - 1, wnd.GetScrollPosition());
        EXPECT_EQ(c.top - 1, wnd.GetScrollPos(SB_VERT));
        EXPECT_EQ(wnd.GetFirstVisible() + wnd.GetVisibleRows().GetUpperBound(), wnd.GetLastVisible());
    }
    // Line by line down, it stops with the last row at the top.
    wnd.ScrollToIndex(95);
    for (int i = 0; i < 10; ++i)
        Scroll(SB_LINEDOWN);
    EXPECT_EQ(100, wnd.GetFirstVisible());
    EXPECT_EQ(1, wnd.GetVisibleRows().GetSize());

    // The bar's own down arrow sends a line down.
    wnd.ScrollToIndex(1);
    CRect window;
    wnd.GetWindowRect(&window);
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    Click(CPoint(window.right - bar / 2 - 1, window.bottom - bar / 2 - 1));
    EXPECT_EQ(2, wnd.GetFirstVisible());
    // So does the mouse wheel, three rows a notch.
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(5, wnd.GetFirstVisible());
}

TEST_F(VListWndTest, ALongRowWrapsAndPushesTheNextRowDown)
{
    CVLVListWnd& wnd = MakeListOver({{"Short", 1},
                                     {"A place name long enough to need more than one line in a narrow list", 2},
                                     {"After", 3}},
                                    160, 300);
    const CVirtualVisibleRectArray& rows = wnd.GetVisibleRows();
    ASSERT_EQ(3, rows.GetSize());
    const int line = rows.GetAt(0).rect.bottom - rows.GetAt(0).rect.top;
    EXPECT_GE(rows.GetAt(1).rect.bottom - rows.GetAt(1).rect.top, 3 * line);
    EXPECT_EQ(rows.GetAt(1).rect.bottom, rows.GetAt(2).rect.top);
    EXPECT_EQ(line, rows.GetAt(2).rect.bottom - rows.GetAt(2).rect.top);
    // Wider, it needs fewer lines.
    wnd.MoveWindow(10, 10, 560, 300);
    ui::PumpUntilIdle();
    EXPECT_EQ(line, wnd.GetVisibleRows().GetAt(1).rect.bottom - wnd.GetVisibleRows().GetAt(1).rect.top);
}

TEST_F(VListWndTest, ClicksAndShiftClicksOnARowTellTheParentAndClicksElsewhereNothing)
{
    CVLVListWnd& wnd = MakeList(3, 300, 200);
    ASSERT_EQ(-1, wnd.GetCurrentItemData());
    Click(RowCentre(2));
    std::vector<CRecorder::Message> commands = Commands(parent);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(MAKEWPARAM(kListId, 2), commands[0].wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(wnd.GetSafeHwnd()), commands[0].lParam);
    EXPECT_EQ(2, wnd.GetCurrentItemData());

    // With Shift held the click is a click all the same.
    host::KeyDown(VK_SHIFT);
    Click(RowCentre(3));
    host::KeyUp(VK_SHIFT);
    ui::PumpUntilIdle();
    EXPECT_EQ(2u, Commands(parent).size());
    EXPECT_EQ(3, wnd.GetCurrentItemData());

    // Below the last row: nothing, and the current row stays.
    CRect client;
    wnd.GetClientRect(&client);
    CPoint below(client.CenterPoint().x, client.bottom - 5);
    wnd.ClientToScreen(&below);
    Click(below);
    EXPECT_EQ(2u, Commands(parent).size());
    EXPECT_EQ(3, wnd.GetCurrentItemData());
    EXPECT_EQ(nullptr, ::GetCapture());

    // An empty list: created, nothing laid out, a click only releases the capture.
    MakeList(0);
    EXPECT_EQ(-1, list->GetFirstVisible());
    EXPECT_EQ(-1, list->GetLastVisible());
    EXPECT_EQ(0, list->GetTopKey());
    list->SetCapture();
    Click(below);
    EXPECT_EQ(2u, Commands(parent).size());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(VListWndTest, ADoubleClickInAnIconListAlsoTellsTheGrandparent)
{
    CRecorder inner;
    ASSERT_TRUE(inner.Create(nullptr, "Inner", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &parent, 77));
    CVLVListWnd& wnd = MakeList(4, 300, 200, 0, VLV_ID_ICONROWS2, &inner);
    const CPoint p = RowCentre(2);
    ui::AdvanceClock(1000);
    host::Click(p.x, p.y);
    host::Click(p.x, p.y);
    ui::PumpUntilIdle();
    // Each click and the double click tell the parent; the grandparent hears of the double click.
    std::vector<CRecorder::Message> commands = Commands(inner);
    ASSERT_GE(commands.size(), 2u);
    for (const auto& m : commands)
        EXPECT_EQ(MAKEWPARAM(VLV_ID_ICONROWS2, 2), m.wParam);
    ASSERT_EQ(1u, parent.received.size());
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONDBLCLK), parent.received[0].message);
    EXPECT_EQ(0u, parent.received[0].wParam);
    EXPECT_EQ(2, wnd.GetCurrentItemData());

    // Another id: no word to the grandparent.
    parent.received.clear();
    MakeList(4, 300, 200, 0, kListId, &inner);
    const CPoint q = RowCentre(1);
    ui::AdvanceClock(1000);
    host::Click(q.x, q.y);
    host::Click(q.x, q.y);
    ui::PumpUntilIdle();
    EXPECT_TRUE(parent.received.empty());
    list.reset();
    inner.DestroyWindow();
}

TEST_F(VListWndTest, HoverTrackingStaysWithShiftOnlyWhenTheListAsksForIt)
{
    struct Case {
        DWORD flags;
        bool shift;
        bool stays;
    } const cases[] = {
        {VLV_TRACKSHIFT, true, true},
        {VLV_TRACKSHIFT, false, false},
        {VLV_TRACKKEEP, true, false},
        {0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << (c.shift ? " with Shift" : ""));
        MakeList(10, 300, 200, c.flags);
        CRect rect(list->GetVisibleRows().GetAt(0).rect);
        list->Track(rect);
        // Inside the tracked row: kept.
        CPoint inside = RowCentre(1);
        host::MouseMove(inside.x, inside.y);
        ui::PumpUntilIdle();
        EXPECT_TRUE(list->IsTracking());
        if (c.shift)
            host::KeyDown(VK_SHIFT);
        CPoint outside = RowCentre(3);
        host::MouseMove(outside.x, outside.y);
        ui::PumpUntilIdle();
        if (c.shift)
            host::KeyUp(VK_SHIFT);
        ui::PumpUntilIdle();
        EXPECT_EQ(c.stays, static_cast<bool>(list->IsTracking()));
        EXPECT_EQ(c.stays, ::GetCapture() == list->GetSafeHwnd());
        ::ReleaseCapture();
    }
}

TEST_F(VListWndTest, KeysMoveTheCurrentRowAndKeepItInView)
{
    CVLVListWnd& wnd = MakeList(100);
    const long page = wnd.GetVisibleRows().GetUpperBound();
    wnd.SetFocus();
    struct Case {
        UINT key;
        long current;
        UINT code;  // the notification of the key; 0: none
    } const cases[] = {
        {VK_DOWN, 1, LBN_SELCHANGE}, {VK_DOWN, 2, LBN_SELCHANGE},       {VK_UP, 1, LBN_SELCHANGE},
        {VK_UP, 1, 0},               {VK_NEXT, 1 + page, LBN_SELCHANGE}, {VK_END, 100, LBN_SELCHANGE},
        {VK_DOWN, 100, 0},           {VK_PRIOR, 100 - page, LBN_SELCHANGE}, {VK_HOME, 1, LBN_SELCHANGE},
        {VK_RETURN, 1, LBN_DBLCLK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key);
        const size_t before = Commands(parent).size();
        host::PressKey(c.key);
        ui::PumpUntilIdle();
        EXPECT_EQ(c.current, wnd.GetCurrentItemData());
        EXPECT_GE(c.current, wnd.GetFirstVisible());
        EXPECT_LE(c.current, wnd.GetLastVisible());
        // Wholly in view.
        CRect client;
        wnd.GetClientRect(&client);
        for (int i = 0; i < wnd.GetVisibleRows().GetSize(); ++i) {
            if (wnd.GetVisibleRows().GetAt(i).nRow == c.current) {
                EXPECT_LE(wnd.GetVisibleRows().GetAt(i).rect.bottom, client.bottom);
            }
        }
        const std::vector<CRecorder::Message> commands = Commands(parent);
        ASSERT_EQ(before + (c.code != 0 ? 1 : 0), commands.size());
        if (c.code != 0) {
            EXPECT_EQ(MAKEWPARAM(kListId, c.code), commands.back().wParam);
        }
    }
}

TEST_F(VListWndTest, ScrollToIndexTopAndCurrentAndTheSizeSetters)
{
    CVLVListWnd& wnd = MakeList(100);
    wnd.ScrollToIndex(40);
    EXPECT_EQ(40, wnd.GetFirstVisible());
    EXPECT_EQ(40, wnd.GetCurrentItemData());
    EXPECT_EQ(39, wnd.GetScrollPos(SB_VERT));
    Scroll(SB_TOP);
    EXPECT_EQ(1, wnd.GetFirstVisible());
    wnd.ScrollToCurrent();
    EXPECT_EQ(40, wnd.GetFirstVisible());
    Scroll(SB_LINEDOWN);
    wnd.ScrollToTop();
    EXPECT_EQ(41, wnd.GetFirstVisible());
    EXPECT_EQ(41, wnd.GetCurrentItemData());
    wnd.ScrollToIndex(500);
    EXPECT_EQ(100, wnd.GetFirstVisible()) << "past the end: the last row";

    wnd.ScrollToIndex(1);
    const int line = wnd.GetVisibleRows().GetAt(0).rect.bottom - wnd.GetVisibleRows().GetAt(0).rect.top;
    EXPECT_EQ(0, wnd.SetRowHeight(85));
    for (int i = 0; i < wnd.GetVisibleRows().GetSize(); ++i)
        EXPECT_EQ(85, wnd.GetVisibleRows().GetAt(i).rect.bottom - wnd.GetVisibleRows().GetAt(i).rect.top);
    EXPECT_EQ(3, wnd.GetVisibleRows().GetSize());  // 199 pixels: two rows and part of a third
    EXPECT_EQ(85, wnd.SetRowHeight(0));
    EXPECT_EQ(90, wnd.SetPointSize(180));
    EXPECT_GT(wnd.GetVisibleRows().GetAt(0).rect.bottom - wnd.GetVisibleRows().GetAt(0).rect.top, line + line / 2);
    EXPECT_EQ(180, wnd.SetPointSize(90));
}

TEST_F(VListWndTest, AnOnlineArticleWithoutItsFileIsMarkedNotDownloaded)
{
    app.m_pszProfileName = "T:\\vl00i1se.ini";
    ASSERT_TRUE(WritePrivateProfileString("Online", "Download", "T:\\dl", "T:\\vl00i1se.ini"));
    dir.Write("t/dl/yb001927.rcv", "record");
    // Online Back in Time articles (one downloaded), and a disc article.
    CVLVListWnd& wnd = MakeListOver({{"Aviation (1927)", 15001927}, {"Volcano (1980)", 15001980}, {"Jazz", 1004}}, 300, 200);
    const CVirtualVisibleRectArray& rows = wnd.GetVisibleRows();
    ASSERT_EQ(3, rows.GetSize());
    EXPECT_FALSE(rows.GetAt(0).bNotDownloaded);
    EXPECT_TRUE(rows.GetAt(1).bNotDownloaded);
    EXPECT_FALSE(rows.GetAt(2).bNotDownloaded);
    EXPECT_TRUE(BoxTexts().empty());
}

// The pixels of the screen rectangle of a visible row that have the colour.
int PixelsOf(CVLVListWnd& wnd, long row, COLORREF colour)
{
    const CVirtualVisibleRectArray& rows = wnd.GetVisibleRows();
    for (int i = 0; i < rows.GetSize(); ++i) {
        if (rows.GetAt(i).nRow != row)
            continue;
        CRect rect(rows.GetAt(i).rect);
        wnd.ClientToScreen(&rect);
        int n = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                n += host::DesktopPixel(x, y) == colour;
        return n;
    }
    return -1;
}

TEST_F(VListWndTest, TheSamplePlaceListScrolledToTheMiddle)
{
    discbuilder::WriteSampleLists(VL_SAMPLE_DIR, dir.path() / "t");
    CPlaceList places;
    ASSERT_TRUE(places.OpenFirstFile("T:\\map_loc.dat"));
    ASSERT_TRUE(places.Open("T:\\map_loc.ndx"));
    ASSERT_GT(places.GetCount(), 300);
    list = std::make_unique<CTrackingList>(&places);
    ASSERT_TRUE(list->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER, 0, CRect(20, 20, 260, 300), &parent, kListId));
    const long paris = places.FindTitle("Paris");
    ASSERT_GT(paris, 100);
    list->ScrollToIndex(paris - 4);
    Click(RowCentre(paris));
    Scroll(SB_LINEDOWN);
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASE);
    ui::PumpUntilIdle();

    EXPECT_EQ(paris - 3, list->GetFirstVisible());
    EXPECT_EQ("Paris, France", TitleOf(places, paris));
    EXPECT_EQ(paris, list->GetCurrentItemData());
    EXPECT_GT(PixelsOf(*list, paris, ::GetSysColor(COLOR_HIGHLIGHT)), 100) << "the current row is highlighted";
    EXPECT_EQ(0, PixelsOf(*list, paris + 1, ::GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_GT(PixelsOf(*list, paris + 1, RGB(0, 0, 0)), 10) << "other rows: black text";
    EXPECT_EQ(list->GetFirstVisible() - 1, list->GetScrollPos(SB_VERT));

    std::string path = (dir.path() / "vlist.png").string();
    ASSERT_TRUE(host::SaveDesktopPng(path));
    if (const char* keep = std::getenv("VL_KEEP_SCREENSHOTS"))
        std::filesystem::copy_file(path, std::filesystem::path(keep) / "vlist.png",
                                   std::filesystem::copy_options::overwrite_existing);
    list.reset();
}

}  // namespace
}  // namespace listdata
