// CTime and CTimeSpan: an instant as seconds since 1970-01-01 00:00 UTC and a signed length of
// time in seconds. GetCurrentTime reads the platform's one clock; the calendar fields, Format
// and the constructors from local date parts see the platform's zone with its daylight-saving
// rules. In an archive a CTime is a DWORD and a CTimeSpan a LONG, as in the 32-bit class
// library.
#pragma once

#include <windef.h>

#include <mfc/String.h>

#include <ctime>

class CArchive;
class CDumpContext;

class CTimeSpan {
public:
    CTimeSpan() : m_timeSpan(0) {}
    CTimeSpan(time_t time) : m_timeSpan(time) {}
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    LONG GetDays() const;
    LONG GetTotalHours() const;
    int GetHours() const;
    LONG GetTotalMinutes() const;
    int GetMinutes() const;
    LONG GetTotalSeconds() const;
    int GetSeconds() const;

    CTimeSpan operator-(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan - timeSpan.m_timeSpan); }
    CTimeSpan operator+(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan + timeSpan.m_timeSpan); }
    const CTimeSpan& operator+=(CTimeSpan timeSpan)
    {
        m_timeSpan += timeSpan.m_timeSpan;
        return *this;
    }
    const CTimeSpan& operator-=(CTimeSpan timeSpan)
    {
        m_timeSpan -= timeSpan.m_timeSpan;
        return *this;
    }
    bool operator==(CTimeSpan timeSpan) const { return m_timeSpan == timeSpan.m_timeSpan; }
    bool operator!=(CTimeSpan timeSpan) const { return m_timeSpan != timeSpan.m_timeSpan; }
    bool operator<(CTimeSpan timeSpan) const { return m_timeSpan < timeSpan.m_timeSpan; }
    bool operator>(CTimeSpan timeSpan) const { return m_timeSpan > timeSpan.m_timeSpan; }
    bool operator<=(CTimeSpan timeSpan) const { return m_timeSpan <= timeSpan.m_timeSpan; }
    bool operator>=(CTimeSpan timeSpan) const { return m_timeSpan >= timeSpan.m_timeSpan; }

    // %D days, %H hours (0-23), %M minutes, %S seconds, %% a percent sign; other characters
    // are copied.
    CString Format(LPCSTR pFormat) const;
    CString Format(UINT nFormatID) const;

    friend CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan timeSpan);
    friend CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rtimeSpan);

private:
    time_t m_timeSpan;
    friend class CTime;
};

class CTime {
public:
    // The platform clock's present time, whole seconds.
    static CTime PASCAL GetCurrentTime();

    CTime() : m_time(0) {}
    CTime(time_t time) : m_time(time) {}
    // Local date and time. nDST < 0 lets the zone decide (a time that occurs twice is taken as
    // standard time); 0 reads the fields as standard time, > 0 as daylight-saving time. Fields
    // out of range roll over like mktime's; a date before 1970 gives the invalid time -1.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    // A packed date and time as the old file system stores them.
    CTime(WORD wDosDate, WORD wDosTime, int nDST = -1);
    // Local date and time in a SYSTEMTIME (milliseconds dropped).
    CTime(const SYSTEMTIME& sysTime, int nDST = -1);
    // A file time (UTC) seen as local time, then read like a SYSTEMTIME.
    CTime(const FILETIME& fileTime, int nDST = -1);

    const CTime& operator=(time_t t)
    {
        m_time = t;
        return *this;
    }

    time_t GetTime() const { return m_time; }
    // The calendar fields in UTC / in local time; into *ptm when given, else into a buffer of the
    // calling thread that the next call overwrites. NULL for the invalid time.
    struct tm* GetGmtTm(struct tm* ptm = NULL) const;
    struct tm* GetLocalTm(struct tm* ptm = NULL) const;
    // Local time; FALSE for a time the calendar cannot show.
    BOOL GetAsSystemTime(SYSTEMTIME& timeDest) const;

    // Local calendar fields; GetDayOfWeek is 1 for Sunday to 7 for Saturday.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;

    CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
    CTime operator-(CTimeSpan timeSpan) const { return CTime(m_time - timeSpan.m_timeSpan); }
    CTime operator+(CTimeSpan timeSpan) const { return CTime(m_time + timeSpan.m_timeSpan); }
    const CTime& operator+=(CTimeSpan timeSpan)
    {
        m_time += timeSpan.m_timeSpan;
        return *this;
    }
    const CTime& operator-=(CTimeSpan timeSpan)
    {
        m_time -= timeSpan.m_timeSpan;
        return *this;
    }
    bool operator==(CTime time) const { return m_time == time.m_time; }
    bool operator!=(CTime time) const { return m_time != time.m_time; }
    bool operator<(CTime time) const { return m_time < time.m_time; }
    bool operator>(CTime time) const { return m_time > time.m_time; }
    bool operator<=(CTime time) const { return m_time <= time.m_time; }
    bool operator>=(CTime time) const { return m_time >= time.m_time; }

    // strftime codes of the platform's runtime in its "C" locale, on local time (Format) or UTC
    // (FormatGmt): %a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W %x %X %y %Y %z %Z %%, and the
    // '#' flag (%#d: no leading zero; %#c, %#x: the long date). The invalid time gives "".
    CString Format(LPCSTR pFormat) const;
    CString FormatGmt(LPCSTR pFormat) const;
    CString Format(UINT nFormatID) const;
    CString FormatGmt(UINT nFormatID) const;

    friend CArchive& AFXAPI operator<<(CArchive& ar, CTime time);
    friend CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime);

private:
    time_t m_time;
};

CDumpContext& AFXAPI operator<<(CDumpContext& dc, CTime time);
CDumpContext& AFXAPI operator<<(CDumpContext& dc, CTimeSpan timeSpan);
