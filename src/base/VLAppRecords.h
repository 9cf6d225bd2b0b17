// [Table Data]: the program's own keyed values (a text key with a text and a number), such as
// the row counts the random browser caches.
#pragma once

#include "base/XRecordset.h"

class CVLAppRecords : public CXRecordset {
    DECLARE_DYNAMIC(CVLAppRecords)
public:
    explicit CVLAppRecords(CDaoDatabase* pDatabase);

    CString m_KeyValue;
    CString m_StringKey;
    long m_NumberKey;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};
