// The oracle of the word search: answers a query by a plain scan of the article texts. It walks
// the texts with the writer's own walk (so it sees the same words at the same positions) and
// evaluates the query's operator form by brute force over the occurrences: every record of one
// side that has any record of the other side in reach, every window of positions that holds all
// words of a term, and so on. Slow and simple on purpose.
#pragma once

#include "search/KeywordTokenizer.h"
#include "search/QueryParser.h"

#include <KeywordIndexWriter.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

using OracleRecords = std::vector<discbuilder::KeywordOccurrence>;

struct OracleResult {
    enum Kind { None, MatchAll, Records } kind = None;
    OracleRecords records;  // sorted by article, word position, hit position

    static OracleResult Of(OracleRecords r)
    {
        OracleResult result;
        result.kind = Records;
        std::sort(r.begin(), r.end(), Less);
        r.erase(std::unique(r.begin(), r.end()), r.end());
        result.records = std::move(r);
        return result;
    }
    bool Empty() const { return kind == None || (kind == Records && records.empty()); }
    static bool Less(const discbuilder::KeywordOccurrence& a, const discbuilder::KeywordOccurrence& b)
    {
        if (a.article != b.article)
            return a.article < b.article;
        if (a.wordPosition != b.wordPosition)
            return a.wordPosition < b.wordPosition;
        return a.hitPosition < b.hitPosition;
    }
};

class KeywordOracle {
public:
    KeywordOracle(const std::vector<discbuilder::IndexedArticle>& articles, const discbuilder::KeywordIndexFiles& files)
        : m_drops(files.dropWords.begin(), files.dropWords.end())
    {
        for (std::size_t a = 0; a < articles.size(); ++a) {
            discbuilder::WalkArticleWords(articles[a], files.titleLinks.articleNumbers[a],
                                          [&](const std::string& word, const discbuilder::KeywordOccurrence& o) {
                                              if (keyword_terms::IsIndexableWord(word))
                                                  m_words[word].push_back(o);
                                          });
        }
    }

    // The answer to a query as typed; None also after a parse error.
    OracleResult Answer(const std::string& query) const
    {
        CString form;
        if (!RewriteQuery(query.c_str(), form))
            return OracleResult();
        OracleResult result = Evaluate(std::string(form));
        if (result.kind == OracleResult::Records && result.records.empty())
            return OracleResult();
        return result;
    }

private:
    using Occ = discbuilder::KeywordOccurrence;

    OracleResult Evaluate(const std::string& form) const
    {
        int code = 0, number = 0;
        CString left, right;
        if (!SplitAtSymbolOperator(form.c_str(), code, number, left, right))
            return Term(form);
        OracleResult l = Evaluate(std::string(left));
        if (code == QUERY_SWITCH) {
            CString sw;
            TrimQuery(right, sw);
            std::string s(sw);
            if (!s.empty() && s[0] == 'T') {
                if (l.Empty() || l.kind == OracleResult::MatchAll)
                    return l;
                OracleRecords kept;
                for (const Occ& o : l.records)
                    if ((o.wordPosition >> 24) >= 220)
                        kept.push_back(o);
                return OracleResult::Of(kept);
            }
            std::string marker = "#";
            for (std::size_t i = 1; i < s.size() && keyword_terms::IsDigit(s[i]); ++i)
                marker += s[i];
            OracleResult d = Word(marker);
            if (l.Empty() || l.kind == OracleResult::MatchAll || d.Empty() || d.kind == OracleResult::MatchAll)
                return OracleResult();
            std::set<std::uint16_t> articles;
            for (const Occ& o : d.records)
                articles.insert(o.article);
            OracleRecords kept;
            for (const Occ& o : l.records)
                if (articles.count(o.article))
                    kept.push_back(o);
            return OracleResult::Of(kept);
        }
        OracleResult r = Evaluate(std::string(right));
        const std::int64_t n = (number & 0xFF) == 0 ? 1 : (number & 0xFF);
        int shift = 8;
        std::int64_t reach = n;
        switch (code) {
        case QUERY_AND_PARAGRAPH: case QUERY_NOT_PARAGRAPH: shift = 14; break;
        case QUERY_AND_WORDS: case QUERY_NOT_WORDS: shift = 0; reach = n + 1; break;
        case QUERY_AND_SECTION: case QUERY_NOT_SECTION: shift = 24; break;
        case QUERY_AND_ARTICLE: case QUERY_NOT_ARTICLE: shift = 0; reach = INT64_MAX; break;
        case QUERY_OR: {
            if (l.Empty() && r.Empty())
                return OracleResult();
            if (l.Empty() || l.kind == OracleResult::MatchAll)
                return r.Empty() ? l : r;
            if (r.Empty() || r.kind == OracleResult::MatchAll)
                return l;
            OracleRecords all = l.records;
            all.insert(all.end(), r.records.begin(), r.records.end());
            return OracleResult::Of(all);
        }
        default: break;
        }
        auto inReach = [&](const Occ& a, const Occ& b) {
            if (a.article != b.article)
                return false;
            const std::int64_t d = static_cast<std::int64_t>(a.wordPosition >> shift) - static_cast<std::int64_t>(b.wordPosition >> shift);
            return -reach < d && d < reach;
        };
        auto anyInReach = [&](const Occ& a, const OracleRecords& others) {
            for (const Occ& b : others)
                if (inReach(a, b))
                    return true;
            return false;
        };
        const bool isAnd = code <= QUERY_AND_ARTICLE || code == QUERY_AND;
        if (isAnd) {
            if (l.Empty() || r.Empty())
                return OracleResult();
            if (l.kind == OracleResult::MatchAll)
                return r;
            if (r.kind == OracleResult::MatchAll)
                return l;
            OracleRecords kept;
            for (const Occ& a : l.records)
                if (anyInReach(a, r.records))
                    kept.push_back(a);
            for (const Occ& b : r.records)
                if (anyInReach(b, l.records))
                    kept.push_back(b);
            return OracleResult::Of(kept);
        }
        if (l.Empty() || l.kind == OracleResult::MatchAll)
            return OracleResult();
        if (r.Empty() || r.kind == OracleResult::MatchAll)
            return l;
        OracleRecords kept;
        for (const Occ& a : l.records)
            if (!anyInReach(a, r.records))
                kept.push_back(a);
        return OracleResult::Of(kept);
    }

