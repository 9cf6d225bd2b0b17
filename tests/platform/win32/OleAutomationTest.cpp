// Automation texts and variants: the length-prefixed BSTR layout, copying and clearing with
// interface references, references to values, and the conversions of VariantChangeType.
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::u16string Text(BSTR b) { return std::u16string(b, SysStringLen(b)); }

TEST(OleAutomationTest, TextsKeepTheirLengthInFrontAndANullAfter)
{
    BSTR b = SysAllocString(u"Lava");
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(4u, SysStringLen(b));
    EXPECT_EQ(8u, SysStringByteLen(b));
    DWORD prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char*>(b) - 4, 4);
    EXPECT_EQ(8u, prefix);
    EXPECT_EQ(0, b[4]);
    SysFreeString(b);

    // Null characters inside count; a NULL source gives a zeroed text of the length.
    b = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(std::u16string(u"a\0b", 3), Text(b));
    SysFreeString(b);
    b = SysAllocStringLen(nullptr, 2);
    EXPECT_EQ(std::u16string(2, u'\0'), Text(b));
    SysFreeString(b);

    // Bytes: an odd length is kept, and the text still ends in a whole null character.
    b = SysAllocStringByteLen("abc", 3);
    EXPECT_EQ(3u, SysStringByteLen(b));
    EXPECT_EQ(1u, SysStringLen(b));
    EXPECT_STREQ("abc", reinterpret_cast<const char*>(b));
    SysFreeString(b);

    EXPECT_EQ(nullptr, SysAllocString(nullptr));
    EXPECT_EQ(0u, SysStringLen(nullptr));
    EXPECT_EQ(0u, SysStringByteLen(nullptr));
    SysFreeString(nullptr);
}

TEST(OleAutomationTest, ReallocatingFromInsideTheOldText)
{
    BSTR b = SysAllocString(u"volcano");
    ASSERT_TRUE(SysReAllocString(&b, b + 3));
    EXPECT_EQ(u"cano", Text(b));
    ASSERT_TRUE(SysReAllocStringLen(&b, b, 2));
    EXPECT_EQ(u"ca", Text(b));
    ASSERT_TRUE(SysReAllocString(&b, nullptr));
    EXPECT_EQ(0u, SysStringLen(b));
    ASSERT_NE(nullptr, b);
    SysFreeString(b);
    EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
}

// An object that counts its references.
struct Counted : IDispatch {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    // The value property, when the object has one.
    bool hasValue = false;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pResult, EXCEPINFO*,
                                     UINT*) override
    {
        if (!hasValue || id != DISPID_VALUE || !(wFlags & DISPATCH_PROPERTYGET))
            return DISP_E_MEMBERNOTFOUND;
        pResult->vt = VT_BSTR;
        pResult->bstrVal = SysAllocString(u"77");
        return S_OK;
    }
};

TEST(OleAutomationTest, CopyAndClearOwnTextsAndReferences)
{
    VARIANT a, b;
    VariantInit(&a);
    VariantInit(&b);
    a.vt = VT_BSTR;
    a.bstrVal = SysAllocString(u"atlas");
    ASSERT_EQ(S_OK, VariantCopy(&b, &a));
    EXPECT_NE(a.bstrVal, b.bstrVal) << "a copy owns its own text";
    EXPECT_EQ(u"atlas", Text(b.bstrVal));
    EXPECT_EQ(S_OK, VariantClear(&a));
    EXPECT_EQ(VT_EMPTY, a.vt);

    // Copying over a text frees it; an interface gains a reference per copy.
    Counted object;
    a.vt = VT_DISPATCH;
    a.pdispVal = &object;
    object.AddRef();
    ASSERT_EQ(S_OK, VariantCopy(&b, &a));
    EXPECT_EQ(3u, object.refs);
    EXPECT_EQ(S_OK, VariantClear(&b));
    EXPECT_EQ(S_OK, VariantClear(&a));
    EXPECT_EQ(1u, object.refs);

    // A reference to a value is copied as the pointer, or as the value by VariantCopyInd, and
    // clearing it frees nothing of the owner's.
    BSTR owned = SysAllocString(u"ref");
    a.vt = VT_BYREF | VT_BSTR;
    a.pbstrVal = &owned;
    ASSERT_EQ(S_OK, VariantCopy(&b, &a));
    EXPECT_EQ(&owned, b.pbstrVal);
    ASSERT_EQ(S_OK, VariantCopyInd(&b, &a));
    EXPECT_EQ(VT_BSTR, b.vt);
    EXPECT_NE(owned, b.bstrVal);
    EXPECT_EQ(u"ref", Text(b.bstrVal));
    EXPECT_EQ(S_OK, VariantClear(&b));
    EXPECT_EQ(S_OK, VariantClear(&a));
    EXPECT_EQ(u"ref", Text(owned));
    SysFreeString(owned);

    // Types this layer does not hold.
    a.vt = VT_CY;
    EXPECT_EQ(DISP_E_BADVARTYPE, VariantClear(&a));
    EXPECT_EQ(DISP_E_BADVARTYPE, VariantCopy(&b, &a));
    EXPECT_EQ(VT_EMPTY, b.vt);
}

