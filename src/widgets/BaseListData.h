// CBaseListData: the source of rows behind the virtual list window and the list views that page
// through long lists. Rows are numbered from 1 (0 means no row) and handed out one at a time in a
// tree-view item record; a provider keeps only a window of rows in memory and can tell the row at
// which a typed title stands in title order.
#pragma once

#include <afx.h>
#include <commctrl.h>

class CBaseListData : public CObject {
    DECLARE_DYNAMIC(CBaseListData)
public:
    CBaseListData();
    virtual ~CBaseListData();

    // The number of rows.
    virtual long GetCount() = 0;
    // Fills the record for the 1-based row in hItem: pszText (the title, owned by the provider
    // and valid until its next load), cchTextMax (its length), cChildren 0, lParam (the row's
    // identifier) and, where the source knows it, iImage (the icon of the row's kind). FALSE when
    // there is no such row.
    virtual BOOL GetItem(TVITEM* pItem) = 0;
    // The identifier of a row; 0 when there is no such row.
    virtual long GetItemData(long nRow) = 0;
    // Loads the window that holds a 1-based row unless it is loaded; the row, or 0 when it is out
    // of range.
    virtual long EnsureLoaded(long nRow) = 0;
    // The row at which a title stands in title order (case ignored): the first row whose title is
    // not less than it; the last row when every title is less. A text that is empty or all blank
    // loads the first window and gives 1. 0 when there are no rows.
    virtual long FindTitle(LPCSTR lpszTitle) = 0;

    // The row after, the row before and the row itself, each loaded; 0 when there is none.
    virtual long GetNextItem(long nRow);
    virtual long GetPrevItem(long nRow);
    virtual long GetItemAt(long nRow);
};
