#include "online/Cloud.h"

#include "base/DataFolders.h"
#include "base/Rin.h"
#include "online/ConnectionStatusText.h"
#include "online/DeleteDownloadsDlg.h"
#include "online/OnlineConfigDlg.h"

#include <portix/Portix.h>
#include <portix/Status.h>

#include <new>
#include <random>

IMPLEMENT_DYNAMIC(CCloud, CObject)
// The nested exception's run-time class, written out (the class library's macro names only
// top-level classes).
const CRuntimeClass CCloud::CInitializeException::classCInitializeException = {
    "CCloud::CInitializeException", sizeof(CCloud::CInitializeException), AFX_NO_SCHEMA, NULL,
    RUNTIME_CLASS(CException)};
CRuntimeClass* CCloud::CInitializeException::GetRuntimeClass() const
{
    return const_cast<CRuntimeClass*>(&classCInitializeException);
}

namespace {

CCloud* g_pCloud = NULL;

// Our update service: the server host the engine presents the identity to, and the base address
// of its requests.
const char kDefaultHost[] = "update.veltra.example";
const char kDefaultRealm[] = "Veltra_Token";
const char kDefaultSite[] = "http://update.veltra.example/cgi-bin/";

const char kCorrupted[] = "Online configuration has been corrupted.  Online services will not be available.";
const char kInitFailure[] = "Online initialization failure (%d): %s";
const char kNotConfiguredAsk[] = "Your Internet Service Provider is not configured.  Do you want to configure it now?";
const char kConfigCancelled[] = "Online system configuration cancelled.  Online services will not be available.";
const char kConnectFailure[] = "Online connection failure (%d): %s";
const char kConnectProblem[] =
    "A problem occurred connecting to you Internet service provider (ISP).  Please verify that your ISP is "
    "connected and try your selection again. (Error code %d)";
const char kDisconnectProblem[] =
    "A problem occurred disconnecting from your Internet service provider (ISP).  Please verify that your ISP "
    "is disconnected. (Error code %d)";
const char kUnableToDisconnect[] = "Unable to disconnect (%d): %s";
const char kMustDisconnect[] = "You must disconnect before changing the online configuration.";
const char kOfferDisconnect[] = "You are currently connected online.  Do you want to disconnect now?";
const char kFolderRefused[] =
    "The folder \"%s\" cannot be used for downloaded files.  The download directory was not changed.";

CString Formatted(LPCSTR lpszFormat, int nCode)
{
    CString text;
    text.Format(lpszFormat, nCode, static_cast<LPCSTR>(GetConnectionStatusText(nCode)));
    return text;
}

BOOL IsProviderFailure(int nCode)
{
    return nCode == PTX_UNKNOWN_ERROR || nCode == PTX_UNKNOWN_ERROR_2;
}

// The identity the engine presents: a random token made once and kept in the profile.
CString GetIdentity()
{
    CString strIdentity = GetAppProfileString("Online", "Identity", NULL);
    if (!strIdentity.IsEmpty())
        return strIdentity;
    std::random_device random;
    for (int i = 0; i < 4; ++i) {
        CString part;
        part.Format("%08X", static_cast<unsigned>(random()));
        strIdentity += part;
    }
    WriteAppProfileString("Online", "Identity", strIdentity);
    return strIdentity;
}

CString WithoutTrailingBackslash(CString strPath)
{
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] == '\\')
        strPath = strPath.Left(strPath.GetLength() - 1);
    return strPath;
}

// A full, comparable form of a folder path: absolute, no trailing backslash, upper case.
CString ComparableFolder(const CString& strPath)
{
    char szFull[MAX_PATH] = {};
    DWORD n = ::GetFullPathName(strPath, sizeof szFull, szFull, NULL);
    CString strFull = (n > 0 && n < sizeof szFull) ? CString(szFull) : strPath;
    strFull = WithoutTrailingBackslash(strFull);
    strFull.MakeUpper();
    return strFull;
}

CString EnvironmentValue(LPCSTR lpszName)
{
    char szValue[MAX_PATH] = {};
    DWORD n = ::GetEnvironmentVariable(lpszName, szValue, sizeof szValue);
    return (n > 0 && n < sizeof szValue) ? CString(szValue) : CString();
}

