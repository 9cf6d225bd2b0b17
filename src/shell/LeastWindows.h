// The least windows behind the main frame.
//
// The frame creates windows whose real classes belong to other parts of the program: each main
// view. Until each real window is written, the class here stands in for it with the interface the
// frame uses and no more: it is created the way the frame creates the real one, answers the frame's messages
// with the real window's ownership rules (a carried object it receives is deleted at once), and
// paints a plain face. Whoever writes the real window deletes its class here and includes the
// real header in BaseWindow.cpp; nothing of this file may stay once every real window exists.
#pragma once

#include "base/VLMainWin.h"
#include "search/DictionaryTabWin.h"

#include <afxwin.h>

// ---- main views (each to be replaced by its subsystem's view) ----

// What the least views share: creation with the view area, a face naming the view, and the
// deletion of every carried object they are handed.
class CLeastMainWin : public CVLMainWin {
public:
    BOOL CreateMainWin(const RECT& rect, CWnd* pParentWnd);
    void OnFilePrint() override;

protected:
    CLeastMainWin(UINT nID, LPCSTR lpszName, COLORREF crFace);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    // The data location of the carried object (a reference or a view state): its disc and its
    // data-folder kind; without one data kind 1 on disc 1.
    afx_msg LRESULT OnObjectDataLocation(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTakeCarriedObject(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    UINT m_nID;
    LPCSTR m_lpszName;
    COLORREF m_crFace;
};

class CVLPlusMainWin : public CLeastMainWin {
public:
    CVLPlusMainWin();
};
