#include "widgets/MiniArtLayout.h"

#include <algorithm>

CMiniArtLayout::CMiniArtLayout() = default;

void CMiniArtLayout::Parse(const CString& strText)
{
    m_lines.clear();
    ParseMiniArtMarkup(strText, m_runs, m_words);
}

void CMiniArtLayout::Clear()
{
    m_runs.clear();
    m_words.clear();
    m_lines.clear();
}

CFont* CMiniArtLayout::FontOfRun(const MINIART_FONTS& fonts, int nRun) const
{
    if (m_runs.size() >= MINIART_MANY_RUNS)
        return fonts.pNormal;
    DWORD dwState = m_runs[size_t(nRun)].dwState;
    if ((dwState & MINIART_STATE_UNDERLINE) && fonts.pUnderline != NULL)
        return fonts.pUnderline;
    if ((dwState & MINIART_STATE_ITALIC) && fonts.pItalic != NULL)
        return fonts.pItalic;
    if ((dwState & MINIART_STATE_BOLD) && fonts.pBold != NULL)
        return fonts.pBold;
    return fonts.pNormal;
}

int CMiniArtLayout::Layout(CDC* pDC, const MINIART_FONTS& fonts, int nWidth)
{
    m_lines.clear();
    if (m_runs.empty())
        return 0;
    const double fit = m_runs.size() < MINIART_MANY_RUNS ? 0.98 : 0.94;

    CFont* pOldFont = fonts.pNormal != NULL ? pDC->SelectObject(fonts.pNormal) : NULL;
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    m_nLineHeight = std::max(1, int(tm.tmHeight + tm.tmExternalLeading));

    // The words as measured (leading blanks removed) make the new word list.
    std::vector<CString> words;
    words.reserve(m_runs.size());
    int x = m_nMargin, y = 0;
    LINE line;
    for (size_t i = 0; i < m_runs.size(); ++i) {
        MINIART_RUN& run = m_runs[i];
        CString word = m_words[size_t(run.nWord)];
        CString trimmed = word;
        trimmed.TrimLeft(' ');
        if (!trimmed.IsEmpty())
            word = trimmed;
        if (run.nBreak == MINIART_BREAK_LINE)
            run.nBreak = MINIART_BREAK_NONE;
        CFont* pFont = FontOfRun(fonts, int(i));
        if (pFont != NULL)
            pDC->SelectObject(pFont);
        int w = word.IsEmpty() ? 0 : int(pDC->GetTextExtent(word).cx);

        if (i > line.nFirst && double(nWidth) * fit < double(x + w)) {
            m_runs[i - 1].nBreak = MINIART_BREAK_LINE;
            line.nLast = std::uint32_t(i - 1);
            m_lines.push_back(line);
            line.nFirst = std::uint32_t(i);
            x = m_nMargin;
            y += m_nLineHeight;
        }
        run.rectCell = CRect(x, y, x + std::max(w - 1, 0), y + m_nLineHeight);
        run.nWord = int(words.size());
        words.push_back(word);
        line.nLast = std::uint32_t(i);
        if (run.nBreak == MINIART_BREAK_NONE) {
            x += w;
        } else if (i + 1 < m_runs.size()) {
            m_lines.push_back(line);
            line.nFirst = std::uint32_t(i + 1);
            x = m_nMargin;
            y += m_nLineHeight;
        }
    }
    m_lines.push_back(line);
    m_words.swap(words);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
    return y;
}

void CMiniArtLayout::Draw(CDC* pDC, const MINIART_FONTS& fonts, int nTopLine, int nLastVisible, DWORD dwSelection,
                          COLORREF crText) const
{
    CFont* pOldFont = fonts.pNormal != NULL ? pDC->SelectObject(fonts.pNormal) : NULL;
    // Transparent text, so that an italic word's overhang is not painted over by the next word.
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crOldText = pDC->GetTextColor();
    const int nLines = int(m_lines.size());
    for (int nLine = std::max(nTopLine, 0); nLine < nLines && nLine < nLastVisible + 2; ++nLine) {
        int x = m_nMargin;
        int y = (nLine - nTopLine) * m_nLineHeight;
        for (std::uint32_t i = m_lines[size_t(nLine)].nFirst; i <= m_lines[size_t(nLine)].nLast; ++i) {
            const MINIART_RUN& run = m_runs[i];
            const CString& word = m_words[size_t(run.nWord)];
            CFont* pFont = FontOfRun(fonts, int(i));
            if (pFont != NULL)
                pDC->SelectObject(pFont);
            if (word.IsEmpty())
                continue;
            const int w = int(pDC->GetTextExtent(word).cx);
            if (run.dwSelection == dwSelection && dwSelection != 0) {
                pDC->FillSolidRect(x, y, w, m_nLineHeight, MINIART_SELECTED_BACK);
                pDC->SetTextColor(MINIART_SELECTED_TEXT);
            } else {
                pDC->SetTextColor((run.dwState & MINIART_STATE_RED) ? MINIART_RED_TEXT : crText);
            }
            pDC->TextOut(x, y, word);
            x += w;
        }
    }
    pDC->SetTextColor(crOldText);
    pDC->SetBkMode(nOldMode);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
}

int CMiniArtLayout::HitTest(int nLine, int x, int nTopLine, CRect* pCell) const
{
    if (m_lines.empty() || nLine < 0 || nLine >= int(m_lines.size()))
        return -1;
    const LINE& line = m_lines[size_t(nLine)];
    const int top = (nLine - nTopLine) * m_nLineHeight;
    for (std::uint32_t i = line.nFirst; i <= line.nLast; ++i) {
        CRect cell = m_runs[i].rectCell;
        cell.top = top;
        cell.bottom = top + m_nLineHeight;
        if (pCell != NULL)
            *pCell = cell;
        if (x < cell.left)
            return i == line.nFirst ? -1 : int(i);
        if (x <= cell.right)
            return int(i);
    }
    return int(line.nLast);
}

int CMiniArtLayout::LineOfRun(int nRun) const
{
    for (size_t n = 0; n < m_lines.size(); ++n)
        if (std::uint32_t(nRun) >= m_lines[n].nFirst && std::uint32_t(nRun) <= m_lines[n].nLast)
            return int(n);
    return -1;
}

CString CMiniArtLayout::JoinWords(int nFrom, int nTo) const
{
    if (m_runs.empty())
        return CString();
    if (nFrom > nTo)
        std::swap(nFrom, nTo);
    nFrom = std::max(nFrom, 0);
    nTo = std::min(nTo, int(m_runs.size()) - 1);
    CString text;
    for (int i = nFrom; i <= nTo; ++i)
        text += GetWord(i);
    return text;
}
