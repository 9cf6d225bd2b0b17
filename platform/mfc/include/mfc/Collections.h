// The class library's ready-made collections of pointers, objects, strings and numbers.
// They behave like the templates they are built on (mfc/Templates.h): arrays with grow-by,
// lists with POSITION iteration, hash maps with InitHashTable. String keys compare
// case-sensitively. The serializable ones store objects, strings and numbers in an archive;
// the pointer collections (and CUIntArray, whose element size differs between platforms) are
// not serializable.
#pragma once

#include <mfc/Templates.h>

// ---- arrays ----

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
public:
    virtual void Serialize(CArchive& ar);
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
public:
    virtual void Serialize(CArchive& ar);
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
public:
    virtual void Serialize(CArchive& ar);
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
public:
    virtual void Serialize(CArchive& ar);
};

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
public:
    virtual void Serialize(CArchive& ar);
};

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
public:
    virtual void Serialize(CArchive& ar);
};

class CStringArray : public CArray<CString, LPCSTR> {
    DECLARE_SERIAL(CStringArray)
public:
    virtual void Serialize(CArchive& ar);
};

// ---- lists ----

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(int nBlockSize = 10) : CList(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};

class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(int nBlockSize = 10) : CList(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};

class CStringList : public CList<CString, LPCSTR> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(int nBlockSize = 10) : CList(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};

// ---- maps ----

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
    DECLARE_DYNAMIC(CMapPtrToWord)
public:
    explicit CMapPtrToWord(int nBlockSize = 10) : CMap(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_SERIAL(CMapWordToOb)
public:
    explicit CMapWordToOb(int nBlockSize = 10) : CMap(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};

class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*> {
    DECLARE_SERIAL(CMapStringToOb)
public:
    explicit CMapStringToOb(int nBlockSize = 10) : CMap(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(int nBlockSize = 10) : CMap(nBlockSize) {}
    virtual void Serialize(CArchive& ar);
};
