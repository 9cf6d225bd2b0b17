// The list box control (class "LISTBOX") and the list of a combo box (class "ComboLBox"):
// item storage, sorting, single/multiple/extended selection, owner-draw measurement and
// drawing, hit testing, mouse and keyboard handling, scrolling and notifications.
#include "ControlsInternal.h"
#include "CtlList.h"
#include "UserInternal.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <strings.h>
#include <vector>

namespace ctl {

HFONT DefaultControlFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int FontLineHeight(HFONT font)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : DefaultControlFont());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 13;
}

namespace {

constexpr DWORD kTypeAheadMs = 1000;

struct Item {
    std::string text;
    ULONG_PTR data = 0;
    bool selected = false;
    int height = 0;  // owner-draw variable only
};

struct ListBox {
    HWND hwnd = nullptr;
    HWND owner = nullptr;  // receives notifications and owner-draw messages
    HWND combo = nullptr;  // set for the list of a combo box
    DWORD style = 0;
    std::vector<Item> items;
    int sel = -1;  // single selection
    int caret = -1;
    int anchor = -1;
    int top = 0;
    int itemHeight = 13;
    int horizontalExtent = 0;
    int xOffset = 0;  // horizontal scroll in pixels
    int columnWidth = 0;
    LCID locale = 0;
    controls::TabStops tabStops;  // LBS_USETABSTOPS
    HFONT font = nullptr;
    bool redraw = true;
    bool focused = false;
    bool tracking = false;        // mouse button held in the list
    bool trackingChanged = false; // the selection changed while tracking
    // The selection when the button went down, for a press that is cancelled.
    int pressSel = -1, pressCaret = -1, pressAnchor = -1;
    std::vector<bool> pressSelected;
    bool dropped = false;         // combo list shown
    bool sizing = false;
    std::string typed;
    DWORD typedAt = 0;

