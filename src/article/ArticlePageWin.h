// CArticlePageWin: the scrolling child window of the article view that shows the text sections of
// the open article as one long page. It owns the page layout (ArticlePageLayout.h: the table of
// page lines) and does everything else on that table:
// - painting: the visible lines go into one memory bitmap per paint, each text line drawn by up
//   to five passes over its style runs (search hits, links, stored highlights, the range being
//   marked, the selection), later passes over earlier ones; pictures and icon lines have their
//   own drawing; paint also collects the link rectangles that the mouse tests;
// - scrolling by whole lines, the jumps the article view asks for (GoToItem), select all, and
//   relayout around an anchor when the width or the text size changes;
// - the mouse and the keys: links and their hover feedback in the status line, clicks on icon
//   lines and on the first picture, the word-snapped selection and its drop on the dictionary or
//   the search pane, the selected text as plain text, keyboard scrolling and commands.
//
// The article view creates it ("Article Text", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
// WS_VSCROLL) and hands it the document it shows (ShowDocument; the view owns the document). The
// page posts the view VLM_PANE_SECTION while it scrolls, VLM_PANE_TABLE for a table icon click and
// VLM_PAGE_FOCUS when its focus changes; the top-level window gets VLM_OPEN_WINDOW for an article
// link, VLM_SHOW_LINKED_SELECTION for a "tf:" link, and the main window VLM_STATUS_TEXT.
//
// What the page's items open (sounds, timelines, thumbnails, the first picture) and find next live
// in ArticlePageItems.cpp, the highlighter in ArticlePageHighlighter.cpp, the sticky-note icons
// in ArticlePageStickyNotes.cpp.
#pragma once

#include "article/ArticlePageLayout.h"
#include "article/PageLine.h"
#include "article/PageTextRange.h"
#include "widgets/VLScrollWnd.h"

#include <afxwin.h>

#include <memory>

class CArticleDocument;
class CArticleSection;
class CHiliteRecordSet;
class CHiliteSpanList;
class CMiniArtThumb;
class CReference;
class CStickyNoteWnd;
class CStickyPosition;
class CDibButton;
class CQTAudioWin;

// Colours of the page (palette-relative).
#define PAGE_COLOR_BACKGROUND PALETTERGB(255, 255, 231)
#define PAGE_COLOR_TEXT PALETTERGB(0, 0, 0)
#define PAGE_COLOR_HIT PALETTERGB(255, 0, 0)
#define PAGE_COLOR_LINK PALETTERGB(0, 0, 255)
#define PAGE_COLOR_HIGHLIGHT PALETTERGB(255, 255, 0)
#define PAGE_COLOR_SELECTION PALETTERGB(218, 200, 230)
#define PAGE_COLOR_PICTURE_WHITE PALETTERGB(255, 255, 255)

// Selected text handed to the dictionary or the search pane is cut to this many characters.
#define PAGE_SELECTED_TEXT_MAX 40

// Cursor resources of the page: over a link to an article or a picture or icon, over a "tf:" link.
#define IDC_PAGE_LINK 262
#define IDC_PAGE_TIMEFRAME_LINK 257

// One link position of the article: a stretch of a section's text and what it opens.
struct PageLink {
    DWORD dwSection;
    DWORD dwOffset;   // section-relative
    DWORD dwLength;   // characters
    WORD wTarget;     // index into the document's link-target strings
    WORD wFlag;       // 0 an article link, 1 a "tf:" link
    DWORD dwNumber;   // an article link's RIN
};

// GoToItem modes.
enum {
    PAGE_GOTO_SECTION = 0,
    PAGE_GOTO_THUMBNAIL = 1,
    PAGE_GOTO_TABLE = 3,
    PAGE_GOTO_MEDIA = 4,
    PAGE_GOTO_LIST_ITEM = 5,
};

class CArticlePageWin : public CVLScrollWnd {
    DECLARE_DYNAMIC(CArticlePageWin)
public:
    enum {
        maxLinks = 1000,
        maxHotSpots = 100,
        iconLabelHeight = 17,
        iconWidth = 26,
    };

    CArticlePageWin();
    ~CArticlePageWin() override;

