// CWnd: handle maps, creation hook, the window procedure, message-map dispatch, command and
// notification routing with reflection, modal loops and the wrappers.
#include <afxwin.h>

#include <host/UiScript.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <utility>
#include <set>
#include <string>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

struct WndThreadState {
    std::map<HWND, CWnd*> permanent;
    std::map<HWND, CWnd*> temporary;
    CWnd* pWndInit = NULL;
    HHOOK cbtHook = NULL;
    int hookDepth = 0;
    MSG lastSentMsg{};
    ~WndThreadState()
    {
        for (auto& [h, wnd] : temporary) {
            wnd->m_hWnd = NULL;
            delete wnd;
        }
    }
};

WndThreadState& State()
{
    static thread_local WndThreadState state;
    return state;
}

std::atomic<AFX_DC_FROM_HANDLE> g_dcFromHandle{nullptr};
std::atomic<AFX_HANDLE_FROM_DC> g_handleFromDC{nullptr};

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    WndThreadState& s = State();
    if (code == HCBT_CREATEWND && s.pWndInit != NULL) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        CWnd* pWnd = s.pWndInit;
        s.pWndInit = NULL;
        pWnd->Attach(hWnd);
        WNDPROC old = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
        if (old != &AfxWndProc)
            pWnd->m_pfnSuper = old;
    }
    return ::CallNextHookEx(s.cbtHook, code, wParam, lParam);
}

// A CCmdUI that only records whether the command would be enabled.
class CTestCmdUI : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
};

}  // namespace

AFX_DC_FROM_HANDLE AFXAPI AfxSetDCFromHandle(AFX_DC_FROM_HANDLE pfn)
{
    return g_dcFromHandle.exchange(pfn);
}

CDC* AFXAPI AfxDCFromHandle(HDC hDC)
{
    AFX_DC_FROM_HANDLE f = g_dcFromHandle.load();
    if (f && hDC)
        return f(hDC);
#if __has_include(<mfc/Dc.h>)
    return hDC ? CDC::FromHandle(hDC) : NULL;
#else
    return NULL;
#endif
}

AFX_HANDLE_FROM_DC AFXAPI AfxSetHandleFromDC(AFX_HANDLE_FROM_DC pfn)
{
    return g_handleFromDC.exchange(pfn);
}

void AFXAPI AfxHookWindowCreate(CWnd* pWnd)
{
    WndThreadState& s = State();
    if (s.hookDepth++ == 0)
        s.cbtHook = ::SetWindowsHookExA(WH_CBT, CbtHook, NULL, 0);
    s.pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate()
{
    WndThreadState& s = State();
    if (s.hookDepth > 0 && --s.hookDepth == 0 && s.cbtHook) {
        ::UnhookWindowsHookEx(s.cbtHook);
        s.cbtHook = NULL;
    }
    if (s.pWndInit != NULL) {
        s.pWndInit = NULL;
        return FALSE;  // the window was never created
    }
    return TRUE;
}

const MSG* AFXAPI AfxGetCurrentMessage()
{
    return &State().lastSentMsg;
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    WndThreadState& s = State();
    MSG saved = s.lastSentMsg;
    s.lastSentMsg.hwnd = hWnd;
    s.lastSentMsg.message = nMsg;
    s.lastSentMsg.wParam = wParam;
    s.lastSentMsg.lParam = lParam;
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        // An exception that leaves a handler is reported and the message fails.
        e->ReportError();
        e->Delete();
        result = nMsg == WM_CREATE ? -1 : 0;
    }
    if (nMsg == WM_NCDESTROY) {
        // The object lets go of its window even when a handler skipped CWnd::OnNcDestroy.
        auto it = s.permanent.find(hWnd);
        if (it != s.permanent.end() && it->second == pWnd) {
            pWnd->Detach();
            pWnd->PostNcDestroy();
        }
    }
    s.lastSentMsg = saved;
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_QUERYAFXWNDPROC)
        return 1;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LPCSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::set<std::string>* names = new std::set<std::string>;
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    LPCSTR name = names->insert(buffer).first->c_str();
    WNDCLASSA wc{};
    if (::GetClassInfoA(AfxGetInstanceHandle(), name, &wc))
        return name;
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc))
        AfxThrowResourceException();
    return name;
}

