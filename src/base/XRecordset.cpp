#include "base/XRecordset.h"

IMPLEMENT_DYNAMIC(CXRecordset, CDaoRecordset)

CXRecordset::CXRecordset(CDaoDatabase* pDatabase) : CDaoRecordset(pDatabase) { m_nDefaultType = dbOpenDynaset; }

CXRecordset::~CXRecordset() = default;

CString CXRecordset::GetDefaultDBName() { return CString(); }

BOOL CXRecordset::OpenRecordsetChecked(LPCSTR lpszSQL, BOOL bReadOnly)
{
    try {
        Open(AFX_DAO_USE_DEFAULT_TYPE, lpszSQL, bReadOnly ? dbReadOnly : 0);
    } catch (CDaoException* e) {
        e->ReportError();
        throw;
    }
    return TRUE;
}

CString JetTextLiteral(LPCSTR lpszText)
{
    CString strText = lpszText != NULL ? lpszText : "";
    strText.Replace("'", "''");
    return "'" + strText + "'";
}

CString JetLikeEscape(LPCSTR lpszText)
{
    CString strOut;
    for (LPCSTR p = lpszText != NULL ? lpszText : ""; *p != '\0'; ++p) {
        if (*p == '*' || *p == '?' || *p == '#' || *p == '[') {
            strOut += '[';
            strOut += *p;
            strOut += ']';
        } else {
            strOut += *p;
        }
    }
    return strOut;
}
