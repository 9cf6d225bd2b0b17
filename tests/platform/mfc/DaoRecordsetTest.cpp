// The DAO classes as programs use them: record sets bound through DoFieldExchange, databases,
// the default workspace's transactions, and CDaoException.
#include <gtest/gtest.h>

#include <afxdao.h>

#include <host/Paths.h>

#include "TempDir.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// Runs f; gives the DAO error number it raised (the class library's own error as a negative
// number), 0 when it raised none.
long DaoError(const std::function<void()>& f)
{
    try {
        f();
    } catch (CDaoException* e) {
        long code = e->m_pErrorInfo ? e->m_pErrorInfo->m_lErrorCode : -e->m_nAfxDaoError;
        e->Delete();
        return code;
    }
    return 0;
}

// A flag-file set as the program binds one: a table, text and number columns, a filter.
class CItemSet : public CDaoRecordset {
public:
    explicit CItemSet(CDaoDatabase* pdb) : CDaoRecordset(pdb) { m_nFields = 5; }
    CString GetDefaultSQL() override { return "[Flag File]"; }
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        pFX->SetFieldType(CDaoFieldExchange::outputColumn);
        DFX_Text(pFX, "[RIT]", m_RIT);
        DFX_Text(pFX, "[Title]", m_Title);
        DFX_Double(pFX, "[Year]", m_Year);
        DFX_Bool(pFX, "[Online]", m_Online);
        DFX_DateTime(pFX, "[Added]", m_Added);
    }
    CString m_RIT, m_Title;
    double m_Year = 0;
    BOOL m_Online = FALSE;
    COleDateTime m_Added;
};

// A statistics set: a parameter in its filter.
class CStatsSet : public CDaoRecordset {
public:
    explicit CStatsSet(CDaoDatabase* pdb) : CDaoRecordset(pdb)
    {
        m_nFields = 3;
        m_nParams = 1;
        m_strFilter = "[Content] = [ContentParam]";
        m_ContentParam = "All";
    }
    CString GetDefaultSQL() override { return "[Dada Vaveroz Stats]"; }
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        pFX->SetFieldType(CDaoFieldExchange::outputColumn);
        DFX_Text(pFX, "[Content]", m_Content);
        DFX_Long(pFX, "[ALL]", m_All);
        DFX_Short(pFX, "[GEO]", m_Geo);
        pFX->SetFieldType(CDaoFieldExchange::param);
        DFX_Text(pFX, "[ContentParam]", m_ContentParam);
    }
    CString m_Content, m_ContentParam;
    long m_All = 0;
    short m_Geo = 0;
};

class DaoClassesFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        name = host::FromHostPath((dir.path() / "vl00i1.mdb").string()).value();
        db.Create(name.c_str());
        db.Execute("CREATE TABLE [Flag File] ([RIT] TEXT(255), [Title] TEXT(255), [Year] DOUBLE, [Online] BIT, "
                   "[Added] DATETIME)");
        db.Execute("CREATE TABLE [Dada Vaveroz Stats] ([Content] TEXT(255), [ALL] LONG, [GEO] SHORT)");
        db.Execute("INSERT INTO [Flag File] VALUES ('ws01', 'Museum', 0, False, #3/4/1999#)");
        db.Execute("INSERT INTO [Flag File] VALUES ('oc01', 'War (1941)', 1941, True, #12/31/1998 23:59:59#)");
        db.Execute("INSERT INTO [Flag File] ([RIT], [Title], [Year]) VALUES ('ol01', 'Space', 1969)");
        db.Execute("INSERT INTO [Dada Vaveroz Stats] VALUES ('All', 900, 120), ('Media', 300, 45)");
    }
    void TearDown() override { AfxSetReportErrorHandler(NULL); }

    TempDir dir;
    std::string name;  // the database's platform path
    CDaoDatabase db;
};