// ---- CWnd ----------------------------------------------------------------------------------------

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;

static HWND InsertAfterHandle(const CWnd* p)
{
    if (p == &CWnd::wndTop)
        return HWND_TOP;
    if (p == &CWnd::wndBottom)
        return HWND_BOTTOM;
    if (p == &CWnd::wndTopMost)
        return HWND_TOPMOST;
    if (p == &CWnd::wndNoTopMost)
        return HWND_NOTOPMOST;
    return (p ? p->m_hWnd : NULL);
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_COMPAREITEM()
ON_WM_DELETEITEM()
ON_WM_CTLCOLOR()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(NULL), m_nFlags(0), m_pfnSuper(NULL), m_nModalResult(0) {}

CWnd::~CWnd()
{
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    WndThreadState& s = State();
    auto it = s.permanent.find(hWnd);
    return it == s.permanent.end() ? NULL : it->second;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    WndThreadState& s = State();
    CWnd*& temp = s.temporary[hWnd];
    if (temp == NULL) {
        temp = new CWnd;
        temp->m_hWnd = hWnd;
    }
    return temp;
}

void PASCAL CWnd::DeleteTempMap()
{
    WndThreadState& s = State();
    // Taken out whole first: deleting one may make or ask for others.
    std::map<HWND, CWnd*> temps = std::exchange(s.temporary, {});
    for (auto& [h, wnd] : temps) {
        wnd->m_hWnd = NULL;
        delete wnd;
    }
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || m_hWnd != NULL)
        return FALSE;
    WndThreadState& s = State();
    // A temporary object for the same handle goes away.
    auto it = s.temporary.find(hWndNew);
    if (it != s.temporary.end()) {
        it->second->m_hWnd = NULL;
        delete it->second;
        s.temporary.erase(it);
    }
    m_hWnd = hWndNew;
    s.permanent[hWndNew] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h != NULL) {
        WndThreadState& s = State();
        auto it = s.permanent.find(h);
        if (it != s.permanent.end() && it->second == this)
            s.permanent.erase(it);
    }
    m_hWnd = NULL;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (old != &AfxWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND h = ::GetDlgItem((pParent ? pParent->m_hWnd : NULL), static_cast<int>(nID));
    return h != NULL && SubclassWindow(h);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = NULL;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, IDC_ARROW));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCT cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();  // never attached: the object cleans up as if destroyed
    return hWnd != NULL;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, (pParentWnd ? pParentWnd->m_hWnd : NULL),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID,
                    static_cast<LPVOID>(pContext));
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    bool permanent = FromHandlePermanent(m_hWnd) == this;
    HWND h = m_hWnd;
    BOOL result = ::DestroyWindow(h);
    // A temporary or detached object keeps no stale handle.
    if (!permanent)
        Detach();
    return result;
}

void CWnd::PostNcDestroy() {}

// ---- Message processing ---------------------------------------------------------------------

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
        if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& m = State().lastSentMsg;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

namespace {

const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT message)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage == 0xC000) {
                if (message >= 0xC000 && *reinterpret_cast<const UINT*>(e->nSig) == message)
                    return e;
                continue;
            }
            if (e->nMessage == message && e->nCode == 0 && e->nID == 0)
                return e;
        }
    return nullptr;
}

