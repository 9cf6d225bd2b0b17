// CInstructionWnd: the media browser's small help panel "INSTRUCTIONS": a floating tab panel with
// four radio-style tab buttons along its top (BUBBLE VIEWS, SOUNDS, VIDEO, PICTURES) and a
// scrolling text box below them that shows how to use that kind of media. PICTURES is shown
// first.
#pragma once

#include "widgets/GenericTabWin.h"

class CMiniArtThumb;
class CDibButton;

// The page commands (also the tab buttons' control ids). The animation and simulation commands
// have no button and do nothing.
#define INSTRUCT_CMD_ANIMATIONS 29465
#define INSTRUCT_CMD_SIMULATIONS 29466
#define INSTRUCT_CMD_BUBBLES 29467
#define INSTRUCT_CMD_SOUNDS 29468
#define INSTRUCT_CMD_VIDEO 29469
#define INSTRUCT_CMD_PICTURES 29470

// The tab indicator pictures: not chosen, chosen.
#define INSTRUCT_TAB_PICTURE 580
#define INSTRUCT_TAB_PICTURE_CHOSEN 581

#define INSTRUCT_CREATE_FAILED "Unable to create Instruction Window"

// The VIDEO page.
extern const char g_szInstructVideoText[];

class CInstructionWnd : public CGenericTabWin {
public:
    CInstructionWnd();
    // Deletes the text box, the tab buttons and the font.
    ~CInstructionWnd() override;

    // Creates the panel at (x, y): the width of the screen class, the height of the class or down
    // to 12 pixels above the parent's client bottom, whichever is less. FALSE when the window
    // cannot be made.
    BOOL Create(LPCSTR lpszTitle, int x, int y, CWnd* pParent, UINT nID);
    using CGenericTabWin::Create;

    // Window width and height for a screen class (0, 1, 2).
    static int WindowWidth(int nScreenClass);
    static int WindowHeight(int nScreenClass);

    // Chooses a tab and shows its page (the page commands).
    void ShowPage(UINT nCommand);
    const CString& GetPageText() const { return m_strPageText; }
    CMiniArtThumb* GetTextBox() const { return m_pTextBox; }
    // The tab button of a page command, or NULL.
    CDibButton* GetTabButton(UINT nCommand) const;
    const CRect& GetTextArea() const { return m_rectText; }
    const CRect& GetTabArea() const { return m_rectTabs; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnPageCommand(UINT nID);
    afx_msg LRESULT OnRadioChecked(WPARAM wParam, LPARAM lParam);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg LRESULT OnChildActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The text of a page command ("" for the commands without a page).
    static CString PageText(UINT nCommand);
    void DeleteChildren();
    // Tells the current view that the panel was shown (1) or hidden (0).
    void PostShown(BOOL bShown);

    CMiniArtThumb* m_pTextBox = NULL;
    CDibButton* m_pVideoTab = NULL;
    CDibButton* m_pBubblesTab = NULL;
    CDibButton* m_pSoundsTab = NULL;
    CDibButton* m_pPicturesTab = NULL;
    CBrush m_brush;
    CRect m_rectTabs{0, 0, 0, 0};
    CRect m_rectText{0, 0, 0, 0};
    CString m_strPageText;
    CFont* m_pTabFont = NULL;
    CSize m_sizeLast{-1, -1};
};
