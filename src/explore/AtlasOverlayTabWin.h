// CAtlasOverlayTabWin: the drop-down list of the overlay control pad: one row per overlay map
// of the shown map (the reference's title as text, the reference as the row's value) in a
// CVLListWindow. A double click chooses the overlay: the shared overlay name becomes the row's
// text and the shared overlay number 1, and the top-level window gets 0x401 for the atlas
// (8003) with a clone of the row's reference.
//
// The list window only borrows the CReferenceList it shows: CAtlasShared owns it.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

class CReferenceList;
class CReference;
class CVLListWindow;

enum : UINT { IDC_ATLAS_OVERLAY_LIST = 16000 };

class CAtlasOverlayTabWin : public CWnd {
    DECLARE_DYNAMIC(CAtlasOverlayTabWin)
public:
    CAtlasOverlayTabWin();
    ~CAtlasOverlayTabWin() override;

    // A visible child with a border at (x, y), 188 wide and 247 high but ending 12 pixels above
    // the parent's client bottom; the list inside it.
    BOOL Create(LPCSTR lpszName, int x, int y, CWnd* pParentWnd, UINT nID);
    // Shows the list's references (borrowed), in order, in place of what it showed. The list is
    // the shared overlay list of the moment: once another replaces it, nothing is chosen here.
    void Fill(CReferenceList* pList);
    // Chooses the overlay of the current row (what a double click does); FALSE when there is
    // no current row or the message could not be posted.
    BOOL ChooseCurrent();

    CVLListWindow* GetList() const { return m_pList; }
    CReferenceList* GetReferences() const { return m_pReferences; }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnDoubleClick(NMHDR* pNotify, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    CVLListWindow* m_pList = NULL;
    CReferenceList* m_pReferences = NULL;
    HTREEITEM m_hInsertAfter = TVI_LAST;
    DWORD m_dwSerial = 0;  // of the shared overlay list filled in
};
