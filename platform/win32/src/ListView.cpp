// The list view (WC_LISTVIEW) in report view: items with sub-items in columns under a header
// that is drawn and clickable, small images from an image list, single or multiple selection by
// mouse and keyboard, sorting by the caller's comparison, and the LVM_ interface with its
// notifications (LVN_ITEMCHANGING / LVN_ITEMCHANGED around every state change, LVN_INSERTITEM,
// LVN_DELETEITEM, LVN_DELETEALLITEMS, LVN_COLUMNCLICK, LVN_KEYDOWN, LVN_GETDISPINFO, NM_CLICK,
// NM_DBLCLK, NM_RETURN, NM_SETFOCUS, NM_KILLFOCUS). The other views (icons, small icons, list)
// lay their items out as the report view does, one item a row.
#include "ControlsInternal.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace controls {
namespace {

struct Column {
    std::string text;
    int fmt = LVCFMT_LEFT;
    int cx = 50;
    int subItem = 0;
};

struct Item {
    std::vector<std::string> texts;  // by sub-item
    std::vector<bool> callback;      // text asked for with LVN_GETDISPINFO
    int image = 0;
    LPARAM param = 0;
    UINT state = 0;
    int indent = 0;
};

struct ListState {
    std::vector<Column> columns;
    std::vector<Item> items;
    HIMAGELIST images[3] = {nullptr, nullptr, nullptr};
    int top = 0;
    int mark = -1;
    COLORREF background = 0;
    COLORREF textColor = 0;
    COLORREF textBackground = 0;
    HFONT font = nullptr;
    DWORD exStyle = 0;
    UINT callbackMask = 0;
    bool focused = false;
    int pressedColumn = -1;    // header item held down
    bool pressedInside = false;
    bool headerClicks = true;  // false for the press of a double click
    bool clickPending = false; // a click on the items waits for its button-up
    bool created = false;
};

LONG Style(HWND hwnd) { return GetWindowLongA(hwnd, GWL_STYLE); }
ListState& S(HWND hwnd) { return StateOf<ListState>(hwnd); }
int Count(const ListState& s) { return static_cast<int>(s.items.size()); }

int TextHeight(HWND hwnd, const ListState& s)
{
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, FontOf(s.font));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return std::max<int>(1, tm.tmHeight);
}

int TextWidth(HWND hwnd, const ListState& s, const std::string& text)
{
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, FontOf(s.font));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return size.cx;
}

SIZE SmallImage(const ListState& s)
{
    int cx = 0, cy = 0;
    if (s.images[LVSIL_SMALL])
        ImageList_GetIconSize(s.images[LVSIL_SMALL], &cx, &cy);
    return SIZE{cx, cy};
}

int HeaderHeight(HWND hwnd, const ListState& s)
{
    return (Style(hwnd) & LVS_NOCOLUMNHEADER) ? 0 : TextHeight(hwnd, s) + 6;
}

int RowHeight(HWND hwnd, const ListState& s) { return std::max(TextHeight(hwnd, s) + 1, static_cast<int>(SmallImage(s).cy) + 1); }

int PerPage(HWND hwnd, const ListState& s)
{
    RECT c;
    GetClientRect(hwnd, &c);
    return std::max(1, static_cast<int>(c.bottom - HeaderHeight(hwnd, s)) / RowHeight(hwnd, s));
}

int ColumnLeft(const ListState& s, int column)
{
    int x = 0;
    for (int c = 0; c < column && c < static_cast<int>(s.columns.size()); ++c)
        x += s.columns[static_cast<size_t>(c)].cx;
    return x;
}

int RowTop(HWND hwnd, const ListState& s, int item) { return HeaderHeight(hwnd, s) + (item - s.top) * RowHeight(hwnd, s); }

