#include "widgets/FileListFill.h"

CString FileListPattern(LPCSTR lpszPattern, LPCSTR lpszFilter)
{
    if (lpszPattern != NULL && *lpszPattern != '\0')
        return lpszPattern;
    CString strFilter(lpszFilter != NULL ? lpszFilter : "");
    strFilter.TrimRight('|');
    const int nBar = strFilter.ReverseFind('|');
    if (nBar >= 0 && nBar + 1 < strFilter.GetLength())
        return strFilter.Mid(nBar + 1);
    return "*.*";
}

int FillFileList(CListBox& list, LPCSTR lpszFolder, LPCSTR lpszPattern, LPCSTR lpszFilter)
{
    list.ResetContent();
    CString strSearch(lpszFolder != NULL ? lpszFolder : "");
    if (!strSearch.IsEmpty() && strSearch[strSearch.GetLength() - 1] != '\\')
        strSearch += '\\';
    strSearch += FileListPattern(lpszPattern, lpszFilter);

    int nAdded = 0;
    WIN32_FIND_DATA data;
    HANDLE hFind = ::FindFirstFile(strSearch, &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        const DWORD dwLeftOut =
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;
        do {
            if ((data.dwFileAttributes & dwLeftOut) == 0 && list.AddString(data.cFileName) >= 0)
                ++nAdded;
        } while (::FindNextFile(hFind, &data));
        ::FindClose(hFind);
    }
    list.Invalidate();
    list.UpdateWindow();
    return nAdded;
}
