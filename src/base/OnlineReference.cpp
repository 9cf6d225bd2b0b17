#include "base/OnlineReference.h"

#include "base/DataFolders.h"
#include "base/Rin.h"

#include <afxwin.h>

#include <new>

IMPLEMENT_DYNAMIC(COnlineReference, CReference)

COnlineReference::COnlineReference(const CRin& rin, LPCSTR lpszFileName)
    : m_strFileName(lpszFileName != NULL ? lpszFileName : "")
{
    SetNumber(static_cast<LONG>(rin.GetNumber()));
}

COnlineReference::COnlineReference(const COnlineReference& other)
    : CReference(other), m_strFileName(other.m_strFileName)
{
}

CString COnlineReference::GetFilePath()
{
    if (m_strFileName.IsEmpty())
        return CString();
    return GetDownloadDir() + m_strFileName;
}

BOOL COnlineReference::GetDataFolder(CString& strFolder, BOOL)
{
    strFolder = GetDownloadDir();
    if (!strFolder.IsEmpty()) {
        // The folder without its trailing backslash must be a directory.
        const CString strDir = strFolder.Left(strFolder.GetLength() - 1);
        DWORD dwAttributes = GetFileAttributes(strDir);
        if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            AfxMessageBox("The download directory is not configured properly and could not be found.",
                          MB_ICONEXCLAMATION);
            strFolder.Empty();
        }
    }
    return !strFolder.IsEmpty();
}

BOOL COnlineReference::IsFileAvailable()
{
    const CString strPath = GetFilePath();
    if (strPath.IsEmpty())
        return FALSE;
    DWORD dwAttributes = GetFileAttributes(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

CReference* COnlineReference::Clone()
{
    return new (std::nothrow) COnlineReference(*this);
}

// ---------------------------------------------------------------------------------------------
// CMiniArticleReference

IMPLEMENT_DYNAMIC(CMiniArticleReference, CReference)

CMiniArticleReference::CMiniArticleReference(const CRin& rin, LPCSTR lpszTitle, LPCSTR lpszLinkText)
{
    SetNumber(static_cast<LONG>(rin.GetNumber()));
    SetTitle(lpszTitle);
    SetLinkText(lpszLinkText);
    SetKind(REFKIND_MINIARTICLE);
}
