// CBaseWindow: the program's one top-level frame. It owns the toolbar at its top, the status
// window at its bottom and, between them, one main view at a time (a CVLMainWin) chosen by child
// window id; it creates each view on first use, switches between them, places the search and
// dictionary panes, keeps the back and forward history, remembers its placement in the profile
// file, and routes the messages with which panes and views ask for something to be shown.
//
// Routing: a pane or view posts or sends the frame a message whose wParam names the target view
// and whose lParam carries a heap object (a CReference, a media display reference or another
// view state). The sender gives the object up; the frame either forwards it (the view then owns
// it) or deletes it. Before forwarding VLM_OPEN_WINDOW, VLM_OPEN_FOUND_ITEM, VLM_OPEN_NOTED_ITEM and, for saved states, VLM_RESTORE_SAVED, the
// frame asks the view where the object's data lies (VLM_DATA_LOCATION: disc in the low word, data-folder
// kind in the high word) and resolves that folder, asking the reader for the disc. The one object
// that travels borrowed is the article document of VLM_OPEN_WINDOW for the tables view: it stays
// the article view's whatever happens.
#pragma once

#include "article/TableMainWin.h"
#include "shell/FramePaneDropTarget.h"
#include "explore/JustLookingMainWin.h"
#include "shell/LeastWindows.h"
#include "explore/AtlasMainWin.h"
#include "search/SearchTabWin.h"
#include "shell/VLToolbar.h"
#include "article/ArticleMainWin.h"
#include "article/ClearWin.h"
#include "base/VLMainWin.h"
#include "base/VLStateObj.h"
#include "base/ViewHost.h"
#include "widgets/StatusWin.h"

#include <afxwin.h>

class CMediaResourceMainWin;
class CTimeFrameMainWin;

class CBaseWindow : public CFrameWnd, public CViewHost {
    DECLARE_DYNAMIC(CBaseWindow)
public:
    CBaseWindow();
    ~CBaseWindow() override;

    // The wizard selection window, run modally with the F1 help off meanwhile (VLM_WIZARD_SELECTION, 40044).
    void RunWizardSelection();
    // The word processor this frame started (all zero until then).
    const PROCESS_INFORMATION& GetWordProcessorRecord() const { return m_wordProcessor; }

    // Registers the frame's window class and creates the frame at its stored placement (the
    // profile's [Screen] "left", "top", "right", "bottom"), or centred at its default size.
    BOOL CreateMainFrame();
    // The rectangle creation uses for a stored placement (-1 each: none) on a screen of that size.
    static CRect GetFramePlacement(int nLeft, int nTop, int nRight, int nBottom, int nScreenWidth,
                                   int nScreenHeight);
    // The layout class of a client width: above 950 is 2, 700 to 948 is 1, below 700 is 0; 949
    // and 950 keep the previous class.
    static int LayoutClassOfWidth(int cx, int nPrevious);

    // Switches to the view with that id, creating it when needed; TRUE when it switched.
    BOOL ShowMainWindow(UINT nID, BOOL bKeepPanes) override;
    // The view factory: the new view, or NULL (disc not found, creation failed, unknown id).
    CVLMainWin* CreateMainWindow(UINT nID);
    // The pane factory (8007 search, 8008 dictionary): the pane, also when its creation failed.
    CWnd* CreateTabWindow(UINT nID);
    // Lays out the toolbar and gives the view area between it and the status window.
    void GetViewRect(CRect& rect);
    // Places a pane at (10, 10) in the view, as high as the view less 20.
    void PlaceTabWindow(CWnd* pView, CWnd* pPane);
    // Hides both panes, gives the clear window that colour and shows it; FALSE without one.
    BOOL ShowClearWindow(COLORREF crColor);
    // The frame's idle step: nothing, no more idle time wanted.
    BOOL OnIdle(LONG lCount);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    CVLMainWin* GetCurrentMainWin() const { return m_pCurrentView; }
    // The tables view (8004), NULL until it was first shown.
    CTableMainWin* GetTableWin() const { return m_pTableView; }
    CSearchTabWin* GetSearchTabWin() const { return m_pSearchPane; }
    CDictionaryTabWin* GetDictionaryTabWin() const { return m_pDictionaryPane; }
    CVLToolbar& GetToolbar() { return m_wndToolbar; }
    // The Tool Kit panel (NULL before the toolbar is made).
    CToolkit* GetToolkit() const { return m_wndToolbar.GetToolkit(); }
    CStatusWin& GetStatusWin() { return m_wndStatus; }
    CVLStateList& GetBackList() { return m_backList; }
    CVLStateList& GetForwardList() { return m_forwardList; }
    int GetLayoutClass() const { return m_nLayoutClass; }
    int GetMainMenuFlag() const { return m_nMainMenuFlag; }

