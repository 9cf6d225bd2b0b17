#include "explore/TimeStatWnd.h"

#include "base/PaletteSelector.h"
#include "widgets/Dib.h"

#include <algorithm>

namespace {

const char* const s_aFieldNames[TIMESTAT_FIELD_COUNT] = {"TmFrameSel", "TmFrameTitle", "TmFrameCat"};
const UINT s_aLabelBitmaps[TIMESTAT_FIELD_COUNT] = {542, 543, 540};
const POINT s_aOffsets[TIMESTAT_FIELD_COUNT] = {{0, 0}, {0, -9}, {0, 0}};
const int kFieldTop = 0;
const int kFieldLeft = 4;
const int kFieldGap = 4;
const int kStripHeight = 40;

}  // namespace

// ---- one field ----

IMPLEMENT_DYNAMIC(CTimeStatField, CWnd)

BEGIN_MESSAGE_MAP(CTimeStatField, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTimeStatField::CTimeStatField(UINT nLabelBitmap, CPoint ptOffset) : m_nLabelBitmap(nLabelBitmap), m_ptOffset(ptOffset) {}

CTimeStatField::~CTimeStatField()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pLabel;
}

CDib* CTimeStatField::Label()
{
    if (!m_bLabelLooked) {
        m_bLabelLooked = TRUE;
        TRY
        {
            m_pLabel = new CDib(m_nLabelBitmap);
        }
        CATCH_ALL(e)
        {
            m_pLabel = NULL;
        }
        END_CATCH_ALL
    }
    return m_pLabel;
}

CSize CTimeStatField::GetLabelSize()
{
    if (CDib* pLabel = Label())
        return CSize(static_cast<int>(pLabel->GetWidth()), static_cast<int>(pLabel->GetHeight()));
    return CSize(150, kStripHeight);
}

BOOL CTimeStatField::Create(LPCSTR lpszName, CPoint ptAt, CWnd* pParentWnd, UINT nID)
{
    const CSize size = GetLabelSize();
    LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
    return CWnd::Create(lpszClass, lpszName, WS_CHILD | WS_CLIPSIBLINGS, CRect(ptAt, size), pParentWnd, nID);
}

void CTimeStatField::SetText(LPCSTR lpszText)
{
    CString strText = lpszText != NULL ? lpszText : "";
    if (strText == m_strText)
        return;
    m_strText = strText;
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
}

BOOL CTimeStatField::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTimeStatField::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(32, 64, 104));
    if (CDib* pLabel = Label())
        pLabel->Draw(&dc, m_ptOffset.x, m_ptOffset.y);
    // The text below the label's caption, one line or two.
    const int nLines = m_strText.Find('\n') >= 0 ? 2 : 1;
    CFont font;
    font.CreateFont(nLines == 1 ? -17 : -12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    CFont* pOldFont = dc.SelectObject(&font);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crOld = dc.SetTextColor(RGB(255, 255, 255));
    CRect text(client.left + 4, client.top + 12, client.right - 4, client.bottom - 1);
    CRect measure(text);
    dc.DrawText(m_strText, &measure, DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
    CRect centred(text.left, text.top + std::max(0, (text.Height() - measure.Height()) / 2), text.right, text.bottom);
    dc.DrawText(m_strText, &centred, DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    dc.SetTextColor(crOld);
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
}

// ---- the strip ----

IMPLEMENT_DYNAMIC(CTimeStatWnd, CWnd)

BEGIN_MESSAGE_MAP(CTimeStatWnd, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
END_MESSAGE_MAP()

CTimeStatWnd::CTimeStatWnd()
{
    for (int i = 0; i < TIMESTAT_FIELD_COUNT; ++i)
        m_pFields[i] = new CTimeStatField(s_aLabelBitmaps[i], CPoint(s_aOffsets[i]));
}

CTimeStatWnd::~CTimeStatWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    for (CTimeStatField*& pField : m_pFields) {
        delete pField;
        pField = NULL;
    }
}

BOOL CTimeStatWnd::Create(LPCSTR lpszName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
    return CWnd::Create(lpszClass, lpszName, dwStyle, rect, pParentWnd, nID);
}

int CTimeStatWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    int x = kFieldLeft;
    for (int i = 0; i < TIMESTAT_FIELD_COUNT; ++i) {
        const CSize size = m_pFields[i]->GetLabelSize();
        m_rcFields[i] = CRect(CPoint(x, kFieldTop), size);
        if (!m_pFields[i]->Create(s_aFieldNames[i], m_rcFields[i].TopLeft(), this, 0))
            return -1;
        x += size.cx + kFieldGap;
    }
    if (!m_wndShowMachine.Create("", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 10, 10), this, TIMESTAT_SHOW_MACHINE))
        return -1;
    m_wndShowMachine.LoadStateBitmaps(TIMESTAT_BUTTON_BITMAP, TIMESTAT_BUTTON_PRESSED);
    m_wndShowMachine.SizeToBitmap();
    OnSize(0, lpCreateStruct->cx, lpCreateStruct->cy);
    return 0;
}

void CTimeStatWnd::OnSize(UINT, int cx, int cy)
{
    if (m_wndShowMachine.GetSafeHwnd() == NULL)
        return;
    CRect button;
    m_wndShowMachine.GetWindowRect(&button);
    m_wndShowMachine.SetWindowPos(NULL, std::max(0, cx - button.Width() - 6), std::max(0, (cy - button.Height()) / 2), 0, 0,
                                  SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTimeStatWnd::SetField(int nIndex, LPCSTR lpszText)
{
    if (nIndex >= 0 && nIndex < TIMESTAT_FIELD_COUNT)
        m_pFields[nIndex]->SetText(lpszText);
}

CString CTimeStatWnd::GetField(int nIndex) const
{
    return nIndex >= 0 && nIndex < TIMESTAT_FIELD_COUNT ? m_pFields[nIndex]->GetText() : CString();
}

void CTimeStatWnd::ShowFields(BOOL bShow)
{
    for (CTimeStatField* pField : m_pFields)
        if (pField->GetSafeHwnd() != NULL)
            pField->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

BOOL CTimeStatWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTimeStatWnd::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    CBrush ground(static_cast<COLORREF>(0x0100001E));
    dc.FillRect(&client, &ground);
    for (int i = 0; i < TIMESTAT_FIELD_COUNT; ++i)
        if (m_pFields[i]->GetSafeHwnd() != NULL)
            dc.FillSolidRect(&m_rcFields[i], RGB(32, 64, 104));
}

BOOL CTimeStatWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The show-the-time-machine button speaks to the view.
    if (LOWORD(wParam) == TIMESTAT_SHOW_MACHINE && GetParent() != NULL) {
        GetParent()->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}
