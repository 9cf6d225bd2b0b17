// The keyword engine: word search over the keyword index of the disc.
//
// Five index files and a list of drop words:
//   KWMST.NDX, REVKWMST.NDX  6-byte front-coded keys, key i the last word of list page i
//   KEYWORD.LST, KEYWORD.REV 1,024-byte pages of entries (u32 first record, u16 count, u8 length,
//                            the word with its NUL); the reverse list spells every word backwards
//   OCCURENC.LST             10-byte occurrence records (KEYWORD_OCCURRENCE), each word's
//                            contiguous and ascending by record number and word position
//   dropword.lst             at most 200 drop words, one a line, sorted by byte order
// A query, rewritten into its operator form by the query parser, is evaluated into a result set:
// an ordered list of occurrence records held in pages of 2,048 records in the paging store. Result
// sets live in 45 cache slots named by the text they were computed for, so that a repeated word or
// sub-query costs no file access. A drop word, a term of wildcard characters only and a term of
// drop words only give the match-all result, which every combining operation treats as neutral.
//
// Word positions pack [section 8 bits][paragraph 10][sentence 6][word 8]: the unit of the word
// scope is the position, of the sentence scope the position >> 8, of the paragraph scope >> 14, of
// the section scope >> 24; a section byte of 220 or more is a table.
//
// Errors of the index files are shown through ShowMessage with texts that begin ">>> ". A search
// that cannot go on (an illegal switch, a damaged record, memory that cannot be had, a query that
// needs more live result sets than the cache has) shows its message and unwinds to the innermost
// running RunKeywordQuery, which returns NULL; every page it had locked is unlocked on the way.
//
// All state is program-wide and used by one search at a time on the user-interface thread.
#pragma once

#include "search/KeywordTokenizer.h"
#include "search/PagingStore.h"

#include <afx.h>

#pragma pack(push, 1)
// One occurrence of a word. A record number of 0 marks the end record.
struct KEYWORD_OCCURRENCE {
    WORD wRecord;          // the article number (TITLELNK.DAT)
    DWORD dwHitPosition;   // section code | character offset << 8 | length << 25
    DWORD dwWordPosition;  // for the proximity tests
};
// A keyword list entry as FindKeyword copies it out: header and word.
struct KEYWORD_ENTRY {
    DWORD dwFirst;   // index of the word's first record in OCCURENC.LST
    WORD wCount;     // its number of records
    BYTE bLength;    // length of the word without its NUL
    char szWord[KEYWORD_MAX_WORD + 1];
};
#pragma pack(pop)
static_assert(sizeof(KEYWORD_OCCURRENCE) == 10, "occurrence records are 10 bytes");
static_assert(sizeof(KEYWORD_ENTRY) == 88, "a list entry copy is 88 bytes");

#define KEYWORD_RESULT_SLOTS 45
#define KEYWORD_SET_PAGES 30
#define KEYWORD_PAGE_RECORDS 2048
#define KEYWORD_MAX_RECORDS (KEYWORD_SET_PAGES * KEYWORD_PAGE_RECORDS)  // 61,440
#define KEYWORD_LIST_PAGE 1024
#define KEYWORD_MAX_LIST_PAGES 61
#define KEYWORD_MAX_STOP_WORDS 200
#define KEYWORD_MAX_TERM_TOKENS 10

// States of a result set.
enum {
    RESULT_FREE = 0,
    RESULT_WORD = 1,        // one word read from OCCURENC.LST
    RESULT_COMPUTED = 2,
    RESULT_EMPTY = 3,
    RESULT_MATCH_ALL = 4,
    RESULT_EXPANSION = 5,   // expansion chosen and not yet merged
};

