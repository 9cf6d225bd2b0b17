// CDocument: views of a document and their updates.
#include <afxwin.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() : m_pDocTemplate(NULL), m_bAutoDelete(TRUE), m_bModified(FALSE) {}

CDocument::~CDocument()
{
    if (m_pDocTemplate != NULL)
        m_pDocTemplate->RemoveDocument(this);
    for (CView* view : m_viewList)
        view->m_pDocument = NULL;
    m_viewList.clear();
}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    // The frames that show the document show its new title.
    std::vector<CView*> views = m_viewList;
    for (CView* view : views)
        if (CFrameWnd* frame = view->GetParentFrame())
            if (frame->m_hWnd != NULL)
                frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = lpszPathName;
    // The title is the file name part.
    const char* name = lpszPathName;
    for (const char* p = lpszPathName; p && *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    SetTitle(name);
    if (bAddToMRU && m_pDocTemplate != NULL)
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(lpszPathName);
}

void CDocument::AddView(CView* pView)
{
    if (pView == NULL || std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
        return;
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = NULL;
    OnChangedViewList();
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_viewList.empty() ? NULL : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1));
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    auto index = reinterpret_cast<UINT_PTR>(rPosition);
    if (index == 0 || index > m_viewList.size()) {
        rPosition = NULL;
        return NULL;
    }
    CView* view = m_viewList[index - 1];
    rPosition = index < m_viewList.size() ? reinterpret_cast<POSITION>(index + 1) : NULL;
    return view;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    std::vector<CView*> views = m_viewList;
    for (CView* view : views)
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::DeleteContents() {}

void CDocument::OnChangedViewList()
{
    // A document without views closes when it owns itself.
    if (m_viewList.empty() && m_bAutoDelete)
        OnCloseDocument();
}

void CDocument::OnCloseDocument()
{
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;  // not again while the frames go
    std::vector<CView*> views = m_viewList;
    for (CView* view : views) {
        CFrameWnd* frame = view->GetParentFrame();
        if (frame != NULL && frame->m_hWnd != NULL)
            frame->DestroyWindow();
        else if (view->m_hWnd != NULL)
            view->DestroyWindow();
    }
    DeleteContents();
    m_bAutoDelete = autoDelete;
    if (m_bAutoDelete)
        delete this;
}
