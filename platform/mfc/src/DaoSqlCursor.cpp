// Record cursors: the rows of a record set, the current position and the edit buffer.
#include "DaoSql.h"

#include <sqlite3.h>

#include <algorithm>

namespace daosql {

namespace {

const char* const kSource = "DAO.Recordset";

// Column name without brackets or table prefix.
std::string BareName(const std::string& name)
{
    std::string s = name;
    // Drop a table prefix: "[Flag File].[RIT]", "T.RIT", "T!RIT".
    bool inBracket = false;
    std::size_t cut = std::string::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '[')
            inBracket = true;
        else if (s[i] == ']')
            inBracket = false;
        else if (!inBracket && (s[i] == '.' || s[i] == '!'))
            cut = i;
    }
    if (cut != std::string::npos)
        s = s.substr(cut + 1);
    while (!s.empty() && (s.front() == ' ' || s.front() == '['))
        s.erase(s.begin());
    while (!s.empty() && (s.back() == ' ' || s.back() == ']'))
        s.pop_back();
    return s;
}

std::string QuoteName(const std::string& name)
{
    std::string out = "\"";
    for (char ch : name) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

}  // namespace

Cursor::Cursor(Connection& db, const QuerySpec& spec, const CursorOptions& options, const Parameters& params)
    : m_db(db), m_options(options), m_spec(spec), m_params(params)
{
    Load(params);
}

void Cursor::Raise(long code, const std::string& text) const { throw Error(code, text, kSource); }

void Cursor::Requery(const QuerySpec& spec, const Parameters& params)
{
    m_spec = spec;
    m_params = params;
    Load(params);
}

void Cursor::Load(const Parameters& params)
{
    if (m_options.type == CursorType::Table) {
        // A table cursor reads one table whole, in table order.
        if (!m_spec.filter.empty() || !m_spec.sort.empty())
            Raise(kErrNotSupported, "Operation is not supported for this type of object.");
    }
    BuiltQuery query = BuildQuery(m_spec);
    if (m_options.type == CursorType::Table && !query.keyed)
        Raise(kErrInvalidArgument, "Invalid argument. (A table-type record set needs the name of one table.)");
    // The statement of a keyed query leads with the row id; a snapshot skips it.
    const int first = query.keyed ? 1 : 0;
    if (m_options.type == CursorType::Snapshot)
        query.keyed = false;

    Statement stmt(m_db.Prepare(query.select, params, kSource));
    sqlite3_stmt* s = stmt.get();
    int count = sqlite3_column_count(s);
    std::vector<std::string> columns;
    std::vector<std::string> origins;
    std::vector<std::string> types;
    for (int i = first; i < count; ++i) {
        const char* name = sqlite3_column_name(s, i);
        const char* origin = sqlite3_column_origin_name(s, i);
        const char* type = sqlite3_column_decltype(s, i);
        columns.emplace_back(name ? name : "");
        origins.emplace_back(query.keyed && origin ? origin : "");
        types.emplace_back(type ? type : "");
    }
    std::vector<std::int64_t> keys;
    std::vector<std::vector<Value>> rows;
    if (!m_options.appendOnly) {
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            if (query.keyed) {
                keys.push_back(sqlite3_column_int64(s, 0));
            } else {
                std::vector<Value> row;
                row.reserve(static_cast<std::size_t>(count));
                for (int i = first; i < count; ++i)
                    row.push_back(ColumnValue(s, i));
                rows.push_back(std::move(row));
            }
        }
        if (rc != SQLITE_DONE)
            m_db.Fail(sqlite3_extended_errcode(m_db.Handle()), kSource, m_spec.source);
    }
    Statement fetch;
    if (query.keyed) {
        Translation t{query.fetchSql, {}};
        t.parameters.push_back(std::string("\x01rowid"));
        Parameters p = params;
        p.push_back({std::string("\x01rowid"), std::int64_t{0}});
        for (const auto& name : query.fetchParameters)
            t.parameters.push_back(name);
        fetch = Statement(m_db.Prepare(t, p, kSource));
    }

    m_query = std::move(query);
    m_columns = std::move(columns);
    m_origins = std::move(origins);
    m_types = std::move(types);
    m_keys = std::move(keys);
    m_rows = std::move(rows);
    m_fetch = std::move(fetch);
    m_visited = 0;
    m_current.clear();
    DropEdit();
    long n = static_cast<long>(m_query.keyed ? m_keys.size() : m_rows.size());
    Position(n > 0 ? 0 : -1);
    if (m_options.type == CursorType::Table)
        m_visited = n;
}

