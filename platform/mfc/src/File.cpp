// CFile over the platform's file handles.
#include <afx.h>

#include <cstring>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

// The full platform path of a name, or the name itself when it cannot be completed.
CString FullPath(LPCSTR lpszFileName)
{
    char full[MAX_PATH];
    LPSTR filePart = NULL;
    DWORD n = GetFullPathName(lpszFileName, MAX_PATH, full, &filePart);
    if (n == 0 || n >= MAX_PATH)
        return CString(lpszFileName);
    return CString(full);
}

// "NAME.EXT" of a path.
CString NamePart(const CString& path)
{
    int slash = -1;
    for (int i = 0; i < path.GetLength(); ++i)
        if (path[i] == '\\' || path[i] == '/' || path[i] == ':')
            slash = i;
    return path.Mid(slash + 1);
}

// The file time of a CTime the way CTime(FILETIME) reads one back: through the local calendar
// time and the platform's local-to-UTC file time conversion (which applies the zone's present
// offset), so that a time written and read again is the same CTime.
FILETIME FileTimeOf(const CTime& time)
{
    SYSTEMTIME st;
    FILETIME local = {0, 0};
    FILETIME ft = {0, 0};
    if (!time.GetAsSystemTime(st) || !SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &ft))
        AfxThrowFileException(CFileException::generic, ERROR_INVALID_PARAMETER);
    return ft;
}

bool IsZero(const FILETIME& ft) { return ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0; }

CTime TimeOf(const FILETIME& ft) { return IsZero(ft) ? CTime() : CTime(ft); }

}  // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

namespace {
// Open flags that name no access or sharing mode.
BOOL BadOpenFlags(CFileException* pError)
{
    if (pError != NULL) {
        pError->m_cause = CFileException::generic;
        pError->m_lOsError = ERROR_INVALID_PARAMETER;
    }
    return FALSE;
}
}  // namespace

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    ASSERT(m_hFile == hFileNull);
    if (pError != NULL) {
        pError->m_cause = CFileException::none;
        pError->m_lOsError = -1;
        pError->m_strFileName = lpszFileName;
    }
    nOpenFlags &= ~static_cast<UINT>(typeText | typeBinary);
    m_bCloseOnDelete = FALSE;
    m_hFile = hFileNull;
    m_strFileName.Empty();

    DWORD dwAccess = 0;
    switch (nOpenFlags & 3) {
    case modeRead:
        dwAccess = GENERIC_READ;
        break;
    case modeWrite:
        dwAccess = GENERIC_WRITE;
        break;
    case modeReadWrite:
        dwAccess = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        return BadOpenFlags(pError);
    }
    DWORD dwShareMode = 0;
    switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive:
        dwShareMode = 0;
        break;
    case shareDenyWrite:
        dwShareMode = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        dwShareMode = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        dwShareMode = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:
        return BadOpenFlags(pError);
    }
    DWORD dwCreateFlag = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreateFlag = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    HANDLE hFile = CreateFile(lpszFileName, dwAccess, dwShareMode, NULL, dwCreateFlag, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        if (pError != NULL) {
            pError->m_lOsError = static_cast<LONG>(GetLastError());
            pError->m_cause = CFileException::OsErrorToException(pError->m_lOsError);
        }
        return FALSE;
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    m_strFileName = FullPath(lpszFileName);
    return TRUE;
}

