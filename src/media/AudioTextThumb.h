// CAudioTextThumb: the text thumbnail of a sound item. The card shows the sound's caption (from
// its picture document) and keeps the path of the sound clip; a play button (a sibling window,
// left of the card and overlapping it) plays the clip and follows the card when it is shown,
// hidden or activated.
#pragma once

#include "media/AudioPopUpButton.h"
#include "widgets/TextThumb.h"

class CAudioTextThumb : public CTextThumb {
    DECLARE_DYNAMIC(CAudioTextThumb)
public:
    enum { playButtonId = 80005, playBitmapId = 237 };

    // A text thumbnail of the reference with the caption as its text (NULL allowed).
    CAudioTextThumb(CReference* pReference, const CString* pCaption, const CString* pTitle);
    ~CAudioTextThumb() override;

    // The path of the sound clip file ("...\Sound\AU012345.mov").
    void SetAudioPath(CString strPath) { m_strAudioPath = strPath; }
    const CString& GetAudioPath() const { return m_strAudioPath; }

    // The client size.
    int GetThumbWidth() override;
    int GetThumbHeight() override;

    CAudioPopUpButton& GetPlayButton() { return m_playButton; }
    const CRect& GetButtonRect() const { return m_rect4; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg LRESULT OnChildActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CAudioPopUpButton m_playButton;
    CRect m_rect1{0, 0, 0, 0};
    CRect m_rect2{0, 0, 0, 0};
    CRect m_rect3{0, 0, 0, 0};
    CRect m_rect4{0, 0, 0, 0};  // the play button's place in the parent
    CRect m_rect5{0, 0, 0, 0};
    CString m_strAudioPath;
};
