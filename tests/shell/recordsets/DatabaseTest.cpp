// The database wrapper: the checked open and its messages, transactions, and the checked open of
// record sets.
#include "RecordsetTestSupport.h"

#include "base/FlagSet.h"
#include "base/XRecordset.h"

#include <gtest/gtest.h>

#include <string>

namespace recordsets_test {
namespace {

TEST_F(DatabaseTest, OpensTheBuiltDatabaseWithoutAWord)
{
    BuildSampleDatabase();
    EXPECT_TRUE(db.OpenDatabase("T:\\"));
    EXPECT_TRUE(db.IsOpen());
    EXPECT_TRUE(db.CanUpdate());
    EXPECT_STREQ(db.GetName(), "T:\\vl00i1.mdb");
    EXPECT_TRUE(host::MessageBoxLog().empty());
    EXPECT_STREQ(db.GetRuntimeClass()->m_lpszClassName, "CXDatabase");
}

TEST_F(DatabaseTest, AMissingFileIsNamedByItsBareName)
{
    host::AnswerMessageBox("could not be found", IDOK);
    EXPECT_FALSE(db.OpenDatabase("T:\\"));
    EXPECT_FALSE(db.IsOpen());
    auto log = host::MessageBoxLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text, "The Veltra database file \"vl00i1.mdb\" could not be found.");
    EXPECT_EQ(log[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST_F(DatabaseTest, TheProgramFolderIsTheDefault)
{
    // The test program's folder holds no database.
    host::AnswerMessageBox("could not be found", IDOK);
    EXPECT_FALSE(db.OpenDatabase());
    EXPECT_EQ(OnlyBoxText(), "The Veltra database file \"vl00i1.mdb\" could not be found.");
}

TEST_F(DatabaseTest, AReadOnlyFileIsRefusedBeforeTheEngineSeesIt)
{
    BuildSampleDatabase();
    ASSERT_TRUE(SetFileAttributes("T:\\vl00i1.mdb", FILE_ATTRIBUTE_READONLY));
    host::AnswerMessageBox("read-only", IDOK);
    EXPECT_FALSE(db.OpenDatabase("T:\\"));
    EXPECT_FALSE(db.IsOpen());
    auto log = host::MessageBoxLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text, "The Veltra database file \"T:\\vl00i1.mdb\" is read-only and connot be opened properly.");
    EXPECT_EQ(log[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST_F(DatabaseTest, ADamagedFileShowsTheEnginesErrorInTheStandardBox)
{
    dir.Write("t/vl00i1.mdb", std::string(4096, '\x5A'));
    host::AnswerMessageBox("Unrecognized database format", IDOK);
    EXPECT_FALSE(db.OpenDatabase("T:\\"));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(OnlyBoxText(), "Unrecognized database format 'T:\\vl00i1.mdb'.");
}

TEST_F(DatabaseTest, TransactionsAnswerTrueOrFalseAndShowNothing)
{
    // Not open: no workspace to ask.
    EXPECT_FALSE(db.BeginTrans());
    BuildSampleDatabase();
    OpenAppDatabase();

    EXPECT_FALSE(db.CommitTrans());  // none begun
    EXPECT_FALSE(db.Rollback());

    auto rows = [&] {
        CMtlSet set(&db);
        set.Open();
        long n = 0;
        for (; !set.IsEOF(); set.MoveNext())
            ++n;
        return n;
    };
    const long before = rows();
    ASSERT_TRUE(db.BeginTrans());
    db.Execute("DELETE FROM [Flag File MTL];");
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(db.Rollback());
    EXPECT_EQ(rows(), before);

    ASSERT_TRUE(db.BeginTrans());
    db.Execute("INSERT INTO [Flag File MTL] ([MTL Number], RIT) VALUES ('009999', 'ws000001');");
    EXPECT_TRUE(db.CommitTrans());
    EXPECT_EQ(rows(), before + 1);
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

// A record set over a table the database does not have.
class CMissingTableSet : public CXRecordset {
public:
    explicit CMissingTableSet(CDaoDatabase* pdb) : CXRecordset(pdb) { m_nFields = 1; }
    CString GetDefaultSQL() override { return "[No Such Table]"; }
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        pFX->SetFieldType(CDaoFieldExchange::outputColumn);
        DFX_Text(pFX, "[Item]", m_Item);
    }
    CString m_Item;
};

TEST_F(SampleDatabaseTest, AFailedRecordSetOpenShowsOneBoxAndStillThrows)
{
    host::AnswerMessageBox("No Such Table", IDOK);
    CMissingTableSet set(&db);
    bool caught = false;
    try {
        set.OpenRecordsetChecked();
    } catch (CDaoException* e) {
        caught = true;
        ASSERT_NE(e->m_pErrorInfo, nullptr);
        EXPECT_EQ(e->m_pErrorInfo->m_lErrorCode, 3078);
        e->Delete();
    }
    EXPECT_TRUE(caught);
    EXPECT_FALSE(set.IsOpen());
    EXPECT_NE(OnlyBoxText().find("No Such Table"), std::string::npos);
}

TEST_F(SampleDatabaseTest, ACheckedOpenIsADynasetAndMayBeReadOnly)
{
    CFlagSet set(&db);
    EXPECT_TRUE(set.OpenRecordsetChecked());
    EXPECT_EQ(set.GetType(), dbOpenDynaset);
    EXPECT_TRUE(set.CanUpdate());
    set.Close();
    EXPECT_TRUE(set.OpenRecordsetChecked(NULL, TRUE));
    EXPECT_FALSE(set.CanUpdate());
    EXPECT_STREQ(set.GetDefaultDBName(), "");
}

TEST(JetTextTest, LiteralsDoubleQuotesAndLikePatternsBracketWildcards)
{
    EXPECT_STREQ(JetTextLiteral("O'Keeffe's"), "'O''Keeffe''s'");
    EXPECT_STREQ(JetTextLiteral(""), "''");
    EXPECT_STREQ(JetLikeEscape("A*B?C#D[E]"), "A[*]B[?]C[#]D[[]E]");
    EXPECT_STREQ(JetLikeEscape("plain"), "plain");
}

}  // namespace
}  // namespace recordsets_test
