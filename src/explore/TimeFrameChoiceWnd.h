// CTimeFrameChoiceWnd: the drop-down face of the time machine's category and era choices:
// white, the drop-down picture (bitmap 313) at its right edge, vertically centred, and its text
// (one line, or two around a line feed) centred in 8-point Arial. A click (press and release on
// the face) is sent to the parent as WM_COMMAND with the control's id.
#pragma once

#include <afxwin.h>

class CDib;

#define TIMEFRAME_CHOICE_PICTURE 313

class CTimeFrameChoiceWnd : public CWnd {
    DECLARE_DYNAMIC(CTimeFrameChoiceWnd)
public:
    CTimeFrameChoiceWnd();
    ~CTimeFrameChoiceWnd() override;

    // A visible child of the class "CTimeFrameChoiceWnd" (registered on first use), with the
    // window name "CTimeFrameChoiceWnd".
    BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Replaces the text and repaints.
    void SetText(LPCSTR lpszText);
    const CString& GetText() const { return m_strText; }

    static const char s_szClassName[];

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CDib* Picture();

    CString m_strText;
    CDib* m_pPicture;
    BOOL m_bPictureLooked;
    BOOL m_bPressed;
};
