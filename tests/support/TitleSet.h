// A record set of the random browser's items ([Dada Vaveroz Data]) sorted by title, as the prefix
// search and the database list provider page through them: the key is the title, the identifier
// the content number, the content type the [Content] column.
#pragma once

#include "base/VLRecordset.h"

#include <afxdao.h>

#include <cstdlib>

namespace testsets {

class CTitleSet : public CVLRecordset {
public:
    explicit CTitleSet(CDaoDatabase* pdb) : CVLRecordset(pdb)
    {
        m_nFields = 3;
        SetDefaultSQL("[Dada Vaveroz Data]");
        m_strSort = "[Title]";
    }
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        pFX->SetFieldType(CDaoFieldExchange::outputColumn);
        DFX_Text(pFX, "[Title]", m_Title);
        DFX_Text(pFX, "[Rin Code]", m_RinCode);
        DFX_Text(pFX, "[Content]", m_Content);
    }
    void Open(int nOpenType = AFX_DAO_USE_DEFAULT_TYPE, LPCSTR lpszSQL = NULL, int nOptions = 0) override
    {
        CVLRecordset::Open(nOpenType, lpszSQL, nOptions);
        m_nRecordCount = 0;
        if (!IsEOF()) {
            MoveLast();
            m_nRecordCount = GetRecordCount();
            MoveFirst();
        }
    }
    CString GetKey(CString& strKey) override { return strKey = m_Title; }
    void CopyFields(CVLRecordset* pOther) override
    {
        if (CTitleSet* p = dynamic_cast<CTitleSet*>(pOther)) {
            p->m_Title = m_Title;
            p->m_RinCode = m_RinCode;
            p->m_Content = m_Content;
        }
    }
    long GetItemId() override { return atol(m_RinCode); }
    long GetRowCount() override { return m_nRecordCount; }
    CString GetContentType() override { return m_Content; }

    CString m_Title, m_RinCode, m_Content;
};

}  // namespace testsets
