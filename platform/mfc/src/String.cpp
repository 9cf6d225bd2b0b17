#include <afx.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

// The characters are preceded by this header. An empty string points at a shared empty
// header whose capacity is zero, so nothing is ever written through it.
struct CString::Data {
    int nDataLength;
    int nAllocLength;
    int nLocks;
    char* data() { return reinterpret_cast<char*>(this + 1); }
};

namespace {

alignas(int) char g_nilBuffer[sizeof(int) * 4] = {};
// The header sits at the start of g_nilBuffer, the empty text right after it.
static_assert(sizeof(int) * 3 + 1 <= sizeof(g_nilBuffer));

LPSTR NilData() { return g_nilBuffer + sizeof(int) * 3; }

std::atomic<AFX_STRING_LOADER> g_stringLoader{nullptr};

int SafeLength(LPCSTR lpsz) { return lpsz ? static_cast<int>(std::strlen(lpsz)) : 0; }

bool IsWhiteSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\v' || ch == '\f';
}

int Sign(int n) { return n < 0 ? -1 : (n > 0 ? 1 : 0); }

// Lower case of one character on the Western code page.
char FoldCase(char ch)
{
    // CharLower converts a single character passed in the low byte of the pointer.
    LPSTR single = reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<BYTE>(ch)));
    return static_cast<char>(LOBYTE(reinterpret_cast<UINT_PTR>(CharLowerA(single))));
}

int CompareFolded(LPCSTR s1, LPCSTR s2)
{
    for (;; ++s1, ++s2) {
        unsigned char c1 = static_cast<unsigned char>(FoldCase(*s1));
        unsigned char c2 = static_cast<unsigned char>(FoldCase(*s2));
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
        if (c1 == 0)
            return 0;
    }
}

// A string resource id passed where text is expected (MAKEINTRESOURCE).
bool IsResourceId(LPCSTR lpsz) { return lpsz != NULL && reinterpret_cast<UINT_PTR>(lpsz) < 0x10000; }

// Rewrites a format of the platform's printf dialect into the C library's:
// "l" on integers is 32 bits there, "I64" is 64 bits, "I32" is 32 bits, "I" is pointer-sized,
// and "h" on %s/%c means narrow characters.
std::string TranslateFormat(LPCSTR lpszFormat)
{
    std::string out;
    for (LPCSTR p = lpszFormat; *p; ++p) {
        out += *p;
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%') {
            out += '%';
            continue;
        }
        while (*p && std::strchr("-+ #0", *p))
            out += *p++;
        while (*p && (std::isdigit(static_cast<unsigned char>(*p)) || *p == '*' || *p == '.'))
            out += *p++;
        std::string size;
        for (;;) {
            if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
                size = "ll";
                p += 3;
            } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
                size.clear();
                p += 3;
            } else if (p[0] == 'I') {
                size = "z";
                p += 1;
            } else if (*p == 'l' || *p == 'h' || *p == 'L' || *p == 'q' || *p == 'j' || *p == 'z' || *p == 't') {
                size += *p++;
            } else {
                break;
            }
        }
        char conv = *p;
        if (conv == 0)
            break;
        if (std::strchr("diouxX", conv)) {
            if (size == "l")
                size.clear();
        } else if (conv == 's' || conv == 'c') {
            size.clear();
        }
        out += size;
        out += conv;
    }
    return out;
}

}  // namespace

AFX_STRING_LOADER AFXAPI AfxSetStringLoader(AFX_STRING_LOADER pfnLoader) { return g_stringLoader.exchange(pfnLoader); }

// ---- storage ----

CString::Data* CString::GetData() const { return reinterpret_cast<Data*>(m_pchData) - 1; }

void CString::AllocBuffer(int nLen)
{
    if (nLen <= 0) {
        m_pchData = NilData();
        return;
    }
    void* p = std::malloc(sizeof(Data) + static_cast<size_t>(nLen) + 1);
    if (p == NULL)
        throw std::bad_alloc();
    Data* pData = static_cast<Data*>(p);
    pData->nDataLength = nLen;
    pData->nAllocLength = nLen;
    pData->nLocks = 0;
    pData->data()[nLen] = '\0';
    m_pchData = pData->data();
}

