// CDibWin: a plain window that shows one CDib at its natural size, in the bitmap's own colours.
#pragma once

#include "widgets/Dib.h"

#include <afxwin.h>

class CDibWin : public CWnd {
public:
    CDibWin();
    // Destroys the window, then the bitmap.
    ~CDibWin() override;

    CDib& GetDib() { return m_dib; }
    // Sizes the window so that its client area is the bitmap's size (no move, z-order change or
    // activation).
    void SizeToDib();

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    CDib m_dib;
};