BOOL IsLetterOrDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A name the online services download under: RIT text + ".rcv" or ".grf", or a message library
// "md..." + ".dll" or ".sig".
BOOL IsDownloadName(const CString& strName)
{
    const int nDot = strName.ReverseFind('.');
    if (nDot <= 0)
        return FALSE;
    CString strStem = strName.Left(nDot);
    CString strExt = strName.Mid(nDot + 1);
    strExt.MakeLower();
    if (strExt == "rcv" || strExt == "grf") {
        for (const RIN_KIND* pKind = g_rinKinds; pKind->szRinPattern[0] != '\0'; ++pKind)
            if (MatchDigitPattern(pKind->szRitPattern, strStem))
                return TRUE;
        return FALSE;
    }
    if (strExt == "dll" || strExt == "sig") {
        if (strStem.GetLength() < 3 || strStem.GetLength() > 32 || strStem.Left(2).CompareNoCase("md") != 0)
            return FALSE;
        for (int i = 0; i < strStem.GetLength(); ++i)
            if (!IsLetterOrDigit(strStem[i]))
                return FALSE;
        return TRUE;
    }
    return FALSE;
}

// Clears a flag when the scope ends, however it ends.
class CBusyFlag {
public:
    explicit CBusyFlag(BOOL& flag) : m_flag(flag) { m_flag = TRUE; }
    ~CBusyFlag() { m_flag = FALSE; }
    CBusyFlag(const CBusyFlag&) = delete;
    CBusyFlag& operator=(const CBusyFlag&) = delete;

private:
    BOOL& m_flag;
};

[[noreturn]] void GiveUp()
{
    AfxThrowUserException();
}

}  // namespace

CCloud::CCloud()
{
    g_pCloud = this;
}

CCloud::~CCloud()
{
    if (m_pEngine != NULL) {
        try {
            OfferDisconnectAtExit();
        } catch (CException* e) {
            e->Delete();
        }
        delete m_pEngine;
        m_pEngine = NULL;
    }
    if (g_pCloud == this)
        g_pCloud = NULL;
}

CCloud* CCloud::GetInstance()
{
    return g_pCloud;
}

UINT CCloud::StateChangeMessage()
{
    static UINT s_nMessage = ::RegisterWindowMessage("VLWM:CCloud:StateChange");
    return s_nMessage;
}

BOOL CCloud::IsDisabled() const
{
    return GetAppProfileInt("Online", "Disable", 0) != 0;
}

// ---- initialisation ----

int CCloud::Initialize()
{
    int nResult = initUnavailable;
    try {
        InitializeEngine();
        nResult = initReady;
    } catch (CInitializeException* e) {
        nResult = e->m_nCode;
        e->Delete();
    } catch (CException* e) {
        nResult = initUnavailable;
        e->Delete();
    }
    if (nResult != initReady) {
        delete m_pEngine;
        m_pEngine = NULL;
    }
    RefreshState();
    return nResult;
}

void CCloud::InitializeEngine()
{
    m_bConfigured = FALSE;
    if (IsDisabled())
        throw new CInitializeException(initUnavailable);

    CString strRealm = GetAppProfileString("Online", "Realm", kDefaultRealm);
    CString strHost = GetAppProfileString("Online", "Host", kDefaultHost);
    if (strRealm.IsEmpty() || strHost.IsEmpty()) {
        AfxMessageBox(kCorrupted);
        throw new CInitializeException(initUnavailable);
    }

    delete m_pEngine;
    m_pEngine = NULL;
    try {
        m_pEngine = new CPortix;
    } catch (std::bad_alloc&) {
        AfxMessageBox("Online initialization failure: insufficient memory.");
        AfxThrowMemoryException();
    }

    const CString strIdentity = GetIdentity();
    CAuthorizationInfo info(strIdentity, strIdentity, strRealm, strHost);
    int nCode = CPortix::SetAuthorizationInfo(info);
    if (nCode != PTX_SUCCESS) {
        AfxMessageBox(Formatted(kInitFailure, nCode));
        throw new CInitializeException(initUnavailable);
    }

    nCode = m_pEngine->Initialize();
    if (IsProviderFailure(nCode)) {
        AfxMessageBox(g_szProviderInitFailed);
        throw new CInitializeException(initUnavailable);
    }
    if (nCode != PTX_SUCCESS && nCode != PTX_NOT_CONFIGURED) {
        AfxMessageBox(Formatted(kInitFailure, nCode));
        throw new CInitializeException(initUnavailable);
    }
    // Not configured yet: Connect offers the configuration later.
    m_bConfigured = nCode != PTX_NOT_CONFIGURED;
}

