// The keyword engine's evaluation of queries: terms, phrases, the best-article form, and the
// combining operations with their scopes, over the result sets of KeywordIndex.cpp.
#include "search/KeywordIndex.h"

#include "search/KeywordState.h"
#include "search/QueryParser.h"
#include "search/SelectionCode.h"
#include "base/ShowMessage.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace keyword_engine;

namespace {

typedef std::vector<KEYWORD_OCCURRENCE> Occurrences;

// Records are ordered by record number, then word position.
bool Before(const KEYWORD_OCCURRENCE& a, const KEYWORD_OCCURRENCE& b)
{
    return a.wRecord != b.wRecord ? a.wRecord < b.wRecord : a.dwWordPosition < b.dwWordPosition;
}

bool SameRecord(const KEYWORD_OCCURRENCE& a, const KEYWORD_OCCURRENCE& b)
{
    return a.wRecord == b.wRecord && a.dwHitPosition == b.dwHitPosition && a.dwWordPosition == b.dwWordPosition;
}

bool IsEmptySet(const RESULT_SET* pSet)
{
    return pSet == NULL || pSet->dwState == RESULT_EMPTY || (pSet->dwState != RESULT_MATCH_ALL && pSet->dwCount == 0);
}

bool IsMatchAll(const RESULT_SET* pSet)
{
    return pSet != NULL && pSet->dwState == RESULT_MATCH_ALL;
}

RESULT_SET* EvaluateQuery(const CString& strForm);

// ---------------------------------------------------------------------------------------------
// Words and terms

bool OnlyWildcards(const std::string& word)
{
    return !word.empty() && word.find_first_not_of("?*#") == std::string::npos;
}

// A word that reads as a period's selection code (A199#D, B#00C): looked up as it is written
// unless the reader chose the years of that pattern.
bool IsPeriodCode(const std::string& word)
{
    selection_code::Period period;
    return word.find('#') != std::string::npos && selection_code::ParseSelectionCode(word, period);
}

}  // namespace

namespace keyword_engine {

// The set of a word as the list has it (from the cache, else read from the files), or NULL. The
// set is cached under `name` (the word itself when empty).
RESULT_SET* LoadWordSet(const std::string& word, const std::string& name)
{
    const std::string& cached = name.empty() ? word : name;
    if (RESULT_SET* pCached = FindResultSet(cached.c_str()))
        return pCached;
    KEYWORD_ENTRY entry;
    if (!FindNormalKeyword(word.c_str(), &entry))
        return NULL;
    RESULT_SET* pSet = NewResultSet(cached.c_str());
    if (pSet == NULL)
        return NULL;
    pSet->dwState = RESULT_WORD;
    pSet->dwFirst = entry.dwFirst;
    pSet->dwCount = entry.wCount;
    if (!LoadOccurrences(pSet))
        return NULL;
    return pSet;
}

}  // namespace keyword_engine

namespace {

// The set of one normalised word: match-all for a drop word or a word of wildcard characters
// only; NULL when the list lacks it.
RESULT_SET* LookUpTerm(const std::string& word)
{
    if (OnlyWildcards(word) || IsStopWord(word.c_str()))
        return GetMatchAllResult();
    if (IsPeriodCode(word) && !IsChosenInPrepass(word)) {
        // A period's code is one word of the index (its '#' is no digit there); a disc without
        // period codes still finds the years that the pattern matches.
        if (RESULT_SET* pPeriod = LoadWordSet(word, "\x04" + word))
            return pPeriod;
    }
    if (word.find_first_of("?*#") != std::string::npos)
        return ExpandWildcardTerm(word);
    return LoadWordSet(word);
}

// A search domain's marker word "#N": looked up as it is written, never as a pattern (so "/d1"
// is domain 1 alone, not 11 or 21), and cached under a name that no query text has: the pattern
// "#N" that a query may hold is a different set.
RESULT_SET* LookUpDomain(const std::string& word)
{
    return word.size() < 2 ? NULL : LoadWordSet(word, "\x03" + word);
}

// One token of a term: its set (held by a pin) and whether it counts as a word.
struct TermToken {
    RESULT_SET* pSet = NULL;
    bool bWord = false;
    int nOffset = 0;  // position in a phrase
};

// Reads the tokens of a term (at most KEYWORD_MAX_TERM_TOKENS). FALSE when a token has no set,
// which makes the whole term NULL.
BOOL ReadTermTokens(const CString& strText, std::vector<TermToken>& tokens, std::vector<std::unique_ptr<SetPin>>& pins)
{
    LPCSTR psz = strText;
    size_t pos = keyword_terms::NextTermStart(psz, 0, false);
    while (psz[pos] != '\0' && tokens.size() < KEYWORD_MAX_TERM_TOKENS) {
        const size_t nLength = keyword_terms::TermLengthAt(psz, pos, false);
        TermToken token;
        token.nOffset = static_cast<int>(tokens.size());
        if (psz[pos] == '(') {
            token.pSet = RunKeywordQuery(CString(psz + pos, static_cast<int>(nLength)));
            if (g_state.bAbort)
                return FALSE;
        } else {
            token.pSet = LookUpTerm(keyword_terms::NormalizeTerm(psz + pos, nLength));
        }
        if (token.pSet == NULL)
            return FALSE;
        token.bWord = !IsMatchAll(token.pSet);
        pins.emplace_back(new SetPin(token.pSet));
        tokens.push_back(token);
        pos = keyword_terms::NextTermStart(psz, pos + nLength, false);
    }
    return TRUE;
}

// The sets of the tokens that count as words.
std::vector<RESULT_SET*> WordSets(const std::vector<TermToken>& tokens)
{
    std::vector<RESULT_SET*> sets;
    for (const TermToken& token : tokens)
        if (token.bWord)
            sets.push_back(token.pSet);
    return sets;
}

// Walks the word sets of a term article by article: calls `visit` with the records of each word in
// every article that all of them share.
template <typename Visit>
void ForEachSharedArticle(const std::vector<RESULT_SET*>& sets, Visit visit)
{
    const size_t n = sets.size();
    std::vector<std::unique_ptr<PageCursor>> cursors;
    std::vector<DWORD> index(n, 0);
    for (size_t i = 0; i < n; ++i)
        cursors.emplace_back(new PageCursor);
    std::vector<Occurrences> records(n);
    for (;;) {
        WORD wTarget = 0;
        for (size_t i = 0; i < n; ++i) {
            const KEYWORD_OCCURRENCE* p = cursors[i]->At(sets[i], index[i]);
            if (p->wRecord == 0)
                return;
            wTarget = std::max(wTarget, p->wRecord);
        }
        bool bAll = true;
        for (size_t i = 0; i < n; ++i) {
            const KEYWORD_OCCURRENCE* p = cursors[i]->At(sets[i], index[i]);
            while (p->wRecord != 0 && p->wRecord < wTarget)
                p = cursors[i]->At(sets[i], ++index[i]);
            if (p->wRecord == 0)
                return;
            bAll = bAll && p->wRecord == wTarget;
        }
        if (!bAll)
            continue;
        for (size_t i = 0; i < n; ++i) {
            records[i].clear();
            for (const KEYWORD_OCCURRENCE* p = cursors[i]->At(sets[i], index[i]); p->wRecord == wTarget;
                 p = cursors[i]->At(sets[i], ++index[i]))
                records[i].push_back(*p);
        }
        visit(records);
    }
}

void AppendSorted(ResultWriter& writer, Occurrences& found)
{
    std::sort(found.begin(), found.end(), [](const KEYWORD_OCCURRENCE& a, const KEYWORD_OCCURRENCE& b) {
        return a.dwWordPosition != b.dwWordPosition ? a.dwWordPosition < b.dwWordPosition : a.dwHitPosition < b.dwHitPosition;
    });
    for (size_t i = 0; i < found.size(); ++i)
        if (i == 0 || !SameRecord(found[i], found[i - 1]))
            writer.Append(found[i]);
}

// Adjacent words, in any order: every record of the words that lies in a run of fewer word
// positions than the term has tokens, the run holding each word.
RESULT_SET* EvaluateAdjacentWords(const CString& strName, const std::vector<RESULT_SET*>& sets, int nTokens)
{
    RESULT_SET* pOut = NewResultSet(strName);
    ResultWriter writer(pOut);
    const size_t n = sets.size();
    ForEachSharedArticle(sets, [&](const std::vector<Occurrences>& records) {
        // All records of the article with their word, by position.
        std::vector<std::pair<KEYWORD_OCCURRENCE, size_t>> all;
        for (size_t w = 0; w < n; ++w)
            for (const KEYWORD_OCCURRENCE& r : records[w])
                all.emplace_back(r, w);
        std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
            return a.first.dwWordPosition < b.first.dwWordPosition;
        });
        std::vector<bool> marked(all.size(), false);
        std::vector<int> seen(n, 0);
        for (size_t i = 0; i < all.size(); ++i) {
            // The window from this record's position over the next nTokens - 1 positions.
            const std::uint64_t nEnd = static_cast<std::uint64_t>(all[i].first.dwWordPosition) + static_cast<std::uint64_t>(nTokens);
            std::fill(seen.begin(), seen.end(), 0);
            size_t nWords = 0, j = i;
            for (; j < all.size() && all[j].first.dwWordPosition < nEnd; ++j)
                if (seen[all[j].second]++ == 0)
                    ++nWords;
            if (nWords == n)
                for (size_t k = i; k < j; ++k)
                    marked[k] = true;
        }
        Occurrences found;
        for (size_t i = 0; i < all.size(); ++i)
            if (marked[i])
                found.push_back(all[i].first);
        AppendSorted(writer, found);
    });
    return writer.Finish();
}

