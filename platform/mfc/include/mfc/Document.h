// CDocument: the data a program shows in one or more views.
#pragma once

#include <afx.h>
#include <mfc/CmdTarget.h>
#include <mfc/Templates.h>

#include <vector>

class CView;
class CDocTemplate;
class CFrameWnd;
class CFile;
class CException;
class CFileException;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;  // detaches its views

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL);

    virtual BOOL OnNewDocument();
    virtual void DeleteContents();
    virtual void OnChangedViewList();
    // Destroys the frames of the views and, with m_bAutoDelete, the document.
    virtual void OnCloseDocument();

    // ---- Files ----
    // The template that made the document (NULL for a document made by hand).
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    // Reads the file through Serialize; FALSE (after the message) when it cannot be read, and
    // the document is then empty.
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    // Writes the document through Serialize into a new file beside lpszPathName and renames it
    // into place, so that a failed save leaves the old file whole; FALSE after the message.
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    // Saves under lpszPathName, or asks for a name first (lpszPathName NULL: Save As; an untitled
    // document always asks). bReplace: the document takes the new name. FALSE when cancelled
    // or failed.
    virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();
    // A changed document asks "Save changes to <title>?" (Yes, No, Cancel); FALSE on Cancel or
    // a failed save.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // The message for an exception met while loading or saving: the file error's own text, the
    // format message for a damaged archive, else the prompt nIDPDefault. A CUserException was
    // reported already.
    virtual void ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
    virtual CFile* GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);
    // Gives the framework's menu commands their state.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    CDocTemplate* m_pDocTemplate;

    BOOL m_bAutoDelete;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified;
    std::vector<CView*> m_viewList;
    DECLARE_MESSAGE_MAP()
    friend class CDocTemplate;
};
