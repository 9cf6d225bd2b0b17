// The query parser: checks a word-search query and rewrites it into the operator form.
//
// Every text is a CString that grows as needed. The scanners only ever look at the characters of
// the text in hand: a byte that is not a space, a parenthesis, a double quote or an operator
// character (digits and letters of any code page position, other punctuation, bytes above 0x7F)
// is simply part of a term. The query is upper-cased on the Western code page first, which also
// turns the bytes 0xEC and 0xED into 0xCC and 0xCD: the switch byte of the operator form can then
// only come from a "/" switch, never from a typed letter.
#include "search/QueryParser.h"

#include "base/ShowMessage.h"

#include <cstring>
#include <vector>

const QUERY_OPERATOR_WORD g_aQueryOperatorWords[QUERY_OPERATOR_WORD_COUNT] = {
    {"andw", QUERY_AND_WORDS},       {"nearw", QUERY_AND_WORDS},     {"&w", QUERY_AND_WORDS},
    {"ands", QUERY_AND_SENTENCE},    {"nears", QUERY_AND_SENTENCE},  {"&s", QUERY_AND_SENTENCE},
    {"andp", QUERY_AND_PARAGRAPH},   {"nearp", QUERY_AND_PARAGRAPH}, {"&p", QUERY_AND_PARAGRAPH},
    {"andh", QUERY_AND_SECTION},     {"nearh", QUERY_AND_SECTION},   {"&h", QUERY_AND_SECTION},
    {"anda", QUERY_AND_ARTICLE},     {"neara", QUERY_AND_ARTICLE},   {"&a", QUERY_AND_ARTICLE},
    {"and", QUERY_AND},              {"near", QUERY_AND},            {"&", QUERY_AND},
    {"or", QUERY_OR},                {"|", QUERY_OR},
    {"withoutw", QUERY_NOT_WORDS},   {"notw", QUERY_NOT_WORDS},      {"!w", QUERY_NOT_WORDS},
    {"withouts", QUERY_NOT_SENTENCE}, {"nots", QUERY_NOT_SENTENCE},  {"!s", QUERY_NOT_SENTENCE},
    {"withoutp", QUERY_NOT_PARAGRAPH}, {"notp", QUERY_NOT_PARAGRAPH}, {"!p", QUERY_NOT_PARAGRAPH},
    {"withouth", QUERY_NOT_SECTION}, {"noth", QUERY_NOT_SECTION},    {"!h", QUERY_NOT_SECTION},
    {"withouta", QUERY_NOT_ARTICLE}, {"nota", QUERY_NOT_ARTICLE},    {"!a", QUERY_NOT_ARTICLE},
    {"without", QUERY_NOT},          {"not", QUERY_NOT},             {"!", QUERY_NOT},
    {"/", QUERY_SWITCH},
};

const char g_aszQuerySymbols[QUERY_SYMBOL_COUNT][3] = {
    "&s", "&p", "&w", "&h", "&a", "!s", "!p", "!w", "!h", "!a", "&", "!", "|", "\xED", "", "",
};

const char g_aszQueryScopePrefixes[QUERY_SCOPE_COUNT][5] = {"n[", "w[", "s[", "p[", "h[", "a["};

