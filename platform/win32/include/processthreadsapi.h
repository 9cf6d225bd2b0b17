// Processes and threads of the platform's C interface: the ids and pseudo-handles of the
// caller, and threads with handles that can be waited for.
#pragma once

#include <windef.h>

#ifndef STILL_ACTIVE
#define STILL_ACTIVE 259L
#endif
#define CREATE_SUSPENDED 0x00000004

typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;

// The calling thread's id: the same number the window system records for the windows and
// message queues of the thread (GetWindowThreadProcessId, PostThreadMessage). Ids are unique
// among the threads that run at one time.
DWORD WINAPI GetCurrentThreadId(void);
DWORD WINAPI GetCurrentProcessId(void);
// Pseudo-handles standing for the calling process ((HANDLE)-1) and thread ((HANDLE)-2); they
// need no closing. DuplicateHandle takes the process pseudo-handle as source and target process.
HANDLE WINAPI GetCurrentProcess(void);
HANDLE WINAPI GetCurrentThread(void);

// Starts lpStartAddress(lpParameter) on a new thread and returns a handle to it (CloseHandle
// closes the handle; the thread runs on). The handle is signalled when the thread ends, so
// WaitForSingleObject/WaitForMultipleObjects wait for the end. With CREATE_SUSPENDED the thread
// starts only at ResumeThread. dwStackSize is a hint that is not needed here. *lpThreadId
// receives the new thread's id.
HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                           LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                           LPDWORD lpThreadId);
// Ends the calling thread with the exit code (destructors of the thread's stack run).
[[noreturn]] void WINAPI ExitThread(DWORD dwExitCode);
// STILL_ACTIVE while the thread runs, then the value its function returned or ExitThread gave.
BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
// Counts down a suspension; the thread starts when none is left. Returns the previous count,
// or (DWORD)-1 for a handle that is not a thread.
DWORD WINAPI ResumeThread(HANDLE hThread);
// The id of the thread behind a handle (0 with ERROR_INVALID_HANDLE for others).
DWORD WINAPI GetThreadId(HANDLE Thread);

// ---- Processes ------------------------------------------------------------------------------

#define DEBUG_PROCESS 0x00000001
#define DEBUG_ONLY_THIS_PROCESS 0x00000002
#define DETACHED_PROCESS 0x00000008
#define CREATE_NEW_CONSOLE 0x00000010
#define CREATE_NEW_PROCESS_GROUP 0x00000200
#define CREATE_UNICODE_ENVIRONMENT 0x00000400
#define CREATE_SEPARATE_WOW_VDM 0x00000800
#define CREATE_DEFAULT_ERROR_MODE 0x04000000
#define CREATE_NO_WINDOW 0x08000000

#define NORMAL_PRIORITY_CLASS 0x00000020
#define IDLE_PRIORITY_CLASS 0x00000040
#define HIGH_PRIORITY_CLASS 0x00000080
#define REALTIME_PRIORITY_CLASS 0x00000100
#define BELOW_NORMAL_PRIORITY_CLASS 0x00004000
#define ABOVE_NORMAL_PRIORITY_CLASS 0x00008000

#define STARTF_USESHOWWINDOW 0x00000001
#define STARTF_USESIZE 0x00000002
#define STARTF_USEPOSITION 0x00000004
#define STARTF_USECOUNTCHARS 0x00000008
#define STARTF_USEFILLATTRIBUTE 0x00000010
#define STARTF_FORCEONFEEDBACK 0x00000040
#define STARTF_FORCEOFFFEEDBACK 0x00000080
#define STARTF_USESTDHANDLES 0x00000100

#define PROCESS_TERMINATE 0x0001
#define PROCESS_QUERY_INFORMATION 0x0400
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#define PROCESS_ALL_ACCESS 0x001FFFFF

typedef struct _STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
} STARTUPINFOA, *LPSTARTUPINFOA;
typedef STARTUPINFOA STARTUPINFO;
typedef LPSTARTUPINFOA LPSTARTUPINFO;

typedef struct _PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
} PROCESS_INFORMATION, *PPROCESS_INFORMATION, *LPPROCESS_INFORMATION;

