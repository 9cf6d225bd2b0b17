// portixcmn: the connection family's settings and shared services, a code library that the
// connection engine and every dialer call (by ordinal; portixcmn.def lists the numbers).
//
// Settings. Each connection ("ISP") has its own values; the global ones (proxy, firewall,
// logging, the configured connection) belong to no connection. They live in one of two stores,
// chosen afresh at every call:
//   - the registry of the current user: key "SOFTWARE\Norvik\Portix\<program>" (the calling
//     program's base name) for the global values, and below it one key per connection, named as
//     the connection without its blanks. An empty value is stored as "none", which reads back
//     as empty. Values are cut to 255 characters.
//   - the INI file "portix.ini" in the calling program's folder: section "Por-Tix" for the global
//     values, one section per connection named exactly as the connection.
// The INI file is the store on Win32s and whenever dlrSetUseIniFileOnly set the flag; the
// registry everywhere else. Reading a connection whose registry key does not exist falls back
// to the INI file. Getters read through buffers of 255 characters and the terminator, so every
// value that a setter can write reads back whole; getters never fail (empty text or their
// default). Setters return 0 or the store's system error code.
//
// Passwords are scrambled before they are stored (the scrambled bytes as two hexadecimal digits
// each); a stored value that is not such hexadecimal text is an older value, scrambled as text.
//
// Every export enters the library's own module state for its duration. The status codes are
// those of <portix/Status.h>.
#pragma once

#include <afx.h>

#define PORTIXCMN_API extern "C" __attribute__((visibility("default")))

// Length limit of a stored value (characters, besides the terminating zero).
#define PORTIX_VALUE_MAX 255
// Longest password that can be stored (its scrambled form takes two characters a byte).
#define PORTIX_PASSWORD_MAX 127

// ---- Raw accessors ----
// Saves a connection's value: 0 or the registry's or system's error code.
PORTIXCMN_API int dlrSaveISPStrData(LPCSTR pszIsp, LPCSTR pszKey, LPCSTR pszValue);
// Reads a connection's value into the buffer (always terminated; empty when absent). The result
// is the registry's byte count with the terminator, or the INI file's character count; 0 when
// the value is absent or empty.
PORTIXCMN_API UINT dlrGetISPStrData(LPCSTR pszIsp, LPCSTR pszKey, LPSTR pszBuffer, UINT nSize);
// The same for the global values.
PORTIXCMN_API int dlrSavePortixStrData(LPCSTR pszKey, LPCSTR pszValue);
PORTIXCMN_API UINT dlrGetPortixStrData(LPCSTR pszKey, LPSTR pszBuffer, UINT nSize);
// The global values' registry key, and a connection's.
PORTIXCMN_API CString dlrRegGetRootPath();
PORTIXCMN_API CString dlrRegGetISPPath(LPCSTR pszIsp);
// Creates (or opens) the chain of keys down to the given connection key path; the first
// registry failure, or 0.
PORTIXCMN_API int dlrRegCreateBasePath(LPCSTR pszPath);
// The INI file's path: the calling program's folder, "\portix.ini".
PORTIXCMN_API CString dlrGetPortixIniPath();
// Whether the connection has any settings in the store.
PORTIXCMN_API BOOL dlrIsISPConfigured(LPCSTR pszIsp);
// Moves the INI file's settings into the registry once (the global "Version" records it).
PORTIXCMN_API void dlrMigrateINItoRegistry();
PORTIXCMN_API void dlrSetUseIniFileOnly(BOOL bIniOnly);
// "Current Isp" = "No Internet Access", with that connection's libraries; 0 or the first error.
PORTIXCMN_API int dlrSetDefaultConnection();
// FALSE only for "No Internet Access" (any case).
PORTIXCMN_API BOOL dlrIsThisAConnection(LPCSTR pszName);

