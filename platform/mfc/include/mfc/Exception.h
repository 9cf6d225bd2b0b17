// The class library's exceptions. They are thrown by pointer (THROW or the AfxThrow helpers)
// and the handler frees them with Delete(); the TRY/CATCH macros delete the caught exception
// at the end of the block unless it is passed on with THROW_LAST.
#pragma once

#include <windef.h>

#include <mfc/Object.h>
#include <mfc/String.h>

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException();
    // bAutoDelete FALSE for exception objects that are not on the heap (Delete leaves them).
    explicit CException(BOOL bAutoDelete);

    // Frees a heap exception; the handler's way of disposing of what it caught.
    void Delete();

    // Copies the description into lpszError (at most nMaxError bytes with the terminator);
    // FALSE when there is no description.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
    // Shows the description in a message box (or the text of string resource nMessageID when
    // there is none); returns the box's result.
    virtual int ReportError(UINT nType = 0 /* MB_OK */, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};

// Exceptions whose description is a fixed text.
class CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    CSimpleException();
    explicit CSimpleException(BOOL bAutoDelete);
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

protected:
    virtual LPCSTR GetDefaultMessage() const;
};

class CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    CMemoryException() = default;
    explicit CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    virtual LPCSTR GetDefaultMessage() const;
};

class CNotSupportedException : public CSimpleException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    CNotSupportedException() = default;
    explicit CNotSupportedException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    virtual LPCSTR GetDefaultMessage() const;
};

class CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    CInvalidArgException() = default;
    explicit CInvalidArgException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    virtual LPCSTR GetDefaultMessage() const;
};

class CResourceException : public CSimpleException {
    DECLARE_DYNAMIC(CResourceException)
public:
    CResourceException() = default;
    explicit CResourceException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    virtual LPCSTR GetDefaultMessage() const;
};

// Thrown to stop an operation the user has cancelled; the handler reports nothing.
class CUserException : public CSimpleException {
    DECLARE_DYNAMIC(CUserException)
public:
    CUserException() = default;
    explicit CUserException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    virtual LPCSTR GetDefaultMessage() const;
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = CFileException::none, LONG lOsError = -1, LPCSTR lpszArchiveName = NULL);

    // The cause for a platform error code (GetLastError) or a C runtime errno value.
    static int PASCAL OsErrorToException(LONG lOsError);
    static int PASCAL ErrnoToException(int nErrno);
    [[noreturn]] static void PASCAL ThrowOsError(LONG lOsError, LPCSTR lpszFileName = NULL);
    [[noreturn]] static void PASCAL ThrowErrno(int nErrno, LPCSTR lpszFileName = NULL);

    // "Access to C:\X.DAT was denied." and the like; the file is "an unnamed file" when unknown.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, generic, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = CArchiveException::none, LPCSTR lpszArchiveName = NULL);

    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AFXAPI AfxThrowMemoryException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = NULL);
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = NULL);

// Where CException::ReportError shows its text: the window system installs its message box
// here; until then (and after AfxSetReportErrorHandler(NULL)) the text goes to the standard
// error stream and the result is IDOK.
typedef int(AFXAPI* AFX_REPORT_ERROR_HANDLER)(LPCSTR lpszText, UINT nType);
AFX_REPORT_ERROR_HANDLER AFXAPI AfxSetReportErrorHandler(AFX_REPORT_ERROR_HANDLER pfnHandler);

// Deletes the exception a CATCH block took unless THROW_LAST passed it on.
struct AFX_EXCEPTION_LINK {
    CException* m_pException = NULL;
    AFX_EXCEPTION_LINK() = default;
    AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
    AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;
    ~AFX_EXCEPTION_LINK()
    {
        if (m_pException != NULL)
            m_pException->Delete();
    }
};

#define TRY                                   \
    {                                         \
        AFX_EXCEPTION_LINK _afxExceptionLink; \
        try {
#define CATCH(class, e)                                 \
    }                                                   \
    catch (class * e)                                   \
    {                                                   \
        ASSERT(e->IsKindOf(RUNTIME_CLASS(class)));      \
        _afxExceptionLink.m_pException = e;
#define AND_CATCH(class, e) CATCH(class, e)
#define END_CATCH \
    }             \
    }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL END_CATCH
#define END_TRY CATCH(CException, _afxEndTryException) END_CATCH
#define THROW(e) throw e
#define THROW_LAST()                              \
    do {                                          \
        _afxExceptionLink.m_pException = NULL;    \
        throw;                                    \
    } while (0)
