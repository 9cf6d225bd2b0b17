// The application's profile file and data folders.
//
// Every setting of the program lives in one INI file beside the program (its path with the
// extension "ini"), read and written through GetAppProfileString and WriteAppProfileString.
// Content lives on disc 1 in a CD-ROM drive, or in a folder that [Files] "DataDir" names;
// GetDataDir turns a request for a kind of folder into a path, searching the settings, the CD-ROM
// drives and their volume labels, and asking the reader to insert the disc.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

// The kind of data folder a caller wants.
enum DataDirType {
    DDT_DISC_ROOT = 0,   // the disc root itself, such as "E:\"
    DDT_INFO_DAT = 1,    // root + "info_dat\" (so are 2 and 11 to 14)
    DDT_INFO_DAT2 = 2,
    DDT_MOVIES = 3,      // root + "info_dat\Movies\" (so is 4)
    DDT_MOVIES2 = 4,
    DDT_PHOTO = 5,       // root + "info_dat\Photo\"
    DDT_SOUND = 6,       // root + "info_dat\Sound\"
    DDT_RESOURCE = 7,    // root + "info_dat\Resource\"
    DDT_WIZARDS = 8,     // [Files] "Wizards" when set, else root + "info_dat\Wizards\"
    DDT_JUBILEE = 9,     // [Files] "Jubilee" when set, else root + "info_dat\VlJubl\"
    DDT_SIMS = 10,       // root + "info_dat\Sims\"
    DDT_INFO_DAT11 = 11,
    DDT_INFO_DAT12 = 12,
    DDT_INFO_DAT13 = 13,
    DDT_INFO_DAT14 = 14,
};

// Sent to the frame's current view while GetDataDir looks for a disc (prompting allowed):
// wParam the disc number; lParam 0 before the first prompt, and after the search 1 when the disc
// was found, 0 when not.
#define WM_VL_DISC_SEARCH (WM_USER + 10)

// The product's own section of the profile.
#define VL_PRODUCT_SECTION "Veltra Jubilee 2000 (International)"

// Reads a setting of the profile file; a null default reads as empty.
CString GetAppProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault);
// Writes a setting of the profile file; the framework's success flag.
BOOL WriteAppProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
// A setting read as a whole number (its leading digits; the default when it is absent) and
// written as one.
int GetAppProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
BOOL WriteAppProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);

// The application's profile path: the program's full path with its last three characters
// replaced by "ini". InstallAppProfilePath makes it the framework's profile-file name (held in a
// block of global memory) and keeps the framework's own value aside; RestoreFrameworkProfileName
// puts that back at exit. FALSE when the program's path cannot be had.
CString MakeAppProfilePath(LPCSTR lpszProgramPath);
BOOL InstallAppProfilePath();
void RestoreFrameworkProfileName();

// Ends a non-empty path with a backslash when it has none.
void AppendBackslash(CString& strPath);
// Moves on whenever the data folders may have moved: a write to the [Files] or [File Locations]
// settings, another profile file, a disc change, a reset of the program's services. A reader that
// keeps a disc file open looks its folder up again when the number is not the one it opened at.
DWORD DataFolderGeneration();
void DataFoldersChanged();

// The program's folder, with its trailing backslash.
CString GetProgramDir();
// [Online] "Download" with a trailing backslash, or the program folder + "download\" when empty.
CString GetDownloadDir();
void SetDownloadDir(LPCSTR lpszPath);

// The expected volume label of disc 1: [Files] "CD1Label", or string resource 363 when empty.
CString GetDiscLabel(int nDisc);

// TRUE on the 16-bit-hosted Win32s platform; FALSE also when the version cannot be had.
BOOL IsWin32s();

// The CD-ROM drive roots in the order the system gives them: on Win32s every letter from "a:\" to
// "z:\" is a candidate, otherwise the system's logical drives. Filled once by the application
// object into its drive list.
void BuildCDRomDriveList(CStringArray& drives, BOOL bWin32s);

// Resolves a kind of folder on a disc (only disc 1 is served: a higher number throws
// CNotSupportedException). TRUE with the folder (with its trailing backslash), or FALSE with an
// empty string when the disc is not found, the reader cancels a prompt, or the kind is unknown.
// With bPrompt the reader is asked to insert the disc until it is found or the prompt cancelled.
BOOL GetDataDir(CString& strDir, int nType, int nDisc, BOOL bPrompt);

// Start-up: TRUE when disc 1 can be used (or [Files] "DataDir" names the data). Until the disc is
// found the reader is asked for it, then offered the preferences; anything but OK there (Cancel,
// or a dialog that could not be shown) gives FALSE.
BOOL LocateFirstDisc();
