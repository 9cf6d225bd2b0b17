// CCompanionLauncher: starts the suite's companion programs (the homework wizards, the jubilee
// companion, the timeline viewer, the notepad program) as processes of their own, or brings an
// already running one to the front. One process record per program is kept for the run; a
// program whose process still runs is never started twice.
//
// Program files: in the wizards' folder (data kind 8) "vlwizrep.exe" (research report wizard),
// "vlwizcht.exe" (chart wizard), "vlwiztl.exe" (timeline maker), "vl00web.exe" (web-page wizard),
// "vlwizquz.exe" (quiz wizard) and "vltlview.exe" (timeline viewer); in the jubilee folder
// (data kind 9) "vljub.exe".
#pragma once

#include <afxwin.h>

class TimelineRequest;

class CCompanionLauncher {
public:
    enum Program { Research, Chart, TimelineMaker, WebPage, Quiz, Jubilee, TimelineViewer, Notepad, ProgramCount };

    // The frame's VLM_COMPANION_FIRST, VLM_COMPANION_SECOND, VLM_COMPANION_THIRD, VLM_COMPANION_FOURTH, VLM_COMPANION_FIFTH and VLM_JUBILEE: brings the running program forward
    // or starts it (a failed start shows the program's message). Returns 1.
    static LRESULT Launch(UINT nMessage);
    // The program a start message names; ProgramCount for any other message.
    static Program ProgramOfMessage(UINT nMessage);
    static LPCSTR FileName(Program nProgram);

    // The frame's VLM_TIMELINE_VIEWER: starts the timeline viewer with the request's values on its command line
    // (an earlier viewer is closed first), or hands a running viewer that accepts automation the
    // request's name. Takes the request over (NULL: none). Returns 0 while an earlier call still
    // runs, else the viewer-ready flag.
    //
    // The command line is the viewer's path, two blanks and "%d %d %d %d %s" of the request. The
    // arguments may take at most 99 characters and the whole line at most 127; a longer one is
    // refused like a program that cannot start ("Unable to start Wizard application."), since a
    // cut one would name a different timeline.
    static LRESULT DriveTimelineViewer(TimelineRequest* pRequest);

    // Command 40036: brings the notepad program this run started forward while it runs, else
    // starts "notepad.exe" found on the system path. A message box says so when it is not there
    // or cannot start.
    static void LaunchNotepad();

    // The process record of a program (all zero until it was started once).
    static PROCESS_INFORMATION& Record(Program nProgram);
    // TRUE when the record holds a process whose exit code reads STILL_ACTIVE.
    static BOOL IsRunning(const PROCESS_INFORMATION& record);
    // Starts a program with normal priority and no inheritance, recording its process in place of
    // the record's earlier one (whose handles are closed). lpszDirectory NULL: the current one.
    static BOOL StartProcess(LPCSTR lpszCommandLine, LPCSTR lpszDirectory, PROCESS_INFORMATION& record);
    // Closes a record's handles and zeroes it.
    static void ClearRecord(PROCESS_INFORMATION& record);
    // Closes every record's handles (the programs run on) and clears the timeline viewer's flags.
    static void ResetRecords();

    // The first top-level window, in z-order, whose creating thread is that thread; NULL when none.
    static HWND FindThreadWindow(DWORD dwThreadId);
    // Restores a minimised window (SW_SHOWNORMAL), else brings it to the foreground.
    static void BringWindowForward(HWND hWnd);
    // Brings every top-level window of a process forward; FALSE when the windows cannot be listed.
    static BOOL BringProcessWindowsForward(DWORD dwProcessId);

    static BOOL IsTimelineViewerBusy();
};
