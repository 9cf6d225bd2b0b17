#include <afx.h>
#include <mfc/OleVariant.h>

#include <host/Resources.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

char* CopyText(LPCSTR text)
{
    std::size_t n = text ? std::strlen(text) : 0;
    char* p = static_cast<char*>(std::malloc(n + 1));
    if (!p)
        AfxThrowMemoryException();
    if (n)
        std::memcpy(p, text, n);
    p[n] = 0;
    return p;
}

// The value as a double; FALSE when it has none.
BOOL AsDouble(const COleVariant& v, double& out)
{
    switch (v.vt) {
    case VT_EMPTY: out = 0; return TRUE;
    case VT_UI1: out = v.bVal; return TRUE;
    case VT_I2: out = v.iVal; return TRUE;
    case VT_I4: out = v.lVal; return TRUE;
    case VT_R4: out = v.fltVal; return TRUE;
    case VT_R8: out = v.dblVal; return TRUE;
    case VT_DATE: out = v.date; return TRUE;
    case VT_BOOL: out = v.boolVal ? -1 : 0; return TRUE;
    case VT_BSTR: {
        char* end = nullptr;
        out = std::strtod(v.bstrVal, &end);
        while (end && *end == ' ')
            ++end;
        if (end != v.bstrVal && end && *end == 0)
            return TRUE;
        COleDateTime t;
        if (t.ParseDateTime(v.bstrVal)) {
            out = t.m_dt;
            return TRUE;
        }
        return FALSE;
    }
    default: return FALSE;
    }
}

}  // namespace

COleVariant::COleVariant() : vt(VT_EMPTY), dblVal(0) {}

COleVariant::COleVariant(const COleVariant& varSrc) : vt(VT_EMPTY), dblVal(0) { *this = varSrc; }

COleVariant::COleVariant(LPCSTR lpszSrc, VARTYPE vtSrc) : vt(VT_EMPTY), dblVal(0) { SetString(lpszSrc, vtSrc); }

COleVariant::COleVariant(const CString& strSrc) : vt(VT_EMPTY), dblVal(0) { SetString(strSrc, VT_BSTR); }

COleVariant::COleVariant(BYTE nSrc) : vt(VT_UI1), dblVal(0) { bVal = nSrc; }

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc) : vt(VT_I2), dblVal(0)
{
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        iVal = nSrc;
    }
}

COleVariant::COleVariant(LONG lSrc, VARTYPE vtSrc) : vt(VT_I4), dblVal(0)
{
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (vtSrc == VT_I2) {
        vt = VT_I2;
        iVal = static_cast<short>(lSrc);
    } else {
        lVal = lSrc;
    }
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc) : COleVariant(static_cast<LONG>(lSrc), vtSrc) {}

COleVariant::COleVariant(float fltSrc) : vt(VT_R4), dblVal(0) { fltVal = fltSrc; }

COleVariant::COleVariant(double dblSrc) : vt(VT_R8) { dblVal = dblSrc; }

COleVariant::COleVariant(const COleDateTime& timeSrc) : vt(VT_EMPTY), dblVal(0) { *this = timeSrc; }

COleVariant::COleVariant(const VARIANT& varSrc) : vt(VT_EMPTY), dblVal(0) { *this = varSrc; }

COleVariant::~COleVariant() { Clear(); }

const COleVariant& COleVariant::operator=(const VARIANT& varSrc)
{
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = VariantCopyInd(&value, &varSrc);
    if (hr == E_OUTOFMEMORY)
        AfxThrowMemoryException();
    if (hr < 0 || value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) {
        VariantClear(&value);
        AfxThrowNotSupportedException();
    }
    if (value.vt == VT_BSTR) {
        std::u16string text(value.bstrVal != NULL ? value.bstrVal : u"", SysStringLen(value.bstrVal));
        VariantClear(&value);
        SetString(host::Cp1252FromResourceText(text).c_str());
        return *this;
    }
    Clear();
    vt = value.vt;
    switch (vt) {
    case VT_UI1: bVal = value.bVal; break;
    case VT_I2: iVal = value.iVal; break;
    case VT_I4: lVal = value.lVal; break;
    case VT_R4: fltVal = value.fltVal; break;
    case VT_R8: dblVal = value.dblVal; break;
    case VT_DATE: date = value.date; break;
    case VT_BOOL: boolVal = value.boolVal; break;
    case VT_ERROR: scode = value.scode; break;
    default: break;  // VT_EMPTY, VT_NULL
    }
    return *this;
}

void COleVariant::Attach(VARIANT& varSrc)
{
    *this = varSrc;
    VariantClear(&varSrc);
}

