#include "base/CopyDLL.h"

#include "base/PaletteSelector.h"

namespace {

const int kWidth = 445;
const int kHeight = 150;

}  // namespace

BEGIN_MESSAGE_MAP(CCopyDLL, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_COPYDLL_START, OnStartCopy)
    ON_MESSAGE(WM_COPYDLL_DONE, OnCopyDone)
END_MESSAGE_MAP()

CCopyDLL::CCopyDLL(LPCSTR lpszName, LPCSTR lpszSource, LPCSTR lpszDestination, CWnd* pParent)
    : m_strName(lpszName), m_strSource(lpszSource), m_strDestination(lpszDestination), m_pParent(pParent)
{
}

int CCopyDLL::DoModal()
{
    // Top-most, without caption, system menu or frame, centred on the screen.
    int x = (::GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int y = (::GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
    if (!CreateEx(WS_EX_TOPMOST, lpszClass, "Veltra 2000", WS_POPUP | WS_VISIBLE, x, y, kWidth, kHeight,
                  m_pParent != NULL ? m_pParent->GetSafeHwnd() : NULL, NULL))
        return -1;
    PostMessage(WM_COPYDLL_START);
    int nResult = RunModalLoop(0);
    DestroyWindow();
    return nResult;
}

void CCopyDLL::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (hdc != NULL) {
        CDC* pDC = CDC::FromHandle(hdc);
        {
            CAppPaletteSelector palette(pDC);
            CRect rect;
            GetClientRect(&rect);
            CBrush brush(PALETTERGB(0xC6, 0xC6, 0xDE));
            pDC->FillRect(&rect, &brush);
            CFont font;
            font.CreateFont(15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial Bold");
            CFont* pOldFont = pDC->SelectObject(&font);
            pDC->SetTextColor(RGB(0, 0, 0));
            pDC->SetBkMode(TRANSPARENT);
            pDC->TextOut(10, 45, CString("Veltra is updating its settings to match your new screen resolution."));
            pDC->TextOut(10, 60, CString("This will take a few seconds to complete. Please wait."));
            pDC->SelectObject(pOldFont);
        }
        ::EndPaint(m_hWnd, &ps);
    }
}

LRESULT CCopyDLL::OnStartCopy(WPARAM, LPARAM)
{
    UpdateWindow();
    CWaitCursor wait;
    if (!::CopyFile(m_strSource, m_strDestination, FALSE)) {
        CString strMessage;
        strMessage.Format("Copy file failed:  %s", (LPCSTR)m_strSource);
        AfxMessageBox(strMessage, MB_OK);
        PostMessage(WM_COPYDLL_DONE, 0);
    } else {
        PostMessage(WM_COPYDLL_DONE, 1);
    }
    return 0;
}

LRESULT CCopyDLL::OnCopyDone(WPARAM wParam, LPARAM)
{
    EndModalLoop(wParam != 0 ? IDOK : IDCANCEL);
    return 0;
}
