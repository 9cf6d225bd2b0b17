// The list view in report view, image lists and the progress bar: messages, notifications in
// order, selection by mouse and keyboard, sorting, drawing.
#include "ControlTestSupport.h"

#include <commctrl.h>

#include <cstring>

namespace {

// One WM_NOTIFY as the parent saw it.
struct Note {
    UINT code;
    int item;
    int sub;
    UINT oldState;
    UINT newState;
    bool operator==(const Note&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Note& n)
{
    return os << "{code " << static_cast<int>(n.code) << ", item " << n.item << ", sub " << n.sub << ", " << n.oldState << "->"
              << n.newState << "}";
}

const UINT kChanging = LVN_ITEMCHANGING, kChanged = LVN_ITEMCHANGED;
const UINT kSel = LVIS_SELECTED, kFoc = LVIS_FOCUSED;

// A 16 x 16 picture: a filled shape of one colour on magenta (the transparent colour).
HBITMAP Picture(COLORREF colour, bool round)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bm = CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bm);
    RECT all{0, 0, 16, 16};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &all, magenta);
    DeleteObject(magenta);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    if (round)
        Ellipse(dc, 2, 2, 14, 14);
    else
        Rectangle(dc, 2, 3, 14, 13);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bm;
}

class ListViewTest : public ctl::ControlTest {
protected:
    std::vector<Note> notes;
    HWND list = nullptr;

