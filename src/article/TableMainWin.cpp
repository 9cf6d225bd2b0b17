#include "article/TableMainWin.h"

#include "article/ArticleDocument.h"
#include "article/TableHeadWin.h"
#include "article/TablePrinter.h"
#include "article/TableTextWin.h"
#include "base/AppHost.h"
#include "base/AppServices.h"
#include "base/HitList.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/StickyRecordSet.h"
#include "base/VLMessages.h"
#include "media/StickyNoteWnd.h"

#include <algorithm>

namespace {

// The panes unlock once the frame has taken a link they followed (posted behind the link).
const UINT s_nUnlockPanesMessage = RegisterWindowMessageA("CTableMainWin:UnlockPanes");

// The strip's buttons by screen class 0, 1, 2: normal, pressed, focused, disabled pictures and
// the roll-over picture.
const UINT kBackIds[3][5] = {{7680, 7677, 7678, 0, 7679}, {7675, 7672, 7673, 0, 7674}, {7670, 7667, 7668, 0, 7669}};
const UINT kShowIds[3][5] = {{7665, 7662, 0, 7666, 7664}, {7660, 7657, 0, 7661, 7659}, {7655, 7652, 0, 7656, 7654}};
const UINT kHideIds[3][5] = {{7648, 7647, 7648, 0, 7649}, {7643, 7642, 7643, 0, 7644}, {7638, 7637, 7638, 0, 7639}};
const UINT kStickyBitmap = 239;

int ScreenClassIndex()
{
    return std::clamp(GetAppScreenClass(), 0, 2);
}

}  // namespace

IMPLEMENT_DYNAMIC(CTableMainWin, CVLMainWin)

BEGIN_MESSAGE_MAP(CTableMainWin, CVLMainWin)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_COMMAND(IDC_TABLE_BACK, OnBackToArticle)
    ON_COMMAND(IDC_TABLE_SHOW_FOOTNOTES, OnShowFootnotes)
    ON_COMMAND(IDC_TABLE_HIDE_FOOTNOTES, OnHideFootnotes)
    ON_COMMAND(IDC_TABLE_PRINT, OnPrintCommand)
    ON_COMMAND(IDC_TABLE_STICKY, OnStickyCommand)
    ON_MESSAGE(VLM_STICKY_NOTE, OnStickyNote)
    ON_MESSAGE(VLM_OPEN_WINDOW, OnOpenWindow)
    ON_MESSAGE(VLM_STICKY_PRESENT, OnStickyPresent)
    ON_MESSAGE(VLM_STICKY_DELETED, OnStickyDeleted)
    ON_REGISTERED_MESSAGE(s_nUnlockPanesMessage, OnUnlockPanes)
END_MESSAGE_MAP()

CTableMainWin::CTableMainWin() : m_btnSticky(TRUE), m_crBackground(TABLE_BK_COLOR)
{
}

CTableMainWin::~CTableMainWin()
{
    // The table's text lies in the document's record: the table goes first, the window last.
    m_pTable.reset();
    delete m_pStickyWnd;
    m_pStickyWnd = NULL;
    delete m_pTextWin;
    m_pTextWin = NULL;
    delete m_pHeadWin;
    m_pHeadWin = NULL;
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CTableMainWin::Create(CWnd* pParentWnd, const RECT& rect)
{
    if (m_hWnd != NULL)
        return FALSE;
    return CreateView(NULL, "Main Table Window", rect, pParentWnd, IDW_TABLE);
}

// ---- creation ----

int CTableMainWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CVLMainWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    CreateButtons();
    CRect client;
    GetClientRect(&client);
    m_cxClient = client.Width();
    m_cyClient = client.Height();
    m_nTextHeight = TextPaneHeight(m_cyClient);
    m_nFootHeight = FootPaneHeight(m_cyClient);
    m_pTextWin = new CTableTextWin;
    if (!m_pTextWin->Create(this, CRect(0, stripHeight, m_cxClient, stripHeight + m_nTextHeight)))
        return -1;
    m_pHeadWin = new CTableHeadWin;
    if (!m_pHeadWin->Create(this, CRect(0, stripHeight + m_nTextHeight, m_cxClient,
                                        stripHeight + m_nTextHeight + m_nFootHeight)))
        return -1;
    m_bFootnotesHidden = FALSE;
    CreateFonts();
    m_bBusy = TRUE;
    m_pStickyWnd = new CStickyNoteWnd;
    if (!m_pStickyWnd->Create(this)) {
        delete m_pStickyWnd;
        m_pStickyWnd = NULL;
    }
    PlaceChildren();
    return 0;
}

