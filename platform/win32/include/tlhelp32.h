// Tool help of the platform's C interface: snapshots of the running processes and of one
// process's modules. The kernel library "KERNEL32.DLL" also hands these out through
// GetProcAddress, the way programs bind them on systems that may lack them.
#pragma once

#include <windef.h>

#define TH32CS_SNAPHEAPLIST 0x00000001
#define TH32CS_SNAPPROCESS 0x00000002
#define TH32CS_SNAPTHREAD 0x00000004
#define TH32CS_SNAPMODULE 0x00000008
#define TH32CS_SNAPALL (TH32CS_SNAPHEAPLIST | TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD | TH32CS_SNAPMODULE)

#define MAX_MODULE_NAME32 255

typedef struct tagPROCESSENTRY32 {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    CHAR szExeFile[MAX_PATH];
} PROCESSENTRY32, *PPROCESSENTRY32, *LPPROCESSENTRY32;

typedef struct tagMODULEENTRY32 {
    DWORD dwSize;
    DWORD th32ModuleID;
    DWORD th32ProcessID;
    DWORD GlblcntUsage;
    DWORD ProccntUsage;
    BYTE* modBaseAddr;
    DWORD modBaseSize;
    HMODULE hModule;
    char szModule[MAX_MODULE_NAME32 + 1];
    char szExePath[MAX_PATH];
} MODULEENTRY32, *PMODULEENTRY32, *LPMODULEENTRY32;

// A snapshot (closed with CloseHandle) of what dwFlags asks for: TH32CS_SNAPPROCESS the
// processes of the current user, TH32CS_SNAPMODULE the modules of process th32ProcessID (0: the
// caller). A process that cannot be read gives INVALID_HANDLE_VALUE. Entries are taken at the
// call; First rewinds, Next goes on (FALSE with ERROR_NO_MORE_FILES at the end). An entry whose
// dwSize is smaller than the structure is refused (ERROR_BAD_LENGTH).
HANDLE WINAPI CreateToolhelp32Snapshot(DWORD dwFlags, DWORD th32ProcessID);
BOOL WINAPI Process32First(HANDLE hSnapshot, LPPROCESSENTRY32 lppe);
BOOL WINAPI Process32Next(HANDLE hSnapshot, LPPROCESSENTRY32 lppe);
BOOL WINAPI Module32First(HANDLE hSnapshot, LPMODULEENTRY32 lpme);
BOOL WINAPI Module32Next(HANDLE hSnapshot, LPMODULEENTRY32 lpme);

typedef HANDLE(WINAPI* CREATESNAPSHOTPROC)(DWORD, DWORD);
typedef BOOL(WINAPI* PROCESSWALKPROC)(HANDLE, LPPROCESSENTRY32);
typedef BOOL(WINAPI* MODULEWALKPROC)(HANDLE, LPMODULEENTRY32);
