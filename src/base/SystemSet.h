// [System Table]: one row naming the last flag increment file applied ("flg%05ld.inc").
#pragma once

#include "base/XRecordset.h"

class CSystemSet : public CXRecordset {
    DECLARE_DYNAMIC(CSystemSet)
public:
    explicit CSystemSet(CDaoDatabase* pDatabase);

    CString m_LastFlagIncrement;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};
