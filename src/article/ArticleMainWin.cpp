#include "article/ArticleMainWin.h"

#include "article/ArticleDocument.h"
#include "article/ArticleOutlineTabWin.h"
#include "article/ArticlePageWin.h"
#include "article/ArticleRecord.h"
#include "article/ArticleStateObj.h"
#include "article/MediaFilmStrip.h"
#include "article/MiniArticleTabWin.h"
#include "article/RelatedArticlesTabWin.h"
#include "base/AppHost.h"
#include "base/AppServices.h"
#include "base/ClipboardText.h"
#include "base/DataFolders.h"
#include "base/HitList.h"
#include "base/OnlineReference.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/Rin.h"
#include "base/VLMessages.h"
#include "widgets/Dib.h"
#include "widgets/PrinterChoice.h"
#include "widgets/RollOverButton.h"

#include <mfc/CommonDialogs.h>

#include <memory>

IMPLEMENT_DYNAMIC(CArticleMainWin, CVLMainWin)

namespace {

const char kRecentSection[] = "ARTICLES";
const int kRecentMax = 5;
const int kTableSectionBase = 200;
const COLORREF kBandColor = PALETTERGB(255, 255, 231);

// Whether the program's run has shown the view yet.
BOOL g_bShownOnce = FALSE;

// The reader's fatal errors end the program; while the view opens an article they come back as
// an exception, so that the view can recover. The handler in place before is put back.
struct ArticleUnreadable {
    int nCode;
};
void ThrowUnreadable(int nCode)
{
    throw ArticleUnreadable{nCode};
}
class CRecoverableRead {
public:
    CRecoverableRead() : m_pfnOld(SetArticleExitHandler(ThrowUnreadable)) {}
    ~CRecoverableRead() { SetArticleExitHandler(m_pfnOld); }
    CRecoverableRead(const CRecoverableRead&) = delete;
    CRecoverableRead& operator=(const CRecoverableRead&) = delete;

private:
    ARTICLE_EXIT_HANDLER m_pfnOld;
};

struct ButtonArt {
    UINT nId;
    UINT nNormal, nPressed, nHover, nDisabled, nFocus, nSecond;
};
const char kNoSpotlightText[] =
    "This month's spotlight article is not on this computer yet: it comes with the month's updates.";

const ButtonArt kOutlineArt = {ID_TOGGLE_OUTLINE, 7223, 7220, 7221, 7224, 7221, 7222};
const ButtonArt kRelatedArt = {ID_TOGGLE_RELATED, 7238, 7235, 7236, 7239, 7236, 7237};
const ButtonArt kOnlineArt = {ID_TOGGLE_ONLINE_EXTRAS, 7253, 7250, 7251, 7254, 7251, 7252};

}  // namespace

BEGIN_MESSAGE_MAP(CArticleMainWin, CVLMainWin)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_MESSAGE(VLM_OPEN_WINDOW, OnOpenArticle)
    ON_MESSAGE(VLM_OPEN_FOUND_ITEM, OnOpenFound)
    ON_MESSAGE(VLM_OPEN_NOTED_ITEM, OnOpenNoted)
    ON_MESSAGE(VLM_RESTORE_STATE, OnHistoryStep)
    ON_MESSAGE(VLM_DATA_LOCATION, OnDataLocation)
    ON_MESSAGE(VLM_START_PAGE, OnStartPage)
    ON_MESSAGE(VLM_PANE_OVER_ARTICLE, OnHidePanes)
    ON_MESSAGE(VLM_CONTRIBUTORS, OnContributors)
    ON_MESSAGE(VLM_OPEN_RECENT, OnOpenRecent)
    ON_MESSAGE(VLM_PANE_ITEM, OnPaneNotify)
    ON_MESSAGE(VLM_PANE_SECTION, OnPaneSection)
    ON_MESSAGE(VLM_PANE_TABLE, OnPaneTable)
    ON_MESSAGE(VLM_PANE_SOUND, OnPaneSound)
    ON_MESSAGE(VLM_PANE_EXTRA, OnPaneExtra)
    ON_MESSAGE(VLM_PAGE_FOCUS, OnPageFocus)
    ON_MESSAGE(VLM_HIGHLIGHTER, OnHighlighter)
    ON_MESSAGE(VLM_FIND_NEXT, OnFindNext)
    ON_MESSAGE(VLM_STICKY_NOTE, OnStickyNote)
    ON_MESSAGE(VLM_STICKY_DELETED, OnStickyDeleted)
    ON_MESSAGE(VLM_CLEAR_HIGHLIGHTS, OnClearHighlights)
    ON_MESSAGE(VLM_CLEAR_ALL_HIGHLIGHTS, OnClearAllHighlights)
    ON_MESSAGE(VLM_FONT_SIZE, OnFontSize)
    ON_MESSAGE(VLM_SELECT_ALL, OnSelectAll)
    ON_MESSAGE(VLM_SAVE_AS, OnSaveAsText)
    ON_MESSAGE(VLM_STOP, OnStop)
    ON_COMMAND(ID_TOGGLE_OUTLINE, OnToggleOutline)
    ON_COMMAND(ID_TOGGLE_RELATED, OnToggleRelated)
    ON_COMMAND(ID_TOGGLE_ONLINE_EXTRAS, OnToggleOnlineExtras)
END_MESSAGE_MAP()

CArticleMainWin::CArticleMainWin() = default;

CArticleMainWin::~CArticleMainWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pDocument;
    delete m_pRecent;
}

void CArticleMainWin::ResetSharedState()
{
    g_bShownOnce = FALSE;
}

BOOL CArticleMainWin::Create(CWnd* pParentWnd, const RECT& rect)
{
    return CreateView(NULL, "Main Article Window", rect, pParentWnd, IDW_ARTICLE);
}

// ---- what the frame asks ----

LONG CArticleMainWin::GetArticleRin() const
{
    if (m_pDocument == NULL || !m_pDocument->IsLoaded() || m_pDocument->GetReference() == NULL)
        return 0;
    return m_pDocument->GetReference()->GetNumber();
}

LONG CArticleMainWin::GetDiscArticleRin() const
{
    const LONG nRin = GetArticleRin();
    return nRin > 0 && nRin < ARTICLE_ONLINE_RIN ? nRin : 0;
}

void CArticleMainWin::EnableArticleTools()
{
    // Online articles take no sticky notes.
    GetAppHost().EnableTools(TRUE, GetDiscArticleRin() != 0, TRUE, TRUE, TRUE);
}

