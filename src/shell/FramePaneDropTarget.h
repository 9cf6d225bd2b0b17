// The frame's search and dictionary panes as places where words dragged out of a mini-article
// box may be dropped (widgets/TextDropTarget.h). A drop on the search pane searches for the text,
// a drop on the dictionary pane (or a double click in a box) looks it up; the frame opens the
// pane first when it is not showing. The toolbar's Search and Dictionary buttons take words the
// same way, after the panes.
#pragma once

#include "widgets/TextDropTarget.h"

class CBaseWindow;

class CFramePaneDropTarget : public CWndTextDropTarget {
public:
    // nPane: 1 the search pane, 2 the dictionary pane.
    CFramePaneDropTarget(CBaseWindow& frame, int nPane);
    // A toolbar button standing for the pane (asked after the panes).
    CFramePaneDropTarget(CBaseWindow& frame, int nPane, CWnd* pButton);

    CWnd* GetDropWindow() override;
    void DropText(int nAction, const CString& strText) override;

private:
    CBaseWindow& m_frame;
    int m_nPane;
    CWnd* m_pButton = NULL;
};
