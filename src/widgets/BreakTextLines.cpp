#include "widgets/BreakTextLines.h"

void BreakTextLines(CDC* pDC, POINT& pen, const RECT& box, int nLineHeight, const CString& strText, BOOL bMeasureOnly)
{
    if (nLineHeight <= 0)
        return;  // no line would ever end
    CString strRest = strText;
    while (!strRest.IsEmpty() && pen.y + nLineHeight <= box.bottom) {
        const int nRoom = box.right - pen.x;
        const int cxAll = pDC->GetTextExtent(strRest).cx;
        if (cxAll <= nRoom) {
            if (!bMeasureOnly)
                pDC->TextOut(pen.x, pen.y, strRest);
            pen.x += cxAll;
            strRest.Empty();
            break;
        }
        CString strLine = strRest;
        for (;;) {
            int nBlank = strLine.ReverseFind(' ');
            if (nBlank < 0) {
                // One word left: it moves to the next line, or is written whole at a line's start.
                if (pen.x != box.left)
                    strLine.Empty();
                break;
            }
            while (nBlank > 0 && strLine[nBlank - 1] == ' ')
                --nBlank;
            strLine = strLine.Left(nBlank);
            if (pDC->GetTextExtent(strLine).cx <= nRoom)
                break;
        }
        if (strLine.IsEmpty() && pen.x == box.left) {
            // Only blanks before the first word: they are skipped, so the text goes on.
            strRest.TrimLeft(' ');
            continue;
        }
        if (!strLine.IsEmpty()) {
            if (!bMeasureOnly)
                pDC->TextOut(pen.x, pen.y, strLine);
            strRest = strRest.Mid(strLine.GetLength() + 1);
        }
        pen.x = box.left;
        pen.y += nLineHeight;
    }
}
