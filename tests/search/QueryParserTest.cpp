// The query parser: the rewrite of queries into the operator form, the splitters, the single
// rewrite steps, the messages of malformed queries and the limits of a rewrite.
#include "search/QueryParser.h"

#include <UiTest.h>

#include <string>
#include <vector>

namespace {

// Messages come up as scripted message boxes: a box that a case does not expect fails it.
class QueryParserTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        SetDefaultScope(QUERY_SCOPE_SENTENCE);
    }
    void TearDown() override
    {
        SetDefaultScope(QUERY_SCOPE_SENTENCE);
        ui::UiTest::TearDown();
    }

    static std::vector<std::string> ShownMessages()
    {
        std::vector<std::string> texts;
        for (const host::MessageBoxRecord& box : host::MessageBoxLog())
            texts.push_back(box.text);
        return texts;
    }

    // The operator form of a query that must be accepted without a message.
    static std::string Rewrite(const char* pszQuery)
    {
        CString strForm;
        EXPECT_TRUE(RewriteQuery(pszQuery, strForm)) << pszQuery;
        EXPECT_TRUE(IsQueryStopped());
        return std::string(strForm);
    }

    // The one message that a rejected query shows.
    // The box is a plain OK box.
    static std::string Rejection(const char* pszQuery)
    {
        host::ResetUiScript();
        host::AnswerNextMessageBox(IDOK);
        CString strForm("untouched");
        EXPECT_FALSE(RewriteQuery(pszQuery, strForm)) << pszQuery;
        EXPECT_TRUE(strForm.IsEmpty());
        EXPECT_TRUE(IsQueryStopped());
        std::vector<host::MessageBoxRecord> boxes = host::MessageBoxLog();
        EXPECT_EQ(1u, boxes.size()) << pszQuery;
        if (boxes.empty())
            return std::string();
        EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.front().type);
        EXPECT_TRUE(boxes.front().answered);
        return boxes.front().text;
    }
};

struct RewriteCase {
    const char* pszQuery;
    const char* pszForm;
};

