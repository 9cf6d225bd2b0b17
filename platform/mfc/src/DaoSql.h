// The database engine under the DAO classes: the Jet SQL dialect translated for SQLite, a
// connection with the engine's text rules (case-blind comparison and sort of Windows-1252 text,
// Jet's LIKE patterns), and the record cursors (dynaset, snapshot, table) that the record set
// class moves over. Plain C++ strings throughout; the class library's types stay in the DAO
// classes above this layer.
//
// Internal to the class library; tests use it directly.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace daosql {

// Jet's error numbers as the DAO error collection reports them.
enum ErrorCode : long {
    kErrInvalidArgument = 3001,
    kErrUpdateWithoutEdit = 3020,
    kErrNoCurrentRecord = 3021,
    kErrDuplicateKey = 3022,
    kErrFileNotFound = 3024,
    kErrReadOnly = 3027,
    kErrNoTransaction = 3034,
    kErrFileInUse = 3045,
    kErrTooFewParameters = 3061,
    kErrNotUpdatableQuery = 3073,
    kErrSyntaxInExpression = 3075,
    kErrNoSuchTable = 3078,
    kErrFieldTooSmall = 3163,
    kErrFieldNotUpdatable = 3164,
    kErrRecordDeleted = 3167,
    kErrDataTypeMismatch = 3464,
    kErrNotSupported = 3251,
    kErrLocked = 3260,
    kErrItemNotFound = 3265,
    kErrSyntax = 3000,
    kErrNotADatabase = 3343,
    kErrNumericOverflow = 3349,
    kErrObjectClosed = 3420,
};

// One failure of the engine: Jet's error number, its text and the object that raised it
// ("DAO.Database", "DAO.Recordset", "DAO.Workspace").
class Error : public std::runtime_error {
public:
    Error(long code, std::string description, std::string source)
        : std::runtime_error(description), m_code(code), m_description(std::move(description)),
          m_source(std::move(source)) {}
    long Code() const { return m_code; }
    const std::string& Description() const { return m_description; }
    const std::string& Source() const { return m_source; }

private:
    long m_code;
    std::string m_description;
    std::string m_source;
};

// A field value: Null, a whole number, a floating number or text (Windows-1252 bytes).
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;

inline bool IsNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }
// Text form of a value ("" for Null; numbers as Jet prints them).
std::string ValueToText(const Value& v);
// Numeric form of a value (0 for Null or text that is no number).
double ValueToDouble(const Value& v);
std::int64_t ValueToInt(const Value& v);

// Parameter values by name (the name as declared, without brackets; matched without case).
struct Parameter {
    std::string name;
    Value value;
};
using Parameters = std::vector<Parameter>;

// --- Windows-1252 text rules -----------------------------------------------------------

// Upper/lower case of one Windows-1252 byte, as the platform maps the Western code page.
unsigned char FoldUpper(unsigned char c);
unsigned char FoldLower(unsigned char c);
// Compares two texts the way Jet does: without regard to case. <0, 0, >0.
int CompareNoCase(const char* a, std::size_t na, const char* b, std::size_t nb);
// Compares two texts in Jet's sort order: the platform's word sort with case ignored (accents
// and hyphens only break ties: "\xC9clair" sorts between "eclair" and "eclipse"; "\xC9" and
// "\xE9" are one text). <0, 0, >0.
int CompareText(const char* a, std::size_t na, const char* b, std::size_t nb);
// Jet's LIKE: * any run, ? one character, # one digit, [abc] [a-z] [!abc] one character of
// (or not of) a set; everything else (also % and _) stands for itself; case is ignored.
bool JetLike(const std::string& text, const std::string& pattern);

// A calendar date and time of day.
struct DateParts {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};
// Reads a date as Jet writes one between #...#: "m/d/yyyy" (two-digit years: below 30 are
// 20xx), "yyyy-mm-dd", either followed by a time "h:mm[:ss] [AM|PM]", or a time alone (on
// 30 December 1899). Nothing when the text is no valid date.
std::optional<DateParts> ParseDateText(const std::string& text);
// The form date fields hold: "yyyy-mm-dd hh:mm:ss" (sorts and compares as the dates do).
std::string FormatDateText(const DateParts& d);
// Days in a month of a year of the Gregorian calendar.
int DaysInMonth(int year, int month);

