// CMediaListCtrl: the scrolling inner window of the article view's media film strip. It holds a
// column of media thumbnails, one per 32-pixel row (row k at y = 32 k - offset), and a roll
// button ("Film Roll Bottom") below the column. The column rolls up (towards its end: the offset
// grows to 32 rows) or down (back to offset 0) under a window timer, 4 pixels a tick, with the
// program's rolling sounds; the strip also steps it one row at a time.
//
// Its strip is its parent; when the parent is a CMediaListStrip it is told which of its two
// scroll buttons to show whenever a roll ends.
#pragma once

#include "widgets/FilmStripWnd.h"

class CDibButton;

// The roll button's control id (apart from the strip's own buttons, 25000-25002).
#define MEDIALIST_ROLL_BUTTON_ID 25010
// The strip's rolling sounds: the motion (looped), the start of a roll and the release.
#define MEDIALIST_SOUND_MOTION 9029
#define MEDIALIST_SOUND_START 9030
#define MEDIALIST_SOUND_RELEASE 9031
// The roll button's pictures: rolled down (roll up next), rolled up (roll down next), disabled.
#define MEDIALIST_ROLLUP_NORMAL 610
#define MEDIALIST_ROLLUP_PRESSED 609
#define MEDIALIST_ROLLDOWN_NORMAL 334
#define MEDIALIST_ROLLDOWN_PRESSED 337
#define MEDIALIST_ROLL_DISABLED 338

class CMediaListCtrl : public CFilmStripWnd {
public:
    // Roll states: none yet, rolled (or rolling) down, rolled (or rolling) up, stopped between.
    enum { rollNone = -1, rollDown = 0, rollUp = 1, rollStopped = 2 };
    enum { rowHeight = 32, tickPixels = 4, minColumnWidth = 44, timerInterval = 15 };

    CMediaListCtrl();
    ~CMediaListCtrl() override;

    // The child "Film strip scroll win" of the strip at (x, y): as wide as the roll button (at
    // least 44) and as high as the strip's client area below y.
    BOOL Create(CWnd* pParent, int x, int y) override;
    // Appends a thumbnail window (owned from now on) and grows the control by one row.
    BOOL AddItem(CObject* pItem, int nWidth, int nHeight) override;
    // Deletes every thumbnail; the roll is reset and the control empty.
    int RemoveAll() override;
    // Centres every thumbnail in the column at its row for the current offset, and the roll
    // button below the column.
    void LayoutItems();
    // Keeps the strip and starts from offset 0.
    void SetParentStrip(CWnd* pStrip);

    // Starts rolling towards the end of the column (up) or back to its start (down); nothing
    // when already there. Posts VLM_STOP_OFF (0, 1) to the main window.
    void RollUp();
    void RollDown();
    // Stops a running roll and rests the column on its 32-pixel grid, going back to the row it
    // left (state stopped between).
    void StopRolling();
    // Stops a running roll and shows the column from its start again, scroll buttons hidden.
    void ResetRoll();
    // One row towards the end (up) or the start (down), at once; FALSE when already there.
    BOOL StepUp();
    BOOL StepDown();

    // The roll button's reaction to a press (also for tests).
    void OnRollButton();

    int GetOffset() const { return m_nOffset; }
    int GetRollState() const { return m_nRollState; }
    void SetRollState(int nState) { m_nRollState = nState; }
    BOOL IsAtStart() const { return m_nOffset <= 0; }
    BOOL IsAtEnd() const { return m_nOffset >= rowHeight * m_nItemCount; }
    BOOL IsRolling() const { return m_nTimerId != 0; }
    int GetPending() const { return m_nRemainingSlide; }
    BOOL GetClickToggle() const { return m_bClickToggle; }
    CDibButton* GetRollButton() const { return m_pRollButton; }
    int GetRollButtonWidth() const { return m_nButtonWidth; }
    int GetRollButtonHeight() const { return m_nButtonHeight; }
    int GetColumnWidth() const;
    // Moves the thumbnails by dy pixels (negative: up) and changes the offset by -dy.
    void ScrollColumn(int dy);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnRollCommand();
    DECLARE_MESSAGE_MAP()

private:
    void StartRoll(int nPending);
    void EndRoll();
    void KillRollTimer();
    void TellStrip();
    void SetRollButtonLook(BOOL bRollDownNext);

    CWnd* m_pStrip = NULL;
    CDibButton* m_pRollButton = NULL;
    int m_nButtonWidth = 44;
    int m_nButtonHeight = 14;
    int m_nOffset = 0;
    int m_nRollState = rollNone;
    BOOL m_bClickToggle = FALSE;
};
