// CThumbnail: the base of every small preview window that stands for one content item in a
// browsing view (text, timeline, mini-article, picture and sound thumbnails). It registers and
// creates the child window, owns the thumbnail's own clone of the item's reference, shows the
// thumbnail's description in the status line while the pointer rests on it (and empties it when
// the pointer leaves), and hands a fresh clone of the reference to its parent on a press
// (VLM_THUMB_PRESS) and a release (VLM_THUMB_RELEASE); the receiver owns and deletes the clone.
// Drawing is left to the subclasses.
#pragma once

#include "widgets/VLScrollWnd.h"

#include <afxwin.h>

class CReference;

// The standard size of a thumbnail made with CreateAt.
#define THUMBNAIL_WIDTH 140
#define THUMBNAIL_HEIGHT 105
// The hover timer: id and period.
#define THUMBNAIL_HOVER_TIMER 1
#define THUMBNAIL_HOVER_PERIOD 50
// How long a release holds the interface thread after posting.
#define THUMBNAIL_RELEASE_PAUSE 1000
// Cursors: an item whose file is not on this machine, and every other one.
#define THUMBNAIL_CURSOR_MISSING 260
#define THUMBNAIL_CURSOR_ITEM 262

class CThumbnail : public CVLScrollWnd {
    DECLARE_DYNAMIC(CThumbnail)
public:
    CThumbnail();
    // Deletes the reference.
    ~CThumbnail() override;
    CThumbnail(const CThumbnail&) = delete;
    CThumbnail& operator=(const CThumbnail&) = delete;

    // A visible child (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS) of the class every thumbnail
    // shares, no text, child id 0. Zero when the window cannot be made.
    virtual BOOL Create(CWnd* pParent, const RECT& rect);
    // Create at (x, y) with the standard size, 140 by 105.
    virtual BOOL CreateAt(CWnd* pParent, int x, int y);
    virtual int GetThumbWidth() = 0;
    virtual int GetThumbHeight() = 0;
    // Invalidates that client rectangle, with erasing.
    virtual void InvalidateRect(int left, int top, int right, int bottom);
    using CWnd::InvalidateRect;

    // A new clone of the reference (the caller owns it), or NULL when the thumbnail has none.
    CReference* CloneReference() const;
    CReference* GetReference() const { return m_pReference; }
    const CString& GetDescription() const { return m_strDescription; }

    // The thumbnail that shows its description now, or NULL.
    static CThumbnail* GetHoveredThumbnail() { return s_pHovered; }
    // The registered window class (empty until the first thumbnail is constructed).
    static const CString& GetClassName() { return ClassName(); }
    UINT_PTR GetHoverTimer() const { return m_nHoverTimer; }
    // The cursor the thumbnail shows now (resource 260 or 262, see OnSetCursor).
    HCURSOR ChooseCursor();

protected:
    // A card's frame, both rectangles filled with the card's colour: the outer one in a 1-pixel
    // dark purple line, the inner one (the text's or picture's) in a 2-pixel dark olive line.
    static void DrawCardFrame(CDC* pDC, const CRect& rcOuter, const CRect& rcInner, COLORREF crFill);
    // Posts the status text (a heap copy of the text, or 0 to empty it) to the main window.
    static void PostStatusText(const CString* pText);
    // Posts a fresh clone of the reference to the parent with the message.
    void PostReference(UINT message);

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    UINT_PTR m_nHoverTimer = 0;
    // The thumbnail box: left, top, height, width.
    int m_nBoxLeft = 0;
    int m_nBoxTop = 0;
    int m_nBoxHeight = 0;
    int m_nBoxWidth = 0;
    CReference* m_pReference = NULL;
    CString m_strDescription;

private:
    static CString& ClassName();
    static CThumbnail* s_pHovered;
    static BOOL s_bOpening;
};
