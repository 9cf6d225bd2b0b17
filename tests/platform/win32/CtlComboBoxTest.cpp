// The combo box control: the drop-down list opened and closed with mouse and keyboard, the
// selection notifications, sorting, owner-drawn items, the edit part and its notifications.
#include <windows.h>

#include <MessageSpy.h>
#include <TempDir.h>
#include <UiTest.h>

#include <host/Display.h>

#include <algorithm>
#include <cstdlib>
#include <strings.h>
#include <fstream>
#include <string>
#include <vector>

using namespace spy;

namespace {

constexpr int kComboId = 55;

class ComboBoxTest : public ui::UiTest {
protected:
    MessageSpy spy;
    HWND top = nullptr;

    void SetUp() override
    {
        ui::UiTest::SetUp();
        top = CreateWindowExA(0, MessageSpy::ClassName(), "Combos", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400,
                              nullptr, nullptr, nullptr, nullptr);
    }

    void TearDown() override
    {
        // The handlers refer to the test's locals: the windows die without them.
        spy.handler = nullptr;
        ui::UiTest::TearDown();
    }

    HWND Combo(DWORD style, int height = 150, int x = 20, int y = 20, int width = 150)
    {
        HWND cb = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, x, y, width, height, top,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboId)), nullptr, nullptr);
        EXPECT_NE(cb, nullptr);
        return cb;
    }

    static void Add(HWND cb, const std::vector<std::string>& items)
    {
        for (const std::string& s : items)
            SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }

    std::vector<int> Notifications()
    {
        std::vector<int> out;
        for (const Recorded& r : spy.Log())
            if (r.hwnd == top && r.message == WM_COMMAND && LOWORD(r.wParam) == kComboId)
                out.push_back(HIWORD(r.wParam));
        spy.Clear();
        return out;
    }

    static HWND DroppedList()
    {
        return FindWindowA("ComboLBox", nullptr);
    }

    // Screen point of the combo box's arrow button.
    static POINT ArrowPoint(HWND cb)
    {
        RECT w{};
        GetWindowRect(cb, &w);
        return POINT{w.right - 8, (w.top + w.bottom) / 2};
    }

    static POINT ListItemPoint(HWND list, int index)
    {
        RECT r{};
        SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(list, &p);
        return p;
    }

    static void Click(POINT p)
    {
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }

    static void Press(UINT vk)
    {
        host::PressKey(vk);
        ui::PumpUntilIdle();
    }

    static std::string WindowText(HWND w)
    {
        char buf[256] = {};
        GetWindowTextA(w, buf, sizeof buf);
        return buf;
    }
};

TEST_F(ComboBoxTest, DropDownListChosenWithTheMouse)
{
    HWND cb = Combo(CBS_DROPDOWNLIST);
    Add(cb, {"red", "green", "blue"});
    RECT w{};
    GetWindowRect(cb, &w);
    EXPECT_LT(w.bottom - w.top, 40) << "the window is only the selection field; the rest is the list's";
    ui::PumpUntilIdle();
    Notifications();

    Click(ArrowPoint(cb));
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    HWND list = DroppedList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    RECT lr{};
    GetWindowRect(list, &lr);
    EXPECT_EQ(lr.top, w.bottom) << "the list opens below the field";
    EXPECT_EQ(GetFocus(), cb);
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN}));

    // Moving over the items highlights them; releasing on one chooses it.
    POINT item = ListItemPoint(list, 1);
    host::MouseMove(item.x, item.y);
    ui::PumpUntilIdle();
    EXPECT_TRUE(Notifications().empty()) << "hovering is no selection change yet";
    Click(item);
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(WindowText(cb), "green");
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));

    // A click outside the open list closes it without a choice.
    ui::AdvanceClock(1000);
    Click(ArrowPoint(cb));
    POINT other = ListItemPoint(list, 2);
    host::MouseMove(other.x, other.y);
    ui::PumpUntilIdle();
    Click(POINT{300, 300});
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 1) << "the hovered item is not taken";
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));

    // Clicking the arrow of an open list closes it as well.
    ui::AdvanceClock(1000);
    Click(ArrowPoint(cb));
    ui::AdvanceClock(1000);
    Click(ArrowPoint(cb));
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, DropDownListWithTheKeyboard)
{
    HWND cb = Combo(CBS_DROPDOWNLIST | CBS_SORT);
    Add(cb, {"delta", "alpha", "charlie", "bravo"});
    char buf[32] = {};
    SendMessageA(cb, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "alpha") << "CBS_SORT";
    SetFocus(cb);
    ui::PumpUntilIdle();
    Notifications();

    // Closed: the arrows move the selection at once.
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 0);
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 1);
    Press(VK_END);
    EXPECT_EQ(WindowText(cb), "delta");
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}));
    // Typing a letter selects by the first letter.
    host::TypeText("b");
    ui::PumpUntilIdle();
    EXPECT_EQ(WindowText(cb), "bravo");
    EXPECT_EQ(Notifications(), std::vector<int>{CBN_SELCHANGE});

    // F4 opens; the arrows move in the list; Enter takes the item.
    Press(VK_F4);
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    Press(VK_DOWN);
    EXPECT_EQ(WindowText(cb), "charlie");
    Press(VK_RETURN);
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));

    // Alt+Down opens; Escape closes and goes back to the item selected when it opened.
    host::KeyDown(VK_MENU);
    host::PressKey(VK_DOWN);
    host::KeyUp(VK_MENU);
    ui::PumpUntilIdle();
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    Press(VK_UP);
    EXPECT_EQ(WindowText(cb), "bravo");
    Press(VK_ESCAPE);
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(WindowText(cb), "charlie");
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}));

    // Losing the focus closes an open list without a choice.
    Press(VK_F4);
    SetFocus(top);
    ui::PumpUntilIdle();
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}));
}

