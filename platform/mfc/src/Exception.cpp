#include <afx.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

int AFXAPI ReportToStandardError(LPCSTR lpszText, UINT)
{
    std::fprintf(stderr, "%s\n", lpszText);
    std::fflush(stderr);
    return 1;  // IDOK
}

std::atomic<AFX_REPORT_ERROR_HANDLER> g_reportError{&ReportToStandardError};

// Copies text into the caller's buffer the way the platform's string copies do: truncated to
// nMaxError - 1 bytes and always terminated.
BOOL CopyMessage(LPCSTR lpszText, LPSTR lpszError, UINT nMaxError)
{
    if (lpszError == NULL || nMaxError == 0)
        return TRUE;
    size_t n = std::strlen(lpszText);
    if (n > nMaxError - 1)
        n = nMaxError - 1;
    std::memcpy(lpszError, lpszText, n);
    lpszError[n] = '\0';
    return TRUE;
}

// Puts the file name where the text says %1; a file that has no name is "an unnamed file".
CString InsertFileName(LPCSTR lpszTemplate, const CString& strFileName)
{
    CString text(lpszTemplate);
    text.Replace("%1", strFileName.IsEmpty() ? "an unnamed file" : static_cast<LPCSTR>(strFileName));
    return text;
}

}  // namespace

AFX_REPORT_ERROR_HANDLER AFXAPI AfxSetReportErrorHandler(AFX_REPORT_ERROR_HANDLER pfnHandler)
{
    return g_reportError.exchange(pfnHandler ? pfnHandler : &ReportToStandardError);
}

// ---- CException ----

CException::CException() : m_bAutoDelete(TRUE) {}
CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

void CException::Delete()
{
    if (m_bAutoDelete > 0)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError != NULL && nMaxError > 0)
        *lpszError = '\0';
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    char szMessage[512];
    CString strText;
    if (GetErrorMessage(szMessage, sizeof(szMessage)))
        strText = szMessage;
    else if (nMessageID == 0 || !strText.LoadString(nMessageID))
        strText = "No error message is available.";
    return g_reportError.load()(strText, nType);
}

// ---- fixed-text exceptions ----

CSimpleException::CSimpleException() = default;
CSimpleException::CSimpleException(BOOL bAutoDelete) : CException(bAutoDelete) {}

BOOL CSimpleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    return CopyMessage(GetDefaultMessage(), lpszError, nMaxError);
}

LPCSTR CSimpleException::GetDefaultMessage() const { return "An unknown error has occurred."; }
LPCSTR CMemoryException::GetDefaultMessage() const { return "Out of memory."; }
LPCSTR CNotSupportedException::GetDefaultMessage() const { return "An unsupported operation was attempted."; }
LPCSTR CInvalidArgException::GetDefaultMessage() const { return "Encountered an improper argument."; }
LPCSTR CResourceException::GetDefaultMessage() const { return "A required resource was unavailable."; }
LPCSTR CUserException::GetDefaultMessage() const { return "An unknown error has occurred."; }

// ---- CFileException ----

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName)
{
}

