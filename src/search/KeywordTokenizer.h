// The term rules of the word search, shared by the keyword engine (query side) and the writer of
// the keyword index (indexing side), so that what is indexed is exactly what is searched.
//
// A term token is one of:
//   - "(" ... ")": a sub-query, to the matching ")" (query side only);
//   - a word: a letter, or one of "?*#", then letters, digits and "?*#&.'";
//   - a number: a digit, or "$"/"+" before a digit, or "-" after a space before a digit; then
//     letters, digits and "#*?%'", and one of ",.:/'" when a digit follows it.
// Letters are the ASCII letters and the accented letters of the Western code page, which fold to
// their base letter ("CAFE" finds "café"); every other byte at or above 0x80 separates words.
//
// Article text (the indexing side) is read with the same rules, by the same function, except
// that the characters that only a query gives a meaning ("(" and the wildcards "?", "*", "#")
// separate words there: a query can never look such a word up, and a word beginning with "#" is
// kept for the hidden domain markers. "&" runs a word on both sides ("AT&T" is one word).
//
// A word is looked up in its normal form (NormalizeTerm): upper case, accents folded, every "."
// not preceded by a digit deleted ("U.S.A." is USA, "3.5" keeps its point) and a final "." (no
// decimal point: "A1." is A1), then a final apostrophe or "'s" dropped.
//
// Everything here is plain code over bytes, header-only, with no calls outside the language.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// The longest word the keyword lists hold, in bytes.
#define KEYWORD_MAX_WORD 80

