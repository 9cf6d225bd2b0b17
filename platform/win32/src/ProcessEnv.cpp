// Environment variables over the host process's environment. The host's table is not safe to
// change while another thread reads it, so every call here holds one lock.
#include <errhandlingapi.h>
#include <processenv.h>
#include <winerror.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

std::mutex& EnvironmentLock()
{
    static std::mutex lock;
    return lock;
}

bool IsValidName(LPCSTR lpName)
{
    return lpName != nullptr && *lpName != '\0' && std::strchr(lpName, '=') == nullptr;
}

}  // namespace

extern "C" DWORD WINAPI GetEnvironmentVariableA(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize)
{
    if (!IsValidName(lpName)) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    std::lock_guard<std::mutex> guard(EnvironmentLock());
    const char* value = std::getenv(lpName);
    if (value == nullptr) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    size_t length = std::strlen(value);
    if (lpBuffer == nullptr || nSize <= length)
        return static_cast<DWORD>(length + 1);
    std::memcpy(lpBuffer, value, length + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(length);
}

extern "C" BOOL WINAPI SetEnvironmentVariableA(LPCSTR lpName, LPCSTR lpValue)
{
    if (!IsValidName(lpName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(EnvironmentLock());
    if (lpValue == nullptr) {
        if (std::getenv(lpName) == nullptr) {
            SetLastError(ERROR_ENVVAR_NOT_FOUND);
            return FALSE;
        }
        unsetenv(lpName);
        return TRUE;
    }
    if (setenv(lpName, lpValue, 1) != 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return TRUE;
}
