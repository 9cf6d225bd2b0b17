// CArticleListTabWin: what the article view's two list panes (the outline and the related
// articles) share: a side panel with one tree-shaped list (control id 100) filling its client
// area on a white ground, the panel colours of the article view, and a close that hides the
// panel and hands the focus back to the article view. The list's notifications go to the
// derived pane through OnListSelChanged and OnListDoubleClick with the item's line code.
#pragma once

#include "widgets/GenericTabWin.h"
#include "widgets/VLListWindow.h"

// Line codes: the kind in the high 16 bits, the index in the low 16 bits.
inline DWORD MakeLineCode(UINT nKind, UINT nIndex)
{
    return (static_cast<DWORD>(nKind) << 16) | (nIndex & 0xFFFF);
}
inline UINT LineCodeKind(DWORD dwCode)
{
    return dwCode >> 16;
}
inline UINT LineCodeIndex(DWORD dwCode)
{
    return dwCode & 0xFFFF;
}

#define ARTICLE_LIST_ID 100

class CArticleListTabWin : public CGenericTabWin {
    DECLARE_DYNAMIC(CArticleListTabWin)
public:
    COLORREF GetCaptionColor() override;        // PALETTERGB(74, 74, 148)
    COLORREF GetInactiveTextColor() override;   // PALETTERGB(198, 198, 222)
    COLORREF GetAccentColor() override;         // PALETTERGB(76, 43, 28)

    CVLListWindow& GetList() { return m_list; }
    // The item's line code and the item of a code's first line (0 when none).
    DWORD GetItemCode(HTREEITEM hItem) { return static_cast<DWORD>(m_list.GetItemValue(hItem)); }

protected:
    CArticleListTabWin() = default;

    // Inserts a line at the top level or under hParent, bold or not, with a list image (0: none).
    HTREEITEM InsertLine(HTREEITEM hParent, LPCSTR lpszText, int nImage, BOOL bBold, DWORD dwCode);

    virtual void OnListSelChanged(DWORD) {}
    virtual void OnListDoubleClick(DWORD) {}

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnClose();
    afx_msg void OnSelChanged(NMHDR* pNotify, LRESULT* pResult);
    afx_msg void OnDoubleClick(NMHDR* pNotify, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    CVLListWindow m_list;
};
