#include "base/FirstLineSet.h"

IMPLEMENT_DYNAMIC(FirstLineSet, CXRecordset)

FirstLineSet::FirstLineSet(CDaoDatabase* pDatabase) : CXRecordset(pDatabase) { m_nFields = 2; }

CString FirstLineSet::GetDefaultSQL() { return "[First Line]"; }

void FirstLineSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[Rin Code]", m_RinCode);
    DFX_Text(pFX, "[First Line]", m_FirstLine);
}