DWORD CFile::GetPosition() const
{
    ASSERT(m_hFile != hFileNull);
    DWORD dwPos = SetFilePointer(m_hFile, 0, NULL, FILE_CURRENT);
    if (dwPos == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return dwPos;
}

LONG CFile::Seek(LONG lOff, UINT nFrom)
{
    ASSERT(m_hFile != hFileNull);
    ASSERT(nFrom == begin || nFrom == end || nFrom == current);
    SetLastError(NO_ERROR);
    DWORD dwNew = SetFilePointer(m_hFile, lOff, NULL, nFrom);
    if (dwNew == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return static_cast<LONG>(dwNew);
}

DWORD CFile::GetLength() const
{
    ASSERT(m_hFile != hFileNull);
    SetLastError(NO_ERROR);
    DWORD dwLen = GetFileSize(m_hFile, NULL);
    if (dwLen == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return dwLen;
}

void CFile::SetLength(DWORD dwNewLen)
{
    ASSERT(m_hFile != hFileNull);
    Seek(static_cast<LONG>(dwNewLen), begin);
    if (!SetEndOfFile(m_hFile))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    ASSERT(m_hFile != hFileNull);
    if (nCount == 0)
        return 0;
    DWORD dwRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &dwRead, NULL))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    ASSERT(m_hFile != hFileNull);
    if (nCount == 0)
        return;
    DWORD nWritten = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &nWritten, NULL))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    if (nWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CFile::LockRange(DWORD, DWORD)
{
    // The platform layer has no byte-range locks.
    AfxThrowNotSupportedException();
}

void CFile::UnlockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (!FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

void CFile::Close()
{
    ASSERT(m_hFile != hFileNull);
    BOOL bError = FALSE;
    LONG lOsError = NO_ERROR;
    if (m_hFile != hFileNull) {
        bError = !CloseHandle(m_hFile);
        if (bError)
            lOsError = static_cast<LONG>(GetLastError());
    }
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    CString strName = m_strFileName;
    m_strFileName.Empty();
    if (bError)
        CFileException::ThrowOsError(lOsError, strName);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CFile* CFile::Duplicate() const
{
    ASSERT(m_hFile != hFileNull);
    // The pseudo-handle of the current process.
    const HANDLE hProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
    HANDLE hFile = hFileNull;
    if (!DuplicateHandle(hProcess, m_hFile, hProcess, &hFile, 0, FALSE, DUPLICATE_SAME_ACCESS))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    CFile* pFile = new CFile(hFile);
    pFile->m_bCloseOnDelete = m_bCloseOnDelete;
    pFile->m_strFileName = m_strFileName;
    return pFile;
}

CString CFile::GetFileName() const { return NamePart(m_strFileName); }

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

CString CFile::GetFilePath() const { return m_strFileName; }

void CFile::SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    std::memset(static_cast<void*>(&rStatus), 0, sizeof rStatus);
    if (m_hFile == hFileNull)
        return FALSE;
    std::strncpy(rStatus.m_szFullName, m_strFileName, MAX_PATH - 1);
    FILETIME ftCreate, ftAccess, ftWrite;
    if (!GetFileTime(m_hFile, &ftCreate, &ftAccess, &ftWrite))
        return FALSE;
    SetLastError(NO_ERROR);
    DWORD dwSize = GetFileSize(m_hFile, NULL);
    if (dwSize == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return FALSE;
    rStatus.m_size = static_cast<LONG>(dwSize);
    if (!m_strFileName.IsEmpty()) {
        DWORD dwAttributes = GetFileAttributes(m_strFileName);
        rStatus.m_attribute = dwAttributes == INVALID_FILE_ATTRIBUTES ? 0 : static_cast<BYTE>(dwAttributes & ~FILE_ATTRIBUTE_NORMAL);
    }
    rStatus.m_ctime = TimeOf(ftCreate);
    rStatus.m_atime = TimeOf(ftAccess);
    rStatus.m_mtime = TimeOf(ftWrite);
    if (rStatus.m_ctime.GetTime() == 0)
        rStatus.m_ctime = rStatus.m_mtime;
    if (rStatus.m_atime.GetTime() == 0)
        rStatus.m_atime = rStatus.m_mtime;
    return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus)
{
    std::memset(static_cast<void*>(&rStatus), 0, sizeof rStatus);
    char full[MAX_PATH];
    LPSTR filePart = NULL;
    DWORD n = GetFullPathName(lpszFileName, MAX_PATH, full, &filePart);
    if (n == 0 || n >= MAX_PATH)
        return FALSE;
    std::memcpy(rStatus.m_szFullName, full, n + 1);

    WIN32_FIND_DATA findData;
    HANDLE hFind = FindFirstFile(lpszFileName, &findData);
    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    FindClose(hFind);
    rStatus.m_attribute = static_cast<BYTE>(findData.dwFileAttributes & ~FILE_ATTRIBUTE_NORMAL);
    rStatus.m_size = static_cast<LONG>(findData.nFileSizeLow);
    rStatus.m_mtime = TimeOf(findData.ftLastWriteTime);
    rStatus.m_ctime = IsZero(findData.ftCreationTime) ? rStatus.m_mtime : TimeOf(findData.ftCreationTime);
    rStatus.m_atime = IsZero(findData.ftLastAccessTime) ? rStatus.m_mtime : TimeOf(findData.ftLastAccessTime);
    return TRUE;
}

void PASCAL CFile::SetStatus(LPCSTR lpszFileName, const CFileStatus& status)
{
    // Only these bits can be set; directory and volume are what the name is.
    const DWORD settable = readOnly | hidden | system | archive;
    DWORD dwOldAttr = GetFileAttributes(lpszFileName);
    if (dwOldAttr == INVALID_FILE_ATTRIBUTES)
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
    DWORD dwNewAttr = status.m_attribute & settable;
    if (status.m_mtime.GetTime() != 0) {
        // A read-only file must lose the flag before its times can be written.
        if (dwOldAttr & readOnly) {
            dwOldAttr &= ~static_cast<DWORD>(readOnly);
            if (!SetFileAttributes(lpszFileName, dwOldAttr))
                CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
        }
        HANDLE hFile = CreateFile(lpszFileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (hFile == INVALID_HANDLE_VALUE)
            CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
        FILETIME ftWrite = FileTimeOf(status.m_mtime);
        FILETIME ftCreate = FileTimeOf(status.m_ctime);
        FILETIME ftAccess = FileTimeOf(status.m_atime);
        BOOL bOk = SetFileTime(hFile, status.m_ctime.GetTime() != 0 ? &ftCreate : NULL,
                               status.m_atime.GetTime() != 0 ? &ftAccess : NULL, &ftWrite);
        LONG lError = static_cast<LONG>(GetLastError());
        CloseHandle(hFile);
        if (!bOk)
            CFileException::ThrowOsError(lError, lpszFileName);
    }
    if ((dwOldAttr & settable) != dwNewAttr) {
        if (!SetFileAttributes(lpszFileName, dwNewAttr == 0 ? FILE_ATTRIBUTE_NORMAL : dwNewAttr))
            CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
    }
}

void PASCAL CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName)
{
    if (!MoveFile(lpszOldName, lpszNewName))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszOldName);
}

void PASCAL CFile::Remove(LPCSTR lpszFileName)
{
    if (!DeleteFile(lpszFileName))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
}

void CFile::AssertValid() const { CObject::AssertValid(); }

void CFile::Dump(CDumpContext& dc) const
{
    CObject::Dump(dc);
    dc << "with handle " << static_cast<const void*>(m_hFile) << " and name \"" << static_cast<LPCSTR>(m_strFileName)
       << "\"\n";
}
