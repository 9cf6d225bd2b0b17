#include "search/DictionaryTabWin.h"

#include "base/ClipboardText.h"

#include "base/AppServices.h"
#include "base/DataFolders.h"
#include "base/PaletteSelector.h"
#include "base/VLMessages.h"
#include "search/DictionaryDoc.h"
#include "search/DictionarySearchEngine.h"

#include <string.h>

BEGIN_MESSAGE_MAP(CDictionaryTabWin, CGenericTabWin)
    ON_WM_CREATE()
    ON_WM_KEYDOWN()
    ON_WM_CLOSE()
    ON_WM_SHOWWINDOW()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_COMMAND(IDC_DICTIONARY_GO, OnGo)
    ON_COMMAND(IDC_DICTIONARY_TAB, OnSwitchTab)
    ON_MESSAGE(VLM_DICTIONARY_RESTART, OnRestart)
    ON_MESSAGE(VLM_PRINT_RESULTS, OnPrintPane)
END_MESSAGE_MAP()

CDictionaryTabWin::CDictionaryTabWin() = default;

CDictionaryTabWin::~CDictionaryTabWin()
{
    if (m_pDoc != NULL) {
        if (m_pDoc->IsOpen())
            m_pDoc->Close();
        delete m_pDoc;
        m_pDoc = NULL;
    }
    DestroyWindow();
}

BOOL CDictionaryTabWin::Create(POINT pt, CWnd* pParentWnd)
{
    return CGenericTabWin::Create(NULL, "dictionary", WS_BORDER, CRect(pt.x, pt.y, 220, 461), pParentWnd,
                                  IDW_DICTIONARYPANE);
}

int CDictionaryTabWin::Margin() const
{
    return GetAppScreenClass() > 0 ? 12 : 4;
}

int CDictionaryTabWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CGenericTabWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    const int m = Margin();
    CClientDC screen(NULL);
    const int nHeight = -MulDiv(8, screen.GetDeviceCaps(LOGPIXELSY), 72);
    auto makeFont = [&](CFont& font) {
        return font.CreateFont(nHeight, 0, 0, 0, 700, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    };
    auto makeButton = [&](CDibButton& button, LPCSTR lpszText, UINT nID, int x, int y, UINT nNormal, UINT nPressed,
                          BOOL bVisible) {
        if (!button.Create(lpszText, WS_CHILD | BS_OWNERDRAW | (bVisible ? WS_VISIBLE : 0), CRect(x, y, x + 10, y + 10),
                           this, nID))
            return FALSE;
        if (!button.LoadStateBitmaps(nNormal, nPressed))
            return FALSE;
        button.SizeToBitmap();
        return TRUE;
    };
    const BOOL bMade =
        makeButton(m_btnGo, "Go", IDC_DICTIONARY_GO, 0, 45, 449, 448, TRUE) &&
        m_wndEntry.Create(WS_CHILD | WS_VISIBLE, CRect(m, 22, m + 100, 103), this, IDC_DICTIONARY_ENTRY) &&
        makeButton(m_btnWordList, "Word List", IDC_DICTIONARY_TAB, m, 45, 451, 450, TRUE) &&
        makeButton(m_btnDefinitions, "Definitions", IDC_DICTIONARY_TAB, m, 49, 447, 446, FALSE) &&
        makeFont(m_fontEntry) && makeFont(m_fontCaption) && m_wndDefinitions.Create(this, CPoint(m, 80)) &&
        m_wndWordList.Create(this, CPoint(m, 80));
    if (!bMade) {
        AfxMessageBox("The Dictionary Tab window could not be created.", MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    m_wndEntry.GetEdit().SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontEntry.GetSafeHandle()), TRUE);
    m_wndEntry.GetList().SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontEntry.GetSafeHandle()), TRUE);
    m_wndDefinitions.ShowWindow(SW_SHOW);
    return 0;
}

