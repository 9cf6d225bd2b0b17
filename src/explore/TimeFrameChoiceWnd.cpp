#include "explore/TimeFrameChoiceWnd.h"

#include "base/PaletteSelector.h"
#include "widgets/Dib.h"

IMPLEMENT_DYNAMIC(CTimeFrameChoiceWnd, CWnd)

BEGIN_MESSAGE_MAP(CTimeFrameChoiceWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

const char CTimeFrameChoiceWnd::s_szClassName[] = "CTimeFrameChoiceWnd";

CTimeFrameChoiceWnd::CTimeFrameChoiceWnd() : m_pPicture(NULL), m_bPictureLooked(FALSE), m_bPressed(FALSE) {}

CTimeFrameChoiceWnd::~CTimeFrameChoiceWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pPicture;
}

BOOL CTimeFrameChoiceWnd::Create(const RECT& rect, CWnd* pParentWnd, UINT nID)
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
    return CWnd::Create(s_szClassName, s_szClassName, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, pParentWnd, nID);
}

void CTimeFrameChoiceWnd::SetText(LPCSTR lpszText)
{
    m_strText = lpszText != NULL ? lpszText : "";
    if (GetSafeHwnd() != NULL)
        Invalidate(TRUE);
}

CDib* CTimeFrameChoiceWnd::Picture()
{
    if (!m_bPictureLooked) {
        m_bPictureLooked = TRUE;
        TRY
        {
            m_pPicture = new CDib(TIMEFRAME_CHOICE_PICTURE);
        }
        CATCH_ALL(e)
        {
            m_pPicture = NULL;
        }
        END_CATCH_ALL
    }
    return m_pPicture;
}

BOOL CTimeFrameChoiceWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTimeFrameChoiceWnd::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, PALETTERGB(255, 255, 255));
    CRect text(client);
    if (CDib* pPicture = Picture()) {
        const int x = client.Width() - static_cast<int>(pPicture->GetWidth());
        const int y = (client.Height() - static_cast<int>(pPicture->GetHeight())) / 2;
        pPicture->Draw(&dc, x, y);
        text.right = x;
    }
    CFont font;
    font.CreatePointFont(80, "Arial", &dc);
    CFont* pOldFont = dc.SelectObject(&font);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crOld = dc.SetTextColor(PALETTERGB(0, 0, 0));
    // Centred both ways, one line or two.
    CRect measure(text);
    dc.DrawText(m_strText, &measure, DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
    CRect centred(text.left, text.top + (text.Height() - measure.Height()) / 2, text.right, text.bottom);
    dc.DrawText(m_strText, &centred, DT_CENTER | DT_NOPREFIX);
    dc.SetTextColor(crOld);
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
}

void CTimeFrameChoiceWnd::OnLButtonDown(UINT, CPoint)
{
    m_bPressed = TRUE;
    SetCapture();
}

void CTimeFrameChoiceWnd::OnLButtonUp(UINT, CPoint point)
{
    const BOOL bWasPressed = m_bPressed;
    m_bPressed = FALSE;
    if (GetCapture() == this)
        ReleaseCapture();
    CRect client;
    GetClientRect(&client);
    if (bWasPressed && client.PtInRect(point) && GetParent() != NULL)
        GetParent()->SendMessage(WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(m_hWnd));
}
