// CTipWnd: the small "Tip Window" popup that names a button while the cursor rests on it (the
// Tool Kit's buttons use it). Every tip of the program shares one font and one size: the largest
// text measured so far, so tips only ever grow. A tip is created hidden beside its anchor; its
// owner places it (Place) before every showing.
#pragma once

#include <afxwin.h>

class CTipWnd : public CWnd {
public:
    explicit CTipWnd(LPCSTR lpszText);
    // Counts the tips down; the last one deletes the shared font.
    ~CTipWnd() override;

    // Measures the text, grows the program-wide tip size when it is larger, and creates the
    // hidden popup owned by the anchor, right of the anchor's client area. TRUE when made.
    BOOL Create(CWnd* pAnchor);
    // Moves the tip (with repainting) to the right edge of a button's window rectangle (screen
    // coordinates), vertically centred on it, at the program-wide size plus 4 wide, and stores
    // the rectangle.
    void Place(const CRect& button);

    const CString& GetText() const { return m_strText; }
    const CRect& GetTipRect() const { return m_rect; }
    CWnd* GetAnchor() const { return m_pAnchor; }

    // The program-wide tip size (the largest so far) and the number of tip windows alive.
    static CSize GetLargestSize();
    static int GetTipCount();
    // Back to a run's start (no font, no tips measured); for tests between runs.
    static void ResetShared();

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strText;
    CRect m_rect;
    CWnd* m_pAnchor = NULL;
    BOOL m_bCounted = FALSE;
};
