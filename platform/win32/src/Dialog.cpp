// The dialog manager: creation from templates, the dialog class and DefDlgProc, modal and
// modeless dialogs, and the helpers that address controls by id.
#include "DialogInternal.h"

#include <host/DialogTemplate.h>
#include <host/UiScript.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <map>
#include <mutex>

namespace {

const char kDialogClass[] = "#32770";

struct DialogState {
    HFONT font = nullptr;
    bool ownsFont = false;
    SIZE baseUnits{8, 16};
    int defId = IDOK;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    HWND savedFocus = nullptr;
};

std::mutex& Lock()
{
    static auto* m = new std::mutex;
    return *m;
}

std::map<HWND, DialogState>& States()
{
    static auto* s = new std::map<HWND, DialogState>;
    return *s;
}

bool WithState(HWND dlg, const std::function<void(DialogState&)>& f)
{
    std::lock_guard<std::mutex> g(Lock());
    auto it = States().find(dlg);
    if (it == States().end())
        return false;
    f(it->second);
    return true;
}

bool ReturnsDirectly(UINT msg)
{
    switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG: return true;
    default: return false;
    }
}

void RegisterDialogClass()
{
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, kDialogClass, &existing))
        return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = DefDlgProcA;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kDialogClass;
    RegisterClassA(&wc);
}