namespace {

// Set when the program starts: only RewriteQuery, which clears it, reports anything.
BOOL g_bQueryStop = TRUE;
int g_nDefaultScope = QUERY_SCOPE_SENTENCE;
// Depth of the running phase's recursion, and the bytes of text that the rewrite has handled.
int g_nNesting = 0;
int g_nWork = 0;

// The scope of the and-codes 0-4 (s, p, w, h, a), and of the without-codes 5-9 less 5.
const int s_anCodeScope[5] = {QUERY_SCOPE_SENTENCE, QUERY_SCOPE_PARAGRAPH, QUERY_SCOPE_WORDS,
                              QUERY_SCOPE_SECTION, QUERY_SCOPE_ARTICLE};
// The merged symbol of an and-code (and of a without-code) with a scope form on its right, by
// the form's scope number: n, w, s, p, h, a.
const int s_anAndWithScope[QUERY_SCOPE_COUNT] = {QUERY_NOT, QUERY_AND_WORDS, QUERY_AND_SENTENCE,
                                                 QUERY_AND_PARAGRAPH, QUERY_AND_SECTION,
                                                 QUERY_AND_ARTICLE};
const int s_anNotWithScope[QUERY_SCOPE_COUNT] = {QUERY_AND, QUERY_NOT_WORDS, QUERY_NOT_SENTENCE,
                                                 QUERY_NOT_PARAGRAPH, QUERY_NOT_SECTION,
                                                 QUERY_NOT_ARTICLE};

bool IsOperatorChar(char ch)
{
    return ch == '&' || ch == '!' || ch == '|' || ch == QUERY_SWITCH_CHAR || ch == QUERY_SPARE_CHAR;
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

bool IsAndCode(int nCode)
{
    return (nCode >= QUERY_AND_SENTENCE && nCode <= QUERY_AND_ARTICLE) || nCode == QUERY_AND;
}

bool IsNotCode(int nCode)
{
    return (nCode >= QUERY_NOT_SENTENCE && nCode <= QUERY_NOT_ARTICLE) || nCode == QUERY_NOT;
}

LPCSTR Symbol(int nCode)
{
    return nCode >= 0 && nCode < QUERY_SYMBOL_COUNT ? g_aszQuerySymbols[nCode] : "";
}

LPCSTR ScopePrefix(int nScope)
{
    return nScope >= 0 && nScope < QUERY_SCOPE_COUNT ? g_aszQueryScopePrefixes[nScope] : "";
}

// The digits at nPos as one unsigned byte (larger numbers keep their low 8 bits); nPos moves
// past them.
int ReadNumber(LPCSTR psz, int& nPos)
{
    unsigned int nValue = 0;
    while (IsDigit(psz[nPos])) {
        nValue = (nValue * 10 + static_cast<unsigned int>(psz[nPos] - '0')) & 0xFF;
        ++nPos;
    }
    return static_cast<int>(nValue);
}

// Compares nCount characters of the text with a lower-case operator word, ignoring the case of
// the text's letters.
bool EqualsWordNoCase(LPCSTR psz, LPCSTR pszWord, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        char ch = psz[i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != pszWord[i])
            return false;
    }
    return true;
}

// TRUE when the parenthesis at nOpen is closed by the one at nLast and by no earlier one.
// Parentheses inside double quotes do not count.
bool ClosesAt(LPCSTR psz, int nOpen, int nLast)
{
    int nLevel = 0;
    bool bQuote = false;
    for (int i = nOpen; i <= nLast; ++i) {
        char ch = psz[i];
        if (ch == '"')
            bQuote = !bQuote;
        else if (bQuote)
            continue;
        else if (ch == '(')
            ++nLevel;
        else if (ch == ')' && --nLevel == 0)
            return i == nLast;
    }
    return false;
}

// An operator word at position i of the text (of length nLen): its code and the position after
// the word (before any digits).
bool MatchOperatorWord(LPCSTR psz, int nLen, int i, int& nCode, int& nEnd)
{
    for (const QUERY_OPERATOR_WORD& word : g_aQueryOperatorWords) {
        int nWordLen = static_cast<int>(strlen(word.pszWord));
        char chFirst = word.pszWord[0];
        char chLast = word.pszWord[nWordLen - 1];
        if (!IsOperatorChar(chFirst) && !(i > 0 && (psz[i - 1] == ' ' || psz[i - 1] == ')')))
            continue;
        if (nLen - i <= nWordLen || !EqualsWordNoCase(psz + i, word.pszWord, nWordLen))
            continue;
        int j = i + nWordLen;
        while (IsDigit(psz[j]))
            ++j;
        if (psz[j] != ' ' && !IsOperatorChar(chLast) && chLast != '/')
            continue;
        nCode = word.nCode;
        nEnd = i + nWordLen;
        return true;
    }
    return false;
}

// The first symbol of the operator form that the text continues with at position i, when an
// operator character stands there.
bool MatchSymbol(LPCSTR psz, int /*nLen*/, int i, int& nCode, int& nEnd)
{
    if (!IsOperatorChar(psz[i]))
        return false;
    for (int k = 0; k < QUERY_SYMBOL_COUNT; ++k) {
        int nSymbolLen = static_cast<int>(strlen(g_aszQuerySymbols[k]));
        if (strncmp(psz + i, g_aszQuerySymbols[k], nSymbolLen) == 0) {
            nCode = k;
            nEnd = i + nSymbolLen;
            return true;
        }
    }
    return false;
}

// The scan that both splitters share: from the right end towards the left, counting parentheses
// and skipping quoted text, it stops at the first top-level position where the operator matches,
// so operators of equal rank associate to the left. A "(" that no ")" to its right closes, a ")"
// left over at the end, or an open quote is reported.
template <class MatchAt>
BOOL SplitAtOperator(LPCSTR pszText, MatchAt matchAt, int& nCode, int& nNumber, CString& strLeft,
                     CString& strRight)
{
    CString strText;
    TrimQuery(pszText, strText);
    LPCSTR psz = strText;
    int nLen = strText.GetLength();
    int nLevel = 0;
    bool bQuote = false;
    for (int i = nLen - 1; i >= 0; --i) {
        char ch = psz[i];
        if (ch == '"') {
            bQuote = !bQuote;
            continue;
        }
        if (bQuote)
            continue;
        if (ch == ')') {
            ++nLevel;
            continue;
        }
        if (ch == '(') {
            if (--nLevel < 0) {
                ReportQueryError(QUERY_MSG_MISSING_RIGHT);
                return FALSE;
            }
            continue;
        }
        int nOpCode, nEnd;
        if (nLevel != 0 || !matchAt(psz, nLen, i, nOpCode, nEnd))
            continue;
        if (i == 0)
            return FALSE;  // an operator at the first character is part of a term
        nCode = nOpCode;
        nNumber = ReadNumber(psz, nEnd);
        CString strRest(psz + nEnd);
        TrimQuery(strText.Left(i), strLeft);
        TrimQuery(strRest, strRight);
        return TRUE;
    }
    if (nLevel > 0)
        ReportQueryError(QUERY_MSG_MISSING_LEFT);
    else if (bQuote)
        ReportQueryError(QUERY_MSG_MISSING_QUOTE);
    return FALSE;
}

// Adds the bytes of a text that a step looked at or printed to the work of the rewrite; past
// the limit the rewrite ends.
BOOL AddWork(const CString& strText)
{
    g_nWork += strText.GetLength() + 1;
    if (g_nWork <= QUERY_MAX_WORK)
        return TRUE;
    ReportQueryError(QUERY_MSG_TOO_COMPLEX);
    return FALSE;
}

// A rewritten text that has grown past the limit ends the rewrite.
CString CheckedForm(const CString& strForm)
{
    if (strForm.GetLength() > QUERY_MAX_FORM_LENGTH) {
        ReportQueryError(QUERY_MSG_TOO_COMPLEX);
        return CString();
    }
    return AddWork(strForm) ? strForm : CString();
}

// Counts one level of a phase's recursion; past QUERY_MAX_NESTING the query is too complex.
class CQueryNesting {
public:
    CQueryNesting() { ++g_nNesting; }
    ~CQueryNesting() { --g_nNesting; }
    CQueryNesting(const CQueryNesting&) = delete;
    CQueryNesting& operator=(const CQueryNesting&) = delete;

