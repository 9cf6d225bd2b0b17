#include "media/StickyNoteDlg.h"

#include "base/AppServices.h"
#include "base/HitList.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"
#include "media/StickyNoteWnd.h"

#include <memory>

namespace {

const int kButtonTop = 127;

struct ButtonSpec {
    UINT nID;
    LPCSTR lpszCaption;
    int x;
    UINT nNormal;
    UINT nPressed;
};

const ButtonSpec kButtons[] = {
    {IDC_SN_DELETE, "SN Delete", 2, 344, 342},        {IDC_SN_PLACE, "SN Place", 104, 346, 345},
    {IDC_SN_LIST, "SN List", 55, 348, 347},           {IDC_SN_CANCEL, "SN Cancel", 157, 350, 349},
    {IDC_SN_DELETEALL, "SN DeleteAll", 55, 354, 353}, {IDOK, "SN Okay", 114, 356, 355},
};

}  // namespace

BEGIN_MESSAGE_MAP(CStickyNoteDlg, CGenericTabWinDialog)
    ON_BN_CLICKED(IDC_SN_PLACE, OnPlace)
    ON_BN_DOUBLECLICKED(IDC_SN_PLACE, OnPlace)
    ON_BN_CLICKED(IDC_SN_DELETE, OnDelete)
    ON_BN_DOUBLECLICKED(IDC_SN_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_SN_DELETEALL, OnDeleteAll)
    ON_BN_DOUBLECLICKED(IDC_SN_DELETEALL, OnDeleteAll)
    ON_BN_CLICKED(IDC_SN_LIST, OnShowList)
    ON_BN_DOUBLECLICKED(IDC_SN_LIST, OnShowList)
    ON_BN_CLICKED(IDC_SN_CANCEL, OnCancelNote)
    ON_BN_DOUBLECLICKED(IDC_SN_CANCEL, OnCancelNote)
    ON_BN_CLICKED(IDOK, OnOK)
    ON_BN_DOUBLECLICKED(IDOK, OnOK)
    ON_NOTIFY(NM_DBLCLK, IDC_SN_NOTELIST, OnListDoubleClick)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CStickyNoteDlg::CStickyNoteDlg(CStickyNoteWnd* pNoteWnd)
    : CGenericTabWinDialog("STICKY NOTE"), m_pNoteWnd(pNoteWnd), m_pNote(pNoteWnd->GetCurrentNote())
{
}

CStickyNoteDlg::~CStickyNoteDlg()
{
    for (CWnd* pControl : {static_cast<CWnd*>(&m_list), static_cast<CWnd*>(&m_editTitle),
                           static_cast<CWnd*>(&m_editText)}) {
        if (pControl->GetSafeHwnd() != NULL)
            pControl->DestroyWindow();
    }
}

CDibButton& CStickyNoteDlg::GetButton(UINT nID)
{
    switch (nID) {
    case IDC_SN_DELETE: return m_btnDelete;
    case IDC_SN_PLACE: return m_btnPlace;
    case IDC_SN_LIST: return m_btnList;
    case IDC_SN_DELETEALL: return m_btnDeleteAll;
    case IDOK: return m_btnOkay;
    default: return m_btnCancel;
    }
}

BOOL CStickyNoteDlg::CreateControls()
{
    InitControls();
    CRect place = m_pNoteWnd->ComputePlacement();
    SetWindowPos(NULL, place.left, place.top, place.Width(), place.Height(), SWP_NOZORDER | SWP_NOACTIVATE);

    for (const ButtonSpec& spec : kButtons) {
        CDibButton& button = GetButton(spec.nID);
        if (button.Create(spec.lpszCaption, WS_CHILD | BS_OWNERDRAW, CRect(spec.x, kButtonTop, spec.x + 10, kButtonTop + 10),
                          this, spec.nID) &&
            button.LoadStateBitmaps(spec.nNormal, spec.nPressed))
            button.SizeToBitmap();
    }
    m_list.Create(WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_SORT | LBS_NOTIFY, CRect(2, 2, 208, 125), this,
                  IDC_SN_NOTELIST);
    m_editTitle.Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, CRect(2, 2, 208, 25), this, IDC_SN_TITLE);
    m_editText.Create(WS_CHILD | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                      CRect(2, 27, 208, 125), this, IDC_SN_TEXT);
    FillList();
    if (m_pNoteWnd->HasOwnParent() && m_pNote != NULL) {
        m_editTitle.SetWindowText(m_pNote->m_strTitle);
        m_editText.SetWindowText(m_pNote->m_strText);
        SetListMode(FALSE);
    } else {
        SetListMode(TRUE);
    }
    return TRUE;
}

void CStickyNoteDlg::FillList()
{
    if (m_list.GetSafeHwnd() == NULL)
        return;
    m_list.ResetContent();
    CStickyRecordSet* pSet = m_pNoteWnd->GetRecordSet();
    for (INT_PTR i = 0; pSet != NULL && i < pSet->GetSize(); ++i)
        AddNoteRow(pSet->GetNote(i));
}