void CString::Release()
{
    if (m_pchData != NilData())
        std::free(GetData());
    m_pchData = NilData();
}

// Makes room for nMinAlloc characters keeping the text; grows geometrically unless bExact.
void CString::Reserve(int nMinAlloc, bool bExact)
{
    Data* pOld = GetData();
    if (m_pchData != NilData() && nMinAlloc <= pOld->nAllocLength)
        return;
    int nLen = pOld->nDataLength;
    int nAlloc = nMinAlloc;
    if (!bExact && m_pchData != NilData())
        nAlloc = std::max(nMinAlloc, pOld->nAllocLength + pOld->nAllocLength / 2);
    void* p = std::malloc(sizeof(Data) + static_cast<size_t>(nAlloc) + 1);
    if (p == NULL)
        throw std::bad_alloc();
    Data* pData = static_cast<Data*>(p);
    pData->nDataLength = nLen;
    pData->nAllocLength = nAlloc;
    pData->nLocks = 0;
    std::memcpy(pData->data(), m_pchData, static_cast<size_t>(nLen) + 1);
    pData->data()[nAlloc] = '\0';
    Release();
    m_pchData = pData->data();
}

void CString::AssignCopy(int nSrcLen, LPCSTR lpszSrcData)
{
    if (nSrcLen == 0) {
        Empty();
        return;
    }
    if (m_pchData != NilData() && nSrcLen <= GetData()->nAllocLength) {
        std::memmove(m_pchData, lpszSrcData, static_cast<size_t>(nSrcLen));
    } else {
        CString copy(lpszSrcData, nSrcLen);  // the source may live inside this string
        *this = std::move(copy);
        return;
    }
    GetData()->nDataLength = nSrcLen;
    m_pchData[nSrcLen] = '\0';
}

void CString::ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData)
{
    if (nSrcLen == 0)
        return;
    int nOldLen = GetLength();
    if (m_pchData == NilData() || nOldLen + nSrcLen > GetData()->nAllocLength) {
        CString grown;
        grown.AllocBuffer(std::max(nOldLen + nSrcLen, nOldLen * 2));
        std::memcpy(grown.m_pchData, m_pchData, static_cast<size_t>(nOldLen));
        std::memcpy(grown.m_pchData + nOldLen, lpszSrcData, static_cast<size_t>(nSrcLen));
        grown.GetData()->nDataLength = nOldLen + nSrcLen;
        grown.m_pchData[nOldLen + nSrcLen] = '\0';
        *this = std::move(grown);
        return;
    }
    std::memmove(m_pchData + nOldLen, lpszSrcData, static_cast<size_t>(nSrcLen));
    GetData()->nDataLength = nOldLen + nSrcLen;
    m_pchData[nOldLen + nSrcLen] = '\0';
}

// ---- construction ----

CString::CString() : m_pchData(NilData()) {}

CString::CString(const CString& stringSrc) : m_pchData(NilData())
{
    int nLen = stringSrc.GetLength();
    if (nLen > 0) {
        AllocBuffer(nLen);
        std::memcpy(m_pchData, stringSrc.m_pchData, static_cast<size_t>(nLen));
    }
}

CString::CString(CString&& stringSrc) noexcept : m_pchData(stringSrc.m_pchData) { stringSrc.m_pchData = NilData(); }

CString::CString(char ch, int nRepeat) : m_pchData(NilData())
{
    if (nRepeat > 0) {
        AllocBuffer(nRepeat);
        std::memset(m_pchData, ch, static_cast<size_t>(nRepeat));
    }
}

CString::CString(LPCSTR lpsz) : m_pchData(NilData())
{
    if (IsResourceId(lpsz)) {
        LoadString(LOWORD(reinterpret_cast<UINT_PTR>(lpsz)));
        return;
    }
    int nLen = SafeLength(lpsz);
    if (nLen > 0) {
        AllocBuffer(nLen);
        std::memcpy(m_pchData, lpsz, static_cast<size_t>(nLen));
    }
}

