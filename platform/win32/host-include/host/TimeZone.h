// The time zone that the platform's local time follows: GetLocalTime, GetTimeZoneInformation,
// FileTimeToLocalFileTime and the C runtime's localtime/mktime as product code sees them.
//
// A zone is named the way the host names it: an IANA name read from the host's zone database
// ("Europe/Berlin", optionally written ":Europe/Berlin"), or a POSIX TZ string with its
// daylight-saving rule ("CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT", "UTC0"). By default the zone is
// the host's: the TZ variable when it is set, else /etc/localtime, else UTC.
//
// Not part of the platform's interface: only the platform layer itself and tests use it.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Chooses the zone. An empty string goes back to the host's zone. Returns false (and keeps the
// zone as it was) when the name is neither a zone of the database nor a valid TZ string.
bool SetTimeZone(const std::string& zone);

// What the zone says at one instant.
struct ZoneState {
    int offsetSeconds = 0;  // local time minus UTC
    bool daylight = false;
    std::string abbreviation;
};
ZoneState TimeZoneAt(std::int64_t utcSeconds);

// Local wall-clock seconds (since 1970-01-01 00:00 local) to UTC seconds. A time that occurs
// twice (the autumn hour) is taken as standard time unless daylightHint is 1; a time that does
// not exist (the spring gap) is read with the offset in force before the gap, so it lands that
// far after the change.
std::int64_t LocalToUtcSeconds(std::int64_t localSeconds, int daylightHint = -1);

// The zone's current rule, in the form the platform reports it.
struct ZoneRuleDate {
    // month 1-12; week 1-5 (5 = last) and weekday 0-6 (Sunday = 0) for a rule "the n-th weekday of
    // the month"; or, when day is not 0, the fixed date day.month of `year`.
    int year = 0;
    int month = 0;
    int week = 0;
    int weekday = 0;
    int day = 0;
    int secondsOfDay = 0;  // local time of the change (standard time for the start of daylight time)
};
struct ZoneRule {
    int standardOffsetSeconds = 0;
    int daylightOffsetSeconds = 0;
    bool hasDaylight = false;
    std::string standardName;
    std::string daylightName;
    ZoneRuleDate daylightStart;
    ZoneRuleDate standardStart;
};
// The rule in force in the given year (the zone's present rule for a database zone).
ZoneRule TimeZoneRule(int year);

// Calendar helpers shared by the time functions: days since 1970-01-01 of a proleptic Gregorian
// date, and back.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day);
void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day);

}  // namespace host
