#include "base/PreferencesStore.h"

#include "base/DataFolders.h"

#include <afxwin.h>

#include <cstdlib>

namespace {

struct PREFERENCE_ROW {
    LPCSTR pszSection;
    LPCSTR pszFlagKey;
    LPCSTR pszNumberKey;
    LPCSTR pszTextKey;
    BOOL bFlagDefault;
    LONG nNumberDefault;
    int nKind;
};

const char kOptimizer[] = "Network Optimizer";
const char kLocations[] = "File Locations";
const char kOptions[] = "Program Options";
const char kAccess[] = "Access Control";

// The entries in index order; entry 0 has no keys. Entries 1 to 10 and 26 to 35 read the same
// flag keys: the first group carries the folders, the second the flags alone.
const PREFERENCE_ROW kRows[PreferencesStore::entryCount] = {
    {NULL, NULL, NULL, NULL, 0, 0, 0},
    {kOptimizer, "ACD1", NULL, "ACD1L", 0, 0, 2},
    {kOptimizer, "ACD2", NULL, "ACD2L", 0, 0, 3},
    {kOptimizer, "V1E", NULL, "V1L", 0, 0, 2},
    {kOptimizer, "BVE", NULL, "BVL", 0, 0, 2},
    {kOptimizer, "SFE", NULL, "SFL", 0, 0, 2},
    {kOptimizer, "KFE", NULL, "KFL", 0, 0, 2},
    {kOptimizer, "AME", NULL, "AML", 0, 0, 2},
    {kOptimizer, "V2E", NULL, "V2L", 0, 0, 3},
    {kOptimizer, "AFE", NULL, "AFL", 0, 0, 3},
    {kOptimizer, "ASE", NULL, "ASL", 0, 0, 3},
    {kLocations, "ASG", NULL, NULL, 0, 0, 0},
    {kLocations, "WSG", NULL, NULL, 0, 0, 0},
    {kLocations, "NSG", NULL, NULL, 0, 0, 0},
    {kLocations, "CD1G", NULL, NULL, 0, 0, 0},
    {kLocations, "CD2G", NULL, NULL, 0, 0, 0},
    {kLocations, "PSG", NULL, NULL, 0, 0, 0},
    {kLocations, "TSG", NULL, NULL, 0, 0, 0},
    {kLocations, NULL, NULL, "AAL", 0, 0, 1},
    {kLocations, NULL, NULL, "WFL", 0, 0, 1},
    {kLocations, NULL, NULL, "NFL", 0, 0, 1},
    {kLocations, NULL, NULL, "CD1", 1, 0, 2},
    {kLocations, NULL, NULL, "CD2", 1, 0, 3},
    {kLocations, NULL, NULL, "PFL", 0, 0, 1},
    {kLocations, NULL, NULL, "DFL", 0, 0, 1},
    {kLocations, NULL, NULL, "TFL", 0, 0, 1},
    {kOptimizer, "ACD1", NULL, NULL, 0, 0, 0},
    {kOptimizer, "ACD2", NULL, NULL, 0, 0, 0},
    {kOptimizer, "V1E", NULL, NULL, 0, 0, 0},
    {kOptimizer, "BVE", NULL, NULL, 0, 0, 0},
    {kOptimizer, "SFE", NULL, NULL, 0, 0, 0},
    {kOptimizer, "KFE", NULL, NULL, 0, 0, 0},
    {kOptimizer, "AME", NULL, NULL, 0, 0, 0},
    {kOptimizer, "V2E", NULL, NULL, 0, 0, 0},
    {kOptimizer, "AFE", NULL, NULL, 0, 0, 0},
    {kOptimizer, "ASE", NULL, NULL, 0, 0, 0},
    {kLocations, "AAS", NULL, NULL, 1, 0, 0},
    {kLocations, "AWS", NULL, NULL, 1, 0, 0},
    {kOptimizer, "ANS", NULL, NULL, 1, 0, 0},
    {kOptions, "ESN", NULL, NULL, 1, 0, 0},
    {kOptions, "LPL", NULL, NULL, 0, 0, 0},
    {kAccess, "Locked", NULL, NULL, 1, 0, 0},
    {kOptions, "ECW", NULL, NULL, 1, 0, 0},
    {kOptions, "ERW", NULL, NULL, 1, 0, 0},
    {kOptions, "ETW", NULL, NULL, 1, 0, 0},
    {kOptions, "EWW", NULL, NULL, 1, 0, 0},
    {kOptions, "EQW", NULL, NULL, 1, 0, 0},
    {kOptions, "ENP", NULL, NULL, 1, 0, 0},
    {kOptions, "EGP", NULL, NULL, 1, 0, 0},
    {kOptions, "EVA", NULL, NULL, 1, 0, 0},
    {kOptions, "ESC", NULL, NULL, 1, 0, 0},
    {kOptions, "PAA", NULL, NULL, 1, 0, 0},
    {kAccess, "AWA", NULL, NULL, 1, 0, 0},
    {kAccess, "AFD", NULL, NULL, 1, 0, 0},
    {kOptions, NULL, "VID", NULL, 0, 1, 0},
    {kOptions, NULL, "MP", NULL, 0, 1, 0},
    {kLocations, "UNO", NULL, NULL, 1, 0, 0},
};

// The framework's profile read (the store is made before the application's own profile path is
// installed).
CString ReadProfile(LPCSTR lpszSection, LPCSTR lpszKey)
{
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL ? pApp->GetProfileString(lpszSection, lpszKey, "") : CString();
}

// TRUE when a directory search finds the folder (a trailing backslash removed).
BOOL FolderExists(CString strFolder)
{
    if (!strFolder.IsEmpty() && strFolder[strFolder.GetLength() - 1] == '\\')
        strFolder = strFolder.Left(strFolder.GetLength() - 1);
    if (strFolder.IsEmpty())
        return FALSE;
    WIN32_FIND_DATA data;
    HANDLE hFind = ::FindFirstFile(strFolder, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    ::FindClose(hFind);
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

PreferencesStore::PreferencesStore()
{
    Load();
}

void PreferencesStore::Load()
{
    m_strDataDir = ReadProfile("Files", "DataDir");
    m_strCD2 = ReadProfile("Files", "CD2");
    m_nInstallMode = 0;
    if (!m_strDataDir.IsEmpty())
        m_nInstallMode |= installDisc1OnDisk;
    if (!m_strCD2.IsEmpty())
        m_nInstallMode |= installDisc2OnDisk;
    m_strDisc1Folder.Empty();
    m_strDisc2Folder.Empty();

    for (int i = 0; i < entryCount; ++i) {
        const PREFERENCE_ROW& row = kRows[i];
        Entry& entry = m_entries[i];
        entry = Entry();
        entry.bEnabled = row.bFlagDefault;
        entry.nNumber = row.nNumberDefault;
        entry.nKind = row.nKind;
        if (row.pszFlagKey != NULL) {
            CString strValue = ReadProfile(row.pszSection, row.pszFlagKey);
            if (!strValue.IsEmpty())
                entry.bEnabled = std::atoi(strValue) == 1 ? TRUE : FALSE;
        }
        if (row.pszNumberKey != NULL) {
            CString strValue = ReadProfile(row.pszSection, row.pszNumberKey);
            if (!strValue.IsEmpty())
                entry.nNumber = std::atoi(strValue);
        }
        if (row.pszTextKey != NULL) {
            CString strValue = ReadProfile(row.pszSection, row.pszTextKey);
            if (!strValue.IsEmpty())
                entry.strText = strValue;
        }
    }

    // Folders that default to the program's own.
    const CString strProgramDir = GetProgramDir();
    if (m_entries[18].strText.IsEmpty())
        m_entries[18].strText = strProgramDir;
    if (m_entries[25].strText.IsEmpty())
        m_entries[25].strText = strProgramDir;
    if (m_entries[23].strText.IsEmpty() || !FolderExists(m_entries[23].strText))
        m_entries[23].strText = strProgramDir;

    if (m_nInstallMode & installDisc1OnDisk) {
        for (int i : {1, 3, 4, 5, 6, 7, 26, 28, 29, 30, 31, 32})
            m_entries[i].bEnabled = FALSE;
        m_strDisc1Folder = m_strDataDir;
    } else if (!m_entries[21].strText.IsEmpty()) {
        m_strDisc1Folder = m_entries[21].strText + "\\info_dat\\";
    }
    if (m_nInstallMode & installDisc2OnDisk) {
        for (int i : {2, 8, 9, 10, 27, 33, 34, 35})
            m_entries[i].bEnabled = FALSE;
        m_strDisc2Folder = m_strCD2;
    } else if (!m_entries[22].strText.IsEmpty()) {
        m_strDisc2Folder = m_entries[22].strText + "\\info_dat\\";
    }

    // Without "UNO" nothing is read over the network.
    if (!m_entries[56].bEnabled) {
        for (int i = 1; i <= 10; ++i)
            m_entries[i].bEnabled = FALSE;
        for (int i = 26; i <= 35; ++i)
            m_entries[i].bEnabled = FALSE;
    }

    if (m_entries[1].bEnabled) {
        AppendBackslash(m_entries[1].strText);
        const CString& strBase = m_entries[1].strText;
        m_entries[3].strText = strBase + "info_dat\\Movies\\";
        m_entries[4].strText = strBase + "info_dat\\Photo\\";
        m_entries[5].strText = strBase + "info_dat\\Sound\\";
        m_entries[6].strText = strBase + "info_dat\\";
        m_entries[7].strText = strBase + "info_dat\\";
    }
    if (m_entries[2].bEnabled) {
        AppendBackslash(m_entries[2].strText);
        const CString& strBase = m_entries[2].strText;
        m_entries[8].strText = strBase + "info_dat\\Movies\\";
        m_entries[9].strText = strBase + "info_dat\\Movies\\";
        m_entries[10].strText = strBase + "info_dat\\Sims\\";
    }

    for (int i : {18, 19, 20, 23, 25, 24, 3, 4, 5, 6, 7, 8, 9, 10})
        AppendBackslash(m_entries[i].strText);

    if (!m_entries[1].bEnabled) {
        for (int i = 3; i <= 7; ++i)
            if (!m_entries[i].bEnabled)
                m_entries[i].strText.Empty();
    }
    if (!m_entries[2].bEnabled) {
        for (int i = 8; i <= 10; ++i)
            if (!m_entries[i].bEnabled)
                m_entries[i].strText.Empty();
    }
}
