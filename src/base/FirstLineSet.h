// [First Line]: the opening line of each article, by its content number in decimal.
#pragma once

#include "base/XRecordset.h"

class FirstLineSet : public CXRecordset {
    DECLARE_DYNAMIC(FirstLineSet)
public:
    explicit FirstLineSet(CDaoDatabase* pDatabase);

    CString m_RinCode;
    CString m_FirstLine;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};
