// The running encyclopedia driven as another program drives it: the running object fetched by its
// class, its methods found by name and called through IDispatch::Invoke with variant arguments.
#include "AppTestSupport.h"

#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/VLMessages.h"
#include "shell/VeltraApplication.h"

#include <afxdisp.h>

#include <string>

using apptest::AppTest;
using apptest::kBrowseRow;

namespace {

class AutomationTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Start(kBrowseRow));
        pFrame = DYNAMIC_DOWNCAST(CBaseWindow, app->m_pMainWnd);
        ASSERT_NE(nullptr, pFrame);
        ui::PumpUntilIdle();
        CLSID clsid;
        ASSERT_EQ(S_OK, CLSIDFromString(u"{DFFDEBC0-FBE9-11D0-8039-0060B01A74A3}", &clsid));
        IUnknown* pUnknown = nullptr;
        ASSERT_EQ(S_OK, GetActiveObject(clsid, nullptr, &pUnknown));
        ASSERT_EQ(S_OK, pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDispatch)));
        pUnknown->Release();
    }
    void TearDown() override
    {
        if (pDispatch != nullptr)
            pDispatch->Release();
        if (pFrame != nullptr)
            Exit();
        AppTest::TearDown();
    }

    DISPID IdOf(const char16_t* name)
    {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(S_OK, pDispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id));
        return id;
    }

    HRESULT Call(DISPID id, VARIANT* args, UINT nArgs, VARIANT* pResult = nullptr, UINT* puArgErr = nullptr)
    {
        DISPPARAMS params = {args, nullptr, nArgs, 0};
        return pDispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, pResult, nullptr, puArgErr);
    }

    // The reference of the one VLM_OPEN_WINDOW/8001 message posted to the frame; null when none is.
    CReference* TakeOpenedReference()
    {
        MSG msg;
        if (!::PeekMessage(&msg, pFrame->GetSafeHwnd(), VLM_OPEN_WINDOW, VLM_OPEN_WINDOW, PM_REMOVE))
            return nullptr;
        EXPECT_EQ(WPARAM(IDW_ARTICLE), msg.wParam);
        return reinterpret_cast<CReference*>(msg.lParam);
    }

    static VARIANT Text(const char16_t* text)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(text);
        return v;
    }

    CBaseWindow* pFrame = nullptr;
    IDispatch* pDispatch = nullptr;
};

TEST_F(AutomationTest, GotoArticleTakesTextNumbersAndReferences)
{
    DISPID id = IdOf(u"GotoArticle");
    ASSERT_EQ(CVeltraApplication::dispidGotoArticle, id);

    VARIANT arg = Text(u"1005");
    ASSERT_EQ(S_OK, Call(id, &arg, 1));
    VariantClear(&arg);
    CReference* pReference = TakeOpenedReference();
    ASSERT_NE(nullptr, pReference);
    EXPECT_EQ(1005, pReference->GetNumber());
    EXPECT_STREQ("", pReference->GetTitle());
    delete pReference;

    // A number is read as its text; a text by reference is read where it stands.
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = 1001;
    ASSERT_EQ(S_OK, Call(id, &number, 1));
    pReference = TakeOpenedReference();
    ASSERT_NE(nullptr, pReference);
    EXPECT_EQ(1001, pReference->GetNumber());
    delete pReference;

    BSTR owned = SysAllocString(u"1003");
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_BSTR;
    ref.pbstrVal = &owned;
    ASSERT_EQ(S_OK, Call(id, &ref, 1));
    EXPECT_EQ(u"1003", std::u16string(owned)) << "the caller's text stays the caller's";
    SysFreeString(owned);
    pReference = TakeOpenedReference();
    ASSERT_NE(nullptr, pReference);
    EXPECT_EQ(1003, pReference->GetNumber());
    delete pReference;

    // Text that is no number asks for content number 0: the reference the factory makes of 0.
    arg = Text(u"volcano");
    ASSERT_EQ(S_OK, Call(id, &arg, 1));
    VariantClear(&arg);
    pReference = TakeOpenedReference();
    ASSERT_NE(nullptr, pReference);
    CReference* pZero = GetAppReferenceFactory()->CreateReference(0, "", 0);
    EXPECT_EQ(pZero->GetNumber(), pReference->GetNumber());
    delete pZero;
    delete pReference;
}

