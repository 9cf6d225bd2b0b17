// The platform's object model as far as a program registers itself as the running object of a
// class and other code finds it and calls it: IUnknown and IDispatch, class identifiers from their
// text form, the running-object table (RegisterActiveObject, RevokeActiveObject,
// GetActiveObject), and the automation types that carry arguments and results of
// IDispatch::Invoke: BSTR texts, VARIANT values and their conversions. The table belongs to the
// process: an object registered here is found by code of the same process.
#pragma once

#include <windef.h>
#include <winerror.h>

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
// A length-prefixed text: the pointer addresses the first character; the 32-bit byte length
// stands just before it and a null character just after the last one.
typedef OLECHAR* BSTR;
typedef LONG DISPID;
typedef CLSID* LPCLSID;
typedef unsigned short VARTYPE;
typedef short VARIANT_BOOL;
typedef LONG SCODE;
// Days since 30 December 1899; the fraction is the time of day.
typedef double DATE;

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

#ifndef STDMETHODCALLTYPE
#define STDMETHODCALLTYPE
#endif

struct tagVARIANT;
typedef tagVARIANT VARIANT;
typedef tagVARIANT VARIANTARG;
typedef VARIANT* LPVARIANT;
typedef VARIANTARG* LPVARIANTARG;
struct ITypeInfo;
struct IUnknown;
struct IDispatch;

// The type tags of a variant. VT_BYREF combines with a base type: the variant then holds a
// pointer to a value of that type, owned by the caller.
enum VARENUM {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_INT = 22,
    VT_UINT = 23,
    VT_BSTR_BLOB = 0xfff,
    VT_VECTOR = 0x1000,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_RESERVED = 0x8000,
    VT_ILLEGAL = 0xffff,
    VT_ILLEGALMASKED = 0xfff,
    VT_TYPEMASK = 0xfff,
};

struct tagVARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        BYTE bVal;
        short iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        BYTE* pbVal;
        short* piVal;
        LONG* plVal;
        float* pfltVal;
        double* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        DATE* pdate;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        VARIANT* pvarVal;
        void* byref;
    };
};

#define V_VT(pvar) ((pvar)->vt)
#define V_ISBYREF(pvar) (((pvar)->vt & VT_BYREF) != 0)
#define V_UI1(pvar) ((pvar)->bVal)
#define V_I2(pvar) ((pvar)->iVal)
#define V_I4(pvar) ((pvar)->lVal)
#define V_R4(pvar) ((pvar)->fltVal)
#define V_R8(pvar) ((pvar)->dblVal)
#define V_BOOL(pvar) ((pvar)->boolVal)
#define V_DATE(pvar) ((pvar)->date)
#define V_BSTR(pvar) ((pvar)->bstrVal)
#define V_ERROR(pvar) ((pvar)->scode)
#define V_UNKNOWN(pvar) ((pvar)->punkVal)
#define V_DISPATCH(pvar) ((pvar)->pdispVal)
#define V_BSTRREF(pvar) ((pvar)->pbstrVal)
#define V_I4REF(pvar) ((pvar)->plVal)
#define V_VARIANTREF(pvar) ((pvar)->pvarVal)

// The arguments of an Invoke call, last argument first; named arguments (the first cNamedArgs
// of rgvarg) carry their dispatch identifiers in rgdispidNamedArgs.
typedef struct tagDISPPARAMS {
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
} DISPPARAMS;

// What a member that fails with DISP_E_EXCEPTION tells its caller.
typedef struct tagEXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    HRESULT(STDMETHODCALLTYPE* pfnDeferredFillIn)(struct tagEXCEPINFO*);
    SCODE scode;
} EXCEPINFO, *LPEXCEPINFO;

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8
#define DISPID_VALUE 0
#define DISPID_UNKNOWN (-1)
#define DISPID_PROPERTYPUT (-3)

#ifndef DISP_E_UNKNOWNINTERFACE
#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001L)
#endif
#ifndef DISP_E_MEMBERNOTFOUND
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003L)
#endif
#ifndef DISP_E_PARAMNOTFOUND
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004L)
#endif
#ifndef DISP_E_TYPEMISMATCH
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005L)
#endif
#ifndef DISP_E_UNKNOWNNAME
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006L)
#endif
#ifndef DISP_E_NONAMEDARGS
#define DISP_E_NONAMEDARGS ((HRESULT)0x80020007L)
#endif
#ifndef DISP_E_BADVARTYPE
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008L)
#endif
#ifndef DISP_E_EXCEPTION
#define DISP_E_EXCEPTION ((HRESULT)0x80020009L)
#endif
#ifndef DISP_E_OVERFLOW
#define DISP_E_OVERFLOW ((HRESULT)0x8002000AL)
#endif
#ifndef DISP_E_BADPARAMCOUNT
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000EL)
#endif
#ifndef DISP_E_PARAMNOTOPTIONAL
#define DISP_E_PARAMNOTOPTIONAL ((HRESULT)0x8002000FL)
#endif
#ifndef CO_E_NOTINITIALIZED
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0L)
#endif
#ifndef CO_E_CLASSSTRING
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3L)
#endif
#ifndef MK_E_UNAVAILABLE
#define MK_E_UNAVAILABLE ((HRESULT)0x800401E3L)
#endif

