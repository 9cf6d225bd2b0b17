// Word patterns of the keyword engine: matching, the expansion of a pattern into the list words
// it matches, and the merge of the chosen words' records.
#include "search/KeywordIndex.h"

#include "search/KeywordState.h"
#include "base/ShowMessage.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace keyword_engine;

namespace {

bool IsWildcard(char ch)
{
    return ch == '*' || ch == '?' || ch == '#';
}

size_t FixedPrefix(const std::string& pattern)
{
    size_t n = 0;
    while (n < pattern.size() && !IsWildcard(pattern[n]))
        ++n;
    return n;
}

bool Matches(const char* p, const char* w)
{
    for (;; ++p, ++w) {
        if (*p == '\0')
            return *w == '\0';
        if (*p == '*') {
            while (*p == '*')
                ++p;
            if (*p == '\0')
                return true;
            for (const char* rest = w;; ++rest) {
                if (Matches(p, rest))
                    return true;
                if (*rest == '\0')
                    return false;
            }
        }
        if (*w == '\0')
            return false;
        if (*p == '?')
            continue;
        if (*p == '#') {
            if (!keyword_terms::IsDigit(*w))
                return false;
            continue;
        }
        if (*p != *w)
            return false;
    }
}

}  // namespace

int MatchWildcard(LPCSTR pszPattern, LPCSTR pszWord)
{
    if (std::strcmp(pszPattern, pszWord) == 0)
        return 1;
    return Matches(pszPattern, pszWord) ? 1 : 0;
}

RESULT_SET* ExpandWildcard(LPCSTR pszPattern)
{
    const std::string pattern = pszPattern;
    const std::string reversed(pattern.rbegin(), pattern.rend());
    const bool bReverse = FixedPrefix(reversed) > FixedPrefix(pattern);
    const std::string& scanned = bReverse ? reversed : pattern;
    const size_t nPrefix = FixedPrefix(scanned);
    if (nPrefix == 0)
        return NULL;
    int nLo = 0, nHi = 0;
    if (!FindPrefixRange(scanned.c_str(), static_cast<int>(nPrefix), bReverse, nLo, nHi))
        return NULL;
    std::vector<KEYWORD_ENTRY> found;
    const int nScan = ScanListPages(bReverse ? 1 : 0, nLo, nHi, [&](const KEYWORD_ENTRY& entry) {
        if (MatchWildcard(scanned.c_str(), entry.szWord)) {
            found.push_back(entry);
            if (bReverse)
                std::reverse(found.back().szWord, found.back().szWord + found.back().bLength);
        }
        return found.size() >= KEYWORD_MAX_EXPANSION;
    });
    if (nScan < 0 || found.empty())
        return NULL;
    if (bReverse)
        std::sort(found.begin(), found.end(),
                  [](const KEYWORD_ENTRY& a, const KEYWORD_ENTRY& b) { return std::strcmp(a.szWord, b.szWord) < 0; });
    RESULT_SET* pSet = NewResultSet(pszPattern);
    if (pSet == NULL)
        return NULL;
    DWORD dwSize = 8 + 4 * static_cast<DWORD>(found.size());
    for (const KEYWORD_ENTRY& entry : found)
        dwSize += 8 + entry.bLength;
    pSet->hExpansion = VmAlloc(dwSize, TRUE);
    BYTE* pBlock = pSet->hExpansion != 0 ? static_cast<BYTE*>(VmLock(pSet->hExpansion, TRUE, TRUE)) : NULL;
    if (pBlock == NULL) {
        FreeResultSet(pSet);
        AbortSearch("Out of memory");
        return NULL;
    }
    BYTE* p = pBlock + 4 * found.size();
    for (const KEYWORD_ENTRY& entry : found) {
        std::memcpy(p, &entry, 8 + static_cast<size_t>(entry.bLength));
        p += 8 + entry.bLength;
    }
    VmLock(pSet->hExpansion, FALSE, FALSE);
    pSet->dwExpansionCount = static_cast<DWORD>(found.size());
    pSet->dwExpansionSize = dwSize;
    return pSet;
}

