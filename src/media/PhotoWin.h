// CPhotoWin: the child window of the media view that shows a photo bubble (a panoramic photograph
// turned by dragging).
//
// Least version: the interface the media view calls; without the bubble viewer no bubble opens
// (Create gives 0).
#pragma once

#include <afxwin.h>

class CPhotoWin : public CWnd {
public:
    CPhotoWin() = default;
    ~CPhotoWin() override;
    // Opens the bubble file in a child "Photobubble" of the parent at the rectangle: 1 when the
    // bubble opened, else 0.
    BOOL Create(CWnd* pParent, const RECT& rect, LPCSTR lpszPath);
    BOOL OpenBubble(LPCSTR lpszPath);
    LONG GetState();
    BOOL Query();
    // The palette of the bubble's colours (NULL without a bubble).
    HPALETTE BuildPalette();
};
