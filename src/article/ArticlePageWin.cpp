#include "article/ArticlePageWin.h"
#include "article/ArticlePrinter.h"

#include "article/ArticleDocument.h"
#include "article/ArticleMediaOpen.h"
#include "article/ArticleSection.h"
#include "article/ParagraphRun.h"
#include "base/AppServices.h"
#include "base/HiliteRecordSet.h"
#include "base/HitList.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/Rin.h"
#include "base/VLMessages.h"
#include "media/StickyNoteWnd.h"
#include "media/ThumbnailFactory.h"
#include "widgets/Dib.h"
#include "widgets/MiniArtThumb.h"
#include "widgets/TextDropTarget.h"
#include "widgets/Thumbnail.h"

#include <afxres.h>
#include <mmsystem.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const int kLinkSlot = 10;
const int kIconX = 32;
const int kMiniArtWidth = 380;
const int kMiniArtWidthLarge = 480;
const int kMiniArtHeight = 30;
const int kSelectAllSpaces = 20;

// Icon bitmaps of the icon lines, by kind 6, 7, 8.
const UINT kIconBitmaps[3] = {237, 238, 236};

// The icon before a media line: the sound button for sounds, otherwise the badge of the item's
// kind, so that a map, a film or a tour does not look like a sound.
UINT MediaIconBitmap(DWORD dwRin)
{
    if (IsSoundRin(dwRin))
        return kIconBitmaps[0];
    try {
        const CRin rin(dwRin);
        if (rin.IsSound())
            return kIconBitmaps[0];
        if (rin.IsMap())
            return 6941;
        if (rin.IsAnimation())
            return 6942;
        if (rin.IsVideo())
            return 6943;
        if (rin.IsSimulation())
            return 6944;
        if (rin.IsVirtualReality() || rin.GetKindIndex() == CRin(4050000).GetKindIndex())
            return 6945;
        if (rin.GetKindIndex() == CRin(4060000).GetKindIndex())
            return 6946;
    } catch (CException* e) {
        e->Delete();
    }
    return 6940;
}

// Program-wide: a page put a link title into the status line; the width a page was last sized to.
BOOL s_bStatusText = FALSE;
int s_nLastWidth = 0;
BOOL s_bResetSeen = FALSE;

BOOL IsWhite(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

int StyleLength(WORD wEntry)
{
    return (wEntry & 1) ? wEntry >> 5 : wEntry >> 1;
}

WORD StyleEntry(const BYTE* pStyles, int i)
{
    return ArticleWord(pStyles + 2 * i);
}

BOOL IsIconKind(int nKind)
{
    return nKind >= PAGE_LINE_MEDIA_ICON;
}

// The lowered small fonts draw a quarter line down.
BOOL IsLoweredSlot(int nSlot)
{
    return nSlot == 5 || nSlot == 9;
}

}  // namespace

// The page's layout: fonts, thumbnails and the start of a new article come from the window.
class CArticlePageWin::CPageLayout : public CArticlePageLayout {
public:
    explicit CPageLayout(CArticlePageWin* pOwner) : m_pOwner(pOwner) {}
    ~CPageLayout() override { ResetPage(); }

protected:
    CWnd* CreateThumbnailWindow(CArticleDocument* pDocument, int nMediaIndex) override
    {
        return m_pOwner->CreateThumbnailWindow(pDocument, nMediaIndex);
    }
    void OnFirstSection(CArticleDocument* pDocument) override
    {
        m_pOwner->BuildLinkTable();
        if (m_pOwner->m_pStickyWnd != NULL && m_pOwner->m_pStickyWnd->GetSafeHwnd() != NULL &&
            pDocument->GetReference() != NULL)
            m_pOwner->m_pStickyWnd->ShowNotes(pDocument->GetTitle(), pDocument->GetReference()->GetNumber());
    }
    void CreateSlotFont(CFont& font, int nSlot, int nTenths, CDC* pDC) override
    {
        m_pOwner->CreateSlotFont(font, nSlot, nTenths, pDC);
    }

private:
    friend class CArticlePageWin;
    void MakeFont(CFont& font, int nSlot, int nTenths, CDC* pDC)
    {
        CArticlePageLayout::CreateSlotFont(font, nSlot, nTenths, pDC);
    }
    CArticlePageWin* m_pOwner;
};

IMPLEMENT_DYNAMIC(CArticlePageWin, CVLScrollWnd)

BEGIN_MESSAGE_MAP(CArticlePageWin, CVLScrollWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_KEYDOWN()
ON_WM_KILLFOCUS()
ON_MESSAGE(VLM_THUMB_PRESS, OnThumbPress)
ON_MESSAGE(VLM_THUMB_RELEASE, OnThumbRelease)
ON_WM_SETCURSOR()
ON_MESSAGE(VLM_STICKY_PRESENT, OnSetStickyNotes)
ON_MESSAGE(VLM_STICKY_DELETED, OnStickyNotesChanged)
ON_MESSAGE(MM_MCINOTIFY, OnMciNotify)
ON_MESSAGE(VLM_PRINT_ARTICLE, OnPrintArticle)
END_MESSAGE_MAP()

CArticlePageWin::CArticlePageWin() : m_pLayout(std::make_unique<CPageLayout>(this))
{
}

CArticlePageWin::~CArticlePageWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CArticlePageWin::Create(LPCSTR lpszName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (dwStyle == 0)
        dwStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    return CWnd::Create(lpszClass, lpszName, dwStyle, rect, pParentWnd, nID);
}

BOOL CArticlePageWin::IsStatusTextShown()
{
    return s_bStatusText;
}

void CArticlePageWin::ResetSharedState()
{
    s_bStatusText = FALSE;
    s_nLastWidth = 0;
    s_bResetSeen = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Creation and the article

int CArticlePageWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CVLScrollWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nScreenClass = GetAppScreenClass();
    ResetPage();
    {
        CClientDC dc(this);
        m_pLayout->SetTextSize(m_nScreenClass, &dc);
    }
    m_pStickyWnd = new CStickyNoteWnd;
    if (!m_pStickyWnd->Create(this)) {
        delete m_pStickyWnd;
        m_pStickyWnd = NULL;
    }
    m_pHiliteStore = new CHiliteRecordSet;
    m_pMiniArt = new CMiniArtThumb;
    m_pMiniArt->SetBkColor(PALETTERGB(255, 255, 255));
    const int nWidth = m_nScreenClass == 2 ? kMiniArtWidthLarge : kMiniArtWidth;
    if (!m_pMiniArt->Create(WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL, CRect(0, 0, nWidth, kMiniArtHeight),
                            this)) {
        delete m_pMiniArt;
        m_pMiniArt = NULL;
    }
    CheckHighlightDates();
    return 0;
}

void CArticlePageWin::ShowDocument(CArticleDocument* pDocument)
{
    m_pDocument = pDocument;
    ResetPage();
    if (GetSafeHwnd() != NULL) {
        CheckHighlightDates();
        Invalidate();
        UpdateWindow();
    }
}

void CArticlePageWin::CreateSlotFont(CFont& font, int nSlot, int nTenths, CDC* pDC)
{
    static_cast<CPageLayout*>(m_pLayout.get())->MakeFont(font, nSlot, nTenths, pDC);
}

CWnd* CArticlePageWin::CreateThumbnailWindow(CArticleDocument* pDocument, int nMediaIndex)
{
    CThumbnailFactory* pFactory = GetAppThumbnailFactory();
    CReferenceFactory* pReferences = GetAppReferenceFactory();
    if (pFactory == NULL || pReferences == NULL || pDocument == NULL || GetSafeHwnd() == NULL)
        return NULL;
    const DWORD dwRin = pDocument->GetMediaRin(nMediaIndex);
    if (dwRin == 0)
        return NULL;
    std::unique_ptr<CReference> pReference;
    try {
        pReference.reset(pReferences->CreateReference(static_cast<LONG>(dwRin), "", 0));
    } catch (CException* e) {
        e->Delete();  // a number no reference stands for: the paragraph goes without the thumbnail
    }
    if (!pReference)
        return NULL;
    std::unique_ptr<CThumbnail> pThumb(pFactory->CreateThumbnail(pReference.get()));
    // Made below the page, out of sight, until placement moves it beside its paragraph.
    if (!pThumb || !pThumb->CreateAt(this, 0, 4000))
        return NULL;
    pThumb->ShowWindow(SW_HIDE);
    return pThumb.release();
}

CString CArticlePageWin::GetLinkTitle(DWORD dwRin)
{
    CString strTitle;
    CThumbnailFactory* pFactory = GetAppThumbnailFactory();
    if (pFactory == NULL)
        return strTitle;
    try {
        pFactory->LookUpFirstLine(static_cast<long>(dwRin), strTitle);
    } catch (CException* e) {
        e->Delete();
        strTitle.Empty();
    }
    return strTitle;
}

HCURSOR CArticlePageWin::LoadPageCursor(UINT nId)
{
    HCURSOR hCursor = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(nId));
    if (hCursor == NULL && AppServices().env.hResourceLibrary != NULL)
        hCursor = ::LoadCursor(AppServices().env.hResourceLibrary, MAKEINTRESOURCE(nId));
    // Until the program's own cursors are drawn, the system's hand stands for them.
    if (hCursor == NULL)
        hCursor = ::LoadCursor(NULL, IDC_HAND);
    return hCursor;
}

