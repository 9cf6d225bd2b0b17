// The first run's proof-of-entitlement notice (dialog 333): the entitlement to one copy of the
// product, in English and in French, which the reader can print, and the choice of the language
// of the licence agreement that follows it (0 English, 1 French).
#pragma once

#include <afxwin.h>

class ProofOfEntitlementDlg : public CDialog {
public:
    explicit ProofOfEntitlementDlg(CWnd* pParent);

    // The notice's text (lines ended with CR LF).
    static const char s_szNotice[];
    // Prints the notice on a printer the reader chooses: the text in 12-point Arial on the page
    // less an inch on every side, wrapped at the area's width. A failure says which step failed
    // and stops printing.
    void PrintNotice();

    int m_nLanguage = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnPrint();
    DECLARE_MESSAGE_MAP()
};
