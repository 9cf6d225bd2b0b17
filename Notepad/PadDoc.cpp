#include "PadDoc.h"

IMPLEMENT_DYNCREATE(CPadDoc, CDocument)

CPadDoc::CPadDoc() = default;

void CPadDoc::DeleteContents()
{
    POSITION pos = GetFirstViewPosition();
    if (auto* view = dynamic_cast<CEditView*>(GetNextView(pos)))
        if (view->m_hWnd != NULL)
            view->SetWindowText(NULL);
    CDocument::DeleteContents();
}

void CPadDoc::Serialize(CArchive& ar)
{
    POSITION pos = GetFirstViewPosition();
    auto* view = dynamic_cast<CEditView*>(GetNextView(pos));
    if (view == NULL)
        return;
    view->SerializeRaw(ar);
    if (!ar.IsStoring())
        view->Invalidate();
}
