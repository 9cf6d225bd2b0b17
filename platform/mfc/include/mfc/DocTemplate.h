// Document templates: what makes a document, its frame and its view from one resource id, and
// the application's list of recently used files.
//
// A template's document string (string resource nIDResource) has up to seven "\n"-separated
// parts: window title, document name, file-new name, filter name, filter extension, registry
// type id and registry type name. A single-document template keeps one document at a time and
// reuses it and its frame for New and Open.
#pragma once

#include <afx.h>
#include <mfc/CmdTarget.h>

class CDocument;
class CFrameWnd;
class CMenu;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative,
                      yesAlreadyOpen };

    ~CDocTemplate() override;

    UINT GetResourceID() const { return m_nIDResource; }
    // The part of the document string; FALSE (and empty) when it has none.
    virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;

    virtual void LoadTemplate();
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // How well a file fits this template: yesAlreadyOpen (rpDocMatch set) when it is open.
    virtual Confidence MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch);

    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    // Every open document that has changes is asked about; FALSE when one was cancelled.
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // A new document (lpszPathName NULL) or the named file; NULL when it could not be made.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    // Titles an untitled document: the file-new name, else "Untitled".
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    // With a document open already: it is asked to save its changes, then it becomes the new
    // (or opened) document in its frame; a file that fails to load leaves it as it was.
    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

protected:
    CDocument* m_pOnlyDoc;
};

// The recently used files: at most nSize full paths, newest first, kept in the profile under
// lpszSection as lpszEntryFormat with the entry's number ("File%d": File1, File2, ...), and
// shown on the menu in place of the item with the first command id.
class CRecentFileList {
public:
    CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize, int nMaxDispLen = 0);
    virtual ~CRecentFileList();

    int GetSize() const { return m_nSize; }
    // The entry (empty past the last one).
    CString& operator[](int nIndex) { return m_arrNames[nIndex]; }
    int GetCount() const;

    // Puts the path first (moving it up when it is there already, compared without case).
    virtual void Add(LPCSTR lpszPathName);
    virtual void Remove(int nIndex);
    virtual void ReadList();
    virtual void WriteList();
    // The menu text of an entry: "&1 name" with the path shortened to the file name when it lies
    // in lpszCurDir.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir, BOOL bAtLeastName = TRUE) const;
    // Replaces the entries on the menu of pCmdUI (the item with the first id and those after it)
    // with the list; while the list is empty the first item stays, greyed, with its own text.
    virtual void UpdateMenu(CCmdUI* pCmdUI);

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    CString m_strOriginal;  // the menu item's text while the list is empty

protected:
    int m_nSize;
    CString* m_arrNames;
    int m_nMaxDisplayLength;
};
