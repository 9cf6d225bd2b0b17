// The built editor as a program of its own: started with CreateProcess it shows an untitled
// document, and text travels between it and this process through the shared clipboard.
#include <windows.h>

#include <afxres.h>
#include "PeerSupport.h"
#include <host/Paths.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {

void PutText(const char* text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::strcpy(static_cast<char*>(GlobalLock(block)), text);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    ASSERT_TRUE(CloseClipboard());
}

std::string GetText()
{
    if (!OpenClipboard(nullptr))
        return "(not open)";
    HANDLE h = GetClipboardData(CF_TEXT);
    std::string text = h ? static_cast<const char*>(GlobalLock(h)) : "(none)";
    if (h)
        GlobalUnlock(h);
    CloseClipboard();
    return text;
}

TEST(NotepadProcessTest, StartsUntitledAndTakesAndGivesTextThroughTheClipboard)
{
    auto program = host::FromHostPath(VL_NOTEPAD_PROGRAM);
    ASSERT_TRUE(program.has_value());
    // Started the way the encyclopedia starts it: "notepad.exe" with no arguments.
    std::string commandLine = "\"" + *program + ".exe\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                               nullptr, &si, &pi))
        << GetLastError();
    HWND frame = nullptr;
    EXPECT_TRUE(Eventually([&] {
        frame = FindWindowA(nullptr, "Untitled - Veltra Notepad");
        return frame != nullptr && IsWindowVisible(frame);
    }, 20));
    if (frame != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(frame, &pid);
        EXPECT_EQ(pid, pi.dwProcessId);

        // Copied here (as the article view's Ctrl+C does), pasted there.
        PutText("Notes on the monoplane's first flight.");
        SendMessageA(frame, WM_COMMAND, ID_EDIT_PASTE, 0);
        // Something else goes on the clipboard; the editor's copy replaces it with its text.
        PutText("placeholder");
        SendMessageA(frame, WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
        SendMessageA(frame, WM_COMMAND, ID_EDIT_COPY, 0);
        EXPECT_EQ(GetText(), "Notes on the monoplane's first flight.");
    }
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 20000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

}  // namespace