int PASCAL CFileException::OsErrorToException(LONG lOsError)
{
    // The platform's error codes and the causes they stand for.
    static const struct {
        LONG lOsError;
        int cause;
    } table[] = {
        {NO_ERROR, none},
        {ERROR_FILE_NOT_FOUND, fileNotFound},
        {ERROR_PATH_NOT_FOUND, badPath},
        {ERROR_TOO_MANY_OPEN_FILES, tooManyOpenFiles},
        {ERROR_ACCESS_DENIED, accessDenied},
        {ERROR_INVALID_HANDLE, fileNotFound},
        {ERROR_BAD_FORMAT, invalidFile},
        {ERROR_INVALID_ACCESS, accessDenied},
        {ERROR_INVALID_DRIVE, badPath},
        {ERROR_CURRENT_DIRECTORY, removeCurrentDir},
        {ERROR_NOT_SAME_DEVICE, badPath},
        {ERROR_NO_MORE_FILES, fileNotFound},
        {ERROR_WRITE_PROTECT, accessDenied},
        {20 /* bad unit */, hardIO},
        {ERROR_NOT_READY, hardIO},
        {22 /* bad command */, hardIO},
        {23 /* CRC */, hardIO},
        {24 /* bad length */, badSeek},
        {ERROR_SEEK, badSeek},
        {26 /* not a DOS disk */, invalidFile},
        {27 /* sector not found */, badSeek},
        {ERROR_WRITE_FAULT, accessDenied},
        {ERROR_READ_FAULT, badSeek},
        {ERROR_SHARING_VIOLATION, sharingViolation},
        {ERROR_LOCK_VIOLATION, lockViolation},
        {ERROR_WRONG_DISK, badPath},
        {36 /* sharing buffer exceeded */, tooManyOpenFiles},
        {ERROR_HANDLE_EOF, endOfFile},
        {ERROR_HANDLE_DISK_FULL, diskFull},
        {52 /* duplicate name */, badPath},
        {53 /* bad network path */, badPath},
        {54 /* network busy */, accessDenied},
        {55 /* device does not exist */, badPath},
        {57 /* adapter hardware error */, hardIO},
        {58 /* bad network response */, accessDenied},
        {59 /* unexpected network error */, hardIO},
        {60 /* bad remote adapter */, invalidFile},
        {62 /* no spool space */, directoryFull},
        {64 /* network name deleted */, accessDenied},
        {65 /* network access denied */, accessDenied},
        {66 /* bad device type */, invalidFile},
        {67 /* bad network name */, badPath},
        {68 /* too many names */, tooManyOpenFiles},
        {70 /* sharing paused */, badPath},
        {71 /* request not accepted */, accessDenied},
        {ERROR_FILE_EXISTS, accessDenied},
        {ERROR_CANNOT_MAKE, accessDenied},
        {85 /* already assigned */, badPath},
        {86 /* invalid password */, accessDenied},
        {88 /* network write fault */, hardIO},
        {107 /* disk change */, fileNotFound},
        {108 /* drive locked */, lockViolation},
        {ERROR_BUFFER_OVERFLOW, badPath},
        {ERROR_DISK_FULL, diskFull},
        {113 /* no more search handles */, tooManyOpenFiles},
        {114 /* invalid target handle */, invalidFile},
        {117 /* invalid category */, hardIO},
        {ERROR_INVALID_NAME, badPath},
        {124 /* invalid level */, badPath},
        {125 /* no volume label */, badPath},
        {ERROR_NEGATIVE_SEEK, badSeek},
        {132 /* seek on device */, badSeek},
        {144 /* directory not root */, badPath},
        {ERROR_DIR_NOT_EMPTY, removeCurrentDir},
        {154 /* label too long */, badPath},
        {161 /* bad path name */, badPath},
        {167 /* lock failed */, lockViolation},
        {ERROR_BUSY, accessDenied},
        {182 /* invalid ordinal */, invalidFile},
        {ERROR_ALREADY_EXISTS, accessDenied},
        {191 /* invalid program signature */, invalidFile},
        {ERROR_BAD_EXE_FORMAT, invalidFile},
        {ERROR_FILENAME_EXCED_RANGE, badPath},
        {208 /* wildcard expansion too long */, badPath},
        {ERROR_DIRECTORY, badPath},
        {995 /* operation aborted */, hardIO},
        {996 /* I/O incomplete */, hardIO},
        {997 /* I/O pending */, hardIO},
        {999 /* swap error */, accessDenied},
    };
    for (const auto& entry : table) {
        if (entry.lOsError == lOsError)
            return entry.cause;
    }
    return generic;
}

int PASCAL CFileException::ErrnoToException(int nErrno)
{
    switch (nErrno) {
    case EPERM:
    case EACCES:
    case EROFS:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EDEADLK:
        return sharingViolation;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
        return badPath;
    case ENOSPC:
        return diskFull;
    case EIO:
        return hardIO;
    case ESPIPE:
        return badSeek;
    default:
        return generic;
    }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void PASCAL CFileException::ThrowErrno(int nErrno, LPCSTR lpszFileName)
{
    AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    static const LPCSTR texts[] = {
        "No error occurred.",
        "An unexpected error occurred while accessing %1.",
        "%1 was not found.",
        "%1 contains an invalid path.",
        "%1 could not be opened because there are too many open files.",
        "Access to %1 was denied.",
        "An invalid file handle was associated with %1.",
        "%1 could not be removed because it is the current directory.",
        "%1 could not be created because the directory is full.",
        "Seek failed on %1",
        "A hardware I/O error was reported while accessing %1.",
        "A sharing violation occurred while accessing %1.",
        "A locking violation occurred while accessing %1.",
        "Disk full while accessing %1.",
        "An attempt was made to access %1 past its end.",
    };
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    int cause = (m_cause >= none && m_cause <= endOfFile) ? m_cause : generic;
    return CopyMessage(InsertFileName(texts[cause], m_strFileName), lpszError, nMaxError);
}

// ---- CArchiveException ----

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName) : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    static const LPCSTR texts[] = {
        "No error occurred.",
        "An unexpected error occurred while reading %1.",
        "An attempt was made to write to the reading %1.",
        "An attempt was made to access %1 past its end.",
        "An attempt was made to read from the writing %1.",
        "%1 has a bad format.",
        "%1 contained an unexpected object.",
        "%1 contains an incorrect schema.",
    };
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    int cause = (m_cause >= none && m_cause <= badSchema) ? m_cause : generic;
    return CopyMessage(InsertFileName(texts[cause], m_strFileName), lpszError, nMaxError);
}

// ---- throwing ----

void AFXAPI AfxThrowMemoryException() { throw new CMemoryException; }
void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AFXAPI AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AFXAPI AfxThrowResourceException() { throw new CResourceException; }
void AFXAPI AfxThrowUserException() { throw new CUserException; }

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}