CDictionaryDoc* CDictionaryTabWin::GetDocument(BOOL bMake)
{
    // The dictionary is read only with the engine the application makes at start-up.
    if (m_pDoc == NULL && bMake && AppServices().owned.pDictionaryEngine != NULL) {
        try {
            m_pDoc = new CDictionaryDoc;
        } catch (CException* e) {
            // An unresolved data folder: no document for now.
            e->Delete();
            m_pDoc = NULL;
        }
    }
    return m_pDoc;
}

void CDictionaryTabWin::LookUpWord(LPCSTR lpszWord)
{
    m_strHandedOver = lpszWord;
    OpenAndLookUp();
}

void CDictionaryTabWin::OpenAndLookUp()
{
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT13, 1, TRUE))
        return;
    CWnd* pMain = GetAppMainWnd();
    if (pMain != NULL)
        pMain->SendMessage(WM_COMMAND, ID_SHOW_DICTIONARY);
    LookUp();
    if (pMain != NULL) {
        pMain->PostMessage(VLM_PANE_DOWN, 0, 1);
        pMain->PostMessage(VLM_PANE_UP, 0, 2);
    }
    if (!IsWindowVisible())
        ShowWindow(SW_SHOW);
}

void CDictionaryTabWin::SetWordAndLookUp(LPCSTR lpszWord)
{
    m_wndEntry.GetEdit().SetFocus();
    m_wndEntry.GetEdit().SetWindowText(lpszWord);
    LookUp();
}

void CDictionaryTabWin::SetHeadingAndEntry(LPCSTR lpszText)
{
    if (CDictionaryDoc* pDoc = GetDocument(FALSE))
        pDoc->SetHeading(lpszText);
    m_wndEntry.GetEdit().SetWindowText(lpszText);
}

void CDictionaryTabWin::LookUp()
{
    m_bLookedUp = TRUE;
    if (m_strHandedOver.IsEmpty()) {
        m_wndEntry.GetEdit().GetWindowText(m_strCurrentWord);
        m_strCurrentWord.TrimLeft();
        m_strCurrentWord.TrimRight();
        if (m_strCurrentWord.IsEmpty())
            m_strCurrentWord = "a";
    } else {
        m_strCurrentWord = m_strHandedOver;
        m_strHandedOver.Empty();
    }
    m_wndEntry.GetEdit().SetFocus();
    // Every word looked up joins the entry box's drop list, once.
    BOOL bListed = FALSE;
    for (INT_PTR i = 0; i < m_lookedUp.GetSize() && !bListed; ++i)
        bListed = m_lookedUp[i].CompareNoCase(m_strCurrentWord) == 0;
    if (!bListed) {
        m_lookedUp.Add(m_strCurrentWord);
        m_wndEntry.AddString(m_strCurrentWord);
    }
    m_wndEntry.GetEdit().SetWindowText(m_strCurrentWord);
    m_wndEntry.GetEdit().SetSel(0, -1);
    m_nCurrentTab = 0;
    FindAndPosition();
    m_bSyncSuppressed = TRUE;
    SwitchTab();
}

void CDictionaryTabWin::OnGo()
{
    LookUp();
}

void CDictionaryTabWin::FindAndPosition()
{
    CWaitCursor wait;
    DWORD dwOffset = 0;
    try {
        if (CDictionarySearchEngine* pEngine = AppServices().owned.pDictionaryEngine)
            dwOffset = pEngine->LookUp(m_strCurrentWord);
    } catch (CException* e) {
        // Abandoned by the engine after its own message: the panel stays as it was.
        e->Delete();
        return;
    }
    if (CDictionaryDoc* pDoc = GetDocument(TRUE)) {
        // A word handed over while the panel is hidden finds the file closed.
        if (!pDoc->IsOpen())
            pDoc->Reopen();
        pDoc->SetAtEnd(FALSE);
        pDoc->SetEntryStart(dwOffset);
        pDoc->ReadAt(static_cast<__int64>(dwOffset) - CDictionaryDoc::kForwardLead);
        pDoc->Position(dwOffset);
    }
}

