// CCustomDibButton: a picture button that forces its own window-position behaviour: the film
// strips place it with SetPosition, and every later move or resize of the window is recorded and
// made with the stored position flags. It keeps the picture it shows (the media list thumbnail's
// item picture). Drawing picks the state picture by the item state, the checked (alternate) set
// first.
#pragma once

#include "widgets/DibButton.h"

class CDib;

class CCustomDibButton : public CDibButton {
    DECLARE_DYNAMIC(CCustomDibButton)
public:
    CCustomDibButton();
    // Deletes the picture when the button owns it.
    ~CCustomDibButton() override;

    // Stores the position, size and the flags that every move of the window is then made with.
    // Returns 1.
    BOOL SetPosition(int x, int y, int cx, int cy, UINT nFlags);
    // The picture the button shows (bOwned: the button deletes it).
    void SetImage(CDib* pImage, BOOL bOwned);
    CDib* GetImage() const { return m_pImage; }
    CRect GetKeptRect() const { return CRect(m_x, m_y, m_x + m_cx, m_y + m_cy); }
    UINT GetPositionFlags() const { return m_nFlags; }

    // The button's size (the picture's, or 0 without one).
    virtual int GetButtonWidth();
    virtual int GetButtonHeight();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()

    int m_x = 0;
    int m_y = 0;
    int m_cx = 0;
    int m_cy = 0;
    UINT m_nFlags = SWP_NOZORDER | SWP_NOREDRAW;
    CDib* m_pImage = NULL;
    BOOL m_bOwnsImage = FALSE;
};