    BOOL Enter() const
    {
        if (g_bQueryStop)
            return FALSE;
        if (g_nNesting > QUERY_MAX_NESTING) {
            ReportQueryError(QUERY_MSG_TOO_COMPLEX);
            return FALSE;
        }
        return TRUE;
    }
};

// Splits at an operator word, else at an operator symbol.
BOOL SplitAtAnyOperator(LPCSTR pszText, int& nCode, int& nNumber, CString& strLeft,
                        CString& strRight)
{
    if (SplitAtOperatorWord(pszText, nCode, nNumber, strLeft, strRight))
        return TRUE;
    return !g_bQueryStop && SplitAtSymbolOperator(pszText, nCode, nNumber, strLeft, strRight);
}

typedef BOOL (*SPLITTER)(LPCSTR, int&, int&, CString&, CString&);
typedef CString (*SCOPE_STEP)(int, int, LPCSTR);
typedef CString (*OPERATOR_STEP)(int, int, LPCSTR, LPCSTR);

CString PrintScopeForm(int nScope, int nNumber, LPCSTR pszBody)
{
    CString strForm;
    strForm.Format("%s%d](%s)", ScopePrefix(nScope), nNumber, pszBody);
    return strForm;
}

// One phase, recursive over the operator tree: a scope form is rebuilt by scopeStep from its
// rewritten body, a split text by operatorStep from its rewritten sides; any other text is a term
// and stays. An empty result with the stop flag set means the rewrite has ended.
CString RewritePhase(const CString& strText, SPLITTER split, SCOPE_STEP scopeStep,
                     OPERATOR_STEP operatorStep)
{
    CQueryNesting nesting;
    if (!nesting.Enter())
        return CString();
    CString strTrimmed;
    TrimQuery(strText, strTrimmed);
    if (!AddWork(strTrimmed))
        return CString();
    int nScope, nNumber;
    CString strBody;
    if (MatchScopePrefix(strTrimmed, nScope, nNumber, strBody)) {
        CString strNewBody = RewritePhase(strBody, split, scopeStep, operatorStep);
        if (g_bQueryStop)
            return CString();
        return CheckedForm(scopeStep(nScope, nNumber, strNewBody));
    }
    int nCode;
    CString strLeft, strRight;
    if (!split(strTrimmed, nCode, nNumber, strLeft, strRight))
        return g_bQueryStop ? CString() : strTrimmed;
    CString strNewLeft = RewritePhase(strLeft, split, scopeStep, operatorStep);
    if (g_bQueryStop)
        return CString();
    CString strNewRight = RewritePhase(strRight, split, scopeStep, operatorStep);
    if (g_bQueryStop)
        return CString();
    return CheckedForm(operatorStep(nCode, nNumber, strNewLeft, strNewRight));
}

// Phase 1: the surface operators become "&", "|" and the switch with scope forms.
CString NormalizeOperators(const CString& strText)
{
    return RewritePhase(strText, SplitAtAnyOperator, PrintScopeForm, BuildBracketForm);
}

// Phase 2: scopes and negations move into the operands; "&" distributes over "|".
CString DistributeScopes(const CString& strText)
{
    return RewritePhase(strText, SplitAtSymbolOperator, ApplyScopePrefix, CombineOperands);
}

// Phase 3: each operator merges with the scope form on its right.
CString CompactOperators(const CString& strText)
{
    return RewritePhase(strText, SplitAtSymbolOperator, PrintScopeForm, JoinOperands);
}

// Runs a phase again and again until the text stops changing. Every pass adds to the work of
// the rewrite, so the passes end, at the latest, at the work limit.
BOOL RepeatPhase(CString& strForm, CString (*pfnPhase)(const CString&))
{
    for (;;) {
        CString strNext = pfnPhase(strForm);
        if (g_bQueryStop)
            return FALSE;
        if (strNext == strForm)
            return TRUE;
        strForm = strNext;
    }
}

}  // namespace