struct RESULT_SET {
    DWORD dwFirst;        // for a single word: its first record in OCCURENC.LST
    DWORD dwCount;        // records held
    DWORD dwBestRecord;   // set by the best-article form
    DWORD dwStamp;        // use stamp
    VMHANDLE hName;       // the text the set was computed for
    VMHANDLE ahPages[KEYWORD_SET_PAGES];
    DWORD dwExpansionCount;
    DWORD dwExpansionSize;
    VMHANDLE hExpansion;
    DWORD dwState;
    int nPins;            // evaluations still reading the set: never reused while above 0
};

// Messages.
#define KEYWORD_MSG_OUT_OF_MEMORY ">>> Out of memory in Keyword Search"
#define KEYWORD_MSG_READ_MASTER ">>> Error reading keyword master index file"
#define KEYWORD_MSG_READ_LIST ">>> Error reading keyword list file"
#define KEYWORD_MSG_READ_OCCURRENCES ">>> Error reading occurrence list file"

// Opens the engine: the paging store, both master indexes (kept in the paging store), the drop
// words and the three list files. 1 when everything opened, else 0 after a message. Throws
// CUserException when the disc's data folder cannot be found. Opening an open engine closes it
// first.
int KeywordInit();
// Frees the drop words, the master indexes and every result set and closes the list files.
void KeywordShutdown();
BOOL KeywordIsOpen();
// Empties the result cache: every later search reads its words from the files again. Sets
// returned earlier are no longer valid.
void KeywordFreeResults();

// Parses and evaluates a query. The result set (owned by the engine; valid until the next
// search), or NULL after a parse error or an abort (both already reported) or when nothing
// matches.
RESULT_SET* RunKeywordQuery(LPCSTR pszQuery);
// TRUE when the last RunKeywordQuery ended by a parse error or an abort.
BOOL KeywordSearchAborted();

// Shows the message and ends the running search: the innermost RunKeywordQuery returns NULL.
// Outside a search it only shows the message.
void AbortSearch(LPCSTR pszMessage);

// Record `index` of the set through the first (second) page cursor: the static end record when
// the index is at or past the count. A cursor keeps the one page it last touched locked until it
// moves to another page or set, is released, or runs past the end of its set. The pointer is
// valid until the cursor moves.
const KEYWORD_OCCURRENCE* GetPagedEntry(RESULT_SET* pSet, DWORD dwIndex);
const KEYWORD_OCCURRENCE* GetPagedEntry2(RESULT_SET* pSet, DWORD dwIndex);
void ReleasePagedEntry();
void ReleasePagedEntry2();

// 1 when the word (normalised first) is in KEYWORD.LST, its entry copied into pEntry when given.
int FindKeyword(LPCSTR pszWord, KEYWORD_ENTRY* pEntry);
// 1 when the word is a drop word.
int IsStopWord(LPCSTR pszWord);
// Reads dropword.lst of the data folder; 1 on success. KeywordInit calls it.
int LoadStopWords();

// Word patterns: "*" matches any run of characters, "?" one character, "#" one digit. The fixed
// prefix is the part before the first wildcard; a pattern whose reversed form has the longer one
// is matched in the reverse list.
#define KEYWORD_MAX_EXPANSION 255
// 1 when the word matches the pattern (equal strings always match).
int MatchWildcard(LPCSTR pszPattern, LPCSTR pszWord);
// A new set named by the pattern whose expansion block holds, for the n list words it matches
// (at most KEYWORD_MAX_EXPANSION, in list order), n u32 flags (all 0: none chosen) and then their
// list entries (8 + length bytes each, packed); NULL when the pattern matches no word or has no
// fixed part at either end.
RESULT_SET* ExpandWildcard(LPCSTR pszPattern);
// Fills an expansion's records with the union of its chosen words' records (state
// RESULT_COMPUTED), or leaves it empty (RESULT_EMPTY) when none is chosen. FALSE when the search
// cannot go on.
BOOL MergeExpansion(RESULT_SET* pExpansion);

// The match-all result.
RESULT_SET* GetMatchAllResult();
// The set's name (for diagnostics and tests).
CString GetResultSetName(RESULT_SET* pSet);