TEST_F(DaoClassesFixture, OpensMovesAndReadsBoundMembers)
{
    CItemSet rs(&db);
    rs.Open();
    EXPECT_TRUE(rs.IsOpen());
    EXPECT_EQ(rs.GetType(), dbOpenDynaset);
    EXPECT_TRUE(rs.CanUpdate());
    EXPECT_STREQ(rs.m_RIT, "ws01");
    EXPECT_TRUE(rs.m_Added == COleDateTime(1999, 3, 4, 0, 0, 0));
    EXPECT_FALSE(rs.m_Online);
    EXPECT_EQ(rs.GetRecordCount(), 1);
    rs.MoveNext();
    EXPECT_STREQ(rs.m_Title, "War (1941)");
    EXPECT_EQ(rs.m_Year, 1941);
    EXPECT_TRUE(rs.m_Online);
    EXPECT_EQ(rs.m_Added.GetSecond(), 59);
    rs.MoveNext();
    EXPECT_STREQ(rs.m_RIT, "ol01");
    EXPECT_TRUE(rs.IsFieldNull(&rs.m_Added));
    EXPECT_EQ(rs.m_Added.GetStatus(), COleDateTime::null);
    EXPECT_EQ(rs.GetAbsolutePosition(), 2);
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.GetAbsolutePosition(), -1);
    EXPECT_EQ(DaoError([&] { rs.MoveNext(); }), 3021);
    rs.MoveFirst();
    rs.MovePrev();
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_EQ(DaoError([&] { rs.MovePrev(); }), 3021);  // past the start
    rs.SetAbsolutePosition(1);
    EXPECT_STREQ(rs.m_RIT, "oc01");
    rs.Move(-1);
    EXPECT_STREQ(rs.m_RIT, "ws01");
    rs.MoveLast();
    EXPECT_EQ(rs.GetRecordCount(), 3);
    EXPECT_EQ(rs.GetSQL(), CString("SELECT [RIT], [Title], [Year], [Online], [Added] FROM [Flag File]"));

    // Filter and sort, the text compared without case.
    rs.m_strFilter = "RIT = 'OC01' OR RIT = 'WS01'";
    rs.m_strSort = "[Title] DESC";
    rs.Requery();
    EXPECT_STREQ(rs.m_Title, "War (1941)");
    rs.MoveNext();
    EXPECT_STREQ(rs.m_Title, "Museum");

    // An empty set.
    rs.m_strFilter = "RIT = 'Aint nutton found honey'";
    rs.Requery();
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.GetRecordCount(), 0);
    EXPECT_TRUE(rs.m_RIT.IsEmpty());
    EXPECT_EQ(DaoError([&] { rs.MoveFirst(); }), 3021);
    rs.Close();
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_EQ(DaoError([&] { rs.MoveFirst(); }), -AFX_DAO_ERROR_OBJECT_NOT_OPEN);
}

TEST_F(DaoClassesFixture, ParametersComeFromTheParameterMembers)
{
    CStatsSet rs(&db);
    rs.Open();
    EXPECT_STREQ(rs.m_Content, "All");
    EXPECT_EQ(rs.m_All, 900);
    EXPECT_EQ(rs.m_Geo, 120);
    rs.m_ContentParam = "media";
    rs.Requery();
    EXPECT_STREQ(rs.m_Content, "Media");
    EXPECT_EQ(rs.m_All, 300);
    rs.m_ContentParam = "It's \"none\"";
    rs.Requery();
    EXPECT_TRUE(rs.IsEOF());

    // A parameter count that does not match the binding is the class library's bind error.
    CStatsSet wrong(&db);
    wrong.m_nParams = 0;
    EXPECT_EQ(DaoError([&] { wrong.Open(); }), -AFX_DAO_ERROR_DFX_BIND);
    // A filter that names a parameter no member supplies is Jet's "too few parameters".
    CItemSet items(&db);
    items.m_strFilter = "[Title] = [TitleParam]";
    EXPECT_EQ(DaoError([&] { items.Open(); }), 3061);
}

