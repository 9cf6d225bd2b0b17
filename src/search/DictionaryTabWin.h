// CDictionaryTabWin: the dictionary side panel of the main frame: an entry box captioned
// "ENTER WORD ", a "Go" button, two tab buttons ("Word List" and "Definitions") and the two panes
// they switch between. It owns the one CDictionaryDoc and drives the application's index engine.
// Article text, tables and the mini article hand words to it through LookUpWord.
#pragma once

#include "search/DictionaryDefnWin.h"
#include "search/DictionaryEdit.h"
#include "widgets/CustomComboDropList.h"
#include "search/DictionaryWordListWin.h"
#include "widgets/DibButton.h"
#include "widgets/GenericTabWin.h"

#include <afxwin.h>

class CDictionaryDoc;

// Child ids of the panel.
#define IDW_DICTIONARY_DEFINITIONS 8010
#define IDW_DICTIONARY_WORDLIST 8011
#define IDC_DICTIONARY_ENTRY 12001
#define IDC_DICTIONARY_TAB 12002
#define IDC_DICTIONARY_GO 12003
// Sent by the panes to the panel: restart the current tab at the heading.
#define VLM_DICTIONARY_RESTART 0xA40

class CDictionaryTabWin : public CGenericTabWin {
public:
    CDictionaryTabWin();
    // Closes the definitions file and deletes the document.
    ~CDictionaryTabWin() override;

    // The panel "dictionary" from the point to (220, 461), id 8008.
    virtual BOOL Create(POINT pt, CWnd* pParentWnd);
    COLORREF GetCaptionColor() override { return PALETTERGB(198, 198, 222); }
    COLORREF GetActiveTextColor() override { return PALETTERGB(255, 255, 255); }
    COLORREF GetInactiveTextColor() override { return PALETTERGB(255, 255, 255); }
    COLORREF GetAccentColor() override { return PALETTERGB(198, 198, 222); }
    // Enables the copy command while the definitions pane shows a selection.
    virtual void UpdateCopyCommand(CCmdUI* pCmdUI);
    // Puts the definitions pane's selected text on the clipboard (CF_TEXT).
    virtual void CopyToClipboard();

    // A word handed over by the article page, a table or the mini article: opens the panel and
    // shows the word's definition.
    void LookUpWord(LPCSTR lpszWord);
    void OpenAndLookUp();
    // Looks up the entry box's word (or the handed-over one; "a" when both are empty) and shows
    // the Definitions tab.
    void LookUp();
    // The word becomes the entry box's text, then LookUp.
    void SetWordAndLookUp(LPCSTR lpszWord);
    // The heading and the entry box's text (a selection in the definitions).
    void SetHeadingAndEntry(LPCSTR lpszText);
    // Whether the window is the panel or one of its descendants.
    BOOL IsOwnWindow(CWnd* pWnd) const;
    // Prints the current tab's pane. Returns 0.
    int Print();

    // The document, made when bMake and there is none (NULL when it cannot be made).
    CDictionaryDoc* GetDocument(BOOL bMake);
    const CString& GetCurrentWord() const { return m_strCurrentWord; }
    // The word last handed over by LookUpWord (a drop or a double click elsewhere).
    const CString& GetHandedOverWord() const { return m_strHandedOver; }
    // 1: Definitions, 0: Word List.
    int GetCurrentTab() const { return m_nCurrentTab; }
    CDictionaryDefnWin& GetDefinitionsPane() { return m_wndDefinitions; }
    CDictionaryWordListWin& GetWordListPane() { return m_wndWordList; }
    // The entry box's edit part, and the entry box whose drop list holds every word looked up.
    CEdit& GetEntryBox() { return m_wndEntry.GetEdit(); }
    CCustomComboDropList& GetEntryCombo() { return m_wndEntry; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnClose();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnGo();
    afx_msg void OnSwitchTab();
    afx_msg LRESULT OnRestart(WPARAM wParam, LPARAM lParam);
    // VLM_PRINT_RESULTS from the article's print window: the current tab prints (Print).
    afx_msg LRESULT OnPrintPane(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void FindAndPosition();
    void SwitchTab();
    int Margin() const;

    CCustomComboDropList m_wndEntry;
    // The words in the entry box's drop list, in the order they were looked up.
    CStringArray m_lookedUp;
    CDibButton m_btnGo;
    CDibButton m_btnWordList;
    CDibButton m_btnDefinitions;
    BOOL m_bSyncSuppressed = FALSE;
    CFont m_fontEntry, m_fontCaption;
    CDictionaryDoc* m_pDoc = NULL;
    CDictionaryDefnWin m_wndDefinitions;
    CDictionaryWordListWin m_wndWordList;
    CString m_strCurrentWord;
    CString m_strHandedOver;
    int m_nCurrentTab = 1;
    BOOL m_bSwitching = FALSE;
    BOOL m_bLookedUp = FALSE;  // the first look-up waits for the panel to be shown
};
