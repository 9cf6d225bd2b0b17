// The registry: keys and values under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
//
// Each root lives in one file of the emulated system tree (host/Registry.h): the current user's
// keys in a file of that user, private to the user (mode 0600), the machine's keys in one file of
// the tree. A change is written through a temporary file and a rename, under a lock that every
// process of the user takes, so every process sees every other's changes at its next call.
//
// Behaviour as on the platform, in short:
//  - Key names are compared without regard to case and kept as written; a path is a run of
//    names separated by "\"; a path may not begin with "\" (ERROR_BAD_PATHNAME); one trailing
//    "\" is ignored. A name has at most 255 characters.
//  - A missing key or value is ERROR_FILE_NOT_FOUND (2); an unknown or closed handle is
//    ERROR_INVALID_HANDLE; a handle whose key was deleted meanwhile gives ERROR_KEY_DELETED.
//  - A handle carries the access asked for: reading values needs KEY_QUERY_VALUE, writing or
//    deleting them KEY_SET_VALUE, creating subkeys KEY_CREATE_SUB_KEY, enumerating subkeys
//    KEY_ENUMERATE_SUB_KEYS (ERROR_ACCESS_DENIED otherwise). The root handles have every right.
//  - RegCreateKeyEx creates every missing key of the path and says which it did.
//  - RegDeleteKey refuses a key that has subkeys (ERROR_ACCESS_DENIED).
//  - RegSetValueEx stores REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ text with its terminating zero
//    (one is added when the caller's byte count left it out); a REG_DWORD is exactly 4 bytes.
//    The name NULL or "" is the key's default value.
//  - RegQueryValueEx and RegEnumValue report the stored size; a buffer too small for it gives
//    ERROR_MORE_DATA with the needed size, and a NULL buffer asks for the size only. Text
//    returned in a buffer that is just large enough always ends in a zero.
//  - RegEnumKeyEx lists subkeys in alphabetical order (without regard to case); RegEnumValue
//    lists values in the order they were first set; past the end both give ERROR_NO_MORE_ITEMS.
#pragma once

#include <windef.h>

typedef DWORD ACCESS_MASK;
typedef ACCESS_MASK REGSAM;
typedef LONG LSTATUS;

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_MULTI_SZ 7

#define REG_OPTION_RESERVED 0x00000000L
#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_OPTION_VOLATILE 0x00000001L

#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#ifndef STANDARD_RIGHTS_READ
#define STANDARD_RIGHTS_READ 0x00020000L
#define STANDARD_RIGHTS_WRITE 0x00020000L
#define STANDARD_RIGHTS_ALL 0x001F0000L
#endif
#define KEY_READ ((STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY) & ~0x00100000L)
#define KEY_WRITE ((STANDARD_RIGHTS_WRITE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY) & ~0x00100000L)
#define KEY_EXECUTE (KEY_READ & ~0x00100000L)
#define KEY_ALL_ACCESS                                                                                      \
    ((STANDARD_RIGHTS_ALL | KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS | \
      KEY_NOTIFY | KEY_CREATE_LINK) &                                                                       \
     ~0x00100000L)

LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LSTATUS WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                               REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes,
                               PHKEY phkResult, LPDWORD lpdwDisposition);
// The old forms: full access, no class, no disposition.
LSTATUS WINAPI RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
LSTATUS WINAPI RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
LSTATUS WINAPI RegCloseKey(HKEY hKey);
LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                              DWORD cbData);
LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                                LPDWORD lpcbData);
// lpcchName: in, the buffer's size in characters with room for the zero; out, the name's length.
LSTATUS WINAPI RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                             LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);
LSTATUS WINAPI RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
                             LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
LSTATUS WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);
LSTATUS WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
// Changes are on disc when each call returns; flushing has nothing left to do.
LSTATUS WINAPI RegFlushKey(HKEY hKey);

#define RegOpenKeyEx RegOpenKeyExA
#define RegCreateKeyEx RegCreateKeyExA
#define RegOpenKey RegOpenKeyA
#define RegCreateKey RegCreateKeyA
#define RegSetValueEx RegSetValueExA
#define RegQueryValueEx RegQueryValueExA
#define RegEnumKeyEx RegEnumKeyExA
#define RegEnumValue RegEnumValueA
#define RegDeleteKey RegDeleteKeyA
#define RegDeleteValue RegDeleteValueA
