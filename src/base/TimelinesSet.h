// [Timelines]: each timeline's content number and title with the article it belongs to.
#pragma once

#include "base/XRecordset.h"

class CTimelinesSet : public CXRecordset {
    DECLARE_DYNAMIC(CTimelinesSet)
public:
    explicit CTimelinesSet(CDaoDatabase* pDatabase);

    long m_RIN;
    CString m_Title;
    long m_ArticleRIN;
    CString m_ArticleTitle;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};