BOOL CArticleMainWin::IsPageFocused() const
{
    if (m_pPage == NULL || m_pPage->GetSafeHwnd() == NULL || m_pPage->IsHighlighterOn())
        return FALSE;
    CWnd* pFocus = CWnd::GetFocus();
    return pFocus != NULL && (pFocus == m_pPage || m_pPage->IsChild(pFocus));
}

BOOL CArticleMainWin::CanFindAgain() const
{
    return m_pDocument != NULL && m_pDocument->IsLoaded() && m_pDocument->GetHitList() != NULL &&
           m_pDocument->GetHitList()->GetCount() > 0;
}

BOOL CArticleMainWin::HasHighlights() const
{
    return m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL && GetArticleRin() != 0 && m_pPage->HasHighlights();
}

// ---- creation, layout, destruction ----

void CArticleMainWin::ComputeAreas(int cx, int cy)
{
    static const struct {
        int textLeft, textTop, textRight;
        int stripLeft, stripTop;
        int paneRight, upperBottom, lowerTop;
    } areas[3] = {
        {257, 62, 630, 162, 36, 247, 212, 222},
        {255, 66, 790, 160, 38, 245, 218, 228},
        {320, 70, 1014, 225, 42, 302, 327, 337},
    };
    const auto& a = areas[m_nScreenClass < 0 || m_nScreenClass > 2 ? 0 : m_nScreenClass];
    m_rcText.SetRect(a.textLeft, a.textTop, cx < a.textRight ? cx : a.textRight, cy);
    // The film strip keeps its column of 90 pixels until it has a width of its own.
    m_rcFilmStrip.SetRect(a.stripLeft, a.stripTop, a.stripLeft + 90, cy);
    m_rcSidePane.SetRect(10, 10, a.paneRight, cy - 10);
    m_rcUpperPane.SetRect(10, 10, a.paneRight, a.upperBottom);
    m_rcLowerPane.SetRect(10, a.lowerTop, a.paneRight, cy - 10);
}

CRect CArticleMainWin::GetTitleBand() const
{
    static const int lefts[3] = {257, 255, 320};
    return CRect(lefts[m_nScreenClass < 0 || m_nScreenClass > 2 ? 0 : m_nScreenClass], 4, m_rcClient.Width(), 38);
}

int CArticleMainWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CVLMainWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nScreenClass = GetAppScreenClass();
    GetClientRect(&m_rcClient);

    m_pRecent = new CReferenceList;
    LoadRecentArticles();
    CheckUpdateArticle();
    if (SaveRecentArticles())
        PostRecentTitles();

    CreateButtons();

    m_pOutline = new CArticleOutlineTabWin;
    m_pRelated = new CRelatedArticlesTabWin;
    m_pPage = new CArticlePageWin;
    m_pFilmStrip = new CMediaFilmStrip;
    ComputeAreas(m_rcClient.Width(), m_rcClient.Height());
    PlaceButtons();
    m_nOpenPane = ARTICLE_PANE_NONE;
    m_pFilmStrip->Create(this, m_rcFilmStrip);

    const DWORD dwPaneStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION | WS_THICKFRAME;
    m_pOutline->Create(NULL, "ARTICLE OUTLINE", dwPaneStyle, m_rcSidePane, this, 0);
    m_pRelated->Create(NULL, "RELATED INFO: CD-ROM", dwPaneStyle, m_rcSidePane, this, 0);
    FillPanes();
    m_pOutline->ShowWindow(SW_HIDE);
    m_pRelated->ShowWindow(SW_HIDE);
    EnablePaneButtons();

    if (!m_pPage->Create("Article Text", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL, m_rcText, this,
                         0))
        return -1;
    m_pPage->ShowDocument(m_pDocument != NULL && m_pDocument->IsLoaded() ? m_pDocument : NULL);
    m_pPage->ShowWindow(SW_SHOW);
    return 0;
}

void CArticleMainWin::CreateButtons()
{
    const int x = m_rcClient.Width() / 3 - 36;
    auto make = [&](const ButtonArt& art) {
        auto* pButton = new CRollOverButton;
        pButton->Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW, CRect(x, 0, x + 50, 15), this,
                        art.nId);
        pButton->LoadStateBitmaps(art.nNormal, art.nPressed, art.nFocus, art.nDisabled, art.nPressed, art.nPressed,
                                  art.nPressed, art.nDisabled);
        pButton->LoadDib(art.nHover);
        pButton->ShowWindow(SW_HIDE);
        pButton->SetDib(0);
        return pButton;
    };
    m_pOutlineButton = make(kOutlineArt);
    m_pRelatedButton = make(kRelatedArt);
    m_pOnlineButton = make(kOnlineArt);
}

