// CJustLookingChoiceWnd: the drop-down caption of the browsing view's category and content
// choices: white, its caption centred in 8.5-point Arial, the drop-down arrow (bitmap 440) at
// its right edge. A left click posts WM_COMMAND with its control id to the parent.
#pragma once

#include <afxwin.h>

class CDib;

class CJustLookingChoiceWnd : public CWnd {
    DECLARE_DYNAMIC(CJustLookingChoiceWnd)
public:
    enum { kArrowBitmap = 440 };

    CJustLookingChoiceWnd();
    ~CJustLookingChoiceWnd() override;

    // A child of the class "CJustLookingChoiceWnd" (visible, clipping siblings).
    BOOL Create(LPCSTR lpszCaption, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Sets the caption and repaints.
    void SetCaption(LPCSTR lpszCaption);
    const CString& GetCaption() const { return m_strCaption; }

    static const char s_szClassName[];

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CDib* Arrow();

    CString m_strCaption;
    CDib* m_pArrow;
    BOOL m_bArrowLooked;
};
