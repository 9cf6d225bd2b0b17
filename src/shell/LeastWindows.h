// The least windows behind the main frame.
//
// The frame creates windows whose real classes belong to other parts of the program: the
// search pane and each main view. Until each
// real window is written, the class here stands in for it with the interface the frame uses and
// no more: it is created the way the frame creates the real one, answers the frame's messages
// with the real window's ownership rules (a carried object it receives is deleted at once), and
// paints a plain face. Whoever writes the real window deletes its class here and includes the
// real header in BaseWindow.cpp; nothing of this file may stay once every real window exists.
#pragma once

#include "base/VLMainWin.h"
#include "search/DictionaryTabWin.h"
#include "widgets/VLRefListBox.h"

#include <afxwin.h>

// ---- side panes (to be replaced by the search pane) ----
class CReference;
class CReferenceList;

class CLeastTabWin : public CWnd {
public:
    // A child panel of the parent at that point, 237 x 300, visible later.
    BOOL CreatePane(POINT pt, CWnd* pParentWnd, UINT nID, LPCSTR lpszTitle, LPARAM nPaneCode);

protected:
    afx_msg void OnPaint();
    // The pane closes: it hides and tells the toolbar that its button is up (VLM_PANE_DOWN).
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    LPARAM m_nPaneCode = 0;
};

// The search pane's stand-in holds the real result list (CVLRefListBox) below its title: results
// handed to it are shown there, a double-clicked result is opened through the frame, and the
// frame's print command prints the list.
class CSearchTabWin : public CLeastTabWin {
public:
    ~CSearchTabWin() override { delete m_pQuery; }
    BOOL Create(POINT pt, CWnd* pParentWnd);
    // Takes the query (a heap string given away) in a mode (0 topic, other word search).
    void SetMode(CString* pQuery, int nMode)
    {
        delete m_pQuery;
        m_pQuery = pQuery;
        m_nMode = nMode;
    }
    // Takes the text to search for (a heap string given away) in the mode it is in.
    void SearchFor(CString* pQuery)
    {
        delete m_pQuery;
        m_pQuery = pQuery;
    }
    // Shows a search's results (the list is taken over; NULL empties the list) and selects the
    // first article hit; that hit's reference (borrowed), NULL when there is none.
    CReference* ShowResults(CReferenceList* pList);
    // Opens a result in its view through the frame (a clone travels): maps in the atlas,
    // articles in the article view; NULL or a reference without a number does nothing.
    void OpenResult(CReference* pReference);
    CVLRefListBox& GetResultList() { return m_results; }

    CString* m_pQuery = NULL;
    int m_nMode = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnResultChosen(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrintResults(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHasResults(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CVLRefListBox m_results;
};

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

class CJustLookingMainWin : public CLeastMainWin {
public:
    CJustLookingMainWin();
};

// The atlas (8003): keeps its child windows on minimise; an overlay child with a flag that the
// frame sets when it becomes active.
class CAtlasMainWin : public CLeastMainWin {
public:
    CAtlasMainWin();
    void RememberChildWindows(int nRemember);
    CWnd* m_pOverlayWnd = NULL;
    int m_nOverlayFlag = 0;
    int m_nRemembered = 0;
};

class CTimeFrameMainWin : public CLeastMainWin {
public:
    CTimeFrameMainWin();
};

class CVLPlusMainWin : public CLeastMainWin {
public:
    CVLPlusMainWin();
};
