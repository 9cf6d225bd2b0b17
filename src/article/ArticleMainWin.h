// CArticleMainWin: the main view that shows one article (window id 8001, "Main Article Window").
// It owns the article shown (a CArticleDocument, replaced for every new article) and its panes:
// the page window with the text, the outline and related-articles side panes with the buttons
// that open them, and the pop-up update pane. It takes the frame's requests to show an article
// (VLM_OPEN_WINDOW with a mode, VLM_OPEN_FOUND_ITEM, VLM_OPEN_NOTED_ITEM, VLM_RESTORE_STATE for a
// history step), the panes' notifications (VLM_PANE_ITEM ... VLM_PANE_EXTRA) and the commands the
// frame forwards (copy, save as text, font size, find next, highlighter, select all), hands every
// article it shows to the frame's history as a CArticleStateObj and keeps the five recent disc
// articles in the profile section "ARTICLES".
//
// An article that cannot be read (a missing or damaged archive) fails its open with the reader's
// message, and the view puts the previous article back instead of ending the program.
#pragma once

#include "base/VLMainWin.h"

#include <afxwin.h>

class CArticleDocument;
class CArticleOutlineTabWin;
class CArticlePageWin;
class CMediaFilmStrip;
class CMiniArticleTabWin;
class CReference;
class CReferenceList;
class CRelatedArticlesTabWin;
class CRollOverButton;

// The open side pane.
enum : int {
    ARTICLE_PANE_NONE = -1,
    ARTICLE_PANE_OUTLINE = 0,
    ARTICLE_PANE_RELATED = 1,
    ARTICLE_PANE_ONLINE = 3,
};

// RINs from here on are online items: no sticky notes, not written to the recent list.
const LONG ARTICLE_ONLINE_RIN = 10000000;

class CArticleMainWin : public CVLMainWin {
    DECLARE_DYNAMIC(CArticleMainWin)
public:
    CArticleMainWin();
    ~CArticleMainWin() override;

    // The view as a child of the frame with id 8001.
    BOOL Create(CWnd* pParentWnd, const RECT& rect);

    // ---- what the frame asks ----
    // The RIN of the article shown, 0 when none; the same but 0 for an online article.
    LONG GetArticleRin() const;
    LONG GetDiscArticleRin() const;
    // The page exists, its highlighter is off and it (or a child of it) has the focus.
    BOOL IsPageFocused() const;
    // There is a search hit to find again (the frame's Find Again state).
    BOOL CanFindAgain() const;
    // The article shown has stored highlights (the frame's Clear Article Highlights state).
    BOOL HasHighlights() const;

    // ---- showing articles (the view takes every reference over) ----
    // Mode 0 show, 1 replace the hits of the article shown, 2 show without the same-article
    // short cut.
    void ShowArticle(int nMode, CReference* pReference);
    void ShowFoundArticle(CReference* pReference);
    void ShowHistoryArticle(CReference* pReference);
    void ShowTableOfArticle(int nOpenFlag, int nTable);
    void ShowContributors(int n);
    // The frame's switch to this view: mode 1 the update article, else the article shown.
    void ShowMainWindow(UINT nMode, LPARAM lParam) override;

    // ---- recent articles and the update article ----
    BOOL LoadRecentArticles();
    BOOL SaveRecentArticles();
    void OpenRecentArticle(int nPosition);
    void CheckUpdateArticle();
    // "yb%01d%02d9%02d" of the local date (the update article's RIT text).
    static CString UpdateArticleName(const SYSTEMTIME& date);
    CReferenceList* GetRecentList() const { return m_pRecent; }

    // ---- panes ----
    void ToggleOutline();
    void ToggleRelated();
    void ToggleOnlineExtras();
    void HidePanes();
    void RefreshPanes(BOOL bRedraw);
    // A side pane closed itself: no pane is open, the view takes the focus.
    void OnSidePaneClosed();

    // ---- output ----
    void OnFilePrint() override;
    BOOL CanPrint() override;
    // The print command: the print-selection window's choices, each printed by its pane.
    void PrintSelections();
    void OnEditCopy() override;
    void OnUpdateEditCopy(CCmdUI* pCmdUI) override;
    void OnEditSelectAll() override;
    void OnUpdateEditSelectAll(CCmdUI* pCmdUI) override;
    void OnActivateMainWin(BOOL bActive) override;
    BOOL OnIdle(LONG lCount) override;

    // The title's font height in the band: from 32 down by 4 until it fits (one word on one
    // line, else word-wrapped) or falls below 15; nDrop is what is left of the band's height.
    static int FitTitleHeight(CDC* pDC, const CString& strTitle, const CRect& rcBand, int& nDrop);
    // The background bitmap of a reference category.
    static UINT BackgroundBitmapId(LONG nCategory);

