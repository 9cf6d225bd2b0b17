// CPadView: the editor's view, an edit control whose long lines wrap at the window's edge (no
// horizontal scroll bar, no sideways scrolling).
#pragma once

#include <afxwin.h>

class CPadDoc;

class CPadView : public CEditView {
    DECLARE_DYNCREATE(CPadView)
public:
    CPadView();

    CPadDoc* GetDocument() const;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};