TEST_F(DaoClassesFixture, EditAddNewDeleteAndRequery)
{
    CItemSet rs(&db);
    rs.m_strSort = "[Title]";
    rs.Open();
    ASSERT_STREQ(rs.m_Title, "Museum");
    rs.Edit();
    rs.m_Title = "Zoo of O'Brien's \"days\"";  // quotes are data, never statement text
    rs.m_Online = TRUE;
    rs.Update();
    EXPECT_STREQ(rs.m_Title, "Zoo of O'Brien's \"days\"");
    // Requery after the edit: the sort puts the row last.
    rs.Requery();
    EXPECT_STREQ(rs.m_Title, "Space");
    rs.MoveLast();
    EXPECT_STREQ(rs.m_Title, "Zoo of O'Brien's \"days\"");
    EXPECT_TRUE(rs.m_Online);

    // CancelUpdate puts the members back.
    rs.Edit();
    rs.m_Title = "never";
    rs.CancelUpdate();
    EXPECT_STREQ(rs.m_Title, "Zoo of O'Brien's \"days\"");
    EXPECT_EQ(DaoError([&] { rs.Update(); }), 3020);

    // AddNew starts from Null members; the record that was current stays current.
    rs.MoveFirst();
    rs.AddNew();
    EXPECT_EQ(rs.GetEditMode(), dbEditAdd);
    EXPECT_TRUE(rs.m_Title.IsEmpty());
    EXPECT_EQ(rs.m_Added.GetStatus(), COleDateTime::null);
    rs.m_RIT = "yb02";
    rs.m_Title = "Apollo";
    rs.m_Added = COleDateTime(1969, 7, 20, 20, 17, 40);
    rs.Update();
    EXPECT_STREQ(rs.m_Title, "Space");
    rs.MoveLast();
    EXPECT_STREQ(rs.m_Title, "Apollo");
    EXPECT_TRUE(rs.m_Added == COleDateTime(1969, 7, 20, 20, 17, 40));
    EXPECT_TRUE(rs.IsFieldNull(&rs.m_Year));  // never set: Null in the table
    COleVariant year = rs.GetFieldValue("[Year]");
    EXPECT_EQ(year.vt, VT_NULL);

    // Delete, then move on.
    rs.MoveFirst();
    rs.Delete();
    EXPECT_TRUE(rs.IsDeleted());
    EXPECT_EQ(DaoError([&] { rs.GetFieldValue("RIT"); }), 3167);
    rs.MoveNext();
    EXPECT_STREQ(rs.m_Title, "War (1941)");
    CItemSet check(&db);
    check.m_strFilter = "[Title] = 'Space'";
    check.Open();
    EXPECT_TRUE(check.IsEOF());
}

TEST_F(DaoClassesFixture, FieldValuesByName)
{
    CDaoRecordset rs(&db);  // no bound members: fields are read by name
    rs.Open(dbOpenDynaset, "SELECT * FROM [Flag File] WHERE RIT = 'oc01'");
    EXPECT_EQ(rs.GetFieldCount(), 5);
    COleVariant v;
    rs.GetFieldValue("title", v);
    ASSERT_EQ(v.vt, VT_BSTR);
    EXPECT_STREQ(V_BSTRT(&v), "War (1941)");
    EXPECT_EQ(rs.GetFieldValue("[Year]").vt, VT_R8);
    EXPECT_EQ(rs.GetFieldValue("Online").vt, VT_BOOL);
    EXPECT_EQ(rs.GetFieldValue("Online").boolVal, VARIANT_TRUE);
    COleVariant added = rs.GetFieldValue(4);
    ASSERT_EQ(added.vt, VT_DATE);
    EXPECT_EQ(COleDateTime(added.date).GetYear(), 1998);
    EXPECT_EQ(DaoError([&] { rs.GetFieldValue("Nope"); }), 3265);
    EXPECT_EQ(DaoError([&] { rs.SetFieldValue("Title", "x"); }), 3020);  // not editing

    rs.Edit();
    rs.SetFieldValue("Title", "Peace");
    rs.SetFieldValue("Year", COleVariant(1945.0));
    rs.SetFieldValueNull("Added");
    rs.Update();
    rs.Requery();
    COleVariant title = rs.GetFieldValue("Title");
    EXPECT_STREQ(V_BSTRT(&title), "Peace");
    EXPECT_EQ(rs.GetFieldValue("Year").dblVal, 1945.0);
    EXPECT_EQ(rs.GetFieldValue("Added").vt, VT_NULL);
}

