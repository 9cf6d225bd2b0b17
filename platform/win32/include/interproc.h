// What programs of this platform use between processes beyond plain messages: WM_COPYDATA's
// record, the wait for a started process's start-up, the standard handles and the reasons a
// library's entry point is called with.
#pragma once

#include <windef.h>

// WM_COPYDATA's lParam: a block of bytes that the receiver gets a copy of (in another process
// too); the receiver must not keep lpData beyond the message.
typedef struct tagCOPYDATASTRUCT {
    ULONG_PTR dwData;
    DWORD cbData;
    PVOID lpData;
} COPYDATASTRUCT, *PCOPYDATASTRUCT;

// Waits until the started process first waits for input with nothing queued (its start-up is
// done), at most dwMilliseconds: 0 when it has (or has ended), WAIT_TIMEOUT when the time ran
// out, WAIT_FAILED (last error set) for a handle that is not a process's.
DWORD WINAPI WaitForInputIdle(HANDLE hProcess, DWORD dwMilliseconds);

#define STD_INPUT_HANDLE ((DWORD)-10)
#define STD_OUTPUT_HANDLE ((DWORD)-11)
#define STD_ERROR_HANDLE ((DWORD)-12)
// The process's standard input, output or error as a file handle (the host's own streams);
// INVALID_HANDLE_VALUE for another value. The handles stay open for the process's life.
HANDLE WINAPI GetStdHandle(DWORD nStdHandle);

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3