    // ---- parts, for the frame and tests ----
    CArticleDocument* GetDocument() const { return m_pDocument; }
    CArticlePageWin* GetPageWin() const { return m_pPage; }
    CArticleOutlineTabWin* GetOutlinePane() const { return m_pOutline; }
    CRelatedArticlesTabWin* GetRelatedPane() const { return m_pRelated; }
    CMiniArticleTabWin* GetUpdatePopup() const { return m_pUpdatePopup; }
    CMediaFilmStrip* GetFilmStrip() const { return m_pFilmStrip; }
    CRollOverButton* GetOutlineButton() const { return m_pOutlineButton; }
    CRollOverButton* GetRelatedButton() const { return m_pRelatedButton; }
    CRollOverButton* GetOnlineButton() const { return m_pOnlineButton; }
    int GetOpenPane() const { return m_nOpenPane; }
    int GetFontSize() const { return m_nFontSize; }
    const CRect& GetTextRect() const { return m_rcText; }
    const CRect& GetFilmStripRect() const { return m_rcFilmStrip; }
    const CRect& GetSidePaneRect() const { return m_rcSidePane; }
    CRect GetTitleBand() const;

    // First-show state of the program's run (tests, a new run).
    static void ResetSharedState();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnOpenArticle(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenFound(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenNoted(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHistoryStep(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDataLocation(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStartPage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHidePanes(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnContributors(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenRecent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaneNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaneSection(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaneTable(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaneSound(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaneExtra(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPageFocus(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHighlighter(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFindNext(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStickyNote(WPARAM wParam, LPARAM lParam);
    // 0x987 (0, RIN): a note of that article was deleted; the page asks for its notes again.
    afx_msg LRESULT OnStickyDeleted(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClearHighlights(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClearAllHighlights(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFontSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSelectAll(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSaveAsText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStop(WPARAM wParam, LPARAM lParam);
    afx_msg void OnToggleOutline();
    afx_msg void OnToggleRelated();
    afx_msg void OnToggleOnlineExtras();
    DECLARE_MESSAGE_MAP()

    // The file name that the save dialog gives (empty: cancelled).
    CString AskSaveFileName();

private:
    // The Tool Kit's tools for the article shown: all of them, the sticky notes for disc articles.
    void EnableArticleTools();
    // The areas of the screen class for a client size.
    void ComputeAreas(int cx, int cy);
    void CreateButtons();
    void PlaceButtons();
    void EnablePaneButtons();
    void PressButtons();
    // The article load shared by the show operations (steps after the same-article short cut):
    // TRUE when the new article is shown.
    BOOL LoadArticle(CReference* pReference, BOOL bFound, BOOL bHistory, BOOL bResolveFolder);
    // Opens the reference in a new document that replaces the view's; FALSE (the document not
    // loaded) when it cannot be read. The reader's fatal errors come back as FALSE.
    BOOL OpenDocument(CReference* pReference);
    void FillPanes();
    void PostRecentTitles();
    void PostToParent(UINT nMessage, WPARAM wParam, LPARAM lParam);
    void PostToTop(UINT nMessage, WPARAM wParam, LPARAM lParam);
    void BringViewUp();
    BOOL IsFirstHitInTable(CReference* pReference) const;
    void ClosePagePopups();
    void ShowSidePane(int nPane);

    CArticleDocument* m_pDocument = NULL;
    CReference* m_pHandedReference = NULL;
    int m_nOpenPane = ARTICLE_PANE_NONE;
    CRollOverButton* m_pRelatedButton = NULL;
    CRollOverButton* m_pOutlineButton = NULL;
    CRollOverButton* m_pOnlineButton = NULL;
    CArticlePageWin* m_pPage = NULL;
    CArticleOutlineTabWin* m_pOutline = NULL;
    CRelatedArticlesTabWin* m_pRelated = NULL;
    CMiniArticleTabWin* m_pUpdatePopup = NULL;
    CMediaFilmStrip* m_pFilmStrip = NULL;
    int m_nScreenClass = 0;
    CRect m_rcClient;
    CRect m_rcText;
    CRect m_rcSidePane;
    CRect m_rcUpperPane;
    CRect m_rcLowerPane;
    CRect m_rcFilmStrip;
    BOOL m_bShownByRequest = FALSE;
    CReferenceList* m_pRecent = NULL;
    BOOL m_bOpening = FALSE;
    int m_nFontSize = -1;
};
