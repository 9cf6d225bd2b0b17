#include "online/OnlineUpdater.h"

#include "base/DataFolders.h"

#include <climits>
#include <cstdint>

namespace {

// The time of the last update; FALSE when there has been none. A value that is not a plain
// count of seconds, that lies after the present time, or that is too large for the calendar
// arithmetic counts as never updated.
BOOL LastUpdate(CTime& last, CTime& now)
{
    const CString strValue = GetAppProfileString(VL_PRODUCT_SECTION, "Last Update", "");
    LPCSTR psz = strValue;
    if (*psz < '0' || *psz > '9')
        return FALSE;
    std::int64_t nSeconds = 0;
    for (; *psz >= '0' && *psz <= '9'; ++psz) {
        if (nSeconds > (INT64_MAX - 9) / 10)
            return FALSE;
        nSeconds = nSeconds * 10 + (*psz - '0');
    }
    if (*psz != '\0' || nSeconds == 0)
        return FALSE;
    now = CTime::GetCurrentTime();
    if (nSeconds > static_cast<std::int64_t>(now.GetTime()))
        return FALSE;
    last = CTime(static_cast<time_t>(nSeconds));
    return TRUE;
}

CString NotUpdatedIn(LPCSTR lpszAge)
{
    CString strText;
    strText.Format("You have not updated in %s.", lpszAge);
    return strText;
}

CString CountOf(int n, LPCSTR lpszUnit)
{
    CString strCount;
    strCount.Format("%d %s%s", n, lpszUnit, n == 1 ? "" : "s");
    return strCount;
}

const char kNeverUpdated[] = "You must update to receive this month's information.";

}  // namespace

int COnlineUpdater::GetMonthsSinceUpdate()
{
    CTime last, now;
    if (!LastUpdate(last, now))
        return -1;
    // A month has passed once the day of the month of the update recurs: the present time less
    // the days from the first of the update's month to the update, counted in calendar months.
    const CTime first(last.GetYear(), last.GetMonth(), 1, 0, 0, 0);
    const std::int64_t nDays = (last - first).GetDays();
    const CTime shifted = now - CTimeSpan(static_cast<LONG>(nDays), 0, 0, 0);
    const std::int64_t nMonths = (std::int64_t{shifted.GetYear()} - first.GetYear()) * 12 +
                                 (std::int64_t{shifted.GetMonth()} - first.GetMonth());
    if (nMonths < 0)
        return 0;
    return nMonths > INT_MAX ? INT_MAX : static_cast<int>(nMonths);
}

int COnlineUpdater::GetDaysSinceUpdate()
{
    CTime last, now;
    if (!LastUpdate(last, now))
        return -1;
    const std::int64_t nDays = (now - last).GetDays();
    return nDays > INT_MAX ? INT_MAX : static_cast<int>(nDays);
}

CString COnlineUpdater::GetUpdateAgeText()
{
    const int nMonths = GetMonthsSinceUpdate();
    if (nMonths < 0)
        return kNeverUpdated;
    if (nMonths == 0) {
        const int nDays = GetDaysSinceUpdate();
        if (nDays < 0)
            return kNeverUpdated;
        return NotUpdatedIn(CountOf(nDays, "day"));
    }
    if (nMonths >= 12)
        return NotUpdatedIn("over a year");
    return NotUpdatedIn(CountOf(nMonths, "month"));
}
