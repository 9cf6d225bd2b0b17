#include "base/VLAppRecords.h"

IMPLEMENT_DYNAMIC(CVLAppRecords, CXRecordset)

CVLAppRecords::CVLAppRecords(CDaoDatabase* pDatabase) : CXRecordset(pDatabase), m_NumberKey(0) { m_nFields = 3; }

CString CVLAppRecords::GetDefaultSQL() { return "[Table Data]"; }

void CVLAppRecords::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[Key Value]", m_KeyValue);
    DFX_Text(pFX, "[String Key]", m_StringKey);
    DFX_Long(pFX, "[Number Key]", m_NumberKey);
}
