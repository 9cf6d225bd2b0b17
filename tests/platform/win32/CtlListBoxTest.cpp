// The list box control: selection by mouse and keyboard in the three selection modes, sorting,
// owner-drawn items, searching, scrolling and the notifications its parent receives.
#include <windows.h>

#include <MessageSpy.h>
#include <TempDir.h>
#include <UiTest.h>

#include <host/Display.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace spy;

namespace {

constexpr int kListId = 77;

const char* const kWords[] = {"papa", "alpha", "mike", "delta", "tango", "echo", "bravo", "sierra", "golf", "kilo",
                              "charlie", "oscar", "hotel", "quebec", "india", "romeo", "juliet", "foxtrot",
                              "lima", "november"};

class ListBoxTest : public ui::UiTest {
protected:
    MessageSpy spy;
    HWND top = nullptr;

    void SetUp() override
    {
        ui::UiTest::SetUp();
        top = CreateWindowExA(0, MessageSpy::ClassName(), "Lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400,
                              nullptr, nullptr, nullptr, nullptr);
    }

    void TearDown() override
    {
        // The handlers refer to the test's locals: the windows die without them.
        spy.handler = nullptr;
        ui::UiTest::TearDown();
    }

    HWND List(DWORD style, int height = 100, int x = 10, int y = 10, int width = 150)
    {
        HWND lb = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | style, x, y, width, height, top,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), nullptr, nullptr);
        EXPECT_NE(lb, nullptr);
        return lb;
    }

    static void Add(HWND lb, const std::vector<std::string>& items)
    {
        for (const std::string& s : items)
            SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }

    // Notification codes from the list since the last call.
    std::vector<int> Notifications()
    {
        std::vector<int> out;
        for (const Recorded& r : spy.Log())
            if (r.hwnd == top && r.message == WM_COMMAND && LOWORD(r.wParam) == kListId)
                out.push_back(HIWORD(r.wParam));
        spy.Clear();
        return out;
    }

    // Screen point in the middle of an item.
    static POINT ItemPoint(HWND lb, int index)
    {
        RECT r{};
        SendMessageA(lb, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(lb, &p);
        return p;
    }

    static void ClickItem(HWND lb, int index)
    {
        POINT p = ItemPoint(lb, index);
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }

    static void Press(UINT vk)
    {
        host::PressKey(vk);
        ui::PumpUntilIdle();
    }

    static void WithKey(UINT modifier, const std::function<void()>& action)
    {
        host::KeyDown(modifier);
        ui::PumpUntilIdle();
        action();
        host::KeyUp(modifier);
        ui::PumpUntilIdle();
    }

    static std::vector<int> SelectedItems(HWND lb)
    {
        int n = static_cast<int>(SendMessageA(lb, LB_GETSELCOUNT, 0, 0));
        std::vector<int> out(static_cast<size_t>(std::max(0, n)));
        if (n > 0)
            SendMessageA(lb, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(out.data()));
        return out;
    }

    static std::string Text(HWND lb, int index)
    {
        char buf[256] = {};
        SendMessageA(lb, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf));
        return buf;
    }
};

TEST_F(ListBoxTest, ClickSelectsAndNotifiesOnRelease)
{
    HWND lb = List(LBS_NOTIFY);
    Add(lb, {"one", "two", "three", "four"});
    ui::PumpUntilIdle();
    Notifications();

    POINT p = ItemPoint(lb, 2);
    host::MouseMove(p.x, p.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    EXPECT_EQ(GetFocus(), lb);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Notifications(), std::vector<int>{LBN_SETFOCUS}) << "the change is told when the button comes up";
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_EQ(Notifications(), std::vector<int>{LBN_SELCHANGE});

    // Clicking the selected item again changes nothing; a double click tells LBN_DBLCLK.
    ClickItem(lb, 2);
    EXPECT_EQ(Notifications(), std::vector<int>{LBN_DBLCLK});
    ui::AdvanceClock(1000);
    ClickItem(lb, 0);
    EXPECT_EQ(Notifications(), std::vector<int>{LBN_SELCHANGE});
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 0);

    // Focus leaving the list is told even without LBS_NOTIFY's selection messages.
    SetFocus(top);
    EXPECT_EQ(Notifications(), std::vector<int>{LBN_KILLFOCUS});
}

