// CJustLookingMainWin: the random browsing view (window 8002, "Dada Vaveroz"). A drawn device in
// the middle of the view carries "Random", "Clear" and three drop-down captions: the category,
// the content type and "FIND". Around the device 8, 12 or 20 thumbnail slots (by the client size)
// show the result list. "Random" fills them with a random pick of the items of the chosen category
// and content: the statistics table gives how many items the combination has (K), and a window of
// N consecutive random ordinals of that combination, shuffled once more, becomes the list. "FIND"
// opens a searchable list of every item (or of those the filters let through) whose picks go into
// the slots one by one. A thumbnail opens its item by kind: the atlas, the article view, the media
// view with every shown item as its list, or the timeline viewer. Each change of the list or the
// filters is a step of the frame's history (CJustLookingStateObj), and a step restores the view.
#pragma once

#include "base/VLMainWin.h"
#include "explore/JustLookingResult.h"

#include <afxwin.h>

#include <vector>

class CJustLookingChoiceWnd;
class CJustLookingEditListSearch;
class CJustLookingListContainer;
class CJustLookingListWin;
class CJustLookingRandomSet;
class CJustLookingShowListBox;
class CJustLookingStateObj;
class CJustLookingStatsSet;
class CReference;
class CRollOverButton;
class CDibButton;
class CThumbnail;

// Control ids of the view's own controls (the lists' ids are the FIND list's header's).
#define IDC_JL_RANDOM 14000
#define IDC_JL_CONTENT_ALT 14001
#define IDC_JL_CATEGORY_ALT 14002
#define IDC_JL_SEARCHEDIT 14006
#define IDC_JL_CLEAR 14008
#define IDC_JL_FINDCHOICE 14009
#define IDC_JL_CATEGORYCHOICE 14010
#define IDC_JL_CONTENTCHOICE 14011
#define IDT_JL_TYPEAHEAD 14012
#define IDC_JL_CLOSE 14013
#define IDC_JL_CLOSEWINDOW 14014

// The view's pictures: its ground, the device, the buttons' normal, pressed and roll-over faces.
#define JL_BITMAP_GROUND 227
#define JL_BITMAP_DEVICE 459
#define JL_BITMAP_RANDOM 458
#define JL_BITMAP_RANDOM_PRESSED 456
#define JL_BITMAP_RANDOM_HOVER 457
#define JL_BITMAP_CLEAR 455
#define JL_BITMAP_CLEAR_PRESSED 453
#define JL_BITMAP_CLEAR_HOVER 454
#define JL_BITMAP_CLOSE 595

#define JL_DEVICE_WIDTH 310
#define JL_DEVICE_HEIGHT 118
#define JL_MAX_SLOTS 20
#define JL_TYPEAHEAD_DELAY 300
#define JL_SEARCH_LIMIT 100

#define JL_NO_RANDOM_LIST "Unable to create Random List for the selected filter\nPlease Try Another Combination"
#define JL_NO_FIND_ROWS "There are no items in the data base which meet the filtered criteria"
#define JL_BAD_MEDIA "Bad Media Type in Topic "
#define JL_NO_PRINT "Print not implemented for the Dada Vaveroz Window"
#define JL_UPDATE_MESSAGE "VLWM:UPDATE FLAGFILE"

class CJustLookingMainWin : public CVLMainWin {
public:
    CJustLookingMainWin();
    ~CJustLookingMainWin() override;
    CJustLookingMainWin(const CJustLookingMainWin&) = delete;
    CJustLookingMainWin& operator=(const CJustLookingMainWin&) = delete;

    // The window "JustLookingMainWIndow" with id 8002.
    BOOL Create(const RECT& rect, CWnd* pParentWnd);

    void OnFilePrint() override;
    void OnActivateMainWin(BOOL bActive) override;
    BOOL OnIdle(LONG lCount) override;
    // Hands the state to the history, brings the view up and sets the Tool Kit for it.
    void ShowMainWindow(UINT nID, LPARAM lParam) override;

    // ---- what the controls do (also reachable by their messages) ----
    // "Random": a random list of the current filters; FALSE (after the message) when the
    // combination has no items or its tables cannot be read, the list then unchanged.
    BOOL MakeRandomList();
    // "Clear": no results, no thumbnails; the next FIND pick goes to slot 0.
    void ClearList();
    // "FIND": shows the FIND panel, or says that the filters leave no items.
    void OpenFindPanel();
    void CloseFindPanel();
    // A filter pick: a category index (0-8) or a content index (0-12).
    void PickCategory(int nCategory);
    void PickContent(int nContent);
    // A FIND pick: the 1-based row of the FIND list now shown.
    void PickFindRow(long nRow);
    // Runs the type-ahead search over the FIND list with the edit's text.
    void RunSearch();

