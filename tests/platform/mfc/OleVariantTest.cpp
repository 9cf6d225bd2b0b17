// COleVariant and the platform's VARIANT: values and Windows-1252 texts going both ways.
#include <afxdisp.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(OleVariantTest, ValuesRoundTripThroughTheVariant)
{
    const COleVariant values[] = {
        COleVariant(),
        COleVariant(static_cast<short>(-7)),
        COleVariant(100000L),
        COleVariant(static_cast<BYTE>(200)),
        COleVariant(1.25f),
        COleVariant(-2.5),
        COleVariant(COleDateTime(1999, 3, 4, 12, 0, 0)),
        COleVariant(static_cast<short>(1), VT_BOOL),
        COleVariant("Caf\xE9 \x80 5"),
        COleVariant(""),
    };
    for (const COleVariant& value : values) {
        SCOPED_TRACE(value.vt);
        COleVariant copy = value;
        VARIANT v = copy.Detach();
        EXPECT_EQ(VT_EMPTY, copy.vt);
        EXPECT_EQ(value.vt, v.vt);
        COleVariant back(v);
        EXPECT_TRUE(back == value);
        COleVariant attached;
        attached.Attach(v);
        EXPECT_EQ(VT_EMPTY, v.vt);
        EXPECT_TRUE(attached == value);
    }
}

TEST(OleVariantTest, TextsAreUtf16InTheVariantAndWindows1252InTheClass)
{
    COleVariant text("Caf\xE9 \x80");
    VARIANT v = text.Detach();
    ASSERT_EQ(VT_BSTR, v.vt);
    EXPECT_EQ(std::u16string(u"Caf\u00E9 \u20AC"), std::u16string(v.bstrVal, SysStringLen(v.bstrVal)));
    VariantClear(&v);

    // From a text the platform made, by value and by reference; a character the code page lacks
    // becomes '?'.
    BSTR owned = SysAllocString(u"\u00C5land \u0416");
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_BSTR;
    ref.pbstrVal = &owned;
    COleVariant fromRef(ref);
    ASSERT_EQ(VT_BSTR, fromRef.vt);
    EXPECT_STREQ("\xC5land ?", V_BSTRT(&fromRef));
    SysFreeString(owned);

    // The class's own conversions keep working on a converted text.
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_BSTR;
    number.bstrVal = SysAllocString(u"1941");
    COleVariant year;
    year.Attach(number);
    EXPECT_TRUE(year.ChangeType(VT_I4));
    EXPECT_EQ(1941, year.lVal);
}

TEST(OleVariantTest, InterfacesAreNotHeld)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = nullptr;
    bool thrown = false;
    try {
        COleVariant held(v);
    } catch (CNotSupportedException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

}  // namespace
