// A read-only line reader over one 2048-byte buffer, for the text files that the program
// downloads and parses, with the check of a file's trailing "checksum:" line.
//
// A checked text file ends with the line "checksum:" followed by eight hexadecimal digits (either
// case) that protect every byte before that line: the bytes are cut into 4-byte groups, each read
// as a big-endian 32-bit number (the last group filled with zero bytes on the right), and the
// checksum is 0xFFFFFFFF XOR all groups. The CR LF that ends the last content line is content.
#pragma once

#include <afx.h>

class CTextFile : public CFile {
public:
    enum { bufferSize = 2048 };

    CTextFile();
    // Opens at once; a failed open throws the CFileException that Open would report.
    CTextFile(LPCSTR lpszFileName, UINT nOpenFlags);
    virtual ~CTextFile();

    // Opens in binary whatever the type flags say; the buffer starts empty.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual void Close();

    // Reads the next line without its terminator (CR LF, LF or CR alone). When pSum is given,
    // every byte of the line (not the terminator) is added to it. FALSE when the file has nothing
    // left; a last line without a terminator is returned with TRUE.
    BOOL ReadLine(CString& rLine, DWORD* pSum = NULL);

    // The logical position: the offset of the next byte ReadLine reads.
    virtual DWORD GetPosition() const;
    // Moves within the buffered bytes when the target lies there, else positions the file and
    // empties the buffer. Returns the new position.
    virtual LONG Seek(LONG lOff, UINT nFrom);

    // TRUE when the file ends in a "checksum:" line whose value matches the bytes before it. The
    // file is back at its start afterwards, with the buffer empty.
    BOOL VerifyChecksum();
    // Opens the file (read, binary, denying writes to others), checks it and closes it. A file
    // that cannot be opened throws a CFileException.
    static BOOL PASCAL OpenVerified(LPCSTR lpszFileName);

    // The file is read through ReadLine only: block reads and writes and the string operations
    // throw CNotSupportedException.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
    virtual void WriteString(LPCSTR lpsz);

private:
    // Reads the next chunk at the file's position; FALSE when it gave nothing.
    BOOL FillBuffer();
    void EmptyBuffer(DWORD dwFilePosition);

    BYTE* m_pBuffer;
    BYTE* m_pRead;           // next unread byte
    UINT m_nCount;           // valid bytes in the buffer
    DWORD m_dwBufferPos;     // file offset of the buffer's first byte
};
