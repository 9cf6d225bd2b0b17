// The process's environment variables: the host process's own environment, read and changed
// through the platform's calls. A process that CreateProcess starts inherits them.
#pragma once

#include <windef.h>
#include <winerror.h>


#ifdef __cplusplus
extern "C" {
#endif

// Copies the variable's value with its terminating NUL into lpBuffer and returns its length
// without the NUL. When nSize is too small for it, nothing is copied and the size needed (with
// the NUL) is returned. 0 with ERROR_ENVVAR_NOT_FOUND when there is no such variable (an empty
// value also gives 0, with ERROR_SUCCESS).
DWORD WINAPI GetEnvironmentVariableA(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize);
#define GetEnvironmentVariable GetEnvironmentVariableA
// Sets the variable to lpValue, or removes it when lpValue is NULL. FALSE with
// ERROR_INVALID_PARAMETER for a name that is empty or holds '='; removing an absent variable
// fails with ERROR_ENVVAR_NOT_FOUND.
BOOL WINAPI SetEnvironmentVariableA(LPCSTR lpName, LPCSTR lpValue);
#define SetEnvironmentVariable SetEnvironmentVariableA

#ifdef __cplusplus
}
#endif
