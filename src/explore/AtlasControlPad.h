// CAtlasControlPad: the atlas's overlay control pad, a small window with rounded corners at the
// top left of every map but the flat world map. On its face (bitmap 315, whose size is the
// pad's) it names the current overlay (the map's theme) in a name box of one or two lines, opens
// the drop-down list of the shown map's overlays (CAtlasOverlayTabWin, with the mark 440 beside
// the name when the map has overlays) and shows the map's locator/legend picture below.
//
// The overlay name and list are the atlas's shared values (CAtlasShared); the overlay list
// window is rebuilt only when the shared list changed.
//
// Message 0x424 brings the legend: lParam is its byte position; wParam 0 means the data archive
// ("vl.dat" of the data folder), otherwise it is a new CString (the receiver frees it) naming the
// file the map was read from, which holds its images. A position outside the file, or where no
// GIF starts, shows "Unable to create Map Locator/Legend window." and leaves the pad without a
// legend.
#pragma once

#include "widgets/Dib.h"
#include "widgets/DibButton.h"
#include "widgets/PaletteMainWin.h"

class CAtlasOverlayTabWin;
class CDibWin;

enum : UINT {
    IDW_ATLAS_CONTROL_PAD = 11046,
    IDC_PAD_OVERLAY_LIST = 11039,
    IDC_PAD_TOGGLE_LIST = 11049,
    IDC_PAD_CLOSE = 11051,
    IDB_PAD_FACE = 315,
    IDB_PAD_CLOSE = 429,
    IDB_PAD_CLOSE_PRESSED = 428,
    IDB_PAD_DROP_MARK = 440,
    VLM_ATLAS_LEGEND = 0x424,       // to the pad (0 or new CString*, position): show the legend
    VLM_ATLAS_TOGGLE_PAD = 0x426,   // to the atlas (0, 0): show or hide the pad
};

class CAtlasControlPad : public CPaletteMainWin {
    DECLARE_DYNAMIC(CAtlasControlPad)
public:
    enum {
        kNameLeft = 10,
        kNameTop = 29,
        kNameWidth = 182,
        kLineHeight = 16,
        kRoomWithList = 153,     // 173 - 20
        kRoomWithoutList = 172,  // 192 - 20
        kFirstLineRight = 169,   // the first of two lines ends there
        kTextIndent = 6,
        kListHeight = 141,
    };

    CAtlasControlPad();
    // Destroys and deletes the legend window and the overlay list window.
    ~CAtlasControlPad() override;

    // Loads bitmap 315 and creates "Overlay Control Pad", a visible child at (x, y) of the
    // bitmap's size.
    BOOL Create(int x, int y, CWnd* pParentWnd, UINT nID = IDW_ATLAS_CONTROL_PAD);

    // Measures the overlay name against the room (153 with an overlay list, 172 without): one
    // line or two; returns the number of lines.
    int MeasureName();
    // The lines the name is drawn in: with one line the name is the first; with two it is split
    // at the last blank whose first part fits the first line (else the first line is empty and
    // the whole name is the second).
    void GetNameLines(CString& strFirst, CString& strSecond);
    // Shows or hides the overlay list (what command 11049 does).
    void ToggleOverlayList();
    // Shows the legend at a position of a file (the data archive for an empty path); FALSE,
    // after the message, when it cannot.
    BOOL ShowLegend(LPCSTR lpszSource, LONG nPosition);

    // Whether the shown map offers overlays (a shared list with at least one).
    static BOOL HasOverlays();

    int GetLineCount() const { return m_bTwoLines ? 2 : 1; }
    CRect GetNameBox() const;
    CDibWin* GetLegend() const { return m_pLegend; }
    CAtlasOverlayTabWin* GetOverlayList() const { return m_pOverlayList; }
    BOOL IsListShown() const { return m_bListShown; }
    CDibButton& GetCloseButton() { return m_btnClose; }
    CSize GetPadSize() const { return CSize(m_dibFace.GetWidth(), m_dibFace.GetHeight()); }

    void OnFilePrint() override {}
    BOOL CanPrint() override { return FALSE; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnToggleList();
    afx_msg void OnClosePad();
    afx_msg LRESULT OnLegend(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void LayOut();
    void DestroyLegend();
    CFont* NameFont();

    CDib m_dibFace;
    CDibButton m_btnClose;
    CDibWin* m_pLegend = NULL;
    CAtlasOverlayTabWin* m_pOverlayList = NULL;
    DWORD m_dwListSerial = 0;  // of the shared list the overlay list window was built for
    BOOL m_bListBuilt = FALSE;
    BOOL m_bListShown = FALSE;
    BOOL m_bTwoLines = FALSE;
    CFont m_fontName;
};
