// Shared by the common dialogs' sources. Not installed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace commdlg {

void SetError(DWORD code);

// Asks for one answer: from the UI script headless, or from a small dialog of our own controls
// interactively (a label, an edit holding `initial`, OK and Cancel). `accept` checks an answer
// and may tell the user why it refuses it; the dialog then asks again. False: cancelled or
// unanswered (an unanswered dialog has been reported with its title).
bool Ask(HWND owner, const std::string& kind, const std::string& title, const std::string& label,
         const std::string& initial, const std::function<bool(std::string&)>& accept, std::string& answer);

}  // namespace commdlg
