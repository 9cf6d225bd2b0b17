// CFindWin: the "FIND" tab dialog that asks for a word and looks for it in one article. The
// caller gives it the article and the search to run (SetFinder: word and article in, a new
// reference to the article carrying the hits out, or NULL when the word is not there), runs it
// with RunTabDialog and, when that answers FINDWIN_FOUND, takes the hit reference.
//
// An empty word does nothing; a word without hits says "Text not found." in a popup box beside
// the window and leaves it open with the word kept.
#pragma once

#include "widgets/DibButton.h"
#include "widgets/GenericTabWin.h"
#include "widgets/VLEdit.h"

#include <functional>

class CReference;

// RunTabDialog's answer when the word was found (2: cancelled or closed).
#define FINDWIN_FOUND 4

class CFindWin : public CGenericTabWinDialog {
    DECLARE_DYNAMIC(CFindWin)
public:
    // The search: the word and the article; a new reference (the caller's) or NULL.
    using Finder = std::function<CReference*(const CString& strWord, LONG nArticle)>;

    CFindWin();
    // Deletes a hit reference nobody took.
    ~CFindWin() override;

    void SetArticle(LONG nArticle) { m_nArticle = nArticle; }
    LONG GetArticle() const { return m_nArticle; }
    void SetFinder(Finder finder) { m_finder = std::move(finder); }

    // The reference found (still the window's), or NULL.
    CReference* GetHitReference() const { return m_pHitReference; }
    // Hands the reference found over to the caller (NULL when there is none).
    CReference* TakeHitReference();
    // The word last searched for.
    const CString& GetWord() const { return m_strWord; }

    // The Cancel and Find buttons at the bottom corners, the word field (with the focus) under
    // the prompt, the 10-point font; the window 277 x 135 at (10, 82) from the main window's
    // top-left corner.
    BOOL CreateControls() override;

    CVLEdit& GetWordField() { return m_editWord; }
    CDibButton& GetFindButton() { return m_btnFind; }
    CDibButton& GetCancelButton() { return m_btnCancel; }

    static const char s_szPrompt[];
    static const char s_szNotFound[];

protected:
    // Runs the search for the word; the finder's answer.
    virtual CReference* FindWord(const CString& strWord);
    // Places the buttons and the word field for the client size.
    void Layout();

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnFind();
    DECLARE_MESSAGE_MAP()

    CDibButton m_btnFind;
    CDibButton m_btnCancel;
    CVLEdit m_editWord;
    CString m_strWord;
    LONG m_nArticle = 0;
    CFont m_font;
    CReference* m_pHitReference = NULL;
    Finder m_finder;
};
