// CMediaSlidingSelector: the small horizontal slider ("Media Sliding Selector Control") that the
// media view shows above a picture of a picture group: a left arrow field with "1", a track with
// a numbered thumb and a right arrow field with the group's size. Moving the thumb to position i
// (arrows, clicks beside the thumb, or dragging it) makes the view show picture i of the group.
#pragma once

#include <afxwin.h>

class CDib;

// What the selector tells: the 0-based position chosen.
class CMediaGroupChooser {
public:
    virtual ~CMediaGroupChooser() = default;
    virtual void ShowGroupItem(int nIndex) = 0;
};

#define SLIDER_CMD_LEFT 18100
#define SLIDER_CMD_RIGHT 18101
#define SLIDER_CMD_NONE 18102

class CMediaSlidingSelector : public CWnd {
public:
    enum { maxItems = 20, width = 188, height = 24 };

    CMediaSlidingSelector();
    ~CMediaSlidingSelector() override;

    // The control at (x, y) in the parent (its client coordinates); non-zero on success.
    virtual BOOL Create(CWnd* pParent, int x, int y);
    // A group of nCount pictures with picture nPosition (1-based) current. Groups of fewer than
    // 2 or more than 20 pictures are refused (FALSE, nothing changes).
    BOOL SetItems(int nCount, int nPosition);
    // Where the view hears of choices (NULL: the parent when it is a chooser).
    void SetChooser(CMediaGroupChooser* pChooser) { m_pChooser = pChooser; }

    void StepBack();
    void StepForward();

    int GetCurrentIndex() const { return m_nCurrent; }
    int GetLastIndex() const { return m_nLast; }
    UINT GetStep() const { return m_nStep; }
    CRect GetPositionRect(int nIndex) const;
    const CRect& GetThumbRect() const { return m_rcThumb; }
    BOOL IsDragging() const { return m_bDragging; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnStepLeft();
    afx_msg void OnStepRight();
    afx_msg void OnNothing();
    DECLARE_MESSAGE_MAP()

private:
    void Tell();
    void RedrawThumb();
    void DrawThumb(CDC* pDC, CRect rect);

    BOOL m_bDragging = FALSE;
    CDib* m_pBackground = NULL;
    CRect m_rcPositions[maxItems];
    int m_nLast = 0;
    UINT m_nStep = 0;
    int m_nCurrent = 0;
    int m_nDragStartIndex = 0;
    CPoint m_ptDrag;
    CRect m_rcThumb;
    CMediaGroupChooser* m_pChooser = NULL;
};
