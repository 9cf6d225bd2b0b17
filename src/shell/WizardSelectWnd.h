// CWizardSelectWnd: the modal window from which the reader starts one of the suite's homework
// wizards (research report, chart, timeline, web page, quiz). Each wizard's picture button posts
// the main window the message that starts the wizard's program and closes the window; the
// program starts once the window has gone.
#pragma once

#include <afxwin.h>

class CDibButton;

class CWizardSelectWnd : public CDialog {
    DECLARE_DYNAMIC(CWizardSelectWnd)
public:
    explicit CWizardSelectWnd(CWnd* pParent = NULL);
    ~CWizardSelectWnd() override;

    BOOL OnInitDialog() override;

    // The wizard buttons in the order they are made (research, chart, timeline, web page, quiz);
    // NULL until made.
    CDibButton* GetButton(int nIndex) const;
    BOOL AreFontsMade() const { return m_bFontsMade; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    afx_msg void OnResearch();
    afx_msg void OnChart();
    afx_msg void OnTimeline();
    afx_msg void OnWebPage();
    afx_msg void OnQuiz();
    afx_msg void OnCancelButton();
    DECLARE_MESSAGE_MAP()

private:
    // Makes the five buttons left of the headings, each as large as picture 503 (rounded down to
    // a multiple of 4); FALSE when a button or its pictures cannot be made.
    BOOL CreateButtons();
    // Posts the main window the start message of a wizard and closes the window.
    void StartWizard(UINT nMessage);
    // Makes the heading and text fonts for the painting context and gives them to the texts.
    void MakeFonts(CDC* pDC);

    CDibButton* m_pButtons[5] = {};
    CRect m_rcClient;
    BOOL m_bFontsMade = FALSE;
    CFont m_fontHeading;
    CFont m_fontText;
};
