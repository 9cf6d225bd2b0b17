// The keyword engine's services over its word lists rather than its occurrences: the pre-pass of
// a query that expands every wildcard term and lets the reader choose its words in the wildcard
// word list dialog, date terms ("19##" searches the years 1900-1999), and spelling suggestions.
// Matching and expansion of one pattern (MatchWildcard, ExpandWildcard, MergeExpansion) are
// declared with the rest of the engine in KeywordIndex.h.
//
// Date terms: the disc's index holds every year of the text as a date word, "A1969D" for 1969
// (or 1969 AD) and "B55C" for 55 BC. A query term made of digits and "#" is turned into such a
// key before it is expanded: "19##" becomes "A19##D", "b5##" becomes "b5##C" (the years 500-599
// BC), "19##c" becomes "A19##C". The dialog shows the years without the key's first and last
// letter, and the term in the query is rewritten to the key, so that the search meets the chosen
// years under the key's name.
//
// The pre-pass keeps the expansions it made (at most KEYWORD_MAX_PREPASS_EXPANSIONS) until the
// next pre-pass: the search finds each by its name and merges only the words the reader chose.
#pragma once

#include "search/KeywordIndex.h"

#include <afx.h>

class CWnd;

#include <string>
#include <vector>

// The most expansions one query may make, and the most bytes of the word list the dialog is
// handed for one expansion (its words joined by "|").
#define KEYWORD_MAX_PREPASS_EXPANSIONS 10
#define KEYWORD_MAX_WORD_LIST_TEXT 6144
// The most words a suggestion set holds.
#define KEYWORD_MAX_SUGGESTIONS 25

#define KEYWORD_MSG_BAD_DATE_TERM "Incorrect date search term, %s\n"
#define KEYWORD_MSG_TOO_MANY_WILDCARD_TERMS                                                        \
    "This search has more than 10 words with wildcards.\nPlease search with fewer of them."
#define KEYWORD_MSG_LIST_CUT                                                                      \
    "%s matches more words than the list can show.\nOnly the first %d are listed; type more of "  \
    "the word to see the others."
#define KEYWORD_MSG_SPELL_NO_MEMORY2 "Cannot allocate VM for Spell Check (2)"
#define KEYWORD_MSG_SPELL_NO_ADDRESS "Cannot get kw_entry address for Spell Check"

// The wildcard word list dialog as the pre-pass runs it: shows the words (joined by "|") and
// sets flags[i] to 1 for every word the reader chose. 1 when the reader confirmed a choice, 2
// when cancelled. Tests and hosts without a screen may install their own; NULL puts back the
// dialog.
using WildcardChooser = int (*)(const CString& strWords, std::vector<DWORD>& flags);
void SetWildcardChooser(WildcardChooser pChooser);
// The window over whose top-left corner the word list dialog opens (the search pane's result
// list); NULL, or a window that is gone, centres it over the main window.
void SetWildcardDialogAnchor(CWnd* pWnd);

// Runs a word query after the reader has chosen the words of each of its wildcard terms. NULL
// when the query finds nothing, has an incorrect date term, more wildcard terms than the engine
// keeps, or when the reader cancels a word list (KeywordPrepassCancelled() then tells). The text
// that was searched (date terms rewritten to their keys) goes to pstrSearched when given.
RESULT_SET* RunKeywordQueryWithWildcards(LPCSTR pszQuery, CString* pstrSearched = NULL);
// TRUE when the last RunKeywordQueryWithWildcards ended without a search: cancelled by the reader
// or stopped by a message.
BOOL KeywordPrepassCancelled();
// Frees the expansions of the last pre-pass, and every cached result computed from a pattern
// (also a bare ExpandWildcard set, which has no records until its words are chosen and merged).
void FreeWildcardExpansions();

// The term of the query that holds the first wildcard character at or after nFrom: from the
// character after the separator before it to the next separator. FALSE when no wildcard is left.
BOOL NextWildcardTerm(const CString& strQuery, int nFrom, int& nStart, int& nEnd);

// Checks a term for a date pattern: 1 with the term unchanged when it holds no "#", 1 with its
// date key in strKey for a date term, 0 after a message for an incorrect date term (one with "#"
// and "*" or "?", or with a letter after the digits other than "c", "C" or a lower-case "d").
int CheckDateTerm(const CString& strTerm, CString& strKey);
// The date key alone: TRUE with the key, FALSE for an incorrect date term (no message).
BOOL MakeDateKey(const CString& strTerm, CString& strKey);

// The list words one or two letters away from the word (one character replaced by any one or
// any two characters), the word itself when it is in the list: a set named by the word whose
// expansion block holds at most 25 words, the most frequent first. NULL when there are none.
RESULT_SET* SuggestSpellings(LPCSTR pszWord);

// The words of an expansion or suggestion set's block, in block order, with their flags.
struct EXPANSION_WORD {
    std::string word;
    DWORD dwFlag = 0;
    DWORD dwCount = 0;  // occurrence records of the word
};
std::vector<EXPANSION_WORD> GetExpansionWords(RESULT_SET* pSet);

namespace keyword_engine {
// Gives the set an expansion block of the list entries, every flag 0.
enum { EXPANSION_STORED = 0, EXPANSION_NO_MEMORY = 1, EXPANSION_NO_ADDRESS = 2 };
int FillExpansionBlock(RESULT_SET* pSet, const std::vector<KEYWORD_ENTRY>& entries);
}  // namespace keyword_engine