// A press the system cancels (WM_CANCELMODE, as when a window comes up over the list) puts the
// selection back and tells LBN_SELCANCEL instead of LBN_SELCHANGE; changes made by the program
// are never told.
TEST_F(ListBoxTest, CancelledPressRestoresTheSelectionAndTellsSelCancel)
{
    for (DWORD style : {DWORD(0), DWORD(LBS_EXTENDEDSEL)}) {
        SCOPED_TRACE(style);
        HWND lb = List(LBS_NOTIFY | style);
        Add(lb, {"one", "two", "three", "four"});
        ClickItem(lb, 0);
        ui::AdvanceClock(1000);
        Notifications();

        POINT p = ItemPoint(lb, 2);
        host::MouseMove(p.x, p.y);
        host::MouseDown();
        ui::PumpUntilIdle();
        EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 2);
        // The system cancels the press: directly, or by disabling the list.
        if (style & LBS_EXTENDEDSEL)
            EnableWindow(lb, FALSE);
        else
            SendMessageA(lb, WM_CANCELMODE, 0, 0);
        EXPECT_EQ(GetCapture(), nullptr);
        host::MouseUp();
        ui::PumpUntilIdle();
        if (style & LBS_EXTENDEDSEL)
            EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCANCEL, LBN_KILLFOCUS})) << "a disabled list loses the focus";
        else
            EXPECT_EQ(Notifications(), std::vector<int>{LBN_SELCANCEL});
        EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 0);
        if (style & LBS_EXTENDEDSEL) {
            EXPECT_EQ(SelectedItems(lb), std::vector<int>{0});
        }
        EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 0);

        // The program's own changes notify nothing.
        if (style & LBS_EXTENDEDSEL) {
            SendMessageA(lb, LB_SETSEL, FALSE, -1);
            SendMessageA(lb, LB_SETSEL, TRUE, 3);
        } else {
            SendMessageA(lb, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), LB_ERR);
            SendMessageA(lb, LB_SETCURSEL, 3, 0);
        }
        EXPECT_EQ(Notifications(), std::vector<int>{});
        DestroyWindow(lb);
        ui::AdvanceClock(1000);
    }

    // Without LBS_NOTIFY the cancellation is silent, and so is a cancel with no press.
    HWND quiet = List(0);
    Add(quiet, {"one", "two"});
    ClickItem(quiet, 0);
    Notifications();
    POINT p = ItemPoint(quiet, 1);
    host::MouseMove(p.x, p.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    SendMessageA(quiet, WM_CANCELMODE, 0, 0);
    host::MouseUp();
    ui::PumpUntilIdle();
    SendMessageA(quiet, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(Notifications(), std::vector<int>{});
    EXPECT_EQ(SendMessageA(quiet, LB_GETCURSEL, 0, 0), 0);
}

TEST_F(ListBoxTest, WithoutNotifyOnlyFocusChangesAreTold)
{
    HWND lb = List(0);
    Add(lb, {"one", "two"});
    ui::PumpUntilIdle();
    Notifications();
    ClickItem(lb, 1);
    EXPECT_EQ(Notifications(), std::vector<int>{LBN_SETFOCUS});
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndControlClicks)
{
    HWND lb = List(LBS_NOTIFY | LBS_EXTENDEDSEL, 150);
    Add(lb, {"a", "b", "c", "d", "e", "f", "g"});
    ui::PumpUntilIdle();
    ClickItem(lb, 1);
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{1}));
    Notifications();

    WithKey(VK_SHIFT, [&] { ClickItem(lb, 4); });
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(Notifications(), std::vector<int>{LBN_SELCHANGE});
    EXPECT_EQ(SendMessageA(lb, LB_GETANCHORINDEX, 0, 0), 1);
    EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 4);

    WithKey(VK_CONTROL, [&] { ClickItem(lb, 6); });
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{1, 2, 3, 4, 6}));
    ui::AdvanceClock(1000);
    WithKey(VK_CONTROL, [&] { ClickItem(lb, 2); });
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{1, 3, 4, 6}));
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCHANGE, LBN_SELCHANGE}));

    // Shift from the new anchor (2) replaces the selection with the range.
    ui::AdvanceClock(1000);
    WithKey(VK_SHIFT, [&] { ClickItem(lb, 0); });
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{0, 1, 2}));

    // Dragging extends from where the button went down.
    ui::AdvanceClock(1000);
    POINT from = ItemPoint(lb, 3), to = ItemPoint(lb, 5);
    host::MouseMove(from.x, from.y);
    host::MouseDown();
    host::MouseMove(to.x, to.y);
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{3, 4, 5}));
    Notifications();

    // Shift+arrows extend with the keyboard; a plain arrow selects one item.
    WithKey(VK_SHIFT, [&] { Press(VK_DOWN); });
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{3, 4, 5, 6}));
    Press(VK_UP);
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{5}));
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCHANGE, LBN_SELCHANGE}));
}

