// CArticlePageWin, continued: the sticky-note icons. Each note of the open article sits in a
// paragraph gap (the blank lines after a paragraph, which carry its section and paragraph) and
// shows as a 27 x 17 picture button on the gap's last line, the notes of one gap side by side
// (slot 0, 1, 2 ... from the left, at most 11). The note window (CStickyNoteWnd, the page's child)
// keeps the notes; the page and it exchange positions as four 16-bit values: section,
// paragraph, slot, the low 16 bits of the gap line's start.
#include "article/ArticlePageWin.h"

#include "article/ArticleDocument.h"
#include "base/Reference.h"
#include "base/StickyRecordSet.h"
#include "base/VLMessages.h"
#include "media/StickyNoteWnd.h"
#include "widgets/DibButton.h"

#include <algorithm>

namespace {

const int kNoteWidth = 27;
const int kNoteHeight = 17;
const UINT kNoteBitmap = 239;
const int kMaxNotesInGap = 11;

}  // namespace

// A blank line that can hold notes: no text, no picture, no icon.
static BOOL IsGapLine(const PageLine& line)
{
    return line.nLength == 0 && line.nKind < PAGE_LINE_MEDIA_ICON && line.nKind != PAGE_LINE_PICTURE;
}

LRESULT CArticlePageWin::OnSetStickyNotes(WPARAM wParam, LPARAM lParam)
{
    WORD* pBlocks = reinterpret_cast<WORD*>(lParam);
    DeleteStickyNoteIcons();
    const int nCount = pBlocks != NULL ? static_cast<int>(wParam) : 0;
    if (nCount > 0) {
        m_apNotePositions = new CStickyPosition*[nCount];
        m_apNoteButtons = new CDibButton*[nCount];
        for (int i = 0; i < nCount; ++i) {
            const WORD* pBlock = pBlocks + 4 * i;
            m_apNotePositions[i] = new CStickyPosition(pBlock[0], pBlock[1], pBlock[2], pBlock[3]);
            CDibButton* pButton = new CDibButton;
            if (pButton->Create("", WS_CHILD | WS_CLIPSIBLINGS | BS_OWNERDRAW, CRect(0, 0, kNoteWidth, kNoteHeight),
                                this, 0)) {
                // Presses reach the page, which tells a click from a drag.
                pButton->SetForwardMouse(TRUE);
                if (pButton->LoadStateBitmaps(kNoteBitmap, kNoteBitmap))
                    pButton->SizeToBitmap();
            }
            m_apNoteButtons[i] = pButton;
        }
        m_nNoteCount = nCount;
    }
    delete[] pBlocks;
    if (GetSafeHwnd() != NULL) {
        TakeFocus();
        PlaceStickyNoteIcons();
        Invalidate();
        UpdateWindow();
    }
    return 0;
}

LRESULT CArticlePageWin::OnStickyNotesChanged(WPARAM, LPARAM lParam)
{
    if (m_pDocument != NULL && m_pDocument->GetReference() != NULL && m_pStickyWnd != NULL &&
        m_pStickyWnd->GetSafeHwnd() != NULL && m_pDocument->GetReference()->GetNumber() == static_cast<LONG>(lParam))
        m_pStickyWnd->ShowNotes(m_pDocument->GetTitle(), m_pDocument->GetReference()->GetNumber());
    return 0;
}

void CArticlePageWin::DeleteStickyNoteIcons()
{
    for (int i = 0; i < m_nNoteCount; ++i) {
        delete m_apNotePositions[i];
        delete m_apNoteButtons[i];  // destroys its window
    }
    delete[] m_apNotePositions;
    delete[] m_apNoteButtons;
    m_apNotePositions = NULL;
    m_apNoteButtons = NULL;
    m_nNoteCount = 0;
    m_nDraggedNote = -1;
}

// The last blank line of the gap that follows a paragraph, from the gap's first line on.
static int LastLineOfGap(const CArticlePageWin& page, int nLine)
{
    const PageLine& first = page.GetLine(nLine);
    while (nLine + 1 <= page.GetLineCount() - 2) {
        const PageLine& next = page.GetLine(nLine + 1);
        if (next.nSection != first.nSection || next.nParagraph != first.nParagraph || !IsGapLine(next))
            break;
        ++nLine;
    }
    return nLine;
}

void CArticlePageWin::PlaceStickyNoteIcons()
{
    if (GetSafeHwnd() == NULL)
        return;
    for (int n = 0; n < m_nNoteCount; ++n) {
        const CStickyPosition& position = *m_apNotePositions[n];
        CDibButton* pButton = m_apNoteButtons[n];
        if (pButton->GetSafeHwnd() == NULL || n == m_nDraggedNote)
            continue;
        for (int i = 0; i < GetLineCount(); ++i) {
            const PageLine& line = GetLine(i);
            if (line.nSection != static_cast<SHORT>(position.GetAt(0)) || line.nParagraph != position.GetAt(1) ||
                !IsGapLine(line))
                continue;
            const int nGap = LastLineOfGap(*this, i);
            pButton->MoveWindow(position.GetAt(2) * kNoteWidth, (nGap - GetTopLine()) * GetLineHeight(), kNoteWidth,
                                kNoteHeight, TRUE);
            pButton->ShowWindow(SW_SHOWNA);
            pButton->UpdateWindow();
            break;
        }
    }
}

