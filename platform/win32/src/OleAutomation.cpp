// Automation texts (BSTR) and variants: allocation, copying, clearing and type conversion.
#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// ---- texts ----

// The byte length stands in the four bytes before the first character.
constexpr std::size_t kPrefix = sizeof(DWORD);

BSTR AllocBytes(const void* bytes, UINT len)
{
    // The prefix, the bytes and a null character (two bytes, so that an odd byte length still
    // ends in a whole null OLECHAR).
    auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + len + sizeof(OLECHAR) + 1));
    if (block == nullptr)
        return nullptr;
    DWORD byteLength = len;
    std::memcpy(block, &byteLength, kPrefix);
    if (bytes != nullptr && len > 0)
        std::memcpy(block + kPrefix, bytes, len);
    else
        std::memset(block + kPrefix, 0, len);
    std::memset(block + kPrefix + len, 0, sizeof(OLECHAR) + 1);
    return reinterpret_cast<BSTR>(block + kPrefix);
}

std::size_t OleLength(const OLECHAR* psz)
{
    std::size_t n = 0;
    while (psz[n] != 0)
        ++n;
    return n;
}

BSTR TextFromAscii(const std::string& text)
{
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(text.size()));
    if (out != nullptr)
        for (std::size_t i = 0; i < text.size(); ++i)
            out[i] = static_cast<unsigned char>(text[i]);
    return out;
}

// ---- variants ----

bool IsKnownBaseType(VARTYPE vt)
{
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_UI1: return true;
    default: return false;
    }
}

// Types that this layer holds: the base types, and a reference to one of them or to a variant.
bool IsKnownType(VARTYPE vt)
{
    if (vt & VT_BYREF) {
        VARTYPE base = static_cast<VARTYPE>(vt & ~VT_BYREF);
        return base == VT_VARIANT || (base != VT_EMPTY && base != VT_NULL && IsKnownBaseType(base));
    }
    return IsKnownBaseType(vt);
}

// The value a VT_BYREF variant refers to, as a plain variant that shares (does not own) it.
HRESULT Dereference(const VARIANTARG* src, VARIANT& out)
{
    out = *src;
    if (!(src->vt & VT_BYREF))
        return S_OK;
    if (src->byref == nullptr)
        return E_INVALIDARG;
    VARTYPE base = static_cast<VARTYPE>(src->vt & ~VT_BYREF);
    out.vt = base;
    switch (base) {
    case VT_I2: out.iVal = *src->piVal; break;
    case VT_I4: out.lVal = *src->plVal; break;
    case VT_R4: out.fltVal = *src->pfltVal; break;
    case VT_R8: out.dblVal = *src->pdblVal; break;
    case VT_DATE: out.date = *src->pdate; break;
    case VT_BSTR: out.bstrVal = *src->pbstrVal; break;
    case VT_DISPATCH: out.pdispVal = *src->ppdispVal; break;
    case VT_UNKNOWN: out.punkVal = *src->ppunkVal; break;
    case VT_ERROR: out.scode = *src->pscode; break;
    case VT_BOOL: out.boolVal = *src->pboolVal; break;
    case VT_UI1: out.bVal = *src->pbVal; break;
    case VT_VARIANT:
        // One level: the referenced variant itself may not be a reference to a variant.
        if (src->pvarVal->vt == (VT_BYREF | VT_VARIANT))
            return E_INVALIDARG;
        return Dereference(src->pvarVal, out);
    default: return DISP_E_BADVARTYPE;
    }
    return S_OK;
}