// --- The dialect ------------------------------------------------------------------------

// A Jet statement turned into SQLite: the statement text, and for each ?N in it the name of
// the parameter that N stands for.
struct Translation {
    std::string sql;
    std::vector<std::string> parameters;
};

// Options of one translation.
struct TranslateOptions {
    // Names that are parameters (besides those of a PARAMETERS clause): a bracketed or bare
    // name that matches one of them (without case) becomes a bound parameter.
    std::vector<std::string> parameterNames;
    // An action query run without dbFailOnError: rows that break a rule are skipped instead of
    // failing the statement.
    bool skipFailingRows = false;
};

// Translates one Jet statement (SELECT, INSERT, UPDATE, DELETE, CREATE/DROP TABLE/INDEX,
// PARAMETERS ...; SELECT ...). Throws Error (3075 or 3000) on text it cannot read.
Translation Translate(const std::string& jet, const TranslateOptions& options = {});
// Translates a filter or any other expression on its own (the text after WHERE).
Translation TranslateExpression(const std::string& jet, const TranslateOptions& options = {});

// What a record set reads: a table name, a FROM clause (a join), or a whole SELECT statement,
// narrowed by a filter and sorted by a sort, as the DAO record set builds its statement.
struct QuerySpec {
    std::string source;                // table name, join expression, or SELECT statement
    std::vector<std::string> columns;  // bound column names as written ("[RIT]"); empty = all
    std::string filter;                // m_strFilter
    std::string sort;                  // m_strSort
    std::vector<std::string> parameterNames;
};

// The statement a record set runs, with what the cursor needs to know about it.
struct BuiltQuery {
    Translation select;      // the whole statement (first column the row id when keyed)
    std::string baseTable;   // the one table the rows come from ("" when not updatable)
    bool keyed = false;      // rows are table rows that can be fetched and changed by row id
    std::string fetchSql;    // SELECT of one row by row id (?1 = the row id), keyed only
    std::vector<std::string> fetchParameters;  // parameters of fetchSql after ?1
};

// Builds the statement of a record set. Throws Error on bad text.
BuiltQuery BuildQuery(const QuerySpec& spec);

// --- Connection ----------------------------------------------------------------------------

struct OpenOptions {
    bool exclusive = false;
    bool readOnly = false;
    bool create = false;  // make the file when it is missing (the database writer)
    std::string displayName{};  // the name messages give the file ("" = the host path)
};

// One open database file. Every statement of the DAO classes goes through here.
class Connection {
public:
    // Opens a host file. Throws Error 3024 (missing), 3045 (in use), 3343 (no database).
    Connection(const std::string& hostPath, const OpenOptions& options);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& Path() const { return m_path; }
    bool ReadOnly() const { return m_readOnly; }
    sqlite3* Handle() const { return m_db; }

    // Runs a Jet action query; returns the number of rows it touched.
    long Execute(const std::string& jet, bool failOnError, const Parameters& params = {});
    // Runs SQLite text as it stands (schema statements of the writer; several allowed).
    void ExecuteNative(const std::string& sql);
    // Runs SQLite text with ?1..?n bound to values in order; returns the rows touched.
    long Run(const std::string& sql, const std::vector<Value>& values, const char* source);
    // Rows touched by the last action.
    long RecordsAffected() const { return m_recordsAffected; }

    // Transactions nest (Jet allows five levels; so do we).
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    int TransactionLevel() const { return m_transactionLevel; }

    // Names of the tables and the columns (name, declared type) of one table, in order.
    std::vector<std::string> TableNames();
    std::vector<std::pair<std::string, std::string>> Columns(const std::string& table);

    // A prepared statement with its parameters bound, ready to step. Throws Error.
    sqlite3_stmt* Prepare(const Translation& t, const Parameters& params, const char* source);
    // Turns the last SQLite failure into Jet's error.
    [[noreturn]] void Fail(int rc, const char* source, const std::string& statement = {});

private:
    sqlite3* m_db = nullptr;
    std::string m_path;
    bool m_readOnly = false;
    int m_transactionLevel = 0;
    long m_recordsAffected = 0;
};

