#include <afx.h>
#include <mfc/DaoRecordset.h>

#include "DaoInternal.h"

#include <cstring>

namespace {

bool StartsWithWord(const CString& text, const char* word)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '(')
        ++p;
    std::size_t n = std::strlen(word);
    return daosql::CompareNoCase(p, std::min(std::strlen(p), n), word, n) == 0 &&
           (p[n] == 0 || p[n] == ' ' || p[n] == '\t' || p[n] == '\r' || p[n] == '\n');
}

bool TypeIs(const std::string& declared, const char* type)
{
    std::size_t n = std::strlen(type);
    return declared.size() >= n && daosql::CompareNoCase(declared.data(), n, type, n) == 0;
}

COleVariant ToVariant(const daosql::Value& v, const std::string& declared)
{
    if (daosql::IsNull(v)) {
        COleVariant out;
        out.vt = VT_NULL;
        return out;
    }
    if (TypeIs(declared, "DATETIME")) {
        COleDateTime t;
        DaoSetMember(CDaoFieldExchange::kDateTime, &t, v);
        return COleVariant(t);
    }
    if (auto* i = std::get_if<std::int64_t>(&v)) {
        if (TypeIs(declared, "BIT"))
            return COleVariant(static_cast<short>(*i != 0), VT_BOOL);
        if (TypeIs(declared, "SHORT") && *i >= -32768 && *i <= 32767)
            return COleVariant(static_cast<short>(*i));
        if (TypeIs(declared, "BYTE") && *i >= 0 && *i <= 255)
            return COleVariant(static_cast<BYTE>(*i));
        if (TypeIs(declared, "DOUBLE") || TypeIs(declared, "SINGLE") || *i < INT32_MIN || *i > INT32_MAX)
            return COleVariant(static_cast<double>(*i));
        return COleVariant(static_cast<LONG>(*i));
    }
    if (auto* d = std::get_if<double>(&v))
        return COleVariant(*d);
    return COleVariant(std::get<std::string>(v).c_str());
}

daosql::Value FromVariant(const COleVariant& var)
{
    switch (var.vt) {
    case VT_EMPTY:
    case VT_NULL: return std::monostate{};
    case VT_UI1: return std::int64_t{var.bVal};
    case VT_I2: return std::int64_t{var.iVal};
    case VT_I4: return std::int64_t{var.lVal};
    case VT_BOOL: return std::int64_t{var.boolVal ? -1 : 0};
    case VT_R4: return static_cast<double>(var.fltVal);
    case VT_R8: return var.dblVal;
    case VT_DATE: {
        COleDateTime t(var.date);
        return DaoMemberValue(CDaoFieldExchange::kDateTime, &t);
    }
    case VT_BSTR: return std::string(var.bstrVal ? var.bstrVal : "");
    default: AfxThrowInvalidArgException();
    }
}

bool IsStatement(const CString& sql) { return StartsWithWord(sql, "SELECT") || StartsWithWord(sql, "PARAMETERS"); }

// What the record set reads: a statement as it is, or a table or join with the bound columns.
daosql::QuerySpec MakeSpec(const CString& sql, const CString& filter, const CString& sort,
                           const CDaoRecordsetState& state)
{
    daosql::QuerySpec spec;
    spec.source = static_cast<LPCSTR>(sql);
    if (!IsStatement(sql))
        for (const auto& f : state.fields)
            spec.columns.push_back(f.name);
    spec.filter = static_cast<LPCSTR>(filter);
    spec.sort = static_cast<LPCSTR>(sort);
    for (const auto& p : state.paramNames)
        spec.parameterNames.push_back(p.first);
    return spec;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDaoRecordset, CObject)

CDaoRecordset::CDaoRecordset(CDaoDatabase* pDatabase)
    : m_pDatabase(pDatabase), m_nFields(0), m_nParams(0), m_nDefaultType(dbOpenDynaset),
      m_bCheckCacheForDirtyFields(TRUE), m_state(std::make_unique<CDaoRecordsetState>()), m_bOwnsDatabase(FALSE),
      m_nOpenType(dbOpenDynaset), m_nOptions(0)
{
}

CDaoRecordset::~CDaoRecordset()
{
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
    }
}

CString CDaoRecordset::GetDefaultDBName() { return CString(); }

CString CDaoRecordset::GetDefaultSQL() { return CString(); }

void CDaoRecordset::DoFieldExchange(CDaoFieldExchange*) {}

