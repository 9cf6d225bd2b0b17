// Processes: starting programs with the platform's command-line rules, their handles (waitable,
// keeping the exit code), ending them, and what a started process learns about its start.
//
// A started process is a host child made with posix_spawn. A reaper thread per child waits for
// its end, reaps it (so no zombie is left) and signals every handle of it. The command line,
// the show command and the starting process's id reach the child in one environment variable,
// which the child reads when the platform library loads and believes only when that id is
// its parent's (so a grandchild started by some other means does not take it for its own).
#include "FileSystem.h"
#include "ProcessInternal.h"
#include "SyncObject.h"

#include <host/Paths.h>
#include <host/Process.h>

#include <handleapi.h>
#include <processthreadsapi.h>
#include <synchapi.h>
#include <winerror.h>
#include <errhandlingapi.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <strings.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr const char* kStartupVariable = "VL_STARTUP";
const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

// ---- What the starting process told this one

struct Startup {
    bool fromCreateProcess = false;
    DWORD flags = 0;
    WORD showWindow = 0;
    std::string commandLine;
};

// "<parent pid>:<flags>:<show>:<command line>"
Startup ReadStartup()
{
    Startup startup;
    const char* value = std::getenv(kStartupVariable);
    if (!value)
        return startup;
    char* end = nullptr;
    unsigned long parent = std::strtoul(value, &end, 10);
    if (*end != ':' || static_cast<pid_t>(parent) != getppid())
        return startup;
    unsigned long flags = std::strtoul(end + 1, &end, 10);
    if (*end != ':')
        return startup;
    unsigned long show = std::strtoul(end + 1, &end, 10);
    if (*end != ':')
        return startup;
    startup.fromCreateProcess = true;
    startup.flags = static_cast<DWORD>(flags);
    startup.showWindow = static_cast<WORD>(show);
    startup.commandLine = end + 1;
    return startup;
}

// Read while the library loads: the parent may end (and the process be given to another
// parent) long before anybody asks.
const Startup& TheStartup()
{
    static const Startup* startup = new Startup(ReadStartup());
    return *startup;
}
[[maybe_unused]] const Startup& g_startupReadAtLoad = TheStartup();

bool Blank(char c)
{
    return c == ' ' || c == '\t';
}

// The text after the program's name and the blanks that follow it.
std::string ArgumentsOf(const std::string& commandLine)
{
    std::size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        std::size_t close = commandLine.find('"', 1);
        i = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && !Blank(commandLine[i]))
            ++i;
    }
    while (i < commandLine.size() && Blank(commandLine[i]))
        ++i;
    return commandLine.substr(i);
}