TEST_F(DaoClassesFixture, OpenTypesAndOptions)
{
    CItemSet snap(&db);
    snap.Open(dbOpenSnapshot);
    EXPECT_FALSE(snap.CanUpdate());
    EXPECT_EQ(DaoError([&] { snap.Edit(); }), 3027);

    CItemSet table(&db);
    table.Open(dbOpenTable, "[Flag File]");
    EXPECT_EQ(table.GetRecordCount(), 3);  // known at once

    CItemSet ro(&db);
    ro.Open(dbOpenDynaset, NULL, dbReadOnly);
    EXPECT_FALSE(ro.CanUpdate());
    EXPECT_FALSE(ro.CanAppend());
    EXPECT_EQ(DaoError([&] { ro.AddNew(); }), 3027);

    CItemSet append(&db);
    append.Open(dbOpenDynaset, NULL, dbAppendOnly);
    EXPECT_TRUE(append.IsEOF());
    append.AddNew();
    append.m_RIT = "new";
    append.Update();
    append.MoveFirst();
    EXPECT_STREQ(append.m_RIT, "new");

    // The join the online extras pane reads: not updatable.
    CDaoRecordset join(&db);
    join.Open(dbOpenDynaset, "SELECT DISTINCTROW a.RIT AS RIT, b.Title AS TITLE FROM [Flag File] AS a INNER JOIN "
                             "[Flag File] AS b ON a.RIT = b.RIT WHERE a.RIT = 'WS01'");
    EXPECT_FALSE(join.CanUpdate());
    COleVariant joined = join.GetFieldValue("TITLE");
    EXPECT_STREQ(V_BSTRT(&joined), "Museum");

    // Closing the database closes its record sets.
    db.Close();
    EXPECT_FALSE(snap.IsOpen());
    EXPECT_FALSE(append.IsOpen());
    EXPECT_FALSE(join.IsOpen());
}

TEST_F(DaoClassesFixture, TransactionsOfTheDefaultWorkspace)
{
    CDaoWorkspace ws;
    ws.Open();  // the default workspace: the one db joined
    EXPECT_TRUE(ws.IsOpen());
    EXPECT_EQ(ws.GetName(), CString("#Default Workspace#"));
    EXPECT_TRUE(db.CanTransact());

    ws.BeginTrans();
    db.Execute("DELETE FROM [Flag File]");
    EXPECT_EQ(db.GetRecordsAffected(), 3);
    ws.Rollback();
    CItemSet rs(&db);
    rs.Open();
    rs.MoveLast();
    EXPECT_EQ(rs.GetRecordCount(), 3);

    ws.BeginTrans();
    rs.AddNew();
    rs.m_RIT = "kept";
    rs.Update();
    ws.BeginTrans();  // nested: only this level is undone
    db.Execute("DELETE FROM [Flag File] WHERE RIT = 'ws01'");
    ws.Rollback();
    ws.CommitTrans();

    // Another database object in the same workspace sees the committed rows.
    CDaoDatabase other;
    other.Open(name.c_str());
    CItemSet check(&other);
    check.Open();
    check.MoveLast();
    EXPECT_EQ(check.GetRecordCount(), 4);
    EXPECT_STREQ(check.m_RIT, "kept");

    EXPECT_EQ(DaoError([&] { ws.CommitTrans(); }), 3034);
    EXPECT_EQ(DaoError([&] { ws.Rollback(); }), 3034);
}