    bool MultiSel() const { return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
    bool Extended() const { return (style & LBS_EXTENDEDSEL) != 0; }
    bool OwnerDraw() const { return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
    bool Variable() const { return (style & LBS_OWNERDRAWVARIABLE) != 0; }
    bool HasStrings() const { return !OwnerDraw() || (style & LBS_HASSTRINGS); }
    int Count() const { return static_cast<int>(items.size()); }
    bool Valid(int i) const { return i >= 0 && i < Count(); }
    bool IsSelected(int i) const { return MultiSel() ? items[static_cast<size_t>(i)].selected : i == sel; }
    int HeightOf(int i) const { return Variable() ? items[static_cast<size_t>(i)].height : itemHeight; }
};

ListBox* Get(HWND hwnd)
{
    return reinterpret_cast<ListBox*>(GetWindowLongPtrA(hwnd, 0));
}

RECT ClientRect(const ListBox& lb)
{
    RECT r{};
    GetClientRect(lb.hwnd, &r);
    return r;
}

int CtlId(const ListBox& lb)
{
    return GetDlgCtrlID(lb.combo ? lb.combo : lb.hwnd);
}

UINT CtlType(const ListBox& lb)
{
    return lb.combo ? ODT_COMBOBOX : ODT_LISTBOX;
}

HWND ItemWindow(const ListBox& lb)
{
    return lb.combo ? lb.combo : lb.hwnd;
}

void Notify(ListBox& lb, int code)
{
    if (lb.combo) {
        if (code == LBN_SELCHANGE)
            ComboListEvent(lb.combo, ListEvent::SelChange);
        else if (code == LBN_DBLCLK)
            ComboListEvent(lb.combo, ListEvent::DblClk);
        else if (code == LBN_SELCANCEL)
            ComboListEvent(lb.combo, ListEvent::Cancelled);
        return;
    }
    bool always = code == LBN_SETFOCUS || code == LBN_KILLFOCUS || code == LBN_ERRSPACE;
    if (!always && !(lb.style & LBS_NOTIFY))
        return;
    if (lb.owner)
        SendMessageA(lb.owner, WM_COMMAND, MAKEWPARAM(CtlId(lb), static_cast<WORD>(code)),
                     reinterpret_cast<LPARAM>(lb.hwnd));
}

// ---- Geometry ----------------------------------------------------------------------------

// Top of item i relative to the top of the client area (negative above the top item).
int ItemTop(const ListBox& lb, int i)
{
    if (!lb.Variable())
        return (i - lb.top) * lb.itemHeight;
    int y = 0;
    if (i >= lb.top) {
        for (int k = lb.top; k < i; ++k)
            y += lb.HeightOf(k);
    } else {
        for (int k = i; k < lb.top; ++k)
            y -= lb.HeightOf(k);
    }
    return y;
}

RECT ItemRect(const ListBox& lb, int i)
{
    RECT c = ClientRect(lb);
    int y = ItemTop(lb, i);
    int h = lb.Valid(i) ? lb.HeightOf(i) : lb.itemHeight;
    return RECT{0, y, c.right, y + h};
}

// Items that fit whole in the client area from `from` downwards (at least 1).
int PageFrom(const ListBox& lb, int from)
{
    int height = ClientRect(lb).bottom;
    if (!lb.Variable())
        return std::max(1, height / std::max(1, lb.itemHeight));
    int n = 0, y = 0;
    for (int i = from; i < lb.Count(); ++i) {
        y += lb.HeightOf(i);
        if (y > height)
            break;
        ++n;
    }
    return std::max(1, n);
}

// The largest top index that still fills the client area.
int MaxTop(const ListBox& lb)
{
    int height = ClientRect(lb).bottom;
    if (!lb.Variable())
        return std::max(0, lb.Count() - std::max(1, height / std::max(1, lb.itemHeight)));
    int y = 0;
    for (int i = lb.Count() - 1; i >= 0; --i) {
        y += lb.HeightOf(i);
        if (y > height)
            return std::min(lb.Count() - 1, i + 1);
    }
    return 0;
}

// Index at a client point; `outside` when the point is not on an item.
int ItemFromPoint(const ListBox& lb, POINT p, bool& outside)
{
    RECT c = ClientRect(lb);
    outside = p.x < 0 || p.x >= c.right || p.y < 0 || p.y >= c.bottom;
    if (lb.Count() == 0) {
        outside = true;
        return 0;
    }
    if (p.y < 0) {
        outside = true;
        return std::max(0, lb.top - 1);
    }
    int y = 0;
    for (int i = lb.top; i < lb.Count(); ++i) {
        int h = lb.HeightOf(i);
        if (p.y < y + h)
            return i;
        y += h;
    }
    outside = true;
    return lb.Count() - 1;
}

// ---- Scroll bar ----------------------------------------------------------------------------

void UpdateScrollBar(ListBox& lb)
{
    if (lb.style & WS_VSCROLL) {
        int page = PageFrom(lb, lb.top);
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | ((lb.style & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0);
        si.nMax = lb.Count() > 0 ? lb.Count() - 1 : 0;
        si.nPage = static_cast<UINT>(page);
        si.nPos = lb.top;
        if (lb.Count() <= page && !(lb.style & LBS_DISABLENOSCROLL))
            si.nMax = si.nPos = 0, si.nPage = 0;
        SetScrollInfo(lb.hwnd, SB_VERT, &si, lb.redraw);
    }
    if (lb.style & WS_HSCROLL) {
        // The horizontal bar scrolls over the extent the owner set (LB_SETHORIZONTALEXTENT).
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | ((lb.style & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0);
        int width = ClientRect(lb).right;
        si.nMax = std::max(0, lb.horizontalExtent - 1);
        si.nPage = static_cast<UINT>(std::max(0, width));
        si.nPos = lb.xOffset;
        SetScrollInfo(lb.hwnd, SB_HORZ, &si, lb.redraw);
    }
}

// ---- Drawing ----------------------------------------------------------------------------

bool CanDraw(const ListBox& lb)
{
    return lb.redraw && IsWindowVisible(lb.hwnd);
}

HBRUSH BackgroundBrush(ListBox& lb, HDC dc)
{
    HWND parent = lb.combo ? GetParent(lb.combo) : lb.owner;
    HBRUSH brush = nullptr;
    if (parent)
        brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(lb.hwnd)));
    if (!brush) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        brush = GetSysColorBrush(COLOR_WINDOW);
    }
    return brush;
}

void DrawItem(ListBox& lb, HDC dc, int i, UINT action, HBRUSH background)
{
    RECT r = ItemRect(lb, i);
    bool selected = lb.IsSelected(i);
    bool focus = lb.focused && i == lb.caret && !lb.combo;
    if (lb.combo && lb.dropped)
        focus = false;
    if (lb.OwnerDraw()) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = CtlType(lb);
        dis.CtlID = static_cast<UINT>(CtlId(lb));
        dis.itemID = static_cast<UINT>(i);
        dis.itemAction = action;
        dis.itemState = (selected ? ODS_SELECTED : 0) | (focus ? ODS_FOCUS : 0) |
                        (IsWindowEnabled(lb.hwnd) ? 0 : ODS_DISABLED);
        dis.hwndItem = ItemWindow(lb);
        dis.hDC = dc;
        dis.rcItem = r;
        dis.itemData = lb.items[static_cast<size_t>(i)].data;
        HWND target = lb.combo ? GetParent(lb.combo) : lb.owner;
        if (target)
            SendMessageA(target, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    if (action == ODA_FOCUS) {
        DrawFocusRect(dc, &r);
        return;
    }
    const Item& it = lb.items[static_cast<size_t>(i)];
    COLORREF oldText = GetTextColor(dc), oldBk = GetBkColor(dc);
    if (selected) {
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        FillRect(dc, &r, background);
    }
    if (!IsWindowEnabled(lb.hwnd))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, lb.font ? lb.font : DefaultControlFont());
    int x = r.left + 2 - lb.xOffset;
    int y = r.top + std::max(0, (r.bottom - r.top - FontLineHeight(lb.font)) / 2);
    int n = static_cast<int>(it.text.size());
    if (lb.style & LBS_USETABSTOPS) {
        std::vector<INT> stops = lb.tabStops.Pixels(dc);
        TabbedTextOutA(dc, x, y, it.text.c_str(), n, static_cast<int>(stops.size()), stops.data(), x);
    } else {
        TextOutA(dc, x, y, it.text.c_str(), n);
    }
    SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
    if (focus)
        DrawFocusRect(dc, &r);
}

void Paint(ListBox& lb, HDC dc, const RECT& area)
{
    HGDIOBJ oldFont = SelectObject(dc, lb.font ? lb.font : DefaultControlFont());
    HBRUSH bg = BackgroundBrush(lb, dc);
    RECT c = ClientRect(lb);
    int y = 0;
    int i = lb.top;
    for (; i < lb.Count() && y < c.bottom; ++i) {
        RECT r = ItemRect(lb, i);
        RECT clip{};
        if (IntersectRect(&clip, &r, &area))
            DrawItem(lb, dc, i, ODA_DRAWENTIRE, bg);
        y = r.bottom;
    }
    if (lb.OwnerDraw() && lb.Count() == 0 && lb.focused && !lb.combo) {
        // An empty owner-drawn list still shows where the focus is.
        DRAWITEMSTRUCT dis{};
        dis.CtlType = CtlType(lb);
        dis.CtlID = static_cast<UINT>(CtlId(lb));
        dis.itemID = static_cast<UINT>(-1);
        dis.itemAction = ODA_FOCUS;
        dis.itemState = ODS_FOCUS;
        dis.hwndItem = ItemWindow(lb);
        dis.hDC = dc;
        dis.rcItem = RECT{0, 0, c.right, lb.itemHeight};
        if (lb.owner)
            SendMessageA(lb.owner, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    }
    if (y < c.bottom) {
        RECT rest{0, y, c.right, c.bottom};
        FillRect(dc, &rest, bg);
    }
    SelectObject(dc, oldFont);
}

// Draws one item at once (a selection or focus change) through a window DC.
void RedrawItem(ListBox& lb, int i, UINT action)
{
    if (!lb.Valid(i) || !CanDraw(lb))
        return;
    RECT r = ItemRect(lb, i);
    RECT c = ClientRect(lb);
    if (r.bottom <= 0 || r.top >= c.bottom)
        return;
    HDC dc = GetDC(lb.hwnd);
    IntersectClipRect(dc, c.left, c.top, c.right, c.bottom);
    HGDIOBJ oldFont = SelectObject(dc, lb.font ? lb.font : DefaultControlFont());
    HBRUSH bg = BackgroundBrush(lb, dc);
    DrawItem(lb, dc, i, action, bg);
    SelectObject(dc, oldFont);
    ReleaseDC(lb.hwnd, dc);
}

void InvalidateAll(ListBox& lb)
{
    if (lb.redraw)
        InvalidateRect(lb.hwnd, nullptr, TRUE);
}

// ---- Scrolling ----------------------------------------------------------------------------

void SetTop(ListBox& lb, int top)
{
    top = std::clamp(top, 0, MaxTop(lb));
    if (top == lb.top)
        return;
    lb.top = top;
    UpdateScrollBar(lb);
    InvalidateAll(lb);
}

void EnsureVisible(ListBox& lb, int i)
{
    if (!lb.Valid(i))
        return;
    if (i < lb.top) {
        SetTop(lb, i);
        return;
    }
    int height = ClientRect(lb).bottom;
    if (ItemTop(lb, i) + lb.HeightOf(i) <= height)
        return;
    if (!lb.Variable()) {
        SetTop(lb, i - PageFrom(lb, 0) + 1);
        return;
    }
    int top = i, y = lb.HeightOf(i);
    while (top > 0 && y + lb.HeightOf(top - 1) <= height) {
        --top;
        y += lb.HeightOf(top);
    }
    SetTop(lb, top);
}

// ---- Selection -----------------------------------------------------------------------------

void SetCaret(ListBox& lb, int i)
{
    if (i == lb.caret)
        return;
    int old = lb.caret;
    bool draw = lb.focused;
    // The item losing the caret is drawn without ODS_FOCUS, the one gaining it with.
    lb.caret = i;
    if (draw && lb.Valid(old))
        RedrawItem(lb, old, ODA_FOCUS);
    if (draw && lb.Valid(i))
        RedrawItem(lb, i, ODA_FOCUS);
}

// Selects one item in a single-selection list (-1: none). True when it changed.
bool SelectSingle(ListBox& lb, int i)
{
    if (i == lb.sel)
        return false;
    int old = lb.sel;
    lb.sel = i;
    RedrawItem(lb, old, ODA_SELECT);
    RedrawItem(lb, i, ODA_SELECT);
    return true;
}

bool SetSelected(ListBox& lb, int i, bool on)
{
    Item& it = lb.items[static_cast<size_t>(i)];
    if (it.selected == on)
        return false;
    it.selected = on;
    RedrawItem(lb, i, ODA_SELECT);
    return true;
}

// Multiple selection: exactly the items from a to b (either order) selected, when `only`
// everything else cleared.
bool SelectRange(ListBox& lb, int a, int b, bool on, bool only)
{
    if (a > b)
        std::swap(a, b);
    bool changed = false;
    for (int i = 0; i < lb.Count(); ++i) {
        if (i >= a && i <= b)
            changed |= SetSelected(lb, i, on);
        else if (only)
            changed |= SetSelected(lb, i, false);
    }
    return changed;
}

// The user moves to item i with the keyboard or mouse: selection by the list's mode.
bool UserSelect(ListBox& lb, int i, bool shift, bool ctrl, bool mouse)
{
    if (!lb.Valid(i))
        return false;
    bool changed = false;
    if (!lb.MultiSel()) {
        changed = SelectSingle(lb, i);
        SetCaret(lb, i);
        lb.anchor = i;
    } else if (!lb.Extended()) {
        // Multiple selection: a click toggles; the keyboard only moves the focus.
        if (mouse)
            changed = SetSelected(lb, i, !lb.items[static_cast<size_t>(i)].selected);
        SetCaret(lb, i);
        lb.anchor = i;
    } else {
        if (shift) {
            int anchor = lb.Valid(lb.anchor) ? lb.anchor : i;
            changed = SelectRange(lb, anchor, i, true, !ctrl);
        } else if (ctrl) {
            if (mouse)
                changed = SetSelected(lb, i, !lb.items[static_cast<size_t>(i)].selected);
            lb.anchor = i;
        } else {
            changed = SelectRange(lb, i, i, true, true);
            lb.anchor = i;
        }
        SetCaret(lb, i);
    }
    EnsureVisible(lb, i);
    return changed;
}

// ---- Items -------------------------------------------------------------------------------

HWND OwnerOf(const ListBox& lb)
{
    return lb.combo ? GetParent(lb.combo) : lb.owner;
}

int Compare(ListBox& lb, const Item& a, int indexA, const Item& b, int indexB)
{
    if (lb.HasStrings())
        return strcasecmp(a.text.c_str(), b.text.c_str());
    COMPAREITEMSTRUCT cis{};
    cis.CtlType = CtlType(lb);
    cis.CtlID = static_cast<UINT>(CtlId(lb));
    cis.hwndItem = ItemWindow(lb);
    cis.itemID1 = static_cast<UINT>(indexA);
    cis.itemData1 = a.data;
    cis.itemID2 = static_cast<UINT>(indexB);
    cis.itemData2 = b.data;
    cis.dwLocaleId = lb.locale;
    HWND owner = OwnerOf(lb);
    if (!owner)
        return 0;
    return static_cast<int>(SendMessageA(owner, WM_COMPAREITEM, cis.CtlID, reinterpret_cast<LPARAM>(&cis)));
}

void Measure(ListBox& lb, int index, Item& it)
{
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = CtlType(lb);
    mis.CtlID = static_cast<UINT>(CtlId(lb));
    mis.itemID = static_cast<UINT>(index);
    mis.itemWidth = static_cast<UINT>(ClientRect(lb).right);
    mis.itemHeight = static_cast<UINT>(lb.itemHeight);
    mis.itemData = lb.HasStrings() ? reinterpret_cast<ULONG_PTR>(it.text.c_str()) : it.data;
    if (HWND owner = OwnerOf(lb))
        SendMessageA(owner, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    it.height = static_cast<int>(std::min<UINT>(mis.itemHeight, 255));
}

Item MakeItem(const ListBox& lb, LPARAM lParam)
{
    Item it;
    if (lb.HasStrings())
        it.text = lParam ? reinterpret_cast<const char*>(lParam) : "";
    else
        it.data = static_cast<ULONG_PTR>(lParam);
    return it;
}

int Insert(ListBox& lb, int index, Item it)
{
    lb.items.insert(lb.items.begin() + index, std::move(it));
    if (lb.Variable())
        Measure(lb, index, lb.items[static_cast<size_t>(index)]);
    if (!lb.MultiSel() && lb.sel >= index)
        ++lb.sel;
    if (lb.caret >= index && lb.Count() > 1)
        ++lb.caret;
    if (lb.anchor >= index && lb.Count() > 1)
        ++lb.anchor;
    if (lb.caret < 0 && lb.MultiSel())
        lb.caret = 0;
    UpdateScrollBar(lb);
    InvalidateAll(lb);
    return index;
}

int AddSorted(ListBox& lb, LPARAM lParam)
{
    Item it = MakeItem(lb, lParam);
    if (!(lb.style & LBS_SORT))
        return Insert(lb, lb.Count(), std::move(it));
    // Binary search for the first item that sorts after the new one.
    int lo = 0, hi = lb.Count();
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (Compare(lb, it, -1, lb.items[static_cast<size_t>(mid)], mid) >= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return Insert(lb, lo, std::move(it));
}

void SendDeleteItem(ListBox& lb, int index)
{
    const Item& it = lb.items[static_cast<size_t>(index)];
    if (!lb.OwnerDraw() && it.data == 0)
        return;
    DELETEITEMSTRUCT dis{};
    dis.CtlType = CtlType(lb);
    dis.CtlID = static_cast<UINT>(CtlId(lb));
    dis.itemID = static_cast<UINT>(index);
    dis.hwndItem = ItemWindow(lb);
    dis.itemData = it.data;
    if (HWND owner = OwnerOf(lb))
        SendMessageA(owner, WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

int Delete(ListBox& lb, int index)
{
    SendDeleteItem(lb, index);
    lb.items.erase(lb.items.begin() + index);
    auto shift = [&](int& v) {
        if (v == index)
            v = -1;
        else if (v > index)
            --v;
    };
    if (!lb.MultiSel())
        shift(lb.sel);
    if (lb.caret > index || (lb.caret == index && lb.caret >= lb.Count()))
        --lb.caret;
    if (lb.caret >= lb.Count())
        lb.caret = lb.Count() - 1;
    shift(lb.anchor);
    lb.top = std::clamp(lb.top, 0, MaxTop(lb));
    UpdateScrollBar(lb);
    InvalidateAll(lb);
    return lb.Count();
}

void Reset(ListBox& lb)
{
    for (int i = 0; i < lb.Count(); ++i)
        SendDeleteItem(lb, i);
    lb.items.clear();
    lb.sel = lb.caret = lb.anchor = -1;
    lb.top = 0;
    UpdateScrollBar(lb);
    InvalidateAll(lb);
}

// Prefix (or exact) search starting after `start`, wrapping around.
int Find(ListBox& lb, int start, LPARAM lParam, bool exact)
{
    int n = lb.Count();
    if (n == 0)
        return LB_ERR;
    if (start < -1 || start >= n)
        start = -1;
    for (int k = 1; k <= n; ++k) {
        int i = (start + k) % n;
        const Item& it = lb.items[static_cast<size_t>(i)];
        if (lb.HasStrings()) {
            const char* s = lParam ? reinterpret_cast<const char*>(lParam) : "";
            bool match = exact ? strcasecmp(it.text.c_str(), s) == 0 : strncasecmp(it.text.c_str(), s, strlen(s)) == 0;
            if (match)
                return i;
        } else if (lb.style & LBS_SORT) {
            Item probe;
            probe.data = static_cast<ULONG_PTR>(lParam);
            if (Compare(lb, probe, -1, it, i) == 0)
                return i;
        } else if (it.data == static_cast<ULONG_PTR>(lParam)) {
            return i;
        }
    }
    return LB_ERR;
}

void SetItemHeightAll(ListBox& lb, int height)
{
    lb.itemHeight = height;
    lb.top = std::clamp(lb.top, 0, MaxTop(lb));
    UpdateScrollBar(lb);
    InvalidateAll(lb);
}

// Without LBS_NOINTEGRALHEIGHT the list is made a whole number of items high.
void FitIntegralHeight(ListBox& lb)
{
    if ((lb.style & LBS_NOINTEGRALHEIGHT) || lb.Variable() || lb.sizing || lb.itemHeight <= 0)
        return;
    RECT c = ClientRect(lb);
    int extra = c.bottom % lb.itemHeight;
    if (extra == 0 || c.bottom < lb.itemHeight)
        return;
    RECT w{};
    GetWindowRect(lb.hwnd, &w);
    lb.sizing = true;
    SetWindowPos(lb.hwnd, nullptr, 0, 0, w.right - w.left, w.bottom - w.top - extra,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    lb.sizing = false;
}

// ---- Keyboard --------------------------------------------------------------------------------

void KeyNavigate(ListBox& lb, UINT vk)
{
    int n = lb.Count();
    if (n == 0)
        return;
    int cur = lb.caret < 0 ? (lb.MultiSel() ? 0 : lb.sel) : lb.caret;
    int target = cur;
    int page = PageFrom(lb, std::max(0, lb.top));
    switch (vk) {
    case VK_UP: case VK_LEFT: target = cur < 0 ? 0 : cur - 1; break;
    case VK_DOWN: case VK_RIGHT: target = cur + 1; break;
    case VK_PRIOR: target = cur < 0 ? 0 : cur - std::max(1, page - 1); break;
    case VK_NEXT: target = cur + std::max(1, page - 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = n - 1; break;
    default: return;
    }
    target = std::clamp(target, 0, n - 1);
    if (target == cur && lb.IsSelected(std::max(0, cur)) && cur >= 0) {
        EnsureVisible(lb, target);
        return;
    }
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    if (UserSelect(lb, target, shift, ctrl, false))
        Notify(lb, LBN_SELCHANGE);
}

void KeySpace(ListBox& lb)
{
    if (!lb.MultiSel() || !lb.Valid(lb.caret))
        return;
    int i = lb.caret;
    bool changed;
    if (!lb.Extended() || GetKeyState(VK_CONTROL) < 0)
        changed = SetSelected(lb, i, !lb.items[static_cast<size_t>(i)].selected);
    else if (GetKeyState(VK_SHIFT) < 0)
        changed = SelectRange(lb, lb.Valid(lb.anchor) ? lb.anchor : i, i, true, true);
    else
        changed = SelectRange(lb, i, i, true, true);
    if (!(GetKeyState(VK_SHIFT) < 0))
        lb.anchor = i;
    if (changed)
        Notify(lb, LBN_SELCHANGE);
}

// Typed characters: incremental prefix search while the keys come quickly.
void TypeChar(ListBox& lb, char ch)
{
    if (!lb.HasStrings() || lb.Count() == 0 || static_cast<unsigned char>(ch) < ' ')
        return;
    DWORD now = GetTickCount();
    if (now - lb.typedAt > kTypeAheadMs)
        lb.typed.clear();
    lb.typedAt = now;
    lb.typed += ch;
    int cur = lb.caret >= 0 ? lb.caret : lb.sel;
    // A first character searches from the item after the current one; more characters
    // refine the match that the current item already is.
    int start = lb.typed.size() == 1 ? cur : cur - 1;
    int found = Find(lb, start, reinterpret_cast<LPARAM>(lb.typed.c_str()), false);
    if (found == LB_ERR)
        return;
    if (UserSelect(lb, found, false, false, false))
        Notify(lb, LBN_SELCHANGE);
    else
        EnsureVisible(lb, found);
}

// ---- Mouse -------------------------------------------------------------------------------

void MouseSelect(ListBox& lb, POINT p, WPARAM keys, bool down)
{
    bool outside = false;
    int i = ItemFromPoint(lb, p, outside);
    if (!lb.Valid(i))
        return;
    if (!down && lb.MultiSel() && !lb.Extended())
        return;  // dragging does not toggle items of a multiple-selection list
    bool shift = (keys & MK_SHIFT) != 0, ctrl = (keys & MK_CONTROL) != 0;
    bool changed;
    if (!down && lb.Extended()) {
        // Dragging extends from the anchor.
        changed = SelectRange(lb, lb.Valid(lb.anchor) ? lb.anchor : i, i, true, !ctrl);
        SetCaret(lb, i);
        EnsureVisible(lb, i);
    } else {
        changed = UserSelect(lb, i, shift, ctrl, true);
    }
    lb.trackingChanged |= changed;
}

// ---- Window procedure ------------------------------------------------------------------------

void Create(HWND hwnd, const CREATESTRUCTA* cs, bool comboList)
{
    auto* lb = new ListBox;
    lb->hwnd = hwnd;
    lb->style = static_cast<DWORD>(cs->style);
    if (comboList && cs->lpCreateParams)
        lb->combo = static_cast<const ComboListParams*>(cs->lpCreateParams)->combo;
    lb->owner = cs->hwndParent;
    if (lb->OwnerDraw() && (lb->style & LBS_OWNERDRAWVARIABLE))
        lb->style &= ~LBS_OWNERDRAWFIXED;
    if (lb->style & LBS_NOREDRAW)
        lb->redraw = false;
    if (lb->style & LBS_MULTIPLESEL && lb->style & LBS_EXTENDEDSEL)
        lb->style &= ~LBS_MULTIPLESEL;
    lb->itemHeight = FontLineHeight(nullptr);
    if (lb->combo)
        lb->font = reinterpret_cast<HFONT>(SendMessageA(lb->combo, WM_GETFONT, 0, 0));
    if (lb->font)
        lb->itemHeight = FontLineHeight(lb->font);
    SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(lb));
}

LRESULT ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool comboList)
{
    if (msg == WM_NCCREATE) {
        Create(hwnd, reinterpret_cast<const CREATESTRUCTA*>(lParam), comboList);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    ListBox* lbp = Get(hwnd);
    if (!lbp)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    ListBox& lb = *lbp;
    switch (msg) {
    case WM_CREATE:
        if (lb.OwnerDraw() && !lb.Variable()) {
            // Fixed owner-drawn items: the owner tells the height once.
            Item probe;
            Measure(lb, 0, probe);
            lb.itemHeight = std::max(1, probe.height);
        }
        FitIntegralHeight(lb);
        UpdateScrollBar(lb);
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrA(hwnd, 0, 0);
        delete lbp;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_DESTROY:
        for (int i = 0; i < lb.Count(); ++i)
            SendDeleteItem(lb, i);
        lb.items.clear();
        return 0;
    case WM_SIZE:
        if (!lb.sizing)
            FitIntegralHeight(lb);
        lb.top = std::clamp(lb.top, 0, MaxTop(lb));
        UpdateScrollBar(lb);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
        RECT area = wParam ? ClientRect(lb) : ps.rcPaint;
        if (lb.redraw || wParam)
            Paint(lb, dc, area);
        if (!wParam)
            EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(lb, reinterpret_cast<HDC>(wParam), ClientRect(lb));
        return 0;
    case WM_ERASEBKGND:
        return 1;  // painting fills the whole client area
    case WM_SETREDRAW:
        lb.redraw = wParam != 0;
        if (lb.redraw) {
            UpdateScrollBar(lb);
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_SETFONT:
        lb.font = reinterpret_cast<HFONT>(wParam);
        if (!lb.OwnerDraw())
            lb.itemHeight = FontLineHeight(lb.font);
        FitIntegralHeight(lb);
        UpdateScrollBar(lb);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(lb.font);
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        lb.focused = true;
        if (lb.Valid(lb.caret))
            RedrawItem(lb, lb.caret, ODA_FOCUS);
        else if (lb.OwnerDraw())
            InvalidateAll(lb);
        Notify(lb, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        lb.focused = false;  // first, so that the caret item is drawn without ODS_FOCUS
        if (lb.Valid(lb.caret))
            RedrawItem(lb, lb.caret, ODA_FOCUS);
        if (lb.tracking && GetCapture() == hwnd)
            ReleaseCapture();
        Notify(lb, LBN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (lb.combo && lb.dropped) {
            RECT c = ClientRect(lb);
            if (!PtInRect(&c, p)) {
                // A click anywhere else closes the list without a choice.
                Notify(lb, LBN_SELCANCEL);
                return 0;
            }
            MouseSelect(lb, p, wParam, true);
            return 0;
        }
        if (!lb.combo && GetFocus() != hwnd)
            SetFocus(hwnd);
        else if (lb.combo && GetFocus() != lb.combo && !IsChild(lb.combo, GetFocus()))
            SetFocus(lb.combo);
        lb.tracking = true;
        lb.trackingChanged = false;
        lb.pressSel = lb.sel;
        lb.pressCaret = lb.caret;
        lb.pressAnchor = lb.anchor;
        lb.pressSelected.assign(lb.items.size(), false);
        for (size_t k = 0; k < lb.items.size(); ++k)
            lb.pressSelected[k] = lb.items[k].selected;
        SetCapture(hwnd);
        MouseSelect(lb, p, wParam, true);
        if (msg == WM_LBUTTONDBLCLK) {
            bool outside = false;
            ItemFromPoint(lb, p, outside);
            if (!outside)
                Notify(lb, LBN_DBLCLK);
        }
        return 0;
    }
    case WM_MOUSEMOVE: {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (lb.combo && lb.dropped) {
            RECT c = ClientRect(lb);
            if (PtInRect(&c, p)) {
                // The item under the mouse is highlighted as it moves, button held or not.
                bool outside = false;
                int i = ItemFromPoint(lb, p, outside);
                if (!outside && i != lb.sel) {
                    SelectSingle(lb, i);
                    SetCaret(lb, i);
                }
            }
            return 0;
        }
        if (lb.tracking && (wParam & MK_LBUTTON)) {
            RECT c = ClientRect(lb);
            if (p.y < 0 && lb.top > 0)
                SetTop(lb, lb.top - 1);
            else if (p.y >= c.bottom)
                SetTop(lb, lb.top + 1);
            if (lb.MultiSel() && !lb.Extended())
                return 0;
            MouseSelect(lb, p, wParam, false);
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (lb.combo && lb.dropped) {
            RECT c = ClientRect(lb);
            bool outside = false;
            int i = ItemFromPoint(lb, p, outside);
            if (PtInRect(&c, p) && !outside) {
                SelectSingle(lb, i);
                SetCaret(lb, i);
                ComboListEvent(lb.combo, ListEvent::Chosen);
            }
            return 0;
        }
        if (!lb.tracking)
            return 0;
        lb.tracking = false;
        if (GetCapture() == hwnd)
            ReleaseCapture();
        if (lb.trackingChanged)
            Notify(lb, LBN_SELCHANGE);
        lb.trackingChanged = false;
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (lb.tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
            lb.tracking = false;
            if (lb.trackingChanged)
                Notify(lb, LBN_SELCHANGE);
            lb.trackingChanged = false;
        }
        return 0;
    case WM_CANCELMODE:
        if (lb.tracking && !lb.combo) {
            // The system cancels the press (a window comes up, the list is disabled): the
            // selection goes back to what it was and the owner hears that it was cancelled.
            lb.tracking = false;
            if (lb.trackingChanged) {
                lb.sel = lb.pressSel;
                for (size_t k = 0; k < lb.items.size() && k < lb.pressSelected.size(); ++k)
                    lb.items[k].selected = lb.pressSelected[k];
                lb.caret = lb.Valid(lb.pressCaret) ? lb.pressCaret : lb.caret;
                lb.anchor = lb.Valid(lb.pressAnchor) ? lb.pressAnchor : lb.anchor;
                InvalidateAll(lb);
            }
            lb.trackingChanged = false;
            if (GetCapture() == hwnd)
                ReleaseCapture();
            Notify(lb, LBN_SELCANCEL);
            return 0;
        }
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    case WM_MOUSEWHEEL: {
        int delta = static_cast<short>(HIWORD(wParam));
        SetTop(lb, lb.top - (delta / 120) * 3);
        return 0;
    }
    case WM_VSCROLL: {
        int page = PageFrom(lb, lb.top);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: SetTop(lb, lb.top - 1); break;
        case SB_LINEDOWN: SetTop(lb, lb.top + 1); break;
        case SB_PAGEUP: SetTop(lb, lb.top - std::max(1, page - 1)); break;
        case SB_PAGEDOWN: SetTop(lb, lb.top + std::max(1, page - 1)); break;
        case SB_TOP: SetTop(lb, 0); break;
        case SB_BOTTOM: SetTop(lb, lb.Count()); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: SetTop(lb, static_cast<short>(HIWORD(wParam))); break;
        default: break;
        }
        return 0;
    }
    case WM_HSCROLL: {
        int width = ClientRect(lb).right;
        int maxOffset = std::max(0, lb.horizontalExtent - width);
        int x = lb.xOffset;
        switch (LOWORD(wParam)) {
        case SB_LINELEFT: x -= 8; break;
        case SB_LINERIGHT: x += 8; break;
        case SB_PAGELEFT: x -= width; break;
        case SB_PAGERIGHT: x += width; break;
        case SB_LEFT: x = 0; break;
        case SB_RIGHT: x = maxOffset; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: x = static_cast<short>(HIWORD(wParam)); break;
        default: break;
        }
        x = std::clamp(x, 0, maxOffset);
        if (x != lb.xOffset) {
            lb.xOffset = x;
            UpdateScrollBar(lb);
            InvalidateAll(lb);
        }
        return 0;
    }
    case WM_KEYDOWN: {
        UINT vk = static_cast<UINT>(wParam);
        if ((lb.style & LBS_WANTKEYBOARDINPUT) && !lb.combo && lb.owner) {
            LRESULT r = SendMessageA(lb.owner, WM_VKEYTOITEM, MAKEWPARAM(static_cast<WORD>(vk), static_cast<WORD>(lb.caret)),
                                     reinterpret_cast<LPARAM>(hwnd));
            if (r == -2)
                return 0;
            if (r >= 0 && lb.Valid(static_cast<int>(r))) {
                if (UserSelect(lb, static_cast<int>(r), false, false, false))
                    Notify(lb, LBN_SELCHANGE);
                return 0;
            }
        }
        if (vk == VK_SPACE)
            KeySpace(lb);
        else
            KeyNavigate(lb, vk);
        return 0;
    }
    case WM_CHAR: {
        char ch = static_cast<char>(wParam);
        if ((lb.style & LBS_WANTKEYBOARDINPUT) && !lb.HasStrings() && !lb.combo && lb.owner) {
            LRESULT r = SendMessageA(lb.owner, WM_CHARTOITEM, MAKEWPARAM(static_cast<BYTE>(ch), static_cast<WORD>(lb.caret)),
                                     reinterpret_cast<LPARAM>(hwnd));
            if (r >= 0 && lb.Valid(static_cast<int>(r)) && UserSelect(lb, static_cast<int>(r), false, false, false))
                Notify(lb, LBN_SELCHANGE);
            return 0;
        }
        if (ch == ' ' && lb.MultiSel())
            return 0;  // handled as a key
        TypeChar(lb, ch);
        return 0;
    }

    // ---- LB_ messages ----
    case LB_ADDSTRING:
        return AddSorted(lb, lParam);
    case LB_INSERTSTRING: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index == -1)
            index = lb.Count();
        if (index < 0 || index > lb.Count())
            return LB_ERR;
        return Insert(lb, index, MakeItem(lb, lParam));
    }
    case LB_DELETESTRING: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lb.Valid(index))
            return LB_ERR;
        return Delete(lb, index);
    }
    case LB_RESETCONTENT:
        Reset(lb);
        return LB_OKAY;
    case LB_GETCOUNT:
        return lb.Count();
    case LB_GETTEXT: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lb.Valid(index) || !lParam)
            return LB_ERR;
        const Item& it = lb.items[static_cast<size_t>(index)];
        if (!lb.HasStrings()) {
            std::memcpy(reinterpret_cast<void*>(lParam), &it.data, sizeof it.data);
            return sizeof it.data;
        }
        std::memcpy(reinterpret_cast<char*>(lParam), it.text.c_str(), it.text.size() + 1);
        return static_cast<LRESULT>(it.text.size());
    }
    case LB_GETTEXTLEN: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lb.Valid(index))
            return LB_ERR;
        return lb.HasStrings() ? static_cast<LRESULT>(lb.items[static_cast<size_t>(index)].text.size())
                               : static_cast<LRESULT>(sizeof(ULONG_PTR));
    }
    case LB_GETITEMDATA: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lb.Valid(index))
            return LB_ERR;
        return static_cast<LRESULT>(lb.items[static_cast<size_t>(index)].data);
    }
    case LB_SETITEMDATA: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lb.Valid(index))
            return LB_ERR;
        lb.items[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    }
    case LB_SETCURSEL: {
        if (lb.MultiSel())
            return LB_ERR;
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lb.Valid(index)) {
            SelectSingle(lb, -1);
            return LB_ERR;
        }
        SelectSingle(lb, index);
        SetCaret(lb, index);
        lb.anchor = index;
        EnsureVisible(lb, index);
        return index;
    }
    case LB_GETCURSEL:
        if (lb.MultiSel())
            return lb.caret;
        return lb.sel;
    case LB_SETSEL: {
        if (!lb.MultiSel())
            return LB_ERR;
        int index = static_cast<int>(lParam);
        if (index == -1) {
            SelectRange(lb, 0, lb.Count() - 1, wParam != 0, false);
            return LB_OKAY;
        }
        if (!lb.Valid(index))
            return LB_ERR;
        SetSelected(lb, index, wParam != 0);
        if (wParam) {
            SetCaret(lb, index);
            lb.anchor = index;
        }
        return LB_OKAY;
    }
    case LB_GETSEL: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lb.Valid(index))
            return LB_ERR;
        return lb.IsSelected(index) ? 1 : 0;
    }
    case LB_GETSELCOUNT: {
        if (!lb.MultiSel())
            return LB_ERR;
        return std::count_if(lb.items.begin(), lb.items.end(), [](const Item& it) { return it.selected; });
    }
    case LB_GETSELITEMS: {
        if (!lb.MultiSel() || !lParam)
            return LB_ERR;
        int* out = reinterpret_cast<int*>(lParam);
        int max = static_cast<int>(wParam), n = 0;
        for (int i = 0; i < lb.Count() && n < max; ++i)
            if (lb.items[static_cast<size_t>(i)].selected)
                out[n++] = i;
        return n;
    }
    case LB_SELITEMRANGE: {
        if (!lb.MultiSel())
            return LB_ERR;
        int first = LOWORD(lParam), last = HIWORD(lParam);
        if (lb.Count() == 0)
            return LB_OKAY;
        SelectRange(lb, std::min(first, lb.Count() - 1), std::min(last, lb.Count() - 1), wParam != 0, false);
        return LB_OKAY;
    }
    case LB_SELITEMRANGEEX: {
        if (!lb.MultiSel())
            return LB_ERR;
        int first = static_cast<int>(wParam), last = static_cast<int>(lParam);
        if (lb.Count() == 0)
            return LB_OKAY;
        bool on = first <= last;
        first = std::clamp(first, 0, lb.Count() - 1);
        last = std::clamp(last, 0, lb.Count() - 1);
        SelectRange(lb, first, last, on, false);
        return LB_OKAY;
    }
    case LB_SETCARETINDEX: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lb.Valid(index))
            return LB_ERR;
        SetCaret(lb, index);
        if (!LOWORD(lParam))
            EnsureVisible(lb, index);
        else if (ItemTop(lb, index) < 0 || ItemTop(lb, index) >= ClientRect(lb).bottom)
            EnsureVisible(lb, index);
        return LB_OKAY;
    }
    case LB_GETCARETINDEX:
        return lb.MultiSel() ? lb.caret : (lb.caret >= 0 ? lb.caret : lb.sel);
    case LB_SETANCHORINDEX: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lb.Valid(index))
            return LB_ERR;
        lb.anchor = index;
        return LB_OKAY;
    }
    case LB_GETANCHORINDEX:
        return lb.anchor;
    case LB_GETTOPINDEX:
        return lb.top;
    case LB_SETTOPINDEX: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || (index >= lb.Count() && lb.Count() > 0))
            return LB_ERR;
        SetTop(lb, index);
        return LB_OKAY;
    }
    case LB_GETITEMRECT: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (!lParam || (!lb.Valid(index) && !(index == 0 && lb.Count() == 0)))
            return LB_ERR;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(lb, index);
        RECT r = *reinterpret_cast<RECT*>(lParam);
        RECT c = ClientRect(lb);
        return (r.bottom > 0 && r.top < c.bottom) ? 1 : 0;
    }
    case LB_ITEMFROMPOINT: {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        bool outside = false;
        int i = ItemFromPoint(lb, p, outside);
        return MAKELONG(static_cast<WORD>(i), outside ? 1 : 0);
    }
    case LB_SETITEMHEIGHT: {
        int height = LOWORD(lParam);
        if (height <= 0 || height > 255)
            return LB_ERR;
        if (lb.Variable()) {
            int index = static_cast<int>(static_cast<INT_PTR>(wParam));
            if (!lb.Valid(index))
                return LB_ERR;
            lb.items[static_cast<size_t>(index)].height = height;
            UpdateScrollBar(lb);
            InvalidateAll(lb);
            return LB_OKAY;
        }
        SetItemHeightAll(lb, height);
        return LB_OKAY;
    }
    case LB_GETITEMHEIGHT: {
        if (lb.Variable()) {
            int index = static_cast<int>(static_cast<INT_PTR>(wParam));
            if (!lb.Valid(index))
                return lb.Count() == 0 ? lb.itemHeight : LB_ERR;
            return lb.HeightOf(index);
        }
        return lb.itemHeight;
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return Find(lb, static_cast<int>(static_cast<INT_PTR>(wParam)), lParam, msg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
        int found = Find(lb, static_cast<int>(static_cast<INT_PTR>(wParam)), lParam, false);
        if (found == LB_ERR)
            return LB_ERR;
        if (lb.MultiSel()) {
            SetSelected(lb, found, true);
            SetCaret(lb, found);
        } else {
            SelectSingle(lb, found);
            SetCaret(lb, found);
        }
        EnsureVisible(lb, found);
        return found;
    }
    case LB_SETHORIZONTALEXTENT:
        lb.horizontalExtent = std::max(0, static_cast<int>(wParam));
        lb.xOffset = std::clamp(lb.xOffset, 0, std::max(0, lb.horizontalExtent - static_cast<int>(ClientRect(lb).right)));
        UpdateScrollBar(lb);
        InvalidateAll(lb);
        return 0;
    case LB_GETHORIZONTALEXTENT:
        return lb.horizontalExtent;
    case LB_SETCOLUMNWIDTH:
        lb.columnWidth = static_cast<int>(wParam);
        return 0;
    case LB_SETTABSTOPS:
        if (!(lb.style & LBS_USETABSTOPS))
            return FALSE;
        // Without a list the stops are two dialog units apart.
        lb.tabStops.Set(static_cast<int>(wParam), reinterpret_cast<const INT*>(lParam), 2);
        InvalidateAll(lb);
        return TRUE;
    case LB_SETLOCALE: {
        LCID old = lb.locale;
        lb.locale = static_cast<LCID>(wParam);
        return static_cast<LRESULT>(old);
    }
    case LB_GETLOCALE:
        return static_cast<LRESULT>(lb.locale);
    case LB_INITSTORAGE:
        lb.items.reserve(lb.items.size() + wParam);
        return static_cast<LRESULT>(lb.items.capacity());
    case LB_SETCOUNT:
    case LB_DIR:
    case LB_ADDFILE:
        return LB_ERR;

    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK PlainListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ListBoxProc(hwnd, msg, wParam, lParam, false);
}

LRESULT CALLBACK ComboListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ListBoxProc(hwnd, msg, wParam, lParam, true);
}

void RegisterListClasses()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = PlainListProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "LISTBOX";
    user::RegisterSystemClass(wc);
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS | CS_SAVEBITS;
    wc.lpfnWndProc = ComboListProc;
    wc.lpszClassName = "ComboLBox";
    user::RegisterSystemClass(wc);
}

struct Registrar {
    Registrar() { user::AddSystemClassRegistrar(RegisterListClasses); }
} registrar;

}  // namespace

void SetListDropped(HWND list, bool dropped)
{
    if (ListBox* lb = Get(list)) {
        lb->dropped = dropped;
        if (lb->Valid(lb->sel))
            lb->caret = lb->sel;
    }
}

}  // namespace ctl
