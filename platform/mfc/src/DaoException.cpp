#include <afx.h>
#include <mfc/DaoException.h>

#include "DaoInternal.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CDaoException, CException)

CDaoException::CDaoException() : m_scode(0), m_nAfxDaoError(NO_AFX_DAO_ERROR), m_pErrorInfo(NULL) {}

CDaoException::~CDaoException() = default;

void CDaoException::AddError(long lErrorCode, const CString& strDescription, const CString& strSource)
{
    CDaoErrorInfo info;
    info.m_lErrorCode = lErrorCode;
    info.m_strDescription = strDescription;
    info.m_strSource = strSource;
    info.m_lHelpContext = 0;
    m_errors.push_back(info);
    m_pErrorInfo = &m_errors.front();
}

short CDaoException::GetErrorCount() { return static_cast<short>(m_errors.size()); }

void CDaoException::GetErrorInfo(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_errors.size()))
        AfxThrowInvalidArgException();
    m_pErrorInfo = &m_errors[static_cast<std::size_t>(nIndex)];
}

BOOL CDaoException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = m_pErrorInfo ? static_cast<UINT>(m_pErrorInfo->m_lHelpContext) : 0;
    const char* text = nullptr;
    if (m_pErrorInfo)
        text = m_pErrorInfo->m_strDescription;
    else if (m_nAfxDaoError == AFX_DAO_ERROR_ENGINE_INITIALIZATION)
        text = "The database engine could not be started.";
    else if (m_nAfxDaoError == AFX_DAO_ERROR_DFX_BIND)
        text = "The record set's bound fields do not match its field or parameter count, or name no field of "
               "its query.";
    else if (m_nAfxDaoError == AFX_DAO_ERROR_OBJECT_NOT_OPEN)
        text = "The database or record set is not open.";
    if (text == nullptr || lpszError == NULL || nMaxError == 0) {
        if (lpszError && nMaxError)
            *lpszError = 0;
        return FALSE;
    }
    std::size_t n = std::strlen(text);
    if (n > nMaxError - 1)
        n = nMaxError - 1;
    std::memcpy(lpszError, text, n);
    lpszError[n] = 0;
    return TRUE;
}

void AFXAPI AfxThrowDaoException(int nAfxDaoError, SCODE scode)
{
    CDaoException* e = new CDaoException;
    e->m_nAfxDaoError = nAfxDaoError;
    e->m_scode = scode;
    throw e;
}

void DaoThrow(const daosql::Error& error)
{
    CDaoException* e = new CDaoException;
    e->m_scode = static_cast<SCODE>(0x800A0000L | (error.Code() & 0xFFFF));
    e->AddError(error.Code(), CString(error.Description().c_str()), CString(error.Source().c_str()));
    throw e;
}
