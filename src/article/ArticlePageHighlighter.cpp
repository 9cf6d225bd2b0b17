// CArticlePageWin, continued: the highlighter. In highlighter mode a drag draws a range (snapped
// to words, like the selection) that button-up stores as one span per section in the
// application's highlight store, keyed by the article's RIN and stamped with its issue date; a
// drag that begins on a stored mark rubs out instead, and the spans reaching out of the rubbed
// range keep their heads and tails. A stored span covers start .. start + length, both ends
// included.
#include "article/ArticlePageWin.h"

#include "article/ArticleDocument.h"
#include "article/ArticleSection.h"
#include "base/AppHost.h"
#include "base/HiliteRecordSet.h"
#include "base/Reference.h"

#include <algorithm>
#include <memory>

namespace {

// The cursor of highlighter mode.
const UINT kHighlighterCursor = 258;

}  // namespace

void CArticlePageWin::ToggleHighlighter()
{
    m_bHighlighter = !m_bHighlighter;
    m_bEraseMode = FALSE;
    if (!m_bHighlighter && m_bMarking) {
        // Turned off in the middle of a drag: the range drawn so far is dropped, not left on the
        // page with no button-up to store it.
        m_mark.Reset();
        m_bMarking = FALSE;
        if (GetSafeHwnd() != NULL)
            Invalidate();
    }
    GetAppHost().SetHighlighterState(m_bHighlighter);
    if (m_bHighlighter && HasSelection())
        HighlightSelection();
}

BOOL CArticlePageWin::IsInHighlightRange(int nSection, int nOffset, int nLength) const
{
    return m_mark.HasAnchor() && m_mark.Contains(nSection, nOffset, nLength);
}

BOOL CArticlePageWin::HasHighlights()
{
    CHiliteSpanList* pSpans = GetSpanList();
    return pSpans != NULL && pSpans->GetCount() > 0;
}

void CArticlePageWin::BeginHighlight(int x, int y)
{
    if (m_pDocument == NULL || GetLineCount() == 0)
        return;
    const int nLine = ClampLine(PointToLine(y));
    const PageLine& line = GetLine(nLine);
    if (line.nKind == PAGE_LINE_PICTURE || line.nKind >= PAGE_LINE_MEDIA_ICON || line.nLength == 0) {
        m_mark.nAnchorSection = m_mark.nMovingSection = -1;
        m_mark.nAnchorOffset = m_mark.nMovingOffset = -1;
        return;
    }
    std::unique_ptr<CArticleSection> pSection(m_pDocument->GetSection(line.nSection));
    if (!pSection)
        return;
    const int nOffset = CharacterAt(nLine, x);
    if (IsInHighlightRange(line.nSection, nOffset, 0))
        return;
    int nSpanStart = 0;
    int nSpanLength = 0;
    m_bEraseMode = FindStoredHighlight(line.nSection, nOffset, 2, nSpanStart, nSpanLength, FALSE);
    int nStart = 0;
    int nEnd = 0;
    FindWord(reinterpret_cast<LPCSTR>(pSection->GetText()), nOffset, static_cast<int>(line.dwStart) + line.nLength,
             nStart, nEnd, static_cast<int>(line.dwStart));
    m_mark.StartAt(line.nSection, nStart, nStart, nEnd, nLine);
    m_bMarking = TRUE;
    m_bMarksPresent = TRUE;
    SetCapture();
    ::SetCursor(LoadPageCursor(kHighlighterCursor));
    Invalidate();
    UpdateWindow();
}

void CArticlePageWin::ExtendHighlightTo(int x, int y)
{
    ExtendRangeTo(m_mark, x, y, m_bEraseMode);
}

void CArticlePageWin::EndHighlight()
{
    if (m_bEraseMode)
        EraseHighlight();
    else
        AddHighlight();
    m_bMarking = FALSE;
}

BOOL CArticlePageWin::CanStoreMark() const
{
    return m_bHighlighter && m_mark.HasAnchor() && m_mark.nMovingSection >= 0 && m_pDocument != NULL &&
           m_pDocument->GetReference() != NULL && m_pHiliteStore != NULL;
}

