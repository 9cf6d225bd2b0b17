#include "base/DataFolders.h"

#include "base/AppHost.h"

#include "base/AppServices.h"
#include "base/RomFile.h"

#include "resource.h"

#include <cstdlib>
#include <cstring>

namespace {

const char kInfoDat[] = "info_dat\\";

// How long the reader's OK to "insert disc into drive" keeps us polling the drive, and how often.
const DWORD kDrivePollMilliseconds = 8000;
const DWORD kDrivePollInterval = 200;
// The pause after the reader's OK to "insert disc" before the drives are searched again.
const DWORD kDiscSearchPause = 3000;

// The program's full module path.
CString ProgramPath()
{
    char szPath[MAX_PATH];
    DWORD n = GetModuleFileName(NULL, szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return CString();
    return CString(szPath, static_cast<int>(n));
}

// TRUE when the volume label of the drive can be read and equals the label (case ignored). A
// label that cannot be read counts as another disc.
BOOL DriveHoldsDisc(LPCSTR lpszRoot, const CString& strLabel)
{
    char szVolume[MAX_PATH];
    if (!GetVolumeInformation(lpszRoot, szVolume, sizeof szVolume, NULL, NULL, NULL, NULL, 0))
        return FALSE;
    return strLabel.CompareNoCase(szVolume) == 0;
}

void TellCurrentView(int nDisc, LPARAM lFound)
{
    CWnd* pView = AppServices().ui.pCurrentView;
    if (pView != NULL)
        pView->SendMessage(WM_VL_DISC_SEARCH, static_cast<WPARAM>(nDisc), lFound);
}

// The subfolder of "info_dat\" for a kind of folder; FALSE for a kind outside the table.
BOOL SubfolderOf(int nType, CString& strSubfolder)
{
    switch (nType) {
    case DDT_DISC_ROOT:
    case DDT_INFO_DAT:
    case DDT_INFO_DAT2:
    case DDT_INFO_DAT11:
    case DDT_INFO_DAT12:
    case DDT_INFO_DAT13:
    case DDT_INFO_DAT14:
        strSubfolder.Empty();
        return TRUE;
    case DDT_MOVIES:
    case DDT_MOVIES2:
        strSubfolder = "Movies\\";
        return TRUE;
    case DDT_PHOTO:
        strSubfolder = "Photo\\";
        return TRUE;
    case DDT_SOUND:
        strSubfolder = "Sound\\";
        return TRUE;
    case DDT_RESOURCE:
        strSubfolder = "Resource\\";
        return TRUE;
    case DDT_WIZARDS:
        strSubfolder = "Wizards\\";
        return TRUE;
    case DDT_JUBILEE:
        strSubfolder = "VlJubl\\";
        return TRUE;
    case DDT_SIMS:
        strSubfolder = "Sims\\";
        return TRUE;
    default:
        return FALSE;
    }
}

// The disc in the drive that the settings name ([File Locations] "CD1", a root with its
// backslash). With bPrompt the reader is asked until the disc is there; after each OK the drive
// is polled for a while. Cancel throws CUserException.
CString FindDiscInNamedDrive(const CString& strDrive, const CString& strLabel, int nDisc, BOOL bPrompt)
{
    if (DriveHoldsDisc(strDrive, strLabel))
        return strDrive;
    if (!bPrompt)
        return CString();

    TellCurrentView(nDisc, 0);
    CString strPrompt;
    strPrompt.Format("Please insert disc %d into drive %s", nDisc, static_cast<LPCSTR>(strDrive.Left(2)));
    for (;;) {
        if (AfxMessageBox(strPrompt, MB_OKCANCEL) != IDOK)
            AfxThrowUserException();
        CWaitCursor wait;
        const DWORD dwStart = GetTickCount();
        for (;;) {
            if (DriveHoldsDisc(strDrive, strLabel))
                return strDrive;
            if (GetTickCount() - dwStart >= kDrivePollMilliseconds)
                break;
            Sleep(kDrivePollInterval);
        }
    }
}

// The disc in one of the CD-ROM drives: the drive it was found in last, else the first drive of
// the list that holds it (remembered for next time). With bPrompt the reader is asked until it is
// found or the prompt is cancelled; the current view hears of the search.
CString FindDiscInCDRomDrives(const CString& strLabel, int nDisc, BOOL bPrompt)
{
    VL_APP_SERVICES& services = AppServices();
    const WORD wDisc = static_cast<WORD>(nDisc);
    CString strFound;

    int nCached = -1;
    if (services.env.discDrives.Lookup(wDisc, nCached)) {
        if (nCached >= 0 && nCached < services.env.cdromDrives.GetSize() &&
            DriveHoldsDisc(services.env.cdromDrives[nCached], strLabel))
            strFound = services.env.cdromDrives[nCached];
        else
            services.env.discDrives.RemoveKey(wDisc);
    }
    if (!strFound.IsEmpty())
        return strFound;

    BOOL bViewTold = FALSE;
    if (bPrompt && services.ui.pCurrentView != NULL) {
        TellCurrentView(nDisc, 0);
        bViewTold = TRUE;
    }
    for (;;) {
        for (int i = 0; i < services.env.cdromDrives.GetSize(); ++i) {
            if (DriveHoldsDisc(services.env.cdromDrives[i], strLabel)) {
                strFound = services.env.cdromDrives[i];
                services.env.discDrives.SetAt(wDisc, i);
                break;
            }
        }
        if (!strFound.IsEmpty() || !bPrompt)
            break;
        CString strPrompt;
        strPrompt.Format("Please insert Disc %d.", nDisc);
        if (AfxMessageBox(strPrompt, MB_OKCANCEL) != IDOK)
            break;
        CWaitCursor wait;
        if (CWnd* pMainWnd = AfxGetMainWnd())
            pMainWnd->UpdateWindow();
        Sleep(kDiscSearchPause);
    }
    if (bViewTold)
        TellCurrentView(nDisc, strFound.IsEmpty() ? 0 : 1);
    return strFound;
}

// GetDataDir from the settings on: the steps that may throw (Cancel, an unknown kind).
BOOL ResolveDataDir(CString& strDir, int nType, int nDisc, BOOL bPrompt)
{
    strDir.Empty();
    const CString strLabel = GetDiscLabel(nDisc);

    // Folders that the settings may name outright: no disc needed.
    if (nType == DDT_WIZARDS || nType == DDT_JUBILEE) {
        strDir = GetAppProfileString("Files", nType == DDT_WIZARDS ? "Wizards" : "Jubilee", NULL);
        AppendBackslash(strDir);
        if (!strDir.IsEmpty())
            return TRUE;
    }

    // [Files] "DataDir" stands for the disc's "info_dat\" folder (never for the disc root).
    if (nType != DDT_DISC_ROOT) {
        strDir = GetAppProfileString("Files", "DataDir", NULL);
        AppendBackslash(strDir);
    }
    if (strDir.IsEmpty()) {
        CString strDrive = GetAppProfileString("File Locations", "CD1", NULL);
        if (!strDrive.IsEmpty()) {
            AppendBackslash(strDrive);
            strDir = FindDiscInNamedDrive(strDrive, strLabel, nDisc, bPrompt);
        } else {
            strDir = FindDiscInCDRomDrives(strLabel, nDisc, bPrompt);
        }
        if (strDir.IsEmpty())
            return FALSE;
        if (nType != DDT_DISC_ROOT)
            strDir += kInfoDat;
    }

    // strDir is the "info_dat\" folder (or the folder standing for it), or the disc root for
    // type 0.
    const CString strInfoDat = nType == DDT_DISC_ROOT ? strDir + kInfoDat : strDir;
    CString strSubfolder;
    if (!SubfolderOf(nType, strSubfolder)) {
        AfxMessageBox("Unknown DataDirType.", MB_ICONEXCLAMATION);
        AfxThrowNotSupportedException();
    }
    strDir += strSubfolder;

    // Disc files released at a disc change reopen in the disc's data folder.
    if (nDisc == 1)
        CRomFile::ReopenAll(strInfoDat);
    else if (nDisc == 0)
        CRomFile::ReleaseAll();
    return TRUE;
}

}  // namespace

CString GetAppProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    CWinApp* pApp = AfxGetApp();
    ASSERT(pApp != NULL);
    if (pApp == NULL)
        return CString(lpszDefault != NULL ? lpszDefault : "");
    return pApp->GetProfileString(lpszSection, lpszEntry, lpszDefault != NULL ? lpszDefault : "");
}

