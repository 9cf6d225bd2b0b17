// Time zones: POSIX TZ rules and the host's compiled zone files (TZif), read by our own code so
// that the host C library's process-wide TZ setting is never touched.
#include <host/TimeZone.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace host {

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& year, unsigned& month, unsigned& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2);
}

}  // namespace host

namespace {

bool IsLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(std::int64_t y, unsigned m)
{
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

enum class RuleKind { MonthWeekDay, JulianNoLeap, JulianZeroBased };

struct RuleTime {
    RuleKind kind = RuleKind::MonthWeekDay;
    int month = 0, week = 0, weekday = 0, day = 0;
    int seconds = 7200;
};

struct PosixRule {
    std::string stdName, dstName;
    int stdOffset = 0;  // local minus UTC
    int dstOffset = 0;
    bool hasDst = false;
    RuleTime start, end;
};

// Local day (days since 1970) on which a rule falls in year y.
std::int64_t RuleDay(std::int64_t y, const RuleTime& r)
{
    switch (r.kind) {
    case RuleKind::JulianNoLeap: {
        std::int64_t doy = r.day - 1;
        if (IsLeap(y) && r.day >= 60)
            ++doy;
        return host::DaysFromCivil(y, 1, 1) + doy;
    }
    case RuleKind::JulianZeroBased:
        return host::DaysFromCivil(y, 1, 1) + r.day;
    case RuleKind::MonthWeekDay:
        break;
    }
    std::int64_t first = host::DaysFromCivil(y, static_cast<unsigned>(r.month), 1);
    int firstWeekday = static_cast<int>(((first % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    int day = 1 + (r.weekday - firstWeekday + 7) % 7 + (r.week - 1) * 7;
    while (day > static_cast<int>(DaysInMonth(y, static_cast<unsigned>(r.month))))
        day -= 7;
    return first + day - 1;
}

std::int64_t YearOf(std::int64_t seconds)
{
    std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    std::int64_t y;
    unsigned m, d;
    host::CivilFromDays(days, y, m, d);
    return y;
}

host::ZoneState Evaluate(const PosixRule& rule, std::int64_t t)
{
    if (!rule.hasDst)
        return {rule.stdOffset, false, rule.stdName};
    std::int64_t y = YearOf(t + rule.stdOffset);
    std::int64_t s = RuleDay(y, rule.start) * 86400 + rule.start.seconds - rule.stdOffset;
    std::int64_t e = RuleDay(y, rule.end) * 86400 + rule.end.seconds - rule.dstOffset;
    bool dst = s < e ? (s <= t && t < e) : !(e <= t && t < s);
    return dst ? host::ZoneState{rule.dstOffset, true, rule.dstName}
               : host::ZoneState{rule.stdOffset, false, rule.stdName};
}

// --- POSIX TZ strings ---

class TzParser {
public:
    explicit TzParser(const std::string& text) : m_s(text) {}

    std::optional<PosixRule> Parse()
    {
        PosixRule r;
        if (!Name(r.stdName))
            return std::nullopt;
        int off;
        if (!Offset(off))
            return std::nullopt;
        r.stdOffset = -off;
        if (AtEnd())
            return r;
        if (!Name(r.dstName))
            return std::nullopt;
        r.hasDst = true;
        r.dstOffset = r.stdOffset + 3600;
        if (!AtEnd() && Peek() != ',') {
            if (!Offset(off))
                return std::nullopt;
            r.dstOffset = -off;
        }
        if (AtEnd()) {
            r.start = {RuleKind::MonthWeekDay, 3, 2, 0, 0, 7200};
            r.end = {RuleKind::MonthWeekDay, 11, 1, 0, 0, 7200};
            return r;
        }
        if (Next() != ',' || !Rule(r.start) || AtEnd() || Next() != ',' || !Rule(r.end) || !AtEnd())
            return std::nullopt;
        return r;
    }

private:
    bool AtEnd() const { return m_i >= m_s.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_s[m_i]; }
    char Next() { return AtEnd() ? '\0' : m_s[m_i++]; }

    bool Name(std::string& out)
    {
        if (Peek() == '<') {
            ++m_i;
            std::size_t close = m_s.find('>', m_i);
            if (close == std::string::npos)
                return false;
            out = m_s.substr(m_i, close - m_i);
            m_i = close + 1;
            return out.size() >= 3;
        }
        std::size_t begin = m_i;
        while (!AtEnd() && std::isalpha(static_cast<unsigned char>(Peek())))
            ++m_i;
        out = m_s.substr(begin, m_i - begin);
        return out.size() >= 3;
    }

    bool Number(int& out, int maxDigits)
    {
        int digits = 0;
        out = 0;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(Peek())) && digits < maxDigits) {
            out = out * 10 + (Next() - '0');
            ++digits;
        }
        return digits > 0;
    }

    // [+-]hh[:mm[:ss]] as seconds.
    bool Offset(int& out)
    {
        int sign = 1;
        if (Peek() == '+' || Peek() == '-')
            sign = Next() == '-' ? -1 : 1;
        int h, m = 0, s = 0;
        if (!Number(h, 3) || h > 167)
            return false;
        if (Peek() == ':') {
            ++m_i;
            if (!Number(m, 2) || m > 59)
                return false;
            if (Peek() == ':') {
                ++m_i;
                if (!Number(s, 2) || s > 59)
                    return false;
            }
        }
        out = sign * (h * 3600 + m * 60 + s);
        return true;
    }

    bool Rule(RuleTime& r)
    {
        if (Peek() == 'M') {
            ++m_i;
            r.kind = RuleKind::MonthWeekDay;
            if (!Number(r.month, 2) || r.month < 1 || r.month > 12 || Next() != '.' ||
                !Number(r.week, 1) || r.week < 1 || r.week > 5 || Next() != '.' ||
                !Number(r.weekday, 1) || r.weekday > 6)
                return false;
        } else if (Peek() == 'J') {
            ++m_i;
            r.kind = RuleKind::JulianNoLeap;
            if (!Number(r.day, 3) || r.day < 1 || r.day > 365)
                return false;
        } else {
            r.kind = RuleKind::JulianZeroBased;
            if (!Number(r.day, 3) || r.day > 365)
                return false;
        }
        r.seconds = 7200;
        if (Peek() == '/') {
            ++m_i;
            return Offset(r.seconds);
        }
        return true;
    }

    const std::string& m_s;
    std::size_t m_i = 0;
};

// --- Compiled zone files ---

struct LocalType {
    int offset = 0;
    bool dst = false;
    std::string abbreviation;
};

struct Zone {
    std::string setting;
    std::vector<std::int64_t> transitions;
    std::vector<std::uint8_t> typeIndex;
    std::vector<LocalType> types;
    std::optional<PosixRule> rule;  // after the last transition (or alone for a TZ string)

    host::ZoneState At(std::int64_t t) const
    {
        if (!transitions.empty() && t < transitions.back()) {
            auto it = std::upper_bound(transitions.begin(), transitions.end(), t);
            const LocalType& type = it == transitions.begin()
                                        ? types.front()
                                        : types[typeIndex[static_cast<std::size_t>(it - transitions.begin() - 1)]];
            return {type.offset, type.dst, type.abbreviation};
        }
        if (rule)
            return Evaluate(*rule, t);
        if (!transitions.empty()) {
            const LocalType& type = types[typeIndex.back()];
            return {type.offset, type.dst, type.abbreviation};
        }
        if (!types.empty())
            return {types.front().offset, types.front().dst, types.front().abbreviation};
        return {0, false, "UTC"};
    }
};

std::int64_t ReadBigEndian(const std::string& data, std::size_t pos, int bytes)
{
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | static_cast<unsigned char>(data[pos + static_cast<std::size_t>(i)]);
    if (bytes == 4)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return static_cast<std::int64_t>(v);
}

std::optional<Zone> ReadZoneFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto header = [&](std::size_t at, std::int64_t counts[6]) {
        if (data.size() < at + 44 || data.compare(at, 4, "TZif") != 0)
            return false;
        for (int i = 0; i < 6; ++i)
            counts[i] = ReadBigEndian(data, at + 20 + 4 * static_cast<std::size_t>(i), 4);
        for (int i = 0; i < 6; ++i)
            if (counts[i] < 0 || counts[i] > 100000)
                return false;
        return true;
    };
    std::int64_t c[6];  // isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt
    if (!header(0, c))
        return std::nullopt;
    int timeSize = 4;
    std::size_t pos = 44;
    if (data[4] >= '2') {
        pos += static_cast<std::size_t>(c[3] * 5 + c[4] * 6 + c[5] + c[2] * 8 + c[1] + c[0]);
        if (!header(pos, c))
            return std::nullopt;
        pos += 44;
        timeSize = 8;
    }
    std::size_t need = static_cast<std::size_t>(c[3] * (timeSize + 1) + c[4] * 6 + c[5] +
                                                c[2] * (timeSize + 4) + c[1] + c[0]);
    if (c[4] == 0 || data.size() < pos + need)
        return std::nullopt;
    Zone zone;
    for (std::int64_t i = 0; i < c[3]; ++i, pos += static_cast<std::size_t>(timeSize))
        zone.transitions.push_back(ReadBigEndian(data, pos, timeSize));
    for (std::int64_t i = 0; i < c[3]; ++i, ++pos) {
        auto index = static_cast<std::uint8_t>(data[pos]);
        if (index >= c[4])
            return std::nullopt;
        zone.typeIndex.push_back(index);
    }
    std::size_t typesAt = pos;
    std::size_t charsAt = typesAt + static_cast<std::size_t>(c[4] * 6);
    for (std::int64_t i = 0; i < c[4]; ++i) {
        std::size_t at = typesAt + static_cast<std::size_t>(i * 6);
        LocalType type;
        type.offset = static_cast<int>(ReadBigEndian(data, at, 4));
        type.dst = data[at + 4] != 0;
        auto abbr = static_cast<std::size_t>(static_cast<unsigned char>(data[at + 5]));
        if (abbr < static_cast<std::size_t>(c[5]))
            type.abbreviation = std::string(data.c_str() + charsAt + abbr);
        zone.types.push_back(type);
    }
    pos += need - static_cast<std::size_t>(c[3] * (timeSize + 1));
    if (timeSize == 8 && pos < data.size() && data[pos] == '\n') {
        std::size_t end = data.find('\n', pos + 1);
        if (end != std::string::npos && end > pos + 1)
            zone.rule = TzParser(data.substr(pos + 1, end - pos - 1)).Parse();
    }
    return zone;
}

std::string ZoneDirectory()
{
    const char* dir = std::getenv("TZDIR");
    return dir && *dir ? dir : "/usr/share/zoneinfo";
}

std::optional<Zone> Resolve(std::string name)
{
    if (!name.empty() && name[0] == ':')
        name.erase(0, 1);
    if (name.empty())
        return std::nullopt;
    bool fileLike = name.find(',') == std::string::npos && name.find("..") == std::string::npos;
    if (fileLike) {
        std::optional<Zone> zone = ReadZoneFile(name[0] == '/' ? name : ZoneDirectory() + "/" + name);
        if (zone)
            return zone;
    }
    if (std::optional<PosixRule> rule = TzParser(name).Parse()) {
        Zone zone;
        zone.rule = rule;
        return zone;
    }
    return std::nullopt;
}

std::shared_ptr<const Zone> HostZone()
{
    const char* tz = std::getenv("TZ");
    std::optional<Zone> zone;
    if (tz && *tz)
        zone = Resolve(tz);
    if (!zone)
        zone = ReadZoneFile("/etc/localtime");
    if (!zone) {
        zone = Zone();
        zone->rule = PosixRule{"UTC", "", 0, 0, false, {}, {}};
    }
    return std::make_shared<const Zone>(std::move(*zone));
}

struct ZoneHolder {
    std::mutex lock;
    std::shared_ptr<const Zone> zone;
};

ZoneHolder& Holder()
{
    static ZoneHolder holder;
    return holder;
}

std::shared_ptr<const Zone> Current()
{
    ZoneHolder& h = Holder();
    std::lock_guard<std::mutex> guard(h.lock);
    if (!h.zone)
        h.zone = HostZone();
    return h.zone;
}

host::ZoneRuleDate ToRuleDate(const RuleTime& r, int year)
{
    host::ZoneRuleDate d;
    d.secondsOfDay = r.seconds;
    if (r.kind == RuleKind::MonthWeekDay) {
        d.month = r.month;
        d.week = r.week;
        d.weekday = r.weekday;
        return d;
    }
    std::int64_t y;
    unsigned m, day;
    host::CivilFromDays(RuleDay(year, r), y, m, day);
    d.year = year;
    d.month = static_cast<int>(m);
    d.day = static_cast<int>(day);
    return d;
}

}  // namespace

namespace host {

bool SetTimeZone(const std::string& zoneName)
{
    std::shared_ptr<const Zone> zone;
    if (zoneName.empty()) {
        zone = HostZone();
    } else {
        std::optional<Zone> resolved = Resolve(zoneName);
        if (!resolved)
            return false;
        zone = std::make_shared<const Zone>(std::move(*resolved));
    }
    ZoneHolder& h = Holder();
    std::lock_guard<std::mutex> guard(h.lock);
    h.zone = zone;
    return true;
}

ZoneState TimeZoneAt(std::int64_t utcSeconds) { return Current()->At(utcSeconds); }

std::int64_t LocalToUtcSeconds(std::int64_t local, int daylightHint)
{
    std::shared_ptr<const Zone> zone = Current();
    ZoneState before = zone->At(local - 86400);
    ZoneState after = zone->At(local + 86400);
    std::optional<ZoneState> standard, daylight;
    for (const ZoneState& candidate : {before, after}) {
        ZoneState real = zone->At(local - candidate.offsetSeconds);
        if (real.offsetSeconds == candidate.offsetSeconds)
            (real.daylight ? daylight : standard) = real;
    }
    if (standard && daylight)
        return local - (daylightHint > 0 ? daylight : standard)->offsetSeconds;
    if (standard || daylight)
        return local - (standard ? standard : daylight)->offsetSeconds;
    return local - before.offsetSeconds;
}

ZoneRule TimeZoneRule(int year)
{
    std::shared_ptr<const Zone> zone = Current();
    ZoneRule out;
    std::optional<PosixRule> rule = zone->rule;
    if (!rule) {
        // A zone file without a rule for the future: its last local time stands.
        ZoneState last = zone->At(INT64_MAX / 2);
        rule = PosixRule{last.abbreviation, "", last.offsetSeconds, 0, false, {}, {}};
    }
    out.standardOffsetSeconds = rule->stdOffset;
    out.standardName = rule->stdName;
    out.hasDaylight = rule->hasDst;
    out.daylightOffsetSeconds = rule->hasDst ? rule->dstOffset : rule->stdOffset;
    if (rule->hasDst) {
        out.daylightName = rule->dstName;
        out.daylightStart = ToRuleDate(rule->start, year);
        out.standardStart = ToRuleDate(rule->end, year);
    }
    return out;
}

}  // namespace host
