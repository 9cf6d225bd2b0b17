// MulDiv, the lstr* family, wsprintf and the Char* functions on the Western code page.
#include <windows.h>

#include "CodePage.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(nNumber) * nNumerator;
    bool negative = (product < 0) != (nDenominator < 0) && product != 0;
    std::uint64_t a = product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
    std::uint64_t d = nDenominator < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(nDenominator))
                                       : static_cast<std::uint64_t>(nDenominator);
    std::uint64_t q = (a + d / 2) / d;
    if (negative) {
        if (q > static_cast<std::uint64_t>(INT_MAX) + 1)
            return -1;
        return static_cast<int>(-static_cast<std::int64_t>(q));
    }
    if (q > static_cast<std::uint64_t>(INT_MAX))
        return -1;
    return static_cast<int>(q);
}

// --- Word-sort comparison ---

namespace {

enum : int { kSymbol = 0x100, kDigit = 0x200, kLetter = 0x300 };

struct Weight {
    int primary;
    int accent;
    int upper;
};

bool IsIgnorable(unsigned char c) { return c == '-' || c == '\'' || c == 0xAD; }

// Letter index (0 = a ... 25 = z, 26 = thorn) and accent class of a byte; -1 when not a letter.
int BaseLetter(unsigned char c, int& accent)
{
    accent = 0;
    unsigned char l = codepage::ToLower(c);
    if (l >= 'a' && l <= 'z')
        return l - 'a';
    // Accent classes: 1 acute, 2 grave, 3 circumflex, 4 tilde, 5 diaeresis, 6 ring, 7 cedilla,
    // 8 stroke, 9 caron, 10 other.
    static const struct {
        unsigned char ch;
        char base;
        int accent;
    } table[] = {
        {0xE0, 'a', 2}, {0xE1, 'a', 1}, {0xE2, 'a', 3}, {0xE3, 'a', 4}, {0xE4, 'a', 5}, {0xE5, 'a', 6},
        {0xE7, 'c', 7}, {0xE8, 'e', 2}, {0xE9, 'e', 1}, {0xEA, 'e', 3}, {0xEB, 'e', 5}, {0xEC, 'i', 2},
        {0xED, 'i', 1}, {0xEE, 'i', 3}, {0xEF, 'i', 5}, {0xF0, 'd', 10}, {0xF1, 'n', 4}, {0xF2, 'o', 2},
        {0xF3, 'o', 1}, {0xF4, 'o', 3}, {0xF5, 'o', 4}, {0xF6, 'o', 5}, {0xF8, 'o', 8}, {0xF9, 'u', 2},
        {0xFA, 'u', 1}, {0xFB, 'u', 3}, {0xFC, 'u', 5}, {0xFD, 'y', 1}, {0xFF, 'y', 5}, {0x9A, 's', 9},
        {0x9E, 'z', 9}, {0x83, 'f', 10}, {0xAA, 'a', 10}, {0xBA, 'o', 10},
    };
    for (const auto& e : table)
        if (e.ch == l) {
            accent = e.accent;
            return e.base - 'a';
        }
    if (l == 0xFE)
        return 26;
    return -1;
}

void AppendWeights(unsigned char c, std::vector<Weight>& out)
{
    int upper = codepage::IsUpper(c) ? 1 : 0;
    auto letter = [&](char base, int accent) { out.push_back({kLetter + (base - 'a'), accent, upper}); };
    switch (c) {
    case 0xDF: letter('s', 0); letter('s', 11); return;
    case 0xE6: case 0xC6: letter('a', 11); letter('e', 0); return;
    case 0x9C: case 0x8C: letter('o', 11); letter('e', 0); return;
    case 0xB9: out.push_back({kDigit + 1, 12, 0}); return;
    case 0xB2: out.push_back({kDigit + 2, 12, 0}); return;
    case 0xB3: out.push_back({kDigit + 3, 12, 0}); return;
    default: break;
    }
    if (codepage::IsDigit(c)) {
        out.push_back({kDigit + (c - '0'), 0, 0});
        return;
    }
    int accent;
    int base = BaseLetter(c, accent);
    if (base >= 0) {
        out.push_back({kLetter + base, accent, upper});
        return;
    }
    out.push_back({kSymbol + c, 0, 0});
}

struct SortKey {
    std::vector<Weight> weights;
    std::vector<std::pair<std::size_t, unsigned char>> ignored;  // (position, byte)
};

SortKey MakeKey(const char* s)
{
    SortKey key;
    for (std::size_t i = 0; s[i]; ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (IsIgnorable(c))
            key.ignored.emplace_back(key.weights.size(), c);
        else
            AppendWeights(c, key.weights);
    }
    return key;
}

template <typename Get>
int CompareLevel(const SortKey& a, const SortKey& b, Get get)
{
    std::size_t n = std::min(a.weights.size(), b.weights.size());
    for (std::size_t i = 0; i < n; ++i) {
        int x = get(a.weights[i]), y = get(b.weights[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.weights.size() != b.weights.size())
        return a.weights.size() < b.weights.size() ? -1 : 1;
    return 0;
}

int WordSortCompare(const char* s1, const char* s2, bool ignoreCase)
{
    if (!s1 || !s2)
        return s1 == s2 ? 0 : s1 ? 1 : -1;
    SortKey a = MakeKey(s1), b = MakeKey(s2);
    if (int r = CompareLevel(a, b, [](const Weight& w) { return w.primary; }))
        return r;
    if (int r = CompareLevel(a, b, [](const Weight& w) { return w.accent; }))
        return r;
    if (!ignoreCase)
        if (int r = CompareLevel(a, b, [](const Weight& w) { return w.upper; }))
            return r;
    if (a.ignored.size() != b.ignored.size())
        return a.ignored.size() < b.ignored.size() ? -1 : 1;
    for (std::size_t i = 0; i < a.ignored.size(); ++i) {
        if (a.ignored[i].first != b.ignored[i].first)
            return a.ignored[i].first > b.ignored[i].first ? -1 : 1;
        if (a.ignored[i].second != b.ignored[i].second)
            return a.ignored[i].second < b.ignored[i].second ? -1 : 1;
    }
    return 0;
}

}  // namespace

int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2) { return WordSortCompare(lpString1, lpString2, false); }

int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) { return WordSortCompare(lpString1, lpString2, true); }

