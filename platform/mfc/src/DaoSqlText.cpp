// Text rules of the database engine: case folding of Windows-1252, Jet's comparison and LIKE,
// and the conversions between field values.
#include "DaoSql.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace daosql {

unsigned char FoldUpper(unsigned char c)
{
    // The platform's case mapping of the Western code page, one character at a time.
    LPSTR folded = CharUpperA(reinterpret_cast<LPSTR>(UINT_PTR{c}));
    return static_cast<unsigned char>(reinterpret_cast<UINT_PTR>(folded));
}

unsigned char FoldLower(unsigned char c)
{
    LPSTR folded = CharLowerA(reinterpret_cast<LPSTR>(UINT_PTR{c}));
    return static_cast<unsigned char>(reinterpret_cast<UINT_PTR>(folded));
}

int CompareNoCase(const char* a, std::size_t na, const char* b, std::size_t nb)
{
    std::size_t n = na < nb ? na : nb;
    for (std::size_t i = 0; i < n; ++i) {
        int ca = FoldUpper(static_cast<unsigned char>(a[i]));
        int cb = FoldUpper(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca - cb;
    }
    return na < nb ? -1 : (na > nb ? 1 : 0);
}

int CompareText(const char* a, std::size_t na, const char* b, std::size_t nb)
{
    // Jet sorts text in the platform's word-sort order, case ignored. The texts come without
    // their NUL; short ones (every text field) are copied on the stack.
    char bufA[256], bufB[256];
    std::string longA, longB;
    auto terminated = [](const char* p, std::size_t n, char* buf, std::string& big) -> const char* {
        if (n < 256) {
            if (n)
                std::memcpy(buf, p, n);
            buf[n] = 0;
            return buf;
        }
        big.assign(p, n);
        return big.c_str();
    };
    return lstrcmpiA(terminated(a, na, bufA, longA), terminated(b, nb, bufB, longB));
}

namespace {

bool SameLetter(unsigned char a, unsigned char b) { return FoldUpper(a) == FoldUpper(b); }

// Matches one character class starting after '[' at pattern[p]; on return p is after ']'.
// Returns false when the class is not closed (the '[' then stands for itself).
bool MatchClass(const std::string& pattern, std::size_t& p, unsigned char c, bool& matched)
{
    std::size_t i = p;
    bool negate = false;
    if (i < pattern.size() && pattern[i] == '!') {
        negate = true;
        ++i;
    }
    bool any = false;
    bool first = true;
    while (i < pattern.size() && (pattern[i] != ']' || first)) {
        unsigned char lo = static_cast<unsigned char>(pattern[i]);
        unsigned char hi = lo;
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            hi = static_cast<unsigned char>(pattern[i + 2]);
            i += 3;
        } else {
            ++i;
        }
        unsigned char fc = FoldUpper(c);
        unsigned char flo = FoldUpper(lo);
        unsigned char fhi = FoldUpper(hi);
        if ((fc >= flo && fc <= fhi) || (c >= lo && c <= hi))
            any = true;
        first = false;
    }
    if (i >= pattern.size())
        return false;
    p = i + 1;  // past ']'
    matched = negate ? !any : any;
    return true;
}

// Matches one character against the pattern element at p (anything but '*'); on a match,
// next is the position after the element.
bool MatchOne(unsigned char c, const std::string& pattern, std::size_t p, std::size_t& next)
{
    char pc = pattern[p];
    next = p + 1;
    if (pc == '?')
        return true;
    if (pc == '#')
        return c >= '0' && c <= '9';
    if (pc == '[') {
        std::size_t q = p + 1;
        bool matched = false;
        if (MatchClass(pattern, q, c, matched)) {
            next = q;
            return matched;
        }
        return c == '[';  // an unclosed bracket stands for itself
    }
    return SameLetter(c, static_cast<unsigned char>(pc));
}

}  // namespace

