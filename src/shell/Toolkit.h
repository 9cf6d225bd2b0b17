// CToolkit: the Tool Kit, a narrow panel that slides down out of the toolbar's Tool Kit button
// and offers four tools for the view on screen: Print, Sticky Note, Highlighter and Homework
// Wizards. It is a film strip whose items are four CTKRollOverButton buttons stacked above its
// client area; sliding grows the panel 16 pixels per tick of a 15 ms media timer while its
// contents scroll down by as much, and the reverse. The toolbar owns it; the views enable its
// tools, switch the Highlighter's tip and collapse it when they change.
//
// Print and Sticky Note pressed while the panel moves are kept and run once the slide ends.
// While any slide runs, no tip shows.
#pragma once

#include "widgets/FilmStripWnd.h"
#include "widgets/MediaTimer.h"
#include "widgets/RollOverButton.h"

class CTipWnd;
class CVLToolbar;

// A Tool Kit button: a roll-over button with a tip beside it while the cursor is over it.
class CTKRollOverButton : public CRollOverButton {
public:
    CTKRollOverButton();
    ~CTKRollOverButton() override;

    // Makes the tip (owned by the button): its left at x and its top at (height - tip height) / 2
    // relative to the button; then places it beside the button.
    void SetTip(LPCSTR lpszText, int x, int nHeight);
    // Deletes the old tip, then SetTip.
    void ReplaceTip(LPCSTR lpszText, int x, int nHeight);
    CTipWnd* GetTip() const { return m_pTip; }
    // Shows the tip beside the button (not activated) when the button is hovered, not pressed and
    // no slide runs; hides it otherwise.
    void UpdateTip(BOOL bPressed);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    afx_msg void OnMove(int x, int y);
    DECLARE_MESSAGE_MAP()

private:
    CTipWnd* m_pTip = NULL;
    CPoint m_ptTip;
    CSize m_sizeTip;
};

class CToolkit : public CFilmStripWnd {
public:
    // The tools' control ids.
    enum { idStickyNote = 2, idPrint = 3, idWizard = 4, idHighlighter = 5 };

    CToolkit();
    ~CToolkit() override;

    // A visible, topmost child of the main window at (x, y), as wide as the screen class asks
    // (38, 42, 51) and 0 high; the toolbar places it afterwards.
    BOOL Create(CWnd* pParent, int x, int y) override;
    // Slides in (state 1 to 0, the toolbar's button released at once) or out (from -1 or 0).
    void ToggleSlide();
    // Releases the toolbar's Tool Kit button; an open panel goes back to 0 high at once.
    void CollapseToolkit();
    void SlideIn() override;
    void SlideOut() override;
    void EnableTools(BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember);
    void SetHighlighterState(BOOL bOn);
    // Appends a button (owned from now on) and places it above the ones before it.
    BOOL AddButton(CTKRollOverButton* pButton, int nHeight);

    // The toolbar whose Tool Kit button the panel releases (NULL: none).
    void SetToolbar(CVLToolbar* pToolbar) { m_pToolbar = pToolbar; }
    CTKRollOverButton* GetTool(int nID) const;
    // -1 never opened, 0 in, 1 out.
    int GetState() const { return m_nSlideState; }
    BOOL IsMoving() const { return m_bMoving; }
    BOOL IsHighlighterOn() const { return m_bHighlighterOn; }
    BOOL IsPrintPending() const { return m_bPendingPrint; }
    BOOL IsStickyPending() const { return m_bPendingSticky; }
    const MediaTimer& GetTimer() const { return m_timer; }
    // The tools' enable states last stored by EnableTools (print, sticky, highlighter, wizard).
    const BOOL* GetRememberedTools() const { return m_bRemembered; }
    // The panel width of a screen class.
    static int PanelWidth(int nScreenClass);
    // TRUE while any Tool Kit slide runs (tips stay hidden).
    static BOOL IsSliding();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnMediaTick(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPrint();
    afx_msg void OnStickyNote();
    afx_msg void OnHighlighter();
    afx_msg void OnWizard();
    DECLARE_MESSAGE_MAP()

    // One slide step; at a remaining distance of 0 the slide ends. TRUE when the slide ended.
    BOOL SlideStep();

private:
    // Starts the media timer for a slide; FALSE when the system refuses it.
    BOOL StartSlide();
    void EndSlide();
    // Runs a Print, then a Sticky Note, pressed while the panel moved.
    void RunPendingTools();
    void ReleaseToolbarButton();
    BOOL ToolEnabled(int nID) const;
    void RunPrint();
    void RunStickyNote();
    // Sets the panel's height (its top stays).
    void SetPanelHeight(int nHeight);

    CVLToolbar* m_pToolbar = NULL;
    MediaTimer m_timer;
    BOOL m_bMoving = FALSE;
    BOOL m_bPendingPrint = FALSE;
    BOOL m_bPendingSticky = FALSE;
    BOOL m_bHighlighterOn = FALSE;
    BOOL m_bRemembered[4] = {TRUE, TRUE, TRUE, TRUE};
    // Where the next button goes: above the last one (0 and decreasing).
    int m_nNextTop = 0;
};
