// CGrfQTWin: a movie window (CQTWin) that belongs to a picture record: it plays the record's movie
// file from the record's data folder and carries the record's hot spots.
//
// Least version: the interface the media view calls; the movie is created through CQTWin, and
// the hot spots are not handled yet.
#pragma once

#include "media/QTWin.h"

class CGrfDocument;

class CGrfQTWin : public CQTWin {
public:
    CGrfQTWin() = default;
    ~CGrfQTWin() override;
    // Creates the movie window of the document's media file in the rectangle: 1 on success; 0
    // (after the message "Unable to create movie window.") when it cannot be made.
    BOOL Create(CGrfDocument* pDocument, CWnd* pParent, const RECT& rect);

protected:
    CGrfDocument* m_pDocument = NULL;
    BOOL m_bCaptured = FALSE;
};