int g_boxes = 0;
CString g_boxText;
int AFXAPI CaptureBox(LPCSTR lpszText, UINT)
{
    ++g_boxes;
    g_boxText = lpszText;
    return 1;  // IDOK
}

TEST_F(DaoClassesFixture, ExecuteFailureRaisesAReadableException)
{
    g_boxes = 0;
    AfxSetReportErrorHandler(&CaptureBox);
    try {
        db.Execute("DELETE FROM [Flag Files]", dbFailOnError);
        FAIL() << "no exception";
    } catch (CDaoException* e) {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CDaoException)));
        ASSERT_NE(e->m_pErrorInfo, nullptr);
        EXPECT_EQ(e->GetErrorCount(), 1);
        EXPECT_EQ(e->m_pErrorInfo->m_lErrorCode, 3078);
        EXPECT_EQ(e->m_pErrorInfo->m_strSource, CString("DAO.Database"));
        EXPECT_EQ(e->m_pErrorInfo->m_strDescription,
                  CString("The database engine cannot find the input table or query 'Flag Files'. Make sure it "
                          "exists and that its name is spelled correctly."));
        e->ReportError();
        e->Delete();
    }
    EXPECT_EQ(g_boxes, 1);
    EXPECT_TRUE(g_boxText.Find("'Flag Files'") >= 0);

    // A title with an apostrophe put into the text as it stands breaks the statement, as the
    // program's record sets expect; doubled, it is a plain literal.
    EXPECT_EQ(DaoError([&] { db.Execute("INSERT INTO [Flag File] (Title) VALUES ('O'Brien')"); }), 3075);
    db.Execute("INSERT INTO [Flag File] (Title) VALUES ('O''Brien')");
    EXPECT_EQ(db.GetRecordsAffected(), 1);
}

TEST_F(DaoClassesFixture, OpeningDatabases)
{
    CDaoDatabase missing;
    try {
        missing.Open("C:\\no\\such\\folder\\vl00i1.mdb");
        FAIL() << "no exception";
    } catch (CDaoException* e) {
        EXPECT_EQ(e->m_pErrorInfo->m_lErrorCode, 3024);
        EXPECT_EQ(e->m_pErrorInfo->m_strDescription, CString("Couldn't find file 'C:\\no\\such\\folder\\vl00i1.mdb'."));
        e->Delete();
    }
    EXPECT_FALSE(missing.IsOpen());

    CDaoDatabase ro;
    ro.Open(name.c_str(), FALSE, TRUE);
    EXPECT_FALSE(ro.CanUpdate());
    EXPECT_EQ(DaoError([&] { ro.Execute("DELETE FROM [Flag File]"); }), 3027);
    CItemSet rs(&ro);
    rs.Open();
    EXPECT_FALSE(rs.CanUpdate());
    ro.Close();

    db.Close();
    CDaoDatabase ex;
    ex.Open(name.c_str(), TRUE);
    CDaoDatabase second;
    EXPECT_EQ(DaoError([&] { second.Open(name.c_str()); }), 3045);
    ex.Close();
    second.Open(name.c_str());
    EXPECT_TRUE(second.IsOpen());
    EXPECT_EQ(DaoError([&] { CDaoDatabase again; again.Create(name.c_str()); }), 3204);
}

