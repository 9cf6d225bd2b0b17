// CStickyNoteWnd: the sticky-note window of a view. Every view that shows an item (an article, a
// picture, a map, a media item) makes one, a hidden child, and talks to it by messages: the
// window tells its parent whether the item has notes and where they sit (VLM_STICKY_PRESENT,
// VLM_STICKY_DELETED), and on request runs the note dialog (CStickyNoteDlg) over the parent's
// corner, which edits one note or lists all of them. Without a parent it stands over the main
// window and runs the list of every note (the frame's Sticky List command).
//
// A note made by a display request is the window's own until it is placed; placing puts it into
// the application's note set, which owns it from then on. A note never placed is deleted when
// the user cancels, switches to the list, or the window goes.
#pragma once

#include "base/StickyRecordSet.h"

#include <afxwin.h>

class CReference;

#define IDW_STICKY_NOTE 14110

class CStickyNoteWnd : public CWnd {
    DECLARE_DYNAMIC(CStickyNoteWnd)
public:
    enum { width = 218, height = 185 };

    CStickyNoteWnd();
    // Deletes a note that was never placed, and the window.
    ~CStickyNoteWnd() override;

    // With a parent: a hidden child of it, the dialog at the parent's bottom-right corner.
    // Without: a child of the main window's current view (or of the main window), the dialog a
    // third of the way into it, running the list. Posts VLM_STICKY_PRESENT (whether the item has
    // a note, 0) to the parent.
    BOOL Create(CWnd* pParent);

    // The item becomes the one shown (its key the reference's RIN); no note is current. Posts
    // VLM_STICKY_PRESENT (whether it has a note, 0).
    void SelectNote(LPCSTR lpszTitle, const CReference* pReference);
    // The item and a place in it (kept as the stored position): the current note is the item's
    // note at that place, if any. Posts VLM_STICKY_PRESENT (whether there is one, 0).
    void SelectNoteAt(LPCSTR lpszTitle, LONG nKey, const WORD* pPosition);
    // Collects the item's notes in position order and posts VLM_STICKY_PRESENT (count, a new
    // block of count 8-byte positions that the receiver frees), or (0, 0) when there are none.
    void ShowNotes(LPCSTR lpszTitle, LONG nKey);
    // Makes the item's note at index current and moves it to the position; the set is saved.
    void SetNotePosition(int nIndex, const WORD* pPosition);
    // The index in the set of the first note of the item, -1 when it has none.
    int FindNoteIndex(LONG nKey);
    int FindNoteIndex(const CReference* pReference);

    // The placement of the window and of its dialog, in screen co-ordinates, from the parent's
    // window rectangle.
    CRect ComputePlacement() const;

    // For the dialog.
    CStickyRecordSet* GetRecordSet() const { return m_pRecordSet; }
    CStickyNote* GetCurrentNote() const { return m_pCurrentNote; }
    // Makes the note current (a note never placed that was current is deleted first).
    void SetCurrentNote(CStickyNote* pNote);
    // Deletes the current note when it was never placed.
    void DiscardUnplacedNote();
    // The note is gone from the set: the window lets go of it.
    void ForgetNote(const CStickyNote* pNote);
    // The note is about to be deleted: every note window of the program lets go of it at once,
    // and each that shows the note's item tells its parent the item's notes again.
    static void ForgetNoteEverywhere(const CStickyNote* pNote);
    BOOL HasOwnParent() const { return m_nMode == 0; }
    CWnd* GetParentWindow() const { return m_pParentWnd; }
    BOOL IsShowingNotes() const { return m_bShowingNotes; }
    const CString& GetItemTitle() const { return m_strItemTitle; }
    LONG GetItemKey() const { return m_nItemKey; }
    int GetWorkingCount() const { return static_cast<int>(m_working.GetSize()); }
    CStickyNote* GetWorkingNote(int i) const { return static_cast<CStickyNote*>(m_working.GetAt(i)); }
    // After a note was placed, changed or deleted: the set is saved at once.
    void SaveNotes();
    // The working array again from the set, when the window is showing the item's notes.
    void RefreshWorkingNotes();

protected:
    // Recomputes the placement and puts the window on top there.
    void Reposition();
    // Runs the note dialog; its end code.
    int RunDialog();
    // A new note of the item (title and key), at the position when one is given; it becomes
    // current.
    void NewNote(const WORD* pPosition);
    void PostPresent(WPARAM wParam, LPARAM lParam);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnDisplayNote(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDisplayNoteAt(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenNote(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNewNote(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Tells the parent what the item's notes are now (after one was deleted elsewhere).
    void AnnounceNotesAgain();

    int m_nMode = 1;  // 0: placed in the given parent; 1: over the main window
    CWnd* m_pParentWnd = NULL;
    CStickyRecordSet* m_pRecordSet = NULL;
    CStickyNote* m_pCurrentNote = NULL;
    int m_nCurrentIndex = -1;
    CString m_strItemTitle;
    LONG m_nItemKey = -1;
    CRect m_rectWindow;
    CPtrArray m_working;  // the item's notes in position order (the set's)
    BOOL m_bShowingNotes = FALSE;
    BOOL m_bPlacing = FALSE;
    WORD m_wStoredPosition[4] = {0, 0, 0, 0};
    // A copy of a position posted to the window itself (VLM_STICKY_DISPLAY_AT).
    WORD m_wPendingPosition[4] = {0, 0, 0, 0};
};
