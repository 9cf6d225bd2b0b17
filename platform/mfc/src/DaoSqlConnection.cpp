// A database file opened for the DAO classes: the engine's text rules installed on the
// connection, statements prepared and bound, failures turned into Jet's errors, transactions.
#include "DaoSql.h"

#include <sqlite3.h>

#include <cstring>

namespace daosql {

namespace {

int CollateNoCase(void*, int na, const void* a, int nb, const void* b)
{
    return CompareText(static_cast<const char*>(a), static_cast<std::size_t>(na),
                         static_cast<const char*>(b), static_cast<std::size_t>(nb));
}

std::string TextArg(sqlite3_value* v)
{
    const unsigned char* p = sqlite3_value_text(v);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(sqlite3_value_bytes(v)))
             : std::string();
}

void ResultText(sqlite3_context* ctx, const std::string& s)
{
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

bool AnyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

// X LIKE Y calls like(Y, X).
void FnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, JetLike(TextArg(argv[1]), TextArg(argv[0])) ? 1 : 0);
}

// UCase and LCase: every character through the platform's case table.
template <auto Fold>
void FnCase(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv))
        return sqlite3_result_null(ctx);
    std::string s = TextArg(argv[0]);
    for (char& c : s)
        c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    ResultText(ctx, s);
}

void FnLen(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(TextArg(argv[0]).size()));
}

void FnLeft(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv))
        return sqlite3_result_null(ctx);
    std::string s = TextArg(argv[0]);
    sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_error(ctx, "Invalid procedure call", -1);
    ResultText(ctx, s.substr(0, static_cast<std::size_t>(n)));
}

void FnRight(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv))
        return sqlite3_result_null(ctx);
    std::string s = TextArg(argv[0]);
    sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_error(ctx, "Invalid procedure call", -1);
    std::size_t k = static_cast<std::size_t>(n) > s.size() ? s.size() : static_cast<std::size_t>(n);
    ResultText(ctx, s.substr(s.size() - k));
}

// Mid(text, start[, length]) with a 1-based start.
void FnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv))
        return sqlite3_result_null(ctx);
    std::string s = TextArg(argv[0]);
    sqlite3_int64 start = sqlite3_value_int64(argv[1]);
    sqlite3_int64 len = argc > 2 ? sqlite3_value_int64(argv[2]) : static_cast<sqlite3_int64>(s.size());
    if (start < 1 || len < 0)
        return sqlite3_result_error(ctx, "Invalid procedure call", -1);
    if (static_cast<std::size_t>(start) > s.size())
        return ResultText(ctx, std::string());
    ResultText(ctx, s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(len)));
}

void Install(sqlite3* db)
{
    // A quoted name that names no column is an error, never a text literal: a misspelt [name]
    // must fail as Jet fails it, not quietly compare with its own spelling.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    // Replaces the engine's own NOCASE (ASCII only) for this connection: Windows-1252 letters
    // fold too, so columns declared COLLATE NOCASE compare and sort as Jet's text does.
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, CollateNoCase);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, FnLike, nullptr, nullptr);
    sqlite3_create_function(db, "UCase", 1, flags, nullptr, FnCase<FoldUpper>, nullptr, nullptr);
    sqlite3_create_function(db, "LCase", 1, flags, nullptr, FnCase<FoldLower>, nullptr, nullptr);
    sqlite3_create_function(db, "Len", 1, flags, nullptr, FnLen, nullptr, nullptr);
    sqlite3_create_function(db, "Left", 2, flags, nullptr, FnLeft, nullptr, nullptr);
    sqlite3_create_function(db, "Right", 2, flags, nullptr, FnRight, nullptr, nullptr);
    sqlite3_create_function(db, "Mid", 2, flags, nullptr, FnMid, nullptr, nullptr);
    sqlite3_create_function(db, "Mid", 3, flags, nullptr, FnMid, nullptr, nullptr);
}

bool Contains(const char* text, const char* part) { return text && std::strstr(text, part); }

std::string After(const char* text, const char* prefix)
{
    const char* p = std::strstr(text, prefix);
    return p ? std::string(p + std::strlen(prefix)) : std::string();
}

}  // namespace

Statement::~Statement()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

Statement& Statement::operator=(Statement&& o) noexcept
{
    if (this != &o) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_stmt = o.m_stmt;
        o.m_stmt = nullptr;
    }
    return *this;
}

Value ColumnValue(sqlite3_stmt* stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, i);
    case SQLITE_NULL:
        return std::monostate{};
    default: {
        const void* p = sqlite3_column_blob(stmt, i);
        int n = sqlite3_column_bytes(stmt, i);
        return p ? std::string(static_cast<const char*>(p), static_cast<std::size_t>(n)) : std::string();
    }
    }
}

