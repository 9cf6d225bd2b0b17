// Dialog templates built in memory for the dialog tests (host::DialogTemplateBuilder), and
// small stand-in controls that answer the dialog manager the way buttons and edits do.
#pragma once

#include <windows.h>

#include <host/DialogTemplateBuilder.h>

#include <cstring>
#include <string>
#include <vector>

namespace dlgtest {

using TemplateBuilder = host::DialogTemplateBuilder;

}  // namespace dlgtest

namespace dlgtest {

// A button stand-in: push, default push, check box and radio buttons, with BM_CLICK clicking
// through WM_COMMAND and auto radio buttons unchecking the rest of their group.
inline LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG type = style & 0x0F;
    switch (msg) {
    case WM_GETDLGCODE:
        if (type == BS_DEFPUSHBUTTON)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (type == BS_PUSHBUTTON)
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        return DLGC_BUTTON;
    case BM_SETSTYLE: SetWindowLongA(hwnd, GWL_STYLE, (style & ~0xFFFF) | static_cast<LONG>(wParam & 0xFFFF)); return 0;
    case BM_GETCHECK: return GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    case BM_SETCHECK: SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam)); return 0;
    case BM_CLICK: {
        HWND parent = GetParent(hwnd);
        if (type == BS_AUTOCHECKBOX)
            SendMessageA(hwnd, BM_SETCHECK, SendMessageA(hwnd, BM_GETCHECK, 0, 0) ? BST_UNCHECKED : BST_CHECKED, 0);
        if (type == BS_AUTORADIOBUTTON) {
            for (HWND c = GetNextDlgGroupItem(parent, hwnd, FALSE); c && c != hwnd; c = GetNextDlgGroupItem(parent, c, FALSE))
                SendMessageA(c, BM_SETCHECK, BST_UNCHECKED, 0);
            SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        }
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// An edit stand-in: wants characters, keeps its text as window text, remembers EM_SETSEL.
inline LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case EM_SETSEL: SetWindowLongPtrA(hwnd, GWLP_USERDATA, 1); return 0;
    case WM_CHAR: {
        char text[256];
        GetWindowTextA(hwnd, text, sizeof text);
        std::string s = GetWindowLongPtrA(hwnd, GWLP_USERDATA) ? std::string() : std::string(text);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        if (wParam == '\b') {
            if (!s.empty())
                s.pop_back();
        } else if (wParam >= ' ') {
            s += static_cast<char>(wParam);
        }
        SetWindowTextA(hwnd, s.c_str());
        return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

inline LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_GETDLGCODE)
        return DLGC_STATIC;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

inline void RegisterStandIns()
{
    struct Entry {
        const char* name;
        WNDPROC proc;
    };
    for (Entry e : {Entry{"DlgTestButton", ButtonProc}, Entry{"DlgTestEdit", EditProc}, Entry{"DlgTestStatic", StaticProc}}) {
        WNDCLASSA wc{};
        if (GetClassInfoA(GetModuleHandle(nullptr), e.name, &wc))
            continue;
        wc.lpfnWndProc = e.proc;
        wc.hInstance = GetModuleHandle(nullptr);
        wc.lpszClassName = e.name;
        RegisterClassA(&wc);
    }
}

}  // namespace dlgtest
