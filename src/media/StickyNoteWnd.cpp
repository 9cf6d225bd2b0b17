#include "media/StickyNoteWnd.h"

#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/VLMessages.h"
#include "media/StickyNoteDlg.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Every note window alive: a note deleted through one of them is let go by all.
std::vector<CStickyNoteWnd*>& LiveNoteWindows()
{
    static std::vector<CStickyNoteWnd*> windows;
    return windows;
}

}  // namespace

IMPLEMENT_DYNAMIC(CStickyNoteWnd, CWnd)

BEGIN_MESSAGE_MAP(CStickyNoteWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(VLM_STICKY_DISPLAY, OnDisplayNote)
    ON_MESSAGE(VLM_STICKY_SHOW, OnDisplayNote)
    ON_MESSAGE(VLM_STICKY_DISPLAY_AT, OnDisplayNoteAt)
    ON_MESSAGE(VLM_STICKY_OPEN, OnOpenNote)
    ON_MESSAGE(VLM_STICKY_NEW, OnNewNote)
END_MESSAGE_MAP()

CStickyNoteWnd::CStickyNoteWnd()
{
    LiveNoteWindows().push_back(this);
}

CStickyNoteWnd::~CStickyNoteWnd()
{
    std::vector<CStickyNoteWnd*>& windows = LiveNoteWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    DiscardUnplacedNote();
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CStickyNoteWnd::Create(CWnd* pParent)
{
    if (pParent != NULL) {
        m_nMode = 0;
        m_pParentWnd = pParent;
    } else {
        m_nMode = 1;
        m_pParentWnd = AppServices().ui.pCurrentView;
        if (m_pParentWnd == NULL || m_pParentWnd->GetSafeHwnd() == NULL)
            m_pParentWnd = GetAppMainWnd();
    }
    if (m_pParentWnd == NULL || m_pParentWnd->GetSafeHwnd() == NULL)
        return FALSE;
    m_rectWindow = ComputePlacement();
    return CWnd::Create(NULL, "Sticky Note", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER, m_rectWindow, m_pParentWnd,
                        IDW_STICKY_NOTE);
}

int CStickyNoteWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pRecordSet = GetAppStickyNotes();
    m_pCurrentNote = NULL;
    m_nCurrentIndex = -1;
    PostPresent(m_pRecordSet != NULL && m_pRecordSet->FindNote(m_nItemKey) != NULL, 0);
    return 0;
}

void CStickyNoteWnd::OnDestroy()
{
    DiscardUnplacedNote();
    CWnd::OnDestroy();
}

CRect CStickyNoteWnd::ComputePlacement() const
{
    CRect parent(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    if (m_pParentWnd != NULL && m_pParentWnd->GetSafeHwnd() != NULL)
        m_pParentWnd->GetWindowRect(&parent);
    CRect rect;
    if (m_nMode == 0) {
        // The parent's bottom-right corner.
        rect.right = parent.right - 29;
        rect.bottom = parent.bottom - 31;
        rect.left = rect.right - width;
        rect.top = rect.bottom - height;
    } else {
        // A third of the way into the parent.
        rect.left = parent.Width() / 3 + parent.left - 109;
        rect.top = parent.Height() / 3 + parent.top - 92;
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
    }
    return rect;
}

void CStickyNoteWnd::Reposition()
{
    m_rectWindow = ComputePlacement();
    if (GetSafeHwnd() == NULL || m_bPlacing)
        return;
    m_bPlacing = TRUE;
    SetWindowPos(&CWnd::wndTop, m_rectWindow.left, m_rectWindow.top, width, height, SWP_NOACTIVATE);
    m_bPlacing = FALSE;
}

void CStickyNoteWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    // Placing the window sizes it too: that size needs no second placing.
    if (!m_bPlacing)
        Reposition();
}

void CStickyNoteWnd::PostPresent(WPARAM wParam, LPARAM lParam)
{
    if (m_pParentWnd != NULL && m_pParentWnd->GetSafeHwnd() != NULL &&
        m_pParentWnd->PostMessage(VLM_STICKY_PRESENT, wParam, lParam))
        return;
    delete[] reinterpret_cast<WORD*>(lParam);
}

void CStickyNoteWnd::DiscardUnplacedNote()
{
    if (m_pCurrentNote != NULL && !m_pCurrentNote->m_bPlaced) {
        delete m_pCurrentNote;
        m_pCurrentNote = NULL;
        m_nCurrentIndex = -1;
    }
}

void CStickyNoteWnd::SetCurrentNote(CStickyNote* pNote)
{
    if (pNote != m_pCurrentNote)
        DiscardUnplacedNote();
    m_pCurrentNote = pNote;
    m_nCurrentIndex = m_pRecordSet != NULL && pNote != NULL ? static_cast<int>(m_pRecordSet->IndexOf(pNote)) : -1;
}

void CStickyNoteWnd::ForgetNote(const CStickyNote* pNote)
{
    if (m_pCurrentNote == pNote) {
        m_pCurrentNote = NULL;
        m_nCurrentIndex = -1;
    }
    for (INT_PTR i = m_working.GetSize() - 1; i >= 0; --i) {
        if (m_working.GetAt(i) == pNote)
            m_working.RemoveAt(i);
    }
}

void CStickyNoteWnd::ForgetNoteEverywhere(const CStickyNote* pNote)
{
    if (pNote == NULL)
        return;
    const LONG nKey = pNote->m_nKey;
    // A copy: a parent told of the change may make or end note windows.
    const std::vector<CStickyNoteWnd*> windows = LiveNoteWindows();
    for (CStickyNoteWnd* pWnd : windows)
        pWnd->ForgetNote(pNote);
    for (CStickyNoteWnd* pWnd : windows) {
        const std::vector<CStickyNoteWnd*>& live = LiveNoteWindows();
        if (std::find(live.begin(), live.end(), pWnd) != live.end() && pWnd->HasOwnParent() &&
            pWnd->GetSafeHwnd() != NULL && pWnd->m_nItemKey == nKey)
            pWnd->AnnounceNotesAgain();
    }
}

void CStickyNoteWnd::AnnounceNotesAgain()
{
    if (m_bShowingNotes) {
        RefreshWorkingNotes();
        INT_PTR nCount = m_working.GetSize();
        if (nCount == 0) {
            PostPresent(0, 0);
            return;
        }
        WORD* pBlocks = new WORD[4 * nCount];
        for (INT_PTR i = 0; i < nCount; ++i)
            std::memcpy(pBlocks + 4 * i, GetWorkingNote(static_cast<int>(i))->m_pPosition, 4 * sizeof(WORD));
        PostPresent(static_cast<WPARAM>(nCount), reinterpret_cast<LPARAM>(pBlocks));
        return;
    }
    PostPresent(m_pRecordSet != NULL && m_pRecordSet->FindNote(m_nItemKey) != NULL, 0);
}

void CStickyNoteWnd::SaveNotes()
{
    if (m_pRecordSet != NULL)
        m_pRecordSet->Save();
    if (m_pCurrentNote != NULL && m_pCurrentNote->m_bPlaced && m_pRecordSet != NULL)
        m_nCurrentIndex = static_cast<int>(m_pRecordSet->IndexOf(m_pCurrentNote));
}

int CStickyNoteWnd::FindNoteIndex(LONG nKey)
{
    if (m_pRecordSet == NULL)
        return -1;
    for (INT_PTR i = 0; i < m_pRecordSet->GetSize(); ++i) {
        if (m_pRecordSet->GetNote(i)->m_nKey == nKey)
            return static_cast<int>(i);
    }
    return -1;
}

int CStickyNoteWnd::FindNoteIndex(const CReference* pReference)
{
    return pReference != NULL ? FindNoteIndex(pReference->GetNumber()) : -1;
}

void CStickyNoteWnd::SelectNote(LPCSTR lpszTitle, const CReference* pReference)
{
    m_strItemTitle = lpszTitle != NULL ? lpszTitle : "";
    m_nItemKey = pReference != NULL ? pReference->GetNumber() : -1;
    SetCurrentNote(NULL);
    m_nCurrentIndex = FindNoteIndex(m_nItemKey);
    PostPresent(m_nCurrentIndex >= 0, 0);
}

void CStickyNoteWnd::SelectNoteAt(LPCSTR lpszTitle, LONG nKey, const WORD* pPosition)
{
    m_strItemTitle = lpszTitle != NULL ? lpszTitle : "";
    m_nItemKey = nKey;
    if (pPosition != NULL)
        std::memcpy(m_wStoredPosition, pPosition, sizeof m_wStoredPosition);
    CStickyNote* pFound = NULL;
    for (INT_PTR i = 0; m_pRecordSet != NULL && i < m_pRecordSet->GetSize(); ++i) {
        CStickyNote* pNote = m_pRecordSet->GetNote(i);
        if (pNote->m_nKey == nKey && pNote->IsAt(m_wStoredPosition)) {
            pFound = pNote;
            break;
        }
    }
    SetCurrentNote(pFound);
    PostPresent(pFound != NULL, 0);
}

void CStickyNoteWnd::RefreshWorkingNotes()
{
    m_working.RemoveAll();
    for (INT_PTR i = 0; m_pRecordSet != NULL && i < m_pRecordSet->GetSize(); ++i) {
        CStickyNote* pNote = m_pRecordSet->GetNote(i);
        if (pNote->m_nKey != m_nItemKey)
            continue;
        INT_PTR nAt = m_working.GetSize();
        for (INT_PTR j = 0; j < m_working.GetSize(); ++j) {
            if (pNote->IsBefore(*static_cast<CStickyNote*>(m_working.GetAt(j)))) {
                nAt = j;
                break;
            }
        }
        m_working.InsertAt(nAt, pNote);
    }
}

void CStickyNoteWnd::ShowNotes(LPCSTR lpszTitle, LONG nKey)
{
    m_bShowingNotes = TRUE;
    m_strItemTitle = lpszTitle != NULL ? lpszTitle : "";
    m_nItemKey = nKey;
    AnnounceNotesAgain();
}

void CStickyNoteWnd::SetNotePosition(int nIndex, const WORD* pPosition)
{
    if (nIndex < 0 || nIndex >= GetWorkingCount() || pPosition == NULL)
        return;
    CStickyNote* pNote = GetWorkingNote(nIndex);
    SetCurrentNote(pNote);
    if (pNote->IsAt(pPosition))
        return;
    std::memcpy(pNote->m_pPosition, pPosition, 4 * sizeof(WORD));
    if (pNote->m_bPlaced)
        SaveNotes();
}

void CStickyNoteWnd::NewNote(const WORD* pPosition)
{
    DiscardUnplacedNote();
    CStickyNote* pNote = new CStickyNote;
    pNote->m_strTitle = m_strItemTitle;
    pNote->m_nKey = m_nItemKey;
    if (pPosition != NULL)
        std::memcpy(pNote->m_pPosition, pPosition, 4 * sizeof(WORD));
    m_pCurrentNote = pNote;
    m_nCurrentIndex = -1;
}

int CStickyNoteWnd::RunDialog()
{
    CStickyNoteDlg dialog(this);
    return dialog.RunTabDialog();
}

LRESULT CStickyNoteWnd::OnDisplayNote(WPARAM wParam, LPARAM lParam)
{
    Reposition();
    if (wParam != 0xFFFF && static_cast<int>(wParam) != -1) {
        AfxMessageBox("You should never get to this part of OnDisplayNote", MB_ICONSTOP);
        return 0;
    }
    const WORD* pPosition = reinterpret_cast<const WORD*>(lParam);
    if (pPosition == NULL) {
        CStickyNote* pFirst = m_pRecordSet != NULL ? m_pRecordSet->FindNote(m_nItemKey) : NULL;
        if (pFirst != NULL)
            SetCurrentNote(pFirst);
        else
            NewNote(NULL);
    } else {
        NewNote(pPosition);
    }
    RunDialog();
    return 0;
}

LRESULT CStickyNoteWnd::OnDisplayNoteAt(WPARAM, LPARAM lParam)
{
    // The sender's block may be gone by the time the posted request arrives: the window keeps
    // its own copy.
    const WORD* pPosition = reinterpret_cast<const WORD*>(lParam);
    if (pPosition != NULL)
        std::memcpy(m_wPendingPosition, pPosition, sizeof m_wPendingPosition);
    PostMessage(VLM_STICKY_DISPLAY, static_cast<WPARAM>(-1),
                pPosition != NULL ? reinterpret_cast<LPARAM>(m_wPendingPosition) : 0);
    return 0;
}

LRESULT CStickyNoteWnd::OnOpenNote(WPARAM wParam, LPARAM)
{
    Reposition();
    int nIndex = static_cast<int>(wParam);
    if (nIndex < 0 || nIndex >= GetWorkingCount())
        return 0;
    SetCurrentNote(GetWorkingNote(nIndex));
    RunDialog();
    return 0;
}

LRESULT CStickyNoteWnd::OnNewNote(WPARAM, LPARAM)
{
    Reposition();
    if (m_pCurrentNote == NULL)
        NewNote(m_wStoredPosition);
    RunDialog();
    return 0;
}
