#include "explore/JustLookingChoiceWnd.h"

#include "base/PaletteSelector.h"
#include "widgets/Dib.h"

IMPLEMENT_DYNAMIC(CJustLookingChoiceWnd, CWnd)

BEGIN_MESSAGE_MAP(CJustLookingChoiceWnd, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

const char CJustLookingChoiceWnd::s_szClassName[] = "CJustLookingChoiceWnd";

CJustLookingChoiceWnd::CJustLookingChoiceWnd() : m_pArrow(NULL), m_bArrowLooked(FALSE) {}

CJustLookingChoiceWnd::~CJustLookingChoiceWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pArrow;
}

BOOL CJustLookingChoiceWnd::Create(LPCSTR lpszCaption, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    WNDCLASSA wc = {};
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (!::GetClassInfoA(hInstance, s_szClassName, &wc)) {
        wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = hInstance;
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = s_szClassName;
        if (!::RegisterClassA(&wc))
            return FALSE;
    }
    m_strCaption = lpszCaption != NULL ? lpszCaption : "";
    return CWnd::Create(s_szClassName, m_strCaption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, pParentWnd, nID);
}

void CJustLookingChoiceWnd::SetCaption(LPCSTR lpszCaption)
{
    m_strCaption = lpszCaption != NULL ? lpszCaption : "";
    if (GetSafeHwnd() != NULL) {
        SetWindowText(m_strCaption);
        Invalidate(TRUE);
    }
}

CDib* CJustLookingChoiceWnd::Arrow()
{
    if (!m_bArrowLooked) {
        m_bArrowLooked = TRUE;
        TRY
        {
            m_pArrow = new CDib(kArrowBitmap);
        }
        CATCH_ALL(e)
        {
            m_pArrow = NULL;
        }
        END_CATCH_ALL
    }
    return m_pArrow;
}

void CJustLookingChoiceWnd::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, PALETTERGB(255, 255, 255));
    CRect text(client);
    if (CDib* pArrow = Arrow()) {
        const int x = client.right - static_cast<int>(pArrow->GetWidth());
        const int y = client.top + (client.Height() - static_cast<int>(pArrow->GetHeight())) / 2;
        pArrow->Draw(&dc, x, y);
        text.right = x;
    }
    CFont font;
    font.CreatePointFont(85, "Arial", &dc);
    CFont* pOldFont = dc.SelectObject(&font);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crOld = dc.SetTextColor(PALETTERGB(0, 0, 0));
    dc.DrawText(m_strCaption, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SetTextColor(crOld);
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
}

void CJustLookingChoiceWnd::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    if (GetParent() != NULL)
        GetParent()->PostMessage(WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(m_hWnd));
}