bool JetLike(const std::string& text, const std::string& pattern)
{
    // Every element but '*' takes exactly one character, so on a mismatch it is enough to let
    // the last '*' take one character more: linear in practice, never exponential.
    std::size_t t = 0, p = 0;
    std::size_t starP = std::string::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            while (p < pattern.size() && pattern[p] == '*')
                ++p;
            starP = p;
            starT = t;
            continue;
        }
        std::size_t next = 0;
        if (p < pattern.size() && MatchOne(static_cast<unsigned char>(text[t]), pattern, p, next)) {
            p = next;
            ++t;
            continue;
        }
        if (starP == std::string::npos)
            return false;
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap ? 1 : 0);
}

namespace {

bool EqualsWord(const char* p, const char* word)
{
    return CompareNoCase(p, std::strlen(p), word, std::strlen(word)) == 0;
}

}  // namespace

std::optional<DateParts> ParseDateText(const std::string& text)
{
    DateParts d;
    const char* p = text.c_str();
    while (*p == ' ')
        ++p;
    int a = 0, b = 0, c = 0, used = 0;
    bool haveDate = false;
    if (std::sscanf(p, "%d-%d-%d%n", &a, &b, &c, &used) == 3 && a > 31) {
        d.year = a, d.month = b, d.day = c;
        haveDate = true;
    } else if (std::sscanf(p, "%d/%d/%d%n", &a, &b, &c, &used) == 3) {
        d.month = a, d.day = b, d.year = c;
        if (d.year < 30)
            d.year += 2000;
        else if (d.year < 100)
            d.year += 1900;
        haveDate = true;
    }
    if (haveDate)
        p += used;
    while (*p == ' ')
        ++p;
    if (*p) {
        int h = 0, mi = 0, sec = 0;
        used = 0;
        if (std::sscanf(p, "%d:%d:%d%n", &h, &mi, &sec, &used) != 3) {
            sec = 0;
            used = 0;
            if (std::sscanf(p, "%d:%d%n", &h, &mi, &used) != 2)
                return std::nullopt;
        }
        p += used;
        while (*p == ' ')
            ++p;
        if (*p) {
            bool pm = EqualsWord(p, "PM");
            if (!pm && !EqualsWord(p, "AM"))
                return std::nullopt;
            if (h < 1 || h > 12)
                return std::nullopt;
            if (pm && h < 12)
                h += 12;
            else if (!pm && h == 12)
                h = 0;
        }
        d.hour = h, d.minute = mi, d.second = sec;
    } else if (!haveDate) {
        return std::nullopt;
    }
    if (d.year < 100 || d.year > 9999 || d.day < 1 || d.day > DaysInMonth(d.year, d.month) || d.hour < 0 ||
        d.hour > 23 || d.minute < 0 || d.minute > 59 || d.second < 0 || d.second > 59)
        return std::nullopt;
    return d;
}

std::string FormatDateText(const DateParts& d)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                  d.second);
    return buf;
}

std::string ValueToText(const Value& v)
{
    if (auto* i = std::get_if<std::int64_t>(&v))
        return std::to_string(*i);
    if (auto* d = std::get_if<double>(&v)) {
        double r = *d;
        if (std::isfinite(r) && r == std::floor(r) && std::fabs(r) < 1e15)
            return std::to_string(static_cast<long long>(r));
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", r);
        return buf;
    }
    if (auto* s = std::get_if<std::string>(&v))
        return *s;
    return {};
}

double ValueToDouble(const Value& v)
{
    if (auto* i = std::get_if<std::int64_t>(&v))
        return static_cast<double>(*i);
    if (auto* d = std::get_if<double>(&v))
        return *d;
    if (auto* s = std::get_if<std::string>(&v))
        return std::strtod(s->c_str(), nullptr);
    return 0;
}

std::int64_t ValueToInt(const Value& v)
{
    if (auto* i = std::get_if<std::int64_t>(&v))
        return *i;
    if (auto* d = std::get_if<double>(&v))
        return static_cast<std::int64_t>(std::llround(*d));
    if (auto* s = std::get_if<std::string>(&v))
        return static_cast<std::int64_t>(std::llround(std::strtod(s->c_str(), nullptr)));
    return 0;
}

}  // namespace daosql
