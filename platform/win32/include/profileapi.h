// Initialization (profile) files of the platform's C interface: GetPrivateProfileString and its
// family, and the WIN.INI functions.
//
// File format: "[section]" lines, "key=value" lines, ";" comment lines; sections and keys are
// compared without regard to case (Western code page); spaces around keys, "=" and values are
// ignored; a value enclosed in matching double or single quotes is returned without them. Files
// are written with CR LF lines, and created (with their section) by the first write.
//
// File names: a full path ("C:\\...", "\\...") is taken as it is; a name starting with ".\\" or
// "..\\" is taken against the current directory; any other name is a file of the Windows folder,
// as on the real platform (so "vl.ini" is "<Windows folder>\\vl.ini"). NULL means WIN.INI. The
// Windows folder is GetWindowsDirectory's, in the emulated system tree (see host/Drives.h).
#pragma once

#include <windef.h>
#include <winerror.h>
#include <errhandlingapi.h>

// With both names: the value of the key (or lpDefault, trailing blanks removed, when the key or
// the file is missing; ERROR_FILE_NOT_FOUND when the file is), cut to nSize - 1 bytes; returns
// the bytes copied. With lpKeyName NULL: the section's key names; with lpAppName NULL: the
// file's section names. A list is each name followed by a NUL, then one more NUL; when it does
// not fit it is cut, ended with two NULs, and the result is nSize - 2.
DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                                      DWORD nSize, LPCSTR lpFileName);
// The value read as an integer: leading blanks, an optional sign, decimal digits or "0x" and hex
// digits, stopping at the first other character (0 when there are no digits). nDefault when the
// key is missing or its value empty.
UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName);
DWORD WINAPI GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName);
// The section's lines ("key=value", comments left out) as a list like the one above.
DWORD WINAPI GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
// Sets a value (the section and the file are created as needed). lpString NULL deletes the key;
// lpKeyName NULL deletes the whole section; all three NULL only flushes (nothing is cached, so
// it just succeeds). Fails with ERROR_PATH_NOT_FOUND when the file's folder does not exist.
BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName);
// Replaces the section's lines by the list in lpString ("key=value\0key2=value2\0\0"); NULL
// deletes the section.
BOOL WINAPI WritePrivateProfileSectionA(LPCSTR lpAppName, LPCSTR lpString, LPCSTR lpFileName);

// The same on WIN.INI in the Windows folder.
DWORD WINAPI GetProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize);
UINT WINAPI GetProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault);
DWORD WINAPI GetProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize);
BOOL WINAPI WriteProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString);
BOOL WINAPI WriteProfileSectionA(LPCSTR lpAppName, LPCSTR lpString);

#define GetPrivateProfileString GetPrivateProfileStringA
#define GetPrivateProfileInt GetPrivateProfileIntA
#define GetPrivateProfileSectionNames GetPrivateProfileSectionNamesA
#define GetPrivateProfileSection GetPrivateProfileSectionA
#define WritePrivateProfileString WritePrivateProfileStringA
#define WritePrivateProfileSection WritePrivateProfileSectionA
#define GetProfileString GetProfileStringA
#define GetProfileInt GetProfileIntA
#define GetProfileSection GetProfileSectionA
#define WriteProfileString WriteProfileStringA
#define WriteProfileSection WriteProfileSectionA
