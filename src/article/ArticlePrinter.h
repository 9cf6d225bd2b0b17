// CArticlePrinter: prints the article that a page window shows. The page window hands it the
// scope of VLM_PRINT_ARTICLE (the whole article, the section of the top line, the page that starts
// there, or the sections of the selection); the printer shows the print dialog, lays the chosen
// sections out again for the printer into a buffer of print lines (PageLine records, with the
// printer x of each line) and prints page by page: a header, the title in capitals, a page label,
// the lines, a footer. Stored highlights print underlined; pictures are scaled to the page.
//
// The buffer holds bufferLines lines. A paragraph longer than the buffer does not lose text: as
// soon as the buffer is full, the full pages in it are printed and the paragraph goes on in the
// space they leave. "DGP", "LPL" and "MP" of the product section limit pictures and pages
// (CPrintPageLimit).
#pragma once

#include "article/PageLine.h"
#include "article/PrintPageLimit.h"

#include <afxwin.h>

#include <memory>

class CArticleDocument;
class CArticlePageLayout;
class CArticlePageWin;
class CArticleSection;
class CParagraphRun;

// The print scopes (lParam of VLM_PRINT_ARTICLE).
enum : int {
    ARTICLE_PRINT_ALL = 0x200,
    ARTICLE_PRINT_SECTION = 0x100,
    ARTICLE_PRINT_PAGE = 0x80,
    ARTICLE_PRINT_SELECTION = 0x40,
};

class CArticlePrinter {
public:
    enum { bufferLines = 300, fontSlots = 13, maxPictures = 99 };

    explicit CArticlePrinter(CArticlePageWin& page);
    virtual ~CArticlePrinter();
    CArticlePrinter(const CArticlePrinter&) = delete;
    CArticlePrinter& operator=(const CArticlePrinter&) = delete;

    // The whole job; the pages printed (0 when the dialog was cancelled or nothing printed).
    int PrintArticle(int nScope);

    // The 13 print fonts and the title font, made against the printer.
    void CreatePrintFonts(CDC* pDC);
    // The print font of a 16-bit style-table entry, underlined or not.
    CFont* GetPrintFont(WORD wStyleEntry, BOOL bUnderline);
    // The slot GetPrintFont takes.
    static int PrintFontSlot(WORD wStyleEntry, BOOL bUnderline);

    // Lays one paragraph out into the buffer after the lines already there; the lines written.
    int LayoutPrintParagraph(CArticleSection* pSection, CParagraphRun* pRun, int nSection, int nParagraph);
    // Draws buffer line nLine as one text line with its bottom at y.
    void PrintPageLines(CDC* pDC, int nLine, int y, CArticleSection* pSection);
    // Prints one whole page: buffer lines [nFirst, nEnd) under the header, title and label.
    void PrintPageDecorations(int nFirst, int nEnd, const CString& strTitle, const CString& strLabel);

    // The job's geometry (valid during a job; tests read it after one).
    int GetLineHeight() const { return m_nLineHeight; }
    int GetLinesPerPage() const { return m_nLinesPerPage; }
    const PageLine& GetBufferLine(int i) const { return m_aLines[i]; }

protected:
    // The printer DC the reader chose (NULL: cancelled).
    virtual HDC AskPrinter();

private:
    BOOL RangeForScope(int nScope, int& nFirst, int& nLast);
    BOOL ShouldPrintRun(CParagraphRun* pRun, CArticleSection* pSection, int nSection);
    int LayoutPrintPicture(CParagraphRun* pRun, const PageLine& proto);
    BOOL FirstPicturePrints();
    // Prints the page cut at nCut from the buffer and carries the lines after it to the buffer's
    // start. FALSE when the job must end (one page asked for, or the page limit reached).
    BOOL PrintBufferedPage(int nCut);
    // Prints full pages while the buffer holds at least nAtLeast lines.
    BOOL FlushPages(int nAtLeast);
    PageLine* NewLine();
    CString PageLabel() const;
    int CentreX(const CString& strText);

    CArticlePageWin& m_page;
    CArticleDocument* m_pDocument = NULL;
    CDC* m_pDC = NULL;
    std::unique_ptr<CArticlePageLayout> m_pFonts;  // slots 0-10, and the fitting routine
    CFont m_boldUnderline;
    CFont m_italicUnderline;
    CFont m_titleFont;

    PageLine* m_aLines = NULL;
    int m_nBuffered = 0;
    int m_nPage = 1;
    int m_nPagesPrinted = 0;
    int m_nForcedBreak = 0;
    int m_nScope = ARTICLE_PRINT_ALL;
    BOOL m_bEnded = FALSE;
    BOOL m_bNoPictures = FALSE;
    int m_nPictureCounter = 0;
    CPrintPageLimit m_limit;

    int m_nPageWidth = 0;
    int m_nPageHeight = 0;
    int m_nLeft = 0;
    int m_nTextWidth = 0;
    int m_nLineHeight = 1;
    int m_nLinesPerPage = 1;
    int m_nScreenLineHeight = 17;
    CString m_strTitle;
};
