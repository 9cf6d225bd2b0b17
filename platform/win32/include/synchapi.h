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