TEST(OleDateTime, PartsFormatsAndParsing)
{
    struct Case {
        int y, mo, d, h, mi, s;
        double dt;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},      {1900, 1, 1, 0, 0, 0, 2.0},
        {1899, 12, 29, 6, 0, 0, -1.25},    {2000, 2, 29, 12, 0, 0, 36585.5},
        {1969, 7, 20, 20, 17, 40, 25404.845601851851},
    };
    for (const Case& c : cases) {
        COleDateTime t(c.y, c.mo, c.d, c.h, c.mi, c.s);
        EXPECT_EQ(t.GetStatus(), COleDateTime::valid);
        EXPECT_NEAR(t.m_dt, c.dt, 1e-9) << c.y << "-" << c.mo << "-" << c.d;
        COleDateTime back(c.dt);
        EXPECT_EQ(back.GetYear(), c.y);
        EXPECT_EQ(back.GetMonth(), c.mo);
        EXPECT_EQ(back.GetDay(), c.d);
        EXPECT_EQ(back.GetHour(), c.h);
        EXPECT_EQ(back.GetMinute(), c.mi);
        EXPECT_EQ(back.GetSecond(), c.s);
    }
    // Before the epoch the fraction still counts forward: 06:00 comes after midnight.
    EXPECT_TRUE(COleDateTime(-1.25) > COleDateTime(-1.0));
    EXPECT_EQ(COleDateTime(2026, 12, 10, 0, 0, 0).GetDayOfWeek(), 5);  // a Thursday
    EXPECT_EQ(COleDateTime(2000, 12, 31, 0, 0, 0).GetDayOfYear(), 366);
    COleDateTime bad(2001, 2, 29, 0, 0, 0);
    EXPECT_EQ(bad.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(bad.GetYear(), AFX_OLE_DATETIME_ERROR);
    EXPECT_EQ(bad.Format(), CString("Invalid DateTime"));
    EXPECT_EQ(COleDateTime(1999, 3, 4, 13, 5, 0).Format(), CString("3/4/1999 1:05:00 PM"));
    EXPECT_EQ(COleDateTime(1999, 3, 4, 0, 0, 0).Format(), CString("3/4/1999"));
    EXPECT_EQ(COleDateTime(1999, 3, 4, 13, 5, 0).Format("%Y-%m-%d %H:%M:%S %A"),
              CString("1999-03-04 13:05:00 Thursday"));
    COleDateTime p;
    EXPECT_TRUE(p.ParseDateTime("12/31/1998 11:59:59 PM"));
    EXPECT_TRUE(p == COleDateTime(1998, 12, 31, 23, 59, 59));
    EXPECT_FALSE(p.ParseDateTime("sometime"));
    EXPECT_EQ(p.GetStatus(), COleDateTime::invalid);
}

TEST(OleVariant, ConversionsAndCopies)
{
    COleVariant text("1941");
    COleVariant copy = text;
    EXPECT_TRUE(copy == text);
    EXPECT_TRUE(copy.ChangeType(VT_I4));
    EXPECT_EQ(copy.lVal, 1941);
    EXPECT_TRUE(copy.ChangeType(VT_BSTR));
    EXPECT_STREQ(V_BSTRT(&copy), "1941");
    COleVariant word("war");
    EXPECT_FALSE(word.ChangeType(VT_R8));
    EXPECT_EQ(word.vt, VT_BSTR);
    COleVariant big(100000L);
    EXPECT_FALSE(big.ChangeType(VT_I2));
    COleVariant flag(static_cast<short>(1), VT_BOOL);
    EXPECT_EQ(flag.boolVal, VARIANT_TRUE);
    EXPECT_TRUE(flag.ChangeType(VT_I2));
    EXPECT_EQ(flag.iVal, -1);
    COleVariant date(COleDateTime(1999, 3, 4, 0, 0, 0));
    EXPECT_TRUE(date.ChangeType(VT_BSTR));
    EXPECT_STREQ(V_BSTRT(&date), "3/4/1999");
    COleVariant null;
    null.vt = VT_NULL;
    EXPECT_FALSE(null.ChangeType(VT_I4));
    null.Clear();
    EXPECT_EQ(null.vt, VT_EMPTY);
}

}  // namespace
