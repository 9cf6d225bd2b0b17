// CString: a string of single-byte Windows-1252 characters with the class library's operations.
// The object is exactly one pointer to its characters (a length and capacity header sits in front
// of them), so (LPCSTR)str, a CString in a union of pointers, and a CString handed to Format all
// see the characters. Searches and comparisons treat the text like C strings: they stop at the
// first zero byte. Case operations fold the letters of the Western code page, accented ones too.
#pragma once

// The whole C interface, so that names it may map (LoadString ...) are the same everywhere.
#include <windows.h>

#include <cstdarg>
#include <type_traits>

class CString {
public:
    CString();
    CString(const CString& stringSrc);
    CString(CString&& stringSrc) noexcept;
    CString(char ch, int nRepeat = 1);
    // A NULL pointer gives an empty string; a string resource id made with MAKEINTRESOURCE
    // loads that resource (see LoadString).
    CString(LPCSTR lpsz);
    CString(LPCSTR lpch, int nLength);
    CString(const unsigned char* psz);
    ~CString();

    int GetLength() const;
    int GetAllocLength() const;
    BOOL IsEmpty() const;
    void Empty();

    // An index outside the string throws CInvalidArgException.
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const;
    void SetAt(int nIndex, char ch);
    operator LPCSTR() const { return m_pchData; }

    const CString& operator=(const CString& stringSrc);
    const CString& operator=(CString&& stringSrc) noexcept;
    const CString& operator=(char ch);
    const CString& operator=(LPCSTR lpsz);
    const CString& operator=(const unsigned char* psz);

    const CString& operator+=(const CString& string);
    const CString& operator+=(char ch);
    const CString& operator+=(LPCSTR lpsz);

    friend CString AFXAPI operator+(const CString& string1, const CString& string2);
    friend CString AFXAPI operator+(const CString& string, char ch);
    friend CString AFXAPI operator+(char ch, const CString& string);
    friend CString AFXAPI operator+(const CString& string, LPCSTR lpsz);
    friend CString AFXAPI operator+(LPCSTR lpsz, const CString& string);

    // strcmp order of the bytes: < 0, 0 or > 0.
    int Compare(LPCSTR lpsz) const;
    // Like Compare after folding both sides to lower case on the code page.
    int CompareNoCase(LPCSTR lpsz) const;
    // Order of the "C" locale, which is the byte order.
    int Collate(LPCSTR lpsz) const;
    int CollateNoCase(LPCSTR lpsz) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    // The leading characters that are (not) in the set.
    CString SpanIncluding(LPCSTR lpszCharSet) const;
    CString SpanExcluding(LPCSTR lpszCharSet) const;

    void MakeUpper();
    void MakeLower();
    void MakeReverse();
    // Replace every occurrence; the number of replacements.
    int Replace(char chOld, char chNew);
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
    // Removes every occurrence of the character; the number removed.
    int Remove(char chRemove);
    // Insert before nIndex (clamped to the string); the new length.
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR pstr);
    // Deletes up to nCount characters from nIndex; the new length.
    int Delete(int nIndex, int nCount = 1);

    // Without an argument: white space (space, tab, CR, LF, VT, FF).
    void TrimLeft();
    void TrimLeft(char chTarget);
    void TrimLeft(LPCSTR lpszTargets);
    void TrimRight();
    void TrimRight(char chTarget);
    void TrimRight(LPCSTR lpszTargets);
    void Trim();

    // Zero-based index of the first match at or after nStart, or -1.
    int Find(char ch) const;
    int Find(LPCSTR lpszSub) const;
    int Find(char ch, int nStart) const;
    int Find(LPCSTR lpszSub, int nStart) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;

    // printf formatting in the platform's dialect: "l" is the 32-bit size, "I64" the 64-bit one,
    // "h" on %s/%c means narrow text. A CString argument is taken as its text.
    template <class... Args>
    void Format(LPCSTR lpszFormat, const Args&... args)
    {
        FormatArgs(lpszFormat, FormatArg(args)...);
    }
    // The format is a string resource.
    template <class... Args>
    void Format(UINT nFormatID, const Args&... args)
    {
        CString strFormat;
        if (strFormat.LoadString(nFormatID))
            FormatArgs(strFormat, FormatArg(args)...);
    }
    void FormatV(LPCSTR lpszFormat, va_list argList);

    // Message formatting: %1 .. %99 insert the arguments, each with an optional printf format
    // between exclamation marks ("%2!5d!"; plain %1 is !s!). %n is a line break (CR LF), %t a
    // tab, %r a carriage return, %0 ends the text; %%, %., %! and "% " stand for the character.
    template <class... Args>
    void FormatMessage(LPCSTR lpszFormat, const Args&... args)
    {
        const MessageArg argList[] = {MessageArg(FormatArg(args))..., MessageArg()};
        FormatMessageArgs(lpszFormat, argList, static_cast<int>(sizeof...(Args)));
    }
    // The format is a string resource.
    template <class... Args>
    void FormatMessage(UINT nFormatID, const Args&... args)
    {
        CString strFormat;
        if (strFormat.LoadString(nFormatID))
            FormatMessage(static_cast<LPCSTR>(strFormat), args...);
    }
    // The arguments' types come from the inserts' formats; an argument no insert mentions is
    // taken to be pointer-sized.
    void FormatMessageV(LPCSTR lpszFormat, va_list* pArgList);

    // Characters can be written directly: GetBuffer gives room for at least nMinBufLength
    // characters plus the terminator; ReleaseBuffer ends the writing and sets the length (-1:
    // up to the first zero byte). Other members must not be used in between.
    LPSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);
    LPSTR GetBufferSetLength(int nNewLength);
    void FreeExtra();
    LPSTR LockBuffer();
    void UnlockBuffer();

    // Loads a string resource of the running module. The resources area installs the loader
    // with AfxSetStringLoader; without one, nothing is loaded and the result is FALSE.
    BOOL LoadString(UINT nID);