// RAII owner of a prepared statement.
class Statement {
public:
    Statement() = default;
    explicit Statement(sqlite3_stmt* s) : m_stmt(s) {}
    ~Statement();
    Statement(Statement&& o) noexcept : m_stmt(o.m_stmt) { o.m_stmt = nullptr; }
    Statement& operator=(Statement&& o) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

// Reads column i of the current row of a stepped statement.
Value ColumnValue(sqlite3_stmt* stmt, int i);
// Binds a value to ?index.
void BindValue(sqlite3_stmt* stmt, int index, const Value& v);

// --- Cursors --------------------------------------------------------------------------------

enum class CursorType { Table = 1, Dynaset = 2, Snapshot = 4 };
enum class EditMode { None = 0, Edit = 1, AddNew = 2 };

struct CursorOptions {
    CursorType type = CursorType::Dynaset;
    bool readOnly = false;
    bool appendOnly = false;
};

// The rows of one record set and a current position among them.
//
// A dynaset keeps the row ids of its rows and reads each row from the table when it becomes
// current, so it sees changes made elsewhere; rows it adds come at its end. A snapshot reads
// all rows when it opens and never changes. A table cursor is a dynaset over a whole table in
// table order. Positions are 0-based; the record count is the number of rows visited so far
// (the whole count after MoveLast), except for a table cursor, which knows it at once.
class Cursor {
public:
    Cursor(Connection& db, const QuerySpec& spec, const CursorOptions& options,
           const Parameters& params);

    // Reads the rows again with a new spec (filter, sort) and parameter values.
    void Requery(const QuerySpec& spec, const Parameters& params);

    const std::vector<std::string>& ColumnNames() const { return m_columns; }
    // Declared types of the columns ("TEXT(255)", "LONG", "DATETIME" ...; "" for computed ones).
    const std::vector<std::string>& ColumnTypes() const { return m_types; }
    // Index of a column by name (brackets and table prefix ignored, case ignored); -1 if none.
    int FindColumn(const std::string& name) const;

    bool IsBOF() const { return m_bof; }
    bool IsEOF() const { return m_eof; }
    bool IsDeleted() const { return m_currentDeleted; }
    // A record is current and can be read.
    bool HasCurrent() const { return !m_bof && !m_eof && !m_currentDeleted && !m_rowGone; }
    bool CanUpdate() const;
    bool CanAppend() const;

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrev();
    void Move(long rows);
    long GetAbsolutePosition() const;
    void SetAbsolutePosition(long position);
    long GetRecordCount() const;

    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    // The current row (throws 3021 with no current row, 3167 on a deleted one).
    const std::vector<Value>& Row() const;
    const Value& Get(int column) const;

    // Editing: the edit buffer starts as the current row (Edit) or all Null (AddNew).
    EditMode GetEditMode() const { return m_editMode; }
    void AddNew();
    void Edit();
    void Set(int column, const Value& v);
    const Value& Buffer(int column) const;
    void Update();
    void CancelUpdate();
    void Delete();

private:
    void Load(const Parameters& params);
    void Position(long index);  // index in [-1, size]; -1 = BOF, size = EOF
    void Fetch();
    void Touch();
    void RequireCurrent() const;
    void DropEdit() { m_editMode = EditMode::None; m_dirty.clear(); }
    [[noreturn]] void Raise(long code, const std::string& text) const;

    Connection& m_db;
    CursorOptions m_options;
    QuerySpec m_spec;
    BuiltQuery m_query;
    Parameters m_params;
    std::vector<std::string> m_columns;
    std::vector<std::string> m_origins;   // table column behind each result column ("" none)
    std::vector<std::string> m_types;
    std::vector<std::int64_t> m_keys;     // keyed cursors: row ids in order
    std::vector<std::vector<Value>> m_rows;  // snapshots: the rows themselves
    long m_index = -1;
    bool m_bof = true;
    bool m_eof = true;
    bool m_currentDeleted = false;
    long m_visited = 0;  // highest position visited + 1
    std::vector<Value> m_current;
    std::vector<Value> m_buffer;
    std::vector<bool> m_dirty;
    EditMode m_editMode = EditMode::None;
    long m_savedIndex = -1;
    bool m_rowGone = false;  // the current row was deleted through another record set
    Statement m_fetch;
};

}  // namespace daosql
