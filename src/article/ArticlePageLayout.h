// CArticlePageLayout: the article page's data model and its layout. The page never keeps
// formatted text: it turns the document's sections, paragraphs and runs into a flat table of
// PageLine records, each naming a stretch of section text, its indent and its kind; painting,
// scrolling, hit testing, selection, find and printing all work on that table.
//
// Layout is lazy: the first paint lays out the first sections, idle time adds one section per
// ten idle calls, and a new width or text size throws the table away (RestartLayout) and lays out
// again around an anchor. The page window owns one of these and supplies the device context, its
// client rectangle and the scrolling; everything measured goes through the context's text calls.
//
// Fonts (P = 100, 110, 130 tenths of a point for size classes 0, 1, 2):
//   0 "Arial" P (body, plain runs, codes 1 and 10-15)   1 "Arial Bold" P (code 0)
//   2 "Arial Italic" P (codes 2, 3)   3 "Courier New" P (fixed paragraphs)
//   4, 5 "Arial" P-20 (codes 4, 5)   6 "Symbol" P (code 6)   7 "VeltraMath" P (code 7)
//   8, 9 "Arial Italic" P-20 (codes 8, 9)   10 slot 0 underlined (link text)
#pragma once

#include "article/PageLine.h"

#include <afxwin.h>

class CArticleDocument;
class CArticleSection;
class CParagraphRun;

// How many of the nLeft characters of article text go on a line of which nFit fit: up to the
// last space or hyphen that fits (a word longer than the line runs on to its next break), with
// the breaks that follow it.
int LineBreakLength(const char* pText, int nFit, int nLeft);

class CArticlePageLayout {
public:
    enum {
        maxLines = 7000,
        maxPictures = 100,   // offsets in the picture table (plus the end offset)
        maxThumbnails = 200,
        fontCount = 11,
        itemValueCount = 20,  // values of item-icon paragraphs, by item number
        minLineHeight = 17,
        minTextWidth = 300,
        firstPageSections = 7,
        idlePeriod = 10,
    };
    // LayoutSections targets besides a section count.
    enum { targetFirstPage = -1, targetNextSection = -2 };

    CArticlePageLayout();
    virtual ~CArticlePageLayout();
    CArticlePageLayout(const CArticlePageLayout&) = delete;
    CArticlePageLayout& operator=(const CArticlePageLayout&) = delete;

    // The fonts for a size class (0, 1, 2), made against pDC (NULL: the screen); old ones are
    // deleted. Layout needs them made once.
    void SetTextSize(int nSizeClass, CDC* pDC = NULL);
    static int BaseSizeForClass(int nSizeClass);
    int GetBaseSize() const { return m_nBaseSize; }
    CFont* GetFont(int nSlot) { return nSlot >= 0 && nSlot < fontCount ? &m_aFonts[nSlot] : NULL; }
    // The font of a style-table entry.
    CFont* GetStyleFont(const BYTE* pStyleEntry);
    static int StyleFontSlot(WORD wStyleEntry);
    // The characters a style-table entry covers.
    static int StyleRunLength(WORD wStyleEntry) { return (wStyleEntry & 1) ? wStyleEntry >> 5 : wStyleEntry >> 1; }

    // Empties everything for a new article (thumbnail windows are destroyed).
    void ResetPage();
    // Empties the line table but keeps the article, its picture scan and its thumbnail windows;
    // the anchor becomes the section and start of the current top line.
    void RestartLayout(BOOL bScrollToHit);

    // Lays out sections up to the target (a section count, targetFirstPage for seven,
    // targetNextSection for one more). rcClient is the window's client rectangle: the text
    // width is its right edge less 12, at least 300.
    void LayoutSections(CDC* pDC, CArticleDocument* pDocument, const RECT& rcClient, int nTarget);
    // Appends the lines of one paragraph from nFirstLine on; the lines written.
    int LayoutParagraph(CDC* pDC, CArticleDocument* pDocument, CArticleSection* pSection, CParagraphRun* pRun,
                        int nSection, int nParagraph, int nFirstLine, int nWidth);
    // How many characters from pText fit in nWidth pixels, measured style run by style run
    // (pStyles: the section's style table, nStyleIndex the run holding the first character,
    // nStyleBefore that run's characters before it); their width goes to nOutWidth.
    int FitText(int nWidth, int& nOutWidth, DWORD dwOffset, LPCSTR pText, int nAvailable, const BYTE* pStyles,
                int nStyleCount, int nStyleIndex, int nStyleBefore, CDC* pDC);

    // The idle step with the application's running idle count: one more section when count % 10
    // is 5; TRUE while sections remain. pDC and rcClient as for LayoutSections.
    BOOL OnIdle(LONG lCount, CDC* pDC, CArticleDocument* pDocument, const RECT& rcClient);
    BOOL IsComplete(CArticleDocument* pDocument) const;

    // The line a scroll should bring to the top after a pass of LayoutSections, or -1 for no
    // scroll: the first hit a quarter page down (bScrollToHit on), else the anchor
    // (bRestoreAnchor), clamped to the page; nPageLines whole lines fit the window.
    int ChooseTopLine(BOOL bRestoreAnchor, int nPageLines) const;

