// The static control ("STATIC"): text (left, centred, right, simple, without word wrap),
// rectangles and frames, etched lines, icons, bitmaps and owner-drawn statics; SS_NOTIFY clicks.
#include "ControlsInternal.h"

#include <cstdlib>

namespace controls {
namespace {

constexpr int kIconSize = 32;  // the standard icon size

struct StaticState {
    HFONT font = nullptr;
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
};

UINT Type(LONG style) { return static_cast<UINT>(style & SS_TYPEMASK); }

void DrawText(HWND hwnd, HDC hdc, const RECT& r, LONG style)
{
    std::string text = TextOf(hwnd);
    UINT type = Type(style);
    UINT fmt = DT_EXPANDTABS;
    switch (type) {
    case SS_CENTER: fmt |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: fmt |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE: fmt = DT_SINGLELINE; break;
    case SS_LEFTNOWORDWRAP: break;
    default: fmt |= DT_WORDBREAK; break;
    }
    if (style & SS_NOPREFIX)
        fmt |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        fmt = (fmt & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS: fmt |= DT_END_ELLIPSIS; break;
    case SS_PATHELLIPSIS: fmt |= DT_PATH_ELLIPSIS; break;
    case SS_WORDELLIPSIS: fmt |= DT_WORD_ELLIPSIS; break;
    default: break;
    }
    if (!IsWindowEnabled(hwnd))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(hdc, TRANSPARENT);
    RECT t = r;
    ::DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &t, fmt);
}

void Paint(HWND hwnd, HDC hdc)
{
    StaticState& s = StateOf<StaticState>(hwnd);
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    RECT r;
    GetClientRect(hwnd, &r);
    UINT type = Type(style);
    if (type == SS_OWNERDRAW) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_STATIC;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED;
        dis.hwndItem = hwnd;
        dis.hDC = hdc;
        dis.rcItem = r;
        SendMessageA(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    auto fill = [&](int color) { FillRect(hdc, &r, GetSysColorBrush(color)); };
    auto frame = [&](int color) { FrameRect(hdc, &r, GetSysColorBrush(color)); };
    switch (type) {
    case SS_BLACKRECT: fill(COLOR_WINDOWFRAME); return;
    case SS_GRAYRECT: fill(COLOR_BTNSHADOW); return;
    case SS_WHITERECT: fill(COLOR_WINDOW); return;
    case SS_BLACKFRAME: frame(COLOR_WINDOWFRAME); return;
    case SS_GRAYFRAME: frame(COLOR_BTNSHADOW); return;
    case SS_WHITEFRAME: frame(COLOR_WINDOW); return;
    case SS_ETCHEDFRAME: {
        RECT e = r;
        DrawEdge(hdc, &e, EDGE_ETCHED, BF_RECT);
        return;
    }
    case SS_ETCHEDHORZ: {
        RECT e = r;
        DrawEdge(hdc, &e, EDGE_ETCHED, BF_TOP);
        return;
    }
    case SS_ETCHEDVERT: {
        RECT e = r;
        DrawEdge(hdc, &e, EDGE_ETCHED, BF_LEFT);
        return;
    }
    default:
        break;
    }
    HBRUSH brush = ControlColor(hwnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &r, brush);
    RECT inner = r;
    if (style & SS_SUNKEN)
        DrawEdge(hdc, &inner, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (type == SS_ICON) {
        if (s.icon) {
            int x = inner.left, y = inner.top;
            if (style & SS_CENTERIMAGE) {
                x = (inner.left + inner.right - kIconSize) / 2;
                y = (inner.top + inner.bottom - kIconSize) / 2;
            }
            DrawIcon(hdc, x, y, s.icon);
        }
        return;
    }
    if (type == SS_BITMAP) {
        if (s.bitmap) {
            BITMAP bm{};
            GetObjectA(s.bitmap, sizeof bm, &bm);
            HDC mem = CreateCompatibleDC(hdc);
            HGDIOBJ old = SelectObject(mem, s.bitmap);
            int x = inner.left, y = inner.top;
            if (style & SS_CENTERIMAGE) {
                x = (inner.left + inner.right - bm.bmWidth) / 2;
                y = (inner.top + inner.bottom - bm.bmHeight) / 2;
            }
            BitBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
        }
        return;
    }
    HGDIOBJ oldFont = SelectObject(hdc, FontOf(s.font));
    DrawText(hwnd, hdc, inner, style);
    SelectObject(hdc, oldFont);
}

void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        StaticState& s = StateOf<StaticState>(hwnd);
        UINT type = Type(cs->style);
        // An icon or bitmap static names its image in the window text.
        if (cs->lpszName && (type == SS_ICON || type == SS_BITMAP)) {
            LPCSTR name = cs->lpszName;
            if (!IS_INTRESOURCE(name) && name[0] == '#')
                name = MAKEINTRESOURCEA(atoi(name + 1));
            if (type == SS_ICON) {
                s.icon = LoadIconA(cs->hInstance, name);
                // Not among the module's icons: one of the system's (IDI_...).
                if (!s.icon && IS_INTRESOURCE(name))
                    s.icon = LoadIconA(nullptr, name);
            }
            else
                s.bitmap = LoadBitmap(cs->hInstance, name);
            if (!(cs->style & SS_REALSIZEIMAGE) && !(cs->style & SS_CENTERIMAGE)) {
                if (s.icon)
                    SetWindowPos(hwnd, nullptr, 0, 0, kIconSize, kIconSize,
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                else if (s.bitmap) {
                    BITMAP bm{};
                    GetObjectA(s.bitmap, sizeof bm, &bm);
                    SetWindowPos(hwnd, nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                }
            }
        }
        return 0;
    }
    case WM_NCDESTROY:
        DropState<StaticState>(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        Paint(hwnd, hdc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        // Without SS_NOTIFY a static lets the mouse through to what lies beneath.
        if (!(GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY))
            return HTTRANSPARENT;
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        if (GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY)
            Notify(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY)
            Notify(hwnd, STN_DBLCLK);
        return 0;
    case WM_ENABLE:
        if (GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY)
            Notify(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
        Redraw(hwnd);
        return 0;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
        Redraw(hwnd);
        return r;
    }
    case WM_SETFONT:
        StateOf<StaticState>(hwnd).font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            Redraw(hwnd);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(StateOf<StaticState>(hwnd).font);
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case STM_SETICON: {
        StaticState& s = StateOf<StaticState>(hwnd);
        HICON old = s.icon;
        s.icon = reinterpret_cast<HICON>(wParam);
        Redraw(hwnd);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(StateOf<StaticState>(hwnd).icon);
    case STM_SETIMAGE: {
        StaticState& s = StateOf<StaticState>(hwnd);
        LRESULT old = 0;
        if (wParam == IMAGE_BITMAP) {
            old = reinterpret_cast<LRESULT>(s.bitmap);
            s.bitmap = reinterpret_cast<HBITMAP>(lParam);
        } else if (wParam == IMAGE_ICON) {
            old = reinterpret_cast<LRESULT>(s.icon);
            s.icon = reinterpret_cast<HICON>(lParam);
        } else {
            return 0;
        }
        Redraw(hwnd);
        return old;
    }
    case STM_GETIMAGE:
        if (wParam == IMAGE_BITMAP)
            return reinterpret_cast<LRESULT>(StateOf<StaticState>(hwnd).bitmap);
        if (wParam == IMAGE_ICON)
            return reinterpret_cast<LRESULT>(StateOf<StaticState>(hwnd).icon);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace controls
