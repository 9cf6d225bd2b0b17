#include "shell/VeltraApplication.h"

#include "base/AppServices.h"
#include "shell/BaseWindow.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/Rin.h"
#include "base/VLMessages.h"

#include <cstdlib>

IMPLEMENT_DYNCREATE(CVeltraApplication, CCmdTarget)

const OLECHAR g_szVeltraApplicationClsid[] = u"{DFFDEBC0-FBE9-11D0-8039-0060B01A74A3}";

namespace {

CBaseWindow* MainFrame()
{
    CWnd* pMain = GetAppMainWnd();
    if (pMain == NULL || pMain->GetSafeHwnd() == NULL)
        return NULL;
    return DYNAMIC_DOWNCAST(CBaseWindow, pMain);
}

// Case-blind comparison of a dispatch name with an ASCII method name.
bool SameName(LPCOLESTR lpszName, LPCSTR lpszMethod)
{
    for (; *lpszName != 0 && *lpszMethod != 0; ++lpszName, ++lpszMethod) {
        OLECHAR a = *lpszName, b = static_cast<OLECHAR>(*lpszMethod);
        if (a >= u'a' && a <= u'z')
            a = static_cast<OLECHAR>(a - u'a' + u'A');
        if (b >= u'a' && b <= u'z')
            b = static_cast<OLECHAR>(b - u'a' + u'A');
        if (a != b)
            return false;
    }
    return *lpszName == 0 && *lpszMethod == 0;
}

const char* const kMethodNames[] = {"DoKeywordSearch", "GetCurrentArticle", "GotoArticle"};

}  // namespace

CVeltraApplication::CVeltraApplication() { m_dispatch.m_pOwner = this; }

CVeltraApplication::~CVeltraApplication() = default;

IDispatch* CVeltraApplication::GetIDispatch(BOOL bAddRef)
{
    if (bAddRef)
        m_dispatch.AddRef();
    return &m_dispatch;
}

void CVeltraApplication::DoKeywordSearch(LPCSTR lpszText)
{
    CBaseWindow* pFrame = MainFrame();
    if (pFrame == NULL || pFrame->GetSearchTabWin() == NULL)
        return;
    pFrame->GetSearchTabWin()->SetMode(new CString(lpszText), 0);
}

CString CVeltraApplication::GetCurrentArticle()
{
    CString strArticle;
    CBaseWindow* pFrame = MainFrame();
    if (pFrame == NULL)
        return strArticle;
    CArticleMainWin* pView = dynamic_cast<CArticleMainWin*>(pFrame->GetDlgItem(IDW_ARTICLE));
    if (pView == NULL)
        return strArticle;
    LONG nRin = pView->GetDiscArticleRin();
    if (nRin != 0)
        strArticle.Format("%06ld", static_cast<long>(nRin));
    return strArticle;
}

void CVeltraApplication::GotoArticle(LPCSTR lpszText)
{
    CReferenceFactory* pFactory = GetAppReferenceFactory();
    if (pFactory == NULL)
        return;
    CReference* pReference = NULL;
    try {
        pReference = pFactory->CreateReference(std::atol(lpszText != NULL ? lpszText : ""), "", 0);
    } catch (CException* e) {
        e->Delete();
        return;
    }
    if (pReference == NULL)
        return;
    CBaseWindow* pFrame = MainFrame();
    if (pFrame == NULL || !pFrame->PostMessage(VLM_OPEN_WINDOW, IDW_ARTICLE, reinterpret_cast<LPARAM>(pReference)))
        delete pReference;
}

// ---- the dispatch interface ----

HRESULT CVeltraApplication::XDispatch::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        AddRef();
        *ppvObject = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *ppvObject = NULL;
    return E_NOINTERFACE;
}

ULONG CVeltraApplication::XDispatch::AddRef()
{
    return ++m_nRefs;
}

ULONG CVeltraApplication::XDispatch::Release()
{
    if (m_nRefs > 0)
        --m_nRefs;
    return m_nRefs;
}

HRESULT CVeltraApplication::XDispatch::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == NULL)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT CVeltraApplication::XDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != NULL)
        *ppTInfo = NULL;
    return E_NOTIMPL;
}

HRESULT CVeltraApplication::XDispatch::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId)
{
    if (rgszNames == NULL || rgDispId == NULL)
        return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < cNames; ++i) {
        rgDispId[i] = DISPID_UNKNOWN;
        // Only the method name (the first) names a member; the methods have no named arguments.
        if (i == 0 && rgszNames[0] != NULL) {
            for (int n = 0; n < 3; ++n)
                if (SameName(rgszNames[0], kMethodNames[n]))
                    rgDispId[0] = n + 1;
        }
        if (rgDispId[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT CVeltraApplication::XDispatch::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags,
                                              DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                              UINT* puArgErr)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (dispIdMember < dispidDoKeywordSearch || dispIdMember > dispidGotoArticle)
        return DISP_E_MEMBERNOTFOUND;
    // The three are methods; callers that read a result may ask with the property-get flag too.
    if (!(wFlags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
        return DISP_E_MEMBERNOTFOUND;
    if (pDispParams == NULL || (pDispParams->cArgs > 0 && pDispParams->rgvarg == NULL))
        return E_INVALIDARG;
    if (pDispParams->cNamedArgs > 0)
        return DISP_E_NONAMEDARGS;
    UINT nArgs = dispIdMember == dispidGetCurrentArticle ? 0 : 1;
    if (pDispParams->cArgs != nArgs)
        return DISP_E_BADPARAMCOUNT;

    CVeltraApplication* pThis = m_pOwner;
    COleVariant varText;
    if (nArgs == 1) {
        // The one argument as text: a text, a reference to one, or a number or boolean in the
        // platform's text form.
        const VARIANTARG& arg = pDispParams->rgvarg[0];
        if (arg.vt == VT_ERROR && arg.scode == DISP_E_PARAMNOTFOUND)
            return DISP_E_PARAMNOTOPTIONAL;
        VARIANT text;
        VariantInit(&text);
        HRESULT hr = VariantChangeType(&text, &arg, 0, VT_BSTR);
        if (hr < 0) {
            if (puArgErr != NULL)
                *puArgErr = 0;
            return hr == E_OUTOFMEMORY || hr == DISP_E_BADVARTYPE ? hr : DISP_E_TYPEMISMATCH;
        }
        varText.Attach(text);
    }

    if (pVarResult != NULL)
        VariantInit(pVarResult);
    try {
        switch (dispIdMember) {
        case dispidDoKeywordSearch: pThis->DoKeywordSearch(V_BSTRT(&varText)); break;
        case dispidGotoArticle: pThis->GotoArticle(V_BSTRT(&varText)); break;
        default:
            if (pVarResult != NULL) {
                COleVariant varResult(pThis->GetCurrentArticle());
                *pVarResult = varResult.Detach();
            }
            break;
        }
    } catch (CException* e) {
        // The member failed: the caller learns why through the exception record.
        if (pExcepInfo != NULL) {
            *pExcepInfo = EXCEPINFO{};
            pExcepInfo->scode = e->IsKindOf(RUNTIME_CLASS(CMemoryException)) ? E_OUTOFMEMORY : E_FAIL;
            char szMessage[256] = "";
            if (e->GetErrorMessage(szMessage, sizeof szMessage)) {
                COleVariant varMessage(szMessage);
                VARIANT message = varMessage.Detach();
                pExcepInfo->bstrDescription = message.bstrVal;
            }
        }
        e->Delete();
        return DISP_E_EXCEPTION;
    }
    return S_OK;
}