BOOL CTableMainWin::MakeButton(CRollOverButton& button, UINT nId, const UINT (&ids)[5])
{
    if (!button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 10, 10), this, nId))
        return FALSE;
    if (!button.LoadStateBitmaps(ids[0], ids[1], ids[2], ids[3])) {
        button.DestroyWindow();
        return FALSE;
    }
    button.LoadDib(ids[4]);
    button.SizeToBitmap();
    return TRUE;
}

BOOL CTableMainWin::CreateButtons()
{
    if (!m_btnSticky.Create("Tables Sticky", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 27, 17), this, IDC_TABLE_STICKY))
        return FALSE;
    if (!m_btnSticky.LoadStateBitmaps(kStickyBitmap, kStickyBitmap)) {
        m_btnSticky.DestroyWindow();
        return FALSE;
    }
    m_btnSticky.SizeToBitmap();
    const int c = ScreenClassIndex();
    if (!MakeButton(m_btnBack, IDC_TABLE_BACK, kBackIds[c]) ||
        !MakeButton(m_btnShowFootnotes, IDC_TABLE_SHOW_FOOTNOTES, kShowIds[c]) ||
        !MakeButton(m_btnHideFootnotes, IDC_TABLE_HIDE_FOOTNOTES, kHideIds[c]))
        return FALSE;
    CRect rect;
    m_btnBack.GetWindowRect(&rect);
    m_cxButton = rect.Width();
    m_cyButton = rect.Height();
    m_bButtonsMade = TRUE;
    return TRUE;
}

void CTableMainWin::CreateFonts()
{
    m_pFonts = std::make_unique<CTableFontSet>(CTableFontSet::BasePointsForScreenClass(GetAppScreenClass()));
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CFont* pOld = dc.SelectObject(m_pFonts->GetBodyFont());
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    m_grid.nLineHeight = tm.tmHeight + tm.tmExternalLeading;
    m_grid.nHeightLessDescent = tm.tmHeight - tm.tmDescent;
    m_grid.nAscent = tm.tmAscent;
    m_grid.nDescent = tm.tmDescent;
    m_grid.nExternalLeading = tm.tmExternalLeading;
    m_grid.nCharWidth = dc.GetTextExtent("A", 1).cx;
    dc.SelectObject(pOld);
}

CFont* CTableMainWin::GetFontForCode(int nCode)
{
    return m_pFonts != NULL ? m_pFonts->GetFontForCode(nCode) : NULL;
}

CRollOverButton* CTableMainWin::GetButton(int nId)
{
    switch (nId) {
    case IDC_TABLE_BACK: return &m_btnBack;
    case IDC_TABLE_SHOW_FOOTNOTES: return &m_btnShowFootnotes;
    case IDC_TABLE_HIDE_FOOTNOTES: return &m_btnHideFootnotes;
    default: return NULL;
    }
}

void CTableMainWin::OnDestroy()
{
    for (CWnd* pPane : {static_cast<CWnd*>(m_pTextWin), static_cast<CWnd*>(m_pHeadWin)})
        if (pPane != NULL && pPane->GetSafeHwnd() != NULL)
            pPane->DestroyWindow();
    delete m_pTextWin;
    m_pTextWin = NULL;
    delete m_pHeadWin;
    m_pHeadWin = NULL;
    for (CWnd* pButton : {static_cast<CWnd*>(&m_btnBack), static_cast<CWnd*>(&m_btnShowFootnotes),
                          static_cast<CWnd*>(&m_btnHideFootnotes), static_cast<CWnd*>(&m_btnSticky)})
        if (pButton->GetSafeHwnd() != NULL)
            pButton->DestroyWindow();
    CVLMainWin::OnDestroy();
}

