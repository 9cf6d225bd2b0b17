// The start-up main menu: the first window a reader sees. It fades a splash picture in and out,
// then fades in the menu picture with thirteen picture buttons; a click, a hidden button's
// command or a registered window message ("VL:MainMenu:...") from another program yields a
// choice code. Start-up waits for it (CMainMenuWnd::WaitForChoice) and hands it to the frame
// with VLM_MAIN_MENU_CHOICE; opened over the running frame (hosted), the menu hands the choice over itself.
//
// One menu exists at a time; its state is process-wide (MainMenuState). The named events
// "VLMainMenu:ButtonsExtant" (manual reset, set while the buttons can be chosen) and
// "VLMainMenu:ButtonsExtinct" (auto reset, pulsed when a choice ends the wait) tell other
// programs when the menu can be driven.
#pragma once

#include "base/VLMessages.h"
#include "shell/MenuPaletteDib.h"

#include <afxwin.h>

class CMainMenuWnd;

// Messages of the menu window: run the show step again; place the Homework Wizards face;
// nothing.
constexpr UINT WM_VL_MAINMENU_SHOWSTEP = 0xFB8;
constexpr UINT WM_VL_MAINMENU_SERVICESUP = 0x4F2;
constexpr UINT WM_VL_MAINMENU_NOTHING = 0x4F3;

constexpr int kMainMenuButtons = 13;
// The bitmaps of the menu that are not buttons' hover pictures.
constexpr UINT IDB_MENU_BACKGROUND = 8048;
constexpr UINT IDB_MENU_WIZARDS_FACE = 8180;
constexpr UINT IDB_MENU_UPDATE_FACE = 8189;
constexpr UINT IDB_MENU_BROWSE_CAPTION = 8277;
constexpr UINT IDB_MENU_SEARCH_CAPTION = 8274;

// One row of the menu's button table.
struct MAIN_MENU_ROW {
    UINT nId;             // the hidden push button's id (100 ...)
    LPCSTR pszCaption;    // its window text
    LPCSTR pszMessage;    // the registered message's name
    UINT nBitmap;         // hover picture; also the button's identity in hit tests
    int nCode;            // choice code
    POINT ptLayout[3];    // top-left per screen class
};
const MAIN_MENU_ROW* MainMenuRows();
// The registered message of a row (registered at first use, once).
UINT MainMenuMessage(int nRow);

// What the fades and the waits share while a menu exists.
struct MAIN_MENU_STATE {
    CMainMenuWnd* pMenu = NULL;
    int nChoice = 0;
    LPARAM lChoiceParam = 0;
    BOOL bSplashShowing = FALSE;
    BOOL bFadeRunning = FALSE;
    BOOL bSplashOver = FALSE;
    POINT ptSplash = {0, 0};
    // The platform version's high bit clear: palette fades set entries and repaint rather than
    // animate. Read once, with the rest of this state.
    BOOL bWindowsNT = (::GetVersion() & 0x80000000u) == 0;
    // Told the working colour table after every pass of a fade (diagnostics); NULL: none.
    void (*pfnFadePassObserver)(int nPass, const PALETTEENTRY* pEntries, int nCount) = NULL;
};
MAIN_MENU_STATE& MainMenuState();

// The menu window's title: "Main Menu " and the application name (others find it by it).
CString MainMenuTitle();

// Opens the menu (when none is up): created over the main window when there is one, centred,
// the show step run (splash, or the menu fading in), then nSteps stored as the fade-step count.
void ShowMainMenu(int nSteps, BOOL bHosted);
// Fades the splash out and frees it; then destroys the menu, or fades the menu in.
void DismissSplash(BOOL bDestroy);
// Fades the menu out (when not yet) and waits for the fade; destroys it when asked.
void CloseMainMenu(BOOL bDestroy);
// The menu's hand-over to the frame (NULL: none), the same at start-up and from the hosted menu:
// the frame shows its blank view, the menu fades out and goes, the frame shows the blank view
// again, painted, and then takes the choice.
void HandMenuChoiceToFrame(CWnd* pFrame, int nChoice, LPARAM lParam);
// The application's message filter's first step: nonzero when the menu consumed the message.
BOOL MainMenuPreTranslate(MSG* pMsg);
// Pumps messages (the menu's filter first) until GetTickCount passes now + dwMilliseconds.
void WaitPumpingMessages(DWORD dwMilliseconds);
BOOL IsMainMenuUp();
// While a fade runs, pumps messages for a second; returns whether a fade runs.
BOOL IsMenuAnimating();

