// CAtlasMainWin: the atlas, main view 8003 ("Atlas Main Window"): the earth in map pictures. It
// opens on the flat world map (3000732) with an introduction above it; a map's hot spots open
// other maps, and a row of buttons at the top right opens Map Search, the overlay control pad,
// the article about the shown map and the map one level up. Every map is a picture record
// (CGrfDocument) shown in a picture window (CGrfPictureWin), whose colours the view takes into
// its own palette. Each map shown is recorded in the frame's history as a CAtlasStateObj.
//
// Maps arrive through the frame: 0x401 with a reference (hot spots, Map Search, the overlay
// list, search results), 0x407 with a history state. The overlay chosen (number and name) and
// the shown map's overlay list are the atlas's shared values (CAtlasShared), which the control
// pad and its overlay list read.
#pragma once

#include "explore/AtlasControlPad.h"
#include "widgets/PaletteMainWin.h"

class CAtlasMapSearch;
class CAtlasDistanceCalculator;
class CAtlasStateObj;
class CGrfDocument;
class CGrfPictureWin;
class CReference;
class CRollOverButton;
class CStickyNoteWnd;

// The view's buttons and children, and the messages it answers besides the frame's.
enum : UINT {
    IDC_ATLAS_OVERLAYS = 11021,
    IDC_ATLAS_ARTICLE = 11023,
    IDC_ATLAS_MAP_SEARCH = 11024,
    IDC_ATLAS_STICKY_COMMAND = 11027,
    IDC_ATLAS_PRINT = 11028,
    IDC_ATLAS_STICKY_ICON = 11036,
    IDC_ATLAS_DISTANCE = 11047,
    IDC_ATLAS_ZOOM_OUT = 11071,
    VLM_ATLAS_ZOOM_OUT = 0x423,  // (0, 0): the map one level up
};

class CAtlasMainWin : public CPaletteMainWin {
    DECLARE_DYNAMIC(CAtlasMainWin)
public:
    enum : LONG { kWorldMap = 3000732 };
    // The buttons in the row's order from the right.
    enum Button { btnDistance, btnMapSearch, btnArticle, btnOverlays, btnZoomOut, kButtonCount };
    // Show modes: nothing over the map, Map Search shown, the Distance Calculator shown.
    enum { kShowMap = 0, kShowMapSearch = 1, kShowDistance = 6 };
    // The cream ground of the view and of the picture window, and the picture window's second
    // colour.
    static constexpr COLORREF kCream = 0x02E7FFFF;
    static constexpr COLORREF kMapSecond = 0x026CB0C3;

    CAtlasMainWin();
    // Deletes the shared overlay list, the picture window, the document, the reference and Map
    // Search.
    ~CAtlasMainWin() override;

    // Creates the view window "Atlas Main Window" with id 8003 over the rectangle.
    BOOL Create(CWnd* pParent, const RECT& rect);

    // ---- CVLMainWin ----
    // Prints the shown map through its picture window.
    void OnFilePrint() override;
    // The tools-enabled flag.
    BOOL CanPrint() override;
    // Copies the map's picture when its record allows copying.
    void OnEditCopy() override;
    void OnUpdateEditCopy(CCmdUI* pCmdUI) override;
    void OnActivateMainWin(BOOL bActive) override;
    // Records the shown map in the history and asks the frame to show the atlas; with lParam
    // (the main menu's flag) not 0 Map Search opens as well.
    void ShowMainWindow(UINT nID, LPARAM lParam) override;

    // ---- what the frame asks ----
    // SC_MINIMIZE while the atlas is current: the rectangles of Map Search and of the picture
    // are kept so that the next layout puts them back.
    void RememberChildWindows(int nRemember);
    int m_nRemembered = 0;  // the last such request (1: the rectangles were kept)
    // The frame's WM_ACTIVATE sets the flag while the atlas is current: the pad (the overlay
    // child) realises its palette again when it next paints.
    CWnd* m_pOverlayWnd = NULL;
    int m_nOverlayFlag = 0;

    // ---- operations ----
    // Shows another map (the view takes the reference over).
    void SwitchToMap(CReference* pReference);
    // Shows nothing over the map (0) or Map Search (1).
    void ShowMode(int nMode);
    // Map Search's button: hides a shown Map Search, else shows it (made on first use).
    void OpenMapSearch();
    // The Distance Calculator's button: hides a shown calculator, else shows it (made on first
    // use).
    void OpenDistanceCalculator();
    void ZoomOut();
    void OpenArticle();
    void ToggleControlPad();