void CArticleMainWin::PlaceButtons()
{
    // The outline and related buttons stand side by side in the gap between the title band and
    // the article text, so that the reader can reach both panes; the online button stays hidden
    // while the online extras pane is not there.
    const int y = GetTitleBand().bottom + (m_rcText.top - GetTitleBand().bottom - 15) / 2;
    int x = m_rcText.left;
    for (CRollOverButton* pButton : {m_pOutlineButton, m_pRelatedButton}) {
        if (pButton == NULL || pButton->GetSafeHwnd() == NULL)
            continue;
        pButton->SetWindowPos(&wndTop, x, y, 50, 15, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        x += 54;
    }
    if (m_pOnlineButton != NULL && m_pOnlineButton->GetSafeHwnd() != NULL)
        m_pOnlineButton->ShowWindow(SW_HIDE);
}

void CArticleMainWin::EnablePaneButtons()
{
    if (m_pOutlineButton == NULL)
        return;
    m_pOutlineButton->EnableWindow(TRUE);
    m_pRelatedButton->EnableWindow(m_pDocument != NULL && m_pDocument->GetRelatedCount() > 0);
    // The online extras pane belongs to the online services; without it the button stays off.
    m_pOnlineButton->EnableWindow(FALSE);
}

void CArticleMainWin::PressButtons()
{
    if (m_pOutlineButton == NULL)
        return;
    m_pOutlineButton->SetDib(m_nOpenPane == ARTICLE_PANE_OUTLINE);
    m_pRelatedButton->SetDib(m_nOpenPane == ARTICLE_PANE_RELATED);
    m_pOnlineButton->SetDib(m_nOpenPane == ARTICLE_PANE_ONLINE);
}

void CArticleMainWin::OnSize(UINT nType, int cx, int cy)
{
    CVLMainWin::OnSize(nType, cx, cy);
    GetClientRect(&m_rcClient);
    m_nScreenClass = GetAppScreenClass();
    ComputeAreas(cx, cy);
    for (CWnd* pPane : {static_cast<CWnd*>(m_pOutline), static_cast<CWnd*>(m_pRelated)})
        if (pPane != NULL && pPane->GetSafeHwnd() != NULL)
            pPane->MoveWindow(&m_rcSidePane, TRUE);
    if (m_pUpdatePopup != NULL && m_pUpdatePopup->GetSafeHwnd() != NULL)
        m_pUpdatePopup->MoveWindow(&m_rcLowerPane, TRUE);
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->MoveWindow(&m_rcText, TRUE);
    if (m_pFilmStrip != NULL && m_pFilmStrip->GetSafeHwnd() != NULL)
        m_pFilmStrip->SetWindowPos(NULL, m_rcFilmStrip.left, m_rcFilmStrip.top, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceButtons();
}

void CArticleMainWin::OnDestroy()
{
    auto destroy = [](auto*& pWnd) {
        if (pWnd == NULL)
            return;
        if (pWnd->GetSafeHwnd() != NULL)
            pWnd->DestroyWindow();
        delete pWnd;
        pWnd = NULL;
    };
    destroy(m_pFilmStrip);
    destroy(m_pOutline);
    destroy(m_pRelated);
    destroy(m_pUpdatePopup);
    destroy(m_pPage);
    delete m_pRecent;
    m_pRecent = NULL;
    delete m_pDocument;
    m_pDocument = NULL;
    destroy(m_pOutlineButton);
    destroy(m_pRelatedButton);
    destroy(m_pOnlineButton);
    CVLMainWin::OnDestroy();
}

// ---- messages to the frame ----

void CArticleMainWin::PostToParent(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL || !pParent->PostMessage(nMessage, wParam, lParam))
        DeleteCarriedObject(lParam);
}

void CArticleMainWin::PostToTop(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CWnd* pTop = GetTopLevelParent();
    if (pTop != NULL)
        pTop->PostMessage(nMessage, wParam, lParam);
}

void CArticleMainWin::PostRecentTitles()
{
    if (m_pRecent == NULL)
        return;
    auto* pTitles = new CStringArray;
    for (int i = m_pRecent->GetCount() - 1; i >= 0; --i)
        pTitles->Add(m_pRecent->GetAtIndex(i)->GetTitle());
    CWnd* pParent = GetParent();
    if (pParent == NULL || !pParent->PostMessage(VLM_RECENT_ARTICLES, pTitles->GetSize(), reinterpret_cast<LPARAM>(pTitles)))
        delete pTitles;
}

void CArticleMainWin::BringViewUp()
{
    CVLMainWin::ShowMainWindow(IDW_ARTICLE, 0);
}

// ---- showing articles ----

BOOL CArticleMainWin::IsFirstHitInTable(CReference* pReference) const
{
    CHitList* pHits = pReference != NULL ? DYNAMIC_DOWNCAST(CHitList, pReference->GetData()) : NULL;
    if (pHits == NULL || pHits->GetCount() == 0)
        return FALSE;
    return pHits->GetFirst()->GetSection() >= kTableSectionBase;
}

void CArticleMainWin::ClosePagePopups()
{
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->ClosePopup();
}

LRESULT CArticleMainWin::OnOpenArticle(WPARAM wParam, LPARAM lParam)
{
    CReference* pReference = DYNAMIC_DOWNCAST(CReference, reinterpret_cast<CObject*>(lParam));
    if (pReference == NULL) {
        DeleteCarriedObject(lParam);
        return 0;
    }
    ShowArticle(static_cast<int>(wParam), pReference);
    return 0;
}

LRESULT CArticleMainWin::OnOpenFound(WPARAM, LPARAM lParam)
{
    CReference* pReference = DYNAMIC_DOWNCAST(CReference, reinterpret_cast<CObject*>(lParam));
    if (pReference == NULL)
        DeleteCarriedObject(lParam);
    else
        ShowFoundArticle(pReference);
    return 1;
}

LRESULT CArticleMainWin::OnOpenNoted(WPARAM, LPARAM lParam)
{
    CReference* pReference = DYNAMIC_DOWNCAST(CReference, reinterpret_cast<CObject*>(lParam));
    if (pReference == NULL)
        DeleteCarriedObject(lParam);
    else
        ShowArticle(2, pReference);
    return 1;
}

LRESULT CArticleMainWin::OnDataLocation(WPARAM, LPARAM lParam)
{
    return DataLocationOfCarriedObject(lParam);
}

void CArticleMainWin::ShowArticle(int nMode, CReference* pReference)
{
    if (pReference == NULL)
        return;
    ClosePagePopups();
    m_bShownByRequest = FALSE;
    if (m_bOpening) {
        delete pReference;
        return;
    }
    if (nMode == 1) {
        m_bShownByRequest = TRUE;
        if (m_pDocument == NULL || m_pDocument->GetReference() == NULL) {
            delete pReference;
            return;
        }
        m_pDocument->SetReference(pReference);
        if (m_pPage != NULL) {
            m_pPage->RestartLayout(TRUE);
            m_pPage->Invalidate();
        }
        return;
    }
    if (nMode != 2 && m_pDocument != NULL && m_pDocument->IsLoaded() && m_pDocument->GetReference() != NULL &&
        m_pDocument->GetReference()->GetNumber() == pReference->GetNumber() && !IsFirstHitInTable(pReference)) {
        delete pReference;
        BringViewUp();
        RefreshPanes(TRUE);
        return;
    }
    LoadArticle(pReference, FALSE, FALSE, TRUE);
}

void CArticleMainWin::ShowFoundArticle(CReference* pReference)
{
    if (pReference == NULL)
        return;
    if (m_bOpening || !(pReference->GetKind() & (REFKIND_ARTICLE | REFKIND_ARTICLE2))) {
        delete pReference;
        return;
    }
    ClosePagePopups();
    m_bShownByRequest = FALSE;
    LoadArticle(pReference, TRUE, FALSE, FALSE);
}

void CArticleMainWin::ShowHistoryArticle(CReference* pReference)
{
    if (pReference == NULL)
        return;
    if (m_bOpening) {
        delete pReference;
        return;
    }
    ClosePagePopups();
    m_bShownByRequest = FALSE;
    LoadArticle(pReference, FALSE, TRUE, FALSE);
}

BOOL CArticleMainWin::OpenDocument(CReference* pReference)
{
    delete m_pDocument;
    m_pDocument = new CArticleDocument;
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->ShowDocument(NULL);
    CWaitCursor wait;
    CRecoverableRead recover;
    m_bOpening = TRUE;
    BOOL bOpened = FALSE;
    try {
        bOpened = m_pDocument->Open(pReference);
    } catch (const ArticleUnreadable&) {
        bOpened = FALSE;
    } catch (CException* e) {
        e->Delete();
        bOpened = FALSE;
    }
    m_bOpening = FALSE;
    return bOpened;
}

BOOL CArticleMainWin::LoadArticle(CReference* pReference, BOOL bFound, BOOL bHistory, BOOL bResolveFolder)
{
    // An online article not yet downloaded is fetched first.
    if ((pReference->GetKind() & REFKIND_ARTICLE) && !pReference->IsFileAvailable() &&
        !GetAppHost().OpenOnlineResource(pReference, 1)) {
        delete pReference;
        return FALSE;
    }
    if (bResolveFolder) {
        CString strFolder;
        BOOL bResolved = FALSE;
        {
            CWaitCursor wait;
            try {
                bResolved = pReference->GetDataFolder(strFolder, TRUE);
            } catch (CException* e) {
                e->Delete();
            }
        }
        if (!bResolved || pReference->GetFilePath().GetLength() < 6) {
            delete pReference;
            return FALSE;
        }
    }
    if (m_pPage != NULL)
        m_pPage->EnableWindow(FALSE);
    GetAppHost().CollapseToolkit();

    std::unique_ptr<CReference> pPrevious;
    if (m_pDocument != NULL && m_pDocument->IsLoaded() && m_pDocument->GetReference() != NULL)
        pPrevious.reset(m_pDocument->GetReference()->Clone());

    if (!OpenDocument(pReference)) {
        // The previous article goes back. With none shown before there is nothing to restore
        // (trying another article would only repeat the reader's message).
        if (pPrevious == nullptr || !OpenDocument(pPrevious.release())) {
            delete m_pDocument;
            m_pDocument = new CArticleDocument;
        }
        if (m_pPage != NULL) {
            m_pPage->EnableWindow(TRUE);
            m_pPage->ShowDocument(m_pDocument->IsLoaded() ? m_pDocument : NULL);
        }
        FillPanes();
        Invalidate();
        return FALSE;
    }
    pPrevious.reset();

    if (m_pPage != NULL) {
        m_pPage->ShowDocument(m_pDocument);
        if (m_pPage->IsHighlighterOn())
            m_pPage->ToggleHighlighter();
    }
    EnableArticleTools();
    if (m_pPage != NULL)
        m_pPage->EnableWindow(TRUE);
    FillPanes();
    if (!bFound && !bHistory && m_nOpenPane != ARTICLE_PANE_NONE && m_nOpenPane != ARTICLE_PANE_OUTLINE)
        ToggleOutline();
    else if (m_nOpenPane == ARTICLE_PANE_NONE && m_pPage != NULL && IsWindowVisible())
        m_pPage->SetFocus();

    if (bFound)
        PostToTop(VLM_SHOW_SEARCH_PANE, 0, 0);

    CReference* pShown = m_pDocument->GetReference();
    const WORD wFirstHit = m_pDocument->GetFirstHitSection();
    if (wFirstHit < kTableSectionBase) {
        if (!bHistory)
            PostToParent(VLM_PUSH_STATE, 0, reinterpret_cast<LPARAM>(new CArticleStateObj(pShown->Clone())));
        BringViewUp();
        if (SaveRecentArticles())
            PostRecentTitles();
    } else {
        // A step through the history brings the table back with the history's own entry: a
        // new one would stand twice on the back list and clear the forward list.
        ShowTableOfArticle(bHistory ? 1 : 0, wFirstHit - kTableSectionBase);
    }
    RefreshPanes(TRUE);
    return TRUE;
}

void CArticleMainWin::FillPanes()
{
    if (m_pFilmStrip != NULL && m_pFilmStrip->GetSafeHwnd() != NULL) {
        m_pFilmStrip->StopRolling();
        m_pFilmStrip->ShowWindow(SW_HIDE);
        m_pFilmStrip->LoadMedia(m_pDocument != NULL && m_pDocument->IsLoaded() ? m_pDocument : NULL);
    }
    if (m_pOutline != NULL && m_pOutline->GetSafeHwnd() != NULL) {
        m_pOutline->LoadOutline(m_pDocument);
        m_pOutline->Invalidate();
    }
    if (m_pRelated != NULL && m_pRelated->GetSafeHwnd() != NULL) {
        m_pRelated->LoadRelated(m_pDocument);
        m_pRelated->Invalidate();
    }
    EnablePaneButtons();
}

LRESULT CArticleMainWin::OnHistoryStep(WPARAM, LPARAM lParam)
{
    CArticleStateObj* pState = DYNAMIC_DOWNCAST(CArticleStateObj, reinterpret_cast<CObject*>(lParam));
    if (pState == NULL || m_bOpening || pState->GetReference() == NULL) {
        DeleteCarriedObject(lParam);
        return 1;
    }
    CReference* pClone = pState->GetReference()->Clone();
    if (pClone == NULL) {
        delete pState;
        return 1;
    }
    if (m_pDocument != NULL && m_pDocument->IsLoaded() && m_pDocument->GetReference() != NULL &&
        m_pDocument->GetReference()->GetNumber() == pClone->GetNumber() && !IsFirstHitInTable(pClone)) {
        delete pClone;
        // The article shown is the history's current entry again (Back from another view).
        PostToParent(VLM_PUSH_STATE, VLM_RESTORE_STATE, reinterpret_cast<LPARAM>(pState));
        BringViewUp();
        RefreshPanes(TRUE);
        return 1;
    }
    if (SaveRecentArticles())
        PostRecentTitles();
    PostToParent(VLM_PUSH_STATE, VLM_RESTORE_STATE, reinterpret_cast<LPARAM>(pState));
    ShowHistoryArticle(pClone);
    return 1;
}

void CArticleMainWin::ShowTableOfArticle(int nOpenFlag, int nTable)
{
    if (m_pDocument == NULL || !m_pDocument->IsLoaded() || m_pDocument->GetTableCount() == 0 || nTable < 0 ||
        nTable >= m_pDocument->GetTableCount())
        return;
    m_pDocument->GetTableEntry(nTable);
    CReference* pReference = m_pDocument->GetReference();
    if (nOpenFlag == 0 && pReference != NULL) {
        auto* pHits = new CHitList;
        pHits->AddHit(CHitPosition(kTableSectionBase + nTable, 0, 0));
        pReference->SetData(pHits);
        m_pDocument->SetReference(pReference);
        LPCSTR lpszTitle = m_pDocument->GetTableTitle(nTable);
        pReference->SetTitle(lpszTitle != NULL ? CString(lpszTitle).Left(63) : CString("Table"));
        PostToParent(VLM_PUSH_STATE, 0, reinterpret_cast<LPARAM>(new CArticleStateObj(pReference->Clone())));
        if (SaveRecentArticles())
            PostRecentTitles();
    }
    PostToTop(VLM_OPEN_WINDOW, IDW_TABLE, reinterpret_cast<LPARAM>(m_pDocument));
}

void CArticleMainWin::ShowContributors(int n)
{
    if (n < 1 || n > 4)
        return;
    ShowArticle(0, new CReference(900000 + n, ""));
}

void CArticleMainWin::ShowMainWindow(UINT nMode, LPARAM)
{
    if (nMode == 1) {
        CheckUpdateArticle();
        if (m_pDocument != NULL && m_pDocument->GetReference() != NULL) {
            if (CReference* pClone = m_pDocument->GetReference()->Clone())
                ShowArticle(2, pClone);
            return;
        }
        // This month's article is not on this computer: the view still comes up (the reader
        // asked for it, and the view left behind would stay lit) and says why it is empty.
        FillPanes();
        BringViewUp();
        Invalidate();
        AfxMessageBox(kNoSpotlightText, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (m_pDocument == NULL)
        return;
    const BOOL bFirst = !g_bShownOnce;
    g_bShownOnce = TRUE;
    if (bFirst) {
        BringViewUp();
        UpdateWindow();
    } else {
        GetAppHost().CollapseToolkit();
    }
    CReference* pShown = m_pDocument->IsLoaded() ? m_pDocument->GetReference() : NULL;
    if (pShown == NULL) {
        if (!bFirst)
            BringViewUp();
        return;
    }
    CReference* pClone = pShown->Clone();
    if (pClone == NULL)
        return;
    if (!bFirst) {
        if (m_pPage != NULL && m_pPage->IsHighlighterOn())
            m_pPage->ToggleHighlighter();
        if (IsFirstHitInTable(pClone))
            pClone->SetData(NULL);
    }
    EnableArticleTools();
    PostToParent(VLM_PUSH_STATE, nMode, reinterpret_cast<LPARAM>(new CArticleStateObj(pClone)));
    if (!bFirst) {
        BringViewUp();
        RefreshPanes(TRUE);
    }
    if (SaveRecentArticles())
        PostRecentTitles();
}

LRESULT CArticleMainWin::OnStartPage(WPARAM, LPARAM lParam)
{
    ShowMainWindow(lParam == 1 ? 1 : 0, lParam);
    return 0;
}

LRESULT CArticleMainWin::OnContributors(WPARAM, LPARAM lParam)
{
    ShowContributors(static_cast<int>(lParam));
    return 0;
}

// ---- recent articles and the update article ----

BOOL CArticleMainWin::LoadRecentArticles()
{
    if (m_pRecent == NULL)
        m_pRecent = new CReferenceList;
    for (int n = kRecentMax; n >= 1; --n) {
        CString strKey;
        strKey.Format("%d", n);
        CString strValue = GetAppProfileString(kRecentSection, strKey, NULL);
        const int nSpace = strValue.Find(' ');
        if (strValue.IsEmpty() || nSpace < 0)
            continue;
        const LONG nRin = atol(strValue.Left(nSpace));
        if (nRin == 0)
            continue;
        auto* pReference = new CReference(nRin, "");
        if (pReference->GetNumber() == 0)
            pReference->SetNumber(nRin);  // not placed (no content index): it keeps its number
        pReference->SetTitle(strValue.Mid(nSpace + 1).Left(127));
        m_pRecent->Append(pReference);
    }
    return 1;
}

BOOL CArticleMainWin::SaveRecentArticles()
{
    if (m_pDocument == NULL || !m_pDocument->IsLoaded() || m_pDocument->GetReference() == NULL || m_pRecent == NULL)
        return 0;
    CReference* pShown = m_pDocument->GetReference();
    for (int i = 0; i < m_pRecent->GetCount(); ++i)
        if (m_pRecent->GetAtIndex(i)->GetNumber() == pShown->GetNumber()) {
            m_pRecent->DeleteAtIndex(i);
            break;
        }
    if (m_pRecent->GetCount() > kRecentMax - 1)
        m_pRecent->DeleteAtIndex(0);
    if (CReference* pClone = pShown->Clone())
        m_pRecent->Append(pClone);

    int n = 1;
    for (int i = m_pRecent->GetCount() - 1; i >= 0 && n <= kRecentMax; --i) {
        CReference* pEntry = m_pRecent->GetAtIndex(i);
        if (pEntry->GetNumber() >= ARTICLE_ONLINE_RIN)
            continue;
        CString strKey, strValue;
        strKey.Format("%d", n++);
        strValue.Format("%d %s", static_cast<int>(pEntry->GetNumber()), static_cast<LPCSTR>(pEntry->GetTitle()));
        WriteAppProfileString(kRecentSection, strKey, strValue);
    }
    for (; n <= kRecentMax; ++n) {
        CString strKey;
        strKey.Format("%d", n);
        WriteAppProfileString(kRecentSection, strKey, "");
    }
    return 1;
}

void CArticleMainWin::OpenRecentArticle(int nPosition)
{
    if (m_pRecent == NULL || m_pRecent->GetCount() == 0)
        return;
    CReference* pEntry = m_pRecent->GetAtIndex(m_pRecent->GetCount() - nPosition - 1);
    if (pEntry == NULL)
        return;
    if (CReference* pClone = pEntry->Clone())
        PostToTop(VLM_OPEN_WINDOW, IDW_ARTICLE, reinterpret_cast<LPARAM>(pClone));
}

LRESULT CArticleMainWin::OnOpenRecent(WPARAM, LPARAM lParam)
{
    OpenRecentArticle(static_cast<int>(lParam));
    return 0;
}

CString CArticleMainWin::UpdateArticleName(const SYSTEMTIME& date)
{
    CString strName;
    strName.Format("yb%01d%02d9%02d", date.wYear / 1000, date.wYear % 100, date.wMonth);
    return strName;
}

void CArticleMainWin::CheckUpdateArticle()
{
    delete m_pDocument;
    m_pDocument = new CArticleDocument;
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->ShowDocument(NULL);
    m_pHandedReference = NULL;

    SYSTEMTIME now;
    GetLocalTime(&now);
    const CString strName = UpdateArticleName(now);
    DWORD nRin = 0;
    try {
        nRin = CRin(strName, FALSE).GetNumber();
    } catch (CException* e) {
        e->Delete();
        return;
    }
    const CString strFolder = GetDownloadDir();
    CString strFile = strName + ".rcv";
    WIN32_FIND_DATA found;
    HANDLE hFind = FindFirstFile(strFolder + strName + ".*", &found);
    const BOOL bFound = hFind != INVALID_HANDLE_VALUE;
    if (bFound) {
        strFile = found.cFileName;
        FindClose(hFind);
    }
    auto* pReference = new COnlineReference(CRin(nRin), strFile);
    pReference->SetKind(REFKIND_ARTICLE);
    m_pHandedReference = pReference;
    // Without this month's file (and nothing that could fetch it) the view starts with no article.
    if (!bFound && !GetAppHost().OpenOnlineResource(pReference, 1)) {
        m_pHandedReference = NULL;
        delete pReference;
        return;
    }
    OpenDocument(pReference);
}

// ---- panes ----

void CArticleMainWin::ShowSidePane(int nPane)
{
    const BOOL bOff = m_nOpenPane == nPane;
    m_nOpenPane = bOff ? ARTICLE_PANE_NONE : nPane;
    for (UINT nId : {IDW_SEARCHPANE, IDW_DICTIONARYPANE})
        if (CWnd* pPane = GetDlgItem(static_cast<int>(nId)))
            pPane->ShowWindow(SW_HIDE);
    if (CWnd* pMain = GetAppMainWnd())
        pMain->SendMessage(VLM_PANE_DOWN, 0, 3);
    if (nPane != ARTICLE_PANE_ONLINE || bOff) {
        if (m_pUpdatePopup != NULL) {
            if (m_pUpdatePopup->GetSafeHwnd() != NULL)
                m_pUpdatePopup->DestroyWindow();
            delete m_pUpdatePopup;
            m_pUpdatePopup = NULL;
        }
    }
    CWnd* pShown = NULL;
    if (m_pOutline != NULL && m_pOutline->GetSafeHwnd() != NULL) {
        m_pOutline->ShowWindow(m_nOpenPane == ARTICLE_PANE_OUTLINE ? SW_SHOW : SW_HIDE);
        if (m_nOpenPane == ARTICLE_PANE_OUTLINE)
            pShown = m_pOutline;
    }
    if (m_pRelated != NULL && m_pRelated->GetSafeHwnd() != NULL) {
        m_pRelated->ShowWindow(m_nOpenPane == ARTICLE_PANE_RELATED ? SW_SHOW : SW_HIDE);
        if (m_nOpenPane == ARTICLE_PANE_RELATED)
            pShown = m_pRelated;
    }
    PressButtons();
    RefreshPanes(TRUE);
    if (pShown != NULL) {
        pShown->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        pShown->SetFocus();
    } else if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL) {
        m_pPage->SetFocus();
    }
}

void CArticleMainWin::ToggleOutline()
{
    ShowSidePane(ARTICLE_PANE_OUTLINE);
}

void CArticleMainWin::ToggleRelated()
{
    ShowSidePane(ARTICLE_PANE_RELATED);
}

void CArticleMainWin::ToggleOnlineExtras()
{
    // The online extras pane is the online services' own; only closing what is open applies here.
    if (m_nOpenPane == ARTICLE_PANE_ONLINE)
        ShowSidePane(ARTICLE_PANE_ONLINE);
}

void CArticleMainWin::OnToggleOutline()
{
    ToggleOutline();
}

void CArticleMainWin::OnToggleRelated()
{
    ToggleRelated();
}

void CArticleMainWin::OnToggleOnlineExtras()
{
    ToggleOnlineExtras();
}

void CArticleMainWin::OnSidePaneClosed()
{
    m_nOpenPane = ARTICLE_PANE_NONE;
    PressButtons();
    Invalidate();
    SetFocus();
}

void CArticleMainWin::HidePanes()
{
    m_nOpenPane = ARTICLE_PANE_NONE;
    if (m_pOutline != NULL && m_pOutline->GetSafeHwnd() != NULL)
        m_pOutline->ShowWindow(SW_HIDE);
    if (m_pRelated != NULL && m_pRelated->GetSafeHwnd() != NULL)
        m_pRelated->ShowWindow(SW_HIDE);
    PressButtons();
    if (m_pUpdatePopup != NULL) {
        if (m_pUpdatePopup->GetSafeHwnd() != NULL)
            m_pUpdatePopup->DestroyWindow();
        delete m_pUpdatePopup;
        m_pUpdatePopup = NULL;
    }
    Invalidate();
}

LRESULT CArticleMainWin::OnHidePanes(WPARAM, LPARAM)
{
    HidePanes();
    return 0;
}

void CArticleMainWin::RefreshPanes(BOOL bRedraw)
{
    if (m_pOutline == NULL || m_pRelated == NULL || m_pPage == NULL || GetSafeHwnd() == NULL)
        return;
    if (bRedraw) {
        for (CGenericTabWin* pPane : {static_cast<CGenericTabWin*>(m_pOutline), static_cast<CGenericTabWin*>(m_pRelated),
                                      static_cast<CGenericTabWin*>(m_pUpdatePopup)})
            if (pPane != NULL && pPane->GetSafeHwnd() != NULL && pPane->IsWindowVisible()) {
                pPane->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                pPane->RedrawCaption();
            }
        for (UINT nId : {IDW_SEARCHPANE, IDW_DICTIONARYPANE})
            if (CWnd* pPane = GetDlgItem(static_cast<int>(nId)))
                if (pPane->IsWindowVisible()) {
                    pPane->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                    if (auto* pTab = DYNAMIC_DOWNCAST(CGenericTabWin, pPane))
                        pTab->RedrawCaption();
                }
    }
    CRect rcBand = GetTitleBand();
    rcBand.left = 255;
    InvalidateRect(&rcBand, FALSE);
    UpdateWindow();
}

LRESULT CArticleMainWin::OnPaneNotify(WPARAM wParam, LPARAM lParam)
{
    // Kind 2 names an item of the online extras list, which the online services fill; without
    // that pane there is no such item.
    if (wParam == 2)
        return 0;
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->GoToItem(static_cast<int>(wParam), static_cast<int>(lParam));
    return 0;
}

LRESULT CArticleMainWin::OnPaneSection(WPARAM, LPARAM lParam)
{
    if (m_pOutline != NULL && m_pOutline->GetSafeHwnd() != NULL)
        m_pOutline->SelectSection(static_cast<int>(lParam));
    return 0;
}

LRESULT CArticleMainWin::OnPaneTable(WPARAM wParam, LPARAM lParam)
{
    ShowTableOfArticle(static_cast<int>(wParam), static_cast<int>(lParam));
    return 0;
}

LRESULT CArticleMainWin::OnPaneSound(WPARAM, LPARAM lParam)
{
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->PlaySoundLine(static_cast<DWORD>(lParam), -1);
    return 0;
}

LRESULT CArticleMainWin::OnPaneExtra(WPARAM, LPARAM lParam)
{
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL && lParam >= 0 && lParam < 20)
        m_pPage->OpenTimeline(static_cast<int>(lParam));
    return 0;
}

LRESULT CArticleMainWin::OnPageFocus(WPARAM, LPARAM)
{
    RefreshPanes(FALSE);
    return 0;
}

// ---- commands the frame forwards ----

LRESULT CArticleMainWin::OnHighlighter(WPARAM, LPARAM)
{
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->ToggleHighlighter();
    return 0;
}

LRESULT CArticleMainWin::OnFindNext(WPARAM, LPARAM)
{
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->FindNext();
    return 0;
}

LRESULT CArticleMainWin::OnStickyDeleted(WPARAM wParam, LPARAM lParam)
{
    // A note deleted from the frame's Sticky List: the page shows its article's notes again.
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->SendMessage(VLM_STICKY_DELETED, wParam, lParam);
    return 0;
}

LRESULT CArticleMainWin::OnStickyNote(WPARAM, LPARAM)
{
    // Online articles take no notes.
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL && GetDiscArticleRin() != 0)
        m_pPage->AddStickyNote();
    return 0;
}

