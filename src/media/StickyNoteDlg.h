// CStickyNoteDlg: the note dialog of a sticky-note window, a tab dialog over the window's place.
// In note mode it edits the window's current note (title and text) with Delete, List, Place and
// Cancel; in list mode ("STICKY LIST") it lists every note of the set, sorted by title, with
// Delete, Delete All, Okay (open the item the chosen note belongs to) and Cancel; the list is the
// program's list window, one top-level item a note (its value the note). Every place and delete is
// saved at once.
#pragma once

#include "base/StickyRecordSet.h"
#include "widgets/DibButton.h"
#include "widgets/GenericTabWin.h"
#include "widgets/VLListWindow.h"

#include <afxwin.h>

class CStickyNoteWnd;

#define IDC_SN_DELETE 14100
#define IDC_SN_PLACE 14101
#define IDC_SN_LIST 14102
#define IDC_SN_CANCEL 14103
#define IDC_SN_NOTELIST 14104
#define IDC_SN_TITLE 14105
#define IDC_SN_TEXT 14106
#define IDC_SN_DELETEALL 14108

class CStickyNoteDlg : public CGenericTabWinDialog {
public:
    explicit CStickyNoteDlg(CStickyNoteWnd* pNoteWnd);
    ~CStickyNoteDlg() override;

    // Places the dialog where the note window stands and makes the six buttons, the list and the
    // two edits; note mode when the window has a parent of its own, else list mode.
    BOOL CreateControls() override;

    BOOL IsListMode() const { return m_bListMode; }
    CVLListWindow& GetList() { return m_list; }
    CEdit& GetTitleEdit() { return m_editTitle; }
    CEdit& GetTextEdit() { return m_editText; }
    CDibButton& GetButton(UINT nID);

protected:
    // Shows the controls of one mode.
    void SetListMode(BOOL bList);
    void FillList();
    // The set again from the list's rows, in row order, and saved.
    void RebuildSet();
    // Removes the row, deletes its note and tells the window's parent.
    void DeleteRow(int nRow);
    // Tells the window's parent that a note of the item was deleted: VLM_STICKY_DELETED for an
    // article, VLM_STICKY_PRESENT (0, 0) otherwise.
    void AnnounceDeleted(LONG nKey);
    // Opens the item of the note: posts the main window the right request for its kind.
    void OpenNotedItem(CStickyNote* pNote);
    CStickyNote* RowNote(int nRow);
    // A row for the note, in title order; its row, -1 when it has none.
    int AddNoteRow(CStickyNote* pNote);
    // The row of the note; LB_ERR when it has none.
    int FindNoteRow(const CStickyNote* pNote);

    afx_msg void OnPlace();
    afx_msg void OnDelete();
    afx_msg void OnDeleteAll();
    afx_msg void OnShowList();
    afx_msg void OnCancelNote();
    afx_msg void OnOK();
    afx_msg void OnListDoubleClick(NMHDR* pNotify, LRESULT* pResult);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    CStickyNoteWnd* m_pNoteWnd;
    CStickyNote* m_pNote;
    CDibButton m_btnDelete;
    CDibButton m_btnPlace;
    CDibButton m_btnList;
    CDibButton m_btnCancel;
    CDibButton m_btnDeleteAll;
    CDibButton m_btnOkay;
    CVLListWindow m_list;
    CEdit m_editTitle;
    CEdit m_editText;
    BOOL m_bListMode = FALSE;
};
