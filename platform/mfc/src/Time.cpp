// CTime and CTimeSpan over the platform's clock and zone.
#include <afx.h>

#include <host/Clock.h>
#include <host/TimeZone.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Calendar fields of seconds since 1970 (UTC or local wall-clock seconds).
void FieldsOf(std::int64_t seconds, struct tm& out)
{
    std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
    std::int64_t secs = seconds - days * kSecondsPerDay;
    std::int64_t year = 0;
    unsigned month = 0, day = 0;
    host::CivilFromDays(days, year, month, day);
    std::memset(&out, 0, sizeof out);
    out.tm_year = static_cast<int>(year - 1900);
    out.tm_mon = static_cast<int>(month) - 1;
    out.tm_mday = static_cast<int>(day);
    out.tm_hour = static_cast<int>(secs / 3600);
    out.tm_min = static_cast<int>(secs / 60 % 60);
    out.tm_sec = static_cast<int>(secs % 60);
    out.tm_wday = static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
    out.tm_yday = static_cast<int>(days - host::DaysFromCivil(year, 1, 1));
}

bool LocalFields(time_t t, struct tm& out)
{
    if (t < 0)
        return false;
    host::ZoneState zone = host::TimeZoneAt(t);
    FieldsOf(t + zone.offsetSeconds, out);
    out.tm_isdst = zone.daylight ? 1 : 0;
    return true;
}

thread_local struct tm t_tmBuffer;

const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

// Week number of the year with weeks starting on firstDay (0 Sunday, 1 Monday); days before the
// first such day are in week 0.
int WeekOfYear(const struct tm& t, int firstDay)
{
    int wday = (t.tm_wday + 7 - firstDay) % 7;
    return (t.tm_yday + 7 - wday) / 7;
}

void AppendNumber(CString& out, int value, int width, bool noLeadingZeros)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", noLeadingZeros ? 1 : width, value);
    out += text;
}

void AppendLongDate(CString& out, const struct tm& t, bool noLeadingZeros)
{
    out += kDayNames[t.tm_wday];
    out += ", ";
    out += kMonthNames[t.tm_mon];
    out += ' ';
    AppendNumber(out, t.tm_mday, 2, noLeadingZeros);
    out += ", ";
    AppendNumber(out, t.tm_year + 1900, 4, noLeadingZeros);
}

// The runtime's strftime in the "C" locale.
CString FormatFields(LPCSTR pFormat, const struct tm& t, const CString& zoneName)
{
    CString out;
    if (pFormat == NULL)
        return out;
    for (const char* p = pFormat; *p != '\0'; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        bool alternate = false;
        if (*p == '#') {
            alternate = true;
            ++p;
        }
        switch (*p) {
        case '\0':
            return out;
        case 'a':
            out += CString(kDayNames[t.tm_wday], 3);
            break;
        case 'A':
            out += kDayNames[t.tm_wday];
            break;
        case 'b':
            out += CString(kMonthNames[t.tm_mon], 3);
            break;
        case 'B':
            out += kMonthNames[t.tm_mon];
            break;
        case 'c':
            if (alternate) {
                AppendLongDate(out, t, true);
                out += ", ";
                AppendNumber(out, t.tm_hour, 2, true);
                out += ':';
                AppendNumber(out, t.tm_min, 2, false);
                out += ':';
                AppendNumber(out, t.tm_sec, 2, false);
            } else {
                out += FormatFields("%m/%d/%y %H:%M:%S", t, zoneName);
            }
            break;
        case 'x':
            if (alternate)
                AppendLongDate(out, t, true);
            else
                out += FormatFields("%m/%d/%y", t, zoneName);
            break;
        case 'X':
            out += FormatFields("%H:%M:%S", t, zoneName);
            break;
        case 'd':
            AppendNumber(out, t.tm_mday, 2, alternate);
            break;
        case 'H':
            AppendNumber(out, t.tm_hour, 2, alternate);
            break;
        case 'I':
            AppendNumber(out, t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12, 2, alternate);
            break;
        case 'j':
            AppendNumber(out, t.tm_yday + 1, 3, alternate);
            break;
        case 'm':
            AppendNumber(out, t.tm_mon + 1, 2, alternate);
            break;
        case 'M':
            AppendNumber(out, t.tm_min, 2, alternate);
            break;
        case 'p':
            out += t.tm_hour < 12 ? "AM" : "PM";
            break;
        case 'S':
            AppendNumber(out, t.tm_sec, 2, alternate);
            break;
        case 'U':
            AppendNumber(out, WeekOfYear(t, 0), 2, alternate);
            break;
        case 'w':
            AppendNumber(out, t.tm_wday, 1, alternate);
            break;
        case 'W':
            AppendNumber(out, WeekOfYear(t, 1), 2, alternate);
            break;
        case 'y':
            AppendNumber(out, (t.tm_year + 1900) % 100, 2, alternate);
            break;
        case 'Y':
            AppendNumber(out, t.tm_year + 1900, 4, alternate);
            break;
        case 'z':
        case 'Z':
            out += zoneName;
            break;
        case '%':
            out += '%';
            break;
        default:
            // Unknown codes are dropped, as the runtime does.
            break;
        }
    }
    return out;
}

}  // namespace

