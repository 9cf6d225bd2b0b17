// CArchive: the class library's binary stream of values and objects over a CFile, with its exact
// byte format (little-endian):
//  - numbers as their bytes: BYTE/char 1, WORD/short 2, LONG/DWORD/int/float 4, double and the
//    64-bit integers 8; bool as a BYTE 0 or 1;
//  - counts (WriteCount) as a WORD, or 0xFFFF and a DWORD from 0xFFFF on;
//  - CString as a length prefix and the bytes: one byte below 0xFF, else 0xFF and a WORD below
//    0xFFFE, else 0xFF, 0xFFFF and a DWORD;
//  - objects (WriteObject): 0x0000 for NULL; a class met for the first time as 0xFFFF, the schema
//    WORD, the name's length WORD and the name, then the object's Serialize; a class met before
//    as 0x8000 | its index; an object met before as its index. Classes and objects share one
//    index count starting at 1. Indexes from 0x7FFF on are written as 0x7FFF and a DWORD (with
//    0x80000000 set for a class).
// Damaged or truncated input throws CArchiveException (endOfFile, badIndex, badClass,
// badSchema); reading never goes past the data.
//
// int and UINT are LONG and DWORD here. The host's long is LONGLONG (8 bytes); code for the
// platform writes LONG for a 32-bit number.
#pragma once

#include <windef.h>

#include <mfc/Exception.h>
#include <mfc/Object.h>
#include <mfc/String.h>

#include <memory>

class CFile;
class CDocument;
struct CArchiveMaps;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // nMode: store or load, optionally with bNoFlushOnDelete. The buffer is nBufSize bytes (at
    // least 128); lpBuf, when given, is the caller's block of that size.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    // Closes the archive (flushing a storing one) unless it was made with bNoFlushOnDelete.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    // TRUE when a loading archive has no bytes left in its buffer.
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // Raw bytes. Read returns how many there were (fewer only at the end of the data).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);

    // Lines of text: WriteString writes the bytes without the terminator; ReadString reads up
    // to the next LF (a CR LF or a lone CR also ends the line), without it. The LPSTR form reads
    // at most nMax characters (lpsz holds nMax + 1) and returns NULL at the end of the data.
    void WriteString(LPCSTR lpsz);
    LPSTR ReadString(LPSTR lpsz, UINT nMax);
    BOOL ReadString(CString& rString);

    // Storing: writes the buffer to the file. Loading: gives back to the file what was read
    // ahead, so the file's pointer stands where the archive's reading stands.
    void Flush();
    // Flushes and detaches from the file (the file stays open).
    void Close();
    // Detaches without flushing; what a storing archive still buffers is lost.
    void Abort();

    // Objects with their classes, NULL included.
    void WriteObject(const CObject* pOb);
    // Reads an object written by WriteObject; with pClass, it must be of that class or one
    // derived from it (else badClass).
    CObject* ReadObject(const CRuntimeClass* pClass);

    // Class references on their own: as in WriteObject, without an object.
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL, UINT* pSchema = NULL,
                             DWORD* pObTag = NULL);
    void SerializeClass(const CRuntimeClass* pClassRef);

    // The schema of the object being loaded, as the file has it; valid once per object (the
    // next call gives (UINT)-1).
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Gives an object an index without writing or reading it, so later references to it are
    // written as references (an object the archive's owner provides, such as the document).
    void MapObject(const CObject* pOb);
    // Tuning of the maps; accepted and of no consequence here.
    void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128);
    void SetLoadParams(UINT nGrowBy = 1024);

    // Counts of elements (collections): WORD, or 0xFFFF and a DWORD.
    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();

    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(LONG l);
    CArchive& operator<<(DWORD dw);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(LONGLONG dwdw);
    CArchive& operator<<(ULONGLONG dwdw);
    CArchive& operator<<(short w) { return operator<<(static_cast<WORD>(w)); }
    CArchive& operator<<(char ch) { return operator<<(static_cast<BYTE>(ch)); }
    CArchive& operator<<(signed char ch) { return operator<<(static_cast<BYTE>(ch)); }
    CArchive& operator<<(bool b) { return operator<<(static_cast<BYTE>(b ? 1 : 0)); }
    // Text given as a C string is stored as a CString (length prefix and bytes), not as the
    // truth value of its pointer.
    CArchive& operator<<(const char* lpsz);

    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(LONG& l);
    CArchive& operator>>(DWORD& dw);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(LONGLONG& dwdw);
    CArchive& operator>>(ULONGLONG& dwdw);
    CArchive& operator>>(short& w);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(signed char& ch);
    CArchive& operator>>(bool& b);

    // The document being loaded or stored, for objects that need it.
    CDocument* m_pDocument;
    // The file's name, for the exceptions.
    CString m_strFileName;

protected:
    friend struct CRuntimeClass;

    // Loading: makes nBytes (at most the buffer size) available at m_lpBufCur, reading from the
    // file; throws endOfFile when the file has fewer.
    void FillBuffer(UINT nBytes);
    // Storing: makes room for nBytes.
    void MakeRoom(UINT nBytes);
    void CheckLoading() const;
    void CheckStoring() const;
    [[noreturn]] void ThrowArchive(int cause) const;

    UINT m_nMode;
    CFile* m_pFile;
    UINT m_nObjectSchema;
    UINT m_nBufSize;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    BOOL m_bUserBuf;
    BOOL m_bEndOfFile;  // loading: the file has nothing more to give
    std::unique_ptr<CArchiveMaps> m_pMaps;
};

CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb);
CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb);
CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb);

CArchive& AFXAPI operator<<(CArchive& ar, const CString& string);
// A string stored with the Unicode marker (0xFF 0xFFFE before the length) is read as well; its
// characters are brought to the Western code page ('?' for those it lacks).
CArchive& AFXAPI operator>>(CArchive& ar, CString& string);