int WINAPI lstrlenA(LPCSTR lpString) { return lpString ? static_cast<int>(std::strlen(lpString)) : 0; }

LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2)
{
    if (!lpString1 || !lpString2)
        return nullptr;
    std::memmove(lpString1, lpString2, std::strlen(lpString2) + 1);
    return lpString1;
}

LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength)
{
    if (!lpString1 || (!lpString2 && iMaxLength > 0))
        return nullptr;
    if (iMaxLength <= 0)
        return lpString1;
    std::size_t n = 0;
    while (n + 1 < static_cast<std::size_t>(iMaxLength) && lpString2[n])
        ++n;
    std::memmove(lpString1, lpString2, n);
    lpString1[n] = '\0';
    return lpString1;
}

LPSTR WINAPI lstrcatA(LPSTR lpString1, LPCSTR lpString2)
{
    if (!lpString1 || !lpString2)
        return nullptr;
    std::memmove(lpString1 + std::strlen(lpString1), lpString2, std::strlen(lpString2) + 1);
    return lpString1;
}

// --- wsprintf ---

namespace {

constexpr std::size_t kWsprintfLimit = 1024;

class BoundedOutput {
public:
    explicit BoundedOutput(char* out) : m_out(out) {}
    void Put(char c)
    {
        if (m_n + 1 < kWsprintfLimit)
            m_out[m_n++] = c;
    }
    void Put(const std::string& s)
    {
        for (char c : s)
            Put(c);
    }
    int Finish()
    {
        m_out[m_n] = '\0';
        return static_cast<int>(m_n);
    }

private:
    char* m_out;
    std::size_t m_n = 0;
};

std::string Digits(std::uint64_t v, unsigned base, bool upper)
{
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string s;
    do {
        s.insert(s.begin(), set[v % base]);
        v /= base;
    } while (v);
    return s;
}

char WideToByte(WCHAR w) { return w < 0x100 ? static_cast<char>(w) : '?'; }

}  // namespace

