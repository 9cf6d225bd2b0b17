// The shell's program starts: ShellExecute and ShellExecuteEx.
//
// "open" (or no verb) of an http, https, ftp or mailto address starts the host's browser with
// the address as its one argument (the browser named by the host setting VL_BROWSER, else
// xdg-open), never through a command shell; that browser is no process of this platform, so
// hProcess stays NULL. "open" of a program (".exe", ".com", ".bat" resolved as CreateProcess
// does) starts it with the parameters; "open" of any other existing file hands its host path to
// the host's opener. Other verbs answer SE_ERR_NOASSOC.
#pragma once

#include <windef.h>

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

#define SEE_MASK_DEFAULT 0x00000000
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_DDEWAIT 0x00000100
#define SEE_MASK_DOENVSUBST 0x00000200
#define SEE_MASK_FLAG_NO_UI 0x00000400
#define SEE_MASK_NOASYNC 0x00000100

typedef struct _SHELLEXECUTEINFOA {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCSTR lpVerb;
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;      // > 32 on success, else an SE_ERR_ code
    void* lpIDList;
    LPCSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;         // with SEE_MASK_NOCLOSEPROCESS: the started process of this platform
} SHELLEXECUTEINFOA, *LPSHELLEXECUTEINFOA;
typedef SHELLEXECUTEINFOA SHELLEXECUTEINFO;
typedef LPSHELLEXECUTEINFOA LPSHELLEXECUTEINFO;

// > 32 on success, else an SE_ERR_ code (the last error tells more).
HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                               INT nShowCmd);
BOOL WINAPI ShellExecuteExA(SHELLEXECUTEINFOA* pExecInfo);
#define ShellExecute ShellExecuteA
#define ShellExecuteEx ShellExecuteExA