// A numeric reading of the value, for the conversions between numbers, dates and booleans.
HRESULT NumberOf(const VARIANT& v, double& out)
{
    switch (v.vt) {
    case VT_EMPTY: out = 0; return S_OK;
    case VT_I2: out = v.iVal; return S_OK;
    case VT_I4: out = v.lVal; return S_OK;
    case VT_R4: out = v.fltVal; return S_OK;
    case VT_R8: out = v.dblVal; return S_OK;
    case VT_DATE: out = v.date; return S_OK;
    case VT_BOOL: out = v.boolVal ? -1 : 0; return S_OK;
    case VT_UI1: out = v.bVal; return S_OK;
    case VT_BSTR: {
        // Decimal text with blanks around it; "True"/"False" read as booleans.
        std::string text;
        UINT n = SysStringLen(v.bstrVal);
        for (UINT i = 0; i < n; ++i) {
            OLECHAR c = v.bstrVal[i];
            if (c == 0 || c > 0x7F)
                return DISP_E_TYPEMISMATCH;
            text += static_cast<char>(c);
        }
        std::size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos)
            return DISP_E_TYPEMISMATCH;
        text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
        auto same = [&text](const char* word) {
            if (text.size() != std::strlen(word))
                return false;
            for (std::size_t i = 0; i < text.size(); ++i)
                if ((text[i] | 0x20) != (word[i] | 0x20))
                    return false;
            return true;
        };
        if (same("true")) {
            out = -1;
            return S_OK;
        }
        if (same("false")) {
            out = 0;
            return S_OK;
        }
        // Digits with an optional sign, decimal point and exponent; no hexadecimal, no
        // infinities, no names.
        for (char c : text)
            if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E'))
                return DISP_E_TYPEMISMATCH;
        char* end = nullptr;
        out = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || *end != 0)
            return DISP_E_TYPEMISMATCH;
        if (!std::isfinite(out))
            return DISP_E_OVERFLOW;
        return S_OK;
    }
    default: return DISP_E_TYPEMISMATCH;
    }
}

// Rounds half to even, as the platform's conversions to integers do.
double RoundHalfEven(double d)
{
    return std::nearbyint(d);
}

HRESULT ToInteger(double d, double low, double high, double& out)
{
    out = RoundHalfEven(d);
    if (out < low || out > high)
        return DISP_E_OVERFLOW;
    return S_OK;
}

std::string FormatFloating(double d, int digits)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, d);
    // The exponent loses its leading zeros: 1E+020 style is not used, 1E+20 is.
    std::string text = buffer;
    std::size_t e = text.find('E');
    if (e != std::string::npos) {
        std::size_t digit = e + 2;
        while (digit + 1 < text.size() && text[digit] == '0')
            text.erase(digit, 1);
    }
    return text;
}