BOOL WriteAppProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    CWinApp* pApp = AfxGetApp();
    ASSERT(pApp != NULL);
    BOOL bWritten = pApp != NULL && pApp->WriteProfileString(lpszSection, lpszEntry, lpszValue);
    if (lpszSection != NULL && (lstrcmpi(lpszSection, "Files") == 0 || lstrcmpi(lpszSection, "File Locations") == 0))
        DataFoldersChanged();
    return bWritten;
}

namespace {
DWORD g_dwDataFolderGeneration = 1;
}  // namespace

DWORD DataFolderGeneration() { return g_dwDataFolderGeneration; }

void DataFoldersChanged() { ++g_dwDataFolderGeneration; }

int GetAppProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    CString strDefault;
    strDefault.Format("%d", nDefault);
    return std::atoi(GetAppProfileString(lpszSection, lpszEntry, strDefault));
}

BOOL WriteAppProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    CString strValue;
    strValue.Format("%d", nValue);
    return WriteAppProfileString(lpszSection, lpszEntry, strValue);
}

CString MakeAppProfilePath(LPCSTR lpszProgramPath)
{
    CString strPath = lpszProgramPath != NULL ? lpszProgramPath : "";
    if (strPath.GetLength() < 3)
        return CString();
    return strPath.Left(strPath.GetLength() - 3) + "ini";
}