    // The child view with that id, created through the factory when there is none; NULL when
    // it cannot be had.
    CWnd* FindOrCreateView(UINT nID);
    // Finds or creates the view, asks it (VLM_DATA_LOCATION, the object lent meanwhile) where the object's
    // data lies and resolves that folder with a disc prompt; TRUE when found.
    BOOL PrepareViewData(UINT nID, LPARAM lParam);
    // Resolves a data-folder kind on a disc with a prompt; FALSE when the reader cancels or the
    // disc cannot be served (the failure is reported).
    static BOOL ResolveDataLocation(int nKind, int nDisc);
    // Opens view N: find or create it, check the data location with no object, and send it
    // VLM_START_PAGE (N, value). FALSE when any step fails.
    BOOL OpenView(UINT nID, LPARAM nValue);

    // Commands 40014 and 40015.
    void ShowSearchPane();
    void ShowDictionaryPane();
    // Opens the search pane and has it search for the text (words dropped on it or on the
    // toolbar's Search button).
    void SearchForText(const CString& strText);
    // Opens the dictionary pane at the word (words dropped on it, on the toolbar's Dictionary
    // button, or double-clicked in a mini-article box).
    void LookUpWord(const CString& strWord);

    // What every frame of the run shares (mouse hook, pane memory of the article view, the
    // once-only flags of the font size and the first pane placings, the menu-bar click), back
    // to the values a run starts with.
    static void ResetSharedState();
    // The mouse hook over the menu bar: a pointer moving over a menu-bar item opens it, except
    // over the item just clicked.
    static LRESULT CALLBACK FrameMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);

    // Every help request of the frame ends here: under the help rules (F1 help on, no start-up
    // main menu showing) the application's help (the host's ShowHelp), else the class
    // library's help on the application's help file; a message box says when that file is not
    // there.
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnClose();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    afx_msg LRESULT OnOpenWindow(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenFoundItem(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPostToWindow(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPassToView(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPushState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRestoreState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRefreshTools(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStatusText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnToolbarPaneDown(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnToolbarStopOff(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowSearchPane(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowDictionaryPane(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMainMenuChoice(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRecentArticles(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNothing(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitCloud(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWizardSelection(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStartCompanion(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTimelineViewer(WPARAM wParam, LPARAM lParam);

    afx_msg void OnViewArticle();
    afx_msg void OnViewJustLooking();
    afx_msg void OnViewAtlas();
    // 40013: back to the media view when it exists and another view is on screen.
    afx_msg void OnViewMedia();
    afx_msg void OnViewTimeFrame();
    afx_msg void OnViewVLPlus();
    afx_msg void OnShowSearchCommand();
    afx_msg void OnShowDictionaryCommand();
    afx_msg void OnBack();
    afx_msg void OnForward();
    afx_msg void OnHistory();
    afx_msg void OnHelpTopics();
    afx_msg void OnWizards();
    afx_msg void OnSurfJubilee();
    afx_msg void OnNotepad();
    afx_msg void OnWordProcessor();
    afx_msg void OnUpdateWordProcessor(CCmdUI* pCmdUI);
    afx_msg void OnFileSaveAs();
    afx_msg void OnUpdateFileSaveAs(CCmdUI* pCmdUI);
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintSetup();
    afx_msg void OnUpdateFilePrint(CCmdUI* pCmdUI);
    afx_msg void OnFileExit();
    afx_msg void OnClearAllHighlights();
    // Tools > Sticky List: the list of every sticky note.
    afx_msg void OnStickyList();
    afx_msg void OnMonthlySpotlight();
    afx_msg void OnFontSize(UINT nID);
    afx_msg void OnRecentArticle(UINT nID);
    afx_msg void OnContributors(UINT nID);
    afx_msg void OnOptions();
    // The About window over the article view (opened at its start page first).
    afx_msg void OnAbout();
    afx_msg void OnUpdateOptions(CCmdUI* pCmdUI);
    // Edit > Copy: the dictionary pane's copy while it holds the focus, else the current view's.
    afx_msg void OnEditCopy();
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    // Edit > Select all: the article view's page, else the current view's own.
    afx_msg void OnEditSelectAll();
    afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    // Edit > Find next: the article view finds the last text again.
    afx_msg void OnFindInArticle();
    afx_msg void OnUpdateFindInArticle(CCmdUI* pCmdUI);
    afx_msg void OnFindNext();
    afx_msg void OnUpdateFindNext(CCmdUI* pCmdUI);
    // Tools > Clear article highlights: the article view's highlights of the article shown.
    afx_msg void OnClearArticleHighlights();
    afx_msg void OnUpdateClearArticleHighlights(CCmdUI* pCmdUI);
    // Online services switched on or off (9013; no menu item of the frame's menu sends it).
    afx_msg void OnToggleOnlineServices();
    afx_msg void OnUpdateToggleOnlineServices(CCmdUI* pCmdUI);
    // The online manager's commands: Connect (9011), Disconnect (9012), Configure (9014), the
    // message centre (9050) and the downloaded files (40022).
    afx_msg void OnOnlineConnect();
    afx_msg void OnUpdateOnlineConnect(CCmdUI* pCmdUI);
    afx_msg void OnOnlineDisconnect();
    afx_msg void OnUpdateOnlineDisconnect(CCmdUI* pCmdUI);
    afx_msg void OnOnlineConfigure();
    afx_msg void OnMessageCentre();
    afx_msg void OnDownloadDirectory();
    DECLARE_MESSAGE_MAP()

private:
    // Shows the search (1) or dictionary (2) pane over the current view.
    BOOL ShowPane(int nPane);
    // Back and Forward step 3: the media view's popup goes.
    void CloseMediaPopup();
    // Sends the view found or created for a state VLM_RESTORE_STATE once its data location is found; FALSE
    // (nothing sent) when the view or the disc cannot be had.
    BOOL SendStateToView(CVLStateObj* pState);
    // The font size stored in the profile is applied once per run at the first article view.
    void ApplyStoredFontSize(CWnd* pArticleView);
    // Sends WM_COMMAND with the command and its parameter, then clears the main-menu flag.
    void SendMainMenuCommand(UINT nCommand, WORD nParam = 0);
    void HidePanes();
    // Whether the help may open now (F1 help on, no start-up main menu showing).
    static BOOL HelpAllowed();

    // Whether the dictionary pane is shown and the focus is in it.
    BOOL DictionaryPaneHasFocus() const;
    // The article view is the view on screen.
    BOOL IsArticleCurrent() const;
    // Find's state: the article view is current and shows an article of the disc.
    BOOL CanFindInArticle() const;

    void SetCurrentView(CVLMainWin* pView);
    // Paints the frame's window rectangle in the desktop colour and hides the frame (closing).
    void PaintOverAndHide();

    CVLToolbar m_wndToolbar;
    CStatusWin m_wndStatus;
    CVLMainWin* m_pCurrentView = NULL;
    CArticleMainWin* m_pArticleView = NULL;
    CClearWin* m_pClearView = NULL;
    CTableMainWin* m_pTableView = NULL;
    CMediaResourceMainWin* m_pMediaView = NULL;
    CJustLookingMainWin* m_pJustLookingView = NULL;
    CAtlasMainWin* m_pAtlasView = NULL;
    CTimeFrameMainWin* m_pTimeFrameView = NULL;
    CVLPlusMainWin* m_pVLPlusView = NULL;
    CSearchTabWin* m_pSearchPane = NULL;
    CDictionaryTabWin* m_pDictionaryPane = NULL;
    // The two panes as places where words may be dropped.
    CFramePaneDropTarget m_searchDrop{*this, 1};
    CFramePaneDropTarget m_dictionaryDrop{*this, 2};
    CVLStateList m_backList;
    CVLStateList m_forwardList;
    int m_nLayoutClass;
    int m_nMainMenuFlag = 0;
    BOOL m_bFirstShow = TRUE;
    // The window that had the focus when the frame lost activation over the article view.
    HWND m_hWndFocusSaved = NULL;
    // The word processor's process, started by command 40047.
    PROCESS_INFORMATION m_wordProcessor{};
};

// The frame's timer that closes it after the main menu's Exit-by-frame choice (9004).
#define IDT_FRAME_CLOSE 128