void TrimQuery(LPCSTR pszText, CString& strOut)
{
    LPCSTR psz = pszText != NULL ? pszText : "";
    int nBegin = 0;
    int nEnd = static_cast<int>(strlen(psz));
    while (nBegin < nEnd && psz[nBegin] == ' ')
        ++nBegin;
    while (nEnd > nBegin && psz[nEnd - 1] == ' ')
        --nEnd;
    if (nEnd - nBegin >= 2 && psz[nBegin] == '(' && psz[nEnd - 1] == ')') {
        // The closing partner of every "(" (quoted text skipped), so that any depth of enclosing
        // parentheses comes off in one pass over the text.
        const int nBase = nBegin;
        std::vector<int> anClose(static_cast<size_t>(nEnd - nBase), -1);
        std::vector<int> anOpen;
        bool bQuote = false;
        for (int i = nBegin; i < nEnd; ++i) {
            char ch = psz[i];
            if (ch == '"') {
                bQuote = !bQuote;
            } else if (bQuote) {
                continue;
            } else if (ch == '(') {
                anOpen.push_back(i);
            } else if (ch == ')' && !anOpen.empty()) {
                anClose[static_cast<size_t>(anOpen.back() - nBase)] = i;
                anOpen.pop_back();
            }
        }
        while (nEnd - nBegin >= 2 && psz[nBegin] == '(' &&
               anClose[static_cast<size_t>(nBegin - nBase)] == nEnd - 1) {
            ++nBegin;
            --nEnd;
            while (nBegin < nEnd && psz[nBegin] == ' ')
                ++nBegin;
            while (nEnd > nBegin && psz[nEnd - 1] == ' ')
                --nEnd;
        }
    }
    strOut = CString(psz + nBegin, nEnd - nBegin);
}

