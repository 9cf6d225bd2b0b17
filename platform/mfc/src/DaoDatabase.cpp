#include <afx.h>
#include <mfc/DaoDatabase.h>
#include <mfc/DaoRecordset.h>

#include <host/Paths.h>

#include "DaoInternal.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>

namespace {

const char* const kDefaultName = "#Default Workspace#";

std::mutex& RegistryLock()
{
    static std::mutex lock;
    return lock;
}

// Workspaces made with Create, by name, while anyone holds them.
std::map<std::string, std::weak_ptr<CDaoWorkspaceState>>& Created()
{
    static std::map<std::string, std::weak_ptr<CDaoWorkspaceState>> workspaces;
    return workspaces;
}

[[noreturn]] void Fail(long code, const std::string& text, const char* source)
{
    DaoThrow(daosql::Error(code, text, source));
}

}  // namespace

std::shared_ptr<CDaoWorkspaceState> DaoDefaultWorkspace()
{
    static std::shared_ptr<CDaoWorkspaceState> state = [] {
        auto s = std::make_shared<CDaoWorkspaceState>();
        s->name = kDefaultName;
        return s;
    }();
    return state;
}

// --- CDaoWorkspace --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDaoWorkspace, CObject)

CDaoWorkspace::CDaoWorkspace() = default;

CDaoWorkspace::~CDaoWorkspace() = default;

void CDaoWorkspace::Create(LPCSTR lpszName, LPCSTR, LPCSTR)
{
    Close();
    auto state = std::make_shared<CDaoWorkspaceState>();
    state->name = lpszName ? lpszName : "";
    std::lock_guard<std::mutex> hold(RegistryLock());
    Created()[state->name] = state;
    m_state = state;
}

void CDaoWorkspace::Open(LPCSTR lpszName)
{
    std::string name = lpszName ? lpszName : "";
    if (name.empty() || name == kDefaultName) {
        m_state = DaoDefaultWorkspace();
        return;
    }
    std::lock_guard<std::mutex> hold(RegistryLock());
    auto it = Created().find(name);
    std::shared_ptr<CDaoWorkspaceState> state = it == Created().end() ? nullptr : it->second.lock();
    if (!state)
        Fail(daosql::kErrItemNotFound, "Item not found in this collection.", "DAO.Workspaces");
    m_state = state;
}

void CDaoWorkspace::Close() { m_state.reset(); }

BOOL CDaoWorkspace::IsOpen() const { return m_state != nullptr; }

CString CDaoWorkspace::GetName()
{
    if (!m_state)
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    return CString(m_state->name.c_str());
}

CString CDaoWorkspace::GetUserName()
{
    if (!m_state)
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    return CString("admin");
}

void CDaoWorkspace::BeginTrans()
{
    if (!m_state)
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    if (m_state->level >= 5)
        Fail(3003, "Couldn't start transaction; too many transactions already nested.", "DAO.Workspace");
    std::size_t done = 0;
    try {
        for (; done < m_state->databases.size(); ++done)
            m_state->databases[done]->GetConnection()->BeginTrans();
    } catch (const daosql::Error& e) {
        for (std::size_t i = 0; i < done; ++i) {
            try {
                m_state->databases[i]->GetConnection()->Rollback();
            } catch (const daosql::Error&) {
            }
        }
        DaoThrow(e);
    }
    ++m_state->level;
}

void CDaoWorkspace::CommitTrans() { EndTrans(TRUE); }

void CDaoWorkspace::Rollback() { EndTrans(FALSE); }

// Ends the innermost transaction on every open database of the workspace.
void CDaoWorkspace::EndTrans(BOOL bCommit)
{
    if (!m_state)
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    if (m_state->level == 0)
        Fail(daosql::kErrNoTransaction,
             "You tried to commit or rollback a transaction without first beginning a transaction.", "DAO.Workspace");
    for (CDaoDatabase* db : m_state->databases)
        DaoCall([&] {
            if (bCommit)
                db->GetConnection()->CommitTrans();
            else
                db->GetConnection()->Rollback();
        });
    --m_state->level;
}

// --- CDaoDatabase ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDaoDatabase, CObject)

