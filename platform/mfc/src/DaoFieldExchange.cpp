// Field exchange: moving values between a record set's bound members and the engine.
#include <afx.h>
#include <mfc/DaoRecordset.h>

#include "DaoInternal.h"

#include <limits>

namespace {

using Kind = CDaoFieldExchange::ValueKind;

// Parameter name without brackets.
std::string Bare(LPCSTR name)
{
    std::string s = name ? name : "";
    while (!s.empty() && (s.front() == '[' || s.front() == ' '))
        s.erase(s.begin());
    while (!s.empty() && (s.back() == ']' || s.back() == ' '))
        s.pop_back();
    return s;
}

template <class T>
T Clamp(std::int64_t v)
{
    if (v < static_cast<std::int64_t>(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (v > static_cast<std::int64_t>(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return static_cast<T>(v);
}

}  // namespace

daosql::Value DaoMemberValue(Kind kind, const void* pv)
{
    switch (kind) {
    case Kind::kText: return std::string(static_cast<LPCSTR>(*static_cast<const CString*>(pv)));
    case Kind::kLong: return static_cast<std::int64_t>(*static_cast<const long*>(pv));
    case Kind::kInt: return static_cast<std::int64_t>(*static_cast<const LONG*>(pv));
    case Kind::kShort: return static_cast<std::int64_t>(*static_cast<const short*>(pv));
    case Kind::kByte: return static_cast<std::int64_t>(*static_cast<const BYTE*>(pv));
    case Kind::kBool: return std::int64_t{*static_cast<const BOOL*>(pv) ? -1 : 0};
    case Kind::kSingle: return static_cast<double>(*static_cast<const float*>(pv));
    case Kind::kDouble: return *static_cast<const double*>(pv);
    case Kind::kDateTime: {
        const COleDateTime& t = *static_cast<const COleDateTime*>(pv);
        if (t.GetStatus() != COleDateTime::valid)
            return std::monostate{};
        daosql::DateParts d{t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond()};
        return daosql::FormatDateText(d);
    }
    }
    return std::monostate{};
}

void DaoSetMember(Kind kind, void* pv, const daosql::Value& v)
{
    switch (kind) {
    case Kind::kText: {
        std::string s = daosql::ValueToText(v);
        *static_cast<CString*>(pv) = CString(s.data(), static_cast<int>(s.size()));
        break;
    }
    case Kind::kLong: *static_cast<long*>(pv) = Clamp<long>(daosql::ValueToInt(v)); break;
    case Kind::kInt: *static_cast<LONG*>(pv) = Clamp<LONG>(daosql::ValueToInt(v)); break;
    case Kind::kShort: *static_cast<short*>(pv) = Clamp<short>(daosql::ValueToInt(v)); break;
    case Kind::kByte: *static_cast<BYTE*>(pv) = Clamp<BYTE>(daosql::ValueToInt(v)); break;
    case Kind::kBool: *static_cast<BOOL*>(pv) = daosql::ValueToInt(v) != 0; break;
    case Kind::kSingle: *static_cast<float*>(pv) = static_cast<float>(daosql::ValueToDouble(v)); break;
    case Kind::kDouble: *static_cast<double*>(pv) = daosql::ValueToDouble(v); break;
    case Kind::kDateTime: {
        COleDateTime& t = *static_cast<COleDateTime*>(pv);
        if (daosql::IsNull(v)) {
            t.m_dt = 0;
            t.SetStatus(COleDateTime::null);
        } else if (auto* s = std::get_if<std::string>(&v)) {
            if (auto d = daosql::ParseDateText(*s))
                t.SetDateTime(d->year, d->month, d->day, d->hour, d->minute, d->second);
            else
                t.SetStatus(COleDateTime::invalid);
        } else {
            t = daosql::ValueToDouble(v);  // a number is the automation date itself
        }
        break;
    }
    }
}

CDaoFieldExchange::CDaoFieldExchange(UINT nOperation, CDaoRecordset* prs, void* pvField)
    : m_nOperation(nOperation), m_prs(prs), m_nFieldType(none), m_pvField(pvField)
{
}

void CDaoFieldExchange::SetFieldType(UINT nFieldType) { m_nFieldType = nFieldType; }

BOOL CDaoFieldExchange::IsValidOperation()
{
    switch (m_nOperation) {
    case AddToParameterList:
    case BindParam: return m_nFieldType == param;
    default: return m_nFieldType == outputColumn;
    }
}

void CDaoFieldExchange::Exchange(LPCSTR lpszName, ValueKind kind, void* pv, int)
{
    CDaoRecordsetState* st = m_prs->GetState();
    if (m_nFieldType == param) {
        ++m_nParam;
        if (m_nOperation == AddToParameterList)
            st->paramNames.emplace_back(Bare(lpszName), kind);
        else if (m_nOperation == BindParam)
            st->params.push_back({Bare(lpszName), DaoMemberValue(kind, pv)});
        return;
    }
    if (m_nFieldType != outputColumn || m_nOperation == AddToParameterList || m_nOperation == BindParam)
        return;
    std::size_t index = static_cast<std::size_t>(m_nField++);
    if (m_nOperation == AddToSelectList) {
        CDaoRecordsetState::Field f;
        f.name = lpszName ? lpszName : "";
        f.kind = kind;
        f.pv = pv;
        st->fields.push_back(f);
        return;
    }
    if (index >= st->fields.size())
        AfxThrowDaoException(AFX_DAO_ERROR_DFX_BIND);
    CDaoRecordsetState::Field& f = st->fields[index];
    f.pv = pv;  // the member as this pass names it
    if (m_pvField != NULL && m_pvField != pv)
        return;
    switch (m_nOperation) {
    case Fixup: {
        const daosql::Value& v = st->cursor->Get(f.column);
        DaoSetMember(kind, pv, v);
        f.isNull = daosql::IsNull(v);
        f.dirty = false;
        break;
    }
    case StoreField: f.saved = DaoMemberValue(kind, pv); break;
    case LoadField: DaoSetMember(kind, pv, f.saved); break;
    case SetFieldNull:
    case MarkForAddNew:
        DaoSetMember(kind, pv, std::monostate{});
        f.isNull = true;
        break;
    case MarkForEdit: f.baseline = DaoMemberValue(kind, pv); break;
    case SetDirtyField: {
        daosql::Value now = DaoMemberValue(kind, pv);
        bool changed = f.dirty || (m_prs->m_bCheckCacheForDirtyFields && !(now == f.baseline));
        if (!changed)
            break;
        // A member set to Null and left at its Null value writes Null.
        bool writeNull = false;
        if (f.isNull) {
            switch (kind) {
            case Kind::kText: writeNull = daosql::ValueToText(now).empty(); break;
            case Kind::kDateTime: writeNull = daosql::IsNull(now); break;
            default: writeNull = daosql::ValueToDouble(now) == 0; break;
            }
        }
        st->cursor->Set(f.column, writeNull ? daosql::Value{} : now);
        break;
    }
    default: break;
    }
}

void AFXAPI DFX_Text(CDaoFieldExchange* pFX, LPCSTR lpszName, CString& value, int nPreAllocSize, DWORD)
{
    pFX->Exchange(lpszName, CDaoFieldExchange::kText, &value, nPreAllocSize);
}

void AFXAPI DFX_Long(CDaoFieldExchange* pFX, LPCSTR lpszName, long& value, DWORD)
{
    pFX->Exchange(lpszName, CDaoFieldExchange::kLong, &value);
}

void AFXAPI DFX_Long(CDaoFieldExchange* pFX, LPCSTR lpszName, LONG& value, DWORD)
{
    pFX->Exchange(lpszName, CDaoFieldExchange::kInt, &value);
}

void AFXAPI DFX_Short(CDaoFieldExchange* pFX, LPCSTR lpszName, short& value, DWORD)
{
    pFX->Exchange(lpszName, CDaoFieldExchange::kShort, &value);
}

void AFXAPI DFX_Byte(CDaoFieldExchange* pFX, LPCSTR lpszName, BYTE& value, DWORD)
{
    pFX->Exchange(lpszName, CDaoFieldExchange::kByte, &value);
}

void AFXAPI DFX_Bool(CDaoFieldExchange* pFX, LPCSTR lpszName, BOOL& value, DWORD)
{
    pFX->Exchange(lpszName, CDaoFieldExchange::kBool, &value);
}

void AFXAPI DFX_Single(CDaoFieldExchange* pFX, LPCSTR lpszName, float& value, DWORD)
{
    pFX->Exchange(lpszName, CDaoFieldExchange::kSingle, &value);
}

void AFXAPI DFX_Double(CDaoFieldExchange* pFX, LPCSTR lpszName, double& value, DWORD)
{
    pFX->Exchange(lpszName, CDaoFieldExchange::kDouble, &value);
}

void AFXAPI DFX_DateTime(CDaoFieldExchange* pFX, LPCSTR lpszName, COleDateTime& value, DWORD)
{
    pFX->Exchange(lpszName, CDaoFieldExchange::kDateTime, &value);
}