// ---- showing a table ----

LRESULT CTableMainWin::OnOpenWindow(WPARAM, LPARAM lParam)
{
    // The document is the article view's: it is only borrowed.
    ShowTable(reinterpret_cast<CArticleDocument*>(lParam));
    return 0;
}

void CTableMainWin::ShowTable(CArticleDocument* pDocument)
{
    if (pDocument == NULL || !pDocument->IsLoaded())
        return;
    const int nIndex = pDocument->GetCurrentTableIndex();
    auto pTable = std::make_unique<CArticleTable>(pDocument, nIndex, m_pFonts.get());
    if (pTable->IsDamaged()) {
        CString strText;
        strText.Format("This table cannot be shown: %s.", static_cast<LPCSTR>(pTable->GetDamage()));
        AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_bBusy = TRUE;
    GetAppHost().CollapseToolkit();
    ShowMainWindow(IDW_TABLE, 0);
    // A table can be printed and take sticky notes; it has no highlighter.
    GetAppHost().EnableTools(TRUE, TRUE, FALSE, TRUE, TRUE);

    m_pDocument = pDocument;
    m_nTableIndex = nIndex;
    UpdateStickyPosition();
    // The new table replaces the old one; the panes drop theirs first.
    if (m_pTextWin != NULL)
        m_pTextWin->SetReady(FALSE);
    if (m_pHeadWin != NULL)
        m_pHeadWin->SetReady(FALSE);
    m_pTable = std::move(pTable);

    m_bBusy = FALSE;
    m_bPrinting = FALSE;
    m_bFootnotesHidden = FALSE;
    m_grid.nTable = nIndex;
    for (RECT& rect : m_grid.aRects)
        rect = {0, 0, 100, 20};

    CRect client;
    GetClientRect(&client);
    m_cxClient = client.Width();
    m_cyClient = client.Height();
    m_nTableWidth = m_pTable->GetTableWidth();
    m_nLeftMargin = m_nTableWidth < m_cxClient && m_pTable->IsCentred() ? (m_cxClient - m_nTableWidth) / 2 : 30;

    const BOOL bFootnotes = m_pTable->HasFootnotes();
    if (m_bButtonsMade) {
        m_btnShowFootnotes.EnableWindow(bFootnotes);
        m_btnHideFootnotes.EnableWindow(bFootnotes);
    }
    if (bFootnotes) {
        m_nTextHeight = TextPaneHeight(m_cyClient);
        m_nFootHeight = FootPaneHeight(m_cyClient);
    } else {
        m_nTextHeight = m_cyClient - stripHeight;
        m_nFootHeight = 0;
    }
    // The panes take their places for this table before they measure their ranges.
    PlaceChildren();
    if (bFootnotes && m_pHeadWin != NULL) {
        m_pHeadWin->ShowWindow(SW_SHOW);
        m_pHeadWin->SetTable(m_pTable.get());
    } else if (m_pHeadWin != NULL) {
        m_pHeadWin->SetTable(m_pTable.get());
        m_pHeadWin->ResetScroll();
    }
    m_crBackground = TABLE_BK_COLOR;
    if (m_pTextWin != NULL)
        m_pTextWin->SetTable(m_pTable.get());
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (m_pTextWin != NULL && IsWindowVisible())
        m_pTextWin->SetFocus();
}

void CTableMainWin::PlaceChildren()
{
    CRect client;
    GetClientRect(&client);
    const int cx = client.Width();
    const int h = std::max(client.Height() - stripHeight, 0);
    const BOOL bFootnotes = m_pTable != NULL && m_pTable->HasFootnotes();
    auto place = [](CWnd* pWnd, int x, int y, int w, int hh) {
        if (pWnd != NULL && pWnd->GetSafeHwnd() != NULL)
            pWnd->SetWindowPos(NULL, x, y, w, hh, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    auto show = [](CWnd* pWnd, BOOL bShow) {
        if (pWnd != NULL && pWnd->GetSafeHwnd() != NULL)
            pWnd->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    };
    if (!bFootnotes || m_bFootnotesHidden) {
        place(m_pTextWin, 0, stripHeight, cx, h);
        show(m_pHeadWin, FALSE);
        show(&m_btnShowFootnotes, TRUE);
        show(&m_btnHideFootnotes, FALSE);
    } else {
        const int nText = h * 80 / 100;
        place(m_pTextWin, 0, stripHeight, cx, nText);
        place(m_pHeadWin, 0, stripHeight + nText, cx, h * 20 / 100 + 1);
        show(m_pHeadWin, TRUE);
        show(&m_btnShowFootnotes, FALSE);
        show(&m_btnHideFootnotes, TRUE);
    }
    if (m_bButtonsMade) {
        place(&m_btnSticky, cx - 2 * m_cxButton - 36, std::max(m_cyButton - 17, 0), 27, 17);
        show(&m_btnSticky, m_bStickyShown);
        place(&m_btnBack, cx - 2 * m_cxButton + 1, 0, m_cxButton, m_cyButton);
        place(&m_btnShowFootnotes, cx - m_cxButton + 1, 0, m_cxButton, m_cyButton);
        place(&m_btnHideFootnotes, cx - m_cxButton + 1, 0, m_cxButton, m_cyButton);
    }
}

void CTableMainWin::OnSize(UINT nType, int cx, int cy)
{
    CVLMainWin::OnSize(nType, cx, cy);
    m_cxClient = cx;
    m_cyClient = cy;
    if (!m_bBusy)
        PlaceChildren();
    Invalidate();
}

BOOL CTableMainWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTableMainWin::OnPaint()
{
    CPaintDC dc(this);
    CPalettePaintDC palette(&dc, FALSE);
    CRect client;
    GetClientRect(&client);
    m_cxClient = client.Width();
    m_cyClient = client.Height();
    // The strip above the panes (and the whole view while no table is shown).
    dc.FillSolidRect(0, 0, client.Width(), m_bBusy ? client.Height() : stripHeight, TABLE_BK_COLOR);
    if (m_bBusy)
        return;
    PlaceChildren();
    if (m_pTable != NULL && m_pDocument != NULL) {
        // The table's title at the left of the strip.
        LPCSTR lpszTitle = m_pDocument->GetTableTitle(m_nTableIndex);
        if (lpszTitle != NULL && m_pFonts != NULL) {
            CFont* pOld = dc.SelectObject(m_pFonts->GetFontForCode(7));
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(PALETTERGB(0, 0, 0));
            const int nRight = m_bButtonsMade ? m_cxClient - 2 * m_cxButton - 44 : m_cxClient - 8;
            CRect title(8, 0, std::max(nRight, 8), stripHeight);
            dc.DrawText(lpszTitle, -1, title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
            dc.SelectObject(pOld);
        }
    }
}

// ---- commands ----

void CTableMainWin::OnBackToArticle()
{
    if (m_pDocument == NULL || m_pDocument->GetReference() == NULL)
        return;
    CReference* pClone = m_pDocument->GetReference()->Clone();
    if (pClone == NULL)
        return;
    CHitList* pHits = m_pDocument->GetHitList();
    if (pHits != NULL && pHits->GetCount() > 0 && m_pDocument->GetFirstHitSection() > 199)
        pClone->SetData(NULL);
    CWnd* pMain = GetAppMainWnd();
    if (pMain == NULL || !pMain->PostMessage(VLM_OPEN_WINDOW, IDW_ARTICLE, reinterpret_cast<LPARAM>(pClone)))
        delete pClone;
}

void CTableMainWin::OnShowFootnotes()
{
    if (m_pTable == NULL || !m_pTable->HasFootnotes())
        return;
    m_bFootnotesHidden = FALSE;
    m_nTextHeight = TextPaneHeight(m_cyClient);
    m_nFootHeight = FootPaneHeight(m_cyClient);
    PlaceChildren();
    Invalidate();
}

void CTableMainWin::OnHideFootnotes()
{
    if (m_pTable == NULL || !m_pTable->HasFootnotes())
        return;
    m_bFootnotesHidden = TRUE;
    m_nTextHeight = m_cyClient - stripHeight;
    PlaceChildren();
    if (m_pTextWin != NULL)
        m_pTextWin->FootnotesHidden(m_nFootHeight);
    Invalidate();
}

void CTableMainWin::OnPrintCommand()
{
    PrintTable();
}

void CTableMainWin::PrintTable()
{
    if (m_bPrinting || m_pTable == NULL)
        return;
    m_bPrinting = TRUE;
    CTablePrinter printer(*this);
    printer.PrintTable();
    m_bPrinting = FALSE;
}

void CTableMainWin::OnFilePrint()
{
    PrintTable();
}

BOOL CTableMainWin::CanPrint()
{
    return m_pTable != NULL && !m_pTable->IsDamaged();
}

void CTableMainWin::OnEditCopy()
{
    if (m_pTextWin != NULL && m_pTextWin->HasSelection())
        m_pTextWin->CopyToClipboard();
}

void CTableMainWin::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pTextWin != NULL && m_pTextWin->HasSelection());
}

void CTableMainWin::OnEditSelectAll()
{
    if (m_pTextWin != NULL)
        m_pTextWin->SelectAll();
}

void CTableMainWin::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pTextWin != NULL);
}

