// The query language of the word search and its parser.
//
// A reader types words, "quoted phrases", "@sentence groups" and (parenthesised groups) joined by
// operator words (and/near/&, or/|, without/not/!) that may carry a scope suffix (w words, s
// sentence, p paragraph, h sub-heading, a article) and a number (near5, &w3), plus switches
// ("/t" tables only, "/d5" one search domain). RewriteQuery checks the query and rewrites it, as
// text, into the compact operator form that the keyword engine evaluates:
//
//   CAT and DOG            ->  CAT&s0(DOG)              (default scope: sentence)
//   CAT without DOG        ->  CAT!s0(DOG)
//   (CAT or DOG) and BIRD  ->  CAT&s0(BIRD)|(DOG&s0(BIRD))
//   CAT /t                 ->  CAT <0xED> (T)
//
// The operator form is split again, at its rightmost top-level operator symbol, by
// SplitAtSymbolOperator; the left side is evaluated before the right side.
//
// Rewriting runs in three phases of string rewriting, each recursive over the operator tree:
// NormalizeOperators turns the surface operators into "&", "|" and the switch byte with scope
// forms ("s[0](DOG)", "n[0](...)" for negation); DistributeScopes moves scopes and negations
// into the operands (De Morgan) and distributes "&" over "|"; CompactOperators merges each "&"
// with the scope form on its right into one symbol. The last two repeat until the text stops
// changing.
//
// Every text grows as needed, within limits that no sensible query comes near: the query and
// every rewritten form are at most QUERY_MAX_FORM_LENGTH bytes, the operator tree is at most
// QUERY_MAX_NESTING levels deep, and the whole rewrite handles at most QUERY_MAX_WORK bytes of
// text (an ordinary query needs a few thousand). Beyond any of them the rewrite stops with a
// message, as a syntax error does, so that no query can make it run on for long.
//
// All of this is program-wide state (the default scope and the stop flag) used by one search at a
// time on the user-interface thread.
#pragma once

#include <afx.h>

// Operator codes: the index into the symbol table of the operator form.
enum {
    QUERY_AND_SENTENCE = 0,    // "&s"
    QUERY_AND_PARAGRAPH = 1,   // "&p"
    QUERY_AND_WORDS = 2,       // "&w"
    QUERY_AND_SECTION = 3,     // "&h"
    QUERY_AND_ARTICLE = 4,     // "&a"
    QUERY_NOT_SENTENCE = 5,    // "!s"
    QUERY_NOT_PARAGRAPH = 6,   // "!p"
    QUERY_NOT_WORDS = 7,       // "!w"
    QUERY_NOT_SECTION = 8,     // "!h"
    QUERY_NOT_ARTICLE = 9,     // "!a"
    QUERY_AND = 10,            // "&": and within the default scope
    QUERY_NOT = 11,            // "!": without within the default scope
    QUERY_OR = 12,             // "|"
    QUERY_SWITCH = 13,         // the byte 0xED
    QUERY_NO_OPERATOR = 14,    // 14 and 15: empty symbols, evaluate to no result
    QUERY_SYMBOL_COUNT = 16
};

// Scope numbers: the index into the scope prefix table.
enum {
    QUERY_SCOPE_NEGATION = 0,  // "n["
    QUERY_SCOPE_WORDS = 1,     // "w["
    QUERY_SCOPE_SENTENCE = 2,  // "s["
    QUERY_SCOPE_PARAGRAPH = 3, // "p["
    QUERY_SCOPE_SECTION = 4,   // "h[" (sub-heading)
    QUERY_SCOPE_ARTICLE = 5,   // "a["
    QUERY_SCOPE_COUNT = 6
};

// The byte of the switch operator in the operator form, and the byte that counts as an operator
// character without any symbol of its own.
#define QUERY_SWITCH_CHAR '\xED'
#define QUERY_SPARE_CHAR '\xEC'

