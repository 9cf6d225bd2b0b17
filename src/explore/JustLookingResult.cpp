#include "explore/JustLookingResult.h"

IMPLEMENT_DYNAMIC(CJustLookingResult, CObject)

CJustLookingResult::CJustLookingResult() = default;

CJustLookingResult::CJustLookingResult(const CRin& rin, LPCSTR lpszTitle, LPCSTR lpszCategory)
    : m_rin(rin), m_strTitle(lpszTitle != NULL ? lpszTitle : ""), m_strCategory(lpszCategory != NULL ? lpszCategory : "")
{
}

CJustLookingResult::CJustLookingResult(const CJustLookingResult& other)
    : CObject(), m_rin(other.m_rin), m_strTitle(other.m_strTitle), m_strCategory(other.m_strCategory)
{
}

CJustLookingResult& CJustLookingResult::operator=(const CJustLookingResult& other)
{
    if (this != &other) {
        m_rin = other.m_rin;
        m_strTitle = other.m_strTitle;
        m_strCategory = other.m_strCategory;
    }
    return *this;
}

template <>
void AFXAPI SerializeElements<CJustLookingResult>(CArchive& ar, CJustLookingResult* pElements, INT_PTR nCount)
{
    for (INT_PTR i = 0; i < nCount; ++i) {
        CJustLookingResult& result = pElements[i];
        if (ar.IsStoring()) {
            ar << result.m_rin.GetNumber() << result.m_strTitle << result.m_strCategory;
        } else {
            DWORD dwNumber = 0;
            ar >> dwNumber >> result.m_strTitle >> result.m_strCategory;
            result.m_rin = CRin(dwNumber);
        }
    }
}

CJustLookingResultArray::CJustLookingResultArray(const CJustLookingResultArray& other)
    : CArray<CJustLookingResult, const CJustLookingResult&>()
{
    Copy(other);
}

CJustLookingResultArray& CJustLookingResultArray::operator=(const CJustLookingResultArray& other)
{
    if (this != &other)
        Copy(other);
    return *this;
}
