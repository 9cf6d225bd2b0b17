// Starting programs: exit codes, waits, ending, the command line and folder the child sees, and
// the errors of programs that cannot start.
#include <windows.h>

#include <host/Paths.h>

#include "PeerSupport.h"

#include <TempDir.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

DWORD ExitCode(HANDLE process)
{
    DWORD code = ExitCodeOf(process);
    EXPECT_NE(code, 0xDEADBEEFu);
    return code;
}

// "key=value" lines of the peer's report.
std::map<std::string, std::string> ReadReport(const TempDir& dir)
{
    std::map<std::string, std::string> out;
    std::string text = dir.Read("report.txt");
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            out[line.substr(0, eq)] = line.substr(eq + 1);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

std::string EnvironmentBlock(const std::vector<std::string>& entries)
{
    std::string block;
    for (const std::string& e : entries)
        block += e + '\0';
    return block + '\0';
}

TEST(ProcessTest, ExitCodeAndHandlesOnceTheProcessEnds)
{
    ASSERT_FALSE(PeerStem().empty());
    Started s;
    Start(s, "\"" + PeerStem() + ".exe\" exit 42");
    ASSERT_TRUE(s.ok) << s.error;
    EXPECT_EQ(s.pi.dwProcessId, s.pi.dwThreadId) << "a main thread's id is its process's";
    EXPECT_EQ(GetProcessId(s.pi.hProcess), s.pi.dwProcessId);
    EXPECT_EQ(GetThreadId(s.pi.hThread), s.pi.dwThreadId);
    EXPECT_EQ(WaitForSingleObject(s.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(s.pi.hThread, 0), WAIT_OBJECT_0) << "the main thread ends with its process";
    EXPECT_EQ(ExitCode(s.pi.hProcess), 42u);
    DWORD threadCode = 0;
    EXPECT_TRUE(GetExitCodeThread(s.pi.hThread, &threadCode));
    EXPECT_EQ(threadCode, 42u);
    EXPECT_EQ(ExitCode(s.pi.hProcess), 42u) << "the handle keeps the code";
    errno = 0;
    int status = 0;
    EXPECT_EQ(waitpid(static_cast<pid_t>(s.pi.dwProcessId), &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD) << "the child has been reaped: no zombie is left";
}

TEST(ProcessTest, StillActiveWhileRunningThenTerminated)
{
    Started s;
    Start(s, "\"" + PeerStem() + "\" window \"Still Active\" 3");
    ASSERT_TRUE(s.ok) << s.error;
    EXPECT_EQ(ExitCode(s.pi.hProcess), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(WaitForSingleObject(s.pi.hProcess, 50), static_cast<DWORD>(WAIT_TIMEOUT));
    HANDLE both[] = {s.pi.hThread, s.pi.hProcess};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    HANDLE again = OpenProcess(PROCESS_ALL_ACCESS, FALSE, s.pi.dwProcessId);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(TerminateProcess(s.pi.hProcess, 77));
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(again, 0), WAIT_OBJECT_0) << "every handle of the process is signalled";
    EXPECT_EQ(ExitCode(again), 77u);
    EXPECT_EQ(ExitCode(s.pi.hProcess), 77u);
    SetLastError(0);
    EXPECT_FALSE(TerminateProcess(s.pi.hProcess, 5)) << "an ended process cannot be ended again";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ExitCode(s.pi.hProcess), 77u);
    CloseHandle(again);
}

TEST(ProcessTest, MessageWaitEndsWhenTheProcessEnds)
{
    Started s;
    Start(s, "\"" + PeerStem() + "\" exit 0");
    ASSERT_TRUE(s.ok) << s.error;
    DWORD result = WAIT_TIMEOUT;
    for (int i = 0; i < 400 && result != WAIT_OBJECT_0; ++i)
        result = MsgWaitForMultipleObjects(1, &s.pi.hProcess, FALSE, 50, QS_ALLINPUT);
    EXPECT_EQ(result, WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(s.pi.hProcess), 0u);
}

TEST(ProcessTest, ChildSeesItsCommandLineFolderShowCommandAndEnvironment)
{
    TempDir dir;
    TempDir work;
    auto workFolder = host::FromHostPath(work.str());
    ASSERT_TRUE(workFolder);
    // Unquoted program without an extension: ".exe" is added and means the host's file.
    std::string commandLine = PeerStem() + "  report \"two words\"   last\\\"quote";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMINNOACTIVE;
    std::string block = EnvironmentBlock({"VL_PEER_REPORT=" + (dir.path() / "report.txt").string(),
                                          "PATH=/usr/bin:/bin"});
    Started s;
    Start(s, commandLine, workFolder->c_str(), &si, block.data());
    ASSERT_TRUE(s.ok) << s.error;
    ASSERT_EQ(WaitForSingleObject(s.pi.hProcess, 20000), WAIT_OBJECT_0);
    ASSERT_EQ(ExitCode(s.pi.hProcess), 7u) << "the peer found its report file through the given environment";
    auto report = ReadReport(dir);
    EXPECT_EQ(report["arguments"], "report \"two words\"   last\\\"quote") << "the text after the program, untouched";
    EXPECT_EQ(report["commandline"], commandLine);
    EXPECT_EQ(report["folder"], *workFolder);
    EXPECT_EQ(report["show"], std::to_string(SW_SHOWMINNOACTIVE));
    EXPECT_EQ(report["flags"], std::to_string(STARTF_USESHOWWINDOW));
    EXPECT_EQ(report["thread"], std::to_string(s.pi.dwThreadId));
    EXPECT_EQ(report["process"], std::to_string(s.pi.dwProcessId));
}

// An update renames a new program file into place while the old program still runs: the host
// then marks the running program's file name " (deleted)". The platform never passes that mark
// on (a profile named after the module would otherwise be a new one).
TEST(ProcessTest, ModuleNameOfAProgramWhoseFileWasReplacedKeepsItsName)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "prog");
    const std::filesystem::path program = dir.path() / "prog" / "peer";
    std::filesystem::copy_file(VL_PEER_PROGRAM, program);
    auto platformProgram = host::FromHostPath(program.string());
    ASSERT_TRUE(platformProgram);
    const std::string go = (dir.path() / "go").string();
    setenv("VL_PEER_REPORT", (dir.path() / "report.txt").c_str(), 1);
    Started s;
    Start(s, "\"" + *platformProgram + "\" waitreport " + go);
    unsetenv("VL_PEER_REPORT");
    ASSERT_TRUE(s.ok) << s.error;
    // The update: a new file beside it, renamed over the running program's.
    std::filesystem::copy_file(VL_PEER_PROGRAM, dir.path() / "prog" / "peer.new");
    std::filesystem::rename(dir.path() / "prog" / "peer.new", program);
    dir.Write("go", "");
    ASSERT_EQ(WaitForSingleObject(s.pi.hProcess, 30000), WAIT_OBJECT_0);
    ASSERT_EQ(ExitCode(s.pi.hProcess), 7u);
    auto report = ReadReport(dir);
    EXPECT_EQ(report["module"], *platformProgram + ".exe");
}

