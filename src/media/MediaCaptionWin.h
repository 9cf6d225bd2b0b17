// CMediaCaptionWin: the caption of the media item that the media viewer shows. A caption short
// enough for one line is drawn by the panel straight into the viewer under the media; a longer
// one is shown in the floating panel "CAPTION". Caption texts carry control bytes (0x0D paragraph
// break, 0x81 italic, 0x82 bold, 0x80 end of emphasis) that become the mini-article mark-up, with
// the words of the last search in red.
#pragma once

#include "widgets/GenericTabWin.h"

class CGrfDocument;
class CHitList;
class CMiniArtThumb;

class CMediaCaptionWin : public CGenericTabWin {
    DECLARE_DYNAMIC(CMediaCaptionWin)
public:
    // The panel's id in the viewer, and the viewer's command that toggles the caption.
    enum { panelId = 15006, toggleCaptionCommand = 15002 };
    // The fitted sizes, in tenths of a point. A one-line caption is never drawn smaller than
    // 8 points (smaller print cannot be read on the screen, and its word gaps vanish): a caption
    // that needs less goes into the panel.
    enum { largestSize = 100, smallestSize = 80, sizeStep = 3 };

    explicit CMediaCaptionWin(CGrfDocument* pDocument = NULL);
    ~CMediaCaptionWin() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetDocument(CGrfDocument* pDocument) { m_pDocument = pDocument; }
    void SetShown(BOOL bShown) { m_bShown = bShown; }
    void SetTextColor(COLORREF crText) { m_nTextColor = crText; }

    // The mark-up of a text: section code 221 the caption, 223 + n section n.
    CString BuildMarkup(int nSection) const;
    // The conversion itself: hits of other sections are passed over.
    static CString ConvertToMarkup(LPCSTR lpszText, CHitList* pHits, UINT nSection);
    // The text as one plain line (control bytes left out, paragraph breaks as blanks).
    static CString PlainLine(LPCSTR lpszText);

    // With a rectangle (viewer coordinates): fits the caption into it. 0 when the caption is not
    // shown; else the mark-up is made and 1.
    int Prepare(const RECT* pRect);
    // Draws a one-line caption into the viewer's DC (0), or shows the panel (1); -2 when the
    // caption is not to be shown.
    int Display(CDC* pViewerDC);

    BOOL IsOneLine() const { return m_bOneLine; }
    BOOL IsOverflow() const { return m_bOverflow; }
    int GetPointSize() const { return m_nPointSize; }
    const CRect& GetLineRect() const { return m_rcLine; }
    int GetLineOffset() const { return m_nLineOffset; }
    const CString& GetMarkup() const { return m_strMarkup; }

    COLORREF GetAccentColor() override { return 0x02442850; }

    // The panel's text window (the caption's mark-up with its emphasis); NULL before creation.
    CMiniArtThumb* GetTextWnd() const { return m_pTextWnd; }
    // Whether the reader selected text (or a word) in the panel, and its copy as CF_TEXT.
    BOOL HasSelection() const;
    BOOL CopySelection();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnClose();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnChildActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Gives the text window the mark-up (multi-line mode only).
    void FillTextWnd();
    // Tells the frame's current view whether the caption is up (-1: drawn on one line).
    void PostShown(BOOL bShown);
    // Measures the caption at a size (tenths of a point) in a DC.
    static CSize MeasureLine(CDC& dc, const CString& strLine, int nTenths);
    static BOOL CreateCaptionFont(CFont& font, CDC& dc, int nTenths);
    // The text window's place: the client area inset by 10.
    CRect TextRect() const;

    CMiniArtThumb* m_pTextWnd = NULL;  // owned

    CGrfDocument* m_pDocument = NULL;
    BOOL m_bShown = TRUE;
    BOOL m_bOneLine = FALSE;
    int m_nPointSize = 0;
    int m_nLineOffset = 0;
    CRect m_rcLine;
    COLORREF m_nTextColor = 0x02FFFFFF;
    BOOL m_bOverflow = FALSE;
    CString m_strMarkup;
};
