// The database engine under the DAO classes: Jet statements translated for SQLite and run,
// the engine's text rules, cursors and transactions.
#include <gtest/gtest.h>

#include "../../../platform/mfc/src/DaoSql.h"
#include "TempDir.h"

#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <functional>
#include <memory>

using namespace daosql;

namespace {

// A small database with the shapes the product's statements meet.
class DaoSqlFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.str() + "/test.mdb";
        db = std::make_unique<Connection>(path, OpenOptions{false, false, true});
        db->ExecuteNative(
            "CREATE TABLE Items (Title TEXT(255) COLLATE NOCASE, Kind TEXT(255) COLLATE NOCASE, Year LONG,"
            " Score DOUBLE, Shown BIT, Added DATETIME);"
            "CREATE TABLE \"Flag File\" (RIT TEXT(255) COLLATE NOCASE, Type TEXT(255) COLLATE NOCASE,"
            " Title TEXT(255) COLLATE NOCASE, Description TEXT(255) COLLATE NOCASE);"
            "CREATE TABLE \"Flag File MTL\" (\"MTL Number\" TEXT(255) COLLATE NOCASE, RIT TEXT(255) COLLATE NOCASE);");
        // Rows go in out of title order, so that table order and sorted order differ.
        const char* rows[][6] = {
            {"Zebra crossing", "Pict", "1951", "2.5", "-1", "1999-01-02 00:00:00"},
            {"apple harvest", "Video", "1987", "7", "0", "2001-05-06 13:45:00"},
            {"Apple Pie", "Artcl", "1923", "1.25", "-1", "1999-01-02 00:00:00"},
            {"\xC9" "clair", "Pict", "1975", "3", "0", "1980-12-31 00:00:00"},
            {"eclipse", "Map", "1999", "9.5", "-1", "2000-02-29 00:00:00"},
            {"O'Brien's Walk", "Artcl", "1960", "4", "0", "1960-06-01 00:00:00"},
            {"1950 census [draft]", "Artcl", "1950", "5", "-1", "1950-01-01 00:00:00"},
        };
        for (auto& r : rows)
            db->Run("INSERT INTO Items VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
                    {std::string(r[0]), std::string(r[1]), std::int64_t{std::stoll(r[2])}, std::stod(r[3]),
                     std::int64_t{std::stoll(r[4])}, std::string(r[5])},
                    "test");
        db->ExecuteNative(
            "INSERT INTO \"Flag File\" VALUES ('oc01', 'OC', 'War (1941)', 'd1'), ('ws01', 'WS', 'Museum', 'd2'),"
            " ('ol01', 'OL', 'Space', 'd3');"
            "INSERT INTO \"Flag File MTL\" VALUES ('100001', 'oc01'), ('100001', 'ws01'), ('100002', 'oc01'),"
            " ('100001', 'ws01');");
    }

    // The rows of a statement, each as its columns joined by '|'.
    std::vector<std::string> Rows(const std::string& jet, const Parameters& params = {})
    {
        QuerySpec spec;
        spec.source = jet;
        for (auto& p : params)
            spec.parameterNames.push_back(p.name);
        Cursor c(*db, spec, {CursorType::Snapshot, true, false}, params);
        std::vector<std::string> out;
        while (!c.IsEOF()) {
            std::string line;
            for (std::size_t i = 0; i < c.Row().size(); ++i)
                line += (i ? "|" : "") + ValueToText(c.Row()[i]);
            out.push_back(line);
            c.MoveNext();
        }
        return out;
    }

    TempDir dir;
    std::string path;
    std::unique_ptr<Connection> db;
};

struct Case {
    const char* jet;
    const char* sqlite;
    std::vector<std::string> rows;
};

