#include "base/UserDataFile.h"

#include "base/DataFolders.h"

#include <unordered_set>

namespace {

const int kMaxBackups = 99;

BOOL FileExists(const CString& strPath)
{
    return ::GetFileAttributes(strPath) != INVALID_FILE_ATTRIBUTES;
}

// The framework's own text for an exception.
CString ExceptionText(CException* e)
{
    char szText[512] = {};
    if (!e->GetErrorMessage(szText, sizeof szText))
        return "An unknown error occurred.";
    return szText;
}

}  // namespace

CUserDataFile::CUserDataFile(LPCSTR lpszFileName, LPCSTR lpszOpenFailure, LPCSTR lpszCorrupted,
                             LPCSTR lpszContents)
    : m_strFileName(lpszFileName), m_strOpenFailure(lpszOpenFailure), m_strCorrupted(lpszCorrupted),
      m_strContents(lpszContents)
{
}

CString CUserDataFile::Locate(LPCSTR lpszFileName)
{
    CString strFolder = GetAppProfileString(VL_PRODUCT_SECTION, "SNL", GetProgramDir());
    if (!strFolder.IsEmpty() && strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += '\\';
    return strFolder + lpszFileName;
}

void CUserDataFile::ReportOpenFailure(int nCause, BOOL bKeptAsIs)
{
    CString strText;
    strText.Format("%s\n Error Number = %d", static_cast<LPCSTR>(m_strOpenFailure), nCause);
    if (bKeptAsIs)
        strText += "\nThe file is left as it is: changes made now will not be saved into it.";
    AfxMessageBox(strText, MB_ICONSTOP);
}

void CUserDataFile::ReadObjects(CArchive& archive, CObArray& set, CRuntimeClass* pClass)
{
    std::unordered_set<CObject*> seen;
    DWORD_PTR nCount = archive.ReadCount();
    for (DWORD_PTR i = 0; i < nCount; ++i) {
        CObject* pObject = archive.ReadObject(pClass);
        // A null or a reference to an object read before, where a new one must stand.
        if (pObject == NULL || !seen.insert(pObject).second)
            AfxThrowArchiveException(CArchiveException::badIndex, archive.m_strFileName);
        set.Add(pObject);
    }
}

BOOL CUserDataFile::SetDamagedFileAside()
{
    for (int i = 1; i <= kMaxBackups; ++i) {
        CString strBackup = m_strPath + ".damaged";
        if (i > 1) {
            CString strNumber;
            strNumber.Format("%d", i);
            strBackup += strNumber;
        }
        if (FileExists(strBackup))
            continue;
        if (!::MoveFile(m_strPath, strBackup))
            return FALSE;
        m_strBackupPath = strBackup;
        return TRUE;
    }
    return FALSE;
}

CUserDataFile::LoadResult CUserDataFile::Load(CObArray& set, CRuntimeClass* pClass)
{
    m_strPath = Locate(m_strFileName);
    CFile file;
    CFileException error;
    if (!file.Open(m_strPath, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        if (error.m_cause == CFileException::fileNotFound) {
            // The first run: the file is made at once, holding an empty array.
            Save(set);
            return loadCreated;
        }
        // A file that is there but cannot be read is not written over.
        m_bSaveBlocked = FileExists(m_strPath);
        ReportOpenFailure(error.m_cause, m_bSaveBlocked);
        return loadFailed;
    }
    BOOL bDamaged = FALSE;
    {
        CArchive archive(&file, CArchive::load);
        try {
            ReadObjects(archive, set, pClass);
        } catch (CException* e) {
            // Damage (an archive or file error), or a length beyond memory: what was read stays.
            e->Delete();
            bDamaged = TRUE;
        }
        archive.Abort();
    }
    file.Close();
    if (!bDamaged)
        return loadRead;

    CString strText = m_strCorrupted;
    if (SetDamagedFileAside()) {
        strText += "\nThe damaged file has been kept as " + m_strBackupPath + ".";
    } else {
        m_bSaveBlocked = TRUE;
        strText += "\nThe damaged file could not be set aside: it is left as it is, and changes made now will not be "
                   "saved into it.";
    }
    AfxMessageBox(strText, MB_ICONEXCLAMATION);
    return loadDamaged;
}

BOOL CUserDataFile::Save(CObArray& set)
{
    if (m_bSaveBlocked)
        return FALSE;
    m_strPath = Locate(m_strFileName);
    const CString strTemp = GetTempPath();
    CFile file;
    CFileException error;
    if (!file.Open(strTemp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error)) {
        ReportOpenFailure(error.m_cause, FALSE);
        return FALSE;
    }
    CString strFailure;
    {
        CArchive archive(&file, CArchive::store);
        try {
            set.Serialize(archive);
            archive.Close();
        } catch (CException* e) {
            strFailure = ExceptionText(e);
            e->Delete();
            archive.Abort();
        }
    }
    try {
        file.Close();
    } catch (CException* e) {
        if (strFailure.IsEmpty())
            strFailure = ExceptionText(e);
        e->Delete();
        file.Abort();
    }
    if (strFailure.IsEmpty() && !::MoveFileEx(strTemp, m_strPath, MOVEFILE_REPLACE_EXISTING)) {
        LONG lOsError = static_cast<LONG>(::GetLastError());
        CFileException moveError(CFileException::OsErrorToException(lOsError), lOsError, m_strPath);
        strFailure = ExceptionText(&moveError);
    }
    if (strFailure.IsEmpty())
        return TRUE;
    ::DeleteFile(strTemp);
    AfxMessageBox("Unable to save the " + m_strContents + ".\n" + strFailure + "\nThe file keeps what was saved before.",
                  MB_ICONEXCLAMATION);
    return FALSE;
}