int WINAPI wvsprintfA(LPSTR lpOut, LPCSTR lpFmt, va_list args)
{
    if (!lpOut)
        return 0;
    BoundedOutput out(lpOut);
    if (!lpFmt)
        return out.Finish();
    for (const char* p = lpFmt; *p; ++p) {
        if (*p != '%') {
            out.Put(*p);
            continue;
        }
        ++p;
        if (*p == '%') {
            out.Put('%');
            continue;
        }
        bool left = false, alternate = false, zero = false;
        for (;; ++p) {
            if (*p == '-')
                left = true;
            else if (*p == '#')
                alternate = true;
            else if (*p == '0')
                zero = true;
            else
                break;
        }
        std::size_t width = 0;
        while (codepage::IsDigit(static_cast<unsigned char>(*p)))
            width = std::min<std::size_t>(width * 10 + static_cast<std::size_t>(*p++ - '0'), kWsprintfLimit);
        bool hasPrecision = false;
        std::size_t precision = 0;
        if (*p == '.') {
            hasPrecision = true;
            ++p;
            while (codepage::IsDigit(static_cast<unsigned char>(*p)))
                precision = std::min<std::size_t>(precision * 10 + static_cast<std::size_t>(*p++ - '0'), kWsprintfLimit);
        }
        bool wide = false, narrow = false, big = false;
        if (*p == 'l' || *p == 'w') {
            wide = true;
            ++p;
        } else if (*p == 'h') {
            narrow = true;
            ++p;
        } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
            big = true;
            p += 3;
        }
        if (!*p)
            break;
        char type = *p;
        std::string body, prefix;
        bool numeric = false;
        switch (type) {
        case 'c':
        case 'C': {
            bool wideChar = (type == 'C' && !narrow) || (type == 'c' && wide);
            int v = va_arg(args, int);
            body = std::string(1, wideChar ? WideToByte(static_cast<WCHAR>(v)) : static_cast<char>(v));
            break;
        }
        case 's':
        case 'S': {
            bool wideString = (type == 'S' && !narrow) || (type == 's' && wide);
            if (wideString) {
                const WCHAR* w = va_arg(args, const WCHAR*);
                if (!w)
                    body = "(null)";
                for (; w && *w && (!hasPrecision || body.size() < precision); ++w)
                    body += WideToByte(*w);
            } else {
                const char* s = va_arg(args, const char*);
                if (!s)
                    s = "(null)";
                for (; *s && (!hasPrecision || body.size() < precision); ++s)
                    body += *s;
            }
            break;
        }
        case 'd':
        case 'i': {
            numeric = true;
            std::int64_t v = big ? va_arg(args, std::int64_t) : static_cast<std::int64_t>(va_arg(args, int));
            if (narrow)
                v = static_cast<short>(v);
            if (v < 0)
                prefix.push_back('-');
            body = Digits(v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v), 10, false);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            numeric = true;
            std::uint64_t v = big ? va_arg(args, std::uint64_t) : va_arg(args, unsigned int);
            if (narrow)
                v = static_cast<unsigned short>(v);
            body = Digits(v, type == 'u' ? 10 : 16, type == 'X');
            if (alternate && type != 'u' && v != 0)
                prefix = type == 'X' ? "0X" : "0x";
            break;
        }
        case 'p': {
            numeric = true;
            auto v = reinterpret_cast<std::uintptr_t>(va_arg(args, void*));
            body = Digits(v, 16, true);
            body.insert(0, sizeof(void*) * 2 - body.size(), '0');
            break;
        }
        default:
            // Not a type the platform's printf knows: it writes the character itself.
            out.Put(type);
            continue;
        }
        if (numeric && hasPrecision && body.size() < precision)
            body.insert(0, precision - body.size(), '0');
        std::size_t length = prefix.size() + body.size();
        std::size_t pad = width > length ? width - length : 0;
        if (left) {
            out.Put(prefix + body);
            out.Put(std::string(pad, ' '));
        } else if (zero && numeric) {
            out.Put(prefix + std::string(pad, '0') + body);
        } else {
            out.Put(std::string(pad, ' ') + prefix + body);
        }
    }
    return out.Finish();
}

int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...)
{
    va_list args;
    va_start(args, lpFmt);
    int n = wvsprintfA(lpOut, lpFmt, args);
    va_end(args);
    return n;
}

// --- Char* ---

namespace {

bool IsSingleCharacter(LPCSTR p) { return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0; }

template <typename Map>
LPSTR MapString(LPSTR s, Map map)
{
    if (!s)
        return nullptr;
    if (IsSingleCharacter(s)) {
        auto c = static_cast<unsigned char>(reinterpret_cast<std::uintptr_t>(s) & 0xFF);
        return reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(map(c)));
    }
    for (char* p = s; *p; ++p)
        *p = static_cast<char>(map(static_cast<unsigned char>(*p)));
    return s;
}

template <typename Map>
DWORD MapBuffer(LPSTR s, DWORD n, Map map)
{
    if (!s)
        return 0;
    for (DWORD i = 0; i < n; ++i)
        s[i] = static_cast<char>(map(static_cast<unsigned char>(s[i])));
    return n;
}

}  // namespace

LPSTR WINAPI CharUpperA(LPSTR lpsz) { return MapString(lpsz, codepage::ToUpper); }
LPSTR WINAPI CharLowerA(LPSTR lpsz) { return MapString(lpsz, codepage::ToLower); }
DWORD WINAPI CharUpperBuffA(LPSTR lpsz, DWORD cchLength) { return MapBuffer(lpsz, cchLength, codepage::ToUpper); }
DWORD WINAPI CharLowerBuffA(LPSTR lpsz, DWORD cchLength) { return MapBuffer(lpsz, cchLength, codepage::ToLower); }

LPSTR WINAPI CharNextA(LPCSTR lpsz)
{
    if (!lpsz)
        return nullptr;
    return const_cast<LPSTR>(*lpsz ? lpsz + 1 : lpsz);
}

LPSTR WINAPI CharPrevA(LPCSTR lpszStart, LPCSTR lpszCurrent)
{
    if (!lpszCurrent)
        return nullptr;
    return const_cast<LPSTR>(lpszStart && lpszCurrent > lpszStart ? lpszCurrent - 1 : lpszCurrent);
}

BOOL WINAPI IsCharAlphaA(CHAR ch) { return codepage::IsAlpha(static_cast<unsigned char>(ch)); }
BOOL WINAPI IsCharAlphaNumericA(CHAR ch)
{
    auto c = static_cast<unsigned char>(ch);
    return codepage::IsAlpha(c) || codepage::IsDigit(c);
}
BOOL WINAPI IsCharUpperA(CHAR ch) { return codepage::IsUpper(static_cast<unsigned char>(ch)); }
BOOL WINAPI IsCharLowerA(CHAR ch) { return codepage::IsLower(static_cast<unsigned char>(ch)); }
