#include "search/DictionaryLayout.h"

#include "widgets/PrinterChoice.h"

#include <afxdlgs.h>

CFont* CDictionaryLayout::Fonts::For(BYTE code) const
{
    switch (StyleOf(code)) {
    case kBold: return pBold;
    case kItalic: return pItalic;
    default: return pRegular;
    }
}

CDictionaryLayout::Style CDictionaryLayout::StyleOf(BYTE code)
{
    if (code == 0xB3 || code == 0xB5 || code == 0xBB)
        return kBold;
    if (code == 0xB6 || code == 0xB7 || code == 0xB8)
        return kItalic;
    return kRegular;
}

int CDictionaryLayout::LayOutLine(CDC* pDC, const CString& strRaw, int nWidth, const Fonts& fonts, CStringArray& out,
                                  BOOL* pbWrapped)
{
    const CString strIndent(' ', kIndent);
    pDC->SelectObject(fonts.pRegular);
    const int nIndentWidth = pDC->GetTextExtent(strIndent).cx;
    const int nRight = nWidth - 2;
    int nAdded = 0;
    int x = 0;
    CString strLine;
    const int nLength = strRaw.GetLength();
    int i = 0;
    while (i < nLength) {
        const BYTE ch = static_cast<BYTE>(strRaw[i]);
        if (ch == '\r' || ch == '\n')
            break;
        if (ch >= 0xBD && ch <= 0xDA) {
            if (ch == 0xBD)
                strLine += static_cast<char>(ch);
            ++i;
            continue;
        }
        if (IsStyleCode(ch)) {
            strLine += static_cast<char>(ch);
            pDC->SelectObject(fonts.For(ch));
            ++i;
            continue;
        }
        // A word up to and with its space.
        CString strWord;
        while (i < nLength) {
            const BYTE c = static_cast<BYTE>(strRaw[i]);
            if (c == '\r' || c == '\n' || IsCode(c))
                break;
            ++i;
            if (c == '\t') {
                strWord += strIndent;
                if (pbWrapped != NULL)
                    *pbWrapped = TRUE;
                continue;
            }
            if (c == ' ' || c == 0xFF) {
                strWord += ' ';
                break;
            }
            strWord += static_cast<char>(c);
        }
        const int nWordWidth = pDC->GetTextExtent(strWord).cx;
        const BOOL bLast = i >= nLength;
        if (x > 0 && (x + nWordWidth > nRight || (bLast && x + nWordWidth >= nRight))) {
            out.Add(strLine);
            ++nAdded;
            // The codes in force carry over to the continuation.
            strLine = strIndent + strWord;
            x = nIndentWidth + nWordWidth;
            if (pbWrapped != NULL)
                *pbWrapped = TRUE;
        } else {
            strLine += strWord;
            x += nWordWidth;
        }
    }
    out.Add(strLine);
    pDC->SelectObject(fonts.pRegular);
    return nAdded + 1;
}

int CDictionaryLayout::DrawLine(CDC* pDC, const CString& strLine, int x, int y, const Fonts& fonts, int nSelFrom,
                                int nSelTo, COLORREF crText, COLORREF crBack)
{
    pDC->SelectObject(fonts.pRegular);
    TEXTMETRIC tm;
    pDC->GetTextMetrics(&tm);
    int nHeight = tm.tmHeight;
    const int nLength = strLine.GetLength();
    int i = 0;
    while (i < nLength) {
        const BYTE ch = static_cast<BYTE>(strLine[i]);
        if (IsCode(ch)) {
            pDC->SelectObject(fonts.For(ch));
            pDC->GetTextMetrics(&tm);
            if (tm.tmHeight > nHeight)
                nHeight = tm.tmHeight;
            ++i;
            continue;
        }
        const int nStart = i;
        while (i < nLength && !IsCode(static_cast<BYTE>(strLine[i]))) {
            const BOOL bSpace = strLine[i] == ' ';
            ++i;
            if (bSpace)
                break;
        }
        const CString strWord = strLine.Mid(nStart, i - nStart);
        const BOOL bSelected = nSelFrom >= 0 && nStart >= nSelFrom && nStart <= nSelTo;
        pDC->SetTextColor(bSelected ? PALETTERGB(0, 0, 255) : crText);
        pDC->SetBkColor(bSelected ? PALETTERGB(218, 200, 230) : crBack);
        pDC->SetBkMode(OPAQUE);
        pDC->TextOut(x, y, strWord);
        x += pDC->GetTextExtent(strWord).cx;
    }
    pDC->SelectObject(fonts.pRegular);
    return nHeight;
}

