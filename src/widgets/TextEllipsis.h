// Shortening a one-line text with "..." so that it fits a width: the captions of the floating
// panels and the status window's line.
#pragma once

#include <afxwin.h>

// The text as it fits nMaxWidth pixels in the DC's font: the text itself when it fits, else its
// first characters followed by "...", dropping one more character at a time from the original
// until the result fits or only nMinKeep characters are left (that shortest form is then the
// answer, fitting or not). A text of nMinKeep characters or fewer is never shortened.
CString EllipsizeText(CDC* pDC, const CString& strText, int nMaxWidth, int nMinKeep);
