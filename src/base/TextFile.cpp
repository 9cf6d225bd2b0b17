#include "base/TextFile.h"

#include <cstring>
#include <new>

namespace {

const char kChecksumTag[] = "checksum:";
const UINT kChecksumTagLength = sizeof kChecksumTag - 1;

// Bytes of a chunk left for the next read, so that a trailer across two chunks is found.
const UINT kChunkOverlap = 8;

BOOL StartsWithChecksumTag(const BYTE* p, const BYTE* pEnd)
{
    if (pEnd - p < static_cast<long>(kChecksumTagLength))
        return FALSE;
    for (UINT i = 0; i < kChecksumTagLength; ++i) {
        BYTE ch = p[i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<BYTE>(ch - 'A' + 'a');
        if (ch != static_cast<BYTE>(kChecksumTag[i]))
            return FALSE;
    }
    return TRUE;
}

int HexDigitValue(BYTE ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

BYTE* AllocateBuffer()
{
    BYTE* p = new (std::nothrow) BYTE[CTextFile::bufferSize];
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}

UINT BinaryFlags(UINT nOpenFlags)
{
    return (nOpenFlags & ~static_cast<UINT>(CFile::typeText)) | CFile::typeBinary;
}

}  // namespace

CTextFile::CTextFile() : m_pBuffer(AllocateBuffer()), m_pRead(m_pBuffer), m_nCount(0), m_dwBufferPos(0) {}

CTextFile::CTextFile(LPCSTR lpszFileName, UINT nOpenFlags)
    : m_pBuffer(AllocateBuffer()), m_pRead(m_pBuffer), m_nCount(0), m_dwBufferPos(0)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e)) {
        delete[] m_pBuffer;
        m_pBuffer = NULL;
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
    }
}

CTextFile::~CTextFile()
{
    delete[] m_pBuffer;
}

BOOL CTextFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (!CFile::Open(lpszFileName, BinaryFlags(nOpenFlags), pError))
        return FALSE;
    EmptyBuffer(0);
    return TRUE;
}

void CTextFile::Close()
{
    EmptyBuffer(0);
    if (m_hFile != hFileNull)
        CFile::Close();
}

void CTextFile::EmptyBuffer(DWORD dwFilePosition)
{
    m_pRead = m_pBuffer;
    m_nCount = 0;
    m_dwBufferPos = dwFilePosition;
}

BOOL CTextFile::FillBuffer()
{
    m_dwBufferPos = CFile::GetPosition();
    m_nCount = CFile::Read(m_pBuffer, bufferSize);
    m_pRead = m_pBuffer;
    return m_nCount > 0;
}

BOOL CTextFile::ReadLine(CString& rLine, DWORD* pSum)
{
    rLine.Empty();
    BOOL bGotChars = FALSE;
    for (;;) {
        BYTE* pEnd = m_pBuffer + m_nCount;
        BYTE* pStart = m_pRead;
        BYTE* p = pStart;
        while (p < pEnd && *p != '\r' && *p != '\n')
            ++p;
        if (p > pStart) {
            rLine += CString(reinterpret_cast<LPCSTR>(pStart), static_cast<int>(p - pStart));
            if (pSum != NULL) {
                for (const BYTE* q = pStart; q < p; ++q)
                    *pSum += *q;
            }
            bGotChars = TRUE;
        }
        m_pRead = p;
        if (p < pEnd) {
            // The terminator: CR LF counts as one, even when the LF starts the next chunk.
            BYTE chTerminator = *m_pRead++;
            if (chTerminator == '\r') {
                if (m_pRead == m_pBuffer + m_nCount)
                    FillBuffer();
                if (m_pRead < m_pBuffer + m_nCount && *m_pRead == '\n')
                    ++m_pRead;
            }
            return TRUE;
        }
        if (!FillBuffer())
            return bGotChars;
    }
}

