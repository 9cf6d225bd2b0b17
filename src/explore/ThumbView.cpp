#include "explore/ThumbView.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"
#include "media/ThumbnailFactory.h"
#include "widgets/Dib.h"
#include "widgets/Thumbnail.h"

#include <afxwin.h>

#include <algorithm>
#include <memory>

namespace {

const char s_szWelcome1[] = "WELCOME TO";
const char s_szWelcome2[] = "Dido Dovov";
const char s_szWelcome3[] =
    "Transport yourself through history and learn what was happening a year ago or a millennium ago!  "
    "Specify a single year or choose a time span from a decade to a millennium.  TIME FRAME searches the "
    "entire Veltra Encyclopedia and delivers an array of items corresponding to the period selected. ";

// Where the welcome text stands in the view: right of the time machine, which floats over the
// view's top left corner.
const RECT s_rcWelcome = {180, 20, 620, 400};

const COLORREF kWelcomeText = 0x02000000;
const COLORREF kWelcomeShade = 0x02398C29;
const COLORREF kViewFill = PALETTEINDEX(30);

// A new list of clones of the list's references of those kinds, in list order.
CReferenceList* ClonesOfKinds(CReferenceList* pList, LONG nKinds)
{
    CReferenceList* pClones = new CReferenceList;
    if (pList != NULL)
        pList->CloneKindInto(pClones, nKinds);
    return pClones;
}

void FillCells(std::vector<CThumbView::Cell>& cells, CReferenceList* pList, size_t nCount)
{
    cells.assign(nCount, CThumbView::Cell());
    CReference* pReference = pList->GetFirstReference();
    for (size_t i = 0; i < nCount && pReference != NULL; ++i, pReference = pList->GetNextReference())
        cells[i].pReference = pReference;
}

}  // namespace

IMPLEMENT_DYNAMIC(CThumbView, CVLScrollWnd)

