// The old C runtime's non-file pieces: path splitting, case-blind comparison, number text, rand
// and the time functions over the platform's clock and zone.
#include <windows.h>
#include <crtext.h>

#include <host/Clock.h>
#include <host/TimeZone.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Copies [begin, end) into out (when out is given), cut to limit - 1 bytes.
void CopyPart(char* out, const char* begin, const char* end, std::size_t limit)
{
    if (!out)
        return;
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(end - begin), limit - 1);
    std::memcpy(out, begin, n);
    out[n] = '\0';
}

int FoldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 0x20 : c; }

char* NumberText(std::uint64_t magnitude, bool negative, char* buffer, int radix)
{
    if (!buffer)
        return nullptr;
    if (radix < 2 || radix > 36) {
        buffer[0] = '\0';
        return buffer;
    }
    char digits[72];
    int n = 0;
    do {
        int d = static_cast<int>(magnitude % static_cast<unsigned>(radix));
        digits[n++] = static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
        magnitude /= static_cast<unsigned>(radix);
    } while (magnitude);
    char* p = buffer;
    if (negative)
        *p++ = '-';
    while (n)
        *p++ = digits[--n];
    *p = '\0';
    return buffer;
}

char* SignedText(std::int32_t value, char* buffer, int radix)
{
    if (radix == 10 && value < 0)
        return NumberText(0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(value)), true, buffer, radix);
    return NumberText(static_cast<std::uint32_t>(value), false, buffer, radix);
}

}  // namespace

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext)
{
    if (!path)
        path = "";
    const char* p = path;
    if (p[0] && p[1] == ':') {
        CopyPart(drive, p, p + 2, _MAX_DRIVE);
        p += 2;
    } else {
        CopyPart(drive, p, p, _MAX_DRIVE);
    }
    const char* lastSlash = nullptr;
    for (const char* q = p; *q; ++q)
        if (*q == '\\' || *q == '/')
            lastSlash = q;
    const char* name = lastSlash ? lastSlash + 1 : p;
    CopyPart(dir, p, name, _MAX_DIR);
    const char* end = name + std::strlen(name);
    const char* dot = std::strrchr(name, '.');
    if (!dot)
        dot = end;
    CopyPart(fname, name, dot, _MAX_FNAME);
    CopyPart(ext, dot, end, _MAX_EXT);
}

void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext)
{
    if (!path)
        return;
    std::string out;
    if (drive && *drive) {
        out += drive[0];
        out += ':';
    }
    if (dir && *dir) {
        out += dir;
        if (out.back() != '\\' && out.back() != '/')
            out += '\\';
    }
    if (fname)
        out += fname;
    if (ext && *ext) {
        if (*ext != '.')
            out += '.';
        out += ext;
    }
    out.resize(std::min<std::size_t>(out.size(), _MAX_PATH - 1));
    std::memcpy(path, out.c_str(), out.size() + 1);
}

int _strnicmp(const char* a, const char* b, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        int x = FoldAscii(static_cast<unsigned char>(a[i]));
        int y = FoldAscii(static_cast<unsigned char>(b[i]));
        if (x != y || x == 0)
            return x - y;
    }
    return 0;
}

int _stricmp(const char* a, const char* b) { return _strnicmp(a, b, SIZE_MAX); }
int _strcmpi(const char* a, const char* b) { return _strnicmp(a, b, SIZE_MAX); }

int _memicmp(const void* a, const void* b, std::size_t count)
{
    auto* x = static_cast<const unsigned char*>(a);
    auto* y = static_cast<const unsigned char*>(b);
    for (std::size_t i = 0; i < count; ++i)
        if (int d = FoldAscii(x[i]) - FoldAscii(y[i]))
            return d;
    return 0;
}

char* _strupr(char* s)
{
    for (char* p = s; p && *p; ++p)
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 0x20);
    return s;
}

char* _strlwr(char* s)
{
    for (char* p = s; p && *p; ++p)
        *p = static_cast<char>(FoldAscii(static_cast<unsigned char>(*p)));
    return s;
}

char* _itoa(int value, char* buffer, int radix) { return SignedText(value, buffer, radix); }
char* _ltoa(long value, char* buffer, int radix) { return SignedText(static_cast<std::int32_t>(value), buffer, radix); }
char* _ultoa(unsigned long value, char* buffer, int radix)
{
    return NumberText(static_cast<std::uint32_t>(value), false, buffer, radix);
}

char* _strdup(const char* s) { return s ? strdup(s) : nullptr; }

// --- rand ---

namespace {
thread_local std::uint32_t holdRand = 1;
}

int vlcrt_rand()
{
    holdRand = holdRand * 214013u + 2531011u;
    return static_cast<int>((holdRand >> 16) & 0x7FFF);
}

void vlcrt_srand(unsigned int seed) { holdRand = seed; }

// --- time ---