    // Creates the window as a child of the article view (dwStyle 0: WS_CHILD | WS_CLIPSIBLINGS |
    // WS_CLIPCHILDREN | WS_VSCROLL), class with double clicks.
    BOOL Create(LPCSTR lpszName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- the article ----
    // The document shown (borrowed from the article view; NULL: none). ShowDocument resets the
    // page for it and repaints; the first paint lays it out.
    void ShowDocument(CArticleDocument* pDocument);
    void SetDocument(CArticleDocument* pDocument) { m_pDocument = pDocument; }
    CArticleDocument* GetDocument() const { return m_pDocument; }

    // ---- layout ----
    // Size class 0, 1, 2: the fonts again. The view then restarts layout and repaints.
    int SetTextSize(int nSizeClass);
    // Lays out sections: nTarget a section count, -1 the first page, -2 one more (idle). With
    // bLayout FALSE nothing new is laid out: the scroll range is set again and, with
    // bRestoreAnchor, the page scrolls back to the anchor.
    void LayoutSections(BOOL bLayout, BOOL bRestoreAnchor, int nTarget);
    // The idle operation with the application's running count: TRUE while layout wants more.
    BOOL OnIdle(LONG lCount);
    // Everything emptied for a new article.
    void ResetPage();
    // The line table emptied; the next paint lays out again around the current top line.
    void RestartLayout(BOOL bScrollToHit);
    // Drops the stored highlights of the article made for another issue of it.
    void CheckHighlightDates();

    // ---- scrolling and navigation ----
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    // The mouse wheel (under the pointer, or passed up by a thumbnail): three lines a notch.
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);
    // Jumps to a section, a thumbnail, a table, media or list icon (PAGE_GOTO_...).
    void GoToItem(int nMode, int nValue);
    // Selects the whole article; a second call clears the selection.
    void SelectAll();

    // ---- interaction ----
    BOOL BuildLinkTable();
    int HitTestLink(int x, int y) const;
    BOOL HitTestIconLine(int x, int y);
    int GetIconLabelWidth(int nLine);
    BOOL IsPointInSelection(int x, int y);
    BOOL IsInSelection(int nSection, int nOffset, int nLength) const;
    int GetSelectionFirstSection() const { return m_selection.GetFirstSection(); }
    int GetSelectionLastSection() const { return m_selection.GetLastSection(); }
    int GetSelectionStartOffset() const { return m_selection.GetStartOffset(); }
    int GetSelectionEndOffset() const { return m_selection.GetEndOffset(); }
    void SelectWordAt(int x, int y);
    void ExtendSelectionTo(int x, int y);
    void ClearSelection();
    BOOL HasSelection() const { return m_bSelection || m_bSelectAll; }
    // The selected text (runs joined with blank lines), cut to nLimit characters (-1: whole);
    // a new string owned by the caller, NULL without a selection.
    CString* GetSelectedText(int nLimit);
    void TakeFocus();
    // The first article link of the section that meets the characters; FALSE for none or a
    // "tf:" link. Out values 0 when FALSE.
    BOOL FindArticleLinkAt(int nSection, int nOffset, int nLength, int& nOutOffset, int& nOutLength) const;
    COLORREF GetBkColor() override { return PAGE_COLOR_BACKGROUND; }

    // ---- painting ----
    // Each pass draws (x -1) or hit-tests x; the result is the section-relative offset of the
    // character under x (0 when drawing). pSection: the line's section, or NULL to make one.
    int DrawLineHits(CDC* pDC, int nLine, int x, CArticleSection* pSection);
    int DrawLineLinks(CDC* pDC, int nLine, int x, CArticleSection* pSection);
    int DrawLineHighlights(CDC* pDC, int nLine, int x, CArticleSection* pSection);
    int DrawLineMarks(CDC* pDC, int nLine, int x, CArticleSection* pSection);
    int DrawLineSelection(CDC* pDC, int nLine, int x, CArticleSection* pSection);
    // Draws an icon line; the width of its title.
    int DrawIconParagraph(CDC* pDC, int nLine);

