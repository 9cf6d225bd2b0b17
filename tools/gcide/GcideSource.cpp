#include "GcideSource.h"

#include <DictdDatabase.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

namespace gcide {

namespace {

std::string Lower(std::string s)
{
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

std::string Trim(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return std::string();
    const std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

std::size_t Indent(const std::string& s)
{
    std::size_t n = 0;
    while (n < s.size() && (s[n] == ' ' || s[n] == '\t'))
        ++n;
    return n;
}

std::string Utf8(char32_t code)
{
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// A letter with an accent mark written before it ("'e", "`a", "\"o", "~n", ",c", "^o").
std::string AccentedLetter(char mark, char letter)
{
    const std::string vowels = "AEIOUYaeiouy";
    auto pick = [&](const char32_t* table) -> std::string {
        const std::size_t i = vowels.find(letter);
        return i == std::string::npos || table[i] == 0 ? std::string(1, letter) : Utf8(table[i]);
    };
    static const char32_t kAcute[] = {0xC1, 0xC9, 0xCD, 0xD3, 0xDA, 0xDD, 0xE1, 0xE9, 0xED, 0xF3, 0xFA, 0xFD};
    static const char32_t kGrave[] = {0xC0, 0xC8, 0xCC, 0xD2, 0xD9, 0, 0xE0, 0xE8, 0xEC, 0xF2, 0xF9, 0};
    static const char32_t kDiaeresis[] = {0xC4, 0xCB, 0xCF, 0xD6, 0xDC, 0, 0xE4, 0xEB, 0xEF, 0xF6, 0xFC, 0xFF};
    static const char32_t kCircumflex[] = {0xC2, 0xCA, 0xCE, 0xD4, 0xDB, 0, 0xE2, 0xEA, 0xEE, 0xF4, 0xFB, 0};
    switch (mark) {
    case '\'': return pick(kAcute);
    case '`': return pick(kGrave);
    case '"': return pick(kDiaeresis);
    case '^': return pick(kCircumflex);
    case '~':
        if (letter == 'n') return Utf8(0xF1);
        if (letter == 'N') return Utf8(0xD1);
        if (letter == 'a') return Utf8(0xE3);
        if (letter == 'o') return Utf8(0xF5);
        return std::string(1, letter);
    case ',':
        if (letter == 'c') return Utf8(0xE7);
        if (letter == 'C') return Utf8(0xC7);
        return std::string(1, letter);
    default: return std::string(1, letter);
    }
}

// The text an escape's inside stands for, or nothing when it is no escape.
bool EscapeText(const std::string& inside, std::string& out)
{
    static const std::map<std::string, std::string> kNamed = {
        {"ae", "\u00e6"}, {"AE", "\u00c6"}, {"oe", "\u0153"}, {"OE", "\u0152"}, {"aum", "\u00e4"},
        {"eum", "\u00eb"}, {"ium", "\u00ef"}, {"oum", "\u00f6"}, {"uum", "\u00fc"}, {"Aum", "\u00c4"},
        {"Oum", "\u00d6"}, {"Uum", "\u00dc"}, {"imac", "i"}, {"eth", "\u00f0"}, {"thorn", "\u00fe"},
        {"deg", "\u00b0"}, {"sect", "\u00a7"}, {"root", "\u221a"}, {"ng", "ng"}, {"th", "th"},
        {"udd", "u"}, {"yogh", "y"}, {"add", "+"}, {"asl", "a"}, {"=ae", "\u00e6"}, {"=oo", "oo"},
        {"oo^", "oo"}, {"frac12", "\u00bd"}, {"frac14", "\u00bc"}, {"frac34", "\u00be"}, {"pound", "\u00a3"},
        {"cent", "\u00a2"}, {"para", "\u00b6"}, {"middot", "\u00b7"}, {"times", "\u00d7"},
    };
    const auto named = kNamed.find(inside);
    if (named != kNamed.end()) {
        out = named->second;
        return true;
    }
    const std::string marks = "^=.~-\"'`*,";
    if (inside.size() == 2 && marks.find(inside[0]) != std::string::npos && std::isalpha(static_cast<unsigned char>(inside[1]))) {
        out = AccentedLetter(inside[0], inside[1]);
        return true;
    }
    if (inside.size() == 2 && std::isalpha(static_cast<unsigned char>(inside[0])) && marks.find(inside[1]) != std::string::npos &&
        inside[1] != '.') {
        // A mark after the letter (a breve "a^", a macron "e=") leaves the plain letter.
        out = std::string(1, inside[0]);
        return true;
    }
    return false;
}

// "{x}" in bold, the syllable and accent marks of a headword inside it as readers see them
// (PronunciationText); "*" and "\" written plainly.
std::string MarkUp(const std::string& text)
{
    std::string out;
    bool bold = false;
    for (char ch : text) {
        if (bold && (ch == '*' || ch == '"'))
            ch = ch == '*' ? '-' : '\'';
        if (ch == '{' && !bold) {
            out += "**";
            bold = true;
        } else if (ch == '}' && bold) {
            out += "**";
            bold = false;
        } else if (ch == '*' || ch == '\\') {
            out += '\\';
            out += ch;
        } else {
            out += ch;
        }
    }
    if (bold)
        out += "**";
    return out;
}

// The text without its source tags ("[1913 Webster]", "[WordNet 1.5 +PJC]").
std::string WithoutSourceTags(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '[') {
            const std::size_t close = text.find(']', i);
            if (close != std::string::npos) {
                const std::string inside = text.substr(i, close - i + 1);
                bool tag = false;
                for (const char* name : {"Webster", "WordNet", "PJC", "Century", "Chambers"})
                    tag = tag || inside.find(name) != std::string::npos;
                if (tag) {
                    i = close;
                    continue;
                }
            }
        }
        out += text[i];
    }
    return out;
}

bool IsSourceTag(const std::string& trimmed)
{
    if (trimmed.size() < 3 || trimmed.front() != '[' || trimmed.back() != ']')
        return false;
    for (const char* name : {"Webster", "WordNet", "PJC", "Century", "Chambers", "RW", "MW", "JC"})
        if (trimmed.find(name) != std::string::npos)
            return true;
    return false;
}

// A line that starts a numbered or lettered sense: "1. ...", "(a) ...".
bool StartsSense(const std::string& trimmed)
{
    std::size_t i = 0;
    while (i < trimmed.size() && std::isdigit(static_cast<unsigned char>(trimmed[i])))
        ++i;
    if (i > 0 && i + 1 < trimmed.size() && trimmed[i] == '.' && trimmed[i + 1] == ' ')
        return true;
    return trimmed.size() > 4 && trimmed[0] == '(' && std::islower(static_cast<unsigned char>(trimmed[1])) &&
           trimmed[2] == ')' && trimmed[3] == ' ';
}

// The paragraph as one source line.
std::string FormatParagraph(const std::string& joined, bool quoted)
{
    std::string text = MarkUp(joined);
    if (quoted)
        return "> *" + text + "*";
    std::size_t i = 0;
    while (i < joined.size() && std::isdigit(static_cast<unsigned char>(joined[i])))
        ++i;
    if (i > 0 && i < joined.size() && joined[i] == '.')
        return "**" + joined.substr(0, i + 1) + "**" + MarkUp(joined.substr(i + 1));
    for (const char* label : {"Note:", "Syn:"}) {
        const std::string l = label;
        if (joined.compare(0, l.size(), l) == 0)
            return "*" + l + "*" + MarkUp(joined.substr(l.size()));
    }
    return text;
}

}  // namespace

std::string PronunciationText(const std::string& marked)
{
    std::string out;
    for (char ch : marked) {
        if (ch == '*')
            out += '-';
        else if (ch == '"')
            out += '\'';
        else
            out += ch;
    }
    return out;
}

namespace {

// The first line's rest: each syllabified form (between backslashes) in italics, and the respelled
// pronunciation in parentheses that may follow one, as readers see them (PronunciationText).
std::string FormatRest(const std::string& rest)
{
    std::string out;
    std::size_t i = 0;
    for (;;) {
        const std::size_t a = rest.find('\\', i);
        const std::size_t b = a == std::string::npos ? a : rest.find('\\', a + 1);
        if (b == std::string::npos)
            break;
        out += MarkUp(rest.substr(i, a - i)) + "*" + MarkUp(PronunciationText(rest.substr(a + 1, b - a - 1))) + "*";
        i = b + 1;
        std::size_t open = i;
        while (open < rest.size() && rest[open] == ' ')
            ++open;
        const std::size_t close = open < rest.size() && rest[open] == '(' ? rest.find(')', open) : std::string::npos;
        if (close != std::string::npos) {
            out += MarkUp(rest.substr(i, open - i)) + MarkUp(PronunciationText(rest.substr(open, close - open + 1)));
            i = close + 1;
        }
    }
    return out + MarkUp(rest.substr(i));
}

// The text lower-cased (ASCII letters only) without GCIDE's syllable and accent marks, for
// finding a spelling in an article.
std::string SearchableText(const std::string& text)
{
    std::string out;
    for (char ch : text)
        if (ch != '*' && ch != '"' && ch != '`')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

// The base letter of a UTF-8 Latin-1 letter starting at text[i] (its length in n), else 0.
char BaseLetter(const std::string& text, std::size_t i, std::size_t& n)
{
    n = 1;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80)
        return static_cast<char>(std::tolower(c));
    if (c != 0xC3 || i + 1 >= text.size())
        return 0;
    n = 2;
    const unsigned code = 0xC0u | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
    static const char kBases[] = "aaaaaaaceeeeiiiidnooooo\0ouuuuyts"  // 0xC0-0xDF
                                 "aaaaaaaceeeeiiiidnooooo\0ouuuuyty";  // 0xE0-0xFF
    return kBases[code - 0xC0];
}

// The text's letters folded to lower-case base letters, with the byte where each began.
std::string FoldedLetters(const std::string& text, std::vector<std::size_t>* starts = nullptr)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        const char base = BaseLetter(text, i, n);
        if (base != 0 && std::isalpha(static_cast<unsigned char>(base))) {
            out += base;
            if (starts)
                starts->push_back(i);
        } else {
            out += ' ';
            if (starts)
                starts->push_back(i);
        }
        i += n;
    }
    return out;
}

// The article's own spelling of a word that folds to the same letters as `accented` and keeps
// its accented letters (the article may carry more accents than the index's escape: "Cr'emaillere"
// is "Crémaillère"); empty when the article has none.
std::string ArticleSpelling(const std::string& accented, const std::string& articleText)
{
    const std::string want = FoldedLetters(accented);
    if (want.find(' ') != std::string::npos || want.empty())
        return std::string();
    std::vector<std::size_t> starts;
    const std::string folded = FoldedLetters(articleText, &starts);
    for (std::size_t at = folded.find(want); at != std::string::npos; at = folded.find(want, at + 1)) {
        const bool wordStart = at == 0 || folded[at - 1] == ' ';
        const bool wordEnd = at + want.size() == folded.size() || folded[at + want.size()] == ' ';
        if (!wordStart || !wordEnd)
            continue;
        const std::size_t from = starts[at];
        const std::size_t to = at + want.size() < starts.size() ? starts[at + want.size()] : articleText.size();
        std::string found = articleText.substr(from, to - from);
        if (found.size() <= want.size())
            continue;  // no accent in it
        // The index's capital letters stay.
        if (!accented.empty() && std::isupper(static_cast<unsigned char>(accented[0])) && std::islower(static_cast<unsigned char>(found[0])))
            found[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(found[0])));
        return found;
    }
    return std::string();
}

