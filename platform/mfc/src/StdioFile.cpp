// CStdioFile: the runtime's text mode over a platform file handle. Reading goes through a
// read-ahead buffer; the file pointer of the handle stands at the end of what was read ahead, so
// the position of the text is that pointer minus the bytes not yet taken. Writing and seeking
// first put the pointer back where the text stands.
#include <afx.h>

#include <cstring>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {
constexpr BYTE kCtrlZ = 0x1A;
}

CStdioFile::CStdioFile() = default;

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
    delete[] m_pBuffer;
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (!CFile::Open(lpszFileName, nOpenFlags, pError))
        return FALSE;
    // Without typeBinary the runtime's default translation, text, applies.
    m_bText = (nOpenFlags & typeBinary) == 0;
    if (m_pBuffer == NULL)
        m_pBuffer = new BYTE[nReadBufferSize];
    m_nBufPos = m_nBufEnd = 0;
    m_bAtCtrlZ = false;
    return TRUE;
}

bool CStdioFile::FillBuffer(bool keepLast)
{
    UINT nKept = 0;
    if (keepLast) {
        m_pBuffer[0] = m_pBuffer[m_nBufPos];
        nKept = 1;
    }
    m_nBufPos = 0;
    m_nBufEnd = nKept;
    UINT nRead = CFile::Read(m_pBuffer + nKept, nReadBufferSize - nKept);
    m_nBufEnd = nKept + nRead;
    return nRead > 0;
}

int CStdioFile::ReadChar()
{
    if (m_bAtCtrlZ)
        return -1;
    if (m_nBufPos == m_nBufEnd && !FillBuffer(false))
        return -1;
    BYTE c = m_pBuffer[m_nBufPos];
    if (m_bText) {
        if (c == kCtrlZ) {
            // Ctrl-Z ends the text; the position stays on it.
            m_bAtCtrlZ = true;
            return -1;
        }
        if (c == '\r') {
            if (m_nBufPos + 1 == m_nBufEnd)
                FillBuffer(true);  // the LF that may follow is in the next block
            if (m_nBufPos + 1 < m_nBufEnd && m_pBuffer[m_nBufPos + 1] == '\n') {
                m_nBufPos += 2;
                return '\n';
            }
        }
    }
    ++m_nBufPos;
    return c;
}

void CStdioFile::DropReadAhead()
{
    UINT nAhead = m_nBufEnd - m_nBufPos;
    m_nBufPos = m_nBufEnd = 0;
    if (nAhead != 0)
        CFile::Seek(-static_cast<LONG>(nAhead), current);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    ASSERT(m_hFile != hFileNull);
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT n = 0;
    if (!m_bText) {
        // Binary: whatever is read ahead, then straight from the file.
        UINT nAhead = m_nBufEnd - m_nBufPos;
        if (nAhead > 0) {
            n = nAhead < nCount ? nAhead : nCount;
            std::memcpy(out, m_pBuffer + m_nBufPos, n);
            m_nBufPos += n;
        }
        if (n < nCount)
            n += CFile::Read(out + n, nCount - n);
        return n;
    }
    while (n < nCount) {
        int c = ReadChar();
        if (c < 0)
            break;
        out[n++] = static_cast<BYTE>(c);
    }
    return n;
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax)
{
    ASSERT(lpsz != NULL);
    if (nMax == 0)
        return NULL;
    UINT n = 0;
    while (n + 1 < nMax) {
        int c = ReadChar();
        if (c < 0)
            break;
        lpsz[n++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    lpsz[n] = '\0';
    return n == 0 && nMax > 1 ? NULL : lpsz;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    bool bAny = false;
    char chunk[256];
    int nChunk = 0;
    for (;;) {
        int c = ReadChar();
        if (c < 0)
            break;
        bAny = true;
        if (c == '\n')
            break;
        chunk[nChunk++] = static_cast<char>(c);
        if (nChunk == static_cast<int>(sizeof chunk)) {
            rString += CString(chunk, nChunk);
            nChunk = 0;
        }
    }
    if (nChunk > 0)
        rString += CString(chunk, nChunk);
    return bAny ? TRUE : FALSE;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    ASSERT(m_hFile != hFileNull);
    DropReadAhead();
    m_bAtCtrlZ = false;
    if (!m_bText) {
        CFile::Write(lpBuf, nCount);
        return;
    }
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    BYTE out[1024];
    UINT nOut = 0;
    for (UINT i = 0; i < nCount; ++i) {
        if (nOut + 2 > sizeof out) {
            CFile::Write(out, nOut);
            nOut = 0;
        }
        if (in[i] == '\n')
            out[nOut++] = '\r';
        out[nOut++] = in[i];
    }
    CFile::Write(out, nOut);
}

void CStdioFile::WriteString(LPCSTR lpsz)
{
    ASSERT(lpsz != NULL);
    if (lpsz == NULL)
        AfxThrowInvalidArgException();
    Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

DWORD CStdioFile::GetPosition() const { return CFile::GetPosition() - (m_nBufEnd - m_nBufPos); }

LONG CStdioFile::Seek(LONG lOff, UINT nFrom)
{
    ASSERT(m_hFile != hFileNull);
    DropReadAhead();
    m_bAtCtrlZ = false;
    return CFile::Seek(lOff, nFrom);
}

DWORD CStdioFile::GetLength() const { return CFile::GetLength(); }

void CStdioFile::SetLength(DWORD dwNewLen)
{
    DropReadAhead();
    m_bAtCtrlZ = false;
    CFile::SetLength(dwNewLen);
}

void CStdioFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    DropReadAhead();
    CFile::Flush();
}

void CStdioFile::Close()
{
    m_nBufPos = m_nBufEnd = 0;
    m_bAtCtrlZ = false;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_nBufPos = m_nBufEnd = 0;
    m_bAtCtrlZ = false;
    CFile::Abort();
}

CFile* CStdioFile::Duplicate() const { AfxThrowNotSupportedException(); }

void CStdioFile::LockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }

void CStdioFile::UnlockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }
