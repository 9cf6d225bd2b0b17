// Spelling suggestions of the keyword engine: the list words that a word would be with one of its
// characters replaced by any one or any two characters.
#include "search/KeywordWildcards.h"

#include "search/KeywordState.h"
#include "base/ShowMessage.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace keyword_engine;

namespace {

size_t FixedPart(const std::string& pattern)
{
    const size_t n = pattern.find_first_of("*?");
    return n == std::string::npos ? pattern.size() : n;
}

// The name of a word's suggestion set: set apart from the word's own result, which a search
// finds by the word's name.
std::string SuggestionSetName(LPCSTR pszWord)
{
    return std::string("\x02") + pszWord;
}

}  // namespace

RESULT_SET* SuggestSpellings(LPCSTR pszWord)
{
    if (pszWord == NULL || *pszWord == '\0' || !KeywordIsOpen())
        return NULL;
    const std::string word = pszWord;
    if (word.size() > KEYWORD_MAX_WORD)
        return NULL;
    // The work block: up to 25 list entries.
    std::vector<KEYWORD_ENTRY> found;
    found.reserve(KEYWORD_MAX_SUGGESTIONS);
    for (size_t i = 0; i < word.size() && found.size() < KEYWORD_MAX_SUGGESTIONS; ++i) {
        for (const char* pszFill : {"?", "??"}) {
            if (found.size() >= KEYWORD_MAX_SUGGESTIONS)
                break;
            const std::string variant = word.substr(0, i) + pszFill + word.substr(i + 1);
            const std::string reversed(variant.rbegin(), variant.rend());
            const bool bReverse = FixedPart(reversed) > FixedPart(variant);
            const std::string& scanned = bReverse ? reversed : variant;
            const size_t nPrefix = FixedPart(scanned);
            if (nPrefix == 0)
                continue;  // a one-letter word: every word of the list would be a candidate
            int nLo = 0, nHi = 0;
            if (!FindPrefixRange(scanned.c_str(), static_cast<int>(nPrefix), bReverse, nLo, nHi))
                continue;
            const int nScan = ScanListPages(bReverse ? 1 : 0, nLo, nHi, [&](const KEYWORD_ENTRY& entry) {
                if (keyword_terms::IsHiddenWord(entry.szWord, entry.bLength) ||
                    !MatchWildcard(scanned.c_str(), entry.szWord))
                    return false;
                for (const KEYWORD_ENTRY& have : found)
                    if (have.dwFirst == entry.dwFirst)
                        return false;
                found.push_back(entry);
                if (bReverse)
                    std::reverse(found.back().szWord, found.back().szWord + found.back().bLength);
                return found.size() >= KEYWORD_MAX_SUGGESTIONS;
            });
            if (nScan < 0)
                return NULL;
        }
    }
    if (found.empty())
        return NULL;
    RESULT_SET* pSet = NewResultSet(SuggestionSetName(pszWord).c_str());
    if (pSet == NULL)
        return NULL;
    std::stable_sort(found.begin(), found.end(),
                     [](const KEYWORD_ENTRY& a, const KEYWORD_ENTRY& b) { return a.wCount > b.wCount; });
    const int nStored = FillExpansionBlock(pSet, found);
    if (nStored != EXPANSION_STORED) {
        FreeResultSet(pSet);
        ShowMessage(nStored == EXPANSION_NO_MEMORY ? KEYWORD_MSG_SPELL_NO_MEMORY2 : KEYWORD_MSG_SPELL_NO_ADDRESS);
        return NULL;
    }
    pSet->dwState = RESULT_EMPTY;
    return pSet;
}
