// Scroll bar state and the code shared by the window scroll bars (WS_HSCROLL / WS_VSCROLL) and
// the scroll bar control: geometry, drawing and mouse tracking. Not installed.
#pragma once

#include <windows.h>

namespace user {

struct ScrollBarData {
    int min = 0;
    int max = 0;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT arrows = ESB_ENABLE_BOTH;  // ESB_DISABLE_ flags
    bool tracking = false;
    int pressed = 0;  // the part held down while tracking (ScrollPart)
};

// The three bars of a window: SB_HORZ, SB_VERT and SB_CTL (the control's own).
struct ScrollBarState {
    ScrollBarData bars[3];
    bool initialised[3] = {false, false, false};
};

enum ScrollPart { PartNone = 0, PartArrowLow, PartPageLow, PartThumb, PartPageHigh, PartArrowHigh };

// The bar's data; created with the default range on first use (0..100 for window bars,
// 0..0 for the control). Null for bad handles.
ScrollBarData* ScrollBarOf(HWND hwnd, int bar);

// Core operations on a bar (bar is SB_HORZ, SB_VERT or SB_CTL; no messages are sent).
int ScrollSetInfo(HWND hwnd, int bar, const SCROLLINFO& si, BOOL redraw);
BOOL ScrollGetInfo(HWND hwnd, int bar, SCROLLINFO& si);
BOOL ScrollEnableArrows(HWND hwnd, int bar, UINT arrows);

// Draws a bar into `r` (coordinates of hdc).
void DrawScrollBar(HDC hdc, const RECT& r, bool vertical, const ScrollBarData& d, bool enabled);
// Which part of a bar drawn in `r` lies under p.
int ScrollHitTest(const RECT& r, bool vertical, const ScrollBarData& d, POINT p);

// Runs the modal mouse loop of a bar pressed at `screenPt`. `barScreen` is the bar's rectangle
// on the screen; the WM_HSCROLL / WM_VSCROLL requests go to `notify` with `ctl` as lParam.
void TrackScrollBar(HWND hwnd, int bar, const RECT& barScreen, bool vertical, POINT screenPt, HWND notify,
                    HWND ctl);

// Window scroll bars in the non-client area: drawing (hdc is a window DC, clientInWindow the
// client rectangle in window coordinates) and the press on HTHSCROLL / HTVSCROLL.
void DrawWindowScrollBars(HWND hwnd, HDC hdc, const RECT& clientInWindow);
void TrackWindowScrollBar(HWND hwnd, int hitTest, POINT screenPt);

}  // namespace user