// Starts a program in a new process.
//
// With lpApplicationName NULL the program is the first token of lpCommandLine: up to the
// closing quote when it starts with one, else up to a blank; an unquoted name with blanks is
// tried at each blank in turn ("C:\Program Files\x.exe a" tries "C:\Program", then
// "C:\Program Files\x.exe"). A name without an extension gets ".exe"; a name without a folder
// is looked for in the program's folder, the current folder, the system folder, the Windows
// folder and the folders of the PATH. lpApplicationName, when given, names the file itself
// (relative to the current folder, no search, no extension added); lpCommandLine (or, when it
// is NULL, lpApplicationName) is then the whole command line. Names are the platform's paths;
// a program "name.exe" is the host's executable file "name.exe" or, when that does not exist,
// "name" (programs built on the host have no extension).
//
// The new process receives the command line exactly (GetCommandLine, and so the class
// library's m_lpCmdLine, see the text after the program's name), lpCurrentDirectory as its
// current folder (NULL: the caller's), lpEnvironment ("name=value\0...\0\0", NULL: the
// caller's environment) and, with STARTF_USESHOWWINDOW in lpStartupInfo->dwFlags,
// wShowWindow as the nCmdShow of its first ShowWindow-by-default. Handles are never inherited
// (bInheritHandles is ignored), nor are standard handles passed. The priority class flags are
// accepted (idle and below-normal lower the new process's scheduling priority); CREATE_SUSPENDED,
// DEBUG_PROCESS and CREATE_UNICODE_ENVIRONMENT are not supported (ERROR_NOT_SUPPORTED).
//
// *lpProcessInformation receives a process handle and a handle of its main thread (both must
// be closed; both become signalled when the process ends, so the waits of synchapi.h and
// MsgWaitForMultipleObjects wait for the end) and the ids: dwProcessId is the process id and
// dwThreadId the id its main thread reports from GetCurrentThreadId (and its windows from
// GetWindowThreadProcessId). The process is reaped when it ends; its handle keeps the exit
// code. Failure: FALSE with ERROR_FILE_NOT_FOUND (no such program), ERROR_PATH_NOT_FOUND (no
// such folder), ERROR_DIRECTORY (lpCurrentDirectory is not a folder), ERROR_ACCESS_DENIED (not
// executable), ERROR_BAD_EXE_FORMAT (not a program), ERROR_INVALID_PARAMETER (no program named).
BOOL WINAPI CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES lpProcessAttributes,
                           LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags,
                           LPVOID lpEnvironment, LPCSTR lpCurrentDirectory, LPSTARTUPINFOA lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation);
#define CreateProcess CreateProcessA

// Starts the program of a command line (as CreateProcess with no application name) shown the
// given way, without waiting and without handles. Returns a value above 31 on success, else
// ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND or ERROR_BAD_FORMAT (0 for other failures).
UINT WINAPI WinExec(LPCSTR lpCmdLine, UINT uCmdShow);

// STILL_ACTIVE while the process runs, then its exit code. The host keeps the low 8 bits of a
// code that a process returns itself (ExitProcess(-1) reads 255); a process ended by
// TerminateProcess reads the code given there; one ended by a fault reads the platform's
// status for it (0xC0000005 for an access violation, 3 for abort).
BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
// Ends the process at once with the exit code. FALSE with ERROR_ACCESS_DENIED when it has
// already ended. The pseudo-handle of GetCurrentProcess ends the caller.
BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT uExitCode);
// Ends the calling process with the exit code (static destructors and exit handlers run).
[[noreturn]] void WINAPI ExitProcess(UINT uExitCode);
// The id of the process behind a handle (0 with ERROR_INVALID_HANDLE for others).
DWORD WINAPI GetProcessId(HANDLE Process);
// A new handle to a process that this process started with CreateProcess while another handle
// to it is still open, or to the caller itself (a handle that never becomes signalled).
// Other processes cannot be opened (ERROR_ACCESS_DENIED when the id is in use, else
// ERROR_INVALID_PARAMETER).
HANDLE WINAPI OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId);

// The command line the process was started with (exactly as the starting process gave it to
// CreateProcess; for a process started otherwise, its program's platform path followed by its
// arguments, quoted where they hold blanks).
LPSTR WINAPI GetCommandLineA(void);
#define GetCommandLine GetCommandLineA
// How the process was started: dwFlags and wShowWindow as the starting process gave them,
// the rest zero.
void WINAPI GetStartupInfoA(LPSTARTUPINFOA lpStartupInfo);
#define GetStartupInfo GetStartupInfoA
