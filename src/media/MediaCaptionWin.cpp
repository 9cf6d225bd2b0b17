#include "media/MediaCaptionWin.h"

#include "media/CaptionMarkup.h"

#include "base/AppServices.h"
#include "base/ClipboardText.h"
#include "base/HitList.h"
#include "base/PaletteSelector.h"
#include "base/VLMessages.h"
#include "media/GrfDocument.h"
#include "widgets/MiniArtThumb.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CMediaCaptionWin, CGenericTabWin)

BEGIN_MESSAGE_MAP(CMediaCaptionWin, CGenericTabWin)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_CLOSE()
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivate)
END_MESSAGE_MAP()

CMediaCaptionWin::CMediaCaptionWin(CGrfDocument* pDocument) : m_pDocument(pDocument) {}

CMediaCaptionWin::~CMediaCaptionWin()
{
    delete m_pTextWnd;
}

BOOL CMediaCaptionWin::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCSTR pszClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    // The panel never paints under its text window (whose scroll bar it would cover).
    return CGenericTabWin::Create(pszClass, "CAPTION", dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID);
}

CString CMediaCaptionWin::ConvertToMarkup(LPCSTR lpszText, CHitList* pHits, UINT nSection)
{
    CString strOut;
    if (lpszText == NULL)
        return strOut;
    // The hits of this section, in their order.
    std::vector<CHitPosition> hits;
    if (pHits != NULL)
        for (int i = 0; i < pHits->GetCount(); ++i)
            if (pHits->GetAt(static_cast<UINT>(i))->GetSection() == nSection)
                hits.push_back(*pHits->GetAt(static_cast<UINT>(i)));
    std::size_t nHit = 0;
    BOOL bInHit = FALSE;
    CCaptionMarkup markup;
    for (UINT nOffset = 0;; ++nOffset) {
        if (bInHit && nOffset == hits[nHit].GetOffset() + hits[nHit].GetLength()) {
            strOut += "</RED>";
            bInHit = FALSE;
            ++nHit;
        }
        // Hits that begin behind this byte (overlapping the one before) are passed over.
        while (!bInHit && nHit < hits.size() && hits[nHit].GetOffset() < nOffset)
            ++nHit;
        if (!bInHit && nHit < hits.size() && hits[nHit].GetOffset() == nOffset && hits[nHit].GetLength() > 0) {
            strOut += "<RED>";
            bInHit = TRUE;
        }
        const BYTE c = static_cast<BYTE>(lpszText[nOffset]);
        if (c == 0)
            break;
        markup.Put(strOut, c);
    }
    if (bInHit)
        strOut += "</RED>";
    strOut += "<P>";
    return strOut;
}

CString CMediaCaptionWin::BuildMarkup(int nSection) const
{
    if (m_pDocument == NULL)
        return CString();
    LPCSTR pszText = NULL;
    if (nSection == static_cast<int>(GRF_SECTION_CAPTION))
        pszText = m_pDocument->GetCaptionText();
    else if (nSection >= static_cast<int>(GRF_SECTION_TEXT))
        pszText = m_pDocument->GetSectionData(nSection - static_cast<int>(GRF_SECTION_TEXT));
    CHitList* pHits = DYNAMIC_DOWNCAST(CHitList, m_pDocument->GetReferenceData());
    return ConvertToMarkup(pszText, pHits, static_cast<UINT>(nSection));
}

CString CMediaCaptionWin::PlainLine(LPCSTR lpszText)
{
    CString strLine;
    for (LPCSTR p = lpszText; p != NULL && *p != '\0'; ++p) {
        const BYTE c = static_cast<BYTE>(*p);
        // Line breaks become word gaps; the style bytes go; every other byte (the code page's
        // accented letters and signs too) is text.
        if (c == 13 || c == 10)
            strLine += ' ';
        else if (c != 0x80 && c != 0x81 && c != 0x82)
            strLine += static_cast<char>(c);
    }
    return strLine;
}

BOOL CMediaCaptionWin::CreateCaptionFont(CFont& font, CDC& dc, int nTenths)
{
    return font.CreateFont(-MulDiv(nTenths, dc.GetDeviceCaps(LOGPIXELSY), 720), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                           FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, "Arial");
}

