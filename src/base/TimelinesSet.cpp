#include "base/TimelinesSet.h"

IMPLEMENT_DYNAMIC(CTimelinesSet, CXRecordset)

CTimelinesSet::CTimelinesSet(CDaoDatabase* pDatabase) : CXRecordset(pDatabase), m_RIN(0), m_ArticleRIN(0)
{
    m_nFields = 4;
}

CString CTimelinesSet::GetDefaultSQL() { return "[Timelines]"; }

void CTimelinesSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Long(pFX, "[RIN]", m_RIN);
    DFX_Text(pFX, "[Title]", m_Title);
    DFX_Long(pFX, "[Article RIN]", m_ArticleRIN);
    DFX_Text(pFX, "[Article Title]", m_ArticleTitle);
}
