// CWinApp's documents: the templates, New and Open, the recent-file list, the command line's
// request and the questions before the program ends.
#include <afxdlgs.h>
#include <afxwin.h>

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
AFX_ENTRY(WM_COMMAND, CN_COMMAND, ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, AfxSig_b_u, pfn_b_u,
          BOOL(CCmdTarget::*)(UINT), &CWinApp::OnOpenRecentFile)
END_MESSAGE_MAP()

namespace {

// The platform's full path of a file name as the user gave it.
CString FullPath(LPCSTR name)
{
    char full[MAX_PATH] = {};
    DWORD length = ::GetFullPathName(name, sizeof full, full, NULL);
    if (length == 0 || length >= sizeof full)
        return name;
    return full;
}

}  // namespace

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate == NULL)
        return;
    pTemplate->LoadTemplate();
    m_templateList.push_back(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_templateList.empty() ? NULL : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1));
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    auto index = reinterpret_cast<UINT_PTR>(pos);
    if (index == 0 || index > m_templateList.size()) {
        pos = NULL;
        return NULL;
    }
    pos = index < m_templateList.size() ? reinterpret_cast<POSITION>(index + 1) : NULL;
    return m_templateList[index - 1];
}

void CWinApp::OnFileNew()
{
    // The first template makes the new document (a choice among several is not offered).
    if (!m_templateList.empty())
        m_templateList.front()->OpenDocumentFile(NULL);
}

void CWinApp::OnFileOpen()
{
    CString name;
    if (!DoPromptFileName(name, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, NULL))
        return;
    OpenDocumentFile(name);
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    if (lpszFileName == NULL || *lpszFileName == '\0' || m_templateList.empty())
        return NULL;
    CString path = FullPath(lpszFileName);
    CDocTemplate* best = NULL;
    CDocument* open = NULL;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    for (CDocTemplate* docTemplate : m_templateList) {
        CDocument* match = NULL;
        CDocTemplate::Confidence confidence = docTemplate->MatchDocType(path, match);
        if (confidence > bestMatch) {
            bestMatch = confidence;
            best = docTemplate;
            open = match;
        }
        if (confidence == CDocTemplate::yesAlreadyOpen)
            break;
    }
    if (open != NULL) {
        // Already open: its frame comes forward.
        POSITION pos = open->GetFirstViewPosition();
        if (CView* view = open->GetNextView(pos))
            if (CFrameWnd* frame = view->GetParentFrame()) {
                if (frame->IsIconic())
                    frame->ShowWindow(SW_RESTORE);
                frame->SetForegroundWindow();
            }
        return open;
    }
    return best != NULL ? best->OpenDocumentFile(path) : NULL;
}

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName)
{
    if (m_pRecentFileList == NULL)
        return;
    m_pRecentFileList->Add(lpszPathName);
    m_pRecentFileList->WriteList();
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate)
{
    CString filter;
    CString defaultExt;
    auto addTemplate = [&](CDocTemplate* docTemplate) {
        CString name, ext;
        if (docTemplate->GetDocString(name, CDocTemplate::filterName) &&
            docTemplate->GetDocString(ext, CDocTemplate::filterExt) && !name.IsEmpty() && !ext.IsEmpty()) {
            filter += name + "|*" + ext + "|";
            if (defaultExt.IsEmpty())
                defaultExt = ext.Mid(ext[0] == '.' ? 1 : 0);
        }
    };
    if (pTemplate != NULL)
        addTemplate(pTemplate);
    else
        for (CDocTemplate* docTemplate : m_templateList)
            addTemplate(docTemplate);
    CString all;
    AfxLoadString(AFX_IDS_ALLFILTER, all);
    filter += all + "|*.*||";

    CFileDialog dialog(bOpenFileDialog, defaultExt.IsEmpty() ? NULL : static_cast<LPCSTR>(defaultExt),
                       fileName.IsEmpty() ? NULL : static_cast<LPCSTR>(fileName), lFlags | OFN_OVERWRITEPROMPT,
                       filter);
    CString title;
    AfxLoadString(nIDSTitle, title);
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    fileName = dialog.GetPathName();
    return TRUE;
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* docTemplate : m_templateList)
        if (!docTemplate->SaveAllModified())
            return FALSE;
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    std::vector<CDocTemplate*> templates = m_templateList;
    for (CDocTemplate* docTemplate : templates)
        docTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != NULL)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    if (m_pRecentFileList == NULL)
        return FALSE;
    int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (index < 0 || index >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[index].IsEmpty())
        return FALSE;
    CString name = (*m_pRecentFileList)[index];
    if (OpenDocumentFile(name) == NULL) {
        // Whatever kept it from opening was said; the entry leaves the list.
        if (index < m_pRecentFileList->GetSize() && (*m_pRecentFileList)[index].CompareNoCase(name) == 0)
            m_pRecentFileList->Remove(index);
        m_pRecentFileList->WriteList();
    }
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (m_pRecentFileList == NULL) {
        pCmdUI->Enable(FALSE);
        return;
    }
    m_pRecentFileList->UpdateMenu(pCmdUI);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    if (nMaxMRU > 16)
        nMaxMRU = 16;
    delete m_pRecentFileList;
    m_pRecentFileList = NULL;
    if (nMaxMRU != 0) {
        m_pRecentFileList =
            new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d", static_cast<int>(nMaxMRU), 30);
        m_pRecentFileList->ReadList();
    }
    m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList != NULL)
        m_pRecentFileList->WriteList();
    if (m_nNumPreviewPages != 0)
        WriteProfileInt("Settings", "PreviewPages", static_cast<int>(m_nNumPreviewPages));
}

BOOL CWinApp::Enable3dControls() { return TRUE; }
BOOL CWinApp::Enable3dControlsStatic() { return TRUE; }

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, NULL, NULL))
            OnFileNew();
        return m_pMainWnd != NULL;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != NULL;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo: {
        // Printing from the command line shows nothing and ends the program afterwards.
        m_nCmdShow = SW_HIDE;
        CDocument* doc = OpenDocumentFile(rCmdInfo.m_strFileName);
        if (doc == NULL || m_pMainWnd == NULL)
            return FALSE;
        m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        return FALSE;
    }
    case CCommandLineInfo::FileDDE:
    case CCommandLineInfo::AppUnregister:
        return FALSE;
    case CCommandLineInfo::FileNothing:
    default:
        return TRUE;
    }
}
