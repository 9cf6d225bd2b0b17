// CBitmapThumb: the picture thumbnail that the thumbnail factory makes for picture, map and movie
// items: the item's little picture in a frame 4 pixels larger, double-buffered, with the disc-2
// badge (bitmap 427) in the picture's bottom-right corner for items of the second disc. A picture
// thumbnail without a picture (one that could not be decoded) is a 100 by 100 box that shows its
// caption instead.
#pragma once

#include "widgets/Thumbnail.h"

class CDib;

#define BITMAPTHUMB_DISC2_BADGE 427

class CBitmapThumb : public CThumbnail {
    DECLARE_DYNAMIC(CBitmapThumb)
public:
    // Keeps the picture (owned; may be NULL), a clone of the reference and the caption (NULL
    // allowed), which also becomes the description.
    CBitmapThumb(CDib* pPicture, CReference* pReference, const CString* pCaption);
    ~CBitmapThumb() override;

    // Creates the thumbnail at (x, y) in the picture's size plus 4 (100 by 100 without a picture).
    BOOL CreateAt(CWnd* pParent, int x, int y) override;
    using CThumbnail::Create;
    // At (100, 100), 100 by 100.
    virtual BOOL CreateDefault(CWnd* pParent);

    int GetThumbWidth() override { return m_nBoxWidth; }
    int GetThumbHeight() override { return m_nBoxHeight; }
    CDib* GetPicture() const { return m_pPicture; }
    const CString& GetCaption() const { return m_strCaption; }

    // Draws the thumbnail into a device context (what a paint copies to the screen).
    void Render(CDC* pDC);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CString m_strCaption;
    CDib* m_pPicture = NULL;
};
