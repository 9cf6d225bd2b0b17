// A stand-in browser of this platform: it records its arguments, shows a window and runs until
// its message loop ends. Each instance writes "<report folder>\standin-<process id>.txt" (the
// folder named by VL_STANDIN_REPORT): a line "args: ..." at start and "quit" when a WM_QUIT
// ended its loop.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string ReportPath()
{
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VL_STANDIN_REPORT", folder, sizeof folder))
        return {};
    return std::string(folder) + "\\standin-" + std::to_string(GetCurrentProcessId()) + ".txt";
}

void Append(const std::string& line)
{
    const std::string path = ReportPath();
    if (path.empty())
        return;
    HANDLE file = CreateFile(path.c_str(), GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    SetFilePointer(file, 0, NULL, FILE_END);
    DWORD written = 0;
    const std::string text = line + "\n";
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL);
    CloseHandle(file);
}

LRESULT CALLBACK StandinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string args;
    for (int i = 1; i < argc; ++i)
        args += std::string(i > 1 ? "|" : "") + argv[i];
    WNDCLASSA wc{};
    wc.lpfnWndProc = StandinProc;
    wc.lpszClassName = "VlStandinBrowser";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "VlStandinBrowser", "Stand-in Browser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                  200, 100, NULL, NULL, NULL, NULL);
    Append("args: " + args);
    MSG msg;
    DWORD started = GetTickCount();
    (void)started;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (msg.message == WM_QUIT)
        Append("quit");
    DestroyWindow(window);
    return 0;
}