    // Moves each thumbnail window beside the first line that stands for it: y = nPageTop +
    // (line - nTopLine) x line height; at the left edge, or for right-hand ones at the right of
    // a client area at least 300 wide; shown only while some of it is inside the client area.
    void PlaceThumbnailWindows(int nTopLine, int nPageTop, const RECT& rcClient);
    // Destroys the windows of the slots in use and empties the slots.
    void DeleteThumbnailWindows();

    // The model.
    int GetLineCount() const { return m_nLineCount; }
    const PageLine& GetLine(int i) const { return m_aLines[i]; }
    PageLine* GetLines() { return m_aLines; }
    int GetLineHeight() const { return m_nLineHeight; }
    int GetSectionsLaidOut() const { return m_nSectionsLaidOut; }
    // The first line the page shows (the window keeps it as it scrolls; RestartLayout anchors
    // on it) and the line of the first search hit, written during layout.
    int GetTopLine() const { return m_nTopLine; }
    int GetFirstHitLine() const { return m_nFirstHitLine; }
    void SetTopLine(int nLine) { m_nTopLine = nLine; }
    const RECT& GetPageRect() const { return m_rcPage; }
    int GetTextWidth() const { return m_nTextWidth; }
    int GetPictureCount() const { return m_nPictureCount; }
    DWORD GetPictureOffset(int i) const { return m_adwPictures[i]; }
    int GetThumbnailSlotCount() const { return m_nThumbnailSlots; }
    CWnd* GetThumbnail(int nSlot) const { return m_apThumbnails[nSlot]; }
    DWORD GetFirstPictureLink() const { return m_dwFirstPictureLink; }
    DWORD GetItemValue(int nItem) const { return nItem >= 0 && nItem < itemValueCount ? m_adwItemValues[nItem] : 0; }
    int GetAnchorSection() const { return m_nAnchorSection; }
    DWORD GetAnchorStart() const { return m_dwAnchorStart; }
    void SetAnchor(int nSection, DWORD dwStart)
    {
        m_nAnchorSection = nSection;
        m_dwAnchorStart = dwStart;
    }
    BOOL GetScrollToFirstHit() const { return m_bScrollToFirstHit; }
    void SetScrollToFirstHit(BOOL bOn) { m_bScrollToFirstHit = bOn; }

    // Flags the window sets: the disc went missing (idle layout waits until the next paint
    // clears it), a pop-up is up (idle layout waits).
    BOOL m_bDiscMissing = FALSE;
    BOOL m_bPopupShown = FALSE;
    // Set when the first section is laid out (the window erases before its first paint).
    BOOL m_bEraseFirst = TRUE;

protected:
    // The thumbnail window for the document's media entry, created hidden at its default size
    // (140 x 105) with the page window as parent; NULL when none can be made (the paragraph then
    // takes no thumbnail lines). The page window supplies it from the thumbnail factory.
    virtual CWnd* CreateThumbnailWindow(CArticleDocument* pDocument, int nMediaIndex);
    // Called when layout of a new article begins (no section laid out yet): the window builds
    // its link ranges and shows the article's sticky notes.
    virtual void OnFirstSection(CArticleDocument* pDocument);
    // Makes font nSlot; the layout's fonts come from here (tests measure with other faces).
    virtual void CreateSlotFont(CFont& font, int nSlot, int nTenths, CDC* pDC);

private:
    // Empties the line table and the pass's counters (the article's pictures and windows stay).
    void ClearLayout(BOOL bScrollToHit);
    void ScanPictures(CArticleDocument* pDocument);
    void DestroyThumbnails();
    void ClearLines(int nFrom);
    int LayoutPicture(CDC* pDC, CArticleDocument* pDocument, CParagraphRun* pRun, PageLine& proto, int nFirstLine,
                      int nWidth);
    int LayoutThumbnails(CArticleDocument* pDocument, CParagraphRun* pRun, PageLine& proto, int nFirstLine);
    // Width of n characters from pText (section offset dwOffset), each style run in its font.
    int MeasureStyled(CDC* pDC, DWORD dwOffset, LPCSTR pText, int n, const BYTE* pStyles, int nStyleCount);
    // The hit index for a line starting at dwOffset of section nSection; sets the first-hit line.
    WORD FindHitIndex(CArticleDocument* pDocument, int nSection, DWORD dwOffset, int nLine);

    CFont m_aFonts[fontCount];
    int m_nBaseSize = 110;
    CFont* m_pSelectedFont = NULL;  // the slot FitText selected last
    int m_nLineHeight = minLineHeight;
    int m_nSectionsLaidOut = 0;
    int m_nAnchorSection = 0;
    DWORD m_dwAnchorStart = 0;
    RECT m_rcPage = {0, 0, 0, 0};
    int m_nTextWidth = minTextWidth;
    int m_nLineCount = 0;
    int m_nTopLine = 0;
    int m_nFirstHitLine = 0;
    BOOL m_bScrollToFirstHit = TRUE;
    DWORD m_adwPictures[maxPictures + 1] = {};
    int m_nPictureCount = 0;
    int m_nPictureIndex = 0;
    BOOL m_bPicturesScanned = FALSE;
    int m_nThumbnailCounter = 0;
    int m_nThumbnailSlots = 0;
    CWnd* m_apThumbnails[maxThumbnails] = {};
    DWORD m_dwFirstPictureLink = 0;
    DWORD m_adwItemValues[itemValueCount] = {};
    PageLine m_aLines[maxLines];
};
