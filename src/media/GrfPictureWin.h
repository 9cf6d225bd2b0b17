// CGrfPictureWin: the full picture of one picture record in a scrolling child window: maps in the
// atlas ("Big Map") and pictures in the media viewer ("Media Resource Picture Window"). It frames
// the hot spots that a search found, tells the main window what the hot spot under the mouse
// leads to, opens linked items, prints the picture with its title, legend and texts, and copies
// it with its credit lines to the clipboard. Hot spots may also play a sound (in a hidden sound
// window) or pop up a label text (a detail caption box over the picture).
#pragma once

#include "widgets/VLScrollWnd.h"

class CDib;
class CDetailCaptionBox;
class CGrfDocument;
class CQTAudioWin;
class CReference;

class CGrfPictureWin : public CVLScrollWnd {
    DECLARE_DYNAMIC(CGrfPictureWin)
public:
    // Print margins in printer units and the scroll steps in pixels.
    enum { printMarginY = 50, printMarginX = 100, lineStep = 10, pageStep = 100 };
    // Cursors over a link to an article, a map, anything else, and while a hot-spot sound plays;
    // the picture of a sound item.
    enum { cursorArticle = 259, cursorSound = 261, cursorOther = 262, cursorMap = 318, soundPictureId = 582 };

    CGrfPictureWin(COLORREF crBackground, COLORREF crSecond);
    ~CGrfPictureWin() override;

    // Creates the window at (0, 0, cx, cy) and shows the document (borrowed: the caller keeps it
    // alive while it is shown). 1, or 0 when the window cannot be created. A data root that
    // cannot be had throws CUserException.
    BOOL Create(CWnd* pParent, int cx, int cy, CGrfDocument* pDocument, BOOL bBigMap, BOOL bBorderless);
    // Shows another record; with bKeepSize 0 the window takes the picture's size.
    void SetDocument(CGrfDocument* pDocument, BOOL bKeepSize);
    // The outer size that shows the whole picture within the maximum.
    CSize CalcWindowSize(int nMaxWidth, int nMaxHeight) const;

    // Prints the picture with its title, legend, caption or note, and credit ("Veltra Atlas").
    void Print();
    // The picture with its credit and note lines below it, as CF_BITMAP and CF_PALETTE.
    void CopyToClipboard();
    // A new palette from the picture's colour table; NULL without a picture.
    HPALETTE CreatePicturePalette() const;

    void SetVerticalScroll(int nPosition);
    void SetHorizontalScroll(int nPosition);

    COLORREF GetBkColor() override { return m_crBackground; }
    COLORREF GetSecondColor() override { return m_crSecond; }

    CDib* GetPicture() const { return m_pPicture; }
    CGrfDocument* GetDocument() const { return m_pDocument; }
    CPoint GetOrigin() const { return CPoint(m_nOriginX, m_nOriginY); }
    // The 1-based hot spot under the mouse, 0 none.
    int GetHotSpotUnderMouse() const { return m_nHotSpot; }
    BOOL IsShowingSoundItem() const { return m_bSoundPicture; }
    // The hot-spot sound: playing, and the window that plays it (kept after it ends until the
    // next sound, a stop or the window's end).
    BOOL IsSoundPlaying() const { return m_bSoundPlaying; }
    CQTAudioWin* GetSoundWindow() const { return m_pSoundWin; }
    // The label pop-up over the picture (NULL when none is up).
    CDetailCaptionBox* GetLabelBox() const { return m_pLabelBox; }

    // The label box's size when it is made, and the gap it keeps from a label at the left edge.
    enum { labelBoxWidth = 250, labelBoxHeight = 100, labelBoxGap = 90 };

protected:
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnMciNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Set while a hot-spot sound plays (the mouse is captured then: a click stops the sound).
    BOOL m_bSoundPlaying = FALSE;

private:
    void FreePicture();
    // Posts a new status text to the main window (NULL clears it).
    static void PostStatus(LPCSTR lpszText);
    // Opens the item of a link hot spot by its kind; the reference is handed on or deleted.
    void OpenHotSpotReference(CReference* pReference);
    // Plays hot-spot sound n: 1 when it started.
    BOOL PlayHotSpotSound(DWORD dwSound);
    void StopHotSpotSound();
    // Pops up the label text of a section code (223 + label number) under its hot spot.
    void ShowLabel(int nSectionCode);
    void DeleteLabel();
    // Shows or hides the bars for the client size and clamps the scroll positions.
    void UpdateScrollBars();
    int BorderSize() const { return m_bBorderless ? 0 : 1; }

    CDib* m_pPicture = NULL;
    HPALETTE m_hPalette = NULL;
    int m_nOriginX = 0;
    int m_nOriginY = 0;
    BOOL m_bKeepSize = TRUE;
    int m_nMaxVertical = 0;
    int m_nMaxHorizontal = 0;
    CGrfDocument* m_pDocument = NULL;
    int m_nHotSpot = 0;
    CQTAudioWin* m_pSoundWin = NULL;  // owned
    BOOL m_bStoppingSound = FALSE;
    BOOL m_bBigMap = FALSE;
    BOOL m_bBorderless = FALSE;
    CDetailCaptionBox* m_pLabelBox = NULL;  // owned
    COLORREF m_crBackground;
    COLORREF m_crSecond;
    // The window shows a sound item: no sizing, hot-spot frames or mouse handling meanwhile.
    BOOL m_bSoundPicture = FALSE;
    BOOL m_bStatusCleared = TRUE;
    CSize m_sizeLast{-1, -1};
    BOOL m_bInSize = FALSE;
};
