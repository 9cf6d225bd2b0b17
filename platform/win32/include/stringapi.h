// String helpers of the platform's C interface, on single-byte text in the Western code page
// (Windows-1252): MulDiv, the lstr* family, wsprintf and the Char* case functions.
#pragma once

#include <windef.h>

#include <cstdarg>

#ifndef WINAPIV
#define WINAPIV
#endif

// (nNumber * nNumerator) / nDenominator with a 64-bit intermediate, rounded to the nearest
// integer (halves away from zero). Returns -1 when nDenominator is 0 or the result does not fit.
int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator);

// lstrcmp and lstrcmpi compare in the user locale's word-sort order, approximated here for the
// Western code page the way the real tables order it:
//  - hyphens, apostrophes and soft hyphens are ignored at first ("co-op" sits beside "coop") and
//    only break ties, a word without them sorting first;
//  - punctuation and symbols sort before digits, digits before letters;
//  - accented letters sort with their base letter ("resume" < "résumé" < "resumes"); the accent
//    only breaks ties (none < acute < grave < circumflex < tilde < diaeresis < ring ...);
//    "ß" sorts as "ss", "æ" as "ae", "œ" as "oe", "þ" after "z";
//  - lstrcmp then puts a lower-case letter before its capital ("a" < "A" < "b"); lstrcmpi ignores
//    case.
// The result is -1, 0 or 1. NULL sorts before every string.
int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2);
int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2);
// Length in bytes; 0 for NULL.
int WINAPI lstrlenA(LPCSTR lpString);
// These return NULL instead of faulting on a NULL argument.
LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2);
// Copies at most iMaxLength - 1 bytes and always ends the copy with a NUL (for iMaxLength > 0).
LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength);
LPSTR WINAPI lstrcatA(LPSTR lpString1, LPCSTR lpString2);

// The platform's small printf: %[-][#][0][width][.precision][h|l|I64]type with the types
// c C d i u x X s S p and %%; no floating point and no '*'. "l" means 32 bits as on the platform.
// %s of NULL prints "(null)"; %S and %ls take a WCHAR string. At most 1024 bytes including the
// terminating NUL are written; the result is the count of bytes written without the NUL.
int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...);
int WINAPI wvsprintfA(LPSTR lpOut, LPCSTR lpFmt, va_list arglist);

// Case mapping and classes of the Western code page: "é" <-> "É", "š" <-> "Š", "ÿ" <-> "Ÿ";
// "ß", "µ" and "ƒ" stay as they are in upper case. CharUpper/CharLower take either a string
// (converted in place, the pointer returned) or, when the pointer's upper bits are all zero, a
// single character in its low byte (the converted character returned the same way).
LPSTR WINAPI CharUpperA(LPSTR lpsz);
LPSTR WINAPI CharLowerA(LPSTR lpsz);
DWORD WINAPI CharUpperBuffA(LPSTR lpsz, DWORD cchLength);
DWORD WINAPI CharLowerBuffA(LPSTR lpsz, DWORD cchLength);
LPSTR WINAPI CharNextA(LPCSTR lpsz);
LPSTR WINAPI CharPrevA(LPCSTR lpszStart, LPCSTR lpszCurrent);
BOOL WINAPI IsCharAlphaA(CHAR ch);
BOOL WINAPI IsCharAlphaNumericA(CHAR ch);
BOOL WINAPI IsCharUpperA(CHAR ch);
BOOL WINAPI IsCharLowerA(CHAR ch);

#define lstrcmp lstrcmpA
#define lstrcmpi lstrcmpiA
#define lstrlen lstrlenA
#define lstrcpy lstrcpyA
#define lstrcpyn lstrcpynA
#define lstrcat lstrcatA
#define wsprintf wsprintfA
#define wvsprintf wvsprintfA
#define CharUpper CharUpperA
#define CharLower CharLowerA
#define CharUpperBuff CharUpperBuffA
#define CharLowerBuff CharLowerBuffA
#define CharNext CharNextA
#define CharPrev CharPrevA
#define IsCharAlpha IsCharAlphaA
#define IsCharAlphaNumeric IsCharAlphaNumericA
#define IsCharUpper IsCharUpperA
#define IsCharLower IsCharLowerA