    OracleResult Word(const std::string& word) const
    {
        auto it = m_words.find(word);
        if (it == m_words.end())
            return OracleResult();
        return OracleResult::Of(it->second);
    }

    // Every word of the lists that the pattern matches ("*" any run, "?" one character, "#" one
    // digit), united; nothing for a pattern with a wildcard at both ends. The domain markers "#N"
    // are reached by the domain switch alone.
    OracleResult Pattern(const std::string& pattern) const
    {
        if (IsWild(pattern.front()) && IsWild(pattern.back()))
            return OracleResult();
        const std::regex re = PatternRegex(pattern);
        OracleRecords all;
        for (const auto& [word, records] : m_words)
            if (!m_drops.count(word) && word[0] != '#' && (word == pattern || std::regex_match(word, re)))
                all.insert(all.end(), records.begin(), records.end());
        return all.empty() ? OracleResult() : OracleResult::Of(all);
    }
    static bool IsWild(char ch) { return ch == '*' || ch == '?' || ch == '#'; }

public:
    // The regular expression of a word pattern.
    static std::regex PatternRegex(const std::string& pattern)
    {
        std::string expression;
        for (char ch : pattern) {
            if (ch == '*')
                expression += ".*";
            else if (ch == '?')
                expression += ".";
            else if (ch == '#')
                expression += "[0-9]";
            else
                expression += std::string("[") + ch + "]";
        }
        return std::regex(expression);
    }

private:

    // The tokens of a term: their results, and how many there were.
    bool Tokens(const std::string& text, std::vector<OracleResult>& tokens) const
    {
        const char* s = text.c_str();
        std::size_t pos = keyword_terms::NextTermStart(s, 0, false);
        while (s[pos] != '\0' && tokens.size() < 10) {
            const std::size_t length = keyword_terms::TermLengthAt(s, pos, false);
            OracleResult token;
            if (s[pos] == '(') {
                token = Answer(std::string(s + pos, length));
            } else {
                const std::string word = keyword_terms::NormalizeTerm(s + pos, length);
                if ((word.find_first_not_of("?*#") == std::string::npos) || m_drops.count(word))
                    token = MatchAll();
                else if (word.find_first_of("?*#") != std::string::npos)
                    token = Pattern(word);
                else
                    token = Word(word);
            }
            if (token.Empty())
                return false;
            tokens.push_back(token);
            pos = keyword_terms::NextTermStart(s, pos + length, false);
        }
        return true;
    }

    static std::vector<const OracleResult*> Words(const std::vector<OracleResult>& tokens)
    {
        std::vector<const OracleResult*> words;
        for (const OracleResult& t : tokens)
            if (t.kind == OracleResult::Records)
                words.push_back(&t);
        return words;
    }
    static OracleResult MatchAll()
    {
        OracleResult all;
        all.kind = OracleResult::MatchAll;
        return all;
    }

