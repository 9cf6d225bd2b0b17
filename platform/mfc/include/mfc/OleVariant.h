// COleVariant: a tagged value as the DAO classes pass field values (GetFieldValue and
// SetFieldValue): empty, Null, a 16- or 32-bit integer, a byte, a single or double, a date,
// a boolean, an error code or a text. Text is single-byte (Windows-1252), held in bstrVal as a
// NUL-terminated string that the variant owns, the way the class library's ANSI builds pass DAO
// text (VT_BSTRT). The type tags are the platform's (oleauto.h). The platform's VARIANT holds
// its text as UTF-16 (a BSTR): a COleVariant made from a VARIANT, attached to one or detached
// into one converts the text between the two.
#pragma once

#include <windef.h>
#include <oleauto.h>

#include <mfc/OleDateTime.h>
#include <mfc/String.h>

// Single-byte text in ANSI builds of the class library.
#define VT_BSTRT VT_BSTR

class COleVariant {
public:
    COleVariant();
    COleVariant(const COleVariant& varSrc);
    COleVariant(LPCSTR lpszSrc, VARTYPE vtSrc = VT_BSTR);
    COleVariant(const CString& strSrc);
    COleVariant(BYTE nSrc);
    COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);  // VT_I2 or VT_BOOL
    COleVariant(LONG lSrc, VARTYPE vtSrc = VT_I4);   // VT_I4, VT_BOOL
    COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);
    COleVariant(float fltSrc);
    COleVariant(double dblSrc);
    COleVariant(const COleDateTime& timeSrc);
    // A copy of the platform's variant (a VT_BYREF variant as the value it refers to), its text
    // converted to Windows-1252. Throws CNotSupportedException for a type the class cannot hold
    // (interfaces, arrays).
    COleVariant(const VARIANT& varSrc);
    ~COleVariant();

    const COleVariant& operator=(const COleVariant& varSrc);
    const COleVariant& operator=(LPCSTR lpszSrc);
    const COleVariant& operator=(const CString& strSrc);
    const COleVariant& operator=(short nSrc);
    const COleVariant& operator=(LONG lSrc);
    const COleVariant& operator=(double dblSrc);
    const COleVariant& operator=(const COleDateTime& dateSrc);
    const COleVariant& operator=(const VARIANT& varSrc);

    // Takes the platform's variant over (its text converted; the source's own copy freed) and
    // leaves the source VT_EMPTY.
    void Attach(VARIANT& varSrc);
    // Gives the value away as the platform's variant (text as a new BSTR, which the receiver
    // frees with VariantClear) and becomes VT_EMPTY.
    VARIANT Detach();

    // Same type and same value.
    BOOL operator==(const COleVariant& varSrc) const;
    BOOL operator!=(const COleVariant& varSrc) const { return !(*this == varSrc); }

    // Back to VT_EMPTY.
    void Clear();
    // Converts in place between numbers, booleans, dates and texts. A conversion that cannot be
    // made (text that is no number or date, Null to any other type) leaves the value as it
    // was and returns FALSE; the platform's VariantChangeType reports the same cases.
    BOOL ChangeType(VARTYPE vartype);
    void SetString(LPCSTR lpszSrc, VARTYPE vtSrc = VT_BSTR);

    VARTYPE vt;
    union {
        BYTE bVal;
        short iVal;
        LONG lVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        DATE date;
        char* bstrVal;
    };
};

#define V_BSTRT(pvar) ((LPCSTR)(pvar)->bstrVal)