void CDaoRecordset::RunFieldExchange(UINT nOperation, void* pvField)
{
    CDaoFieldExchange fx(nOperation, this, pvField);
    DoFieldExchange(&fx);
}

void CDaoRecordset::ThrowIfClosed() const
{
    if (!m_state->cursor)
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
}

void CDaoRecordset::BindParams()
{
    m_state->params.clear();
    RunFieldExchange(CDaoFieldExchange::BindParam);
}

void CDaoRecordset::Open(int nOpenType, LPCSTR lpszSQL, int nOptions)
{
    Close();
    if (m_pDatabase == NULL) {
        m_pDatabase = new CDaoDatabase;
        m_bOwnsDatabase = TRUE;
        m_pDatabase->Open(GetDefaultDBName());
    }
    if (!m_pDatabase->IsOpen())
        AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN);
    m_nOpenType = nOpenType == AFX_DAO_USE_DEFAULT_TYPE ? m_nDefaultType : nOpenType;
    m_nOptions = nOptions;
    m_strSQL = lpszSQL != NULL ? CString(lpszSQL) : GetDefaultSQL();

    auto state = std::make_unique<CDaoRecordsetState>();
    m_state.swap(state);
    RunFieldExchange(CDaoFieldExchange::AddToParameterList);
    RunFieldExchange(CDaoFieldExchange::AddToSelectList);
    if ((m_nFields != 0 || !m_state->fields.empty()) && static_cast<int>(m_state->fields.size()) != m_nFields)
        AfxThrowDaoException(AFX_DAO_ERROR_DFX_BIND);
    if (static_cast<int>(m_state->paramNames.size()) != m_nParams)
        AfxThrowDaoException(AFX_DAO_ERROR_DFX_BIND);
    BindParams();

    daosql::CursorOptions options;
    switch (m_nOpenType) {
    case dbOpenTable: options.type = daosql::CursorType::Table; break;
    case dbOpenSnapshot:
    case dbOpenForwardOnly: options.type = daosql::CursorType::Snapshot; break;
    default: options.type = daosql::CursorType::Dynaset; break;
    }
    options.readOnly = (nOptions & dbReadOnly) != 0;
    options.appendOnly = (nOptions & dbAppendOnly) != 0;

    daosql::QuerySpec spec = MakeSpec(m_strSQL, m_strFilter, m_strSort, *m_state);
    m_state->cursor = DaoCall([&] {
        return std::make_unique<daosql::Cursor>(*m_pDatabase->GetConnection(), spec, options, m_state->params);
    });
    for (auto& f : m_state->fields) {
        f.column = m_state->cursor->FindColumn(f.name);
        if (f.column < 0) {
            m_state->cursor.reset();
            DaoThrow(daosql::Error(daosql::kErrItemNotFound,
                                   "Item not found in this collection. (No field " + f.name + " in the record set.)",
                                   "DAO.Fields"));
        }
    }
    m_pDatabase->AddRecordset(this);
    LoadCurrent();
}

void CDaoRecordset::Close()
{
    if (m_state->cursor) {
        m_state->cursor.reset();
        if (m_pDatabase)
            m_pDatabase->RemoveRecordset(this);
    }
    if (m_bOwnsDatabase) {
        delete m_pDatabase;
        m_pDatabase = NULL;
        m_bOwnsDatabase = FALSE;
    }
}

BOOL CDaoRecordset::IsOpen() const { return m_state->cursor != nullptr; }

void CDaoRecordset::LoadCurrent()
{
    if (m_state->cursor->HasCurrent())
        RunFieldExchange(CDaoFieldExchange::Fixup);
    else
        RunFieldExchange(CDaoFieldExchange::SetFieldNull);
}

BOOL CDaoRecordset::IsBOF() const
{
    ThrowIfClosed();
    return m_state->cursor->IsBOF();
}

BOOL CDaoRecordset::IsEOF() const
{
    ThrowIfClosed();
    return m_state->cursor->IsEOF();
}

BOOL CDaoRecordset::IsDeleted() const
{
    ThrowIfClosed();
    return m_state->cursor->IsDeleted();
}

BOOL CDaoRecordset::CanUpdate() const
{
    ThrowIfClosed();
    return m_state->cursor->CanUpdate();
}

BOOL CDaoRecordset::CanAppend() const
{
    ThrowIfClosed();
    return m_state->cursor->CanAppend();
}

BOOL CDaoRecordset::CanScroll() const
{
    ThrowIfClosed();
    return TRUE;
}

