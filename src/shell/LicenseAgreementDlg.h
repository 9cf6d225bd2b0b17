// The first run's licence agreement (dialog 331): the agreement's text from the disc in the
// language chosen in the proof-of-entitlement notice ("Licnengl.txt", or "Licnfren.txt" for
// French, in the disc's "info_dat\" folder). Yes (OK) accepts it; the dialog ends with Cancel at
// once when the disc or the text cannot be had.
#pragma once

#include <afxwin.h>

class LicenseAgreementDlg : public CDialog {
public:
    explicit LicenseAgreementDlg(CWnd* pParent);

    // The note above the text.
    static const char s_szNote[];
    // The text file of a language.
    static LPCSTR TextFileName(int nLanguage);

    int m_nLanguage = 0;

protected:
    BOOL OnInitDialog() override;
};

// The first run's two agreements, one after the other, over the parent: the notice, then the
// licence agreement in the notice's language. IDOK when both ended with OK.
int RunFirstRunAgreements(CWnd* pParent);
