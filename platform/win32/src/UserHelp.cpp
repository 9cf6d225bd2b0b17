// WinHelp: checks and records each request for the help engine (host/Help.h).
#include "UserInternal.h"

#include <host/Help.h>

#include <mutex>

namespace {

struct HelpLog {
    std::mutex mutex;
    std::vector<host::HelpRequest> requests;
};

HelpLog& Log()
{
    static auto* log = new HelpLog;
    return *log;
}

bool TakesText(UINT command)
{
    return command == HELP_KEY || command == HELP_PARTIALKEY || command == HELP_COMMAND;
}

}  // namespace

BOOL WINAPI WinHelpA(HWND hWndMain, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR dwData)
{
    if (hWndMain != nullptr && !IsWindow(hWndMain)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    bool noFile = lpszHelp == nullptr || *lpszHelp == '\0';
    if ((noFile && uCommand != HELP_QUIT) || (TakesText(uCommand) && dwData == 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    host::HelpRequest request;
    request.owner = hWndMain;
    request.command = uCommand;
    if (!noFile) {
        std::string name = lpszHelp;
        size_t window = name.find('>');
        if (window != std::string::npos) {
            request.window = name.substr(window + 1);
            name.resize(window);
        }
        request.file = name;
    }
    if (TakesText(uCommand))
        request.text = reinterpret_cast<LPCSTR>(dwData);
    else
        request.data = dwData;
    std::lock_guard<std::mutex> lock(Log().mutex);
    Log().requests.push_back(std::move(request));
    return TRUE;
}

namespace host {

std::vector<HelpRequest> HelpRequests()
{
    std::lock_guard<std::mutex> lock(Log().mutex);
    return Log().requests;
}

void ClearHelpRequests()
{
    std::lock_guard<std::mutex> lock(Log().mutex);
    Log().requests.clear();
}

}  // namespace host