DWORD CTextFile::GetPosition() const
{
    return m_dwBufferPos + static_cast<DWORD>(m_pRead - m_pBuffer);
}

LONG CTextFile::Seek(LONG lOff, UINT nFrom)
{
    if (nFrom != end) {
        LONG lTarget = nFrom == begin ? lOff : static_cast<LONG>(GetPosition()) + lOff;
        if (lTarget >= 0 && static_cast<DWORD>(lTarget) >= m_dwBufferPos &&
            static_cast<DWORD>(lTarget) <= m_dwBufferPos + m_nCount) {
            m_pRead = m_pBuffer + (static_cast<DWORD>(lTarget) - m_dwBufferPos);
            return lTarget;
        }
        lOff = lTarget;
        nFrom = begin;
    }
    LONG lNew = CFile::Seek(lOff, nFrom);
    EmptyBuffer(static_cast<DWORD>(lNew));
    return lNew;
}

BOOL CTextFile::VerifyChecksum()
{
    CFile::Seek(0, begin);
    FillBuffer();

    DWORD dwAccumulator = 0xFFFFFFFF;
    DWORD dwGroup = 0;
    DWORD nBytes = 0;
    BOOL bTrailer = FALSE;
    UINT nCarried = 0;  // bytes of the buffer that were read again from the previous chunk
    while (m_nCount > 0) {
        const BYTE* pEnd = m_pBuffer + m_nCount;
        if (StartsWithChecksumTag(m_pBuffer, pEnd)) {
            bTrailer = TRUE;
            break;
        }
        // Leave the last bytes of the chunk for the next read, unless the file ends here.
        const BOOL bLastChunk = m_nCount - nCarried <= kChunkOverlap;
        const BYTE* pLimit = bLastChunk ? pEnd : pEnd - kChunkOverlap;
        const BYTE* p = m_pBuffer;
        for (; p < pLimit; ++p) {
            if (*p == kChecksumTag[0] || *p == kChecksumTag[0] - 'a' + 'A') {
                if (StartsWithChecksumTag(p, pEnd))
                    break;
            }
            if (nBytes % 4 == 0) {
                dwAccumulator ^= dwGroup;
                dwGroup = 0;
            }
            dwGroup = (dwGroup << 8) | *p;
            ++nBytes;
        }
        nCarried = static_cast<UINT>(pEnd - p);
        CFile::Seek(static_cast<LONG>(m_dwBufferPos + static_cast<DWORD>(p - m_pBuffer)), begin);
        FillBuffer();
    }
    while (nBytes % 4 != 0) {
        dwGroup <<= 8;
        ++nBytes;
    }
    const DWORD dwChecksum = dwAccumulator ^ dwGroup;

    BOOL bValid = FALSE;
    if (bTrailer) {
        DWORD dwValue = 0;
        for (const BYTE* p = m_pBuffer + kChecksumTagLength; p < m_pBuffer + m_nCount; ++p) {
            int nDigit = HexDigitValue(*p);
            if (nDigit < 0)
                break;
            dwValue = (dwValue << 4) | static_cast<DWORD>(nDigit);
        }
        bValid = dwValue == dwChecksum;
    }

    CFile::Seek(0, begin);
    EmptyBuffer(0);
    return bValid;
}

BOOL PASCAL CTextFile::OpenVerified(LPCSTR lpszFileName)
{
    CTextFile file(lpszFileName, typeBinary | shareDenyWrite);
    BOOL bValid = file.VerifyChecksum();
    file.Close();
    return bValid;
}

UINT CTextFile::Read(void*, UINT)
{
    AfxThrowNotSupportedException();
}

void CTextFile::Write(const void*, UINT)
{
    AfxThrowNotSupportedException();
}

LPSTR CTextFile::ReadString(LPSTR, UINT)
{
    AfxThrowNotSupportedException();
}

void CTextFile::WriteString(LPCSTR)
{
    AfxThrowNotSupportedException();
}