CSize CMediaCaptionWin::MeasureLine(CDC& dc, const CString& strLine, int nTenths)
{
    CFont font;
    CreateCaptionFont(font, dc, nTenths);
    CFont* pOld = dc.SelectObject(&font);
    CRect rc(0, 0, 0, 0);
    dc.DrawText(strLine, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(pOld);
    return rc.Size();
}

int CMediaCaptionWin::Prepare(const RECT* pRect)
{
    if (pRect != NULL && m_pDocument != NULL) {
        const CRect rect(*pRect);
        const CString strLine = PlainLine(m_pDocument->GetCaptionText());
        CWnd* pMeasureWnd = m_hWnd != NULL && GetParent() != NULL ? GetParent() : CWnd::GetDesktopWindow();
        CClientDC dc(pMeasureWnd);
        // One measurement at a size: whether the line fits there.
        auto decide = [&](int nTenths) {
            const CSize size = MeasureLine(dc, strLine, nTenths);
            if (size.cy <= rect.Height()) {
                m_rcLine = rect;
                m_nLineOffset = (rect.Height() - size.cy) / 2;
            }
            if (size.cx > rect.Width()) {
                m_bOneLine = FALSE;
                m_bOverflow = TRUE;
                return FALSE;
            }
            m_bOneLine = TRUE;
            m_bOverflow = FALSE;
            return TRUE;
        };
        if (m_nPointSize != 0) {
            decide(m_nPointSize);
        } else {
            int nTenths = largestSize;
            for (; nTenths >= smallestSize; nTenths -= sizeStep) {
                m_nPointSize = nTenths;
                if (decide(nTenths))
                    break;
            }
        }
        if (m_bOneLine && m_hWnd != NULL)
            ShowWindow(SW_HIDE);
    }
    if (!m_bShown && !m_bOneLine)
        return 0;
    m_strMarkup = BuildMarkup(GRF_SECTION_CAPTION);
    return 1;
}

int CMediaCaptionWin::Display(CDC* pViewerDC)
{
    if (m_bOneLine) {
        if (m_hWnd != NULL)
            ShowWindow(SW_HIDE);
        if (pViewerDC == NULL || m_pDocument == NULL)
            return 0;
        CAppPaletteSelector palette(pViewerDC);
        CBrush ground(PALETTEINDEX(30));
        pViewerDC->FillRect(&m_rcLine, &ground);
        CFont font;
        CreateCaptionFont(font, *pViewerDC, m_nPointSize != 0 ? m_nPointSize : static_cast<int>(largestSize));
        CFont* pOld = pViewerDC->SelectObject(&font);
        const int nOldMode = pViewerDC->SetBkMode(TRANSPARENT);
        const COLORREF crOld = pViewerDC->SetTextColor(m_nTextColor);
        CRect rc = m_rcLine;
        rc.top += m_nLineOffset;
        pViewerDC->DrawText(PlainLine(m_pDocument->GetCaptionText()), &rc, DT_SINGLELINE | DT_NOPREFIX);
        pViewerDC->SetTextColor(crOld);
        pViewerDC->SetBkMode(nOldMode);
        pViewerDC->SelectObject(pOld);
        return 0;
    }
    if (!m_bShown) {
        if (m_hWnd != NULL)
            ShowWindow(SW_HIDE);
        return -2;
    }
    if (m_hWnd == NULL)
        return 0;
    Invalidate();
    ShowWindow(SW_SHOW);
    return 1;
}

CRect CMediaCaptionWin::TextRect() const
{
    CRect rc;
    GetClientRect(&rc);
    rc.DeflateRect(10, 10);
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    return rc;
}

int CMediaCaptionWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CGenericTabWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pTextWnd = new CMiniArtThumb;
    if (!m_pTextWnd->Create(WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL, TextRect(), this)) {
        delete m_pTextWnd;
        m_pTextWnd = NULL;
        return -1;
    }
    return 0;
}

void CMediaCaptionWin::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWin::OnSize(nType, cx, cy);
    if (m_pTextWnd != NULL && m_pTextWnd->GetSafeHwnd() != NULL) {
        m_pTextWnd->MoveWindow(TextRect(), TRUE);
        m_pTextWnd->ShowWindow(SW_SHOW);
    }
}

void CMediaCaptionWin::FillTextWnd()
{
    if (!m_bOneLine && m_pTextWnd != NULL && m_pTextWnd->GetSafeHwnd() != NULL) {
        m_pTextWnd->SetText(m_strMarkup);
        m_pTextWnd->ShowWindow(SW_SHOW);
    }
}

void CMediaCaptionWin::PostShown(BOOL bShown)
{
    // The viewer's current view hears whether the caption is up (its Copy command asks the panel).
    if (CWnd* pView = AppServices().ui.pCurrentView)
        if (pView->GetSafeHwnd() != NULL)
            pView->PostMessage(VLM_CAPTION_SHOWN, m_bOneLine ? WPARAM(-1) : WPARAM(bShown),
                               reinterpret_cast<LPARAM>(this));
}

void CMediaCaptionWin::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CGenericTabWin::OnShowWindow(bShow, nStatus);
    FillTextWnd();
    PostShown(m_bShown);
}

LRESULT CMediaCaptionWin::OnChildActivate(WPARAM, LPARAM)
{
    FillTextWnd();
    Default();
    // A panel the viewer does not want shown goes away again when it is activated.
    if (!m_bShown)
        ShowWindow(SW_HIDE);
    else
        PostShown(TRUE);
    return 0;
}

BOOL CMediaCaptionWin::HasSelection() const
{
    return m_pTextWnd != NULL && !m_pTextWnd->GetCopyText().IsEmpty();
}

BOOL CMediaCaptionWin::CopySelection()
{
    return m_pTextWnd != NULL && CopyTextToClipboard(this, m_pTextWnd->GetCopyText());
}

void CMediaCaptionWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect rc;
    GetClientRect(&rc);
    CBrush ground(PALETTEINDEX(56));
    dc.FillRect(&rc, &ground);
    CRect rcFrame = rc;
    rcFrame.DeflateRect(9, 9);
    CBrush black(PALETTERGB(0, 0, 0));
    dc.FrameRect(&rcFrame, &black);
}

void CMediaCaptionWin::OnLButtonDown(UINT, CPoint)
{
    Activate();
}

void CMediaCaptionWin::OnClose()
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, toggleCaptionCommand, 0);
    else
        CGenericTabWin::OnClose();
}

void CMediaCaptionWin::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == 'C' && (::GetKeyState(VK_CONTROL) & 0x8000) != 0) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
        return;
    }
    CGenericTabWin::OnKeyDown(nChar, nRepCnt, nFlags);
}
