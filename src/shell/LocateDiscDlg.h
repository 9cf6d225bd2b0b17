// LocateDiscDlg (dialog 621): where disc 1 is to be found, any CD-ROM drive or a folder that holds
// a copy of it. Set the flag and the location before running it and read them after OK.
#pragma once

#include <afxwin.h>

class LocateDiscDlg : public CDialog {
public:
    explicit LocateDiscDlg(CWnd* pParent);

    // TRUE: any CD-ROM drive; FALSE: the location (a folder, ending in a backslash after OK).
    BOOL m_bAnyDrive = TRUE;
    CString m_strLocation;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Any drive ends at once; a location must be given and must exist.
    void OnOK() override;
    afx_msg void OnChooseRadio();
    afx_msg void OnBrowse();
    DECLARE_MESSAGE_MAP()

    // The location edit and its browse button follow the location radio button.
    void EnableLocation(BOOL bEnable);

    int m_nChoice = 0;  // 0 any drive, 1 the location
};
