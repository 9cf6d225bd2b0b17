#include "widgets/Thumbnail.h"

#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/ResourceLibrary.h"
#include "base/VLMessages.h"

#include <new>

IMPLEMENT_DYNAMIC(CThumbnail, CVLScrollWnd)

BEGIN_MESSAGE_MAP(CThumbnail, CVLScrollWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_DESTROY()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CThumbnail* CThumbnail::s_pHovered = NULL;
BOOL CThumbnail::s_bOpening = FALSE;

CString& CThumbnail::ClassName()
{
    static CString strClass;
    return strClass;
}

CThumbnail::CThumbnail()
{
    CString& strClass = ClassName();
    if (strClass.IsEmpty())
        strClass = AfxRegisterWndClass(CS_BYTEALIGNCLIENT | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, NULL, NULL, NULL);
}

CThumbnail::~CThumbnail()
{
    if (s_pHovered == this)
        s_pHovered = NULL;
    delete m_pReference;
    m_pReference = NULL;
}

void CThumbnail::DrawCardFrame(CDC* pDC, const CRect& rcOuter, const CRect& rcInner, COLORREF crFill)
{
    CBrush brush(crFill);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CPen outer;
    if (outer.CreatePen(PS_SOLID, 1, PALETTERGB(40, 4, 72))) {
        CPen* pOld = pDC->SelectObject(&outer);
        pDC->Rectangle(&rcOuter);
        pDC->SelectObject(pOld);
    }
    CPen inner;
    if (inner.CreatePen(PS_SOLID, 2, PALETTERGB(65, 72, 59))) {
        CPen* pOld = pDC->SelectObject(&inner);
        pDC->Rectangle(&rcInner);
        pDC->SelectObject(pOld);
    }
    pDC->SelectObject(pOldBrush);
}

BOOL CThumbnail::Create(CWnd* pParent, const RECT& rect)
{
    return CreateEx(0, ClassName(), NULL, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, pParent, 0);
}

BOOL CThumbnail::CreateAt(CWnd* pParent, int x, int y)
{
    return Create(pParent, CRect(x, y, x + THUMBNAIL_WIDTH, y + THUMBNAIL_HEIGHT));
}

void CThumbnail::InvalidateRect(int left, int top, int right, int bottom)
{
    CRect rect(left, top, right, bottom);
    CWnd::InvalidateRect(&rect, TRUE);
}

CReference* CThumbnail::CloneReference() const
{
    return m_pReference != NULL ? m_pReference->Clone() : NULL;
}

void CThumbnail::PostStatusText(const CString* pText)
{
    CString* pCopy = NULL;
    if (pText != NULL) {
        try {
            pCopy = new CString(*pText);
        } catch (const std::bad_alloc&) {
            pCopy = NULL;  // the status text becomes empty
        } catch (CMemoryException* e) {
            e->Delete();
            pCopy = NULL;
        }
    }
    CWnd* pMain = GetAppMainWnd();
    if (pMain == NULL || pMain->GetSafeHwnd() == NULL ||
        !pMain->PostMessage(VLM_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(pCopy)))
        delete pCopy;
}

void CThumbnail::PostReference(UINT message)
{
    CReference* pClone = CloneReference();
    CWnd* pParent = GetParent();
    if (pParent == NULL || !pParent->PostMessage(message, 0, reinterpret_cast<LPARAM>(pClone)))
        delete pClone;
}

void CThumbnail::OnLButtonDown(UINT, CPoint)
{
    PostReference(VLM_THUMB_PRESS);
}

void CThumbnail::OnLButtonUp(UINT, CPoint)
{
    if (s_bOpening)
        return;
    s_bOpening = TRUE;
    PostReference(VLM_THUMB_RELEASE);
    // The request is queued before any input that comes during the pause.
    ::Sleep(THUMBNAIL_RELEASE_PAUSE);
    s_bOpening = FALSE;
}

void CThumbnail::OnMouseMove(UINT, CPoint)
{
    if (s_pHovered == this)
        return;
    s_pHovered = this;
    if (m_nHoverTimer == 0)
        m_nHoverTimer = SetTimer(THUMBNAIL_HOVER_TIMER, THUMBNAIL_HOVER_PERIOD, NULL);
    PostStatusText(&m_strDescription);
}

void CThumbnail::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != THUMBNAIL_HOVER_TIMER)
        return;
    if (s_pHovered != this) {
        // Another thumbnail (or none) shows its text now; it has posted what it needs.
        if (m_nHoverTimer != 0)
            KillTimer(m_nHoverTimer);
        m_nHoverTimer = 0;
        return;
    }
    CPoint point;
    ::GetCursorPos(&point);
    if (CWnd::WindowFromPoint(point) == this)
        return;
    s_pHovered = NULL;
    if (m_nHoverTimer != 0)
        KillTimer(m_nHoverTimer);
    m_nHoverTimer = 0;
    PostStatusText(NULL);
}

void CThumbnail::OnDestroy()
{
    if (s_pHovered == this) {
        PostStatusText(NULL);
        s_pHovered = NULL;
    }
    if (m_nHoverTimer != 0) {
        KillTimer(m_nHoverTimer);
        m_nHoverTimer = 0;
    }
    CVLScrollWnd::OnDestroy();
}

HCURSOR CThumbnail::ChooseCursor()
{
    if (m_pReference != NULL && !m_pReference->IsFileAvailable())
        return LoadProgramCursor(THUMBNAIL_CURSOR_MISSING, IDC_NO);
    return LoadProgramCursor(THUMBNAIL_CURSOR_ITEM, IDC_HAND);
}

BOOL CThumbnail::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(ChooseCursor());
    return TRUE;
}
