// CArchive: buffered little-endian values, strings and object graphs over a CFile.
#include <afx.h>

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Tags of the object stream.
constexpr WORD wNullTag = 0;
constexpr WORD wNewClassTag = 0xFFFF;
constexpr WORD wClassTag = 0x8000;
constexpr DWORD dwBigClassTag = 0x80000000;
constexpr WORD wBigObjectTag = 0x7FFF;
constexpr DWORD nMaxMapCount = 0x3FFFFFFE;
// Longest class name a stored class reference may carry.
constexpr UINT nMaxClassName = 64;
constexpr UINT nMinBufSize = 128;

// Windows-1252 characters 0x80-0x9F as UTF-16 (0 where the code page has none).
const WORD kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                              0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char WideToCp1252(WORD wch)
{
    if (wch < 0x80 || (wch >= 0xA0 && wch <= 0xFF))
        return static_cast<char>(wch);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == wch && wch != 0)
            return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

// Which objects and classes the archive has met, by index.
struct CArchiveMaps {
    struct Entry {
        void* p;  // CObject* or CRuntimeClass*
        bool isClass;
        UINT schema;  // of a class: the schema the file has
    };
    std::unordered_map<const void*, DWORD> storeMap;
    std::vector<Entry> loadArray{Entry{NULL, false, 0}};  // index 0: the NULL object
    DWORD mapCount = 1;
};

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(NULL),
      m_nMode(nMode),
      m_pFile(pFile),
      m_nObjectSchema(static_cast<UINT>(-1)),
      m_nBufSize(nBufSize < static_cast<int>(nMinBufSize) ? nMinBufSize : static_cast<UINT>(nBufSize)),
      m_lpBufStart(NULL),
      m_lpBufCur(NULL),
      m_lpBufMax(NULL),
      m_bUserBuf(lpBuf != NULL),
      m_bEndOfFile(FALSE),
      m_pMaps(new CArchiveMaps)
{
    ASSERT(pFile != NULL);
    if (pFile != NULL)
        m_strFileName = pFile->GetFilePath();
    if (lpBuf != NULL && nBufSize < static_cast<int>(nMinBufSize)) {
        // A caller's block too small to work with: use one of our own.
        lpBuf = NULL;
        m_bUserBuf = FALSE;
    }
    m_lpBufStart = m_bUserBuf ? static_cast<BYTE*>(lpBuf) : new BYTE[m_nBufSize];
    m_lpBufCur = m_lpBufStart;
    // Storing fills the buffer up to its end; loading has nothing read yet.
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

CArchive::~CArchive()
{
    if (m_pFile != NULL && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
            m_pFile = NULL;
        }
    }
    if (!m_bUserBuf)
        delete[] m_lpBufStart;
}

[[noreturn]] void CArchive::ThrowArchive(int cause) const { AfxThrowArchiveException(cause, m_strFileName); }

void CArchive::CheckLoading() const
{
    if (!IsLoading())
        ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
    if (!IsStoring())
        ThrowArchive(CArchiveException::readOnly);
}

// ---- buffer -------------------------------------------------------------------------------

void CArchive::FillBuffer(UINT nBytes)
{
    ASSERT(nBytes <= m_nBufSize);
    CheckLoading();
    UINT nHave = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (nHave >= nBytes)
        return;
    if (m_pFile == NULL)
        ThrowArchive(CArchiveException::generic);
    // Keep what is left at the start and read behind it until the buffer is full or the file
    // has nothing more.
    if (nHave > 0 && m_lpBufCur != m_lpBufStart)
        std::memmove(m_lpBufStart, m_lpBufCur, nHave);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + nHave;
    while (!m_bEndOfFile && static_cast<UINT>(m_lpBufMax - m_lpBufStart) < m_nBufSize) {
        UINT nRoom = m_nBufSize - static_cast<UINT>(m_lpBufMax - m_lpBufStart);
        UINT nRead = m_pFile->Read(m_lpBufMax, nRoom);
        if (nRead == 0)
            m_bEndOfFile = TRUE;
        m_lpBufMax += nRead;
        if (static_cast<UINT>(m_lpBufMax - m_lpBufCur) >= nBytes)
            break;
    }
    if (static_cast<UINT>(m_lpBufMax - m_lpBufCur) < nBytes)
        ThrowArchive(CArchiveException::endOfFile);
}