// ---------------------------------------------------------------------------------------------
// Layout

int CArticlePageWin::SetTextSize(int nSizeClass)
{
    if (GetSafeHwnd() != NULL) {
        CClientDC dc(this);
        m_pLayout->SetTextSize(nSizeClass, &dc);
    } else {
        m_pLayout->SetTextSize(nSizeClass);
    }
    return 0;
}

int CArticlePageWin::GetPageLines()
{
    CRect rc;
    GetClientRect(&rc);
    return rc.Height() / std::max(GetLineHeight(), 1);
}

void CArticlePageWin::SetScrollRangeForPage()
{
    CRect rc;
    GetClientRect(&rc);
    const int nLineHeight = GetLineHeight();
    const int nPageHeight = (rc.Height() / nLineHeight) * nLineHeight;
    const int nTotal = GetLineCount() * nLineHeight;
    SetScrollRange(SB_VERT, 0, nTotal <= nPageHeight ? nTotal : nTotal - nPageHeight, TRUE);
}

void CArticlePageWin::PlaceChildren()
{
    CRect rc;
    GetClientRect(&rc);
    m_pLayout->PlaceThumbnailWindows(GetTopLine(), 0, rc);
    PlaceStickyNoteIcons();
}

void CArticlePageWin::LayoutSections(BOOL bLayout, BOOL bRestoreAnchor, int nTarget)
{
    if (m_pDocument == NULL || m_pDocument->GetRecord() == NULL || GetSafeHwnd() == NULL)
        return;
    CRect rc;
    GetClientRect(&rc);
    int nMin = 0;
    int nMax = 0;
    GetScrollRange(SB_VERT, &nMin, &nMax);
    if (bLayout) {
        CClientDC dc(this);
        m_pLayout->LayoutSections(&dc, m_pDocument, rc, nTarget);
        m_bClickLock = FALSE;
    }
    SetScrollRangeForPage();
    if (nTarget == CArticlePageLayout::targetNextSection) {
        PlaceChildren();
        return;
    }
    if (nMax < 1)
        return;
    const int nPageLines = GetPageLines();
    int nTop = -1;
    if (bLayout && m_pLayout->GetScrollToFirstHit()) {
        nTop = m_pLayout->ChooseTopLine(FALSE, nPageLines);
    } else if (bRestoreAnchor) {
        nTop = 0;
        for (int i = 0; i < GetLineCount(); ++i) {
            const PageLine& line = GetLine(i);
            if (line.nSection == m_pLayout->GetAnchorSection() && line.dwStart >= m_pLayout->GetAnchorStart()) {
                nTop = std::max(std::min(i, GetLineCount() - nPageLines), 0);
                break;
            }
        }
    }
    if (nTop < 0)
        return;
    m_nScrollPos = 0;
    m_nApplied = 0;
    m_pLayout->SetTopLine(0);
    // Layout's own scroll neither closes pop-ups, nor takes the focus, nor reports a section.
    m_bKeepPopups = TRUE;
    OnVScroll(SB_THUMBTRACK, static_cast<UINT>(nTop * GetLineHeight()), NULL);
}

BOOL CArticlePageWin::OnIdle(LONG lCount)
{
    if (GetSafeHwnd() == NULL)
        return FALSE;
    const int nBefore = m_pLayout->GetSectionsLaidOut();
    CRect rc;
    GetClientRect(&rc);
    CClientDC dc(this);
    const BOOL bMore = m_pLayout->OnIdle(lCount, &dc, m_pDocument, rc);
    if (m_pLayout->GetSectionsLaidOut() != nBefore) {
        m_bClickLock = FALSE;
        SetScrollRangeForPage();
        PlaceChildren();
    }
    return bMore;
}

void CArticlePageWin::ResetPage()
{
    m_pLayout->ResetPage();
    if (s_bResetSeen && GetSafeHwnd() != NULL)
        SetScrollPos(SB_VERT, 0, TRUE);
    s_bResetSeen = TRUE;
    m_nScrollPos = 0;
    m_nApplied = 0;
    m_bKeepPopups = FALSE;
    EmptyHotSpots();
    EmptyLinkTable();
    m_bAutoOpenFirstMedia = TRUE;
    m_nPendingLine = -1;
    m_selection.Reset();
    m_bSelection = m_bSelectAll = m_bSelecting = FALSE;
    m_mark.Reset();
    m_bMarking = FALSE;
    DeleteStickyNoteIcons();
    ClosePopup();
    PostStatusText(NULL);
}

void CArticlePageWin::RestartLayout(BOOL bScrollToHit)
{
    m_pLayout->RestartLayout(bScrollToHit);
    m_bKeepPopups = FALSE;
    DeleteStickyNoteIcons();
    EmptyLinkTable();
    m_bAutoOpenFirstMedia = FALSE;
    m_nPendingLine = -1;
    PostStatusText(NULL);
}

CHiliteSpanList* CArticlePageWin::GetSpanList()
{
    if (m_pHiliteStore == NULL || m_pDocument == NULL || m_pDocument->GetReference() == NULL)
        return NULL;
    return m_pHiliteStore->GetSpanList(m_pDocument->GetReference()->GetNumber());
}

void CArticlePageWin::CheckHighlightDates()
{
    if (m_pHiliteStore == NULL || m_pDocument == NULL || m_pDocument->GetReference() == NULL)
        return;
    const LONG nKey = m_pDocument->GetReference()->GetNumber();
    const DWORD dwDate = static_cast<DWORD>(m_pDocument->GetIssueDate());
    CHiliteSpanList* pSpans = m_pHiliteStore->GetSpanList(nKey);
    BOOL bStale = FALSE;
    for (UINT i = 0; pSpans != NULL && i < pSpans->GetCount(); ++i)
        if (pSpans->GetAt(i)->m_dwStyle != dwDate)
            bStale = TRUE;
    if (bStale)
        DropArticleHighlights();
}

void CArticlePageWin::PostToParent(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pParent = GetParent();
    if (pParent != NULL && pParent->GetSafeHwnd() != NULL)
        pParent->PostMessage(nMsg, wParam, lParam);
}

void CArticlePageWin::PostStatusText(CString* pText)
{
    CWnd* pMain = GetAppMainWnd();
    if (pMain == NULL || pMain->GetSafeHwnd() == NULL ||
        !pMain->PostMessage(VLM_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(pText)))
        delete pText;
}

// ---------------------------------------------------------------------------------------------
// Thumbnails

LRESULT CArticlePageWin::OnThumbPress(WPARAM, LPARAM lParam)
{
    OnShowReference(reinterpret_cast<CReference*>(lParam));
    return 1;
}