BOOL CDaoRecordset::CanRestart()
{
    ThrowIfClosed();
    return TRUE;
}

BOOL CDaoRecordset::CanTransact()
{
    ThrowIfClosed();
    return m_pDatabase->CanTransact();
}

BOOL CDaoRecordset::CanBookmark()
{
    ThrowIfClosed();
    return TRUE;
}

void CDaoRecordset::MoveFirst()
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->MoveFirst(); });
    LoadCurrent();
}

void CDaoRecordset::MoveLast()
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->MoveLast(); });
    LoadCurrent();
}

void CDaoRecordset::MoveNext()
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->MoveNext(); });
    LoadCurrent();
}

void CDaoRecordset::MovePrev()
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->MovePrev(); });
    LoadCurrent();
}

void CDaoRecordset::Move(long lRows)
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->Move(lRows); });
    LoadCurrent();
}

long CDaoRecordset::GetAbsolutePosition()
{
    ThrowIfClosed();
    return m_state->cursor->GetAbsolutePosition();
}

void CDaoRecordset::SetAbsolutePosition(long lPosition)
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->SetAbsolutePosition(lPosition); });
    LoadCurrent();
}

long CDaoRecordset::GetRecordCount()
{
    ThrowIfClosed();
    return m_state->cursor->GetRecordCount();
}

void CDaoRecordset::Requery()
{
    ThrowIfClosed();
    // The filter may name other parameters now (m_nParams and DoFieldExchange follow it).
    m_state->paramNames.clear();
    RunFieldExchange(CDaoFieldExchange::AddToParameterList);
    if (static_cast<int>(m_state->paramNames.size()) != m_nParams)
        AfxThrowDaoException(AFX_DAO_ERROR_DFX_BIND);
    BindParams();
    daosql::QuerySpec spec = MakeSpec(m_strSQL, m_strFilter, m_strSort, *m_state);
    DaoCall([&] { m_state->cursor->Requery(spec, m_state->params); });
    for (auto& f : m_state->fields)
        f.column = m_state->cursor->FindColumn(f.name);
    LoadCurrent();
}

void CDaoRecordset::AddNew()
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->AddNew(); });
    RunFieldExchange(CDaoFieldExchange::StoreField);
    RunFieldExchange(CDaoFieldExchange::MarkForAddNew);
    RunFieldExchange(CDaoFieldExchange::MarkForEdit);
}

void CDaoRecordset::Edit()
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->Edit(); });
    RunFieldExchange(CDaoFieldExchange::StoreField);
    RunFieldExchange(CDaoFieldExchange::MarkForEdit);
}

void CDaoRecordset::Update()
{
    ThrowIfClosed();
    if (m_state->cursor->GetEditMode() == daosql::EditMode::None)
        DaoThrow(daosql::Error(daosql::kErrUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit.",
                               "DAO.Recordset"));
    DaoCall([&] { RunFieldExchange(CDaoFieldExchange::SetDirtyField); });
    DaoCall([&] { m_state->cursor->Update(); });
    if (m_state->cursor->HasCurrent())
        RunFieldExchange(CDaoFieldExchange::Fixup);
    else
        RunFieldExchange(CDaoFieldExchange::LoadField);
}

void CDaoRecordset::CancelUpdate()
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->CancelUpdate(); });
    if (m_state->cursor->HasCurrent())
        RunFieldExchange(CDaoFieldExchange::Fixup);
    else
        RunFieldExchange(CDaoFieldExchange::LoadField);
}

void CDaoRecordset::Delete()
{
    ThrowIfClosed();
    DaoCall([&] { m_state->cursor->Delete(); });
    RunFieldExchange(CDaoFieldExchange::SetFieldNull);
}

short CDaoRecordset::GetEditMode()
{
    ThrowIfClosed();
    return static_cast<short>(m_state->cursor->GetEditMode());
}

void CDaoRecordset::GetFieldValue(int nIndex, COleVariant& varValue)
{
    ThrowIfClosed();
    const daosql::Cursor& c = *m_state->cursor;
    if (nIndex < 0 || nIndex >= c.ColumnCount())
        DaoThrow(daosql::Error(daosql::kErrItemNotFound, "Item not found in this collection.", "DAO.Fields"));
    const daosql::Value& v = DaoCall([&]() -> const daosql::Value& { return c.Buffer(nIndex); });
    varValue = ToVariant(v, c.ColumnTypes()[static_cast<std::size_t>(nIndex)]);
}

