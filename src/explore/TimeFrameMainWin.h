// CTimeFrameMainWin: the Dido Dovov view (window 8006, "Main Dido Dovov Window"): history
// browsed by period. It holds the status strip across its top (CTimeStatWnd), the thumbnail
// grid below it (CThumbView) and the time machine floating at its top left (CTimeMachineWnd).
// Its history states are CTFStateObj: every search of the time machine records one, and a
// state given back restores the panel (searching again only when it differs from what is
// shown) or the welcome page. A "tf:" link of an article (VLM_SHOW_LINKED_SELECTION with the
// link's whole target text) opens the view on the link's period.
#pragma once

#include "base/VLMainWin.h"

class CThumbView;
class CTimeMachineWnd;
class CTimeStatWnd;
class CTFStateObj;

#define TIMEFRAME_VIEW_NAME "Main Dido Dovov Window"
#define TIMEFRAME_STRIP_HEIGHT 40
#define TIMEFRAME_NO_PRINT "Print not implemented for the Dido Dovov window."

class CTimeFrameMainWin : public CVLMainWin {
    DECLARE_DYNAMIC(CTimeFrameMainWin)
public:
    CTimeFrameMainWin();
    // Deletes the three children, then destroys the window.
    ~CTimeFrameMainWin() override;
    CTimeFrameMainWin(const CTimeFrameMainWin&) = delete;
    CTimeFrameMainWin& operator=(const CTimeFrameMainWin&) = delete;

    // The view in the frame's view area, then its children; FALSE when any fails.
    BOOL CreateMainWin(const RECT& rect, CWnd* pParentWnd);
    BOOL CreateView(LPCSTR lpszClassName, LPCSTR lpszWindowName, const RECT& rect, CWnd* pParentWnd, UINT nID,
                    CCreateContext* pContext = NULL) override;
    // Printing is not offered here: a message box says so.
    void OnFilePrint() override;
    BOOL CanPrint() override { return FALSE; }

    CTimeMachineWnd* GetTimeMachine() const { return m_pTimeMachine; }
    CThumbView* GetThumbView() const { return m_pThumbView; }
    CTimeStatWnd* GetStatWnd() const { return m_pStatWnd; }

protected:
    // Makes the time machine (tests give it a search engine of their own).
    virtual CTimeMachineWnd* NewTimeMachine();

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnRestoreState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStartPage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLinkedSelection(WPARAM wParam, LPARAM lParam);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    void ShowWelcome(CTFStateObj* pState);

    CTimeStatWnd* m_pStatWnd;
    CTimeMachineWnd* m_pTimeMachine;
    CThumbView* m_pThumbView;
    CRect m_rcStatus;
    CRect m_rcMachine;
    CRect m_rcThumbs;
    CSize m_lastSize;
};