void CDictionaryTabWin::SwitchTab()
{
    if (m_bSwitching)
        return;
    m_bSwitching = TRUE;
    m_wndEntry.HideList();
    if (m_bSyncSuppressed) {
        m_bSyncSuppressed = FALSE;
    } else if (CDictionaryDoc* pDoc = GetDocument(TRUE)) {
        if (m_nCurrentTab == 1)
            pDoc->FindHeading(m_wndDefinitions.GetLines(), m_wndDefinitions.GetTopLine(), FALSE);
        else
            pDoc->FindHeading(m_wndWordList.GetRows(), m_wndWordList.GetTopRow(), TRUE);
        if (!pDoc->GetHeading().IsEmpty()) {
            m_strCurrentWord = pDoc->GetHeading();
            FindAndPosition();
        }
    }
    if (m_nCurrentTab == 0) {
        m_wndWordList.ShowWindow(SW_HIDE);
        m_wndDefinitions.ShowWindow(SW_SHOW);
        m_wndDefinitions.StartAfresh();
        m_btnDefinitions.ShowWindow(SW_HIDE);
        m_btnWordList.ShowWindow(SW_SHOW);
        m_nCurrentTab = 1;
    } else {
        m_wndDefinitions.ShowWindow(SW_HIDE);
        m_wndWordList.ShowWindow(SW_SHOW);
        m_wndWordList.StartAfresh();
        m_btnWordList.ShowWindow(SW_HIDE);
        m_btnDefinitions.ShowWindow(SW_SHOW);
        m_nCurrentTab = 0;
    }
    m_bSwitching = FALSE;
}

void CDictionaryTabWin::OnSwitchTab()
{
    SwitchTab();
}

LRESULT CDictionaryTabWin::OnRestart(WPARAM, LPARAM)
{
    m_nCurrentTab = m_nCurrentTab == 1 ? 0 : 1;
    if (CDictionaryDoc* pDoc = GetDocument(TRUE)) {
        if (!pDoc->GetHeading().IsEmpty())
            m_strCurrentWord = pDoc->GetHeading();
    }
    FindAndPosition();
    m_bSyncSuppressed = TRUE;
    SwitchTab();
    return 1;
}

void CDictionaryTabWin::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    (void)nRepCnt;
    (void)nFlags;
    if ((nChar == 'C' || nChar == 'c') && (::GetKeyState(VK_CONTROL) & 0x8000)) {
        CopyToClipboard();
        return;
    }
    if (!IsWindowVisible())
        return;
    UINT nCode = 0xFFFF;
    switch (nChar) {
    case VK_RETURN: LookUp(); break;
    case VK_ESCAPE: OnClose(); break;
    case VK_PRIOR: m_wndEntry.GetEdit().SetSel(-1, 0); nCode = SB_PAGEUP; break;
    case VK_NEXT: m_wndEntry.GetEdit().SetSel(-1, 0); nCode = SB_PAGEDOWN; break;
    case VK_END: nCode = SB_BOTTOM; break;
    case VK_HOME: nCode = SB_TOP; break;
    case VK_UP: m_wndEntry.GetEdit().SetSel(-1, 0); nCode = SB_LINEUP; break;
    case VK_DOWN: m_wndEntry.GetEdit().SetSel(-1, 0); nCode = SB_LINEDOWN; break;
    default: break;
    }
    CWnd& pane = m_nCurrentTab == 1 ? static_cast<CWnd&>(m_wndDefinitions) : static_cast<CWnd&>(m_wndWordList);
    pane.SendMessage(WM_VSCROLL, MAKEWPARAM(nCode, 0), 0);
}

void CDictionaryTabWin::OnClose()
{
    ShowWindow(SW_HIDE);
    if (CWnd* pMain = GetAppMainWnd())
        pMain->SendMessage(VLM_PANE_DOWN, 0, 2);
}

