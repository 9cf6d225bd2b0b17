// CGenericTabWin: the program's floating panel, a child window with a frame of its own, a
// 27-pixel caption band (an optional picture at its left, the title shortened with "..." to fit,
// a close box at its right) and a client area below it. The side panels (outline, related
// articles, search, dictionary, map search, media caption, instructions) derive from it; closing
// a panel only hides it.
//
// CGenericTabWinDialog: the same panel as a modal popup over the main window, run by RunTabDialog
// until EndTabDialog ends it (1 OK, 2 Cancel or closed). The owner is disabled while it runs.
// Derived dialogs create their controls in CreateControls and place the window there.
#pragma once

#include <afxwin.h>

// The caption band's height and the private message with which a closing panel tells the main
// window (wParam 0, lParam 3).
#define TABWIN_CAPTION_HEIGHT 27
#define VLM_TABWIN_CLOSED 0x411

class CGenericTabWin : public CWnd {
    DECLARE_DYNAMIC(CGenericTabWin)
public:
    CGenericTabWin();
    // Destroys the window.
    ~CGenericTabWin() override;

    // Creates the panel with style | WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION | WS_THICKFRAME; with
    // no class name a class of the program's (registered once) is used. nCaptionPictureId: a
    // bitmap drawn at the caption's left, 0 for none.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszTitle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID, UINT nCaptionPictureId = 0);
    // Fill of the caption band, PALETTEINDEX(58).
    virtual COLORREF GetCaptionColor();
    // Caption text while the focus is in the panel, PALETTEINDEX(10).
    virtual COLORREF GetActiveTextColor();
    // Caption text otherwise; the active colour unless a panel says otherwise.
    virtual COLORREF GetInactiveTextColor();
    // A further colour for the derived panels' own drawing, PALETTEINDEX(21).
    virtual COLORREF GetAccentColor();

    // Repaints the caption band and the frame.
    void RedrawCaption();
    // Brings the panel to the top and gives it the focus (unless it or a child has it).
    void Activate();

    // The close box in window coordinates, and whether a press inside it is held.
    const CRect& GetCloseBoxRect() const { return m_rectCloseBox; }
    BOOL IsCloseBoxPressed() const { return m_bCloseBoxPressed; }
    // The caption band in window coordinates for a window of width cx.
    static CRect CaptionBandRect(int cx);
    // The title as the caption shows it when the text may reach nRight (window coordinates)
    // from nLeft, in the DC's font.
    static CString FitTitle(CDC* pDC, const CString& strTitle, int nLeft, int nRight);

protected:
    // Whether the focus window is the panel or one of its children.
    BOOL HasFocusInside() const;
    // Draws the close box (pressed or not) on a window DC.
    void DrawCloseBox(CDC* pDC, BOOL bPressed);

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    // The whole caption band moves the panel (the close box acts on its own press).
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnClose();
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()

    CRect m_rectCloseBox;
    BOOL m_bCloseBoxPressed = FALSE;
    UINT m_nCaptionPictureId = 0;
    UINT m_nCloseBoxId = 7556;
    UINT m_nCloseBoxPressedId = 7557;
};

class CGenericTabWinDialog : public CGenericTabWin {
    DECLARE_DYNAMIC(CGenericTabWinDialog)
public:
    explicit CGenericTabWinDialog(LPCSTR lpszTitle);
    // Removes a hook that is still installed.
    ~CGenericTabWinDialog() override;

    // The class name, style, parent and id are not used: the dialog is a WS_POPUP | WS_CAPTION
    // window with WS_EX_DLGMODALFRAME owned by the main window, which is disabled and placed just
    // behind it. FALSE (the owner enabled and active again) when the window cannot be made.
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszTitle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                UINT nCaptionPictureId = 0) override;
    // Every dialog makes its controls here (and sizes and places its window); it calls
    // InitControls first.
    virtual BOOL CreateControls() = 0;
    BOOL InitControls();

    // Creates the dialog, shows it and runs the modal loop; the window is gone when it returns.
    // The end code: 1 OK, 2 Cancel or closed (2 also when the window could not be made).
    int RunTabDialog();
    // Ends the modal loop with that code; the main window is enabled and activated again.
    void EndTabDialog(int nCode);

    const CString& GetTitle() const { return m_strTitle; }
    CWnd* GetOwnerWnd() const { return m_pOwnerWnd; }

protected:
    // Puts the owner just behind the dialog in z-order.
    void KeepOwnerBehind();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnOK();
    afx_msg void OnCancel();
    afx_msg void OnClose();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    // What a dialog's OnPaint draws: the ground erasing gives it, framed in black.
    void PaintFramedGround(CDC* pDC);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()

    DWORD m_dwReserved = 0;
    HHOOK m_hHook = NULL;
    CString m_strTitle;
    CWnd* m_pOwnerWnd = NULL;
};