CString::CString(LPCSTR lpch, int nLength) : m_pchData(NilData())
{
    if (lpch != NULL && nLength > 0) {
        AllocBuffer(nLength);
        std::memcpy(m_pchData, lpch, static_cast<size_t>(nLength));
    }
}

CString::CString(const unsigned char* psz) : CString(reinterpret_cast<LPCSTR>(psz)) {}

CString::~CString() { Release(); }

// ---- attributes and access ----

int CString::GetLength() const { return GetData()->nDataLength; }
int CString::GetAllocLength() const { return GetData()->nAllocLength; }
BOOL CString::IsEmpty() const { return GetLength() == 0; }
void CString::Empty() { Release(); }

char CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        AfxThrowInvalidArgException();
    return m_pchData[nIndex];
}

char CString::operator[](int nIndex) const { return GetAt(nIndex); }

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex < 0 || nIndex >= GetLength())
        AfxThrowInvalidArgException();
    m_pchData[nIndex] = ch;
}

// ---- assignment and concatenation ----

const CString& CString::operator=(const CString& stringSrc)
{
    if (this != &stringSrc)
        AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
    return *this;
}

const CString& CString::operator=(CString&& stringSrc) noexcept
{
    if (this != &stringSrc) {
        Release();
        m_pchData = stringSrc.m_pchData;
        stringSrc.m_pchData = NilData();
    }
    return *this;
}

const CString& CString::operator=(char ch)
{
    AssignCopy(1, &ch);
    return *this;
}

const CString& CString::operator=(LPCSTR lpsz)
{
    if (IsResourceId(lpsz)) {
        Empty();
        LoadString(LOWORD(reinterpret_cast<UINT_PTR>(lpsz)));
        return *this;
    }
    AssignCopy(SafeLength(lpsz), lpsz);
    return *this;
}

const CString& CString::operator=(const unsigned char* psz) { return *this = reinterpret_cast<LPCSTR>(psz); }

const CString& CString::operator+=(const CString& string)
{
    ConcatInPlace(string.GetLength(), string.m_pchData);
    return *this;
}

const CString& CString::operator+=(char ch)
{
    ConcatInPlace(1, &ch);
    return *this;
}

const CString& CString::operator+=(LPCSTR lpsz)
{
    ConcatInPlace(SafeLength(lpsz), lpsz);
    return *this;
}

namespace {
CString Concat(LPCSTR p1, int n1, LPCSTR p2, int n2)
{
    CString result;
    LPSTR buf = result.GetBufferSetLength(n1 + n2);
    std::memcpy(buf, p1, static_cast<size_t>(n1));
    std::memcpy(buf + n1, p2, static_cast<size_t>(n2));
    return result;
}
}  // namespace

CString AFXAPI operator+(const CString& string1, const CString& string2)
{
    return Concat(string1, string1.GetLength(), string2, string2.GetLength());
}

CString AFXAPI operator+(const CString& string, char ch) { return Concat(string, string.GetLength(), &ch, 1); }
CString AFXAPI operator+(char ch, const CString& string) { return Concat(&ch, 1, string, string.GetLength()); }

CString AFXAPI operator+(const CString& string, LPCSTR lpsz)
{
    return Concat(string, string.GetLength(), lpsz, SafeLength(lpsz));
}

CString AFXAPI operator+(LPCSTR lpsz, const CString& string)
{
    return Concat(lpsz, SafeLength(lpsz), string, string.GetLength());
}

// ---- comparison ----

int CString::Compare(LPCSTR lpsz) const { return Sign(std::strcmp(m_pchData, lpsz ? lpsz : "")); }
int CString::CompareNoCase(LPCSTR lpsz) const { return CompareFolded(m_pchData, lpsz ? lpsz : ""); }
int CString::Collate(LPCSTR lpsz) const { return Compare(lpsz); }
int CString::CollateNoCase(LPCSTR lpsz) const { return CompareNoCase(lpsz); }