BOOL InstallAppProfilePath()
{
    VL_APP_SERVICES& services = AppServices();
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return FALSE;
    const CString strPath = MakeAppProfilePath(ProgramPath());
    if (strPath.IsEmpty())
        return FALSE;
    HGLOBAL hBlock = GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(strPath.GetLength()) + 1);
    if (hBlock == NULL)
        return FALSE;
    LPSTR pszPath = static_cast<LPSTR>(GlobalLock(hBlock));
    std::memcpy(pszPath, static_cast<LPCSTR>(strPath), static_cast<size_t>(strPath.GetLength()) + 1);

    if (services.env.hProfilePath != NULL) {
        // Installed before: the framework's value is kept aside already.
        GlobalUnlock(services.env.hProfilePath);
        GlobalFree(services.env.hProfilePath);
    } else {
        services.env.pszFrameworkProfileName = pApp->m_pszProfileName;
    }
    services.env.hProfilePath = hBlock;
    pApp->m_pszProfileName = pszPath;
    DataFoldersChanged();
    return TRUE;
}

void RestoreFrameworkProfileName()
{
    VL_APP_SERVICES& services = AppServices();
    if (services.env.hProfilePath == NULL)
        return;
    if (CWinApp* pApp = AfxGetApp())
        pApp->m_pszProfileName = services.env.pszFrameworkProfileName;
    services.env.pszFrameworkProfileName = NULL;
    GlobalUnlock(services.env.hProfilePath);
    GlobalFree(services.env.hProfilePath);
    services.env.hProfilePath = NULL;
    DataFoldersChanged();
}

CString GetProgramDir()
{
    CString strPath = ProgramPath();
    return strPath.Left(strPath.ReverseFind('\\') + 1);
}

CString GetDownloadDir()
{
    CString strDir = GetAppProfileString("Online", "Download", NULL);
    if (strDir.IsEmpty())
        return GetProgramDir() + "download\\";
    AppendBackslash(strDir);
    return strDir;
}

void SetDownloadDir(LPCSTR lpszPath)
{
    WriteAppProfileString("Online", "Download", lpszPath);
}

CString GetDiscLabel(int /*nDisc: only disc 1 is served*/)
{
    CString strLabel = GetAppProfileString("Files", "CD1Label", NULL);
    if (strLabel.IsEmpty())
        strLabel.LoadString(IDS_DISC1_LABEL);
    return strLabel;
}

BOOL IsWin32s()
{
    OSVERSIONINFO info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionEx(&info))
        return FALSE;
    return info.dwPlatformId == VER_PLATFORM_WIN32s;
}

void BuildCDRomDriveList(CStringArray& drives, BOOL bWin32s)
{
    drives.RemoveAll();
    CStringArray candidates;
    if (bWin32s) {
        for (char chDrive = 'a'; chDrive <= 'z'; ++chDrive) {
            char szRoot[] = {chDrive, ':', '\\', '\0'};
            candidates.Add(szRoot);
        }
    } else {
        char szDrives[256];
        DWORD n = GetLogicalDriveStrings(sizeof szDrives, szDrives);
        if (n > 0 && n < sizeof szDrives) {
            for (LPCSTR p = szDrives; *p != '\0'; p += std::strlen(p) + 1)
                candidates.Add(p);
        }
    }
    for (int i = 0; i < candidates.GetSize(); ++i) {
        if (GetDriveType(candidates[i]) == DRIVE_CDROM)
            drives.Add(candidates[i]);
    }
}

void AppendBackslash(CString& strPath)
{
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] != '\\')
        strPath += '\\';
}

BOOL GetDataDir(CString& strDir, int nType, int nDisc, BOOL bPrompt)
{
    if (nDisc > 1)
        AfxThrowNotSupportedException();
    try {
        if (ResolveDataDir(strDir, nType, nDisc, bPrompt))
            return TRUE;
    } catch (CUserException* e) {
        e->Delete();
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    }
    strDir.Empty();
    return FALSE;
}

BOOL LocateFirstDisc()
{
    if (!GetAppProfileString("Files", "DataDir", NULL).IsEmpty())
        return TRUE;
    try {
        for (;;) {
            CString strDir;
            if (GetDataDir(strDir, DDT_INFO_DAT, 1, TRUE))
                return TRUE;
            if (GetAppHost().RunPreferencesDialog() != IDOK)
                return FALSE;
        }
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
}
