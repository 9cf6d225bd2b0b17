// COleDateTime: a date and time as the platform's automation DATE (days since 30 December 1899,
// the fraction the time of day), with a status of valid, invalid or null. The range is the
// years 100 to 9999.
#pragma once

#include <windef.h>

#include <mfc/String.h>

// The automation date type (a repeated identical typedef elsewhere is harmless).
typedef double DATE;

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime();
    COleDateTime(DATE dtSrc);
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

    // The local time now, from the platform's clock.
    static COleDateTime PASCAL GetCurrentTime();

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    // Each returns 0 and sets the status valid, or returns 1 and sets it invalid when a part is
    // out of range (month 1-12, the day within its month, hour 0-23, minute and second 0-59).
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay);
    int SetTime(int nHour, int nMin, int nSec);

    // Parts of a valid date (AFX_OLE_DATETIME_ERROR, -1, when the status is not valid).
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday
    int GetDayOfYear() const;  // 1 = 1 January

    operator DATE() const { return m_dt; }
    const COleDateTime& operator=(DATE dtSrc);

    BOOL operator==(const COleDateTime& date) const;
    BOOL operator!=(const COleDateTime& date) const;
    BOOL operator<(const COleDateTime& date) const;
    BOOL operator>(const COleDateTime& date) const;
    BOOL operator<=(const COleDateTime& date) const;
    BOOL operator>=(const COleDateTime& date) const;

    // strftime-style format (%Y %m %d %H %M %S %y %B %b %A %a %I %p %j %%); "%c" when none is
    // given. A null date formats as "", an invalid one as "Invalid DateTime".
    CString Format(LPCSTR lpszFormat = NULL) const;
    // Reads "m/d/yyyy", "yyyy-mm-dd", either with a time "h:mm[:ss] [AM|PM]", or a time alone.
    // FALSE (status invalid) when the text is no date.
    BOOL ParseDateTime(LPCSTR lpszDate, DWORD dwFlags = 0, DWORD lcid = 0);

    DATE m_dt;
    DateTimeStatus m_status;
};

#define AFX_OLE_DATETIME_ERROR (-1)
