// CTimeMachineWnd ("TimeMachine"): the Dido Dovov's control panel, floating at the top left of
// the view over the thumbnail grid. The reader sets a four-digit year with the arrows, a span
// (Year, Decade, Century, Millennium) or the Era mode, A.D. or B.C. and a subject category, and
// presses the search button. The panel turns the choice into a selection code (A199#D), runs it
// as a word of the word index, keeps the hits of the last code and filters them by the
// category's bit, and hands the result to the thumbnail view. In Era mode it lists the items of
// one era of the eras file instead. The code comes back from the history and from "tf:" links
// (ApplyCode), read back into the panel's settings.
//
// A search inside the view hides the panel, which floats over the grid's first cells; the
// status strip's button brings it back.
//
// Every search records one history state: VLM_PUSH_STATE to the top-level frame with a new
// CTFStateObj, wParam VLM_RESTORE_STATE when the search came from a restore.
//
// The drop lists of the category and era choices are windows of the panel's parent (they hang
// below the panel); the parent passes their notifications (WM_COMMAND with ids 19009 and 19010)
// back to the panel.
#pragma once

#include "explore/ErasFile.h"
#include "explore/TimeFrameChoiceWnd.h"
#include "explore/TimeFrameSelection.h"
#include "widgets/DateCtrl.h"
#include "widgets/DibButton.h"
#include "widgets/VLListWindow.h"

#include <afxwin.h>

class CReferenceList;
class CThumbView;
class CTimeStatWnd;

#define TM_ID_ERA 19002
#define TM_ID_CATEGORY_BUTTON 19003
#define TM_ID_SEARCH 19004
#define TM_ID_MILLENNIUM 19005
#define TM_ID_CENTURY 19006
#define TM_ID_DECADE 19007
#define TM_ID_YEAR 19008
#define TM_ID_ERA_LIST 19009
#define TM_ID_CATEGORY_LIST 19010
#define TM_ID_AD 19011
#define TM_ID_BC 19012
#define TM_ID_ERA_FACE 19017
#define TM_ID_CATEGORY_FACE 19018
#define TM_ID_DATE 19019
#define TM_ID_PICTURE 19020
#define TM_ID_UP 19032
#define TM_ID_DOWN 19033
#define TM_ID_STATUS 19034
#define TM_BACKGROUND_BITMAP 541
#define TM_REPEAT_TIMER 1
#define TM_REPEAT_MS 100
#define TM_REPEAT_DELAY 8  // ticks before a held arrow repeats
#define TM_NO_ERA "None Selected"
#define TM_NO_ERAS "No ERAs"
#define TM_START_TITLE "Dido Dovov"

class CTimeMachineWnd : public CWnd {
    DECLARE_DYNAMIC(CTimeMachineWnd)
public:
    CTimeMachineWnd();
    ~CTimeMachineWnd() override;
    CTimeMachineWnd(const CTimeMachineWnd&) = delete;
    CTimeMachineWnd& operator=(const CTimeMachineWnd&) = delete;

    // The panel at a point of its parent, as big as its background picture (541), with its
    // controls and drop lists; reads the eras file.
    BOOL Create(LPCSTR lpszName, DWORD dwStyle, CPoint ptAt, CWnd* pParentWnd, UINT nID);
    // Where the results and the status go (borrowed; either may be NULL).
    void SetViews(CThumbView* pThumbView, CTimeStatWnd* pStatWnd);

    // Reads a selection code into the panel and searches. nOrigin VLM_RESTORE_STATE marks a
    // restore from the history. An empty code searches in Era mode. A text that is no code
    // changes nothing and searches nothing (FALSE).
    BOOL ApplyCode(LPCSTR lpszCode, UINT nOrigin);
    // The search button's action.
    void Search();

    void SetMillennium() { SetSpanMode(TF_MODE_MILLENNIUM); }
    void SetCentury() { SetSpanMode(TF_MODE_CENTURY); }
    void SetDecade() { SetSpanMode(TF_MODE_DECADE); }
    void SetYear() { SetSpanMode(TF_MODE_YEAR); }
    void SetEraMode();
    void SetAD() { SetEra(TRUE); }
    void SetBC() { SetEra(FALSE); }