void CTableMainWin::OnActivateMainWin(BOOL bActive)
{
    CVLMainWin::OnActivateMainWin(bActive);
}

void CTableMainWin::UnlockPanesLater()
{
    PostMessage(s_nUnlockPanesMessage, 0, 0);
}

LRESULT CTableMainWin::OnUnlockPanes(WPARAM, LPARAM)
{
    if (m_pTextWin != NULL)
        m_pTextWin->Unlock();
    if (m_pHeadWin != NULL)
        m_pHeadWin->Unlock();
    return 0;
}

// ---- sticky notes ----

void CTableMainWin::OnStickyCommand()
{
    if (m_pStickyWnd != NULL && m_pStickyWnd->GetSafeHwnd() != NULL)
        m_pStickyWnd->PostMessage(VLM_STICKY_NEW, 0, 0);
}

LRESULT CTableMainWin::OnStickyNote(WPARAM, LPARAM)
{
    OnStickyCommand();
    return 0;
}

void CTableMainWin::UpdateStickyPosition()
{
    if (m_pStickyWnd == NULL || m_pStickyWnd->GetSafeHwnd() == NULL || m_pDocument == NULL ||
        m_pDocument->GetReference() == NULL)
        return;
    const CStickyPosition position(static_cast<WORD>(200 + m_nTableIndex));
    WORD awPosition[4] = {position.GetAt(0), position.GetAt(1), position.GetAt(2), position.GetAt(3)};
    m_pStickyWnd->SelectNoteAt(m_pDocument->GetTitle(), m_pDocument->GetReference()->GetNumber(), awPosition);
}

LRESULT CTableMainWin::OnStickyPresent(WPARAM wParam, LPARAM lParam)
{
    delete[] reinterpret_cast<WORD*>(lParam);
    m_bStickyShown = wParam != 0;
    if (m_bButtonsMade) {
        m_btnSticky.EnableWindow(m_bStickyShown);
        m_btnSticky.ShowWindow(m_bStickyShown ? SW_SHOWNA : SW_HIDE);
    }
    if (m_pTextWin != NULL)
        m_pTextWin->Invalidate();
    return 0;
}

LRESULT CTableMainWin::OnStickyDeleted(WPARAM, LPARAM lParam)
{
    if (m_pDocument != NULL && m_pDocument->GetReference() != NULL &&
        m_pDocument->GetReference()->GetNumber() == static_cast<LONG>(lParam))
        UpdateStickyPosition();
    return 0;
}