CPoint PointOf(LPARAM l)
{
    return CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l));
}

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        if (pResult)
            *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        auto* nmhdr = reinterpret_cast<NMHDR*>(lParam);
        if (nmhdr == NULL || nmhdr->hwndFrom == NULL || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        if (pResult)
            *pResult = lResult;
        return TRUE;
    }
    UINT lookup = message;
    UINT ctlType = 0;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        lookup = WM_CTLCOLOR;
        ctlType = message - WM_CTLCOLORMSGBOX;
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), lookup);
    if (!e)
        return FALSE;
    const AFX_PMSG_ANY& f = e->pfn;
    // A registered-message entry keeps the message variable where the signature would be.
    UINT_PTR sig = e->nMessage == 0xC000 ? static_cast<UINT_PTR>(AfxSig_l_w_l) : e->nSig;
    switch (sig) {
    case AfxSig_v_v: (static_cast<CCmdTarget*>(this)->*f.pfn)(); break;
    case AfxSig_b_v: lResult = (this->*f.pfn_b_v)(); break;
    case AfxSig_l_w_l: lResult = (this->*f.pfn_l_w_l)(wParam, lParam); break;
    case AfxSig_i_CS: lResult = (this->*f.pfn_i_CS)(reinterpret_cast<LPCREATESTRUCT>(lParam)); break;
    case AfxSig_b_CS: lResult = (this->*f.pfn_b_CS)(reinterpret_cast<LPCREATESTRUCT>(lParam)); break;
    case AfxSig_v_u_i_i:
        (this->*f.pfn_v_u_i_i)(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case AfxSig_v_i_i: (this->*f.pfn_v_i_i)(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); break;
    case AfxSig_v_W:
        (this->*f.pfn_v_W)(FromHandle(reinterpret_cast<HWND>(message == WM_CAPTURECHANGED ? static_cast<WPARAM>(lParam) : wParam)));
        break;
    case AfxSig_v_u_W_b:
        (this->*f.pfn_v_u_W_b)(LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam));
        break;
    case AfxSig_v_b_h: (this->*f.pfn_v_b_h)(static_cast<BOOL>(wParam), static_cast<DWORD>(lParam)); break;
    case AfxSig_v_b: (this->*f.pfn_v_b)(static_cast<BOOL>(wParam)); break;
    case AfxSig_v_b_u: (this->*f.pfn_v_b_u)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); break;
    case AfxSig_b_D: lResult = (this->*f.pfn_b_D)(AfxDCFromHandle(reinterpret_cast<HDC>(wParam))); break;
    case AfxSig_v_u_p: (this->*f.pfn_v_u_p)(static_cast<UINT>(wParam), PointOf(lParam)); break;
    case AfxSig_v_u_u_u: (this->*f.pfn_v_u_u_u)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); break;
    case AfxSig_b_W_u_u:
        lResult = (this->*f.pfn_b_W_u_u)(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_i_W_u_u:
        lResult = (this->*f.pfn_i_W_u_u)(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_up: (this->*f.pfn_v_up)(static_cast<UINT_PTR>(wParam)); break;
    case AfxSig_v_MMI: (this->*f.pfn_v_MMI)(reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case AfxSig_v_WP: (this->*f.pfn_v_WP)(reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case AfxSig_v_M_u_b:
        (this->*f.pfn_v_M_u_b)(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_M: (this->*f.pfn_v_M)(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam))); break;
    case AfxSig_v_u_u_h: (this->*f.pfn_v_u_u_h)(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)); break;
    case AfxSig_v_u_l: (this->*f.pfn_v_u_l)(static_cast<UINT>(wParam), lParam); break;
    case AfxSig_v_W_p: (this->*f.pfn_v_W_p)(FromHandle(reinterpret_cast<HWND>(wParam)), PointOf(lParam)); break;
    case AfxSig_l_p: lResult = (this->*f.pfn_l_p)(PointOf(lParam)); break;
    case AfxSig_b_u_s_p:
        lResult = (this->*f.pfn_b_u_s_p)(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), PointOf(lParam));
        break;
    case AfxSig_hbr_D_W_u:
        lResult = reinterpret_cast<LRESULT>((this->*f.pfn_hbr_D_W_u)(AfxDCFromHandle(reinterpret_cast<HDC>(wParam)),
                                                                    FromHandle(reinterpret_cast<HWND>(lParam)), ctlType));
        break;
    case AfxSig_hbr_D_u: {
        auto* ctl = reinterpret_cast<AFX_CTLCOLOR*>(lParam);
        HBRUSH hbr = (this->*f.pfn_hbr_D_u)(AfxDCFromHandle(ctl->hDC), ctl->nCtlType);
        if (hbr == NULL)
            return FALSE;  // the parent decides after all
        lResult = reinterpret_cast<LRESULT>(hbr);
        break;
    }
    case AfxSig_v_i_DIS:
        (this->*f.pfn_v_i_DIS)(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_v_i_MIS:
        (this->*f.pfn_v_i_MIS)(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_i_i_CIS:
        lResult = (this->*f.pfn_i_i_CIS)(static_cast<int>(wParam), reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case AfxSig_v_i_DEL:
        (this->*f.pfn_v_i_DEL)(static_cast<int>(wParam), reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_v_DIS: (this->*f.pfn_v_DIS)(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); lResult = TRUE; break;
    case AfxSig_v_MIS: (this->*f.pfn_v_MIS)(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); lResult = TRUE; break;
    case AfxSig_i_CIS: lResult = (this->*f.pfn_i_CIS)(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)); break;
    case AfxSig_v_DEL: (this->*f.pfn_v_DEL)(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); lResult = TRUE; break;
    case AfxSig_v_h: (this->*f.pfn_v_h)(reinterpret_cast<HDROP>(wParam)); break;
    case AfxSig_v_u_u_W:
        (this->*f.pfn_v_u_u_W)(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        break;
    case AfxSig_v_u_u: (this->*f.pfn_v_u_u)(LOWORD(wParam), HIWORD(wParam)); break;
    case AfxSig_v_b_NCCALC:
        (this->*f.pfn_v_b_NCCALC)(static_cast<BOOL>(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        break;
    default: return FALSE;
    }
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (hWndCtrl == NULL) {
        // Menus and accelerators: a command whose user interface is disabled is ignored.
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, NULL);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;  // the control handled it itself
    }
    return OnCmdMsg(nID, nCode, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* nmhdr = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectLastMsg(nmhdr->hwndFrom, pResult))
        return TRUE;
    AFX_NOTIFY notify{pResult, nmhdr};
    return OnCmdMsg(static_cast<UINT>(nmhdr->idFrom), MAKELONG(nmhdr->code, WM_NOTIFY), &notify, NULL);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    return pWnd != NULL && pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG m = State().lastSentMsg;
    return OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
        int nCode = HIWORD(wParam);
        if (CCmdTarget::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), NULL, NULL)) {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        auto* nmhdr = reinterpret_cast<NMHDR*>(lParam);
        LRESULT dummy = 0;
        AFX_NOTIFY notify{pResult ? pResult : &dummy, nmhdr};
        return CCmdTarget::OnCmdMsg(0, MAKELONG(nmhdr->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, NULL);
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            AFX_CTLCOLOR ctl{m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult);
        }
        return FALSE;
    }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != NULL; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            CWnd* pWnd = FromHandlePermanent(child);
            if (pWnd != NULL)
                AfxCallWndProc(pWnd, child, message, wParam, lParam);
        } else {
            ::SendMessageA(child, message, wParam, lParam);
        }
        if (bDeep && ::GetWindow(child, GW_CHILD) != NULL) {
            CWnd* pWnd = FromHandle(child);
            pWnd->SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
        }
    }
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != NULL; child = ::GetWindow(child, GW_HWNDNEXT)) {
        state.m_pOther = FromHandle(child);
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

// ---- Modal loops ----------------------------------------------------------------------------------

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL showOnIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    HWND self = m_hWnd;
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    LONG idleCount = 0;
    BOOL idle = TRUE;
    MSG msg;
    for (;;) {
        // Idle work while the queue is empty.
        while (idle && !::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (showOnIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != NULL && idleCount == 0)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(self));
            if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
                idle = FALSE;
        }
        if (!ContinueModal())
            break;
        if (!::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            // Nothing to do: the UI script acts for the user; without an action the loop ends.
            if (!host::ModalLoopIdle(self, "modal loop")) {
                if (ContinueModal())
                    EndModalLoop(-1);
                break;
            }
            if (!::IsWindow(self) || !ContinueModal())
                break;
            if (host::IsInteractive() && !::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE))
                ::WaitMessage();
            idle = TRUE;
            continue;
        }
        // Messages while there are any.
        do {
            if (!AfxPumpMessage()) {
                AfxPostQuitMessage(0);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            const MSG& cur = AfxGetThread() ? AfxGetThread()->m_msgCur : msg;
            if (showOnIdle && (cur.message == WM_SYSTIMER || cur.message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = FALSE;
            }
            if (!::IsWindow(self) || !ContinueModal())
                goto done;
            CWinThread* thread = AfxGetThread();
            if (thread == NULL || thread->IsIdleMessage(const_cast<MSG*>(&cur))) {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    }
done:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL);
    }
}