void BindValue(sqlite3_stmt* stmt, int index, const Value& v)
{
    if (auto* i = std::get_if<std::int64_t>(&v))
        sqlite3_bind_int64(stmt, index, *i);
    else if (auto* d = std::get_if<double>(&v))
        sqlite3_bind_double(stmt, index, *d);
    else if (auto* s = std::get_if<std::string>(&v))
        sqlite3_bind_text(stmt, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else
        sqlite3_bind_null(stmt, index);
}

Connection::Connection(const std::string& hostPath, const OpenOptions& options)
    : m_path(hostPath), m_readOnly(options.readOnly)
{
    const std::string shown = options.displayName.empty() ? hostPath : options.displayName;
    int flags = options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (options.create && !options.readOnly)
        flags |= SQLITE_OPEN_CREATE;
    int rc = sqlite3_open_v2(hostPath.c_str(), &m_db, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw Error(kErrFileNotFound, "Couldn't find file '" + shown + "'.", "DAO.Workspace");
    }
    // A write-protected file opens for reading only.
    if (sqlite3_db_readonly(m_db, "main") == 1)
        m_readOnly = true;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 250);
    Install(m_db);
    // Reading the schema proves the file is a database and that no one holds it exclusively.
    const char* probe = options.exclusive ? "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                                            "SELECT count(*) FROM sqlite_master; COMMIT;"
                                          : "SELECT count(*) FROM sqlite_master;";
    if (options.exclusive && options.readOnly)
        probe = "PRAGMA locking_mode=EXCLUSIVE; SELECT count(*) FROM sqlite_master;";
    rc = sqlite3_exec(m_db, probe, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        int primary = rc & 0xFF;
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
            throw Error(kErrNotADatabase, "Unrecognized database format '" + shown + "'.", "DAO.Workspace");
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            throw Error(kErrFileInUse, "Couldn't use '" + shown + "'; file already in use.", "DAO.Workspace");
        throw Error(kErrFileNotFound, "Couldn't find file '" + shown + "'.", "DAO.Workspace");
    }
}

Connection::~Connection()
{
    if (m_db) {
        if (m_transactionLevel > 0)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(m_db);
    }
}

void Connection::Fail(int rc, const char* source, const std::string& statement)
{
    const char* msg = sqlite3_errmsg(m_db);
    std::string text = msg ? msg : "";
    int primary = rc & 0xFF;
    if (Contains(msg, "no such table:"))
        throw Error(kErrNoSuchTable,
                    "The database engine cannot find the input table or query '" + After(msg, "no such table: ") +
                        "'. Make sure it exists and that its name is spelled correctly.",
                    source);
    if (Contains(msg, "no such column:"))
        throw Error(kErrTooFewParameters,
                    "Too few parameters. Expected 1. (No field or parameter named '" + After(msg, "no such column: ") +
                        "'.)",
                    source);
    if (Contains(msg, "syntax error") || Contains(msg, "unrecognized token") || Contains(msg, "incomplete input"))
        throw Error(kErrSyntaxInExpression, "Syntax error in query expression '" + statement + "'.", source);
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
        throw Error(kErrDuplicateKey,
                    "The changes you requested to the table were not successful because they would create "
                    "duplicate values in the index, primary key, or relationship.",
                    source);
    // The field rules that CREATE TABLE gives Jet's types carry these names.
    if (rc == SQLITE_CONSTRAINT_CHECK && Contains(msg, "failed: size"))
        throw Error(kErrFieldTooSmall,
                    "The field is too small to accept the amount of data you attempted to add. Try inserting "
                    "or pasting less data.",
                    source);
    if (rc == SQLITE_CONSTRAINT_CHECK && Contains(msg, "failed: range"))
        throw Error(kErrNumericOverflow, "Numeric field overflow.", source);
    if (rc == SQLITE_CONSTRAINT_NOTNULL)
        throw Error(3314, "The field '" + After(msg, "NOT NULL constraint failed: ") + "' cannot contain a Null value.",
                    source);
    if (primary == SQLITE_READONLY)
        throw Error(kErrReadOnly, "Cannot update. Database or object is read-only.", source);
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw Error(kErrLocked, "Couldn't update; currently locked.", source);
    if (Contains(msg, "datatype mismatch"))
        throw Error(kErrDataTypeMismatch, "Data type mismatch in criteria expression.", source);
    throw Error(kErrSyntax, "The database engine failed: " + text + ".", source);
}

