// CVLRefListBox: the list of a search's results. It takes over the search's reference list and
// shows it as a two-level outline in the tree-shaped list window: headings (entry code 0, bold,
// closed-book icon) with the hits under them, each hit with the icon of its kind. It finds the
// first article hit for the search pane to open at once, tells its parent which result the
// reader double-clicked (VLM_RESULT_CHOSEN with the borrowed reference), passes Esc and F2 on to
// its parent, and prints the whole result list.
//
// Each list box owns the result list it shows; the references stay valid until the next
// AddResults or the list box's destruction.
#pragma once

#include "widgets/VLListWindow.h"

class CReference;
class CReferenceList;

// The search a printed list comes from (the job is named after it).
enum : int { VLRL_TOPIC_SEARCH = 0, VLRL_WORD_SEARCH = 1 };

class CVLRefListBox : public CVLListWindow {
public:
    CVLRefListBox();
    ~CVLRefListBox() override;

    // Replaces the rows by the list's references and takes the list over (NULL: no rows).
    BOOL AddResults(CReferenceList* pList);
    CReferenceList* GetResults() const { return m_pResults; }
    // Selects the first article hit (expanding its heading) and returns its reference
    // (borrowed); NULL when no row is an article with a number.
    CReference* SelectFirstArticle();
    // The first article hit among the top-level items from hFirst on and their children: the
    // item and its top-level parent (0 for a top-level hit). FALSE when there is none.
    BOOL FindFirstArticle(HTREEITEM hFirst, HTREEITEM* phParent, HTREEITEM* phItem);

    // Prints the whole result list under the heading (the search text): the print dialog, then
    // one job named after the search (VLRL_TOPIC_SEARCH or VLRL_WORD_SEARCH) with as many pages
    // as the list needs (or the profile's page limit allows). Nothing without results, printer
    // or the reader's OK.
    void Print(LPCSTR lpszHeading, int nMode);
    // Prints one page of the result list after position nLastRow; the last position handled.
    int PrintPage(CDC* pDC, int nLastRow, LPCSTR lpszHeading);

    // The text of a reference's row: its title (at most 255 characters), with its media note
    // when both fit 255 characters.
    static CString RowText(CReference* pReference);
    // The icon of a row by its reference's kind; 0 for articles and other kinds.
    static UINT KindIcon(LONG nKind);
    // The small picture beside a printed hit by its kind; 0 for none.
    static UINT KindPrintPicture(LONG nKind);
    // The name of the print job for a search mode.
    static LPCSTR JobName(int nMode);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDoubleClick(NMHDR* pNotifyStruct, LRESULT* pResult);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

    // Esc and F2 go to the parent as the same message; other keys are swallowed.
    void PassKey(UINT message, UINT nChar, UINT nRepCnt, UINT nFlags);

private:
    CReferenceList* m_pResults = NULL;
};
