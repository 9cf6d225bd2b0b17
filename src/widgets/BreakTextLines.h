// Writing a text into a rectangle line by line, breaking at blanks, with the device context's
// current font and colours; or, with bMeasureOnly, only finding where the text would reach.
#pragma once

#include <afxwin.h>

// Writes strText from the pen: the rest of the text is written whole when it fits between the
// pen and the box's right edge (the pen then stands after it on the same line); else it is cut
// at the last blank that fits (blanks before the cut dropped, the one blank after it skipped), a
// word that fits nowhere is written whole at the start of a line, and the pen moves to the box's
// left one line lower. Stops when the text is used up or the next line would pass the box's
// bottom (what is left is dropped). With bMeasureOnly nothing is drawn, the pen moves the same.
void BreakTextLines(CDC* pDC, POINT& pen, const RECT& box, int nLineHeight, const CString& strText, BOOL bMeasureOnly);