    // ---- page items (sounds, timelines, thumbnails, find); ArticlePageItems.cpp ----
    // Closes the in-page pop-up (the sound and its caption).
    virtual void ClosePopup();
    // Opens a reference a thumbnail or the first picture stands for (taken over): a map in the
    // atlas, an article in the article view, other media in the media view with the article's
    // media as its list.
    virtual void OnShowReference(CReference* pReference);
    // The sound that a media icon line started has ended (MM_MCINOTIFY reached the page).
    virtual void OnSoundDone();
    // Plays the sound of a media icon line (its RIN; the line's distance from the top line, -1
    // to find it) with its caption in the pop-up.
    virtual void PlaySoundLine(DWORD dwRin, int nLineOffset);
    // Opens the timeline of a list icon's item number.
    virtual void OpenTimeline(int nItem);
    // A media icon line clicked: a sound plays in place with its caption, a timeline opens in
    // the timeline viewer, every other item opens in the view of its kind.
    virtual void OpenMediaLine(int nItem, int nLineOffset);
    // Asks the main window for the timeline viewer on a timeline (its number within the kind,
    // or its content number).
    void OpenTimelineNumber(DWORD dwNumber);
    // Moves the page to the next search hit, round to the first after the last.
    virtual void FindNext();
    // The sound window while a sound plays (NULL: none).
    CQTAudioWin* GetSoundWindow() const { return m_pSoundWin; }

    // ---- highlighter; ArticlePageHighlighter.cpp ----
    BOOL IsHighlighterOn() const { return m_bHighlighter; }
    // Turns the highlighter mode on or off (on: a selection becomes a mark at once).
    virtual void ToggleHighlighter();
    // The earliest stored span of the section that meets the characters (its first character
    // and its length; the span covers start .. start + length). bRemove: the spans that meet
    // are removed from the store.
    virtual BOOL FindStoredHighlight(int nSection, int nOffset, int nLength, int& nOutStart, int& nOutLength,
                                     BOOL bRemove);
    // The drawn range becomes stored spans (one per section), replacing the marks inside it.
    void AddHighlight();
    // The drawn range is rubbed out of the stored spans: spans reaching out of it keep their
    // heads and tails.
    void EraseHighlight();
    // The selection becomes a stored mark and is cleared.
    void HighlightSelection();
    // Every mark of the article, or of every article, goes.
    void ClearArticleHighlights();
    void ClearAllHighlights();
    // Removes the stored spans of the section that lie wholly within offset .. offset + length.
    void RemoveHighlightsWithin(int nSection, int nOffset, int nLength);
    // Whether the article shown has stored marks.
    BOOL HasHighlights();
    // The range being marked (valid while IsMarking), in the selection's terms.
    BOOL IsMarking() const { return m_bMarking; }
    BOOL IsEraseMode() const { return m_bEraseMode; }
    const PageTextRange& GetMarkRange() const { return m_mark; }
    int GetHighlightFirstSection() const { return m_mark.GetFirstSection(); }
    int GetHighlightLastSection() const { return m_mark.GetLastSection(); }
    int GetHighlightStartOffset() const { return m_mark.GetStartOffset(); }
    int GetHighlightEndOffset() const { return m_mark.GetEndOffset(); }
    BOOL IsInHighlightRange(int nSection, int nOffset, int nLength) const;

    // ---- sticky-note icons; ArticlePageStickyNotes.cpp ----
    // A new note in the first paragraph gap from the top line (at most 11 a gap).
    void AddStickyNote();
    // Moves the icons to their gaps.
    void PlaceStickyNoteIcons();
    void DeleteStickyNoteIcons();
    // The note whose icon holds the point (its button comes to the top), -1 for none.
    int HitTestStickyNote(int x, int y);
    // A dragged note follows the mouse (scrolling a line above or below the page).
    void DragStickyNote(int x, int y);
    // The blank line of the paragraph gap nearest the point.
    int NearestParagraphGap(int x, int y);
    // Numbers the notes of one gap from the left (0, 1, 2 ...) and tells the note window; the count.
    WORD RenumberStickyNotes(int nSection, int nParagraph);
    int GetStickyNoteCount() const { return m_nNoteCount; }
    const CStickyPosition& GetStickyNotePosition(int i) const { return *m_apNotePositions[i]; }
    CDibButton* GetStickyNoteButton(int i) const { return m_apNoteButtons[i]; }
    int GetDraggedNote() const { return m_nDraggedNote; }

