// CDibButton: the owner-drawn picture button of every screen. Each state (normal, pressed,
// focused, disabled) shows a bitmap resource; an alternate set of four pictures can stand in for
// the first where present (a latched look, for instance). Ids below 7000 come from the program,
// 7000 and above from the screen-class resource library, decided by the normal picture's id.
#pragma once

#include <afxwin.h>

class CDibButton : public CButton {
    DECLARE_DYNAMIC(CDibButton)
public:
    // bPaletteDC picks the palette selector the drawing uses: CPalettePaintDC when non-zero,
    // CAppPaletteSelector otherwise (both select the application's display palette).
    explicit CDibButton(BOOL bPaletteDC = TRUE);
    // Destroys the window.
    ~CDibButton() override;

    // Finds the pictures (every non-zero id, the normal one always) as bitmap resources and keeps
    // them; a zero id leaves its state without a picture of its own. FALSE when one is missing;
    // the states before it are set, the ones after it keep what they had.
    virtual BOOL LoadStateBitmaps(UINT nNormal, UINT nSelected = 0, UINT nFocused = 0, UINT nDisabled = 0,
                                  UINT nAltNormal = 0, UINT nAltSelected = 0, UINT nAltFocused = 0,
                                  UINT nAltDisabled = 0);
    // Resizes the window to the normal picture (no move, z-order or activation change).
    void SizeToBitmap();
    // Uses the alternate pictures (where present) or the first set; repaints when it changes.
    void SetAlternate(BOOL bAlternate);
    // The pressed-and-latched look (1) or the normal one (0): the alternate set.
    void SetDib(BOOL bPressed) { SetAlternate(bPressed); }
    BOOL IsAlternate() const { return m_bAlternate; }
    // Left-button presses and releases go to the parent (in its client coordinates) instead of
    // pressing the button.
    void SetForwardMouse(BOOL bForward = TRUE) { m_bForwardClicks = bForward; }

    UINT GetNormalId() const { return m_nNormalId; }
    UINT GetSelectedId() const { return m_nSelectedId; }
    HMODULE GetPictureModule() const { return m_hModule; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    // The picture of an owner-draw item state (ODS_ bits): pressed, focused, disabled, normal in
    // that order of precedence; NULL when there is none.
    HRSRC PictureForState(UINT nItemState) const;
    // Draws a picture at (0, 0) in natural size with the application's palette selected.
    void DrawPicture(CDC* pDC, HRSRC hPicture) const;
    void DrawPicture(CDC* pDC, const class CDib& dib) const;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    BOOL m_bAlternate = FALSE;
    BOOL m_bPaletteDC;
    HMODULE m_hModule = NULL;
    HRSRC m_hNormal = NULL;
    HRSRC m_hSelected = NULL;
    HRSRC m_hFocused = NULL;
    HRSRC m_hDisabled = NULL;
    HRSRC m_hAltNormal = NULL;
    HRSRC m_hAltSelected = NULL;
    HRSRC m_hAltFocused = NULL;
    HRSRC m_hAltDisabled = NULL;
    UINT m_nNormalId = 0;
    UINT m_nSelectedId = 0;
    BOOL m_bForwardClicks = FALSE;

private:
    // Passes a press or release on to the parent.
    void ForwardToParent(UINT message, CPoint point);
};
