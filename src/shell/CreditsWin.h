// CCreditsWin: the program's About window, a modal tab dialog with the application title, the
// copyright and trademark notices and a row of buttons: Acknowledgments and Credits grow the
// window to show that page of marked-up text ("vl00ack.htm", "vl00crd.htm" in the disc's data
// folder) in a mini-article box, Back shrinks it again and Close ends it. A page that cannot be
// read makes the window fail to open (RunTabDialog then answers 2 at once).
#pragma once

#include "widgets/GenericTabWin.h"
#include "widgets/RollOverButton.h"

class CMiniArtThumb;

// The buttons' commands.
#define ID_CREDITS_ACKNOWLEDGMENTS 11041
#define ID_CREDITS_CREDITS 11042
#define ID_CREDITS_CLOSE 11043
#define ID_CREDITS_BACK 11044

class CCreditsWin : public CGenericTabWinDialog {
public:
    CCreditsWin();
    // Destroys and deletes the buttons and the page boxes.
    ~CCreditsWin() override;

    // The window's normal size and its margins.
    static constexpr int kTopBand = 15;
    static constexpr int kSideMargin = 25;
    static constexpr int kNormalWidth = kTopBand + 552;
    static constexpr int kNormalHeight = 2 * kSideMargin + 165;

    // The page files in the data folder, in the order they are read.
    static const char s_szCreditsPage[];
    static const char s_szAcknowledgmentsPage[];

    // The buttons, the window's normal size, and the two page boxes and headings.
    BOOL CreateControls() override;

    BOOL IsEnlarged() const { return m_bEnlarged; }
    const CString& GetHeading() const { return m_strHeading; }
    CMiniArtThumb* GetCreditsBox() const { return m_pCreditsBox; }
    CMiniArtThumb* GetAcknowledgmentsBox() const { return m_pAcknowledgmentsBox; }
    CRollOverButton& GetButton(int nIndex) { return m_buttons[nIndex]; }
    // The page boxes' place when enlarged (client coordinates).
    const CRect& GetPageRect() const { return m_rectPage; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnAcknowledgments();
    afx_msg void OnCredits();
    afx_msg void OnCloseButton();
    afx_msg void OnBack();
    DECLARE_MESSAGE_MAP()

    // Reads one page into a new box; NULL when the file cannot be read or the box not made.
    CMiniArtThumb* MakePageBox(const CString& strPath);
    // Shows one page (the other hidden) under its heading, growing the window first.
    void ShowPage(LPCSTR lpszHeading, CMiniArtThumb* pShow, CMiniArtThumb* pHide);
    void Enlarge();
    void CentreOnDesktop();
    // Places the buttons and, when enlarged, the page boxes.
    void Layout();

    CRollOverButton m_buttons[4];
    CSize m_sizeButton{0, 0};
    CSize m_sizeNormal{kNormalWidth, kNormalHeight};
    BOOL m_bEnlarged = FALSE;
    BOOL m_bCreateFailed = FALSE;
    CRect m_rectPage{0, 0, 0, 0};
    CRect m_rectHeading{0, 0, 0, 0};
    CString m_strHeading;
    CMiniArtThumb* m_pCreditsBox = NULL;
    CMiniArtThumb* m_pAcknowledgmentsBox = NULL;
    CString m_strCreditsText;
    CString m_strAcknowledgmentsText;
};