TEST_F(DaoSqlFixture, TranslatesTheDialectAndReturnsTheRows)
{
    const Case cases[] = {
        {"SELECT [Title] FROM [Items] WHERE [Kind] = 'pict' ORDER BY [Title]",
         "SELECT \"Title\" FROM \"Items\" WHERE \"Kind\" = 'pict' ORDER BY \"Title\" COLLATE NOCASE",
         {"\xC9" "clair", "Zebra crossing"}},
        // Sorting ignores case, also in the upper half of the code page.
        {"SELECT Title FROM Items WHERE Title LIKE '[ae]*' ORDER BY Title DESC",
         "SELECT Title FROM Items WHERE Title LIKE '[ae]*' ORDER BY Title COLLATE NOCASE DESC",
         {"eclipse", "Apple Pie", "apple harvest"}},
        {"SELECT Title FROM Items WHERE Title LIKE 'APPLE *'", "SELECT Title FROM Items WHERE Title LIKE 'APPLE *'",
         {"apple harvest", "Apple Pie"}},
        {"SELECT Title FROM Items WHERE Title LIKE '?clair'", "SELECT Title FROM Items WHERE Title LIKE '?clair'",
         {"\xC9" "clair"}},
        {"SELECT Title FROM Items WHERE Title LIKE '\xE9" "*'", "SELECT Title FROM Items WHERE Title LIKE '\xE9" "*'",
         {"\xC9" "clair"}},
        {"SELECT Title FROM Items WHERE Title LIKE '19## *'", "SELECT Title FROM Items WHERE Title LIKE '19## *'",
         {"1950 census [draft]"}},
        {"SELECT Title FROM Items WHERE Title LIKE '*[[]draft]'", "SELECT Title FROM Items WHERE Title LIKE '*[[]draft]'",
         {"1950 census [draft]"}},
        {"SELECT Title FROM Items WHERE Title LIKE '[!a-z0-9]*'",
         "SELECT Title FROM Items WHERE Title LIKE '[!a-z0-9]*'",
         {"\xC9" "clair"}},
        // % and _ are ordinary characters in Jet's patterns.
        {"SELECT Title FROM Items WHERE Title LIKE 'apple%'", "SELECT Title FROM Items WHERE Title LIKE 'apple%'", {}},
        {"SELECT Title FROM Items WHERE Year Between 1950 And 1960 ORDER BY Year",
         "SELECT Title FROM Items WHERE Year Between 1950 And 1960 ORDER BY Year COLLATE NOCASE",
         {"1950 census [draft]", "Zebra crossing", "O'Brien's Walk"}},
        {"SELECT Title FROM Items WHERE Kind In ('Map','VIDEO')",
         "SELECT Title FROM Items WHERE Kind In ('Map', 'VIDEO')", {"apple harvest", "eclipse"}},
        {"SELECT Title FROM Items WHERE Title = \"O'Brien's Walk\"",
         "SELECT Title FROM Items WHERE Title = 'O''Brien''s Walk'", {"O'Brien's Walk"}},
        {"SELECT Title FROM Items WHERE Title = 'o''brien''s walk'",
         "SELECT Title FROM Items WHERE Title = 'o''brien''s walk'", {"O'Brien's Walk"}},
        {"SELECT Title FROM Items WHERE Shown = True AND Year < 1960",
         "SELECT Title FROM Items WHERE Shown = -1 AND Year < 1960", {"Zebra crossing", "Apple Pie", "1950 census [draft]"}},
        {"SELECT Count(*) FROM Items WHERE Shown = False", "SELECT Count(*) FROM Items WHERE Shown = 0", {"3"}},
        {"SELECT Title FROM Items WHERE Added = #1/2/1999#",
         "SELECT Title FROM Items WHERE Added = '1999-01-02 00:00:00'", {"Zebra crossing", "Apple Pie"}},
        {"SELECT Title FROM Items WHERE Added > #5/6/2001 1:00 PM#",
         "SELECT Title FROM Items WHERE Added > '2001-05-06 13:00:00'", {"apple harvest"}},
        {"SELECT UCase(Left$([Title], 5)) & '-' & Len(Title) FROM Items WHERE Kind = 'Video'",
         "SELECT UCase(\"Left\"(\"Title\", 5)) || '-' || Len(Title) FROM Items WHERE Kind = 'Video'", {"APPLE-13"}},
        {"SELECT Mid$(Title, 7, 3) FROM Items WHERE Year Mod 100 = 23",
         "SELECT Mid(Title, 7, 3) FROM Items WHERE Year % 100 = 23", {"Pie"}},
        {"SELECT TOP 2 Title FROM Items ORDER BY Score DESC",
         "SELECT Title FROM Items ORDER BY Score COLLATE NOCASE DESC LIMIT 2", {"eclipse", "apple harvest"}},
        {"SELECT Items.Title FROM Items WHERE Items!Year = 1999",
         "SELECT Items.Title FROM Items WHERE Items.Year = 1999", {"eclipse"}},
        // The online extras join: every table gives fields, so DISTINCTROW changes nothing.
        {"SELECT DISTINCTROW [Flag File MTL].RIT AS RIT, [Flag File].Type AS TYPE, [Flag File].Title AS TITLE, "
         "[Flag File MTL].[MTL Number] AS MTL FROM [Flag File] INNER JOIN [Flag File MTL] ON [Flag File].RIT = "
         "[Flag File MTL].RIT WHERE (([Flag File MTL].[MTL Number]='100001'));",
         "SELECT \"Flag File MTL\".RIT AS RIT, \"Flag File\".Type AS TYPE, \"Flag File\".Title AS TITLE, "
         "\"Flag File MTL\".\"MTL Number\" AS MTL FROM \"Flag File\" INNER JOIN \"Flag File MTL\" ON "
         "\"Flag File\".RIT = \"Flag File MTL\".RIT WHERE ((\"Flag File MTL\".\"MTL Number\" = '100001'))",
         {"oc01|OC|War (1941)|100001", "ws01|WS|Museum|100001", "ws01|WS|Museum|100001"}},
        // Fields of one table only: one row per flag-file row.
        {"SELECT DISTINCTROW [Flag File].Title FROM [Flag File] INNER JOIN [Flag File MTL] ON [Flag File].RIT = "
         "[Flag File MTL].RIT ORDER BY [Flag File].Title",
         "SELECT DISTINCT \"Flag File\".Title FROM \"Flag File\" INNER JOIN \"Flag File MTL\" ON \"Flag File\".RIT = "
         "\"Flag File MTL\".RIT ORDER BY \"Flag File\".Title COLLATE NOCASE",
         {"Museum", "War (1941)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.jet);
        EXPECT_EQ(Translate(c.jet).sql, c.sqlite);
        EXPECT_EQ(Rows(c.jet), c.rows);
    }
}

TEST_F(DaoSqlFixture, ParametersAreBoundByName)
{
    // A PARAMETERS clause declares them; the same name used twice is one parameter.
    const char* jet = "PARAMETERS [Lo] Long, [Hi] Long; SELECT Title FROM Items WHERE Year Between [Lo] And [Hi] "
                      "AND Year <> [lo] ORDER BY Year";
    Translation t = Translate(jet);
    EXPECT_EQ(t.sql, "SELECT Title FROM Items WHERE Year Between ?1 And ?2 AND Year <> ?1 ORDER BY Year COLLATE NOCASE");
    EXPECT_EQ(t.parameters, (std::vector<std::string>{"Lo", "Hi"}));
    EXPECT_EQ(Rows(jet, {{"hi", std::int64_t{1960}}, {"LO", std::int64_t{1950}}}),
              (std::vector<std::string>{"Zebra crossing", "O'Brien's Walk"}));

    // A text parameter holding quotes is data, never statement text.
    EXPECT_EQ(Rows("SELECT Year FROM Items WHERE Title = [T]", {{"T", std::string("o'brien's WALK")}}),
              (std::vector<std::string>{"1960"}));

    // A missing value is Jet's "too few parameters".
    try {
        Rows(jet, {{"Lo", std::int64_t{1}}});
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Code(), kErrTooFewParameters);
        EXPECT_EQ(e.Description(), "Too few parameters. Expected 1.");
    }
}

TEST_F(DaoSqlFixture, LongOrChainsAreFlattened)
{
    // The keyword search builds one equality per RIT; thousands of them must still run.
    std::string filter = "RIT = 'ws01'";
    for (int i = 0; i < 5000; ++i)
        filter += " OR RIT = 'x" + std::to_string(i) + "'";
    filter += " OR Title = 'SPACE' OR Type = 'none'";
    for (int i = 0; i < 40; ++i)
        filter += " OR Title LIKE 'q" + std::to_string(i) + "*'";
    Translation t = TranslateExpression(filter);
    EXPECT_NE(t.sql.find("RIT IN ('ws01', 'x0', 'x1',"), std::string::npos) << t.sql.substr(0, 80);
    EXPECT_EQ(t.sql.find(" OR RIT"), std::string::npos);
    EXPECT_EQ(Rows("SELECT RIT FROM [Flag File] WHERE " + filter + " ORDER BY RIT"),
              (std::vector<std::string>{"ol01", "ws01"}));

    // The same through a record set's filter.
    QuerySpec spec{"[Flag File]", {"[RIT]"}, filter, "[RIT]", {}};
    Cursor c(*db, spec, {}, {});
    c.MoveLast();
    EXPECT_EQ(c.GetRecordCount(), 2);

    // Short chains stay as written.
    EXPECT_EQ(TranslateExpression("RIT = 'a' OR RIT = 'b'").sql, "RIT = 'a' OR RIT = 'b'");
}

TEST_F(DaoSqlFixture, ActionQueries)
{
    EXPECT_EQ(Translate("DELETE * FROM [Our Century List];").sql, "DELETE FROM \"Our Century List\"");
    // Jet's text fields: no case, a size (255 when none is given); a counter is the row id.
    const char* create = "CREATE TABLE [T] ([Id] COUNTER, [Name] TEXT(5), Note TEXT, [N] SHORT, [M] MEMO)";
    EXPECT_EQ(Translate(create).sql,
              "CREATE TABLE \"T\" (\"Id\" INTEGER PRIMARY KEY AUTOINCREMENT, \"Name\" TEXT(5) COLLATE NOCASE "
              "CONSTRAINT \"size\" CHECK (length(CAST(\"Name\" AS BLOB)) <= 5), Note TEXT(255) COLLATE NOCASE "
              "CONSTRAINT \"size\" CHECK (length(CAST(Note AS BLOB)) <= 255), \"N\" SHORT CONSTRAINT \"range\" CHECK "
              "(\"N\" BETWEEN -32768 AND 32767), \"M\" MEMO COLLATE NOCASE)");
    db->Execute(create, true);
    db->Execute("INSERT INTO T (Name, M) VALUES ('abcde', 'any length at all')", true);
    try {
        db->Execute("INSERT INTO T (Name) VALUES ('abcdef')", true);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Code(), kErrFieldTooSmall);
    }
    try {
        db->Execute("INSERT INTO T (N) VALUES (40000)", true);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Code(), kErrNumericOverflow);
    }
    EXPECT_EQ(Rows("SELECT Id, Name FROM T WHERE Name = 'ABCDE'"), (std::vector<std::string>{"1|abcde"}));
    EXPECT_EQ(db->Execute("UPDATE Items SET Score = Score + 1 WHERE Kind = 'ARTCL'", true), 3);
    EXPECT_EQ(db->Execute("INSERT INTO [Flag File] ( RIT, Title ) VALUES ( [R], [T] );", true,
                          {{"R", std::string("oc'9")}, {"T", std::string("It's \"quoted\"")}}),
              1);
    EXPECT_EQ(Rows("SELECT Title FROM [Flag File] WHERE RIT = \"OC'9\""),
              (std::vector<std::string>{"It's \"quoted\""}));
    EXPECT_EQ(db->Execute("DELETE * FROM Items WHERE Year < 1960", true), 3);
    EXPECT_EQ(Rows("SELECT Count(*) FROM Items"), (std::vector<std::string>{"4"}));
}