private:
    struct Data;
    Data* GetData() const;
    void AllocBuffer(int nLen);
    void Release();
    void AssignCopy(int nSrcLen, LPCSTR lpszSrcData);
    void ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData);
    void Reserve(int nMinAlloc, bool bExact);
    void FormatArgs(LPCSTR lpszFormat, ...);

    // One FormatMessage argument with its kind.
    struct MessageArg {
        enum Kind { none, signedNumber, unsignedNumber, floating, text, pointer } kind = none;
        long long nSigned = 0;
        unsigned long long nUnsigned = 0;
        double dValue = 0;
        const void* pValue = NULL;

        MessageArg() = default;
        template <class T>
        explicit MessageArg(T value)
        {
            if constexpr (std::is_same_v<T, const char*> || std::is_same_v<T, char*>)
                kind = text, pValue = value;
            else if constexpr (std::is_pointer_v<T> || std::is_null_pointer_v<T>)
                kind = pointer, pValue = value;
            else if constexpr (std::is_floating_point_v<T>)
                kind = floating, dValue = value;
            else if constexpr (std::is_signed_v<T> || std::is_enum_v<T>)
                kind = signedNumber, nSigned = static_cast<long long>(value);
            else
                kind = unsignedNumber, nUnsigned = static_cast<unsigned long long>(value);
        }
    };
    void FormatMessageArgs(LPCSTR lpszFormat, const MessageArg* pArgs, int nArgs);

    template <class T>
    static auto FormatArg(const T& value)
    {
        if constexpr (std::is_base_of_v<CString, T>)
            return static_cast<LPCSTR>(value);
        else if constexpr (std::is_array_v<T>)
            return static_cast<const std::remove_extent_t<T>*>(value);
        else
            return value;
    }

    LPSTR m_pchData;
};

bool AFXAPI operator==(const CString& s1, const CString& s2);
bool AFXAPI operator==(const CString& s1, LPCSTR s2);
bool AFXAPI operator==(LPCSTR s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, LPCSTR s2);
bool AFXAPI operator!=(LPCSTR s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, LPCSTR s2);
bool AFXAPI operator<(LPCSTR s1, const CString& s2);
bool AFXAPI operator>(const CString& s1, const CString& s2);
bool AFXAPI operator>(const CString& s1, LPCSTR s2);
bool AFXAPI operator>(LPCSTR s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, LPCSTR s2);
bool AFXAPI operator<=(LPCSTR s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, LPCSTR s2);
bool AFXAPI operator>=(LPCSTR s1, const CString& s2);

// Loads string resource nID into rString; FALSE when there is no such string.
typedef BOOL(AFXAPI* AFX_STRING_LOADER)(UINT nID, CString& rString);
// Installs the string resource loader (NULL removes it); returns the previous one.
AFX_STRING_LOADER AFXAPI AfxSetStringLoader(AFX_STRING_LOADER pfnLoader);