    // ---- the model, for the view, printing and tests ----
    CArticlePageLayout& GetLayout() { return *m_pLayout; }
    int GetLineCount() const { return m_pLayout->GetLineCount(); }
    int GetLineHeight() const { return m_pLayout->GetLineHeight(); }
    int GetTopLine() const { return m_pLayout->GetTopLine(); }
    const PageLine& GetLine(int i) const { return m_pLayout->GetLine(i); }
    int GetScrollPosition() const { return m_nScrollPos; }
    int GetPageLines();
    const PageTextRange& GetSelection() const { return m_selection; }
    BOOL IsSelectAll() const { return m_bSelectAll; }
    int GetLinkCount() const { return m_nLinkCount; }
    const PageLink& GetLink(int i) const { return m_aLinks[i]; }
    int GetHotSpotCount() const { return m_nHotSpots; }
    const RECT& GetHotSpotRect(int i) const { return m_aHotRects[i]; }
    int GetHotSpotLink(int i) const { return m_aHotLinks[i]; }
    const RECT& GetFirstPictureRect() const { return m_rcFirstPicture; }
    BOOL IsClickLocked() const { return m_bClickLock; }
    BOOL IsPopupShown() const { return m_pLayout->m_bPopupShown; }
    CMiniArtThumb* GetMiniArticlePopup() const { return m_pMiniArt; }
    CStickyNoteWnd* GetStickyNoteWnd() const { return m_pStickyWnd; }
    CHiliteRecordSet* GetHighlightStore() const { return m_pHiliteStore; }
    // The section index current for the outline: the line a quarter page below the top line.
    int GetCurrentSection();