LRESULT CArticlePageWin::OnThumbRelease(WPARAM, LPARAM lParam)
{
    // The press opened the item; the copy the release carries is only freed.
    delete reinterpret_cast<CReference*>(lParam);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Painting

BOOL CArticlePageWin::OnEraseBkgnd(CDC*)
{
    return TRUE;  // paint covers the whole client area
}

void CArticlePageWin::EmptyHotSpots()
{
    m_nHotSpots = 0;
    std::fill(std::begin(m_aHotLinks), std::end(m_aHotLinks), -1);
    m_rcFirstPicture = RECT{0, 0, 0, 0};
}

void CArticlePageWin::OnPaint()
{
    CPaintDC dc(this);
    CPalettePaintDC palette(&dc, TRUE);
    m_pLayout->m_bDiscMissing = FALSE;
    CRect rc;
    GetClientRect(&rc);
    if (m_pDocument == NULL || m_pDocument->GetRecord() == NULL) {
        dc.FillSolidRect(&rc, PAGE_COLOR_BACKGROUND);
        return;
    }
    if (m_pLayout->m_bEraseFirst) {
        dc.FillSolidRect(&rc, PAGE_COLOR_BACKGROUND);
        m_pLayout->m_bEraseFirst = FALSE;
    }
    CDC memDC;
    memDC.CreateCompatibleDC(&dc);
    {
        CPalettePaintDC memPalette(&memDC, TRUE);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&dc, std::max(rc.Width(), 1), std::max(rc.Height(), 1));
        CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
        memDC.FillSolidRect(&rc, PAGE_COLOR_BACKGROUND);
        PaintPage(&memDC, rc);
        dc.BitBlt(0, 0, rc.Width(), rc.Height(), &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(pOldBitmap);
    }
    if (m_bAutoOpenFirstMedia && m_nPendingLine >= 0) {
        const int nLine = GetTopLine() + m_nPendingLine;
        const int nPending = m_nPendingLine;
        // Cleared first: a paint while the sound starts does not start it again.
        m_bAutoOpenFirstMedia = FALSE;
        m_nPendingLine = -1;
        if (nLine < GetLineCount()) {
            m_bStartingFirstMedia = TRUE;
            PlaySoundLine(m_pDocument->GetMediaRin(static_cast<int>(GetLine(nLine).dwStart)), nPending);
            m_bStartingFirstMedia = FALSE;
        }
    }
}

void CArticlePageWin::PaintPage(CDC* pDC, const CRect& rcClient)
{
    EmptyHotSpots();
    CHitList* pHits = m_pDocument->GetHitList();
    if (m_pLayout->GetScrollToFirstHit() && (pHits == NULL || pHits->GetCount() == 0))
        m_pLayout->SetScrollToFirstHit(FALSE);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(PAGE_COLOR_BACKGROUND);

    if (::IsRectEmpty(&m_pLayout->GetPageRect())) {
        const int nSections = m_pDocument->GetSectionCount();
        const int nAnchor = m_pLayout->GetAnchorSection();
        const BOOL bToHit = m_pLayout->GetScrollToFirstHit();
        if (nSections < 8 && nAnchor == 0)
            LayoutSections(TRUE, !bToHit, 10000);
        else if (bToHit)
            LayoutSections(TRUE, FALSE, m_pDocument->GetFirstHitSection() + 7);
        else
            LayoutSections(TRUE, TRUE, nAnchor + 7);
    }
    PlaceChildren();

    CFont* pOldFont = pDC->SelectObject(m_pLayout->GetFont(0));
    const int nLineHeight = GetLineHeight();
    const int nTop = GetTopLine();
    const int nVisible = std::min(GetLineCount(), rcClient.Height() / nLineHeight);
    const int nEnd = std::min(nTop + nVisible, GetLineCount());
    std::unique_ptr<CArticleSection> pSection;
    for (int i = nTop; i < nEnd; ++i) {
        const PageLine& line = GetLine(i);
        const int y = (i - nTop) * nLineHeight;
        if (!pSection || pSection->GetIndex() != line.nSection)
            pSection.reset(m_pDocument->GetSection(line.nSection));
        pDC->SelectObject(m_pLayout->GetFont(0));
        if (IsTextPageLine(line) && pSection)
            CollectLinkRects(pDC, i, y, pSection.get());
        if (line.nKind == PAGE_LINE_PICTURE) {
            DrawPictureLine(pDC, i, y, rcClient);
            i += std::max(static_cast<int>(line.nLinesInParagraph) - static_cast<int>(line.nLineInParagraph) - 1, 0);
            continue;
        }
        if (IsIconKind(line.nKind)) {
            DrawIconParagraph(pDC, i);
            continue;
        }
        if (!pSection)
            continue;
        DrawLineHits(pDC, i, -1, pSection.get());
        DrawLineLinks(pDC, i, -1, pSection.get());
        DrawLineHighlights(pDC, i, -1, pSection.get());
        if (m_bMarking)
            DrawLineMarks(pDC, i, -1, pSection.get());
        if (m_bSelection || m_bSelectAll)
            DrawLineSelection(pDC, i, -1, pSection.get());
    }
    pSection.reset();
    pDC->SelectObject(pOldFont);
}

void CArticlePageWin::CollectLinkRects(CDC* pDC, int nLine, int y, CArticleSection* pSection)
{
    const PageLine& line = GetLine(nLine);
    LPCSTR pText = reinterpret_cast<LPCSTR>(pSection->GetText());
    const DWORD dwLineStart = line.dwStart;
    const DWORD dwLineEnd = line.dwStart + line.nLength;
    pDC->SelectObject(m_pLayout->GetFont(0));
    for (int k = 0; k < m_nLinkCount; ++k) {
        const PageLink& link = m_aLinks[k];
        if (static_cast<int>(link.dwSection) != line.nSection)
            continue;
        const DWORD dwLinkEnd = link.dwOffset + link.dwLength;
        int nLeft = 0;
        int nRight = 0;
        if (dwLineStart <= link.dwOffset && link.dwOffset <= dwLineEnd) {
            nLeft = line.x + pDC->GetTextExtent(pText + dwLineStart, static_cast<int>(link.dwOffset - dwLineStart)).cx;
            const DWORD dwEnd = std::min(dwLinkEnd, dwLineEnd);
            nRight = nLeft + pDC->GetTextExtent(pText + link.dwOffset, static_cast<int>(dwEnd - link.dwOffset)).cx;
        } else if (link.dwOffset < dwLineStart && dwLineStart < dwLinkEnd && dwLinkEnd <= dwLineEnd) {
            nLeft = line.x;
            nRight = nLeft + pDC->GetTextExtent(pText + dwLineStart, static_cast<int>(dwLinkEnd - dwLineStart)).cx;
        } else {
            continue;
        }
        if (m_nHotSpots >= maxHotSpots)
            return;
        m_aHotRects[m_nHotSpots] = RECT{nLeft, y, nRight, y + GetLineHeight()};
        m_aHotLinks[m_nHotSpots] = k;
        ++m_nHotSpots;
    }
}

void CArticlePageWin::DrawPictureLine(CDC* pDC, int nLine, int y, const CRect& rcClient)
{
    const PageLine& line = GetLine(nLine);
    const int nLineHeight = GetLineHeight();
    const int nBandTop = y - line.nLineInParagraph * nLineHeight;
    const int nBandBottom = nBandTop + line.nLinesInParagraph * nLineHeight;
    pDC->FillSolidRect(0, nBandTop, rcClient.Width(), nBandBottom - nBandTop, PAGE_COLOR_BACKGROUND);
    if (line.nLength == 0)
        return;
    std::unique_ptr<CDib> pDib(new CDib(m_pDocument->GetPictureArea() + line.dwStart, line.nLength));
    const BITMAPINFOHEADER* pHeader = pDib->GetInfoHeader();
    if (pHeader == NULL)
        return;
    if (pHeader->biClrImportant == 2)
        pDib->ReplaceColor(PAGE_COLOR_PICTURE_WHITE, PAGE_COLOR_BACKGROUND);
    pDib->Draw(pDC, line.x, nBandTop, 0);
    if (m_pLayout->GetFirstPictureLink() != 0 && line.nParagraph == 0)
        m_rcFirstPicture = RECT{line.x, nBandTop, line.x + pDib->GetWidth(), nBandTop + pDib->GetHeight()};
}

int CArticlePageWin::DrawIconParagraph(CDC* pDC, int nLine)
{
    PageLine& line = m_pLayout->GetLines()[nLine];
    const int y = (nLine - GetTopLine()) * GetLineHeight();
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(PAGE_COLOR_BACKGROUND);
    pDC->SetTextColor(PAGE_COLOR_TEXT);
    pDC->SelectObject(m_pLayout->GetFont(0));
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    LPCSTR lpszTitle = NULL;
    UINT nBitmap = 0;
    const int nItem = static_cast<int>(line.dwStart);
    switch (line.nKind) {
    case PAGE_LINE_MEDIA_ICON:
        lpszTitle = m_pDocument->GetMediaCaption(nItem);
        nBitmap = MediaIconBitmap(m_pDocument->GetMediaRin(nItem));
        break;
    case PAGE_LINE_TABLE_ICON:
        lpszTitle = m_pDocument->GetTableTitle(nItem);
        nBitmap = kIconBitmaps[1];
        break;
    case PAGE_LINE_ITEM_ICON:
        lpszTitle = m_pDocument->GetExtraItemTitle(nItem);
        nBitmap = kIconBitmaps[2];
        break;
    default:
        lpszTitle = "BAD ICON PARAGRAPH.";
        break;
    }
    if (lpszTitle == NULL)
        lpszTitle = "";
    if (nBitmap != 0) {
        try {
            CDib icon(nBitmap);
            if (icon.GetInfoHeader() != NULL)
                icon.Draw(pDC, 0, y, 0);
        } catch (CException* e) {
            e->Delete();  // a missing icon leaves its place blank
        }
    }
    pDC->TextOut(line.x, y, lpszTitle, static_cast<int>(std::strlen(lpszTitle)));
    // Only a sound starts by itself when the article opens; other items wait for a click.
    if (line.nKind == PAGE_LINE_MEDIA_ICON && m_bAutoOpenFirstMedia && line.nSection == 0 &&
        IsSoundRin(m_pDocument->GetMediaRin(nItem))) {
        const BOOL bPictureFirst = GetLineCount() > 0 && GetLine(0).nKind == PAGE_LINE_PICTURE;
        if (line.nParagraph == (bPictureFirst ? 1 : 0)) {
            m_nPendingLine = nLine - GetTopLine();
            if (nLine + 1 < GetLineCount()) {
                PageLine& below = m_pLayout->GetLines()[nLine + 1];
                below.dwStart = 0;
                below.nLength = 0;
                below.nStyleIndex = 0;
                below.nStyleStart = 0;
                below.nHitIndex = 0;
            }
        }
    }
    return pDC->GetTextExtent(lpszTitle, static_cast<int>(std::strlen(lpszTitle))).cx;
}

int CArticlePageWin::DrawLineHits(CDC* pDC, int nLine, int x, CArticleSection* pSection)
{
    return DrawLinePass(passHits, pDC, nLine, x, pSection);
}

int CArticlePageWin::DrawLineLinks(CDC* pDC, int nLine, int x, CArticleSection* pSection)
{
    return DrawLinePass(passLinks, pDC, nLine, x, pSection);
}

int CArticlePageWin::DrawLineHighlights(CDC* pDC, int nLine, int x, CArticleSection* pSection)
{
    return DrawLinePass(passHighlights, pDC, nLine, x, pSection);
}

int CArticlePageWin::DrawLineMarks(CDC* pDC, int nLine, int x, CArticleSection* pSection)
{
    return DrawLinePass(passMarks, pDC, nLine, x, pSection);
}

int CArticlePageWin::DrawLineSelection(CDC* pDC, int nLine, int x, CArticleSection* pSection)
{
    return DrawLinePass(passSelection, pDC, nLine, x, pSection);
}

BOOL CArticlePageWin::FindPassRange(PassKind ePass, int nSection, int nOffset, int nLength, int& nStart,
                                    int& nEnd) const
{
    switch (ePass) {
    case passLinks: {
        int nLinkOffset = 0;
        int nLinkLength = 0;
        if (!FindArticleLinkAt(nSection, nOffset, nLength, nLinkOffset, nLinkLength))
            return FALSE;
        nStart = nLinkOffset;
        nEnd = nLinkOffset + nLinkLength;
        return TRUE;
    }
    case passHighlights: {
        int nSpanStart = 0;
        int nSpanLength = 0;
        if (!const_cast<CArticlePageWin*>(this)->FindStoredHighlight(nSection, nOffset, nLength, nSpanStart,
                                                                     nSpanLength, FALSE))
            return FALSE;
        nStart = nSpanStart;
        nEnd = nSpanStart + nSpanLength + 1;
        return TRUE;
    }
    case passMarks:
    case passSelection: {
        const PageTextRange& range = ePass == passMarks ? m_mark : m_selection;
        if (!range.Contains(nSection, nOffset, nLength))
            return FALSE;
        nStart = nSection == range.GetFirstSection() ? range.GetStartOffset() : 0;
        nEnd = nSection == range.GetLastSection() ? range.GetEndOffset() + 1 : INT_MAX;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

int CArticlePageWin::DrawLinePass(PassKind ePass, CDC* pDC, int nLine, int x, CArticleSection* pSection)
{
    const BOOL bDraw = x < 0;
    if (m_pDocument == NULL || nLine < 0 || nLine >= GetLineCount())
        return 0;
    if (GetLine(nLine).nKind >= PAGE_LINE_MEDIA_ICON || (nLine > 0 && GetLine(nLine - 1).nKind >= PAGE_LINE_MEDIA_ICON))
        return 0;
    if (bDraw && GetLine(nLine).nLength == 0)
        return 0;
    const int nLineHeight = GetLineHeight();
    int y = (nLine - GetTopLine()) * nLineHeight;
    // A blank line stands for the last character of the line above.
    const BOOL bBlank = !bDraw && GetLine(nLine).nLength == 0;
    if (bBlank && nLine > 0) {
        --nLine;
        y -= nLineHeight;
    }
    const PageLine& line = GetLine(nLine);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(PAGE_COLOR_BACKGROUND);
    std::unique_ptr<CArticleSection> pOwn;
    if (pSection == NULL || pSection->GetIndex() != line.nSection) {
        pOwn.reset(m_pDocument->GetSection(line.nSection));
        pSection = pOwn.get();
    }
    if (pSection == NULL)
        return 0;
    const int nSection = pSection->GetIndex();
    LPCSTR pText = reinterpret_cast<LPCSTR>(pSection->GetText());
    const BYTE* pStyles = pSection->GetStyleTable();
    const int nStyleCount = pSection->GetShortListCount();
    int xPen = line.x;

    if (ePass == passHits && bDraw && !m_bSelection && !m_bMarking &&
        (line.nKind == PAGE_LINE_THUMBNAIL_LEFT || line.nKind == PAGE_LINE_THUMBNAIL_RIGHT)) {
        CWnd* pThumb = m_pLayout->GetThumbnail(line.nThumbnailSlot);
        if (pThumb != NULL && pThumb->GetSafeHwnd() != NULL)
            pThumb->Invalidate();
    }

    int nResult = 0;
    if (!bDraw)
        nResult = (bBlank || x > line.x) && line.nLength > 0 ? static_cast<int>(line.dwStart) + line.nLength - 1
                                                             : static_cast<int>(line.dwStart);
    BOOL bHitFound = bBlank;

    CHitList* pHits = m_pDocument->GetHitList();
    const int nHitCount = pHits != NULL ? pHits->GetCount() : 0;
    int nHit = line.nHitIndex;
    auto hitInSection = [&]() -> CHitPosition* {
        if (nHit >= nHitCount)
            return NULL;
        CHitPosition* pHit = pHits->GetAt(static_cast<UINT>(nHit));
        return pHit != NULL && static_cast<int>(pHit->GetSection()) == nSection ? pHit : NULL;
    };

    int nPos = static_cast<int>(line.dwStart);
    int nLeft = line.nLength;
    int nStyle = line.nStyleIndex;
    int nStyleLeft = nStyle < nStyleCount ? StyleLength(StyleEntry(pStyles, nStyle)) - (nPos - line.nStyleStart)
                                          : nLeft;
    while (nLeft > 0) {
        const int nSlot = nStyle < nStyleCount ? CArticlePageLayout::StyleFontSlot(StyleEntry(pStyles, nStyle)) : 0;
        CFont* pFont = m_pLayout->GetFont(nSlot);
        int nChunk = std::min(nLeft, std::max(nStyleLeft, 0));
        if (nStyle >= nStyleCount)
            nChunk = nLeft;
        pDC->SelectObject(pFont);
        pDC->SetTextAlign(TA_LEFT | TA_TOP);
        while (nChunk > 0) {
            int nPiece = nChunk;
            BOOL bOutput = ePass == passHits;
            COLORREF crText = PAGE_COLOR_TEXT;
            int nBkMode = TRANSPARENT;
            COLORREF crBack = PAGE_COLOR_BACKGROUND;
            BOOL bLinkFont = FALSE;
            if (bDraw && ePass == passHits) {
                CHitPosition* pHit = hitInSection();
                while (pHit != NULL && static_cast<int>(pHit->GetOffset() + pHit->GetLength()) <= nPos) {
                    ++nHit;  // a hit behind the pen (or an empty one) marks nothing here
                    pHit = hitInSection();
                }
                if (pHit != NULL) {
                    const int nHitStart = static_cast<int>(pHit->GetOffset());
                    const int nHitEnd = nHitStart + static_cast<int>(pHit->GetLength());
                    if (nPos < nHitStart) {
                        nPiece = nHitStart - nPos;
                    } else if (nPos < nHitEnd) {
                        nPiece = nHitEnd - nPos;
                        crText = PAGE_COLOR_HIT;
                        nBkMode = OPAQUE;
                    }
                }
            } else if (bDraw) {
                // The test leaves out a line end's CR and LF (links test the whole chunk).
                int nTested = nChunk;
                if (ePass != passLinks)
                    while (nTested > 0 && (pText[nPos + nTested - 1] == '\r' || pText[nPos + nTested - 1] == '\n'))
                        --nTested;
                int nStart = 0;
                int nEnd = 0;
                if (nTested > 0 && FindPassRange(ePass, nSection, nPos, nTested, nStart, nEnd)) {
                    if (nPos < nStart) {
                        nPiece = nStart - nPos;
                    } else if (nPos < nEnd) {
                        nPiece = static_cast<int>(std::min<long long>(static_cast<long long>(nEnd) - nPos, nChunk));
                        bOutput = TRUE;
                        switch (ePass) {
                        case passLinks:
                            crText = PAGE_COLOR_LINK;
                            bLinkFont = TRUE;
                            break;
                        case passHighlights:
                            nBkMode = OPAQUE;
                            crBack = PAGE_COLOR_HIGHLIGHT;
                            break;
                        case passMarks:
                            nBkMode = OPAQUE;
                            crBack = m_bEraseMode ? PAGE_COLOR_BACKGROUND : PAGE_COLOR_HIGHLIGHT;
                            break;
                        case passSelection:
                            crText = PAGE_COLOR_LINK;
                            nBkMode = OPAQUE;
                            crBack = PAGE_COLOR_SELECTION;
                            break;
                        default:
                            break;
                        }
                    }
                }
            }
            nPiece = std::max(std::min(nPiece, nChunk), 1);
            if (bDraw && bOutput) {
                pDC->SetTextColor(crText);
                pDC->SetBkMode(nBkMode);
                pDC->SetBkColor(crBack);
                if (bLinkFont)
                    pDC->SelectObject(m_pLayout->GetFont(kLinkSlot));
                const int yText = ePass != passLinks && IsLoweredSlot(nSlot) ? y + nLineHeight / 4 : y;
                pDC->TextOut(xPen, yText, pText + nPos, nPiece);
                if (bLinkFont)
                    pDC->SelectObject(pFont);
            }
            const int nWidth = pDC->GetTextExtent(pText + nPos, nPiece).cx;
            if (!bDraw && !bHitFound && x > xPen && x <= xPen + nWidth) {
                int k = 0;
                while (k < nPiece - 1 && xPen + pDC->GetTextExtent(pText + nPos, k + 1).cx <= x)
                    ++k;
                nResult = nPos + k;
                bHitFound = TRUE;
            }
            xPen += nWidth;
            nPos += nPiece;
            nChunk -= nPiece;
            nLeft -= nPiece;
            nStyleLeft -= nPiece;
            if (CHitPosition* pHit = hitInSection())
                if (static_cast<int>(pHit->GetOffset() + pHit->GetLength()) <= nPos)
                    ++nHit;
        }
        if (nStyleLeft <= 0) {
            ++nStyle;
            nStyleLeft = nStyle < nStyleCount ? StyleLength(StyleEntry(pStyles, nStyle)) : nLeft;
        }
    }
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(PAGE_COLOR_TEXT);
    pDC->SetBkColor(PAGE_COLOR_BACKGROUND);
    if (!bDraw)
        while (nResult > 0 && IsWhite(pText[nResult]))
            --nResult;
    return bDraw ? 0 : nResult;
}

// ---------------------------------------------------------------------------------------------
// Scrolling and navigation

BOOL CArticlePageWin::OnMouseWheel(UINT, short zDelta, CPoint)
{
    // Three lines a notch; notches of a fine wheel add up until they make one.
    constexpr int kNotch = 120;  // one notch of the wheel
    constexpr int kLinesPerNotch = 3;
    m_nWheelRest += zDelta;
    const int nNotches = m_nWheelRest / kNotch;
    m_nWheelRest -= nNotches * kNotch;
    for (int i = 0; i < std::abs(nNotches) * kLinesPerNotch; ++i)
        OnVScroll(nNotches > 0 ? SB_LINEUP : SB_LINEDOWN, 0, NULL);
    return TRUE;
}

void CArticlePageWin::OnVScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    if (!m_bKeepPopups) {
        ClosePopup();
        if (CWnd::GetFocus() != this)
            TakeFocus();
    }
    CRect rc;
    GetClientRect(&rc);
    const int nLineHeight = GetLineHeight();
    const int nPageLines = rc.Height() / nLineHeight;
    const int nPageHeight = nPageLines * nLineHeight;
    const int nLineCount = GetLineCount();
    if (nLineCount <= nPageLines && nSBCode != SB_THUMBTRACK) {
        m_bKeepPopups = FALSE;
        return;
    }
    int nMin = 0;
    int nMax = 0;
    GetScrollRange(SB_VERT, &nMin, &nMax);
    int nTop = GetTopLine();
    int p = m_nScrollPos;
    CRect rcStrip(0, 0, 0, 0);
    CRect rcExtra(0, 0, 0, 0);
    switch (nSBCode) {
    case SB_LINEUP:
        p = std::max(p - nLineHeight, 0);
        rcExtra = CRect(0, nPageHeight - nLineHeight, rc.right, rc.bottom);
        break;
    case SB_LINEDOWN:
        p = std::min(p + nLineHeight, std::max(nMax, 0));
        rcExtra = CRect(0, nPageHeight - nLineHeight, rc.right, rc.bottom);
        break;
    case SB_PAGEUP:
        p = std::max(p - nPageHeight, 0);
        rcExtra = CRect(0, nPageHeight - nLineHeight, rc.right, rc.bottom);
        break;
    case SB_PAGEDOWN:
        p = std::min(p + nPageHeight, std::max(nMax, 0));
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        nTop = static_cast<int>(nPos) / nLineHeight;
        nTop = std::max(std::min(nTop, nLineCount - nPageLines), 0);
        p = nTop * nLineHeight;
        break;
    default:
        m_bKeepPopups = FALSE;
        return;
    }
    if (nSBCode <= SB_PAGEDOWN)
        nTop = p / nLineHeight;
    const int d = p - m_nApplied;
    m_nScrollPos = p;
    m_pLayout->SetTopLine(nTop);
    if (d != 0) {
        ScrollWindow(0, -d);
        m_nApplied = p;
        // Thumbnail windows beside the text move with their lines after the scroll: the bits
        // scrolled with them are not the page's, so the whole page is painted again.
        if (std::abs(d) >= rc.Height() || m_pLayout->GetThumbnailSlotCount() > 0)
            rcStrip = rc;
        else if (d > 0)
            rcStrip = CRect(0, rc.bottom - d, rc.right, rc.bottom);
        else
            rcStrip = CRect(0, 0, rc.right, -d);
        if (nSBCode == SB_PAGEDOWN)
            rcExtra = d == nPageHeight ? CRect(0, 0, rc.right, nLineHeight) : rc;
        InvalidateRect(&rcStrip, FALSE);
        if (!rcExtra.IsRectEmpty())
            InvalidateRect(&rcExtra, FALSE);
        // Text lines are drawn whole: the part-line at the foot shows the next line once scrolled.
        CRect rcFoot(0, nPageHeight - nLineHeight, rc.right, rc.bottom);
        InvalidateRect(&rcFoot, FALSE);
        UpdateWindow();
    }
    SetScrollPos(SB_VERT, p, TRUE);
    PlaceChildren();
    if (!m_bKeepPopups && nLineCount > 0)
        PostToParent(VLM_PANE_SECTION, 0, GetCurrentSection());
    m_bKeepPopups = FALSE;
}

int CArticlePageWin::GetCurrentSection()
{
    const int nLineCount = GetLineCount();
    if (nLineCount == 0)
        return 0;
    const int nPageLines = GetPageLines();
    const int nTop = GetTopLine();
    const int nLine = nTop + nPageLines >= nLineCount ? nLineCount - 1 : std::min(nTop + nPageLines / 4, nLineCount - 1);
    return GetLine(nLine).nSection;
}

void CArticlePageWin::LayoutForJump(int nSections)
{
    if (m_pDocument == NULL)
        return;
    nSections = std::min(nSections, m_pDocument->GetSectionCount());
    if (nSections <= m_pLayout->GetSectionsLaidOut())
        return;
    m_bKeepPopups = TRUE;
    LayoutSections(TRUE, FALSE, nSections);
    m_bKeepPopups = FALSE;
}

int CArticlePageWin::FindItemLine(int nMode, int nValue)
{
    for (int i = 0; i < GetLineCount(); ++i) {
        const PageLine& line = GetLine(i);
        switch (nMode) {
        case PAGE_GOTO_SECTION:
            if (line.nSection == nValue)
                return i;
            break;
        case PAGE_GOTO_THUMBNAIL:
            if ((line.nKind == PAGE_LINE_THUMBNAIL_LEFT || line.nKind == PAGE_LINE_THUMBNAIL_RIGHT) &&
                line.nThumbnailSlot == nValue)
                return i;
            break;
        case PAGE_GOTO_TABLE:
            if (line.nKind == PAGE_LINE_TABLE_ICON && static_cast<int>(line.dwStart) == nValue)
                return i;
            break;
        case PAGE_GOTO_MEDIA:
            if (line.nKind == PAGE_LINE_MEDIA_ICON && static_cast<int>(line.dwStart) == nValue)
                return i;
            break;
        case PAGE_GOTO_LIST_ITEM:
            if (line.nKind == PAGE_LINE_ITEM_ICON && static_cast<int>(line.dwStart) == nValue)
                return i;
            break;
        default:
            return -1;
        }
    }
    return -1;
}

void CArticlePageWin::GoToItem(int nMode, int nValue)
{
    ClosePopup();
    if (m_pDocument == NULL || m_pDocument->GetRecord() == NULL || GetSafeHwnd() == NULL)
        return;
    CWaitCursor wait;
    const int nPageLines = GetPageLines();
    const int nSections = m_pDocument->GetSectionCount();
    if (nMode == PAGE_GOTO_THUMBNAIL) {
        // Media numbered from 6,000,000 to 6,999,999 have no thumbnail on the page.
        int nWithout = 0;
        for (int i = 0; i <= nValue && i < m_pDocument->GetMediaEntryCount(); ++i) {
            const DWORD dwRin = m_pDocument->GetMediaRin(i);
            if (dwRin >= 6000000 && dwRin <= 6999999)
                ++nWithout;
        }
        nValue -= nWithout;
    }
    if (nMode == PAGE_GOTO_SECTION)
        LayoutForJump(nValue + 5);
    int nFound = FindItemLine(nMode, nValue);
    while (nFound < 0 && m_pLayout->GetSectionsLaidOut() < nSections) {
        LayoutForJump(m_pLayout->GetSectionsLaidOut() + 10);
        nFound = FindItemLine(nMode, nValue);
    }
    if (nFound < 0)
        nFound = 0;
    if (GetLineCount() == 0)
        return;
    LayoutForJump(GetLine(nFound).nSection + 5);
    int nTop = std::max(nFound - nPageLines / 4, 0);
    const PageLine& top = GetLine(nTop);
    if (top.nKind == PAGE_LINE_PICTURE && top.nParagraph == 0)
        nTop = 0;
    nTop = std::max(std::min(nTop, GetLineCount() - nPageLines), 0);
    m_bKeepPopups = TRUE;
    OnVScroll(SB_THUMBTRACK, static_cast<UINT>(nTop * GetLineHeight()), NULL);
}

void CArticlePageWin::FindWord(LPCSTR pText, int nOffset, int nLimit, int& nStart, int& nEnd, int nFloor)
{
    nStart = nOffset;
    while (nStart > std::max(nFloor, 0) && !IsWhite(pText[nStart - 1]))
        --nStart;
    nEnd = nStart;
    while (nEnd + 1 < nLimit && !IsWhite(pText[nEnd + 1]))
        ++nEnd;
}

void CArticlePageWin::SelectAll()
{
    if (m_bSelectAll) {
        ClearSelection();
        return;
    }
    if (m_pDocument == NULL || m_pDocument->GetRecord() == NULL)
        return;
    m_bSelectAll = TRUE;
    {
        CWaitCursor wait;
        const int nTop = GetTopLine();
        LayoutForJump(m_pDocument->GetSectionCount());
        if (GetTopLine() != nTop) {
            m_bKeepPopups = TRUE;
            OnVScroll(SB_THUMBTRACK, static_cast<UINT>(nTop * GetLineHeight()), NULL);
        }
    }
    int nFirst = -1;
    int nLast = -1;
    for (int i = 0; i < GetLineCount(); ++i) {
        const PageLine& line = GetLine(i);
        if (IsTextPageLine(line) && line.nLength > 0) {
            if (nFirst < 0)
                nFirst = i;
            nLast = i;
        }
    }
    if (nFirst < 0) {
        m_bSelectAll = FALSE;
        return;
    }
    {
        const PageLine& line = GetLine(nFirst);
        std::unique_ptr<CArticleSection> pSection(m_pDocument->GetSection(line.nSection));
        if (!pSection) {
            m_bSelectAll = FALSE;
            return;
        }
        LPCSTR pText = reinterpret_cast<LPCSTR>(pSection->GetText());
        m_selection.nAnchorSection = line.nSection;
        m_selection.nAnchorOffset = static_cast<int>(line.dwStart);
        FindWord(pText, m_selection.nAnchorOffset, static_cast<int>(line.dwStart) + line.nLength,
                 m_selection.nAnchorWordStart, m_selection.nAnchorWordEnd);
    }
    {
        const PageLine& line = GetLine(GetLineCount() - 1);
        std::unique_ptr<CArticleSection> pSection(m_pDocument->GetSection(line.nSection));
        if (pSection) {
            LPCSTR pText = reinterpret_cast<LPCSTR>(pSection->GetText());
            const int nEnd = static_cast<int>(pSection->GetTextLength());
            m_selection.nMovingSection = line.nSection;
            m_selection.nMovingOffset = std::max(nEnd - 1, 0);
            FindWord(pText, m_selection.nMovingOffset, nEnd, m_selection.nMovingWordStart,
                     m_selection.nMovingWordEnd);
        }
    }
    m_selection.nLastLine = nLast;
    m_bSelection = TRUE;
    Invalidate();
    UpdateWindow();
}

void CArticlePageWin::OnSize(UINT nType, int cx, int cy)
{
    CVLScrollWnd::OnSize(nType, cx, cy);
    if (s_nLastWidth != 0 && GetTopLine() < GetLineCount())
        m_pLayout->SetAnchor(GetLine(GetTopLine()).nSection, GetLine(GetTopLine()).dwStart);
    if (cx != 0 && cx != s_nLastWidth) {
        RestartLayout(FALSE);
        s_nLastWidth = cx;
        Invalidate();
        UpdateWindow();
    } else if (cx != 0) {
        LayoutSections(FALSE, TRUE, m_pLayout->GetAnchorSection());
        s_nLastWidth = cx;
        Invalidate();
        UpdateWindow();
    }
}

void CArticlePageWin::OnDestroy()
{
    ClosePopup();
    DeleteStickyNoteIcons();
    if (m_pStickyWnd != NULL) {
        if (m_pStickyWnd->GetSafeHwnd() != NULL)
            m_pStickyWnd->DestroyWindow();
        delete m_pStickyWnd;
        m_pStickyWnd = NULL;
    }
    delete m_pHiliteStore;
    m_pHiliteStore = NULL;
    m_pLayout->DeleteThumbnailWindows();
    if (m_pMiniArt != NULL) {
        if (m_pMiniArt->GetSafeHwnd() != NULL)
            m_pMiniArt->DestroyWindow();
        delete m_pMiniArt;
        m_pMiniArt = NULL;
    }
    if (::GetCapture() == GetSafeHwnd())
        ::ReleaseCapture();
    CVLScrollWnd::OnDestroy();
}

// ---------------------------------------------------------------------------------------------
// Links

void CArticlePageWin::EmptyLinkTable()
{
    m_nLinkCount = 0;
}

BOOL CArticlePageWin::BuildLinkTable()
{
    m_nLinkCount = 0;
    if (m_pDocument == NULL || m_pDocument->GetRecord() == NULL)
        return FALSE;
    const int nEntries = m_pDocument->GetLinkCount();
    const int nPositions = m_pDocument->GetLinkPositionCount();
    std::unique_ptr<CStringArray> pTargets(m_pDocument->GetLinkTargets());
    int nNext = -1;  // the position after the previous entry's
    for (int e = 0; e < nEntries && m_nLinkCount < maxLinks; ++e) {
        if (nNext >= 0 && nNext < nPositions) {
            LPBYTE pPosition = m_pDocument->GetLinkPosition(nNext);
            if (pPosition != NULL) {
                CHitPosition position;
                position.SetValue(ArticleDword(pPosition));
                if (position.GetSection() >= 200)
                    break;  // table links are not the page's
            }
        }
        LPBYTE pEntry = m_pDocument->GetLinkEntry(e);
        if (pEntry == NULL)
            break;
        const WORD wTarget = ArticleWord(pEntry);
        const int nCount = ArticleWord(pEntry + 2);
        const int nFirst = ArticleWord(pEntry + 4);
        CString strTarget;
        if (pTargets && wTarget < pTargets->GetSize())
            strTarget = pTargets->GetAt(wTarget);
        const BOOL bTimeFrame = _strnicmp(strTarget, "tf:", 3) == 0;
        for (int k = 0; k < nCount && m_nLinkCount < maxLinks; ++k) {
            LPBYTE pPosition = m_pDocument->GetLinkPosition(nFirst + k);
            if (pPosition == NULL)
                break;
            CHitPosition position;
            position.SetValue(ArticleDword(pPosition));
            PageLink& link = m_aLinks[m_nLinkCount++];
            link.dwSection = position.GetSection();
            link.dwOffset = position.GetOffset();
            link.dwLength = position.GetLength();
            link.wTarget = wTarget;
            link.wFlag = bTimeFrame ? 1 : 0;
            link.dwNumber = 0;
            if (!bTimeFrame && strTarget.GetLength() > 5)
                link.dwNumber = static_cast<DWORD>(std::strtoul(static_cast<LPCSTR>(strTarget) + 5, NULL, 10));
        }
        nNext = nFirst + nCount;
    }
    return m_nLinkCount > 0;
}

int CArticlePageWin::HitTestLink(int x, int y) const
{
    for (int i = 0; i < m_nHotSpots; ++i) {
        const RECT& rc = m_aHotRects[i];
        if (rc.left < x && x < rc.right && rc.top < y && y < rc.bottom)
            return m_aHotLinks[i];
    }
    return -1;
}

BOOL CArticlePageWin::FindArticleLinkAt(int nSection, int nOffset, int nLength, int& nOutOffset,
                                        int& nOutLength) const
{
    nOutOffset = 0;
    nOutLength = 0;
    for (int i = 0; i < m_nLinkCount; ++i) {
        const PageLink& link = m_aLinks[i];
        if (static_cast<int>(link.dwSection) != nSection)
            continue;
        const int nLinkOffset = static_cast<int>(link.dwOffset);
        if (nOffset + nLength >= nLinkOffset && nOffset <= nLinkOffset + static_cast<int>(link.dwLength) - 1) {
            if (link.wFlag != 0)
                return FALSE;
            nOutOffset = nLinkOffset;
            nOutLength = static_cast<int>(link.dwLength);
            return TRUE;
        }
    }
    return FALSE;
}

int CArticlePageWin::GetIconLabelWidth(int nLine)
{
    if (m_pDocument == NULL || nLine < 0 || nLine >= GetLineCount())
        return 0;
    const PageLine& line = GetLine(nLine);
    const int nItem = static_cast<int>(line.dwStart);
    LPCSTR lpszLabel = NULL;
    switch (line.nKind) {
    case PAGE_LINE_MEDIA_ICON:
        lpszLabel = m_pDocument->GetMediaCaption(nItem);
        break;
    case PAGE_LINE_TABLE_ICON:
        lpszLabel = m_pDocument->GetTableTitle(nItem);
        break;
    case PAGE_LINE_ITEM_ICON:
        lpszLabel = m_pDocument->GetExtraItemTitle(nItem);
        break;
    default:
        return 0;
    }
    if (lpszLabel == NULL || GetSafeHwnd() == NULL)
        return 0;
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(m_pLayout->GetFont(0));
    const int nWidth = dc.GetTextExtent(lpszLabel, static_cast<int>(std::strlen(lpszLabel))).cx;
    dc.SelectObject(pOld);
    return nWidth;
}

BOOL CArticlePageWin::HitTestIconLine(int x, int y)
{
    const int nTop = GetTopLine();
    const int nEnd = std::min(nTop + GetPageLines() + 1, GetLineCount());
    for (int i = nTop; i < nEnd; ++i) {
        if (!IsIconKind(GetLine(i).nKind))
            continue;
        const int nTopY = (i - nTop) * GetLineHeight();
        const int nRight = GetIconLabelWidth(i) + kIconX;
        if (0 < x && x < nRight && nTopY < y && y < nTopY + iconLabelHeight)
            return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Selection

int CArticlePageWin::PointToLine(int y) const
{
    return GetTopLine() + (y >= 0 ? y / GetLineHeight() : -((-y + GetLineHeight() - 1) / GetLineHeight()));
}

int CArticlePageWin::ClampLine(int nLine) const
{
    return std::max(std::min(nLine, GetLineCount() - 1), 0);
}

int CArticlePageWin::CharacterAt(int nLine, int x)
{
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(m_pLayout->GetFont(0));
    const int nOffset = DrawLineHits(&dc, nLine, std::max(x, 0), NULL);
    dc.SelectObject(pOld);
    return nOffset;
}

BOOL CArticlePageWin::IsInSelection(int nSection, int nOffset, int nLength) const
{
    if (!m_bSelection && !m_bSelectAll)
        return FALSE;
    return m_selection.Contains(nSection, nOffset, nLength);
}

BOOL CArticlePageWin::IsPointInSelection(int x, int y)
{
    const int nLine = PointToLine(y);
    if (nLine < 0 || nLine >= GetLineCount() || !HasSelection())
        return FALSE;
    const PageLine& line = GetLine(nLine);
    if (line.nKind == PAGE_LINE_PICTURE)
        return FALSE;
    return IsInSelection(line.nSection, CharacterAt(nLine, x), 0);
}

void CArticlePageWin::ClearSelection()
{
    m_selection.Reset();
    m_bSelection = FALSE;
    m_bSelectAll = FALSE;
    m_bSelecting = FALSE;
    if (GetSafeHwnd() != NULL) {
        Invalidate();
        UpdateWindow();
    }
}

void CArticlePageWin::SelectWordAt(int x, int y)
{
    if (m_pDocument == NULL || GetLineCount() == 0)
        return;
    int nLine = PointToLine(y);
    if (!m_bMoved && nLine >= GetLineCount()) {
        ClearSelection();
        return;
    }
    nLine = ClampLine(nLine);
    const PageLine& line = GetLine(nLine);
    std::unique_ptr<CArticleSection> pSection(m_pDocument->GetSection(line.nSection));
    if (!pSection || line.nKind == PAGE_LINE_PICTURE || line.nLength == 0 || IsIconKind(line.nKind)) {
        ClearSelection();
        return;
    }
    const int nOffset = CharacterAt(nLine, x);
    if (IsInSelection(line.nSection, nOffset, 0))
        return;
    LPCSTR pText = reinterpret_cast<LPCSTR>(pSection->GetText());
    int nStart = 0;
    int nEnd = 0;
    FindWord(pText, nOffset, static_cast<int>(line.dwStart) + line.nLength, nStart, nEnd,
             static_cast<int>(line.dwStart));
    m_selection.StartAt(line.nSection, nOffset, nStart, nEnd, nLine);
    m_bSelecting = TRUE;
    m_bSelection = TRUE;
    SetCapture();
    Invalidate();
    UpdateWindow();
}

void CArticlePageWin::ScrollForDragPoint(int& x, int& y)
{
    CRect rc;
    GetClientRect(&rc);
    if (y < 0) {
        OnVScroll(SB_LINEUP, 0, NULL);
        x = 0;
        y = 0;
    } else if (y > rc.Height()) {
        OnVScroll(SB_LINEDOWN, 0, NULL);
        x = rc.Width() - 1;
        y = rc.Height() - 1;
    }
}

void CArticlePageWin::ExtendSelectionTo(int x, int y)
{
    ExtendRangeTo(m_selection, x, y, FALSE);
}

void CArticlePageWin::ExtendRangeTo(PageTextRange& range, int x, int y, BOOL bThroughSpace)
{
    if (m_pDocument == NULL || GetLineCount() == 0)
        return;
    CRect rc;
    GetClientRect(&rc);
    ScrollForDragPoint(x, y);
    const int nLine = ClampLine(PointToLine(y));
    const PageLine& line = GetLine(nLine);
    if (line.nKind == PAGE_LINE_PICTURE || IsIconKind(line.nKind))
        return;
    std::unique_ptr<CArticleSection> pSection(m_pDocument->GetSection(line.nSection));
    if (!pSection)
        return;
    range.nMovingSection = line.nSection;
    range.nMovingOffset = CharacterAt(nLine, x);
    LPCSTR pText = reinterpret_cast<LPCSTR>(pSection->GetText());
    const int nLineEnd = static_cast<int>(line.dwStart) + std::max<int>(line.nLength, 1);
    FindWord(pText, range.nMovingOffset, nLineEnd, range.nMovingWordStart, range.nMovingWordEnd,
             static_cast<int>(line.dwStart));
    if (bThroughSpace)
        while (range.nMovingWordEnd + 1 < nLineEnd && IsWhite(pText[range.nMovingWordEnd + 1]))
            ++range.nMovingWordEnd;
    const int nFrom = std::min(nLine, range.nLastLine);
    const int nTo = std::max(nLine, range.nLastLine);
    CRect rcBand(0, (nFrom - GetTopLine()) * GetLineHeight(), rc.right, (nTo - GetTopLine() + 1) * GetLineHeight());
    InvalidateRect(&rcBand, FALSE);
    int nLast = nLine;
    while (nLast > 0 && GetLine(nLast).nLength == 0)
        --nLast;
    range.nLastLine = nLast;
    UpdateWindow();
}

CString* CArticlePageWin::GetSelectedText(int nLimit)
{
    if (!HasSelection() || m_pDocument == NULL || m_selection.nAnchorSection < 0 || m_selection.nMovingSection < 0)
        return NULL;
    const int nFirst = GetSelectionFirstSection();
    const int nLast = GetSelectionLastSection();
    const int nStartOffset = GetSelectionStartOffset();
    const int nEndOffset = GetSelectionEndOffset();
    std::unique_ptr<CString> pText(new CString);
    const CString strIndent(' ', kSelectAllSpaces);
    const char kBreak[] = "\r\n\r\n";
    for (int s = nFirst; s <= nLast; ++s) {
        std::unique_ptr<CArticleSection> pSection(m_pDocument->GetSection(s));
        if (!pSection)
            return NULL;
        LPCSTR pChars = reinterpret_cast<LPCSTR>(pSection->GetText());
        const int nTextLength = static_cast<int>(pSection->GetTextLength());
        const int nStart = s == nFirst ? nStartOffset : 0;
        const int nEnd = s == nLast ? std::min(nEndOffset + 1, nTextLength) : nTextLength;
        BOOL bTaken = FALSE;
        int a = 0;
        auto append = [&](CParagraphRun* pRun, int nFrom, int nTo) {
            if (pRun->GetFlag0() && !pRun->IsHeading())
                *pText += strIndent;
            nTo = std::max(nTo, nFrom + 1);
            nTo = std::min(nTo, nTextLength);
            if (nTo > nFrom)
                *pText += CString(pChars + nFrom, nTo - nFrom);
            bTaken = TRUE;
        };
        const int nRuns = pSection->GetRunCount();
        for (int r = 0; r < nRuns; ++r) {
            CParagraphRun* pRun = pSection->GetRun(r);
            pRun->SetFormatYear(m_pDocument->GetFormatYear());
            if (pRun->HasNoText() || pRun->GetTextLength() == 0)
                continue;
            const int b = a + static_cast<int>(pRun->GetTextLength());
            BOOL bSectionEnds = FALSE;
            if (s != nFirst && s != nLast) {
                append(pRun, a, b);
                *pText += kBreak;
            } else if (s != nFirst) {
                if (nEnd >= b) {
                    append(pRun, a, b);
                    *pText += kBreak;
                } else {
                    append(pRun, a, nEnd);
                    bSectionEnds = TRUE;
                }
            } else if (b > nStart) {
                if (nEnd >= b) {
                    append(pRun, bTaken ? a : nStart, b);
                    *pText += kBreak;
                } else {
                    append(pRun, bTaken ? a : nStart, nEnd);
                    bSectionEnds = TRUE;
                }
            }
            a = b;
            if (bSectionEnds)
                break;
        }
        if (nLimit >= 0 && pText->GetLength() > nLimit) {
            *pText = pText->Left(nLimit);
            break;
        }
    }
    return pText.release();
}

// ---------------------------------------------------------------------------------------------
// Mouse and keys

void CArticlePageWin::TakeFocus()
{
    if (CWnd::GetFocus() != this) {
        SetFocus();
        PostToParent(VLM_PAGE_FOCUS, 1, 0);
    }
}

void CArticlePageWin::OnKillFocus(CWnd* pNewWnd)
{
    CVLScrollWnd::OnKillFocus(pNewWnd);
    PostToParent(VLM_PAGE_FOCUS, 0, 0);
}

void CArticlePageWin::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_pLayout->m_bPopupShown || GetLineCount() == 0) {
        m_bMoved = TRUE;
        return;
    }
    const BOOL bDown = (nFlags & MK_LBUTTON) != 0;
    if (bDown && !m_bSelecting && !m_bHighlighter && !m_bTextDrag && m_nDraggedNote < 0)
        SelectWordAt(point.x, point.y);
    m_bMoved = TRUE;
    if (m_bClickLock)
        return;
    if (bDown) {
        if (m_bSelecting) {
            ExtendSelectionTo(point.x, point.y);
        } else if (m_bMarking) {
            ExtendHighlightTo(point.x, point.y);
        } else if (m_nDraggedNote >= 0) {
            DragStickyNote(point.x, point.y);
        } else if (!m_bTextDrag && IsPointInSelection(point.x, point.y)) {
            SetCapture();
            m_bTextDrag = TRUE;
            ::SetCursor(::LoadCursor(NULL, IDC_UPARROW));
        }
        return;
    }
    int nLink = -1;
    BOOL bHot = FALSE;
    if (point.y >= 1) {
        if (!m_bHighlighter)
            nLink = HitTestLink(point.x, point.y);
        bHot = nLink >= 0 || (m_rcFirstPicture.left < point.x && point.x < m_rcFirstPicture.right &&
                              m_rcFirstPicture.top < point.y && point.y < m_rcFirstPicture.bottom) ||
               HitTestIconLine(point.x, point.y);
    }
    if (!bHot) {
        if (::GetCapture() == GetSafeHwnd())
            ::ReleaseCapture();
        if (s_bStatusText) {
            PostStatusText(NULL);
            s_bStatusText = FALSE;
        }
        return;
    }
    SetCapture();
    if (nLink < 0) {
        ::SetCursor(LoadPageCursor(IDC_PAGE_LINK));
    } else if (nLink >= m_nLinkCount) {
        ::ReleaseCapture();
    } else if (m_aLinks[nLink].wFlag == 0) {
        PostStatusText(new CString(GetLinkTitle(m_aLinks[nLink].dwNumber)));
        s_bStatusText = TRUE;
        ::SetCursor(LoadPageCursor(IDC_PAGE_LINK));
    } else {
        ::SetCursor(LoadPageCursor(IDC_PAGE_TIMEFRAME_LINK));
    }
}

void CArticlePageWin::OnLButtonDown(UINT, CPoint point)
{
    m_bMoved = FALSE;
    TakeFocus();
    if (m_bClickLock)
        return;
    if (m_pLayout->m_bPopupShown) {
        ClosePopup();
        return;
    }
    ClosePopup();
    if (m_pDocument == NULL)
        return;
    if (IsPointInSelection(point.x, point.y)) {
        SetCapture();
        ::SetCursor(::LoadCursor(NULL, IDC_UPARROW));
        m_bTextDrag = FALSE;
        m_nDraggedNote = -1;
        return;
    }
    const int nLink = m_bHighlighter ? -1 : HitTestLink(point.x, point.y);
    if (nLink >= 0 && nLink < m_nLinkCount) {
        std::unique_ptr<CStringArray> pTargets(m_pDocument->GetLinkTargets());
        const WORD wTarget = m_aLinks[nLink].wTarget;
        if (!pTargets || wTarget >= pTargets->GetSize())
            return;
        const CString strTarget = pTargets->GetAt(wTarget);
        CWnd* pTop = GetTopLevelParent();
        if (_strnicmp(strTarget, "tf:", 3) != 0) {
            CReferenceFactory* pFactory = GetAppReferenceFactory();
            if (pFactory == NULL)
                return;
            CReference* pReference = NULL;
            try {
                pReference = pFactory->ParseReferenceLink(strTarget);
            } catch (CException* e) {
                e->ReportError();
                e->Delete();
                return;
            }
            m_bClickLock = TRUE;
            if (pTop == NULL || !pTop->PostMessage(VLM_OPEN_WINDOW, IDW_ARTICLE, reinterpret_cast<LPARAM>(pReference)))
                delete pReference;
        } else {
            CString* pText = new CString(strTarget);
            if (pTop == NULL || !pTop->PostMessage(VLM_SHOW_LINKED_SELECTION, IDW_TIMEFRAME, reinterpret_cast<LPARAM>(pText)))
                delete pText;
        }
        return;
    }
    if (m_rcFirstPicture.left < point.x && point.x < m_rcFirstPicture.right && m_rcFirstPicture.top < point.y &&
        point.y < m_rcFirstPicture.bottom) {
        OnShowReference(new CReference(static_cast<LONG>(m_pLayout->GetFirstPictureLink()), ""));
        return;
    }
    const int nNote = HitTestStickyNote(point.x, point.y);
    if (nNote >= 0) {
        m_nDraggedNote = nNote;
        SetCapture();
        return;
    }
    const int nTop = GetTopLine();
    const int nEnd = std::min(nTop + GetPageLines() + 1, GetLineCount());
    for (int i = nTop; i < nEnd; ++i) {
        const PageLine& line = GetLine(i);
        if (!IsIconKind(line.nKind))
            continue;
        const int nTopY = (i - nTop) * GetLineHeight();
        if (!(0 < point.x && point.x < GetIconLabelWidth(i) + kIconX && nTopY < point.y &&
              point.y < nTopY + iconLabelHeight))
            continue;
        const int nItem = static_cast<int>(line.dwStart);
        if (line.nKind == PAGE_LINE_MEDIA_ICON)
            OpenMediaLine(nItem, i - nTop);
        else if (line.nKind == PAGE_LINE_TABLE_ICON)
            PostToParent(VLM_PANE_TABLE, 0, nItem);
        else if (nItem < CArticlePageLayout::itemValueCount && m_pLayout->GetItemValue(nItem) != 0)
            OpenTimeline(nItem);
        return;
    }
    if (m_bHighlighter)
        BeginHighlight(point.x, point.y);
    TakeFocus();
}

void CArticlePageWin::OnLButtonUp(UINT, CPoint point)
{
    if (m_bClickLock)
        return;
    if (m_nDraggedNote >= 0) {
        DropStickyNote(point.x, point.y);
        return;
    }
    if (!m_bSelecting && !m_bTextDrag && !m_bHighlighter) {
        const BOOL bInside = IsPointInSelection(point.x, point.y);
        if (!bInside) {
            if (HasSelection() && !m_bMoved)
                ClearSelection();
        } else if (!m_bMoved) {
            ClearSelection();
        } else {
            m_selection.Reset();
            m_bSelection = FALSE;
            SelectWordAt(point.x, point.y);
        }
    }
    if (m_bTextDrag && !m_bHighlighter) {
        m_bTextDrag = FALSE;
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        std::unique_ptr<CString> pText(GetSelectedText(PAGE_SELECTED_TEXT_MAX));
        if (pText && !pText->IsEmpty() && FindTextDropTarget(ptScreen) != NULL) {
            DropTextAt(ptScreen, *pText);
            ClearSelection();
        }
    }
    m_bSelecting = FALSE;
    if (::GetCapture() == GetSafeHwnd())
        ::ReleaseCapture();
    if (m_bHighlighter && m_bMarking)
        EndHighlight();
}

void CArticlePageWin::OnLButtonDblClk(UINT, CPoint point)
{
    if (m_bHighlighter || m_bClickLock)
        return;
    SelectWordAt(point.x, point.y);
    m_bSelecting = FALSE;
    if (::GetCapture() == GetSafeHwnd())
        ::ReleaseCapture();
    std::unique_ptr<CString> pText(GetSelectedText(PAGE_SELECTED_TEXT_MAX));
    if (pText && !pText->IsEmpty())
        LookUpDroppedWord(*pText);
}

void CArticlePageWin::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (::GetKeyState(VK_CONTROL) < 0) {
        switch (nChar) {
        case 'A':
            SelectAll();
            return;
        case 'C': {
            CWnd* pParent = GetParent();
            if (pParent != NULL)
                pParent->SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
            return;
        }
        case 'N':
            FindNext();
            return;
        default:
            break;
        }
    }
    switch (nChar) {
    case VK_PRIOR:
        OnVScroll(SB_PAGEUP, 0, NULL);
        break;
    case VK_NEXT:
        OnVScroll(SB_PAGEDOWN, 0, NULL);
        break;
    case VK_UP:
        OnVScroll(SB_LINEUP, 0, NULL);
        break;
    case VK_DOWN:
        OnVScroll(SB_LINEDOWN, 0, NULL);
        break;
    case VK_HOME:
        OnVScroll(SB_THUMBTRACK, 0, NULL);
        break;
    case VK_END:
        OnVScroll(SB_THUMBTRACK, static_cast<UINT>(GetLineCount() * GetLineHeight()), NULL);
        break;
    default:
        CVLScrollWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        break;
    }
}

// ---- printing (ArticlePrinter.h) ----

LRESULT CArticlePageWin::OnPrintArticle(WPARAM, LPARAM lParam)
{
    CArticlePrinter printer(*this);
    printer.PrintArticle(static_cast<int>(lParam));
    return 0;
}
