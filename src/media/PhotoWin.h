// CPhotoWin: the child window that shows a photo bubble, a panorama the reader turns by
// dragging. The bubble is drawn and driven by the bubble viewer library "IPX32_53.dll" (loaded
// on first use, kept for the run), which the window feeds with its messages. One bubble is shown
// at a time: the viewer handle is program-wide and belongs to the photo window created last.
#pragma once

#include <afxwin.h>

class CPhotoWin : public CWnd {
    DECLARE_DYNAMIC(CPhotoWin)
public:
    CPhotoWin();
    // Releases the viewer when this window still holds it.
    ~CPhotoWin() override;

    // Creates the child window "Photobubble" at rect under pParent, attaches a new viewer and
    // opens the bubble file at pszPath. 1 when the bubble opened; 0 when the window could not be
    // made or the bubble not opened (the window then exists but shows nothing).
    BOOL Create(CWnd* pParent, const RECT& rect, LPCSTR pszPath);
    // Opens a bubble file in the viewer. 1 when it opened.
    BOOL OpenBubble(LPCSTR pszPath);
    // The viewer's state value (the direction the view looks in, in degrees).
    LONG GetState();
    // Asks the viewer for its query value; returns 1.
    BOOL Query();
    // The logical palette of the bubble's 256 colours, kept in the window; built on the first
    // call and brought up to date (the same palette) on later ones. NULL without colours.
    HPALETTE BuildPalette();
    HPALETTE GetPalette() const { return m_hPalette; }

    // The photo window created last (NULL when it is gone) and the program-wide viewer handle
    // (NULL when none is held).
    static CPhotoWin* GetCurrent();
    static HANDLE GetViewerHandle();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()

    CString m_strName;
    CObject* m_pOwned = NULL;
    BITMAPINFOHEADER* m_pHeader = NULL;
    DWORD m_dwWord = 0;
    int m_nPaletteEntries = 0;
    HPALETTE m_hPalette = NULL;
};
