// CEmbeddedSimHolder: creates, shows, sizes and removes the one simulation of a simulation item
// inside a parent window. A hidden simulation is ended; showing it again starts it anew at the
// place it had.
#pragma once

#include <afxwin.h>

class CAbstractEmbeddedSim;
class CGrfDocument;

class CEmbeddedSimHolder : public CObject {
public:
    CEmbeddedSimHolder();
    // Ends the simulation.
    ~CEmbeddedSimHolder() override;

    // Starts the item's simulation library (from the item's data folder, prompting for its disc)
    // in a child window of pParent at rect (pParent's client coordinates). TRUE when it runs;
    // FALSE when the reader cancelled, memory ran out ("Insufficient memory to display
    // simulation.") or the simulation could not start (the runtime says why).
    BOOL Create(CGrfDocument* pDocument, CWnd* pParent, const RECT& rect);
    // Ends the simulation, remembering where its window was.
    void Hide();
    // Unless a simulation runs: starts it again where it was when hidden, shows and repaints it.
    void Show();
    // Moves the simulation's window to rect (the parent's client coordinates) and repaints it.
    void Move(const RECT& rect);
    // The size the simulation asks for when offered the given one; the given size when it has
    // no size of its own (in and out).
    void GetPreferredSize(int& nWidth, int& nHeight);
    void GetPreferredSize(CSize& size);

    // The running simulation and its window (NULL when none runs).
    CAbstractEmbeddedSim* GetSim() const { return m_pSim; }
    CWnd* GetSimWnd() const;

protected:
    CGrfDocument* m_pDocument = NULL;
    CRect m_rcRemembered;
    CWnd* m_pParent = NULL;
    CAbstractEmbeddedSim* m_pSim = NULL;

private:
    BOOL m_bRememberedOnScreen = FALSE;  // m_rcRemembered is in screen coordinates (after Hide)
};
