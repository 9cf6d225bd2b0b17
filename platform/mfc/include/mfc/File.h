// CFile and its relatives: CFile over the platform's file handles, CStdioFile with the runtime's
// text mode, CMemFile over a block of memory, and CFileStatus. Failures are thrown as
// CFileException with the cause and the platform's error code (GetLastError).
#pragma once

#include <windef.h>

#include <mfc/Exception.h>
#include <mfc/Object.h>
#include <mfc/String.h>
#include <mfc/Time.h>

struct CFileStatus {
    CTime m_ctime;  // creation (0 when unknown)
    CTime m_mtime;  // last write
    CTime m_atime;  // last access
    LONG m_size;  // bytes
    BYTE m_attribute;  // CFile::Attribute bits
    BYTE m_padding;
    char m_szFullName[MAX_PATH];  // full platform path
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,  // used by CStdioFile; CFile accepts and ignores it
        typeBinary = 0x8000
    };
    enum Attribute { normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08, directory = 0x10, archive = 0x20 };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    static const HANDLE hFileNull;

    CFile();
    // Wraps a handle that stays the caller's: the destructor does not close it.
    explicit CFile(HANDLE hFile);
    // Opens the file or throws the CFileException that Open would report.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    virtual ~CFile();

    operator HANDLE() const { return m_hFile; }

    // Opens with the access, share and creation flags above. FALSE on failure; pError (when
    // given) gets the cause, the platform's error code and the file name.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);

    virtual DWORD GetPosition() const;
    // Moves the file pointer; the new position from the start. A position before the start
    // throws CFileException::badSeek.
    virtual LONG Seek(LONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
    virtual DWORD GetLength() const;
    // Cuts or extends the file; the file pointer is left at the new end.
    virtual void SetLength(DWORD dwNewLen);

    // Bytes read, fewer than nCount only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes everything or throws (diskFull when the platform wrote less).
    virtual void Write(const void* lpBuf, UINT nCount);

    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);

    virtual void Flush();
    // Closes the file; errors are thrown, the object is closed either way.
    virtual void Close();
    // Closes the file ignoring every error.
    virtual void Abort();
    // A second CFile on a duplicate of the handle: the same open file with the same file
    // pointer. The caller deletes it.
    virtual CFile* Duplicate() const;

    // "NAME.EXT", "NAME" and the full path of the open file.
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual CString GetFilePath() const;
    virtual void SetFilePath(LPCSTR lpszNewName);

    // Status of the open file: times, size, attributes and full name. FALSE when the handle
    // cannot tell.
    BOOL GetStatus(CFileStatus& rStatus) const;
    // Status of a file or folder by name; FALSE when there is none.
    static BOOL PASCAL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
    // Sets the times (those not 0) and the attributes of a file; throws on failure.
    static void PASCAL SetStatus(LPCSTR lpszFileName, const CFileStatus& status);
    static void PASCAL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
    static void PASCAL Remove(LPCSTR lpszFileName);

    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};

// A file read and written as text. In text mode (the default, or typeText) CR LF on the file is
// LF in memory and a Ctrl-Z ends the text; LF written becomes CR LF. GetPosition and Seek use
// the byte offsets of the file itself. typeBinary turns the translation off.
class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);
    virtual ~CStdioFile();

    // Writes the text; each LF becomes CR LF in text mode.
    virtual void WriteString(LPCSTR lpsz);
    // Reads a line of at most nMax - 1 characters into lpsz, keeping its LF; NULL when the file
    // has nothing left.
    virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
    // Reads a whole line without its LF; FALSE when the file has nothing left.
    virtual BOOL ReadString(CString& rString);

    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual DWORD GetPosition() const;
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual DWORD GetLength() const;
    virtual void SetLength(DWORD dwNewLen);
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void Flush();
    virtual void Close();
    virtual void Abort();
    virtual CFile* Duplicate() const;
    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);

    // Size of the read buffer (bytes of the file read ahead).
    enum { nReadBufferSize = 4096 };

private:
    // Drops the read-ahead, putting the file pointer back where reading stands.
    void DropReadAhead();
    // Next character of the text (after translation), or -1 at the end.
    int ReadChar();
    bool FillBuffer(bool keepLast);

    BOOL m_bText = TRUE;
    BYTE* m_pBuffer = NULL;
    UINT m_nBufPos = 0;  // next unread byte
    UINT m_nBufEnd = 0;  // end of the bytes read ahead
    bool m_bAtCtrlZ = false;
};

// A file in memory. The block grows by nGrowBytes as it is written (rounded up); a block the
// caller attaches with nGrowBytes 0 is the file's whole contents and cannot grow.
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    virtual ~CMemFile();

    // Takes a block allocated with malloc (when it may grow) as the file. With nGrowBytes 0 the
    // block's bytes are the file; otherwise the file starts empty and the block is reallocated
    // as it grows.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the block back to the caller (who frees it) and empties the file.
    BYTE* Detach();

    virtual DWORD GetPosition() const;
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual DWORD GetLength() const;
    virtual void SetLength(DWORD dwNewLen);
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);
    virtual void Flush();
    virtual void Close();
    virtual void Abort();
    virtual CFile* Duplicate() const;
    // Size of the file; the times are 0 and the name empty.
    BOOL GetStatus(CFileStatus& rStatus) const;
    using CFile::GetStatus;

    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

protected:
    // How the block is managed; a derived class may use its own allocator.
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual BYTE* Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    // Makes the block at least dwNewLen bytes; CMemoryException when it cannot grow.
    virtual void GrowFile(DWORD dwNewLen);

    UINT m_nGrowBytes;
    DWORD m_nPosition;
    DWORD m_nBufferSize;
    DWORD m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};
