// Stand-in for the message box until the window system's message box is there: records the
// texts shown.
#include "search/ShowMessage.h"

#include <string>
#include <vector>

std::vector<std::string> g_shownMessages;

void ShowMessage(LPCSTR pszText)
{
    g_shownMessages.push_back(pszText != NULL ? pszText : "");
}