TEST_F(ListBoxTest, MultipleSelectionTogglesWithClicksAndSpace)
{
    HWND lb = List(LBS_NOTIFY | LBS_MULTIPLESEL);
    Add(lb, {"a", "b", "c", "d"});
    ui::PumpUntilIdle();
    ClickItem(lb, 1);
    ui::AdvanceClock(1000);
    ClickItem(lb, 3);
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{1, 3}));
    ui::AdvanceClock(1000);
    ClickItem(lb, 1);
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{3}));
    Notifications();
    // Arrows move the focus only; space toggles the focused item.
    Press(VK_UP);
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{3}));
    EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 0);
    Press(VK_SPACE);
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{0, 3}));
    EXPECT_EQ(Notifications(), std::vector<int>{LBN_SELCHANGE});
    // The selection messages of multiple-selection lists.
    EXPECT_EQ(SendMessageA(lb, LB_SETCURSEL, 1, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_SETSEL, TRUE, -1), LB_OKAY);
    EXPECT_EQ(SelectedItems(lb).size(), 4u);
    EXPECT_EQ(SendMessageA(lb, LB_SELITEMRANGEEX, 2, 1), LB_OKAY) << "reversed range deselects";
    EXPECT_EQ(SelectedItems(lb), (std::vector<int>{0, 3}));
    EXPECT_EQ(SendMessageA(lb, LB_SELITEMRANGE, TRUE, MAKELPARAM(1, 2)), LB_OKAY);
    EXPECT_EQ(SelectedItems(lb).size(), 4u);
    EXPECT_GT(SendMessageA(lb, LB_GETSEL, 2, 0), 0);
}

TEST_F(ListBoxTest, SortedInsertionAndKeyboardNavigation)
{
    HWND lb = List(LBS_NOTIFY | LBS_SORT | WS_VSCROLL);
    for (const char* w : kWords)
        SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w));
    ASSERT_EQ(SendMessageA(lb, LB_GETCOUNT, 0, 0), 20);
    std::vector<std::string> texts;
    for (int i = 0; i < 20; ++i)
        texts.push_back(Text(lb, i));
    EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end()));
    // Case does not matter in the order; an insertion lands before the first greater item.
    EXPECT_EQ(SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Bz")), 2);
    SendMessageA(lb, LB_DELETESTRING, 2, 0);
    // Unsorted insertion at a position; past the end is an error.
    EXPECT_EQ(SendMessageA(lb, LB_INSERTSTRING, 25, reinterpret_cast<LPARAM>("x")), LB_ERR);

    SetFocus(lb);
    ui::PumpUntilIdle();
    int itemHeight = static_cast<int>(SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0));
    RECT client{};
    GetClientRect(lb, &client);
    int page = client.bottom / itemHeight;
    ASSERT_GE(page, 3);
    Notifications();

    struct Step {
        UINT key;
        int sel;
    };
    const Step steps[] = {
        {VK_DOWN, 0},  // nothing selected: the first item
        {VK_DOWN, 1},
        {VK_DOWN, 2},
        {VK_UP, 1},
        {VK_NEXT, 1 + page - 1},
        {VK_END, 19},
        {VK_PRIOR, 19 - (page - 1)},
        {VK_HOME, 0},
        {VK_RIGHT, 1},
    };
    for (const Step& s : steps) {
        Press(s.key);
        EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), s.sel) << "key " << s.key;
        EXPECT_EQ(Notifications(), std::vector<int>{LBN_SELCHANGE}) << "key " << s.key;
        int topIndex = static_cast<int>(SendMessageA(lb, LB_GETTOPINDEX, 0, 0));
        EXPECT_TRUE(s.sel >= topIndex && s.sel < topIndex + page) << "selection " << s.sel << " scrolled into view";
    }
    Press(VK_HOME);
    Notifications();
    Press(VK_HOME);
    EXPECT_TRUE(Notifications().empty()) << "no change, no notification";

    // Typed letters: a letter jumps to the next item beginning with it; letters typed
    // quickly extend the prefix; after a pause the search starts again.
    host::TypeText("s");
    ui::PumpUntilIdle();
    EXPECT_EQ(Text(lb, static_cast<int>(SendMessageA(lb, LB_GETCURSEL, 0, 0))), "sierra");
    ui::AdvanceClock(2000);
    host::TypeText("no");
    ui::PumpUntilIdle();
    EXPECT_EQ(Text(lb, static_cast<int>(SendMessageA(lb, LB_GETCURSEL, 0, 0))), "november");
    ui::AdvanceClock(2000);
    host::TypeText("o");
    ui::PumpUntilIdle();
    EXPECT_EQ(Text(lb, static_cast<int>(SendMessageA(lb, LB_GETCURSEL, 0, 0))), "oscar");
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}));
}

