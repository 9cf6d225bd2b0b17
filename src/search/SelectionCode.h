// Selection codes of the Dido Dovov: the words under which the word index files a period.
//
// A code is 'A' (A.D.) or 'B' (B.C.), the year's four digits without leading zeros, then 'D' or
// 'C'. For a span longer than a year the digits below the span are zero and the highest of them
// is written '#': the 1990s are A199#D, the 1900s A19#0D, the years 1000-1999 A1#00D; the spans
// that start at year 0 lose every digit before the '#' (A#D, A#0D, A#00D). A year alone has no
// '#' (A1492D), which is also the date word the index gives every mention of that year.
//
// The index writer adds, beside each year's date word, the codes of the decade, century and
// millennium that hold it (PeriodCodesOf), so that a code is one word of the index; the time
// machine builds the code of the reader's choice (BuildSelectionCode) and reads a code from a
// link or the history back into its settings (ParseSelectionCode).
//
// Plain code over strings, header-only, with no calls outside the language.
#pragma once

#include <string>
#include <vector>

namespace selection_code {

// The spans, by the number of digits the '#' stands for.
enum Span { kYear = 0, kDecade = 1, kCentury = 2, kMillennium = 3 };

constexpr int kMaxYear = 9999;

// A period as a code names it.
struct Period {
    bool ad = true;     // false: B.C.
    int firstYear = 0;  // 0-9999, the digits below the span zero
    int span = kYear;   // Span
    bool operator==(const Period&) const = default;
};

// The first year of the span that holds the year.
inline int FirstYearOf(int year, int span)
{
    static const int s_aUnit[] = {1, 10, 100, 1000};
    const int unit = span >= kYear && span <= kMillennium ? s_aUnit[span] : 1;
    return year / unit * unit;
}

// The code of the span (Span) that holds the year (0-9999; other years and spans give "").
inline std::string BuildSelectionCode(bool ad, int year, int span)
{
    if (year < 0 || year > kMaxYear || span < kYear || span > kMillennium)
        return "";
    const int first = FirstYearOf(year, span);
    std::string digits(4, '0');
    for (int i = 3, value = first; i >= 0; --i, value /= 10)
        digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
    // The highest digit of the span becomes the '#'.
    if (span != kYear)
        digits[static_cast<std::size_t>(4 - span)] = '#';
    std::size_t lead = 0;
    while (lead < 3 && digits[lead] == '0')
        ++lead;
    return std::string(ad ? "A" : "B") + digits.substr(lead) + (ad ? "D" : "C");
}

// Reads a code back: TRUE with the period for 'A' or 'B', one to four digits of which at most
// one is a '#' followed by at most two digits, then 'D' or 'C'; false for anything else (the
// period is then left as it was).
inline bool ParseSelectionCode(const std::string& code, Period& period)
{
    if (code.size() < 3 || code.size() > 6)
        return false;
    const char era = code.front();
    const char end = code.back();
    if ((era != 'A' && era != 'B') || (end != 'D' && end != 'C'))
        return false;
    const std::string digits = code.substr(1, code.size() - 2);
    int value = 0;
    int span = kYear;
    bool wild = false;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const char ch = digits[i];
        if (ch == '#') {
            const std::size_t below = digits.size() - 1 - i;  // digits after the '#'
            if (wild || below > 2)
                return false;
            wild = true;
            span = static_cast<int>(below) + 1;
        } else if (ch >= '0' && ch <= '9') {
            if (!wild)
                value = value * 10 + (ch - '0');
        } else {
            return false;
        }
    }
    static const int s_aUnit[] = {1, 10, 100, 1000};
    const int first = value * s_aUnit[span];
    if (first > kMaxYear)
        return false;
    period.ad = era == 'A';
    period.firstYear = first;
    period.span = span;
    return true;
}

// The codes of the decade, century and millennium that hold the year of a date word ("A1995D"
// gives A199#D, A19#0D, A1#00D; "B55C" gives B5#C, B#0C, B#00C); none for any other word.
inline std::vector<std::string> PeriodCodesOf(const std::string& dateWord)
{
    Period year;
    if (!ParseSelectionCode(dateWord, year) || year.span != kYear)
        return {};
    if ((year.ad && dateWord.back() != 'D') || (!year.ad && dateWord.back() != 'C'))
        return {};
    return {BuildSelectionCode(year.ad, year.firstYear, kDecade), BuildSelectionCode(year.ad, year.firstYear, kCentury),
            BuildSelectionCode(year.ad, year.firstYear, kMillennium)};
}

}  // namespace selection_code
