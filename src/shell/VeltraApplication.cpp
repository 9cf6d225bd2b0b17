#include "shell/VeltraApplication.h"

#include "shell/AppServices.h"
#include "shell/BaseWindow.h"
#include "shell/Reference.h"
#include "shell/ReferenceFactory.h"
#include "shell/Rin.h"
#include "shell/VLMessages.h"

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

CVeltraApplication::CVeltraApplication() = default;

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

HRESULT CVeltraApplication::XDispatch::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                              EXCEPINFO*, UINT*)
{
    // Calls by dispatch identifier carry their arguments as variants, which this build's object
    // model does not marshal: in-process callers use the C++ methods.
    if (dispIdMember < dispidDoKeywordSearch || dispIdMember > dispidGotoArticle)
        return DISP_E_MEMBERNOTFOUND;
    return E_NOTIMPL;
}