TEST_F(ListBoxTest, FindAndSelectStrings)
{
    HWND lb = List(LBS_NOTIFY);
    Add(lb, {"Apple", "apricot", "Banana", "apple"});
    struct Case {
        UINT msg;
        int start;
        const char* text;
        LRESULT want;
    };
    const Case cases[] = {
        {LB_FINDSTRING, -1, "ap", 0},       {LB_FINDSTRING, 0, "ap", 1},
        {LB_FINDSTRING, 1, "AP", 3},        {LB_FINDSTRING, 3, "ap", 0},  // wraps around
        {LB_FINDSTRING, -1, "cherry", LB_ERR}, {LB_FINDSTRING, -1, "", 0},
        {LB_FINDSTRINGEXACT, -1, "apple", 0}, {LB_FINDSTRINGEXACT, 0, "apple", 3},
        {LB_FINDSTRINGEXACT, -1, "app", LB_ERR}, {LB_FINDSTRING, 99, "b", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageA(lb, c.msg, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(c.text)), c.want)
            << c.text << " from " << c.start;
    Notifications();
    EXPECT_EQ(SendMessageA(lb, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ban")), 2);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(lb, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("zz")), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2) << "a failed search keeps the selection";
    EXPECT_TRUE(Notifications().empty()) << "selection by message is not notified";

    // Item data, text lengths and the errors of bad indexes.
    EXPECT_EQ(SendMessageA(lb, LB_SETITEMDATA, 1, 1234), TRUE);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 1, 0), 1234);
    EXPECT_EQ(SendMessageA(lb, LB_GETTEXTLEN, 1, 0), 7);
    EXPECT_EQ(SendMessageA(lb, LB_GETTEXTLEN, 4, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 4, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_DELETESTRING, 4, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_GETSELCOUNT, 0, 0), LB_ERR) << "single-selection list";
    EXPECT_EQ(SendMessageA(lb, LB_SETITEMHEIGHT, 0, 256), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_DELETESTRING, 0, 0), 3) << "returns the items left";
    EXPECT_EQ(SendMessageA(lb, LB_RESETCONTENT, 0, 0), LB_OKAY);
    EXPECT_EQ(SendMessageA(lb, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxTest, SelectionFollowsInsertionsAndDeletions)
{
    HWND lb = List(0);
    Add(lb, {"a", "b", "c"});
    SendMessageA(lb, LB_SETCURSEL, 1, 0);
    SendMessageA(lb, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("z"));
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2);
    SendMessageA(lb, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 1);
    SendMessageA(lb, LB_DELETESTRING, 1, 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), LB_ERR) << "deleting the selected item clears the selection";
}