// Limits of a rewrite: the longest query or rewritten form, in bytes; the deepest operator tree
// (a chain of N operators is N levels deep); the bytes of text that the three phases may handle
// in all (every text that a step of a phase takes or prints counts, in every pass).
#define QUERY_MAX_FORM_LENGTH 65536
#define QUERY_MAX_NESTING 256
#define QUERY_MAX_WORK (1024 * 1024)

// Messages of the parser.
#define QUERY_MSG_MISSING_LEFT "Missing left parenthesis"
#define QUERY_MSG_MISSING_RIGHT "Missing right parenthesis"
#define QUERY_MSG_MISSING_QUOTE "Missing quotation mark"
#define QUERY_MSG_TOO_LONG "Query too long"
#define QUERY_MSG_TOO_COMPLEX "Query too complex"

// One operator word of the surface syntax.
struct QUERY_OPERATOR_WORD {
    LPCSTR pszWord;
    int nCode;
};

#define QUERY_OPERATOR_WORD_COUNT 39

// The operator words, in the order in which they are tried at a position.
extern const QUERY_OPERATOR_WORD g_aQueryOperatorWords[QUERY_OPERATOR_WORD_COUNT];
// The symbols of the operator form, tried in this order; the index is the code.
extern const char g_aszQuerySymbols[QUERY_SYMBOL_COUNT][3];
// The scope prefixes; the index is the scope number.
extern const char g_aszQueryScopePrefixes[QUERY_SCOPE_COUNT][5];

// Rewrites the query into its operator form. TRUE with the form in strOut; FALSE after a
// message (syntax error, or a query too long or too complex), strOut then empty.
BOOL RewriteQuery(LPCSTR pszQuery, CString& strOut);

// The scope that plain and/near/& and without/not/! use: QUERY_SCOPE_WORDS to
// QUERY_SCOPE_ARTICLE (initially QUERY_SCOPE_SENTENCE). Other numbers are ignored.
void SetDefaultScope(int nScope);
int GetDefaultScope();

// Splits a query at its rightmost top-level operator word. TRUE with the operator's code, its
// number (0-255, 0 when none follows) and both sides trimmed; FALSE when there is no such
// operator (or it stands at the first character), and also after reporting unbalanced
// parentheses or quotation marks.
BOOL SplitAtOperatorWord(LPCSTR pszText, int& nCode, int& nNumber, CString& strLeft,
                         CString& strRight);

// Splits an operator form at its rightmost top-level operator symbol, like SplitAtOperatorWord.
BOOL SplitAtSymbolOperator(LPCSTR pszText, int& nCode, int& nNumber, CString& strLeft,
                           CString& strRight);

// Drops surrounding spaces and parentheses that enclose the whole text.
void TrimQuery(LPCSTR pszText, CString& strOut);

// TRUE when the trimmed text is one scope form "x[N](body)", with its scope number, N and the
// trimmed body.
BOOL MatchScopePrefix(LPCSTR pszText, int& nScope, int& nNumber, CString& strBody);

// Shows the text through ShowMessage unless an error was already reported, then sets the stop
// flag.
void ReportQueryError(LPCSTR pszText);

// The stop flag: set once an error has been reported and after every successful rewrite, so
// that the splitting done during evaluation (or by the spelling check before a search) reports
// nothing; RewriteQuery clears it when it starts. It is set when the program starts.
BOOL IsQueryStopped();

// The single rewrite steps, each printing one node from its already rewritten parts.
// Phase 1: a split operator (code, number) with its normalised sides.
CString BuildBracketForm(int nCode, int nNumber, LPCSTR pszLeft, LPCSTR pszRight);
// Phase 2: a scope form with its distributed body.
CString ApplyScopePrefix(int nScope, int nNumber, LPCSTR pszBody);
// Phase 2: an operator with its distributed sides.
CString CombineOperands(int nCode, int nNumber, LPCSTR pszLeft, LPCSTR pszRight);
// Phase 3: an operator with its compacted sides.
CString JoinOperands(int nCode, int nNumber, LPCSTR pszLeft, LPCSTR pszRight);
