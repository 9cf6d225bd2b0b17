// The application objects of code libraries, by their libraries' module states. Not installed.
#pragma once

#include <afxwin.h>

namespace mfc {

// The application object a library's state owns (NULL when none).
CWinApp* LibraryApp(AFX_MODULE_STATE* state);
void SetLibraryApp(AFX_MODULE_STATE* state, CWinApp* app);

}  // namespace mfc
