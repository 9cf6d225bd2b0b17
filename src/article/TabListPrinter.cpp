#include "article/TabListPrinter.h"

#include "article/PrintPageLimit.h"
#include "base/AppServices.h"
#include "widgets/Dib.h"
#include "widgets/PrinterChoice.h"

#include <afxdlgs.h>

#include <memory>
#include <utility>

namespace {

const char kHeader[] = "Printed from Veltra";
const char kFooter[] = "From Veltra\x99 Multimedia Encyclopedia, published by Veltra Publishing. All rights reserved.";
const char kIconType[] = "ICON";

// Virtual units, scaled by the page.
const int kHeaderTop = 100;
const int kTitleTop = 200;
const int kBodyTop = 500;
const int kMargin = 500;
const int kFooterGap = 100;
const int kLineHeight = 160;
const int kPictureDrop = 50;
const int kPictureLeft = 700;

struct LevelGeometry {
    int nLeft;      // first line
    int nLess;      // the wrap width is HORZRES less this
    int nContinue;  // later lines
};
const LevelGeometry kLevels[] = {{500, 1000, 550}, {600, 1100, 650}, {700, 1200, 750}};
const LevelGeometry kPictureLevel = {880, 1380, 880};

// Splits the text at its last space.
BOOL SplitAtLastSpace(CString& strFirst, CString& strRest)
{
    const int nSpace = strFirst.ReverseFind(' ');
    if (nSpace < 0)
        return FALSE;
    strRest = strFirst.Mid(nSpace + 1) + (strRest.IsEmpty() ? CString() : CString(" ") + strRest);
    strFirst = strFirst.Left(nSpace);
    return TRUE;
}

}  // namespace

CTabListPrinter::CTabListPrinter(CWnd* pOwner, LPCSTR lpszDocName, const CString& strTitle,
                                 std::vector<PrintListLine> lines)
    : m_pOwner(pOwner), m_strDocName(lpszDocName), m_strTitle(strTitle), m_lines(std::move(lines))
{
}

HDC CTabListPrinter::AskPrinter()
{
    return CPrinterChoice::AskPrinter(m_pOwner);
}

int CTabListPrinter::Print()
{
    const CPrintPageLimit limit;
    HDC hdc = AskPrinter();
    if (hdc == NULL)
        return 0;
    CDC dc;
    dc.Attach(hdc);
    int nPages = 0;
    if (dc.StartDoc(m_strDocName) > 0) {
        const int nCount = static_cast<int>(m_lines.size());
        int nLast = -1;
        while (nLast < nCount - 1) {
            nLast = PrintPage(&dc, nLast);
            ++nPages;
            if (limit.IsLastPage(nPages))
                break;
        }
        // An empty list prints no page and leaves no empty document behind.
        if (nPages > 0)
            dc.EndDoc();
        else
            dc.AbortDoc();
    }
    dc.DeleteDC();
    return nPages;
}

void CTabListPrinter::DrawIcon(CDC* pDC, UINT nIcon, const CRect& rect)
{
    // The program's module first, then the shared resource library; in each the picture kept
    // as an "ICON" resource, else the bitmap of that number.
    HMODULE hModule = NULL;
    HRSRC hFound = NULL;
    for (HMODULE hTry : {AfxGetResourceHandle(), AppServices().env.hResourceLibrary}) {
        if (hTry == NULL || hFound != NULL)
            continue;
        hFound = ::FindResource(hTry, MAKEINTRESOURCE(nIcon), kIconType);
        if (hFound == NULL)
            hFound = ::FindResource(hTry, MAKEINTRESOURCE(nIcon), RT_BITMAP);
        hModule = hTry;
    }
    if (hFound == NULL)
        return;
    try {
        CDib picture(hModule, hFound);
        if (picture.GetInfoHeader() != NULL)
            picture.DrawInRect(pDC, rect);
    } catch (CException* e) {
        e->Delete();
    }
}