TEST(ProcessTest, ChildWithoutShowCommandInheritsTheCurrentFolder)
{
    TempDir dir;
    char before[MAX_PATH];
    ASSERT_GT(GetCurrentDirectory(MAX_PATH, before), 0u);
    auto folder = host::FromHostPath(dir.str());
    ASSERT_TRUE(folder);
    ASSERT_TRUE(SetCurrentDirectory(folder->c_str()));
    setenv("VL_PEER_REPORT", (dir.path() / "report.txt").c_str(), 1);
    Started s;
    // The application name names the file; the command line is handed over whole.
    std::string application = PeerStem() + ".exe";
    Start(s, "peer report", nullptr, nullptr, nullptr, application.c_str());
    unsetenv("VL_PEER_REPORT");
    SetCurrentDirectory(before);
    ASSERT_TRUE(s.ok) << s.error;
    ASSERT_EQ(WaitForSingleObject(s.pi.hProcess, 20000), WAIT_OBJECT_0);
    ASSERT_EQ(ExitCode(s.pi.hProcess), 7u);
    auto report = ReadReport(dir);
    EXPECT_EQ(report["arguments"], "report");
    EXPECT_EQ(report["folder"], *folder);
    EXPECT_EQ(report["show"], "-1");
    EXPECT_EQ(report["flags"], "0");
}

TEST(ProcessTest, UnquotedProgramPathWithBlanksIsTriedAtEachBlank)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "with blanks");
    std::filesystem::create_symlink(VL_PEER_PROGRAM, dir.path() / "with blanks" / "peer");
    auto folder = host::FromHostPath((dir.path() / "with blanks").string());
    ASSERT_TRUE(folder);
    std::string block = EnvironmentBlock({"VL_PEER_REPORT=" + (dir.path() / "report.txt").string()});
    Started s;
    Start(s, *folder + "\\peer.exe exit 12", nullptr, nullptr, block.data());
    ASSERT_TRUE(s.ok) << s.error;
    ASSERT_EQ(WaitForSingleObject(s.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(s.pi.hProcess), 7u) << "the peer ran, without a mode it knows";
    // As on the platform, the program's arguments begin after the first blank.
    EXPECT_EQ(ReadReport(dir)["arguments"], "blanks\\peer.exe exit 12");
}

