// CSearchTabWin: the frame's search pane, where the reader searches the encyclopedia. Two modes:
// "Search by Topic" (one field with the texts searched before; the subject index first, the
// keyword index when no heading matches) and "Search by Word" (up to three words joined by
// operators, a proximity scope and a filter by content kind; the keyword index only). The pane
// builds the query from its fields, offers spelling suggestions, runs the application's search
// engine, shows the merged results in its result list, opens the first article hit at once and
// opens whatever result the reader double-clicks, each through the top-level frame.
//
// The frame creates the pane (id 8007) and re-parents it into the current view; the article page
// and the mini article hand it selected text with SearchFor, the automation object a topic query
// with SetMode.
#pragma once

#include "widgets/CustomComboBox.h"
#include "widgets/CustomComboDropList.h"
#include "widgets/CustomComboEdit.h"
#include "widgets/Dib.h"
#include "widgets/DibButton.h"
#include "widgets/GenericTabWin.h"
#include "widgets/RadioButton.h"
#include "widgets/VLRefListBox.h"

#include <afxwin.h>

class CReference;
class CReferenceList;
class CSearchEngine;

// Child ids of the pane.
#define IDC_SEARCH_SCOPE_SENTENCE 102
#define IDC_SEARCH_SCOPE_PARAGRAPH 103
#define IDC_SEARCH_SCOPE_ARTICLE 104
#define IDC_SEARCH_SCOPE_SUBHEADING 105
#define IDC_SEARCH_WORDS_RADIO 106
#define IDC_SEARCH_WORD2 108
#define IDC_SEARCH_WORD3 109
#define IDC_SEARCH_GO 110
#define IDC_SEARCH_TOPIC_MODE 115
#define IDC_SEARCH_WORD_MODE 116
#define IDC_SEARCH_OPERATOR1 117
#define IDC_SEARCH_OPERATOR2 118
#define IDC_SEARCH_WORD1 119
#define IDC_SEARCH_DISTANCE 120
#define IDC_SEARCH_TOPIC 122
#define IDC_SEARCH_SCOPE_LIST 123
#define IDC_SEARCH_WITHIN_RADIO 124
#define IDC_SEARCH_FILTER_FIRST 125  // "ALL"; the boxes run to 134
#define IDC_SEARCH_FILTER_LAST 134
#define IDC_SEARCH_RESULTS 121
// The decorations: the heading pictures of the two modes and three etched rules.
#define IDC_SEARCH_TOPIC_HEADING 135
#define IDC_SEARCH_WORD_HEADING 136
#define IDC_SEARCH_RULE_FIRST 137  // under the word fields, above the filter, above the buttons
#define SEARCH_RULE_COUNT 3

// The heading pictures of the topic and the word search.
#define IDB_SEARCH_TOPIC_HEADING 525
#define IDB_SEARCH_WORD_HEADING 526

// The kind mask of the "ALL" box: every kind a search can list.
#define SEARCH_ALL_KINDS 0x11EF00
// The check-box word's flag of "ALL".
#define SEARCH_FILTER_ALL 0x400
#define SEARCH_FILTER_COUNT 10

// Texts of the pane.
#define SEARCH_CAPTION_TOPIC "Search by Topic"
#define SEARCH_CAPTION_WORD "Search by Word"
#define SEARCH_MSG_NO_MATCHES "No Matches Found."
#define SEARCH_MSG_NO_TOPICS "No Topics Found."
#define SEARCH_TITLE_WORD "WORD SEARCH"
#define SEARCH_TITLE_TOPIC "TOPIC SEARCH"

// Cuts a query before its first operator word ("lion and tiger" becomes "lion"): a word counts
// as an operator when it is one of the query language's operator words, optionally followed by
// digits (a switch "/x" counts whatever follows the slash). Words inside quotation marks and an
// operator at the very start are not cut at. The query is changed in place.
void TrimQueryAtOperator(CString& strQuery);

class CSearchTabWin : public CGenericTabWin {
    DECLARE_DYNAMIC(CSearchTabWin)
public:
    CSearchTabWin();
    // Destroys the window first (the controls borrow the result lists), then the lists.
    ~CSearchTabWin() override;

    // The pane "Search by Topic" at the point, 213 x 402, id 8007, in topic mode.
    virtual BOOL Create(POINT pt, CWnd* pParentWnd);

    // A text to search for (a heap string that the pane takes over): opens the pane when it is
    // hidden, puts the text into the mode's first field and runs the search.
    void SearchFor(CString* pText);
    // Switches to the mode (0 topic, other word) when it differs, then SearchFor with the text.
    void SetMode(CString* pText, int nMode);
    // Whether the window is the pane or one of its controls (the drop lists included).
    BOOL IsOwnWindow(HWND hWnd) const;

    // The search button, Enter and SearchFor: builds the query and searches, with the wait cursor.
    void OnSearch();
    // The query of the fields (see the source); in word mode the scope code is set too.
    CString BuildQuery();
    // Runs the query in the current mode and shows what it finds.
    void DoSearch(CString strQuery);
    // Gives the list to the result list (taken over; NULL empties it); an empty list is told in
    // a popup box.
    void ShowResults(CReferenceList* pList);
    // Selects the first article hit and has the frame open it.
    void OpenFirstArticle();
    // Opens a result through the frame (a clone or a media display reference travels): maps in
    // the atlas, articles in the article view, other kinds in the media view.
    void OpenResult(CReference* pReference);
    // The mode buttons: the other mode, with the other mode's last query cut at its first
    // operator run in it.
    void SwitchMode();

    // The kind mask of a check-box word (the union of its boxes; "ALL" gives every kind).
    static LONG KindMaskOf(UINT nFlags);
    // The check-box word's flag and the kind bits of box i (0 "ALL" ... 9 "BUBBLE VIEWS"); the
    // ninth slot holds no box: 0 and 0.
    static UINT FilterFlag(int nBox);
    static LONG FilterKinds(int nBox);

    BOOL IsWordMode() const { return m_bWordMode; }
    LONG GetKindMask() const { return m_nKindMask; }
    UINT GetFilterFlags() const { return m_nFilterFlags; }
    BOOL IsFilterShown() const { return m_bFilterShown; }
    int GetScope() const { return m_nScope; }
    const CString& GetLastQuery(BOOL bWordMode) const { return bWordMode ? m_strWordQuery : m_strTopicQuery; }
    CReferenceList* GetModeResults(BOOL bWordMode) const { return bWordMode ? m_pWordResults : m_pTopicResults; }
    CVLRefListBox& GetResultList() { return m_wndResults; }
    CCustomComboDropList& GetTopicField() { return m_wndTopic; }
    CEdit& GetWordField(int n) { return n == 0 ? m_wndWord1 : n == 1 ? m_wndWord2 : m_wndWord3; }
    CEdit& GetDistanceField() { return m_wndDistance; }
    CCustomComboBox& GetOperatorList(int n) { return n == 0 ? m_wndOperator1 : m_wndOperator2; }
    CCustomComboBox& GetScopeList() { return m_wndScope; }
    CRadioButton& GetWithinRadio() { return m_wndWithin; }
    CRadioButton& GetWordsRadio() { return m_wndWords; }
    CRadioButton* GetFilterBox(int nBox) { return m_apFilter[nBox]; }
    // Where the spelling pop-up and the empty-result box open (screen coordinates).
    CPoint PopupPoint();
    // The heading picture of a mode (one shows at a time) and the etched rules between groups.
    CStatic& GetHeading(BOOL bWordMode) { return bWordMode ? m_wndWordHeading : m_wndTopicHeading; }
    CStatic& GetRule(int n) { return m_awndRules[n]; }
    const CDib& GetHeadingPicture(BOOL bWordMode) const { return bWordMode ? m_dibWordHeading : m_dibTopicHeading; }
    // Whether the controls are packed for a screen 640 pixels wide or less.
    static BOOL IsNarrowScreen();
    // While the pane holds the mouse capture, a click outside it hides the pane.
    BOOL HoldsMouseCapture() const { return m_hWnd != NULL && ::GetCapture() == m_hWnd; }

