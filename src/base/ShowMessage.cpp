#include "base/ShowMessage.h"

#include <afxwin.h>

void ShowMessage(LPCSTR pszText)
{
    CString strText(pszText);
    AfxMessageBox(strText, MB_OK);
}
