#include "online/OnlineUpdater.h"

#include "base/DataFolders.h"

#include <cstdlib>

namespace {

// The time of the last update; FALSE when there has been none.
BOOL LastUpdate(CTime& last)
{
    long nSeconds = std::atol(GetAppProfileString(VL_PRODUCT_SECTION, "Last Update", ""));
    if (nSeconds == 0)
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
    CTime last;
    if (!LastUpdate(last))
        return -1;
    const CTime now = CTime::GetCurrentTime();
    const CTime first(last.GetYear(), last.GetMonth(), 1, 0, 0, 0);
    const LONG nDays = (last - first).GetDays();
    const CTime shifted = now - CTimeSpan(nDays, 0, 0, 0);
    return (shifted.GetYear() - first.GetYear()) * 12 + (shifted.GetMonth() - first.GetMonth());
}

int COnlineUpdater::GetDaysSinceUpdate()
{
    CTime last;
    if (!LastUpdate(last))
        return -1;
    return static_cast<int>((CTime::GetCurrentTime() - last).GetDays());
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