int Cursor::FindColumn(const std::string& name) const
{
    std::string bare = BareName(name);
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        if (CompareNoCase(m_columns[i].data(), m_columns[i].size(), bare.data(), bare.size()) == 0)
            return static_cast<int>(i);
    return -1;
}

bool Cursor::CanUpdate() const
{
    return m_query.keyed && !m_options.readOnly && !m_db.ReadOnly() && m_options.type != CursorType::Snapshot;
}

bool Cursor::CanAppend() const { return CanUpdate(); }

void Cursor::Position(long index)
{
    DropEdit();
    m_currentDeleted = false;
    m_rowGone = false;
    long n = static_cast<long>(m_query.keyed ? m_keys.size() : m_rows.size());
    if (index < 0) {
        m_index = -1;
        m_bof = true;
        m_eof = n == 0;
        m_current.clear();
    } else if (index >= n) {
        m_index = n;
        m_eof = true;
        m_bof = n == 0;
        m_current.clear();
    } else {
        m_index = index;
        m_bof = m_eof = false;
        Fetch();
        m_visited = std::max(m_visited, index + 1);
    }
}

void Cursor::Fetch()
{
    if (!m_query.keyed) {
        m_current = m_rows[static_cast<std::size_t>(m_index)];
        return;
    }
    sqlite3_stmt* s = m_fetch.get();
    sqlite3_reset(s);
    sqlite3_bind_int64(s, 1, m_keys[static_cast<std::size_t>(m_index)]);
    int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) {
        int n = sqlite3_column_count(s);
        m_current.clear();
        for (int i = 0; i < n; ++i)
            m_current.push_back(ColumnValue(s, i));
        sqlite3_reset(s);
        return;
    }
    sqlite3_reset(s);
    if (rc != SQLITE_DONE)
        m_db.Fail(rc, kSource, m_spec.source);
    // Deleted through another record set since this one was opened.
    m_current.clear();
    m_rowGone = true;
}

void Cursor::RequireCurrent() const
{
    if (m_bof || m_eof)
        Raise(kErrNoCurrentRecord, "No current record.");
    if (m_currentDeleted || m_rowGone)
        Raise(kErrRecordDeleted, "Record is deleted.");
}

long Cursor::GetRecordCount() const
{
    long n = static_cast<long>(m_query.keyed ? m_keys.size() : m_rows.size());
    return std::min(m_visited, n);
}

void Cursor::MoveFirst()
{
    if (m_bof && m_eof)
        Raise(kErrNoCurrentRecord, "No current record.");
    Position(0);
}

void Cursor::MoveLast()
{
    if (m_bof && m_eof)
        Raise(kErrNoCurrentRecord, "No current record.");
    Position(static_cast<long>(m_query.keyed ? m_keys.size() : m_rows.size()) - 1);
}

void Cursor::MoveNext()
{
    if (m_eof)
        Raise(kErrNoCurrentRecord, "No current record.");
    // After a delete the row that followed the deleted one already sits at its place.
    Position(m_currentDeleted ? m_index : m_index + 1);
}

void Cursor::MovePrev()
{
    if (m_bof)
        Raise(kErrNoCurrentRecord, "No current record.");
    Position(m_index - 1);
}

void Cursor::Move(long rows)
{
    if (rows == 0) {
        RequireCurrent();
        DropEdit();
        Fetch();
        return;
    }
    if ((rows > 0 && m_eof) || (rows < 0 && m_bof))
        Raise(kErrNoCurrentRecord, "No current record.");
    long base = (m_currentDeleted && rows > 0) ? m_index - 1 : m_index;
    long n = static_cast<long>(m_query.keyed ? m_keys.size() : m_rows.size());
    long target = base + rows;
    Position(std::clamp(target, -1L, n));
}

long Cursor::GetAbsolutePosition() const
{
    if (m_bof || m_eof || m_currentDeleted || m_editMode == EditMode::AddNew)
        return -1;
    return m_index;
}

void Cursor::SetAbsolutePosition(long position)
{
    long n = static_cast<long>(m_query.keyed ? m_keys.size() : m_rows.size());
    if (position < 0 || position >= n)
        Raise(kErrInvalidArgument, "Invalid argument.");
    Position(position);
}

const std::vector<Value>& Cursor::Row() const
{
    RequireCurrent();
    return m_current;
}

