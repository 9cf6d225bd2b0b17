#include "article/TableGridWin.h"

#include "article/ArticleTable.h"
#include "article/TableMainWin.h"
#include "base/AppServices.h"
#include "base/HitList.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/VLMessages.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Selected text: blue on a light violet.
const COLORREF kSelectionBk = PALETTERGB(218, 200, 230);
const COLORREF kSelectionText = PALETTERGB(0, 0, 255);
// Search hits.
const COLORREF kHitText = PALETTERGB(255, 0, 0);

// The program's hand cursor over links.
const UINT kHandCursorId = 262;

}  // namespace

IMPLEMENT_DYNAMIC(CTableGridWin, CVLScrollWnd)

BEGIN_MESSAGE_MAP(CTableGridWin, CVLScrollWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CTableGridWin::CTableGridWin() = default;

CTableGridWin::~CTableGridWin() = default;

void CTableGridWin::OnPaint()
{
    Default();
}

void CTableGridWin::OnSize(UINT, int, int)
{
    Default();
}

void CTableGridWin::PaintOffScreen(COLORREF crFill)
{
    CPaintDC paint(this);
    CPalettePaintDC palette(&paint, FALSE);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CDC dc;
    dc.CreateCompatibleDC(&paint);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&paint, client.Width(), client.Height());
    CBitmap* pOldBitmap = dc.SelectObject(&bitmap);
    dc.FillSolidRect(client, crFill);
    PaintPane(dc, client);
    paint.BitBlt(0, 0, client.Width(), client.Height(), &dc, 0, 0, SRCCOPY);
    dc.SelectObject(pOldBitmap);
}

int CTableGridWin::DrawLineText(CDC* pDC, CFont* pFont, int x, int y, int nRun, int nStart, int nCount)
{
    if (m_pTable == NULL || nCount <= 0)
        return 0;
    CFont* pOldFont = pDC->SelectObject(pFont);
    const COLORREF crOldBk = pDC->GetBkColor();
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crText = pDC->GetTextColor();
    const DWORD dwRunOffset = m_pTable->GetRun(nRun).dwTextOffset;
    LPCSTR pText = m_pTable->GetRunText(nRun) + nStart;

    // The hits as byte ranges: a hit's length counts visible characters, as its offset does.
    const LPBYTE pTable = m_pTable->GetText();
    const DWORD dwTextLength = static_cast<DWORD>(m_pTable->GetTextLength());
    std::vector<std::pair<DWORD, DWORD>> hits;
    for (int h = 0; h < m_pTable->GetHitCount(); ++h) {
        CHitPosition hit;
        hit.SetValue(m_pTable->GetHit(h));
        DWORD dwEnd = hit.GetOffset();
        for (UINT nSeen = 0; dwEnd < dwTextLength && nSeen < hit.GetLength(); ++dwEnd)
            nSeen += pTable[dwEnd] != 0 && !IsBlank(pTable[dwEnd]);
        hits.emplace_back(hit.GetOffset(), dwEnd);
    }
    // Each byte's class: 0 plain, 1 selected, 2 inside a hit.
    auto classOf = [&](int i) {
        const DWORD dwAt = dwRunOffset + static_cast<DWORD>(nStart + i);
        if (IsPositionSelected(dwAt, 0))
            return 1;
        for (const auto& [dwFrom, dwTo] : hits)
            if (dwAt >= dwFrom && dwAt < dwTo)
                return 2;
        return 0;
    };
    int nPen = x;
    for (int i = 0; i < nCount;) {
        const int nClass = classOf(i);
        int j = i + 1;
        while (j < nCount && classOf(j) == nClass)
            ++j;
        const int nWidth = pDC->GetTextExtent(pText + i, j - i).cx;
        if (nClass == 1) {
            pDC->SetBkMode(OPAQUE);
            pDC->SetBkColor(kSelectionBk);
            pDC->SetTextColor(kSelectionText);
        } else {
            pDC->SetBkMode(TRANSPARENT);
            pDC->SetTextColor(nClass == 2 ? kHitText : crText);
        }
        pDC->TextOut(nPen, y, pText + i, j - i);
        nPen += nWidth;
        i = j;
    }
    pDC->SetTextColor(crText);
    pDC->SetBkMode(nOldMode);
    pDC->SetBkColor(crOldBk);
    pDC->SelectObject(pOldFont);
    return nPen - x;
}

