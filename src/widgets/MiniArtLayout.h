// The text of a mini-article box as runs laid out in lines: the parsed mark-up (MiniArtMarkup.h),
// the wrapping of the runs to a width with the four fonts measuring each word, the painting of a
// band of lines, and the hit test of a point on a line. The box (MiniArtThumb.h) owns one and
// adds the window around it: client size, scroll bar, selection with the mouse.
#pragma once

#include "widgets/MiniArtMarkup.h"
#include "widgets/TextThumbFonts.h"

#include <afxwin.h>

#include <cstdint>
#include <vector>

// Colours of a selected run: blue on lavender.
#define MINIART_SELECTED_TEXT PALETTERGB(0, 0, 255)
#define MINIART_SELECTED_BACK PALETTERGB(218, 200, 230)
#define MINIART_RED_TEXT PALETTERGB(255, 0, 0)

// From this many runs on, every word is measured and drawn in the normal font and the lines are
// filled less (the fit factor falls from 0.98 to 0.94).
#define MINIART_MANY_RUNS 1000

class CMiniArtLayout {
public:
    // One laid-out line: its first and last run (inclusive).
    struct LINE {
        std::uint32_t nFirst = 0;
        std::uint32_t nLast = 0;
    };

    CMiniArtLayout();

    // Parses a marked-up text into runs (the lines are emptied).
    void Parse(const CString& strText);
    // Forgets the runs, words and lines.
    void Clear();

    // Wraps the runs into lines for a width, measuring each word in the font its events select.
    // Returns the top of the last line (0 without runs). The line height becomes the normal
    // font's height plus its external leading.
    int Layout(CDC* pDC, const MINIART_FONTS& fonts, int nWidth);
    // Paints the lines from nTopLine while they are below nLastVisible + 2: the words in their
    // fonts and colours (transparently), the runs marked with dwSelection blue on lavender. The
    // background is left to the caller.
    void Draw(CDC* pDC, const MINIART_FONTS& fonts, int nTopLine, int nLastVisible, DWORD dwSelection,
              COLORREF crText) const;
    // The run of a line under x, or -1 (no such line, or x left of the line's first cell); past
    // the last run of the line that run. *pCell gets the cell of the run looked at last, its top
    // and bottom the line's band below nTopLine.
    int HitTest(int nLine, int x, int nTopLine, CRect* pCell = NULL) const;

    // The run's word as it is drawn (leading blanks removed by the layout).
    const CString& GetWord(int nRun) const { return m_words[size_t(m_runs[size_t(nRun)].nWord)]; }
    int GetRunCount() const { return int(m_runs.size()); }
    int GetLineCount() const { return int(m_lines.size()); }
    int GetLineHeight() const { return m_nLineHeight; }
    int GetMargin() const { return m_nMargin; }
    std::vector<MINIART_RUN>& Runs() { return m_runs; }
    const std::vector<MINIART_RUN>& Runs() const { return m_runs; }
    const std::vector<CString>& Words() const { return m_words; }
    const std::vector<LINE>& Lines() const { return m_lines; }
    // The line that holds a run, -1 when none does.
    int LineOfRun(int nRun) const;
    // The words of runs nFrom to nTo (inclusive, either order) joined as they stand.
    CString JoinWords(int nFrom, int nTo) const;

    // The font a run's state selects (the normal one for texts of many runs).
    CFont* FontOfRun(const MINIART_FONTS& fonts, int nRun) const;

private:
    std::vector<MINIART_RUN> m_runs;
    std::vector<CString> m_words;
    std::vector<LINE> m_lines;
    int m_nMargin = 8;
    int m_nLineHeight = 14;
};
