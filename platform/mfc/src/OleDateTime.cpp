#include <afx.h>
#include <mfc/OleDateTime.h>

#include <host/Clock.h>

#include "DaoSql.h"

#include <cmath>
#include <ctime>

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
long DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const long kEpoch = DaysFromCivil(1899, 12, 30);
const double kMinDate = -657434.0;   // 1 January 100
const double kMaxDate = 2958465.99999;  // 31 December 9999, 23:59:59

// The automation date counts whole days from the epoch and, also before it, adds the time of
// day as a positive fraction: -1.25 is 29 December 1899, 06:00.
struct Split {
    long days;
    long seconds;
};

Split SplitDate(DATE dt)
{
    double whole = std::trunc(dt);
    long days = static_cast<long>(whole);
    long seconds = std::lround(std::fabs(dt - whole) * 86400.0);
    if (seconds >= 86400) {  // rounds up to midnight: the next calendar day
        seconds -= 86400;
        days += 1;
    }
    return {days, seconds};
}

// A value that orders as time does.
double Linear(DATE dt)
{
    double whole = std::trunc(dt);
    return whole + std::fabs(dt - whole);
}

bool Parts(const COleDateTime& t, int& y, int& mo, int& d, int& h, int& mi, int& s)
{
    if (t.m_status != COleDateTime::valid)
        return false;
    Split sp = SplitDate(t.m_dt);
    CivilFromDays(sp.days + kEpoch, y, mo, d);
    h = static_cast<int>(sp.seconds / 3600);
    mi = static_cast<int>(sp.seconds / 60 % 60);
    s = static_cast<int>(sp.seconds % 60);
    return true;
}

}  // namespace

COleDateTime::COleDateTime() : m_dt(0), m_status(valid) {}

COleDateTime::COleDateTime(DATE dtSrc) : m_dt(0), m_status(valid) { *this = dtSrc; }

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) : m_dt(0), m_status(valid)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

const COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    m_dt = dtSrc;
    m_status = (std::isfinite(dtSrc) && dtSrc >= kMinDate && dtSrc <= kMaxDate) ? valid : invalid;
    return *this;
}

COleDateTime PASCAL COleDateTime::GetCurrentTime()
{
    std::time_t secs = static_cast<std::time_t>(host::ClockUtcMilliseconds() / 1000);
    std::tm local{};
    localtime_r(&secs, &local);
    return COleDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                        local.tm_sec);
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    if (nYear < 100 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 ||
        nDay > daosql::DaysInMonth(nYear, nMonth) || nHour < 0 || nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 ||
        nSec > 59) {
        m_dt = 0;
        m_status = invalid;
        return 1;
    }
    long days = DaysFromCivil(nYear, nMonth, nDay) - kEpoch;
    double time = (nHour * 3600.0 + nMin * 60.0 + nSec) / 86400.0;
    m_dt = days >= 0 ? days + time : days - time;
    m_status = valid;
    return 0;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }

int COleDateTime::SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

int COleDateTime::GetYear() const
{
    int y, mo, d, h, mi, s;
    return Parts(*this, y, mo, d, h, mi, s) ? y : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetMonth() const
{
    int y, mo, d, h, mi, s;
    return Parts(*this, y, mo, d, h, mi, s) ? mo : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetDay() const
{
    int y, mo, d, h, mi, s;
    return Parts(*this, y, mo, d, h, mi, s) ? d : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetHour() const
{
    int y, mo, d, h, mi, s;
    return Parts(*this, y, mo, d, h, mi, s) ? h : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetMinute() const
{
    int y, mo, d, h, mi, s;
    return Parts(*this, y, mo, d, h, mi, s) ? mi : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetSecond() const
{
    int y, mo, d, h, mi, s;
    return Parts(*this, y, mo, d, h, mi, s) ? s : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetDayOfWeek() const
{
    if (m_status != valid)
        return AFX_OLE_DATETIME_ERROR;
    long days = SplitDate(m_dt).days + kEpoch;  // 1970-01-01 was a Thursday (5)
    return static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
}

int COleDateTime::GetDayOfYear() const
{
    int y, mo, d, h, mi, s;
    if (!Parts(*this, y, mo, d, h, mi, s))
        return AFX_OLE_DATETIME_ERROR;
    return static_cast<int>(DaysFromCivil(y, mo, d) - DaysFromCivil(y, 1, 1)) + 1;
}

BOOL COleDateTime::operator==(const COleDateTime& date) const
{
    return m_status == date.m_status && (m_status != valid || Linear(m_dt) == Linear(date.m_dt));
}
BOOL COleDateTime::operator!=(const COleDateTime& date) const { return !(*this == date); }
BOOL COleDateTime::operator<(const COleDateTime& date) const { return Linear(m_dt) < Linear(date.m_dt); }
BOOL COleDateTime::operator>(const COleDateTime& date) const { return Linear(m_dt) > Linear(date.m_dt); }
BOOL COleDateTime::operator<=(const COleDateTime& date) const { return Linear(m_dt) <= Linear(date.m_dt); }
BOOL COleDateTime::operator>=(const COleDateTime& date) const { return Linear(m_dt) >= Linear(date.m_dt); }

CString COleDateTime::Format(LPCSTR lpszFormat) const
{
    if (m_status == null)
        return CString();
    int y, mo, d, h, mi, s;
    if (!Parts(*this, y, mo, d, h, mi, s))
        return CString("Invalid DateTime");
    if (lpszFormat == NULL || *lpszFormat == 0) {
        // The platform's default form: the date unless it is the epoch day, the time unless
        // it is midnight.
        char buf[64] = "";
        int n = 0;
        bool dateOnly = h == 0 && mi == 0 && s == 0;
        bool timeOnly = SplitDate(m_dt).days == 0;
        if (!timeOnly || dateOnly)
            n = std::snprintf(buf, sizeof buf, "%d/%d/%d", mo, d, y);
        if (!dateOnly)
            std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), "%s%d:%02d:%02d %s", n ? " " : "",
                          h % 12 == 0 ? 12 : h % 12, mi, s, h < 12 ? "AM" : "PM");
        return CString(buf);
    }
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_wday = GetDayOfWeek() - 1;
    tm.tm_yday = GetDayOfYear() - 1;
    char buf[256];
    std::size_t n = std::strftime(buf, sizeof buf, lpszFormat, &tm);
    return CString(buf, static_cast<int>(n));
}

BOOL COleDateTime::ParseDateTime(LPCSTR lpszDate, DWORD, DWORD)
{
    auto parts = daosql::ParseDateText(lpszDate ? lpszDate : "");
    if (!parts) {
        m_dt = 0;
        m_status = invalid;
        return FALSE;
    }
    return SetDateTime(parts->year, parts->month, parts->day, parts->hour, parts->minute, parts->second) == 0;
}