void CArticlePageWin::GetMarkSectionRange(int nSection, int& nFrom, int& nTo) const
{
    nFrom = nSection == m_mark.GetFirstSection() ? m_mark.GetStartOffset() : 0;
    nTo = m_mark.GetEndOffset();
    if (nSection < m_mark.GetLastSection()) {
        std::unique_ptr<CArticleSection> pSection(m_pDocument->GetSection(nSection));
        nTo = pSection ? static_cast<int>(pSection->GetTextLength()) : 0;
    }
}

// The drawn range is over: repaint without it.
void CArticlePageWin::EndMark()
{
    m_mark.Reset();
    m_bMarking = FALSE;
    m_bEraseMode = FALSE;
    if (GetSafeHwnd() != NULL) {
        Invalidate();
        UpdateWindow();
    }
}

void CArticlePageWin::AddHighlight()
{
    if (!CanStoreMark())
        return;
    m_bMarksPresent = TRUE;
    const LONG nKey = m_pDocument->GetReference()->GetNumber();
    const DWORD dwDate = static_cast<DWORD>(m_pDocument->GetIssueDate());
    for (int s = m_mark.GetFirstSection(); s <= m_mark.GetLastSection(); ++s) {
        int nStart = 0;
        int nTo = 0;
        GetMarkSectionRange(s, nStart, nTo);
        const int nLength = nTo - nStart;
        if (nLength < 0)
            continue;
        RemoveHighlightsWithin(s, nStart, nLength);
        m_pHiliteStore->GetSpanList(nKey);  // the record the store appends to
        m_pHiliteStore->AddHilite(nKey, static_cast<DWORD>(s), static_cast<DWORD>(nStart), static_cast<DWORD>(nLength),
                                  dwDate);
    }
    EndMark();
}

void CArticlePageWin::EraseHighlight()
{
    if (!m_bEraseMode || !CanStoreMark())
        return;
    const LONG nKey = m_pDocument->GetReference()->GetNumber();
    const DWORD dwDate = static_cast<DWORD>(m_pDocument->GetIssueDate());
    for (int s = m_mark.GetFirstSection(); s <= m_mark.GetLastSection(); ++s) {
        // The rubbed characters of this section: from .. to, both included.
        int nFrom = 0;
        int nTo = 0;
        GetMarkSectionRange(s, nFrom, nTo);
        if (nTo < nFrom)
            continue;
        // Every span that meets the rubbed characters goes; the parts of it before and after
        // them are stored again. (Taking the spans one by one also cuts a span that starts
        // before the range and ends inside it, which no head or tail rule alone would reach.)
        for (;;) {
            CHiliteSpanList* pSpans = GetSpanList();
            const CStoredHilite* pMet = NULL;
            for (UINT i = 0; pSpans != NULL && i < pSpans->GetCount(); ++i) {
                const CStoredHilite* pSpan = pSpans->GetAt(i);
                const int a = static_cast<int>(pSpan->m_dwOffset);
                const int e = a + static_cast<int>(pSpan->m_dwLength);
                if (static_cast<int>(pSpan->m_dwUnit) == s && a <= nTo && e >= nFrom) {
                    pMet = pSpan;
                    break;
                }
            }
            if (pMet == NULL)
                break;
            const CStoredHilite span = *pMet;
            const int a = static_cast<int>(span.m_dwOffset);
            const int e = a + static_cast<int>(span.m_dwLength);
            m_pHiliteStore->RemoveHilite(nKey, span);
            if (a < nFrom)
                m_pHiliteStore->AddHilite(nKey, span.m_dwUnit, static_cast<DWORD>(a),
                                          static_cast<DWORD>(nFrom - a - 1), dwDate);
            if (e > nTo)
                m_pHiliteStore->AddHilite(nKey, span.m_dwUnit, static_cast<DWORD>(nTo + 1),
                                          static_cast<DWORD>(e - nTo - 1), dwDate);
        }
    }
    m_bMarksPresent = HasHighlights();
    EndMark();
}