// The text without GCIDE's syllable and accent marks, its case kept.
std::string SearchableTextKeepingCase(const std::string& text)
{
    std::string out;
    for (char ch : text)
        if (ch != '*' && ch != '"' && ch != '`')
            out += ch;
    return out;
}

}  // namespace

std::string IndexKeyText(const std::string& key, const std::string& articleText)
{
    if (key.find('\'') == std::string::npos)
        return key;
    const std::string searchable = SearchableText(Unescape(articleText));
    std::string out;
    std::size_t i = 0;
    while (i < key.size()) {
        // One word of the key (letters and apostrophes).
        std::size_t end = i;
        while (end < key.size() && (std::isalpha(static_cast<unsigned char>(key[end])) || key[end] == '\''))
            ++end;
        if (end == i) {
            out += key[i++];
            continue;
        }
        const std::string word = key.substr(i, end - i);
        std::string accented;
        bool escaped = false;
        for (std::size_t k = 0; k < word.size(); ++k) {
            if (word[k] == '\'' && k + 1 < word.size() && std::isalpha(static_cast<unsigned char>(word[k + 1]))) {
                std::string letter;
                if (EscapeText(word.substr(k, 2), letter) && letter.size() > 1) {
                    accented += letter;
                    escaped = true;
                    ++k;
                    continue;
                }
            }
            accented += word[k];
        }
        // The escape stands for the accented letter only where the article spells the word so
        // (with any further accents the article gives it).
        if (escaped && searchable.find(SearchableText(accented)) != std::string::npos) {
            out += accented;
        } else {
            const std::string spelled = escaped ? ArticleSpelling(accented, SearchableTextKeepingCase(Unescape(articleText))) : std::string();
            out += spelled.empty() ? word : spelled;
        }
        i = end;
    }
    return out;
}

