// CEmbeddedSimHolder: holds the one simulation the media view shows inside its picture area:
// creates, shows, hides, moves and sizes it.
//
// Least version: the interface the media view calls; without the simulation runtime no
// simulation is made (Create gives 0).
#pragma once

#include <afxwin.h>

class CGrfDocument;

class CEmbeddedSimHolder : public CObject {
public:
    CEmbeddedSimHolder() = default;
    ~CEmbeddedSimHolder() override = default;
    // Makes the document's simulation as a child of the parent in the rectangle: non-zero on
    // success.
    BOOL Create(CGrfDocument* pDocument, CWnd* pParent, const RECT& rect);
    void Hide();
    void Show();
    void Move(const RECT& rect);
    // The simulation's preferred size within the given one (the given size without one).
    void GetPreferredSize(CSize& size);

protected:
    CGrfDocument* m_pDocument = NULL;
    CRect m_rect;
    CWnd* m_pParent = NULL;
    CObject* m_pSim = NULL;
};