// ---- CTimeSpan ----------------------------------------------------------------------------

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(nSecs + 60 * (static_cast<time_t>(nMins) + 60 * (nHours + 24 * static_cast<time_t>(lDays))))
{
}

LONG CTimeSpan::GetDays() const { return static_cast<LONG>(m_timeSpan / kSecondsPerDay); }
LONG CTimeSpan::GetTotalHours() const { return static_cast<LONG>(m_timeSpan / 3600); }
int CTimeSpan::GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
LONG CTimeSpan::GetTotalMinutes() const { return static_cast<LONG>(m_timeSpan / 60); }
int CTimeSpan::GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
LONG CTimeSpan::GetTotalSeconds() const { return static_cast<LONG>(m_timeSpan); }
int CTimeSpan::GetSeconds() const { return static_cast<int>(GetTotalSeconds() - GetTotalMinutes() * 60); }

CString CTimeSpan::Format(LPCSTR pFormat) const
{
    CString out;
    if (pFormat == NULL)
        return out;
    char text[32];
    for (const char* p = pFormat; *p != '\0'; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        switch (*++p) {
        case '\0':
            return out;
        case 'D':
            std::snprintf(text, sizeof text, "%ld", static_cast<long>(GetDays()));
            out += text;
            break;
        case 'H':
            std::snprintf(text, sizeof text, "%02d", GetHours());
            out += text;
            break;
        case 'M':
            std::snprintf(text, sizeof text, "%02d", GetMinutes());
            out += text;
            break;
        case 'S':
            std::snprintf(text, sizeof text, "%02d", GetSeconds());
            out += text;
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += *p;
            break;
        }
    }
    return out;
}

CString CTimeSpan::Format(UINT nFormatID) const
{
    CString strFormat;
    if (!strFormat.LoadString(nFormatID))
        return CString();
    return Format(static_cast<LPCSTR>(strFormat));
}

// ---- CTime --------------------------------------------------------------------------------

