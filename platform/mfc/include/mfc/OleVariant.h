// COleVariant: a tagged value as the DAO classes pass field values (GetFieldValue and
// SetFieldValue): empty, Null, a 16- or 32-bit integer, a byte, a single or double, a date,
// a boolean or a text. Text is single-byte (Windows-1252), held in bstrVal as a NUL-terminated
// string that the variant owns, the way the class library's ANSI builds pass DAO text (VT_BSTRT).
#pragma once

#include <windef.h>

#include <mfc/OleDateTime.h>
#include <mfc/String.h>

typedef unsigned short VARTYPE;
typedef short VARIANT_BOOL;
#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

enum VARENUM {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_UI1 = 17,
};
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
    ~COleVariant();

    const COleVariant& operator=(const COleVariant& varSrc);
    const COleVariant& operator=(LPCSTR lpszSrc);
    const COleVariant& operator=(const CString& strSrc);
    const COleVariant& operator=(short nSrc);
    const COleVariant& operator=(LONG lSrc);
    const COleVariant& operator=(double dblSrc);
    const COleVariant& operator=(const COleDateTime& dateSrc);

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
        DATE date;
        char* bstrVal;
    };
};

#define V_VT(pvar) ((pvar)->vt)
#define V_UI1(pvar) ((pvar)->bVal)
#define V_I2(pvar) ((pvar)->iVal)
#define V_I4(pvar) ((pvar)->lVal)
#define V_R4(pvar) ((pvar)->fltVal)
#define V_R8(pvar) ((pvar)->dblVal)
#define V_BOOL(pvar) ((pvar)->boolVal)
#define V_DATE(pvar) ((pvar)->date)
#define V_BSTR(pvar) ((pvar)->bstrVal)
#define V_BSTRT(pvar) ((LPCSTR)(pvar)->bstrVal)