int CStickyNoteDlg::AddNoteRow(CStickyNote* pNote)
{
    int nRow = m_list.AddString(pNote->m_strTitle);
    if (nRow >= 0)
        m_list.SetItemValue(m_list.GetItemIdAt(nRow), reinterpret_cast<LPARAM>(pNote));
    return nRow;
}

int CStickyNoteDlg::FindNoteRow(const CStickyNote* pNote)
{
    for (int nRow = 0; nRow < m_list.GetCount(); ++nRow) {
        if (RowNote(nRow) == pNote)
            return nRow;
    }
    return LB_ERR;
}

void CStickyNoteDlg::SetListMode(BOOL bList)
{
    m_bListMode = bList;
    const int nNote = bList ? SW_HIDE : SW_SHOW;
    const int nList = bList ? SW_SHOW : SW_HIDE;
    for (UINT nID : {IDC_SN_PLACE, IDC_SN_LIST})
        GetButton(nID).ShowWindow(nNote);
    for (UINT nID : {static_cast<UINT>(IDC_SN_DELETEALL), static_cast<UINT>(IDOK)})
        GetButton(nID).ShowWindow(nList);
    for (UINT nID : {IDC_SN_DELETE, IDC_SN_CANCEL})
        GetButton(nID).ShowWindow(SW_SHOW);
    m_editTitle.ShowWindow(nNote);
    m_editText.ShowWindow(nNote);
    m_list.ShowWindow(nList);
    if (bList) {
        m_strTitle = "STICKY LIST";
        SetWindowText(m_strTitle);
        RedrawCaption();
        if (m_list.GetCount() > 0)
            m_list.SetCurSel(0);
        m_list.SetFocus();
    } else {
        m_editTitle.SetFocus();
    }
}

CStickyNote* CStickyNoteDlg::RowNote(int nRow)
{
    HTREEITEM hItem = m_list.GetItemIdAt(nRow);
    return hItem != NULL ? reinterpret_cast<CStickyNote*>(m_list.GetItemValue(hItem)) : NULL;
}

void CStickyNoteDlg::RebuildSet()
{
    CStickyRecordSet* pSet = m_pNoteWnd->GetRecordSet();
    if (pSet == NULL)
        return;
    pSet->CObArray::RemoveAll();
    for (int nRow = 0; nRow < m_list.GetCount(); ++nRow) {
        if (CStickyNote* pNote = RowNote(nRow))
            pSet->Add(pNote);
    }
    m_pNoteWnd->SaveNotes();
}

void CStickyNoteDlg::OnPlace()
{
    // Without a note, or a set to take it, there is nothing to place.
    if (m_pNote == NULL || m_pNoteWnd->GetRecordSet() == NULL) {
        EndTabDialog(IDOK);
        return;
    }
    m_editTitle.GetWindowText(m_pNote->m_strTitle);
    m_editText.GetWindowText(m_pNote->m_strText);
    if (!m_pNote->m_bPlaced) {
        m_pNote->m_bPlaced = TRUE;
    } else if (int nRow = FindNoteRow(m_pNote); nRow != LB_ERR) {
        // A changed title takes its row's place in the sorted list.
        m_list.DeleteItem(m_list.GetItemIdAt(nRow));
    }
    AddNoteRow(m_pNote);
    RebuildSet();
    if (m_pNoteWnd->IsShowingNotes())
        m_pNoteWnd->ShowNotes(m_pNoteWnd->GetItemTitle(), m_pNoteWnd->GetItemKey());
    else if (CWnd* pParent = m_pNoteWnd->GetParentWindow(); pParent != NULL && pParent->GetSafeHwnd() != NULL)
        pParent->PostMessage(VLM_STICKY_PRESENT, 1, 0);
    EndTabDialog(IDOK);
}

void CStickyNoteDlg::AnnounceDeleted(LONG nKey)
{
    CWnd* pParent = m_pNoteWnd->GetParentWindow();
    if (pParent == NULL || pParent->GetSafeHwnd() == NULL)
        return;
    LONG nKind = 0;
    if (CReferenceFactory* pFactory = GetAppReferenceFactory()) {
        try {
            std::unique_ptr<CReference> pReference(pFactory->CreateReference(nKey, "", 0));
            if (pReference)
                nKind = pReference->GetKind();
        } catch (CException* e) {
            e->Delete();
        }
    }
    if (nKind == REFKIND_ARTICLE)
        pParent->PostMessage(VLM_STICKY_DELETED, 0, nKey);
    else
        pParent->PostMessage(VLM_STICKY_PRESENT, 0, 0);
}

