// vlcompanion: plays the suite's companion programs (wizards, jubilee companion, timeline viewer,
// notepad) in the launcher tests. Each start appends "command line|current folder" to the file
// named by the environment variable VL_COMPANION_REPORT. With VL_COMPANION_STAY set it then shows
// a top-level window titled "Companion" and runs until the window is closed; otherwise it ends at
// once with exit code 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

LRESULT CALLBACK CompanionProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main()
{
    if (const char* report = std::getenv("VL_COMPANION_REPORT")) {
        char folder[MAX_PATH] = "";
        GetCurrentDirectory(MAX_PATH, folder);
        if (FILE* out = std::fopen(report, "a")) {
            std::fprintf(out, "%s|%s\n", GetCommandLineA(), folder);
            std::fclose(out);
        }
    }
    if (!std::getenv("VL_COMPANION_STAY"))
        return 0;
    WNDCLASSA wc{};
    wc.lpfnWndProc = CompanionProc;
    wc.lpszClassName = "VLCompanion";
    if (!RegisterClassA(&wc))
        return 4;
    HWND hwnd = CreateWindowExA(0, "VLCompanion", "Companion", WS_OVERLAPPEDWINDOW, 20, 20, 200, 150, nullptr, nullptr,
                                nullptr, nullptr);
    if (!hwnd)
        return 5;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
