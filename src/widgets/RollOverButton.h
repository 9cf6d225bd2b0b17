// CRollOverButton: a picture button that shows one more picture while the cursor is over it.
// At most one roll-over button of the program is "hovered" at a time. The hover ends when the
// cursor moves onto another roll-over button, when the button is released or destroyed, when the
// application's message filter sees a mouse move outside it (CheckHoverExit), and at the latest
// on the next tick of the hover timer (every 500 ms while a button is hovered).
#pragma once

#include "widgets/DibButton.h"

class CDib;

class CRollOverButton : public CDibButton {
    DECLARE_DYNAMIC(CRollOverButton)
public:
    explicit CRollOverButton(BOOL bPaletteDC = TRUE);
    ~CRollOverButton() override;

    // The hover picture from a bitmap resource id; FALSE (and no hover picture) when it cannot
    // be made.
    BOOL LoadDib(UINT nId);
    UINT GetHoverId() const { return m_nHoverId; }
    BOOL HasHoverPicture() const { return m_pHoverDib != NULL; }
    // Releases the hover picture, then loads the state pictures: give the hover picture after.
    BOOL LoadStateBitmaps(UINT nNormal, UINT nSelected = 0, UINT nFocused = 0, UINT nDisabled = 0,
                          UINT nAltNormal = 0, UINT nAltSelected = 0, UINT nAltFocused = 0,
                          UINT nAltDisabled = 0) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // The application's message filter calls this for every message before it is dispatched: a
    // mouse move whose point lies outside the hovered button ends the hover. Never consumes the
    // message (FALSE always).
    static BOOL CheckHoverExit(const MSG* pMsg);
    // The hovered button, or NULL.
    static CRollOverButton* GetHoverButton();
    // Arms the hover timer (a thread timer of 500 ms); it runs while a button is hovered.
    static void StartHoverTimer();

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void FreeHoverDib();
    // Ends the hover of the hovered button when the screen point lies outside its window.
    static void EndHoverOutside(POINT ptScreen);
    static void EndHover();
    static void CALLBACK HoverTimerProc(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);

    CDib* m_pHoverDib = NULL;
    UINT m_nHoverId = 0;
};