// A quoted phrase: the words in the written order at consecutive positions; a drop word holds a
// place and matches anything.
RESULT_SET* EvaluatePhrase(const CString& strText)
{
    if (RESULT_SET* pCached = FindResultSet(strText))
        return pCached;
    std::vector<TermToken> tokens;
    std::vector<std::unique_ptr<SetPin>> pins;
    if (!ReadTermTokens(strText.Mid(1, strText.GetLength() - 2), tokens, pins))
        return NULL;
    while (!tokens.empty() && !tokens.back().bWord)
        tokens.pop_back();
    std::vector<RESULT_SET*> sets;
    std::vector<int> offsets;
    for (const TermToken& token : tokens) {
        if (token.bWord) {
            sets.push_back(token.pSet);
            offsets.push_back(token.nOffset);
        }
    }
    if (sets.empty())
        return GetMatchAllResult();
    if (sets.size() == 1)
        return sets[0];
    RESULT_SET* pOut = NewResultSet(strText);
    ResultWriter writer(pOut);
    ForEachSharedArticle(sets, [&](const std::vector<Occurrences>& records) {
        Occurrences found;
        for (const KEYWORD_OCCURRENCE& anchor : records[0]) {
            const std::int64_t nBase = static_cast<std::int64_t>(anchor.dwWordPosition) - offsets[0];
            Occurrences match(1, anchor);
            for (size_t w = 1; w < sets.size() && match.size() == w; ++w) {
                const std::int64_t nWanted = nBase + offsets[w];
                for (const KEYWORD_OCCURRENCE& r : records[w]) {
                    if (static_cast<std::int64_t>(r.dwWordPosition) == nWanted) {
                        match.push_back(r);
                        break;
                    }
                }
            }
            if (match.size() == sets.size())
                found.insert(found.end(), match.begin(), match.end());
        }
        AppendSorted(writer, found);
    });
    return writer.Finish();
}

// "@words": every word in one sentence of a record. The first such sentence of each record is
// written; the best record is the one with the most such sentences (the first on a tie).
RESULT_SET* EvaluateBestArticle(const CString& strText)
{
    if (RESULT_SET* pCached = FindResultSet(strText))
        return pCached;
    CString strWords = strText.Mid(2);
    if (!strWords.IsEmpty() && strWords[strWords.GetLength() - 1] == '"')
        strWords = strWords.Left(strWords.GetLength() - 1);
    std::vector<TermToken> tokens;
    std::vector<std::unique_ptr<SetPin>> pins;
    if (!ReadTermTokens(strWords, tokens, pins))
        return NULL;
    const std::vector<RESULT_SET*> sets = WordSets(tokens);
    if (sets.empty())
        return GetMatchAllResult();
    RESULT_SET* pOut = NewResultSet(strText);
    ResultWriter writer(pOut);
    DWORD dwBest = 0;
    size_t nBestCount = 0;
    ForEachSharedArticle(sets, [&](const std::vector<Occurrences>& records) {
        // The sentences (position >> 8) of each word, then those common to all.
        std::vector<DWORD> common;
        for (const KEYWORD_OCCURRENCE& r : records[0])
            if (common.empty() || common.back() != (r.dwWordPosition >> 8))
                common.push_back(r.dwWordPosition >> 8);
        for (size_t w = 1; w < sets.size(); ++w) {
            std::vector<DWORD> kept;
            for (DWORD s : common)
                if (std::any_of(records[w].begin(), records[w].end(), [&](const KEYWORD_OCCURRENCE& r) { return (r.dwWordPosition >> 8) == s; }))
                    kept.push_back(s);
            common.swap(kept);
        }
        if (common.empty())
            return;
        Occurrences found;
        for (const Occurrences& word : records)
            for (const KEYWORD_OCCURRENCE& r : word)
                if ((r.dwWordPosition >> 8) == common.front())
                    found.push_back(r);
        AppendSorted(writer, found);
        if (common.size() > nBestCount) {
            nBestCount = common.size();
            dwBest = records[0].front().wRecord;
        }
    });
    RESULT_SET* pSet = writer.Finish();
    pSet->dwBestRecord = dwBest;
    return pSet;
}