void CArchive::MakeRoom(UINT nBytes)
{
    CheckStoring();
    if (static_cast<UINT>(m_lpBufMax - m_lpBufCur) < nBytes)
        Flush();
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nMax) {
        if (m_lpBufCur == m_lpBufMax) {
            if (m_bEndOfFile || m_pFile == NULL)
                break;
            m_lpBufCur = m_lpBufMax = m_lpBufStart;
            UINT nRead = m_pFile->Read(m_lpBufStart, m_nBufSize);
            if (nRead == 0) {
                m_bEndOfFile = TRUE;
                break;
            }
            m_lpBufMax = m_lpBufStart + nRead;
        }
        UINT nTake = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        if (nTake > nMax - nDone)
            nTake = nMax - nDone;
        std::memcpy(out + nDone, m_lpBufCur, nTake);
        m_lpBufCur += nTake;
        nDone += nTake;
    }
    return nDone;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        UINT nRoom = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        if (nRoom == 0) {
            Flush();
            // Big blocks go straight to the file.
            if (nMax >= m_nBufSize) {
                m_pFile->Write(in, nMax);
                return;
            }
            continue;
        }
        UINT nTake = nRoom < nMax ? nRoom : nMax;
        std::memcpy(m_lpBufCur, in, nTake);
        m_lpBufCur += nTake;
        in += nTake;
        nMax -= nTake;
    }
}

void CArchive::Flush()
{
    if (m_pFile == NULL)
        return;
    if (IsLoading()) {
        // Give back what was read ahead.
        UINT nAhead = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        if (nAhead != 0)
            m_pFile->Seek(-static_cast<LONG>(nAhead), CFile::current);
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
        m_bEndOfFile = FALSE;
    } else {
        UINT nHave = static_cast<UINT>(m_lpBufCur - m_lpBufStart);
        m_lpBufCur = m_lpBufStart;
        if (nHave != 0)
            m_pFile->Write(m_lpBufStart, nHave);
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = NULL;
}

void CArchive::Abort()
{
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
    m_pFile = NULL;
}

// ---- numbers ------------------------------------------------------------------------------

namespace {

template <class T>
void PutLittleEndian(BYTE* p, T value)
{
    using U = std::make_unsigned_t<T>;
    U u = static_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<BYTE>(u >> (8 * i));
}

template <class T>
T GetLittleEndian(const BYTE* p)
{
    using U = std::make_unsigned_t<T>;
    U u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        u = static_cast<U>(u | static_cast<U>(static_cast<U>(p[i]) << (8 * i)));
    return static_cast<T>(u);
}

}  // namespace

#define VL_ARCHIVE_INTEGER(Type)                             \
    CArchive& CArchive::operator<<(Type value)               \
    {                                                        \
        MakeRoom(sizeof(Type));                              \
        PutLittleEndian<Type>(m_lpBufCur, value);            \
        m_lpBufCur += sizeof(Type);                          \
        return *this;                                        \
    }                                                        \
    CArchive& CArchive::operator>>(Type& value)              \
    {                                                        \
        FillBuffer(sizeof(Type));                            \
        value = GetLittleEndian<Type>(m_lpBufCur);           \
        m_lpBufCur += sizeof(Type);                          \
        return *this;                                        \
    }

VL_ARCHIVE_INTEGER(BYTE)
VL_ARCHIVE_INTEGER(WORD)
VL_ARCHIVE_INTEGER(LONG)
VL_ARCHIVE_INTEGER(DWORD)
VL_ARCHIVE_INTEGER(LONGLONG)
VL_ARCHIVE_INTEGER(ULONGLONG)
#undef VL_ARCHIVE_INTEGER

CArchive& CArchive::operator<<(float f)
{
    DWORD bits;
    static_assert(sizeof bits == sizeof f);
    std::memcpy(&bits, &f, sizeof bits);
    return *this << bits;
}

CArchive& CArchive::operator<<(double d)
{
    ULONGLONG bits;
    static_assert(sizeof bits == sizeof d);
    std::memcpy(&bits, &d, sizeof bits);
    return *this << bits;
}

CArchive& CArchive::operator>>(float& f)
{
    DWORD bits;
    *this >> bits;
    std::memcpy(&f, &bits, sizeof f);
    return *this;
}

CArchive& CArchive::operator>>(double& d)
{
    ULONGLONG bits;
    *this >> bits;
    std::memcpy(&d, &bits, sizeof d);
    return *this;
}

CArchive& CArchive::operator>>(short& w)
{
    WORD value;
    *this >> value;
    w = static_cast<short>(value);
    return *this;
}

CArchive& CArchive::operator>>(char& ch)
{
    BYTE value;
    *this >> value;
    ch = static_cast<char>(value);
    return *this;
}

CArchive& CArchive::operator>>(signed char& ch)
{
    BYTE value;
    *this >> value;
    ch = static_cast<signed char>(value);
    return *this;
}

CArchive& CArchive::operator>>(bool& b)
{
    BYTE value;
    *this >> value;
    b = value != 0;
    return *this;
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
    } else {
        *this << static_cast<WORD>(0xFFFF);
        *this << static_cast<DWORD>(dwCount);
    }
}

