// Word patterns of the keyword engine: matching, the expansion of a pattern into the list words
// it matches, the merge of the chosen words' records, date terms and the pre-pass in which the
// reader chooses the words of every wildcard term of a query.
#include "search/KeywordWildcards.h"

#include "search/KeywordState.h"
#include "search/QueryParser.h"
#include "search/WildDlg.h"
#include "base/ShowMessage.h"

#include <afxwin.h>

#include <algorithm>
#include <cstring>
#include <set>
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

// The patterns whose last expansion stopped at KEYWORD_MAX_EXPANSION words with more to come.
std::set<std::string> g_cutPatterns;

bool ExpansionWasCut(const std::string& pattern)
{
    return g_cutPatterns.count(pattern) > 0;
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
    bool bCut = false;
    const int nScan = ScanListPages(bReverse ? 1 : 0, nLo, nHi, [&](const KEYWORD_ENTRY& entry) {
        if (!keyword_terms::IsHiddenWord(entry.szWord, entry.bLength) && MatchWildcard(scanned.c_str(), entry.szWord)) {
            if (found.size() >= KEYWORD_MAX_EXPANSION) {
                bCut = true;  // one more than the expansion keeps
                return true;
            }
            found.push_back(entry);
            if (bReverse)
                std::reverse(found.back().szWord, found.back().szWord + found.back().bLength);
        }
        return false;
    });
    if (bCut)
        g_cutPatterns.insert(pattern);
    else
        g_cutPatterns.erase(pattern);
    if (nScan < 0 || found.empty())
        return NULL;
    if (bReverse)
        std::sort(found.begin(), found.end(),
                  [](const KEYWORD_ENTRY& a, const KEYWORD_ENTRY& b) { return std::strcmp(a.szWord, b.szWord) < 0; });
    RESULT_SET* pSet = NewResultSet(pszPattern);
    if (pSet == NULL)
        return NULL;
    if (FillExpansionBlock(pSet, found) != EXPANSION_STORED) {
        FreeResultSet(pSet);
        AbortSearch("Out of memory");
        return NULL;
    }
    return pSet;
}