bool AFXAPI operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
bool AFXAPI operator==(const CString& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
bool AFXAPI operator==(LPCSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool AFXAPI operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
bool AFXAPI operator!=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
bool AFXAPI operator!=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool AFXAPI operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(const CString& s1, LPCSTR s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(LPCSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
bool AFXAPI operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator>(const CString& s1, LPCSTR s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator>(LPCSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
bool AFXAPI operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator<=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator<=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
bool AFXAPI operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
bool AFXAPI operator>=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) >= 0; }
bool AFXAPI operator>=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }

// ---- extraction ----

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - nFirst); }

CString CString::Mid(int nFirst, int nCount) const
{
    int nLen = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst > nLen)
        nFirst = nLen;
    if (nCount > nLen - nFirst)
        nCount = nLen - nFirst;
    if (nFirst == 0 && nCount == nLen)
        return *this;
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const { return Mid(0, std::min(std::max(nCount, 0), GetLength())); }

CString CString::Right(int nCount) const
{
    nCount = std::min(std::max(nCount, 0), GetLength());
    return Mid(GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const
{
    return Left(static_cast<int>(std::strspn(m_pchData, lpszCharSet ? lpszCharSet : "")));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const
{
    return Left(static_cast<int>(std::strcspn(m_pchData, lpszCharSet ? lpszCharSet : "")));
}

// ---- modification ----

void CString::MakeUpper() { CharUpperBuffA(m_pchData, static_cast<DWORD>(GetLength())); }

void CString::MakeLower() { CharLowerBuffA(m_pchData, static_cast<DWORD>(GetLength())); }

void CString::MakeReverse() { std::reverse(m_pchData, m_pchData + GetLength()); }

int CString::Replace(char chOld, char chNew)
{
    if (chOld == chNew)
        return 0;
    int nCount = 0;
    for (int i = 0; i < GetLength(); ++i) {
        if (m_pchData[i] == chOld) {
            m_pchData[i] = chNew;
            ++nCount;
        }
    }
    return nCount;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew)
{
    int nOldLen = SafeLength(lpszOld);
    if (nOldLen == 0)
        return 0;
    int nNewLen = SafeLength(lpszNew);
    std::string result;
    int nCount = 0;
    LPCSTR pStart = m_pchData;
    LPCSTR pEnd = m_pchData + GetLength();
    while (pStart < pEnd) {
        LPCSTR pFound = std::strstr(pStart, lpszOld);
        if (pFound == NULL) {
            // The text may hold zero bytes; carry on behind each one.
            size_t n = std::strlen(pStart);
            result.append(pStart, n);
            pStart += n;
            if (pStart < pEnd) {
                result += '\0';
                ++pStart;
            }
            continue;
        }
        result.append(pStart, static_cast<size_t>(pFound - pStart));
        result.append(lpszNew ? lpszNew : "", static_cast<size_t>(nNewLen));
        pStart = pFound + nOldLen;
        ++nCount;
    }
    if (nCount > 0)
        AssignCopy(static_cast<int>(result.size()), result.data());
    return nCount;
}

int CString::Remove(char chRemove)
{
    int nLen = GetLength();
    char* pEnd = std::remove(m_pchData, m_pchData + nLen, chRemove);
    int nNewLen = static_cast<int>(pEnd - m_pchData);
    if (nNewLen != nLen) {
        GetData()->nDataLength = nNewLen;
        m_pchData[nNewLen] = '\0';
    }
    return nLen - nNewLen;
}

int CString::Insert(int nIndex, char ch) { return Insert(nIndex, CString(ch)); }

int CString::Insert(int nIndex, LPCSTR pstr)
{
    int nLen = GetLength();
    nIndex = std::min(std::max(nIndex, 0), nLen);
    int nInsertLen = SafeLength(pstr);
    if (nInsertLen > 0) {
        CString result;
        LPSTR buf = result.GetBufferSetLength(nLen + nInsertLen);
        std::memcpy(buf, m_pchData, static_cast<size_t>(nIndex));
        std::memcpy(buf + nIndex, pstr, static_cast<size_t>(nInsertLen));
        std::memcpy(buf + nIndex + nInsertLen, m_pchData + nIndex, static_cast<size_t>(nLen - nIndex));
        *this = std::move(result);
    }
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    int nLen = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < nLen) {
        nCount = std::min(nCount, nLen - nIndex);
        std::memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, static_cast<size_t>(nLen - nIndex - nCount) + 1);
        GetData()->nDataLength = nLen - nCount;
    }
    return GetLength();
}

// ---- trimming ----

namespace {
template <class Pred>
void TrimLeftWhere(CString& s, Pred pred)
{
    int n = 0;
    int nLen = s.GetLength();
    LPCSTR p = s;
    while (n < nLen && p[n] != '\0' && pred(p[n]))
        ++n;
    if (n > 0)
        s.Delete(0, n);
}

template <class Pred>
void TrimRightWhere(CString& s, Pred pred)
{
    // Like the C-string scan: only the text up to the first zero byte counts.
    LPCSTR p = s;
    int nEnd = static_cast<int>(std::strlen(p));
    int nLast = nEnd;
    while (nLast > 0 && pred(p[nLast - 1]))
        --nLast;
    if (nLast < nEnd)
        s.Delete(nLast, s.GetLength() - nLast);
}

bool InSet(LPCSTR lpszSet, char ch) { return ch != '\0' && lpszSet != NULL && std::strchr(lpszSet, ch) != NULL; }
}  // namespace

void CString::TrimLeft() { TrimLeftWhere(*this, IsWhiteSpace); }
void CString::TrimLeft(char chTarget) { TrimLeftWhere(*this, [chTarget](char c) { return c == chTarget; }); }
void CString::TrimLeft(LPCSTR lpszTargets) { TrimLeftWhere(*this, [lpszTargets](char c) { return InSet(lpszTargets, c); }); }
void CString::TrimRight() { TrimRightWhere(*this, IsWhiteSpace); }
void CString::TrimRight(char chTarget) { TrimRightWhere(*this, [chTarget](char c) { return c == chTarget; }); }

void CString::TrimRight(LPCSTR lpszTargets)
{
    TrimRightWhere(*this, [lpszTargets](char c) { return InSet(lpszTargets, c); });
}

void CString::Trim()
{
    TrimRight();
    TrimLeft();
}

// ---- searching ----

int CString::Find(char ch) const { return Find(ch, 0); }
int CString::Find(LPCSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0)
        nStart = 0;
    if (nStart >= GetLength())
        return -1;
    LPCSTR p = std::strchr(m_pchData + nStart, ch);
    return (p == NULL || ch == '\0') ? -1 : static_cast<int>(p - m_pchData);
}

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    if (lpszSub == NULL)
        return -1;
    if (nStart < 0)
        nStart = 0;
    if (nStart > GetLength())
        return -1;
    LPCSTR p = std::strstr(m_pchData + nStart, lpszSub);
    return p == NULL ? -1 : static_cast<int>(p - m_pchData);
}

