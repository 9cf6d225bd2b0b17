// CVLToolbar: the strip of twelve picture buttons along the top of the main frame. It switches
// the main view, opens and closes the search and dictionary panes, steps through the history,
// stops media, reopens the start-up menu and slides the Tool Kit out and in. The frame embeds it,
// creates it in its own creation, keeps its buttons in step with VLM_TOOLBAR_VIEW, VLM_PANE_DOWN,
// VLM_PANE_UP and VLM_STOP_OFF, and receives its commands as WM_COMMAND.
//
// One view button at most is latched (pressed) for the view on screen; the Search and Dictionary
// buttons stay pressed while their panes are open, the Tool Kit button while the panel is out.
// Words dragged onto the Search or Dictionary button are searched for or looked up.
#pragma once

#include "shell/FramePaneDropTarget.h"
#include "widgets/RollOverButton.h"

#include <afxwin.h>

#include <memory>

class CToolkit;

class CVLToolbar : public CWnd {
public:
    // The buttons' control ids.
    enum {
        btnSearch = 1,
        btnDictionary = 2,
        btnBack = 3,
        btnForward = 4,
        btnArticle = 5,
        btnTimeFrame = 6,
        btnAtlas = 7,
        btnJustLooking = 8,
        btnVLPlus = 9,
        btnToolkit = 10,
        btnHome = 11,
        btnStop = 12,
    };

    CVLToolbar();
    // Deletes the buttons, the Tool Kit and the brush; destroys the window.
    ~CVLToolbar() override;

    // A visible child "Toolbar Window" of the parent, as wide as its client area, 62 high.
    BOOL Create(CWnd* pParentWnd);
    // 1 for the toolbar's Dictionary button, 2 for its Search button, -1 for any other window.
    static int IsPaneButton(HWND hWnd);

    CToolkit* GetToolkit() const { return m_pToolkit; }
    // The button with that id (NULL before creation).
    CRollOverButton* GetButton(int nID) const;
    // Whether a button shows its pressed (latched) look.
    BOOL IsButtonDown(int nID) const;
    // The latched view button (0: none).
    int GetLatchedButton() const { return m_nLatched; }
    // Presses or releases the Tool Kit button (the panel's own slide ends call this).
    void SetToolkitButton(BOOL bDown);

    // Lays the buttons out for a toolbar width (the bitmaps of another screen class reloaded
    // first).
    void Layout(int nWidth);
    int GetLeftPart() const { return m_nLeftPart; }
    int GetGap() const { return m_nGap; }
    int GetDictionaryCentre() const { return m_nDictionaryCentre; }

    // Layout rules: the left part (Tool Kit, Search and Dictionary) is 35 % of the width, at
    // least 240, 333 or 422 by screen class; the nine other buttons share what is left with equal
    // gaps, never below 0. A toolbar too narrow for both gives the row its room from the left
    // part (Layout).
    static int LeftPartWidth(int nWidth, int nScreenClass);
    static int ButtonGap(int nWidth, int nLeftPart, int nScreenClass);
    // The screen class whose bitmaps the toolbar last loaded (-1: none yet).
    static int LoadedScreenClass();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnButton(UINT nID);
    afx_msg LRESULT OnLatchView(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaneDown(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaneUp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStopState(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Loads every button's pictures for a screen class; stops at the first that fails.
    void LoadBitmaps(int nScreenClass);
    void PressButton(int nID, BOOL bDown);
    void CollapseToolkit();
    // The search (1) or dictionary (2) pane button's command.
    void TogglePane(int nPane);
    void GoHome();

    CRollOverButton* m_pButtons[13] = {};
    CToolkit* m_pToolkit = NULL;
    int m_nLatched = 0;
    int m_nLeftPart = 0;
    int m_nWidth = 0;
    int m_nGap = 0;
    int m_nDictionaryCentre = 0;
    HWND m_hWndSearch = NULL;
    HWND m_hWndDictionary = NULL;
    CBrush m_brush;
    // The Search and Dictionary buttons as places where words may be dropped (made when the
    // toolbar's parent is the frame).
    std::unique_ptr<CFramePaneDropTarget> m_pSearchDrop;
    std::unique_ptr<CFramePaneDropTarget> m_pDictionaryDrop;
};