TEST(ProcessTest, ProgramsThatCannotStart)
{
    TempDir dir;
    dir.Write("text.exe", "not a program\n");
    std::filesystem::permissions(dir.path() / "text.exe", std::filesystem::perms::owner_all);
    dir.Write("plain.exe", "no permission to run\n");
    auto folder = host::FromHostPath(dir.str());
    ASSERT_TRUE(folder);
    struct Case {
        std::string commandLine;
        const char* currentFolder;
        DWORD error;
    } cases[] = {
        {*folder + "\\missing.exe", nullptr, ERROR_FILE_NOT_FOUND},
        {"\"" + *folder + "\\no folder\\x.exe\"", nullptr, ERROR_PATH_NOT_FOUND},
        {"vl-no-such-program-anywhere", nullptr, ERROR_FILE_NOT_FOUND},
        {*folder + "\\plain.exe", nullptr, ERROR_ACCESS_DENIED},
        {*folder + "\\text.exe", nullptr, ERROR_BAD_EXE_FORMAT},
        {*folder + ".", nullptr, ERROR_ACCESS_DENIED},  // a folder (the "." keeps ".exe" off)
        {"\"" + PeerStem() + "\" exit 1", "C:\\vl-no-such-folder-here", ERROR_DIRECTORY},
    };
    for (const Case& c : cases) {
        Started s;
        Start(s, c.commandLine, c.currentFolder);
        EXPECT_FALSE(s.ok) << c.commandLine;
        EXPECT_EQ(s.error, c.error) << c.commandLine;
    }
    PROCESS_INFORMATION pi{};
    STARTUPINFOA si{};
    si.cb = sizeof si;
    SetLastError(0);
    EXPECT_FALSE(CreateProcessA(nullptr, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(ProcessTest, SearchPathFindsProgramsByTheirPlatformName)
{
    std::string stem = PeerStem();
    std::string folder = stem.substr(0, stem.rfind('\\'));
    char found[MAX_PATH];
    LPSTR file = nullptr;
    DWORD n = SearchPathA(folder.c_str(), "vlpeer", ".exe", MAX_PATH, found, &file);
    ASSERT_GT(n, 0u);
    EXPECT_STRCASEEQ(found, (stem + ".exe").c_str()) << "the host's \"vlpeer\" answers for \"vlpeer.exe\"";
    ASSERT_NE(file, nullptr);
    EXPECT_STRCASEEQ(file, "vlpeer.exe");

    // Without a folder list: the PATH's folders come last, through the drive map.
    n = SearchPathA(nullptr, "sh", ".exe", MAX_PATH, found, nullptr);
    ASSERT_GT(n, 0u);
    auto host = host::ToHostPath(found);
    ASSERT_TRUE(host);
    EXPECT_EQ(std::filesystem::path(*host).filename(), "sh.exe");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(*host).parent_path() / "sh"));

    SetLastError(0);
    EXPECT_EQ(SearchPathA(nullptr, "vl-no-such-program-anywhere", ".exe", MAX_PATH, found, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(ProcessTest, ProgramFoundOnThePathStarts)
{
    Started s;
    Start(s, "true");
    ASSERT_TRUE(s.ok) << s.error;
    ASSERT_EQ(WaitForSingleObject(s.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(s.pi.hProcess), 0u);
    Started f;
    Start(f, "false");
    ASSERT_TRUE(f.ok) << f.error;
    ASSERT_EQ(WaitForSingleObject(f.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(f.pi.hProcess), 1u);
}

TEST(ProcessTest, HandlesOfOtherKindsAreRefused)
{
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    DWORD code = 0;
    SetLastError(0);
    EXPECT_FALSE(GetExitCodeProcess(event, &code));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(TerminateProcess(event, 1));
    EXPECT_EQ(GetProcessId(event), 0u);
    CloseHandle(event);
    EXPECT_EQ(GetProcessId(GetCurrentProcess()), GetCurrentProcessId());
    EXPECT_TRUE(GetExitCodeProcess(GetCurrentProcess(), &code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
    SetLastError(0);
    EXPECT_EQ(OpenProcess(PROCESS_ALL_ACCESS, FALSE, 1), nullptr) << "a process this one did not start";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace
