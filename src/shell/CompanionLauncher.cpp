#include "shell/CompanionLauncher.h"

#include "base/AppHost.h"

#include "base/AppServices.h"
#include "base/DataFolders.h"
#include "base/TimelineRequest.h"
#include "base/VLMessages.h"

namespace {

struct Companion {
    UINT nMessage;
    LPCSTR lpszFile;
    int nKind;           // the data-folder kind of the program's folder
    int nAlsoKind;       // a further kind that must be present (-1: none)
    BOOL bOwnDirectory;  // the program runs in its own folder, else in the main program's
    LPCSTR lpszFailure;
};

const char kWizardFailure[] = "Unable to start Wizard application.";

const Companion kCompanions[CCompanionLauncher::ProgramCount] = {
    {VLM_COMPANION_FIRST, "vlwizrep.exe", DDT_WIZARDS, -1, FALSE, kWizardFailure},
    {VLM_COMPANION_SECOND, "vlwizcht.exe", DDT_WIZARDS, -1, FALSE, kWizardFailure},
    {VLM_COMPANION_THIRD, "vlwiztl.exe", DDT_WIZARDS, -1, FALSE, kWizardFailure},
    {VLM_COMPANION_FOURTH, "vl00web.exe", DDT_WIZARDS, -1, FALSE, kWizardFailure},
    {VLM_COMPANION_FIFTH, "vlwizquz.exe", DDT_WIZARDS, -1, FALSE, kWizardFailure},
    {VLM_JUBILEE, "vljub.exe", DDT_JUBILEE, DDT_SOUND, TRUE, "Unable to start Surf the Jubilee application."},
    {VLM_TIMELINE_VIEWER, "vltlview.exe", DDT_WIZARDS, -1, FALSE, kWizardFailure},
    {0, "notepad.exe", -1, -1, FALSE, NULL},
};

PROCESS_INFORMATION s_records[CCompanionLauncher::ProgramCount] = {};

// The timeline viewer's flags: a call under way, and whether a viewer may be started.
BOOL s_bTimelineBusy = FALSE;
BOOL s_bViewerReady = TRUE;

// The timeline viewer's waits: steps of 100 ms; the window search, the end of a closed viewer
// and the start of a new one wait at most 100, 300 and 100 steps.
const DWORD kWaitStep = 100;
const int kWindowPasses = 100;
const int kEndChecks = 300;
const int kStartChecks = 100;
// The viewer's command line and its formatted arguments are limited to these buffers.
const int kCommandLineBuffer = 128;
const int kArgumentsBuffer = 100;

BOOL ResolveFolder(CString& strFolder, int nKind)
{
    try {
        return GetDataDir(strFolder, nKind, 1, TRUE);
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
        return FALSE;
    }
}

DWORD ExitCodeOf(const PROCESS_INFORMATION& record, BOOL* pbRead = NULL)
{
    DWORD dwCode = 0;
    BOOL bRead = record.hProcess != NULL && ::GetExitCodeProcess(record.hProcess, &dwCode);
    if (pbRead != NULL)
        *pbRead = bRead;
    return bRead ? dwCode : 0;
}

struct ProcessWindows {
    DWORD dwProcessId;
};

BOOL CALLBACK BringForwardIfOfProcess(HWND hWnd, LPARAM lParam)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId == reinterpret_cast<ProcessWindows*>(lParam)->dwProcessId)
        CCompanionLauncher::BringWindowForward(hWnd);
    return TRUE;
}

}  // namespace

CCompanionLauncher::Program CCompanionLauncher::ProgramOfMessage(UINT nMessage)
{
    for (int i = 0; i < ProgramCount; ++i)
        if (nMessage != 0 && kCompanions[i].nMessage == nMessage)
            return static_cast<Program>(i);
    return ProgramCount;
}

LPCSTR CCompanionLauncher::FileName(Program nProgram)
{
    return nProgram >= 0 && nProgram < ProgramCount ? kCompanions[nProgram].lpszFile : NULL;
}

PROCESS_INFORMATION& CCompanionLauncher::Record(Program nProgram)
{
    ASSERT(nProgram >= 0 && nProgram < ProgramCount);
    return s_records[nProgram];
}

BOOL CCompanionLauncher::IsRunning(const PROCESS_INFORMATION& record)
{
    BOOL bRead = FALSE;
    DWORD dwCode = ExitCodeOf(record, &bRead);
    return bRead && dwCode == STILL_ACTIVE;
}

void CCompanionLauncher::ClearRecord(PROCESS_INFORMATION& record)
{
    if (record.hProcess != NULL)
        ::CloseHandle(record.hProcess);
    if (record.hThread != NULL)
        ::CloseHandle(record.hThread);
    record = PROCESS_INFORMATION{};
}

void CCompanionLauncher::ResetRecords()
{
    for (PROCESS_INFORMATION& record : s_records)
        ClearRecord(record);
    s_bTimelineBusy = FALSE;
    s_bViewerReady = TRUE;
}

BOOL CCompanionLauncher::StartProcess(LPCSTR lpszCommandLine, LPCSTR lpszDirectory, PROCESS_INFORMATION& record)
{
    STARTUPINFO startup{};
    startup.cb = sizeof(startup);
    ClearRecord(record);
    CString strCommandLine = lpszCommandLine;
    PROCESS_INFORMATION started{};
    if (!::CreateProcess(NULL, strCommandLine.GetBuffer(0), NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL,
                         lpszDirectory, &startup, &started))
        return FALSE;
    record = started;
    return TRUE;
}