int CDictionaryLayout::CharAt(CDC* pDC, const CString& strLine, int x0, int x, const Fonts& fonts)
{
    pDC->SelectObject(fonts.pRegular);
    const int nLength = strLine.GetLength();
    int nLastText = 0;
    for (int i = 0; i < nLength; ++i) {
        const BYTE ch = static_cast<BYTE>(strLine[i]);
        if (IsCode(ch)) {
            pDC->SelectObject(fonts.For(ch));
            continue;
        }
        const int w = pDC->GetTextExtent(strLine.Mid(i, 1)).cx;
        nLastText = i;
        if (x < x0 + w) {
            pDC->SelectObject(fonts.pRegular);
            return i;
        }
        x0 += w;
    }
    pDC->SelectObject(fonts.pRegular);
    return nLength > 0 ? nLastText : 0;
}

CString CDictionaryLayout::PlainText(const CString& strLine)
{
    CString strText;
    for (int i = 0; i < strLine.GetLength(); ++i)
        if (!IsCode(static_cast<BYTE>(strLine[i])))
            strText += strLine[i];
    return strText;
}

namespace {

// Draws a footer and the header line of a page.
void PrintHeaderOrFooter(CDC* pDC, CFont* pSmall, LPCSTR lpszText, int nPageWidth, int y)
{
    CFont* pOld = pDC->SelectObject(pSmall);
    CRect band(10, y, nPageWidth - 10, y + 200);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(lpszText, -1, &band, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SelectObject(pOld);
}

BOOL MakePrinterFont(CFont& font, CDC* pDC, int nPoints, int nWeight, BOOL bItalic)
{
    return font.CreateFont(-MulDiv(nPoints, pDC->GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, nWeight, static_cast<BYTE>(bItalic),
                           FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, "Arial");
}

}  // namespace

int CDictionaryLayout::PrintLines(CWnd* pParent, LPCSTR lpszDocTitle, const CStringArray& raw, const CRect& margins,
                                  int nPageLimit, int nLinesPerPage)
{
    // On the printer already chosen for several printouts, else through a Print dialog.
    HDC hdc = CPrinterChoice::AskPrinter(pParent, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                                      PD_NOSELECTION | PD_RETURNDC);
    if (hdc == NULL)
        return 0;
    CDC dc;
    dc.Attach(hdc);
    CFont regular, bold, italic, small;
    if (!MakePrinterFont(regular, &dc, 11, FW_NORMAL, FALSE) || !MakePrinterFont(bold, &dc, 11, FW_BOLD, FALSE) ||
        !MakePrinterFont(italic, &dc, 11, FW_NORMAL, TRUE) || !MakePrinterFont(small, &dc, 7, FW_NORMAL, FALSE)) {
        dc.DeleteDC();
        return 0;
    }
    const Fonts fonts = {&regular, &bold, &italic};
    const int nPageWidth = dc.GetDeviceCaps(HORZRES);
    const int nPageHeight = dc.GetDeviceCaps(VERTRES);
    const CRect area(margins.left, margins.top, nPageWidth - margins.right, nPageHeight - margins.bottom);
    CFont* pOldFont = dc.SelectObject(&regular);
    if (dc.StartDoc(lpszDocTitle) <= 0) {
        dc.SelectObject(pOldFont);
        dc.DeleteDC();
        return 0;
    }
    int nPages = 0;
    int y = area.top;
    int nCount = 0;
    BOOL bPageOpen = FALSE;
    auto startPage = [&]() {
        dc.StartPage();
        ++nPages;
        bPageOpen = TRUE;
        PrintHeaderOrFooter(&dc, &small, "Printed from Veltra", nPageWidth, 100);
        y = area.top;
        nCount = 0;
    };
    auto endPage = [&]() {
        CString strFooter;
        strFooter.Format("%s - page %d", lpszDocTitle, nPages);
        PrintHeaderOrFooter(&dc, &small, strFooter, nPageWidth, nPageHeight - 200);
        dc.EndPage();
        bPageOpen = FALSE;
    };
    if (raw.GetSize() > 0)
        startPage();
    for (INT_PTR i = 0; i < raw.GetSize() && bPageOpen; ++i) {
        CStringArray lines;
        LayOutLine(&dc, raw[i], area.Width(), fonts, lines);
        for (INT_PTR k = 0; k < lines.GetSize(); ++k) {
            y += DrawLine(&dc, lines[k], area.left, y, fonts, -1, -1, RGB(0, 0, 0), RGB(255, 255, 255));
            ++nCount;
        }
        // A page is full when it holds its lines, or when the next raw line would pass the area.
        const BOOL bFull = (nLinesPerPage > 0 && nCount >= nLinesPerPage) || y >= area.bottom;
        if (bFull && i + 1 < raw.GetSize()) {
            endPage();
            if (nPageLimit == 0 || nPages < nPageLimit)
                startPage();
        }
    }
    if (bPageOpen)
        endPage();
    dc.EndDoc();
    dc.SelectObject(pOldFont);
    dc.DeleteDC();
    return nPages;
}