CTime PASCAL CTime::GetCurrentTime()
{
    return CTime(static_cast<time_t>(FloorDiv(host::ClockUtcMilliseconds(), 1000)));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    // Months roll over into years, the other fields into the next larger unit.
    std::int64_t year = nYear + FloorDiv(nMonth - 1, 12);
    int month = static_cast<int>(nMonth - 1 - FloorDiv(nMonth - 1, 12) * 12) + 1;
    std::int64_t days = host::DaysFromCivil(year, static_cast<unsigned>(month), 1) + (nDay - 1);
    std::int64_t local = days * kSecondsPerDay + static_cast<std::int64_t>(nHour) * 3600 +
                         static_cast<std::int64_t>(nMin) * 60 + nSec;
    std::int64_t utc = 0;
    host::ZoneRule rule = host::TimeZoneRule(static_cast<int>(year));
    if (nDST >= 0 && rule.hasDaylight)
        utc = local - (nDST > 0 ? rule.daylightOffsetSeconds : rule.standardOffsetSeconds);
    else
        utc = host::LocalToUtcSeconds(local, -1);
    m_time = utc < 0 ? static_cast<time_t>(-1) : static_cast<time_t>(utc);
}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : CTime((wDosDate >> 9) + 1980, (wDosDate >> 5) & 0xF, wDosDate & 0x1F, wDosTime >> 11,
            (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2, nDST)
{
}

CTime::CTime(const SYSTEMTIME& sysTime, int nDST)
{
    if (sysTime.wYear < 1900) {
        m_time = 0;
        return;
    }
    *this = CTime(sysTime.wYear, sysTime.wMonth, sysTime.wDay, sysTime.wHour, sysTime.wMinute, sysTime.wSecond, nDST);
}

CTime::CTime(const FILETIME& fileTime, int nDST)
{
    FILETIME localTime;
    SYSTEMTIME sysTime;
    if (!FileTimeToLocalFileTime(&fileTime, &localTime) || !FileTimeToSystemTime(&localTime, &sysTime)) {
        m_time = 0;
        return;
    }
    *this = CTime(sysTime, nDST);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    if (m_time < 0)
        return NULL;
    struct tm* out = ptm != NULL ? ptm : &t_tmBuffer;
    FieldsOf(m_time, *out);
    return out;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    struct tm* out = ptm != NULL ? ptm : &t_tmBuffer;
    return LocalFields(m_time, *out) ? out : NULL;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& timeDest) const
{
    struct tm t;
    if (!LocalFields(m_time, t))
        return FALSE;
    timeDest.wYear = static_cast<WORD>(t.tm_year + 1900);
    timeDest.wMonth = static_cast<WORD>(t.tm_mon + 1);
    timeDest.wDayOfWeek = static_cast<WORD>(t.tm_wday);
    timeDest.wDay = static_cast<WORD>(t.tm_mday);
    timeDest.wHour = static_cast<WORD>(t.tm_hour);
    timeDest.wMinute = static_cast<WORD>(t.tm_min);
    timeDest.wSecond = static_cast<WORD>(t.tm_sec);
    timeDest.wMilliseconds = 0;
    return TRUE;
}

int CTime::GetYear() const
{
    struct tm t;
    return LocalFields(m_time, t) ? t.tm_year + 1900 : 0;
}
int CTime::GetMonth() const
{
    struct tm t;
    return LocalFields(m_time, t) ? t.tm_mon + 1 : 0;
}
int CTime::GetDay() const
{
    struct tm t;
    return LocalFields(m_time, t) ? t.tm_mday : 0;
}
int CTime::GetHour() const
{
    struct tm t;
    return LocalFields(m_time, t) ? t.tm_hour : 0;
}
int CTime::GetMinute() const
{
    struct tm t;
    return LocalFields(m_time, t) ? t.tm_min : 0;
}
int CTime::GetSecond() const
{
    struct tm t;
    return LocalFields(m_time, t) ? t.tm_sec : 0;
}
int CTime::GetDayOfWeek() const
{
    struct tm t;
    return LocalFields(m_time, t) ? t.tm_wday + 1 : 0;
}

CString CTime::Format(LPCSTR pFormat) const
{
    struct tm t;
    if (!LocalFields(m_time, t))
        return CString();
    return FormatFields(pFormat, t, host::TimeZoneAt(m_time).abbreviation.c_str());
}

CString CTime::FormatGmt(LPCSTR pFormat) const
{
    struct tm t;
    if (GetGmtTm(&t) == NULL)
        return CString();
    return FormatFields(pFormat, t, "UTC");
}

CString CTime::Format(UINT nFormatID) const
{
    CString strFormat;
    if (!strFormat.LoadString(nFormatID))
        return CString();
    return Format(static_cast<LPCSTR>(strFormat));
}

CString CTime::FormatGmt(UINT nFormatID) const
{
    CString strFormat;
    if (!strFormat.LoadString(nFormatID))
        return CString();
    return FormatGmt(static_cast<LPCSTR>(strFormat));
}

// ---- archives and dumps -------------------------------------------------------------------

CArchive& AFXAPI operator<<(CArchive& ar, CTime time) { return ar << static_cast<DWORD>(time.m_time); }

CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime)
{
    DWORD value = 0;
    ar >> value;
    rtime.m_time = static_cast<time_t>(value);
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan timeSpan) { return ar << static_cast<LONG>(timeSpan.m_timeSpan); }

CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rtimeSpan)
{
    LONG value = 0;
    ar >> value;
    rtimeSpan.m_timeSpan = value;
    return ar;
}

CDumpContext& AFXAPI operator<<(CDumpContext& dc, CTime time)
{
    CString text = time.Format("CTime(\"%a %b %d %H:%M:%S %Y\")");
    return dc << static_cast<LPCSTR>(text);
}

CDumpContext& AFXAPI operator<<(CDumpContext& dc, CTimeSpan timeSpan)
{
    CString text = timeSpan.Format("CTimeSpan(%D days, %H:%M:%S)");
    return dc << static_cast<LPCSTR>(text);
}