BOOL MatchScopePrefix(LPCSTR pszText, int& nScope, int& nNumber, CString& strBody)
{
    CString strText;
    TrimQuery(pszText, strText);
    LPCSTR psz = strText;
    for (int k = 0; k < QUERY_SCOPE_COUNT; ++k) {
        LPCSTR pszPrefix = g_aszQueryScopePrefixes[k];
        if (psz[0] != pszPrefix[0] || psz[0] == '\0' || psz[1] != pszPrefix[1])
            continue;
        int nPos = 2;
        int nValue = ReadNumber(psz, nPos);
        int nBracket = strText.Find(']', nPos);
        if (nBracket < 0 || psz[nBracket + 1] != '(' ||
            !ClosesAt(psz, nBracket + 1, strText.GetLength() - 1))
            return FALSE;
        nScope = k;
        nNumber = nValue;
        CString strRest(psz + nBracket + 1);
        TrimQuery(strRest, strBody);
        return TRUE;
    }
    return FALSE;
}

BOOL SplitAtOperatorWord(LPCSTR pszText, int& nCode, int& nNumber, CString& strLeft,
                         CString& strRight)
{
    return SplitAtOperator(pszText, MatchOperatorWord, nCode, nNumber, strLeft, strRight);
}

BOOL SplitAtSymbolOperator(LPCSTR pszText, int& nCode, int& nNumber, CString& strLeft,
                           CString& strRight)
{
    return SplitAtOperator(pszText, MatchSymbol, nCode, nNumber, strLeft, strRight);
}

void ReportQueryError(LPCSTR pszText)
{
    if (!g_bQueryStop)
        ShowMessage(pszText);
    g_bQueryStop = TRUE;
}

BOOL IsQueryStopped()
{
    return g_bQueryStop;
}

void SetDefaultScope(int nScope)
{
    if (nScope >= QUERY_SCOPE_WORDS && nScope <= QUERY_SCOPE_ARTICLE)
        g_nDefaultScope = nScope;
}

int GetDefaultScope()
{
    return g_nDefaultScope;
}

CString FormatIllegalSwitch(char chSwitch)
{
    unsigned char ch = static_cast<unsigned char>(chSwitch);
    bool bPrintable = (ch >= 0x20 && ch < 0x7F) || ch >= 0xA0;
    CString strLetter(bPrintable ? chSwitch : ' ');
    strLetter.MakeLower();
    CString strMessage(QUERY_MSG_ILLEGAL_SWITCH);
    strMessage.SetAt(strMessage.Find('/') + 1, strLetter[0]);
    return strMessage;
}

