// CDetailCaptionBox: the small text box that the picture window shows over a picture when the
// reader points at a detail: the text of one caption section of the picture document (221: the
// picture's caption; 223 + n: its section n) in mini-article mark-up, with the words of the
// current search in red.
#pragma once

#include "widgets/MiniArtThumb.h"

class CGrfDocument;

#define DETAILCAPTION_CAPTION 221
#define DETAILCAPTION_FIRST_SECTION 223

class CDetailCaptionBox : public CMiniArtThumb {
    DECLARE_DYNAMIC(CDetailCaptionBox)
public:
    // The document is borrowed: the picture window outlives the box.
    explicit CDetailCaptionBox(CGrfDocument* pDocument);
    ~CDetailCaptionBox() override;

    // Builds the mark-up of the section and sets it as the box's text; what SetText returns.
    int ShowCaption(int nSectionCode);
    // The section's text as mark-up: paragraph ends (byte 13) alternately "</P>" and "<P>",
    // 0x81 "<I>", 0x82 "<STRONG>", 0x80 closes whichever of the two is on; the hits of the
    // reference's hit list in that section wrapped in "<RED>" and "</RED>"; a final "<P>".
    void BuildCaptionText(CString& strOut, int nSectionCode) const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Reflected EN_REQUESTRESIZE: the box takes the requested width and height where it stands.
    afx_msg void OnRequestResize(NMHDR* pNotify, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    CGrfDocument* m_pDocument;
};
