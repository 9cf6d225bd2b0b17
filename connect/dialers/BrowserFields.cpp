#include "dialers/BrowserFields.h"

#include "portixcmn/PortixCmn.h"

#include <afxdlgs.h>

void EnableOwnBrowserFields(CWnd* pDialog, const BrowserFieldIds& ids)
{
    const BOOL own = ::IsDlgButtonChecked(pDialog->GetSafeHwnd(), ids.useDefault) != BST_CHECKED;
    for (int id : {ids.program, ids.browse, ids.parameters, ids.oneBrowser})
        if (CWnd* item = pDialog->GetDlgItem(id))
            item->EnableWindow(own);
}

void BrowseForBrowserProgram(CWnd* pDialog, int nProgramId)
{
    CFileDialog dialog(TRUE, NULL, NULL,
                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES | OFN_EXPLORER,
                       "Executable files (*.exe;*.com)|*.exe; *.com|Batch files (*.bat)|*.bat|All Files (*.*)|*.* ||",
                       pDialog);
    if (dialog.DoModal() == IDOK)
        ::SetDlgItemText(pDialog->GetSafeHwnd(), nProgramId, dialog.GetPathName());
}

BOOL CheckBrowserProgram(CDialog* pDialog, int nProgramId, const CString& program, UINT nNoBrowserId,
                         UINT nInvalidBrowserId)
{
    UINT nRefusal = 0;
    if (program.IsEmpty())
        nRefusal = nNoBrowserId;
    else if (!dlrFileExist(program))
        nRefusal = nInvalidBrowserId;
    if (nRefusal == 0)
        return TRUE;
    AfxMessageBox(nRefusal, MB_OK | MB_ICONEXCLAMATION);
    pDialog->GotoDlgCtrl(pDialog->GetDlgItem(nProgramId));
    return FALSE;
}
