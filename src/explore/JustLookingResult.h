// CJustLookingResult: one item the browsing view found (its content number, title and category
// code), and CJustLookingResultArray, the growable array of them that the view and its history
// states keep.
#pragma once

#include "base/Rin.h"

#include <afx.h>
#include <afxtempl.h>

class CJustLookingResult : public CObject {
    DECLARE_DYNAMIC(CJustLookingResult)
public:
    CJustLookingResult();
    CJustLookingResult(const CRin& rin, LPCSTR lpszTitle, LPCSTR lpszCategory);
    CJustLookingResult(const CJustLookingResult& other);
    CJustLookingResult& operator=(const CJustLookingResult& other);

    CRin m_rin;
    CString m_strTitle;
    CString m_strCategory;  // GEO, HIS, HUM, IND, LIF, PHY, REC or SOC
};

// Stores the number, the title and the category of each result.
template <>
void AFXAPI SerializeElements<CJustLookingResult>(CArchive& ar, CJustLookingResult* pElements, INT_PTR nCount);

class CJustLookingResultArray : public CArray<CJustLookingResult, const CJustLookingResult&> {
public:
    CJustLookingResultArray() = default;
    CJustLookingResultArray(const CJustLookingResultArray& other);
    CJustLookingResultArray& operator=(const CJustLookingResultArray& other);
};