namespace {

thread_local std::tm tmBuffer;
thread_local char ctimeBuffer[32];

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::tm* Break(std::int64_t seconds, const host::ZoneState* zone)
{
    std::int64_t days = FloorDiv(seconds, 86400);
    std::int64_t rest = seconds - days * 86400;
    std::int64_t year;
    unsigned month, day;
    host::CivilFromDays(days, year, month, day);
    std::tm& t = tmBuffer;
    t = std::tm{};
    t.tm_year = static_cast<int>(year - 1900);
    t.tm_mon = static_cast<int>(month) - 1;
    t.tm_mday = static_cast<int>(day);
    t.tm_hour = static_cast<int>(rest / 3600);
    t.tm_min = static_cast<int>(rest / 60 % 60);
    t.tm_sec = static_cast<int>(rest % 60);
    t.tm_wday = static_cast<int>(((days % 7) + 11) % 7);
    t.tm_yday = static_cast<int>(days - host::DaysFromCivil(year, 1, 1));
    t.tm_isdst = zone && zone->daylight ? 1 : 0;
#ifdef __USE_MISC
    t.tm_gmtoff = zone ? zone->offsetSeconds : 0;
    t.tm_zone = nullptr;
#endif
    return &t;
}

}  // namespace

std::time_t vlcrt_time(std::time_t* timer)
{
    std::time_t now = static_cast<std::time_t>(FloorDiv(host::ClockUtcMilliseconds(), 1000));
    if (timer)
        *timer = now;
    return now;
}

// The old runtime knows no time before 1970: localtime and gmtime give NULL for it.
std::tm* vlcrt_gmtime(const std::time_t* timer)
{
    if (!timer || *timer < 0)
        return nullptr;
    return Break(*timer, nullptr);
}

std::tm* vlcrt_localtime(const std::time_t* timer)
{
    if (!timer || *timer < 0)
        return nullptr;
    host::ZoneState zone = host::TimeZoneAt(*timer);
    std::int64_t local = *timer + zone.offsetSeconds;
    if (local < 0)
        return nullptr;
    return Break(local, &zone);
}

// Normalises the fields as the runtime does (31 January + 1 month is 3 March), reads them as
// local time (tm_isdst > 0: daylight time, 0: standard time, < 0: whatever the zone says then)
// and fills every field in again. Returns -1 for a time before 1970.
std::time_t vlcrt_mktime(std::tm* t)
{
    if (!t)
        return -1;
    std::int64_t month = t->tm_mon;
    std::int64_t year = 1900 + static_cast<std::int64_t>(t->tm_year) + FloorDiv(month, 12);
    month -= FloorDiv(month, 12) * 12;
    std::int64_t days = host::DaysFromCivil(year, static_cast<unsigned>(month + 1), 1) + t->tm_mday - 1;
    std::int64_t local = days * 86400 + static_cast<std::int64_t>(t->tm_hour) * 3600 +
                         static_cast<std::int64_t>(t->tm_min) * 60 + t->tm_sec;
    std::int64_t utc;
    if (t->tm_isdst < 0) {
        utc = host::LocalToUtcSeconds(local, -1);
    } else {
        host::ZoneRule rule = host::TimeZoneRule(static_cast<int>(year));
        utc = local - (t->tm_isdst > 0 ? rule.daylightOffsetSeconds : rule.standardOffsetSeconds);
    }
    if (utc < 0)
        return -1;
    std::time_t result = static_cast<std::time_t>(utc);
    std::tm* filled = vlcrt_localtime(&result);
    if (!filled)
        return -1;
    *t = *filled;
    return result;
}

char* vlcrt_ctime(const std::time_t* timer)
{
    std::tm* t = vlcrt_localtime(timer);
    if (!t)
        return nullptr;
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::snprintf(ctimeBuffer, sizeof ctimeBuffer, "%s %s %02d %02d:%02d:%02d %d\n", days[t->tm_wday],
                  months[t->tm_mon], t->tm_mday, t->tm_hour, t->tm_min, t->tm_sec, t->tm_year + 1900);
    return ctimeBuffer;
}

std::clock_t vlcrt_clock()
{
    return static_cast<std::clock_t>(host::ClockMilliseconds() * (CLOCKS_PER_SEC / 1000));
}

void _ftime(struct _timeb* timeptr)
{
    if (!timeptr)
        return;
    std::int64_t ms = host::ClockUtcMilliseconds();
    std::int64_t seconds = FloorDiv(ms, 1000);
    host::ZoneState zone = host::TimeZoneAt(seconds);
    host::ZoneRule rule = host::TimeZoneRule(1970);
    timeptr->time = static_cast<std::time_t>(seconds);
    timeptr->millitm = static_cast<unsigned short>(ms - seconds * 1000);
    timeptr->timezone = static_cast<short>(-rule.standardOffsetSeconds / 60);
    timeptr->dstflag = zone.daylight ? 1 : 0;
}
