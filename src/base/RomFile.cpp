#include "base/RomFile.h"

#include "base/DataFolders.h"

CRomFile* CRomFile::s_pHead = NULL;
BOOL CRomFile::s_bReleased = FALSE;

namespace {

// The folder of the disc that every disc file lies below.
const char kInfoDatFolder[] = "\\info_dat\\";

}  // namespace

CRomFile::CRomFile()
    : m_pPrev(NULL), m_pNext(s_pHead), m_bOpen(FALSE), m_dwSavedPosition(0), m_nOpenFlags(0)
{
    if (s_pHead != NULL)
        s_pHead->m_pPrev = this;
    s_pHead = this;
}

CRomFile::~CRomFile()
{
    if (m_pPrev != NULL)
        m_pPrev->m_pNext = m_pNext;
    if (m_pNext != NULL)
        m_pNext->m_pPrev = m_pPrev;
    if (s_pHead == this)
        s_pHead = m_pNext;
}

BOOL CRomFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_bOpen = TRUE;
    m_dwSavedPosition = 0;
    m_strSavedPath.Empty();
    if ((nOpenFlags & typeText) == 0)
        nOpenFlags |= typeBinary;
    m_nOpenFlags = nOpenFlags;
    return CStdioFile::Open(lpszFileName, nOpenFlags, pError);
}

void CRomFile::Close()
{
    // A released file (or one that failed to reopen) is closed already.
    if (m_hFile != hFileNull)
        CStdioFile::Close();
    m_bOpen = FALSE;
    m_dwSavedPosition = 0;
    m_strSavedPath.Empty();
}

DWORD CRomFile::GetPosition() const
{
    // Released files are closed; the place they will be reopened at stands for them (0 for a
    // file that was not open).
    if (s_bReleased && m_hFile == hFileNull)
        return m_dwSavedPosition;
    ThrowIfClosed();
    return CStdioFile::GetPosition();
}

void CRomFile::ThrowIfClosed() const
{
    if (m_hFile == hFileNull)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strSavedPath.IsEmpty() ? NULL : static_cast<LPCSTR>(m_strSavedPath));
}

UINT CRomFile::Read(void* lpBuf, UINT nCount)
{
    ThrowIfClosed();
    return CStdioFile::Read(lpBuf, nCount);
}

LPSTR CRomFile::ReadString(LPSTR lpsz, UINT nMax)
{
    ThrowIfClosed();
    return CStdioFile::ReadString(lpsz, nMax);
}

BOOL CRomFile::ReadString(CString& rString)
{
    ThrowIfClosed();
    return CStdioFile::ReadString(rString);
}

LONG CRomFile::Seek(LONG lOff, UINT nFrom)
{
    ThrowIfClosed();
    return CStdioFile::Seek(lOff, nFrom);
}

void PASCAL CRomFile::ReleaseAll()
{
    if (s_bReleased)
        return;
    DataFoldersChanged();
    for (CRomFile* pFile = s_pHead; pFile != NULL; pFile = pFile->m_pNext) {
        if (!pFile->m_bOpen || pFile->m_hFile == hFileNull)
            continue;
        pFile->m_strSavedPath = pFile->GetFilePath();
        pFile->m_dwSavedPosition = pFile->CStdioFile::GetPosition();
        pFile->CStdioFile::Abort();
    }
    s_bReleased = TRUE;
}

void PASCAL CRomFile::ReopenAll(LPCSTR lpszInfoDatFolder)
{
    if (!s_bReleased)
        return;
    s_bReleased = FALSE;
    const CString strFolder = lpszInfoDatFolder != NULL ? lpszInfoDatFolder : "";
    for (CRomFile* pFile = s_pHead; pFile != NULL; pFile = pFile->m_pNext) {
        if (!pFile->m_bOpen || pFile->m_strSavedPath.IsEmpty())
            continue;
        const CString strSaved = pFile->m_strSavedPath;
        const DWORD dwPosition = pFile->m_dwSavedPosition;
        pFile->m_strSavedPath.Empty();
        pFile->m_dwSavedPosition = 0;

        CString strLower = strSaved;
        strLower.MakeLower();
        int nAt = strLower.Find(kInfoDatFolder);
        if (nAt < 0)
            continue;  // not below a disc's data folder: it stays closed
        CString strNewPath = strFolder + strSaved.Mid(nAt + static_cast<int>(sizeof kInfoDatFolder) - 1);
        if (!pFile->CStdioFile::Open(strNewPath, pFile->m_nOpenFlags))
            continue;
        try {
            pFile->CStdioFile::Seek(static_cast<LONG>(dwPosition), begin);
        } catch (CFileException* e) {
            e->Delete();
            pFile->CStdioFile::Abort();
        }
    }
}
