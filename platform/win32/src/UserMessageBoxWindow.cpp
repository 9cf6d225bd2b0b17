// The message box window shown to a real user: a modal dialog built from a template in memory,
// with the icon, the text and the buttons laid out the way the classic box does.
#include "UserMessageBoxWindow.h"

#include <windows.h>

#include <host/DialogTemplateBuilder.h>

#include <algorithm>

namespace {

constexpr WORD kIconId = 0x14;
constexpr WORD kTextId = 0xFFFF;

const char* ButtonText(int id)
{
    switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "&Abort";
    case IDRETRY: return "&Retry";
    case IDIGNORE: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
    default: return "";
    }
}

LPCSTR IconName(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

struct BoxState {
    const msgbox::BoxLayoutRequest* request;
    HWND centreOver;
};

bool HasButton(const BoxState& s, int id)
{
    return std::find(s.request->buttons.begin(), s.request->buttons.end(), id) != s.request->buttons.end();
}

void Layout(HWND dlg, const BoxState& s)
{
    const auto& req = *s.request;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dlg, WM_GETFONT, 0, 0));

    // Dialog-unit measures of the classic box: margins, gaps and a 50x14 button.
    RECT units{0, 0, 50, 14};
    MapDialogRect(dlg, &units);
    const int buttonW = units.right, buttonH = units.bottom;
    RECT gapUnits{0, 0, 4, 7};
    MapDialogRect(dlg, &gapUnits);
    const int gap = std::max<int>(gapUnits.right, 4);
    const int margin = std::max<int>(gapUnits.bottom, 8);

    const bool icon = IconName(req.type) != nullptr;
    const int iconSize = GetSystemMetrics(SM_CXICON) > 0 ? GetSystemMetrics(SM_CXICON) : 32;
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);

    // The text, word wrapped at about two thirds of the screen width.
    const int textLeft = margin + (icon ? iconSize + 2 * margin : 0);
    const int maxTextW = std::max(screenW * 2 / 3 - textLeft - margin, 8 * buttonW / 5);
    RECT text{0, 0, maxTextW, 0};
    HDC dc = GetDC(dlg);
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, req.text.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(dlg, dc);
    // A word longer than the line is cut off rather than widening the box past the screen.
    const int textW = std::min<int>(text.right - text.left, maxTextW), textH = text.bottom - text.top;

    const int nButtons = static_cast<int>(req.buttons.size());
    const int buttonsW = nButtons * buttonW + (nButtons - 1) * gap;
    const int clientW = std::max(textLeft + textW + margin, buttonsW + 2 * margin);
    const int topH = std::max(textH, icon ? iconSize : 0);
    const int clientH = margin + topH + margin + buttonH + margin;

    if (icon) {
        HWND iconWnd = GetDlgItem(dlg, kIconId);
        SendMessageA(iconWnd, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IconName(req.type))), 0);
        MoveWindow(iconWnd, margin, margin, iconSize, iconSize, FALSE);
    }
    HWND textWnd = GetDlgItem(dlg, kTextId);
    SendMessageA(textWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveWindow(textWnd, textLeft, margin + (topH - textH) / 2, textW, textH, FALSE);

    int x = (clientW - buttonsW) / 2;
    const int y = margin + topH + margin;
    for (int id : req.buttons) {
        MoveWindow(GetDlgItem(dlg, static_cast<WORD>(id)), x, y, buttonW, buttonH, FALSE);
        x += buttonW + gap;
    }

    RECT frame{0, 0, clientW, clientH};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dlg, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dlg, GWL_EXSTYLE)));
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    RECT over{0, 0, screenW, screenH};
    if (s.centreOver && IsWindowVisible(s.centreOver) && !IsIconic(s.centreOver))
        GetWindowRect(s.centreOver, &over);
    int left = over.left + (over.right - over.left - w) / 2;
    int top = over.top + (over.bottom - over.top - h) / 2;
    left = std::clamp(left, 0, std::max(0, screenW - w));
    top = std::clamp(top, 0, std::max(0, screenH - h));
    SetWindowPos(dlg, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK BoxProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        auto* s = reinterpret_cast<BoxState*>(lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        Layout(dlg, *s);
        const int def = s->request->buttons[static_cast<size_t>(s->request->defaultIndex)];
        SendMessageA(dlg, DM_SETDEFID, static_cast<WPARAM>(def), 0);
        SetFocus(GetDlgItem(dlg, def));
        return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
        auto* s = reinterpret_cast<BoxState*>(GetWindowLongPtrA(dlg, DWLP_USER));
        if (!s || HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        const int id = LOWORD(wParam);
        if (HasButton(*s, id)) {
            EndDialog(dlg, id);
            return TRUE;
        }
        // Escape and the close box: Cancel where there is one; a lone OK box takes them as OK.
        if (id == IDCANCEL && s->request->buttons.size() == 1) {
            EndDialog(dlg, s->request->buttons.front());
            return TRUE;
        }
        return TRUE;
    }
    default: return FALSE;
    }
}

}  // namespace

namespace msgbox {

int ShowBoxWindow(HWND owner, const BoxLayoutRequest& request)
{
    // Position and size stay 0: the dialog procedure lays the box out in pixels.
    host::DialogTemplateBuilder t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_NOIDLEMSG, 0, 0, 0, 0,
                                  request.caption);
    if (IconName(request.type))
        t.Control("Static", "", kIconId, SS_ICON, 0, 0, 0, 0);
    t.Control("Static", request.text, kTextId, SS_LEFT | SS_NOPREFIX | WS_GROUP, 0, 0, 0, 0);
    bool first = true;
    for (size_t i = 0; i < request.buttons.size(); ++i) {
        const int id = request.buttons[i];
        DWORD style = WS_TABSTOP | (static_cast<int>(i) == request.defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        if (first)
            style |= WS_GROUP;
        first = false;
        t.Control("Button", ButtonText(id), static_cast<WORD>(id), style, 0, 0, 0, 0);
    }
    BoxState state{&request, owner};
    INT_PTR r = DialogBoxIndirectParamA(nullptr, t.Get(), owner, BoxProc,
                                        reinterpret_cast<LPARAM>(&state));
    return static_cast<int>(r);
}

}  // namespace msgbox
