// CClearWin: the blank main view (8015). It shows nothing but one solid colour; the main frame
// makes it through its view factory with the whole client rectangle and gives it its colour.
#pragma once

#include "base/VLMainWin.h"

class CClearWin : public CVLMainWin {
public:
    CClearWin();
    ~CClearWin() override;

    // The view as a child of the parent with id 8015 and the text "Clear Window".
    BOOL Create(const RECT& rect, CWnd* pParentWnd);
    // The fill colour of the next paint; PALETTERGB(0, 0, 0) until set.
    void SetColor(COLORREF crColor);
    COLORREF GetColor() const { return m_crColor; }

    // Nothing to print.
    void OnFilePrint() override;
    void OnActivateMainWin(BOOL bActive) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_crColor;
};