void CDaoRecordset::GetFieldValue(LPCSTR lpszName, COleVariant& varValue)
{
    ThrowIfClosed();
    int index = m_state->cursor->FindColumn(lpszName ? lpszName : "");
    if (index < 0)
        DaoThrow(daosql::Error(daosql::kErrItemNotFound, "Item not found in this collection.", "DAO.Fields"));
    GetFieldValue(index, varValue);
}

COleVariant CDaoRecordset::GetFieldValue(LPCSTR lpszName)
{
    COleVariant v;
    GetFieldValue(lpszName, v);
    return v;
}

COleVariant CDaoRecordset::GetFieldValue(int nIndex)
{
    COleVariant v;
    GetFieldValue(nIndex, v);
    return v;
}

void CDaoRecordset::SetFieldValue(int nIndex, const COleVariant& varValue)
{
    ThrowIfClosed();
    daosql::Value v = FromVariant(varValue);
    DaoCall([&] { m_state->cursor->Set(nIndex, v); });
    // A bound member follows, so that Update writes what was set.
    for (auto& f : m_state->fields)
        if (f.column == nIndex) {
            DaoSetMember(f.kind, f.pv, v);
            f.isNull = daosql::IsNull(v);
            f.dirty = true;
        }
}

void CDaoRecordset::SetFieldValue(LPCSTR lpszName, const COleVariant& varValue)
{
    ThrowIfClosed();
    int index = m_state->cursor->FindColumn(lpszName ? lpszName : "");
    if (index < 0)
        DaoThrow(daosql::Error(daosql::kErrItemNotFound, "Item not found in this collection.", "DAO.Fields"));
    SetFieldValue(index, varValue);
}

void CDaoRecordset::SetFieldValue(LPCSTR lpszName, LPCSTR lpszValue) { SetFieldValue(lpszName, COleVariant(lpszValue)); }

void CDaoRecordset::SetFieldValue(int nIndex, LPCSTR lpszValue) { SetFieldValue(nIndex, COleVariant(lpszValue)); }

void CDaoRecordset::SetFieldValueNull(LPCSTR lpszName)
{
    COleVariant null;
    null.vt = VT_NULL;
    SetFieldValue(lpszName, null);
}

void CDaoRecordset::SetFieldValueNull(int nIndex)
{
    COleVariant null;
    null.vt = VT_NULL;
    SetFieldValue(nIndex, null);
}

short CDaoRecordset::GetFieldCount()
{
    ThrowIfClosed();
    return static_cast<short>(m_state->cursor->ColumnCount());
}

void CDaoRecordset::SetFieldDirty(void* pv, BOOL bDirty)
{
    for (auto& f : m_state->fields)
        if (pv == NULL || f.pv == pv)
            f.dirty = bDirty != FALSE;
}

void CDaoRecordset::SetFieldNull(void* pv, BOOL bNull)
{
    for (auto& f : m_state->fields)
        if (pv == NULL || f.pv == pv) {
            f.isNull = bNull != FALSE;
            if (bNull) {
                DaoSetMember(f.kind, f.pv, std::monostate{});
                f.dirty = true;
            }
        }
}

BOOL CDaoRecordset::IsFieldDirty(void* pv)
{
    for (auto& f : m_state->fields)
        if ((pv == NULL || f.pv == pv) && (f.dirty || !(DaoMemberValue(f.kind, f.pv) == f.baseline)))
            return TRUE;
    return FALSE;
}

BOOL CDaoRecordset::IsFieldNull(void* pv)
{
    for (auto& f : m_state->fields)
        if ((pv == NULL || f.pv == pv) && f.isNull)
            return TRUE;
    return FALSE;
}

CString CDaoRecordset::GetSQL() const
{
    if (IsStatement(m_strSQL))
        return m_strSQL;
    CString sql = "SELECT ";
    if (m_state->fields.empty()) {
        sql += "*";
    } else {
        for (std::size_t i = 0; i < m_state->fields.size(); ++i) {
            if (i)
                sql += ", ";
            sql += m_state->fields[i].name.c_str();
        }
    }
    sql += " FROM ";
    sql += m_strSQL;
    if (!m_strFilter.IsEmpty()) {
        sql += " WHERE ";
        sql += m_strFilter;
    }
    if (!m_strSort.IsEmpty()) {
        sql += " ORDER BY ";
        sql += m_strSort;
    }
    return sql;
}

CString CDaoRecordset::GetName() { return m_strSQL; }

int CDaoRecordset::GetType()
{
    ThrowIfClosed();
    return m_nOpenType;
}
