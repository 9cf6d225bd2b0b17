#include "explore/JustLookingStateObj.h"

#include "base/VLMessages.h"

IMPLEMENT_DYNAMIC(CJustLookingStateObj, CVLStateObj)

CJustLookingStateObj::CJustLookingStateObj() : m_nCategory(0), m_nContent(0)
{
    m_nWindowID = IDW_JUSTLOOKING;
    m_strTitle = "Dada Vaveroz";
}

CJustLookingStateObj::CJustLookingStateObj(int nCategory, int nContent, const CJustLookingResultArray& results)
    : CJustLookingStateObj()
{
    m_nCategory = nCategory;
    m_nContent = nContent;
    m_results.Copy(results);
}

CJustLookingStateObj::~CJustLookingStateObj() = default;

CVLStateObj* CJustLookingStateObj::Clone() const
{
    auto* pState = new CJustLookingStateObj;
    pState->CopyFrom(*this);
    return pState;
}

void CJustLookingStateObj::CopyFrom(const CVLStateObj& other)
{
    const auto* pOther = DYNAMIC_DOWNCAST(CJustLookingStateObj, const_cast<CVLStateObj*>(&other));
    if (pOther == NULL || pOther == this)
        return;
    Assign(other);
    m_nCategory = pOther->m_nCategory;
    m_nContent = pOther->m_nContent;
    m_results.Copy(pOther->m_results);
}
