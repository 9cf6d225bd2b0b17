// CMediaFilmStrip: the "Article Media" pane of the article view: the article's media items as a
// column of small thumbnails in a media list control (CMediaListCtrl), under a row of three
// buttons: "Film Scroll Down" on the left, "Film Roll Top" in the middle and "Film Scroll up" on
// the right. The scroll buttons step the column a row at a time (repeating while held), the
// roll-top button rolls the whole column up or back as an animation; a click on a thumbnail tells
// the article view (20010), a double click opens the item (OpenArticleMedia).
#pragma once

#include "media/MediaListThumbnail.h"

#include <afxwin.h>

class CArticleDocument;
class CMediaListCtrl;
class CRollOverButton;

// The strip's buttons.
#define FILMSTRIP_ROLL_TOP_ID 25000
#define FILMSTRIP_SCROLL_DOWN_ID 25001
#define FILMSTRIP_SCROLL_UP_ID 25002

class CMediaFilmStrip : public CWnd, public CMediaListStrip {
public:
    enum { repeatAfterPress = 500, repeatAfterNotify = 150, step = 32 };

    CMediaFilmStrip();
    // Deletes the media list and the buttons, destroys the window.
    ~CMediaFilmStrip() override;

    // The strip as a child of the article view ("Article Media").
    BOOL Create(CWnd* pParent, const RECT& rect);

    // Fills the strip with the document's media items (NULL or none: an empty, disabled strip).
    void LoadMedia(CArticleDocument* pDocument);
    // A click and a double click on thumbnail nIndex.
    void SelectMedia(int nIndex);
    void OpenMedia(int nIndex);
    void ShowScrollUp(BOOL bEnable, BOOL bShow) override;
    void ShowScrollDown(BOOL bEnable, BOOL bShow) override;
    // One row towards the column's end (up) or back to its start (down).
    void ScrollUp();
    void ScrollDown();
    // The roll-top button's press.
    void OnRollTop();
    // The article view's Stop and article changes: the roll ends on the grid.
    void StopRolling();

    void SelectMediaItem(int nIndex) override { SelectMedia(nIndex); }
    void OpenMediaItem(int nIndex) override { OpenMedia(nIndex); }
    CDibButton* GetActionButton() override;

    CMediaListCtrl* GetMediaList() const { return m_pMediaList; }
    CRollOverButton* GetRollTopButton() const { return m_pRollTop; }
    CDibButton* GetScrollUpButton() const { return m_pScrollUp; }
    CDibButton* GetScrollDownButton() const { return m_pScrollDown; }
    const CRect& GetMediaListRect() const { return m_rcMediaList; }
    int GetThumbnailCount() const;
    // The document whose media the strip shows (borrowed), NULL when none.
    CArticleDocument* GetDocument() const { return m_pDocument; }
    BOOL IsScrollUpHeld() const { return m_bScrollUpHeld; }
    BOOL IsScrollDownHeld() const { return m_bScrollDownHeld; }
    UINT_PTR GetRepeatTimer() const { return m_nRepeatTimer; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnRollTopCommand();
    afx_msg void OnScrollButton(UINT nID);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    void StartRepeat(UINT nPeriod);
    void StopRepeat();
    void AfterStep();
    int ItemCount() const;

    CArticleDocument* m_pDocument = NULL;
    CMediaListThumbnail* m_pLastThumbnail = NULL;
    CMediaListCtrl* m_pMediaList = NULL;
    BOOL m_bScrollDownHeld = FALSE;
    BOOL m_bScrollUpHeld = FALSE;
    UINT_PTR m_nRepeatTimer = 0;
    int m_nRollTopWidth = 44;
    int m_nRollTopHeight = 20;
    int m_nScrollWidth = 20;
    int m_nScrollHeight = 14;
    CRect m_rcRollTop;
    CRect m_rcMediaList;
    CRect m_rcRightScroll;
    CRect m_rcLeftScroll;
    CRollOverButton* m_pRollTop = NULL;
    CDibButton* m_pScrollUp = NULL;
    CDibButton* m_pScrollDown = NULL;
    CPoint m_ptMediaList;
    int m_nRepeatCounter = 0;
};
