// CAtlasDistanceCalculator: the atlas's Distance Calculator panel (child id 11052, named
// "Distance Calculator"). The reader picks two places, each from its own alphabetical place list
// (CAtlasDistCalcVirtualList in a CAtlasTreeControl, typed ahead from the place's edit box), sees
// both marked on a globe that turns to lie between them and on a flat inset map joined by the
// route, and reads the great-circle distance in miles and kilometres (CAtlasDistance). While no
// place is chosen the globe spins west. Every animation stops when the panel is hidden (0x438).
#pragma once

#include "explore/AtlasDistCalcEditBox.h"
#include "explore/Globe.h"
#include "widgets/Dib.h"
#include "widgets/GenericTabWin.h"

class CAtlasDistCalcVirtualList;
class CAtlasTreeControl;

enum : UINT {
    IDW_ATLAS_DISTANCE_CALCULATOR = 11052,
    IDC_DISTCALC_EDIT1 = 11053,
    IDC_DISTCALC_EDIT2 = 11054,
    IDC_DISTCALC_CLEAR1 = 11055,
    IDC_DISTCALC_CLEAR2 = 11056,
    IDC_DISTCALC_SHOW1 = 11057,
    IDC_DISTCALC_SHOW2 = 11058,
    IDC_DISTCALC_LISTBTN1 = 11059,
    IDC_DISTCALC_LISTBTN2 = 11060,
    IDT_DISTCALC_RING = 11061,
    IDT_DISTCALC_TYPING1 = 11063,
    IDT_DISTCALC_TYPING2 = 11064,
    IDC_DISTCALC_LIST1 = 11065,
    IDC_DISTCALC_LIST2 = 11066,
    IDT_DISTCALC_SPIN = 11067,
    IDT_DISTCALC_BLINK = 11068,
    IDC_DISTCALC_CLOSE = 11069,
    IDB_DISTCALC_CAPTION = 442,
    IDB_DISTCALC_GLOBE_MAP = 240,
    IDB_DISTCALC_INSET = 445,
};

class CAtlasDistanceCalculator : public CGenericTabWin {
    DECLARE_DYNAMIC(CAtlasDistanceCalculator)
public:
    enum {
        kTimerDelay = 300,  // typing, the ring, spinning
        kBlinkDelay = 900,
        kMaxLookUp = 100,
        kSpinStep = 6,
        kMinWidth = 440,
        kMinHeight = 340,
    };
    // A chosen (or pointed-at) place.
    struct Place {
        CString strName;
        CString strCoordinates;
        double dLatitude = 0.0;
        double dLongitude = -45.0;
        long nMap = 0;
        long nHit[3] = {0, 0, 0};
        BOOL bMarker = FALSE;
    };

    // Opens both place lists (throws CUserException when they cannot be opened).
    CAtlasDistanceCalculator();
    ~CAtlasDistanceCalculator() override;

    BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID = IDW_ATLAS_DISTANCE_CALCULATOR);
    // The panel's size for a screen class (0..2).
    static CSize PanelSize(int nClass);

    // The atlas is shown again or hidden: the lists' files are opened again or let go of.
    void Restart();
    void Stop();
    // The frame was minimised while the atlas was current.
    void SetMinimised(BOOL bMinimised) { m_bMinimised = bMinimised; }
    BOOL IsMinimised() const { return m_bMinimised; }
    // Restores two places from a saved block (name and coordinate text of each).
    void Restore(const CString& strName1, const CString& strCoords1, const CString& strName2, const CString& strCoords2);

    // Chooses the current entry of a place's list (1 or 2), as a double click or Enter does.
    BOOL ChoosePlace(int nPlace);
    // Looks a place's edit text up in its list now; the row found (0: none).
    long LookUp(int nPlace);
    // Forgets a place.
    void ClearPlace(int nPlace);
    // Opens a place's map with the place marked (0x401 to the top-level window).
    BOOL ShowPlaceOnMap(int nPlace);
    // Shows or hides a place's list.
    void ToggleList(int nPlace);
    // Stops spinning, the timers and a running turn.
    void StopAnimations();
    void StopSpinning();
    // Spins the globe again while no place is chosen (the panel is shown).
    void StartSpinning();

    // ---- parts, for the atlas and tests ----
    const Place& GetPlace(int nPlace) const { return m_places[nPlace == 2 ? 1 : 0]; }
    long GetMiles() const { return m_nMiles; }
    long GetKilometres() const { return m_nKilometres; }
    BOOL AreBothChosen() const { return m_bBothChosen; }
    CString GetMilesText() const;
    CString GetKilometresText() const;
    int GetTilt() const { return m_nTilt; }
    int GetTurn() const { return m_nTurn; }
    BOOL IsSpinning() const { return m_bSpinning; }
    BOOL IsTimerSet(UINT nTimer) const;
    int GetForLocationNumber() const { return m_ForLocationNumber; }
    CAtlasDistCalcEditBox& GetEdit(int nPlace) { return nPlace == 2 ? m_wndEdit2 : m_wndEdit1; }
    CAtlasTreeControl* GetList(int nPlace) const { return m_pLists[nPlace == 2 ? 1 : 0]; }
    CAtlasDistCalcVirtualList* GetData(int nPlace) const { return m_pData[nPlace == 2 ? 1 : 0]; }
    CGlobe& GetGlobe() { return m_globe; }
    const CRect& GetGlobeRect() const { return m_rcGlobe; }
    const CRect& GetInsetRect() const { return m_rcInset; }
    int GetInsetRoll() const { return m_nInsetRoll; }

    COLORREF GetAccentColor() override { return 0x02C0C0C0; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnClear1();
    afx_msg void OnClear2();
    afx_msg void OnShow1();
    afx_msg void OnShow2();
    afx_msg void OnListButton1();
    afx_msg void OnListButton2();
    afx_msg void OnList1Chosen();
    afx_msg void OnList2Chosen();
    afx_msg void OnCloseButton();
    afx_msg LRESULT OnEditKey(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEditFocus(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStopMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    Place& PlaceOf(int nPlace) { return m_places[nPlace == 2 ? 1 : 0]; }
    void ComputeDistance();
    void LayOut(int cx, int cy);
    // Turns the globe to lie between the two places (or back to the default view).
    void TurnGlobe();
    void RenderGlobe();
    void SetPanelTimer(UINT nTimer, UINT nDelay, const char* pszFailure);
    void KillPanelTimer(UINT nTimer);
    void DrawMarkers(CDC* pDC);
    void DrawInset(CDC* pDC);

    CAtlasDistCalcVirtualList* m_pData[2] = {NULL, NULL};
    CAtlasTreeControl* m_pLists[2] = {NULL, NULL};
    CAtlasDistCalcEditBox m_wndEdit1{1};
    CAtlasDistCalcEditBox m_wndEdit2{2};
    CButton* m_pButtons[6] = {};
    CGlobe m_globe;
    CDib m_inset;
    CPalette* m_pPalette = NULL;
    CRect m_rcGlobe;
    CRect m_rcOuter;
    CRect m_rcInset;
    CSize m_sizeInset{181, 90};
    CSize m_sizeLast{0, 0};
    int m_nRing = 0;
    int m_nInsetRoll = 0;
    Place m_places[2];
    long m_nMiles = 0;
    long m_nKilometres = 0;
    BOOL m_bBothChosen = FALSE;
    int m_nTilt = 0;
    int m_nTurn = -45;
    int m_ForLocationNumber = 1;
    BOOL m_bSpinning = TRUE;
    BOOL m_bRunning = FALSE;
    BOOL m_bMinimised = FALSE;
    BOOL m_bBlinkOn[2] = {FALSE, FALSE};
    UINT m_nTimersSet = 0;  // bit (timer - 11061) per timer that is set
};
