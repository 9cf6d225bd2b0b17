// The program's database base: a DAO database on the default workspace, opened with the checks
// that give the reader a plain message (missing file, read-only file) instead of an engine
// error, and transactions that answer TRUE or FALSE instead of throwing.
#pragma once

#include <afx.h>
#include <afxdao.h>

class CXDatabase : public CDaoDatabase {
    DECLARE_DYNAMIC(CXDatabase)
public:
    CXDatabase();
    virtual ~CXDatabase();

    // Opens lpszFolder + lpszFileName (lpszFolder with its trailing backslash; NULL: the program's
    // folder) for shared reading and writing. A file whose status cannot be read is reported by
    // its bare name, a read-only file by its full path (exclamation box, FALSE, DAO not asked);
    // any framework exception on the way is shown with the standard error box and gives FALSE.
    BOOL OpenChecked(LPCSTR lpszFileName, LPCSTR lpszFolder = NULL);

    // The workspace's transaction operations: TRUE when done, FALSE (nothing shown) when the
    // workspace raised an exception or the database is not open.
    BOOL BeginTrans();
    BOOL CommitTrans();
    BOOL Rollback();
};