class CMainMenuWnd : public CWnd {
public:
    CMainMenuWnd();
    ~CMainMenuWnd() override;

    // Waits (pumping) for a choice; resets ButtonsExtant and pulses ButtonsExtinct once one is
    // made. Returns the code and stores the parameter.
    int WaitForChoice(LPARAM* pParam);
    // The show step: black, shown; the splash fading in while the splash phase lasts; else the
    // menu fading in.
    void ShowSplash();
    // The hand-over in hosted mode (HandMenuChoiceToFrame with the menu's choice).
    void ChooseView();
    // The bitmap id of the first row (in row order) whose rectangle holds the client point; 0.
    UINT HitTest(CPoint point) const;
    void Highlight(UINT nBitmap);
    void RemoveHighlight();
    UINT GetHighlighted() const { return m_nHighlighted; }
    // Takes row nRow's choice (click, command or registered message). FALSE when ignored.
    BOOL Choose(int nRow);

    BOOL IsHosted() const { return m_bHosted; }
    void SetHosted(BOOL bHosted) { m_bHosted = bHosted; }
    int GetFadeSteps() const { return m_nFadeSteps; }
    void SetFadeSteps(int nSteps) { m_nFadeSteps = nSteps; }
    BOOL IsFadedOut() const { return m_bFadedOut; }
    BOOL IsAnimating() const { return m_bAnimating; }
    BOOL GetShowReminder() const { return m_bShowReminder; }
    void SetShowReminder(BOOL bShow) { m_bShowReminder = bShow; }
    int GetMonthsSinceUpdate() const { return m_nMonths; }
    CRect GetButtonRect(int nRow) const { return m_rows[nRow].rect; }
    CMenuPaletteDib* GetBackground() { return m_pBackground; }
    // The reminder's text ("You haven't updated in\n... .Click here to").
    CString ReminderText() const;

    // Fades the menu picture out over the fade-step count (CloseMainMenu's work).
    void FadeMenuOut();
    void FadeSplashOut();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg LRESULT OnShowStep(WPARAM, LPARAM);
    afx_msg LRESULT OnServicesUp(WPARAM, LPARAM);
    afx_msg LRESULT OnNothing(WPARAM, LPARAM);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    struct BUTTON_RECORD {
        CMenuPaletteDib* pHover = NULL;
        UINT nBitmap = 0;
        int nCode = 0;
        CRect rect;
    };
    void CreateButtons();
    void PlaceWizardsFace();
    // Copies an extra picture into the background at a point (8-bit pixels) and frees it.
    void CopyIntoBackground(CMenuPaletteDib*& pPicture, POINT pt);
    void RestoreCaptionStrip();
    // Redraws part of the background (client coordinates).
    void DrawBackgroundPart(CDC* pDC, const CRect& rect);
    void DrawReminder(CDC* pDC);
    BOOL PaletteDisplay();
    friend BOOL MainMenuPreTranslate(MSG* pMsg);
    friend void DismissSplash(BOOL bDestroy);

    int m_nScreenClass = 0;
    // The hidden push buttons (the system's: BM_CLICK and a click send WM_COMMAND BN_CLICKED to
    // the menu).
    CButton m_buttons[kMainMenuButtons];
    CMenuPaletteDib* m_pBackground = NULL;
    CMenuPaletteDib* m_pSplash = NULL;
    CMenuPaletteDib* m_pUpdateFace = NULL;
    CMenuPaletteDib* m_pWizardsFace = NULL;
    CMenuPaletteDib* m_pBrowseCaption = NULL;
    CMenuPaletteDib* m_pSearchCaption = NULL;
    CPoint m_ptBrowseCaption;
    CPoint m_ptSearchCaption;
    BUTTON_RECORD m_rows[kMainMenuButtons];
    UINT m_nHighlighted = 0;
    BOOL m_bFadedOut = TRUE;
    BOOL m_bAnimating = FALSE;
    int m_nFadeSteps = 30;
    BOOL m_bHosted = FALSE;
    int m_nMonths = -1;
    BOOL m_bShowReminder = FALSE;
};
