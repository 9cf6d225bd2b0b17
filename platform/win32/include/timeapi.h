// The multimedia system time of the platform's C interface.
#pragma once

#include <windef.h>

// Milliseconds since the system started, from the one clock; wraps like GetTickCount.
DWORD WINAPI timeGetTime(void);
