// CMemFile: a file in a block of memory.
#include <afx.h>

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL), m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL), m_bAutoDelete(FALSE)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    if (m_lpBuffer != NULL && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = NULL;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    ASSERT(m_lpBuffer == NULL);
    if (m_lpBuffer != NULL && m_bAutoDelete)
        Free(m_lpBuffer);
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_nBufferSize = nBufferSize;
    // A block that cannot grow is the whole file; one that can starts an empty file.
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_lpBuffer = lpBuffer;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    return lpBuffer;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes)
{
    if (nBytes == 0) {
        Free(lpMem);
        return NULL;
    }
    return static_cast<BYTE*>(std::realloc(lpMem, nBytes));
}

BYTE* CMemFile::Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, SIZE_T nBytes)
{
    return static_cast<BYTE*>(std::memcpy(lpMemTarget, lpMemSource, nBytes));
}

void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::GrowFile(DWORD dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    // A caller's block that was attached to stay fixed does not grow.
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    ULONGLONG dwNewBufferSize = m_nBufferSize;
    while (dwNewBufferSize < dwNewLen)
        dwNewBufferSize += m_nGrowBytes;
    if (dwNewBufferSize > 0xFFFFFFFFULL)
        AfxThrowMemoryException();
    BYTE* lpNew = m_lpBuffer == NULL ? Alloc(static_cast<SIZE_T>(dwNewBufferSize))
                                     : Realloc(m_lpBuffer, static_cast<SIZE_T>(dwNewBufferSize));
    if (lpNew == NULL)
        AfxThrowMemoryException();
    m_lpBuffer = lpNew;
    m_nBufferSize = static_cast<DWORD>(dwNewBufferSize);
}

DWORD CMemFile::GetPosition() const { return m_nPosition; }

LONG CMemFile::Seek(LONG lOff, UINT nFrom)
{
    ASSERT(nFrom == begin || nFrom == end || nFrom == current);
    LONGLONG lNewPos = lOff;
    if (nFrom == current)
        lNewPos += m_nPosition;
    else if (nFrom == end)
        lNewPos += m_nFileSize;
    if (lNewPos < 0)
        AfxThrowFileException(CFileException::badSeek);
    if (lNewPos > 0x7FFFFFFF)
        AfxThrowFileException(CFileException::badSeek);
    // The block grows to the new position; the file itself grows only when written there.
    if (static_cast<DWORD>(lNewPos) > m_nBufferSize)
        GrowFile(static_cast<DWORD>(lNewPos));
    m_nPosition = static_cast<DWORD>(lNewPos);
    return static_cast<LONG>(m_nPosition);
}

DWORD CMemFile::GetLength() const { return m_nFileSize; }

void CMemFile::SetLength(DWORD dwNewLen)
{
    if (dwNewLen > m_nBufferSize)
        GrowFile(dwNewLen);
    if (dwNewLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, dwNewLen - m_nFileSize);
    if (dwNewLen < m_nPosition)
        m_nPosition = dwNewLen;
    m_nFileSize = dwNewLen;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    UINT nRead = m_nFileSize - m_nPosition < nCount ? m_nFileSize - m_nPosition : nCount;
    Memcpy(static_cast<BYTE*>(lpBuf), m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    ULONGLONG end = static_cast<ULONGLONG>(m_nPosition) + nCount;
    if (end > 0xFFFFFFFFULL)
        AfxThrowFileException(CFileException::diskFull);
    if (end > m_nBufferSize)
        GrowFile(static_cast<DWORD>(end));
    // A gap left by seeking past the end reads as zeros.
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    Memcpy(m_lpBuffer + m_nPosition, static_cast<const BYTE*>(lpBuf), nCount);
    m_nPosition = static_cast<DWORD>(end);
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

void CMemFile::LockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }

void CMemFile::UnlockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }

void CMemFile::Flush() {}

void CMemFile::Close()
{
    m_nGrowBytes = 0;
    m_nPosition = 0;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    if (m_lpBuffer != NULL && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = NULL;
}

void CMemFile::Abort() { Close(); }

CFile* CMemFile::Duplicate() const { AfxThrowNotSupportedException(); }

BOOL CMemFile::GetStatus(CFileStatus& rStatus) const
{
    std::memset(static_cast<void*>(&rStatus), 0, sizeof rStatus);
    rStatus.m_size = static_cast<LONG>(m_nFileSize);
    return TRUE;
}

void CMemFile::AssertValid() const
{
    CFile::AssertValid();
    ASSERT((m_lpBuffer == NULL && m_nBufferSize == 0) || m_nBufferSize != 0);
    ASSERT(m_nFileSize <= m_nBufferSize);
}

void CMemFile::Dump(CDumpContext& dc) const
{
    CObject::Dump(dc);
    dc << "file size = " << static_cast<UINT>(m_nFileSize) << ", buffer size = " << static_cast<UINT>(m_nBufferSize)
       << ", position = " << static_cast<UINT>(m_nPosition) << ", grow bytes = " << m_nGrowBytes << "\n";
}