VARIANT COleVariant::Detach()
{
    VARIANT out;
    VariantInit(&out);
    if (vt == VT_BSTR) {
        std::u16string text = host::ResourceTextFromCp1252(bstrVal);
        out.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (out.bstrVal == NULL)
            AfxThrowMemoryException();
        out.vt = VT_BSTR;
        Clear();
        return out;
    }
    out.vt = vt;
    switch (vt) {
    case VT_UI1: out.bVal = bVal; break;
    case VT_I2: out.iVal = iVal; break;
    case VT_I4: out.lVal = lVal; break;
    case VT_R4: out.fltVal = fltVal; break;
    case VT_R8: out.dblVal = dblVal; break;
    case VT_DATE: out.date = date; break;
    case VT_BOOL: out.boolVal = boolVal; break;
    case VT_ERROR: out.scode = scode; break;
    default: break;
    }
    Clear();
    return out;
}

void COleVariant::Clear()
{
    if (vt == VT_BSTR)
        std::free(bstrVal);
    vt = VT_EMPTY;
    dblVal = 0;
}

void COleVariant::SetString(LPCSTR lpszSrc, VARTYPE)
{
    char* copy = CopyText(lpszSrc);
    Clear();
    vt = VT_BSTR;
    bstrVal = copy;
}

const COleVariant& COleVariant::operator=(const COleVariant& varSrc)
{
    if (this == &varSrc)
        return *this;
    if (varSrc.vt == VT_BSTR) {
        SetString(varSrc.bstrVal);
    } else {
        Clear();
        vt = varSrc.vt;
        dblVal = varSrc.dblVal;  // the widest member carries every other one
        if (vt == VT_R4)
            fltVal = varSrc.fltVal;
    }
    return *this;
}

const COleVariant& COleVariant::operator=(LPCSTR lpszSrc)
{
    SetString(lpszSrc);
    return *this;
}

const COleVariant& COleVariant::operator=(const CString& strSrc)
{
    SetString(strSrc);
    return *this;
}

const COleVariant& COleVariant::operator=(short nSrc)
{
    Clear();
    vt = VT_I2;
    iVal = nSrc;
    return *this;
}

const COleVariant& COleVariant::operator=(LONG lSrc)
{
    Clear();
    vt = VT_I4;
    lVal = lSrc;
    return *this;
}

const COleVariant& COleVariant::operator=(double dblSrc)
{
    Clear();
    vt = VT_R8;
    dblVal = dblSrc;
    return *this;
}

const COleVariant& COleVariant::operator=(const COleDateTime& dateSrc)
{
    Clear();
    if (dateSrc.GetStatus() == COleDateTime::null) {
        vt = VT_NULL;
    } else {
        vt = VT_DATE;
        date = dateSrc.m_dt;
    }
    return *this;
}

BOOL COleVariant::operator==(const COleVariant& varSrc) const
{
    if (vt != varSrc.vt)
        return FALSE;
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL: return TRUE;
    case VT_UI1: return bVal == varSrc.bVal;
    case VT_I2: return iVal == varSrc.iVal;
    case VT_I4: return lVal == varSrc.lVal;
    case VT_R4: return fltVal == varSrc.fltVal;
    case VT_R8: return dblVal == varSrc.dblVal;
    case VT_DATE: return date == varSrc.date;
    case VT_BOOL: return boolVal == varSrc.boolVal;
    case VT_ERROR: return scode == varSrc.scode;
    case VT_BSTR: return std::strcmp(bstrVal, varSrc.bstrVal) == 0;
    default: return FALSE;
    }
}

BOOL COleVariant::ChangeType(VARTYPE vartype)
{
    if (vartype == vt)
        return TRUE;
    if (vt == VT_NULL)
        return FALSE;
    if (vartype == VT_EMPTY || vartype == VT_NULL) {
        Clear();
        vt = vartype;
        return TRUE;
    }
    if (vartype == VT_BSTR) {
        char buf[64] = "";
        switch (vt) {
        case VT_EMPTY: break;
        case VT_BOOL: std::snprintf(buf, sizeof buf, "%s", boolVal ? "True" : "False"); break;
        case VT_DATE: SetString(COleDateTime(date).Format()); return TRUE;
        case VT_R4:
        case VT_R8: std::snprintf(buf, sizeof buf, "%.15g", vt == VT_R4 ? static_cast<double>(fltVal) : dblVal); break;
        default: {
            double d = 0;
            AsDouble(*this, d);
            std::snprintf(buf, sizeof buf, "%.0f", d);
        }
        }
        SetString(buf);
        return TRUE;
    }
    double d = 0;
    if (!AsDouble(*this, d))
        return FALSE;
    COleVariant out;
    out.vt = vartype;
    switch (vartype) {
    case VT_UI1:
        if (d < 0 || d > 255)
            return FALSE;
        out.bVal = static_cast<BYTE>(std::lround(d));
        break;
    case VT_I2:
        if (d < -32768 || d > 32767)
            return FALSE;
        out.iVal = static_cast<short>(std::lround(d));
        break;
    case VT_I4:
        if (d < -2147483648.0 || d > 2147483647.0)
            return FALSE;
        out.lVal = static_cast<LONG>(std::llround(d));
        break;
    case VT_R4: out.fltVal = static_cast<float>(d); break;
    case VT_R8: out.dblVal = d; break;
    case VT_DATE: out.date = d; break;
    case VT_BOOL: out.boolVal = d != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    default: return FALSE;
    }
    *this = out;
    return TRUE;
}
