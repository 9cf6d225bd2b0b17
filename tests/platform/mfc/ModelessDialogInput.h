// Input to a modeless dialog the way a user gives it: through the class library's loop, whose
// PreTranslateMessage hands the dialog its keys first.
#pragma once

#include <afxwin.h>

#include <host/Clock.h>
#include <host/Input.h>

namespace modeless {

inline void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

inline void Key(UINT vk)
{
    host::PressKey(vk);
    Pump();
}

// A click in the middle of the dialog's control; then the double-click time passes.
inline void Click(HWND dlg, int id)
{
    RECT r;
    ::GetWindowRect(::GetDlgItem(dlg, id), &r);
    host::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump();
    host::StepClock(1000);
}
inline void Click(CWnd* dlg, int id) { Click(dlg->m_hWnd, id); }

// Focus to the control, then the text typed.
inline void TypeInto(HWND dlg, int id, const char* text)
{
    ::SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dlg, id)), TRUE);
    host::TypeText(text);
    Pump();
}
inline void TypeInto(CWnd* dlg, int id, const char* text) { TypeInto(dlg->m_hWnd, id, text); }

}  // namespace modeless
