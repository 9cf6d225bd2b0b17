// Tick counts, system and local time, file times and the time zone, over the one clock.
#include <windows.h>
#include <timeapi.h>

#include <host/Clock.h>
#include <host/SystemVersion.h>
#include <host/TimeZone.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kEpochDifference = 116444736000000000LL;
constexpr std::int64_t kTicksPerMs = 10000;

std::int64_t FromFileTime(const FILETIME& ft)
{
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

FILETIME ToFileTime(std::int64_t value)
{
    auto v = static_cast<std::uint64_t>(value);
    return FILETIME{static_cast<DWORD>(v & 0xFFFFFFFFu), static_cast<DWORD>(v >> 32)};
}

// Milliseconds since 1970 to the SYSTEMTIME of that instant (no zone applied).
SYSTEMTIME FromUnixMs(std::int64_t ms)
{
    std::int64_t days = ms >= 0 ? ms / 86400000 : (ms - 86399999) / 86400000;
    std::int64_t rest = ms - days * 86400000;
    std::int64_t year;
    unsigned month, day;
    host::CivilFromDays(days, year, month, day);
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);
    st.wHour = static_cast<WORD>(rest / 3600000);
    st.wMinute = static_cast<WORD>(rest / 60000 % 60);
    st.wSecond = static_cast<WORD>(rest / 1000 % 60);
    st.wMilliseconds = static_cast<WORD>(rest % 1000);
    return st;
}

bool ValidSystemTime(const SYSTEMTIME& st)
{
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (st.wYear < 1601 || st.wYear > 30827 || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1 ||
        st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59 || st.wMilliseconds > 999)
        return false;
    bool leap = (st.wYear % 4 == 0 && st.wYear % 100 != 0) || st.wYear % 400 == 0;
    int limit = st.wMonth == 2 && !leap ? 28 : days[st.wMonth - 1];
    return st.wDay <= limit;
}

std::int64_t ToUnixMs(const SYSTEMTIME& st)
{
    std::int64_t days = host::DaysFromCivil(st.wYear, st.wMonth, st.wDay);
    return days * 86400000 + st.wHour * 3600000LL + st.wMinute * 60000LL + st.wSecond * 1000LL + st.wMilliseconds;
}

// The zone's offset (local minus UTC) in force now, in 100-ns intervals.
std::int64_t CurrentOffsetTicks()
{
    std::int64_t nowMs = host::ClockUtcMilliseconds();
    std::int64_t nowS = nowMs >= 0 ? nowMs / 1000 : (nowMs - 999) / 1000;
    return static_cast<std::int64_t>(host::TimeZoneAt(nowS).offsetSeconds) * 10000000LL;
}

void CopyName(WCHAR* out, const std::string& name)
{
    std::size_t n = std::min<std::size_t>(name.size(), 31);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<unsigned char>(name[i]);
    out[n] = 0;
}

SYSTEMTIME RuleToSystemTime(const host::ZoneRuleDate& d)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.year);
    st.wMonth = static_cast<WORD>(d.month);
    if (d.day != 0) {
        st.wDay = static_cast<WORD>(d.day);
    } else {
        st.wDay = static_cast<WORD>(d.week);
        st.wDayOfWeek = static_cast<WORD>(d.weekday);
    }
    int s = std::clamp(d.secondsOfDay, 0, 86399);
    st.wHour = static_cast<WORD>(s / 3600);
    st.wMinute = static_cast<WORD>(s / 60 % 60);
    st.wSecond = static_cast<WORD>(s % 60);
    return st;
}

}  // namespace

DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(host::ClockMilliseconds()); }

ULONGLONG WINAPI GetTickCount64(void) { return host::ClockMilliseconds(); }

DWORD WINAPI timeGetTime(void) { return static_cast<DWORD>(host::ClockMilliseconds()); }

void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
    if (lpSystemTime)
        *lpSystemTime = FromUnixMs(host::ClockUtcMilliseconds());
}

void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
    if (!lpSystemTime)
        return;
    std::int64_t ms = host::ClockUtcMilliseconds();
    std::int64_t s = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    *lpSystemTime = FromUnixMs(ms + host::TimeZoneAt(s).offsetSeconds * 1000LL);
}

void WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime)
{
    if (lpSystemTimeAsFileTime)
        *lpSystemTimeAsFileTime = ToFileTime(host::ClockUtcMilliseconds() * kTicksPerMs + kEpochDifference);
}