CString BuildBracketForm(int nCode, int nNumber, LPCSTR pszLeft, LPCSTR pszRight)
{
    CString strForm;
    if (nCode >= QUERY_AND_SENTENCE && nCode <= QUERY_AND_ARTICLE)
        strForm.Format("%s %s %s%d](%s)", pszLeft, "&", ScopePrefix(s_anCodeScope[nCode]), nNumber,
                       pszRight);
    else if (nCode >= QUERY_NOT_SENTENCE && nCode <= QUERY_NOT_ARTICLE)
        strForm.Format("%s %s %s0](%s%d](%s))", pszLeft, "&", ScopePrefix(QUERY_SCOPE_NEGATION),
                       ScopePrefix(s_anCodeScope[nCode - QUERY_NOT_SENTENCE]), nNumber, pszRight);
    else if (nCode == QUERY_AND)
        strForm.Format("%s %s %s%d](%s)", pszLeft, "&", ScopePrefix(g_nDefaultScope), nNumber,
                       pszRight);
    else if (nCode == QUERY_NOT)
        strForm.Format("%s %s %s0](%s%d](%s))", pszLeft, "&", ScopePrefix(QUERY_SCOPE_NEGATION),
                       ScopePrefix(g_nDefaultScope), nNumber, pszRight);
    else
        strForm.Format("%s %s (%s)", pszLeft, Symbol(nCode), pszRight);
    return strForm;
}

CString ApplyScopePrefix(int nScope, int nNumber, LPCSTR pszBody)
{
    LPCSTR pszPrefix = ScopePrefix(nScope);
    CString strForm;
    int nCode, nInnerNumber;
    CString strFirst, strSecond;
    if (nScope == QUERY_SCOPE_NEGATION) {
        int nInnerScope;
        CString strInnerBody;
        if (MatchScopePrefix(pszBody, nInnerScope, nInnerNumber, strInnerBody) &&
            nInnerScope == QUERY_SCOPE_NEGATION)
            return strInnerBody;  // not (not x) is x
        if (SplitAtSymbolOperator(pszBody, nCode, nInnerNumber, strFirst, strSecond)) {
            // not (a & b) is (not a) | (not b); not (a | b) is (not a) & (not b).
            strForm.Format("%s%d](%s)%s %s%d](%s)", pszPrefix, nNumber, (LPCSTR)strFirst,
                           nCode == QUERY_AND ? "|" : "&", pszPrefix, nNumber, (LPCSTR)strSecond);
            return strForm;
        }
    } else if (SplitAtSymbolOperator(pszBody, nCode, nInnerNumber, strFirst, strSecond)) {
        // The scope moves into both operands; the inner operator's own number is not carried.
        strForm.Format("%s%d](%s)%s %s%d](%s)", pszPrefix, nNumber, (LPCSTR)strFirst, Symbol(nCode),
                       pszPrefix, nNumber, (LPCSTR)strSecond);
        return strForm;
    }
    return PrintScopeForm(nScope, nNumber, pszBody);
}

