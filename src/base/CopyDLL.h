// CCopyDLL: the box shown while start-up copies the screen-class resource library from the
// disc ("Veltra is updating its settings to match your new screen resolution."). It copies the
// file itself and ends with IDOK when the file was copied, IDCANCEL when not.
//
// The class library has no dialog classes here yet, so the box is a captionless top-most popup
// window run in the framework's modal loop; it behaves as the dialog would (centred, 445 x 150,
// painted in the palette's lavender, the copy run from a message it posts itself).
#pragma once

#include <afxwin.h>

// Messages the box posts itself: start the copy; the copy ended (wParam non-zero: copied).
#define WM_COPYDLL_START 0x4EA
#define WM_COPYDLL_DONE 0x4EB

class CCopyDLL : public CWnd {
public:
    CCopyDLL(LPCSTR lpszName, LPCSTR lpszSource, LPCSTR lpszDestination, CWnd* pParent);

    // Shows the box, copies, and returns IDOK or IDCANCEL (-1 when the box cannot be made).
    int DoModal();

    CString m_strName;
    CString m_strSource;
    CString m_strDestination;
    CWnd* m_pParent = NULL;

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnStartCopy(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCopyDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