TEST_F(QueryParserTest, RewritesQueriesIntoTheOperatorForm)
{
    const RewriteCase cases[] = {
        // The worked examples.
        {"CAT and DOG", "CAT&s0(DOG)"},
        {"CAT without DOG", "CAT!s0(DOG)"},
        {"(CAT or DOG) and BIRD", "CAT&s0(BIRD)|(DOG&s0(BIRD))"},
        {"CAT /t", "CAT\xED(T)"},
        // Operators of equal rank associate to the left.
        {"a and b or c", "A&s0(B)|(C)"},
        {"a or b and c", "A&s0(C)|(B&s0(C))"},
        {"a and b and c", "A&s0(B)&s0(C)"},
        {"a or b or c", "A|(B)|(C)"},
        {"a and (b and c)", "A&s0(B)&s0(C)"},
        {"a or (b or c)", "A|(B)|(C)"},
        // Every spelling of and, with each scope and a number.
        {"cat andw3 dog", "CAT&w3(DOG)"},
        {"cat nearw dog", "CAT&w0(DOG)"},
        {"cat &w12 dog", "CAT&w12(DOG)"},
        {"cat ands dog", "CAT&s0(DOG)"},
        {"cat nears2 dog", "CAT&s2(DOG)"},
        {"cat &s dog", "CAT&s0(DOG)"},
        {"cat andp dog", "CAT&p0(DOG)"},
        {"cat nearp4 dog", "CAT&p4(DOG)"},
        {"cat &p dog", "CAT&p0(DOG)"},
        {"cat andh dog", "CAT&h0(DOG)"},
        {"cat nearh dog", "CAT&h0(DOG)"},
        {"cat &h1 dog", "CAT&h1(DOG)"},
        {"cat anda dog", "CAT&a0(DOG)"},
        {"cat neara dog", "CAT&a0(DOG)"},
        {"cat &a dog", "CAT&a0(DOG)"},
        {"cat and dog", "CAT&s0(DOG)"},
        {"cat near dog", "CAT&s0(DOG)"},
        {"cat & dog", "CAT&s0(DOG)"},
        {"cat and5 dog", "CAT&s5(DOG)"},
        {"cat near300 dog", "CAT&s44(DOG)"},
        {"cat AnD dog", "CAT&s0(DOG)"},
        // Every spelling of without.
        {"cat withoutw4 dog", "CAT!w4(DOG)"},
        {"cat notw dog", "CAT!w0(DOG)"},
        {"cat !w2 dog", "CAT!w2(DOG)"},
        {"cat withouts dog", "CAT!s0(DOG)"},
        {"cat nots dog", "CAT!s0(DOG)"},
        {"cat !s dog", "CAT!s0(DOG)"},
        {"cat withoutp dog", "CAT!p0(DOG)"},
        {"cat notp dog", "CAT!p0(DOG)"},
        {"cat !p3 dog", "CAT!p3(DOG)"},
        {"cat withouth dog", "CAT!h0(DOG)"},
        {"cat noth1 dog", "CAT!h1(DOG)"},
        {"cat !h dog", "CAT!h0(DOG)"},
        {"cat withouta dog", "CAT!a0(DOG)"},
        {"cat nota dog", "CAT!a0(DOG)"},
        {"cat !a dog", "CAT!a0(DOG)"},
        {"cat not dog", "CAT!s0(DOG)"},
        {"cat ! dog", "CAT!s0(DOG)"},
        {"cat without2 dog", "CAT!s2(DOG)"},
        // Or.
        {"cat or dog", "CAT|(DOG)"},
        {"cat | dog", "CAT|(DOG)"},
        {"cat or5 dog", "CAT|(DOG)"},
        // Symbols need no spaces; operator words do.
        {"cat&dog", "CAT&s0(DOG)"},
        {"cat|dog", "CAT|(DOG)"},
        {"cat!dog", "CAT!s0(DOG)"},
        {"cat &5dog", "CAT&s5(DOG)"},
        {"cat &wdog", "CAT&s0(WDOG)"},
        {"catand dog", "CATAND DOG"},
        {"cat and5dog", "CAT AND5DOG"},
        {"cat andrew", "CAT ANDREW"},
        {"cat orange", "CAT ORANGE"},
        // An operator at the first character, or at the end, is part of a term.
        {"NOT cat", "NOT CAT"},
        {"!cat", "!CAT"},
        {"cat and", "CAT AND"},
        {"cat &", "CAT&s0()"},
        // Distribution over or, and negation of groups (De Morgan).
        {"a and (b or c)", "A&s0(B)|(A&s0(C))"},
        {"(a or b) and (c or d)", "A&s0(C)|(A&s0(D))|(B&s0(C))|(B&s0(D))"},
        {"a not (b or c)", "A!s0(B)!s0(C)"},
        {"a not (b and c)", "A!s0(B)|(A!s0(C))"},
        {"a andw2 (b ands c)", "A&w2(B)&s0(C)"},
        {"a nearp (b or c)", "A&p0(B)|(A&p0(C))"},
        // Phrases, sentence groups and groups.
        {"\"cat and dog\"", "\"CAT AND DOG\""},
        {"\"cat and dog\" or bird", "\"CAT AND DOG\"|(BIRD)"},
        {"\"a (b\" and c", "\"A (B\"&s0(C)"},
        {"\"@cat dog\" and bird", "\"@CAT DOG\"&s0(BIRD)"},
        {"\"@cat dog\"", "\"@CAT DOG\""},
        {"((cat and dog))", "CAT&s0(DOG)"},
        {"  ( ( cat )  and  dog )  ", "CAT&s0(DOG)"},
        {"cat dog", "CAT DOG"},
        // Switches: a "/" after a space or ")"; the letter is judged by the evaluator.
        {"cat /d5", "CAT\xED(D5)"},
        {"cat and dog /t", "CAT&s0(DOG)\xED(T)"},
        {"(cat)/t", "CAT\xED(T)"},
        {"cat /x", "CAT\xED(X)"},
        {"cat/t", "CAT/T"},
        // Terms keep their other characters; letters are upper-cased on the Western code page,
        // so a typed 0xED is a letter, never the switch.
        {"caf\xE9 and th\xE9", "CAF\xC9&s0(TH\xC9)"},
        {"cat \xED dog", "CAT \xCD DOG"},
        {"u.s.a. and 3.5 and $10", "U.S.A.&s0(3.5)&s0($10)"},
        {"", ""},
        {"   ", ""},
        {"()", ""},
    };
    for (const RewriteCase& c : cases)
        EXPECT_EQ(c.pszForm, Rewrite(c.pszQuery)) << "query: " << c.pszQuery;
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(QueryParserTest, PlainOperatorsUseTheDefaultScope)
{
    const struct {
        int nScope;
        const char* pszAnd;
        const char* pszNot;
    } cases[] = {
        {QUERY_SCOPE_WORDS, "CAT&w8(DOG)", "CAT!w8(DOG)"},
        {QUERY_SCOPE_SENTENCE, "CAT&s8(DOG)", "CAT!s8(DOG)"},
        {QUERY_SCOPE_PARAGRAPH, "CAT&p8(DOG)", "CAT!p8(DOG)"},
        {QUERY_SCOPE_SECTION, "CAT&h8(DOG)", "CAT!h8(DOG)"},
        {QUERY_SCOPE_ARTICLE, "CAT&a8(DOG)", "CAT!a8(DOG)"},
    };
    for (const auto& c : cases) {
        SetDefaultScope(c.nScope);
        EXPECT_EQ(c.nScope, GetDefaultScope());
        EXPECT_EQ(c.pszAnd, Rewrite("cat and8 dog"));
        EXPECT_EQ(c.pszNot, Rewrite("cat not8 dog"));
        // Scoped operators ignore the default.
        EXPECT_EQ("CAT&s0(DOG)", Rewrite("cat ands dog"));
    }
    // Scope numbers outside 1-5 leave the default as it was.
    SetDefaultScope(QUERY_SCOPE_PARAGRAPH);
    SetDefaultScope(QUERY_SCOPE_NEGATION);
    SetDefaultScope(6);
    SetDefaultScope(-1);
    EXPECT_EQ(QUERY_SCOPE_PARAGRAPH, GetDefaultScope());
}

TEST_F(QueryParserTest, MalformedQueriesShowOneMessageAndGiveNoForm)
{
    const struct {
        const char* pszQuery;
        const char* pszMessage;
    } cases[] = {
        {"(cat", "Missing right parenthesis"},
        {"cat)", "Missing left parenthesis"},
        {"\"cat", "Missing quotation mark"},
        {"cat and \"dog", "Missing quotation mark"},
        {"(cat and dog", "Missing right parenthesis"},
        {"cat and dog)", "Missing left parenthesis"},
        {"((cat) and dog", "Missing right parenthesis"},
        {"cat and (dog or (bird and fish)", "Missing right parenthesis"},
        {"cat) and (dog", "Missing right parenthesis"},
        {"(a and (b", "Missing right parenthesis"},
        {"a) or b) and c", "Missing left parenthesis"},
        {"\"(cat", "Missing right parenthesis"},
        {"cat /t and \"dog", "Missing quotation mark"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pszMessage, Rejection(c.pszQuery)) << "query: " << c.pszQuery;
}

TEST_F(QueryParserTest, StopFlagSilencesSplittingAfterARewrite)
{
    CString strForm, strLeft, strRight;
    int nCode = -1, nNumber = -1;
    ASSERT_TRUE(RewriteQuery("cat and dog", strForm));
    EXPECT_TRUE(IsQueryStopped());
    // Splitting a broken text later (the evaluator, the spelling check) fails quietly.
    EXPECT_FALSE(SplitAtOperatorWord("cat and (dog", nCode, nNumber, strLeft, strRight));
    EXPECT_FALSE(SplitAtSymbolOperator("A&(B", nCode, nNumber, strLeft, strRight));
    ReportQueryError("never shown");
    EXPECT_TRUE(ShownMessages().empty());
    // A failed rewrite leaves the flag set too, and the next rewrite reports again.
    EXPECT_EQ("Missing right parenthesis", Rejection("(cat"));
    EXPECT_FALSE(SplitAtOperatorWord("(cat", nCode, nNumber, strLeft, strRight));
    EXPECT_EQ(1u, ShownMessages().size());
    EXPECT_EQ("Missing left parenthesis", Rejection("cat)"));
}

struct SplitCase {
    const char* pszText;
    BOOL bSplit;
    int nCode;
    int nNumber;
    const char* pszLeft;
    const char* pszRight;
};

void ExpectSplits(BOOL (*pfnSplit)(LPCSTR, int&, int&, CString&, CString&),
                  const std::vector<SplitCase>& cases)
{
    for (const SplitCase& c : cases) {
        int nCode = -1, nNumber = -1;
        CString strLeft("-"), strRight("-");
        EXPECT_EQ(c.bSplit, pfnSplit(c.pszText, nCode, nNumber, strLeft, strRight))
            << "text: " << c.pszText;
        if (!c.bSplit)
            continue;
        EXPECT_EQ(c.nCode, nCode) << "text: " << c.pszText;
        EXPECT_EQ(c.nNumber, nNumber) << "text: " << c.pszText;
        EXPECT_STREQ(c.pszLeft, strLeft) << "text: " << c.pszText;
        EXPECT_STREQ(c.pszRight, strRight) << "text: " << c.pszText;
    }
}

TEST_F(QueryParserTest, SplitAtOperatorWordFindsTheRightmostTopLevelWord)
{
    ExpectSplits(SplitAtOperatorWord, {
        {"cat and dog", TRUE, QUERY_AND, 0, "cat", "dog"},
        {"  cat   AND   dog  ", TRUE, QUERY_AND, 0, "cat", "dog"},
        {"cat andw3 dog", TRUE, QUERY_AND_WORDS, 3, "cat", "dog"},
        {"cat near300 dog", TRUE, QUERY_AND, 44, "cat", "dog"},
        {"cat near99999999999999999999 dog", TRUE, QUERY_AND, 255, "cat", "dog"},
        {"a or b and c", TRUE, QUERY_AND, 0, "a or b", "c"},
        {"a and b or c", TRUE, QUERY_OR, 0, "a and b", "c"},
        {"cat and (dog or bird)", TRUE, QUERY_AND, 0, "cat", "dog or bird"},
        {"(cat or dog) nota bird", TRUE, QUERY_NOT_ARTICLE, 0, "cat or dog", "bird"},
        {"((cat and dog))", TRUE, QUERY_AND, 0, "cat", "dog"},
        {"(a)or (b)", TRUE, QUERY_OR, 0, "a", "b"},
        {"(a)or(b)", FALSE, 0, 0, "", ""},
        {"cat withouth7 dog", TRUE, QUERY_NOT_SECTION, 7, "cat", "dog"},
        {"cat&dog", TRUE, QUERY_AND, 0, "cat", "dog"},
        {"cat &wdog", TRUE, QUERY_AND, 0, "cat", "wdog"},
        {"cat &w dog", TRUE, QUERY_AND_WORDS, 0, "cat", "dog"},
        {"cat!pdog", TRUE, QUERY_NOT, 0, "cat", "pdog"},
        {"cat|dog", TRUE, QUERY_OR, 0, "cat", "dog"},
        {"cat &", FALSE, 0, 0, "", ""},
        {"cat &5", TRUE, QUERY_AND, 5, "cat", ""},
        {"cat /t", TRUE, QUERY_SWITCH, 0, "cat", "t"},
        {"cat /d12", TRUE, QUERY_SWITCH, 0, "cat", "d12"},
        {"(cat)/t", TRUE, QUERY_SWITCH, 0, "cat", "t"},
        {"cat/t", FALSE, 0, 0, "", ""},
        {"catand dog", FALSE, 0, 0, "", ""},
        {"NOT cat", FALSE, 0, 0, "", ""},
        {"! cat", FALSE, 0, 0, "", ""},
        {"cat and", FALSE, 0, 0, "", ""},
        {"cat", FALSE, 0, 0, "", ""},
        {"", FALSE, 0, 0, "", ""},
        {"a \"b and c\"", FALSE, 0, 0, "", ""},
        {"\"a or b\" and \"c or d\"", TRUE, QUERY_AND, 0, "\"a or b\"", "\"c or d\""},
        {"a (b and c)", FALSE, 0, 0, "", ""},
    });
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(QueryParserTest, SplitAtSymbolOperatorFindsTheRightmostTopLevelSymbol)
{
    ExpectSplits(SplitAtSymbolOperator, {
        {"CAT&s0(DOG)", TRUE, QUERY_AND_SENTENCE, 0, "CAT", "DOG"},
        {"A&p1(B)", TRUE, QUERY_AND_PARAGRAPH, 1, "A", "B"},
        {"A&w12(B)", TRUE, QUERY_AND_WORDS, 12, "A", "B"},
        {"A&h0(B)", TRUE, QUERY_AND_SECTION, 0, "A", "B"},
        {"A&a0(B)", TRUE, QUERY_AND_ARTICLE, 0, "A", "B"},
        {"A!s0(B)", TRUE, QUERY_NOT_SENTENCE, 0, "A", "B"},
        {"A!p0(B)", TRUE, QUERY_NOT_PARAGRAPH, 0, "A", "B"},
        {"A!w300(B)", TRUE, QUERY_NOT_WORDS, 44, "A", "B"},
        {"A!h0(B)", TRUE, QUERY_NOT_SECTION, 0, "A", "B"},
        {"A!a0(B)", TRUE, QUERY_NOT_ARTICLE, 0, "A", "B"},
        {"A&0(s[0](B))", TRUE, QUERY_AND, 0, "A", "s[0](B)"},
        {"A!0(s[0](B))", TRUE, QUERY_NOT, 0, "A", "s[0](B)"},
        {"A & s[0](B)", TRUE, QUERY_AND, 0, "A", "s[0](B)"},
        {"A&s0(B)|(C)", TRUE, QUERY_OR, 0, "A&s0(B)", "C"},
        {"A&s0(B)&w2(C)", TRUE, QUERY_AND_WORDS, 2, "A&s0(B)", "C"},
        {"CAT\xED(T)", TRUE, QUERY_SWITCH, 0, "CAT", "T"},
        // 0xEC is an operator character without a symbol: an empty symbol takes it.
        {"A\xEC" "B", TRUE, QUERY_NO_OPERATOR, 0, "A", "\xEC" "B"},
        {"A&S(B)", TRUE, QUERY_AND, 0, "A", "S(B)"},
        {"!A", FALSE, 0, 0, "", ""},
        {"(A&B)", TRUE, QUERY_AND, 0, "A", "B"},
        {"\"A&B\"", FALSE, 0, 0, "", ""},
        {"s[0](A&s0(B))", FALSE, 0, 0, "", ""},
        {"CAT", FALSE, 0, 0, "", ""},
    });
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(QueryParserTest, SplittersRefuseUnbalancedText)
{
    // Outside a rewrite the stop flag is set, so they refuse without a message.
    CString strForm;
    RewriteQuery("cat", strForm);
    for (const char* pszText : {"cat and (dog", "a and b))", "a and \"b", "A&(B", "A)&B)", "A&\"B"}) {
        for (auto pfnSplit : {SplitAtOperatorWord, SplitAtSymbolOperator}) {
            int nCode, nNumber;
            CString strLeft, strRight;
            EXPECT_FALSE(pfnSplit(pszText, nCode, nNumber, strLeft, strRight)) << pszText;
        }
    }
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(QueryParserTest, TrimQueryDropsSpacesAndEnclosingParentheses)
{
    const struct {
        const char* pszText;
        const char* pszTrimmed;
    } cases[] = {
        {"  cat  ", "cat"},
        {"(cat)", "cat"},
        {" ( ( cat ) ) ", "cat"},
        {"((a) (b))", "(a) (b)"},
        {"(a) (b)", "(a) (b)"},
        {"(a", "(a"},
        {"a)", "a)"},
        {"(a))", "(a))"},
        {"(\")\")", "\")\""},
        {"(\"(\"", "(\"(\""},
        {"()", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        CString strOut("-");
        TrimQuery(c.pszText, strOut);
        EXPECT_STREQ(c.pszTrimmed, strOut) << "text: " << c.pszText;
    }
    CString strSame(" (x) ");
    TrimQuery(strSame, strSame);
    EXPECT_STREQ("x", strSame);
    // Any depth of enclosing parentheses comes off.
    std::string strDeep = std::string(20000, '(') + "cat" + std::string(20000, ')');
    CString strOut;
    TrimQuery(strDeep.c_str(), strOut);
    EXPECT_STREQ("cat", strOut);
}

TEST_F(QueryParserTest, MatchScopePrefixRecognisesWholeScopeForms)
{
    const struct {
        const char* pszText;
        BOOL bMatch;
        int nScope;
        int nNumber;
        const char* pszBody;
    } cases[] = {
        {"n[0](s[0](DOG))", TRUE, QUERY_SCOPE_NEGATION, 0, "s[0](DOG)"},
        {"w[3](A)", TRUE, QUERY_SCOPE_WORDS, 3, "A"},
        {"s[0](DOG)", TRUE, QUERY_SCOPE_SENTENCE, 0, "DOG"},
        {"p[12]( A B )", TRUE, QUERY_SCOPE_PARAGRAPH, 12, "A B"},
        {"h[0]((A))", TRUE, QUERY_SCOPE_SECTION, 0, "A"},
        {"  (a[1](A&s0(B)))  ", TRUE, QUERY_SCOPE_ARTICLE, 1, "A&s0(B)"},
        {"s[0]()", TRUE, QUERY_SCOPE_SENTENCE, 0, ""},
        {"s[0](\")\")", TRUE, QUERY_SCOPE_SENTENCE, 0, "\")\""},
        {"s[0](A)| s[0](B)", FALSE, 0, 0, ""},
        {"s[0](A", FALSE, 0, 0, ""},
        {"s[0]A", FALSE, 0, 0, ""},
        {"s[0", FALSE, 0, 0, ""},
        {"S[0](A)", FALSE, 0, 0, ""},
        {"x[0](A)", FALSE, 0, 0, ""},
        {"s", FALSE, 0, 0, ""},
        {"", FALSE, 0, 0, ""},
    };
    for (const auto& c : cases) {
        int nScope = -1, nNumber = -1;
        CString strBody("-");
        EXPECT_EQ(c.bMatch, MatchScopePrefix(c.pszText, nScope, nNumber, strBody))
            << "text: " << c.pszText;
        if (!c.bMatch)
            continue;
        EXPECT_EQ(c.nScope, nScope) << "text: " << c.pszText;
        EXPECT_EQ(c.nNumber, nNumber) << "text: " << c.pszText;
        EXPECT_STREQ(c.pszBody, strBody) << "text: " << c.pszText;
    }
}

TEST_F(QueryParserTest, BuildBracketFormPrintsEachOperator)
{
    SetDefaultScope(QUERY_SCOPE_PARAGRAPH);
    const struct {
        int nCode;
        const char* pszForm;
    } cases[] = {
        {QUERY_AND_SENTENCE, "L & s[5](R)"},
        {QUERY_AND_PARAGRAPH, "L & p[5](R)"},
        {QUERY_AND_WORDS, "L & w[5](R)"},
        {QUERY_AND_SECTION, "L & h[5](R)"},
        {QUERY_AND_ARTICLE, "L & a[5](R)"},
        {QUERY_NOT_SENTENCE, "L & n[0](s[5](R))"},
        {QUERY_NOT_PARAGRAPH, "L & n[0](p[5](R))"},
        {QUERY_NOT_WORDS, "L & n[0](w[5](R))"},
        {QUERY_NOT_SECTION, "L & n[0](h[5](R))"},
        {QUERY_NOT_ARTICLE, "L & n[0](a[5](R))"},
        {QUERY_AND, "L & p[5](R)"},
        {QUERY_NOT, "L & n[0](p[5](R))"},
        {QUERY_OR, "L | (R)"},
        {QUERY_SWITCH, "L \xED (R)"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.pszForm, BuildBracketForm(c.nCode, 5, "L", "R")) << "code " << c.nCode;
}

TEST_F(QueryParserTest, ApplyScopePrefixMovesScopesAndNegationsInward)
{
    const struct {
        int nScope;
        int nNumber;
        const char* pszBody;
        const char* pszForm;
    } cases[] = {
        // Double negation collapses.
        {QUERY_SCOPE_NEGATION, 0, "n[0](CAT)", "CAT"},
        {QUERY_SCOPE_NEGATION, 0, "n[0](A&0(B))", "A&0(B)"},
        // De Morgan.
        {QUERY_SCOPE_NEGATION, 0, "A&0(B)", "n[0](A)| n[0](B)"},
        {QUERY_SCOPE_NEGATION, 0, "A|(B)", "n[0](A)& n[0](B)"},
        {QUERY_SCOPE_NEGATION, 0, "A\xED(T)", "n[0](A)& n[0](T)"},
        {QUERY_SCOPE_NEGATION, 0, "s[0](A)", "n[0](s[0](A))"},
        {QUERY_SCOPE_NEGATION, 0, "CAT", "n[0](CAT)"},
        // A scope goes into both operands without the inner number.
        {QUERY_SCOPE_WORDS, 3, "A&0(B)", "w[3](A)& w[3](B)"},
        {QUERY_SCOPE_SENTENCE, 0, "A|(B)", "s[0](A)| s[0](B)"},
        {QUERY_SCOPE_PARAGRAPH, 2, "A&w7(B)", "p[2](A)&w p[2](B)"},
        {QUERY_SCOPE_SECTION, 1, "A\xED(T)", "h[1](A)\xED h[1](T)"},
        {QUERY_SCOPE_ARTICLE, 0, "CAT", "a[0](CAT)"},
        {QUERY_SCOPE_SENTENCE, 0, "n[0](A)", "s[0](n[0](A))"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.pszForm, ApplyScopePrefix(c.nScope, c.nNumber, c.pszBody))
            << "body: " << c.pszBody;
}

TEST_F(QueryParserTest, CombineOperandsDistributesAndFlattens)
{
    const struct {
        int nCode;
        int nNumber;
        const char* pszLeft;
        const char* pszRight;
        const char* pszForm;
    } cases[] = {
        {QUERY_AND, 1, "A|(B)", "C", "(A&1(C))|(B&1(C))"},
        {QUERY_AND, 1, "A", "B|(C)", "(A&1(B))|(A&1(C))"},
        {QUERY_AND, 1, "A|(B)", "C|(D)", "(A&1(C|(D)))|(B&1(C|(D)))"},
        {QUERY_AND, 1, "A", "B&2(C)", "A&1(B)&2(C)"},
        {QUERY_AND, 1, "A&2(B)", "C", "A&2(B)&1(C)"},
        {QUERY_AND, 1, "A", "s[0](B)", "A&1(s[0](B))"},
        {QUERY_AND, 1, "A", "B", "A&1(B)"},
        {QUERY_OR, 0, "A", "B|(C)", "A|(B)|(C)"},
        {QUERY_OR, 0, "A|(B)", "C", "A|(B)|(C)"},
        {QUERY_OR, 0, "A&0(B)", "C&0(D)", "A&0(B)|(C&0(D))"},
        {QUERY_SWITCH, 0, "A", "T", "A\xED(T)"},
        {QUERY_SWITCH, 0, "A|(B)", "T", "A|(B)\xED(T)"},
        {QUERY_NOT, 4, "A", "B", "A!4(B)"},
        {QUERY_AND_WORDS, 3, "A", "B|(C)", "A&w3(B|(C))"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.pszForm, CombineOperands(c.nCode, c.nNumber, c.pszLeft, c.pszRight))
            << c.pszLeft << " op " << c.nCode << " " << c.pszRight;
}

TEST_F(QueryParserTest, JoinOperandsMergesAnOperatorWithTheScopeOnItsRight)
{
    const struct {
        int nCode;
        int nNumber;
        const char* pszRight;
        const char* pszForm;
    } cases[] = {
        {QUERY_AND, 9, "w[3](B)", "A&w3(B)"},
        {QUERY_AND, 9, "s[0](B)", "A&s0(B)"},
        {QUERY_AND, 9, "p[1](B)", "A&p1(B)"},
        {QUERY_AND, 9, "h[2](B)", "A&h2(B)"},
        {QUERY_AND, 9, "a[0](B)", "A&a0(B)"},
        {QUERY_AND, 9, "n[0](s[0](B))", "A!0(s[0](B))"},
        {QUERY_AND_WORDS, 9, "s[4](B)", "A&s4(B)"},
        {QUERY_NOT, 9, "w[3](B)", "A!w3(B)"},
        {QUERY_NOT, 9, "s[0](B)", "A!s0(B)"},
        {QUERY_NOT, 9, "p[0](B)", "A!p0(B)"},
        {QUERY_NOT, 9, "h[0](B)", "A!h0(B)"},
        {QUERY_NOT, 9, "a[0](B)", "A!a0(B)"},
        {QUERY_NOT, 9, "n[0](B)", "A&0(B)"},
        {QUERY_NOT_ARTICLE, 9, "p[7](B)", "A!p7(B)"},
        {QUERY_AND, 9, "B", "A&9(B)"},
        {QUERY_NOT_WORDS, 9, "B", "A!w9(B)"},
        {QUERY_OR, 9, "s[0](B)", "A|(s[0](B))"},
        {QUERY_SWITCH, 9, "T", "A\xED(T)"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.pszForm, JoinOperands(c.nCode, c.nNumber, "A", c.pszRight))
            << "op " << c.nCode << " " << c.pszRight;
}

TEST_F(QueryParserTest, OversizedRewritesStopWithAMessage)
{
    // A query longer than any operator form may be.
    std::string strLong(QUERY_MAX_FORM_LENGTH + 1, 'A');
    EXPECT_EQ("Query too long", Rejection(strLong.c_str()));
    // A long query of one term is fine up to the limit.
    std::string strTerm(QUERY_MAX_FORM_LENGTH, 'A');
    EXPECT_EQ(strTerm, Rewrite(strTerm.c_str()));

    // Distribution multiplies long alternatives past the limit of the form.
    std::string strLongGroups;
    for (char ch : {'a', 'b', 'c'}) {
        if (!strLongGroups.empty())
            strLongGroups += " and ";
        strLongGroups += "(" + std::string(6000, ch) + " or " + std::string(6000, 'z') + ")";
    }
    EXPECT_EQ("Query too complex", Rejection(strLongGroups.c_str()));
    // Every further group of alternatives doubles the disjuncts, past the nesting limit.
    std::string strGroups = "(a0 or b0)";
    for (int i = 1; i < 8; ++i)
        strGroups += " and (a" + std::to_string(i) + " or b" + std::to_string(i) + ")";
    EXPECT_EQ("Query too complex", Rejection(strGroups.c_str()));

    // A chain of operators deeper than the nesting limit.
    std::string strChain = "w0";
    for (int i = 1; i <= QUERY_MAX_NESTING + 1; ++i)
        strChain += " and w" + std::to_string(i);
    EXPECT_EQ("Query too complex", Rejection(strChain.c_str()));
    // A chain that fits.
    std::string strShort = "w0";
    std::string strForm = "W0";
    for (int i = 1; i <= 100; ++i) {
        strShort += " and w" + std::to_string(i);
        strForm += "&s0(W" + std::to_string(i) + ")";
    }
    EXPECT_EQ(strForm, Rewrite(strShort.c_str()));

    // Deep parentheses around one term come off whole.
    std::string strDeep = std::string(30000, '(') + "cat" + std::string(30000, ')');
    EXPECT_EQ("CAT", Rewrite(strDeep.c_str()));
    // Deeply nested groups exceed the nesting limit instead of the stack.
    std::string strNested;
    for (int i = 0; i < 5000; ++i)
        strNested += "a and (";
    strNested += "b" + std::string(5000, ')');
    EXPECT_EQ("Query too complex", Rejection(strNested.c_str()));
}

TEST_F(QueryParserTest, EveryByteIsTermTextOrSyntax)
{
    // Each byte value alone and between two words: the parser always ends with a form or a
    // message, never loops, and reads nothing beyond the text.
    for (int ch = 1; ch < 256; ++ch) {
        char szAlone[2] = {static_cast<char>(ch), '\0'};
        char szBetween[8] = {'c', 'a', 't', static_cast<char>(ch), 'd', 'o', 'g', '\0'};
        for (const char* psz : {szAlone, szBetween}) {
            host::ResetUiScript();
            host::AnswerNextMessageBox(IDOK);
            CString strForm;
            BOOL bOk = RewriteQuery(psz, strForm);
            EXPECT_EQ(bOk ? 0u : 1u, ShownMessages().size()) << "byte " << ch;
            host::ResetUiScript();
        }
    }
    // Bytes above 0x7F are letters of terms.
    EXPECT_EQ("\xC0\xDE\x80\x9F" "A&s0(\xA9\xBF)", Rewrite("\xE0\xFE\x80\xFF" "a and \xA9\xBF"));
}

}  // namespace
