// CDocument: the data a program shows in one or more views.
#pragma once

#include <afx.h>
#include <mfc/CmdTarget.h>
#include <mfc/Templates.h>

#include <vector>

class CView;

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

    BOOL m_bAutoDelete;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified;
    std::vector<CView*> m_viewList;
};