    // The drop lists: toggled by their faces, closed by a press elsewhere.
    void ToggleCategoryList();
    void ToggleEraList();
    void CloseDropLists();
    // A row chosen in a list (the value of the row).
    void ChooseCategory(int nCategory);
    void ChooseEra(int nEra);
    BOOL IsCategoryListOpen() const { return m_bCategoryOpen; }
    BOOL IsEraListOpen() const { return m_bEraOpen; }

    // One step of the arrows at the span's digit: +1 or -1, with carry and borrow.
    void StepDigit(int nDirection);

    // The current record, and a record to take over whole (the faces follow it).
    const TimeFrameSelection& GetSelection() const { return m_selection; }
    void SetSelection(const TimeFrameSelection& selection);
    // Back to the welcome page's settings: Year mode, the window text cleared; shown.
    void ReturnToWelcome();
    // Writes span, title and category into the status strip (button 19034).
    void RefreshStatus();
    // After a search the panel hides so that the grid shows whole, and the strip's button
    // (19031) offers it again; ComeBack shows it on top and hides that button.
    void StepAside();
    void ComeBack();

    CDateCtrl& GetDateCtrl() { return m_wndDate; }
    CErasFile& GetEras() { return m_eras; }
    CVLListWindow& GetCategoryList() { return m_wndCategoryList; }
    CVLListWindow& GetEraList() { return m_wndEraList; }
    CTimeFrameChoiceWnd& GetCategoryFace() { return m_wndCategoryFace; }
    CTimeFrameChoiceWnd& GetEraFace() { return m_wndEraFace; }
    CDibButton* GetButton(UINT nID);
    int GetSpanIndex() const { return m_nSpanIndex; }
    BOOL IsAutoRepeat() const { return m_bAutoRepeat; }
    int GetRepeatCount() const { return m_nRepeatCount; }
    const CRect& GetUpArrowRect() const { return m_rcUp; }
    const CRect& GetDownArrowRect() const { return m_rcDown; }
    const CString& GetLastQuery() const { return m_strLastQuery; }
    BOOL IsFromHistory() const { return m_bFromHistory; }
    // Fills the era list from the eras table ("None Selected", then every era).
    void FillEraList();

protected:
    // Runs the code as a word of the word index into the list; FALSE when the search engine
    // cannot run (it has shown its own message).
    virtual BOOL RunWordSearch(LPCSTR lpszCode, CReferenceList* pHits);
    // Reads the eras file (its failures shown once, the table then empty).
    virtual void LoadEras();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    void SetSpanMode(int nMode);
    void SetEra(BOOL bAD);
    void ShowMode(int nMode);
    // Four digits in the control, the cells below the span cleared to 0.
    void NormaliseDigits();
    void StopRepeat();
    // The filtered list of the current code (a new list; the caller deletes it), or of the era.
    CReferenceList* CollectResults();
    void SyncFaces();
    CString EraFaceText() const;
    BOOL CreateButton(CDibButton& button, UINT nID, const RECT& rect, UINT nNormal, UINT nPressed, UINT nDisabled);

    TimeFrameSelection m_selection;
    CDateCtrl m_wndDate;
    int m_nSpanIndex;
    CString m_strLastQuery;
    CReferenceList* m_pHits;
    CErasFile m_eras;
    CTimeFrameChoiceWnd m_wndCategoryFace;
    CTimeFrameChoiceWnd m_wndEraFace;
    CVLListWindow m_wndCategoryList;
    CVLListWindow m_wndEraList;
    BOOL m_bCategoryOpen;
    BOOL m_bEraOpen;
    BOOL m_bCategoryChanged;
    BOOL m_bEraChanged;
    CDibButton m_btnSearch, m_btnMillennium, m_btnCentury, m_btnDecade, m_btnYear, m_btnEra, m_btnAD, m_btnBC;
    CDibButton m_btnUp, m_btnDown, m_btnPicture, m_btnCategory;
    CRect m_rcUp;
    CRect m_rcDown;
    BOOL m_bAutoRepeat;
    int m_nRepeatCount;
    int m_nRepeatDirection;
    BOOL m_bFromHistory;
    CThumbView* m_pThumbView;
    CTimeStatWnd* m_pStatWnd;
    CSize m_size;
    CFont m_font;
};