LRESULT CArticleMainWin::OnClearHighlights(WPARAM, LPARAM)
{
    if (HasHighlights())
        m_pPage->ClearArticleHighlights();
    return 0;
}

LRESULT CArticleMainWin::OnClearAllHighlights(WPARAM, LPARAM)
{
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->ClearAllHighlights();
    return 0;
}

LRESULT CArticleMainWin::OnFontSize(WPARAM, LPARAM lParam)
{
    if (lParam < 0 || lParam > 2)
        return 0;
    m_nFontSize = static_cast<int>(lParam);
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL) {
        m_pPage->SetTextSize(m_nFontSize);
        m_pPage->RestartLayout(FALSE);
        m_pPage->Invalidate();
    }
    return 0;
}

LRESULT CArticleMainWin::OnSelectAll(WPARAM, LPARAM)
{
    OnEditSelectAll();
    return 0;
}

void CArticleMainWin::OnEditSelectAll()
{
    if (m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL)
        m_pPage->SelectAll();
}

void CArticleMainWin::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsPageFocused());
}

LRESULT CArticleMainWin::OnStop(WPARAM, LPARAM)
{
    ClosePagePopups();
    if (m_pFilmStrip != NULL)
        m_pFilmStrip->StopRolling();
    return 0;
}

void CArticleMainWin::OnActivateMainWin(BOOL bActive)
{
    if (m_pDocument == NULL || m_pDocument->GetReference() == NULL)
        return;
    if (bActive) {
        CVLMainWin::OnActivateMainWin(TRUE);
        if (CWnd* pMain = GetAppMainWnd())
            pMain->PostMessage(VLM_STATUS_TEXT, 0, 0);
        UpdateWindow();
    } else {
        ClosePagePopups();
        CVLMainWin::OnActivateMainWin(FALSE);
    }
}

