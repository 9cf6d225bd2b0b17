// Waiting of the platform's C interface.
#pragma once

#include <windef.h>

#ifndef INFINITE
#define INFINITE 0xFFFFFFFF
#endif

// Suspends the thread for the given milliseconds on the real clock. On the test clock
// (host::UseTestClock) it returns at once and moves the clock forward by that much instead, so
// code that waits in steps runs through in no time; Sleep(0) only yields.
void WINAPI Sleep(DWORD dwMilliseconds);
// As Sleep; no alertable waits exist, so it always returns 0.
DWORD WINAPI SleepEx(DWORD dwMilliseconds, BOOL bAlertable);

// Events, mutexes and semaphores.
//
// Every such object is a kernel object behind a HANDLE (CloseHandle closes it). Objects with a
// name are shared by every process of this platform that the same user runs: a second
// CreateEvent/CreateMutex/CreateSemaphore with the same name opens the existing object and sets
// ERROR_ALREADY_EXISTS (the creation arguments are then ignored); a name that belongs to an
// object of another kind fails with ERROR_INVALID_HANDLE; Open... of a name that no process has
// open fails with ERROR_FILE_NOT_FOUND. Names are case-sensitive, at most MAX_PATH bytes; the
// prefixes "Global\" and "Local\" are accepted and name the same single namespace. A named
// object lives until the last handle to it in any process is closed (or its process ends).
//
// The shared namespace is a host shared-memory segment per user ("/vl-sync-<uid>"); the
// environment variable VL_SYNC_NAMESPACE, when set, replaces "vl-sync-<uid>" so that separate
// runs (test programs and their helper processes) keep separate namespaces. The segment stays
// (it is small) after the last process ends and is used again by the next. The registry of all
// processes' top-level windows and registered messages (winuser.h) shares the namespace.
//
// Timeouts of the waits count real time in milliseconds, also while the test clock of
// host/Clock.h is on: a wait neither moves the test clock nor follows it. Tests that need a
// wait to end set the object or use a timeout of 0.

#ifndef SYNCHRONIZE
#define SYNCHRONIZE 0x00100000L
#endif
#define EVENT_MODIFY_STATE 0x0002
#define EVENT_ALL_ACCESS 0x001F0003
#define MUTEX_MODIFY_STATE 0x0001
#define MUTEX_ALL_ACCESS 0x001F0001
#define SEMAPHORE_MODIFY_STATE 0x0002
#define SEMAPHORE_ALL_ACCESS 0x001F0003

#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_ABANDONED_0 0x00000080L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED 0xFFFFFFFF
#define MAXIMUM_WAIT_OBJECTS 64

#ifndef ERROR_TOO_MANY_POSTS
#define ERROR_TOO_MANY_POSTS 298L
#endif

// An event: manual-reset events stay signalled until ResetEvent; auto-reset events release one
// waiter and reset themselves.
HANDLE WINAPI CreateEvent(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                          LPCSTR lpName);
HANDLE WINAPI OpenEvent(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCSTR lpName);
BOOL WINAPI SetEvent(HANDLE hEvent);
BOOL WINAPI ResetEvent(HANDLE hEvent);
// Releases the threads waiting at this moment (a manual-reset event: all of them; auto-reset:
// one, if any waits) and leaves the event reset.
BOOL WINAPI PulseEvent(HANDLE hEvent);

// A mutex, owned by one thread at a time, recursively. A wait that finds its owner thread gone
// takes it over and returns WAIT_ABANDONED(_0 + index). ReleaseMutex by a thread that does not
// own it fails with ERROR_NOT_OWNER.
HANDLE WINAPI CreateMutex(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCSTR lpName);
HANDLE WINAPI OpenMutex(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCSTR lpName);
BOOL WINAPI ReleaseMutex(HANDLE hMutex);

// A semaphore: 0 <= count <= maximum; a wait takes one. Releasing past the maximum fails with
// ERROR_TOO_MANY_POSTS and changes nothing.
HANDLE WINAPI CreateSemaphore(LPSECURITY_ATTRIBUTES lpSemaphoreAttributes, LONG lInitialCount,
                              LONG lMaximumCount, LPCSTR lpName);
HANDLE WINAPI OpenSemaphore(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCSTR lpName);
BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount);

// Waits until the object is signalled (WAIT_OBJECT_0; a mutex: WAIT_ABANDONED when its owner
// ended holding it) or the timeout passes (WAIT_TIMEOUT). A handle that is not a waitable
// object gives WAIT_FAILED with ERROR_INVALID_HANDLE.
DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
// Any: WAIT_OBJECT_0 + the lowest index of a signalled object (only that one is taken).
// All: WAIT_OBJECT_0 once every object is signalled at the same moment; all are taken together.
// 1..MAXIMUM_WAIT_OBJECTS handles, else ERROR_INVALID_PARAMETER; the same object twice in a
// wait for all gives ERROR_INVALID_PARAMETER.
DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);
