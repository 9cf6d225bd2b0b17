// CAudioTextThumb: the text thumbnail of a sound item. The card shows the sound's caption (from
// its picture document) and keeps the path of the sound clip that plays it.
#pragma once

#include "widgets/TextThumb.h"

class CAudioTextThumb : public CTextThumb {
    DECLARE_DYNAMIC(CAudioTextThumb)
public:
    // A text thumbnail of the reference with the caption as its text (NULL allowed).
    CAudioTextThumb(CReference* pReference, const CString* pCaption, const CString* pTitle);
    ~CAudioTextThumb() override;

    // The path of the sound clip file ("...\Sound\AU012345.mov").
    void SetAudioPath(CString strPath) { m_strAudioPath = strPath; }
    const CString& GetAudioPath() const { return m_strAudioPath; }

    // The client size.
    int GetThumbWidth() override;
    int GetThumbHeight() override;

private:
    CString m_strAudioPath;
};
