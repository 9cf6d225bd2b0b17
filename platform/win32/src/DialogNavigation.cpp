// Keyboard navigation in dialogs: IsDialogMessage, the tab order and the groups.
#include "DialogInternal.h"

#include <cctype>
#include <vector>

namespace {

std::vector<HWND> Controls(HWND dlg)
{
    std::vector<HWND> list;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        list.push_back(c);
    return list;
}

LONG Style(HWND w) { return GetWindowLongA(w, GWL_STYLE); }

// Whether the control takes part in navigation; its own style counts, so the controls of a
// dialog that is not shown yet take part too.
bool Usable(HWND w) { return (Style(w) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE; }

// The control of the dialog that contains `w` (w itself, or its ancestor that is a direct child).
HWND DirectChild(HWND dlg, HWND w)
{
    while (w && GetParent(w) != dlg)
        w = GetParent(w);
    return w;
}

LRESULT DlgCode(HWND w, MSG* msg)
{
    return SendMessageA(w, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

char Mnemonic(HWND w)
{
    char text[256];
    GetWindowTextA(w, text, sizeof text);
    for (const char* p = text; *p; ++p)
        if (*p == '&') {
            if (p[1] == '&') {
                ++p;
                continue;
            }
            return static_cast<char>(std::toupper(static_cast<unsigned char>(p[1])));
        }
    return 0;
}

void Press(HWND dlg, HWND control, LRESULT code)
{
    SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON | DLGC_RADIOBUTTON))
        SendMessageA(control, BM_CLICK, 0, 0);
}

// Finds the control whose text has `ch` as its mnemonic, after the focus, and acts on it.
bool DoMnemonic(HWND dlg, HWND focus, char ch)
{
    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    std::vector<HWND> list = Controls(dlg);
    size_t n = list.size();
    if (!n)
        return false;
    size_t start = 0;
    for (size_t i = 0; i < n; ++i)
        if (list[i] == focus)
            start = i + 1;
    for (size_t k = 0; k < n; ++k) {
        HWND c = list[(start + k) % n];
        if (!Usable(c))
            continue;
        LRESULT code = DlgCode(c, nullptr);
        if (Mnemonic(c) != ch)
            continue;
        if (code & DLGC_STATIC) {
            // A label names the control after it.
            size_t i = (start + k) % n;
            for (size_t m = 1; m < n; ++m) {
                HWND next = list[(i + m) % n];
                if (Usable(next) && !(DlgCode(next, nullptr) & DLGC_STATIC)) {
                    SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
                    return true;
                }
            }
            return true;
        }
        Press(dlg, c, code);
        return true;
    }
    return false;
}

}  // namespace

HWND WINAPI GetNextDlgTabItem(HWND dlg, HWND control, BOOL previous)
{
    std::vector<HWND> list = Controls(dlg);
    size_t n = list.size();
    if (!n)
        return nullptr;
    control = DirectChild(dlg, control);
    size_t at = n;
    for (size_t i = 0; i < n; ++i)
        if (list[i] == control)
            at = i;
    for (size_t k = 1; k <= n; ++k) {
        size_t i;
        if (at == n)
            i = previous ? n - k : k - 1;
        else
            i = previous ? (at + n - k) % n : (at + k) % n;
        HWND c = list[i];
        if ((Style(c) & WS_TABSTOP) && Usable(c))
            return c;
    }
    return control;
}

HWND WINAPI GetNextDlgGroupItem(HWND dlg, HWND control, BOOL previous)
{
    std::vector<HWND> list = Controls(dlg);
    size_t n = list.size();
    if (!n)
        return nullptr;
    control = DirectChild(dlg, control);
    size_t at = 0;
    bool found = false;
    for (size_t i = 0; i < n; ++i)
        if (list[i] == control) {
            at = i;
            found = true;
        }
    if (!found)
        return previous ? list[n - 1] : list[0];
    // The group runs from the nearest WS_GROUP control at or before this one up to the next.
    size_t first = at;
    while (first > 0 && !(Style(list[first]) & WS_GROUP))
        --first;
    size_t end = at + 1;
    while (end < n && !(Style(list[end]) & WS_GROUP))
        ++end;
    size_t size = end - first;
    for (size_t k = 1; k < size; ++k) {
        size_t offset = at - first;
        size_t i = first + (previous ? (offset + size - k) % size : (offset + k) % size);
        if (Usable(list[i]))
            return list[i];
    }
    return control;
}

BOOL WINAPI IsDialogMessageA(HWND dlg, LPMSG msg)
{
    if (!dlg || !msg || !IsWindow(dlg))
        return FALSE;
    if (msg->hwnd != dlg && !IsChild(dlg, msg->hwnd))
        return FALSE;
    HWND target = msg->hwnd;
    switch (msg->message) {
    case WM_KEYDOWN: {
        LRESULT code = DlgCode(target, msg);
        if (code & DLGC_WANTMESSAGE)
            break;
        HWND focus = GetFocus();
        switch (msg->wParam) {
        case VK_TAB:
            if (code & DLGC_WANTTAB)
                break;
            SendMessageA(dlg, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0, 0);
            return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            if (code & DLGC_WANTARROWS)
                break;
            HWND next = GetNextDlgGroupItem(dlg, focus, msg->wParam == VK_LEFT || msg->wParam == VK_UP);
            if (next && next != DirectChild(dlg, focus)) {
                LRESULT nextCode = DlgCode(next, nullptr);
                SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
                if ((nextCode & DLGC_RADIOBUTTON) && (Style(next) & 0x0F) == BS_AUTORADIOBUTTON)
                    SendMessageA(next, BM_CLICK, 0, 0);
            }
            return TRUE;
        }
        case VK_RETURN: {
            HWND button = nullptr;
            int id = IDOK;
            if (focus && IsChild(dlg, focus) && (DlgCode(focus, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
                button = focus;
                id = GetDlgCtrlID(focus);
            } else {
                LRESULT def = SendMessageA(dlg, DM_GETDEFID, 0, 0);
                if (HIWORD(def) == DC_HASDEFID)
                    id = LOWORD(def);
                button = GetDlgItem(dlg, id);
            }
            if (button && !IsWindowEnabled(button)) {
                MessageBeep(0);
                return TRUE;
            }
            SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            return TRUE;
        }
        case VK_ESCAPE: {
            HWND cancel = GetDlgItem(dlg, IDCANCEL);
            if (cancel && !IsWindowEnabled(cancel)) {
                MessageBeep(0);
                return TRUE;
            }
            SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
            return TRUE;
        }
        default: break;
        }
        break;
    }
    case WM_CHAR: {
        LRESULT code = DlgCode(target, msg);
        if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE))
            break;
        if (msg->wParam > ' ' && DoMnemonic(dlg, GetFocus(), static_cast<char>(msg->wParam)))
            return TRUE;
        break;
    }
    case WM_SYSCHAR:
        if (DoMnemonic(dlg, GetFocus(), static_cast<char>(msg->wParam)))
            return TRUE;
        break;
    default: break;
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}