VARIANT Make(VARTYPE vt)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    v.dblVal = 0;
    return v;
}
VARIANT I4(LONG n) { VARIANT v = Make(VT_I4); v.lVal = n; return v; }
VARIANT I2(short n) { VARIANT v = Make(VT_I2); v.iVal = n; return v; }
VARIANT R8(double d) { VARIANT v = Make(VT_R8); v.dblVal = d; return v; }
VARIANT R4(float f) { VARIANT v = Make(VT_R4); v.fltVal = f; return v; }
VARIANT Bool(bool b) { VARIANT v = Make(VT_BOOL); v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; return v; }
VARIANT UI1(BYTE b) { VARIANT v = Make(VT_UI1); v.bVal = b; return v; }

// The converted value in a common form: the text, or the number.
std::string Show(const VARIANT& v)
{
    switch (v.vt) {
    case VT_BSTR: {
        std::string s;
        for (UINT i = 0; i < SysStringLen(v.bstrVal); ++i)
            s += static_cast<char>(v.bstrVal[i]);
        return "'" + s + "'";
    }
    case VT_I2: return std::to_string(v.iVal);
    case VT_I4: return std::to_string(v.lVal);
    case VT_UI1: return std::to_string(v.bVal);
    case VT_BOOL: return v.boolVal == VARIANT_TRUE ? "true" : v.boolVal == 0 ? "false" : "bad bool";
    case VT_R8: return std::to_string(v.dblVal);
    case VT_NULL: return "null";
    default: return "vt " + std::to_string(v.vt);
    }
}

