// The keyword engine's shared internals: the state of the engine, page cursors, the writer of a
// new result set, pins, and the operations that KeywordIndex.cpp (files, look-up, result sets)
// offers KeywordQuery.cpp (evaluation). Nothing outside the engine includes this.
#pragma once

#include "search/KeywordIndex.h"

#include <functional>
#include <string>

namespace keyword_engine {

// Thrown by AbortSearch inside a search; caught by the innermost RunKeywordQuery. Destructors
// on the way release page locks, pins and unfinished result sets.
struct SearchAbort {};

struct EngineState {
    BOOL bOpen = FALSE;
    BOOL bAbort = FALSE;     // the last search ended by an error
    int nDepth = 0;          // running RunKeywordQuery calls (a term in parentheses nests one)
    DWORD dwStamp = 0;
    RESULT_SET slots[KEYWORD_RESULT_SLOTS] = {};
    RESULT_SET matchAll = {};
};
extern EngineState g_state;
extern const KEYWORD_OCCURRENCE g_endRecord;

// Walks the records of one set at a time, keeping the one page it last touched locked.
class PageCursor {
public:
    PageCursor();
    ~PageCursor();
    PageCursor(const PageCursor&) = delete;
    PageCursor& operator=(const PageCursor&) = delete;

    // Record `dwIndex` of the set, or the end record past its count.
    const KEYWORD_OCCURRENCE* At(RESULT_SET* pSet, DWORD dwIndex);
    void Release();

private:
    friend void ReleaseCursorsOf(RESULT_SET* pSet);
    RESULT_SET* m_pSet = NULL;
    int m_nPage = -1;
    VMHANDLE m_hPage = 0;
    KEYWORD_OCCURRENCE* m_pRecords = NULL;
    PageCursor* m_pNextCursor = NULL;
};

// Releases every cursor that holds a page of the set (before the set is freed).
void ReleaseCursorsOf(RESULT_SET* pSet);
// The two cursors of GetPagedEntry and GetPagedEntry2.
PageCursor& FirstCursor();
PageCursor& SecondCursor();

// Fills a new result set: appends records into pages of 2,048 (at most KEYWORD_MAX_RECORDS;
// more are dropped), then Finish writes the end record and shrinks the last page. A writer
// destroyed unfinished (a search that unwound) frees its set.
class ResultWriter {
public:
    explicit ResultWriter(RESULT_SET* pSet);
    ~ResultWriter();
    ResultWriter(const ResultWriter&) = delete;
    ResultWriter& operator=(const ResultWriter&) = delete;

    void Append(const KEYWORD_OCCURRENCE& record);
    // TRUE when the record (record number and hit position) equals the one written last.
    BOOL IsLast(const KEYWORD_OCCURRENCE& record) const;
    // Appends unless the record is the one written last.
    void AppendOnce(const KEYWORD_OCCURRENCE& record)
    {
        if (!IsLast(record))
            Append(record);
    }
    // The finished set (state RESULT_EMPTY when it holds nothing).
    RESULT_SET* Finish();

private:
    RESULT_SET* m_pSet;
    KEYWORD_OCCURRENCE* m_pPage = NULL;
    int m_nPage = -1;
    KEYWORD_OCCURRENCE m_last = {0, 0, 0};
    BOOL m_bFinished = FALSE;
};

// Holds a set in use by the running evaluation, so that no new set takes its slot.
class SetPin {
public:
    explicit SetPin(RESULT_SET* pSet) : m_pSet(pSet)
    {
        if (m_pSet != NULL)
            ++m_pSet->nPins;
    }
    ~SetPin()
    {
        if (m_pSet != NULL)
            --m_pSet->nPins;
    }
    SetPin(const SetPin&) = delete;
    SetPin& operator=(const SetPin&) = delete;

private:
    RESULT_SET* m_pSet;
};

// A free slot, else the least recently used one no evaluation holds, cleared, named and in state
// RESULT_COMPUTED. When every slot is held the search stops with "Query too complex".
RESULT_SET* NewResultSet(LPCSTR pszName);
// The set in use with this name (given a new stamp), or NULL.
RESULT_SET* FindResultSet(LPCSTR pszName);
void FreeResultSet(RESULT_SET* pSet);
// Reads the records of a set whose first record and count are set.
BOOL LoadOccurrences(RESULT_SET* pSet);

// The list pages that can hold the word, by the forward master index; by either index for the
// first `nPrefix` characters of a pattern.
BOOL FindPageRange(LPCSTR pszWord, int& nLo, int& nHi);
BOOL FindPrefixRange(LPCSTR pszPattern, int nPrefix, BOOL bReverse, int& nLo, int& nHi);
// Reads list pages nLo..nHi (at most 61: nHi is lowered to fit) of the forward (0) or reverse
// (1) list into a new paging-store block; 0 after a message.
VMHANDLE LoadListPages(int nWhich, int nLo, int& nHi);
// Calls `visit` with every entry of the pages until it answers true: 1 then, 0 when no entry
// did, -1 after a message for a page that cannot be read or holds a damaged entry.
int ScanListPages(int nWhich, int nLo, int nHi, const std::function<bool(const KEYWORD_ENTRY&)>& visit);
// Looks up a word in its normal form.
int FindNormalKeyword(const CString& strWord, KEYWORD_ENTRY* pEntry);
// The set of a normalised word as the list has it (from the cache, else read), or NULL.
RESULT_SET* LoadWordSet(const std::string& word, const std::string& name = std::string());
// Both sides merged in order into a new set of that name, a record in both written once; a NULL,
// empty or match-all side gives the other side.
RESULT_SET* UnionResults(RESULT_SET* pLeft, RESULT_SET* pRight, LPCSTR pszName);
// The set of a word pattern: its cached expansion (merged first when the reader chose its words),
// else every list word it matches (at most 255), merged; NULL when it matches none.
RESULT_SET* ExpandWildcardTerm(const std::string& pattern);
// TRUE while the search of a checked query runs and the reader chose the words of this pattern
// in its pre-pass.
BOOL IsChosenInPrepass(const std::string& pattern);

}  // namespace keyword_engine