HWND CCompanionLauncher::FindThreadWindow(DWORD dwThreadId)
{
    if (dwThreadId == 0)
        return NULL;
    for (HWND hWnd = ::GetTopWindow(NULL); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        if (::GetWindowThreadProcessId(hWnd, NULL) == dwThreadId)
            return hWnd;
    return NULL;
}

void CCompanionLauncher::BringWindowForward(HWND hWnd)
{
    if (::IsIconic(hWnd))
        ::ShowWindow(hWnd, SW_SHOWNORMAL);
    else
        ::SetForegroundWindow(hWnd);
}

BOOL CCompanionLauncher::BringProcessWindowsForward(DWORD dwProcessId)
{
    ProcessWindows windows{dwProcessId};
    return ::EnumWindows(&BringForwardIfOfProcess, reinterpret_cast<LPARAM>(&windows));
}

LRESULT CCompanionLauncher::Launch(UINT nMessage)
{
    Program nProgram = ProgramOfMessage(nMessage);
    if (nProgram == ProgramCount || nProgram == TimelineViewer)
        return 1;
    const Companion& companion = kCompanions[nProgram];
    PROCESS_INFORMATION& record = s_records[nProgram];
    // A program that runs is brought forward (when its window can be found), never started twice.
    if (IsRunning(record)) {
        if (HWND hWnd = FindThreadWindow(record.dwThreadId))
            BringWindowForward(hWnd);
        return 1;
    }
    CString strFolder;
    if (!ResolveFolder(strFolder, companion.nKind))
        return 1;
    CString strOther;
    if (companion.nAlsoKind >= 0 && !ResolveFolder(strOther, companion.nAlsoKind))
        return 1;
    CString strCommandLine = strFolder + companion.lpszFile;
    CString strDirectory = companion.bOwnDirectory ? strFolder : GetProgramDir();
    if (!StartProcess(strCommandLine, strDirectory.IsEmpty() ? NULL : static_cast<LPCSTR>(strDirectory), record))
        AfxMessageBox(companion.lpszFailure);
    return 1;
}

void CCompanionLauncher::LaunchNotepad()
{
    PROCESS_INFORMATION& record = s_records[Notepad];
    if (IsRunning(record)) {
        if (HWND hWnd = FindThreadWindow(record.dwThreadId))
            BringWindowForward(hWnd);
        return;
    }
    char szPath[MAX_PATH] = "";
    if (::SearchPath(NULL, "notepad", ".exe", sizeof(szPath), szPath, NULL) == 0) {
        AfxMessageBox("The Notepad program is not installed on this computer.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!StartProcess(szPath, NULL, record)) {
        CString strMessage;
        strMessage.Format("Unable to start the Notepad program (%s).", szPath);
        AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
    }
}

BOOL CCompanionLauncher::IsTimelineViewerBusy()
{
    return s_bTimelineBusy;
}

LRESULT CCompanionLauncher::DriveTimelineViewer(TimelineRequest* pRequest)
{
    if (s_bTimelineBusy) {
        delete pRequest;
        return 0;
    }
    s_bTimelineBusy = TRUE;
    CWaitCursor wait;
    PROCESS_INFORMATION& record = s_records[TimelineViewer];

    // A viewer that accepts automation takes the timeline's name.
    if (GetAppHost().PassToTimelineViewer(pRequest != NULL ? static_cast<LPCSTR>(pRequest->m_strName) : NULL)) {
        delete pRequest;
        s_bTimelineBusy = FALSE;
        return 1;
    }

    // A viewer started earlier is closed first. Each pause waits on the process itself, so that
    // an end is seen at once.
    if (IsRunning(record)) {
        HWND hWnd = NULL;
        for (int nPass = 0; nPass < kWindowPasses; ++nPass) {
            hWnd = FindThreadWindow(record.dwThreadId);
            if (hWnd != NULL || ::WaitForSingleObject(record.hProcess, kWaitStep) != WAIT_TIMEOUT)
                break;
        }
        if (hWnd != NULL) {
            ::PostMessage(hWnd, WM_CLOSE, 0, 0);
            s_bViewerReady = FALSE;
            for (int nCheck = 0; nCheck < kEndChecks; ++nCheck) {
                if (::WaitForSingleObject(record.hProcess, kWaitStep) != WAIT_TIMEOUT)
                    break;
                wait.Restore();
            }
            s_bViewerReady = TRUE;
        }
    }

    if (s_bViewerReady) {
        CString strFolder;
        if (ResolveFolder(strFolder, DDT_WIZARDS)) {
            CString strCommandLine = strFolder + kCompanions[TimelineViewer].lpszFile;
            BOOL bFits = TRUE;
            if (pRequest != NULL) {
                CString strArguments;
                strArguments.Format(" %d %d %d %d %s", pRequest->m_nLeft, pRequest->m_nTop, pRequest->m_nWidth,
                                    pRequest->m_nHeight, static_cast<LPCSTR>(pRequest->m_strName));
                bFits = strArguments.GetLength() < kArgumentsBuffer;
                strCommandLine += " " + strArguments;
            }
            bFits = bFits && strCommandLine.GetLength() < kCommandLineBuffer;
            delete pRequest;
            pRequest = NULL;
            if (!bFits || !StartProcess(strCommandLine, NULL, record)) {
                AfxMessageBox(kCompanions[TimelineViewer].lpszFailure);
            } else {
                // Until it runs; a viewer that has already ended is not waited for.
                for (int nCheck = 0; nCheck < kStartChecks && ExitCodeOf(record) != STILL_ACTIVE; ++nCheck) {
                    if (::WaitForSingleObject(record.hProcess, 0) != WAIT_TIMEOUT)
                        break;
                    ::Sleep(kWaitStep);
                }
            }
        }
    }
    delete pRequest;
    s_bTimelineBusy = FALSE;
    return s_bViewerReady;
}
