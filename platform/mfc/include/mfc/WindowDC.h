// Device contexts of windows for the class library: CPaintDC (BeginPaint/EndPaint for the life
// of the object), CClientDC (GetDC/ReleaseDC) and CWindowDC (GetWindowDC/ReleaseDC). They need
// the GDI classes; without them this header declares nothing.
#pragma once

#include <afx.h>

#if __has_include(<mfc/Dc.h>)
#include <mfc/Dc.h>
#include <mfc/Wnd.h>

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
#endif
