// CAtlasMapSearch: the atlas's Map Search panel. The reader types the beginning of a place name
// under "ENTER LOCATION"; when typing pauses (300 ms after the last key, timer 11040) the
// alphabetical place list (CAtlasVirtualList in a CAtlasTreeControl) scrolls the first match to
// its top. Enter, or a click in the list, opens the map that shows the place: the top-level
// window gets 0x401 for the atlas (8003) with a new CReference of the map's number whose data is
// a CHitList with the place's hit (section, offset, length), which marks it on the map.
//
// The panel is made once by the atlas (child id 11032, caption picture 443) and then hidden and
// shown. While the atlas is not shown, ViewHidden lets go of the list's files and ViewShown opens
// them again. Construction throws the list's CUserException when the place files are missing.
#pragma once

#include "explore/AtlasEditMapSearch.h"
#include "widgets/GenericTabWin.h"

class CAtlasTreeControl;
class CAtlasVirtualList;

// Ids of the panel, its controls and its timer; the atlas button whose pressed look the panel
// releases when it closes.
enum : UINT {
    IDW_ATLAS_MAP_SEARCH = 11032,
    IDC_MAP_SEARCH_EDIT = 11033,
    IDC_MAP_SEARCH_CLOSE = 11034,
    IDC_MAP_SEARCH_LIST = 11035,
    IDT_MAP_SEARCH_TYPING = 11040,
    IDC_ATLAS_MAP_SEARCH_BUTTON = 11024,
    IDB_MAP_SEARCH_CAPTION = 443,
};

class CAtlasMapSearch : public CGenericTabWin {
    DECLARE_DYNAMIC(CAtlasMapSearch)
public:
    enum {
        kTypingDelay = 300,   // ms after the last key
        kMaxLookUp = 100,     // characters of the edit text that are looked up
        kListTop = 52,        // the height reserved above the list
    };

    // Opens the place list (throws CUserException when it cannot).
    CAtlasMapSearch();
    // Kills a pending timer, then destroys the list data, the list window and the edit box.
    ~CAtlasMapSearch() override;

    // Creates the panel "Map Search" over the rectangle (parent client coordinates).
    BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID = IDW_ATLAS_MAP_SEARCH);
    // Places the edit box and the list in the client area.
    void LayOut();
    // Gives the edit box the focus.
    void FocusEdit();
    // The atlas is hidden or shown again: the list's files are let go of and opened again.
    void ViewHidden();
    void ViewShown();

    // Looks the edit text up now (a pending type-ahead timer is killed) and scrolls the row
    // found to the top; the row, 0 when the list has none.
    long LookUp();
    // Opens the place of the current row (else of the row the last look-up found); FALSE when
    // there is none or the message could not be posted.
    BOOL OpenCurrentPlace();

    CAtlasEditMapSearch& GetEdit() { return m_wndEdit; }
    CAtlasTreeControl* GetList() const { return m_pList; }
    CAtlasVirtualList* GetData() const { return m_pData; }
    BOOL IsTypingTimerSet() const { return m_nTimer != 0; }
    BOOL AreFilesOpen() const { return m_bFilesOpen; }
    const CRect& GetTreeFrame() const { return m_rectTree; }

    // The panel's ground is white (its client area); its further colour is palette index 11.
    COLORREF GetAccentColor() override { return 0x0100000B; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClose();
    afx_msg void OnCloseButton();
    afx_msg void OnListChosen();
    DECLARE_MESSAGE_MAP()

private:
    void KillTypingTimer();

    CAtlasEditMapSearch m_wndEdit;
    CAtlasVirtualList* m_pData = NULL;
    CAtlasTreeControl* m_pList = NULL;
    CRect m_rectTree;
    int m_nListTop = kListTop;
    UINT_PTR m_nTimer = 0;
    long m_nFoundRow = 0;  // the row the last look-up found (0: none)
    BOOL m_bFilesOpen = TRUE;
};
