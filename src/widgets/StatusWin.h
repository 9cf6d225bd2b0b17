// CStatusWin: the one-line "Status Window" strip at the bottom of the main frame, showing a short
// text (what the pointer is over, the state of a task). Others hand it a new text with message
// 0x40C (lParam: a heap CString* that it takes over, or 0 for an empty line); a text too long for
// the strip ends in "...".
#pragma once

#include <afxwin.h>

#define VLM_SET_STATUS_TEXT 0x40C

class CStatusWin : public CWnd {
public:
    CStatusWin();
    // Deletes the text it holds.
    ~CStatusWin() override;

    // "Status Window" at (0, 0), as wide as the application's screen, 16 high, id 0.
    BOOL Create(CWnd* pParentWnd);
    // The text it holds (empty before the first 0x40C).
    CString GetText() const { return m_pText != NULL ? *m_pText : CString(); }
    // The line as painted in the DC's font for a client area of width cx.
    static CString FitText(CDC* pDC, const CString& strText, int cx);

protected:
    afx_msg void OnPaint();
    // 0x40C: deletes the old text and takes the new one over (0: an empty one); repaints.
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CString* m_pText = NULL;
};