BOOL CArticleMainWin::OnIdle(LONG lCount)
{
    if (m_pPage == NULL || m_pPage->GetSafeHwnd() == NULL)
        return 0;
    return m_pPage->OnIdle(lCount);
}

void CArticleMainWin::OnSetFocus(CWnd* pOldWnd)
{
    CVLMainWin::OnSetFocus(pOldWnd);
}

// ---- painting, printing, copying, saving ----

UINT CArticleMainWin::BackgroundBitmapId(LONG nCategory)
{
    switch (nCategory) {
    case 0: return 224;
    case 1: return 221;
    case 3: return 225;
    case 7: return 226;
    case 31: return 231;
    case 63: return 232;
    case 127: return 233;
    default: return 228;
    }
}

int CArticleMainWin::FitTitleHeight(CDC* pDC, const CString& strTitle, const CRect& rcBand, int& nDrop)
{
    const BOOL bOneWord = strTitle.Find(' ') < 0;
    int nHeight = 32;
    nDrop = 0;
    for (;;) {
        CFont font;
        font.CreateFont(-nHeight, 0, 0, 0, 600, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Times New Roman");
        CFont* pOld = pDC->SelectObject(&font);
        BOOL bFits;
        int nUsed;
        if (bOneWord) {
            CSize size = pDC->GetTextExtent(strTitle);
            bFits = size.cx <= rcBand.Width();
            nUsed = size.cy;
        } else {
            CRect rcCalc(0, 0, rcBand.Width(), 0);
            nUsed = pDC->DrawText(strTitle, &rcCalc, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
            bFits = nUsed <= rcBand.Height() && rcCalc.Width() <= rcBand.Width();
        }
        pDC->SelectObject(pOld);
        if (bFits || nHeight - 4 < 15) {
            if (!bOneWord && nUsed < rcBand.Height())
                nDrop = rcBand.Height() - nUsed;
            return nHeight;
        }
        nHeight -= 4;
    }
}

BOOL CArticleMainWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CArticleMainWin::OnPaint()
{
    CPaintDC dc(this);
    CPalettePaintDC palette(&dc, TRUE);
    CRect client;
    GetClientRect(&client);

    CReference* pShown = m_pDocument != NULL ? m_pDocument->GetReference() : NULL;
    CDib background(BackgroundBitmapId(pShown != NULL ? pShown->GetCategory() : 0));
    if (background.GetInfoHeader() != NULL)
        background.DrawInRect(&dc, client);
    else
        dc.FillSolidRect(&client, PALETTERGB(74, 74, 148));
    PressButtons();

    const CRect rcBand = GetTitleBand();
    dc.FillSolidRect(&rcBand, kBandColor);
    CWnd* pFocus = CWnd::GetFocus();
    if (pFocus == this && m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL) {
        m_pPage->SetFocus();
        pFocus = m_pPage;
    }
    const BOOL bPageFocused =
        m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL && pFocus != NULL && (pFocus == m_pPage || m_pPage->IsChild(pFocus));
    if (m_pDocument == NULL || !m_pDocument->IsLoaded())
        return;
    const CString strTitle = m_pDocument->GetTitle();
    int nDrop = 0;
    const int nHeight = FitTitleHeight(&dc, strTitle, rcBand, nDrop);
    CFont font;
    font.CreateFont(-nHeight, 0, 0, 0, 600, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH, "Times New Roman");
    CFont* pOld = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(bPageFocused ? PALETTERGB(0, 0, 0) : PALETTERGB(128, 128, 128));
    CRect rcText = rcBand;
    rcText.top += nDrop;
    dc.DrawText(strTitle, &rcText, (strTitle.Find(' ') < 0 ? DT_SINGLELINE : DT_WORDBREAK) | DT_NOPREFIX);
    dc.SelectObject(pOld);
}

void CArticleMainWin::OnFilePrint()
{
    PrintSelections();
}

void CArticleMainWin::PrintSelections()
{
    if (m_pPage == NULL || m_pPage->GetSafeHwnd() == NULL)
        return;
    // Choices that cannot print here are switched off; the online extras print from their own
    // pane, the dictionary through its pane when the frame has one.
    UINT nDisabled = 0x02 | 0x04;
    if (m_pRelatedButton == NULL || m_pRelatedButton->GetSafeHwnd() == NULL || !m_pRelatedButton->IsWindowEnabled())
        nDisabled |= 0x10;
    if (!m_pPage->HasSelection())
        nDisabled |= 0x40;
    CWnd* pMain = AfxGetMainWnd();
    CWnd* pSearch = pMain != NULL ? pMain->GetDescendantWindow(8007) : NULL;
    if (pSearch == NULL || pSearch->SendMessage(VLM_HAS_RESULTS, 0, 0) == 0)
        nDisabled |= 0x08;
    CWnd* pDictionary = pMain != NULL ? pMain->GetDescendantWindow(IDW_DICTIONARYPANE) : NULL;
    if (pDictionary == NULL)
        nDisabled |= 0x01;
    const UINT nChoice = GetAppHost().RunPrintSelection(this, nDisabled);
    if (nChoice == 0 || nChoice == 2)
        return;
    // One Print dialog for everything ticked, at the first printout.
    CPrinterChoice printer(this);
    for (UINT nScope : {0x200u, 0x100u, 0x80u, 0x40u})
        if (nChoice & nScope)
            m_pPage->SendMessage(VLM_PRINT_ARTICLE, 0, static_cast<LPARAM>(nScope));
    if ((nChoice & 0x20) && m_pOutline != NULL)
        m_pOutline->PrintOutline();
    if ((nChoice & 0x10) && m_pRelated != NULL)
        m_pRelated->PrintRelated();
    if ((nChoice & 0x08) && pSearch != NULL)
        pSearch->SendMessage(VLM_PRINT_RESULTS, 0, 0);
    if ((nChoice & 0x01) && pDictionary != NULL)
        pDictionary->SendMessage(VLM_PRINT_RESULTS, 0, 0);
    // Where the printouts went, in the main frame's status bar (which takes the text over).
    CWnd* pTop = GetTopLevelParent();
    if (printer.IsChosen() && pTop != NULL && pTop->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        CString strWhere;
        strWhere.Format("Printed on %s, to %s", static_cast<LPCSTR>(printer.GetPrinterName()),
                        static_cast<LPCSTR>(printer.GetPortName()));
        pTop->SendMessage(VLM_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(new CString(strWhere)));
    }
}

BOOL CArticleMainWin::CanPrint()
{
    return TRUE;
}

void CArticleMainWin::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    BOOL bEnable = m_pPage != NULL && m_pPage->GetSafeHwnd() != NULL && m_pPage->HasSelection();
    if (!bEnable && m_pUpdatePopup != NULL && m_pUpdatePopup->GetSafeHwnd() != NULL && m_pUpdatePopup->IsWindowVisible())
        bEnable = m_pUpdatePopup->CanCopy();
    pCmdUI->Enable(bEnable);
}

void CArticleMainWin::OnEditCopy()
{
    CWnd* pFocus = CWnd::GetFocus();
    if (pFocus == NULL)
        return;
    if (m_pUpdatePopup != NULL && m_pUpdatePopup->GetSafeHwnd() != NULL &&
        (pFocus == m_pUpdatePopup || m_pUpdatePopup->IsChild(pFocus))) {
        if (m_pUpdatePopup->CanCopy())
            m_pUpdatePopup->CopyToClipboard();
        return;
    }
    if (m_pPage == NULL || m_pPage->GetSafeHwnd() == NULL || (pFocus != m_pPage && !m_pPage->IsChild(pFocus)))
        return;
    std::unique_ptr<CString> pText(m_pPage->GetSelectedText(-1));
    if (pText != nullptr && !pText->IsEmpty())
        CopyTextToClipboard(this, *pText);
}

CString CArticleMainWin::AskSaveFileName()
{
    CFileDialog dialog(FALSE, "txt", "article.txt", 0x806, "Text file (*.txt)|*.txt||", this);
    if (dialog.DoModal() != IDOK)
        return CString();
    return dialog.GetPathName();
}

LRESULT CArticleMainWin::OnSaveAsText(WPARAM, LPARAM)
{
    if (m_pDocument == NULL || !m_pDocument->IsLoaded())
        return 0;
    const CString strPath = AskSaveFileName();
    if (strPath.IsEmpty())
        return 0;
    if (!m_pDocument->SaveAsText(strPath))
        AfxMessageBox("Error writing file.  File not saved.");
    return 0;
}