namespace keyword_terms {

// The base letter of an accented letter of the Western code page (either case), else 0.
inline char FoldAccent(unsigned char ch)
{
    if (ch < 0x80)
        return 0;
    switch (ch) {
    case 0x8A: case 0x9A: return 'S';
    case 0x8E: case 0x9E: return 'Z';
    case 0x9F: case 0xDD: case 0xFD: case 0xFF: return 'Y';
    case 0xC7: case 0xE7: return 'C';
    case 0xD1: case 0xF1: return 'N';
    case 0xD0: case 0xF0: return 'D';
    default: break;
    }
    if ((ch >= 0xC0 && ch <= 0xC5) || (ch >= 0xE0 && ch <= 0xE5))
        return 'A';
    if ((ch >= 0xC8 && ch <= 0xCB) || (ch >= 0xE8 && ch <= 0xEB))
        return 'E';
    if ((ch >= 0xCC && ch <= 0xCF) || (ch >= 0xEC && ch <= 0xEF))
        return 'I';
    if ((ch >= 0xD2 && ch <= 0xD6) || ch == 0xD8 || (ch >= 0xF2 && ch <= 0xF6) || ch == 0xF8)
        return 'O';
    if ((ch >= 0xD9 && ch <= 0xDC) || (ch >= 0xF9 && ch <= 0xFC))
        return 'U';
    return 0;
}

inline bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

inline bool IsLetter(char ch)
{
    unsigned char u = static_cast<unsigned char>(ch);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || FoldAccent(u) != 0;
}

// Upper case with accents folded.
inline char UpperFold(char ch)
{
    unsigned char u = static_cast<unsigned char>(ch);
    if (u >= 'a' && u <= 'z')
        return static_cast<char>(u - 'a' + 'A');
    char base = FoldAccent(u);
    return base ? base : ch;
}

inline bool IsOneOf(char ch, const char* set) { return ch != '\0' && std::strchr(set, ch) != nullptr; }

// Where a term token may begin (bIndexing: article text).
inline bool StartsWord(char ch, bool bIndexing)
{
    return IsLetter(ch) || (!bIndexing && IsOneOf(ch, "?*#"));
}

inline bool StartsNumber(const char* text, std::size_t pos, bool bIndexing)
{
    char ch = text[pos];
    if (IsDigit(ch))
        return true;
    if ((ch == '$' || ch == '+') && IsDigit(text[pos + 1]))
        return true;
    (void)bIndexing;
    return ch == '-' && IsDigit(text[pos + 1]) && (pos == 0 || text[pos - 1] == ' ');
}

// The length of the term token at `pos` of the NUL-terminated text, 0 when none begins there.
inline std::size_t TermLengthAt(const char* text, std::size_t pos, bool bIndexing)
{
    const char* p = text + pos;
    if (*p == '\0')
        return 0;
    if (*p == '(') {
        if (bIndexing)
            return 0;
        int depth = 0;
        std::size_t i = 0;
        for (; p[i] != '\0'; ++i) {
            if (p[i] == '(')
                ++depth;
            else if (p[i] == ')' && --depth == 0)
                return i + 1;
        }
        return i;
    }
    if (StartsWord(*p, bIndexing)) {
        std::size_t i = 1;
        while (p[i] != '\0' && (IsLetter(p[i]) || IsDigit(p[i]) || (bIndexing ? IsOneOf(p[i], "&.'") : IsOneOf(p[i], "?*#&.'"))))
            ++i;
        return i;
    }
    if (StartsNumber(text, pos, bIndexing)) {
        std::size_t i = 1;
        for (;;) {
            char ch = p[i];
            if (ch == '\0')
                break;
            if (IsLetter(ch) || IsDigit(ch) || (bIndexing ? IsOneOf(ch, "%'") : IsOneOf(ch, "#*?%'"))) {
                ++i;
            } else if (IsOneOf(ch, ",.:/'") && IsDigit(p[i + 1])) {
                i += 2;
            } else {
                break;
            }
        }
        return i;
    }
    return 0;
}

// The separators that the evaluator skips between the tokens of a term.
inline bool IsSeparator(const char* text, std::size_t pos)
{
    char ch = text[pos];
    if (IsOneOf(ch, " ,:;!\"'[]{}/@%^<=>_`"))
        return true;
    return (ch == '-' || ch == '+' || ch == '$') && !IsDigit(text[pos + 1]);
}

// The position of the next term token at or after `pos` (the end of the text when none is left).
// Separators are skipped; any other byte that begins no token is passed over as well, so that
// every byte of the text is either in a token or between two.
inline std::size_t NextTermStart(const char* text, std::size_t pos, bool bIndexing)
{
    while (text[pos] != '\0') {
        if (!IsSeparator(text, pos) && TermLengthAt(text, pos, bIndexing) > 0)
            return pos;
        ++pos;
    }
    return pos;
}

// The normal form of a raw word or number (see above).
inline std::string NormalizeTerm(const char* word, std::size_t length)
{
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        char ch = word[i];
        if (ch == '.' && (i + 1 == length || !(i > 0 && IsDigit(word[i - 1]))))
            continue;
        out += UpperFold(ch);
    }
    if (!out.empty() && out.back() == '\'')
        out.pop_back();
    else if (out.size() >= 2 && out[out.size() - 2] == '\'' && out.back() == 'S')
        out.resize(out.size() - 2);
    return out;
}

inline std::string NormalizeTerm(const std::string& word) { return NormalizeTerm(word.data(), word.size()); }

// True when a word of the keyword lists is one that article text never gives: a word with a "#"
// in it, which is a hidden domain marker "#N" or a period's selection code ("A199#D",
// search/SelectionCode.h). Only the domain switch and the lookup of a whole code reach them;
// patterns and suggestions pass them over (a pattern's "#" stands for a digit).
inline bool IsHiddenWord(const char* word, std::size_t length)
{
    return std::memchr(word, '#', length) != nullptr;
}

// True when the keyword lists can hold the word.
inline bool IsIndexableWord(const std::string& word)
{
    return !word.empty() && word.size() <= KEYWORD_MAX_WORD;
}

// One word of article text.
struct TextToken {
    std::size_t offset = 0;   // in the text
    std::size_t length = 0;   // raw length, without a final "." that the normal form drops
    std::string word;         // the normal form
    bool number = false;      // began as a number
    bool endsSentence = false;  // a sentence ends after it
};

