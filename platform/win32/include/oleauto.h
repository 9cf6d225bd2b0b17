// The platform's object model as far as a program registers itself as the running object of a
// class and other code finds it: IUnknown and IDispatch, class identifiers from their text
// form, and the running-object table (RegisterActiveObject, RevokeActiveObject,
// GetActiveObject). The table belongs to the process: an object registered here is found by
// code of the same process.
#pragma once

#include <windef.h>
#include <winerror.h>

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* BSTR;
typedef LONG DISPID;
typedef CLSID* LPCLSID;

#ifndef STDMETHODCALLTYPE
#define STDMETHODCALLTYPE
#endif

// Arguments and results of IDispatch::Invoke; this layer only passes them through.
struct tagVARIANT;
typedef tagVARIANT VARIANT;
typedef tagVARIANT VARIANTARG;
struct tagDISPPARAMS;
typedef tagDISPPARAMS DISPPARAMS;
struct tagEXCEPINFO;
typedef tagEXCEPINFO EXCEPINFO;
struct ITypeInfo;

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPID_UNKNOWN (-1)

#ifndef DISP_E_UNKNOWNNAME
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006L)
#endif
#ifndef DISP_E_MEMBERNOTFOUND
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003L)
#endif
#ifndef DISP_E_BADPARAMCOUNT
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000EL)
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