TEST_F(AutomationTest, DoKeywordSearchAndGetCurrentArticle)
{
    VARIANT arg = Text(u"\u00E9ruption");
    ASSERT_EQ(S_OK, Call(IdOf(u"DoKeywordSearch"), &arg, 1));
    VariantClear(&arg);
    EXPECT_STREQ("\xE9ruption", pFrame->GetSearchTabWin()->GetTopicField().GetEditText())
        << "the text arrives in Windows-1252";
    EXPECT_STREQ("\xE9ruption", pFrame->GetSearchTabWin()->GetLastQuery(FALSE)) << "and is searched";
    EXPECT_FALSE(pFrame->GetSearchTabWin()->IsWordMode());

    // No article is shown: an empty text, as a BSTR. Callers that read a result may ask with the
    // property-get flag.
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    ASSERT_EQ(S_OK, pDispatch->Invoke(IdOf(u"GetCurrentArticle"), IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                      &none, &result, nullptr, nullptr));
    ASSERT_EQ(VT_BSTR, result.vt);
    ASSERT_NE(nullptr, result.bstrVal);
    EXPECT_EQ(0u, SysStringLen(result.bstrVal));
    VariantClear(&result);
    // Without a place for the result the call still succeeds.
    EXPECT_EQ(S_OK, Call(CVeltraApplication::dispidGetCurrentArticle, nullptr, 0));

    // The search's first article opens once the frame has its message: now there is one.
    ui::PumpUntilIdle();
    VariantInit(&result);
    ASSERT_EQ(S_OK, pDispatch->Invoke(IdOf(u"GetCurrentArticle"), IID_NULL, 0, DISPATCH_METHOD, &none, &result,
                                      nullptr, nullptr));
    ASSERT_EQ(VT_BSTR, result.vt);
    EXPECT_NE(0u, SysStringLen(result.bstrVal)) << "the article the search found";
    VariantClear(&result);
}

TEST_F(AutomationTest, WrongCallsGetTheDispatchErrors)
{
    VARIANT two[2];
    VariantInit(&two[0]);
    VariantInit(&two[1]);
    DISPPARAMS params = {two, nullptr, 2, 0};
    UINT argErr = 99;

    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(4, nullptr, 0));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(0, nullptr, 0));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(CVeltraApplication::dispidGotoArticle, nullptr, 0));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(CVeltraApplication::dispidDoKeywordSearch, two, 2));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(CVeltraApplication::dispidGetCurrentArticle, two, 1));
    // A property put on a method, an interface other than IID_NULL.
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, pDispatch->Invoke(CVeltraApplication::dispidGotoArticle, IID_NULL, 0,
                                                       DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr));
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, pDispatch->Invoke(CVeltraApplication::dispidGotoArticle, IID_IDispatch, 0,
                                                         DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));

    // Named arguments are not taken.
    DISPID named = 0;
    VARIANT arg = Text(u"5");
    DISPPARAMS withName = {&arg, &named, 1, 1};
    EXPECT_EQ(DISP_E_NONAMEDARGS, pDispatch->Invoke(CVeltraApplication::dispidGotoArticle, IID_NULL, 0,
                                                    DISPATCH_METHOD, &withName, nullptr, nullptr, &argErr));
    VariantClear(&arg);

    // Arguments that do not read as text: the argument's place comes back in *puArgErr.
    VARIANT null;
    VariantInit(&null);
    null.vt = VT_NULL;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(CVeltraApplication::dispidGotoArticle, &null, 1, nullptr, &argErr));
    EXPECT_EQ(0u, argErr);
    VARIANT object;
    VariantInit(&object);
    object.vt = VT_DISPATCH;
    object.pdispVal = pDispatch;
    argErr = 99;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(CVeltraApplication::dispidDoKeywordSearch, &object, 1, nullptr, &argErr));
    EXPECT_EQ(0u, argErr);
    VARIANT currency;
    VariantInit(&currency);
    currency.vt = VT_CY;
    EXPECT_EQ(DISP_E_BADVARTYPE, Call(CVeltraApplication::dispidGotoArticle, &currency, 1, nullptr, &argErr));
    // A missing argument.
    VARIANT missing;
    VariantInit(&missing);
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, Call(CVeltraApplication::dispidGotoArticle, &missing, 1));

    // None of the failed calls reached the frame.
    EXPECT_EQ(nullptr, TakeOpenedReference());
    EXPECT_TRUE(pFrame->GetSearchTabWin()->GetLastQuery(FALSE).IsEmpty());
}

}  // namespace
