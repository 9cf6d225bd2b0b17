// The button control ("BUTTON"): push and default push buttons, check boxes (two- and
// three-state, manual and automatic), radio buttons with automatic group handling, group boxes
// and owner-drawn buttons.
#include "ControlsInternal.h"

#include <vector>

namespace controls {
namespace {

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;
    bool focus = false;
    bool tracking = false;  // mouse pressed on the button, capture held
    bool spaceDown = false;
    HFONT font = nullptr;
    HANDLE image = nullptr;  // BM_SETIMAGE
    WPARAM imageType = IMAGE_BITMAP;
};

LONG Style(HWND hwnd) { return GetWindowLongA(hwnd, GWL_STYLE); }
UINT Type(HWND hwnd) { return static_cast<UINT>(Style(hwnd) & BS_TYPEMASK); }

bool IsCheckType(UINT t)
{
    return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE;
}
bool IsRadioType(UINT t) { return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON; }
bool IsPushType(UINT t) { return t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON || t == BS_USERBUTTON || t == BS_PUSHBOX; }

void DrawOwner(HWND hwnd, HDC hdc, UINT action)
{
    ButtonState& s = StateOf<ButtonState>(hwnd);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    dis.itemID = 0;
    dis.itemAction = action;
    dis.itemState = (s.pushed ? ODS_SELECTED : 0) | (s.focus ? ODS_FOCUS : 0) | (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED);
    dis.hwndItem = hwnd;
    dis.hDC = hdc;
    GetClientRect(hwnd, &dis.rcItem);
    ControlColor(hwnd, hdc, WM_CTLCOLORBTN);
    SendMessageA(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

// Text within `r`, aligned by the BS_ alignment bits (`defaultAlign` when none is given).
RECT DrawLabel(HWND hwnd, HDC hdc, RECT r, UINT defaultAlign, bool calcOnly = false)
{
    LONG style = Style(hwnd);
    std::string text = TextOf(hwnd);
    UINT fmt = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    LONG h = style & BS_CENTER;
    fmt |= h == BS_CENTER ? DT_CENTER : h == BS_RIGHT ? DT_RIGHT : h == BS_LEFT ? DT_LEFT : defaultAlign;
    RECT measured = r;
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &measured, fmt | DT_CALCRECT);
    int height = measured.bottom - measured.top;
    LONG v = style & BS_VCENTER;
    int top = v == BS_TOP ? r.top : v == BS_BOTTOM ? r.bottom - height : (r.top + r.bottom - height) / 2;
    RECT out = r;
    out.top = top;
    out.bottom = top + height;
    if (!calcOnly && !text.empty()) {
        SetBkMode(hdc, TRANSPARENT);
        if (!IsWindowEnabled(hwnd))
            SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &out, fmt);
    }
    int width = measured.right - measured.left;
    UINT align = fmt & (DT_CENTER | DT_RIGHT);
    if (align == DT_CENTER)
        out.left = (r.left + r.right - width) / 2;
    else if (align == DT_RIGHT)
        out.left = r.right - width;
    out.right = out.left + width;
    return out;
}

// The size of a button's image: the system icon size for icons, the bitmap's own size.
SIZE ImageSize(const ButtonState& s)
{
    if (s.imageType == IMAGE_ICON)
        return SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    BITMAP bm{};
    if (!GetObjectA(s.image, sizeof bm, &bm))
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

void DrawImageAt(HDC hdc, const ButtonState& s, int x, int y, SIZE size)
{
    if (s.imageType == IMAGE_ICON) {
        DrawIconEx(hdc, x, y, static_cast<HICON>(s.image), size.cx, size.cy, 0, nullptr, DI_NORMAL);
        return;
    }
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, s.image);
    BitBlt(hdc, x, y, size.cx, size.cy, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

// A disabled button's image: its dark parts embossed, in the highlight colour one pixel down and
// right and in the shadow colour on top, as the classic look greys images.
void DrawGrayedImage(HDC hdc, const ButtonState& s, int x, int y, SIZE size)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(hdc);
    HBITMAP dib = CreateDIBSection(mem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        RECT all{0, 0, size.cx, size.cy};
        FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawImageAt(mem, s, 0, 0, size);
        const DWORD* px = static_cast<const DWORD*>(bits);
        auto dark = [&](int cx, int cy) {
            DWORD c = px[static_cast<size_t>(cy) * static_cast<size_t>(size.cx) + static_cast<size_t>(cx)];
            int luminance = (((c >> 16) & 0xFF) * 30 + ((c >> 8) & 0xFF) * 59 + (c & 0xFF) * 11) / 100;
            return luminance < 192;
        };
        for (int pass = 0; pass < 2; ++pass) {
            COLORREF colour = GetSysColor(pass == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
            int offset = pass == 0 ? 1 : 0;
            for (int cy = 0; cy < size.cy; ++cy)
                for (int cx = 0; cx < size.cx; ++cx)
                    if (dark(cx, cy))
                        SetPixelV(hdc, x + cx + offset, y + cy + offset, colour);
        }
        SelectObject(mem, old);
    }
    if (dib)
        DeleteObject(dib);
    DeleteDC(mem);
}

// The image of a BS_ICON / BS_BITMAP button within `r`, placed by the BS_ alignment bits
// (centred by default).
void DrawImage(HWND hwnd, HDC hdc, const ButtonState& s, const RECT& r)
{
    SIZE size = ImageSize(s);
    if (size.cx <= 0 || size.cy <= 0)
        return;
    LONG style = Style(hwnd);
    LONG h = style & BS_CENTER, v = style & BS_VCENTER;
    int x = h == BS_LEFT ? r.left : h == BS_RIGHT ? r.right - size.cx : (r.left + r.right - size.cx) / 2;
    int y = v == BS_TOP ? r.top : v == BS_BOTTOM ? r.bottom - size.cy : (r.top + r.bottom - size.cy) / 2;
    if (IsWindowEnabled(hwnd))
        DrawImageAt(hdc, s, x, y, size);
    else
        DrawGrayedImage(hdc, s, x, y, size);
}

bool ShowsImage(HWND hwnd, const ButtonState& s)
{
    return s.image && (Style(hwnd) & (BS_ICON | BS_BITMAP));
}

void Paint(HWND hwnd, HDC hdc)
{
    ButtonState& s = StateOf<ButtonState>(hwnd);
    UINT type = Type(hwnd);
    if (type == BS_OWNERDRAW) {
        DrawOwner(hwnd, hdc, ODA_DRAWENTIRE);
        return;
    }
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH brush = ControlColor(hwnd, hdc, WM_CTLCOLORBTN);
    HGDIOBJ oldFont = SelectObject(hdc, FontOf(s.font));
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    if (IsPushType(type) || (Style(hwnd) & BS_PUSHLIKE)) {
        RECT face = r;
        if (type == BS_DEFPUSHBUTTON) {
            FrameRect(hdc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&face, -1, -1);
        }
        bool down = s.pushed || ((Style(hwnd) & BS_PUSHLIKE) && s.check != BST_UNCHECKED);
        DrawFrameControl(hdc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE));
        RECT text = face;
        InflateRect(&text, -4, -3);
        if (down)
            OffsetRect(&text, 1, 1);
        SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        if (ShowsImage(hwnd, s))
            DrawImage(hwnd, hdc, s, text);
        else
            DrawLabel(hwnd, hdc, text, DT_CENTER);
        if (s.focus) {
            RECT f = face;
            InflateRect(&f, -3, -3);
            DrawFocusRect(hdc, &f);
        }
    } else if (type == BS_GROUPBOX) {
        // Only the frame and the label: the controls inside the box show through.
        TEXTMETRICA tm{};
        GetTextMetricsA(hdc, &tm);
        RECT frame = r;
        frame.top += tm.tmHeight / 2;
        DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
        std::string text = TextOf(hwnd);
        if (!text.empty()) {
            RECT label{r.left + 6, r.top, r.left + 6, r.top + tm.tmHeight};
            SIZE size{};
            GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
            label.right = label.left + size.cx + 4;
            FillRect(hdc, &label, brush);
            SetBkMode(hdc, TRANSPARENT);
            SetTextColor(hdc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
            TextOutA(hdc, label.left + 2, label.top, text.c_str(), static_cast<int>(text.size()));
        }
    } else {
        FillRect(hdc, &r, brush);
        constexpr int box = 13;
        bool leftText = (Style(hwnd) & BS_LEFTTEXT) != 0;
        int top = (r.top + r.bottom - box) / 2;
        RECT boxRect = leftText ? RECT{r.right - box, top, r.right, top + box} : RECT{r.left, top, r.left + box, top + box};
        UINT state = IsRadioType(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
        if (s.check == BST_CHECKED)
            state |= DFCS_CHECKED;
        else if (s.check == BST_INDETERMINATE)
            state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        if (s.pushed)
            state |= DFCS_PUSHED;
        if (!enabled)
            state |= DFCS_INACTIVE;
        DrawFrameControl(hdc, &boxRect, DFC_BUTTON, state);
        RECT text = r;
        if (leftText)
            text.right -= box + 4;
        else
            text.left += box + 4;
        SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        if (ShowsImage(hwnd, s)) {
            DrawImage(hwnd, hdc, s, text);
        } else {
            RECT drawn = DrawLabel(hwnd, hdc, text, DT_LEFT);
            if (s.focus && !TextOf(hwnd).empty()) {
                InflateRect(&drawn, 1, 1);
                IntersectRect(&drawn, &drawn, &r);
                DrawFocusRect(hdc, &drawn);
            }
        }
    }
    SelectObject(hdc, oldFont);
}

void Redraw(HWND hwnd, UINT ownerAction)
{
    if (!IsWindowVisible(hwnd))
        return;
    if (Type(hwnd) == BS_OWNERDRAW) {
        HDC hdc = GetDC(hwnd);
        DrawOwner(hwnd, hdc, ownerAction);
        ReleaseDC(hwnd, hdc);
        return;
    }
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
}

void SetPushed(HWND hwnd, bool pushed)
{
    ButtonState& s = StateOf<ButtonState>(hwnd);
    if (s.pushed == pushed)
        return;
    s.pushed = pushed;
    if (Style(hwnd) & BS_NOTIFY)
        Notify(hwnd, pushed ? BN_HILITE : BN_UNHILITE);
    Redraw(hwnd, ODA_SELECT);
}

void SetCheck(HWND hwnd, UINT check)
{
    ButtonState& s = StateOf<ButtonState>(hwnd);
    UINT type = Type(hwnd);
    if (!IsCheckType(type) && !IsRadioType(type) && !(Style(hwnd) & BS_PUSHLIKE))
        return;
    if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE)
        check = BST_CHECKED;
    if (IsRadioType(type)) {
        // A checked radio button is the one the Tab key reaches in its group.
        LONG style = Style(hwnd);
        LONG updated = check == BST_CHECKED ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (updated != style)
            SetWindowLongA(hwnd, GWL_STYLE, updated);
    }
    if (s.check == check)
        return;
    s.check = check;
    Redraw(hwnd, ODA_SELECT);
}

// The siblings of a control's group: from the nearest WS_GROUP at or before it up to the next.
std::vector<HWND> GroupOf(HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    std::vector<HWND> siblings;
    for (HWND c = GetWindow(parent ? parent : hwnd, parent ? GW_CHILD : GW_HWNDFIRST); c; c = GetWindow(c, GW_HWNDNEXT))
        siblings.push_back(c);
    size_t at = 0;
    while (at < siblings.size() && siblings[at] != hwnd)
        ++at;
    if (at == siblings.size())
        return {hwnd};
    size_t first = at;
    while (first > 0 && !(GetWindowLongA(siblings[first], GWL_STYLE) & WS_GROUP))
        --first;
    size_t last = at + 1;
    while (last < siblings.size() && !(GetWindowLongA(siblings[last], GWL_STYLE) & WS_GROUP))
        ++last;
    return {siblings.begin() + static_cast<long>(first), siblings.begin() + static_cast<long>(last)};
}

void Click(HWND hwnd)
{
    ButtonState& s = StateOf<ButtonState>(hwnd);
    switch (Type(hwnd)) {
    case BS_AUTOCHECKBOX:
        SetCheck(hwnd, s.check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
        break;
    case BS_AUTO3STATE:
        SetCheck(hwnd, s.check == BST_UNCHECKED ? BST_CHECKED : s.check == BST_CHECKED ? BST_INDETERMINATE : BST_UNCHECKED);
        break;
    case BS_AUTORADIOBUTTON:
        SetCheck(hwnd, BST_CHECKED);
        for (HWND other : GroupOf(hwnd)) {
            if (other == hwnd)
                continue;
            char cls[16] = {};
            GetClassNameA(other, cls, sizeof cls);
            if (lstrcmpiA(cls, "BUTTON") == 0 && (GetWindowLongA(other, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        break;
    default:
        break;
    }
    Notify(hwnd, BN_CLICKED);
}

void EndPress(HWND hwnd, bool click)
{
    ButtonState& s = StateOf<ButtonState>(hwnd);
    bool wasPushed = s.pushed;
    s.tracking = false;
    s.spaceDown = false;
    SetPushed(hwnd, false);
    if (click && wasPushed)
        Click(hwnd);
}

bool SendsDoubleClick(HWND hwnd)
{
    UINT t = Type(hwnd);
    return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON || t == BS_OWNERDRAW || t == BS_USERBUTTON ||
           (Style(hwnd) & BS_NOTIFY);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCDESTROY:
        DropState<ButtonState>(hwnd);
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
        // A group box only frames its controls: the mouse goes through to what lies inside it.
        if (Type(hwnd) == BS_GROUPBOX)
            return HTTRANSPARENT;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        if (SendsDoubleClick(hwnd)) {
            Notify(hwnd, BN_DOUBLECLICKED);
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN: {
        if (Type(hwnd) == BS_GROUPBOX)
            return 0;
        ButtonState& s = StateOf<ButtonState>(hwnd);
        SetFocus(hwnd);
        SetCapture(hwnd);
        s.tracking = true;
        SetPushed(hwnd, true);
        return 0;
    }
    case WM_MOUSEMOVE: {
        ButtonState& s = StateOf<ButtonState>(hwnd);
        if (s.tracking) {
            RECT r;
            GetClientRect(hwnd, &r);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            SetPushed(hwnd, PtInRect(&r, p) != FALSE);
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        ButtonState& s = StateOf<ButtonState>(hwnd);
        if (!s.tracking)
            return 0;
        s.tracking = false;
        if (GetCapture() == hwnd)
            ReleaseCapture();
        EndPress(hwnd, true);
        return 0;
    }
    case WM_CAPTURECHANGED: {
        ButtonState& s = StateOf<ButtonState>(hwnd);
        if (s.tracking)
            EndPress(hwnd, false);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && Type(hwnd) != BS_GROUPBOX) {
            ButtonState& s = StateOf<ButtonState>(hwnd);
            if (!(lParam & 0x40000000L)) {
                s.spaceDown = true;
                SetPushed(hwnd, true);
            }
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            ButtonState& s = StateOf<ButtonState>(hwnd);
            if (s.spaceDown)
                EndPress(hwnd, true);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CHAR:
        return 0;
    case WM_SETFOCUS: {
        ButtonState& s = StateOf<ButtonState>(hwnd);
        s.focus = true;
        Redraw(hwnd, ODA_FOCUS);
        if (Style(hwnd) & BS_NOTIFY)
            Notify(hwnd, BN_SETFOCUS);
        return 0;
    }
    case WM_KILLFOCUS: {
        ButtonState& s = StateOf<ButtonState>(hwnd);
        s.focus = false;
        if (s.tracking && GetCapture() == hwnd)
            ReleaseCapture();
        if (s.tracking || s.spaceDown)
            EndPress(hwnd, false);
        Redraw(hwnd, ODA_FOCUS);
        if (Style(hwnd) & BS_NOTIFY)
            Notify(hwnd, BN_KILLFOCUS);
        return 0;
    }
    case WM_ENABLE:
        Redraw(hwnd, ODA_DRAWENTIRE);
        return 0;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
        Redraw(hwnd, ODA_DRAWENTIRE);
        return r;
    }
    case WM_SETFONT:
        StateOf<ButtonState>(hwnd).font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            Redraw(hwnd, ODA_DRAWENTIRE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(StateOf<ButtonState>(hwnd).font);
    case WM_GETDLGCODE: {
        UINT t = Type(hwnd);
        if (t == BS_DEFPUSHBUTTON)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (t == BS_PUSHBUTTON || t == BS_USERBUTTON || t == BS_PUSHBOX)
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        if (IsRadioType(t))
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (t == BS_GROUPBOX)
            return DLGC_STATIC;
        return DLGC_BUTTON;
    }
    case BM_GETCHECK:
        return StateOf<ButtonState>(hwnd).check;
    case BM_SETCHECK:
        SetCheck(hwnd, static_cast<UINT>(wParam));
        return 0;
    case BM_GETSTATE: {
        ButtonState& s = StateOf<ButtonState>(hwnd);
        return s.check | (s.pushed ? BST_PUSHED : 0) | (s.focus ? BST_FOCUS : 0);
    }
    case BM_SETSTATE:
        SetPushed(hwnd, wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        LONG style = Style(hwnd);
        SetWindowLongA(hwnd, GWL_STYLE, (style & ~0xFFFF) | static_cast<LONG>(wParam & 0xFFFF));
        if (lParam)
            Redraw(hwnd, ODA_DRAWENTIRE);
        return 0;
    }
    case BM_CLICK:
        if (IsWindowEnabled(hwnd)) {
            SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
        }
        return 0;
    case BM_GETIMAGE: {
        // The image when it is of the kind asked for.
        ButtonState& s = StateOf<ButtonState>(hwnd);
        return wParam == s.imageType ? reinterpret_cast<LRESULT>(s.image) : 0;
    }
    case BM_SETIMAGE: {
        if (wParam != IMAGE_BITMAP && wParam != IMAGE_ICON)
            return 0;
        ButtonState& s = StateOf<ButtonState>(hwnd);
        HANDLE old = s.image;
        s.image = reinterpret_cast<HANDLE>(lParam);
        s.imageType = wParam;
        Redraw(hwnd, ODA_DRAWENTIRE);
        return reinterpret_cast<LRESULT>(old);
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace controls