HFONT CreateDialogFont(const host::DialogTemplate& t)
{
    HDC dc = GetDC(nullptr);
    int height = -MulDiv(t.pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    return CreateFontA(height, 0, 0, 0, t.weight, t.italic, FALSE, FALSE, t.charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, t.faceName.c_str());
}

std::string NameText(const host::TemplateName& n)
{
    if (n.IsOrdinal())
        return "#" + std::to_string(n.ordinal);
    return n.text;
}

// The control the dialog gives the focus to when it gets the focus itself.
void FocusControl(HWND dlg, HWND control)
{
    if (!control)
        return;
    LRESULT code = SendMessageA(control, WM_GETDLGCODE, 0, 0);
    SetFocus(control);
    if (code & DLGC_HASSETSEL)
        SendMessageA(control, EM_SETSEL, 0, -1);
    (void)dlg;
}

bool IsPushButtonCode(LRESULT code) { return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0; }

// A push button shows as the default while it has the focus; otherwise the dialog's default
// button does.
void UpdateDefaultLook(HWND dlg, HWND focus)
{
    int defId = LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0));
    HWND def = defId ? GetDlgItem(dlg, defId) : nullptr;
    bool focusIsPush = focus && IsPushButtonCode(SendMessageA(focus, WM_GETDLGCODE, 0, 0));
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        LRESULT code = SendMessageA(c, WM_GETDLGCODE, 0, 0);
        if (!IsPushButtonCode(code))
            continue;
        bool wantDefault = focusIsPush ? c == focus : c == def;
        bool isDefault = (code & DLGC_DEFPUSHBUTTON) != 0;
        if (wantDefault != isDefault)
            SendMessageA(c, BM_SETSTYLE, wantDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

// The checked button of a radio group, or the control itself.
HWND CheckedInGroup(HWND dlg, HWND control)
{
    if (!(SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
        return control;
    HWND c = control;
    do {
        if ((SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) && SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return c;
        c = GetNextDlgGroupItem(dlg, c, FALSE);
    } while (c && c != control);
    return control;
}

void NextControl(HWND dlg, WPARAM wParam, LPARAM lParam)
{
    HWND focus = GetFocus();
    HWND target;
    if (LOWORD(lParam))
        target = reinterpret_cast<HWND>(wParam);
    else {
        HWND from = focus && IsChild(dlg, focus) ? focus : nullptr;
        target = GetNextDlgTabItem(dlg, from, wParam != 0);
        if (target)
            target = CheckedInGroup(dlg, target);
    }
    if (!target)
        return;
    FocusControl(dlg, target);
    UpdateDefaultLook(dlg, target);
}

LRESULT DefaultDialogMessage(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case DM_GETDEFID: {
        int id = 0;
        WithState(dlg, [&](DialogState& s) { id = s.defId; });
        return id ? MAKELONG(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID: {
        WithState(dlg, [&](DialogState& s) { s.defId = static_cast<int>(wParam); });
        HWND focus = GetFocus();
        UpdateDefaultLook(dlg, focus && IsChild(dlg, focus) ? focus : nullptr);
        return TRUE;
    }
    case WM_NEXTDLGCTL: NextControl(dlg, wParam, lParam); return 0;
    case WM_GETFONT: {
        HFONT font = nullptr;
        WithState(dlg, [&](DialogState& s) { font = s.font; });
        return reinterpret_cast<LRESULT>(font);
    }
    case WM_SETFOCUS: {
        HWND saved = nullptr;
        WithState(dlg, [&](DialogState& s) { saved = s.savedFocus; });
        if (!saved || !IsWindow(saved) || !IsChild(dlg, saved))
            saved = GetNextDlgTabItem(dlg, nullptr, FALSE);
        FocusControl(dlg, saved);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(dlg, focus))
                WithState(dlg, [&](DialogState& s) { s.savedFocus = focus; });
        } else {
            HWND saved = nullptr;
            WithState(dlg, [&](DialogState& s) { saved = s.savedFocus; });
            if (saved && IsWindow(saved) && IsChild(dlg, saved))
                SetFocus(saved);
        }
        return 0;
    case WM_CLOSE: {
        HWND cancel = GetDlgItem(dlg, IDCANCEL);
        if (!cancel || IsWindowEnabled(cancel))
            PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_NCDESTROY: {
        HFONT font = nullptr;
        {
            std::lock_guard<std::mutex> g(Lock());
            auto it = States().find(dlg);
            if (it != States().end()) {
                if (it->second.ownsFont)
                    font = it->second.font;
                States().erase(it);
            }
        }
        if (font)
            DeleteObject(font);
        return DefWindowProcA(dlg, msg, wParam, lParam);
    }
    default: return DefWindowProcA(dlg, msg, wParam, lParam);
    }
}

HWND CreateFromTemplate(HINSTANCE instance, const host::DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param,
                        bool modal)
{
    RegisterDialogClass();
    if (!instance)
        instance = GetModuleHandle(nullptr);
    DialogState state;
    state.modal = modal;
    if (t.hasFont) {
        state.font = CreateDialogFont(t);
        state.ownsFont = state.font != nullptr;
    }
    state.baseUnits = host::DialogBaseUnits(t);

    DWORD style = t.style;
    DWORD exStyle = t.exStyle;
    if (style & DS_MODALFRAME)
        exStyle |= WS_EX_DLGMODALFRAME;
    if (modal)
        style &= ~static_cast<DWORD>(WS_CHILD);
    HWND owner = parent;
    if (!(style & WS_CHILD) && owner)
        owner = GetAncestor(owner, GA_ROOT);

    HMENU menu = nullptr;
    if (!t.menu.IsEmpty() && !(style & WS_CHILD))
        menu = LoadMenu(instance, t.menu.IsOrdinal() ? MAKEINTRESOURCEA(t.menu.ordinal) : t.menu.text.c_str());

    RECT client = host::DialogUnitsToPixels(RECT{t.x, t.y, t.x + t.cx, t.y + t.cy}, state.baseUnits.cx,
                                            state.baseUnits.cy);
    RECT frame{0, 0, client.right - client.left, client.bottom - client.top};
    AdjustWindowRectEx(&frame, style, menu != nullptr, exStyle);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int x = client.left, y = client.top;
    if (style & WS_CHILD) {
        // Placed in the parent's client area as the template says.
    } else {
        // DS_CENTER centres the dialog in the screen's working area (the whole screen here);
        // others lie where the template says, relative to the owner's client area unless
        // DS_ABSALIGN. Either way a top-level dialog is kept on the screen: moved in from an
        // edge it would cross, to the top-left corner when it is larger than the screen.
        RECT screen{};
        GetWindowRect(GetDesktopWindow(), &screen);
        if (style & DS_CENTER) {
            x = screen.left + ((screen.right - screen.left) - width) / 2;
            y = screen.top + ((screen.bottom - screen.top) - height) / 2;
        } else if (!(style & DS_ABSALIGN) && owner) {
            POINT origin{0, 0};
            ClientToScreen(owner, &origin);
            x += origin.x;
            y += origin.y;
        }
        x = std::max<int>(screen.left, std::min<int>(x, screen.right - width));
        y = std::max<int>(screen.top, std::min<int>(y, screen.bottom - height));
    }

    std::string cls = t.className.IsEmpty() ? std::string(kDialogClass) : NameText(t.className);
    HWND dlg = CreateWindowExA(exStyle, cls.c_str(), t.caption.c_str(), style & ~static_cast<DWORD>(WS_VISIBLE), x,
                               y, width, height, owner, menu, instance, nullptr);
    if (!dlg) {
        if (state.ownsFont)
            DeleteObject(state.font);
        if (menu)
            DestroyMenu(menu);
        return nullptr;
    }
    HFONT font = state.font;
    {
        std::lock_guard<std::mutex> g(Lock());
        States()[dlg] = state;
    }
    SetWindowLongPtrA(dlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (font)
        SendMessageA(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    int defId = 0;
    for (const host::DialogControlTemplate& c : t.controls) {
        RECT r = host::DialogUnitsToPixels(RECT{c.x, c.y, c.x + c.cx, c.y + c.cy}, state.baseUnits.cx,
                                           state.baseUnits.cy);
        std::string text = NameText(c.text);
        HWND control = CreateWindowExA(c.exStyle | WS_EX_NOPARENTNOTIFY, c.className.c_str(), text.c_str(),
                                       c.style | WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top, dlg,
                                       reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(c.id)), instance,
                                       c.creationData.empty() ? nullptr : const_cast<BYTE*>(c.creationData.data()));
        if (!control) {
            if (t.style & DS_NOFAILCREATE)
                continue;
            DestroyWindow(dlg);
            return nullptr;
        }
        if (font)
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (!defId && (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
            defId = static_cast<int>(c.id);
    }
    if (defId)
        WithState(dlg, [&](DialogState& s) { s.defId = defId; });

    HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
    if (first)
        first = CheckedInGroup(dlg, first);
    LRESULT setFocus = SendMessageA(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dlg))
        return nullptr;
    bool ended = false;
    WithState(dlg, [&](DialogState& s) { ended = s.ended; });
    if ((t.style & WS_VISIBLE) && !ended)
        ShowWindow(dlg, SW_SHOWNORMAL);
    if (setFocus && first && IsWindow(first) && !ended) {
        FocusControl(dlg, first);
        UpdateDefaultLook(dlg, first);
    }
    return dlg;
}

std::optional<host::DialogTemplate> TemplateFromResource(HINSTANCE& instance, LPCSTR name)
{
    if (!instance)
        instance = GetModuleHandle(nullptr);
    HRSRC info = FindResource(instance, name, RT_DIALOG);
    if (!info)
        return std::nullopt;
    HGLOBAL data = LoadResource(instance, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes)
        return std::nullopt;
    return host::ParseDialogTemplate(bytes, SizeofResource(instance, info));
}

std::optional<host::DialogTemplate> TemplateFromMemory(LPCDLGTEMPLATEA t)
{
    if (!t)
        return std::nullopt;
    // An in-memory template carries no size; the parser stops at the end of the last control.
    return host::ParseDialogTemplate(t, 1u << 20);
}

}  // namespace

namespace dialog {

HWND Create(HINSTANCE instance, const host::DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param)
{
    return CreateFromTemplate(instance, t, parent, proc, param, false);
}

INT_PTR RunModal(HINSTANCE instance, const host::DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param)
{
    HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    HWND dlg = CreateFromTemplate(instance, t, parent, proc, param, true);
    if (!dlg) {
        if (ownerWasEnabled)
            EnableWindow(owner, TRUE);
        return -1;
    }
    bool idleSent = false;
    INT_PTR result = -1;
    auto ended = [&] {
        bool e = true;
        WithState(dlg, [&](DialogState& s) {
            e = s.ended;
            result = s.result;
        });
        return e;
    };
    MSG msg;
    while (IsWindow(dlg) && !ended()) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (!IsDialogMessageA(dlg, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            idleSent = false;
            continue;
        }
        if (!IsWindowVisible(dlg)) {
            ShowWindow(dlg, SW_SHOWNORMAL);
            continue;
        }
        if (owner && !idleSent && !(t.style & DS_NOIDLEMSG)) {
            idleSent = true;
            SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dlg));
            continue;
        }
        // Nothing to do: the UI script acts for the user; without an action the dialog ends.
        if (!host::ModalLoopIdle(dlg, "dialog")) {
            WithState(dlg, [&](DialogState& s) {
                s.ended = true;
                s.result = -1;
            });
            break;
        }
        if (host::IsInteractive() && IsWindow(dlg) && !ended() && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            WaitMessage();
    }
    ended();
    if (ownerWasEnabled && IsWindow(owner))
        EnableWindow(owner, TRUE);
    if (IsWindow(dlg)) {
        if (owner && IsWindow(owner) && GetActiveWindow() == dlg)
            SetActiveWindow(owner);
        DestroyWindow(dlg);
    }
    return result;
}

SIZE BaseUnits(HWND dlg)
{
    SIZE units{0, 0};
    WithState(dlg, [&](DialogState& s) { units = s.baseUnits; });
    return units;
}

}  // namespace dialog

HWND WINAPI CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM param)
{
    auto t = TemplateFromResource(instance, name);
    if (!t) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return CreateFromTemplate(instance, *t, parent, proc, param, false);
}

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA templ, HWND parent, DLGPROC proc,
                                       LPARAM param)
{
    auto t = TemplateFromMemory(templ);
    if (!t) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateFromTemplate(instance, *t, parent, proc, param, false);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM param)
{
    auto t = TemplateFromResource(instance, name);
    if (!t) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    return dialog::RunModal(instance, *t, parent, proc, param);
}

INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA templ, HWND parent, DLGPROC proc,
                                       LPARAM param)
{
    auto t = TemplateFromMemory(templ);
    if (!t) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return dialog::RunModal(instance, *t, parent, proc, param);
}

BOOL WINAPI EndDialog(HWND dlg, INT_PTR result)
{
    if (!IsWindow(dlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    bool modal = false;
    WithState(dlg, [&](DialogState& s) {
        s.ended = true;
        s.result = result;
        modal = s.modal;
    });
    if (modal) {
        HWND owner = GetWindow(dlg, GW_OWNER);
        if (owner)
            EnableWindow(owner, TRUE);
    }
    ShowWindow(dlg, SW_HIDE);
    PostMessageA(dlg, WM_NULL, 0, 0);  // wakes the modal loop
    return TRUE;
}

LRESULT WINAPI DefDlgProcA(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dlg, DWLP_DLGPROC));
    if (proc) {
        SetWindowLongPtrA(dlg, DWLP_MSGRESULT, 0);
        INT_PTR handled = proc(dlg, msg, wParam, lParam);
        if (handled || ReturnsDirectly(msg)) {
            if (ReturnsDirectly(msg))
                return handled;
            return IsWindow(dlg) ? GetWindowLongPtrA(dlg, DWLP_MSGRESULT) : 0;
        }
        if (!IsWindow(dlg))
            return 0;
    }
    return DefaultDialogMessage(dlg, msg, wParam, lParam);
}

BOOL WINAPI SetDlgItemTextA(HWND dlg, int id, LPCSTR text)
{
    HWND c = GetDlgItem(dlg, id);
    return c ? SetWindowTextA(c, text) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND dlg, int id, LPSTR buffer, int size)
{
    HWND c = GetDlgItem(dlg, id);
    if (!c) {
        if (buffer && size > 0)
            buffer[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(c, buffer, size));
}

BOOL WINAPI SetDlgItemInt(HWND dlg, int id, UINT value, BOOL isSigned)
{
    char text[16];
    if (isSigned)
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    else
        std::snprintf(text, sizeof text, "%u", value);
    return SetDlgItemTextA(dlg, id, text);
}

UINT WINAPI GetDlgItemInt(HWND dlg, int id, BOOL* translated, BOOL isSigned)
{
    if (translated)
        *translated = FALSE;
    char text[64];
    if (!GetDlgItemTextA(dlg, id, text, sizeof text) && !GetDlgItem(dlg, id))
        return 0;
    const char* p = text;
    while (*p == ' ')
        ++p;
    bool negative = false;
    if (isSigned && *p == '-') {
        negative = true;
        ++p;
    }
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return 0;
    unsigned long long v = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        v = v * 10 + static_cast<unsigned>(*p - '0');
        if (v > 0xFFFFFFFFull)
            return 0;
        ++p;
    }
    while (*p == ' ')
        ++p;
    if (*p)
        return 0;
    if (isSigned) {
        if (negative ? v > 2147483648ull : v > 2147483647ull)
            return 0;
        long long s = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
        if (translated)
            *translated = TRUE;
        return static_cast<UINT>(static_cast<int>(s));
    }
    if (translated)
        *translated = TRUE;
    return static_cast<UINT>(v);
}

BOOL WINAPI CheckDlgButton(HWND dlg, int id, UINT check)
{
    HWND c = GetDlgItem(dlg, id);
    if (!c)
        return FALSE;
    SendMessageA(c, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dlg, int id)
{
    HWND c = GetDlgItem(dlg, id);
    return c ? static_cast<UINT>(SendMessageA(c, BM_GETCHECK, 0, 0)) : 0;
}

BOOL WINAPI CheckRadioButton(HWND dlg, int first, int last, int check)
{
    BOOL found = FALSE;
    for (int id = first; id <= last; ++id) {
        HWND c = GetDlgItem(dlg, id);
        if (!c)
            continue;
        SendMessageA(c, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
        found |= id == check;
    }
    return found;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dlg, int id, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND c = GetDlgItem(dlg, id);
    return c ? SendMessageA(c, msg, wParam, lParam) : 0;
}

BOOL WINAPI MapDialogRect(HWND dlg, LPRECT rect)
{
    SIZE units = dialog::BaseUnits(dlg);
    if (!units.cx || !rect) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = host::DialogUnitsToPixels(*rect, units.cx, units.cy);
    return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void)
{
    host::DialogTemplate none;
    SIZE units = host::DialogBaseUnits(none);
    return MAKELONG(units.cx, units.cy);
}
