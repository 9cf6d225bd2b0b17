// System information and time of the platform's C interface: tick counts, system and local time,
// file-time conversions, the time zone, the system version and the computer name.
//
// All times come from the one clock (host/Clock.h) and local time from the chosen zone
// (host/TimeZone.h), so a test that sets or steps the test clock moves all of them together.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <errhandlingapi.h>

typedef struct _TIME_ZONE_INFORMATION {
    LONG Bias;
    WCHAR StandardName[32];
    SYSTEMTIME StandardDate;
    LONG StandardBias;
    WCHAR DaylightName[32];
    SYSTEMTIME DaylightDate;
    LONG DaylightBias;
} TIME_ZONE_INFORMATION, *PTIME_ZONE_INFORMATION, *LPTIME_ZONE_INFORMATION;

#define TIME_ZONE_ID_INVALID ((DWORD)0xFFFFFFFF)
#define TIME_ZONE_ID_UNKNOWN 0
#define TIME_ZONE_ID_STANDARD 1
#define TIME_ZONE_ID_DAYLIGHT 2

typedef struct _OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
} OSVERSIONINFOA, *POSVERSIONINFOA, *LPOSVERSIONINFOA, OSVERSIONINFO, *POSVERSIONINFO, *LPOSVERSIONINFO;

typedef struct _OSVERSIONINFOEXA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
    WORD wServicePackMajor;
    WORD wServicePackMinor;
    WORD wSuiteMask;
    BYTE wProductType;
    BYTE wReserved;
} OSVERSIONINFOEXA, *POSVERSIONINFOEXA, *LPOSVERSIONINFOEXA, OSVERSIONINFOEX, *POSVERSIONINFOEX,
    *LPOSVERSIONINFOEX;

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
#define VER_NT_WORKSTATION 0x0000001

#define MAX_COMPUTERNAME_LENGTH 15

// Milliseconds since the system started; GetTickCount wraps after 49.7 days.
DWORD WINAPI GetTickCount(void);
ULONGLONG WINAPI GetTickCount64(void);

void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime);
void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime);
void WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime);

// FILETIME counts 100-nanosecond intervals since 1601-01-01. FileTimeToSystemTime fails with
// ERROR_INVALID_PARAMETER on values with the top bit set; SystemTimeToFileTime on fields out of
// range (wDayOfWeek is ignored).
BOOL WINAPI FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);
// As on the real platform these two apply the zone's offset in force NOW (including the
// daylight-saving state of today), not the one in force at the converted time.
BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime);
LONG WINAPI CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2);

// Returns TIME_ZONE_ID_UNKNOWN for a zone without daylight-saving time, else
// TIME_ZONE_ID_STANDARD or TIME_ZONE_ID_DAYLIGHT for the present moment.
DWORD WINAPI GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation);

// The system reports itself as Windows NT 4.0, build 1381, Service Pack 6 (tests can make it
// report Windows 95, 98 or Win32s: host/SystemVersion.h).
DWORD WINAPI GetVersion(void);
BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation);
#define GetVersionEx GetVersionExA

// The host's name in capitals, cut to MAX_COMPUTERNAME_LENGTH characters.
BOOL WINAPI GetComputerNameA(LPSTR lpBuffer, LPDWORD nSize);
#define GetComputerName GetComputerNameA
