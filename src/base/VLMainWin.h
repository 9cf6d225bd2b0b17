// CVLMainWin: the base of every main view that the main frame (CBaseWindow) hosts. It fixes the
// operations through which the frame drives whichever view is current (print, copy, select all,
// activation, pane attachment, view switching) and the default answers to the frame's messages:
// a view that does not take a carried object frees it, and a view that does not say otherwise
// needs data kind 1 on disc 1.
#pragma once

#include <afxwin.h>

class CVLMainWin : public CWnd {
    DECLARE_DYNAMIC(CVLMainWin)
protected:
    // Never made by itself: only its views are.
    CVLMainWin();

public:
    // Destroys the window before the window base goes.
    ~CVLMainWin() override;

    // Creates the view's window: WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; with no class name a
    // class of its own (CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, the arrow cursor, no brush, no icon).
    virtual BOOL CreateView(LPCSTR lpszClassName, LPCSTR lpszWindowName, const RECT& rect, CWnd* pParentWnd,
                            UINT nID, CCreateContext* pContext = NULL);
    // The frame's Print command; every view implements it.
    virtual void OnFilePrint() = 0;
    virtual BOOL CanPrint();
    virtual void OnEditCopy();
    // Disables the command.
    virtual void OnUpdateEditCopy(CCmdUI* pCmdUI);
    virtual void OnEditSelectAll();
    // Disables the command.
    virtual void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    // The view becomes current (TRUE) or stops being current; when active the application's
    // palette is realised. Overrides call it.
    virtual void OnActivateMainWin(BOOL bActive);
    // Idle time for the view; non-zero asks for more. Default 0.
    virtual BOOL OnIdle(LONG lCount);
    // Makes this view the pane's parent.
    virtual void AttachTabWindow(CWnd* pPane);
    // Asks the frame to switch to the view with that id (not necessarily this one), with the
    // panes not kept; the parameter is not used.
    virtual void ShowMainWindow(UINT nID, LPARAM lParam);

    // Selects the application's display palette into a client DC of the view and realises it;
    // when forced or when colours changed, the view's top-level parent and all its children are
    // redrawn. Nothing while the start-up main menu is showing. TRUE.
    BOOL RealizeAppPalette(BOOL bForce);

protected:
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    // VLM_OPEN_WINDOW and VLM_RESTORE_STATE: a view that takes neither frees the carried object.
    afx_msg LRESULT OnFreeCarriedObject(WPARAM wParam, LPARAM lParam);
    // VLM_DATA_LOCATION: data kind 1 on disc 1.
    afx_msg LRESULT OnDataLocation(WPARAM wParam, LPARAM lParam);
    // VLM_START_PAGE: ShowMainWindow (wParam, lParam).
    afx_msg LRESULT OnStartPage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Deletes the carried object of a routing message (an object with a virtual destructor: a
// reference, a media display reference or another view state); 0 is allowed.
void DeleteCarriedObject(LPARAM lParam);

// The data location (VLM_DATA_LOCATION's answer) of a carried object: MAKELONG(disc, data-folder
// kind) of a reference or a view state; a reference whose kind has no data folder names the kind
// that no folder has, so that the frame's look-up fails and it drops the reference. Anything
// else (0 included): data kind 1 on disc 1.
LRESULT DataLocationOfCarriedObject(LPARAM lParam);