DWORD_PTR CArchive::ReadCount()
{
    WORD wCount;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount;
    *this >> dwCount;
    return dwCount;
}

// ---- text ---------------------------------------------------------------------------------

void CArchive::WriteString(LPCSTR lpsz)
{
    ASSERT(lpsz != NULL);
    if (lpsz == NULL)
        AfxThrowInvalidArgException();
    Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax)
{
    ASSERT(lpsz != NULL);
    CheckLoading();
    UINT nRead = 0;
    bool bAny = false;
    BYTE ch;
    while (nRead < nMax && Read(&ch, 1) == 1) {
        bAny = true;
        if (ch == '\n')
            break;
        if (ch == '\r') {
            // CR LF ends the line as one; a lone CR ends it too.
            BYTE next;
            if (Read(&next, 1) == 1 && next != '\n')
                --m_lpBufCur;
            break;
        }
        lpsz[nRead++] = static_cast<char>(ch);
    }
    lpsz[nRead] = '\0';
    return bAny || nMax == 0 ? lpsz : NULL;
}

BOOL CArchive::ReadString(CString& rString)
{
    rString.Empty();
    // A line longer than a chunk comes in several: a full chunk means the line goes on.
    char chunk[128];
    const UINT nChunk = sizeof chunk - 1;
    if (ReadString(chunk, nChunk) == NULL)
        return FALSE;
    rString = chunk;
    while (std::strlen(chunk) == nChunk && ReadString(chunk, nChunk) != NULL)
        rString += chunk;
    return TRUE;
}

// ---- strings ------------------------------------------------------------------------------

CArchive& AFXAPI operator<<(CArchive& ar, const CString& string)
{
    DWORD nLength = static_cast<DWORD>(string.GetLength());
    if (nLength < 0xFF) {
        ar << static_cast<BYTE>(nLength);
    } else if (nLength < 0xFFFE) {
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLength);
    } else {
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << nLength;
    }
    ar.Write(static_cast<LPCSTR>(string), nLength);
    return ar;
}

CArchive& CArchive::operator<<(const char* lpsz) { return ::operator<<(*this, CString(lpsz)); }

CArchive& AFXAPI operator>>(CArchive& ar, CString& string)
{
    bool bUnicode = false;
    DWORD nLength = 0;
    for (;;) {
        BYTE bLen;
        ar >> bLen;
        if (bLen < 0xFF) {
            nLength = bLen;
            break;
        }
        WORD wLen;
        ar >> wLen;
        if (wLen == 0xFFFE) {
            // The Unicode marker; the length follows.
            if (bUnicode)
                AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
            bUnicode = true;
            continue;
        }
        if (wLen < 0xFFFF) {
            nLength = wLen;
            break;
        }
        ar >> nLength;
        break;
    }
    // Read in pieces so that a damaged length cannot ask for more memory than the data holds.
    std::string text;
    BYTE chunk[4096];
    ULONGLONG nBytes = bUnicode ? static_cast<ULONGLONG>(nLength) * 2 : nLength;
    while (nBytes > 0) {
        UINT nWant = nBytes < sizeof chunk ? static_cast<UINT>(nBytes) : static_cast<UINT>(sizeof chunk);
        if (ar.Read(chunk, nWant) != nWant)
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        if (bUnicode) {
            for (UINT i = 0; i + 1 < nWant; i += 2)
                text += WideToCp1252(static_cast<WORD>(chunk[i] | (chunk[i + 1] << 8)));
        } else {
            text.append(reinterpret_cast<const char*>(chunk), nWant);
        }
        nBytes -= nWant;
    }
    string = CString(text.data(), static_cast<int>(text.size()));
    return ar;
}

// ---- classes and objects ------------------------------------------------------------------

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD nLen = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema, nLen;
    ar >> wSchema >> nLen;
    char szClassName[nMaxClassName];
    if (nLen >= nMaxClassName || ar.Read(szClassName, nLen) != nLen)
        return NULL;
    szClassName[nLen] = '\0';
    if (pwSchemaNum != NULL)
        *pwSchemaNum = wSchema;
    return FromName(szClassName);
}