    void SetUp() override
    {
        ctl::ControlTest::SetUp();
        spy.handler = [this](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg != WM_NOTIFY)
                return std::nullopt;
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->hwndFrom != list)
                return std::nullopt;
            Note n{hdr->code, -2, -2, 0, 0};
            if (hdr->code == LVN_ITEMCHANGING || hdr->code == LVN_ITEMCHANGED || hdr->code == LVN_INSERTITEM ||
                hdr->code == LVN_DELETEITEM || hdr->code == LVN_COLUMNCLICK || hdr->code == LVN_DELETEALLITEMS) {
                auto* nm = reinterpret_cast<NMLISTVIEW*>(lParam);
                n = {hdr->code, nm->iItem, nm->iSubItem, nm->uOldState, nm->uNewState};
            } else if (hdr->code == NM_CLICK || hdr->code == NM_DBLCLK) {
                auto* nm = reinterpret_cast<NMITEMACTIVATE*>(lParam);
                n = {hdr->code, nm->iItem, nm->iSubItem, 0, 0};
            } else if (hdr->code == LVN_GETDISPINFOA) {
                auto* di = reinterpret_cast<NMLVDISPINFOA*>(lParam);
                lstrcpynA(di->item.pszText, ("asked " + std::to_string(di->item.iItem)).c_str(), di->item.cchTextMax);
                return 0;
            }
            notes.push_back(n);
            return std::nullopt;
        };
    }

    // The message centre's list: four columns, rows with an icon and three sub-items.
    HWND MakeList(DWORD style, HIMAGELIST images)
    {
        list = Make(WC_LISTVIEW, "", style | LVS_REPORT | WS_BORDER, 1007, 10, 10, 390, 180);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), TRUE);
        if (images)
            SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
        const char* names[] = {"Subject", "Date", "Priority", "Status"};
        const int widths[] = {170, 80, 60, 60};
        for (int k = 0; k < 4; ++k) {
            LVCOLUMNA col{LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM, LVCFMT_LEFT, widths[k], const_cast<LPSTR>(names[k]), 0, k};
            EXPECT_EQ(SendMessageA(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&col)), k);
        }
        return list;
    }

    int AddRow(const char* subject, const char* date, const char* priority, const char* status, int image, LPARAM param)
    {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<LPSTR>(subject);
        item.iImage = image;
        item.lParam = param;
        int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
        const char* subs[] = {date, priority, status};
        for (int k = 0; k < 3; ++k) {
            LVITEMA sub{};
            sub.iSubItem = k + 1;
            sub.pszText = const_cast<LPSTR>(subs[k]);
            SendMessageA(list, LVM_SETITEMTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
        }
        return at;
    }

    void FourRows()
    {
        AddRow("Welcome to the message centre", "01/15/1998", "Normal", "Read", 1, 40);
        AddRow("New articles this month", "03/02/1998", "High", "Unread", 0, 10);
        AddRow("Atlas update available", "02/20/1998", "Low", "Unread", 0, 30);
        AddRow("Your subscription", "02/01/1998", "High", "Read", 1, 20);
    }

    std::string TextAt(int item, int sub)
    {
        char buf[128] = {};
        LVITEMA lv{};
        lv.iSubItem = sub;
        lv.pszText = buf;
        lv.cchTextMax = sizeof buf;
        SendMessageA(list, LVM_GETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
        return buf;
    }

    std::vector<int> Selected()
    {
        std::vector<int> out;
        for (int i = -1; (i = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
            out.push_back(i);
        return out;
    }

    POINT RowPoint(int item, int x = 40)
    {
        RECT r{LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
        return At(list, x, (r.top + r.bottom) / 2);
    }

    static void ClickWith(POINT p, UINT key)
    {
        host::KeyDown(key);
        host::Click(p.x, p.y);
        host::KeyUp(key);
        ui::PumpUntilIdle();
    }

    static HIMAGELIST TwoIcons()
    {
        HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR | ILC_MASK, 2, 2);
        HBITMAP unread = Picture(RGB(255, 255, 0), false);
        HBITMAP read = Picture(RGB(0, 128, 255), true);
        EXPECT_EQ(ImageList_AddMasked(images, unread, RGB(255, 0, 255)), 0);
        EXPECT_EQ(ImageList_AddMasked(images, read, RGB(255, 0, 255)), 1);
        DeleteObject(unread);
        DeleteObject(read);
        return images;
    }
};

TEST_F(ListViewTest, InsertsRowsWithSubItemsAndIcons)
{
    HIMAGELIST images = TwoIcons();
    MakeList(LVS_SHOWSELALWAYS, images);
    EXPECT_EQ(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0), reinterpret_cast<LRESULT>(images));
    FourRows();
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(TextAt(1, 0), "New articles this month");
    EXPECT_EQ(TextAt(1, 1), "03/02/1998");
    EXPECT_EQ(TextAt(1, 3), "Unread");
    EXPECT_EQ(TextAt(1, 7), "");
    LVITEMA lv{};
    lv.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    lv.iItem = 3;
    lv.stateMask = 0xFFFF;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&lv)));
    EXPECT_EQ(lv.iImage, 1);
    EXPECT_EQ(lv.lParam, 20);
    EXPECT_EQ(lv.state, 0u);
    // Each insertion was announced with its index; an index past the end appends.
    std::vector<Note> inserted;
    for (const Note& n : notes)
        if (n.code == LVN_INSERTITEM)
            inserted.push_back(n);
    ASSERT_EQ(inserted.size(), 4u);
    EXPECT_EQ(inserted[3].item, 3);
    LVITEMA far{LVIF_TEXT, 99, 0, 0, 0, const_cast<LPSTR>("Appended"), 0, 0, 0, 0};
    EXPECT_EQ(SendMessageA(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&far)), 4);
    LVITEMA bad{LVIF_TEXT, 0, 1, 0, 0, const_cast<LPSTR>("sub"), 0, 0, 0, 0};
    EXPECT_EQ(SendMessageA(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&bad)), -1);
    // Text the parent gives on request.
    LVITEMA ask{LVIF_TEXT, 0, 0, 0, 0, LPSTR_TEXTCALLBACKA, 0, 0, 0, 0};
    int asked = static_cast<int>(SendMessageA(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ask)));
    EXPECT_EQ(TextAt(asked, 0), "asked 0");

    LVCOLUMNA col{LVCF_WIDTH | LVCF_TEXT, 0, 0, nullptr, 0, 0};
    char name[32];
    col.pszText = name;
    col.cchTextMax = sizeof name;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMN, 2, reinterpret_cast<LPARAM>(&col)));
    EXPECT_STREQ(name, "Priority");
    EXPECT_EQ(col.cx, 60);
    EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), 170);

    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(asked), 0);
    SendMessageA(list, LVM_DELETEITEM, 4, 0);
    LVITEMA sel{};
    sel.state = sel.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&sel));
    ui::PumpUntilIdle();
    Screenshot("listview-report-unfocused.png");
    SetFocus(list);
    ui::PumpUntilIdle();
    Screenshot("listview-report.png");
}

