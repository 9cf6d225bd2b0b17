// CMiniArtThumb: the scrolling box that shows a short marked-up text (mini articles, captions
// under detail pictures, media instruction pages and captions, the About window's pages). It lays
// its text out with the mini-article mark-up (MiniArtLayout.h) in the four shared text-thumbnail
// fonts, scrolls line by line, lets the reader select words with the mouse, and hands a
// selection to the dictionary or the search pane when it is dropped on a text drop target
// (TextDropTarget.h) or double-clicked.
//
// Owners make it with new, set its background colour, create it and give it text with SetText.
#pragma once

#include "widgets/MiniArtLayout.h"
#include "widgets/TextThumb.h"

#include <afxwin.h>

class CReference;

// A selection handed to a pane is cut to this many characters.
#define MINIART_SELECTED_WORD_MAX 40

class CMiniArtThumb : public CTextThumb {
    DECLARE_DYNAMIC(CMiniArtThumb)
public:
    // bNoSelection: the mouse selects nothing (every button and move is ignored).
    explicit CMiniArtThumb(BOOL bNoSelection = FALSE);
    // A text, parsed when the window is created.
    explicit CMiniArtThumb(LPCSTR lpszText);
    // A reference's link text (none for a null reference).
    explicit CMiniArtThumb(const CReference* pReference);
    ~CMiniArtThumb() override;

    // Creates the box (dwStyle 0: WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL) with no
    // caption and no id, at the rectangle as given.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd);
    using CThumbnail::Create;

    // The size of the window.
    int GetThumbWidth() override;
    int GetThumbHeight() override;

    // Replaces the text (NULL: none) and lays it out: to the given rectangle's size when one is
    // given with a positive right edge and a bottom below the line height (shrinking allowed);
    // else to the client size, shrinking when bAllowShrink. The top of the text's last line, or
    // 0; -2 when the text could not be taken (the box keeps what it had).
    int SetText(LPCSTR lpszText, BOOL bAllowShrink = FALSE, const RECT* pRect = NULL);
    const CString& GetText() const { return m_strText; }

    void SetBkColor(COLORREF crBack) { m_crBack = crBack; }
    COLORREF GetBkColor() override { return m_crBack; }
    void SetTextColor(COLORREF crText) { m_crText = crText; }
    COLORREF GetTextColor() const { return m_crText; }
    // A frame of that width inside the border; the frame is recomputed at once.
    void SetFrameWidth(int nWidth);
    int GetFrameWidth() const { return m_nFrameWidth; }

    // Wraps the runs to the client width (or, on a printer, to its page width); dc may be NULL.
    // With bAllowShrink a box whose text needs fewer lines than it has room for is made that
    // high. Sets the scroll bar. Returns the top of the last line.
    int LayoutRuns(int nWidth, int nHeight, BOOL bAllowShrink, CDC* pDC);
    // Paints the visible lines into a device context (the background first).
    void DrawRuns(CDC* pDC);

    // The two texts a copy takes, the first preferred: the words of a selection of more than one
    // run joined as they stand, and the word pressed or the selection cut to 40 characters.
    const CString& GetSelectionText() const { return m_strSelection; }
    const CString& GetSelectedWord() const { return m_strSelectedWord; }
    // The text a copy puts on the clipboard: the selection text, else the selected word.
    CString GetCopyText() const { return m_strSelection.IsEmpty() ? m_strSelectedWord : m_strSelection; }
    // Marks the runs nFrom to nTo as the selection (as a drag over them would) and sets both
    // texts; a negative nFrom clears the selection.
    void SelectRuns(int nFrom, int nTo);
    void ClearSelection();
    BOOL IsRunSelected(int nRun) const;
    int GetSelectionStart() const { return m_nSelStart; }
    int GetSelectionEnd() const { return m_nSelEnd; }

    const CMiniArtLayout& GetLayout() const { return m_layout; }
    int GetTopLine() const { return m_nTopLine; }
    int GetLastVisibleLine() const { return m_nLastVisible; }
    int GetLineCount() const { return m_layout.GetLineCount(); }
    int GetLineHeight() const { return m_layout.GetLineHeight(); }
    BOOL IsDragging() const { return m_bDragging; }
    BOOL IsNoSelection() const { return m_bNoSelection; }

    // A selection cut to 40 characters: back to its last blank, full stop, semicolon, colon,
    // exclamation or question mark or line feed within them (kept), all 40 when there is none.
    static CString CutSelectedWord(const CString& strText);
    // A run's word without its trailing break character.
    static CString WordWithoutBreak(const CString& strWord);

protected:
    // The run under a client point (its line into *pnLine), or -1.
    int RunAtPoint(CPoint point, int* pnLine = NULL) const;
    // Marks nFrom..nTo (either order) with a new selection id.
    void MarkRuns(int nFrom, int nTo);
    void Redraw();
    void ScrollLines(int nLines);
    BOOL CanScroll() const;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

private:
    void Init(BOOL bNoSelection);
    // Parses m_strText into the layout; FALSE (with the out-of-memory message) when it fails.
    BOOL ParseText(const CString& strText);

    CMiniArtLayout m_layout;
    CString m_strText;

    BOOL m_bNoSelection = FALSE;
    BOOL m_bSelecting = FALSE;
    BOOL m_bDragging = FALSE;
    BOOL m_bDoubleClicked = FALSE;
    BOOL m_bInLayout = FALSE;
    int m_nSelStart = -1;
    int m_nSelEnd = 0;
    DWORD m_dwSelectionId = 1;
    int m_nAnchorLine = 0;
    int m_nCurrentLine = 0;
    CPoint m_ptLast{0, 0};
    // The cell of the run under the pointer, the one before it, and the cell where the
    // selection began.
    CRect m_rectHit{0, 0, 0, 0};
    CRect m_rectPrevHit{0, 0, 0, 0};
    CRect m_rectStartCell{0, 0, 0, 0};
    int m_nFrameWidth = 0;
    CString m_strSelection;
    CString m_strSelectedWord;

    int m_nTopLine = 0;
    int m_nLastVisible = 0;
    int m_nLaidWidth = 0;
    int m_nLaidHeight = 0;
    COLORREF m_crText = PALETTERGB(0, 0, 0);
    COLORREF m_crBack = PALETTERGB(255, 255, 231);
};