int CArticlePageWin::HitTestStickyNote(int x, int y)
{
    const int nTop = GetTopLine();
    const int nEnd = std::min(nTop + GetPageLines(), GetLineCount());
    for (int n = 0; n < m_nNoteCount; ++n) {
        const CStickyPosition& position = *m_apNotePositions[n];
        for (int i = nTop; i < nEnd; ++i) {
            const PageLine& line = GetLine(i);
            if (line.nSection != static_cast<SHORT>(position.GetAt(0)) || line.nParagraph != position.GetAt(1) ||
                line.nLength != 0)
                continue;
            const int nGap = LastLineOfGap(*this, i);
            const int nLeft = position.GetAt(2) * kNoteWidth;
            const int nTopY = (nGap - nTop) * GetLineHeight();
            if (nLeft < x && x < nLeft + kNoteWidth && nTopY < y && y < nTopY + kNoteHeight) {
                if (m_apNoteButtons[n]->GetSafeHwnd() != NULL)
                    m_apNoteButtons[n]->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                return n;
            }
            break;
        }
    }
    return -1;
}

void CArticlePageWin::DragStickyNote(int x, int y)
{
    if (m_nDraggedNote < 0 || m_nDraggedNote >= m_nNoteCount)
        return;
    ScrollForDragPoint(x, y);
    CDibButton* pButton = m_apNoteButtons[m_nDraggedNote];
    if (pButton->GetSafeHwnd() != NULL)
        pButton->MoveWindow(std::max(x - kNoteWidth / 2, 0), std::max(y - kNoteHeight / 2, 0), kNoteWidth, kNoteHeight,
                            TRUE);
}

void CArticlePageWin::DropStickyNote(int x, int y)
{
    if (::GetCapture() == GetSafeHwnd())
        ::ReleaseCapture();
    const int nNote = m_nDraggedNote;
    m_nDraggedNote = -1;
    if (nNote < 0 || nNote >= m_nNoteCount || GetLineCount() == 0 || m_pStickyWnd == NULL ||
        m_pStickyWnd->GetSafeHwnd() == NULL)
        return;
    CStickyPosition& position = *m_apNotePositions[nNote];
    const PageLine& line = GetLine(ClampLine(PointToLine(y)));
    if (line.nSection == static_cast<SHORT>(position.GetAt(0)) && line.nParagraph == position.GetAt(1) &&
        line.nLength == 0) {
        // Dropped on its own gap: a click, which opens the note.
        PlaceStickyNoteIcons();
        Invalidate();
        UpdateWindow();
        m_pStickyWnd->PostMessage(VLM_STICKY_OPEN, static_cast<WPARAM>(nNote), 0);
        return;
    }
    const PageLine& gap = GetLine(NearestParagraphGap(x, y));
    position.SetAt(0, static_cast<WORD>(gap.nSection));
    position.SetAt(1, gap.nParagraph);
    position.SetAt(3, static_cast<WORD>(gap.dwStart & 0xFFFF));
    RenumberStickyNotes(gap.nSection, gap.nParagraph);
    WORD* pCopy = position.CopyData();
    m_pStickyWnd->SetNotePosition(nNote, pCopy);
    delete[] pCopy;
    if (m_pDocument != NULL && m_pDocument->GetReference() != NULL)
        m_pStickyWnd->ShowNotes(m_pDocument->GetTitle(), m_pDocument->GetReference()->GetNumber());
}

int CArticlePageWin::NearestParagraphGap(int, int y)
{
    const int nCount = GetLineCount();
    if (nCount == 0)
        return 0;
    const int nLine = std::max(std::min(PointToLine(y), nCount - 1), 0);
    auto isText = [&](int i) { return !IsGapLine(GetLine(i)); };
    int nAfter = nLine;
    while (nAfter < nCount - 2 && isText(nAfter))
        ++nAfter;
    while (nAfter + 1 <= nCount - 2 && !isText(nAfter + 1))
        ++nAfter;
    int nBefore = nLine;
    while (nBefore > 0 && isText(nBefore))
        --nBefore;
    if (nBefore <= 0)
        nBefore = nAfter;
    if (nAfter > nCount - 2 || isText(nAfter))
        nAfter = nBefore;
    return nLine - nBefore > nAfter - nLine ? nAfter : nBefore;
}

WORD CArticlePageWin::RenumberStickyNotes(int nSection, int nParagraph)
{
    WORD k = 0;
    for (int n = 0; n < m_nNoteCount; ++n) {
        CStickyPosition& position = *m_apNotePositions[n];
        if (static_cast<SHORT>(position.GetAt(0)) != nSection || position.GetAt(1) != nParagraph)
            continue;
        position.SetAt(2, k++);
        if (m_pStickyWnd != NULL && m_pStickyWnd->GetSafeHwnd() != NULL) {
            WORD* pCopy = position.CopyData();
            m_pStickyWnd->SetNotePosition(n, pCopy);
            delete[] pCopy;
        }
    }
    return k;
}

void CArticlePageWin::AddStickyNote()
{
    if (m_bHighlighter)
        ToggleHighlighter();
    const int nCount = GetLineCount();
    if (nCount == 0 || m_pStickyWnd == NULL || m_pStickyWnd->GetSafeHwnd() == NULL)
        return;
    int nGap = GetTopLine();
    while (nGap < nCount - 1 && !IsGapLine(GetLine(nGap)))
        ++nGap;
    while (nGap + 1 <= nCount - 2 && IsGapLine(GetLine(nGap + 1)))
        ++nGap;
    const PageLine& gap = GetLine(nGap);
    const WORD k = RenumberStickyNotes(gap.nSection, gap.nParagraph);
    if (k >= kMaxNotesInGap)
        return;  // the gap is full
    WORD awPosition[4] = {static_cast<WORD>(gap.nSection), gap.nParagraph, k, static_cast<WORD>(gap.dwStart & 0xFFFF)};
    m_pStickyWnd->SendMessage(VLM_STICKY_DISPLAY, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(awPosition));
}