void CArchive::MapObject(const CObject* pOb)
{
    if (IsStoring()) {
        if (pOb != NULL && m_pMaps->storeMap.find(pOb) == m_pMaps->storeMap.end()) {
            if (m_pMaps->mapCount >= nMaxMapCount)
                ThrowArchive(CArchiveException::badIndex);
            m_pMaps->storeMap[pOb] = m_pMaps->mapCount++;
        }
    } else {
        if (m_pMaps->mapCount >= nMaxMapCount)
            ThrowArchive(CArchiveException::badIndex);
        m_pMaps->loadArray.push_back({const_cast<CObject*>(pOb), false, 0});
        m_pMaps->mapCount++;
    }
}

void CArchive::SetStoreParams(UINT, UINT) {}

void CArchive::SetLoadParams(UINT) {}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    ASSERT(pClassRef != NULL);
    CheckStoring();
    if (pClassRef->m_wSchema == AFX_NO_SCHEMA) {
        TRACE("Cannot store an object of class %s: it is not serializable.\n", pClassRef->m_lpszClassName);
        AfxThrowNotSupportedException();
    }
    auto it = m_pMaps->storeMap.find(pClassRef);
    if (it != m_pMaps->storeMap.end()) {
        DWORD nClassIndex = it->second;
        if (nClassIndex < wBigObjectTag) {
            *this << static_cast<WORD>(wClassTag | nClassIndex);
        } else {
            *this << wBigObjectTag;
            *this << static_cast<DWORD>(dwBigClassTag | nClassIndex);
        }
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    if (m_pMaps->mapCount >= nMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
    m_pMaps->storeMap[pClassRef] = m_pMaps->mapCount++;
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (pOb == NULL) {
        *this << wNullTag;
        return;
    }
    auto it = m_pMaps->storeMap.find(pOb);
    if (it != m_pMaps->storeMap.end()) {
        DWORD nObIndex = it->second;
        if (nObIndex < wBigObjectTag) {
            *this << static_cast<WORD>(nObIndex);
        } else {
            *this << wBigObjectTag;
            *this << nObIndex;
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    if (m_pMaps->mapCount >= nMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
    m_pMaps->storeMap[pOb] = m_pMaps->mapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

    CRuntimeClass* pClassRef = NULL;
    UINT nSchema = 0;
    if (wTag == wNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (pClassRef == NULL || pClassRef->m_wSchema == AFX_NO_SCHEMA)
            ThrowArchive(CArchiveException::badClass);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
            ThrowArchive(CArchiveException::badSchema);
        if (m_pMaps->mapCount >= nMaxMapCount)
            ThrowArchive(CArchiveException::badIndex);
        m_pMaps->loadArray.push_back({pClassRef, true, nSchema});
        m_pMaps->mapCount++;
    } else if (obTag & dwBigClassTag) {
        DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_pMaps->loadArray.size() || !m_pMaps->loadArray[nClassIndex].isClass)
            ThrowArchive(CArchiveException::badIndex);
        pClassRef = static_cast<CRuntimeClass*>(m_pMaps->loadArray[nClassIndex].p);
        nSchema = m_pMaps->loadArray[nClassIndex].schema;
    } else {
        // An object reference where a class was expected on its own.
        if (pObTag == NULL)
            ThrowArchive(CArchiveException::badIndex);
        *pObTag = obTag;
        return NULL;
    }
    if (pClassRefRequested != NULL && !pClassRef->IsDerivedFrom(pClassRefRequested))
        ThrowArchive(CArchiveException::badClass);
    if (pSchema != NULL)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag != NULL)
        *pObTag = obTag;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (pClassRef == NULL) {
        // A reference to an object read before (0: NULL).
        if (obTag >= m_pMaps->loadArray.size() || m_pMaps->loadArray[obTag].isClass)
            ThrowArchive(CArchiveException::badIndex);
        CObject* pOb = static_cast<CObject*>(m_pMaps->loadArray[obTag].p);
        if (pOb != NULL && pClassRefRequested != NULL && !pOb->IsKindOf(pClassRefRequested))
            ThrowArchive(CArchiveException::badClass);
        return pOb;
    }
    if (pClassRef->m_pfnCreateObject == NULL)
        ThrowArchive(CArchiveException::badClass);
    CObject* pOb = pClassRef->CreateObject();
    if (pOb == NULL)
        AfxThrowMemoryException();
    std::size_t nIndex = m_pMaps->loadArray.size();
    MapObject(pOb);
    UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        // The half-read object goes; nothing read later may refer to it.
        m_nObjectSchema = nSchemaSave;
        m_pMaps->loadArray[nIndex].p = NULL;
        delete pOb;
        throw;
    }
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

UINT CArchive::GetObjectSchema()
{
    UINT nResult = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return nResult;
}

CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}