TEST(OleAutomationTest, ChangeTypeTable)
{
    struct Case {
        const char* what;
        VARIANT src;
        const char16_t* text;  // a VT_BSTR source when not null
        USHORT flags;
        VARTYPE to;
        HRESULT hr;
        std::string expected;
    };
    const Case cases[] = {
        {"integer to text", I4(-42), nullptr, 0, VT_BSTR, S_OK, "'-42'"},
        {"short to text", I2(7), nullptr, 0, VT_BSTR, S_OK, "'7'"},
        {"byte to text", UI1(200), nullptr, 0, VT_BSTR, S_OK, "'200'"},
        {"double to text", R8(1.5), nullptr, 0, VT_BSTR, S_OK, "'1.5'"},
        {"large double to text", R8(1e20), nullptr, 0, VT_BSTR, S_OK, "'1E+20'"},
        {"single to text keeps seven digits", R4(0.1f), nullptr, 0, VT_BSTR, S_OK, "'0.1'"},
        {"boolean to text", Bool(true), nullptr, 0, VT_BSTR, S_OK, "'-1'"},
        {"boolean to words", Bool(false), nullptr, VARIANT_ALPHABOOL, VT_BSTR, S_OK, "'False'"},
        {"empty to text", Make(VT_EMPTY), nullptr, 0, VT_BSTR, S_OK, "''"},
        {"empty to integer", Make(VT_EMPTY), nullptr, 0, VT_I4, S_OK, "0"},
        {"text to integer", Make(VT_BSTR), u" 1234 ", 0, VT_I4, S_OK, "1234"},
        {"text rounds half to even", Make(VT_BSTR), u"2.5", 0, VT_I4, S_OK, "2"},
        {"negative text to short", Make(VT_BSTR), u"-3.5", 0, VT_I2, S_OK, "-4"},
        {"text too big for a short", Make(VT_BSTR), u"40000", 0, VT_I2, DISP_E_OVERFLOW, ""},
        {"word to integer", Make(VT_BSTR), u"volcano", 0, VT_I4, DISP_E_TYPEMISMATCH, ""},
        {"blank to integer", Make(VT_BSTR), u"  ", 0, VT_I4, DISP_E_TYPEMISMATCH, ""},
        {"hex is not read", Make(VT_BSTR), u"0x10", 0, VT_I4, DISP_E_TYPEMISMATCH, ""},
        {"True reads as a boolean", Make(VT_BSTR), u"true", 0, VT_BOOL, S_OK, "true"},
        {"number text to boolean", Make(VT_BSTR), u"0", 0, VT_BOOL, S_OK, "false"},
        {"False reads as 0", Make(VT_BSTR), u"False", 0, VT_I4, S_OK, "0"},
        {"text to text", Make(VT_BSTR), u"atlas", 0, VT_BSTR, S_OK, "'atlas'"},
        {"boolean to integer", Bool(true), nullptr, 0, VT_I4, S_OK, "-1"},
        {"integer to boolean", I4(5), nullptr, 0, VT_BOOL, S_OK, "true"},
        {"double rounds to short", R8(-1.5), nullptr, 0, VT_I2, S_OK, "-2"},
        {"integer too big for a short", I4(100000), nullptr, 0, VT_I2, DISP_E_OVERFLOW, ""},
        {"negative to byte", I4(-1), nullptr, 0, VT_UI1, DISP_E_OVERFLOW, ""},
        {"null to integer", Make(VT_NULL), nullptr, 0, VT_I4, DISP_E_TYPEMISMATCH, ""},
        {"null to text", Make(VT_NULL), nullptr, 0, VT_BSTR, DISP_E_TYPEMISMATCH, ""},
        {"null stays null", Make(VT_NULL), nullptr, 0, VT_NULL, S_OK, "null"},
        {"to a currency", I4(1), nullptr, 0, VT_CY, DISP_E_BADVARTYPE, ""},
        {"to a reference", I4(1), nullptr, 0, VT_BYREF | VT_I4, DISP_E_BADVARTYPE, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VARIANT src = c.src;
        if (c.text != nullptr)
            src.bstrVal = SysAllocString(c.text);
        VARIANT dest;
        VariantInit(&dest);
        HRESULT hr = VariantChangeType(&dest, &src, c.flags, c.to);
        EXPECT_EQ(c.hr, hr);
        if (hr == S_OK) {
            EXPECT_EQ(c.to, dest.vt);
            EXPECT_EQ(c.expected, Show(dest));
        } else {
            EXPECT_EQ(VT_EMPTY, dest.vt) << "a failed conversion leaves the destination";
        }
        VariantClear(&dest);
        VariantClear(&src);
    }
}

TEST(OleAutomationTest, ChangeTypeInPlaceAndThroughReferences)
{
    // In place: the old text is freed once the number is made.
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(u"5");
    ASSERT_EQ(S_OK, VariantChangeType(&v, &v, 0, VT_I4));
    EXPECT_EQ(VT_I4, v.vt);
    EXPECT_EQ(5, v.lVal);
    ASSERT_EQ(S_OK, VariantChangeType(&v, &v, 0, VT_BSTR));
    EXPECT_EQ(u"5", Text(v.bstrVal));
    // A failure in place keeps the value.
    EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&v, &v, 0, VT_DISPATCH));
    EXPECT_EQ(u"5", Text(v.bstrVal));
    VariantClear(&v);

    // A reference to a text or to a variant converts as the value referred to.
    BSTR owned = SysAllocString(u"8001");
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_BSTR;
    ref.pbstrVal = &owned;
    ASSERT_EQ(S_OK, VariantChangeType(&v, &ref, 0, VT_I4));
    EXPECT_EQ(8001, v.lVal);
    VARIANT inner = I4(12);
    VARIANT refVariant;
    VariantInit(&refVariant);
    refVariant.vt = VT_BYREF | VT_VARIANT;
    refVariant.pvarVal = &inner;
    ASSERT_EQ(S_OK, VariantChangeType(&v, &refVariant, 0, VT_BSTR));
    EXPECT_EQ(u"12", Text(v.bstrVal));
    VariantClear(&v);
    SysFreeString(owned);

    // An interface converts to the other interface by asking the object.
    Counted object;
    VARIANT unknown = Make(VT_UNKNOWN);
    unknown.punkVal = &object;
    ASSERT_EQ(S_OK, VariantChangeType(&v, &unknown, 0, VT_DISPATCH));
    EXPECT_EQ(static_cast<IDispatch*>(&object), v.pdispVal);
    EXPECT_EQ(2u, object.refs);
    VariantClear(&v);
    EXPECT_EQ(1u, object.refs);

    // An object converts as its value property, when it has one and the caller allows it.
    VARIANT dispatch = Make(VT_DISPATCH);
    dispatch.pdispVal = &object;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&v, &dispatch, 0, VT_I4));
    object.hasValue = true;
    ASSERT_EQ(S_OK, VariantChangeType(&v, &dispatch, 0, VT_I4));
    EXPECT_EQ(77, v.lVal);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&v, &dispatch, VARIANT_NOVALUEPROP, VT_BSTR));
    EXPECT_EQ(VT_I4, v.vt);
    EXPECT_EQ(1u, object.refs);
}

}  // namespace
