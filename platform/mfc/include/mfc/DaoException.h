// CDaoException: a failure of the database engine as the DAO classes raise it, with the
// engine's error number, its text and the object that raised it.
#pragma once

#include <windef.h>

#include <mfc/Exception.h>
#include <mfc/String.h>

#include <vector>

#ifndef VL_SCODE_DEFINED
#define VL_SCODE_DEFINED
typedef LONG SCODE;
#endif

// Errors of the class library itself (m_nAfxDaoError); NO_AFX_DAO_ERROR when the engine failed.
#define NO_AFX_DAO_ERROR 0
#define AFX_DAO_ERROR_MIN 2000
#define AFX_DAO_ERROR_ENGINE_INITIALIZATION (AFX_DAO_ERROR_MIN + 0)
#define AFX_DAO_ERROR_DFX_BIND (AFX_DAO_ERROR_MIN + 1)
#define AFX_DAO_ERROR_OBJECT_NOT_OPEN (AFX_DAO_ERROR_MIN + 2)
#define AFX_DAO_ERROR_MAX (AFX_DAO_ERROR_MIN + 2)

// One entry of the engine's error collection.
struct CDaoErrorInfo {
    long m_lErrorCode;
    CString m_strSource;
    CString m_strDescription;
    CString m_strHelpFile;
    long m_lHelpContext;
};

class CDaoException : public CException {
    DECLARE_DYNAMIC(CDaoException)
public:
    CDaoException();
    virtual ~CDaoException();

    // Number of errors the engine reported for this failure (0 for an error of the class
    // library alone) and the selection of one of them into m_pErrorInfo.
    short GetErrorCount();
    void GetErrorInfo(int nIndex);

    // The engine's description, or the class library's text for its own errors.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    SCODE m_scode;
    int m_nAfxDaoError;
    CDaoErrorInfo* m_pErrorInfo;

    // Not part of the platform's interface: the errors this failure carries.
    void AddError(long lErrorCode, const CString& strDescription, const CString& strSource);

private:
    std::vector<CDaoErrorInfo> m_errors;
};

// Throws a CDaoException for an error of the class library (nAfxDaoError) or, with
// NO_AFX_DAO_ERROR, for the engine's last error.
[[noreturn]] void AFXAPI AfxThrowDaoException(int nAfxDaoError = NO_AFX_DAO_ERROR, SCODE scode = 0);
