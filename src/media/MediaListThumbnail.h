// CMediaListThumbnail: one small picture button of an article's media film strip: a 45 by 33
// frame with the media item's little picture in it, drawn in three looks composed in memory when
// the button is created (normal: frame 605; pressed: frame 604 with the picture shrunk; pointer
// over it: frame 339). A click selects the item in the strip, a double click opens it; the strip
// is the button's grandparent and implements CMediaListStrip.
#pragma once

#include "media/CustomDibButton.h"
#include "widgets/Dib.h"

// The film strip that holds media list thumbnails (the button's grandparent window).
class CMediaListStrip {
public:
    virtual ~CMediaListStrip() = default;
    virtual void SelectMediaItem(int nIndex) = 0;
    virtual void OpenMediaItem(int nIndex) = 0;
    // The strip's action button, switched to its alternate pictures on a click; NULL for none.
    virtual CDibButton* GetActionButton() = 0;
    // Shows (without activating) or hides the strip's scroll-up or scroll-down button, enabled
    // or not; the media list calls them when a roll ends.
    virtual void ShowScrollUp(BOOL /*bEnable*/, BOOL /*bShow*/) {}
    virtual void ShowScrollDown(BOOL /*bEnable*/, BOOL /*bShow*/) {}
};

#define MEDIALIST_FRAME_NORMAL 605
#define MEDIALIST_FRAME_TALL 606
#define MEDIALIST_FRAME_PRESSED 604
#define MEDIALIST_FRAME_HOVER 339

class CMediaListThumbnail : public CCustomDibButton {
    DECLARE_DYNAMIC(CMediaListThumbnail)
public:
    // Takes the picture (owned; NULL allowed), keeps the item value and the item's place in the
    // strip, and loads the four frames.
    CMediaListThumbnail(CDib* pPicture, DWORD dwItemValue, int nIndex);
    ~CMediaListThumbnail() override;

    int GetButtonWidth() override { return 44; }
    int GetButtonHeight() override { return 32; }

    // Composes the normal, pressed and hover images, each of the client size, in a memory device
    // context compatible with pDC, with the application palette selected.
    void BuildStateImages(CDC* pDC);
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // Where the picture sits in the frame.
    CPoint GetPictureOffset() const;
    DWORD GetItemValue() const { return m_dwItemValue; }
    int GetIndex() const { return m_nIndex; }
    BOOL IsHover() const { return m_bHover; }
    // The composed images (empty until the window is created).
    CBitmap& GetNormalImage() { return m_bmNormal; }
    CBitmap& GetPressedImage() { return m_bmPressed; }
    CBitmap& GetHoverImage() { return m_bmHover; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CMediaListStrip* GetStrip() const;
    void ComposeImage(CDC* pDC, CBitmap& bitmap, const CDib& frame, BOOL bShrunk);

    DWORD m_dwItemValue;
    CBitmap m_bmNormal;
    CBitmap m_bmPressed;
    CBitmap m_bmSelectedAlternate;  // never built
    CBitmap m_bmSelected;           // never built
    CBitmap m_bmHover;
    CDib m_frames[10];
    int m_nIndex;
    int m_nPictureHeight = 0;
    int m_nPictureWidth = 0;
    CDib* m_pPicture;
    CSize m_sizePicture{0, 0};
    BOOL m_bHover = FALSE;
};