// The arguments of a command line the way the platform's C runtime splits them: blanks separate
// outside quotes; 2n backslashes before a quote make n and the quote toggles quoting, 2n+1 make
// n and a literal quote; "" inside quotes is a literal quote.
std::vector<std::string> SplitArguments(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    const std::size_t n = text.size();
    for (;;) {
        while (i < n && Blank(text[i]))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        bool quoted = false;
        while (i < n && (quoted || !Blank(text[i]))) {
            if (text[i] == '\\') {
                std::size_t count = 0;
                while (i < n && text[i] == '\\') {
                    ++count;
                    ++i;
                }
                if (i < n && text[i] == '"') {
                    arg.append(count / 2, '\\');
                    if (count % 2) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(count, '\\');
                }
            } else if (text[i] == '"') {
                if (quoted && i + 1 < n && text[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += text[i++];
            }
        }
        out.push_back(arg);
    }
    return out;
}

bool HasExtension(const std::string& name)
{
    std::size_t sep = name.find_last_of("\\/:");
    std::string last = sep == std::string::npos ? name : name.substr(sep + 1);
    return last.find('.') != std::string::npos;
}

bool HasFolder(const std::string& name)
{
    return name.find_first_of("\\/:") != std::string::npos;
}

bool IsRegularFile(const std::string& hostPath)
{
    struct stat st {};
    return stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// ---- Finding the program

struct Program {
    std::string host;
};

// A program named by a platform path (absolute or relative to the current folder).
DWORD ProgramAt(const std::string& name, Program& out)
{
    host::detail::Resolved resolved;
    DWORD error = host::detail::Resolve(name.c_str(), resolved);
    if (error != NO_ERROR)
        return error;
    if (!resolved.parentExists)
        return ERROR_PATH_NOT_FOUND;
    struct stat st {};
    if (stat(resolved.host.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return ERROR_ACCESS_DENIED;
    auto file = host::ProgramHostPath(resolved.full.Text());
    if (!file)
        return ERROR_FILE_NOT_FOUND;
    if (access(file->c_str(), X_OK) != 0)
        return ERROR_ACCESS_DENIED;
    out.host = *file;
    return NO_ERROR;
}

// The module named by the first token of a command line: ".exe" added when it has no
// extension (a trailing '.' means none), searched for when it has no folder.
DWORD ModuleOf(std::string name, Program& out)
{
    if (name.empty())
        return ERROR_FILE_NOT_FOUND;
    if (name.back() == '.')
        name.pop_back();
    else if (!HasExtension(name))
        name += ".exe";
    if (HasFolder(name))
        return ProgramAt(name, out);
    char found[MAX_PATH];
    DWORD n = SearchPath(nullptr, name.c_str(), nullptr, MAX_PATH, found, nullptr);
    if (n == 0 || n >= MAX_PATH)
        return ERROR_FILE_NOT_FOUND;
    return ProgramAt(found, out);
}

// The program of a command line without an application name. An unquoted name with blanks is
// tried at each blank in turn; the first that names a program wins.
DWORD ModuleOfCommandLine(const std::string& commandLine, Program& out)
{
    std::size_t start = 0;
    while (start < commandLine.size() && Blank(commandLine[start]))
        ++start;
    if (start < commandLine.size() && commandLine[start] == '"') {
        std::size_t close = commandLine.find('"', start + 1);
        return ModuleOf(commandLine.substr(start + 1, close == std::string::npos ? std::string::npos : close - start - 1),
                        out);
    }
    DWORD firstError = NO_ERROR;
    std::size_t end = start;
    for (;;) {
        while (end < commandLine.size() && !Blank(commandLine[end]))
            ++end;
        DWORD error = ModuleOf(commandLine.substr(start, end - start), out);
        if (error == NO_ERROR)
            return NO_ERROR;
        if (firstError == NO_ERROR)
            firstError = error;
        if (end >= commandLine.size())
            return firstError;
        while (end < commandLine.size() && Blank(commandLine[end]))
            ++end;
        if (end >= commandLine.size())
            return firstError;
    }
}

// ---- Children and their handles

class ChildObject;

struct Child {
    pid_t pid = 0;
    std::mutex lock;
    bool ended = false;
    bool terminated = false;
    DWORD terminateCode = 0;
    std::atomic<DWORD> exitCode{STILL_ACTIVE};
    std::vector<std::weak_ptr<ChildObject>> handles;  // signalled at the end
};

host::sync::State Unsignalled()
{
    host::sync::State s{};
    s.kind = host::sync::Kind::Event;
    s.manualReset = 1;
    return s;
}

// A handle's object: the process, or its main thread (signalled together at the end).
class ChildObject : public host::sync::SyncObject {
public:
    ChildObject(std::shared_ptr<Child> child, bool mainThread)
        : SyncObject(Unsignalled()), child(std::move(child)), mainThread(mainThread)
    {
    }
    const std::shared_ptr<Child> child;
    const bool mainThread;
};

struct Children {
    std::mutex lock;
    std::map<pid_t, std::weak_ptr<Child>> byPid;
};

Children& TheChildren()
{
    static auto* children = new Children;  // reaper threads may outlive static destructors
    return *children;
}

HANDLE NewHandle(const std::shared_ptr<Child>& child, bool mainThread)
{
    auto object = std::make_shared<ChildObject>(child, mainThread);
    std::lock_guard<std::mutex> guard(child->lock);
    if (child->ended)
        host::sync::SignalSyncObject(*object);
    else
        child->handles.push_back(object);
    return host::AddKernelObject(object);
}

// The platform's exit code for a host wait status.
DWORD ExitCodeOf(int status)
{
    if (WIFEXITED(status))
        return static_cast<DWORD>(WEXITSTATUS(status));
    if (!WIFSIGNALED(status))
        return 1;
    switch (WTERMSIG(status)) {
    case SIGSEGV:
    case SIGBUS: return 0xC0000005;  // access violation
    case SIGILL: return 0xC000001D;  // illegal instruction
    case SIGFPE: return 0xC0000094;  // integer division by zero
    case SIGABRT: return 3;          // abort()
    case SIGINT: return 0xC000013A;  // ended by Ctrl+C
    default: return 1;
    }
}

void Reap(std::shared_ptr<Child> child)
{
    siginfo_t info{};
    // Wait without reaping first: the id stays reserved while TerminateProcess may still
    // signal it under the lock.
    while (waitid(P_PID, static_cast<id_t>(child->pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    std::vector<std::shared_ptr<ChildObject>> toSignal;
    {
        std::lock_guard<std::mutex> guard(child->lock);
        int status = 0;
        pid_t got;
        while ((got = waitpid(child->pid, &status, 0)) < 0 && errno == EINTR) {
        }
        DWORD code = got == child->pid ? ExitCodeOf(status) : 1;
        if (child->terminated)
            code = child->terminateCode;
        child->exitCode = code;
        child->ended = true;
        for (auto& weak : child->handles)
            if (auto object = weak.lock())
                toSignal.push_back(std::move(object));
        child->handles.clear();
    }
    std::vector<host::sync::SyncObject*> objects;
    for (auto& object : toSignal)
        objects.push_back(object.get());
    host::sync::SignalSyncObjects(objects);
}

std::shared_ptr<ChildObject> ObjectOf(HANDLE handle)
{
    auto object = host::FindKernelObject<ChildObject>(handle);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

// The environment of the new process: the given block or ours, with our start-up variable.
std::vector<std::string> ChildEnvironment(LPVOID block, const std::string& startup)
{
    std::vector<std::string> out;
    const std::string prefix = std::string(kStartupVariable) + "=";
    auto add = [&](const char* entry) {
        if (std::strncmp(entry, prefix.c_str(), prefix.size()) != 0)
            out.emplace_back(entry);
    };
    if (block) {
        for (const char* p = static_cast<const char*>(block); *p; p += std::strlen(p) + 1)
            add(p);
    } else {
        for (char** e = environ; *e; ++e)
            add(*e);
    }
    out.push_back(prefix + startup);
    return out;
}

DWORD ErrorOfSpawn(int err)
{
    switch (err) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
    case ENOMEM:
    case EAGAIN: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_GEN_FAILURE;
    }
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

}  // namespace

namespace host {

std::optional<std::string> ProgramHostPath(const std::string& platformPath)
{
    if (auto file = ToHostPath(platformPath); file && IsRegularFile(*file))
        return file;
    const std::size_t n = platformPath.size();
    if (n > 4 && strcasecmp(platformPath.c_str() + n - 4, ".exe") == 0) {
        std::string stem = platformPath.substr(0, n - 4);
        if (!stem.empty() && stem.back() != '\\' && stem.back() != '/' && stem.back() != ':')
            if (auto file = ToHostPath(stem); file && IsRegularFile(*file))
                return file;
    }
    return std::nullopt;
}

std::string StartupArguments(const std::string& fallback)
{
    const Startup& startup = TheStartup();
    return startup.fromCreateProcess ? ArgumentsOf(startup.commandLine) : fallback;
}

int StartupShowCommand(int fallback)
{
    const Startup& startup = TheStartup();
    return startup.fromCreateProcess && (startup.flags & STARTF_USESHOWWINDOW) ? startup.showWindow : fallback;
}

}  // namespace host

namespace host::process {

bool MainThreadOf(HANDLE handle, DWORD& id, DWORD& exitCode)
{
    auto object = host::FindKernelObject<ChildObject>(handle);
    if (!object || !object->mainThread)
        return false;
    id = static_cast<DWORD>(object->child->pid);
    exitCode = object->child->exitCode;
    return true;
}

}  // namespace host::process

BOOL WINAPI CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                           BOOL, DWORD dwCreationFlags, LPVOID lpEnvironment, LPCSTR lpCurrentDirectory,
                           LPSTARTUPINFOA lpStartupInfo, LPPROCESS_INFORMATION lpProcessInformation)
{
    if (!lpProcessInformation || !lpStartupInfo || ((!lpApplicationName || !*lpApplicationName) &&
                                                    (!lpCommandLine || !*lpCommandLine)))
        return Fail(ERROR_INVALID_PARAMETER);
    if (dwCreationFlags & (CREATE_SUSPENDED | DEBUG_PROCESS | DEBUG_ONLY_THIS_PROCESS | CREATE_UNICODE_ENVIRONMENT))
        return Fail(ERROR_NOT_SUPPORTED);

    std::string commandLine = lpCommandLine && *lpCommandLine ? lpCommandLine : lpApplicationName;
    Program program;
    DWORD error = lpApplicationName && *lpApplicationName ? ProgramAt(lpApplicationName, program)
                                                          : ModuleOfCommandLine(commandLine, program);
    if (error != NO_ERROR)
        return Fail(error);

    // The new process's current folder: the one asked for, else ours.
    std::string folder = lpCurrentDirectory ? lpCurrentDirectory : host::detail::CurrentDirectoryText();
    std::string hostFolder;
    {
        host::detail::Resolved resolved;
        struct stat st {};
        if (host::detail::Resolve(folder.c_str(), resolved) != NO_ERROR || stat(resolved.host.c_str(), &st) != 0 ||
            !S_ISDIR(st.st_mode)) {
            if (lpCurrentDirectory)
                return Fail(ERROR_DIRECTORY);
        } else {
            hostFolder = resolved.host;
        }
    }

    DWORD startFlags = lpStartupInfo->dwFlags;
    std::string startup = std::to_string(getpid()) + ":" + std::to_string(startFlags) + ":" +
                          std::to_string((startFlags & STARTF_USESHOWWINDOW) ? lpStartupInfo->wShowWindow : 0) + ":" +
                          commandLine;
    std::vector<std::string> environment = ChildEnvironment(lpEnvironment, startup);
    std::vector<std::string> arguments = SplitArguments(ArgumentsOf(commandLine));
    arguments.insert(arguments.begin(), program.host);

    std::vector<char*> argv, envp;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!hostFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, hostFolder.c_str());
    // Handles are not inherited: the new process starts with the standard streams only.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The new process starts with default signal handling (ours may block or catch some).
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    auto child = std::make_shared<Child>();
    int spawnError = posix_spawn(&child->pid, program.host.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0)
        return Fail(ErrorOfSpawn(spawnError));

    if (dwCreationFlags & IDLE_PRIORITY_CLASS)
        setpriority(PRIO_PROCESS, static_cast<id_t>(child->pid), 19);
    else if (dwCreationFlags & BELOW_NORMAL_PRIORITY_CLASS)
        setpriority(PRIO_PROCESS, static_cast<id_t>(child->pid), 10);

    try {
        std::thread(Reap, child).detach();
    } catch (const std::system_error&) {
        // Nobody could reap it: it does not run.
        kill(child->pid, SIGKILL);
        while (waitpid(child->pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    HANDLE process = NewHandle(child, false);
    HANDLE thread = NewHandle(child, true);
    {
        Children& children = TheChildren();
        std::lock_guard<std::mutex> guard(children.lock);
        for (auto it = children.byPid.begin(); it != children.byPid.end();)
            it = it->second.expired() ? children.byPid.erase(it) : std::next(it);
        children.byPid[child->pid] = child;
    }

    lpProcessInformation->hProcess = process;
    lpProcessInformation->hThread = thread;
    lpProcessInformation->dwProcessId = static_cast<DWORD>(child->pid);
    lpProcessInformation->dwThreadId = static_cast<DWORD>(child->pid);  // a main thread's id is its process's
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

UINT WINAPI WinExec(LPCSTR lpCmdLine, UINT uCmdShow)
{
    if (!lpCmdLine || !*lpCmdLine)
        return 0;
    std::string commandLine = lpCmdLine;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(uCmdShow);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND: return ERROR_FILE_NOT_FOUND;
        case ERROR_PATH_NOT_FOUND: return ERROR_PATH_NOT_FOUND;
        case ERROR_BAD_EXE_FORMAT:
        case ERROR_ACCESS_DENIED: return ERROR_BAD_FORMAT;
        default: return 0;
        }
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 33;
}

BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode)
{
    if (!lpExitCode)
        return Fail(ERROR_INVALID_PARAMETER);
    if (hProcess == kCurrentProcess) {
        *lpExitCode = STILL_ACTIVE;
        return TRUE;
    }
    auto object = ObjectOf(hProcess);
    if (!object || object->mainThread)
        return Fail(ERROR_INVALID_HANDLE);
    *lpExitCode = object->child->exitCode;
    return TRUE;
}

BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT uExitCode)
{
    if (hProcess == kCurrentProcess)
        _exit(static_cast<int>(uExitCode));
    auto object = ObjectOf(hProcess);
    if (!object || object->mainThread)
        return Fail(ERROR_INVALID_HANDLE);
    Child& child = *object->child;
    std::lock_guard<std::mutex> guard(child.lock);
    siginfo_t info{};
    // Ended already (reaped, or waiting to be): nothing to end.
    if (child.ended || (waitid(P_PID, static_cast<id_t>(child.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0))
        return Fail(ERROR_ACCESS_DENIED);
    child.terminated = true;
    child.terminateCode = uExitCode;
    kill(child.pid, SIGKILL);
    return TRUE;
}

void WINAPI ExitProcess(UINT uExitCode)
{
    std::exit(static_cast<int>(uExitCode));
}

DWORD WINAPI GetProcessId(HANDLE Process)
{
    if (Process == kCurrentProcess)
        return GetCurrentProcessId();
    auto object = ObjectOf(Process);
    if (!object || object->mainThread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<DWORD>(object->child->pid);
}

HANDLE WINAPI OpenProcess(DWORD, BOOL, DWORD dwProcessId)
{
    std::shared_ptr<Child> child;
    if (dwProcessId == GetCurrentProcessId()) {
        // The caller itself: a handle that stays unsignalled while anybody can look at it.
        child = std::make_shared<Child>();
        child->pid = getpid();
        return NewHandle(child, false);
    }
    {
        Children& children = TheChildren();
        std::lock_guard<std::mutex> guard(children.lock);
        auto it = children.byPid.find(static_cast<pid_t>(dwProcessId));
        if (it != children.byPid.end())
            child = it->second.lock();
    }
    if (!child) {
        bool exists = dwProcessId != 0 && (kill(static_cast<pid_t>(dwProcessId), 0) == 0 || errno == EPERM);
        SetLastError(exists ? ERROR_ACCESS_DENIED : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return NewHandle(child, false);
}

LPSTR WINAPI GetCommandLineA(void)
{
    static std::string* text = [] {
        const Startup& startup = TheStartup();
        if (startup.fromCreateProcess)
            return new std::string(startup.commandLine);
        auto quoted = [](const std::string& s) {
            return s.find_first_of(" \t") == std::string::npos ? s : "\"" + s + "\"";
        };
        std::string line = quoted(host::ProgramPlatformPath());
        std::ifstream in("/proc/self/cmdline", std::ios::binary);
        std::string arg;
        bool first = true;
        while (std::getline(in, arg, '\0')) {
            if (!first)
                line += " " + quoted(arg);
            first = false;
        }
        return new std::string(line);
    }();
    return text->data();
}

void WINAPI GetStartupInfoA(LPSTARTUPINFOA lpStartupInfo)
{
    if (!lpStartupInfo)
        return;
    std::memset(lpStartupInfo, 0, sizeof *lpStartupInfo);
    lpStartupInfo->cb = sizeof *lpStartupInfo;
    const Startup& startup = TheStartup();
    if (startup.fromCreateProcess) {
        lpStartupInfo->dwFlags = startup.flags & STARTF_USESHOWWINDOW;
        lpStartupInfo->wShowWindow = startup.showWindow;
    }
}