void CStickyNoteDlg::DeleteRow(int nRow)
{
    CStickyNote* pNote = RowNote(nRow);
    m_list.DeleteItem(m_list.GetItemIdAt(nRow));
    if (pNote == NULL)
        return;
    LONG nKey = pNote->m_nKey;
    if (pNote == m_pNote)
        m_pNote = NULL;
    // Every note window lets go of it (the page's, the media view's, a table's), not just this
    // dialog's.
    CStickyNoteWnd::ForgetNoteEverywhere(pNote);
    delete pNote;
    RebuildSet();
    m_pNoteWnd->RefreshWorkingNotes();
    AnnounceDeleted(nKey);
}

void CStickyNoteDlg::OnDelete()
{
    int nRow = m_bListMode ? m_list.GetCurSel() : LB_ERR;
    if (nRow == LB_ERR && m_pNote != NULL) {
        // Note mode: the current note's row, if it has one; a note never placed is simply let go.
        nRow = FindNoteRow(m_pNote);
        if (nRow == LB_ERR) {
            m_pNoteWnd->DiscardUnplacedNote();
            m_pNote = NULL;
        }
    }
    if (nRow != LB_ERR)
        DeleteRow(nRow);
    EndTabDialog(IDOK);
}

void CStickyNoteDlg::OnDeleteAll()
{
    while (m_list.GetCount() > 0)
        DeleteRow(0);
    EndTabDialog(IDOK);
}

void CStickyNoteDlg::OnShowList()
{
    if (m_pNote != NULL && !m_pNote->m_bPlaced) {
        m_pNoteWnd->DiscardUnplacedNote();
        m_pNote = NULL;
    }
    SetListMode(TRUE);
}

void CStickyNoteDlg::OnCancelNote()
{
    if (!m_bListMode && m_pNote != NULL && !m_pNote->m_bPlaced) {
        m_pNoteWnd->DiscardUnplacedNote();
        m_pNote = NULL;
    }
    EndTabDialog(IDCANCEL);
}

void CStickyNoteDlg::OnOK()
{
    if (!m_bListMode) {
        // Enter in an edit of note mode: nothing to open.
        return;
    }
    CStickyNote* pNote = m_list.GetCount() > 0 ? RowNote(m_list.GetCurSel()) : NULL;
    if (pNote == NULL) {
        EndTabDialog(IDCANCEL);
        return;
    }
    m_pNoteWnd->SetCurrentNote(pNote);
    m_pNote = pNote;
    OpenNotedItem(pNote);
    EndTabDialog(IDOK);
}

void CStickyNoteDlg::OnListDoubleClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    OnOK();
}

void CStickyNoteDlg::OpenNotedItem(CStickyNote* pNote)
{
    CReferenceFactory* pFactory = GetAppReferenceFactory();
    CReference* pReference = NULL;
    if (pFactory != NULL) {
        try {
            pReference = pFactory->CreateReference(pNote->m_nKey, "", 0);
        } catch (CException* e) {
            e->Delete();
            pReference = NULL;
        }
    }
    if (pReference == NULL) {
        CString strText;
        strText.Format("Bad Media Type in Topic vl:%ld", static_cast<long>(pNote->m_nKey));
        AfxMessageBox(strText, MB_ICONSTOP);
        return;
    }
    LONG nKind = pReference->GetKind();
    UINT nMessage = 0;
    UINT nView = 0;
    if (nKind == REFKIND_ARTICLE || nKind == REFKIND_ARTICLE2) {
        // The article opens at the note's section and character.
        CHitList* pHits = new CHitList;
        pHits->AddHit(CHitPosition(pNote->m_pPosition[0], pNote->m_pPosition[3], 0));
        pReference->SetData(pHits);
        nMessage = VLM_OPEN_NOTED_ITEM;
        nView = IDW_ARTICLE;
    } else if (nKind == REFKIND_MAP) {
        nMessage = VLM_OPEN_WINDOW;
        nView = IDW_ATLAS;
    } else if (nKind & REFKIND_ALLMEDIA) {
        // Media items go to the media view as its display state, made from the reference.
        CMediaDisplayRef* pDisplay = new CMediaDisplayRef(pReference, NULL, 0);
        delete pReference;
        CWnd* pFrame = GetAppMainWnd();
        if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL ||
            !pFrame->PostMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, reinterpret_cast<LPARAM>(pDisplay)))
            delete pDisplay;
        return;
    } else {
        if (pReference->GetLinkText().IsEmpty())
            pReference->MakeLinkText();
        AfxMessageBox("Bad Media Type in Topic " + pReference->GetLinkText(), MB_ICONSTOP);
        delete pReference;
        return;
    }
    CWnd* pFrame = GetAppMainWnd();
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL ||
        !pFrame->PostMessage(nMessage, nView, reinterpret_cast<LPARAM>(pReference)))
        delete pReference;
}

void CStickyNoteDlg::OnPaint()
{
    CPaintDC dc(this);
    PaintFramedGround(&dc);
}
