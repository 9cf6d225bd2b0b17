#include "PadView.h"

#include "PadDoc.h"

IMPLEMENT_DYNCREATE(CPadView, CEditView)

CPadView::CPadView() = default;

CPadDoc* CPadView::GetDocument() const
{
    return static_cast<CPadDoc*>(m_pDocument);
}

BOOL CPadView::PreCreateWindow(CREATESTRUCT& cs)
{
    BOOL ok = CEditView::PreCreateWindow(cs);
    cs.style &= ~(WS_HSCROLL | ES_AUTOHSCROLL);
    return ok;
}