LRESULT SendNotify(HWND hwnd, NMHDR& hdr, UINT code)
{
    HWND parent = GetParent(hwnd);
    if (!parent)
        return 0;
    hdr.hwndFrom = hwnd;
    hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrA(hwnd, GWLP_ID));
    hdr.code = code;
    return SendMessageA(parent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

LRESULT NotifyList(HWND hwnd, UINT code, int item, int sub, UINT newState, UINT oldState, UINT changed, LPARAM param,
                   POINT at = POINT{0, 0})
{
    NMLISTVIEW nm{};
    nm.iItem = item;
    nm.iSubItem = sub;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = changed;
    nm.ptAction = at;
    nm.lParam = param;
    return SendNotify(hwnd, nm.hdr, code);
}

void NotifyActivate(HWND hwnd, UINT code, int item, int sub, POINT at)
{
    NMITEMACTIVATE nm{};
    nm.iItem = item;
    nm.iSubItem = sub;
    nm.ptAction = at;
    if (GetKeyState(VK_SHIFT) < 0)
        nm.uKeyFlags |= 0x0004;  // LVKF_SHIFT
    if (GetKeyState(VK_CONTROL) < 0)
        nm.uKeyFlags |= 0x0002;  // LVKF_CONTROL
    SendNotify(hwnd, nm.hdr, code);
}

void NotifyPlain(HWND hwnd, UINT code)
{
    NMHDR hdr{};
    SendNotify(hwnd, hdr, code);
}

bool ValidItem(const ListState& s, int i) { return i >= 0 && i < Count(s); }

void InvalidateItem(HWND hwnd, const ListState& s, int i)
{
    RECT c;
    GetClientRect(hwnd, &c);
    int y = RowTop(hwnd, s, i);
    RECT r{0, y, c.right, y + RowHeight(hwnd, s)};
    InvalidateRect(hwnd, &r, TRUE);
}

int Focused(const ListState& s)
{
    for (int i = 0; i < Count(s); ++i)
        if (s.items[static_cast<size_t>(i)].state & LVIS_FOCUSED)
            return i;
    return -1;
}

// Changes an item's state with LVN_ITEMCHANGING first (a TRUE answer refuses) and
// LVN_ITEMCHANGED after. Giving an item the focus takes it from the item that had it; selecting
// one in a single-selection list deselects the others.
bool ChangeState(HWND hwnd, ListState& s, int i, UINT state, UINT mask)
{
    if (!ValidItem(s, i))
        return false;
    UINT old = s.items[static_cast<size_t>(i)].state;
    UINT want = (old & ~mask) | (state & mask);
    if (want == old)
        return true;
    if ((want & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (Style(hwnd) & LVS_SINGLESEL))
        for (int k = 0; k < Count(s); ++k)
            if (k != i && (s.items[static_cast<size_t>(k)].state & LVIS_SELECTED))
                ChangeState(hwnd, s, k, 0, LVIS_SELECTED);
    if ((want & LVIS_FOCUSED) && !(old & LVIS_FOCUSED)) {
        int had = Focused(s);
        if (had >= 0 && had != i)
            ChangeState(hwnd, s, had, 0, LVIS_FOCUSED);
    }
    if (!ValidItem(s, i))
        return false;  // the parent removed it meanwhile
    old = s.items[static_cast<size_t>(i)].state;
    want = (old & ~mask) | (state & mask);
    LPARAM param = s.items[static_cast<size_t>(i)].param;
    if (NotifyList(hwnd, LVN_ITEMCHANGING, i, 0, want, old, LVIF_STATE, param))
        return false;
    if (!ValidItem(s, i))
        return false;
    s.items[static_cast<size_t>(i)].state = want;
    InvalidateItem(hwnd, s, i);
    NotifyList(hwnd, LVN_ITEMCHANGED, i, 0, want, old, LVIF_STATE, param);
    return true;
}

void UpdateScrollBar(HWND hwnd, ListState& s)
{
    if (Style(hwnd) & LVS_NOSCROLL)
        return;
    int page = PerPage(hwnd, s);
    s.top = std::clamp(s.top, 0, std::max(0, Count(s) - page));
    SCROLLINFO si{sizeof si, SIF_ALL, 0, std::max(0, Count(s) - 1), static_cast<UINT>(page), s.top, 0};
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void ScrollTo(HWND hwnd, ListState& s, int top)
{
    top = std::clamp(top, 0, std::max(0, Count(s) - PerPage(hwnd, s)));
    if (top == s.top)
        return;
    s.top = top;
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateScrollBar(hwnd, s);
}

void EnsureVisible(HWND hwnd, ListState& s, int i)
{
    if (!ValidItem(s, i))
        return;
    int page = PerPage(hwnd, s);
    if (i < s.top)
        ScrollTo(hwnd, s, i);
    else if (i >= s.top + page)
        ScrollTo(hwnd, s, i - page + 1);
}

// The text of an item's sub-item: its own, or the parent's answer to LVN_GETDISPINFO.
std::string TextOf(HWND hwnd, ListState& s, int i, int sub)
{
    Item& item = s.items[static_cast<size_t>(i)];
    size_t k = static_cast<size_t>(sub);
    if (k < item.callback.size() && item.callback[k]) {
        char buffer[260] = {};
        NMLVDISPINFOA di{};
        di.item.mask = LVIF_TEXT;
        di.item.iItem = i;
        di.item.iSubItem = sub;
        di.item.pszText = buffer;
        di.item.cchTextMax = sizeof buffer;
        di.item.lParam = item.param;
        SendNotify(hwnd, di.hdr, LVN_GETDISPINFOA);
        if (!di.item.pszText || di.item.pszText == LPSTR_TEXTCALLBACKA)
            return std::string();
        return std::string(di.item.pszText, strnlen(di.item.pszText, 259));
    }
    return k < item.texts.size() ? item.texts[k] : std::string();
}

int ImageOf(HWND hwnd, ListState& s, int i)
{
    Item& item = s.items[static_cast<size_t>(i)];
    if (item.image != I_IMAGECALLBACK)
        return item.image;
    NMLVDISPINFOA di{};
    di.item.mask = LVIF_IMAGE;
    di.item.iItem = i;
    di.item.lParam = item.param;
    SendNotify(hwnd, di.hdr, LVN_GETDISPINFOA);
    return di.item.iImage;
}

void SetText(Item& item, int sub, LPCSTR text)
{
    size_t k = static_cast<size_t>(sub);
    if (item.texts.size() <= k) {
        item.texts.resize(k + 1);
        item.callback.resize(k + 1, false);
    }
    item.callback[k] = text == LPSTR_TEXTCALLBACKA;
    item.texts[k] = (text && text != LPSTR_TEXTCALLBACKA) ? std::string(text) : std::string();
}

// Geometry of an item: the whole row, the icon and the label of the first column.
RECT ItemRect(HWND hwnd, ListState& s, int i, int part)
{
    int y = RowTop(hwnd, s, i);
    int h = RowHeight(hwnd, s);
    int width = ColumnLeft(s, static_cast<int>(s.columns.size()));
    int first = s.columns.empty() ? width : s.columns[0].cx;
    SIZE image = SmallImage(s);
    int indent = s.items[static_cast<size_t>(i)].indent * std::max<int>(image.cx, 16);
    int iconLeft = 2 + indent;
    int labelLeft = iconLeft + (image.cx ? image.cx + 2 : 0);
    switch (part) {
    case LVIR_ICON:
        return RECT{iconLeft, y, iconLeft + image.cx, y + h};
    case LVIR_LABEL:
        return RECT{labelLeft, y, std::max(labelLeft, first), y + h};
    case LVIR_SELECTBOUNDS:
        if (!(s.exStyle & LVS_EX_FULLROWSELECT)) {
            int text = TextWidth(hwnd, s, TextOf(hwnd, s, i, 0)) + 4;
            return RECT{image.cx ? iconLeft : labelLeft, y, std::min(labelLeft + text, std::max(labelLeft, first)), y + h};
        }
        return RECT{0, y, width, y + h};
    default:
        return RECT{0, y, width, y + h};
    }
}

// The item and sub-item at a point of the client area (-1 when none), with LVHT_ flags.
int HitTest(HWND hwnd, ListState& s, POINT p, UINT& flags, int& sub)
{
    sub = -1;
    RECT c;
    GetClientRect(hwnd, &c);
    int header = HeaderHeight(hwnd, s);
    if (p.y < header) {
        flags = LVHT_ABOVE;
        return -1;
    }
    int i = s.top + (p.y - header) / RowHeight(hwnd, s);
    if (p.x >= ColumnLeft(s, static_cast<int>(s.columns.size())))
        flags = LVHT_TORIGHT;
    if (!ValidItem(s, i) || p.x < 0) {
        flags = i >= Count(s) ? LVHT_NOWHERE : LVHT_NOWHERE;
        return -1;
    }
    for (int k = 0; k < static_cast<int>(s.columns.size()); ++k)
        if (p.x >= ColumnLeft(s, k) && p.x < ColumnLeft(s, k + 1))
            sub = k;
    if (sub < 0) {
        flags = LVHT_NOWHERE;
        return -1;
    }
    RECT icon = ItemRect(hwnd, s, i, LVIR_ICON);
    RECT label = ItemRect(hwnd, s, i, LVIR_SELECTBOUNDS);
    if (sub == 0 && p.x >= icon.left && p.x < icon.right)
        flags = LVHT_ONITEMICON;
    else if (sub == 0 ? (p.x >= label.left && p.x < label.right) : (s.exStyle & LVS_EX_FULLROWSELECT) != 0)
        flags = LVHT_ONITEMLABEL;
    else if (sub > 0)
        flags = LVHT_ONITEMLABEL;  // sub-items count as the item's label in report view
    else {
        flags = LVHT_NOWHERE;
        return -1;
    }
    return i;
}

int HeaderColumnAt(HWND hwnd, const ListState& s, POINT p)
{
    if (p.y < 0 || p.y >= HeaderHeight(hwnd, s))
        return -1;
    for (int k = 0; k < static_cast<int>(s.columns.size()); ++k)
        if (p.x >= ColumnLeft(s, k) && p.x < ColumnLeft(s, k + 1))
            return k;
    return -1;
}

void Paint(HWND hwnd, ListState& s)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT c;
    GetClientRect(hwnd, &c);
    HBRUSH back = CreateSolidBrush(s.background);
    FillRect(hdc, &c, back);
    DeleteObject(back);
    HGDIOBJ oldFont = SelectObject(hdc, FontOf(s.font));
    SetBkMode(hdc, TRANSPARENT);
    bool enabled = IsWindowEnabled(hwnd);
    bool showSel = s.focused || (Style(hwnd) & LVS_SHOWSELALWAYS);
    int header = HeaderHeight(hwnd, s);
    int rowH = RowHeight(hwnd, s);
    HRGN clip = CreateRectRgn(0, header, c.right, c.bottom);
    SelectClipRgn(hdc, clip);
    for (int i = s.top; i < Count(s) && RowTop(hwnd, s, i) < c.bottom; ++i) {
        Item& item = s.items[static_cast<size_t>(i)];
        int y = RowTop(hwnd, s, i);
        bool selected = showSel && (item.state & LVIS_SELECTED);
        // The highlight and the focus rectangle cover the label; the icon shows blended.
        RECT sel = ItemRect(hwnd, s, i, LVIR_SELECTBOUNDS);
        if (!(s.exStyle & LVS_EX_FULLROWSELECT))
            sel.left = ItemRect(hwnd, s, i, LVIR_LABEL).left;
        if (selected)
            FillRect(hdc, &sel, GetSysColorBrush(s.focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        if (s.images[LVSIL_SMALL]) {
            RECT icon = ItemRect(hwnd, s, i, LVIR_ICON);
            int image = ImageOf(hwnd, s, i);
            SIZE is = SmallImage(s);
            ImageList_Draw(s.images[LVSIL_SMALL], image, hdc, icon.left, y + (rowH - is.cy) / 2,
                           ILD_TRANSPARENT | (selected && s.focused ? ILD_SELECTED : 0));
        }
        for (int k = 0; k < static_cast<int>(s.columns.size()); ++k) {
            const Column& col = s.columns[static_cast<size_t>(k)];
            RECT cell{ColumnLeft(s, k) + 6, y, ColumnLeft(s, k + 1) - 6, y + rowH};
            if (k == 0) {
                RECT label = ItemRect(hwnd, s, i, LVIR_LABEL);
                cell.left = label.left + 2;
            }
            bool inSelection = selected && (k == 0 || (s.exStyle & LVS_EX_FULLROWSELECT));
            COLORREF color = !enabled ? GetSysColor(COLOR_GRAYTEXT)
                             : (inSelection && s.focused) ? GetSysColor(COLOR_HIGHLIGHTTEXT) : s.textColor;
            SetTextColor(hdc, color);
            UINT align = (col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT ? DT_RIGHT
                         : (col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
            std::string text = TextOf(hwnd, s, i, col.subItem);
            if (cell.right > cell.left)
                DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &cell,
                          align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        if (s.focused && (item.state & LVIS_FOCUSED)) {
            SetTextColor(hdc, RGB(0, 0, 0));
            SetBkColor(hdc, RGB(255, 255, 255));
            DrawFocusRect(hdc, &sel);
        }
    }
    if (s.exStyle & LVS_EX_GRIDLINES) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
        HGDIOBJ oldPen = SelectObject(hdc, pen);
        for (int y = header + rowH - 1; y < c.bottom; y += rowH) {
            MoveToEx(hdc, 0, y, nullptr);
            LineTo(hdc, c.right, y);
        }
        for (int k = 1; k <= static_cast<int>(s.columns.size()); ++k) {
            MoveToEx(hdc, ColumnLeft(s, k) - 1, header, nullptr);
            LineTo(hdc, ColumnLeft(s, k) - 1, c.bottom);
        }
        SelectObject(hdc, oldPen);
        DeleteObject(pen);
    }
    SelectClipRgn(hdc, nullptr);
    DeleteObject(clip);
    if (header > 0) {
        // The header: a raised button for each column, the one held down sunken, and an empty
        // button after the last.
        int x = 0;
        for (int k = 0; k <= static_cast<int>(s.columns.size()); ++k) {
            bool last = k == static_cast<int>(s.columns.size());
            RECT r{x, 0, last ? std::max<LONG>(c.right, x) : x + s.columns[static_cast<size_t>(k)].cx, header};
            if (r.right <= r.left)
                continue;
            FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
            bool pressed = !last && k == s.pressedColumn && s.pressedInside;
            if (pressed)
                DrawEdge(hdc, &r, BDR_SUNKENOUTER, BF_RECT);
            else
                DrawEdge(hdc, &r, EDGE_RAISED, BF_RECT);
            if (!last) {
                const Column& col = s.columns[static_cast<size_t>(k)];
                RECT t{r.left + 6 + (pressed ? 1 : 0), r.top + (pressed ? 1 : 0), r.right - 6 + (pressed ? 1 : 0), r.bottom + (pressed ? 1 : 0)};
                UINT align = (col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT ? DT_RIGHT
                             : (col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
                SetTextColor(hdc, enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
                if (t.right > t.left)
                    DrawTextA(hdc, col.text.c_str(), static_cast<int>(col.text.size()), &t,
                              align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
                x = r.right;
            }
        }
    }
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
}

int InsertItem(HWND hwnd, ListState& s, const LVITEMA* lv)
{
    if (!lv || lv->iSubItem != 0 || lv->iItem < 0)
        return -1;
    Item item;
    SetText(item, 0, (lv->mask & LVIF_TEXT) ? lv->pszText : "");
    if (lv->mask & LVIF_IMAGE)
        item.image = lv->iImage;
    if (lv->mask & LVIF_PARAM)
        item.param = lv->lParam;
    if (lv->mask & LVIF_INDENT)
        item.indent = std::max(0, lv->iIndent);
    // The focus and the selection come through the state changes below, with notifications.
    UINT state = (lv->mask & LVIF_STATE) ? (lv->state & lv->stateMask) : 0;
    item.state = state & ~(LVIS_SELECTED | LVIS_FOCUSED);
    int at = std::min(lv->iItem, Count(s));
    LONG style = Style(hwnd);
    if (style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
        at = 0;
        while (at < Count(s)) {
            int cmp = lstrcmpiA(item.texts[0].c_str(), s.items[static_cast<size_t>(at)].texts.empty() ? "" : s.items[static_cast<size_t>(at)].texts[0].c_str());
            if ((style & LVS_SORTASCENDING) ? cmp < 0 : cmp > 0)
                break;
            ++at;
        }
    }
    s.items.insert(s.items.begin() + at, std::move(item));
    if (s.mark >= at)
        ++s.mark;
    NotifyList(hwnd, LVN_INSERTITEM, at, 0, 0, 0, 0, s.items[static_cast<size_t>(at)].param);
    if (ValidItem(s, at) && (state & (LVIS_SELECTED | LVIS_FOCUSED)))
        ChangeState(hwnd, s, at, state, LVIS_SELECTED | LVIS_FOCUSED);
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateScrollBar(hwnd, s);
    return at;
}

bool DeleteItem(HWND hwnd, ListState& s, int i)
{
    if (!ValidItem(s, i))
        return false;
    NotifyList(hwnd, LVN_DELETEITEM, i, 0, 0, 0, 0, s.items[static_cast<size_t>(i)].param);
    if (!ValidItem(s, i))
        return false;
    s.items.erase(s.items.begin() + i);
    if (s.mark == i)
        s.mark = -1;
    else if (s.mark > i)
        --s.mark;
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateScrollBar(hwnd, s);
    return true;
}

bool DeleteAll(HWND hwnd, ListState& s)
{
    if (s.items.empty())
        return true;
    // A TRUE answer to LVN_DELETEALLITEMS spares the parent one LVN_DELETEITEM per item.
    bool quiet = NotifyList(hwnd, LVN_DELETEALLITEMS, -1, 0, 0, 0, 0, 0) != 0;
    if (!quiet)
        for (int i = 0; i < Count(s); ++i)
            NotifyList(hwnd, LVN_DELETEITEM, i, 0, 0, 0, 0, s.items[static_cast<size_t>(i)].param);
    s.items.clear();
    s.mark = -1;
    s.top = 0;
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateScrollBar(hwnd, s);
    return true;
}

bool GetItem(HWND hwnd, ListState& s, LVITEMA* lv)
{
    if (!lv || !ValidItem(s, lv->iItem) || lv->iSubItem < 0)
        return false;
    Item& item = s.items[static_cast<size_t>(lv->iItem)];
    if ((lv->mask & LVIF_TEXT) && lv->pszText && lv->cchTextMax > 0) {
        std::string text = TextOf(hwnd, s, lv->iItem, lv->iSubItem);
        size_t n = std::min(text.size(), static_cast<size_t>(lv->cchTextMax) - 1);
        memcpy(lv->pszText, text.data(), n);
        lv->pszText[n] = '\0';
    }
    if (lv->mask & LVIF_IMAGE)
        lv->iImage = item.image;
    if (lv->mask & LVIF_PARAM)
        lv->lParam = item.param;
    if (lv->mask & LVIF_STATE)
        lv->state = item.state & lv->stateMask;
    if (lv->mask & LVIF_INDENT)
        lv->iIndent = item.indent;
    return true;
}

bool SetItem(HWND hwnd, ListState& s, const LVITEMA* lv)
{
    if (!lv || !ValidItem(s, lv->iItem) || lv->iSubItem < 0)
        return false;
    Item& item = s.items[static_cast<size_t>(lv->iItem)];
    if (lv->mask & LVIF_TEXT)
        SetText(item, lv->iSubItem, lv->pszText);
    if (lv->iSubItem == 0) {
        if (lv->mask & LVIF_IMAGE)
            item.image = lv->iImage;
        if (lv->mask & LVIF_PARAM)
            item.param = lv->lParam;
        if (lv->mask & LVIF_INDENT)
            item.indent = std::max(0, lv->iIndent);
    }
    InvalidateItem(hwnd, s, lv->iItem);
    if (lv->iSubItem == 0 && (lv->mask & LVIF_STATE))
        return ChangeState(hwnd, s, lv->iItem, lv->state, lv->stateMask);
    return true;
}

int NextItem(const ListState& s, int start, UINT flags)
{
    UINT want = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    auto matches = [&](int i) { return (s.items[static_cast<size_t>(i)].state & want) == want; };
    if (flags & (LVNI_ABOVE | LVNI_TOLEFT)) {
        for (int i = start - 1; i >= 0; --i)
            if (matches(i))
                return i;
        return -1;
    }
    for (int i = start < 0 ? 0 : start + 1; i < Count(s); ++i)
        if (matches(i))
            return i;
    return -1;
}

// Selects exactly the items from..to (either order), each change notified.
void SelectRange(HWND hwnd, ListState& s, int from, int to)
{
    int lo = std::min(from, to), hi = std::max(from, to);
    for (int i = 0; i < Count(s); ++i)
        if ((i < lo || i > hi) && (s.items[static_cast<size_t>(i)].state & LVIS_SELECTED))
            ChangeState(hwnd, s, i, 0, LVIS_SELECTED);
    for (int i = lo; i <= hi && i < Count(s); ++i)
        ChangeState(hwnd, s, i, LVIS_SELECTED, LVIS_SELECTED);
}

void SelectOnly(HWND hwnd, ListState& s, int i)
{
    for (int k = 0; k < Count(s); ++k)
        if (k != i && (s.items[static_cast<size_t>(k)].state & LVIS_SELECTED))
            ChangeState(hwnd, s, k, 0, LVIS_SELECTED);
    if (ValidItem(s, i))
        ChangeState(hwnd, s, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A click or key that picks item i: alone, added or removed (Ctrl), or as a range from the
// selection mark (Shift). A single-selection list always selects the item alone.
void Pick(HWND hwnd, ListState& s, int i, bool ctrl, bool shift, bool toggle)
{
    bool single = (Style(hwnd) & LVS_SINGLESEL) != 0;
    if (single || (!ctrl && !shift)) {
        SelectOnly(hwnd, s, i);
        s.mark = i;
    } else if (shift) {
        int from = ValidItem(s, s.mark) ? s.mark : i;
        if (!ctrl)
            SelectRange(hwnd, s, from, i);
        else
            for (int k = std::min(from, i); k <= std::max(from, i); ++k)
                ChangeState(hwnd, s, k, LVIS_SELECTED, LVIS_SELECTED);
        ChangeState(hwnd, s, i, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (toggle) {
        UINT now = s.items[static_cast<size_t>(i)].state & LVIS_SELECTED;
        ChangeState(hwnd, s, i, (now ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        s.mark = i;
    } else {
        ChangeState(hwnd, s, i, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    EnsureVisible(hwnd, s, i);
}

void KeyDown(HWND hwnd, ListState& s, UINT vk, LPARAM lParam)
{
    NMLVKEYDOWN kd{};
    kd.wVKey = static_cast<WORD>(vk);
    kd.flags = static_cast<UINT>(HIWORD(lParam));
    SendNotify(hwnd, kd.hdr, LVN_KEYDOWN);
    if (!IsWindow(hwnd) || s.items.empty()) {
        if (vk == VK_RETURN && IsWindow(hwnd))
            NotifyPlain(hwnd, NM_RETURN);
        return;
    }
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    int focus = Focused(s);
    int page = std::max(1, PerPage(hwnd, s) - 1);
    int target = -1;
    switch (vk) {
    case VK_UP: target = focus < 0 ? 0 : std::max(0, focus - 1); break;
    case VK_DOWN: target = focus < 0 ? 0 : std::min(Count(s) - 1, focus + 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = Count(s) - 1; break;
    case VK_PRIOR: target = focus < 0 ? 0 : std::max(0, focus - page); break;
    case VK_NEXT: target = focus < 0 ? 0 : std::min(Count(s) - 1, focus + page); break;
    case VK_SPACE:
        if (focus >= 0)
            Pick(hwnd, s, focus, ctrl, shift, ctrl);
        return;
    case VK_RETURN:
        NotifyPlain(hwnd, NM_RETURN);
        return;
    default:
        return;
    }
    Pick(hwnd, s, target, ctrl, shift, false);
}

void SetFocusLook(HWND hwnd, ListState& s, bool focused)
{
    s.focused = focused;
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyPlain(hwnd, focused ? NM_SETFOCUS : NM_KILLFOCUS);
}

void ButtonDown(HWND hwnd, ListState& s, POINT p, bool dbl, WPARAM keys)
{
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    int column = HeaderColumnAt(hwnd, s, p);
    if (p.y >= 0 && p.y < HeaderHeight(hwnd, s)) {
        if (column < 0)
            return;
        s.pressedColumn = column;
        s.pressedInside = true;
        s.headerClicks = !dbl;
        SetCapture(hwnd);
        RECT r{0, 0, 32767, HeaderHeight(hwnd, s)};
        InvalidateRect(hwnd, &r, TRUE);
        return;
    }
    UINT flags = 0;
    int sub = -1;
    int i = HitTest(hwnd, s, p, flags, sub);
    bool ctrl = (keys & MK_CONTROL) != 0;
    bool shift = (keys & MK_SHIFT) != 0;
    if (i >= 0)
        Pick(hwnd, s, i, ctrl, shift, ctrl);
    else if (!ctrl && !shift)
        for (int k = 0; k < Count(s); ++k)
            if (s.items[static_cast<size_t>(k)].state & LVIS_SELECTED)
                ChangeState(hwnd, s, k, 0, LVIS_SELECTED);
    if (!IsWindow(hwnd))
        return;
    if (dbl) {
        NotifyActivate(hwnd, NM_DBLCLK, i, i >= 0 ? sub : -1, p);
        return;
    }
    s.clickPending = true;
    SetCapture(hwnd);
}

void ButtonUp(HWND hwnd, ListState& s, POINT p)
{
    if (s.pressedColumn >= 0) {
        int column = s.pressedColumn;
        bool inside = s.pressedInside && HeaderColumnAt(hwnd, s, p) == column;
        bool clicks = s.headerClicks;
        s.pressedColumn = -1;
        s.pressedInside = false;
        if (GetCapture() == hwnd)
            ReleaseCapture();
        RECT r{0, 0, 32767, HeaderHeight(hwnd, s)};
        InvalidateRect(hwnd, &r, TRUE);
        if (inside && clicks && !(Style(hwnd) & LVS_NOSORTHEADER))
            NotifyList(hwnd, LVN_COLUMNCLICK, -1, column, 0, 0, 0, 0, p);
        return;
    }
    if (!s.clickPending)
        return;
    s.clickPending = false;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    UINT flags = 0;
    int sub = -1;
    int i = HitTest(hwnd, s, p, flags, sub);
    NotifyActivate(hwnd, NM_CLICK, i, i >= 0 ? sub : -1, p);
}

bool SortItems(HWND hwnd, ListState& s, LPARAM sortParam, PFNLVCOMPARE compare)
{
    if (!compare)
        return false;
    // Sorted as a copy: a comparison that misbehaves cannot break the list.
    std::vector<Item> sorted = s.items;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const Item& a, const Item& b) { return compare(a.param, b.param, sortParam) < 0; });
    s.items = std::move(sorted);
    s.mark = Focused(s);
    InvalidateRect(hwnd, nullptr, TRUE);
    return true;
}

int FindItem(HWND hwnd, ListState& s, int start, const LVFINDINFOA* fi)
{
    if (!fi)
        return -1;
    int n = Count(s);
    int first = start < 0 ? 0 : start + 1;
    for (int k = 0; k < n; ++k) {
        int i = first + k;
        if (i >= n) {
            if (!(fi->flags & LVFI_WRAP))
                break;
            i -= n;
        }
        const Item& item = s.items[static_cast<size_t>(i)];
        if (fi->flags & LVFI_PARAM) {
            if (item.param == fi->lParam)
                return i;
        } else if ((fi->flags & (LVFI_STRING | LVFI_PARTIAL)) && fi->psz) {
            std::string text = TextOf(hwnd, s, i, 0);
            size_t len = strlen(fi->psz);
            // LVFI_PARTIAL: the item's text begins with the string (case ignored).
            std::string compared = (fi->flags & LVFI_PARTIAL) ? text.substr(0, std::min(len, text.size())) : text;
            if (lstrcmpiA(compared.c_str(), fi->psz) == 0)
                return i;
        }
    }
    return -1;
}

LRESULT ColumnMessage(HWND hwnd, ListState& s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    int index = static_cast<int>(wParam);
    auto* lc = reinterpret_cast<LVCOLUMNA*>(lParam);
    switch (msg) {
    case LVM_INSERTCOLUMNA: {
        if (!lc || index < 0)
            return -1;
        Column col;
        col.subItem = static_cast<int>(s.columns.size());
        if (lc->mask & LVCF_FMT)
            col.fmt = lc->fmt;
        if (lc->mask & LVCF_WIDTH)
            col.cx = std::max(0, lc->cx);
        if ((lc->mask & LVCF_TEXT) && lc->pszText)
            col.text = lc->pszText;
        if (lc->mask & LVCF_SUBITEM)
            col.subItem = std::max(0, lc->iSubItem);
        // The first column is always left aligned.
        int at = std::min(index, static_cast<int>(s.columns.size()));
        if (at == 0)
            col.fmt &= ~LVCFMT_JUSTIFYMASK;
        s.columns.insert(s.columns.begin() + at, col);
        InvalidateRect(hwnd, nullptr, TRUE);
        return at;
    }
    case LVM_SETCOLUMNA:
    case LVM_GETCOLUMNA: {
        if (!lc || index < 0 || index >= static_cast<int>(s.columns.size()))
            return FALSE;
        Column& col = s.columns[static_cast<size_t>(index)];
        if (msg == LVM_GETCOLUMNA) {
            if (lc->mask & LVCF_FMT)
                lc->fmt = col.fmt;
            if (lc->mask & LVCF_WIDTH)
                lc->cx = col.cx;
            if (lc->mask & LVCF_SUBITEM)
                lc->iSubItem = col.subItem;
            if ((lc->mask & LVCF_TEXT) && lc->pszText && lc->cchTextMax > 0)
                lstrcpynA(lc->pszText, col.text.c_str(), lc->cchTextMax);
            return TRUE;
        }
        if (lc->mask & LVCF_FMT)
            col.fmt = index == 0 ? (lc->fmt & ~LVCFMT_JUSTIFYMASK) : lc->fmt;
        if (lc->mask & LVCF_WIDTH)
            col.cx = std::max(0, lc->cx);
        if ((lc->mask & LVCF_TEXT) && lc->pszText)
            col.text = lc->pszText;
        if (lc->mask & LVCF_SUBITEM)
            col.subItem = std::max(0, lc->iSubItem);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case LVM_DELETECOLUMN:
        if (index < 0 || index >= static_cast<int>(s.columns.size()))
            return FALSE;
        s.columns.erase(s.columns.begin() + index);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETCOLUMNWIDTH:
        if (index < 0 || index >= static_cast<int>(s.columns.size()))
            return 0;
        return s.columns[static_cast<size_t>(index)].cx;
    case LVM_SETCOLUMNWIDTH: {
        if (index < 0 || index >= static_cast<int>(s.columns.size()))
            return FALSE;
        Column& col = s.columns[static_cast<size_t>(index)];
        int cx = static_cast<short>(LOWORD(lParam));
        if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER) {
            int widest = cx == LVSCW_AUTOSIZE_USEHEADER ? TextWidth(hwnd, s, col.text) + 12 : 0;
            for (int i = 0; i < Count(s); ++i)
                widest = std::max(widest, TextWidth(hwnd, s, TextOf(hwnd, s, i, col.subItem)) + 12 +
                                              (index == 0 ? static_cast<int>(SmallImage(s).cx) + 4 : 0));
            cx = widest;
        }
        col.cx = std::max(0, cx);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    default:
        return 0;
    }
}

}  // namespace

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ListState& s = S(hwnd);
    if (!s.created && msg != WM_NCDESTROY) {
        s.created = true;
        s.background = GetSysColor(COLOR_WINDOW);
        s.textColor = GetSysColor(COLOR_WINDOWTEXT);
        s.textBackground = GetSysColor(COLOR_WINDOW);
    }
    switch (msg) {
    case WM_NCDESTROY: {
        // The list view destroys its image lists unless they are shared.
        if (!(Style(hwnd) & LVS_SHAREIMAGELISTS))
            for (HIMAGELIST& list : s.images)
                if (list)
                    ImageList_Destroy(list);
        DropState<ListState>(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_DESTROY:
        DeleteAll(hwnd, s);
        return 0;
    case WM_SIZE:
        UpdateScrollBar(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
        s.font = reinterpret_cast<HFONT>(wParam);
        UpdateScrollBar(hwnd, s);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_SETFOCUS:
        SetFocusLook(hwnd, s, true);
        return 0;
    case WM_KILLFOCUS:
        SetFocusLook(hwnd, s, false);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(hwnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, msg == WM_LBUTTONDBLCLK, wParam);
        return 0;
    case WM_MOUSEMOVE:
        if (s.pressedColumn >= 0) {
            bool inside = HeaderColumnAt(hwnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) == s.pressedColumn;
            if (inside != s.pressedInside) {
                s.pressedInside = inside;
                RECT r{0, 0, 32767, HeaderHeight(hwnd, s)};
                InvalidateRect(hwnd, &r, TRUE);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(hwnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) {
            s.clickPending = false;
            if (s.pressedColumn >= 0) {
                s.pressedColumn = -1;
                InvalidateRect(hwnd, nullptr, TRUE);
            }
        }
        return 0;
    case WM_KEYDOWN:
        KeyDown(hwnd, s, static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_VSCROLL: {
        int page = std::max(1, PerPage(hwnd, s) - 1);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(hwnd, s, s.top - 1); break;
        case SB_LINEDOWN: ScrollTo(hwnd, s, s.top + 1); break;
        case SB_PAGEUP: ScrollTo(hwnd, s, s.top - page); break;
        case SB_PAGEDOWN: ScrollTo(hwnd, s, s.top + page); break;
        case SB_TOP: ScrollTo(hwnd, s, 0); break;
        case SB_BOTTOM: ScrollTo(hwnd, s, Count(s)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(hwnd, s, HIWORD(wParam)); break;
        default: break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        ScrollTo(hwnd, s, s.top - 3 * static_cast<short>(HIWORD(wParam)) / 120);
        return 0;
    case LVM_GETBKCOLOR:
        return static_cast<LRESULT>(s.background);
    case LVM_SETBKCOLOR:
        s.background = lParam == static_cast<LPARAM>(CLR_NONE) ? GetSysColor(COLOR_WINDOW) : static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(s.textColor);
    case LVM_SETTEXTCOLOR:
        s.textColor = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETTEXTBKCOLOR:
        return static_cast<LRESULT>(s.textBackground);
    case LVM_SETTEXTBKCOLOR:
        s.textBackground = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETIMAGELIST:
        return wParam <= LVSIL_STATE ? reinterpret_cast<LRESULT>(s.images[wParam]) : 0;
    case LVM_SETIMAGELIST: {
        if (wParam > LVSIL_STATE)
            return 0;
        HIMAGELIST old = s.images[wParam];
        s.images[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
        UpdateScrollBar(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETITEMCOUNT:
        return Count(s);
    case LVM_SETITEMCOUNT:
        s.items.reserve(std::min<size_t>(wParam, 1u << 20));
        return TRUE;
    case LVM_GETITEMA:
        return GetItem(hwnd, s, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMA:
        return SetItem(hwnd, s, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_INSERTITEMA:
        return InsertItem(hwnd, s, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_DELETEITEM:
        return DeleteItem(hwnd, s, static_cast<int>(wParam));
    case LVM_DELETEALLITEMS:
        return DeleteAll(hwnd, s);
    case LVM_GETCALLBACKMASK:
        return s.callbackMask;
    case LVM_SETCALLBACKMASK:
        s.callbackMask = static_cast<UINT>(wParam);
        return TRUE;
    case LVM_GETNEXTITEM:
        return NextItem(s, static_cast<int>(wParam), static_cast<UINT>(LOWORD(lParam)));
    case LVM_FINDITEMA:
        return FindItem(hwnd, s, static_cast<int>(wParam), reinterpret_cast<const LVFINDINFOA*>(lParam));
    case LVM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        int i = static_cast<int>(wParam);
        if (!r || !ValidItem(s, i))
            return FALSE;
        *r = ItemRect(hwnd, s, i, r->left);
        return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        int i = static_cast<int>(wParam);
        if (!r || !ValidItem(s, i) || r->top < 0 || r->top >= static_cast<int>(s.columns.size()))
            return FALSE;
        int k = r->top;
        if (k == 0 && r->left != LVIR_BOUNDS) {
            *r = ItemRect(hwnd, s, i, r->left);
            return TRUE;
        }
        int y = RowTop(hwnd, s, i);
        *r = RECT{ColumnLeft(s, k), y, ColumnLeft(s, k + 1), y + RowHeight(hwnd, s)};
        if (k == 0)
            r->right = ColumnLeft(s, static_cast<int>(s.columns.size()));
        return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* ht = reinterpret_cast<LVHITTESTINFO*>(lParam);
        if (!ht)
            return -1;
        int sub = -1;
        ht->iItem = HitTest(hwnd, s, ht->pt, ht->flags, sub);
        if (msg == LVM_SUBITEMHITTEST)
            ht->iSubItem = ht->iItem >= 0 ? sub : -1;
        return ht->iItem;
    }
    case LVM_ENSUREVISIBLE:
        EnsureVisible(hwnd, s, static_cast<int>(wParam));
        return ValidItem(s, static_cast<int>(wParam));
    case LVM_SCROLL:
        ScrollTo(hwnd, s, s.top + static_cast<int>(lParam) / RowHeight(hwnd, s));
        return TRUE;
    case LVM_REDRAWITEMS:
    case LVM_UPDATE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETSTRINGWIDTHA:
        return lParam ? TextWidth(hwnd, s, reinterpret_cast<LPCSTR>(lParam)) : 0;
    case LVM_INSERTCOLUMNA:
    case LVM_SETCOLUMNA:
    case LVM_GETCOLUMNA:
    case LVM_DELETECOLUMN:
    case LVM_GETCOLUMNWIDTH:
    case LVM_SETCOLUMNWIDTH:
        return ColumnMessage(hwnd, s, msg, wParam, lParam);
    case LVM_GETHEADER:
        return 0;  // the header is drawn by the list view itself: there is no header window
    case LVM_GETTOPINDEX:
        return s.top;
    case LVM_GETCOUNTPERPAGE:
        return PerPage(hwnd, s);
    case LVM_SETITEMSTATE: {
        auto* lv = reinterpret_cast<const LVITEMA*>(lParam);
        if (!lv)
            return FALSE;
        int i = static_cast<int>(wParam);
        if (i == -1) {
            for (int k = 0; k < Count(s); ++k)
                ChangeState(hwnd, s, k, lv->state, lv->stateMask);
            return TRUE;
        }
        return ChangeState(hwnd, s, i, lv->state, lv->stateMask);
    }
    case LVM_GETITEMSTATE: {
        int i = static_cast<int>(wParam);
        return ValidItem(s, i) ? static_cast<LRESULT>(s.items[static_cast<size_t>(i)].state & static_cast<UINT>(lParam)) : 0;
    }
    case LVM_GETITEMTEXTA: {
        auto* lv = reinterpret_cast<LVITEMA*>(lParam);
        int i = static_cast<int>(wParam);
        if (!lv || !ValidItem(s, i) || !lv->pszText || lv->cchTextMax <= 0)
            return 0;
        std::string text = TextOf(hwnd, s, i, lv->iSubItem);
        size_t n = std::min(text.size(), static_cast<size_t>(lv->cchTextMax) - 1);
        memcpy(lv->pszText, text.data(), n);
        lv->pszText[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case LVM_SETITEMTEXTA: {
        auto* lv = reinterpret_cast<const LVITEMA*>(lParam);
        int i = static_cast<int>(wParam);
        if (!lv || !ValidItem(s, i) || lv->iSubItem < 0)
            return FALSE;
        SetText(s.items[static_cast<size_t>(i)], lv->iSubItem, lv->pszText);
        InvalidateItem(hwnd, s, i);
        return TRUE;
    }
    case LVM_SORTITEMS:
        return SortItems(hwnd, s, static_cast<LPARAM>(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam));
    case LVM_GETSELECTEDCOUNT: {
        int n = 0;
        for (const Item& item : s.items)
            n += (item.state & LVIS_SELECTED) != 0;
        return n;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD old = s.exStyle;
        DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
        s.exStyle = (s.exStyle & ~mask) | (static_cast<DWORD>(lParam) & mask);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(old);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<LRESULT>(s.exStyle);
    case LVM_GETSELECTIONMARK:
        return s.mark;
    case LVM_SETSELECTIONMARK: {
        int old = s.mark;
        s.mark = ValidItem(s, static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
        return old;
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace controls