TEST_F(ListViewTest, SortsByTheCallersComparisonBothWays)
{
    MakeList(0, nullptr);
    FourRows();
    struct Order {
        static int CALLBACK ByParam(LPARAM a, LPARAM b, LPARAM reverse)
        {
            int d = static_cast<int>(a - b);
            return reverse ? -d : d;
        }
    };
    ASSERT_TRUE(SendMessageA(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&Order::ByParam)));
    std::vector<std::string> subjects;
    for (int i = 0; i < 4; ++i)
        subjects.push_back(TextAt(i, 0));
    EXPECT_EQ(subjects, (std::vector<std::string>{"New articles this month", "Your subscription", "Atlas update available",
                                                  "Welcome to the message centre"}));
    EXPECT_EQ(TextAt(0, 2), "High");  // the sub-items go with their row
    ASSERT_TRUE(SendMessageA(list, LVM_SORTITEMS, 1, reinterpret_cast<LPARAM>(&Order::ByParam)));
    EXPECT_EQ(TextAt(0, 0), "Welcome to the message centre");
    EXPECT_EQ(TextAt(3, 0), "New articles this month");
    EXPECT_EQ(TextAt(3, 1), "03/02/1998");
    // The row of a given item is found by its value.
    LVFINDINFOA fi{LVFI_PARAM, nullptr, 30, {0, 0}, 0};
    EXPECT_EQ(SendMessageA(list, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&fi)), 1);
    EXPECT_FALSE(SendMessageA(list, LVM_SORTITEMS, 0, 0));
}

TEST_F(ListViewTest, MultipleSelectionWithMouseAndKeyboard)
{
    MakeList(LVS_SHOWSELALWAYS, nullptr);
    FourRows();
    ClickAt(RowPoint(0));
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(Selected(), (std::vector<int>{0}));
    ClickWith(RowPoint(2), VK_SHIFT);
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2}));
    ClickWith(RowPoint(1), VK_CONTROL);
    EXPECT_EQ(Selected(), (std::vector<int>{0, 2}));
    EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 1);

    // Keys: Down moves the selection, Shift+Down extends it from the mark, Ctrl+Down only
    // moves the focus and Ctrl+Space adds the focused item.
    host::PressKey(VK_DOWN);
    ui::PumpUntilIdle();
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
    host::KeyDown(VK_SHIFT);
    host::PressKey(VK_DOWN);
    host::KeyUp(VK_SHIFT);
    ui::PumpUntilIdle();
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3}));
    host::KeyDown(VK_CONTROL);
    host::PressKey(VK_HOME);
    host::PressKey(VK_SPACE);
    host::KeyUp(VK_CONTROL);
    ui::PumpUntilIdle();
    EXPECT_EQ(Selected(), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 0);
    host::PressKey(VK_END);
    ui::PumpUntilIdle();
    EXPECT_EQ(Selected(), (std::vector<int>{3}));

    // A click below the rows clears the selection; a disabled list takes no input.
    RECT client;
    GetClientRect(list, &client);
    ClickAt(At(list, 40, client.bottom - 4));
    EXPECT_TRUE(Selected().empty());
    EnableWindow(list, FALSE);
    ClickAt(RowPoint(1));
    EXPECT_TRUE(Selected().empty());
    ui::PumpUntilIdle();
    Screenshot("listview-disabled.png");

    // A single-selection list keeps one item however it is clicked.
    DestroyWindow(list);
    MakeList(LVS_SINGLESEL, nullptr);
    FourRows();
    ClickAt(RowPoint(0));
    ClickWith(RowPoint(2), VK_SHIFT);
    ClickWith(RowPoint(3), VK_CONTROL);
    EXPECT_EQ(Selected(), (std::vector<int>{3}));
}