CDaoDatabase::CDaoDatabase(CDaoWorkspace* pWorkspace) : m_pWorkspace(pWorkspace), m_bOwnsWorkspace(FALSE) {}

CDaoDatabase::~CDaoDatabase()
{
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
    }
}

void CDaoDatabase::Open(LPCSTR lpszName, BOOL bExclusive, BOOL bReadOnly, LPCSTR lpszConnect)
{
    OpenFile(lpszName, bExclusive, bReadOnly, FALSE);
    m_strConnect = lpszConnect ? lpszConnect : "";
}

void CDaoDatabase::Create(LPCSTR lpszName, LPCSTR, int)
{
    OpenFile(lpszName, FALSE, FALSE, TRUE);
}

void CDaoDatabase::OpenFile(LPCSTR lpszName, BOOL bExclusive, BOOL bReadOnly, BOOL bCreate)
{
    Close();
    std::string name = lpszName ? lpszName : "";
    auto host = host::ToHostPath(name);
    if (name.empty() || !host)
        Fail(3044, "'" + name + "' isn't a valid path. Make sure that the path name is spelled correctly and that "
                   "you are connected to the server on which the file resides.",
             "DAO.Workspace");
    std::error_code ec;
    if (bCreate && std::filesystem::exists(*host, ec))
        Fail(3204, "Database already exists.", "DAO.Workspace");
    if (!m_pWorkspace) {
        m_pWorkspace = new CDaoWorkspace;
        m_bOwnsWorkspace = TRUE;
        m_pWorkspace->Open();
    }
    if (!m_pWorkspace->IsOpen())
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    daosql::OpenOptions options;
    options.exclusive = bExclusive != FALSE;
    options.readOnly = bReadOnly != FALSE;
    options.create = bCreate != FALSE;
    options.displayName = name;
    m_connection = DaoCall([&] { return std::make_unique<daosql::Connection>(*host, options); });
    auto state = m_pWorkspace->GetState();
    // A database that joins a workspace inside a transaction joins the transaction too.
    for (int i = 0; i < state->level; ++i)
        DaoCall([&] { m_connection->BeginTrans(); });
    state->databases.push_back(this);
    m_workspaceState = state;
    m_strName = name.c_str();
}

void CDaoDatabase::Close()
{
    while (!m_recordsets.empty())
        m_recordsets.back()->Close();
    if (m_connection) {
        if (m_workspaceState) {
            auto& dbs = m_workspaceState->databases;
            dbs.erase(std::remove(dbs.begin(), dbs.end(), this), dbs.end());
            m_workspaceState.reset();
        }
        m_connection.reset();
    }
    if (m_bOwnsWorkspace) {
        delete m_pWorkspace;
        m_pWorkspace = NULL;
        m_bOwnsWorkspace = FALSE;
    }
}

BOOL CDaoDatabase::IsOpen() const { return m_connection != nullptr; }

BOOL CDaoDatabase::CanUpdate()
{
    if (!m_connection)
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    return !m_connection->ReadOnly();
}

BOOL CDaoDatabase::CanTransact()
{
    if (!m_connection)
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    return TRUE;
}

CString CDaoDatabase::GetName() { return m_strName; }

CString CDaoDatabase::GetConnect() { return m_strConnect; }

long CDaoDatabase::GetRecordsAffected()
{
    if (!m_connection)
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    return m_connection->RecordsAffected();
}

void CDaoDatabase::Execute(LPCSTR lpszSQL, int nOptions)
{
    if (!m_connection)
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    DaoCall([&] { return m_connection->Execute(lpszSQL ? lpszSQL : "", (nOptions & dbFailOnError) != 0); });
}

void CDaoDatabase::AddRecordset(CDaoRecordset* pSet)
{
    if (std::find(m_recordsets.begin(), m_recordsets.end(), pSet) == m_recordsets.end())
        m_recordsets.push_back(pSet);
}

void CDaoDatabase::RemoveRecordset(CDaoRecordset* pSet)
{
    m_recordsets.erase(std::remove(m_recordsets.begin(), m_recordsets.end(), pSet), m_recordsets.end());
}
