#include "widgets/ListRowPainting.h"

#include "base/AppServices.h"

std::vector<CString> WrapText(CDC* pDC, const CString& strText, int nFirstWidth, int nWidth)
{
    std::vector<CString> lines;
    CString strRest = strText;
    int nLimit = nFirstWidth;
    do {
        CString strLine = strRest;
        if (pDC->GetTextExtent(strRest).cx > nLimit) {
            int nCut = -1;
            for (int i = 0; i < strRest.GetLength(); ++i) {
                if (strRest[i] != ' ')
                    continue;
                if (pDC->GetTextExtent(strRest.Left(i)).cx > nLimit)
                    break;
                nCut = i;
            }
            if (nCut <= 0) {
                nCut = strRest.Find(' ', 1);
                if (nCut < 0)
                    nCut = strRest.GetLength();
            }
            strLine = strRest.Left(nCut);
        }
        strRest = strRest.Mid(strLine.GetLength());
        strRest.TrimLeft(' ');
        strLine.TrimRight(' ');
        lines.push_back(strLine);
        nLimit = nWidth;
    } while (!strRest.IsEmpty());
    return lines;
}

BOOL DrawListIcon(CDC* pDC, int x, int y, UINT nIcon, int nSize)
{
    if (nIcon == 0)
        return FALSE;
    HICON hIcon = NULL;
    if (AppServices().env.hResourceLibrary != NULL)
        hIcon = static_cast<HICON>(
            ::LoadImage(AppServices().env.hResourceLibrary, MAKEINTRESOURCE(nIcon), IMAGE_ICON, nSize, nSize, 0));
    if (hIcon == NULL)
        hIcon = static_cast<HICON>(::LoadImage(AfxGetInstanceHandle(), MAKEINTRESOURCE(nIcon), IMAGE_ICON, nSize, nSize, 0));
    if (hIcon == NULL)
        return FALSE;
    ::DrawIconEx(pDC->GetSafeHdc(), x, y, hIcon, nSize, nSize, 0, NULL, DI_NORMAL);
    ::DestroyIcon(hIcon);
    return TRUE;
}