// ---- Default handlers ---------------------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return static_cast<BOOL>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
BOOL CWnd::OnQueryNewPalette() { return static_cast<BOOL>(Default()); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnParentNotify(UINT, LPARAM) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnDropFiles(HDROP) { Default(); }

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT result = 0;
    if (pWnd != NULL && ReflectLastMsg(pWnd->m_hWnd, &result))
        return reinterpret_cast<HBRUSH>(result);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem))
        return;
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType != ODT_MENU) {
        HWND control = ::GetDlgItem(m_hWnd, nIDCtl);
        if (control != NULL && ReflectLastMsg(control))
            return;
    }
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT result = 0;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &result))
        return static_cast<int>(result);
    return static_cast<int>(Default());
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

void CWnd::OnNcDestroy()
{
    CWinThread* thread = AfxGetThread();
    if (thread != NULL && thread->m_pMainWnd == this) {
        // Closing the main window ends the application's message loop.
        if (thread == AfxGetApp())
            AfxPostQuitMessage(0);
        thread->m_pMainWnd = NULL;
    }
    if (thread != NULL && thread->m_pActiveWnd == this)
        thread->m_pActiveWnd = NULL;
    Default();
    HWND h = m_hWnd;
    if (m_pfnSuper != NULL && ::IsWindow(h))
        ::SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    Detach();
    PostNcDestroy();
}