void CCloud::Reconfigure()
{
    RefreshState();
    if (m_bConnected && !m_bNotOurs) {
        if (m_nState != stateOnline)
            SetState(stateOnline);
        AfxMessageBox(kMustDisconnect);
        return;
    }
    if (m_pEngine == NULL)
        return;
    m_bConfigured = FALSE;
    int nCode = PTX_NOT_CONFIGURED;
    for (;;) {
        if (m_pEngine->Configure() == PTX_CONFIG_CHANGED)
            m_bUpdatesFetched = FALSE;
        nCode = m_pEngine->Initialize();
        if (IsProviderFailure(nCode)) {
            AfxMessageBox(g_szProviderInitFailed);
            break;
        }
        if (nCode != PTX_SUCCESS && nCode != PTX_NOT_CONFIGURED) {
            if (AfxMessageBox(Formatted(kInitFailure, nCode), MB_RETRYCANCEL) == IDRETRY)
                continue;
        }
        break;
    }
    m_bConfigured = nCode != PTX_NOT_CONFIGURED;
    RefreshState();
}

// ---- connection ----

void CCloud::Connect()
{
    // A Connect while one runs (its boxes pump messages) does nothing.
    if (m_bConnectBusy)
        return;
    CBusyFlag busy(m_bConnectBusy);
    if (m_pEngine == NULL)
        GiveUp();
    RefreshState();
    if (m_bIspManaged) {
        AfxMessageBox(IsWin32s() ? g_szProviderCannotConnect : g_szProviderNotConnected);
        return;
    }
    if (!m_bConnected) {
        int nCode = m_pEngine->Connect();
        // Connect answering "not initialised" right after a successful Initialize would loop
        // for ever: the second time it counts as a failure of the provider.
        BOOL bJustInitialized = FALSE;
        while (nCode != PTX_SUCCESS) {
            if ((nCode == PTX_NOT_CONFIGURED || nCode == PTX_NOT_INITIALIZED) &&
                !(bJustInitialized && nCode == PTX_NOT_INITIALIZED)) {
                do {
                    if (nCode == PTX_NOT_CONFIGURED) {
                        m_bConfigured = FALSE;
                        if (AfxMessageBox(kNotConfiguredAsk, MB_OKCANCEL) != IDOK)
                            GiveUp();
                        nCode = m_pEngine->Configure();
                        if (nCode == PTX_CONFIG_UNCHANGED) {
                            AfxMessageBox(kConfigCancelled);
                            GiveUp();
                        }
                        if (nCode != PTX_NOT_CONFIGURED)
                            m_bConfigured = TRUE;
                        m_bUpdatesFetched = FALSE;
                    }
                    nCode = m_pEngine->Initialize();
                    if (IsProviderFailure(nCode)) {
                        AfxMessageBox(g_szProviderInitFailed);
                        GiveUp();
                    }
                    if (nCode != PTX_NOT_CONFIGURED && nCode != PTX_SUCCESS &&
                        AfxMessageBox(Formatted(kInitFailure, nCode), MB_RETRYCANCEL) != IDRETRY)
                        GiveUp();
                } while (nCode != PTX_SUCCESS);
                bJustInitialized = TRUE;
            } else if (nCode == PTX_NOT_SUPPORTED) {
                AfxMessageBox(IsWin32s() ? g_szProviderCannotConnect : g_szProviderNotConnected);
                GiveUp();
            } else {
                CString text;
                switch (nCode) {
                case PTX_MEMORY_ERROR:
                case PTX_NOT_ESTABLISHED:
                case PTX_FILE_NOT_FOUND:
                case PTX_PATH_NOT_FOUND:
                case PTX_INVALID_EXECUTABLE:
                    text = Formatted(kConnectFailure, nCode);
                    break;
                default:
                    text.Format(kConnectProblem, nCode);
                    break;
                }
                AfxMessageBox(text);
                GiveUp();
            }
            nCode = m_pEngine->Connect();
        }
        SetState(stateOnline);
        m_bConnected = TRUE;
    }
    IsOnline();
}

