// The system uninstaller's stand-in. The log names one installed file a line (a full path); blank
// lines are skipped. Only files in the log's own folder (or below it) are deleted: a line that
// leaves that folder ("..", another drive) is ignored.
#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr char kTitle[] = "Confirm File Deletion";
constexpr char kClass[] = "UninstConfirmWindow";
constexpr int kYes = 6;
constexpr int kNo = 7;

struct Job {
    std::string folder;  // the log's folder, without the last "\"
    std::vector<std::string> files;
    int exitCode = 1;    // 0 once the files were removed; 1 when the user said No
};
Job g_job;

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Whether `path` lies inside `folder` without stepping out of it.
bool InsideFolder(const std::string& path, const std::string& folder)
{
    if (folder.empty() || path.size() <= folder.size() + 1)
        return false;
    if (Upper(path.substr(0, folder.size() + 1)) != Upper(folder + "\\"))
        return false;
    std::string rest = path.substr(folder.size() + 1);
    if (rest.find('/') != std::string::npos || rest.find(':') != std::string::npos)
        return false;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = rest.find('\\', start);
        std::string part = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

bool ReadLog(const std::string& log, Job& job)
{
    HANDLE file = CreateFile(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty())
            job.files.push_back(line);
        start = end + 1;
    }
    return true;
}

void RemoveInstalledFiles(Job& job)
{
    for (const std::string& path : job.files) {
        if (!InsideFolder(path, job.folder))
            continue;
        DWORD attributes = GetFileAttributes(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        SetFileAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFile(path.c_str());
    }
    RemoveDirectory(job.folder.c_str());  // only when nothing else is left in it
    job.exitCode = 0;
}

LRESULT CALLBACK ConfirmProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kYes) {
            RemoveInstalledFiles(g_job);
            DestroyWindow(hwnd);
            return 0;
        }
        if (LOWORD(wParam) == kNo || LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(g_job.exitCode);
        return 0;
    default:
        break;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR lpCmdLine, int)
{
    std::string log = lpCmdLine ? lpCmdLine : "";
    while (!log.empty() && (log.front() == ' ' || log.front() == '"'))
        log.erase(0, 1);
    while (!log.empty() && (log.back() == ' ' || log.back() == '"'))
        log.pop_back();
    std::size_t last = log.rfind('\\');
    if (log.empty() || last == std::string::npos || !ReadLog(log, g_job)) {
        MessageBox(nullptr, ("The uninstall log \"" + log + "\" could not be read.").c_str(), "Uninstall",
                   MB_OK | MB_ICONSTOP);
        return 2;
    }
    g_job.folder = log.substr(0, last);

    WNDCLASS wc{};
    wc.lpfnWndProc = ConfirmProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClass(&wc);
    HWND window = CreateWindow(kClass, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                               380, 140, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 2;
    CreateWindow("STATIC", "Are you sure you want to completely remove the selected application and all of its components?",
                 WS_CHILD | WS_VISIBLE, 12, 12, 350, 40, window, nullptr, instance, nullptr);
    CreateWindow("BUTTON", "&Yes", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 100, 64, 80, 24, window,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kYes)), instance, nullptr);
    CreateWindow("BUTTON", "&No", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 196, 64, 80, 24, window,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNo)), instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG msg{};
    while (GetMessage(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return static_cast<int>(msg.wParam);
}
