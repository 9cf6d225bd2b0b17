// CDaoRecordset: the rows of a table or a query with a current record, bound to members of a
// derived class through DoFieldExchange and the DFX_ functions.
//
// A derived class sets m_nFields (and m_nParams) in its constructor, names its table or query
// in GetDefaultSQL and binds its members:
//
//     void CFlagSet::DoFieldExchange(CDaoFieldExchange* pFX)
//     {
//         pFX->SetFieldType(CDaoFieldExchange::outputColumn);
//         DFX_Text(pFX, "[RIT]", m_RIT);
//         DFX_Double(pFX, "[Year]", m_Year);
//         pFX->SetFieldType(CDaoFieldExchange::param);
//         DFX_Text(pFX, "[ContentParam]", m_ContentParam);
//     }
//
// Output columns are bound by name; parameters are bound by name to the [names] the filter or
// the query uses. Opening runs "SELECT <bound columns> FROM <default SQL> WHERE <m_strFilter>
// ORDER BY <m_strSort>" (or the SELECT statement given, narrowed and sorted the same way).
#pragma once

#include <windef.h>

#include <mfc/DaoDatabase.h>
#include <mfc/DaoException.h>
#include <mfc/Object.h>
#include <mfc/OleDateTime.h>
#include <mfc/OleVariant.h>
#include <mfc/String.h>

#include <memory>
#include <vector>

#define AFX_DAO_USE_DEFAULT_TYPE (-1)
#define AFX_DAO_TEXT_DEFAULT_SIZE 255
#define AFX_DAO_DISABLE_FIELD_CACHE 0
#define AFX_DAO_ENABLE_FIELD_CACHE 1
#define AFX_DAO_CACHE_BY_VALUE 0x80

class CDaoRecordset;
struct CDaoRecordsetState;

// What DoFieldExchange is asked to do with the members it binds.
class CDaoFieldExchange {
public:
    enum DFX_Operation {
        AddToParameterList,  // collect the parameter names
        AddToSelectList,     // collect the column names
        BindField,           // (nothing to do: columns are bound by name)
        BindParam,           // hand the parameter values to the query
        Fixup,               // load the current record into the members
        AllocCache,
        StoreField,          // remember the members (before AddNew or Edit)
        LoadField,           // put the remembered values back
        FreeCache,
        SetFieldNull,        // set the members to Null (AddNew)
        MarkForAddNew,
        MarkForEdit,
        SetDirtyField,       // write the changed members into the edit buffer (Update)
        DefaultValueUpdate,
        DumpField,
        MaxDFXOperation
    };
    enum FieldType { none, outputColumn, param };

    CDaoFieldExchange(UINT nOperation, CDaoRecordset* prs, void* pvField = NULL);

    // Whether a DFX_ call is to act now (the field type of the binding fits the operation).
    BOOL IsValidOperation();
    void SetFieldType(UINT nFieldType);

    UINT m_nOperation;
    CDaoRecordset* m_prs;
    UINT m_nFieldType;
    void* m_pvField;  // the one member an operation is about (NULL: all)

    // Not part of the platform's interface: the work of one DFX_ call.
    enum ValueKind { kText, kLong, kInt, kShort, kByte, kBool, kSingle, kDouble, kDateTime };
    void Exchange(LPCSTR lpszName, ValueKind kind, void* pv, int nMaxLength = 0);

    int m_nField = 0;  // output columns seen so far in this pass
    int m_nParam = 0;  // parameters seen so far in this pass
};