TEST_F(DaoSqlFixture, FailuresCarryJetsNumbersAndReadableTexts)
{
    struct Bad {
        const char* jet;
        long code;
        const char* text;
    };
    const Bad cases[] = {
        {"DELETE FROM [No Such Table]", kErrNoSuchTable,
         "The database engine cannot find the input table or query 'No Such Table'. Make sure it exists and that "
         "its name is spelled correctly."},
        {"UPDATE Items SET Missing = 1", kErrTooFewParameters,
         "Too few parameters. Expected 1. (No field or parameter named 'Missing'.)"},
        // A misspelt name in brackets fails; it never turns into text.
        {"DELETE FROM Items WHERE [Titel] = 'x'", kErrTooFewParameters,
         "Too few parameters. Expected 1. (No field or parameter named 'Titel'.)"},
        {"DELETE FROM Items WHERE", kErrSyntaxInExpression, "Syntax error in query expression 'DELETE FROM Items WHERE'."},
        {"SELECT [Title FROM Items", kErrSyntaxInExpression, "Syntax error in query expression 'SELECT [Title FROM Items'."},
        {"UPDATE Items SET Title = 'it''s", kErrSyntaxInExpression,
         "Syntax error in query expression 'UPDATE Items SET Title = 'it''s'."},
    };
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.jet);
        try {
            db->Execute(b.jet, true);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.Code(), b.code);
            EXPECT_EQ(e.Description(), b.text);
            EXPECT_EQ(e.Source(), "DAO.Database");
        }
    }
}