void CCloud::Disconnect()
{
    if (m_bDisconnectBusy || m_pEngine == NULL)
        return;
    CBusyFlag busy(m_bDisconnectBusy);
    RefreshState();
    if (m_bIspManaged) {
        AfxMessageBox(g_szProviderCannotDisconnect);
        return;
    }
    if (!m_bConnected || m_bNotOurs)
        return;
    const int nCode = m_pEngine->Disconnect();
    if (nCode == PTX_SUCCESS) {
        RefreshState();
    } else if (nCode == PTX_NOT_SUPPORTED) {
        AfxMessageBox(g_szProviderCannotDisconnect);
    } else if (IsProviderFailure(nCode)) {
        CString text;
        text.Format(kDisconnectProblem, nCode);
        AfxMessageBox(text);
    } else {
        AfxMessageBox(Formatted(kUnableToDisconnect, nCode));
    }
}

void CCloud::OfferDisconnectAtExit()
{
    RefreshState();
    if (!m_bConnected || m_bNotOurs)
        return;
    if (AfxMessageBox(kOfferDisconnect, MB_YESNO) != IDYES)
        return;
    const int nCode = m_pEngine->Disconnect();
    if (nCode == PTX_SUCCESS)
        SetState(stateOffline);
    else if (nCode == PTX_NOT_SUPPORTED)
        AfxMessageBox(g_szProviderCannotDisconnect);
}

// ---- state ----

BOOL CCloud::IsOnline()
{
    if (m_nState == stateUnknown)
        RefreshState();
    return m_nState == stateOnline || m_nState == stateDownloading;
}

int CCloud::GetConnectionState()
{
    if (m_pEngine == NULL || !m_bConfigured) {
        m_bIspNotConnected = TRUE;
        m_bNotOurs = m_bIspManaged = m_bConnected = FALSE;
        return stateOffline;
    }
    const int nCode = m_pEngine->IsConnected();
    m_bNotOurs = nCode == PTX_ALWAYS_ESTABLISHED || nCode == PTX_CONNECTED_NOT_OURS;
    m_bIspNotConnected = nCode == PTX_PROVIDER_NOT_CONNECTED;
    m_bIspManaged = nCode == PTX_CONNECTED_NOT_OURS || nCode == PTX_PROVIDER_NOT_CONNECTED;
    m_bConnected = nCode == PTX_ESTABLISHED || nCode == PTX_ALWAYS_ESTABLISHED || nCode == PTX_CONNECTED_NOT_OURS;
    if (!m_bConnected)
        return stateOffline;
    return m_bDownloading >= 1 ? stateDownloading : stateOnline;
}

int CCloud::RefreshState()
{
    int nState = GetConnectionState();
    if (nState != m_nState)
        SetState(nState);
    return nState;
}

void CCloud::SetState(int nState)
{
    if (nState != m_nState) {
        for (INT_PTR i = 0; i < m_windows.GetSize(); ++i) {
            HWND hWnd = static_cast<HWND>(m_windows[i]);
            if (::IsWindow(hWnd))
                ::PostMessage(hWnd, StateChangeMessage(), WPARAM(nState), 0);
        }
    }
    m_nState = nState;
}

int CCloud::RegisterWindow(CWnd* pWnd)
{
    if (pWnd != NULL && pWnd->GetSafeHwnd() != NULL)
        m_windows.Add(pWnd->GetSafeHwnd());
    return m_nState;
}

void CCloud::Enable()
{
    AfxThrowNotSupportedException();
}

void CCloud::Disable()
{
    AfxThrowNotSupportedException();
}

// ---- the download folder ----