int CString::ReverseFind(char ch) const
{
    if (ch == '\0')
        return -1;
    LPCSTR p = std::strrchr(m_pchData, ch);
    return p == NULL ? -1 : static_cast<int>(p - m_pchData);
}

int CString::FindOneOf(LPCSTR lpszCharSet) const
{
    LPCSTR p = std::strpbrk(m_pchData, lpszCharSet ? lpszCharSet : "");
    return p == NULL ? -1 : static_cast<int>(p - m_pchData);
}

// ---- formatting ----

void CString::FormatV(LPCSTR lpszFormat, va_list argList)
{
    if (lpszFormat == NULL) {
        Empty();
        return;
    }
    std::string format = TranslateFormat(lpszFormat);
    va_list args;
    va_copy(args, argList);
    int nNeeded = std::vsnprintf(NULL, 0, format.c_str(), args);
    va_end(args);
    if (nNeeded <= 0) {
        Empty();
        return;
    }
    CString result;
    LPSTR buf = result.GetBuffer(nNeeded);
    va_copy(args, argList);
    std::vsnprintf(buf, static_cast<size_t>(nNeeded) + 1, format.c_str(), args);
    va_end(args);
    result.ReleaseBuffer(nNeeded);
    *this = std::move(result);
}

void CString::FormatArgs(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

namespace {

// Reads the insert at p (just after the '%'): its number and its printf conversion without the
// '%' ("s" when none is given). Returns the character after the insert.
LPCSTR ParseInsert(LPCSTR p, int& nIndex, std::string& insertFormat)
{
    nIndex = *p++ - '0';
    if (*p >= '0' && *p <= '9')
        nIndex = nIndex * 10 + (*p++ - '0');
    insertFormat = "s";
    if (*p == '!') {
        LPCSTR pEnd = std::strchr(p + 1, '!');
        if (pEnd != NULL) {
            insertFormat.assign(p + 1, static_cast<size_t>(pEnd - p - 1));
            p = pEnd + 1;
        }
    }
    return p;
}

// The conversion letter of an insert's printf format, and its flags and width without the size
// letters.
char SplitInsertFormat(const std::string& insertFormat, std::string& flagsAndWidth, bool& b64)
{
    char conv = insertFormat.empty() ? 's' : insertFormat.back();
    b64 = insertFormat.find("I64") != std::string::npos || insertFormat.find("ll") != std::string::npos;
    flagsAndWidth.clear();
    for (size_t i = 0; i + 1 < insertFormat.size(); ++i) {
        char c = insertFormat[i];
        if (c == 'I' && (insertFormat.compare(i, 3, "I64") == 0 || insertFormat.compare(i, 3, "I32") == 0))
            i += 2;  // a size, not a width
        else if (std::strchr("-+ #0123456789.", c))
            flagsAndWidth += c;
    }
    return conv;
}

template <class T>
std::string FormatOne(const std::string& format, T value)
{
    int n = std::snprintf(NULL, 0, format.c_str(), value);
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        std::snprintf(out.data(), out.size() + 1, format.c_str(), value);
    return out;
}

}  // namespace

void CString::FormatMessageArgs(LPCSTR lpszFormat, const MessageArg* pArgs, int nArgs)
{
    std::string out;
    for (LPCSTR p = lpszFormat ? lpszFormat : ""; *p;) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        ++p;
        if (*p >= '1' && *p <= '9') {
            int nIndex;
            std::string insertFormat;
            p = ParseInsert(p, nIndex, insertFormat);
            if (nIndex > nArgs)
                continue;
            const MessageArg& arg = pArgs[nIndex - 1];
            std::string flags;
            bool b64;
            char conv = SplitInsertFormat(insertFormat, flags, b64);
            std::string format = "%" + flags;
            if (std::strchr("diouxX", conv)) {
                long long n = arg.kind == MessageArg::unsignedNumber ? static_cast<long long>(arg.nUnsigned) : arg.nSigned;
                if (!b64)  // without a size the number is 32 bits, as on the platform
                    n = std::strchr("di", conv) ? static_cast<long long>(static_cast<int>(n))
                                                : static_cast<long long>(static_cast<unsigned int>(n));
                out += FormatOne(format + "ll" + conv, n);
            } else if (conv == 'c') {
                out += FormatOne(format + "c", static_cast<int>(arg.nSigned + static_cast<long long>(arg.nUnsigned)));
            } else if (std::strchr("eEfgGaA", conv)) {
                out += FormatOne(format + conv, arg.dValue);
            } else if (conv == 'p') {
                out += FormatOne(format + "p", arg.pValue);
            } else if (arg.kind == MessageArg::text) {
                out += FormatOne(format + "s", arg.pValue ? static_cast<LPCSTR>(arg.pValue) : "(null)");
            } else if (arg.kind == MessageArg::signedNumber) {
                out += FormatOne(format + "lld", arg.nSigned);
            } else if (arg.kind == MessageArg::unsignedNumber) {
                out += FormatOne(format + "llu", arg.nUnsigned);
            } else if (arg.kind == MessageArg::floating) {
                out += FormatOne(format + "g", arg.dValue);
            }
            continue;
        }
        switch (*p) {
        case '\0': continue;
        case '0': p = ""; continue;
        case 'n': out += "\r\n"; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        default: out += *p; break;  // %%, %., %!, "% " and anything else: the character itself
        }
        ++p;
    }
    AssignCopy(static_cast<int>(out.size()), out.data());
}