int CTabListPrinter::PrintPage(CDC* pDC, int nLast)
{
    const int nWidth = pDC->GetDeviceCaps(HORZRES);
    const int nHeight = pDC->GetDeviceCaps(VERTRES);
    const double sx = static_cast<double>(nWidth) / virtualWidth;
    const double sy = static_cast<double>(nHeight) / virtualHeight;
    auto X = [sx](int v) { return static_cast<int>(v * sx); };
    auto Y = [sy](int v) { return static_cast<int>(v * sy); };

    CFont font11, font7, font12;
    font11.CreatePointFont(110, "Arial", pDC);
    font7.CreatePointFont(70, "Arial", pDC);
    LOGFONT lf;
    font11.GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = -MulDiv(12, pDC->GetDeviceCaps(LOGPIXELSY), 72);
    lstrcpyn(lf.lfFaceName, "Arial", LF_FACESIZE);
    font12.CreateFontIndirect(&lf);

    pDC->StartPage();
    const int nOldMap = pDC->SetMapMode(MM_TEXT);
    const UINT nOldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(&font7);

    pDC->TextOut((nWidth - pDC->GetTextExtent(kHeader).cx) / 2, Y(kHeaderTop), kHeader);
    CString strTitle = m_strTitle;
    strTitle.MakeUpper();
    pDC->TextOut((nWidth - pDC->GetTextExtent(strTitle).cx) / 2, Y(kTitleTop), strTitle);

    std::vector<std::pair<int, UINT>> pictures;  // (top, icon)
    const int nCount = static_cast<int>(m_lines.size());
    const int nBottom = nHeight - Y(kMargin);
    const int nRight = nWidth - X(kMargin);
    int y = Y(kBodyTop);
    BOOL bFull = FALSE;
    int i = nLast + 1;
    for (; i < nCount; ++i) {
        const PrintListLine& line = m_lines[static_cast<size_t>(i)];
        const BOOL bPicture = line.nLevel >= 2 && line.nIcon != 0;
        const LevelGeometry& geometry = bPicture ? kPictureLevel : kLevels[line.nLevel > 2 ? 2 : line.nLevel];
        pDC->SelectObject(line.nLevel == 0 ? &font12 : &font11);
        const int nWrap = nWidth - X(geometry.nLess);
        CString strFirst = line.strText;
        CString strRest;
        if (pDC->GetTextExtent(strFirst).cx > nWrap && SplitAtLastSpace(strFirst, strRest))
            while (pDC->GetTextExtent(strFirst).cx > nWrap && SplitAtLastSpace(strFirst, strRest)) {
            }
        const int nTop = y;
        CRect rcFirst(X(geometry.nLeft), y, nRight, y + X(kLineHeight));
        y = rcFirst.bottom;
        CRect rcRest(X(geometry.nContinue), y, nRight, y);
        if (!strRest.IsEmpty()) {
            strRest.TrimLeft();
            y += pDC->DrawText(strRest, &rcRest, DT_CALCRECT | DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
            rcRest.right = nRight;
        }
        // A line that does not fit starts the next page; one taller than a whole page prints
        // alone on its page, so that every page moves on.
        if (y > nBottom && i > nLast + 1) {
            bFull = TRUE;
            break;
        }
        pDC->DrawText(strFirst, &rcFirst, DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX);
        if (!strRest.IsEmpty())
            pDC->DrawText(strRest, &rcRest, DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
        if (bPicture)
            pictures.emplace_back(nTop + Y(kPictureDrop), line.nIcon);
    }

    pDC->SelectObject(&font7);
    const int nFooterTop = bFull ? nHeight - Y(kFooterGap) : y + Y(kFooterGap);
    pDC->TextOut((nWidth - pDC->GetTextExtent(kFooter).cx) / 2, nFooterTop, kFooter);
    for (const auto& [nTop, nIcon] : pictures)
        DrawIcon(pDC, nIcon, CRect(X(kPictureLeft), nTop, X(kPictureLeft) + X(kLineHeight), nTop + X(kLineHeight)));

    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextAlign(nOldAlign);
    pDC->SetMapMode(nOldMap);
    pDC->EndPage();
    return i - 1;
}
