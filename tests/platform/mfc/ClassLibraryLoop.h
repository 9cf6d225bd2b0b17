// The class library's message loop for tests: every message goes through AfxPreTranslateMessage
// first (which gives a modeless dialog its keys), then to its window.
#pragma once

#include <afxwin.h>

#include <host/Input.h>

namespace mfctest {

inline void PumpThroughClassLibrary()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

// A key pressed and released, then handled through the class library's loop.
inline void PressKeyThroughClassLibrary(UINT vk)
{
    host::PressKey(vk);
    PumpThroughClassLibrary();
}

}  // namespace mfctest
