// CVLPlusButton: the toolbar's VL Plus button, a roll-over button of the online services. One
// instance at a time is named by a program-wide pointer (set by the constructor, cleared by the
// destructor) through which the online services reach it. It keeps two further pictures, the
// connected and the downloading look.
#pragma once

#include "widgets/RollOverButton.h"

class CDib;

class CVLPlusButton : public CRollOverButton {
    DECLARE_DYNAMIC(CVLPlusButton)
public:
    CVLPlusButton();
    ~CVLPlusButton() override;

    // Frees the old pictures and loads both from resource ids; a picture that cannot be made
    // stays empty (FALSE). Out of memory raises the memory exception.
    BOOL SetBitmaps(UINT nConnectedId, UINT nDownloadingId);
    const CDib* GetConnectedDib() const { return m_pConnected; }
    const CDib* GetDownloadingDib() const { return m_pDownloading; }

    // The current instance (NULL when none).
    static CVLPlusButton* GetInstance();

private:
    void FreeDibs();

    CDib* m_pConnected = NULL;
    CDib* m_pDownloading = NULL;
};