CString CombineOperands(int nCode, int nNumber, LPCSTR pszLeft, LPCSTR pszRight)
{
    CString strForm;
    if (nCode != QUERY_AND && nCode != QUERY_OR) {
        if (nCode == QUERY_SWITCH)
            strForm.Format("%s%s(%s)", pszLeft, Symbol(nCode), pszRight);
        else
            strForm.Format("%s%s%d(%s)", pszLeft, Symbol(nCode), nNumber, pszRight);
        return strForm;
    }
    int nLeftCode = -1, nRightCode = -1, nLeftNumber = 0, nRightNumber = 0;
    CString strL1, strL2, strR1, strR2;
    if (!SplitAtSymbolOperator(pszLeft, nLeftCode, nLeftNumber, strL1, strL2))
        nLeftCode = -1;
    if (!SplitAtSymbolOperator(pszRight, nRightCode, nRightNumber, strR1, strR2))
        nRightCode = -1;
    if (nCode == QUERY_AND) {
        if (nLeftCode == QUERY_OR)  // (a | b) & c is (a & c) | (b & c)
            strForm.Format("(%s%s%d(%s))%s(%s%s%d(%s))", (LPCSTR)strL1, "&", nNumber, pszRight,
                           "|", (LPCSTR)strL2, "&", nNumber, pszRight);
        else if (nRightCode == QUERY_OR)  // a & (b | c) is (a & b) | (a & c)
            strForm.Format("(%s%s%d(%s))%s(%s%s%d(%s))", pszLeft, "&", nNumber, (LPCSTR)strR1,
                           "|", pszLeft, "&", nNumber, (LPCSTR)strR2);
        else if (nRightCode == QUERY_AND)
            strForm.Format("%s%s%d(%s)%s%d(%s)", pszLeft, "&", nNumber, (LPCSTR)strR1, "&",
                           nRightNumber, (LPCSTR)strR2);
        else if (nLeftCode == QUERY_AND)
            strForm.Format("%s%s%d(%s)%s%d(%s)", (LPCSTR)strL1, "&", nLeftNumber, (LPCSTR)strL2,
                           "&", nNumber, pszRight);
        else
            strForm.Format("%s%s%d(%s)", pszLeft, "&", nNumber, pszRight);
    } else {
        if (nRightCode == QUERY_OR)
            strForm.Format("%s%s(%s)%s(%s)", pszLeft, "|", (LPCSTR)strR1, "|", (LPCSTR)strR2);
        else if (nLeftCode == QUERY_OR)
            strForm.Format("%s%s(%s)%s(%s)", (LPCSTR)strL1, "|", (LPCSTR)strL2, "|", pszRight);
        else
            strForm.Format("%s%s(%s)", pszLeft, "|", pszRight);
    }
    return strForm;
}

CString JoinOperands(int nCode, int nNumber, LPCSTR pszLeft, LPCSTR pszRight)
{
    CString strForm;
    int nScope, nScopeNumber;
    CString strBody;
    if ((IsAndCode(nCode) || IsNotCode(nCode)) &&
        MatchScopePrefix(pszRight, nScope, nScopeNumber, strBody)) {
        int nMerged = IsAndCode(nCode) ? s_anAndWithScope[nScope] : s_anNotWithScope[nScope];
        strForm.Format("%s%s%d(%s)", pszLeft, Symbol(nMerged), nScopeNumber, (LPCSTR)strBody);
    } else if (nCode == QUERY_OR || nCode == QUERY_SWITCH) {
        strForm.Format("%s%s(%s)", pszLeft, Symbol(nCode), pszRight);
    } else {
        strForm.Format("%s%s%d(%s)", pszLeft, Symbol(nCode), nNumber, pszRight);
    }
    return strForm;
}

BOOL RewriteQuery(LPCSTR pszQuery, CString& strOut)
{
    g_bQueryStop = FALSE;
    g_nNesting = 0;
    g_nWork = 0;
    strOut.Empty();
    CString strQuery(pszQuery);
    if (strQuery.GetLength() > QUERY_MAX_FORM_LENGTH) {
        ReportQueryError(QUERY_MSG_TOO_LONG);
        return FALSE;
    }
    strQuery.MakeUpper();
    CString strForm;
    TrimQuery(strQuery, strForm);
    strForm = NormalizeOperators(strForm);
    if (g_bQueryStop)
        return FALSE;
    if (!RepeatPhase(strForm, DistributeScopes) || !RepeatPhase(strForm, CompactOperators))
        return FALSE;
    g_bQueryStop = TRUE;
    strOut = strForm;
    return TRUE;
}
