// Places where words selected in a text box may be dropped: the search pane, the dictionary
// pane and the toolbar's Search and Dictionary buttons. Each place is a CTextDropTarget with a
// rank; a drop at a screen point goes to the first target, lowest rank first, that takes text
// there. A target joins when it is constructed with its window's owner and leaves when it is
// destroyed, so a box never needs to know the classes of the panes or of the toolbar.
#pragma once

#include <afxwin.h>

// What a target does with dropped text.
#define TEXTDROP_NONE 0
#define TEXTDROP_SEARCH 1
#define TEXTDROP_LOOKUP 2

// Ranks, in the order the targets are asked.
#define TEXTDROP_RANK_SEARCH_PANE 10
#define TEXTDROP_RANK_DICTIONARY_PANE 20
#define TEXTDROP_RANK_TOOLBAR 30

class CTextDropTarget {
public:
    // Joins the targets with that rank (targets of one rank are asked in the order they joined).
    explicit CTextDropTarget(int nRank);
    // Leaves the targets.
    virtual ~CTextDropTarget();
    CTextDropTarget(const CTextDropTarget&) = delete;
    CTextDropTarget& operator=(const CTextDropTarget&) = delete;

    int GetRank() const { return m_nRank; }

    // What text released at that screen point would do here: TEXTDROP_NONE when the point is
    // not on the target (or the target is not shown), else TEXTDROP_SEARCH or TEXTDROP_LOOKUP.
    virtual int HitTextDrop(CPoint ptScreen) = 0;
    // Takes text with the action HitTextDrop gave (the text is not empty).
    virtual void DropText(int nAction, const CString& strText) = 0;
    // Whether the place exists now (a pane may be made later); hidden places exist.
    virtual BOOL IsPresent() { return TRUE; }

private:
    int m_nRank;
};

// The first target that takes text at that screen point, or NULL; its action in *pnAction.
CTextDropTarget* FindTextDropTarget(CPoint ptScreen, int* pnAction = NULL);
// Hands text released at a screen point to its target. FALSE (nothing sent) for empty text or
// when no target is there.
BOOL DropTextAt(CPoint ptScreen, const CString& strText);
// Asks the dictionary pane (the first present target of rank TEXTDROP_RANK_DICTIONARY_PANE) to
// look a word up, shown or not. FALSE for an empty word or when there is no dictionary pane.
BOOL LookUpDroppedWord(const CString& strWord);

// A target that is a window: text released inside the window's rectangle while the window is
// visible goes to a handler. The window is asked for each drop (it may come and go).
class CWndTextDropTarget : public CTextDropTarget {
public:
    CWndTextDropTarget(int nRank, int nAction);
    // The window that takes drops now (NULL: none).
    virtual CWnd* GetDropWindow() = 0;

    int HitTextDrop(CPoint ptScreen) override;
    BOOL IsPresent() override;

private:
    int m_nAction;
};