RESULT_SET* EvaluateTerm(const CString& strText)
{
    const int nLength = strText.GetLength();
    if (nLength >= 2 && strText[0] == '"' && strText[1] == '@')
        return EvaluateBestArticle(strText);
    if (nLength >= 2 && strText[0] == '"' && strText[nLength - 1] == '"')
        return EvaluatePhrase(strText);
    std::vector<TermToken> tokens;
    std::vector<std::unique_ptr<SetPin>> pins;
    if (!ReadTermTokens(strText, tokens, pins))
        return NULL;
    const std::vector<RESULT_SET*> sets = WordSets(tokens);
    if (sets.empty())
        return GetMatchAllResult();
    if (sets.size() == 1)
        return sets[0];
    if (RESULT_SET* pCached = FindResultSet(strText))
        return pCached;
    return EvaluateAdjacentWords(strText, sets, static_cast<int>(tokens.size()));
}

// ---------------------------------------------------------------------------------------------
// Combining operations

// The unit of a record in a scope, and whether two records lie in reach of each other.
struct Scope {
    int nShift = 8;
    std::int64_t nReach = 1;
    std::int64_t Unit(const KEYWORD_OCCURRENCE& r) const { return static_cast<std::int64_t>(r.dwWordPosition >> nShift); }
    // Left minus right, in units, of two records of one record number.
    bool InReach(const KEYWORD_OCCURRENCE& a, const KEYWORD_OCCURRENCE& b) const
    {
        if (a.wRecord != b.wRecord || a.wRecord == 0)
            return false;
        const std::int64_t d = Unit(a) - Unit(b);
        return -nReach < d && d < nReach;
    }
};

// Records of either side that have a record of the other side in reach. Both lists are walked
// once in order; the nearest records of the other side, before and after, decide.
RESULT_SET* IntersectNear(RESULT_SET* pLeft, RESULT_SET* pRight, const Scope& scope, LPCSTR pszName)
{
    if (IsEmptySet(pLeft) || IsEmptySet(pRight))
        return NULL;
    if (IsMatchAll(pLeft))
        return pRight;
    if (IsMatchAll(pRight))
        return pLeft;
    RESULT_SET* pOut = NewResultSet(pszName);
    ResultWriter writer(pOut);
    DWORD i = 0, j = 0;
    KEYWORD_OCCURRENCE prevLeft = g_endRecord, prevRight = g_endRecord;
    for (;;) {
        const KEYWORD_OCCURRENCE a = *GetPagedEntry(pLeft, i);
        const KEYWORD_OCCURRENCE b = *GetPagedEntry2(pRight, j);
        if (a.wRecord == 0 && b.wRecord == 0)
            break;
        if (a.wRecord != 0 && (b.wRecord == 0 || !Before(b, a))) {
            if (scope.InReach(a, b) || scope.InReach(a, prevRight))
                writer.AppendOnce(a);
            prevLeft = a;
            ++i;
        } else {
            if (scope.InReach(b, a) || scope.InReach(b, prevLeft))
                writer.AppendOnce(b);
            prevRight = b;
            ++j;
        }
    }
    ReleasePagedEntry();
    ReleasePagedEntry2();
    return writer.Finish();
}

