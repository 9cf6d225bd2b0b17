// CReferenceTabWin: a floating tab panel that lists content items and opens the one the reader
// picks. Two lists stand behind a pair of radio buttons: "CURRENT", the references handed to the
// panel (the media of the article or list the reader came from), and "ALL MEDIA", the browse list
// of every media item on the disc (BrowseMediaVirtualListBox). An item opens by a message posted
// to the main window: maps in the atlas, articles and tables in the article view, media in the
// media view (a new CMediaDisplayRef).
#pragma once

#include "widgets/GenericTabWin.h"

#include <commctrl.h>

class BrowseMediaVirtualListBox;
class CRadioButton;
class CReference;
class CReferenceList;
class CVLListWindow;

// Control ids of the panel's lists and radio buttons (all below 65536).
#define REFTAB_LIST_ID 16000
#define REFTAB_BROWSE_ID 16002
#define REFTAB_ALLMEDIA_ID 16003
#define REFTAB_CURRENT_ID 16004
// The browse list's notice to its parent (0, RIN of the chosen item).
#define VLM_BROWSE_CHOSEN 0x97A

class CReferenceTabWin : public CGenericTabWin {
    DECLARE_DYNAMIC(CReferenceTabWin)
public:
    enum { captionHeight = 36 };

    CReferenceTabWin();
    // Deletes the lists and the radio buttons.
    ~CReferenceTabWin() override;

    // The panel at (x, y) in the parent, the width and height of the screen class (cut to 12
    // pixels above the parent's client bottom). FALSE when it cannot be made.
    BOOL Create(LPCSTR lpszName, int x, int y, CWnd* pParent, UINT nID);
    using CGenericTabWin::Create;
    static CSize PanelSize(int nScreenClass);

    // Fills the CURRENT list with the references (borrowed: the list must outlive the items);
    // NULL leaves it as it is.
    void FillList(CReferenceList* pReferences);
    // 1 shows ALL MEDIA, anything else CURRENT.
    void SelectFilter(int n);
    BOOL IsAllMediaChecked() const;
    // Activation (the panel's WM_CHILDACTIVATE): with items in the CURRENT list and CURRENT not
    // checked, CURRENT is checked, ALL MEDIA unchecked, and the panel shows the CURRENT list.
    void ActivateTab();

    // The image of a reference kind in the CURRENT list (0 none).
    static UINT ImageOfKind(LONG nKind);
    // Opens a reference (borrowed) by its kind: the view id the message went to, 0 for nothing.
    UINT OpenReference(CReference* pReference, LPCSTR lpszText);

    // The map title and pending flag the atlas reads when it opens a map chosen here.
    static const CString& GetPendingMapTitle();
    static BOOL IsMapPending();
    static void ClearPendingMap();

    CVLListWindow* GetList() const { return m_pList; }
    BrowseMediaVirtualListBox* GetBrowseList() const { return m_pBrowse; }
    CRadioButton* GetAllMediaButton() const { return m_pAllMedia; }
    CRadioButton* GetCurrentButton() const { return m_pCurrent; }

protected:
    // Where new items go in the CURRENT list (TVI_LAST; the media list tab sorts).
    HTREEITEM m_hInsertAfter;
    LONG m_nListValue = 0;

    CRect ListRect() const;
    void PlaceLists();
    void Refresh();
    // Opens the current item of the CURRENT list or the browse list.
    void OpenCurrentItem();
    void OpenBrowseItem(LONG nRin);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnRadio(UINT nID);
    afx_msg void OnListNotify(NMHDR* pNotify, LRESULT* pResult);
    afx_msg LRESULT OnBrowseChosen(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRefresh(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnChildActivate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CVLListWindow* m_pList = NULL;
    BrowseMediaVirtualListBox* m_pBrowse = NULL;
    CRadioButton* m_pAllMedia = NULL;
    CRadioButton* m_pCurrent = NULL;
    BOOL m_bLayoutChanged = TRUE;
};
