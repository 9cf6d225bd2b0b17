#include "base/OurCenturyListSet.h"

#include "base/AppDatabase.h"

#include <afxcoll.h>
#include <afxwin.h>

// ---- COurCenturyListSet ----

IMPLEMENT_DYNAMIC(COurCenturyListSet, CXRecordset)

COurCenturyListSet::COurCenturyListSet(CDaoDatabase* pDatabase) : CXRecordset(pDatabase) { m_nFields = 1; }

CString COurCenturyListSet::GetDefaultSQL() { return "[Our Century List]"; }

void COurCenturyListSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[Item]", m_Item);
}

namespace {

// The distinct topics of the Back in Time titles, in the order they first occur; FALSE when
// there is no Back in Time article at all.
BOOL CollectTopics(CDaoDatabase* pDatabase, CStringArray& topics)
{
    COurCenturyTopicSet titles(pDatabase);
    titles.OpenRecordsetChecked(NULL, TRUE);
    if (titles.IsEOF())
        return FALSE;
    CMapStringToPtr seen;
    for (; !titles.IsEOF(); titles.MoveNext()) {
        int nParen = titles.m_Title.Find(" (");
        if (nParen < 0)
            continue;
        CString strTopic = titles.m_Title.Left(nParen);
        void* pDummy;
        if (!seen.Lookup(strTopic, pDummy)) {
            seen.SetAt(strTopic, NULL);
            topics.Add(strTopic);
        }
    }
    return TRUE;
}

}  // namespace

BOOL COurCenturyListSet::Rebuild(CDaoDatabase* pDatabase)
{
    if (pDatabase == NULL)
        pDatabase = GetAppDatabase();
    if (pDatabase == NULL || !pDatabase->IsOpen())
        return FALSE;

    CStringArray topics;
    BOOL bFound;
    pDatabase->m_pWorkspace->BeginTrans();
    try {
        pDatabase->Execute("DELETE FROM [Our Century List];", dbFailOnError);
        bFound = CollectTopics(pDatabase, topics);
        for (INT_PTR i = 0; i < topics.GetSize(); ++i)
            pDatabase->Execute("INSERT INTO [Our Century List] ( Item ) VALUES ( " + JetTextLiteral(topics[i]) + " );",
                               dbFailOnError);
        pDatabase->m_pWorkspace->CommitTrans();
    } catch (CException*) {
        try {
            pDatabase->m_pWorkspace->Rollback();
        } catch (CException* eRollback) {
            eRollback->Delete();
        }
        throw;
    }
    if (!bFound)
        AfxMessageBox("No 'Back In Time' articles available.", MB_OK | MB_ICONINFORMATION);
    return bFound;
}

// ---- COurCenturyTopicSet ----

IMPLEMENT_DYNAMIC(COurCenturyTopicSet, CXRecordset)

COurCenturyTopicSet::COurCenturyTopicSet(CDaoDatabase* pDatabase) : CXRecordset(pDatabase)
{
    m_nFields = 1;
    m_strFilter = "Type = 'OC'";
}

CString COurCenturyTopicSet::GetDefaultSQL() { return "[Flag File]"; }

void COurCenturyTopicSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[Title]", m_Title);
}