TEST_F(ListBoxTest, IntegralHeightAndScrolling)
{
    HWND lb = List(WS_VSCROLL, 105);
    int h = static_cast<int>(SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0));
    RECT c{};
    GetClientRect(lb, &c);
    EXPECT_EQ(c.bottom % h, 0) << "the list is a whole number of items high";
    HWND loose = List(LBS_NOINTEGRALHEIGHT, 105, 200);
    RECT w{};
    GetWindowRect(loose, &w);
    EXPECT_EQ(w.bottom - w.top, 105);

    for (int i = 0; i < 30; ++i)
        SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(i)).c_str()));
    int page = c.bottom / h;
    SendMessageA(lb, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 1);
    SendMessageA(lb, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 1 + page - 1);
    SendMessageA(lb, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 30 - page) << "the last page stays full";
    SendMessageA(lb, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 4), 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 4);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(lb, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 29);
    EXPECT_EQ(si.nPage, static_cast<UINT>(page));
    EXPECT_EQ(si.nPos, 4) << "the scroll bar follows the top index";
    SendMessageA(lb, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 0);
    // A click on the scroll bar's down arrow scrolls a line.
    RECT frame{};
    GetWindowRect(lb, &frame);
    host::Click(frame.right - 1 - GetSystemMetrics(SM_CXVSCROLL) / 2, frame.bottom - 1 - GetSystemMetrics(SM_CYVSCROLL) / 2);
    ui::PumpUntilIdle();
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 1);
    SendMessageA(lb, WM_VSCROLL, SB_TOP, 0);
    // The wheel scrolls three lines a notch.
    POINT p = ItemPoint(lb, 0);
    host::MouseMove(p.x, p.y);
    SetFocus(lb);
    host::MouseWheel(-120);
    ui::PumpUntilIdle();
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 3);
    EXPECT_EQ(SendMessageA(lb, LB_SETTOPINDEX, 40, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_SETTOPINDEX, 10, 0), LB_OKAY);
    // Item rectangles are relative to the top item; hit testing gives the item and whether
    // the point is outside the items.
    RECT r{};
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMRECT, 12, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r.top, 2 * h);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)), 0) << "scrolled out of view";
    EXPECT_EQ(r.top, -10 * h);
    LRESULT hit = SendMessageA(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, h + 1));
    EXPECT_EQ(LOWORD(hit), 11);
    EXPECT_EQ(HIWORD(hit), 0);
}

TEST_F(ListBoxTest, WantKeyboardInputAsksTheParent)
{
    std::vector<std::pair<int, int>> asked;
    spy.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_VKEYTOITEM) {
            asked.emplace_back(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            return LOWORD(wParam) == VK_DOWN ? -2 : -1;
        }
        return std::nullopt;
    };
    HWND lb = List(LBS_WANTKEYBOARDINPUT);
    Add(lb, {"a", "b", "c"});
    SendMessageA(lb, LB_SETCURSEL, 1, 0);
    SetFocus(lb);
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 1) << "the parent took the key";
    Press(VK_UP);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 0) << "the parent let the list handle it";
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], std::make_pair(static_cast<int>(VK_DOWN), 1));
    EXPECT_EQ(asked[1], std::make_pair(static_cast<int>(VK_UP), 1));
}

// Owner-drawn lists: the parent measures, draws, compares and deletes.
struct OwnerLog {
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    std::vector<DELETEITEMSTRUCT> deleted;
    int compared = 0;
};