// RegisterActiveObject's flags.
#define ACTIVEOBJECT_STRONG 0x0
#define ACTIVEOBJECT_WEAK 0x1

extern const IID IID_IUnknown;   // {00000000-0000-0000-C000-000000000046}
extern const IID IID_IDispatch;  // {00020400-0000-0000-C000-000000000046}
extern const IID IID_NULL;

inline bool IsEqualGUID(REFGUID a, REFGUID b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

struct IDispatch : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                    DISPID* rgDispId) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                             DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                             UINT* puArgErr) = 0;

protected:
    ~IDispatch() = default;
};
typedef IDispatch* LPDISPATCH;

// Initialises the object libraries for the calling thread: S_OK the first time, S_FALSE when
// already initialised. Each successful call is matched by one OleUninitialize.
HRESULT WINAPI OleInitialize(LPVOID pvReserved);
void WINAPI OleUninitialize();
HRESULT WINAPI CoInitialize(LPVOID pvReserved);
void WINAPI CoUninitialize();

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hexadecimal digits of either case) to a class
// identifier; CO_E_CLASSSTRING for any other text (the identifier is then zero).
HRESULT WINAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
// The text form of a class identifier (upper-case digits) into a buffer of cchMax characters;
// the characters written with the terminator, 0 when it does not fit.
int WINAPI StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);

// Registers the object as the running object of the class: a strong registration holds a
// reference (AddRef) until it is revoked, a weak one does not. The registration number comes
// back in *pdwRegister. E_INVALIDARG for a null object or number pointer.
HRESULT WINAPI RegisterActiveObject(IUnknown* punk, REFCLSID rclsid, DWORD dwFlags, DWORD* pdwRegister);
// Ends a registration (releasing the strong reference); E_INVALIDARG for an unknown number.
HRESULT WINAPI RevokeActiveObject(DWORD dwRegister, void* pvReserved);
// The running object of the class (the earliest registration still in force), AddRef'ed;
// MK_E_UNAVAILABLE when none runs.
HRESULT WINAPI GetActiveObject(REFCLSID rclsid, void* pvReserved, IUnknown** ppunk);

// ---- texts ----

// A new text holding a copy of the null-terminated text; NULL for a NULL text or without memory.
BSTR WINAPI SysAllocString(const OLECHAR* psz);
// A new text of cch characters, copied from strIn when it is not NULL (zeroed otherwise);
// strIn may hold null characters.
BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT cch);
// A new text of len bytes, copied from psz when it is not NULL (zeroed otherwise); the byte
// length may be odd. The class library keeps single-byte text this way.
BSTR WINAPI SysAllocStringByteLen(LPCSTR psz, UINT len);
// Frees a text; NULL is allowed.
void WINAPI SysFreeString(BSTR bstrString);
// Replaces *pbstr by a copy of psz (which may lie inside *pbstr; NULL makes an empty text).
// FALSE without memory (then *pbstr is unchanged).
INT WINAPI SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
INT WINAPI SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len);
// Length in characters (bytes / 2) and in bytes; 0 for NULL.
UINT WINAPI SysStringLen(BSTR pbstr);
UINT WINAPI SysStringByteLen(BSTR bstr);

// ---- variants ----

// VariantChangeType's flags.
#define VARIANT_NOVALUEPROP 0x1
#define VARIANT_ALPHABOOL 0x2
#define VARIANT_NOUSEROVERRIDE 0x4
#define VARIANT_LOCALBOOL 0x10

// Makes the variant VT_EMPTY without looking at what it held.
void WINAPI VariantInit(VARIANTARG* pvarg);
// Frees what the variant owns (its text, its interface reference; nothing for a reference to
// a value) and makes it VT_EMPTY. DISP_E_BADVARTYPE for a type this layer does not know (the
// variant is then left as it was).
HRESULT WINAPI VariantClear(VARIANTARG* pvarg);
// Clears the destination and copies the source into it: a new copy of a text, one more
// reference on an interface, the same pointer for VT_BYREF.
HRESULT WINAPI VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);
// As VariantCopy, but a VT_BYREF source is copied as the value it refers to.
HRESULT WINAPI VariantCopyInd(VARIANT* pvarDest, const VARIANTARG* pvargSrc);
// Converts the source (a VT_BYREF source as the value it refers to) to type vt into the
// destination, which may be the source itself. Numbers, dates and booleans convert among each
// other (floating values round half to even; VT_BOOL is -1 or 0); numbers convert to and from
// text (leading and trailing blanks are allowed; "True" and "False" read as booleans; a
// boolean becomes "-1"/"0", or "True"/"False" with VARIANT_ALPHABOOL); VT_EMPTY reads as 0 or
// an empty text; VT_NULL converts to nothing else; an object (VT_DISPATCH) converts as the value
// of its value property (DISPID_VALUE) unless VARIANT_NOVALUEPROP is given. Dates do not
// convert to or from text here (the class library's COleDateTime formats and reads them). DISP_E_TYPEMISMATCH when the value cannot
// be read as the type, DISP_E_OVERFLOW when it does not fit, DISP_E_BADVARTYPE for a type this
// layer does not convert; on failure the destination is unchanged.
HRESULT WINAPI VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt);
HRESULT WINAPI VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID lcid, USHORT wFlags,
                                   VARTYPE vt);
