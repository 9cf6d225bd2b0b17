#include "base/XDatabase.h"

#include "base/DataFolders.h"

#include <afxwin.h>

IMPLEMENT_DYNAMIC(CXDatabase, CDaoDatabase)

CXDatabase::CXDatabase() : CDaoDatabase(NULL) {}

CXDatabase::~CXDatabase() = default;

BOOL CXDatabase::OpenChecked(LPCSTR lpszFileName, LPCSTR lpszFolder)
{
    try {
        const CString strName = lpszFileName != NULL ? lpszFileName : "";
        const CString strPath = (lpszFolder != NULL ? CString(lpszFolder) : GetProgramDir()) + strName;

        CFileStatus status;
        if (!CFile::GetStatus(strPath, status)) {
            CString strText;
            strText.Format("The Veltra database file \"%s\" could not be found.", (LPCSTR)strName);
            AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        if (status.m_attribute & CFile::readOnly) {
            CString strText;
            strText.Format("The Veltra database file \"%s\" is read-only and connot be opened properly.",
                           (LPCSTR)strPath);
            AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        Open(strPath, FALSE, FALSE, "");
        return TRUE;
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
        return FALSE;
    }
}

namespace {

// Runs one operation of the database's workspace; FALSE when it raised.
template <class Operation>
BOOL RunOnWorkspace(CDaoWorkspace* pWorkspace, Operation operation)
{
    if (pWorkspace == NULL)
        return FALSE;
    try {
        operation(*pWorkspace);
        return TRUE;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
}

}  // namespace

BOOL CXDatabase::BeginTrans()
{
    return RunOnWorkspace(m_pWorkspace, [](CDaoWorkspace& w) { w.BeginTrans(); });
}

BOOL CXDatabase::CommitTrans()
{
    return RunOnWorkspace(m_pWorkspace, [](CDaoWorkspace& w) { w.CommitTrans(); });
}

BOOL CXDatabase::Rollback()
{
    return RunOnWorkspace(m_pWorkspace, [](CDaoWorkspace& w) { w.Rollback(); });
}