    // ---- parts, for the frame and tests ----
    LONG GetMapNumber() const { return m_nMapNumber; }
    const CString& GetMapTitle() const { return m_strMapTitle; }
    CGrfDocument* GetDocument() const { return m_pDocument; }
    CReference* GetReference() const { return m_pReference; }
    CGrfPictureWin* GetPictureWin() const { return m_pPictureWin; }
    CAtlasMapSearch* GetMapSearch() const { return m_pMapSearch; }
    CAtlasDistanceCalculator* GetDistanceCalculator() const { return m_pDistCalc; }
    CAtlasControlPad& GetControlPad() { return m_wndPad; }
    CRollOverButton* GetButton(Button n) const { return m_pButtons[n]; }
    CStatic* GetStickyIcon() const { return m_pStickyIcon; }
    CStickyNoteWnd* GetStickyWnd() const { return m_pStickyWnd; }
    BOOL AreToolsEnabled() const { return m_bToolsEnabled; }
    BOOL IsFlatMap() const { return m_nMapNumber == kWorldMap; }
    const CString& GetIntroText() const { return m_strIntro; }
    // The measured introduction text and the top of the map area.
    const CRect& GetIntroRect() const { return m_rcIntro; }
    int GetMapAreaTop() const { return IsFlatMap() ? m_nIntroBottom : m_nButtonBottom; }
    int GetScreenClass() const { return m_nScreenClass; }

    // ---- the layout's rules (client coordinates) ----
    // The introduction's font height, its rectangle's left/top and the most its right edge may
    // reach, by screen class.
    static int IntroFontHeight(int nClass);
    static CPoint IntroOrigin(int nClass);
    static int IntroMaxRight(int nClass);
    // Where the picture goes: its size within the space below the map-area top, centred on the
    // flat map, 10 pixels from the right edge on others (never left of the client's left edge),
    // centred vertically in the space.
    static CRect PlacePicture(const CRect& rcClient, int nMapTop, CSize sizePicture, BOOL bFlatMap);
    // Where Map Search goes. rcCurrent is its present rectangle when it was placed before (else
    // empty); nPadWidth the width of the control pad when the pad shows on the flat map (else 0).
    static CRect PlaceMapSearch(const CRect& rcClient, int nRowBottom, int nClass, const CRect& rcRemembered,
                                const CRect& rcCurrent, int nPadWidth);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnOverlaysButton();
    afx_msg void OnZoomOutButton();
    afx_msg void OnMapSearchButton();
    afx_msg void OnDistanceButton();
    afx_msg void OnArticleButton();
    afx_msg void OnPrintCommand();
    afx_msg void OnStickyCommand();
    afx_msg LRESULT OnStickyMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTogglePad(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnZoomOutMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenMap(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRestoreState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDataLocation(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRefreshTools(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStickyPresent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void MeasureIntro(CDC* pDC, int cx);
    void PlaceButtons(int cx);
    void PlacePictureWin();
    void PlaceStickyIcon();
    void PlaceMapSearch();
    void PlaceDistanceCalculator();
    void PaintIntro(CDC* pDC);
    // Makes the picture window for the shown document and takes its colours into the palette.
    void CreatePictureWin();
    void DestroyPictureWin(BOOL bPaintOver);
    // Makes Map Search the first time; FALSE (after the message) when it cannot be had.
    BOOL EnsureMapSearch();
    void RefreshTools();
    void RefreshSticky();
    // A new state of the shown map with the shared overlay goes to the history (with wParam);
    // the shared overlay number is 0 afterwards.
    void RecordState();
    // Asks the frame to show the atlas.
    void AskToBeShown();

    CRollOverButton* m_pButtons[kButtonCount] = {};
    CString m_strIntro;
    CRect m_rcIntro;
    int m_nIntroBottom = 0;
    int m_nButtonBottom = 0;
    CGrfDocument* m_pDocument = NULL;
    CReference* m_pReference = NULL;
    LONG m_nMapNumber = 0;
    CString m_strMapTitle;
    CGrfPictureWin* m_pPictureWin = NULL;
    CAtlasMapSearch* m_pMapSearch = NULL;
    BOOL m_bMapSearchPlaced = FALSE;
    CAtlasDistanceCalculator* m_pDistCalc = NULL;
    BOOL m_bDistCalcWasVisible = FALSE;
    CAtlasControlPad m_wndPad;
    CStickyNoteWnd* m_pStickyWnd = NULL;
    CStatic* m_pStickyIcon = NULL;
    BOOL m_bHasNote = FALSE;
    BOOL m_bToolsEnabled = TRUE;
    int m_nScreenClass = 0;
    CFont m_fontIntro;
    int m_nIntroFontClass = -1;
    CRect m_rcMapSearch{0, 0, 235, 330};
    CRect m_rcPicture;
    CRect m_rcSavedMapSearch;
    BOOL m_bSavedMapSearch = FALSE;
    CRect m_rcSavedPicture;
    BOOL m_bSavedPicture = FALSE;
    CSize m_sizeLast{-1, -1};
};