void CArticlePageWin::HighlightSelection()
{
    if (!HasSelection())
        return;
    m_mark = m_selection;
    m_selection.Reset();
    m_bSelection = FALSE;
    m_bSelectAll = FALSE;
    m_bSelecting = FALSE;
    AddHighlight();
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

BOOL CArticlePageWin::FindStoredHighlight(int nSection, int nOffset, int nLength, int& nOutStart, int& nOutLength,
                                          BOOL bRemove)
{
    nOutStart = -1;
    nOutLength = 0;
    CHiliteSpanList* pSpans = GetSpanList();
    if (pSpans == NULL || pSpans->GetCount() == 0)
        return FALSE;
    m_bMarksPresent = TRUE;
    auto meets = [&](const CStoredHilite& span) {
        const int nStart = static_cast<int>(span.m_dwOffset);
        return static_cast<int>(span.m_dwUnit) == nSection && nOffset + nLength >= nStart &&
               nOffset <= nStart + static_cast<int>(span.m_dwLength);
    };
    BOOL bFound = FALSE;
    for (UINT i = 0; i < pSpans->GetCount(); ++i) {
        const CStoredHilite* pSpan = pSpans->GetAt(i);
        if (!meets(*pSpan))
            continue;
        const int nStart = static_cast<int>(pSpan->m_dwOffset);
        if (!bFound || nStart <= nOutStart) {
            nOutStart = nStart;
            nOutLength = static_cast<int>(pSpan->m_dwLength);
        }
        bFound = TRUE;
    }
    if (bFound && bRemove) {
        const LONG nKey = m_pDocument->GetReference()->GetNumber();
        for (UINT i = 0; pSpans != NULL && i < pSpans->GetCount();) {
            const CStoredHilite span = *pSpans->GetAt(i);
            if (meets(span)) {
                m_pHiliteStore->RemoveHilite(nKey, span);
                pSpans = GetSpanList();
                i = 0;
            } else {
                ++i;
            }
        }
        if (GetSafeHwnd() != NULL)
            Invalidate();
    }
    return bFound;
}

void CArticlePageWin::RemoveHighlightsWithin(int nSection, int nOffset, int nLength)
{
    if (m_pHiliteStore == NULL || m_pDocument == NULL || m_pDocument->GetReference() == NULL)
        return;
    const LONG nKey = m_pDocument->GetReference()->GetNumber();
    for (;;) {
        CHiliteSpanList* pSpans = GetSpanList();
        if (pSpans == NULL || pSpans->GetCount() == 0)
            break;
        const CStoredHilite* pInside = NULL;
        for (UINT i = 0; i < pSpans->GetCount() && pInside == NULL; ++i) {
            const CStoredHilite* pSpan = pSpans->GetAt(i);
            const int nStart = static_cast<int>(pSpan->m_dwOffset);
            if (static_cast<int>(pSpan->m_dwUnit) == nSection && nStart >= nOffset &&
                nStart + static_cast<int>(pSpan->m_dwLength) <= nOffset + nLength)
                pInside = pSpan;
        }
        if (pInside == NULL)
            break;
        const CStoredHilite span = *pInside;
        m_pHiliteStore->RemoveHilite(nKey, span);
    }
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CArticlePageWin::ClearArticleHighlights()
{
    if (m_bHighlighter)
        ToggleHighlighter();
    DropArticleHighlights();
}

void CArticlePageWin::DropArticleHighlights()
{
    if (m_pHiliteStore != NULL && m_pDocument != NULL && m_pDocument->GetReference() != NULL) {
        const LONG nKey = m_pDocument->GetReference()->GetNumber();
        m_pHiliteStore->RemoveRecord(nKey);
        m_pHiliteStore->GetSpanList(nKey);
    }
    m_bMarksPresent = FALSE;
    if (GetSafeHwnd() != NULL) {
        Invalidate();
        UpdateWindow();
    }
}

void CArticlePageWin::ClearAllHighlights()
{
    if (m_bHighlighter)
        ToggleHighlighter();
    m_bMarksPresent = FALSE;
    if (m_pHiliteStore != NULL) {
        m_pHiliteStore->RemoveAll();
        GetSpanList();
    }
    if (GetSafeHwnd() != NULL) {
        Invalidate();
        UpdateWindow();
    }
}

BOOL CArticlePageWin::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bHighlighter && pWnd == this && nHitTest == HTCLIENT && message == WM_MOUSEMOVE) {
        ::SetCursor(LoadPageCursor(kHighlighterCursor));
        return TRUE;
    }
    return CVLScrollWnd::OnSetCursor(pWnd, nHitTest, message);
}