sqlite3_stmt* Connection::Prepare(const Translation& t, const Parameters& params, const char* source)
{
    if (!m_db)
        throw Error(kErrObjectClosed, "Object invalid or no longer set.", source);
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, t.sql.c_str(), static_cast<int>(t.sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK)
        Fail(rc, source, t.sql);
    if (!stmt)
        throw Error(kErrSyntax, "The statement is empty.", source);
    int missing = 0;
    for (std::size_t i = 0; i < t.parameters.size(); ++i) {
        const Parameter* found = nullptr;
        for (const auto& p : params)
            if (CompareNoCase(p.name.data(), p.name.size(), t.parameters[i].data(), t.parameters[i].size()) == 0)
                found = &p;
        if (found)
            BindValue(stmt, static_cast<int>(i + 1), found->value);
        else
            ++missing;
    }
    if (missing) {
        sqlite3_finalize(stmt);
        throw Error(kErrTooFewParameters, "Too few parameters. Expected " + std::to_string(missing) + ".", source);
    }
    return stmt;
}

long Connection::Execute(const std::string& jet, bool failOnError, const Parameters& params)
{
    TranslateOptions options;
    for (const auto& p : params)
        options.parameterNames.push_back(p.name);
    options.skipFailingRows = !failOnError;
    Translation t = Translate(jet, options);
    Statement stmt(Prepare(t, params, "DAO.Database"));
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        Fail(sqlite3_extended_errcode(m_db), "DAO.Database", jet);
    m_recordsAffected = sqlite3_changes(m_db);
    return m_recordsAffected;
}

long Connection::Run(const std::string& sql, const std::vector<Value>& values, const char* source)
{
    if (!m_db)
        throw Error(kErrObjectClosed, "Object invalid or no longer set.", source);
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
    if (rc != SQLITE_OK)
        Fail(rc, source, sql);
    Statement stmt(raw);
    for (std::size_t i = 0; i < values.size(); ++i)
        BindValue(raw, static_cast<int>(i + 1), values[i]);
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        Fail(sqlite3_extended_errcode(m_db), source, sql);
    m_recordsAffected = sqlite3_changes(m_db);
    return m_recordsAffected;
}

void Connection::ExecuteNative(const std::string& sql)
{
    if (!m_db)
        throw Error(kErrObjectClosed, "Object invalid or no longer set.", "DAO.Database");
    int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Fail(sqlite3_extended_errcode(m_db), "DAO.Database", sql);
}

void Connection::BeginTrans()
{
    if (m_transactionLevel >= 5)
        throw Error(3003, "Couldn't start transaction; too many transactions already nested.", "DAO.Workspace");
    std::string sql = m_transactionLevel == 0 ? "BEGIN" : "SAVEPOINT vl_" + std::to_string(m_transactionLevel);
    int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Fail(sqlite3_extended_errcode(m_db), "DAO.Workspace", sql);
    ++m_transactionLevel;
}

void Connection::CommitTrans()
{
    if (m_transactionLevel == 0)
        throw Error(kErrNoTransaction,
                    "You tried to commit or rollback a transaction without first beginning a transaction.",
                    "DAO.Workspace");
    std::string sql = m_transactionLevel == 1 ? "COMMIT" : "RELEASE vl_" + std::to_string(m_transactionLevel - 1);
    int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Fail(sqlite3_extended_errcode(m_db), "DAO.Workspace", sql);
    --m_transactionLevel;
}

void Connection::Rollback()
{
    if (m_transactionLevel == 0)
        throw Error(kErrNoTransaction,
                    "You tried to commit or rollback a transaction without first beginning a transaction.",
                    "DAO.Workspace");
    std::string sql = m_transactionLevel == 1 ? std::string("ROLLBACK")
                                              : "ROLLBACK TO vl_" + std::to_string(m_transactionLevel - 1) +
                                                    "; RELEASE vl_" + std::to_string(m_transactionLevel - 1);
    int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Fail(sqlite3_extended_errcode(m_db), "DAO.Workspace", sql);
    --m_transactionLevel;
}

std::vector<std::string> Connection::TableNames()
{
    Statement stmt(Prepare({"SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", {}}, {},
                           "DAO.Database"));
    std::vector<std::string> names;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW)
        names.push_back(ValueToText(ColumnValue(stmt.get(), 0)));
    return names;
}

std::vector<std::pair<std::string, std::string>> Connection::Columns(const std::string& table)
{
    Statement stmt(Prepare({"SELECT name, type FROM pragma_table_info(?1)", {"t"}}, {{"t", table}}, "DAO.Database"));
    std::vector<std::pair<std::string, std::string>> cols;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW)
        cols.emplace_back(ValueToText(ColumnValue(stmt.get(), 0)), ValueToText(ColumnValue(stmt.get(), 1)));
    return cols;
}

}  // namespace daosql
