// The uninstaller front end.
#include "vluninst/UninstallFrontEnd.h"


namespace {

constexpr char kWindowClass[] = "InputWClass";
constexpr DWORD kRegistrationWaitMs = 60000;  // the registration step is given a minute, then we go on
constexpr UINT kYesButton = 6;

const char* MessageText(int message)
{
    switch (message) {
    case 1: return "This application needs to receive the Uninstall\nlog information on the command line.";
    case 2: return "The Registration Uninstaller program VorbExe is not\npresent in the target directory.  Cannot uninstall.";
    case 3: return "The uninstaller could not be started.";
    default: return "The Command line contains invalid Uninstall log information.";
    }
}

// Shows the message and returns its number, which becomes the exit code.
int Refuse(HWND owner, int message)
{
    MessageBox(owner, MessageText(message), kUninstallTitle, MB_OK | MB_ICONSTOP);
    return message;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND CreateHiddenWindow(HINSTANCE instance)
{
    WNDCLASS wc{};
    if (!GetClassInfo(instance, kWindowClass, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = MainWndProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kWindowClass;
        RegisterClass(&wc);
    }
    const int width = 320, height = 120;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return CreateWindow(kWindowClass, kUninstallTitle, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                        instance, nullptr);
}

// Runs the registration uninstall step and waits for it (at most a minute); the uninstall goes on
// whether or not it could run.
void RunRegistrationStep(const std::string& folder)
{
    std::string program = folder + "\\Vorbexe.exe";
    std::string commandLine = program + " -d\"" + folder + "\" -u";
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcess(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                       nullptr, &startup, &process))
        return;
    WaitForSingleObject(process.hProcess, kRegistrationWaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Tells the mailslot's listener, when there is one, the uninstaller's process id (4 bytes).
void AnnounceProcessId(DWORD processId)
{
    HANDLE slot = CreateFile(kUninstallMailslot, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (slot == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(slot, &processId, sizeof processId, &written, nullptr);
    CloseHandle(slot);
}

struct ConfirmSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindConfirmWindow(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<ConfirmSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->processId)
        return TRUE;
    char title[56] = "";
    GetWindowText(hwnd, title, sizeof title);
    if (lstrcmpi(title, kConfirmDeletionTitle) != 0)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// The watcher: answers the uninstaller's own "Confirm File Deletion" window once with Yes, and
// when the uninstaller has ended closes its handles and the front end's window.
struct Watched {
    PROCESS_INFORMATION process;
    HWND mainWindow;
};

DWORD WINAPI Watch(LPVOID parameter)
{
    const Watched watched = *static_cast<Watched*>(parameter);
    const PROCESS_INFORMATION& process = watched.process;
    bool answered = false;
    while (WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT) {
        if (answered)
            continue;
        ConfirmSearch search{process.dwProcessId, nullptr};
        EnumWindows(FindConfirmWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            SendMessage(search.found, WM_COMMAND, kYesButton, 0);
            answered = true;
        }
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    PostMessage(watched.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

}  // namespace

UninstallCommand UninstallCommand::Parse(LPCSTR commandLine)
{
    UninstallCommand parsed;
    const char* text = commandLine ? commandLine : "";
    while (*text == ' ' || *text == '\t')
        ++text;
    parsed.command = text;
    if (parsed.command.empty()) {
        parsed.message = 1;
        return parsed;
    }
    std::size_t blank = parsed.command.find(' ', 1);
    if (blank == std::string::npos) {
        parsed.message = 6;
        return parsed;
    }
    std::string log = parsed.command.substr(blank + 1);
    std::size_t last = log.rfind('\\');
    parsed.folder = last == std::string::npos ? std::string() : log.substr(0, last);
    return parsed;
}

int EmptyDownloadFolder(const std::string& folder)
{
    const std::string download = folder + "\\download";
    DWORD attributes = GetFileAttributes(download.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return 0;
    int deleted = 0;
    WIN32_FIND_DATA found{};
    HANDLE search = FindFirstFile((download + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        std::string path = download + "\\" + found.cFileName;
        SetFileAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFile(path.c_str()))
            ++deleted;
    } while (FindNextFile(search, &found));
    FindClose(search);
    return deleted;
}

int RunUninstallFrontEnd(HINSTANCE instance, LPCSTR commandLine)
{
    HWND window = CreateHiddenWindow(instance);
    UninstallCommand command = UninstallCommand::Parse(commandLine);
    if (command.message)
        return Refuse(window, command.message);
    char found[MAX_PATH] = "";
    if (command.folder.empty() ||
        !SearchPath(command.folder.c_str(), "Vorbexe.exe", nullptr, MAX_PATH, found, nullptr))  // a program's exists test
        return Refuse(window, 2);
    if (MessageBox(window, "Are you sure that you want to Uninstall the Veltra Jubilee 2000 Application?",
                   kUninstallTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        DestroyWindow(window);
        return 0;
    }

    RunRegistrationStep(command.folder);
    EmptyDownloadFolder(command.folder);

    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcess(nullptr, command.command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                       nullptr, &startup, &process)) {
        int code = Refuse(window, 3);
        DestroyWindow(window);
        return code;
    }
    AnnounceProcessId(process.dwProcessId);

    Watched watched{process, window};
    HANDLE watcher = CreateThread(nullptr, 0, Watch, &watched, 0, nullptr);
    if (!watcher) {
        // No one could answer or close for us: wait for the uninstaller here instead.
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        DestroyWindow(window);
        return 0;
    }
    MSG msg{};
    while (GetMessage(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    return static_cast<int>(msg.wParam);
}
