#include <afx.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

std::string MessageOf(CException* e, UINT nMax = 256)
{
    char buf[256] = "untouched";
    BOOL ok = e->GetErrorMessage(buf, nMax);
    return ok ? std::string(buf) : std::string("FALSE:") + buf;
}

std::string g_reported;
UINT g_reportedType;
int AFXAPI CaptureReport(LPCSTR lpszText, UINT nType)
{
    g_reported = lpszText;
    g_reportedType = nType;
    return 2;
}

}  // namespace

TEST(Exception, FileExceptionCausesFromPlatformErrors)
{
    struct Case {
        LONG lOsError;
        int cause;
    } cases[] = {
        {NO_ERROR, CFileException::none},
        {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied},
        {ERROR_INVALID_HANDLE, CFileException::fileNotFound},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
        {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_DISK_FULL, CFileException::diskFull},
        {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
        {ERROR_DIR_NOT_EMPTY, CFileException::removeCurrentDir},
        {ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir},
        {ERROR_NOT_READY, CFileException::hardIO},
        {ERROR_FILE_EXISTS, CFileException::accessDenied},
        {ERROR_ALREADY_EXISTS, CFileException::accessDenied},
        {ERROR_INVALID_NAME, CFileException::badPath},
        {ERROR_BAD_FORMAT, CFileException::invalidFile},
        {ERROR_WRITE_PROTECT, CFileException::accessDenied},
        {62, CFileException::directoryFull},
        {ERROR_INVALID_PARAMETER, CFileException::generic},
        {123456, CFileException::generic},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFileException::OsErrorToException(c.lOsError), c.cause) << c.lOsError;
}

TEST(Exception, FileExceptionCausesFromErrno)
{
    struct Case {
        int nErrno;
        int cause;
    } cases[] = {
        {ENOENT, CFileException::fileNotFound},  {EACCES, CFileException::accessDenied},
        {EPERM, CFileException::accessDenied},   {EMFILE, CFileException::tooManyOpenFiles},
        {ENOSPC, CFileException::diskFull},      {EBADF, CFileException::invalidFile},
        {EDEADLK, CFileException::sharingViolation}, {EINVAL, CFileException::generic},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFileException::ErrnoToException(c.nErrno), c.cause) << c.nErrno;
}

TEST(Exception, Messages)
{
    struct Case {
        CException* e;
        const char* message;
    } cases[] = {
        {new CFileException(CFileException::fileNotFound, 2, "C:\\DATA\\X.DAT"), "C:\\DATA\\X.DAT was not found."},
        {new CFileException(CFileException::accessDenied, 5, "A.TXT"), "Access to A.TXT was denied."},
        {new CFileException(CFileException::sharingViolation, 32, "A.TXT"),
         "A sharing violation occurred while accessing A.TXT."},
        {new CFileException(CFileException::diskFull), "Disk full while accessing an unnamed file."},
        {new CFileException(CFileException::endOfFile, -1, "\xC9T\xC9.TXT"),
         "An attempt was made to access \xC9T\xC9.TXT past its end."},
        {new CFileException(CFileException::none), "No error occurred."},
        {new CFileException(99, -1, "Q"), "An unexpected error occurred while accessing Q."},
        {new CArchiveException(CArchiveException::badSchema, "DOC.VL"), "DOC.VL contains an incorrect schema."},
        {new CArchiveException(CArchiveException::badClass, "DOC.VL"), "DOC.VL contained an unexpected object."},
        {new CArchiveException(CArchiveException::endOfFile), "An attempt was made to access an unnamed file past its end."},
        {new CMemoryException, "Out of memory."},
        {new CNotSupportedException, "An unsupported operation was attempted."},
        {new CResourceException, "A required resource was unavailable."},
        {new CInvalidArgException, "Encountered an improper argument."},
        {new CUserException, "An unknown error has occurred."},
        {new CException, "FALSE:"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageOf(c.e), c.message) << c.e->GetRuntimeClass()->m_lpszClassName;
        c.e->Delete();
    }
}

TEST(Exception, MessageIsTruncatedToTheBuffer)
{
    CFileException e(CFileException::fileNotFound, 2, "LONGNAME.TXT");
    e.m_bAutoDelete = FALSE;
    EXPECT_EQ(MessageOf(&e, 9), "LONGNAME");
    EXPECT_EQ(MessageOf(&e, 1), "");
}

TEST(Exception, ThrowHelpersThrowPointersOfTheRightClass)
{
    struct Case {
        void (*thrower)();
        const CRuntimeClass* pClass;
    } cases[] = {
        {[] { AfxThrowMemoryException(); }, RUNTIME_CLASS(CMemoryException)},
        {[] { AfxThrowNotSupportedException(); }, RUNTIME_CLASS(CNotSupportedException)},
        {[] { AfxThrowInvalidArgException(); }, RUNTIME_CLASS(CInvalidArgException)},
        {[] { AfxThrowResourceException(); }, RUNTIME_CLASS(CResourceException)},
        {[] { AfxThrowUserException(); }, RUNTIME_CLASS(CUserException)},
        {[] { AfxThrowFileException(CFileException::badPath, 3, "X"); }, RUNTIME_CLASS(CFileException)},
        {[] { AfxThrowArchiveException(CArchiveException::badIndex, "Y"); }, RUNTIME_CLASS(CArchiveException)},
        {[] { CFileException::ThrowOsError(ERROR_SHARING_VIOLATION, "Z"); }, RUNTIME_CLASS(CFileException)},
    };
    for (const Case& c : cases) {
        try {
            c.thrower();
            ADD_FAILURE() << "nothing thrown";
        } catch (CException* e) {
            EXPECT_EQ(e->GetRuntimeClass(), c.pClass);
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
            e->Delete();
        }
    }
}

TEST(Exception, FileExceptionCarriesCauseErrorAndName)
{
    try {
        CFileException::ThrowOsError(ERROR_SHARING_VIOLATION, "C:\\A.TXT");
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::sharingViolation);
        EXPECT_EQ(e->m_lOsError, ERROR_SHARING_VIOLATION);
        EXPECT_EQ(e->m_strFileName, "C:\\A.TXT");
        e->Delete();
    }
    try {
        CFileException::ThrowErrno(ENOENT, "B.TXT");
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e->m_lOsError, ENOENT);
        e->Delete();
    }
    try {
        AfxThrowArchiveException(CArchiveException::badIndex, "DOC");
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::badIndex);
        EXPECT_EQ(e->m_strFileName, "DOC");
        e->Delete();
    }
}

