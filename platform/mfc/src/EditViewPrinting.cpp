// CEditView's printing: the control's text in its font scaled to the printer, lines wrapped at
// the page's width, pages as full as the page's height allows.
#include <afxwin.h>

#include <algorithm>
#include <string>

namespace {

// The text's lines as the page shows them: tabs expanded, each source line (ending at CR LF,
// CR or LF) wrapped at a space where it can, else where it must, so no line is wider than width.
std::vector<CString> WrapLines(HDC hdc, const CString& text, int width)
{
    std::vector<CString> lines;
    auto fits = [&](const std::string& s) {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hdc, s.data(), static_cast<int>(s.size()), &size);
        return size.cx <= width;
    };
    auto wrap = [&](std::string line) {
        for (;;) {
            if (fits(line)) {
                lines.emplace_back(line.c_str());
                return;
            }
            // The longest part that fits, ended at its last space when it has one.
            size_t low = 1, high = line.size();
            while (low < high) {
                size_t mid = (low + high + 1) / 2;
                if (fits(line.substr(0, mid)))
                    low = mid;
                else
                    high = mid - 1;
            }
            size_t cut = low;
            size_t space = line.rfind(' ', cut);
            if (space != std::string::npos && space > 0 && cut < line.size())
                cut = space + 1;
            std::string head = line.substr(0, cut);
            while (!head.empty() && head.back() == ' ')
                head.pop_back();
            lines.emplace_back(head.c_str());
            line.erase(0, cut);
        }
    };
    std::string current;
    const char* p = text;
    const char* end = p + text.GetLength();
    for (; p < end; ++p) {
        if (*p == '\r' || *p == '\n') {
            wrap(current);
            current.clear();
            if (*p == '\r' && p + 1 < end && p[1] == '\n')
                ++p;
        } else if (*p == '\t') {
            current.append(8 - current.size() % 8, ' ');
        } else {
            current += *p;
        }
    }
    if (!current.empty() || lines.empty())
        wrap(current);
    return lines;
}

}  // namespace

BOOL CEditView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CEditView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    // The view's font at the printer's resolution.
    HFONT viewFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (viewFont == NULL)
        viewFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    LOGFONTA lf = {};
    ::GetObjectA(viewFont, sizeof lf, &lf);
    HDC screen = ::GetDC(NULL);
    int screenDpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(NULL, screen);
    int printerDpi = pDC->GetDeviceCaps(LOGPIXELSY);
    if (lf.lfHeight == 0)
        lf.lfHeight = -12;
    lf.lfHeight = ::MulDiv(lf.lfHeight, printerDpi, screenDpi > 0 ? screenDpi : 96);
    lf.lfWidth = 0;
    m_hPrinterFont = ::CreateFontIndirectA(&lf);

    HGDIOBJ old = ::SelectObject(pDC->GetSafeHdc(), m_hPrinterFont);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(pDC->GetSafeHdc(), &tm);
    m_nPrintLineHeight = std::max(1, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
    CString text;
    GetWindowText(text);
    m_printLines = WrapLines(pDC->GetSafeHdc(), text, std::max(1, pInfo->m_rectDraw.Width()));
    ::SelectObject(pDC->GetSafeHdc(), old);

    size_t perPage = std::max(1, pInfo->m_rectDraw.Height() / m_nPrintLineHeight);
    m_pageStarts.clear();
    for (size_t start = 0; start < m_printLines.size(); start += perPage)
        m_pageStarts.push_back(start);
    if (m_pageStarts.empty())
        m_pageStarts.push_back(0);
    pInfo->SetMaxPage(static_cast<UINT>(m_pageStarts.size()));
}

void CEditView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    if (pInfo != NULL && pInfo->m_nCurPage > m_pageStarts.size())
        pInfo->m_bContinuePrinting = FALSE;
}

void CEditView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (pInfo->m_nCurPage == 0 || pInfo->m_nCurPage > m_pageStarts.size())
        return;
    size_t first = m_pageStarts[pInfo->m_nCurPage - 1];
    size_t last = pInfo->m_nCurPage < m_pageStarts.size() ? m_pageStarts[pInfo->m_nCurPage] : m_printLines.size();
    HDC hdc = pDC->GetSafeHdc();
    HGDIOBJ old = ::SelectObject(hdc, m_hPrinterFont);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, RGB(0, 0, 0));
    int y = pInfo->m_rectDraw.top;
    for (size_t i = first; i < last; ++i, y += m_nPrintLineHeight)
        ::TextOutA(hdc, pInfo->m_rectDraw.left, y, m_printLines[i], m_printLines[i].GetLength());
    ::SelectObject(hdc, old);
}

void CEditView::OnEndPrinting(CDC*, CPrintInfo*)
{
    if (m_hPrinterFont != NULL)
        ::DeleteObject(m_hPrinterFont);
    m_hPrinterFont = NULL;
    m_printLines.clear();
    m_pageStarts.clear();
}