const Value& Cursor::Get(int column) const
{
    const auto& row = Row();
    if (column < 0 || static_cast<std::size_t>(column) >= row.size())
        Raise(kErrItemNotFound, "Item not found in this collection.");
    return row[static_cast<std::size_t>(column)];
}

void Cursor::AddNew()
{
    if (!CanAppend())
        Raise(kErrReadOnly, "Cannot update. Database or object is read-only.");
    m_buffer.assign(m_columns.size(), std::monostate{});
    m_dirty.assign(m_columns.size(), false);
    m_editMode = EditMode::AddNew;
}

void Cursor::Edit()
{
    if (!CanUpdate())
        Raise(kErrReadOnly, "Cannot update. Database or object is read-only.");
    RequireCurrent();
    m_buffer = m_current;
    m_dirty.assign(m_columns.size(), false);
    m_editMode = EditMode::Edit;
}

void Cursor::Set(int column, const Value& v)
{
    if (m_editMode == EditMode::None)
        Raise(kErrUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit.");
    if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size())
        Raise(kErrItemNotFound, "Item not found in this collection.");
    if (m_origins[static_cast<std::size_t>(column)].empty())
        Raise(kErrFieldNotUpdatable, "Field '" + m_columns[static_cast<std::size_t>(column)] + "' can't be updated.");
    m_buffer[static_cast<std::size_t>(column)] = v;
    m_dirty[static_cast<std::size_t>(column)] = true;
}

const Value& Cursor::Buffer(int column) const
{
    if (m_editMode == EditMode::None)
        return Get(column);
    if (column < 0 || static_cast<std::size_t>(column) >= m_buffer.size())
        Raise(kErrItemNotFound, "Item not found in this collection.");
    return m_buffer[static_cast<std::size_t>(column)];
}

void Cursor::Update()
{
    if (m_editMode == EditMode::None)
        Raise(kErrUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit.");
    std::string table = QuoteName(m_query.baseTable);
    std::vector<std::string> names;
    std::vector<Value> values;
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        if (m_dirty[i]) {
            names.push_back(QuoteName(m_origins[i]));
            values.push_back(m_buffer[i]);
        }
    if (m_editMode == EditMode::AddNew) {
        std::string sql = "INSERT INTO " + table;
        if (names.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            sql += " (";
            std::string marks;
            for (std::size_t i = 0; i < names.size(); ++i) {
                sql += (i ? ", " : "") + names[i];
                marks += (i ? ", ?" : "?") + std::to_string(i + 1);
            }
            sql += ") VALUES (" + marks + ")";
        }
        m_db.Run(sql, values, kSource);
        m_keys.push_back(sqlite3_last_insert_rowid(m_db.Handle()));
        ++m_visited;
        // The row that was current before AddNew stays current; an empty set stays at its end.
        bool wasEmpty = m_bof && m_eof;
        DropEdit();
        if (wasEmpty) {
            m_index = static_cast<long>(m_keys.size());
            m_bof = false;
        } else if (m_eof) {
            m_index = static_cast<long>(m_keys.size());
        } else if (!m_bof && !m_currentDeleted) {
            Fetch();
        }
        return;
    }
    if (!names.empty()) {
        std::string sql = "UPDATE " + table + " SET ";
        for (std::size_t i = 0; i < names.size(); ++i)
            sql += (i ? ", " : "") + names[i] + " = ?" + std::to_string(i + 1);
        sql += " WHERE rowid = ?" + std::to_string(names.size() + 1);
        values.push_back(m_keys[static_cast<std::size_t>(m_index)]);
        if (m_db.Run(sql, values, kSource) == 0)
            Raise(kErrRecordDeleted, "Record is deleted.");
    }
    DropEdit();
    Fetch();
}

void Cursor::CancelUpdate()
{
    if (m_editMode == EditMode::None)
        Raise(kErrUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit.");
    DropEdit();
}

void Cursor::Delete()
{
    if (!CanUpdate())
        Raise(kErrReadOnly, "Cannot update. Database or object is read-only.");
    RequireCurrent();
    DropEdit();
    m_db.Run("DELETE FROM " + QuoteName(m_query.baseTable) + " WHERE rowid = ?1",
             {m_keys[static_cast<std::size_t>(m_index)]}, kSource);
    m_keys.erase(m_keys.begin() + m_index);
    if (m_visited > 0)
        --m_visited;
    m_currentDeleted = true;
    m_current.clear();
}

}  // namespace daosql