// ---- Wrappers -------------------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }

static BOOL ModifyLong(HWND h, int index, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongA(h, index));
    DWORD updated = (style & ~remove) | add;
    if (style == updated)
        return FALSE;
    ::SetWindowLongA(h, index, static_cast<LONG>(updated));
    if (flags)
        ::SetWindowPos(h, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags); }
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags); }
void CWnd::SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
int CWnd::GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const { return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount); }

void CWnd::GetWindowText(CString& rString) const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    LPSTR buffer = rString.GetBuffer(n + 1);
    ::GetWindowTextA(m_hWnd, buffer, n + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int nID) { return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID)); }
CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, (pWndNewParent ? pWndNewParent->m_hWnd : NULL))); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
void CWnd::SetOwner(CWnd* pOwnerWnd) { ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>((pOwnerWnd ? pOwnerWnd->m_hWnd : NULL))); }
CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetAncestor(m_hWnd, GA_ROOT)); }

CWnd* CWnd::GetParentFrame() const
{
    for (CWnd* p = GetParent(); p != NULL; p = p->GetParent())
        if (p->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return p;
    return NULL;
}

CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
CWnd* CWnd::GetNextWindow(UINT nFlag) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
CWnd* CWnd::GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }

CWnd* PASCAL CWnd::GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm)
{
    // Direct children first, then each child's descendants.
    HWND direct = ::GetDlgItem(hWnd, nID);
    if (direct != NULL) {
        if (::GetWindow(direct, GW_CHILD) == NULL || FromHandlePermanent(direct) != NULL || !bOnlyPerm) {
            CWnd* p = bOnlyPerm ? FromHandlePermanent(direct) : FromHandle(direct);
            if (p != NULL)
                return p;
        }
    }
    for (HWND child = ::GetWindow(hWnd, GW_CHILD); child != NULL; child = ::GetWindow(child, GW_HWNDNEXT))
        if (CWnd* p = GetDescendantWindow(child, nID, bOnlyPerm))
            return p;
    return NULL;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const { return GetDescendantWindow(m_hWnd, nID, bOnlyPerm); }
BOOL CWnd::IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, (pWnd ? pWnd->m_hWnd : NULL)); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) { ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint); }

