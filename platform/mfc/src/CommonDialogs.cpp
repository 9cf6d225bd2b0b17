// CFileDialog, CPrintDialog and CFindReplaceDialog on the platform's common dialogs.
#include <afxdlgs.h>

#include <atomic>
#include <cstddef>
#include <cstring>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFindReplaceDialog, CCommonDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog()
{
    m_pParentWnd = pParentWnd;
}

void CCommonDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    Default();
}

void CCommonDialog::OnCancel()
{
    Default();
}

HWND CCommonDialog::OwnerWindow() const
{
    if (m_pParentWnd != NULL && m_pParentWnd->GetSafeHwnd() != NULL)
        return m_pParentWnd->GetSafeHwnd();
    CWinThread* thread = AfxGetThread();
    if (thread != NULL && thread->m_pMainWnd != NULL)
        return thread->m_pMainWnd->GetSafeHwnd();
    return NULL;
}

// ---- CFileDialog -----------------------------------------------------------------------------

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_ofn{}, m_bOpenFileDialog(bOpenFileDialog)
{
    m_szFileTitle[0] = '\0';
    m_szFileName[0] = '\0';
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (lpszDefExt != NULL) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName != NULL) {
        std::strncpy(m_szFileName, lpszFileName, sizeof m_szFileName - 1);
        m_szFileName[sizeof m_szFileName - 1] = '\0';
    }
    if (lpszFilter != NULL) {
        // "Text (*.txt)|*.txt||" becomes the NUL-separated list the platform reads.
        std::string list = lpszFilter;
        for (char& c : list)
            if (c == '|')
                c = '\0';
        list.push_back('\0');
        m_strFilter = CString(list.data(), static_cast<int>(list.size()));
        m_ofn.lpstrFilter = m_strFilter;
        m_ofn.nFilterIndex = 1;
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = OwnerWindow();
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return m_ofn.lpstrFile;
}

CString CFileDialog::GetFileName() const
{
    return m_ofn.lpstrFile + m_ofn.nFileOffset;
}

CString CFileDialog::GetFileExt() const
{
    size_t length = std::strlen(m_ofn.lpstrFile);
    if (m_ofn.nFileExtension == 0 || m_ofn.nFileExtension >= length)
        return CString();
    return m_ofn.lpstrFile + m_ofn.nFileExtension;
}

CString CFileDialog::GetFileTitle() const
{
    std::string name = m_ofn.lpstrFile + m_ofn.nFileOffset;
    size_t length = std::strlen(m_ofn.lpstrFile);
    if (m_ofn.nFileExtension > m_ofn.nFileOffset && m_ofn.nFileExtension < length)
        name.resize(m_ofn.nFileExtension - m_ofn.nFileOffset - 1);
    return name.c_str();
}

BOOL CFileDialog::GetReadOnlyPref() const
{
    return (m_ofn.Flags & OFN_READONLY) != 0;
}

// ---- CPrintDialog ----------------------------------------------------------------------------

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_pd(m_pdActual), m_pdActual{}
{
    m_pd.lStructSize = sizeof m_pdActual;
    m_pd.Flags = dwFlags;
    if (bPrintSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    else
        m_pd.Flags |= PD_RETURNDC;
    m_pd.nFromPage = m_pd.nToPage = 0xFFFF;
    m_pd.nMinPage = m_pd.nMaxPage = 0;
    m_pd.nCopies = 1;
}

INT_PTR CPrintDialog::DoModal()
{
    m_pd.hwndOwner = OwnerWindow();
    return ::PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    DWORD flags = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    BOOL ok = ::PrintDlgA(&m_pd);
    m_pd.Flags = flags;
    return ok;
}

HDC CPrintDialog::GetPrinterDC() const
{
    return m_pd.hDC;
}

HDC CPrintDialog::CreatePrinterDC()
{
    if (m_pd.hDevNames == NULL)
        return NULL;
    LPDEVMODEA mode = GetDevMode();
    CString driver = GetDriverName(), device = GetDeviceName(), port = GetPortName();
    m_pd.hDC = ::CreateDCA(driver, device, port, mode);
    if (mode != NULL)
        ::GlobalUnlock(m_pd.hDevMode);
    return m_pd.hDC;
}

LPDEVMODEA CPrintDialog::GetDevMode() const
{
    return m_pd.hDevMode ? static_cast<LPDEVMODEA>(::GlobalLock(m_pd.hDevMode)) : NULL;
}

CString CPrintDialog::DevNamesField(int which) const
{
    if (m_pd.hDevNames == NULL)
        return CString();
    auto* names = static_cast<DEVNAMES*>(::GlobalLock(m_pd.hDevNames));
    if (names == NULL)
        return CString();
    WORD offset = which == 0 ? names->wDriverOffset : which == 1 ? names->wDeviceOffset : names->wOutputOffset;
    CString field = reinterpret_cast<const char*>(names) + offset;
    ::GlobalUnlock(m_pd.hDevNames);
    return field;
}

CString CPrintDialog::GetDriverName() const { return DevNamesField(0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesField(1); }
CString CPrintDialog::GetPortName() const { return DevNamesField(2); }

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES) {
        LPDEVMODEA mode = GetDevMode();
        if (mode != NULL) {
            int copies = mode->dmCopies;
            ::GlobalUnlock(m_pd.hDevMode);
            return copies;
        }
    }
    return m_pd.nCopies;
}