void AFXAPI DFX_Text(CDaoFieldExchange* pFX, LPCSTR lpszName, CString& value,
                     int nPreAllocSize = AFX_DAO_TEXT_DEFAULT_SIZE, DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Long(CDaoFieldExchange* pFX, LPCSTR lpszName, long& value,
                     DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Long(CDaoFieldExchange* pFX, LPCSTR lpszName, LONG& value,
                     DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Short(CDaoFieldExchange* pFX, LPCSTR lpszName, short& value,
                      DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Byte(CDaoFieldExchange* pFX, LPCSTR lpszName, BYTE& value,
                     DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Bool(CDaoFieldExchange* pFX, LPCSTR lpszName, BOOL& value,
                     DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Single(CDaoFieldExchange* pFX, LPCSTR lpszName, float& value,
                       DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Double(CDaoFieldExchange* pFX, LPCSTR lpszName, double& value,
                       DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_DateTime(CDaoFieldExchange* pFX, LPCSTR lpszName, COleDateTime& value,
                         DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);

class CDaoRecordset : public CObject {
    DECLARE_DYNAMIC(CDaoRecordset)
public:
    CDaoRecordset(CDaoDatabase* pDatabase = NULL);
    virtual ~CDaoRecordset();

    // Opens the record set: nOpenType dbOpenDynaset, dbOpenSnapshot or dbOpenTable (or
    // AFX_DAO_USE_DEFAULT_TYPE for m_nDefaultType); lpszSQL a table name, a join, a SELECT
    // statement, or NULL for GetDefaultSQL(); nOptions dbReadOnly, dbAppendOnly (others are
    // accepted and change nothing). The first record becomes current. Raises CDaoException.
    virtual void Open(int nOpenType = AFX_DAO_USE_DEFAULT_TYPE, LPCSTR lpszSQL = NULL, int nOptions = 0);
    virtual void Close();
    BOOL IsOpen() const;

    BOOL IsBOF() const;
    BOOL IsEOF() const;
    BOOL IsDeleted() const;
    BOOL CanUpdate() const;
    BOOL CanAppend() const;
    BOOL CanScroll() const;
    BOOL CanRestart();
    BOOL CanTransact();
    BOOL CanBookmark();

    // Moving with no record there (MoveNext at the end, MovePrev before the start, MoveFirst
    // on an empty set) raises CDaoException 3021. Moving drops an unfinished AddNew or Edit.
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrev();
    virtual void Move(long lRows);

    // 0-based position of the current record; -1 with none.
    long GetAbsolutePosition();
    void SetAbsolutePosition(long lPosition);
    // Records visited so far (all of them after MoveLast); a table-type set knows all at once.
    long GetRecordCount();

    // Runs the query again with the current m_strFilter, m_strSort and parameter members.
    virtual void Requery();

    virtual void AddNew();
    virtual void Edit();
    virtual void Update();
    virtual void Delete();
    virtual void CancelUpdate();
    short GetEditMode();

    // Fields by name (also fields no member binds) or by index in the SELECT list.
    void GetFieldValue(LPCSTR lpszName, COleVariant& varValue);
    void GetFieldValue(int nIndex, COleVariant& varValue);
    COleVariant GetFieldValue(LPCSTR lpszName);
    COleVariant GetFieldValue(int nIndex);
    void SetFieldValue(LPCSTR lpszName, const COleVariant& varValue);
    void SetFieldValue(int nIndex, const COleVariant& varValue);
    void SetFieldValue(LPCSTR lpszName, LPCSTR lpszValue);
    void SetFieldValue(int nIndex, LPCSTR lpszValue);
    void SetFieldValueNull(LPCSTR lpszName);
    void SetFieldValueNull(int nIndex);
    short GetFieldCount();

    // Null and dirty state of a bound member (pv the member's address; NULL: all members).
    void SetFieldDirty(void* pv, BOOL bDirty = TRUE);
    void SetFieldNull(void* pv, BOOL bNull = TRUE);
    BOOL IsFieldDirty(void* pv);
    BOOL IsFieldNull(void* pv);

    CString GetSQL() const;
    CString GetName();
    int GetType();

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);

    CDaoDatabase* m_pDatabase;
    CString m_strFilter;
    CString m_strSort;
    int m_nFields;
    int m_nParams;
    int m_nDefaultType;
    BOOL m_bCheckCacheForDirtyFields;

    // Not part of the platform's interface: the state DoFieldExchange works on.
    CDaoRecordsetState* GetState() const { return m_state.get(); }

private:
    void ThrowIfClosed() const;
    void RunFieldExchange(UINT nOperation, void* pvField = NULL);
    void LoadCurrent();
    void BindParams();

    std::unique_ptr<CDaoRecordsetState> m_state;
    CString m_strSQL;
    BOOL m_bOwnsDatabase;
    int m_nOpenType;
    int m_nOptions;
};