int keyword_engine::FillExpansionBlock(RESULT_SET* pSet, const std::vector<KEYWORD_ENTRY>& entries)
{
    DWORD dwSize = 8 + 4 * static_cast<DWORD>(entries.size());
    for (const KEYWORD_ENTRY& entry : entries)
        dwSize += 8 + entry.bLength;
    pSet->hExpansion = VmAlloc(dwSize, TRUE);
    if (pSet->hExpansion == 0)
        return EXPANSION_NO_MEMORY;
    BYTE* pBlock = static_cast<BYTE*>(VmLock(pSet->hExpansion, TRUE, TRUE));
    if (pBlock == NULL)
        return EXPANSION_NO_ADDRESS;
    BYTE* p = pBlock + 4 * entries.size();
    for (const KEYWORD_ENTRY& entry : entries) {
        std::memcpy(p, &entry, 8 + static_cast<size_t>(entry.bLength));
        p += 8 + entry.bLength;
    }
    VmLock(pSet->hExpansion, FALSE, FALSE);
    pSet->dwExpansionCount = static_cast<DWORD>(entries.size());
    pSet->dwExpansionSize = dwSize;
    return EXPANSION_STORED;
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
    RESULT_SET* pSet = FindResultSet(pattern.c_str());
    // An expansion whose words nobody chose yet has no records: it is searched with all of them.
    const bool bUnchosen = pSet != NULL && pSet->hExpansion != 0 && pSet->dwState == RESULT_COMPUTED && pSet->dwCount == 0;
    if (pSet != NULL && !bUnchosen)
        return pSet;
    if (pSet == NULL)
        pSet = ExpandWildcard(pattern.c_str());
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

// ---------------------------------------------------------------------------------------------
// The words of an expansion block

std::vector<EXPANSION_WORD> GetExpansionWords(RESULT_SET* pSet)
{
    std::vector<EXPANSION_WORD> words;
    if (pSet == NULL || pSet->hExpansion == 0 || pSet->dwExpansionCount == 0)
        return words;
    const BYTE* pBlock = static_cast<const BYTE*>(VmLock(pSet->hExpansion, FALSE, TRUE));
    if (pBlock == NULL)
        return words;
    const BYTE* pEnd = pBlock + pSet->dwExpansionSize;
    const BYTE* p = pBlock + 4 * static_cast<size_t>(pSet->dwExpansionCount);
    for (DWORD i = 0; i < pSet->dwExpansionCount && p + 8 <= pEnd; ++i) {
        const size_t nLength = p[6];
        if (p + 8 + nLength > pEnd)
            break;
        EXPANSION_WORD word;
        std::memcpy(&word.dwFlag, pBlock + 4 * static_cast<size_t>(i), 4);
        WORD wCount;
        std::memcpy(&wCount, p + 4, 2);
        word.dwCount = wCount;
        word.word.assign(reinterpret_cast<const char*>(p + 7), nLength);
        words.push_back(std::move(word));
        p += 8 + nLength;
    }
    VmLock(pSet->hExpansion, FALSE, FALSE);
    return words;
}

// ---------------------------------------------------------------------------------------------
// Date terms

BOOL MakeDateKey(const CString& strTerm, CString& strKey)
{
    strKey.Empty();
    const std::string term = static_cast<LPCSTR>(strTerm);
    if (term.find('#') == std::string::npos || term.find_first_of("*?") != std::string::npos)
        return FALSE;
    // The index holds the years as A<n>D and B<n>C: an era letter before the figures ("a", "b"
    // in either case) or after them ("c" in either case, a lower-case "d") chooses the era; the
    // figures alone are A.D.
    std::string figures;
    bool bBeforeChrist = false;
    const char chFirst = term[0];
    if (chFirst == 'b' || chFirst == 'B')
        bBeforeChrist = true;
    else if (keyword_terms::IsDigit(chFirst) || chFirst == '#')
        figures += chFirst;
    size_t i = 1;
    while (i < term.size() && (keyword_terms::IsDigit(term[i]) || term[i] == '#'))
        figures += term[i++];
    if (i < term.size()) {
        if (term[i] == 'c' || term[i] == 'C')
            bBeforeChrist = true;
        else if (term[i] == 'd')
            bBeforeChrist = false;
        else
            return FALSE;
    }
    const std::string key = (bBeforeChrist ? "B" : "A") + figures + (bBeforeChrist ? "C" : "D");
    strKey = key.c_str();
    return TRUE;
}

int CheckDateTerm(const CString& strTerm, CString& strKey)
{
    if (strTerm.Find('#') < 0) {
        strKey = strTerm;
        return 1;
    }
    if (MakeDateKey(strTerm, strKey))
        return 1;
    CString strMessage;
    strMessage.Format(KEYWORD_MSG_BAD_DATE_TERM, static_cast<LPCSTR>(strTerm));
    AfxMessageBox(strMessage, MB_OK);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The pre-pass: the reader chooses the words of every wildcard term before the search runs

namespace {

// The characters that end a term of the pre-pass.
bool IsTermSeparator(char ch)
{
    return ch != '\0' && std::strchr(" ,:;|&!\"'()[]{}/@%^<=>_`", ch) != NULL;
}

struct PrepassState {
    std::vector<RESULT_SET*> expansions;  // made by the current pre-pass, in order
    BOOL bCancelled = FALSE;
    WildcardChooser pChooser = NULL;
    HWND hAnchor = NULL;
    BOOL bSearching = FALSE;  // the search of the chosen words runs
};
PrepassState g_prepass;

// The list of the pre-pass holds the set already.
bool IsListed(RESULT_SET* pSet)
{
    return std::find(g_prepass.expansions.begin(), g_prepass.expansions.end(), pSet) != g_prepass.expansions.end();
}

RESULT_SET* ListedExpansion(const std::string& name)
{
    for (RESULT_SET* pSet : g_prepass.expansions)
        if (pSet->dwState != RESULT_FREE && std::string(static_cast<LPCSTR>(GetResultSetName(pSet))) == name)
            return pSet;
    return NULL;
}

bool WantsExpansion(const std::string& token)
{
    const bool bStarOrOne = token.find_first_of("*?") != std::string::npos;
    const bool bDigit = token.find('#') != std::string::npos;
    if (bStarOrOne && token.find_first_not_of("*?") != std::string::npos)
        return true;
    return bDigit && token.find_first_not_of('#') != std::string::npos;
}

// The expansions of a term, added to the list; the new ones go to `added`. FALSE when the list
// is full (after the message).
BOOL ExpandQueryWildcards(const CString& strTerm, std::vector<RESULT_SET*>& added)
{
    int nCode = 0, nNumber = 0;
    CString strLeft, strRight;
    if (SplitAtOperatorWord(strTerm, nCode, nNumber, strLeft, strRight))
        return ExpandQueryWildcards(strLeft, added) && ExpandQueryWildcards(strRight, added);
    LPCSTR psz = strTerm;
    size_t pos = keyword_terms::NextTermStart(psz, 0, false);
    while (psz[pos] != '\0') {
        const size_t nLength = keyword_terms::TermLengthAt(psz, pos, false);
        // Named as the search will look the word up.
        const std::string token = keyword_terms::NormalizeTerm(psz + pos, nLength);
        pos = keyword_terms::NextTermStart(psz, pos + nLength, false);
        if (!WantsExpansion(token) || ListedExpansion(token) != NULL)
            continue;
        if (g_prepass.expansions.size() >= KEYWORD_MAX_PREPASS_EXPANSIONS) {
            ShowMessage(KEYWORD_MSG_TOO_MANY_WILDCARD_TERMS);
            return FALSE;
        }
        // Results made from a pattern were freed when the pre-pass began: expand afresh.
        RESULT_SET* pSet = ExpandWildcard(token.c_str());
        if (pSet == NULL || IsListed(pSet))
            continue;
        ++pSet->nPins;  // kept until the next pre-pass frees it
        g_prepass.expansions.push_back(pSet);
        added.push_back(pSet);
    }
    return TRUE;
}

int RunWildcardDialog(const CString& strWords, std::vector<DWORD>& flags)
{
    CWildDlg dlg;
    CWnd* pAnchor = g_prepass.hAnchor != NULL && ::IsWindow(g_prepass.hAnchor) ? CWnd::FromHandle(g_prepass.hAnchor) : NULL;
    if (pAnchor != NULL) {
        CRect rect;
        pAnchor->GetWindowRect(&rect);
        dlg.SetPosition(rect.left, rect.top);
    }
    CString strText = strWords;
    dlg.SetWordList(&strText, flags.data(), static_cast<int>(flags.size()));
    return dlg.RunTabDialog();
}

// Lets the reader choose the words of one expansion: 1 when a choice was confirmed (the set then
// waits in state RESULT_EXPANSION for the search), 0 when the reader cancelled.
int ConfirmWildcardWords(RESULT_SET* pExpansion, BOOL bDate, BOOL bCut)
{
    const std::vector<EXPANSION_WORD> words = GetExpansionWords(pExpansion);
    CString strList;
    size_t nListed = 0;
    for (const EXPANSION_WORD& word : words) {
        std::string shown = word.word;
        if (bDate && shown.size() >= 2)
            shown = shown.substr(1, shown.size() - 2);
        if (strList.GetLength() + (nListed > 0 ? 1 : 0) + static_cast<int>(shown.size()) > KEYWORD_MAX_WORD_LIST_TEXT)
            break;
        if (nListed > 0)
            strList += '|';
        strList += shown.c_str();
        ++nListed;
    }
    if (bCut || nListed < words.size()) {
        CString strMessage;
        strMessage.Format(KEYWORD_MSG_LIST_CUT, static_cast<LPCSTR>(GetResultSetName(pExpansion)),
                          static_cast<int>(nListed));
        ShowMessage(strMessage);
    }
    std::vector<DWORD> flags(nListed, 0);
    const int nEnd = g_prepass.pChooser != NULL ? g_prepass.pChooser(strList, flags) : RunWildcardDialog(strList, flags);
    if (nEnd != 1)
        return 0;
    BYTE* pBlock = static_cast<BYTE*>(VmLock(pExpansion->hExpansion, TRUE, TRUE));
    if (pBlock == NULL) {
        ShowMessage(KEYWORD_MSG_OUT_OF_MEMORY);
        return 0;
    }
    std::memset(pBlock, 0, 4 * static_cast<size_t>(pExpansion->dwExpansionCount));
    for (size_t i = 0; i < nListed; ++i) {
        const DWORD dwFlag = flags[i] != 0 ? 1 : 0;
        std::memcpy(pBlock + 4 * i, &dwFlag, 4);
    }
    VmLock(pExpansion->hExpansion, FALSE, FALSE);
    // The set's records are made again from the chosen words when the search meets it.
    ReleaseCursorsOf(pExpansion);
    for (VMHANDLE& hPage : pExpansion->ahPages) {
        if (hPage != 0)
            VmFree(hPage);
        hPage = 0;
    }
    pExpansion->dwCount = 0;
    pExpansion->dwState = RESULT_EXPANSION;
    return 1;
}

// The pre-pass ends without a search.
RESULT_SET* EndPrepass()
{
    g_prepass.bCancelled = TRUE;
    FreeWildcardExpansions();
    return NULL;
}

}  // namespace

void SetWildcardChooser(WildcardChooser pChooser)
{
    g_prepass.pChooser = pChooser;
}

void SetWildcardDialogAnchor(CWnd* pWnd)
{
    g_prepass.hAnchor = pWnd != NULL ? pWnd->GetSafeHwnd() : NULL;
}

BOOL KeywordPrepassCancelled()
{
    return g_prepass.bCancelled;
}

void FreeWildcardExpansions()
{
    for (RESULT_SET* pSet : g_prepass.expansions)
        if (pSet->nPins > 0)
            --pSet->nPins;
    g_prepass.expansions.clear();
    if (!KeywordIsOpen())
        return;
    // Results computed from a pattern hold the words chosen for it: none outlives the pre-pass.
    for (RESULT_SET& slot : g_state.slots) {
        if (slot.dwState == RESULT_FREE || slot.nPins > 0)
            continue;
        const CString strName = GetResultSetName(&slot);
        if (strName.FindOneOf("*?#") >= 0)
            FreeResultSet(&slot);
    }
}

BOOL NextWildcardTerm(const CString& strQuery, int nFrom, int& nStart, int& nEnd)
{
    LPCSTR psz = strQuery;
    const int nLength = strQuery.GetLength();
    int nWild = std::max(nFrom, 0);
    while (nWild < nLength && !IsWildcard(psz[nWild]))
        ++nWild;
    if (nWild >= nLength)
        return FALSE;
    nStart = nWild;
    while (nStart > nFrom && !IsTermSeparator(psz[nStart - 1]))
        --nStart;
    nEnd = nWild;
    while (nEnd < nLength && !IsTermSeparator(psz[nEnd]))
        ++nEnd;
    return TRUE;
}

RESULT_SET* RunKeywordQueryWithWildcards(LPCSTR pszQuery, CString* pstrSearched)
{
    g_prepass.bCancelled = FALSE;
    FreeWildcardExpansions();
    if (pstrSearched != NULL)
        *pstrSearched = pszQuery != NULL ? pszQuery : "";
    if (pszQuery == NULL || !KeywordIsOpen())
        return NULL;
    CString strQuery = pszQuery;
    if (strQuery.FindOneOf("*?#") < 0)
        return RunKeywordQuery(strQuery);

    int nFrom = 0, nStart = 0, nEnd = 0;
    while (NextWildcardTerm(strQuery, nFrom, nStart, nEnd)) {
        CString strTerm = strQuery.Mid(nStart, nEnd - nStart);
        CString strKey;
        if (!CheckDateTerm(strTerm, strKey))
            return EndPrepass();
        const BOOL bDate = strTerm.Find('#') >= 0;
        if (bDate && strKey != strTerm) {
            // The search meets the years under the key's name.
            strQuery = strQuery.Left(nStart) + strKey + strQuery.Mid(nEnd);
            nEnd = nStart + strKey.GetLength();
            strTerm = strKey;
        }
        std::vector<RESULT_SET*> added;
        if (!ExpandQueryWildcards(strTerm, added))
            return EndPrepass();
        for (RESULT_SET* pExpansion : added) {
            const std::string name = static_cast<LPCSTR>(GetResultSetName(pExpansion));
            if (!ConfirmWildcardWords(pExpansion, bDate, ExpansionWasCut(name)))
                return EndPrepass();
        }
        nFrom = nEnd;
    }
    if (pstrSearched != NULL)
        *pstrSearched = strQuery;
    CWaitCursor wait;
    g_prepass.bSearching = TRUE;
    RESULT_SET* pResult = NULL;
    try {
        pResult = RunKeywordQuery(strQuery);
    } catch (...) {
        g_prepass.bSearching = FALSE;
        throw;
    }
    g_prepass.bSearching = FALSE;
    return pResult;
}

BOOL keyword_engine::IsChosenInPrepass(const std::string& pattern)
{
    return g_prepass.bSearching && ListedExpansion(pattern) != NULL;
}
