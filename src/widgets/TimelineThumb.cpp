#include "widgets/TimelineThumb.h"

#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "widgets/BreakTextLines.h"
#include "widgets/Dib.h"

IMPLEMENT_DYNAMIC(CTimelineThumb, CThumbnail)

BEGIN_MESSAGE_MAP(CTimelineThumb, CThumbnail)
    ON_WM_CREATE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

const int kPictureHeight = 17;

BOOL MakeFont(CFont& font, int nWeight)
{
    return font.CreateFont(14, 0, 0, 0, nWeight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "Arial");
}

}  // namespace

CTimelineThumb::CTimelineThumb(CReference* pReference, const CString& strArticleTitle)
{
    if (pReference != NULL) {
        m_pReference = pReference->Clone();
        m_strDescription = pReference->GetTitle();
    }
    m_strSource.Format("from the %s article.", static_cast<LPCSTR>(strArticleTitle));
}

CTimelineThumb::~CTimelineThumb()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

CRect CTimelineThumb::TextArea(const CRect& rectClient)
{
    return CRect(rectClient.left + 10, rectClient.top + kPictureHeight + 5, rectClient.right - 10,
                 rectClient.bottom - 10);
}

int CTimelineThumb::DrawTimelineText(CDC* pDC, const RECT& area, BOOL bMeasureOnly)
{
    CFont bold;
    if (!MakeFont(bold, FW_BOLD))
        AfxThrowUserException();
    CFont* pOldFont = pDC->SelectObject(&bold);
    TEXTMETRIC tm;
    pDC->GetTextMetrics(&tm);
    const int nBoldLine = tm.tmHeight + tm.tmExternalLeading;
    CPoint pen(area.left, area.top);
    BreakTextLines(pDC, pen, area, nBoldLine, m_pReference != NULL ? m_pReference->GetTitle() : CString(),
                   bMeasureOnly);
    pen.x += tm.tmAveCharWidth;

    CFont regular;
    if (!MakeFont(regular, FW_NORMAL)) {
        pDC->SelectObject(pOldFont);
        AfxThrowUserException();
    }
    pDC->SelectObject(&regular);
    pDC->GetTextMetrics(&tm);
    BreakTextLines(pDC, pen, area, tm.tmHeight + tm.tmExternalLeading, m_strSource, bMeasureOnly);
    pDC->SelectObject(pOldFont);
    return pen.y - area.top + nBoldLine;
}

int CTimelineThumb::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CThumbnail::OnCreate(lpCreateStruct) == -1)
        return -1;
    try {
        CClientDC dc(this);
        CRect rectClient;
        GetClientRect(&rectClient);
        const CRect area = TextArea(rectClient);
        const int nUsed = DrawTimelineText(&dc, area, TRUE);
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        if (nUsed < area.Height()) {
            rectWindow.bottom -= area.Height() - nUsed;
            if (CWnd* pParent = GetParent())
                pParent->ScreenToClient(&rectWindow);
            MoveWindow(&rectWindow, TRUE);
        }
        m_nBoxLeft = 0;
        m_nBoxTop = 0;
        GetClientRect(&rectClient);
        m_nBoxWidth = rectClient.Width();
        m_nBoxHeight = rectClient.Height();
    } catch (CException* e) {
        e->Delete();
        return -1;
    }
    return 0;
}

void CTimelineThumb::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectInner = rectClient;
    rectInner.DeflateRect(3, 3);
    DrawCardFrame(&dc, rectClient, rectInner, PALETTERGB(166, 202, 240));
    try {
        CDib picture;
        picture.LoadFromResourceId(TIMELINETHUMB_PICTURE);
        picture.Draw(&dc, 3, 3);
    } catch (CException* e) {
        e->Delete();  // the card goes on without its picture
    }
    const COLORREF crOldBack = dc.SetBkColor(PALETTERGB(166, 202, 240));
    try {
        DrawTimelineText(&dc, TextArea(rectClient), FALSE);
    } catch (CException* e) {
        e->Delete();
    }
    dc.SetBkColor(crOldBack);
}
