// CFilmStripWnd: a column of item objects that slides in and out of view, two pixels per tick of
// a window timer (15 ms by default). The Tool Kit panel and the media list control of the media
// thumbnails derive from it and replace creation, sliding, painting and the step where they have
// rules of their own; what is here is the base's behaviour.
//
// Items are owned by the strip from AddItem until RemoveAll or destruction. An item that is also
// a CFilmStripItem draws itself into the strip's off-screen picture when the strip paints.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

// What an item of a film strip draws when the strip builds its off-screen picture: its state
// images at (x, y) of the memory DC (x is the strip's right edge in screen coordinates + 22).
class CFilmStripItem {
public:
    virtual ~CFilmStripItem() = default;
    virtual void BuildStateImages(CDC* pDC, int x, int y) = 0;
};

class CFilmStripWnd : public CWnd {
public:
    CFilmStripWnd();
    // Deletes every item, destroys the window, deletes the off-screen bitmap.
    ~CFilmStripWnd() override;

    // A transparent child "Film strip scroll win" of the host at (x, y), the size of the host's
    // client area.
    virtual BOOL Create(CWnd* pHost, int x, int y);
    virtual LRESULT OnItemCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnItemNotify(WPARAM wParam, LPARAM lParam);
    virtual CSize GetItemOffset();
    virtual int GetSlideState();
    // Appends the item (owned from now on) and grows the strip; FALSE (nothing added) on failure.
    virtual BOOL AddItem(CObject* pItem, int nWidth, int nHeight);
    virtual LRESULT OnItemQuery(WPARAM wParam, LPARAM lParam);
    // Deletes every item; the strip is then zero high and hidden, its slide state -1. Returns the
    // number of items removed.
    virtual int RemoveAll();
    // Starts sliding the items in (up, 32 pixels an item) unless the slide state is 1.
    virtual void SlideIn();
    // Starts sliding them out (down) unless the slide state is 0.
    virtual void SlideOut();

    int GetItemCount() const { return m_nItemCount; }
    CObject* GetItem(int nIndex) const;
    // Pixels still to slide: negative moves the content up, positive down.
    int GetRemainingSlide() const { return m_nRemainingSlide; }
    // The running slide timer (0 when none) and the id a strip's timer gets.
    UINT_PTR GetSlideTimer() const { return m_nTimerId; }
    UINT_PTR SlideTimerId() const;
    int GetItemWidth() const { return m_nItemWidth; }
    int GetItemHeight() const { return m_nItemHeight; }

protected:
    // Starts the slide timer; without one no slide runs.
    void StartSlideTimer();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    UINT m_nTimerInterval = 15;
    UINT_PTR m_nTimerId = 0;
    DWORD m_dwReserved1 = 0;
    CBitmap* m_pBitmap;
    CRect m_rect1;
    int m_nRemainingSlide = 0;
    CRect m_rect2;
    int m_nItemWidth = 44;
    int m_nItemHeight = 32;
    int m_nValue1 = 0;
    int m_nValue2 = 0;
    // The size of the off-screen bitmap that painting makes; the derived panels set it.
    int m_nBitmapWidth = 0;
    int m_nBitmapHeight = 0;
    DWORD m_dwReserved2 = 1;
    int m_nSlideState = -1;
    CObList m_items;
    int m_nItemCount = 0;
    // The item count the off-screen picture was last built for (-1: none yet).
    int m_nPaintedCount = -1;
};
