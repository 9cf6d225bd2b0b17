// Closing and duplicating kernel handles (files, and the other areas' events, processes ...).
#pragma once

#include <windef.h>

#define DUPLICATE_CLOSE_SOURCE 0x00000001
#define DUPLICATE_SAME_ACCESS 0x00000002

BOOL WINAPI CloseHandle(HANDLE hObject);

// Within this process only: both process handles must be the current process's pseudo-handle
// ((HANDLE)-1). The new handle has the source's access (dwDesiredAccess is not narrowed).
BOOL WINAPI DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                            LPHANDLE lpTargetHandle, DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions);
