// The combo box control (class "COMBOBOX"): simple, drop-down and drop-down list styles, its
// selection field (an edit control, or drawn by the combo box itself), the drop-down list (a
// "ComboLBox" list box) and the CBN_ notifications.
#include "CtlList.h"
#include "UserInternal.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace ctl {

namespace {

constexpr int kEditId = 1001;
constexpr int kListId = 1000;
constexpr int kFieldPadding = 6;  // sunken border and a pixel of air above and below the text

struct Combo {
    HWND hwnd = nullptr;
    HWND parent = nullptr;
    HWND list = nullptr;
    HWND edit = nullptr;
    WNDPROC editProc = nullptr;
    DWORD style = 0;
    HFONT font = nullptr;
    int fieldHeight = 0;
    int dropHeight = 0;
    int droppedWidth = 0;
    bool dropped = false;
    bool focused = false;
    bool extendedUI = false;
    bool buttonPressed = false;
    bool updatingEdit = false;
    bool adjusting = false;
    int selAtDrop = -1;
    int notifiedSel = -1;

    int Type() const
    {
        int t = static_cast<int>(style & 3);
        return t == 0 ? CBS_SIMPLE : t;
    }
    bool DropDown() const { return Type() != CBS_SIMPLE; }
    bool HasEdit() const { return Type() != CBS_DROPDOWNLIST; }
    bool OwnerDraw() const { return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
    bool HasStrings() const { return !OwnerDraw() || (style & CBS_HASSTRINGS); }
};

Combo* Get(HWND hwnd)
{
    return reinterpret_cast<Combo*>(GetWindowLongPtrA(hwnd, 0));
}

LRESULT Lb(const Combo& cb, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return cb.list ? SendMessageA(cb.list, msg, wParam, lParam) : LB_ERR;
}

void Notify(Combo& cb, int code)
{
    if (cb.parent)
        SendMessageA(cb.parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cb.hwnd), static_cast<WORD>(code)),
                     reinterpret_cast<LPARAM>(cb.hwnd));
}

RECT Client(const Combo& cb)
{
    RECT r{};
    GetClientRect(cb.hwnd, &r);
    return r;
}

RECT FieldRect(const Combo& cb)
{
    RECT c = Client(cb);
    return RECT{0, 0, c.right, cb.DropDown() ? c.bottom : cb.fieldHeight};
}

RECT ButtonRect(const Combo& cb)
{
    RECT f = FieldRect(cb);
    if (!cb.DropDown())
        return RECT{f.right, 0, f.right, 0};
    int w = GetSystemMetrics(SM_CXVSCROLL);
    return RECT{std::max(2, static_cast<int>(f.right) - 2 - w), 2, f.right - 2, f.bottom - 2};
}

// The text part of the field, inside the border and left of the button.
RECT TextRect(const Combo& cb)
{
    RECT f = FieldRect(cb);
    RECT b = ButtonRect(cb);
    return RECT{2, 2, cb.DropDown() ? b.left : f.right - 2, f.bottom - 2};
}

