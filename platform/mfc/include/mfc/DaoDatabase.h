// CDaoWorkspace and CDaoDatabase: the session that frames transactions and the open database
// files in it. A database object built without a workspace opens in the default workspace, the
// one session every such database shares; a transaction begun there covers all of them.
#pragma once

#include <windef.h>

#include <mfc/DaoException.h>
#include <mfc/Object.h>
#include <mfc/String.h>

#include <memory>
#include <vector>

// Types of record set (DAO's RecordsetTypeEnum).
#define dbOpenTable 1
#define dbOpenDynaset 2
#define dbOpenSnapshot 4
#define dbOpenForwardOnly 8
#define dbOpenDynamic 16

// Options of record sets and of Execute (DAO's RecordsetOptionEnum).
#define dbDenyWrite 0x1
#define dbDenyRead 0x2
#define dbReadOnly 0x4
#define dbAppendOnly 0x8
#define dbInconsistent 0x10
#define dbConsistent 0x20
#define dbSQLPassThrough 0x40
#define dbFailOnError 0x80
#define dbForwardOnly 0x100
#define dbSeeChanges 0x200

// Edit modes of a record set.
#define dbEditNone 0
#define dbEditInProgress 1
#define dbEditAdd 2

#define dbLangGeneral ";LANGID=0x0409;CP=1252;COUNTRY=0"

class CDaoDatabase;
class CDaoRecordset;
struct CDaoWorkspaceState;
namespace daosql {
class Connection;
}

class CDaoWorkspace : public CObject {
    DECLARE_DYNAMIC(CDaoWorkspace)
public:
    CDaoWorkspace();
    virtual ~CDaoWorkspace();

    // A new session of its own (its transactions do not touch the default workspace's files).
    virtual void Create(LPCSTR lpszName, LPCSTR lpszUserName, LPCSTR lpszPassword);
    // Opens the default workspace (a null or empty name, or "#Default Workspace#").
    virtual void Open(LPCSTR lpszName = NULL);
    virtual void Close();
    BOOL IsOpen() const;
    CString GetName();
    CString GetUserName();

    // Transactions over every database open in the workspace. They nest five deep.
    // CommitTrans and Rollback without a transaction raise CDaoException (3034).
    void BeginTrans();
    void CommitTrans();
    void Rollback();

    // Not part of the platform's interface: the shared state behind the workspace.
    std::shared_ptr<CDaoWorkspaceState> GetState() const { return m_state; }

private:
    void EndTrans(BOOL bCommit);

    std::shared_ptr<CDaoWorkspaceState> m_state;
};

class CDaoDatabase : public CObject {
    DECLARE_DYNAMIC(CDaoDatabase)
public:
    CDaoDatabase(CDaoWorkspace* pWorkspace = NULL);
    virtual ~CDaoDatabase();

    // Opens a database file (a platform path). bExclusive keeps everyone else out while it is
    // open; bReadOnly refuses every change. Raises CDaoException: 3024 when the file is
    // missing, 3045 when another holds it exclusively, 3343 when it is no database.
    virtual void Open(LPCSTR lpszName, BOOL bExclusive = FALSE, BOOL bReadOnly = FALSE, LPCSTR lpszConnect = "");
    // Makes a new, empty database file (3204 when the file exists) and opens it.
    virtual void Create(LPCSTR lpszName, LPCSTR lpszLocale = dbLangGeneral, int dwOptions = 0);
    // Closes the record sets still open on it, then the file.
    virtual void Close();

    BOOL IsOpen() const;
    BOOL CanUpdate();
    BOOL CanTransact();
    CString GetName();
    CString GetConnect();
    long GetRecordsAffected();

    // Runs an action query (INSERT, UPDATE, DELETE, CREATE ...). With dbFailOnError a failure
    // undoes the whole statement and raises CDaoException; without it the rows that break a
    // rule are left out and the rest is done.
    void Execute(LPCSTR lpszSQL, int nOptions = dbFailOnError);

    CDaoWorkspace* m_pWorkspace;

    // Not part of the platform's interface: the engine's connection, and the record sets that
    // Close closes.
    daosql::Connection* GetConnection() const { return m_connection.get(); }
    void AddRecordset(CDaoRecordset* pSet);
    void RemoveRecordset(CDaoRecordset* pSet);

private:
    void OpenFile(LPCSTR lpszName, BOOL bExclusive, BOOL bReadOnly, BOOL bCreate);

    std::unique_ptr<daosql::Connection> m_connection;
    std::shared_ptr<CDaoWorkspaceState> m_workspaceState;  // the session it joined
    BOOL m_bOwnsWorkspace;
    CString m_strName;
    CString m_strConnect;
    std::vector<CDaoRecordset*> m_recordsets;
};
