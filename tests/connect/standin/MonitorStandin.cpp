// A stand-in for the system's dial-up monitor windows: it shows one top-level window, titled
// "Dial-Up Networking Monitor" or the title given as "--title=<text>", with the show command it
// was started with, and runs until its message loop ends. Each instance writes
// "<report folder>\monitor-<process id>.txt" (the folder named by VL_STANDIN_REPORT): lines
// "args: ..." and "cwd: ..." at start and "quit" when a WM_QUIT ended its loop.
#include <windows.h>

#include <string>

namespace {

std::string ReportPath()
{
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VL_STANDIN_REPORT", folder, sizeof folder))
        return {};
    return std::string(folder) + "\\monitor-" + std::to_string(GetCurrentProcessId()) + ".txt";
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

LRESULT CALLBACK MonitorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string title = "Dial-Up Networking Monitor";
    std::string args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--title=", 0) == 0)
            title = arg.substr(8);
        args += std::string(i > 1 ? "|" : "") + arg;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = MonitorProc;
    wc.lpszClassName = "VlStandinMonitor";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "VlStandinMonitor", title.c_str(), WS_OVERLAPPEDWINDOW, 20, 20, 240, 120, NULL,
                                  NULL, NULL, NULL);
    ShowWindow(window, SW_SHOWDEFAULT);
    char folder[MAX_PATH] = {};
    GetCurrentDirectory(MAX_PATH, folder);
    Append("args: " + args);
    Append(std::string("cwd: ") + folder);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (msg.message == WM_QUIT)
        Append("quit");
    DestroyWindow(window);
    return 0;
}