TEST_F(ListBoxTest, OwnerDrawVariableMeasuresEachItemAndDeletesThem)
{
    OwnerLog log;
    spy.handler = [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        switch (msg) {
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            mis->itemHeight = static_cast<UINT>(10 + mis->itemData);  // the data says how high
            log.measured.push_back(*mis);
            return TRUE;
        }
        case WM_DRAWITEM:
            log.drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DELETEITEM:
            log.deleted.push_back(*reinterpret_cast<DELETEITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMPAREITEM: {
            ++log.compared;
            auto* cis = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
            return cis->itemData1 < cis->itemData2 ? -1 : cis->itemData1 > cis->itemData2 ? 1 : 0;
        }
        default:
            return std::nullopt;
        }
    };
    HWND lb = List(LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_SORT, 200);
    for (ULONG_PTR data : {30u, 5u, 20u})
        SendMessageA(lb, LB_ADDSTRING, 0, static_cast<LPARAM>(data));
    EXPECT_GT(log.compared, 0) << "items without strings are sorted by the parent";
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 0, 0), 5);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 2, 0), 30);
    ASSERT_EQ(log.measured.size(), 3u);
    EXPECT_EQ(log.measured[0].CtlType, static_cast<UINT>(ODT_LISTBOX));
    EXPECT_EQ(log.measured[0].CtlID, static_cast<UINT>(kListId));
    EXPECT_EQ(log.measured[0].itemData, 30u);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0), 15);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMHEIGHT, 1, 0), 30);
    RECT r{};
    SendMessageA(lb, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, 15 + 30);
    EXPECT_EQ(r.bottom, 15 + 30 + 40);
    EXPECT_EQ(SendMessageA(lb, LB_FINDSTRING, static_cast<WPARAM>(-1), 20), 1) << "found by comparing";
    // LB_SETITEMHEIGHT changes one item.
    EXPECT_EQ(SendMessageA(lb, LB_SETITEMHEIGHT, 1, 12), LB_OKAY);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMHEIGHT, 1, 0), 12);

    // Painting draws every item whole, with its state.
    SendMessageA(lb, LB_SETCURSEL, 1, 0);
    SetFocus(lb);
    log.drawn.clear();
    InvalidateRect(lb, nullptr, TRUE);
    UpdateWindow(lb);
    ASSERT_EQ(log.drawn.size(), 3u);
    for (const DRAWITEMSTRUCT& d : log.drawn) {
        EXPECT_EQ(d.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
        EXPECT_EQ(d.hwndItem, lb);
        bool sel = d.itemID == 1;
        EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, sel) << d.itemID;
        EXPECT_EQ((d.itemState & ODS_FOCUS) != 0, sel) << d.itemID;
    }
    // A click redraws the two items whose selection changed (ODA_SELECT) and moves the focus
    // rectangle (ODA_FOCUS).
    ui::PumpUntilIdle();
    log.drawn.clear();
    ClickItem(lb, 0);
    bool selectedDrawn = false, unselectedDrawn = false;
    for (const DRAWITEMSTRUCT& d : log.drawn) {
        if (d.itemAction == ODA_SELECT && d.itemID == 0 && (d.itemState & ODS_SELECTED))
            selectedDrawn = true;
        if (d.itemAction == ODA_SELECT && d.itemID == 1 && !(d.itemState & ODS_SELECTED))
            unselectedDrawn = true;
    }
    EXPECT_TRUE(selectedDrawn);
    EXPECT_TRUE(unselectedDrawn);
    // The focus rectangle moves: the item losing it is drawn without ODS_FOCUS.
    std::vector<std::pair<UINT, bool>> focusDraws;
    for (const DRAWITEMSTRUCT& d : log.drawn)
        if (d.itemAction == ODA_FOCUS)
            focusDraws.emplace_back(d.itemID, (d.itemState & ODS_FOCUS) != 0);
    EXPECT_EQ(focusDraws, (std::vector<std::pair<UINT, bool>>{{1u, false}, {0u, true}}));
    log.drawn.clear();
    SetFocus(nullptr);
    ASSERT_FALSE(log.drawn.empty());
    EXPECT_EQ(log.drawn.back().itemAction, static_cast<UINT>(ODA_FOCUS));
    EXPECT_FALSE(log.drawn.back().itemState & ODS_FOCUS) << "losing the focus draws the caret item without it";

    // Removing items tells the parent each item's data.
    SendMessageA(lb, LB_DELETESTRING, 1, 0);
    ASSERT_EQ(log.deleted.size(), 1u);
    EXPECT_EQ(log.deleted[0].itemID, 1u);
    EXPECT_EQ(log.deleted[0].itemData, 20u);
    EXPECT_EQ(log.deleted[0].hwndItem, lb);
    SendMessageA(lb, LB_ADDSTRING, 0, 7);
    log.deleted.clear();
    SendMessageA(lb, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(log.deleted.size(), 3u);
    SendMessageA(lb, LB_ADDSTRING, 0, 9);
    log.deleted.clear();
    DestroyWindow(lb);
    ASSERT_EQ(log.deleted.size(), 1u);
    EXPECT_EQ(log.deleted[0].itemData, 9u);
}

TEST_F(ListBoxTest, OwnerDrawFixedMeasuresOnceAtCreation)
{
    OwnerLog log;
    spy.handler = [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            log.measured.push_back(*mis);
            mis->itemHeight = 24;
            return TRUE;
        }
        if (msg == WM_DRAWITEM) {
            log.drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return std::nullopt;
    };
    HWND lb = List(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 100);
    ASSERT_EQ(log.measured.size(), 1u);
    EXPECT_EQ(log.measured[0].itemID, 0u);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0), 24);
    Add(lb, {"x", "y"});
    EXPECT_EQ(log.measured.size(), 1u) << "fixed items are not measured one by one";
    EXPECT_EQ(Text(lb, 1), "y") << "LBS_HASSTRINGS keeps the texts";
    RECT c{};
    GetClientRect(lb, &c);
    EXPECT_EQ(c.bottom % 24, 0);
    ui::PumpUntilIdle();
    ASSERT_GE(log.drawn.size(), 2u);
    EXPECT_EQ(log.drawn[1].rcItem.top, 24);
    EXPECT_EQ(log.drawn[1].rcItem.bottom, 48);
}