// Records of the left side that have no record of the right side in reach.
RESULT_SET* ExcludeNear(RESULT_SET* pLeft, RESULT_SET* pRight, const Scope& scope, LPCSTR pszName)
{
    if (IsEmptySet(pLeft) || IsMatchAll(pLeft))
        return NULL;
    if (IsEmptySet(pRight) || IsMatchAll(pRight))
        return pLeft;
    RESULT_SET* pOut = NewResultSet(pszName);
    ResultWriter writer(pOut);
    DWORD j = 0;
    KEYWORD_OCCURRENCE prevRight = g_endRecord;
    for (DWORD i = 0;; ++i) {
        const KEYWORD_OCCURRENCE a = *GetPagedEntry(pLeft, i);
        if (a.wRecord == 0)
            break;
        KEYWORD_OCCURRENCE b = *GetPagedEntry2(pRight, j);
        while (b.wRecord != 0 && Before(b, a)) {
            prevRight = b;
            b = *GetPagedEntry2(pRight, ++j);
        }
        if (!scope.InReach(a, b) && !scope.InReach(a, prevRight))
            writer.AppendOnce(a);
    }
    ReleasePagedEntry();
    ReleasePagedEntry2();
    return writer.Finish();
}

}  // namespace

namespace keyword_engine {

// Both sides merged in order; a record in both is written once.
RESULT_SET* UnionResults(RESULT_SET* pLeft, RESULT_SET* pRight, LPCSTR pszName)
{
    if (IsEmptySet(pLeft) && IsEmptySet(pRight))
        return NULL;
    if (IsEmptySet(pLeft) || IsMatchAll(pLeft))
        return IsEmptySet(pRight) ? pLeft : pRight;
    if (IsEmptySet(pRight) || IsMatchAll(pRight))
        return pLeft;
    RESULT_SET* pOut = NewResultSet(pszName);
    ResultWriter writer(pOut);
    DWORD i = 0, j = 0;
    for (;;) {
        const KEYWORD_OCCURRENCE a = *GetPagedEntry(pLeft, i);
        const KEYWORD_OCCURRENCE b = *GetPagedEntry2(pRight, j);
        if (a.wRecord == 0 && b.wRecord == 0)
            break;
        if (a.wRecord != 0 && b.wRecord != 0 && SameRecord(a, b)) {
            writer.Append(a);
            ++i;
            ++j;
        } else if (a.wRecord != 0 && (b.wRecord == 0 || !Before(b, a))) {
            writer.Append(a);
            ++i;
        } else {
            writer.Append(b);
            ++j;
        }
    }
    ReleasePagedEntry();
    ReleasePagedEntry2();
    return writer.Finish();
}

}  // namespace keyword_engine

