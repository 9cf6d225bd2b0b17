// CDeleteDownloadsDlg (dialog 192, "Delete Downloaded Files"): the reader chooses between the
// files downloaded this session (checked at start) and every downloaded file.
#pragma once

#include <afxwin.h>

class CDeleteDownloadsDlg : public CDialog {
public:
    explicit CDeleteDownloadsDlg(CWnd* pParent = NULL);

    // After OK: 1 this session's files, 2 all of them.
    int GetChoice() const { return m_nChoice; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    int m_nChoice = 1;
};