std::string Unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '[') {
            const std::size_t close = text.find(']', i + 1);
            if (close != std::string::npos && close - i - 1 <= 6) {
                std::string replacement;
                if (EscapeText(text.substr(i + 1, close - i - 1), replacement)) {
                    out += replacement;
                    i = close;
                    continue;
                }
            }
        }
        out += text[i];
    }
    return out;
}

GcideEntry ParseArticle(const std::string& headword, const std::string& text)
{
    GcideEntry entry;
    entry.headword = Unescape(headword);
    std::vector<std::string> lines;
    std::istringstream in(Unescape(text));
    std::string line;
    while (std::getline(in, line))
        lines.push_back(WithoutSourceTags(line));
    // Some articles carry text before their own first line.
    const std::string lowerHead = Lower(headword);
    for (std::size_t k = 1; k < lines.size(); ++k) {
        if (Lower(Trim(lines[0])).compare(0, lowerHead.size(), lowerHead) == 0)
            break;
        if (Lower(Trim(lines[k])).compare(0, lowerHead.size() + 2, lowerHead + " \\") == 0) {
            lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(k));
            break;
        }
    }

    // The first line, with its continuation while an etymology bracket is open.
    std::size_t at = 0;
    std::string head;
    int depth = 0;
    while (at < lines.size()) {
        const std::string trimmed = Trim(lines[at]);
        if (!head.empty() && (trimmed.empty() || StartsSense(trimmed) || depth <= 0))
            break;
        head += (head.empty() ? "" : " ") + trimmed;
        for (char ch : trimmed)
            depth += (ch == '[' || ch == '(') ? 1 : (ch == ']' || ch == ')') ? -1 : 0;
        ++at;
    }
    // The rest after the headword as the article writes it (up to the first backslash form).
    std::string rest = head;
    const std::size_t slash = head.find(" \\");
    if (slash != std::string::npos)
        rest = head.substr(slash + 1);
    else if (Lower(head).compare(0, Lower(headword).size(), Lower(headword)) == 0)
        rest = Trim(head.substr(headword.size()));
    entry.rest = FormatRest(rest);

    std::string paragraph;
    bool quoted = false;
    auto flush = [&]() {
        const std::string p = Trim(paragraph);
        if (!p.empty())
            entry.lines.push_back(FormatParagraph(p, quoted));
        paragraph.clear();
        quoted = false;
    };
    for (; at < lines.size(); ++at) {
        const std::string trimmed = Trim(lines[at]);
        if (trimmed.empty()) {
            flush();
            continue;
        }
        if (IsSourceTag(trimmed))
            continue;
        if (StartsSense(trimmed) && !paragraph.empty())
            flush();
        if (paragraph.empty())
            quoted = Indent(lines[at]) >= 10 && trimmed.compare(0, 2, "--") != 0;
        else if (quoted && trimmed.compare(0, 2, "--") == 0) {
            // The attribution of a quotation stands on its own line.
            flush();
            entry.lines.push_back("> " + MarkUp(trimmed));
            continue;
        }
        paragraph += ' ';
        paragraph += trimmed;
    }
    flush();
    return entry;
}