namespace {

// The left records whose record number the domain's marker set holds.
RESULT_SET* RestrictToDomain(RESULT_SET* pLeft, RESULT_SET* pDomain, LPCSTR pszName)
{
    if (IsEmptySet(pLeft) || IsMatchAll(pLeft) || IsEmptySet(pDomain) || IsMatchAll(pDomain))
        return NULL;
    RESULT_SET* pOut = NewResultSet(pszName);
    ResultWriter writer(pOut);
    DWORD j = 0;
    for (DWORD i = 0;; ++i) {
        const KEYWORD_OCCURRENCE a = *GetPagedEntry(pLeft, i);
        if (a.wRecord == 0)
            break;
        const KEYWORD_OCCURRENCE* b = GetPagedEntry2(pDomain, j);
        while (b->wRecord != 0 && b->wRecord < a.wRecord)
            b = GetPagedEntry2(pDomain, ++j);
        if (b->wRecord == a.wRecord)
            writer.Append(a);
    }
    ReleasePagedEntry();
    ReleasePagedEntry2();
    return writer.Finish();
}

// The records in tables (section byte of the word position 220 or more).
RESULT_SET* FilterTables(RESULT_SET* pSet, LPCSTR pszName)
{
    if (IsEmptySet(pSet) || IsMatchAll(pSet))
        return pSet;
    RESULT_SET* pOut = NewResultSet(pszName);
    ResultWriter writer(pOut);
    for (DWORD i = 0;; ++i) {
        const KEYWORD_OCCURRENCE* a = GetPagedEntry(pSet, i);
        if (a->wRecord == 0)
            break;
        if ((a->dwWordPosition >> 24) >= 220)
            writer.Append(*a);
    }
    ReleasePagedEntry();
    return writer.Finish();
}

RESULT_SET* CombineResults(int nCode, int nNumber, RESULT_SET* pLeft, RESULT_SET* pRight, LPCSTR pszName)
{
    const std::int64_t n = (nNumber & 0xFF) == 0 ? 1 : (nNumber & 0xFF);
    Scope scope;
    switch (nCode) {
    case QUERY_AND_SENTENCE: case QUERY_NOT_SENTENCE: case QUERY_AND: case QUERY_NOT:
        scope = Scope{8, n};
        break;
    case QUERY_AND_PARAGRAPH: case QUERY_NOT_PARAGRAPH:
        scope = Scope{14, n};
        break;
    case QUERY_AND_WORDS: case QUERY_NOT_WORDS:
        scope = Scope{0, n + 1};
        break;
    case QUERY_AND_SECTION: case QUERY_NOT_SECTION:
        scope = Scope{24, n};
        break;
    case QUERY_AND_ARTICLE: case QUERY_NOT_ARTICLE:
        scope = Scope{0, INT64_MAX};
        break;
    case QUERY_OR:
        return UnionResults(pLeft, pRight, pszName);
    default:
        return NULL;
    }
    const bool bAnd = nCode <= QUERY_AND_ARTICLE || nCode == QUERY_AND;
    return bAnd ? IntersectNear(pLeft, pRight, scope, pszName) : ExcludeNear(pLeft, pRight, scope, pszName);
}

RESULT_SET* EvaluateQuery(const CString& strForm)
{
    if (g_state.bAbort)
        return NULL;
    if (RESULT_SET* pCached = FindResultSet(strForm)) {
        // The years a reader chose for a period's pattern answer only the search they were
        // chosen for; afterwards the code is the period's word again.
        const std::string form = static_cast<LPCSTR>(strForm);
        if (!(pCached->hExpansion != 0 && IsPeriodCode(form) && !IsChosenInPrepass(form)))
            return pCached;
    }
    int nCode = 0, nNumber = 0;
    CString strLeft, strRight;
    if (!SplitAtSymbolOperator(strForm, nCode, nNumber, strLeft, strRight))
        return EvaluateTerm(strForm);
    RESULT_SET* pLeft = EvaluateQuery(strLeft);
    if (g_state.bAbort)
        return NULL;
    SetPin pinLeft(pLeft);
    if (nCode == QUERY_SWITCH) {
        CString strSwitch;
        TrimQuery(strRight, strSwitch);
        const char chLetter = strSwitch.IsEmpty() ? ' ' : strSwitch[0];
        if (chLetter == 'T' || chLetter == 't')
            return FilterTables(pLeft, strForm);
        if (chLetter == 'D' || chLetter == 'd') {
            std::string marker = "#";
            for (int i = 1; i < strSwitch.GetLength() && keyword_terms::IsDigit(strSwitch[i]); ++i)
                marker += strSwitch[i];
            RESULT_SET* pDomain = LookUpDomain(marker);
            SetPin pinDomain(pDomain);
            return RestrictToDomain(pLeft, pDomain, strForm);
        }
        AbortSearch(FormatIllegalSwitch(chLetter));
        return NULL;
    }
    RESULT_SET* pRight = EvaluateQuery(strRight);
    if (g_state.bAbort)
        return NULL;
    SetPin pinRight(pRight);
    return CombineResults(nCode, nNumber, pLeft, pRight, strForm);
}

}  // namespace

void AbortSearch(LPCSTR pszMessage)
{
    if (pszMessage != NULL)
        ShowMessage(pszMessage);
    if (g_state.nDepth > 0)
        throw SearchAbort();
}

BOOL KeywordSearchAborted()
{
    return g_state.bAbort;
}

RESULT_SET* RunKeywordQuery(LPCSTR pszQuery)
{
    if (!g_state.bOpen || pszQuery == NULL)
        return NULL;
    g_state.bAbort = FALSE;
    CString strForm;
    if (!RewriteQuery(pszQuery, strForm)) {
        g_state.bAbort = TRUE;
        return NULL;
    }
    RESULT_SET* pResult = NULL;
    ++g_state.nDepth;
    try {
        pResult = EvaluateQuery(strForm);
    } catch (const SearchAbort&) {
        g_state.bAbort = TRUE;
        pResult = NULL;
    }
    --g_state.nDepth;
    ReleasePagedEntry();
    ReleasePagedEntry2();
    if (g_state.bAbort || pResult == NULL)
        return NULL;
    if (pResult->dwState != RESULT_MATCH_ALL && pResult->dwCount == 0)
        return NULL;
    return pResult;
}
