// Command routing through message maps, and CCmdUI.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, {.pfn = nullptr}}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL PASCAL CCmdTarget::DispatchCmdMsg(CCmdTarget* target, UINT nID, int nCode, const AFX_MSGMAP_ENTRY* e,
                                       void* pExtra, AFX_CMDHANDLERINFO* info)
{
    if (info) {
        info->pTarget = target;
        info->pmf = e->pfn.pfn;
        return TRUE;
    }
    switch (e->nSig) {
    case AfxSig_v_v:
        (target->*e->pfn.pfn)();
        return TRUE;
    case AfxSig_v_u:
        (target->*e->pfn.pfn_v_u)(nID);
        return TRUE;
    case AfxSig_b_u:
        return (target->*e->pfn.pfn_b_u)(nID);
    case AfxSig_cmdui: {
        auto* cmdUI = static_cast<CCmdUI*>(pExtra);
        if (!cmdUI)
            return FALSE;
        cmdUI->m_bContinueRouting = FALSE;
        (target->*e->pfn.pfn_cmdui)(cmdUI);
        return !cmdUI->m_bContinueRouting;
    }
    case AfxSig_notify: {
        auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
        if (!notify)
            return FALSE;
        (target->*e->pfn.pfn_notify)(notify->pNMHDR, notify->pResult);
        return TRUE;
    }
    case AfxSig_b_NMHDR_l: {
        auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
        if (!notify)
            return FALSE;
        return (target->*e->pfn.pfn_b_NMHDR_l)(notify->pNMHDR, notify->pResult);
    }
    default:
        (void)nCode;
        return FALSE;
    }
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The message is in the high word (WM_COMMAND when zero), the code in the low word;
    // CN_UPDATE_COMMAND_UI is -1 in full.
    UINT message = WM_COMMAND;
    UINT code = static_cast<UINT>(nCode);
    if (nCode != static_cast<int>(CN_UPDATE_COMMAND_UI)) {
        message = HIWORD(static_cast<UINT>(nCode));
        code = LOWORD(static_cast<UINT>(nCode));
        if (message == 0)
            message = WM_COMMAND;
        // Notification codes are signed 16-bit values.
        if (message == WM_NOTIFY || message == WM_NOTIFY + WM_REFLECT_BASE)
            code = static_cast<UINT>(static_cast<int>(static_cast<short>(code)));
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage != message || e->nCode != code)
                continue;
            if (message == WM_COMMAND + WM_REFLECT_BASE || message == WM_NOTIFY + WM_REFLECT_BASE) {
                // Reflected notifications carry no id.
            } else if (nID < e->nID || nID > e->nLastID) {
                continue;
            }
            return DispatchCmdMsg(this, nID, nCode, e, pExtra, pHandlerInfo);
        }
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
}

// ---- CCmdUI -------------------------------------------------------------------------------------

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(NULL), m_pSubMenu(NULL), m_pParentMenu(NULL), m_pOther(NULL),
      m_bEnableChanged(FALSE), m_bContinueRouting(FALSE), m_nIndexMax(0)
{
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL)
            return;  // popups are not enabled through their items
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther != NULL) {
        // A control losing its enabled state gives the focus up first.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            CWnd* parent = m_pOther->GetParent();
            if (parent)
                parent->SetFocus();
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL)
            return;
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther != NULL) {
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR lpszText)
{
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL)
            return;
        UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        state &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | MF_HILITE);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
    } else if (m_pOther != NULL) {
        CString current;
        m_pOther->GetWindowText(current);
        if (current != lpszText)
            m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;  // separators and popups have nothing to update
    m_bEnableChanged = FALSE;
    BOOL handled = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, NULL);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {NULL, NULL};
        BOOL hasHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(hasHandler);
    }
    return handled;
}