TEST_F(ListViewTest, NotificationsComeInOrderWithTheirContents)
{
    MakeList(0, nullptr);
    FourRows();
    ClickAt(RowPoint(1));
    notes.clear();
    ClickAt(RowPoint(3, 200));  // on the item's "Date" sub-item
    std::vector<Note> want = {
        {kChanging, 1, 0, kSel | kFoc, kFoc},  {kChanged, 1, 0, kSel | kFoc, kFoc},  // deselect the old
        {kChanging, 1, 0, kFoc, 0},            {kChanged, 1, 0, kFoc, 0},            // its focus moves
        {kChanging, 3, 0, 0, kSel | kFoc},     {kChanged, 3, 0, 0, kSel | kFoc},     // select the new
        {static_cast<UINT>(NM_CLICK), 3, 1, 0, 0},
    };
    EXPECT_EQ(notes, want);

    // A double click: the first click's notes, then NM_DBLCLK for the item.
    notes.clear();
    POINT p = RowPoint(3);
    host::Click(p.x, p.y);
    host::Click(p.x, p.y);
    ui::PumpUntilIdle();
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.back(), (Note{static_cast<UINT>(NM_DBLCLK), 3, 0, 0, 0}));

    // The header: a click on "Priority" asks to sort by sub-item 2, and only once released.
    notes.clear();
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    POINT priority = At(list, 170 + 80 + 20, r.top / 2);
    host::MouseMove(priority.x, priority.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    EXPECT_TRUE(notes.empty());
    Screenshot("listview-header-pressed.png");
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_EQ(notes, (std::vector<Note>{{LVN_COLUMNCLICK, -1, 2, 0, 0}}));
    // Released elsewhere, it does nothing.
    notes.clear();
    host::MouseMove(priority.x, priority.y);
    host::MouseDown();
    POINT away = RowPoint(2);
    host::MouseMove(away.x, away.y);
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_TRUE(notes.empty());

    // Refusing the change in LVN_ITEMCHANGING keeps the state.
    auto record = spy.handler;
    spy.handler = [&](HWND h, UINT msg, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == LVN_ITEMCHANGING)
            return TRUE;
        return record(h, msg, w, l);
    };
    LVITEMA sel{};
    sel.state = sel.stateMask = LVIS_SELECTED;
    EXPECT_FALSE(SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&sel)));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_SELECTED), 0);
    spy.handler = record;

    // Deleting: one note per item unless the parent answers TRUE to LVN_DELETEALLITEMS.
    notes.clear();
    SendMessageA(list, LVM_DELETEITEM, 0, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(notes, (std::vector<Note>{{LVN_DELETEITEM, 0, 0, 0, 0},
                                        {LVN_DELETEALLITEMS, -1, 0, 0, 0},
                                        {LVN_DELETEITEM, 0, 0, 0, 0},
                                        {LVN_DELETEITEM, 1, 0, 0, 0},
                                        {LVN_DELETEITEM, 2, 0, 0, 0}}));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST(ImageListTest, DrawsThroughItsMasks)
{
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR | ILC_MASK, 1, 1);
    HBITMAP square = Picture(RGB(0, 200, 0), false);
    EXPECT_EQ(ImageList_AddMasked(images, square, RGB(255, 0, 255)), 0);
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    EXPECT_EQ(ImageList_AddIcon(images, icon), 1);
    EXPECT_EQ(ImageList_GetImageCount(images), 2);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(images, &cx, &cy));
    EXPECT_EQ(cx, 16);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 40, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all{0, 0, 40, 20};
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(dc, &all, grey);
    DeleteObject(grey);
    EXPECT_TRUE(ImageList_Draw(images, 0, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(128, 128, 128));  // magenta was transparent
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(0, 200, 0));
    EXPECT_EQ(GetPixel(dc, 2, 8), RGB(0, 0, 0));  // the square's outline
    EXPECT_TRUE(ImageList_Draw(images, 0, dc, 20, 0, ILD_MASK));
    EXPECT_EQ(GetPixel(dc, 20, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 28, 8), RGB(0, 0, 0));
    EXPECT_FALSE(ImageList_Draw(images, 2, dc, 0, 0, ILD_NORMAL));

    // An icon from the list draws as the image did.
    HICON back = ImageList_GetIcon(images, 0, ILD_NORMAL);
    ASSERT_NE(back, nullptr);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, back, 16, 16, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(0, 200, 0));
    DestroyIcon(back);

    EXPECT_TRUE(ImageList_Remove(images, 0));
    EXPECT_EQ(ImageList_GetImageCount(images), 1);
    EXPECT_TRUE(ImageList_RemoveAll(images));
    EXPECT_EQ(ImageList_GetImageCount(images), 0);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    DeleteObject(square);
    EXPECT_TRUE(ImageList_Destroy(images));
    EXPECT_FALSE(ImageList_Destroy(images));  // a second destroy is refused, not a crash
    EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR, 1, 1), nullptr);
}