// ---- Per-connection settings ----
PORTIXCMN_API CString dlrGetWinSockDLL(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetWinSockDLL(LPCSTR pszIsp, LPCSTR pszValue);
PORTIXCMN_API CString dlrGetWinSock16DLL(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetWinSock16DLL(LPCSTR pszIsp, LPCSTR pszValue);
PORTIXCMN_API CString dlrGetBrowser(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetBrowser(LPCSTR pszIsp, LPCSTR pszValue);
PORTIXCMN_API CString dlrGetBrowserParams(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetBrowserParams(LPCSTR pszIsp, LPCSTR pszValue);
PORTIXCMN_API CString dlrGetScreenName(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetScreenName(LPCSTR pszIsp, LPCSTR pszValue);
// "Password-<qualifier>", scrambled. A password longer than PORTIX_PASSWORD_MAX is refused
// (ERROR_INVALID_PARAMETER) and nothing is stored.
PORTIXCMN_API CString dlrGetPassword(LPCSTR pszIsp, LPCSTR pszQualifier);
PORTIXCMN_API int dlrSetPassword(LPCSTR pszIsp, LPCSTR pszPassword, LPCSTR pszQualifier);
// "UserName-<qualifier>".
PORTIXCMN_API CString dlrGetUsername(LPCSTR pszIsp, LPCSTR pszQualifier);
PORTIXCMN_API int dlrSetUsername(LPCSTR pszIsp, LPCSTR pszUserName, LPCSTR pszQualifier);
// Also writes a non-empty path to WIN.INI's "WAOL" "AppPath".
PORTIXCMN_API CString dlrGetPath2AOL(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetPath2AOL(LPCSTR pszIsp, LPCSTR pszValue);
// Stored as "1" or "0"; 1 when absent.
PORTIXCMN_API int dlrGetUseDefaultBrowser(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetUseDefaultBrowser(LPCSTR pszIsp, int nUse);
PORTIXCMN_API CString dlrGetSupportDll(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetSupportDll(LPCSTR pszIsp, LPCSTR pszValue);
PORTIXCMN_API CString dlrGetDialerDll(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetDialerDll(LPCSTR pszIsp, LPCSTR pszValue);
PORTIXCMN_API CString dlrGetDialer(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetDialer(LPCSTR pszIsp, LPCSTR pszValue);
PORTIXCMN_API CString dlrGetDialerParams(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetDialerParams(LPCSTR pszIsp, LPCSTR pszValue);
// Decimal text; 0 when absent.
PORTIXCMN_API int dlrGetBrowserInstanceFlag(LPCSTR pszIsp);
PORTIXCMN_API int dlrSetBrowserInstanceFlag(LPCSTR pszIsp, int nFlag);

// ---- Global settings ----
// "No Internet Access" when absent or empty.
PORTIXCMN_API CString dlrGetConfiguredIsp();
PORTIXCMN_API int dlrSetConfiguredIsp(LPCSTR pszValue);
PORTIXCMN_API CString dlrGetAuthorization();
PORTIXCMN_API int dlrSetAuthorization(LPCSTR pszValue);
PORTIXCMN_API CString dlrGetHttpProxy();
PORTIXCMN_API int dlrSetHttpProxy(LPCSTR pszValue);
// "80" when absent or empty.
PORTIXCMN_API CString dlrGetHttpProxyPort();
PORTIXCMN_API int dlrSetHttpProxyPort(LPCSTR pszValue);
PORTIXCMN_API CString dlrGetSocksHost();
PORTIXCMN_API int dlrSetSocksHost(LPCSTR pszValue);
// "1080" when absent or empty.
PORTIXCMN_API CString dlrGetSocksHostPort();
PORTIXCMN_API int dlrSetSocksHostPort(LPCSTR pszValue);
// 0 when absent.
PORTIXCMN_API int dlrGetFirewallType();
PORTIXCMN_API int dlrSetFirewallType(int nType);
PORTIXCMN_API CString dlrGetNoProxyList();
PORTIXCMN_API int dlrSetNoProxyList(LPCSTR pszValue);
// Logging is on when its number is not 0.
PORTIXCMN_API CString dlrGetLoggingType();
PORTIXCMN_API int dlrSetLoggingType(LPCSTR pszValue);

// Into the caller's buffer of nSize characters besides the terminator: 0 and the value (with
// its default), or 1 and an empty buffer when it does not fit.
PORTIXCMN_API int _dlrGetHttpProxy(LPSTR pszBuffer, int nSize);
PORTIXCMN_API int _dlrGetHttpProxyPort(LPSTR pszBuffer, int nSize);
PORTIXCMN_API int _dlrGetSocksHost(LPSTR pszBuffer, int nSize);
PORTIXCMN_API int _dlrGetSocksHostPort(LPSTR pszBuffer, int nSize);

// ---- Utilities ----
// The platform: 0 Win32s, 1 Windows 95/98, 2 Windows NT; 16391 when it cannot be read.
PORTIXCMN_API int dlrGetOS();
// The file exists (also when another program holds it open without sharing).
PORTIXCMN_API BOOL dlrFileExist(LPCSTR pszPath);
// Searches the folder and its subfolders (no symbolic links, a bounded number of entries) for
// the file; with a companion path, a find counts only when "<folder>\<companion>" exists too.
// The full path in a new string that the caller frees with delete[], or NULL. The process's
// current folder is left alone.
PORTIXCMN_API char* dlrSearchForFile(LPCSTR pszFileName, LPCSTR pszStartFolder, LPCSTR pszCompanion);
// The first "netscape.exe", then "iexplore.exe", on a fixed drive; empty when none.
PORTIXCMN_API CString dlrFindDefaultBrowser();
// The program of a command line: its text through the first "exe" and one character more
// (a closing quote), when it holds "\" and ".exe"; else empty.
PORTIXCMN_API CString dlrFileAndPath(LPCSTR pszCommandLine);
// The height (dialog units) of the caller's dialog template; 0 when there is none.
PORTIXCMN_API WORD dlrGetDialogHeight(UINT nTemplateId);
// Removes the sockets bridge files from the calling program's folder and, when asked, installs
// them (Windows 95/98) and the connection's 32-bit sockets library: 16401 or 16391.
PORTIXCMN_API int _dlrSetupWinsock(LPCSTR pszIsp, BOOL bInstall, BOOL bKeep);

// ---- The log, "portix.log" in the calling program's folder ----
PORTIXCMN_API void logInitializeLogging();
PORTIXCMN_API void logTerminateLogging();
// One line: the local time, the message (cut to 511 characters), a line end.
PORTIXCMN_API void logPortix(LPCSTR pszFormat, ...) __attribute__((format(printf, 1, 2)));
