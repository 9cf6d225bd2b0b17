// The text rules of the subject index, shared by the topic engine (query side) and the writer of
// the subject index (the disc builder), so that a heading's stored title is exactly what a query
// for it normalises to.
//
// A text is normalised by:
//   1. cutting it at the first '[' (the qualifier) and converting it to upper case;
//   2. after the first character, "IES" at a word's end becoming "Y", a final "'S" of a word
//      dropped, and every other apostrophe dropped;
//   3. dropping a name suffix "JR" or "SR" after the first word, with the spaces and commas
//      before it (the suffix is reported);
//   4. keeping letters, digits and '-': the first inner comma stays (followed by a space), a last
//      or later comma becomes a space, a '.' that ends the text or stands between a letter and a
//      letter that ends a word ("U.S.") goes, every other character becomes a space;
//   5. squeezing runs of spaces, trimming, and dropping a leading "A ", "AN " or "THE ".
// Letters are the ASCII letters and the accented letters of the Western code page.
//
// Plain code over bytes, header-only, with no calls outside the language.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace subject_text {

enum { kSuffixJr = 0, kSuffixSr = 1, kSuffixNone = 2 };

struct NormalizedText {
    std::string text;
    int suffix = kSuffixNone;
    bool comma = false;  // an inner comma was kept (the text is already inverted)
};

inline bool IsLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline char Upper(char ch)
{
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 32);
    if (c >= 0xE0 && c != 0xF7 && c != 0xFF)
        return static_cast<char>(c - 32);
    return ch;
}

// Step 3: removes "JR" or "SR" after the first word; the suffix found.
inline int StripNameSuffix(std::string& s)
{
    std::size_t firstEnd = s.find_first_of(" ,");
    if (firstEnd == std::string::npos)
        return kSuffixNone;
    for (std::size_t p = firstEnd + 1; p + 2 <= s.size(); ++p) {
        if (s[p - 1] != ' ' && s[p - 1] != ',')
            continue;
        if ((s[p] != 'J' && s[p] != 'S') || s[p + 1] != 'R')
            continue;
        if (p + 2 < s.size() && s[p + 2] != ' ' && s[p + 2] != '.')
            continue;
        const int suffix = s[p] == 'J' ? kSuffixJr : kSuffixSr;
        std::size_t from = p;
        while (from > firstEnd && (s[from - 1] == ' ' || s[from - 1] == ','))
            --from;
        s.erase(from, p + 2 - from);
        return suffix;
    }
    return kSuffixNone;
}

inline NormalizedText Normalize(const std::string& input)
{
    NormalizedText result;
    std::string s = input.substr(0, input.find('['));
    for (char& ch : s)
        ch = Upper(ch);

    // Plurals in "IES" and possessives.
    auto endsWord = [&s](std::size_t k) { return k >= s.size() || s[k] == ' ' || s[k] == ','; };
    for (std::size_t i = 0; i < s.size();) {
        if (i > 0 && s.compare(i, 3, "IES") == 0 && endsWord(i + 3)) {
            s.replace(i, 3, "Y");
            ++i;
        } else if (s[i] == '\'' && i > 0 && i + 1 < s.size() && s[i + 1] == 'S' && endsWord(i + 2)) {
            s.erase(i, 2);
        } else if (s[i] == '\'') {
            s.erase(i, 1);
        } else {
            ++i;
        }
    }

    result.suffix = StripNameSuffix(s);

    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const bool last = i + 1 == s.size();
        if (IsLetter(c) || IsDigit(c) || c == '-') {
            out += static_cast<char>(c);
        } else if (c == ',') {
            if (last || result.comma) {
                out += ' ';
            } else {
                out += ',';
                result.comma = true;
                if (s[i + 1] != ' ')
                    out += ' ';
            }
        } else if (c == '.') {
            if (last)
                continue;
            const bool letterNext = IsLetter(static_cast<unsigned char>(s[i + 1]));
            if (letterNext && (i + 2 >= s.size() || !IsLetter(static_cast<unsigned char>(s[i + 2]))))
                continue;
            out += ' ';
        } else {
            out += ' ';
        }
    }

    std::string squeezed;
    for (char ch : out) {
        if (ch == ' ' && (squeezed.empty() || squeezed.back() == ' '))
            continue;
        squeezed += ch;
    }
    while (!squeezed.empty() && squeezed.back() == ' ')
        squeezed.pop_back();
    for (const char* article : {"A ", "AN ", "THE "}) {
        const std::string a(article);
        if (squeezed.compare(0, a.size(), a) == 0 && squeezed.size() > a.size()) {
            squeezed.erase(0, a.size());
            break;
        }
    }
    // A comma that the article or the trimming left at the very end is no inner comma.
    if (!squeezed.empty() && squeezed.back() == ',') {
        squeezed.pop_back();
        result.comma = false;
    }
    result.text = squeezed;
    if (result.text.find(',') == std::string::npos)
        result.comma = false;
    return result;
}

inline std::vector<std::string> SplitWords(const std::string& s)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == ' ')
            ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ')
            ++j;
        if (j > i)
            words.push_back(s.substr(i, j - i));
        i = j;
    }
    return words;
}

inline bool IsRomanNumeral(const std::string& word)
{
    if (word.empty())
        return false;
    for (char ch : word)
        if (std::string("IVXLCDM").find(ch) == std::string::npos)
            return false;
    return true;
}

// The inverted form of a normalised query without a comma ("JOHN KENNEDY" gives "KENNEDY, JOHN",
// "DUKE OF WELLINGTON" gives "WELLINGTON, DUKE OF", "POPE JOHN PAUL II" gives "PAUL II, POPE
// JOHN"); empty when there is none (one word, or nothing before the surname part).
inline std::string MakeInvertedQuery(const std::string& query)
{
    const std::vector<std::string> words = SplitWords(query);
    if (words.size() < 2)
        return std::string();
    std::size_t start = words.size() - 1;
    for (std::size_t k = words.size(); k-- > 0;) {
        const std::string& w = words[k];
        if (w == "OF" || w == "ON" || w == "THE" || w == "FOR" || w == "DE") {
            start = k + 1;
            break;
        }
    }
    if (start >= words.size())
        return std::string();
    bool roman = true;
    for (std::size_t k = start; k < words.size(); ++k)
        roman = roman && IsRomanNumeral(words[k]);
    if (roman)
        start = start > 0 ? start - 1 : 0;
    if (start == 0)
        return std::string();
    std::string inverted;
    for (std::size_t k = start; k < words.size(); ++k)
        inverted += (k > start ? " " : "") + words[k];
    inverted += ",";
    for (std::size_t k = 0; k < start; ++k)
        inverted += " " + words[k];
    return inverted;
}

}  // namespace subject_text