BEGIN_MESSAGE_MAP(CThumbView, CVLScrollWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_VSCROLL()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(VLM_THUMB_PRESS, OnThumbPress)
    ON_MESSAGE(VLM_THUMB_RELEASE, OnThumbRelease)
END_MESSAGE_MAP()

CThumbView::CThumbView()
    : m_bWelcome(TRUE),
      m_pMediaList(NULL),
      m_pArticleList(NULL),
      m_nScrollPos(0),
      m_nMaxScroll(0),
      m_nLastStep(0),
      m_nClientHeight(0)
{
}

CThumbView::~CThumbView()
{
    FreeCells();
    delete m_pMediaList;
    delete m_pArticleList;
}

int CThumbView::CellWidthFor(int nClientWidth)
{
    return nClientWidth >= THUMBVIEW_WIDE_CLIENT ? THUMBVIEW_WIDE_CELL_WIDTH : THUMBVIEW_CELL_WIDTH;
}

int CThumbView::ColumnsFor(int nClientWidth)
{
    return std::max(1, nClientWidth / CellWidthFor(nClientWidth));
}

void CThumbView::FreeCells()
{
    for (std::vector<Cell>* pCells : {&m_media, &m_articles}) {
        for (Cell& cell : *pCells) {
            delete cell.pThumb;  // destroys its window
            cell.pThumb = NULL;
        }
        pCells->clear();
    }
}

void CThumbView::Clear()
{
    FreeCells();
}

void CThumbView::SetList(CReferenceList* pList)
{
    FreeCells();
    delete m_pMediaList;
    delete m_pArticleList;
    m_pMediaList = NULL;
    m_pArticleList = NULL;
    m_pMediaList = ClonesOfKinds(pList, THUMBVIEW_MEDIA_KINDS);
    m_pArticleList = ClonesOfKinds(pList, THUMBVIEW_ARTICLE_KINDS);
    size_t nMedia = static_cast<size_t>(m_pMediaList->GetCount());
    size_t nArticles = static_cast<size_t>(m_pArticleList->GetCount());
    const size_t nTotal = nMedia + nArticles;
    if (nTotal > THUMBVIEW_MAX_CELLS) {
        // Each kind keeps its share of the hundred cells.
        nMedia = nMedia * THUMBVIEW_MAX_CELLS / nTotal;
        nArticles = nArticles * THUMBVIEW_MAX_CELLS / nTotal;
    }
    FillCells(m_media, m_pMediaList, nMedia);
    FillCells(m_articles, m_pArticleList, nArticles);
    m_nScrollPos = 0;
}

void CThumbView::Layout()
{
    CRect client;
    if (::IsWindow(m_hWnd))
        GetClientRect(&client);
    const int nCellWidth = CellWidthFor(client.Width());
    const int nColumns = ColumnsFor(client.Width());
    for (std::vector<Cell>* pCells : {&m_media, &m_articles})
        for (Cell& cell : *pCells)
            cell.bPlaced = FALSE;
    // The walk: the switch flips at the start of every row and after every cell; a kind whose
    // cells are all placed leaves every further place to the other. It goes on until both kinds
    // are placed.
    BOOL bMedia = TRUE;
    size_t nNextMedia = 0, nNextArticle = 0;
    int y = THUMBVIEW_FIRST_ROW;
    int nLastY = -1;
    for (int k = 0; nNextMedia < m_media.size() || nNextArticle < m_articles.size(); ++k) {
        if (k % nColumns == 0) {
            y = THUMBVIEW_FIRST_ROW + (k / nColumns) * THUMBVIEW_ROW_HEIGHT;
            bMedia = !bMedia;
        }
        if (nNextMedia >= m_media.size())
            bMedia = FALSE;
        else if (nNextArticle >= m_articles.size())
            bMedia = TRUE;
        Cell& cell = bMedia ? m_media[nNextMedia++] : m_articles[nNextArticle++];
        cell.x = THUMBVIEW_LEFT + (k % nColumns) * nCellWidth;
        cell.y = y;
        cell.bPlaced = TRUE;
        nLastY = y;
        bMedia = !bMedia;
    }
    m_nMaxScroll = nLastY < 0 ? 0 : nLastY + 180 - client.Height();
    if (m_nMaxScroll < 1)
        m_nMaxScroll = 0;
    m_nScrollPos = std::min(m_nScrollPos, m_nMaxScroll);
    if (::IsWindow(m_hWnd)) {
        SetScrollRange(SB_VERT, 0, m_nMaxScroll, FALSE);
        SetScrollPos(SB_VERT, m_nScrollPos, TRUE);
    }
}

void CThumbView::Realize(BOOL bMove)
{
    if (m_bWelcome) {
        m_bWelcome = FALSE;
        if (::IsWindow(m_hWnd))
            Invalidate();
    }
    if (!::IsWindow(m_hWnd))
        return;
    CRect view;
    GetClientRect(&view);
    view.OffsetRect(0, m_nScrollPos);
    view.bottom -= THUMBVIEW_VIEW_MARGIN;
    CThumbnailFactory* pFactory = GetAppThumbnailFactory();
    std::unique_ptr<CWaitCursor> pWait;
    const size_t nCells = std::max(m_media.size(), m_articles.size());
    for (size_t i = 0; i < nCells; ++i) {
        for (std::vector<Cell>* pCells : {&m_media, &m_articles}) {
            if (i >= pCells->size())
                continue;
            Cell& cell = (*pCells)[i];
            if (!cell.bPlaced)
                continue;
            if (cell.pThumb == NULL) {
                // In view: its top above the last 157 pixels of the client area, and its row
                // not wholly above the top (a row scrolled half out still shows its thumbnails).
                const BOOL bInView = cell.x >= view.left && cell.x < view.right && cell.y < view.bottom &&
                                     cell.y + THUMBVIEW_ROW_HEIGHT > view.top;
                if (pFactory == NULL || cell.pReference == NULL || !bInView)
                    continue;
                if (pWait == NULL)
                    pWait = std::make_unique<CWaitCursor>();
                CThumbnail* pThumb = pFactory->CreateThumbnail(cell.pReference);
                if (pThumb == NULL)
                    continue;
                if (!pThumb->CreateAt(this, cell.x, cell.y - m_nScrollPos)) {
                    delete pThumb;
                    continue;
                }
                cell.pThumb = pThumb;
                pThumb->UpdateWindow();
            } else if (bMove) {
                cell.pThumb->SetWindowPos(NULL, cell.x, cell.y - m_nScrollPos, 0, 0,
                                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
}

void CThumbView::ShowWelcome()
{
    m_bWelcome = TRUE;
    FreeCells();
    m_nScrollPos = 0;
    m_nMaxScroll = 0;
    if (::IsWindow(m_hWnd)) {
        SetScrollRange(SB_VERT, 0, 0, TRUE);
        Invalidate();
    }
}

int CThumbView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CVLScrollWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    m_nClientHeight = client.Height();
    return 0;
}

void CThumbView::OnSize(UINT nType, int cx, int cy)
{
    CVLScrollWnd::OnSize(nType, cx, cy);
    m_nClientHeight = cy;
    if (m_bWelcome)
        return;
    Layout();
    Realize(TRUE);
}

BOOL CThumbView::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CPalettePaintDC palette(pDC, FALSE);
    CBrush brush(kViewFill);
    pDC->FillRect(&client, &brush);
    return TRUE;
}

void CThumbView::OnPaint()
{
    CPaintDC dc(this);
    try {
        CPalettePaintDC palette(&dc, FALSE);
        try {
            CDib background(THUMBVIEW_BACKGROUND_BITMAP);
            background.Draw(&dc, 0, 0);
        } catch (CResourceException* e) {
            e->Delete();  // the fill of the background stays
        }
        if (m_bWelcome)
            DrawWelcome(&dc);
    } catch (CException* e) {
        e->Delete();
    }
}

void CThumbView::DrawWelcome(CDC* pDC)
{
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(kWelcomeText);
    CFont small, big;
    small.CreateFont(17, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    big.CreateFont(80, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                   DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    const UINT nFormat = DT_LEFT | DT_WORDBREAK;
    CRect rect(s_rcWelcome);
    CFont* pOldFont = pDC->SelectObject(&small);
    CRect first = rect;
    first.OffsetRect(200, 0);
    const int nFirst = pDC->DrawText(s_szWelcome1, -1, &first, nFormat);
    pDC->SelectObject(&big);
    CRect second = rect;
    second.top = rect.top + nFirst + 5;
    const int nSecond = pDC->DrawText(s_szWelcome2, -1, &second, nFormat);
    CRect shade = second;
    shade.OffsetRect(-2, -2);
    pDC->SetTextColor(kWelcomeShade);
    pDC->DrawText(s_szWelcome2, -1, &shade, nFormat);
    pDC->SetTextColor(kWelcomeText);
    pDC->SelectObject(&small);
    CRect third = rect;
    third.top = second.top + nSecond + 20;
    third.right -= 15;
    pDC->DrawText(s_szWelcome3, -1, &third, nFormat);
    pDC->SelectObject(pOldFont);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
}

void CThumbView::OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    (void)pScrollBar;
    CRect client;
    GetClientRect(&client);
    int nNew = m_nScrollPos;
    switch (nSBCode) {
    case SB_LINEUP: nNew -= THUMBVIEW_LINE_STEP; break;
    case SB_LINEDOWN: nNew += THUMBVIEW_LINE_STEP; break;
    case SB_PAGEUP: nNew -= client.Height() / 2; break;
    case SB_PAGEDOWN: nNew += client.Height() / 2; break;
    case SB_THUMBPOSITION: nNew = static_cast<int>(nPos); break;
    default: break;  // a dragged thumb scrolls when it is let go
    }
    nNew = std::max(0, std::min(nNew, m_nMaxScroll));
    m_nLastStep = nNew - m_nScrollPos;
    if (m_nLastStep == 0)
        return;
    m_nScrollPos = nNew;
    SetScrollPos(SB_VERT, m_nScrollPos, TRUE);
    ::ScrollWindowEx(m_hWnd, 0, -m_nLastStep, NULL, NULL, NULL, NULL, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    UpdateWindow();
    Realize(FALSE);
}

void CThumbView::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_LBUTTONDOWN, 0, 0);
}

LRESULT CThumbView::OnThumbRelease(WPARAM, LPARAM lParam)
{
    // The press opened the item; the release's clone is ours to free.
    delete reinterpret_cast<CReference*>(lParam);
    return 1;
}

LRESULT CThumbView::OnThumbPress(WPARAM, LPARAM lParam)
{
    OpenItem(reinterpret_cast<CReference*>(lParam));
    return 1;
}

void CThumbView::OpenItem(CReference* pReference)
{
    if (pReference == NULL)
        return;
    CWnd* pFrame = GetAppMainWnd();
    const LONG nKind = pReference->GetKind();
    if (nKind == REFKIND_MAP || nKind == REFKIND_ARTICLE || nKind == REFKIND_ARTICLE2) {
        const WPARAM nView = nKind == REFKIND_MAP ? IDW_ATLAS : IDW_ARTICLE;
        if (pFrame == NULL || !pFrame->PostMessage(VLM_OPEN_WINDOW, nView, reinterpret_cast<LPARAM>(pReference)))
            delete pReference;
        return;
    }
    const LONG nMediaKinds = THUMBVIEW_MEDIA_KINDS | REFKIND_NOFILE;
    if ((nKind & nMediaKinds) == 0 || nKind == 0) {
        CString strMessage = CString(THUMBVIEW_BAD_MEDIA) + pReference->GetTitle();
        delete pReference;
        AfxMessageBox(strMessage, MB_ICONSTOP);
        return;
    }
    // Media: the viewer browses every media item of the grid.
    CReferenceList list;
    for (const Cell& cell : m_media) {
        if (cell.pReference == NULL)
            continue;
        CReference* pClone = cell.pReference->Clone();
        if (pClone->GetTitle().IsEmpty())
            pClone->SetTitle(THUMBVIEW_NO_TITLE);
        list.Append(pClone);
    }
    CMediaDisplayRef* pDisplay = NULL;
    try {
        pDisplay = new CMediaDisplayRef(pReference, &list, 0);
    } catch (CException* e) {
        e->Delete();
        pDisplay = NULL;
    }
    delete pReference;
    if (pDisplay != NULL && (pFrame == NULL || !pFrame->PostMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, reinterpret_cast<LPARAM>(pDisplay))))
        delete pDisplay;
}
