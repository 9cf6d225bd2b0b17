// CDocTemplate and CSingleDocTemplate: documents, frames and views made from one resource id.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

// ---- CDocTemplate -------------------------------------------------------------------------------

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const
{
    const_cast<CDocTemplate*>(this)->LoadTemplate();
    rString.Empty();
    int start = 0;
    for (int part = 0; part < static_cast<int>(index); ++part) {
        int next = m_strDocStrings.Find('\n', start);
        if (next < 0)
            return FALSE;
        start = next + 1;
    }
    int end = m_strDocStrings.Find('\n', start);
    rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return !rString.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = NULL;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = NULL;
    POSITION pos = GetFirstDocPosition();
    while (pos != NULL) {
        CDocument* doc = GetNextDoc(pos);
        if (!doc->GetPathName().IsEmpty() && doc->GetPathName().CompareNoCase(lpszPathName) == 0) {
            rpDocMatch = doc;
            return yesAlreadyOpen;
        }
    }
    // A template with an extension of its own prefers its files; every file can be tried.
    CString ext;
    if (GetDocString(ext, filterExt) && !ext.IsEmpty()) {
        CString path = lpszPathName;
        if (path.GetLength() >= ext.GetLength() && path.Right(ext.GetLength()).CompareNoCase(ext) == 0)
            return yesAttemptNative;
    }
    return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (m_pDocClass == NULL)
        return NULL;
    CObject* object = m_pDocClass->CreateObject();
    auto* doc = dynamic_cast<CDocument*>(object);
    if (doc == NULL) {
        delete object;
        return NULL;
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd*)
{
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = pDoc;
    CObject* object = m_pFrameClass != NULL ? m_pFrameClass->CreateObject() : NULL;
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (frame == NULL) {
        delete object;
        return NULL;
    }
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, &context))
        return NULL;  // the frame deleted itself
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos != NULL)
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    POSITION pos = GetFirstDocPosition();
    while (pos != NULL) {
        CDocument* doc = GetNextDoc(pos);
        doc->OnCloseDocument();
    }
}

// ---- CSingleDocTemplate -------------------------------------------------------------------------

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_pOnlyDoc(NULL)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    // A document still open outlives its template only as a plain document.
    if (m_pOnlyDoc != NULL)
        m_pOnlyDoc->m_pDocTemplate = NULL;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const
{
    return m_pOnlyDoc != NULL ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1)) : NULL;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const
{
    CDocument* doc = rPos != NULL ? m_pOnlyDoc : NULL;
    rPos = NULL;
    return doc;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = NULL;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, fileNewName) || title.IsEmpty())
        AfxLoadString(AFX_IDS_UNTITLED, title);
    pDocument->SetTitle(title);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* doc = NULL;
    CFrameWnd* frame = NULL;
    BOOL created = FALSE;
    if (m_pOnlyDoc != NULL) {
        doc = m_pOnlyDoc;
        if (!doc->SaveModified())
            return NULL;
        POSITION pos = doc->GetFirstViewPosition();
        if (CView* view = doc->GetNextView(pos))
            frame = view->GetParentFrame();
    } else {
        doc = CreateNewDocument();
        if (doc == NULL) {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            return NULL;
        }
        created = TRUE;
        // The document must not go with a frame that fails half-way.
        BOOL autoDelete = doc->m_bAutoDelete;
        doc->m_bAutoDelete = FALSE;
        frame = CreateNewFrame(doc, NULL);
        doc->m_bAutoDelete = autoDelete;
        if (frame == NULL) {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            delete doc;
            return NULL;
        }
    }

    if (lpszPathName == NULL) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            if (created && frame != NULL)
                frame->DestroyWindow();
            return NULL;
        }
    } else {
        CWaitCursor wait;
        BOOL wasModified = doc->IsModified();
        doc->SetModifiedFlag(FALSE);
        if (!doc->OnOpenDocument(lpszPathName)) {
            // The message has been shown.
            if (created) {
                if (frame != NULL)
                    frame->DestroyWindow();
            } else if (!doc->IsModified()) {
                doc->SetModifiedFlag(wasModified);  // the file was never read: nothing changed
            } else {
                // The old text is gone: the document starts again, empty.
                SetDefaultTitle(doc);
                doc->OnNewDocument();
            }
            return NULL;
        }
        doc->SetPathName(lpszPathName);
    }

    CWinThread* thread = AfxGetThread();
    if (created && thread != NULL && thread->m_pMainWnd == NULL)
        thread->m_pMainWnd = frame;
    if (frame != NULL)
        InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}
