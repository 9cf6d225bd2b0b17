#include "shell/FolderPrompts.h"

#include "base/DataFolders.h"

#include <shlobj.h>

BOOL BrowseForFolder(CWnd* pOwner, LPCSTR lpszTitle, CString& strFolder)
{
    char szName[MAX_PATH] = "";
    BROWSEINFO info{};
    info.hwndOwner = pOwner != NULL ? pOwner->GetSafeHwnd() : NULL;
    info.pszDisplayName = szName;
    info.lpszTitle = lpszTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST pList = ::SHBrowseForFolder(&info);
    if (pList == NULL)
        return FALSE;
    char szPath[MAX_PATH] = "";
    const BOOL bPath = ::SHGetPathFromIDList(pList, szPath);
    ::ILFree(pList);
    if (!bPath || szPath[0] == '\0')
        return FALSE;
    strFolder = szPath;
    AppendBackslash(strFolder);
    return TRUE;
}

BOOL FolderExists(LPCSTR lpszFolder)
{
    CString strFolder(lpszFolder);
    // "C:\" names the root; any other folder is asked for without its backslash.
    if (strFolder.GetLength() > 3 && strFolder[strFolder.GetLength() - 1] == '\\')
        strFolder = strFolder.Left(strFolder.GetLength() - 1);
    if (strFolder.IsEmpty())
        return FALSE;
    const DWORD dwAttributes = ::GetFileAttributes(strFolder);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL CreateFolderPath(LPCSTR lpszFolder)
{
    CString strFolder(lpszFolder);
    AppendBackslash(strFolder);
    // Each folder on the way, from the first below the root.
    for (int nAt = strFolder.Find('\\', 0); nAt >= 0; nAt = strFolder.Find('\\', nAt + 1)) {
        const CString strPart = strFolder.Left(nAt + 1);
        if (strPart.GetLength() <= 3 || FolderExists(strPart))
            continue;
        ::CreateDirectory(strPart.Left(strPart.GetLength() - 1), NULL);
    }
    return FolderExists(strFolder);
}

CString DialogItemText(HWND hDialog, int nID)
{
    CString strText;
    HWND hItem = ::GetDlgItem(hDialog, nID);
    if (hItem == NULL)
        return strText;
    const int nLength = ::GetWindowTextLength(hItem);
    ::GetWindowText(hItem, strText.GetBuffer(nLength + 1), nLength + 1);
    strText.ReleaseBuffer();
    return strText;
}
