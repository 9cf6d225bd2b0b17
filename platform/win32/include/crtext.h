// Pieces of the platform's old C runtime that product code calls besides file I/O: path
// splitting, case-blind comparison, number formatting, its rand sequence and its time functions.
//
// How the runtime's own names reach product code without disturbing the host's C library:
// the host's <ctime> and <cstdlib> are included first, then a handful of FUNCTION-LIKE macros
// send the names rand(), srand(x), time(p), localtime(p), gmtime(p), mktime(p), ctime(p) and
// clock() and setlocale(c, l) to functions of ours (vlcrt_rand ...), declared in the global namespace and in std, so
// both rand() and std::rand() in product code reach them. Only code that includes <windows.h>
// (or this header) sees the macros, and only where the name is followed by "(": a member or field
// called "time" is left alone. Host code that does not include this header keeps the host's
// functions and state; defining VL_HOST_CRT before including <windows.h> turns the macros off in
// a file that wants the host's versions. RAND_MAX becomes the runtime's 0x7FFF.
//
// State: as in the runtime's multithreaded library, which the class library requires, the rand
// seed and the buffers that localtime/gmtime/ctime return are kept per thread; a new thread
// starts with seed 1.
//
// Time: time() and _ftime() read the platform's one clock (host/Clock.h); localtime() and mktime()
// apply the platform's zone (host/TimeZone.h), including its daylight-saving rules.
#pragma once

#include <windef.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <ctime>

// Lengths of path parts, as the runtime defines them.
#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

// Splits "C:\\dir\\sub\\name.ext" into "C:", "\\dir\\sub\\", "name", ".ext". Either slash ends a
// folder; the extension starts at the last dot of the last component. Any output may be NULL;
// outputs are cut to the _MAX_ lengths above.
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
// The reverse: adds ":" after a drive letter, a backslash after a folder that does not end in a
// slash, and a dot before an extension that lacks one. Any part may be NULL or empty.
void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext);

// Case-blind comparison as in the runtime's "C" locale: only A-Z fold; the result is the
// difference of the first differing bytes after folding to lower case.
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, std::size_t count);
int _strcmpi(const char* a, const char* b);
int _memicmp(const void* a, const void* b, std::size_t count);
// In-place case change, ASCII letters only (the "C" locale); return the string.
char* _strupr(char* s);
char* _strlwr(char* s);
// Number to text in radix 2..36. A negative value gets a minus sign only in radix 10; in other
// radices its 32-bit two's complement is written (long is 32 bits on the platform).
char* _itoa(int value, char* buffer, int radix);
char* _ltoa(long value, char* buffer, int radix);
char* _ultoa(unsigned long value, char* buffer, int radix);
// The runtime's name for strdup; free the copy with free().
char* _strdup(const char* s);

// _ftime: the clock's time with milliseconds and the zone's state.
struct _timeb {
    std::time_t time;
    unsigned short millitm;
    short timezone;  // minutes west of UTC, standard time
    short dstflag;   // nonzero while daylight-saving time is in force
};
void _ftime(struct _timeb* timeptr);

// The runtime's functions behind the macros below.
int vlcrt_rand();
void vlcrt_srand(unsigned int seed);
std::time_t vlcrt_time(std::time_t* timer);
std::tm* vlcrt_localtime(const std::time_t* timer);
std::tm* vlcrt_gmtime(const std::time_t* timer);
std::time_t vlcrt_mktime(std::tm* timeptr);
char* vlcrt_ctime(const std::time_t* timer);
std::clock_t vlcrt_clock();
// setlocale: the runtime's own locale, kept apart from the host process's, so that a program that
// asks for the user's locale does not change how the host library formats numbers elsewhere in
// the process. "" picks the user's default of this platform ("English_United States.1252"); "C"
// the classic one; a name the runtime knows ("English", "English_United States", with or without
// ".1252") is taken as the user's. Returns the category's name (for LC_ALL: the one name, or
// "LC_COLLATE=...;LC_CTYPE=...;..." when they differ), NULL for a name it does not know (nothing
// changes) or a bad category. NULL as the name only asks.
char* vlcrt_setlocale(int category, const char* locale);

namespace std {
using ::vlcrt_clock;
using ::vlcrt_ctime;
using ::vlcrt_gmtime;
using ::vlcrt_localtime;
using ::vlcrt_mktime;
using ::vlcrt_rand;
using ::vlcrt_srand;
using ::vlcrt_time;
using ::vlcrt_setlocale;
}  // namespace std

#ifndef VL_HOST_CRT
#undef RAND_MAX
#define RAND_MAX 0x7FFF
#define rand() vlcrt_rand()
#define srand(seed) vlcrt_srand(seed)
#define time(timer) vlcrt_time(timer)
#define localtime(timer) vlcrt_localtime(timer)
#define gmtime(timer) vlcrt_gmtime(timer)
#define mktime(timeptr) vlcrt_mktime(timeptr)
#define ctime(timer) vlcrt_ctime(timer)
#define clock() vlcrt_clock()
#define setlocale(category, locale) vlcrt_setlocale(category, locale)
#endif
