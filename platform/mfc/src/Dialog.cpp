// CDialog: modeless and modal dialogs on the dialog manager, with the class library's
// default OK and Cancel handling and data exchange on the way in and out.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {

// The dialog procedure of every CDialog: the message map has had its turn already (the
// dialog's window procedure is the class library's), so only WM_INITDIALOG is left to route.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return pDlg != NULL ? pDlg->OnInitDialog() : TRUE;
}

LPCDLGTEMPLATEA LoadTemplate(LPCSTR name, HINSTANCE& instance)
{
    instance = AfxFindResourceHandle(name, RT_DIALOG);
    if (instance == NULL)
        instance = AfxGetResourceHandle();
    HRSRC info = ::FindResource(instance, name, RT_DIALOG);
    HGLOBAL data = info ? ::LoadResource(instance, info) : NULL;
    return data ? static_cast<LPCDLGTEMPLATEA>(::LockResource(data)) : NULL;
}

}  // namespace

CDialog::CDialog() : m_lpszTemplateName(NULL), m_nIDHelp(0), m_lpDialogTemplate(NULL), m_pParentWnd(NULL) {}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd) : CDialog()
{
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(MAKEINTRESOURCEA(nIDTemplate), pParentWnd) {}

CDialog::~CDialog()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CDialog::CreateFrom(LPCDLGTEMPLATEA lpTemplate, LPCSTR lpszName, CWnd* pParentWnd)
{
    HINSTANCE instance = AfxGetResourceHandle();
    if (lpTemplate == NULL && lpszName != NULL)
        lpTemplate = LoadTemplate(lpszName, instance);
    if (lpTemplate == NULL)
        return FALSE;
    HWND parent = pParentWnd ? pParentWnd->GetSafeHwnd() : NULL;
    if (parent == NULL && AfxGetThread() && AfxGetThread()->m_pMainWnd)
        parent = AfxGetThread()->m_pMainWnd->GetSafeHwnd();
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogIndirectParamA(instance, lpTemplate, parent, AfxDlgProc, 0);
    if (!AfxUnhookWindowCreate() && h == NULL)
        return FALSE;
    return h != NULL;
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return CreateFrom(NULL, lpszTemplateName, m_pParentWnd);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return CreateFrom(lpDialogTemplate, NULL, m_pParentWnd);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    HWND parent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : NULL;
    if (parent == NULL && AfxGetThread() && AfxGetThread()->m_pMainWnd)
        parent = AfxGetThread()->m_pMainWnd->GetSafeHwnd();
    HWND owner = parent ? ::GetAncestor(parent, GA_ROOT) : NULL;
    BOOL enableOwner = owner && ::IsWindowEnabled(owner);
    if (enableOwner)
        ::EnableWindow(owner, FALSE);
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    CWnd* parentWnd = parent ? CWnd::FromHandle(parent) : NULL;
    if (CreateFrom(m_lpDialogTemplate, m_lpDialogTemplate ? NULL : m_lpszTemplateName, parentWnd)) {
        if (m_nFlags & WF_CONTINUEMODAL)
            RunModalLoop(MLF_SHOWONIDLE);
        if (m_hWnd != NULL)
            ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (enableOwner && ::IsWindow(owner)) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    if (m_hWnd != NULL)
        DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWnd != NULL &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}

void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), TRUE);
}
void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }
void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