TEST_F(DaoSqlFixture, FailOnErrorDecidesWhetherBadRowsStopTheStatement)
{
    db->ExecuteNative("CREATE TABLE Keys (K TEXT(10) COLLATE NOCASE UNIQUE);"
                      "INSERT INTO Keys VALUES ('map');");
    // With dbFailOnError the statement fails and changes nothing.
    try {
        db->Execute("INSERT INTO Keys SELECT DISTINCT Kind FROM Items", true);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Code(), kErrDuplicateKey);
    }
    EXPECT_EQ(Rows("SELECT Count(*) FROM Keys"), (std::vector<std::string>{"1"}));
    // Without it the rows that break no rule go in.
    EXPECT_EQ(db->Execute("INSERT INTO Keys SELECT DISTINCT Kind FROM Items", false), 3);
    EXPECT_EQ(Rows("SELECT K FROM Keys ORDER BY K"), (std::vector<std::string>{"Artcl", "map", "Pict", "Video"}));
}

TEST(DaoSqlText, CaseFoldingAndPatterns)
{
    EXPECT_EQ(CompareNoCase("\xC9" "T\xC9", 3, "\xE9" "t\xE9", 3), 0);
    EXPECT_LT(CompareNoCase("abc", 3, "ABD", 3), 0);
    EXPECT_LT(CompareNoCase("ab", 2, "ABC", 3), 0);
    // Sort order: accents and hyphens only break ties, case never does.
    const char* const sorted[] = {"Coop", "co-op", "eclair", "\xC9" "clair", "ECLIPSE", "O'Brien", "obrien's"};
    for (std::size_t i = 0; i + 1 < std::size(sorted); ++i)
        EXPECT_LT(CompareText(sorted[i], std::strlen(sorted[i]), sorted[i + 1], std::strlen(sorted[i + 1])), 0)
            << sorted[i] << " < " << sorted[i + 1];
    EXPECT_EQ(CompareText("\xC9T\xC9", 3, "\xE9t\xE9", 3), 0);
    struct P {
        const char* text;
        const char* pattern;
        bool match;
    };
    const P cases[] = {
        {"", "*", true},        {"abc", "a*c", true},     {"abc", "a?c", true},      {"ac", "a?c", false},
        {"a1c", "a#c", true},   {"abc", "a#c", false},    {"b", "[a-c]", true},      {"d", "[a-c]", false},
        {"d", "[!a-c]", true},  {"*", "[*]", true},       {"x", "[*]", false},       {"A-B", "a[-]b", true},
        {"50%", "50%", true},   {"505", "50%", false},    {"[", "[", true},          {"abcabc", "*b*c", true},
        {"ABC", "abc", true},   {"Stra\xDF" "e", "stra\xDF" "e", true}, {"abc", "abc*", true},
        {"abcd", "*b?d", true}, {"abcd", "*c", false},    {"a[b", "a[b", true},          {"ab", "a*b*", true},
    };
    for (const P& p : cases)
        EXPECT_EQ(JetLike(p.text, p.pattern), p.match) << p.text << " LIKE " << p.pattern;
    // Many stars against a long text that almost matches: answered at once.
    EXPECT_FALSE(JetLike(std::string(4000, 'a'), "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(DaoSqlBuild, RecordSetStatements)
{
    // A table with bound columns, a filter with parameters and a sort.
    QuerySpec spec{"[Dada Vaveroz Data]",
                   {"[Title]", "[Rin Code]"},
                   "[Content] = [ContentParam] And [RandomContent] Between [Bottom] And [Top]",
                   "[Title]",
                   {"ContentParam", "Bottom", "Top"}};
    BuiltQuery q = BuildQuery(spec);
    EXPECT_TRUE(q.keyed);
    EXPECT_EQ(q.baseTable, "Dada Vaveroz Data");
    EXPECT_EQ(q.select.sql,
              "SELECT \"Dada Vaveroz Data\".rowid, \"Title\", \"Rin Code\" FROM \"Dada Vaveroz Data\" WHERE "
              "\"Content\" = ?1 And \"RandomContent\" Between ?2 And ?3 ORDER BY \"Title\" COLLATE NOCASE");
    EXPECT_EQ(q.select.parameters, (std::vector<std::string>{"ContentParam", "Bottom", "Top"}));
    EXPECT_EQ(q.fetchSql, "SELECT \"Title\", \"Rin Code\" FROM \"Dada Vaveroz Data\" WHERE \"Dada Vaveroz Data\".rowid = ?1");

    // No sort: table order.
    q = BuildQuery({"[First Line]", {}, "", "", {}});
    EXPECT_EQ(q.select.sql, "SELECT \"First Line\".rowid, * FROM \"First Line\" ORDER BY \"First Line\".rowid");

    // A whole statement gets the filter added to its own condition and the sort in place of its own.
    q = BuildQuery({"SELECT Title FROM Items WHERE Year > 1900 ORDER BY Year", {}, "Kind = 'Map' OR Kind = 'Pict'",
                    "Title DESC", {}});
    EXPECT_EQ(q.select.sql, "SELECT Items.rowid, Title FROM Items WHERE (Year > 1900) AND (Kind = 'Map' OR Kind = "
                            "'Pict') ORDER BY Title COLLATE NOCASE DESC");

    // A join is read but not keyed.
    q = BuildQuery({"[Flag File MTL] INNER JOIN [Flag File] ON [Flag File MTL].RIT = [Flag File].RIT",
                    {"[Flag File].Title"}, "", "", {}});
    EXPECT_FALSE(q.keyed);
    EXPECT_EQ(q.select.sql, "SELECT \"Flag File\".Title FROM \"Flag File MTL\" INNER JOIN \"Flag File\" ON "
                            "\"Flag File MTL\".RIT = \"Flag File\".RIT");
}

// --- Cursors ------------------------------------------------------------------------------

class DaoCursorFixture : public DaoSqlFixture {
protected:
    std::unique_ptr<Cursor> Open(const std::string& filter = "", const std::string& sort = "",
                                 CursorOptions options = {})
    {
        return std::make_unique<Cursor>(*db, QuerySpec{"Items", {"[Title]", "[Year]"}, filter, sort, {}}, options,
                                        Parameters{});
    }
    static std::string Title(const Cursor& c) { return ValueToText(c.Get(0)); }
    static long Code(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.Code();
        }
        return 0;
    }
};

TEST_F(DaoCursorFixture, EmptySet)
{
    auto c = Open("Year > 3000");
    EXPECT_TRUE(c->IsBOF());
    EXPECT_TRUE(c->IsEOF());
    EXPECT_EQ(c->GetRecordCount(), 0);
    EXPECT_EQ(c->GetAbsolutePosition(), -1);
    EXPECT_EQ(Code([&] { c->MoveFirst(); }), kErrNoCurrentRecord);
    EXPECT_EQ(Code([&] { c->MoveLast(); }), kErrNoCurrentRecord);
    EXPECT_EQ(Code([&] { c->MoveNext(); }), kErrNoCurrentRecord);
    EXPECT_EQ(Code([&] { c->MovePrev(); }), kErrNoCurrentRecord);
    EXPECT_EQ(Code([&] { c->Get(0); }), kErrNoCurrentRecord);
    EXPECT_EQ(Code([&] { c->Edit(); }), kErrNoCurrentRecord);
    EXPECT_EQ(Code([&] { c->SetAbsolutePosition(0); }), kErrInvalidArgument);
    // Adding to an empty set: the new row is there after a MoveFirst.
    c->AddNew();
    c->Set(0, std::string("Nova"));
    c->Set(1, std::int64_t{4000});
    c->Update();
    EXPECT_EQ(c->GetRecordCount(), 1);
    c->MoveFirst();
    EXPECT_EQ(Title(*c), "Nova");
}

TEST_F(DaoCursorFixture, MovesPositionsAndTheRecordCount)
{
    auto c = Open();  // table order
    EXPECT_FALSE(c->IsBOF());
    EXPECT_EQ(Title(*c), "Zebra crossing");
    EXPECT_EQ(c->GetAbsolutePosition(), 0);
    EXPECT_EQ(c->GetRecordCount(), 1);  // only the rows visited so far
    c->MovePrev();
    EXPECT_TRUE(c->IsBOF());
    EXPECT_FALSE(c->IsEOF());
    EXPECT_EQ(c->GetAbsolutePosition(), -1);
    EXPECT_EQ(Code([&] { c->MovePrev(); }), kErrNoCurrentRecord);  // past the start
    EXPECT_EQ(Code([&] { c->Get(0); }), kErrNoCurrentRecord);
    c->MoveNext();
    EXPECT_EQ(Title(*c), "Zebra crossing");
    c->Move(3);
    EXPECT_EQ(c->GetAbsolutePosition(), 3);
    EXPECT_EQ(Title(*c), "\xC9" "clair");
    EXPECT_EQ(c->GetRecordCount(), 4);
    c->MoveLast();
    EXPECT_EQ(c->GetRecordCount(), 7);
    EXPECT_EQ(Title(*c), "1950 census [draft]");
    c->MoveNext();
    EXPECT_TRUE(c->IsEOF());
    EXPECT_EQ(Code([&] { c->MoveNext(); }), kErrNoCurrentRecord);
    c->MovePrev();
    EXPECT_EQ(c->GetAbsolutePosition(), 6);
    c->Move(-100);
    EXPECT_TRUE(c->IsBOF());
    c->Move(100);
    EXPECT_TRUE(c->IsEOF());
    c->SetAbsolutePosition(2);
    EXPECT_EQ(Title(*c), "Apple Pie");
    EXPECT_EQ(Code([&] { c->SetAbsolutePosition(7); }), kErrInvalidArgument);

    // Sorted by title, case ignored.
    auto s = Open("Year > 1950", "[Title]");
    std::vector<std::string> titles;
    for (; !s->IsEOF(); s->MoveNext())
        titles.push_back(Title(*s));
    EXPECT_EQ(titles, (std::vector<std::string>{"apple harvest", "\xC9" "clair", "eclipse", "O'Brien's Walk",
                                                "Zebra crossing"}));

    // A table cursor knows its count at once.
    auto t = std::make_unique<Cursor>(*db, QuerySpec{"[Items]", {}, "", "", {}}, CursorOptions{CursorType::Table},
                                      Parameters{});
    EXPECT_EQ(t->GetRecordCount(), 7);
    EXPECT_EQ(Code([&] { Cursor(*db, QuerySpec{"Items", {}, "Year > 1", "", {}}, {CursorType::Table}, {}); }),
              kErrNotSupported);
}

TEST_F(DaoCursorFixture, EditAddNewDeleteAndRequery)
{
    auto c = Open("", "[Title]");
    auto other = Open();  // a second dynaset over the same rows
    // Edit the first row (apple harvest).
    c->Edit();
    EXPECT_EQ(ValueToText(c->Buffer(0)), "1950 census [draft]");
    c->Set(0, std::string("A quote ' \" in a title"));
    c->Update();
    EXPECT_EQ(Title(*c), "A quote ' \" in a title");
    EXPECT_EQ(c->GetAbsolutePosition(), 0);
    // A dynaset reads its rows when it comes to them: the other one sees the change.
    other->SetAbsolutePosition(6);
    EXPECT_EQ(Title(*other), "A quote ' \" in a title");
    // Requery after the edit: the sort places the row anew.
    c->Requery(QuerySpec{"Items", {"[Title]", "[Year]"}, "", "[Year] DESC", {}}, {});
    EXPECT_EQ(Title(*c), "eclipse");
    c->MoveLast();
    EXPECT_EQ(Title(*c), "Apple Pie");
    c->MovePrev();
    EXPECT_EQ(Title(*c), "A quote ' \" in a title");

    // CancelUpdate forgets the edit; Update without Edit is refused.
    c->Edit();
    c->Set(0, std::string("never"));
    c->CancelUpdate();
    EXPECT_EQ(Title(*c), "A quote ' \" in a title");
    EXPECT_EQ(Code([&] { c->Update(); }), kErrUpdateWithoutEdit);
    EXPECT_EQ(Code([&] { c->CancelUpdate(); }), kErrUpdateWithoutEdit);
    // Moving away drops a pending edit.
    c->Edit();
    c->Set(0, std::string("lost"));
    c->MoveFirst();
    EXPECT_EQ(c->GetEditMode(), EditMode::None);
    c->MoveLast();
    c->MovePrev();
    EXPECT_EQ(Title(*c), "A quote ' \" in a title");

    // AddNew: the new row comes at the end; the current row stays current.
    c->MoveFirst();
    c->AddNew();
    EXPECT_EQ(c->GetAbsolutePosition(), -1);
    c->Set(1, std::int64_t{2024});
    c->Set(0, std::string("Newest"));
    c->Update();
    EXPECT_EQ(Title(*c), "eclipse");
    c->MoveLast();
    EXPECT_EQ(Title(*c), "Newest");
    EXPECT_EQ(c->GetRecordCount(), 8);

    // Delete: the row is gone; the next move goes on from where it stood.
    c->SetAbsolutePosition(1);
    std::string second = Title(*c);
    c->Delete();
    EXPECT_TRUE(c->IsDeleted());
    EXPECT_EQ(c->GetAbsolutePosition(), -1);
    EXPECT_EQ(Code([&] { c->Get(0); }), kErrRecordDeleted);
    c->MoveNext();
    EXPECT_EQ(c->GetAbsolutePosition(), 1);
    EXPECT_NE(Title(*c), second);
    EXPECT_EQ(c->GetRecordCount(), 7);
    // The other dynaset still holds the deleted row's key: reading it says so.
    other->MoveFirst();
    long gone = 0;
    for (; !other->IsEOF(); other->MoveNext())
        if (Code([&] { other->Get(0); }) == kErrRecordDeleted)
            ++gone;
    EXPECT_EQ(gone, 1);
    // Deleting the last row leaves MoveNext at the end.
    c->MoveLast();
    c->Delete();
    c->MoveNext();
    EXPECT_TRUE(c->IsEOF());
}

TEST_F(DaoCursorFixture, SnapshotsReadOnlyAndAppendOnly)
{
    auto snap = Open("", "", {CursorType::Snapshot});
    EXPECT_FALSE(snap->CanUpdate());
    EXPECT_EQ(Code([&] { snap->Edit(); }), kErrReadOnly);
    db->Execute("UPDATE Items SET Title = 'changed'", true);
    EXPECT_EQ(Title(*snap), "Zebra crossing");  // a snapshot keeps what it read

    auto ro = Open("", "", {CursorType::Dynaset, true});
    EXPECT_FALSE(ro->CanUpdate());
    EXPECT_FALSE(ro->CanAppend());
    EXPECT_EQ(Code([&] { ro->AddNew(); }), kErrReadOnly);
    EXPECT_EQ(Code([&] { ro->Delete(); }), kErrReadOnly);

    auto app = Open("", "", {CursorType::Dynaset, false, true});
    EXPECT_TRUE(app->IsEOF());  // only the rows it adds
    app->AddNew();
    app->Set(0, std::string("Added"));
    app->Update();
    app->MoveFirst();
    EXPECT_EQ(Title(*app), "Added");
    EXPECT_EQ(Rows("SELECT Count(*) FROM Items").front(), "8");

    // A computed column cannot be written.
    Cursor calc(*db, QuerySpec{"SELECT Title, Year + 1 AS Next FROM Items", {}, "", "", {}}, {}, {});
    calc.Edit();
    EXPECT_EQ(Code([&] { calc.Set(1, std::int64_t{1}); }), kErrFieldNotUpdatable);
    EXPECT_EQ(calc.FindColumn("[Items].[next]"), 1);
    EXPECT_EQ(calc.FindColumn("nothing"), -1);
}

TEST_F(DaoSqlFixture, TransactionsCommitRollBackAndNest)
{
    db->BeginTrans();
    db->Execute("DELETE FROM Items WHERE Kind = 'Artcl'", true);
    db->Rollback();
    EXPECT_EQ(Rows("SELECT Count(*) FROM Items").front(), "7");

    db->BeginTrans();
    db->Execute("DELETE FROM Items WHERE Kind = 'Artcl'", true);
    db->BeginTrans();
    db->Execute("DELETE FROM Items WHERE Kind = 'Pict'", true);
    EXPECT_EQ(db->TransactionLevel(), 2);
    db->Rollback();  // the inner one only
    db->CommitTrans();
    EXPECT_EQ(db->TransactionLevel(), 0);
    EXPECT_EQ(Rows("SELECT Count(*) FROM Items").front(), "4");

    // The change is in the file: another connection sees it.
    Connection second(path, {});
    Cursor c(second, QuerySpec{"SELECT Count(*) AS N FROM Items", {}, "", "", {}}, {CursorType::Snapshot}, {});
    EXPECT_EQ(ValueToText(c.Get(0)), "4");

    try {
        db->CommitTrans();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Code(), kErrNoTransaction);
        EXPECT_EQ(e.Source(), "DAO.Workspace");
    }
}

TEST_F(DaoSqlFixture, OpeningFiles)
{
    auto code = [](const std::string& p, OpenOptions o) -> long {
        try {
            Connection c(p, o);
        } catch (const Error& e) {
            return e.Code();
        }
        return 0;
    };
    EXPECT_EQ(code(dir.str() + "/missing.mdb", {}), kErrFileNotFound);
    EXPECT_EQ(code(dir.Write("junk.mdb", std::string(4096, 'x')).string(), {}), kErrNotADatabase);

    // Read-only: reading works, writing is refused.
    Connection ro(path, {false, true, false});
    EXPECT_TRUE(ro.ReadOnly());
    try {
        ro.Execute("DELETE FROM Items", true);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Code(), kErrReadOnly);
    }

    // A write-protected file opens for reading only.
    std::filesystem::permissions(path, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    if (::access(path.c_str(), W_OK) != 0) {  // (a superuser may write regardless)
        Connection prot(path, {});
        EXPECT_TRUE(prot.ReadOnly());
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);

    // Exclusive: no one else gets in while it is open.
    db.reset();
    {
        Connection ex(path, {true, false, false});
        EXPECT_EQ(code(path, {}), kErrFileInUse);
    }
    EXPECT_EQ(code(path, {}), 0);
}

}  // namespace