// The words of one paragraph of article text, with the sentence ends: a sentence ends after a
// word whose raw text ends in ".", or when ".", "!" or "?" stands between
// it and the next word.
inline std::vector<TextToken> TokenizeText(const std::string& text)
{
    std::vector<TextToken> tokens;
    const char* s = text.c_str();
    std::size_t pos = NextTermStart(s, 0, true);
    while (s[pos] != '\0') {
        std::size_t length = TermLengthAt(s, pos, true);
        TextToken token;
        token.offset = pos;
        token.length = length;
        token.number = !StartsWord(s[pos], true);
        token.word = NormalizeTerm(s + pos, length);
        if (s[pos + length - 1] == '.') {
            token.endsSentence = true;
            --token.length;
        }
        std::size_t next = NextTermStart(s, pos + length, true);
        for (std::size_t i = pos + length; i < next; ++i)
            if (IsOneOf(s[i], ".!?"))
                token.endsSentence = true;
        tokens.push_back(token);
        pos = next;
    }
    return tokens;
}

// The date word that a number token adds at its own position, or "": 1-4 digits followed by the
// word BC (or B.C.) give B<n>C; followed by AD (or A.D.), or a bare number of 3 or 4 digits from
// 100 to 2099, give A<n>D.
inline std::string DateWordAt(const std::vector<TextToken>& tokens, std::size_t index)
{
    const TextToken& token = tokens[index];
    if (!token.number || token.word.empty() || token.word.size() > 4)
        return "";
    for (char ch : token.word)
        if (!IsDigit(ch))
            return "";
    int value = 0;
    for (char ch : token.word)
        value = value * 10 + (ch - '0');
    const std::string next = index + 1 < tokens.size() ? tokens[index + 1].word : std::string();
    if (next == "BC")
        return "B" + std::to_string(value) + "C";
    if (next == "AD")
        return "A" + std::to_string(value) + "D";
    if (token.word.size() >= 3 && token.word[0] != '0' && value >= 100 && value <= 2099)
        return "A" + std::to_string(value) + "D";
    return "";
}

// Word positions: [section 8 bits][paragraph 10][sentence 6][word 8]. A counter that overflows
// carries into the next unit, so that positions keep increasing; counters restart in each parent
// unit. The section byte is the section index, or 220 + t for table t.
class WordPositionCounter {
public:
    explicit WordPositionCounter(unsigned section) : m_section(section) {}

    // The position of the next word.
    std::uint32_t Next()
    {
        std::uint32_t position = (m_section << 24) | (m_paragraph << 14) | (m_sentence << 8) | m_word;
        if (++m_word > 0xFF) {
            m_word = 0;
            NextSentenceCarry();
        }
        return position;
    }
    void EndSentence()
    {
        if (m_word == 0)
            return;
        m_word = 0;
        NextSentenceCarry();
    }
    void EndParagraph()
    {
        if (m_word == 0 && m_sentence == 0)
            return;
        m_word = 0;
        m_sentence = 0;
        NextParagraphCarry();
    }

private:
    void NextSentenceCarry()
    {
        if (++m_sentence > 0x3F) {
            m_sentence = 0;
            NextParagraphCarry();
        }
    }
    void NextParagraphCarry()
    {
        if (++m_paragraph > 0x3FF) {
            m_paragraph = 0;
            ++m_section;
        }
    }

    std::uint32_t m_section;
    std::uint32_t m_paragraph = 0;
    std::uint32_t m_sentence = 0;
    std::uint32_t m_word = 0;
};

}  // namespace keyword_terms

// The query side's name for the token rule: TRUE with the length of the term token at `nPos` of
// the text, FALSE when none begins there.
inline int NextTermLength(const char* pszText, int nPos, int* pnLength)
{
    std::size_t length = keyword_terms::TermLengthAt(pszText, static_cast<std::size_t>(nPos), false);
    if (pnLength)
        *pnLength = static_cast<int>(length);
    return length > 0 ? 1 : 0;
}
