// CGrfQTWin: a movie window that belongs to a picture record (an animation, video or panorama
// item): it finds its movie file through the record and carries the record's hot spots, in the
// window's own coordinates. A click on a link hot spot opens the linked item; the pointer over
// a hot spot shows the link cursor. Hiding the window stops the movie.
#pragma once

#include "media/QTWin.h"

class CGrfDocument;

class CGrfQTWin : public CQTWin {
public:
    CGrfQTWin();
    ~CGrfQTWin() override;

    // Keeps the (borrowed) document and shows its movie file (from its data folder, asking for
    // the disc) in a child window at the rectangle; a panorama item makes a panorama window.
    // 0 when the folder is not found, the reader cancels, or the movie does not load ("Unable to
    // create movie window." is shown for the latter).
    BOOL Create(CGrfDocument* pDocument, CWnd* pParent, const RECT& rect);

    CGrfDocument* GetDocument() const { return m_pDocument; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()

    CGrfDocument* m_pDocument = NULL;
    BOOL m_bCaptured = FALSE;
};
