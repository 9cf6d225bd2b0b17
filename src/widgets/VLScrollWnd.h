// CVLScrollWnd: the base of every scrolling content window (article pages, table grids,
// dictionary panes, picture windows, thumbnails, the virtual list window). It fixes the two
// colours the derived windows ask for and the sizes of the scroll bars they draw or reserve.
#pragma once

#include <afxwin.h>

class CVLScrollWnd : public CWnd {
    DECLARE_DYNAMIC(CVLScrollWnd)
public:
    CVLScrollWnd();
    // Destroys the window.
    ~CVLScrollWnd() override;

    // The background, PALETTERGB(255, 255, 255).
    virtual COLORREF GetBkColor();
    // The second colour, PALETTERGB(195, 176, 108).
    virtual COLORREF GetSecondColor();

    // The width of a vertical and the height of a horizontal scroll bar (one border less on Win32s).
    static int GetVScrollBarWidth();
    static int GetHScrollBarHeight();

protected:
    // Left to the derived windows.
    DWORD m_dwValue1 = 0;
    DWORD m_dwValue2 = 0;
};
