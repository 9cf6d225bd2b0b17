// CTimelineThumb: the thumbnail of a timeline. A light-blue card with the text thumbnail's double
// frame, the small timeline picture (bitmap 236) in its top-left corner and, under it, the
// timeline's title in bold followed on the same line by "from the <article> article." in regular
// type. The card shrinks in height to its text when it is created.
#pragma once

#include "widgets/Thumbnail.h"

// The timeline picture.
#define TIMELINETHUMB_PICTURE 236

class CTimelineThumb : public CThumbnail {
    DECLARE_DYNAMIC(CTimelineThumb)
public:
    // Keeps a clone of the reference; the source line names the article; the description (the
    // status line's text) is the reference's title.
    CTimelineThumb(CReference* pReference, const CString& strArticleTitle);
    ~CTimelineThumb() override;

    int GetThumbWidth() override { return m_nBoxWidth; }
    int GetThumbHeight() override { return m_nBoxHeight; }

    // Writes the title (bold) and the source line (regular) into the area with the line breaker;
    // returns the height used. With bMeasureOnly nothing is drawn. A font that cannot be made
    // throws CUserException.
    int DrawTimelineText(CDC* pDC, const RECT& area, BOOL bMeasureOnly);
    // The text area of a client rectangle: less 10 at the left, right and bottom, less the
    // picture's height and 5 at the top.
    static CRect TextArea(const CRect& rectClient);
    const CString& GetSourceLine() const { return m_strSource; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strSource;
};
