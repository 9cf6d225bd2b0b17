// CDocument's files: open, save (through a new file renamed into place), Save As, the question
// before changes are lost, and the messages for what went wrong.
#include <afxwin.h>

#include <cstdio>

namespace {

// The prompt for a file error met while loading or saving lpszPathName; 0 when the default
// prompt says it best.
UINT FileErrorPrompt(const CFileException* e, BOOL bSaving)
{
    switch (e->m_cause) {
    case CFileException::fileNotFound:
    case CFileException::badPath: return AFX_IDP_FAILED_INVALID_PATH;
    case CFileException::diskFull: return AFX_IDP_FAILED_DISK_FULL;
    case CFileException::accessDenied:
    case CFileException::sharingViolation:
    case CFileException::lockViolation: return bSaving ? AFX_IDP_FAILED_ACCESS_WRITE : AFX_IDP_FAILED_ACCESS_READ;
    case CFileException::hardIO:
    case CFileException::endOfFile: return bSaving ? AFX_IDP_FAILED_IO_ERROR_WRITE : AFX_IDP_FAILED_IO_ERROR_READ;
    default: return 0;
    }
}

// A name for the new copy beside the file: "name.~1", "name.~2", ... (the first free one).
CString SideName(LPCSTR lpszPathName, int attempt)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".~%d", attempt);
    return CString(lpszPathName) + suffix;
}

// Runs the document's Serialize over an archive on the file (loading or storing).
void SerializeThrough(CDocument* doc, CFile* file, UINT mode)
{
    CArchive archive(file, mode | CArchive::bNoFlushOnDelete);
    archive.m_pDocument = doc;
    CWaitCursor wait;
    doc->Serialize(archive);
    archive.Close();
}

}  // namespace

CFile* CDocument::GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    auto* file = new CFile;
    if (!file->Open(lpszFileName, nOpenFlags, pError)) {
        delete file;
        return NULL;
    }
    return file;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    if (pFile == NULL)
        return;
    if (bAbort)
        pFile->Abort();
    else
        pFile->Close();
    delete pFile;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    CFileException fe;
    CFile* file = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (file == NULL) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag();  // changed until the whole file is in
    try {
        SerializeThrough(this, file, CArchive::load);
        ReleaseFile(file, FALSE);
    } catch (CException* e) {
        ReleaseFile(file, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName)
{
    // The document goes into a new file beside the old one, which is replaced only once the new
    // one is whole.
    CFileException fe;
    CFile* file = NULL;
    CString side;
    for (int attempt = 1; attempt < 100 && file == NULL; ++attempt) {
        side = SideName(lpszPathName, attempt);
        if (::GetFileAttributes(side) != INVALID_FILE_ATTRIBUTES)
            continue;  // someone else's
        file = GetFile(side, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
        if (file == NULL)
            break;
    }
    if (file == NULL) {
        ReportSaveLoadException(lpszPathName, &fe, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    try {
        SerializeThrough(this, file, CArchive::store);
        ReleaseFile(file, FALSE);
    } catch (CException* e) {
        ReleaseFile(file, TRUE);
        ::DeleteFile(side);
        ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        e->Delete();
        return FALSE;
    }
    if (!::MoveFileEx(side, lpszPathName, MOVEFILE_REPLACE_EXISTING)) {
        LONG error = static_cast<LONG>(::GetLastError());
        ::DeleteFile(side);
        CFileException renameError(CFileException::OsErrorToException(error), error, lpszPathName);
        ReportSaveLoadException(lpszPathName, &renameError, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    // A user exception has had its message.
    if (e != NULL && e->IsKindOf(RUNTIME_CLASS(CUserException)))
        return;
    UINT prompt = 0;
    if (auto* fileError = dynamic_cast<CFileException*>(e))
        prompt = FileErrorPrompt(fileError, bSaving);
    else if (auto* archiveError = dynamic_cast<CArchiveException*>(e))
        switch (archiveError->m_cause) {
        case CArchiveException::badClass:
        case CArchiveException::badSchema:
        case CArchiveException::badIndex:
        case CArchiveException::endOfFile: prompt = AFX_IDP_FAILED_INVALID_FORMAT; break;
        default: break;
        }
    else if (e != NULL && e->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        prompt = 0;
    CString text;
    if (prompt != 0) {
        AfxFormatString1(text, prompt, lpszPathName);
    } else {
        AfxLoadString(nIDPDefault, text);
        prompt = nIDPDefault;
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION, prompt);
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    CString newName = lpszPathName != NULL ? lpszPathName : "";
    if (newName.IsEmpty()) {
        newName = m_strPathName;
        if (bReplace && newName.IsEmpty()) {
            // An untitled document suggests its title, without the characters a name cannot have.
            newName = m_strTitle;
            int bad = newName.FindOneOf(" #%;/\\");
            if (bad >= 0)
                newName = newName.Left(bad);
            CString ext;
            if (m_pDocTemplate != NULL && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) &&
                !ext.IsEmpty())
                newName += ext;
        }
        CWinApp* app = AfxGetApp();
        if (app == NULL ||
            !app->DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                   OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, m_pDocTemplate))
            return FALSE;
    }
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    DWORD attributes = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributes(m_strPathName);
    // A read-only file, or one that is gone, is saved under a name the user chooses.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return DoSave(NULL);
    return DoSave(m_strPathName);
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strTitle;
    if (name.IsEmpty())
        AfxLoadString(AFX_IDS_UNTITLED, name);
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    case IDNO: return TRUE;
    default: return FALSE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd*)
{
    return SaveModified();
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != NULL && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    if (auto* single = dynamic_cast<CSingleDocTemplate*>(m_pDocTemplate)) {
        // The one document of a single-document program stays, empty and untitled, in its frame.
        single->SetDefaultTitle(this);
        m_strPathName.Empty();
        OnNewDocument();
        UpdateAllViews(NULL);
        return;
    }
    OnCloseDocument();
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(NULL);
}