BOOL CTableGridWin::IsPositionSelected(DWORD dwOffset, int nCount) const
{
    if (!HasSelection() || m_pTable == NULL)
        return FALSE;
    return dwOffset <= WordEnd() && dwOffset + static_cast<DWORD>(std::max(nCount, 0)) >= WordStart();
}

DWORD CTableGridWin::WordStart() const
{
    const TableGridPosition& p = m_sel.anchor.Offset() <= m_sel.caret.Offset() ? m_sel.anchor : m_sel.caret;
    DWORD i = p.Offset();
    if (m_pTable == NULL || m_pTable->GetText() == NULL)
        return i;
    const BYTE* pText = m_pTable->GetText();
    while (i > p.dwRunOffset && !IsBlank(pText[i - 1]))
        --i;
    return i;
}

DWORD CTableGridWin::WordEnd() const
{
    const TableGridPosition& p = m_sel.anchor.Offset() <= m_sel.caret.Offset() ? m_sel.caret : m_sel.anchor;
    DWORD i = p.Offset();
    if (m_pTable == NULL || m_pTable->GetText() == NULL)
        return i;
    const BYTE* pText = m_pTable->GetText();
    const DWORD dwLast = p.dwRunOffset + static_cast<DWORD>(std::max(p.nRunLength - 1, 0));
    while (i < dwLast && !IsBlank(pText[i + 1]))
        ++i;
    return i;
}

CString CTableGridWin::GetSelectedText() const
{
    if (!HasSelection() || m_pTable == NULL || m_pTable->GetText() == NULL)
        return CString();
    const DWORD dwStart = WordStart();
    const DWORD dwEnd = std::min<DWORD>(WordEnd(), static_cast<DWORD>(std::max(m_pTable->GetTextLength() - 2, 0)));
    if (dwEnd < dwStart)
        return CString();
    return CString(reinterpret_cast<LPCSTR>(m_pTable->GetText()) + dwStart, static_cast<int>(dwEnd - dwStart + 1));
}

CString CTableGridWin::MakeLinkText(DWORD dwTarget, int nPlace)
{
    CString strLink;
    if (nPlace == 0)
        strLink.Format("vl://%.6u", static_cast<unsigned>(dwTarget));
    else if (nPlace < 200)
        strLink.Format("vl://%.6u(%d)", static_cast<unsigned>(dwTarget), nPlace);
    else
        strLink.Format("vl://%.6u(T)", static_cast<unsigned>(dwTarget));
    return strLink;
}

HCURSOR CTableGridWin::GetHandCursor()
{
    HCURSOR hCursor = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(kHandCursorId));
    return hCursor != NULL ? hCursor : ::LoadCursor(NULL, IDC_HAND);
}

BOOL CTableGridWin::CreatePane(CTableMainWin* pView, LPCSTR lpszName, DWORD dwStyle, const RECT& rect, UINT nID)
{
    m_pView = pView;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    return CWnd::Create(lpszClass, lpszName, dwStyle, rect, pView, nID);
}

BOOL CTableGridWin::FollowLink(int nLink)
{
    if (m_pTable == NULL || nLink < 0 || nLink >= m_pTable->GetLinkCount())
        return FALSE;
    const TableLinkEntry link = m_pTable->GetLink(nLink);
    const CString strLink = MakeLinkText(link.dwTarget, link.wPlace);
    m_bLocked = TRUE;
    CReference* pReference = NULL;
    if (CReferenceFactory* pFactory = GetAppReferenceFactory()) {
        try {
            pReference = pFactory->ParseReferenceLink(strLink);
        } catch (CException* e) {
            e->Delete();
            pReference = NULL;
        }
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    CWnd* pTop = GetTopLevelParent();
    if (pReference == NULL || pTop == NULL ||
        !pTop->PostMessage(VLM_OPEN_WINDOW, IDW_ARTICLE, reinterpret_cast<LPARAM>(pReference))) {
        delete pReference;
        m_bLocked = FALSE;
        return FALSE;
    }
    if (m_pView != NULL)
        m_pView->UnlockPanesLater();
    return TRUE;
}