// The converted value into out (which owns what it holds); the source is a dereferenced view.
HRESULT Convert(const VARIANT& src, USHORT wFlags, VARTYPE vt, VARIANT& out)
{
    VariantInit(&out);
    if (src.vt == vt)
        return VariantCopy(&out, &src);
    if (src.vt == VT_NULL)
        return DISP_E_TYPEMISMATCH;
    if (src.vt == VT_DISPATCH && vt != VT_UNKNOWN && !(wFlags & VARIANT_NOVALUEPROP)) {
        // An object converts as the value of its value property (dispatch identifier 0).
        if (src.pdispVal == nullptr)
            return DISP_E_TYPEMISMATCH;
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        VARIANT value;
        VariantInit(&value);
        if (src.pdispVal->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr) < 0)
            return DISP_E_TYPEMISMATCH;
        HRESULT hr = Convert(value, static_cast<USHORT>(wFlags | VARIANT_NOVALUEPROP), vt, out);
        VariantClear(&value);
        return hr;
    }
    switch (vt) {
    case VT_EMPTY: return DISP_E_TYPEMISMATCH;
    case VT_NULL:
        if (src.vt != VT_EMPTY)
            return DISP_E_TYPEMISMATCH;
        out.vt = VT_NULL;
        return S_OK;
    case VT_BSTR: {
        std::string text;
        switch (src.vt) {
        case VT_EMPTY: break;
        case VT_I2: text = std::to_string(src.iVal); break;
        case VT_I4: text = std::to_string(src.lVal); break;
        case VT_UI1: text = std::to_string(src.bVal); break;
        case VT_R4: text = FormatFloating(src.fltVal, 7); break;
        case VT_R8: text = FormatFloating(src.dblVal, 15); break;
        case VT_BOOL:
            if (wFlags & VARIANT_ALPHABOOL)
                text = src.boolVal ? "True" : "False";
            else
                text = src.boolVal ? "-1" : "0";
            break;
        default: return DISP_E_TYPEMISMATCH;  // dates as text, interfaces' values, error codes
        }
        out.bstrVal = TextFromAscii(text);
        if (out.bstrVal == nullptr)
            return E_OUTOFMEMORY;
        out.vt = VT_BSTR;
        return S_OK;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        if (src.vt != VT_UNKNOWN && src.vt != VT_DISPATCH)
            return DISP_E_TYPEMISMATCH;
        IUnknown* from = src.punkVal;
        if (from == nullptr) {
            out.vt = vt;
            out.punkVal = nullptr;
            return S_OK;
        }
        void* iface = nullptr;
        if (from->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &iface) < 0)
            return DISP_E_TYPEMISMATCH;
        out.vt = vt;
        if (vt == VT_DISPATCH)
            out.pdispVal = static_cast<IDispatch*>(iface);
        else
            out.punkVal = static_cast<IUnknown*>(iface);
        return S_OK;
    }
    case VT_ERROR: return DISP_E_TYPEMISMATCH;
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_DATE:
    case VT_BOOL:
    case VT_UI1: break;
    default: return DISP_E_BADVARTYPE;
    }
    double d = 0;
    if (src.vt == VT_BSTR && vt == VT_DATE)
        return DISP_E_TYPEMISMATCH;  // reading dates from text is not done here
    HRESULT hr = NumberOf(src, d);
    if (hr < 0)
        return hr;
    double n = 0;
    switch (vt) {
    case VT_I2:
        if ((hr = ToInteger(d, -32768.0, 32767.0, n)) < 0)
            return hr;
        out.iVal = static_cast<short>(n);
        break;
    case VT_I4:
        if ((hr = ToInteger(d, -2147483648.0, 2147483647.0, n)) < 0)
            return hr;
        out.lVal = static_cast<LONG>(n);
        break;
    case VT_UI1:
        if ((hr = ToInteger(d, 0.0, 255.0, n)) < 0)
            return hr;
        out.bVal = static_cast<BYTE>(n);
        break;
    case VT_R4:
        if (std::fabs(d) > 3.402823466e38)
            return DISP_E_OVERFLOW;
        out.fltVal = static_cast<float>(d);
        break;
    case VT_R8: out.dblVal = d; break;
    case VT_DATE:
        // The platform's dates run from the year 100 to the year 9999.
        if (d < -657434.0 || d >= 2958466.0)
            return DISP_E_OVERFLOW;
        out.date = d;
        break;
    case VT_BOOL: out.boolVal = d != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    default: break;
    }
    out.vt = vt;
    return S_OK;
}

}  // namespace

// ---- texts ----

BSTR WINAPI SysAllocString(const OLECHAR* psz)
{
    if (psz == nullptr)
        return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(OleLength(psz)));
}

BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT cch)
{
    if (cch > 0x7FFFFFF0u / sizeof(OLECHAR))
        return nullptr;
    return AllocBytes(strIn, cch * static_cast<UINT>(sizeof(OLECHAR)));
}

BSTR WINAPI SysAllocStringByteLen(LPCSTR psz, UINT len)
{
    if (len > 0x7FFFFFF0u)
        return nullptr;
    return AllocBytes(psz, len);
}

void WINAPI SysFreeString(BSTR bstrString)
{
    if (bstrString != nullptr)
        std::free(reinterpret_cast<unsigned char*>(bstrString) - kPrefix);
}

