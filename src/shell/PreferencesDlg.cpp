#include "shell/PreferencesDlg.h"

#include "base/DataFolders.h"
#include "base/VLMessages.h"
#include "shell/FolderPrompts.h"
#include "shell/LocateDiscDlg.h"

#include "resource.h"

#include <afxdlgs.h>

#include <cstdlib>

const char CPreferencesDlg::s_szAnyDrive[] = "Any CD-ROM drive";

namespace {

// The value of a switch that the profile keeps as "y" or "n".
CString YesNo(BOOL bYes)
{
    return bYes ? "y" : "n";
}

BOOL ReadsYes(LPCSTR lpszKey, LPCSTR lpszDefault)
{
    return GetAppProfileString(VL_PRODUCT_SECTION, lpszKey, lpszDefault).CompareNoCase("y") == 0;
}

// The paging folder when none is set: VMPATH, else TEMP, else the program folder.
CString DefaultPagingFolder()
{
    for (LPCSTR lpszName : {"VMPATH", "TEMP"}) {
        char szValue[MAX_PATH] = "";
        const DWORD dwLength = ::GetEnvironmentVariable(lpszName, szValue, sizeof szValue);
        if (dwLength > 0 && dwLength < sizeof szValue) {
            CString strFolder(szValue);
            AppendBackslash(strFolder);
            return strFolder;
        }
    }
    return GetProgramDir();
}

CString DefaultEditor()
{
    char szPath[MAX_PATH] = "";
    if (::SearchPath(NULL, "notepad", ".exe", sizeof szPath, szPath, NULL) != 0)
        return szPath;
    return CString();
}

// A character no path may hold: / * ? " < > |, or a colon after the first.
BOOL HasInvalidPathCharacter(const CString& strPath)
{
    if (strPath.FindOneOf("/*?\"<>|") >= 0)
        return TRUE;
    const int nColon = strPath.Find(':');
    return nColon >= 0 && strPath.Find(':', nColon + 1) >= 0;
}

CString LoadText(UINT nID)
{
    CString strText;
    strText.LoadString(nID);
    return strText;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPreferencesDlg, CDialog)
    ON_EN_KILLFOCUS(IDC_PREF_NOTES, OnKillFocusNotes)
    ON_EN_KILLFOCUS(IDC_PREF_PAGING, OnKillFocusPaging)
    ON_EN_KILLFOCUS(IDC_PREF_EDITOR, OnKillFocusEditor)
    ON_EN_KILLFOCUS(IDC_PREF_PAGING_LIMIT, OnKillFocusPagingLimit)
    ON_BN_CLICKED(IDC_PREF_NOTES_BROWSE, OnBrowseNotes)
    ON_BN_CLICKED(IDC_PREF_PAGING_BROWSE, OnBrowsePaging)
    ON_BN_CLICKED(IDC_PREF_EDITOR_BROWSE, OnBrowseEditor)
    ON_BN_CLICKED(IDC_PREF_DISC_LOCATION, OnDiscLocation)
    ON_BN_CLICKED(IDC_PREF_LIMIT_PAGING, OnLimitPaging)
END_MESSAGE_MAP()

CPreferencesDlg::CPreferencesDlg(CWnd* pParent)
    : CDialog(IDD_PREFERENCES, pParent), m_editPagingLimit(0, 5)
{
}

void CPreferencesDlg::LoadSettings()
{
    m_strDrive = GetAppProfileString(VL_PRODUCT_SECTION, "CD1", s_szAnyDrive);
    if (m_strDrive.IsEmpty())
        m_strDrive = s_szAnyDrive;
    m_strDriveLoaded = m_strDrive;
    m_strNotes = GetAppProfileString(VL_PRODUCT_SECTION, "SNL", NULL);
    if (m_strNotes.IsEmpty())
        m_strNotes = GetProgramDir();
    m_strPaging = GetAppProfileString(VL_PRODUCT_SECTION, "TFL", NULL);
    if (m_strPaging.IsEmpty())
        m_strPaging = DefaultPagingFolder();
    m_strEditor = GetAppProfileString(VL_PRODUCT_SECTION, "WPL", NULL);
    if (m_strEditor.IsEmpty())
        m_strEditor = DefaultEditor();
    m_nPrintPictures = !ReadsYes("DGP", "n");
    m_nLimitPaging = ReadsYes("LPL", "n");
    m_strPagingLimit = GetAppProfileString(VL_PRODUCT_SECTION, "MP", "0");
    if (!NormalisePagingLimit(m_strPagingLimit))
        m_strPagingLimit = "0";
    m_nVideo = !ReadsYes("DVA", "n");
    m_nSound = !ReadsYes("DSC", "n");
    m_nAnimate = ReadsYes("PAA", "y");
}

void CPreferencesDlg::SaveSettings() const
{
    const BOOL bAnyDrive = m_strDrive.IsEmpty() || m_strDrive == s_szAnyDrive;
    WriteAppProfileString(VL_PRODUCT_SECTION, "CD1", bAnyDrive ? NULL : static_cast<LPCSTR>(m_strDrive));
    // The choice steers the disc search too: a drive is the drive it searches, a folder holding
    // a copy of the disc is its data folder.
    const BOOL bDriveLetter = m_strDrive.GetLength() == 2 && m_strDrive[1] == ':';
    if (bAnyDrive || bDriveLetter) {
        WriteAppProfileString("File Locations", "CD1", bAnyDrive ? NULL : static_cast<LPCSTR>(m_strDrive));
        // A folder this dialog chose before steered the search through "DataDir": the later
        // choice wins, so that folder goes (a data folder that setup wrote stays).
        const BOOL bFolderBefore = !m_strDriveLoaded.IsEmpty() && m_strDriveLoaded != s_szAnyDrive &&
                                   !(m_strDriveLoaded.GetLength() == 2 && m_strDriveLoaded[1] == ':');
        if (bFolderBefore) {
            const CString strDataDir = GetAppProfileString("Files", "DataDir", NULL);
            CString strBefore = m_strDriveLoaded;
            AppendBackslash(strBefore);
            if (strDataDir.CompareNoCase(strBefore) == 0 || strDataDir.CompareNoCase(strBefore + "info_dat\\") == 0)
                WriteAppProfileString("Files", "DataDir", NULL);
        }
    } else {
        WriteAppProfileString("Files", "DataDir", DataFolderOfChoice(m_strDrive));
    }
    WriteAppProfileString(VL_PRODUCT_SECTION, "SNL", m_strNotes);
    WriteAppProfileString(VL_PRODUCT_SECTION, "TFL", m_strPaging);
    WriteAppProfileString(VL_PRODUCT_SECTION, "WPL", m_strEditor);
    WriteAppProfileString(VL_PRODUCT_SECTION, "DGP", YesNo(!m_nPrintPictures));
    WriteAppProfileString(VL_PRODUCT_SECTION, "LPL", YesNo(m_nLimitPaging));
    WriteAppProfileString(VL_PRODUCT_SECTION, "MP", m_strPagingLimit);
    WriteAppProfileString(VL_PRODUCT_SECTION, "DVA", YesNo(!m_nVideo));
    WriteAppProfileString(VL_PRODUCT_SECTION, "DSC", YesNo(!m_nSound));
    WriteAppProfileString(VL_PRODUCT_SECTION, "PAA", YesNo(m_nAnimate));
}

CString CPreferencesDlg::DataFolderOfChoice(const CString& strFolder)
{
    CString strData = strFolder;
    AppendBackslash(strData);
    if (FolderExists(strData + "info_dat\\"))
        strData += "info_dat\\";
    return strData;
}

BOOL CPreferencesDlg::CheckFolderEntry(CString& strFolder)
{
    strFolder.Trim();
    if (strFolder.IsEmpty()) {
        AfxMessageBox("Path cannot be empty.", MB_ICONEXCLAMATION);
        return FALSE;
    }
    AppendBackslash(strFolder);
    if (HasInvalidPathCharacter(strFolder)) {
        AfxMessageBox(LoadText(IDS_INVALID_PATH), MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (FolderExists(strFolder))
        return TRUE;
    if (AfxMessageBox(LoadText(IDS_PATH_MISSING), MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return FALSE;
    if (!CreateFolderPath(strFolder)) {
        AfxMessageBox(LoadText(IDS_PATH_NOT_CREATED), MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

BOOL CPreferencesDlg::CheckProgramEntry(const CString& strProgram)
{
    const DWORD dwAttributes = strProgram.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributes(strProgram);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        AfxMessageBox(LoadText(IDS_FILE_NOT_FOUND), MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

BOOL CPreferencesDlg::NormalisePagingLimit(CString& strLimit)
{
    strLimit.Trim();
    if (strLimit.IsEmpty()) {
        strLimit = "0";
        return TRUE;
    }
    if (strLimit.SpanIncluding("0123456789").GetLength() != strLimit.GetLength())
        return FALSE;
    // Long runs of digits are above the limit whatever they say.
    const long nValue = strLimit.GetLength() > 6 ? kMaxPagingLimit + 1L : std::atol(strLimit);
    strLimit.Format("%ld", nValue > kMaxPagingLimit ? static_cast<long>(kMaxPagingLimit) : nValue);
    return TRUE;
}

void CPreferencesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PREF_PAGING_LIMIT, m_editPagingLimit);
    DDX_CBString(pDX, IDC_PREF_DRIVE, m_strDrive);
    DDX_Text(pDX, IDC_PREF_NOTES, m_strNotes);
    DDX_Text(pDX, IDC_PREF_PAGING, m_strPaging);
    DDX_Text(pDX, IDC_PREF_EDITOR, m_strEditor);
    DDX_Check(pDX, IDC_PREF_PRINT_PICTURES, m_nPrintPictures);
    DDX_Check(pDX, IDC_PREF_LIMIT_PAGING, m_nLimitPaging);
    DDX_Text(pDX, IDC_PREF_PAGING_LIMIT, m_strPagingLimit);
    DDX_Check(pDX, IDC_PREF_VIDEO, m_nVideo);
    DDX_Check(pDX, IDC_PREF_SOUND, m_nSound);
    DDX_Check(pDX, IDC_PREF_ANIMATE, m_nAnimate);
}

BOOL CPreferencesDlg::OnInitDialog()
{
    LoadSettings();
    ::SendDlgItemMessage(m_hWnd, IDC_PREF_DRIVE, CB_RESETCONTENT, 0, 0);
    AddDrive(s_szAnyDrive);
    for (char cDrive = 'D'; cDrive <= 'Z'; ++cDrive) {
        const char szDrive[3] = {cDrive, ':', '\0'};
        AddDrive(szDrive);
    }
    ::SetDlgItemText(m_hWnd, IDC_PREF_VIDEO, "Enable Video");
    CDialog::OnInitDialog();
    m_editPagingLimit.SetLimit(5);
    SelectDrive(m_strDrive);
    EnablePagingLimit(m_nLimitPaging);
    return TRUE;
}

int CPreferencesDlg::AddDrive(LPCSTR lpszDrive)
{
    return static_cast<int>(
        ::SendDlgItemMessage(m_hWnd, IDC_PREF_DRIVE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszDrive)));
}

void CPreferencesDlg::SelectDrive(const CString& strDrive)
{
    int nIndex = static_cast<int>(::SendDlgItemMessage(m_hWnd, IDC_PREF_DRIVE, CB_FINDSTRINGEXACT,
                                                       static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strDrive))));
    if (nIndex == CB_ERR)
        nIndex = AddDrive(strDrive);
    ::SendDlgItemMessage(m_hWnd, IDC_PREF_DRIVE, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
}

void CPreferencesDlg::EnablePagingLimit(BOOL bEnable)
{
    if (CWnd* pLimit = GetDlgItem(IDC_PREF_PAGING_LIMIT))
        pLimit->EnableWindow(bEnable);
    if (CWnd* pUnit = GetDlgItem(IDC_PREF_PAGING_UNIT))
        pUnit->EnableWindow(bEnable);
}

void CPreferencesDlg::OnLimitPaging()
{
    UpdateData(TRUE);
    EnablePagingLimit(m_nLimitPaging);
}

BOOL CPreferencesDlg::SkipFocusCheck() const
{
    if (m_bChecking)
        return TRUE;
    // Cancel throws away whatever the field holds.
    CWnd* pFocus = GetFocus();
    return pFocus != NULL && pFocus->GetDlgCtrlID() == IDCANCEL && pFocus->GetParent() == this;
}

BOOL CPreferencesDlg::CheckFolderField(int nID, CString& strKept)
{
    CString strFolder;
    strFolder = DialogItemText(m_hWnd, nID);
    if (strFolder == strKept)
        return TRUE;
    m_bChecking = TRUE;
    const BOOL bGood = CheckFolderEntry(strFolder);
    m_bChecking = FALSE;
    if (bGood)
        strKept = strFolder;
    ::SetDlgItemText(m_hWnd, nID, strKept);
    return bGood;
}

BOOL CPreferencesDlg::CheckEditorField()
{
    CString strEditor;
    strEditor = DialogItemText(m_hWnd, IDC_PREF_EDITOR);
    if (strEditor == m_strEditor)
        return TRUE;
    strEditor.Trim();
    m_bChecking = TRUE;
    const BOOL bGood = CheckProgramEntry(strEditor);
    m_bChecking = FALSE;
    if (bGood)
        m_strEditor = strEditor;
    ::SetDlgItemText(m_hWnd, IDC_PREF_EDITOR, m_strEditor);
    return bGood;
}

BOOL CPreferencesDlg::CheckPagingLimitField()
{
    CString strLimit;
    strLimit = DialogItemText(m_hWnd, IDC_PREF_PAGING_LIMIT);
    const BOOL bGood = NormalisePagingLimit(strLimit);
    if (bGood)
        m_strPagingLimit = strLimit;
    else
        MessageBeep(0);
    ::SetDlgItemText(m_hWnd, IDC_PREF_PAGING_LIMIT, m_strPagingLimit);
    return bGood;
}

void CPreferencesDlg::OnKillFocusNotes()
{
    if (!SkipFocusCheck())
        CheckFolderField(IDC_PREF_NOTES, m_strNotes);
}

void CPreferencesDlg::OnKillFocusPaging()
{
    if (!SkipFocusCheck())
        CheckFolderField(IDC_PREF_PAGING, m_strPaging);
}

void CPreferencesDlg::OnKillFocusEditor()
{
    if (!SkipFocusCheck())
        CheckEditorField();
}

void CPreferencesDlg::OnKillFocusPagingLimit()
{
    if (!SkipFocusCheck())
        CheckPagingLimitField();
}

void CPreferencesDlg::OnBrowseNotes()
{
    CString strFolder;
    if (BrowseForFolder(this, "Choose a Sticky Note directory.", strFolder)) {
        m_strNotes = strFolder;
        ::SetDlgItemText(m_hWnd, IDC_PREF_NOTES, strFolder);
    }
}

void CPreferencesDlg::OnBrowsePaging()
{
    CString strFolder;
    if (BrowseForFolder(this, "Choose a directory for the paging files.", strFolder)) {
        m_strPaging = strFolder;
        ::SetDlgItemText(m_hWnd, IDC_PREF_PAGING, strFolder);
    }
}

void CPreferencesDlg::OnBrowseEditor()
{
    CFileDialog dialog(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "Executable Files (*.exe)|*.exe||",
                       this);
    if (dialog.DoModal() != IDOK)
        return;
    m_strEditor = dialog.GetPathName();
    ::SetDlgItemText(m_hWnd, IDC_PREF_EDITOR, m_strEditor);
}

void CPreferencesDlg::OnDiscLocation()
{
    CString strDrive;
    strDrive = DialogItemText(m_hWnd, IDC_PREF_DRIVE);
    LocateDiscDlg locate(this);
    locate.m_bAnyDrive = strDrive.IsEmpty() || strDrive == s_szAnyDrive;
    if (!locate.m_bAnyDrive)
        locate.m_strLocation = strDrive;
    if (locate.DoModal() != IDOK)
        return;
    m_strDrive = locate.m_bAnyDrive ? CString(s_szAnyDrive) : locate.m_strLocation;
    SelectDrive(m_strDrive);
}

void CPreferencesDlg::OnOK()
{
    // A field changed since its last check is checked once more; one that fails keeps the dialog
    // open on it.
    const int nFailed = !CheckFolderField(IDC_PREF_NOTES, m_strNotes)   ? IDC_PREF_NOTES
                        : !CheckFolderField(IDC_PREF_PAGING, m_strPaging) ? IDC_PREF_PAGING
                        : !CheckEditorField()                            ? IDC_PREF_EDITOR
                        : !CheckPagingLimitField()                       ? IDC_PREF_PAGING_LIMIT
                                                                         : 0;
    if (nFailed != 0) {
        GotoDlgCtrl(GetDlgItem(nFailed));
        return;
    }
    if (!UpdateData(TRUE))
        return;
    SaveSettings();
    CWnd* pTop = NULL;
    if (CWnd* pOwner = GetParent(); pOwner != NULL)
        pTop = pOwner->GetTopLevelParent();
    if (pTop == NULL)
        pTop = AfxGetMainWnd();
    if (pTop != NULL && pTop->GetSafeHwnd() != NULL && pTop != this)
        pTop->PostMessage(VLM_REFRESH_TOOLS, 0, 0);
    EndDialog(IDOK);
}
