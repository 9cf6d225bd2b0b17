// CArticleStateObj: the history entry of the article view, the article's reference (owned) with
// its title as the entry's title.
#pragma once

#include "base/VLStateObj.h"

class CReference;

class CArticleStateObj : public CVLStateObj {
    DECLARE_DYNAMIC(CArticleStateObj)
public:
    // Takes the reference over; the title is its first 127 characters; window id 8001.
    explicit CArticleStateObj(CReference* pReference);
    ~CArticleStateObj() override;

    // The reference's disc and data-folder kind (disc 1, kind 1 without one).
    int GetDisc() const override;
    int GetDataDirType() const override;
    // A new state over a clone of the reference.
    CVLStateObj* Clone() const override;

    CReference* GetReference() const { return m_pReference; }

private:
    CReference* m_pReference;
};