    COLORREF GetCaptionColor() override { return PALETTERGB(198, 198, 222); }
    COLORREF GetActiveTextColor() override { return PALETTERGB(255, 255, 255); }
    COLORREF GetInactiveTextColor() override { return PALETTERGB(255, 255, 255); }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnClose();
    afx_msg void OnSearchButton();
    afx_msg void OnModeButton();
    afx_msg void OnScopeCommand(UINT nID);
    afx_msg void OnWithinRadio();
    afx_msg void OnFilterBox(UINT nID);
    afx_msg void OnScopeListClicked(NMHDR* pNotify, LRESULT* pResult);
    afx_msg void OnOperatorListClicked(NMHDR* pNotify, LRESULT* pResult);
    afx_msg LRESULT OnResultChosen(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrintResults(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHasResults(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateControls();
    // Places the controls of the current mode and shows them, hiding the other mode's.
    void LayOut();
    // The first field of the mode: the topic field's edit or word field 1.
    CEdit& FirstField();
    void FocusFirstField();
    // The scope code of the radios and the scope list: 1 words, 2-5 sentence to article.
    int ScopeFromControls();
    // Checks one of the two radios and unchecks the other.
    void CheckScopeRadio(BOOL bWords);
    // Applies a check-box word to the boxes.
    void UpdateFilterBoxes();
    void SetFilterShown(BOOL bShown);
    // Adds the text to the topic field's earlier texts (once) and fits the drop list to them.
    void RememberTopic(const CString& strText);
    void HideDropLists();

    CSearchEngine* m_pEngine = NULL;
    CCustomComboDropList m_wndTopic;
    CCustomComboBox m_wndOperator1;
    CCustomComboBox m_wndOperator2;
    CCustomComboBox m_wndScope;
    CRadioButton m_wndWithin;
    CRadioButton m_wndWords;
    CVLRefListBox m_wndResults;
    CCustomComboEdit m_wndWord1;
    CCustomComboEdit m_wndWord2;
    CCustomComboEdit m_wndWord3;
    CCustomComboEdit m_wndDistance;
    CRadioButton* m_apFilter[SEARCH_FILTER_COUNT] = {};
    CDibButton m_btnSearch;
    CDibButton m_btnTopicMode;
    CDibButton m_btnWordMode;
    CStatic m_wndTopicHeading;
    CStatic m_wndWordHeading;
    CStatic m_awndRules[SEARCH_RULE_COUNT];
    CDib m_dibTopicHeading, m_dibWordHeading;
    CFont m_fontBold, m_fontPlain, m_fontLabel;
    CBrush m_brushBackground;
    CStringArray m_astrTopics;

    BOOL m_bModeSwitch = FALSE;
    CString m_strCarried;  // the query a mode switch runs
    LONG m_nKindMask = SEARCH_ALL_KINDS;
    int m_nPreviousScope = 2;
    int m_nScope = 2;
    CString m_strTopicQuery;
    CReferenceList* m_pTopicResults = NULL;
    CString m_strWordQuery;
    CReferenceList* m_pWordResults = NULL;
    BOOL m_bFilterShown = FALSE;
    CRect m_rectFilterCaption{3, 48, 103, 62};
    UINT m_nFilterFlags = SEARCH_FILTER_ALL;
    BOOL m_bWordMode = FALSE;
    int m_nMargin = 6;
    int m_nLabelY = 4;
    int m_nWithinY = 0;
};