    // Program-wide: the page put a link title into the status line; the last width a page was
    // sized to. Back to their start values (tests, a new run).
    static BOOL IsStatusTextShown();
    static void ResetSharedState();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg LRESULT OnThumbPress(WPARAM wParam, LPARAM lParam);
    // 0x43C (0, CReference* copy): a thumbnail was released; the copy is freed.
    afx_msg LRESULT OnThumbRelease(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMciNotify(WPARAM wParam, LPARAM lParam);
    // VLM_PRINT_ARTICLE: prints the scope in lParam (CArticlePrinter).
    afx_msg LRESULT OnPrintArticle(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Makes font nSlot of the page (tests measure with other faces).
    virtual void CreateSlotFont(CFont& font, int nSlot, int nTenths, CDC* pDC);
    // The thumbnail window for a media entry of the document, created hidden under the page at
    // its default size; NULL when none can be made.
    virtual CWnd* CreateThumbnailWindow(CArticleDocument* pDocument, int nMediaIndex);
    // The title shown in the status line for an article link's RIN.
    virtual CString GetLinkTitle(DWORD dwRin);
    // The span list of the shown article in the highlight store (NULL: none).
    CHiliteSpanList* GetSpanList();
    // The cursor resource nId of the program, else of the resource library, else the system's hand.
    static HCURSOR LoadPageCursor(UINT nId);

    // The highlighter's part of the mouse handlers: a drag in highlighter mode begins, extends
    // and ends a drawn range; at button-up it is stored (or erased, in erase mode).
    void BeginHighlight(int x, int y);
    void ExtendHighlightTo(int x, int y);
    void EndHighlight();
    // A dragged note dropped at the point: on its own gap it opens, elsewhere it moves to the
    // nearest gap.
    void DropStickyNote(int x, int y);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    // A sound plays: its caption goes into the mini-article pop-up, over the icon line's place
    // (its distance from the top line), and the pop-up is shown.
    void ShowSoundCaption(DWORD dwRin, int nLineOffset);
    // 0x985 from the note window: (count, a new block of count 8-byte positions or 0).
    afx_msg LRESULT OnSetStickyNotes(WPARAM wParam, LPARAM lParam);
    // 0x987 (0, RIN): a note of that article changed; the icons are asked for again.
    afx_msg LRESULT OnStickyNotesChanged(WPARAM wParam, LPARAM lParam);

    // Highlighter state.
    BOOL m_bHighlighter = FALSE;
    BOOL m_bEraseMode = FALSE;
    BOOL m_bMarking = FALSE;
    BOOL m_bMarksPresent = FALSE;
    PageTextRange m_mark;
    // Sticky-note icons: their positions and buttons (count entries each), the dragged one.
    int m_nNoteCount = 0;
    CStickyPosition** m_apNotePositions = NULL;
    CDibButton** m_apNoteButtons = NULL;
    int m_nDraggedNote = -1;

private:
    class CPageLayout;
    friend class CPageLayout;

    enum PassKind { passHits, passLinks, passHighlights, passMarks, passSelection };
    int DrawLinePass(PassKind ePass, CDC* pDC, int nLine, int x, CArticleSection* pSection);
    // The range of a pass that the characters meet: its first character and its end (exclusive).
    BOOL FindPassRange(PassKind ePass, int nSection, int nOffset, int nLength, int& nStart, int& nEnd) const;
    void PaintPage(CDC* pDC, const CRect& rcClient);
    void CollectLinkRects(CDC* pDC, int nLine, int y, CArticleSection* pSection);
    void DrawPictureLine(CDC* pDC, int nLine, int y, const CRect& rcClient);
    void PlaceChildren();
    // The point's line (top line + y / line height), not clamped.
    int PointToLine(int y) const;
    int ClampLine(int nLine) const;
    // The character under x on the line (section-relative).
    int CharacterAt(int nLine, int x);
    // Word start and end around an offset, the start kept at or after nFloor (the line's first
    // character: paragraphs follow each other in a section's text with nothing between them, so
    // a word must not reach back into the paragraph or heading above), the end before nLimit.
    static void FindWord(LPCSTR pText, int nOffset, int nLimit, int& nStart, int& nEnd, int nFloor = 0);
    void ScrollTo(UINT nSBCode, int nPosition);
    void SetScrollRangeForPage();
    void PostToParent(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void PostStatusText(CString* pText);
    void EmptyLinkTable();
    void EmptyHotSpots();
    void LayoutForJump(int nSections);
    int FindItemLine(int nMode, int nValue);
    // Moves a range's moving end to the point, word-snapped (bThroughSpace: its word end goes on
    // over the white space after the word), scrolling a line above or below the page.
    void ExtendRangeTo(PageTextRange& range, int x, int y, BOOL bThroughSpace);
    // A drag point above or below the client area scrolls the page one line and becomes the
    // nearer corner of the client area.
    void ScrollForDragPoint(int& x, int& y);
    // The drawn range can be stored or erased: highlighter on, both ends, an article and a store.
    BOOL CanStoreMark() const;
    // The drawn range's characters in one of its sections: first and last (inclusive; a section
    // before the last runs to its text length).
    void GetMarkSectionRange(int nSection, int& nFrom, int& nTo) const;
    void EndMark();
    // Every stored mark of the article shown goes; repainted at once.
    void DropArticleHighlights();

    std::unique_ptr<CArticlePageLayout> m_pLayout;  // a CPageLayout
    CArticleDocument* m_pDocument = NULL;
    int m_nScreenClass = 0;
    int m_nScrollPos = 0;
    int m_nWheelRest = 0;  // wheel delta short of a whole notch
    int m_nApplied = 0;   // the scroll offset already applied to the page rectangle
    BOOL m_bKeepPopups = FALSE;
    BOOL m_bAutoOpenFirstMedia = TRUE;
    int m_nPendingLine = -1;
    BOOL m_bStartingFirstMedia = FALSE;  // the first paint starts the article's first sound
    CQTAudioWin* m_pSoundWin = NULL;

    PageLink m_aLinks[maxLinks] = {};
    int m_nLinkCount = 0;
    RECT m_aHotRects[maxHotSpots] = {};
    int m_aHotLinks[maxHotSpots] = {};
    int m_nHotSpots = 0;
    RECT m_rcFirstPicture = {0, 0, 0, 0};

    PageTextRange m_selection;
    BOOL m_bSelecting = FALSE;
    BOOL m_bSelection = FALSE;
    BOOL m_bSelectAll = FALSE;
    BOOL m_bMoved = FALSE;
    BOOL m_bTextDrag = FALSE;
    BOOL m_bClickLock = TRUE;

    CStickyNoteWnd* m_pStickyWnd = NULL;
    CHiliteRecordSet* m_pHiliteStore = NULL;
    CMiniArtThumb* m_pMiniArt = NULL;
};

// A caption's bytes in the mini-article mark-up (paragraph breaks, italic, bold), closed with "<P>".
CString CaptionToMiniArticleText(LPCSTR lpszCaption);
