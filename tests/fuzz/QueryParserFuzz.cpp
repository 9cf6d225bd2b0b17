// Feeds arbitrary queries to the query parser under AddressSanitizer and UBSan. The first byte
// chooses the default scope; the rest is the query (a NUL ends it, as it ends any C string).
// Besides crashes, leaks and hangs, the run stops on a broken promise of the parser:
// - an accepted query shows no message, a rejected one exactly one of the parser's messages;
// - an operator form stays within the limit, has balanced parentheses and quotation marks,
//   and splits down to terms as the evaluator splits it;
// - the same query gives the same form again.
// The splitters, the steps, TrimQuery, MatchScopePrefix and FormatIllegalSwitch also get the raw
// bytes (0xEC and 0xED included, which the rewrite never passes on).
#include "search/QueryParser.h"
#include "base/ShowMessage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int g_nShown = 0;

[[noreturn]] void Fail(const char* pszWhat, const std::string& strQuery)
{
    fprintf(stderr, "query parser fuzz: %s\nquery (%zu bytes): %s\n", pszWhat, strQuery.size(),
            strQuery.c_str());
    abort();
}

bool IsParserMessage(LPCSTR pszText)
{
    for (LPCSTR psz : {QUERY_MSG_MISSING_LEFT, QUERY_MSG_MISSING_RIGHT, QUERY_MSG_MISSING_QUOTE,
                       QUERY_MSG_TOO_LONG, QUERY_MSG_TOO_COMPLEX})
        if (strcmp(psz, pszText) == 0)
            return true;
    return false;
}

bool IsBalanced(const CString& strForm)
{
    int nLevel = 0;
    bool bQuote = false;
    for (int i = 0; i < strForm.GetLength(); ++i) {
        char ch = strForm[i];
        if (ch == '"')
            bQuote = !bQuote;
        else if (!bQuote && ch == '(')
            ++nLevel;
        else if (!bQuote && ch == ')' && --nLevel < 0)
            return false;
    }
    return nLevel == 0 && !bQuote;
}

// Splits the form as the evaluator does; the number of terms, or -1 past the depth limit.
int CountTerms(const CString& strForm, int nDepth)
{
    if (nDepth > 4 * QUERY_MAX_NESTING)
        return -1;
    int nCode, nNumber;
    CString strLeft, strRight;
    if (!SplitAtSymbolOperator(strForm, nCode, nNumber, strLeft, strRight))
        return 1;
    if (nCode < 0 || nCode >= QUERY_SYMBOL_COUNT || nNumber < 0 || nNumber > 255)
        return -1;
    int nLeft = CountTerms(strLeft, nDepth + 1);
    int nRight = CountTerms(strRight, nDepth + 1);
    return nLeft < 0 || nRight < 0 ? -1 : nLeft + nRight;
}

}  // namespace

void ShowMessage(LPCSTR pszText)
{
    if (pszText == NULL || !IsParserMessage(pszText))
        Fail("unknown message", pszText != NULL ? pszText : "(null)");
    ++g_nShown;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize == 0)
        return 0;
    SetDefaultScope(1 + pData[0] % 5);
    std::string strQuery(reinterpret_cast<const char*>(pData + 1), nSize - 1);
    LPCSTR pszQuery = strQuery.c_str();

    g_nShown = 0;
    CString strForm;
    BOOL bOk = RewriteQuery(pszQuery, strForm);
    if (!IsQueryStopped())
        Fail("stop flag clear after a rewrite", strQuery);
    if (bOk) {
        if (g_nShown != 0)
            Fail("accepted query showed a message", strQuery);
        if (strForm.GetLength() > QUERY_MAX_FORM_LENGTH)
            Fail("form over the limit", strQuery);
        if (!IsBalanced(strForm))
            Fail("unbalanced form", strQuery);
        if (CountTerms(strForm, 0) < 0)
            Fail("form does not split down to terms", strQuery);
        CString strAgain;
        if (!RewriteQuery(pszQuery, strAgain) || strAgain != strForm)
            Fail("second rewrite differs", strQuery);
    } else {
        if (g_nShown != 1)
            Fail("rejected query did not show exactly one message", strQuery);
        if (!strForm.IsEmpty())
            Fail("rejected query left a form", strQuery);
    }

    // The pieces on the raw bytes; the stop flag is set, so nothing is shown.
    g_nShown = 0;
    int nCode, nNumber, nScope;
    CString strLeft, strRight, strBody, strTrimmed;
    if (SplitAtOperatorWord(pszQuery, nCode, nNumber, strLeft, strRight) &&
        (nCode < 0 || nCode > QUERY_SWITCH || nNumber < 0 || nNumber > 255 ||
         strLeft.GetLength() + strRight.GetLength() >= static_cast<int>(strlen(pszQuery))))
        Fail("bad operator word split", strQuery);
    if (SplitAtSymbolOperator(pszQuery, nCode, nNumber, strLeft, strRight)) {
        // An empty symbol (at 0xEC) takes no character: the right side begins with the 0xEC.
        int nTaken = nCode >= QUERY_NO_OPERATOR ? 0 : 1;
        if (nCode < 0 || nCode >= QUERY_SYMBOL_COUNT || nNumber < 0 || nNumber > 255 ||
            strLeft.GetLength() + strRight.GetLength() + nTaken >
                static_cast<int>(strlen(pszQuery)))
            Fail("bad symbol split", strQuery);
        CombineOperands(nCode, nNumber, strLeft, strRight);
        JoinOperands(nCode, nNumber, strLeft, strRight);
        BuildBracketForm(nCode, nNumber, strLeft, strRight);
    }
    CString strSwitch = FormatIllegalSwitch(pszQuery[0]);
    if (strSwitch.GetLength() != static_cast<int>(strlen(QUERY_MSG_ILLEGAL_SWITCH)))
        Fail("illegal-switch message of another length", strQuery);
    TrimQuery(pszQuery, strTrimmed);
    if (strTrimmed.GetLength() > static_cast<int>(strlen(pszQuery)))
        Fail("trim grew the text", strQuery);
    if (MatchScopePrefix(pszQuery, nScope, nNumber, strBody)) {
        if (nScope < 0 || nScope >= QUERY_SCOPE_COUNT)
            Fail("bad scope", strQuery);
        ApplyScopePrefix(nScope, nNumber, strBody);
    }
    if (g_nShown != 0)
        Fail("a piece showed a message with the stop flag set", strQuery);
    return 0;
}
