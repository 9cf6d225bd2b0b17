// What the program's list windows share to paint a row: text wrapped at blanks into lines, and
// the 16 x 16 icon of a row.
#pragma once

#include <afxwin.h>

#include <vector>

// The lines of a text wrapped at blanks in the DC's font: the first line fits nFirstWidth, the
// others nWidth; a word wider than the line is taken whole. Blanks at the start of a
// continuation line are skipped and blanks at a line's end dropped. Always at least one line.
std::vector<CString> WrapText(CDC* pDC, const CString& strText, int nFirstWidth, int nWidth);

// Draws icon resource nIcon at (x, y) in nSize x nSize pixels, from the screen-class resource
// library when it has the icon, else from the program itself. FALSE when neither has it.
BOOL DrawListIcon(CDC* pDC, int x, int y, UINT nIcon, int nSize = 16);
