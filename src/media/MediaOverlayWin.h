// CMediaOverlayWin: the media view's "OVERLAYS" panel, a reference tab that lists the overlays of
// the picture shown; selecting one (a picture or a sound) shows it in the picture's place
// (VLM_POST_TO_WINDOW with -1 to the view) without changing the view's media list.
#pragma once

#include "media/ReferenceTabWin.h"

class CMediaOverlayWin : public CReferenceTabWin {
    DECLARE_DYNAMIC(CMediaOverlayWin)
public:
    enum { panelId = 15008, toggleCommand = 15003 };

    CMediaOverlayWin() = default;
    ~CMediaOverlayWin() override;

    BOOL Create(int x, int y, CWnd* pParent);
    // Keeps the overlay list (borrowed from the view) and shows it.
    void SetOverlays(CReferenceList* pList);
    // Shows the overlay (borrowed): TRUE when the view was asked to show it.
    BOOL ShowOverlay(CReference* pReference);

    COLORREF GetCaptionColor() override { return 0x0100003A; }
    COLORREF GetActiveTextColor() override { return 0x0100000A; }
    COLORREF GetAccentColor() override { return 0x02404347; }

protected:
    afx_msg void OnSelChanged(NMHDR* pNotify, LRESULT* pResult);
    afx_msg void OnDoubleClick(NMHDR* pNotify, LRESULT* pResult);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnClose();
    afx_msg LRESULT OnChildActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CReferenceList* m_pOverlays = NULL;
};