void CString::FormatMessageV(LPCSTR lpszFormat, va_list* pArgList)
{
    // First the type of every argument from the inserts that use it, then the arguments in order.
    std::string insertFormats[100];
    int nArgs = 0;
    for (LPCSTR p = lpszFormat ? lpszFormat : ""; *p; ++p) {
        if (*p != '%')
            continue;
        if (p[1] >= '1' && p[1] <= '9') {
            int nIndex;
            std::string insertFormat;
            p = ParseInsert(p + 1, nIndex, insertFormat) - 1;
            insertFormats[nIndex] = insertFormat;
            nArgs = std::max(nArgs, nIndex);
        } else if (p[1] != '\0') {
            ++p;
        }
    }
    std::vector<MessageArg> args(static_cast<size_t>(nArgs) + 1);
    for (int i = 1; i <= nArgs; ++i) {
        MessageArg& arg = args[static_cast<size_t>(i - 1)];
        std::string flags;
        bool b64;
        char conv = insertFormats[i].empty() ? 'p' : SplitInsertFormat(insertFormats[i], flags, b64);
        if (std::strchr("di", conv) || conv == 'c') {
            arg = MessageArg(b64 ? va_arg(*pArgList, long long) : static_cast<long long>(va_arg(*pArgList, int)));
        } else if (std::strchr("ouxX", conv)) {
            arg = MessageArg(b64 ? va_arg(*pArgList, unsigned long long)
                                 : static_cast<unsigned long long>(va_arg(*pArgList, unsigned int)));
        } else if (std::strchr("eEfgGaA", conv)) {
            arg = MessageArg(va_arg(*pArgList, double));
        } else if (conv == 's') {
            arg = MessageArg(va_arg(*pArgList, const char*));
        } else {
            arg = MessageArg(va_arg(*pArgList, const void*));
        }
    }
    FormatMessageArgs(lpszFormat, args.data(), nArgs);
}