TEST_F(ListViewTest, ProgressBarRangeStepAndLook)
{
    HWND bars[3];
    const int positions[] = {0, 37, 100};
    for (int k = 0; k < 3; ++k) {
        bars[k] = Make(PROGRESS_CLASS, "", 0, 1005 + k, 20, 20 + 30 * k, 200, 18);
        SendMessageA(bars[k], PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        SendMessageA(bars[k], PBM_SETPOS, static_cast<WPARAM>(positions[k]), 0);
    }
    HWND smooth = Make(PROGRESS_CLASS, "", PBS_SMOOTH, 1010, 20, 110, 200, 18);
    SendMessageA(smooth, PBM_SETPOS, 37, 0);
    HWND p = bars[1];
    EXPECT_EQ(SendMessageA(p, PBM_GETPOS, 0, 0), 37);
    PBRANGE range{};
    EXPECT_EQ(SendMessageA(p, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 0);
    EXPECT_EQ(range.iHigh, 100);

    // A download of 250000 bytes: the range is 32-bit; positions outside it are held at its ends.
    HWND d = Make(PROGRESS_CLASS, "", 0, 1011, 20, 140, 200, 18);
    EXPECT_EQ(SendMessageA(d, PBM_SETRANGE32, 0, 250000), MAKELRESULT(0, 100));
    EXPECT_EQ(SendMessageA(d, PBM_SETPOS, 125000, 0), 0);
    EXPECT_EQ(SendMessageA(d, PBM_SETPOS, 300000, 0), 125000);
    EXPECT_EQ(SendMessageA(d, PBM_GETPOS, 0, 0), 250000);
    EXPECT_EQ(SendMessageA(d, PBM_DELTAPOS, static_cast<WPARAM>(-50000), 0), 250000);
    EXPECT_EQ(SendMessageA(d, PBM_GETPOS, 0, 0), 200000);
    SendMessageA(d, PBM_SETPOS, static_cast<WPARAM>(-5), 0);
    EXPECT_EQ(SendMessageA(d, PBM_GETPOS, 0, 0), 0);

    // Steps: the default is 10; past the end the bar starts again.
    HWND st = Make(PROGRESS_CLASS, "", 0, 1012, 20, 170, 200, 18);
    EXPECT_EQ(SendMessageA(st, PBM_STEPIT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(st, PBM_GETPOS, 0, 0), 10);
    EXPECT_EQ(SendMessageA(st, PBM_SETSTEP, 40, 0), 10);
    SendMessageA(st, PBM_STEPIT, 0, 0);
    SendMessageA(st, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageA(st, PBM_GETPOS, 0, 0), 90);
    EXPECT_EQ(SendMessageA(st, PBM_STEPIT, 0, 0), 90);
    EXPECT_EQ(SendMessageA(st, PBM_GETPOS, 0, 0), 30);
    DestroyWindow(d);
    DestroyWindow(st);
    ui::PumpUntilIdle();
    Screenshot("progress-0-37-100.png");

    // The look: empty at 0, a little over a third filled at 37, full at 100 (in the highlight
    // colour, inside the two-pixel frame).
    RECT r;
    GetWindowRect(bars[0], &r);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_NE(host::DesktopPixel(r.left + 3, r.top + 9), highlight);
    GetWindowRect(bars[1], &r);
    EXPECT_EQ(host::DesktopPixel(r.left + 3, r.top + 9), highlight);
    EXPECT_NE(host::DesktopPixel(r.left + 100, r.top + 9), highlight);
    GetWindowRect(bars[2], &r);
    EXPECT_EQ(host::DesktopPixel(r.right - 4, r.top + 9), highlight);
    GetWindowRect(smooth, &r);
    EXPECT_EQ(host::DesktopPixel(r.left + 60, r.top + 9), highlight);
    EXPECT_NE(host::DesktopPixel(r.left + 90, r.top + 9), highlight);
}

}  // namespace
