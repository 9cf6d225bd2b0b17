// The per-thread last-error value.
#pragma once

#include <windef.h>

DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD dwErrCode);
