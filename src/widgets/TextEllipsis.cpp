#include "widgets/TextEllipsis.h"

namespace {

int WidthOf(CDC* pDC, const CString& strText)
{
    return pDC->GetTextExtent(strText, strText.GetLength()).cx;
}

}  // namespace

CString EllipsizeText(CDC* pDC, const CString& strText, int nMaxWidth, int nMinKeep)
{
    int nKeep = strText.GetLength();
    if (nKeep <= nMinKeep || WidthOf(pDC, strText) <= nMaxWidth)
        return strText;
    // Each step starts again from the original text, so the loop ends after at most as many
    // steps as the text has characters.
    CString strShort;
    while (nKeep > nMinKeep) {
        --nKeep;
        strShort = strText.Left(nKeep) + "...";
        if (WidthOf(pDC, strShort) <= nMaxWidth)
            break;
    }
    return strShort;
}