TEST_F(ComboBoxTest, MessagesOfTheListAndTheField)
{
    HWND cb = Combo(CBS_DROPDOWNLIST);
    Add(cb, {"one", "two", "three"});
    EXPECT_EQ(SendMessageA(cb, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(WindowText(cb), "three");
    EXPECT_EQ(GetWindowTextLengthA(cb), 5);
    EXPECT_EQ(SendMessageA(cb, CB_SETCURSEL, 7, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("tw")), 1);
    EXPECT_EQ(SendMessageA(cb, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ONE")), 0);
    EXPECT_EQ(SendMessageA(cb, CB_FINDSTRING, 0, reinterpret_cast<LPARAM>("t")), 1);
    EXPECT_EQ(SendMessageA(cb, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zero")), 0);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 2) << "the selection moves with its item";
    EXPECT_EQ(SendMessageA(cb, CB_SETITEMDATA, 1, 99), TRUE);
    EXPECT_EQ(SendMessageA(cb, CB_GETITEMDATA, 1, 0), 99);
    EXPECT_EQ(SendMessageA(cb, CB_GETLBTEXTLEN, 3, 0), 5);
    EXPECT_EQ(SendMessageA(cb, CB_GETLBTEXTLEN, 9, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SetWindowTextA(cb, "three"), TRUE) << "a drop-down list selects the matching item";
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(cb, CB_GETEDITSEL, 0, 0), CB_ERR) << "no edit part";
    // The height given at creation is the dropped list's; the field keeps its own.
    RECT dropped{};
    SendMessageA(cb, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom - dropped.top, 150);
    MoveWindow(cb, 20, 20, 150, 200, TRUE);
    SendMessageA(cb, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom - dropped.top, 200);
    int field = static_cast<int>(SendMessageA(cb, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    EXPECT_EQ(SendMessageA(cb, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + 10), CB_OKAY);
    RECT w{};
    GetWindowRect(cb, &w);
    EXPECT_EQ(w.bottom - w.top, field + 10 + 6);
    EXPECT_EQ(w.right - w.left, 150) << "the width stays";
    SendMessageA(cb, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom - dropped.top, 200 + 10) << "the list below the field keeps its height";
    SendMessageA(cb, WM_SETFONT, 0, FALSE);
    GetWindowRect(cb, &w);
    EXPECT_EQ(w.bottom - w.top, field + 6) << "a new font sets the field's height again";
    EXPECT_EQ(w.right - w.left, 150);
    SendMessageA(cb, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom - dropped.top, 200);
    // Showing the list by message tells CBN_DROPDOWN and CBN_CLOSEUP.
    ui::PumpUntilIdle();
    Notifications();
    SendMessageA(cb, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(cb, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_DROPDOWN, CBN_CLOSEUP}));
    EXPECT_EQ(SendMessageA(cb, CB_RESETCONTENT, 0, 0), CB_OKAY);
    EXPECT_EQ(SendMessageA(cb, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(WindowText(cb), "");
}

TEST_F(ComboBoxTest, OwnerDrawnComboMeasuresFieldAndItems)
{
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    std::vector<DELETEITEMSTRUCT> deleted;
    spy.handler = [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        switch (msg) {
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            measured.push_back(*mis);
            mis->itemHeight = mis->itemID == static_cast<UINT>(-1) ? 20 : 18;
            return TRUE;
        }
        case WM_DRAWITEM:
            drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DELETEITEM:
            deleted.push_back(*reinterpret_cast<DELETEITEMSTRUCT*>(lParam));
            return TRUE;
        default:
            return std::nullopt;
        }
    };
    HWND cb = Combo(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED);
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].itemID, static_cast<UINT>(-1)) << "the selection field first";
    EXPECT_EQ(measured[0].CtlType, static_cast<UINT>(ODT_COMBOBOX));
    EXPECT_EQ(measured[0].CtlID, static_cast<UINT>(kComboId));
    EXPECT_EQ(measured[1].itemID, 0u);
    EXPECT_EQ(SendMessageA(cb, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 20);
    EXPECT_EQ(SendMessageA(cb, CB_GETITEMHEIGHT, 0, 0), 18);
    for (ULONG_PTR data : {11u, 22u, 33u})
        SendMessageA(cb, CB_ADDSTRING, 0, static_cast<LPARAM>(data));
    EXPECT_EQ(SendMessageA(cb, CB_GETITEMDATA, 1, 0), 22) << "without CBS_HASSTRINGS the item is its data";
    SendMessageA(cb, CB_SETCURSEL, 1, 0);
    SetFocus(cb);
    ui::PumpUntilIdle();
    drawn.clear();
    InvalidateRect(cb, nullptr, TRUE);
    UpdateWindow(cb);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].itemID, 1u);
    EXPECT_EQ(drawn[0].itemData, 22u);
    EXPECT_EQ(drawn[0].hwndItem, cb);
    EXPECT_EQ(drawn[0].itemState & (ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS),
              static_cast<UINT>(ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS));
    // The dropped list draws its items for the combo box's parent.
    drawn.clear();
    SendMessageA(cb, CB_SHOWDROPDOWN, TRUE, 0);
    ui::PumpUntilIdle();
    int listItems = 0;
    for (const DRAWITEMSTRUCT& d : drawn)
        if (!(d.itemState & ODS_COMBOBOXEDIT)) {
            ++listItems;
            EXPECT_EQ(d.CtlType, static_cast<UINT>(ODT_COMBOBOX));
            EXPECT_EQ(d.hwndItem, cb);
            EXPECT_EQ(d.rcItem.bottom - d.rcItem.top, 18);
        }
    EXPECT_EQ(listItems, 3);
    SendMessageA(cb, CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageA(cb, CB_DELETESTRING, 0, 0);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].itemData, 11u);
    EXPECT_EQ(deleted[0].CtlType, static_cast<UINT>(ODT_COMBOBOX));
    EXPECT_EQ(deleted[0].hwndItem, cb);
}

TEST_F(ComboBoxTest, ScreenshotOfTheDroppedList)
{
    HWND cb = Combo(CBS_DROPDOWNLIST, 120, 20, 20, 160);
    Add(cb, {"Sentence", "Paragraph", "Sub-heading", "Article"});
    SendMessageA(cb, CB_SETCURSEL, 0, 0);
    HWND plain = Combo(CBS_DROPDOWNLIST, 120, 200, 20, 120);
    Add(plain, {"and", "or", "not"});
    SendMessageA(plain, CB_SETCURSEL, 1, 0);
    HWND editable = Combo(CBS_DROPDOWN, 120, 200, 70, 120);
    Add(editable, {"lion"});
    SetWindowTextA(editable, "tiger");
    SetFocus(cb);
    ui::PumpUntilIdle();
    // The focused field shows its text highlighted.
    RECT w{};
    GetWindowRect(cb, &w);
    EXPECT_EQ(host::DesktopPixel(w.left + 60, w.top + 5), GetSysColor(COLOR_HIGHLIGHT));
    GetWindowRect(plain, &w);
    EXPECT_EQ(host::DesktopPixel(w.left + 60, w.top + 5), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(host::DesktopPixel(w.right - 5, w.top + 5), GetSysColor(COLOR_BTNFACE)) << "the arrow button";
    Click(ArrowPoint(cb));
    HWND list = DroppedList();
    POINT item = ListItemPoint(list, 2);
    host::MouseMove(item.x, item.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(host::DesktopPixel(item.x + 40, item.y), GetSysColor(COLOR_HIGHLIGHT)) << "the item under the mouse";

    TempDir tmp;
    std::string png = (tmp.path() / "combo.png").string();
    RECT area{0, 0, 360, 200};
    ASSERT_TRUE(host::SaveDesktopPng(png, &area));
    if (const char* keep = std::getenv("VL_KEEP_SCREENSHOTS"))
        host::SaveDesktopPng(std::string(keep) + "/combo.png", &area);
    std::ifstream in(png, std::ios::binary);
    char sig[8] = {};
    in.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
    Press(VK_ESCAPE);
}

// ---- Combo boxes with an edit part --------------------------------------------------------

TEST_F(ComboBoxTest, DropDownEditTypingAndChoosing)
{
    HWND cb = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    Add(cb, {"lion", "tiger", "leopard"});
    HWND edit = GetWindow(cb, GW_CHILD);
    ASSERT_NE(edit, nullptr);
    char cls[16] = {};
    GetClassNameA(edit, cls, sizeof cls);
    EXPECT_EQ(strcasecmp(cls, "Edit"), 0) << cls;
    SetFocus(cb);
    ui::PumpUntilIdle();
    EXPECT_EQ(GetFocus(), edit) << "the edit part takes the focus";
    EXPECT_EQ(Notifications(), std::vector<int>{CBN_SETFOCUS});

    host::TypeText("ti");
    ui::PumpUntilIdle();
    EXPECT_EQ(WindowText(cb), "ti");
    std::vector<int> typed = Notifications();
    EXPECT_EQ(std::count(typed.begin(), typed.end(), CBN_EDITCHANGE), 2);
    EXPECT_EQ(std::count(typed.begin(), typed.end(), CBN_EDITUPDATE), 2);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), CB_ERR) << "typing leaves no item selected";

    // Down picks the item that starts with the typed text; its text replaces the edit's.
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(WindowText(cb), "tiger");
    EXPECT_EQ(Notifications(), std::vector<int>{CBN_SELCHANGE}) << "no edit change for the combo box's own text";

    // Choosing from the list with the mouse.
    Click(ArrowPoint(cb));
    HWND list = DroppedList();
    ASSERT_NE(list, nullptr);
    Click(ListItemPoint(list, 2));
    EXPECT_EQ(WindowText(cb), "leopard");
    EXPECT_EQ(Notifications(), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(GetFocus(), edit);
    DWORD start = 0, end = 0;
    SendMessageA(cb, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 7u) << "the chosen text is selected";
    EXPECT_EQ(SendMessageA(cb, CB_SETEDITSEL, 0, MAKELPARAM(1, 3)), TRUE);
    SendMessageA(cb, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    SetWindowTextA(cb, "puma");
    EXPECT_EQ(WindowText(edit), "puma");
}

TEST_F(ComboBoxTest, SimpleComboShowsItsListAlways)
{
    HWND cb = Combo(CBS_SIMPLE | CBS_SORT, 120);
    Add(cb, {"b", "a", "c"});
    HWND list = FindWindowExA(cb, nullptr, "ComboLBox", nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    RECT w{};
    GetWindowRect(cb, &w);
    EXPECT_EQ(w.bottom - w.top, 120) << "a simple combo box keeps its height";
    ui::PumpUntilIdle();
    Notifications();
    Click(ListItemPoint(list, 1));
    EXPECT_EQ(WindowText(cb), "b");
    std::vector<int> got = Notifications();
    EXPECT_NE(std::find(got.begin(), got.end(), CBN_SELCHANGE), got.end());
    Press(VK_DOWN);
    EXPECT_EQ(WindowText(cb), "c");
    EXPECT_EQ(Notifications(), std::vector<int>{CBN_SELCHANGE});
    SendMessageA(cb, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0), FALSE) << "nothing to drop";
}

}  // namespace
