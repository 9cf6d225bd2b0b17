// The connection family's log, "portix.log" in the calling program's folder: one line per
// message, each stamped with the local time and flushed at once. Lines of several threads never
// mix; a file that cannot be created drops its lines.
#include "portixcmn/PortixCmn.h"
#include "portixcmn/PortixCmnApp.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

struct LogState {
    HANDLE lock = CreateMutex(NULL, FALSE, NULL);
    bool on = false;
    CString fileName;
    CStdioFile file;
    bool open = false;
};

// Holds the log's lock for a scope.
struct LogLock {
    explicit LogLock(LogState& log) : m_log(log) { WaitForSingleObject(m_log.lock, INFINITE); }
    ~LogLock() { ReleaseMutex(m_log.lock); }
    LogLock(const LogLock&) = delete;
    LogLock& operator=(const LogLock&) = delete;
    LogState& m_log;
};

LogState& Log()
{
    static LogState* state = new LogState;
    return *state;
}

// Writes one stamped line (the log is open).
void WriteLine(LogState& log, LPCSTR pszMessage)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u %02u %02u - %02u:%02u:%02u --- ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    TRY
    {
        log.file.WriteString(CString(stamp) + pszMessage + "\n");
        log.file.Flush();
    }
    CATCH(CFileException, e)
    {
        (void)e;  // a line that cannot be written is dropped
    }
    END_CATCH
}

bool OpenLog(LogState& log)
{
    if (log.fileName.IsEmpty())
        log.fileName = CPortixCmnApp::InProgramFolder("portix.log");
    if (!log.file.Open(log.fileName, CFile::modeCreate | CFile::modeWrite | CFile::typeText))
        return false;
    log.open = true;
    WriteLine(log, "Open log file.");
    WriteLine(log, dlrGetOS() != 0 ? "Operating Environment: WIN32" : "Operating environment: Windows 3.1");
    return true;
}

void CloseLog(LogState& log)
{
    if (!log.open)
        return;
    TRY
    {
        log.file.Close();
    }
    CATCH(CFileException, e)
    {
        (void)e;
        log.file.Abort();
    }
    END_CATCH
    log.open = false;
}

}  // namespace

PORTIXCMN_API void logInitializeLogging()
{
    PORTIX_ENTRY();
    CString type = dlrGetLoggingType();
    LogState& log = Log();
    LogLock guard(log);
    if (std::atoi(type) == 0)
        return;
    log.on = true;
    log.fileName = CPortixCmnApp::InProgramFolder("portix.log");
    CloseLog(log);  // the next line opens it anew
}

PORTIXCMN_API void logTerminateLogging()
{
    PORTIX_ENTRY();
    LogState& log = Log();
    LogLock guard(log);
    if (log.on)
        CloseLog(log);
    // Off until initialised again: a later line would otherwise start the file anew and wipe
    // what this run wrote.
    log.on = false;
}

PORTIXCMN_API void logPortix(LPCSTR pszFormat, ...)
{
    PORTIX_ENTRY();
    LogState& log = Log();
    LogLock guard(log);
    if (!log.on || !pszFormat)
        return;
    if (!log.open && !OpenLog(log))
        return;  // no file: the line is dropped
    char message[512];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(message, sizeof message, pszFormat, args);
    va_end(args);
    WriteLine(log, message);
}
