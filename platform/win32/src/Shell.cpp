// ShellExecute and ShellExecuteEx: addresses go to the host's browser as one argument (never
// through a command shell), programs start through CreateProcess, other files go to the host's
// opener.
#include <windows.h>

#include <host/Paths.h>
#include <host/ShellLaunch.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <spawn.h>
#include <strings.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

std::mutex& SpyLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

host::LaunchSpy& Spy()
{
    static auto* spy = new host::LaunchSpy;
    return *spy;
}

bool HasScheme(const std::string& text, const char* scheme)
{
    const std::size_t n = std::strlen(scheme);
    return text.size() > n && strncasecmp(text.c_str(), scheme, n) == 0;
}

bool IsAddress(const std::string& text)
{
    return HasScheme(text, "http://") || HasScheme(text, "https://") || HasScheme(text, "ftp://") ||
           HasScheme(text, "mailto:");
}

bool EndsWithNoCase(const std::string& text, const char* tail)
{
    const std::size_t n = std::strlen(tail);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, tail) == 0;
}

// Starts a host program with its argv (searched on the host's PATH), without a shell; a
// detached thread reaps it. ERROR_SUCCESS or the reason it did not start.
DWORD StartHost(const std::vector<std::string>& argv)
{
    {
        std::lock_guard<std::mutex> guard(SpyLock());
        if (Spy())
            return Spy()(argv) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    }
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (std::string& a : args)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, args[0].c_str(), &actions, &attributes, pointers.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return error == ENOENT ? ERROR_FILE_NOT_FOUND : error == EACCES ? ERROR_ACCESS_DENIED : ERROR_NOT_ENOUGH_MEMORY;
    try {
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
    }
    return ERROR_SUCCESS;
}

int ShellCodeOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
    case ERROR_ACCESS_DENIED: return SE_ERR_ACCESSDENIED;
    case ERROR_NOT_ENOUGH_MEMORY: return SE_ERR_OOM;
    default: return SE_ERR_NOASSOC;
    }
}

BOOL Finish(SHELLEXECUTEINFOA* info, DWORD error)
{
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(error == ERROR_SUCCESS ? 42 : ShellCodeOf(error)));
    SetLastError(error);
    return error == ERROR_SUCCESS;
}

}  // namespace

namespace host {

void SetLaunchSpy(LaunchSpy spy)
{
    std::lock_guard<std::mutex> guard(SpyLock());
    Spy() = std::move(spy);
}

std::vector<std::string> BrowserArgv(const std::string& url)
{
    const char* browser = std::getenv("VL_BROWSER");
    return {browser && *browser ? browser : "xdg-open", url};
}

}  // namespace host

BOOL WINAPI ShellExecuteExA(SHELLEXECUTEINFOA* info)
{
    if (!info || info->cbSize != sizeof(SHELLEXECUTEINFOA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hProcess = NULL;
    if (!info->lpFile || !*info->lpFile)
        return Finish(info, ERROR_FILE_NOT_FOUND);
    if (info->lpVerb && *info->lpVerb && lstrcmpiA(info->lpVerb, "open") != 0)
        return Finish(info, ERROR_NO_ASSOCIATION);
    const std::string file = info->lpFile;
    if (IsAddress(file))
        return Finish(info, StartHost(host::BrowserArgv(file)));

    // A program: through CreateProcess, in the folder asked for.
    if (EndsWithNoCase(file, ".exe") || EndsWithNoCase(file, ".com") || EndsWithNoCase(file, ".bat")) {
        std::string commandLine = "\"" + file + "\"";
        if (info->lpParameters && *info->lpParameters)
            commandLine += std::string(" ") + info->lpParameters;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(info->nShow);
        PROCESS_INFORMATION pi{};
        std::vector<char> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back('\0');
        if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, 0, NULL,
                            info->lpDirectory && *info->lpDirectory ? info->lpDirectory : NULL, &si, &pi))
            return Finish(info, GetLastError());
        CloseHandle(pi.hThread);
        if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
            info->hProcess = pi.hProcess;
        else
            CloseHandle(pi.hProcess);
        return Finish(info, ERROR_SUCCESS);
    }

    // A document: the host's opener with its host path.
    if (GetFileAttributes(file.c_str()) == INVALID_FILE_ATTRIBUTES)
        return Finish(info, GetLastError() == ERROR_PATH_NOT_FOUND ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND);
    char full[MAX_PATH];
    DWORD n = GetFullPathName(file.c_str(), MAX_PATH, full, NULL);
    auto hostPath = n > 0 && n < MAX_PATH ? host::ToHostPath(full) : std::nullopt;
    if (!hostPath)
        return Finish(info, ERROR_PATH_NOT_FOUND);
    return Finish(info, StartHost({"xdg-open", *hostPath}));
}

HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                               INT nShowCmd)
{
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.hwnd = hwnd;
    info.lpVerb = lpOperation;
    info.lpFile = lpFile;
    info.lpParameters = lpParameters;
    info.lpDirectory = lpDirectory;
    info.nShow = nShowCmd;
    ShellExecuteExA(&info);
    return info.hInstApp;
}
