// CWildDlg: the wildcard word list dialog. When a word query holds a wildcard, the keyword engine
// expands it into the index words that fit and lets the reader choose which of them to search
// for: a small modal popup captioned "WILDCARD WORD LIST" with the label "SELECT TERMS TO
// SEARCH", a list in which several words can be selected and the OK and Cancel buttons.
//
// The caller hands it the words (separated by any run of "|", CR and LF; the text is blanked
// once the list is filled) and a flag array of one DWORD a word, and runs it with RunTabDialog:
// 1 when OK was pressed with at least one word selected (the flags of the selected words, at
// most the first WILD_MAX_SELECTIONS of them, are then 1), 2 on Cancel or with nothing to choose
// from. OK with nothing selected leaves the dialog open.
#pragma once

#include "search/WildListWin.h"
#include "widgets/DibButton.h"
#include "widgets/GenericTabWin.h"

#include <afxwin.h>

#define IDC_WILD_OK 200
#define WILD_MAX_SELECTIONS 500
#define WILD_DIALOG_WIDTH 208
#define WILD_DIALOG_HEIGHT 276

class CWildDlg : public CGenericTabWinDialog {
    DECLARE_DYNAMIC(CWildDlg)
public:
    CWildDlg();
    ~CWildDlg() override;

    // The screen point of the dialog's top-left corner; without one the dialog is centred over
    // the main window.
    void SetPosition(int nLeft, int nTop);
    // The words (the caller's text, blanked after use) and the flags of the words in list order;
    // flags past nFlags are never written.
    void SetWordList(CString* pstrWords, DWORD* pFlags, int nFlags);

    BOOL CreateControls() override;

    CWildListWin* GetWordList() { return m_pList; }
    CDibButton* GetOKButton() { return m_pOK; }
    CDibButton* GetCancelButton() { return m_pCancel; }

protected:
    void LayOut(int cx, int cy);
    void FillList();

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnChoose();
    afx_msg void OnCancel();
    DECLARE_MESSAGE_MAP()

    CDibButton* m_pOK = NULL;
    CDibButton* m_pCancel = NULL;
    CFont* m_pLabelFont = NULL;
    CWildListWin* m_pList = NULL;
    CString* m_pstrWords = NULL;
    DWORD* m_pFlags = NULL;
    int m_nFlags = 0;
    BOOL m_bPositioned = FALSE;
    CPoint m_ptPosition;
};
