// The help engine's side of WinHelp: no help viewer runs on this platform, so every request is
// kept, in order, for whoever wants to see what the program asked for (tests, the presenter).
//
// Not part of the platform's interface: only the platform layer, the presenter and tests use it.
#pragma once

#include <windef.h>

#include <string>
#include <vector>

namespace host {

struct HelpRequest {
    HWND owner = nullptr;
    std::string file;    // the help file named, without a ">window" part
    std::string window;  // the secondary window named after '>', else empty
    UINT command = 0;    // HELP_ command
    ULONG_PTR data = 0;  // the command's argument (context number ...); 0 for text arguments
    std::string text;    // HELP_KEY, HELP_PARTIALKEY, HELP_COMMAND: the keyword or macro
};

// Every request made since the start (or the last ClearHelpRequests), oldest first.
std::vector<HelpRequest> HelpRequests();
void ClearHelpRequests();

}  // namespace host