std::string ItemText(const Combo& cb, int index)
{
    int len = static_cast<int>(Lb(cb, LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (len < 0 || !cb.HasStrings())
        return {};
    std::string s(static_cast<size_t>(len) + 1, '\0');
    Lb(cb, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(len));
    return s;
}

int CurSel(const Combo& cb)
{
    return static_cast<int>(Lb(cb, LB_GETCURSEL));
}

void RedrawField(Combo& cb)
{
    RECT f = FieldRect(cb);
    InvalidateRect(cb.hwnd, &f, FALSE);
}

// The field shows the list's selection: the edit gets its text, all selected.
void UpdateField(Combo& cb)
{
    if (cb.edit) {
        int sel = CurSel(cb);
        std::string text = sel >= 0 ? ItemText(cb, sel) : std::string();
        cb.updatingEdit = true;
        SetWindowTextA(cb.edit, text.c_str());
        SendMessageA(cb.edit, EM_SETSEL, 0, -1);
        cb.updatingEdit = false;
    }
    RedrawField(cb);
}

// ---- Dropping and closing ----------------------------------------------------------------

void PlaceList(Combo& cb)
{
    RECT w{};
    GetWindowRect(cb.hwnd, &w);
    int width = std::max(static_cast<int>(w.right - w.left), cb.droppedWidth);
    int count = static_cast<int>(Lb(cb, LB_GETCOUNT));
    int itemHeight = static_cast<int>(Lb(cb, LB_GETITEMHEIGHT, 0));
    int height = cb.dropHeight;
    if (!(cb.style & CBS_OWNERDRAWVARIABLE) && itemHeight > 0) {
        int wanted = std::max(1, count) * itemHeight + 2;
        height = std::min(std::max(height, itemHeight + 2), wanted);
    }
    height = std::max(height, itemHeight + 2);
    SIZE screen = user::DesktopSize();
    int y = w.bottom;
    if (y + height > screen.cy && w.top - height >= 0)
        y = w.top - height;
    SetWindowPos(cb.list, HWND_TOPMOST, w.left, y, width, height, SWP_NOACTIVATE);
}

void Drop(Combo& cb)
{
    if (cb.dropped || !cb.DropDown())
        return;
    Notify(cb, CBN_DROPDOWN);
    if (!IsWindow(cb.hwnd))
        return;
    cb.dropped = true;
    cb.selAtDrop = CurSel(cb);
    cb.notifiedSel = cb.selAtDrop;
    PlaceList(cb);
    SetListDropped(cb.list, true);
    if (cb.selAtDrop >= 0)
        Lb(cb, LB_SETTOPINDEX, static_cast<WPARAM>(cb.selAtDrop));
    SetWindowPos(cb.list, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetCapture(cb.list);
    RedrawField(cb);
}

// Closes the dropped list: with ok the selection stands (CBN_SELENDOK), else it goes back to what
// it was when the list opened (CBN_SELENDCANCEL). `notify` false closes silently but for
// CBN_CLOSEUP (CB_SHOWDROPDOWN).
void CloseUp(Combo& cb, bool ok, bool notify = true)
{
    if (!cb.dropped)
        return;
    cb.dropped = false;
    cb.buttonPressed = false;
    SetListDropped(cb.list, false);
    if (GetCapture() == cb.list)
        ReleaseCapture();
    ShowWindow(cb.list, SW_HIDE);
    if (!ok && CurSel(cb) != cb.selAtDrop) {
        Lb(cb, LB_SETCURSEL, static_cast<WPARAM>(cb.selAtDrop));
        UpdateField(cb);
    }
    if (notify)
        Notify(cb, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
    Notify(cb, CBN_CLOSEUP);
    if (!IsWindow(cb.hwnd))
        return;
    int sel = CurSel(cb);
    if (ok && sel != cb.notifiedSel) {
        cb.notifiedSel = sel;
        UpdateField(cb);
        if (notify)
            Notify(cb, CBN_SELCHANGE);
    }
    if (cb.edit && GetFocus() == cb.edit)
        SendMessageA(cb.edit, EM_SETSEL, 0, -1);
    RedrawField(cb);
}

// ---- Painting ----------------------------------------------------------------------------

HBRUSH FieldBrush(Combo& cb, HDC dc)
{
    HBRUSH brush = nullptr;
    if (cb.parent)
        brush = reinterpret_cast<HBRUSH>(SendMessageA(cb.parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(cb.hwnd)));
    if (!brush) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        brush = GetSysColorBrush(COLOR_WINDOW);
    }
    return brush;
}

void PaintSelection(Combo& cb, HDC dc)
{
    RECT t = TextRect(cb);
    HBRUSH brush = FieldBrush(cb, dc);
    FillRect(dc, &t, brush);
    RECT inner = t;
    InflateRect(&inner, -1, -1);
    int sel = CurSel(cb);
    bool focusShown = cb.focused && !cb.dropped;
    if (cb.OwnerDraw()) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID(cb.hwnd));
        dis.itemID = static_cast<UINT>(sel);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ODS_COMBOBOXEDIT | (focusShown ? ODS_SELECTED | ODS_FOCUS : 0) |
                        (IsWindowEnabled(cb.hwnd) ? 0 : ODS_DISABLED);
        dis.hwndItem = cb.hwnd;
        dis.hDC = dc;
        dis.rcItem = inner;
        dis.itemData = sel >= 0 ? static_cast<ULONG_PTR>(Lb(cb, LB_GETITEMDATA, static_cast<WPARAM>(sel))) : 0;
        if (cb.parent)
            SendMessageA(cb.parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    COLORREF oldText = GetTextColor(dc);
    if (focusShown) {
        FillRect(dc, &inner, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    if (!IsWindowEnabled(cb.hwnd))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    if (sel >= 0) {
        std::string text = ItemText(cb, sel);
        int oldMode = SetBkMode(dc, TRANSPARENT);
        RECT tr = inner;
        tr.left += 2;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SetBkMode(dc, oldMode);
    }
    SetTextColor(dc, oldText);
    if (focusShown)
        DrawFocusRect(dc, &inner);
}

void Paint(Combo& cb, HDC dc)
{
    HGDIOBJ oldFont = SelectObject(dc, cb.font ? cb.font : DefaultControlFont());
    RECT c = Client(cb);
    RECT f = FieldRect(cb);
    if (!cb.DropDown() && c.bottom > f.bottom) {
        // Around the list of a simple combo box shows the parent's dialog colour.
        RECT rest{0, f.bottom, c.right, c.bottom};
        FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
    }
    RECT edge = f;
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    if (!cb.HasEdit()) {
        PaintSelection(cb, dc);
    } else {
        RECT t = TextRect(cb);
        FillRect(dc, &t, GetSysColorBrush(IsWindowEnabled(cb.hwnd) ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    if (cb.DropDown()) {
        RECT b = ButtonRect(cb);
        UINT state = DFCS_SCROLLCOMBOBOX;
        if (cb.buttonPressed || cb.dropped)
            state |= DFCS_PUSHED | DFCS_FLAT;
        if (!IsWindowEnabled(cb.hwnd))
            state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &b, DFC_SCROLL, state);
    }
    SelectObject(dc, oldFont);
}

// ---- Layout ------------------------------------------------------------------------------

// A drop-down combo box's window is as high as its field (its list drops outside it); the
// width stays, or becomes the given one. Not taken for a new dropped-list height.
void FitToField(Combo& cb, int width = -1)
{
    if (!cb.DropDown())
        return;
    if (width < 0) {
        RECT w{};
        GetWindowRect(cb.hwnd, &w);
        width = w.right - w.left;
    }
    cb.adjusting = true;
    SetWindowPos(cb.hwnd, nullptr, 0, 0, width, cb.fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    cb.adjusting = false;
}

void Layout(Combo& cb)
{
    RECT c = Client(cb);
    if (cb.edit) {
        RECT t = TextRect(cb);
        MoveWindow(cb.edit, t.left + 1, t.top + 1, std::max(0, static_cast<int>(t.right - t.left) - 2),
                   std::max(0, static_cast<int>(t.bottom - t.top) - 2), TRUE);
    }
    if (!cb.DropDown() && cb.list)
        MoveWindow(cb.list, 0, cb.fieldHeight, c.right, std::max(0, static_cast<int>(c.bottom) - cb.fieldHeight), TRUE);
}

// ---- Keyboard ----------------------------------------------------------------------------

bool IsListKey(UINT vk)
{
    return vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_HOME || vk == VK_END ||
           vk == VK_LEFT || vk == VK_RIGHT;
}

// Keys of the combo box (from itself or its edit). True when handled.
bool KeyDown(Combo& cb, UINT vk, bool fromEdit)
{
    if (vk == VK_F4) {
        if (cb.dropped)
            CloseUp(cb, true);
        else
            Drop(cb);
        return true;
    }
    if (cb.dropped && vk == VK_RETURN) {
        CloseUp(cb, true);
        return true;
    }
    if (cb.dropped && vk == VK_ESCAPE) {
        CloseUp(cb, false);
        return true;
    }
    if (!IsListKey(vk))
        return false;
    if (fromEdit && !cb.dropped && (vk == VK_HOME || vk == VK_END || vk == VK_LEFT || vk == VK_RIGHT))
        return false;  // caret movement in the edit
    if (fromEdit && cb.dropped && (vk == VK_LEFT || vk == VK_RIGHT))
        return false;
    if (!cb.dropped && cb.extendedUI && vk == VK_DOWN) {
        Drop(cb);
        return true;
    }
    if (cb.edit && CurSel(cb) < 0) {
        // The list follows what has been typed before moving.
        int len = GetWindowTextLengthA(cb.edit);
        std::string text(static_cast<size_t>(len) + 1, '\0');
        GetWindowTextA(cb.edit, text.data(), len + 1);
        text.resize(static_cast<size_t>(len));
        int found = text.empty() ? -1 : static_cast<int>(Lb(cb, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                                             reinterpret_cast<LPARAM>(text.c_str())));
        if (found >= 0) {
            Lb(cb, LB_SETCURSEL, static_cast<WPARAM>(found));
            UpdateField(cb);
            cb.notifiedSel = found;
            Notify(cb, CBN_SELCHANGE);
            return true;
        }
    }
    SendMessageA(cb.list, WM_KEYDOWN, vk, 0);
    return true;
}

bool SysKeyDown(Combo& cb, UINT vk)
{
    if (vk != VK_DOWN && vk != VK_UP)
        return false;
    if (cb.dropped)
        CloseUp(cb, true);
    else
        Drop(cb);
    return true;
}

// ---- Focus ---------------------------------------------------------------------------------

bool FocusInside(const Combo& cb, HWND w)
{
    return w && (w == cb.hwnd || w == cb.edit || w == cb.list);
}

void GotFocus(Combo& cb)
{
    if (cb.focused)
        return;
    cb.focused = true;
    RedrawField(cb);
    Notify(cb, CBN_SETFOCUS);
}

void LostFocus(Combo& cb, HWND to)
{
    if (FocusInside(cb, to) || !cb.focused)
        return;
    if (cb.dropped)
        CloseUp(cb, false);
    cb.focused = false;
    RedrawField(cb);
    Notify(cb, CBN_KILLFOCUS);
}

// ---- The edit part -----------------------------------------------------------------------

LRESULT CALLBACK EditSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND comboWnd = GetParent(hwnd);
    Combo* cbp = comboWnd ? Get(comboWnd) : nullptr;
    if (!cbp || cbp->edit != hwnd)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    Combo& cb = *cbp;
    WNDPROC old = cb.editProc;
    switch (msg) {
    case WM_KEYDOWN:
        if (KeyDown(cb, static_cast<UINT>(wParam), true))
            return 0;
        break;
    case WM_SYSKEYDOWN:
        if (SysKeyDown(cb, static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_CHAR:
        if (cb.dropped && (wParam == '\r' || wParam == 0x1b))
            return 0;
        break;
    case WM_GETDLGCODE: {
        LRESULT code = CallWindowProcA(old, hwnd, msg, wParam, lParam);
        code |= DLGC_WANTARROWS;
        if (cb.dropped)
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETFOCUS: {
        LRESULT r = CallWindowProcA(old, hwnd, msg, wParam, lParam);
        GotFocus(cb);
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = CallWindowProcA(old, hwnd, msg, wParam, lParam);
        LostFocus(cb, reinterpret_cast<HWND>(wParam));
        return r;
    }
    default:
        break;
    }
    return CallWindowProcA(old, hwnd, msg, wParam, lParam);
}

// ---- Creation ----------------------------------------------------------------------------

int MeasureField(Combo& cb, int itemHeight)
{
    if (!cb.OwnerDraw())
        return itemHeight + kFieldPadding;
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_COMBOBOX;
    mis.CtlID = static_cast<UINT>(GetDlgCtrlID(cb.hwnd));
    mis.itemID = static_cast<UINT>(-1);
    mis.itemHeight = static_cast<UINT>(itemHeight);
    if (cb.parent)
        SendMessageA(cb.parent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    return static_cast<int>(mis.itemHeight) + kFieldPadding;
}

bool CreateParts(Combo& cb, const CREATESTRUCTA& cs)
{
    int itemHeight = FontLineHeight(cb.font);
    cb.fieldHeight = MeasureField(cb, itemHeight);
    cb.dropHeight = std::max(0, cs.cy - cb.fieldHeight);

    DWORD lbStyle = WS_BORDER | LBS_NOTIFY | (cb.style & (WS_VSCROLL | WS_HSCROLL));
    lbStyle |= cb.style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE);  // same bits as LBS_
    if (cb.style & CBS_SORT)
        lbStyle |= LBS_SORT;
    if (cb.style & CBS_HASSTRINGS)
        lbStyle |= LBS_HASSTRINGS;
    if (cb.style & CBS_NOINTEGRALHEIGHT)
        lbStyle |= LBS_NOINTEGRALHEIGHT;
    if (cb.style & CBS_DISABLENOSCROLL)
        lbStyle |= LBS_DISABLENOSCROLL;
    ComboListParams params{cb.hwnd};
    if (cb.DropDown()) {
        cb.list = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "ComboLBox", "", WS_POPUP | lbStyle, 0, 0,
                                  std::max(1, cs.cx), std::max(itemHeight + 2, cb.dropHeight), cb.hwnd, nullptr,
                                  cs.hInstance, &params);
    } else {
        cb.list = CreateWindowExA(0, "ComboLBox", "", WS_CHILD | WS_VISIBLE | lbStyle | LBS_NOINTEGRALHEIGHT, 0,
                                  cb.fieldHeight, cs.cx, std::max(0, cs.cy - cb.fieldHeight), cb.hwnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), cs.hInstance, &params);
    }
    if (!cb.list)
        return false;
    if (cb.HasEdit()) {
        DWORD es = WS_CHILD | WS_VISIBLE;
        if (cb.style & CBS_AUTOHSCROLL)
            es |= ES_AUTOHSCROLL;
        if (cb.style & CBS_UPPERCASE)
            es |= ES_UPPERCASE;
        if (cb.style & CBS_LOWERCASE)
            es |= ES_LOWERCASE;
        cb.edit = CreateWindowExA(0, "EDIT", "", es, 0, 0, 0, 0, cb.hwnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), cs.hInstance, nullptr);
        if (!cb.edit)
            return false;
        // The edit part writes in the combo box's font.
        SendMessageA(cb.edit, WM_SETFONT, reinterpret_cast<WPARAM>(cb.font ? cb.font : DefaultControlFont()), FALSE);
        cb.editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(cb.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditSubclassProc)));
        if (cs.lpszName && *cs.lpszName)
            SetWindowTextA(cb.edit, cs.lpszName);
    }
    FitToField(cb, cs.cx);
    Layout(cb);
    return true;
}

}  // namespace

void ComboListEvent(HWND combo, ListEvent event)
{
    Combo* cbp = Get(combo);
    if (!cbp)
        return;
    Combo& cb = *cbp;
    switch (event) {
    case ListEvent::SelChange:
        UpdateField(cb);
        cb.notifiedSel = CurSel(cb);
        Notify(cb, CBN_SELCHANGE);
        break;
    case ListEvent::Chosen:
        CloseUp(cb, true);
        break;
    case ListEvent::Cancelled:
        CloseUp(cb, false);
        break;
    case ListEvent::DblClk:
        Notify(cb, CBN_DBLCLK);
        break;
    }
}

namespace {

LRESULT CALLBACK ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* cb = new Combo;
        cb->hwnd = hwnd;
        cb->parent = cs->hwndParent;
        cb->style = static_cast<DWORD>(cs->style);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(cb));
        // The scroll bars asked for belong to the list, not to the combo box itself.
        if (cb->style & (WS_VSCROLL | WS_HSCROLL))
            SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(cb->style & ~(WS_VSCROLL | WS_HSCROLL)));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    Combo* cbp = Get(hwnd);
    if (!cbp)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    Combo& cb = *cbp;
    switch (msg) {
    case WM_CREATE:
        return CreateParts(cb, *reinterpret_cast<const CREATESTRUCTA*>(lParam)) ? 0 : -1;
    case WM_DESTROY:
        if (cb.dropped && GetCapture() == cb.list)
            ReleaseCapture();
        if (cb.list && cb.DropDown())
            DestroyWindow(cb.list);
        cb.list = nullptr;
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, 0, 0);
        delete cbp;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING: {
        // The height given to a drop-down combo box is the height of its dropped list.
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        if (cb.DropDown() && !cb.adjusting && !(wp->flags & SWP_NOSIZE) && wp->cy != cb.fieldHeight) {
            cb.dropHeight = std::max(0, wp->cy - cb.fieldHeight);
            wp->cy = cb.fieldHeight;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_SIZE:
        Layout(cb);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
        Paint(cb, dc);
        if (!wParam)
            EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        cb.font = reinterpret_cast<HFONT>(wParam);
        if (cb.edit)
            SendMessageA(cb.edit, WM_SETFONT, reinterpret_cast<WPARAM>(cb.font ? cb.font : DefaultControlFont()), lParam);
        if (cb.list)
            SendMessageA(cb.list, WM_SETFONT, wParam, lParam);
        if (!cb.OwnerDraw()) {
            cb.fieldHeight = FontLineHeight(cb.font) + kFieldPadding;
            FitToField(cb);
        }
        Layout(cb);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(cb.font);
    case WM_ENABLE:
        if (cb.edit)
            EnableWindow(cb.edit, static_cast<BOOL>(wParam));
        if (cb.list)
            EnableWindow(cb.list, static_cast<BOOL>(wParam));
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (cb.dropped)
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETFOCUS:
        if (cb.edit) {
            SetFocus(cb.edit);
            SendMessageA(cb.edit, EM_SETSEL, 0, -1);
        } else {
            GotFocus(cb);
        }
        return 0;
    case WM_KILLFOCUS:
        LostFocus(cb, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (!FocusInside(cb, GetFocus()))
            SetFocus(hwnd);
        RECT b = ButtonRect(cb);
        if (cb.DropDown() && (!cb.HasEdit() || PtInRect(&b, p))) {
            cb.buttonPressed = true;
            Drop(cb);
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (KeyDown(cb, static_cast<UINT>(wParam), false))
            return 0;
        break;
    case WM_SYSKEYDOWN:
        if (SysKeyDown(cb, static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_CHAR:
        if (!cb.edit && cb.list && wParam >= ' ') {
            SendMessageA(cb.list, WM_CHAR, wParam, lParam);
            return 0;
        }
        if (cb.edit)
            return SendMessageA(cb.edit, WM_CHAR, wParam, lParam);
        return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == cb.edit && cb.edit) {
            int code = HIWORD(wParam);
            if (cb.updatingEdit)
                return 0;
            if (code == EN_CHANGE) {
                if (cb.dropped) {
                    // The dropped list follows the typed text.
                    int len = GetWindowTextLengthA(cb.edit);
                    std::string text(static_cast<size_t>(len) + 1, '\0');
                    GetWindowTextA(cb.edit, text.data(), len + 1);
                    text.resize(static_cast<size_t>(len));
                    int found = text.empty() ? -1
                                             : static_cast<int>(Lb(cb, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                                                   reinterpret_cast<LPARAM>(text.c_str())));
                    Lb(cb, LB_SETCURSEL, static_cast<WPARAM>(found));
                } else {
                    Lb(cb, LB_SETCURSEL, static_cast<WPARAM>(-1));
                }
                Notify(cb, CBN_EDITCHANGE);
            } else if (code == EN_UPDATE) {
                Notify(cb, CBN_EDITUPDATE);
            } else if (code == EN_ERRSPACE || code == EN_MAXTEXT) {
                Notify(cb, CBN_ERRSPACE);
            }
            return 0;
        }
        return 0;
    case WM_SETTEXT:
        if (cb.edit) {
            cb.updatingEdit = true;
            LRESULT r = SendMessageA(cb.edit, WM_SETTEXT, wParam, lParam);
            cb.updatingEdit = false;
            return r;
        } else {
            int found = lParam ? static_cast<int>(Lb(cb, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam)) : -1;
            if (found < 0)
                return CB_ERR;
            Lb(cb, LB_SETCURSEL, static_cast<WPARAM>(found));
            RedrawField(cb);
            return TRUE;
        }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        if (cb.edit)
            return SendMessageA(cb.edit, msg, wParam, lParam);
        int sel = CurSel(cb);
        std::string text = sel >= 0 ? ItemText(cb, sel) : std::string();
        if (msg == WM_GETTEXTLENGTH)
            return static_cast<LRESULT>(text.size());
        if (!lParam || wParam == 0)
            return 0;
        size_t n = std::min(text.size(), static_cast<size_t>(wParam) - 1);
        std::memcpy(reinterpret_cast<char*>(lParam), text.data(), n);
        reinterpret_cast<char*>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }

    // ---- CB_ messages ----
    case CB_ADDSTRING: return Lb(cb, LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING: return Lb(cb, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: {
        int sel = CurSel(cb);
        LRESULT r = Lb(cb, LB_DELETESTRING, wParam, lParam);
        if (r >= 0 && static_cast<int>(wParam) == sel)
            UpdateField(cb);
        else
            RedrawField(cb);
        return r;
    }
    case CB_GETCOUNT: return Lb(cb, LB_GETCOUNT);
    case CB_GETCURSEL: return Lb(cb, LB_GETCURSEL);
    case CB_GETLBTEXT: return Lb(cb, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN: return Lb(cb, LB_GETTEXTLEN, wParam, lParam);
    case CB_GETITEMDATA: return Lb(cb, LB_GETITEMDATA, wParam);
    case CB_SETITEMDATA: return Lb(cb, LB_SETITEMDATA, wParam, lParam);
    case CB_FINDSTRING: return Lb(cb, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT: return Lb(cb, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_GETTOPINDEX: return Lb(cb, LB_GETTOPINDEX);
    case CB_SETTOPINDEX: return Lb(cb, LB_SETTOPINDEX, wParam) == LB_ERR ? CB_ERR : CB_OKAY;
    case CB_GETHORIZONTALEXTENT: return Lb(cb, LB_GETHORIZONTALEXTENT);
    case CB_SETHORIZONTALEXTENT: Lb(cb, LB_SETHORIZONTALEXTENT, wParam); return 0;
    case CB_INITSTORAGE: return Lb(cb, LB_INITSTORAGE, wParam, lParam);
    case CB_SETLOCALE: return Lb(cb, LB_SETLOCALE, wParam);
    case CB_GETLOCALE: return Lb(cb, LB_GETLOCALE);
    case CB_SETCURSEL: {
        LRESULT r = Lb(cb, LB_SETCURSEL, wParam);
        cb.notifiedSel = CurSel(cb);
        UpdateField(cb);
        return r;
    }
    case CB_SELECTSTRING: {
        int found = static_cast<int>(Lb(cb, LB_FINDSTRING, wParam, lParam));
        if (found < 0)
            return CB_ERR;
        Lb(cb, LB_SETCURSEL, static_cast<WPARAM>(found));
        cb.notifiedSel = found;
        UpdateField(cb);
        return found;
    }
    case CB_RESETCONTENT:
        Lb(cb, LB_RESETCONTENT);
        cb.notifiedSel = -1;
        UpdateField(cb);
        return CB_OKAY;
    case CB_SHOWDROPDOWN:
        if (wParam)
            Drop(cb);
        else
            CloseUp(cb, true, false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return cb.dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        if (!lParam)
            return CB_ERR;
        RECT w{};
        GetWindowRect(hwnd, &w);
        RECT* r = reinterpret_cast<RECT*>(lParam);
        r->left = w.left;
        r->top = w.top;
        r->right = w.left + std::max(static_cast<int>(w.right - w.left), cb.droppedWidth);
        r->bottom = w.top + cb.fieldHeight + (cb.DropDown() ? cb.dropHeight : 0);
        return TRUE;
    }
    case CB_SETITEMHEIGHT: {
        int height = LOWORD(lParam);
        if (static_cast<int>(static_cast<INT_PTR>(wParam)) == -1) {
            if (height <= 0 || height > 255)
                return CB_ERR;
            cb.fieldHeight = height + kFieldPadding;
            FitToField(cb);
            Layout(cb);
            InvalidateRect(hwnd, nullptr, TRUE);
            return CB_OKAY;
        }
        return Lb(cb, LB_SETITEMHEIGHT, wParam, lParam);
    }
    case CB_GETITEMHEIGHT:
        if (static_cast<int>(static_cast<INT_PTR>(wParam)) == -1)
            return cb.fieldHeight - kFieldPadding;
        return Lb(cb, LB_GETITEMHEIGHT, wParam);
    case CB_SETEXTENDEDUI:
        cb.extendedUI = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return cb.extendedUI ? TRUE : FALSE;
    case CB_GETDROPPEDWIDTH: {
        RECT w{};
        GetWindowRect(hwnd, &w);
        return std::max(static_cast<int>(w.right - w.left), cb.droppedWidth);
    }
    case CB_SETDROPPEDWIDTH:
        cb.droppedWidth = static_cast<int>(wParam);
        return std::max(cb.droppedWidth, static_cast<int>(Client(cb).right));
    case CB_GETEDITSEL:
        if (!cb.edit)
            return CB_ERR;
        return SendMessageA(cb.edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL:
        if (!cb.edit)
            return CB_ERR;
        SendMessageA(cb.edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                     static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
        return TRUE;
    case CB_LIMITTEXT:
        if (!cb.edit)
            return CB_ERR;
        SendMessageA(cb.edit, EM_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_DIR:
        return CB_ERR;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        return cb.edit ? SendMessageA(cb.edit, msg, wParam, lParam) : 0;

    // Owner-draw messages of the list of a simple combo box come to the combo box as its
    // parent's children would; they are passed on to the combo box's parent.
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
        return cb.parent ? SendMessageA(cb.parent, msg, wParam, lParam) : 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterComboClass()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS | CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = ComboProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "COMBOBOX";
    user::RegisterSystemClass(wc);
}

struct Registrar {
    Registrar() { user::AddSystemClassRegistrar(RegisterComboClass); }
} registrar;

}  // namespace
}  // namespace ctl
