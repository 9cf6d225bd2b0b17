// BrowseMediaVirtualListBox: the "ALL MEDIA" list of the reference tabs: a virtual list over the
// disc's media index "Jlookcd1.dat" (lines "code|number|category|title", sorted by title, with
// its index "jlookcd1.ndx" beside it in the data root). Choosing a row tells the parent
// (VLM_BROWSE_CHOSEN with the item's content number).
#pragma once

#include <afxwin.h>

class CVLVirtualData;
class CVLVListWnd;

#define BROWSE_MEDIA_FILE "Jlookcd1.dat"
#define BROWSE_MEDIA_INDEX "jlookcd1.ndx"

class BrowseMediaVirtualListBox : public CWnd {
public:
    BrowseMediaVirtualListBox();
    // Deletes its own list window and data.
    ~BrowseMediaVirtualListBox() override;

    // The child "BrowseMediaVirtualListBox" of the parent in the rectangle.
    BOOL Create(const RECT& rect, CWnd* pParent, UINT nID);
    // Makes the box's own list current again and shows it.
    void RestoreOwnList();
    // Places the current list in the box's client area.
    void PlaceCurrentList();

    CVLVListWnd* GetCurrentList() const { return m_pCurrentList; }
    CVLVirtualData* GetOwnData() const { return m_pOwnData; }
    // The title of the current row ("" when none).
    CString GetCurrentTitle() const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    CVLVListWnd* m_pOwnList = NULL;
    CVLVirtualData* m_pOwnData = NULL;
    CVLVListWnd* m_pCurrentList = NULL;
    CVLVirtualData* m_pCurrentData = NULL;
    UINT m_nID = 0;
};
