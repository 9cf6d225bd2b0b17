// National language support of the platform's C interface: the locales it knows and date
// formatting.
//
// The platform has one locale, English (United States), 0x409; the user's and the system's
// default locales (LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT, LOCALE_NEUTRAL) are it, and any
// other locale is ERROR_INVALID_PARAMETER. Its short date is "M/d/yyyy" (the year in full, so a
// date never loses its century), its long date "dddd, MMMM dd, yyyy".
//
// GetDateFormat as on the platform:
//  - lpDate NULL formats today's local date (GetLocalTime); a date is checked (year 1601 to
//    30827, month, day of that month; ERROR_INVALID_PARAMETER), its wDayOfWeek is ignored and the
//    day of the week is worked out from the date.
//  - A picture (lpFormat) and the flags DATE_SHORTDATE or DATE_LONGDATE exclude each other
//    (ERROR_INVALID_FLAGS); without a picture or flag the short date is used.
//  - Picture elements: d (day), dd (two digits), ddd (abbreviated day name), dddd (day name);
//    M, MM, MMM, MMMM likewise for the month; y (year within the century, no leading zero), yy
//    (two digits), yyyy (the year); g and gg (the era, "A.D."). Text in single quotes is copied
//    ('' is one quote); any other character is copied as it stands.
//  - cchDate 0 returns the size needed (characters, with the terminating zero) and writes
//    nothing; a buffer too small gives 0 with ERROR_INSUFFICIENT_BUFFER. Otherwise the result is
//    the number of characters written, with the zero.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <errhandlingapi.h>

#define LOCALE_NEUTRAL 0x0000
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_ENGLISH_US 0x0409

#define LOCALE_NOUSEROVERRIDE 0x80000000
#define DATE_SHORTDATE 0x00000001
#define DATE_LONGDATE 0x00000002

LCID WINAPI GetUserDefaultLCID(void);
LCID WINAPI GetSystemDefaultLCID(void);

int WINAPI GetDateFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCSTR lpFormat, LPSTR lpDateStr,
                          int cchDate);
#define GetDateFormat GetDateFormatA