TEST(Exception, DeleteLeavesObjectsThatAreNotOnTheHeap)
{
    CNotSupportedException onStack(FALSE);
    onStack.Delete();  // must not free a stack object (ASan would report it)
    EXPECT_FALSE(onStack.m_bAutoDelete);
}

TEST(Exception, MacrosCatchByClassAndDeleteAtTheEnd)
{
    int caught = 0;
    TRY
    {
        AfxThrowFileException(CFileException::diskFull);
    }
    CATCH(CMemoryException, e)
    {
        (void)e;
        ADD_FAILURE() << "wrong handler";
    }
    AND_CATCH(CFileException, e)
    {
        EXPECT_EQ(e->m_cause, CFileException::diskFull);
        ++caught;
        // not deleted here: END_CATCH frees it (LeakSanitizer would report a leak otherwise)
    }
    END_CATCH
    EXPECT_EQ(caught, 1);

    TRY
    {
        AfxThrowUserException();
    }
    CATCH_ALL(e)
    {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CUserException)));
        ++caught;
    }
    END_CATCH_ALL
    EXPECT_EQ(caught, 2);

    TRY
    {
        THROW(new CResourceException);
    }
    END_TRY
}

TEST(Exception, ThrowLastPassesTheExceptionOn)
{
    CException* pOuter = NULL;
    try {
        TRY
        {
            AfxThrowNotSupportedException();
        }
        CATCH(CException, e)
        {
            THROW_LAST();
        }
        END_CATCH
    } catch (CException* e) {
        pOuter = e;
    }
    ASSERT_NE(pOuter, nullptr);
    EXPECT_TRUE(pOuter->IsKindOf(RUNTIME_CLASS(CNotSupportedException)));  // still alive
    pOuter->Delete();
}

TEST(Exception, ReportErrorGoesThroughTheHandler)
{
    AfxSetReportErrorHandler(&CaptureReport);
    CFileException e(CFileException::accessDenied, 5, "A.TXT");
    e.m_bAutoDelete = FALSE;
    EXPECT_EQ(e.ReportError(0x30), 2);
    EXPECT_EQ(g_reported, "Access to A.TXT was denied.");
    EXPECT_EQ(g_reportedType, 0x30u);

    CException plain(FALSE);
    plain.ReportError();
    EXPECT_EQ(g_reported, "No error message is available.");

    AFX_STRING_LOADER previous = AfxSetStringLoader([](UINT nID, CString& r) -> BOOL {
        r = "Could not save.";
        return nID == 42;
    });
    plain.ReportError(0, 42);
    EXPECT_EQ(g_reported, "Could not save.");
    AfxSetStringLoader(previous);
    AfxSetReportErrorHandler(NULL);

    testing::internal::CaptureStderr();
    EXPECT_EQ(e.ReportError(), 1);  // IDOK
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Access to A.TXT was denied.\n");
}