void CWnd::MoveWindow(LPCRECT r, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, InsertAfterHandle(pWndInsertAfter), x, y, cx, cy, nFlags);
}

void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPRECT r) const { ::MapWindowPoints(m_hWnd, NULL, reinterpret_cast<LPPOINT>(r), 2); }
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ScreenToClient(LPRECT r) const { ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<LPPOINT>(r), 2); }
void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT p, UINT n) const { ::MapWindowPoints(m_hWnd, (pwndTo ? pwndTo->m_hWnd : NULL), p, n); }
void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT r) const { ::MapWindowPoints(m_hWnd, (pwndTo ? pwndTo->m_hWnd : NULL), reinterpret_cast<LPPOINT>(r), 2); }

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    DWORD style = GetStyle();
    HWND center = NULL;
    RECT area;
    if (style & WS_CHILD) {
        center = ::GetParent(m_hWnd);
        ::GetClientRect(center, &area);
    } else {
        center = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
        if (center != NULL && (!::IsWindowVisible(center) || ::IsIconic(center)))
            center = NULL;
        if (center != NULL) {
            ::GetWindowRect(center, &area);
        } else {
            area = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        }
    }
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = (area.left + area.right) / 2 - w / 2;
    int y = (area.top + area.bottom) / 2 - h / 2;
    if (!(style & WS_CHILD)) {
        // Keep the window on the screen.
        int sx = ::GetSystemMetrics(SM_CXSCREEN), sy = ::GetSystemMetrics(SM_CYSCREEN);
        if (x + w > sx)
            x = sx - w;
        if (x < 0)
            x = 0;
        if (y + h > sy)
            y = sy - h;
        if (y < 0)
            y = 0;
    }
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* p) const { return ::GetWindowPlacement(m_hWnd, p); }
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* p) { return ::SetWindowPlacement(m_hWnd, p); }
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, NULL, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT r, HRGN rgn, UINT flags) { return ::RedrawWindow(m_hWnd, r, rgn, flags); }
int CWnd::SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
int CWnd::GetWindowRgn(HRGN hRgn) const { return ::GetWindowRgn(m_hWnd, hRgn); }
void CWnd::ScrollWindow(int x, int y, LPCRECT r, LPCRECT clip) { ::ScrollWindow(m_hWnd, x, y, r, clip); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* PASCAL CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* PASCAL CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* PASCAL CWnd::GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* PASCAL CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* PASCAL CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
CWnd* PASCAL CWnd::FindWindow(LPCSTR cls, LPCSTR name) { return FromHandle(::FindWindowA(cls, name)); }
CWnd* PASCAL CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
CWnd* CWnd::ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD))
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, (pMenu ? pMenu->m_hMenu : NULL)); }
void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (lpszCaption == NULL)
        lpszCaption = AfxGetAppName();
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

HDC CWnd::GetDC() { return ::GetDC(m_hWnd); }
int CWnd::ReleaseDC(HDC hDC) { return ::ReleaseDC(m_hWnd, hDC); }
