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