void CDictionaryTabWin::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CGenericTabWin::OnShowWindow(bShow, nStatus);
    CDictionarySearchEngine* pEngine = AppServices().owned.pDictionaryEngine;
    if (bShow) {
        if (m_pDoc != NULL && !m_pDoc->IsOpen())
            m_pDoc->Reopen();
        if (pEngine != NULL && !pEngine->GetMainIndexPath().IsEmpty() && !pEngine->IsIndexOpen())
            pEngine->Reopen();
        m_wndEntry.GetEdit().SetSel(-1, 0);
        m_wndEntry.GetEdit().SetFocus();
        m_wndEntry.GetEdit().SetWindowText(m_strCurrentWord);
        m_wndEntry.GetEdit().SetSel(0, -1);
        // The dictionary is read when the panel is first shown, not when the frame is made.
        if (!m_bLookedUp)
            PostMessage(WM_COMMAND, IDC_DICTIONARY_GO);
    } else {
        if (m_pDoc != NULL && m_pDoc->IsOpen())
            m_pDoc->Close();
        if (pEngine != NULL && pEngine->IsIndexOpen())
            pEngine->Close();
    }
}

void CDictionaryTabWin::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWin::OnSize(nType, cx, cy);
    if (m_wndEntry.GetSafeHwnd() == NULL)
        return;
    const int m = Margin();
    const int nWidth = std::max(cx, 234);
    m_wndEntry.SetWindowPos(NULL, 0, 0, nWidth - 2 * m, 20, SWP_NOMOVE | SWP_NOZORDER);
    CRect go;
    m_btnGo.GetWindowRect(&go);
    ScreenToClient(&go);
    m_btnGo.SetWindowPos(NULL, nWidth - (go.Width() + m - 4), go.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CRect defs;
    m_wndDefinitions.GetWindowRect(&defs);
    ScreenToClient(&defs);
    const int nPaneHeight = std::max(0, cy - 9 - defs.top);
    m_wndDefinitions.SetWindowPos(NULL, 0, 0, nWidth - 2 * m, nPaneHeight, SWP_NOMOVE | SWP_NOZORDER);
    m_wndWordList.SetWindowPos(NULL, 0, 0, nWidth - 2 * m, nPaneHeight, SWP_NOMOVE | SWP_NOZORDER);
    Invalidate();
}

void CDictionaryTabWin::OnPaint()
{
    CPaintDC dc(this);
    try {
        CAppPaletteSelector palette(&dc);
        CRect entry;
        m_wndEntry.GetWindowRect(&entry);
        ScreenToClient(&entry);
        CFont* pOld = dc.SelectObject(&m_fontCaption);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(PALETTERGB(0, 0, 0));
        dc.TextOut(entry.left + 1, 4, "ENTER WORD ");
        dc.SelectObject(pOld);
    } catch (CException* e) {
        e->Delete();
    }
}

BOOL CDictionaryTabWin::OnEraseBkgnd(CDC* pDC)
{
    CAppPaletteSelector palette(pDC);
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, PALETTEINDEX(56));
    return TRUE;
}

void CDictionaryTabWin::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
    SetFocus();
}

BOOL CDictionaryTabWin::IsOwnWindow(CWnd* pWnd) const
{
    for (HWND hWnd = pWnd != NULL ? pWnd->GetSafeHwnd() : NULL; hWnd != NULL; hWnd = ::GetParent(hWnd))
        if (hWnd == m_hWnd)
            return TRUE;
    return FALSE;
}

LRESULT CDictionaryTabWin::OnPrintPane(WPARAM, LPARAM)
{
    return Print();
}

int CDictionaryTabWin::Print()
{
    if (m_nCurrentTab == 1)
        m_wndDefinitions.Print();
    else
        m_wndWordList.Print();
    return 0;
}

void CDictionaryTabWin::UpdateCopyCommand(CCmdUI* pCmdUI)
{
    if (m_wndDefinitions.IsWindowVisible())
        pCmdUI->Enable(!m_wndDefinitions.GetSelectedText(10).IsEmpty());
}

void CDictionaryTabWin::CopyToClipboard()
{
    if (!m_wndDefinitions.IsWindowVisible())
        return;
    CopyTextToClipboard(this, m_wndDefinitions.GetSelectedText(-1));
}
