// Text to the clipboard as CF_TEXT: what the panes' Copy commands put there.
#pragma once

#include <afxwin.h>

// Puts the text on the clipboard as CF_TEXT (a movable global block of the text and its
// terminating zero), the window owning the clipboard. FALSE, with the clipboard as it was, when
// the text is empty or memory or the clipboard cannot be had.
BOOL CopyTextToClipboard(CWnd* pOwner, const CString& strText);