BOOL CCloud::IsDownloadDirValid(CString strPath)
{
    strPath = WithoutTrailingBackslash(strPath);
    if (strPath.IsEmpty())
        return FALSE;
    const DWORD dwAttributes = ::GetFileAttributes(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL CCloud::IsDownloadDirUsable(CString strPath)
{
    strPath = WithoutTrailingBackslash(strPath);
    if (strPath.IsEmpty() || !IsDownloadDirValid(strPath))
        return FALSE;
    const CString strFolder = ComparableFolder(strPath);
    // A drive root ("C:") or a share's root ("\\SERVER\SHARE").
    if (strFolder.GetLength() <= 2)
        return FALSE;
    if (strFolder.Left(2) == "\\\\") {
        const int nServerEnd = strFolder.Find('\\', 2);
        if (nServerEnd < 0 || strFolder.Find('\\', nServerEnd + 1) < 0)
            return FALSE;
    }
    CStringArray forbidden;
    forbidden.Add(GetProgramDir());
    char szWindows[MAX_PATH] = {};
    UINT n = ::GetWindowsDirectory(szWindows, sizeof szWindows);
    if (n > 0 && n < sizeof szWindows)
        forbidden.Add(szWindows);
    forbidden.Add(EnvironmentValue("USERPROFILE"));
    forbidden.Add(EnvironmentValue("HOMEDRIVE") + EnvironmentValue("HOMEPATH"));
    for (INT_PTR i = 0; i < forbidden.GetSize(); ++i)
        if (!forbidden[i].IsEmpty() && ComparableFolder(forbidden[i]) == strFolder)
            return FALSE;
    return TRUE;
}

BOOL CCloud::PrepareDownloadDir()
{
    CString strDir = GetProgramDir();
    AppendBackslash(strDir);
    strDir += "download\\";
    SetDownloadDir(strDir);
    const CString strFolder = WithoutTrailingBackslash(strDir);
    if (!IsDownloadDirValid(strFolder))
        ::CreateDirectory(strFolder, NULL);
    return IsDownloadDirUsable(strFolder);
}

void CCloud::DeleteDownloads()
{
    CDeleteDownloadsDlg dlg(AfxGetMainWnd());
    if (dlg.DoModal() != IDOK)
        return;
    DeleteDownloadedFiles(dlg.GetChoice());
}

void CCloud::DeleteDownloadedFiles(int nChoice)
{
    const CString strDir = GetDownloadDir();
    // Never a pattern deletion in a folder that is no download folder of ours.
    if (!IsDownloadDirUsable(strDir))
        return;
    if (nChoice == deleteAll) {
        static const char* const kPatterns[] = {"*.rcv", "*.grf", "md*.dll", "md*.sig"};
        for (const char* pattern : kPatterns) {
            WIN32_FIND_DATA find{};
            HANDLE hFind = ::FindFirstFile(strDir + pattern, &find);
            if (hFind == INVALID_HANDLE_VALUE)
                continue;
            CStringArray names;
            do {
                if ((find.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0 &&
                    IsDownloadName(find.cFileName))
                    names.Add(find.cFileName);
            } while (::FindNextFile(hFind, &find));
            ::FindClose(hFind);
            for (INT_PTR i = 0; i < names.GetSize(); ++i)
                ::DeleteFile(strDir + names[i]);
        }
    } else {
        CWaitCursor wait;
        for (INT_PTR i = 0; i < m_downloadedFiles.GetSize(); ++i) {
            const CString& strName = m_downloadedFiles[i];
            // Only plain names of this folder.
            if (strName.FindOneOf("\\/:") < 0 && IsDownloadName(strName))
                ::DeleteFile(strDir + strName);
        }
    }
    m_downloadedFiles.RemoveAll();
}

BOOL CCloud::CopyDownloadFolder(const CString& strOld, const CString& strNew)
{
    // A download folder that was never made holds nothing to carry over.
    if (::GetFileAttributes(WithoutTrailingBackslash(strOld)) == INVALID_FILE_ATTRIBUTES)
        return TRUE;
    WIN32_FIND_DATA find{};
    HANDLE hFind = ::FindFirstFile(strOld + "*.*", &find);
    if (hFind == INVALID_HANDLE_VALUE) {
        const DWORD dwError = ::GetLastError();
        if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_NO_MORE_FILES)
            return TRUE;
        AfxMessageBox("Unable to open the old cache directory\nPlease be sure the path entered is a valid directory",
                      MB_ICONSTOP);
        return FALSE;
    }
    BOOL bCopied = TRUE;
    do {
        if ((find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        if (!::CopyFile(strOld + find.cFileName, strNew + find.cFileName, FALSE)) {
            AfxMessageBox("Unable to create the new cache directory\nPlease be sure the path entered is a valid directory",
                          MB_ICONSTOP);
            bCopied = FALSE;
            break;
        }
    } while (::FindNextFile(hFind, &find));
    ::FindClose(hFind);
    return bCopied;
}

void CCloud::RunConfigurationDialog()
{
    try {
        const CString strOld = GetDownloadDir();
        COnlineConfigDlg dlg(AfxGetMainWnd());
        dlg.m_strFolder = strOld;
        if (dlg.DoModal() != IDOK)
            return;
        CString strNew = dlg.m_strFolder;
        if (strNew.IsEmpty() || strNew[strNew.GetLength() - 1] != '\\')
            strNew += '\\';
        if (strNew == strOld)
            return;
        // The same folder spelt otherwise: copying its files onto themselves could only harm them.
        if (IsDownloadDirValid(strOld) && IsDownloadDirValid(strNew) && ComparableFolder(strNew) == ComparableFolder(strOld))
            return;
        if (!IsDownloadDirUsable(strNew)) {
            CString text;
            text.Format(kFolderRefused, static_cast<LPCSTR>(dlg.m_strFolder));
            AfxMessageBox(text, MB_ICONSTOP);
            return;
        }
        AfxMessageBox("Please Wait while the new cache directory is prepared\nThank You for your patience", MB_ICONSTOP);
        CWaitCursor wait;
        if (CopyDownloadFolder(strOld, strNew))
            SetDownloadDir(strNew);
    } catch (CMemoryException* e) {
        e->Delete();
        AfxMessageBox("Insufficient memory to complete operation.");
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    }
}

// ---- the message centre ----

CString CCloud::GetObjectUrl()
{
    CString strSite = GetAppProfileString("Online", "Site", kDefaultSite);
    if (strSite.IsEmpty()) {
        AfxMessageBox("Online features not properly configured: [Online] Site entry missing.");
        GiveUp();
    }
    CString strObject = GetAppProfileString("Online", "Get_Object", "nph-get_object/");
    if (strObject.IsEmpty()) {
        AfxMessageBox("Online features not properly configured: [Online] Get_Object entry missing");
        GiveUp();
    }
    return strSite + strObject;
}

FARPROC CCloud::BindMessageCenter(LPCSTR lpszExport, LPCSTR lpszMissingText, HMODULE& hLibrary)
{
    hLibrary = ::LoadLibrary(GetProgramDir() + "bulletin.dll");
    if (hLibrary == NULL)
        return NULL;
    FARPROC pfn = ::GetProcAddress(hLibrary, lpszExport);
    if (pfn == NULL) {
        AfxMessageBox(lpszMissingText);
        ::FreeLibrary(hLibrary);
        hLibrary = NULL;
    }
    return pfn;
}

namespace {
typedef void (*MESSAGECENTERPROC)(const CString& updates, const CString& objectUrl, const CString& downloadDir);
typedef int (*PARSEUPDATEPROC)(const CString& updates);
}  // namespace

void CCloud::RunMessageCenter()
{
    const CString strDir = GetDownloadDir();
    const CString strUpdates = strDir + "online.upd";
    const CString strUrl = GetObjectUrl();
    HMODULE hLibrary = NULL;
    auto pfn = reinterpret_cast<MESSAGECENTERPROC>(BindMessageCenter(
        "vlMessageCenter", "Unable to locate vlMessageCenter function in Message Center library.", hLibrary));
    if (pfn == NULL)
        return;
    pfn(strUpdates, strUrl, strDir);
    ::FreeLibrary(hLibrary);
    m_bMessagesWaiting = FALSE;
}

void CCloud::ShowMessageCenter()
{
    const CString strDir = GetDownloadDir();
    const CString strUpdates = strDir + "online.upd";
    const CString strUrl = GetObjectUrl();
    HMODULE hLibrary = NULL;
    auto pfn = reinterpret_cast<MESSAGECENTERPROC>(BindMessageCenter(
        "vlMessageCenterShow", "Unable to locate vlMessageCenterShow function in Message Center library.", hLibrary));
    if (pfn == NULL)
        return;
    pfn(strUpdates, strUrl, strDir);
    ::FreeLibrary(hLibrary);
}

int CCloud::ParseMessageUpdates()
{
    const CString strUpdates = GetDownloadDir() + "online.upd";
    HMODULE hLibrary = NULL;
    auto pfn = reinterpret_cast<PARSEUPDATEPROC>(BindMessageCenter(
        "vlMessageCenterParseUpdate", "Unable to locate vlMessageCenterParseUpdate function in Message Center library.",
        hLibrary));
    if (pfn == NULL)
        return 0;
    const int n = pfn(strUpdates);
    ::FreeLibrary(hLibrary);
    if (n > 0) {
        CString text;
        text.Format("You have %d new message%s", n, n == 1 ? "." : "s.");
        ::MessageBox(NULL, text, "Veltra Message Centre", MB_ICONINFORMATION);
    }
    return n;
}
