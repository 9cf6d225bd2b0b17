// The platform's one locale and GetDateFormat (winnls.h).
#include <windows.h>

#include <host/TimeZone.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kShortDate = "M/d/yyyy";
constexpr const char* kLongDate = "dddd, MMMM dd, yyyy";

constexpr const char* kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};

bool KnownLocale(LCID locale)
{
    locale &= 0xFFFF;  // the sort id above it does not change a date
    return locale == LOCALE_NEUTRAL || locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT ||
           locale == LOCALE_ENGLISH_US;
}

bool ValidDate(const SYSTEMTIME& date)
{
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.wYear < 1601 || date.wYear > 30827 || date.wMonth < 1 || date.wMonth > 12 || date.wDay < 1 ||
        date.wDay > days[date.wMonth - 1])
        return false;
    bool leap = (date.wYear % 4 == 0 && date.wYear % 100 != 0) || date.wYear % 400 == 0;
    return date.wMonth != 2 || date.wDay <= 28 || leap;
}

int DayOfWeek(const SYSTEMTIME& date)
{
    std::int64_t days = host::DaysFromCivil(date.wYear, date.wMonth, date.wDay);  // 0 is a Thursday
    return static_cast<int>(((days % 7) + 11) % 7);
}

std::string Number(int value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

std::string Format(const SYSTEMTIME& date, const char* picture)
{
    std::string out;
    for (const char* p = picture; *p;) {
        char c = *p;
        if (c == '\'' && p[1] == '\'') {
            out += '\'';  // '' is one quote
            p += 2;
            continue;
        }
        if (c == '\'') {
            // Quoted text up to the closing quote; '' inside it is one quote.
            ++p;
            while (*p) {
                if (*p == '\'') {
                    if (p[1] == '\'') {
                        out += '\'';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                out += *p++;
            }
            continue;
        }
        size_t run = 1;
        while (p[run] == c)
            ++run;
        switch (c) {
        case 'd':
            if (run == 1 || run == 2)
                out += Number(date.wDay, static_cast<int>(run));
            else if (run == 3)
                out += std::string(kDayNames[DayOfWeek(date)], 3);
            else
                out += kDayNames[DayOfWeek(date)];
            break;
        case 'M':
            if (run == 1 || run == 2)
                out += Number(date.wMonth, static_cast<int>(run));
            else if (run == 3)
                out += std::string(kMonthNames[date.wMonth - 1], 3);
            else
                out += kMonthNames[date.wMonth - 1];
            break;
        case 'y':
            if (run == 1)
                out += Number(date.wYear % 100, 1);
            else if (run == 2)
                out += Number(date.wYear % 100, 2);
            else
                out += Number(date.wYear, 4);
            break;
        case 'g':
            out += "A.D.";
            break;
        default:
            out.append(run, c);
            break;
        }
        p += run;
    }
    return out;
}

}  // namespace

LCID WINAPI GetUserDefaultLCID(void) { return LOCALE_ENGLISH_US; }

LCID WINAPI GetSystemDefaultLCID(void) { return LOCALE_ENGLISH_US; }

int WINAPI GetDateFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCSTR lpFormat, LPSTR lpDateStr,
                          int cchDate)
{
    if (!KnownLocale(Locale) || cchDate < 0 || (cchDate > 0 && !lpDateStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD kind = dwFlags & (DATE_SHORTDATE | DATE_LONGDATE);
    if ((dwFlags & ~(DATE_SHORTDATE | DATE_LONGDATE | LOCALE_NOUSEROVERRIDE)) != 0 ||
        kind == (DATE_SHORTDATE | DATE_LONGDATE) || (lpFormat && kind != 0)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    SYSTEMTIME date{};
    if (lpDate)
        date = *lpDate;
    else
        GetLocalTime(&date);
    if (!ValidDate(date)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* picture = lpFormat ? lpFormat : kind == DATE_LONGDATE ? kLongDate : kShortDate;
    std::string text = Format(date, picture);
    const int needed = static_cast<int>(text.size()) + 1;
    if (cchDate == 0)
        return needed;
    if (cchDate < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(lpDateStr, text.c_str(), static_cast<size_t>(needed));
    return needed;
}
