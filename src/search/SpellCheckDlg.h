// CSpellCheckDlg: the spelling pop-up. Before a word search runs, the search pane hands it the
// query: every plain word that the keyword index lacks (and that is no drop word and holds no
// wildcard) and for which the index has suggestions is shown, one at a time, in a pop-up
// captioned "SPELL CHECK" over the result list, where the reader picks or types a replacement.
// "Go" replaces the word wherever it stands in the query and moves to the next; after the last
// the corrected query is handed back. "Cancel" leaves the query as typed.
//
//   CSpellCheckDlg spell(rectResultList, &resultList);
//   spell.CheckQuery(strQuery);   // TRUE when strQuery was corrected
#pragma once

#include "widgets/DibButton.h"
#include "widgets/GenericTabWin.h"

#include <afxwin.h>

#include <string>
#include <vector>

#define IDC_SPELL_LIST 134
#define IDC_SPELL_EDIT 135
// The most characters taken from the replacement field.
#define SPELL_MAX_REPLACEMENT 79

class CSpellCheckDlg : public CGenericTabWinDialog {
    DECLARE_DYNAMIC(CSpellCheckDlg)
public:
    // The result list's client rectangle and window: the pop-up opens at the rectangle's top-left
    // corner (pResultList NULL: the rectangle is in screen coordinates already).
    CSpellCheckDlg(const CRect& rectResultList, CWnd* pResultList);
    ~CSpellCheckDlg() override;

    // Looks for misspelt words and, when there are any, runs the pop-up. TRUE when the reader
    // pressed "Go" through every word and the query (changed in place) was corrected.
    BOOL CheckQuery(CString& strQuery);

    // Collects the misspelt words of the text with their suggestions.
    void FindMisspelt(LPCSTR pszText);

    // The misspelt words found, and the suggestions for each (upper case, most frequent first).
    struct Misspelt {
        std::string word;
        std::vector<std::string> suggestions;
    };
    const std::vector<Misspelt>& GetMisspelt() const { return m_misspelt; }
    const CString& GetQuery() const { return m_strQuery; }
    int GetCurrent() const { return m_nCurrent; }
    const CString& GetLabel() const { return m_strLabel; }

    // Shows the current misspelt word: the label, its suggestions listed, the first selected and
    // copied into the field.
    void ShowCurrentWord();
    // Puts the field's text in place of every whole-word occurrence of the current word in the
    // query, in the case the query has it there.
    void ReplaceCurrentWord();
    // Positions of the whole-word occurrences of the word (upper case) in an upper-cased query.
    static std::vector<int> FindWholeWord(const CString& strUpperQuery, const std::string& word);
    // The replacement as it goes in place of an occurrence whose text was strOccurrence.
    static CString MatchCase(const CString& strReplacement, const CString& strOccurrence);

    BOOL CreateControls() override;

    CListBox& GetList() { return m_list; }
    CEdit& GetEdit() { return m_edit; }
    CDibButton& GetGoButton() { return m_btnGo; }
    CDibButton& GetCancelButton() { return m_btnCancel; }

protected:
    void LayOut(int cx, int cy);

    afx_msg void OnPaint();
    afx_msg void OnGo();
    afx_msg void OnCancel();
    afx_msg void OnListSelChange();
    afx_msg void OnListDoubleClick();
    DECLARE_MESSAGE_MAP()

    CDibButton m_btnGo;
    CDibButton m_btnCancel;
    CEdit m_edit;
    CListBox m_list;
    CRect m_rectResultList;
    std::vector<Misspelt> m_misspelt;
    CString m_strQuery;
    BOOL m_bChanged = FALSE;
    int m_nCurrent = 0;
    CRect m_rectLabel;
    CString m_strLabel;
    CFont m_labelFont;
};