BOOL CPrintDialog::GetCollate() const { return (m_pd.Flags & PD_COLLATE) != 0; }
BOOL CPrintDialog::PrintAll() const { return !PrintRange() && !PrintSelection(); }
BOOL CPrintDialog::PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
BOOL CPrintDialog::PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
int CPrintDialog::GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
int CPrintDialog::GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

// ---- CFindReplaceDialog ----------------------------------------------------------------------

namespace {

// Where m_fr lies in a CFindReplaceDialog: the messages carry its address.
std::atomic<std::ptrdiff_t> g_findReplaceOffset{-1};

// The dialog's hook: its object hears WM_INITDIALOG as OnInitDialog.
UINT_PTR CALLBACK FindReplaceHook(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return 0;
    auto* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return pDlg != NULL ? static_cast<UINT_PTR>(pDlg->OnInitDialog()) : TRUE;
}

void CopyText(char* buffer, size_t size, LPCSTR text)
{
    buffer[0] = '\0';
    if (text != NULL) {
        std::strncpy(buffer, text, size - 1);
        buffer[size - 1] = '\0';
    }
}

}  // namespace

CFindReplaceDialog::CFindReplaceDialog() : CCommonDialog(NULL), m_fr{}
{
    m_szFindWhat[0] = '\0';
    m_szReplaceWith[0] = '\0';
    m_fr.lStructSize = sizeof m_fr;
    m_fr.Flags = FR_ENABLEHOOK;
    m_fr.lpfnHook = FindReplaceHook;
    g_findReplaceOffset.store(reinterpret_cast<char*>(&m_fr) - reinterpret_cast<char*>(this));
}

BOOL CFindReplaceDialog::Create(BOOL bFindDialogOnly, LPCSTR lpszFindWhat, LPCSTR lpszReplaceWith, DWORD dwFlags,
                                CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    CopyText(m_szFindWhat, sizeof m_szFindWhat, lpszFindWhat);
    CopyText(m_szReplaceWith, sizeof m_szReplaceWith, lpszReplaceWith);
    m_fr.lpstrFindWhat = m_szFindWhat;
    m_fr.wFindWhatLen = sizeof m_szFindWhat;
    m_fr.lpstrReplaceWith = m_szReplaceWith;
    m_fr.wReplaceWithLen = sizeof m_szReplaceWith;
    m_fr.Flags |= dwFlags;
    m_fr.hwndOwner = OwnerWindow();
    // The object takes the dialog's window as it is made, so that its message map and
    // PreTranslateMessage see the dialog's messages.
    AfxHookWindowCreate(this);
    HWND hWnd = bFindDialogOnly ? ::FindTextA(&m_fr) : ::ReplaceTextA(&m_fr);
    AfxUnhookWindowCreate();
    return hWnd != NULL;
}

CFindReplaceDialog* PASCAL CFindReplaceDialog::GetNotifier(LPARAM lParam)
{
    std::ptrdiff_t offset = g_findReplaceOffset.load();
    if (lParam == 0 || offset < 0)
        return NULL;
    return reinterpret_cast<CFindReplaceDialog*>(reinterpret_cast<char*>(lParam) - offset);
}

CString CFindReplaceDialog::GetFindString() const { return m_fr.lpstrFindWhat; }
CString CFindReplaceDialog::GetReplaceString() const { return m_fr.lpstrReplaceWith; }
BOOL CFindReplaceDialog::SearchDown() const { return (m_fr.Flags & FR_DOWN) != 0; }
BOOL CFindReplaceDialog::MatchCase() const { return (m_fr.Flags & FR_MATCHCASE) != 0; }
BOOL CFindReplaceDialog::MatchWholeWord() const { return (m_fr.Flags & FR_WHOLEWORD) != 0; }
BOOL CFindReplaceDialog::FindNext() const { return (m_fr.Flags & FR_FINDNEXT) != 0; }
BOOL CFindReplaceDialog::ReplaceCurrent() const { return (m_fr.Flags & FR_REPLACE) != 0; }
BOOL CFindReplaceDialog::ReplaceAll() const { return (m_fr.Flags & FR_REPLACEALL) != 0; }
BOOL CFindReplaceDialog::IsTerminating() const { return (m_fr.Flags & FR_DIALOGTERM) != 0; }

void CFindReplaceDialog::PostNcDestroy()
{
    delete this;
}
