#include "base/SystemSet.h"

IMPLEMENT_DYNAMIC(CSystemSet, CXRecordset)

CSystemSet::CSystemSet(CDaoDatabase* pDatabase) : CXRecordset(pDatabase) { m_nFields = 1; }

CString CSystemSet::GetDefaultSQL() { return "[System Table]"; }

void CSystemSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[Last Flag Increment]", m_LastFlagIncrement);
}
