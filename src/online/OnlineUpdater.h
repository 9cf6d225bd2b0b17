// How long ago the local copy was last brought up to date, and the sentence that says so. The
// update process stores the time of each completed update as the product section's
// "Last Update" (decimal seconds since 1970); missing, empty or 0 means never.
#pragma once

#include <afx.h>

class COnlineUpdater {
public:
    // Whole months since the last update (a month has passed once the day of the month of the
    // update recurs); -1 when never updated.
    static int GetMonthsSinceUpdate();
    // Whole days since the last update; -1 when never updated.
    static int GetDaysSinceUpdate();
    // "You have not updated in 3 months." and the like; "You must update to receive this
    // month's information." when never updated.
    static CString GetUpdateAgeText();
};