BOOL WINAPI FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime)
{
    if (!lpFileTime || !lpSystemTime || (lpFileTime->dwHighDateTime & 0x80000000u)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::int64_t ticks = FromFileTime(*lpFileTime) - kEpochDifference;
    std::int64_t ms = ticks / kTicksPerMs - (ticks % kTicksPerMs < 0 ? 1 : 0);
    *lpSystemTime = FromUnixMs(ms);
    return TRUE;
}

BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime)
{
    if (!lpSystemTime || !lpFileTime || !ValidSystemTime(*lpSystemTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpFileTime = ToFileTime(ToUnixMs(*lpSystemTime) * kTicksPerMs + kEpochDifference);
    return TRUE;
}

BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime)
{
    if (!lpFileTime || !lpLocalFileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpLocalFileTime = ToFileTime(FromFileTime(*lpFileTime) + CurrentOffsetTicks());
    return TRUE;
}

BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime)
{
    if (!lpLocalFileTime || !lpFileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpFileTime = ToFileTime(FromFileTime(*lpLocalFileTime) - CurrentOffsetTicks());
    return TRUE;
}

LONG WINAPI CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2)
{
    auto a = static_cast<std::uint64_t>(FromFileTime(*lpFileTime1));
    auto b = static_cast<std::uint64_t>(FromFileTime(*lpFileTime2));
    return a < b ? -1 : a > b ? 1 : 0;
}

DWORD WINAPI GetTimeZoneInformation(LPTIME_ZONE_INFORMATION tzi)
{
    if (!tzi) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    SYSTEMTIME now;
    GetSystemTime(&now);
    host::ZoneRule rule = host::TimeZoneRule(now.wYear);
    *tzi = TIME_ZONE_INFORMATION{};
    tzi->Bias = -rule.standardOffsetSeconds / 60;
    CopyName(tzi->StandardName, rule.standardName);
    if (!rule.hasDaylight)
        return TIME_ZONE_ID_UNKNOWN;
    CopyName(tzi->DaylightName, rule.daylightName);
    tzi->DaylightBias = -(rule.daylightOffsetSeconds - rule.standardOffsetSeconds) / 60;
    tzi->StandardDate = RuleToSystemTime(rule.standardStart);
    tzi->DaylightDate = RuleToSystemTime(rule.daylightStart);
    std::int64_t ms = host::ClockUtcMilliseconds();
    return host::TimeZoneAt(ms >= 0 ? ms / 1000 : (ms - 999) / 1000).daylight ? TIME_ZONE_ID_DAYLIGHT
                                                                               : TIME_ZONE_ID_STANDARD;
}

namespace {

struct SystemVersion {
    DWORD major, minor, build;
    DWORD platform;
    DWORD version;  // what GetVersion reports
    const char* servicePack;
};

// Windows NT 4.0 SP6 (build 1381); Windows 95 (4.00.950) and 98 (4.10.1998), whose build
// numbers carry the version in their high word; Win32s on Windows 3.1. The two 16-bit-based
// systems set the top bit of GetVersion.
constexpr SystemVersion kNt{4, 0, 1381, VER_PLATFORM_WIN32_NT, 4 | (0 << 8) | (1381u << 16), "Service Pack 6"};
constexpr SystemVersion k95{4, 0, 0x040003B6, VER_PLATFORM_WIN32_WINDOWS, 0xC0000004u, ""};
constexpr SystemVersion k98{4, 10, 0x040A07CE, VER_PLATFORM_WIN32_WINDOWS, 0xC0000A04u, ""};
constexpr SystemVersion kWin32s{3, 10, 0, VER_PLATFORM_WIN32s, 0x80000A03u, ""};

std::atomic<int> g_reported{-1};  // -1: not chosen yet

host::ReportedSystem FromEnvironment()
{
    const char* text = std::getenv("VL_SYSTEM_VERSION");
    std::string value = text ? text : "";
    for (char& c : value)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (value == "95")
        return host::ReportedSystem::Windows95;
    if (value == "98")
        return host::ReportedSystem::Windows98;
    if (value == "win32s")
        return host::ReportedSystem::Win32s;
    return host::ReportedSystem::WindowsNT;
}

const SystemVersion& Reported()
{
    switch (host::GetReportedSystem()) {
    case host::ReportedSystem::Windows95: return k95;
    case host::ReportedSystem::Windows98: return k98;
    case host::ReportedSystem::Win32s: return kWin32s;
    default: return kNt;
    }
}

}  // namespace

namespace host {

void SetReportedSystem(ReportedSystem system) { g_reported = static_cast<int>(system); }

ReportedSystem GetReportedSystem()
{
    int value = g_reported;
    if (value < 0) {
        value = static_cast<int>(FromEnvironment());
        g_reported = value;
    }
    return static_cast<ReportedSystem>(value);
}

void ResetReportedSystem() { g_reported = static_cast<int>(FromEnvironment()); }

}  // namespace host

DWORD WINAPI GetVersion(void) { return Reported().version; }

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info)
{
    if (!info || (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) &&
                  info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const SystemVersion& system = Reported();
    info->dwMajorVersion = system.major;
    info->dwMinorVersion = system.minor;
    info->dwBuildNumber = system.build;
    info->dwPlatformId = system.platform;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    std::strcpy(info->szCSDVersion, system.servicePack);
    if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXA)) {
        auto* ex = reinterpret_cast<LPOSVERSIONINFOEXA>(info);
        ex->wServicePackMajor = system.platform == VER_PLATFORM_WIN32_NT ? 6 : 0;
        ex->wServicePackMinor = 0;
        ex->wSuiteMask = 0;
        ex->wProductType = VER_NT_WORKSTATION;
        ex->wReserved = 0;
    }
    return TRUE;
}

BOOL WINAPI GetComputerNameA(LPSTR lpBuffer, LPDWORD nSize)
{
    if (!nSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || !name[0])
        std::strcpy(name, "localhost");
    std::string upper;
    for (const char* p = name; *p && *p != '.' && upper.size() < MAX_COMPUTERNAME_LENGTH; ++p)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    if (!lpBuffer || *nSize < upper.size() + 1) {
        *nSize = static_cast<DWORD>(upper.size() + 1);
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    std::memcpy(lpBuffer, upper.c_str(), upper.size() + 1);
    *nSize = static_cast<DWORD>(upper.size());
    return TRUE;
}

void WINAPI Sleep(DWORD dwMilliseconds)
{
    if (host::IsTestClock()) {
        host::StepClock(dwMilliseconds);
        std::this_thread::yield();
        return;
    }
    if (dwMilliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

DWORD WINAPI SleepEx(DWORD dwMilliseconds, BOOL)
{
    Sleep(dwMilliseconds);
    return 0;
}