// LBS_USETABSTOPS expands tabs to stops 32 dialog units apart, or to those LB_SETTABSTOPS sets
// (in quarters of the average character width); without the style the message fails.
TEST_F(ListBoxTest, TabStopsPlaceTheColumnsOfItems)
{
    HWND lb = List(LBS_USETABSTOPS, 60, 10, 10, 300);
    Add(lb, {"a\tb"});
    SendMessageA(lb, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), FALSE);
    HDC dc = GetDC(lb);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SIZE a{};
    GetTextExtentPoint32A(dc, "a", 1, &a);
    SelectObject(dc, old);
    ReleaseDC(lb, dc);
    RECT item{};
    SendMessageA(lb, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    // The first inked column after "a": where "b" starts, relative to the text's start.
    auto columnOfB = [&] {
        InvalidateRect(lb, nullptr, TRUE);
        ui::PumpUntilIdle();
        const int textLeft = item.left + 2;
        for (int x = textLeft + a.cx + 1; x < item.right; ++x)
            for (int y = item.top; y < item.bottom; ++y) {
                POINT p{x, y};
                ClientToScreen(lb, &p);
                if (host::DesktopPixel(p.x, p.y) == GetSysColor(COLOR_WINDOWTEXT))
                    return x - textLeft;
            }
        return -1;
    };
    EXPECT_NEAR(columnOfB(), MulDiv(32, tm.tmAveCharWidth, 4), 1) << "the default stops";
    INT every = 20;
    EXPECT_TRUE(SendMessageA(lb, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&every)));
    EXPECT_NEAR(columnOfB(), MulDiv(20, tm.tmAveCharWidth, 4), 1);
    INT stops[] = {44, 60};
    EXPECT_TRUE(SendMessageA(lb, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops)));
    EXPECT_NEAR(columnOfB(), MulDiv(44, tm.tmAveCharWidth, 4), 1);

    HWND plain = List(0, 60, 10, 80, 300);
    EXPECT_FALSE(SendMessageA(plain, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&every)));
}

TEST_F(ListBoxTest, ScreenshotShowsItemsSelectionAndFocus)
{
    HWND lb = List(LBS_NOTIFY | WS_VSCROLL, 120, 20, 20, 160);
    Add(lb, {"Aardvark", "Badger", "Cheetah", "Dingo", "Elephant", "Flamingo", "Gazelle", "Hyena", "Ibis", "Jackal"});
    ui::PumpUntilIdle();
    ClickItem(lb, 2);
    ui::PumpUntilIdle();

    RECT item{};
    SendMessageA(lb, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    POINT sel{item.right - 10, item.top + 2};
    ClientToScreen(lb, &sel);
    EXPECT_EQ(host::DesktopPixel(sel.x, sel.y), GetSysColor(COLOR_HIGHLIGHT));
    SendMessageA(lb, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&item));
    POINT plain{item.right - 10, item.top + 2};
    ClientToScreen(lb, &plain);
    EXPECT_EQ(host::DesktopPixel(plain.x, plain.y), GetSysColor(COLOR_WINDOW));
    // Some text is drawn in the unselected item.
    bool ink = false;
    for (int x = 0; x < 60 && !ink; ++x)
        for (int y = item.top; y < item.bottom && !ink; ++y) {
            POINT p{x, y};
            ClientToScreen(lb, &p);
            ink = host::DesktopPixel(p.x, p.y) == GetSysColor(COLOR_WINDOWTEXT);
        }
    EXPECT_TRUE(ink);

    TempDir tmp;
    std::string png = (tmp.path() / "listbox.png").string();
    RECT area{0, 0, 220, 180};
    ASSERT_TRUE(host::SaveDesktopPng(png, &area));
    if (const char* keep = std::getenv("VL_KEEP_SCREENSHOTS"))
        host::SaveDesktopPng(std::string(keep) + "/listbox.png", &area);
    std::ifstream in(png, std::ios::binary);
    char sig[8] = {};
    in.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
}

}  // namespace
