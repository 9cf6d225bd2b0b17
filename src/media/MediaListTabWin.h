// CMediaListTabWin: the media view's "BROWSE MEDIA" panel, a reference tab whose CURRENT list is
// the media list that came with the last media display reference (kept sorted), and whose ALL
// MEDIA list is the disc's browse list. It tells the view when it is shown or hidden
// (VLM_CAPTION_SHOWN), which latches or releases the view's Browse Media button.
#pragma once

#include "media/ReferenceTabWin.h"

class CMediaListTabWin : public CReferenceTabWin {
    DECLARE_DYNAMIC(CMediaListTabWin)
public:
    enum { panelId = 15007, toggleCommand = 15000 };

    CMediaListTabWin();
    ~CMediaListTabWin() override;

    BOOL Create(int x, int y, CWnd* pParent);
    // Keeps clones of the list's media items as the CURRENT list (NULL does nothing).
    void SetCurrentList(CReferenceList* pList);
    CReferenceList* GetCurrentList() const { return m_pCurrentList; }

    COLORREF GetAccentColor() override { return 0x02404347; }

protected:
    afx_msg void OnClose();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg LRESULT OnRepaint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnChildActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void TellView(WPARAM wState);

    CReferenceList* m_pCurrentList = NULL;
};
