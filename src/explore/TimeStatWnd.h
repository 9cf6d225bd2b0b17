// CTimeStatWnd: the Dido Dovov's status strip across the top of the view: three fields that
// name the span ("TmFrameSel"), the period ("TmFrameTitle") and the category ("TmFrameCat") of
// the selection shown. Each field (CTimeStatField) draws its label picture (542, 543, 540) at
// its offset and its text over it; the fields stay hidden until the first selection. A hidden
// button (19031, pictures 534 and 535) asks the view to show the time machine again.
#pragma once

#include <afxwin.h>

#include "widgets/DibButton.h"

class CDib;

#define TIMESTAT_FIELD_COUNT 3
#define TIMESTAT_SHOW_MACHINE 19031
#define TIMESTAT_BUTTON_BITMAP 534
#define TIMESTAT_BUTTON_PRESSED 535

class CTimeStatField : public CWnd {
    DECLARE_DYNAMIC(CTimeStatField)
public:
    CTimeStatField(UINT nLabelBitmap, CPoint ptOffset);
    ~CTimeStatField() override;

    // A hidden child with its window name, as big as its label picture.
    BOOL Create(LPCSTR lpszName, CPoint ptAt, CWnd* pParentWnd, UINT nID);
    // Replaces the text and repaints when it changed.
    void SetText(LPCSTR lpszText);
    const CString& GetText() const { return m_strText; }
    // The label picture's size (40 pixels high without one).
    CSize GetLabelSize();

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CDib* Label();

    UINT m_nLabelBitmap;
    CPoint m_ptOffset;
    CString m_strText;
    CDib* m_pLabel = NULL;
    BOOL m_bLabelLooked = FALSE;
};

class CTimeStatWnd : public CWnd {
    DECLARE_DYNAMIC(CTimeStatWnd)
public:
    CTimeStatWnd();
    ~CTimeStatWnd() override;

    // The strip ("TimeStatWnd") with its hidden fields and its hidden button.
    BOOL Create(LPCSTR lpszName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Sets field 0-2's text (another index does nothing); repaints on change.
    void SetField(int nIndex, LPCSTR lpszText);
    CString GetField(int nIndex) const;
    // Shows or hides the three fields.
    void ShowFields(BOOL bShow);
    CTimeStatField* GetFieldWnd(int nIndex) { return nIndex >= 0 && nIndex < TIMESTAT_FIELD_COUNT ? m_pFields[nIndex] : NULL; }
    CDibButton& GetShowButton() { return m_wndShowMachine; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    CTimeStatField* m_pFields[TIMESTAT_FIELD_COUNT];
    CRect m_rcFields[TIMESTAT_FIELD_COUNT];
    CDibButton m_wndShowMachine;
};