    // ---- layout ----
    // Thumbnail slots for a client size: 8 below 640 x 400, 12 below 800 x 600, else 20.
    static int ListSizeFor(int cx, int cy);
    // The top-left point of a slot of a list size in a client area of that size.
    static CPoint SlotPosition(int nListSize, int nSlot, int cx, int cy);
    // The first ordinal of a random window of nSize among nCount ordinals: 0 .. nCount - nSize,
    // each reachable (two draws of rand() when one cannot cover the range).
    static long RandomStart(long nCount, long nSize);

    // ---- what the view shows ----
    int GetListSize() const { return m_nListSize; }
    int GetNextSlot() const { return m_nNextSlot; }
    int GetCategory() const { return m_nCategory; }
    int GetContent() const { return m_nContent; }
    BOOL IsWelcome() const { return m_bWelcome; }
    BOOL IsCategoryChanged() const { return m_bCategoryChanged; }
    BOOL IsContentChanged() const { return m_bContentChanged; }
    long GetFindRowCount() const { return m_nFindRows; }
    const CJustLookingResultArray& GetResults() const { return m_results; }
    // The thumbnail of a slot (NULL when it has none).
    CThumbnail* GetThumbnail(int nSlot) const;
    int GetThumbnailCount() const { return static_cast<int>(m_thumbs.size()); }
    const CRect& GetDeviceRect() const { return m_rcDevice; }
    CJustLookingChoiceWnd* GetCategoryChoice() const { return m_pCategoryChoice; }
    CJustLookingChoiceWnd* GetContentChoice() const { return m_pContentChoice; }
    CJustLookingShowListBox* GetFindList() const { return m_pFindList; }
    CJustLookingEditListSearch* GetSearchEdit() const { return m_pSearchEdit; }
    CJustLookingListContainer* GetCategoryList() const { return m_pCategoryList; }
    CJustLookingListWin* GetContentList() const { return m_pContentList; }
    BOOL IsFindPanelShown() const;

    // The content list's rows: their text and content index.
    struct ContentRow {
        LPCSTR lpszText;
        int nContent;
        BOOL bShown;
    };
    static const ContentRow s_contentRows[13];
    static const char* const s_categoryRows[9];
    // The registered message that says the browsing tables changed.
    static UINT GetUpdateMessage();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnRandom();
    afx_msg void OnClear();
    afx_msg void OnFind();
    afx_msg void OnContentChoice();
    afx_msg void OnCategoryChoice();
    afx_msg void OnClose();
    afx_msg void OnSearchUpdate();
    afx_msg void OnContentSelChanged(NMHDR* pNotify, LRESULT* pResult);
    afx_msg LRESULT OnCategoryPicked(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFindRow(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThumbPress(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThumbRelease(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRestoreState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTablesUpdated(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void Layout(int cx, int cy);
    void PlaceContentList();
    // Shows result i in slot i; FALSE (the slot unchanged) when no thumbnail can be made.
    BOOL ShowResult(int nSlot);
    void DestroyThumbnails();
    void HideLists();
    void HideFindPanel();
    void ClearWelcome();
    // Posts a new history state of what the view shows; bRestored keeps the forward list.
    void PostState(BOOL bRestored = FALSE);
    // Sets a filter as a pick does, without the history; TRUE when it changed.
    BOOL SetCategory(int nCategory);
    BOOL SetContent(int nContent);
    void RefreshFindList();
    void EnsureRecordSets();
    void CloseRecordSets();
    BOOL ReadRandomList(long nCount, long nBottom, long nTop);
    void OpenReference(CReference* pReference);
    void DrawWelcome(CDC* pDC);
    static LONG CategoryBit(const CString& strCategory);

    CJustLookingShowListBox* m_pFindList;
    CJustLookingListContainer* m_pCategoryList;
    CJustLookingListWin* m_pContentList;
    std::vector<CThumbnail*> m_thumbs;
    CPoint m_slots[JL_MAX_SLOTS];
    CRollOverButton* m_pRandom;
    CRollOverButton* m_pClear;
    CJustLookingChoiceWnd* m_pFindChoice;
    CJustLookingChoiceWnd* m_pCategoryChoice;
    CJustLookingChoiceWnd* m_pContentChoice;
    CDibButton* m_pClose;
    CWnd* m_pCloseWindow;
    CJustLookingEditListSearch* m_pSearchEdit;
    int m_nCategory;
    int m_nContent;
    BOOL m_bWelcome;
    BOOL m_bCategoryChanged;
    BOOL m_bContentChanged;
    int m_nListSize;
    int m_nNextSlot;
    long m_nFindRows;
    int m_nContentRowsShown;
    CRect m_rcDevice;
    int m_cxClient;
    int m_cyClient;
    CJustLookingStatsSet* m_pStatsSet;
    CJustLookingRandomSet* m_pRandomSet;
    CJustLookingResultArray m_results;
    int m_nCharHeight;
    CFont m_font;
    CFont m_smallFont;
    CString m_strSearch;
    BOOL m_bSearchPending;
};
