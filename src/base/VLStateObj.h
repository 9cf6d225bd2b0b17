// View states and the history of the main frame.
//
// Every main view can describe what it shows as a state object; the views hand such objects to
// the frame, which keeps them in a back list and a forward list (CVLStateList). Back and Forward
// take a state out of the history and send it to its view, which restores itself from it. The
// same objects travel as carried objects of the frame's routing messages.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

class CVLStateObj : public CObject {
    DECLARE_DYNAMIC(CVLStateObj)
public:
    CVLStateObj();
    CVLStateObj(const CVLStateObj& other);
    // Each derived state supplies its destructor.
    ~CVLStateObj() override = 0;

    // Assignment from another state: window id, title and flags.
    virtual CVLStateObj& Assign(const CVLStateObj& other);
    // The disc and the data-folder kind the state needs to be restored: disc 1, kind 1.
    virtual int GetDisc() const;
    virtual int GetDataDirType() const;
    // A new heap copy of the same class.
    virtual CVLStateObj* Clone() const = 0;

    UINT m_nWindowID = 0;  // the view the state belongs to (8001-8015)
    DWORD m_dwFlags = 1;
    CString m_strTitle;    // shown in the History dialog; empty: untitled

    CVLStateObj& operator=(const CVLStateObj& other) { return Assign(other); }
};

// One history list: the most recent state at the head, at most 30 states. It owns its states.
class CVLStateList : public CObject {
public:
    enum { MAX_STATES = 30 };

    CVLStateList();
    ~CVLStateList() override;
    CVLStateList(const CVLStateList&) = delete;
    CVLStateList& operator=(const CVLStateList&) = delete;

    // Takes the state over at the head; a 31st state pushes the oldest out (deleted).
    void Push(CVLStateObj* pState);
    // Takes the head state off and gives it to the caller; NULL when the list is empty.
    CVLStateObj* Pop();
    // Deletes every state.
    void DeleteAll();

    int GetCount() const { return static_cast<int>(m_list.GetCount()); }
    BOOL IsEmpty() const { return m_list.IsEmpty(); }
    // The state at a position counted from the head (borrowed); NULL past the end.
    CVLStateObj* GetAt(int nIndex) const;
    // 1 after a push, 0 after a pop.
    BOOL WasPushed() const { return m_bPushed; }

private:
    CObList m_list;
    BOOL m_bPushed = FALSE;
};
