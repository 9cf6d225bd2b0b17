// CJustLookingStateObj: the history entry of the browsing view (window 8002, "Dada Vaveroz"):
// the chosen category and content and a copy of the results shown.
#pragma once

#include "base/VLStateObj.h"
#include "explore/JustLookingResult.h"

class CJustLookingStateObj : public CVLStateObj {
    DECLARE_DYNAMIC(CJustLookingStateObj)
public:
    CJustLookingStateObj();
    CJustLookingStateObj(int nCategory, int nContent, const CJustLookingResultArray& results);
    ~CJustLookingStateObj() override;

    // A new state with the same values.
    CVLStateObj* Clone() const override;
    // Takes over category, content and results of another state (window id, title and flags
    // too, when it is one of ours).
    virtual void CopyFrom(const CVLStateObj& other);

    int m_nCategory;
    int m_nContent;
    CJustLookingResultArray m_results;
};