BOOL MergeExpansion(RESULT_SET* pExpansion)
{
    SetPin pinExpansion(pExpansion);
    // The chosen words, read out of the block before any set is made.
    std::vector<std::string> words;
    const BYTE* pBlock = pExpansion->hExpansion != 0 ? static_cast<const BYTE*>(VmLock(pExpansion->hExpansion, FALSE, TRUE)) : NULL;
    if (pBlock == NULL && pExpansion->dwExpansionCount > 0) {
        AbortSearch(KEYWORD_MSG_OUT_OF_MEMORY);
        return FALSE;
    }
    const BYTE* p = pBlock + 4 * pExpansion->dwExpansionCount;
    const BYTE* pEnd = pBlock + pExpansion->dwExpansionSize;
    for (DWORD i = 0; i < pExpansion->dwExpansionCount && p + 8 <= pEnd; ++i) {
        DWORD dwFlag;
        std::memcpy(&dwFlag, pBlock + 4 * i, 4);
        const size_t nLength = p[6];
        if (p + 8 + nLength > pEnd)
            break;
        if (dwFlag != 0)
            words.emplace_back(reinterpret_cast<const char*>(p + 7), nLength);
        p += 8 + nLength;
    }
    if (pBlock != NULL)
        VmLock(pExpansion->hExpansion, FALSE, FALSE);

    const CString strName = GetResultSetName(pExpansion);
    RESULT_SET* pSoFar = NULL;
    for (size_t i = 0; i < words.size(); ++i) {
        SetPin pinSoFar(pSoFar);
        RESULT_SET* pWord = LoadWordSet(words[i]);
        if (pWord == NULL)
            continue;  // the list lacks it: nothing to add
        SetPin pinWord(pWord);
        CString strStep;
        strStep.Format("%s\x01%u", static_cast<LPCSTR>(strName), static_cast<unsigned>(i));
        RESULT_SET* pUnion = pSoFar == NULL ? pWord : UnionResults(pSoFar, pWord, strStep);
        if (pSoFar != NULL && pSoFar != pUnion && std::strchr(GetResultSetName(pSoFar), '\x01') != NULL)
            FreeResultSet(pSoFar);
        pSoFar = pUnion;
    }
    // The merged records move into the expansion set.
    ReleaseCursorsOf(pExpansion);
    for (VMHANDLE& hPage : pExpansion->ahPages) {
        if (hPage != 0)
            VmFree(hPage);
        hPage = 0;
    }
    pExpansion->dwCount = 0;
    pExpansion->dwState = RESULT_EMPTY;
    if (pSoFar == NULL || pSoFar->dwCount == 0)
        return TRUE;
    ReleaseCursorsOf(pSoFar);
    if (std::strchr(GetResultSetName(pSoFar), '\x01') != NULL) {
        // A set of the merge's own: its pages move.
        std::memcpy(pExpansion->ahPages, pSoFar->ahPages, sizeof(pExpansion->ahPages));
        std::memset(pSoFar->ahPages, 0, sizeof(pSoFar->ahPages));
        pExpansion->dwCount = pSoFar->dwCount;
        FreeResultSet(pSoFar);
    } else {
        // One chosen word: its cached set keeps its pages; the expansion gets a copy.
        ResultWriter writer(pExpansion);
        pExpansion->dwState = RESULT_COMPUTED;
        PageCursor cursor;
        for (DWORD i = 0; i < pSoFar->dwCount; ++i)
            writer.Append(*cursor.At(pSoFar, i));
        writer.Finish();
    }
    pExpansion->dwState = pExpansion->dwCount > 0 ? RESULT_COMPUTED : RESULT_EMPTY;
    return TRUE;
}

RESULT_SET* keyword_engine::ExpandWildcardTerm(const std::string& pattern)
{
    if (RESULT_SET* pCached = FindResultSet(pattern.c_str()))
        return pCached;
    RESULT_SET* pSet = ExpandWildcard(pattern.c_str());
    if (pSet == NULL)
        return NULL;
    // Without the word list dialog every word is chosen.
    BYTE* pFlags = static_cast<BYTE*>(VmLock(pSet->hExpansion, TRUE, TRUE));
    if (pFlags == NULL) {
        FreeResultSet(pSet);
        AbortSearch(KEYWORD_MSG_OUT_OF_MEMORY);
        return NULL;
    }
    const DWORD dwOne = 1;
    for (DWORD i = 0; i < pSet->dwExpansionCount; ++i)
        std::memcpy(pFlags + 4 * i, &dwOne, 4);
    VmLock(pSet->hExpansion, FALSE, FALSE);
    if (!MergeExpansion(pSet))
        return NULL;
    return pSet->dwCount > 0 ? pSet : NULL;
}