// ---- direct buffer access ----

LPSTR CString::GetBuffer(int nMinBufLength)
{
    // Always a buffer of this string's own, even for no characters.
    Reserve(std::max(nMinBufLength, GetLength()), true);
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (m_pchData == NilData())
        return;
    Data* pData = GetData();
    if (nNewLength < 0)
        nNewLength = static_cast<int>(strnlen(m_pchData, static_cast<size_t>(pData->nAllocLength)));
    ASSERT(nNewLength <= pData->nAllocLength);
    nNewLength = std::min(nNewLength, pData->nAllocLength);
    pData->nDataLength = nNewLength;
    m_pchData[nNewLength] = '\0';
    pData->nLocks = 0;
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = 0;
    GetBuffer(nNewLength);
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = '\0';
    return m_pchData;
}

void CString::FreeExtra()
{
    if (m_pchData != NilData() && GetData()->nAllocLength > GetLength()) {
        CString copy(m_pchData, GetLength());
        *this = std::move(copy);
    }
}

// No other string ever shares these characters, so locking only has to hand out the buffer.
LPSTR CString::LockBuffer()
{
    LPSTR p = GetBuffer(0);
    GetData()->nLocks++;
    return p;
}

void CString::UnlockBuffer()
{
    if (m_pchData != NilData() && GetData()->nLocks > 0)
        GetData()->nLocks--;
}

BOOL CString::LoadString(UINT nID)
{
    AFX_STRING_LOADER pfnLoader = g_stringLoader.load();
    if (pfnLoader == NULL)
        return FALSE;
    return pfnLoader(nID, *this);
}