INT WINAPI SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len)
{
    if (pbstr == nullptr)
        return FALSE;
    // The new text is made before the old one goes: psz may point into it.
    BSTR fresh = SysAllocStringLen(psz, len);
    if (fresh == nullptr)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

INT WINAPI SysReAllocString(BSTR* pbstr, const OLECHAR* psz)
{
    return SysReAllocStringLen(pbstr, psz, psz != nullptr ? static_cast<UINT>(OleLength(psz)) : 0);
}

UINT WINAPI SysStringByteLen(BSTR bstr)
{
    if (bstr == nullptr)
        return 0;
    DWORD byteLength = 0;
    std::memcpy(&byteLength, reinterpret_cast<unsigned char*>(bstr) - kPrefix, kPrefix);
    return byteLength;
}

UINT WINAPI SysStringLen(BSTR pbstr)
{
    return SysStringByteLen(pbstr) / static_cast<UINT>(sizeof(OLECHAR));
}

// ---- variants ----

void WINAPI VariantInit(VARIANTARG* pvarg)
{
    if (pvarg == nullptr)
        return;
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
}

HRESULT WINAPI VariantClear(VARIANTARG* pvarg)
{
    if (pvarg == nullptr)
        return E_INVALIDARG;
    if (!IsKnownType(pvarg->vt))
        return DISP_E_BADVARTYPE;
    switch (pvarg->vt) {
    case VT_BSTR: SysFreeString(pvarg->bstrVal); break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        if (pvarg->punkVal != nullptr)
            pvarg->punkVal->Release();
        break;
    default: break;  // plain values and references to values the caller owns
    }
    pvarg->vt = VT_EMPTY;
    return S_OK;
}

HRESULT WINAPI VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc)
{
    if (pvargDest == nullptr || pvargSrc == nullptr)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    if (!IsKnownType(pvargSrc->vt))
        return DISP_E_BADVARTYPE;
    BSTR copy = nullptr;
    if (pvargSrc->vt == VT_BSTR && pvargSrc->bstrVal != nullptr) {
        copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(pvargSrc->bstrVal), SysStringByteLen(pvargSrc->bstrVal));
        if (copy == nullptr)
            return E_OUTOFMEMORY;
    }
    HRESULT hr = VariantClear(pvargDest);
    if (hr < 0) {
        SysFreeString(copy);
        return hr;
    }
    *pvargDest = *pvargSrc;
    if (pvargSrc->vt == VT_BSTR)
        pvargDest->bstrVal = copy;
    else if ((pvargSrc->vt == VT_DISPATCH || pvargSrc->vt == VT_UNKNOWN) && pvargSrc->punkVal != nullptr)
        pvargSrc->punkVal->AddRef();
    return S_OK;
}

HRESULT WINAPI VariantCopyInd(VARIANT* pvarDest, const VARIANTARG* pvargSrc)
{
    if (pvarDest == nullptr || pvargSrc == nullptr)
        return E_INVALIDARG;
    if (!IsKnownType(pvargSrc->vt))
        return DISP_E_BADVARTYPE;
    VARIANT value;
    HRESULT hr = Dereference(pvargSrc, value);
    if (hr < 0)
        return hr;
    VARIANT copy;
    VariantInit(&copy);
    if ((hr = VariantCopy(&copy, &value)) < 0)
        return hr;
    if ((hr = VariantClear(pvarDest)) < 0) {
        VariantClear(&copy);
        return hr;
    }
    *pvarDest = copy;
    return S_OK;
}

HRESULT WINAPI VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt)
{
    if (pvargDest == nullptr || pvarSrc == nullptr)
        return E_INVALIDARG;
    if (!IsKnownType(pvarSrc->vt) || !IsKnownType(pvargDest->vt) || (vt & VT_BYREF) || !IsKnownBaseType(vt))
        return DISP_E_BADVARTYPE;
    VARIANT value;
    HRESULT hr = Dereference(pvarSrc, value);
    if (hr < 0)
        return hr;
    VARIANT result;
    if ((hr = Convert(value, wFlags, vt, result)) < 0)
        return hr;
    // The source may be the destination: it is cleared only once the result is made.
    if ((hr = VariantClear(pvargDest)) < 0) {
        VariantClear(&result);
        return hr;
    }
    *pvargDest = result;
    return S_OK;
}

HRESULT WINAPI VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID, USHORT wFlags, VARTYPE vt)
{
    return VariantChangeType(pvargDest, pvarSrc, wFlags, vt);
}
