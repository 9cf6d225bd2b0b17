// Dialog templates built in memory for the dialog tests (DLGTEMPLATE layout with a font), and
// small stand-in controls that answer the dialog manager the way buttons and edits do.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace dlgtest {

class TemplateBuilder {
public:
    TemplateBuilder(DWORD style, short x, short y, short cx, short cy, const std::string& caption,
                    WORD pointSize = 8, const std::string& face = "MS Sans Serif")
    {
        Dword(style | DS_SETFONT);
        Dword(0);
        countAt_ = bytes_.size();
        Word(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0);  // no menu
        Word(0);  // the dialog class
        Text(caption);
        Word(pointSize);
        Text(face);
    }

    TemplateBuilder& Control(const std::string& cls, const std::string& text, WORD id, DWORD style, short x, short y,
                             short cx, short cy)
    {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Text(cls);
        Text(text);
        Word(0);  // no creation data
        WORD n;
        std::memcpy(&n, bytes_.data() + countAt_, 2);
        ++n;
        std::memcpy(bytes_.data() + countAt_, &n, 2);
        return *this;
    }

    LPCDLGTEMPLATEA Get()
    {
        storage_.assign((bytes_.size() + 3) / 4, 0);
        std::memcpy(storage_.data(), bytes_.data(), bytes_.size());
        return reinterpret_cast<LPCDLGTEMPLATEA>(storage_.data());
    }

private:
    void Word(WORD w)
    {
        bytes_.push_back(static_cast<unsigned char>(w & 0xFF));
        bytes_.push_back(static_cast<unsigned char>(w >> 8));
    }
    void Dword(DWORD d)
    {
        Word(static_cast<WORD>(d & 0xFFFF));
        Word(static_cast<WORD>(d >> 16));
    }
    void Text(const std::string& s)
    {
        for (unsigned char c : s)
            Word(c);
        Word(0);
    }

    std::vector<unsigned char> bytes_;
    std::vector<DWORD> storage_;
    size_t countAt_ = 0;
};

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
