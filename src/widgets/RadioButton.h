// CRadioButton: an owner-drawn radio button or check box with a caption. A radio shows its
// normal picture, and its pressed picture when checked; a check box draws a framed square with a
// cross. Pressing a radio checks it and tells the other radios of its form (the descendants of
// its parent) to uncheck themselves (0x1789); the form is told too, by a posted message.
#pragma once

#include "widgets/DibButton.h"

// (0, the radio button just checked): every other checked radio unchecks itself.
#define VLM_RADIO_CHECKED 0x1789
// (0, CRadioButton** or 0): a checked radio stores itself there and answers 1.
#define VLM_RADIO_WHO_IS_CHECKED 0x178A

class CRadioButton : public CDibButton {
    DECLARE_DYNAMIC(CRadioButton)
public:
    CRadioButton();
    ~CRadioButton() override;

    // A radio when the style's button type is BS_RADIOBUTTON or BS_AUTORADIOBUTTON, else a
    // check box. The style's top bit (0x80000000) asks for the caption to be indented by 40
    // pixels; it is taken out of the style. The window is an owner-drawn button.
    BOOL Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The caption's background: a solid brush of that colour (white at first).
    void SetBackgroundColor(COLORREF crColor);
    int GetCheck() const { return m_bChecked; }
    // Sets the checked flag; the caller invalidates the button.
    void SetCheck(int nCheck) { m_bChecked = nCheck != 0; }
    BOOL IsRadio() const { return m_bRadio; }
    // The size that shows the whole caption: its width + the client height + 6, by the client height.
    void GetIdealSize(SIZE* pSize);
    CPoint GetCreatedPosition() const { return m_ptCreated; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnRadioChecked(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWhoIsChecked(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void DrawWhole(CDC* pDC, const DRAWITEMSTRUCT& item);
    void DrawSelection(CDC* pDC, const DRAWITEMSTRUCT& item);
    void DrawFocus(CDC* pDC, const DRAWITEMSTRUCT& item);
    // Measures the indicator: a radio's normal picture (once), a check box's client height.
    void MeasureIndicator(const DRAWITEMSTRUCT& item);
    // The check box's frame (grey when disabled) and white inside.
    void DrawCheckFrame(CDC* pDC, BOOL bDisabled);
    void DrawCross(CDC* pDC);
    int CaptionLeft() const;
    CString Caption() const;
    // The font the window was given (WM_SETFONT), or NULL for the system font.
    CFont* WindowFont() const;

    int m_nIndicatorWidth = 0;
    int m_nIndicatorHeight = 0;
    BOOL m_bRadio = FALSE;
    BOOL m_bChecked = FALSE;
    CBrush* m_pBackground;
    BOOL m_bIndent = FALSE;
    CPoint m_ptCreated{0, 0};
    // The selection drawn for the press under way: a press toggles once, however often the
    // button is drawn while it is held.
    BOOL m_bPressHandled = FALSE;
};
