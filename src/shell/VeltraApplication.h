// CVeltraApplication: the running encyclopedia as other programs of the suite drive it. The
// application object makes the one instance once the main frame exists and registers its
// dispatch interface as the running object of its class; at exit it revokes the registration
// and releases the interface.
//
// The three methods, dispatch identifiers 1 to 3: DoKeywordSearch (a topic search for a text),
// GetCurrentArticle (the disc article shown, as six digits) and GotoArticle (open an article by
// its number).
#pragma once

#include <afxdisp.h>
#include <afxwin.h>

// {DFFDEBC0-FBE9-11D0-8039-0060B01A74A3}
extern const OLECHAR g_szVeltraApplicationClsid[];

class CVeltraApplication : public CCmdTarget {
    DECLARE_DYNCREATE(CVeltraApplication)
public:
    enum { dispidDoKeywordSearch = 1, dispidGetCurrentArticle = 2, dispidGotoArticle = 3 };

    CVeltraApplication();
    ~CVeltraApplication() override;

    // The object's dispatch interface; with bAddRef a reference is added for the caller.
    IDispatch* GetIDispatch(BOOL bAddRef);
    // References held on the interface (the object's own counts as one).
    ULONG GetRefCount() const { return m_dispatch.m_nRefs; }

    // Hands a copy of the text to the main frame's search pane in topic-search mode; nothing
    // without a frame or a pane.
    void DoKeywordSearch(LPCSTR lpszText);
    // The disc article shown in the article view as "%06ld"; empty without the view or an article.
    CString GetCurrentArticle();
    // Posts VLM_OPEN_WINDOW (8001, a reference to the number the text reads as) to the main frame, which
    // takes the reference over; without a frame the reference is deleted. Nothing when the
    // reference cannot be made.
    void GotoArticle(LPCSTR lpszText);

private:
    // The dispatch interface: the three methods by name and by dispatch identifier (Invoke takes
    // the argument as text, converting a number the platform's way, and gives
    // GetCurrentArticle's text back as a BSTR). The object's own reference keeps it alive; the
    // last Release of another holder's reference deletes nothing.
    struct XDispatch : public IDispatch {
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                DISPID* rgDispId) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                         DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                         UINT* puArgErr) override;
        ULONG m_nRefs = 1;
        CVeltraApplication* m_pOwner = NULL;
    };
    XDispatch m_dispatch;
};