std::vector<GcideEntry> ReadGcide(const std::filesystem::path& indexFile, const std::filesystem::path& dictFile,
                                  const GcideOptions& options)
{
    const dictd::Database db = dictd::ReadDatabase(indexFile, dictFile, "gcide.index");
    const std::string& dict = db.text;
    std::set<std::string> wanted;
    for (const std::string& word : options.words)
        wanted.insert(Lower(word));

    struct Article {
        std::string headword;
        std::vector<std::string> keys;  // every key of the index that leads here, in index order
        std::uint64_t length;
        bool wanted;
    };
    std::map<std::uint64_t, Article> articles;  // by offset: the text's order
    for (const dictd::IndexEntry& item : db.index) {
        const std::string& key = item.key;
        const std::uint64_t offset = item.offset;
        const std::uint64_t length = item.length;
        const bool isWanted = wanted.count(Lower(key)) != 0;
        auto found = articles.find(offset);
        if (found == articles.end()) {
            articles.emplace(offset, Article{key, {key}, length, isWanted});
            continue;
        }
        found->second.wanted = found->second.wanted || isWanted;
        if (std::find(found->second.keys.begin(), found->second.keys.end(), key) == found->second.keys.end())
            found->second.keys.push_back(key);
        // The headword the article itself begins with, when one of its keys is that.
        const std::string start = Lower(dict.substr(offset, key.size() + 2));
        if (start == Lower(key) + " \\")
            found->second.headword = key;
    }

    std::vector<GcideEntry> entries;
    const std::size_t every = options.every == 0 ? 1 : options.every;
    std::size_t n = 0;
    for (const auto& [offset, article] : articles) {
        const bool keep = article.wanted || n++ % every == 0;
        if (!keep)
            continue;
        const std::string text = dict.substr(offset, article.length);
        GcideEntry entry = ParseArticle(article.headword, text);
        entry.headword = IndexKeyText(entry.headword, text);
        for (const std::string& key : article.keys) {
            const std::string other = IndexKeyText(Unescape(key), text);
            if (key != article.headword &&
                std::find(entry.otherHeadwords.begin(), entry.otherHeadwords.end(), other) == entry.otherHeadwords.end())
                entry.otherHeadwords.push_back(other);
        }
        if (options.maxLines != 0 && entry.lines.size() > options.maxLines)
            entry.lines.resize(options.maxLines);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string FormatDictionarySource(const std::vector<GcideEntry>& entries)
{
    std::string out = "# The dictionary, converted from GCIDE (the GNU Collaborative International Dictionary\n"
                      "# of English) by tools/gcide. Format: tools/discbuilder/DictionarySource.h.\n";
    for (const GcideEntry& entry : entries) {
        std::string head = entry.headword;
        std::replace(head.begin(), head.end(), '|', '/');
        out += "\n@ " + head;
        if (!entry.rest.empty())
            out += " | " + entry.rest;
        out += '\n';
        for (const std::string& other : entry.otherHeadwords)
            out += "@+ " + other + '\n';
        for (const std::string& line : entry.lines) {
            // A definition line must not look like an entry or a comment.
            if (!line.empty() && (line[0] == '@' || line[0] == '#'))
                out += '\\';
            out += line + '\n';
        }
    }
    return out;
}

std::size_t WriteDictionarySource(const std::filesystem::path& dictdFolder, const std::filesystem::path& outFile,
                                  const GcideOptions& options)
{
    const std::vector<GcideEntry> entries =
        ReadGcide(dictdFolder / "gcide.index", dictdFolder / "gcide.dict.dz", options);
    if (outFile.has_parent_path())
        std::filesystem::create_directories(outFile.parent_path());
    std::ofstream out(outFile, std::ios::binary | std::ios::trunc);
    out << FormatDictionarySource(entries);
    if (!out)
        throw std::runtime_error(outFile.string() + ": cannot be written");
    return entries.size();
}

}  // namespace gcide