    OracleResult Term(const std::string& text) const
    {
        if (text.size() >= 2 && text[0] == '"' && text[1] == '@')
            return Best(text.substr(2, text.size() - 2 - (text.back() == '"' ? 1 : 0)));
        if (text.size() >= 2 && text[0] == '"' && text.back() == '"')
            return Phrase(text.substr(1, text.size() - 2));
        std::vector<OracleResult> tokens;
        if (!Tokens(text, tokens))
            return OracleResult();
        const std::vector<const OracleResult*> words = Words(tokens);
        if (words.empty())
            return MatchAll();
        if (words.size() == 1)
            return *words[0];
        const std::int64_t n = static_cast<std::int64_t>(tokens.size());
        // A record is kept when some window of n positions holds it and a record of each word.
        OracleRecords kept;
        for (std::size_t w = 0; w < words.size(); ++w) {
            for (const Occ& x : words[w]->records) {
                bool found = false;
                for (std::int64_t start = static_cast<std::int64_t>(x.wordPosition) - n + 1;
                     !found && start <= static_cast<std::int64_t>(x.wordPosition); ++start) {
                    bool all = true;
                    for (std::size_t v = 0; all && v < words.size(); ++v) {
                        bool has = false;
                        for (const Occ& y : words[v]->records)
                            if (y.article == x.article && static_cast<std::int64_t>(y.wordPosition) >= start &&
                                static_cast<std::int64_t>(y.wordPosition) < start + n)
                                has = true;
                        all = has;
                    }
                    found = all;
                }
                if (found)
                    kept.push_back(x);
            }
        }
        return OracleResult::Of(kept);
    }

    OracleResult Phrase(const std::string& text) const
    {
        std::vector<OracleResult> tokens;
        if (!Tokens(text, tokens))
            return OracleResult();
        while (!tokens.empty() && tokens.back().kind == OracleResult::MatchAll)
            tokens.pop_back();
        std::vector<std::pair<const OracleResult*, std::int64_t>> words;
        for (std::size_t i = 0; i < tokens.size(); ++i)
            if (tokens[i].kind == OracleResult::Records)
                words.emplace_back(&tokens[i], static_cast<std::int64_t>(i));
        if (words.empty())
            return MatchAll();
        if (words.size() == 1)
            return *words[0].first;
        OracleRecords kept;
        for (const Occ& anchor : words[0].first->records) {
            const std::int64_t base = static_cast<std::int64_t>(anchor.wordPosition) - words[0].second;
            OracleRecords match{anchor};
            for (std::size_t w = 1; w < words.size() && match.size() == w; ++w)
                for (const Occ& y : words[w].first->records)
                    if (y.article == anchor.article && static_cast<std::int64_t>(y.wordPosition) == base + words[w].second) {
                        match.push_back(y);
                        break;
                    }
            if (match.size() == words.size())
                kept.insert(kept.end(), match.begin(), match.end());
        }
        return OracleResult::Of(kept);
    }

public:
    // The best record of the last "@" term evaluated.
    mutable std::uint16_t bestRecord = 0;

private:
    OracleResult Best(const std::string& text) const
    {
        std::vector<OracleResult> tokens;
        if (!Tokens(text, tokens))
            return OracleResult();
        const std::vector<const OracleResult*> words = Words(tokens);
        if (words.empty())
            return MatchAll();
        // Sentences of each article that hold every word.
        std::map<std::uint16_t, std::set<std::uint32_t>> sentences;
        for (const Occ& o : words[0]->records)
            sentences[o.article].insert(o.wordPosition >> 8);
        for (std::size_t w = 1; w < words.size(); ++w) {
            for (auto& [article, set] : sentences) {
                std::set<std::uint32_t> kept;
                for (std::uint32_t s : set)
                    for (const Occ& o : words[w]->records)
                        if (o.article == article && (o.wordPosition >> 8) == s)
                            kept.insert(s);
                set = kept;
            }
        }
        OracleRecords kept;
        std::size_t bestCount = 0;
        bestRecord = 0;
        for (const auto& [article, set] : sentences) {
            if (set.empty())
                continue;
            const std::uint32_t first = *set.begin();
            for (const OracleResult* word : words)
                for (const Occ& o : word->records)
                    if (o.article == article && (o.wordPosition >> 8) == first)
                        kept.push_back(o);
            if (set.size() > bestCount) {
                bestCount = set.size();
                bestRecord = article;
            }
        }
        return OracleResult::Of(kept);
    }

    std::set<std::string> m_drops;
    std::map<std::string, OracleRecords> m_words;
};
