#include "media/BrowseMediaVirtualListBox.h"

#include "base/DataFolders.h"
#include "media/ReferenceTabWin.h"
#include "widgets/VLVListWnd.h"
#include "widgets/VLVirtualData.h"

#include <cstdlib>

namespace {

CString g_strBrowseClass;

// The media index: code | number | category | title; the number is the entry's identifier.
class CBrowseMediaFileList : public CVLVirtualData {
public:
    CBrowseMediaFileList() : CVLVirtualData(FALSE) {}

protected:
    long ReadEntry(int* pId, CString* pTitle, CString*, CString*) override
    {
        CString strLine;
        const long nPosition = ReadDataLine(strLine);
        if (nPosition < 0 || !ParseLine(strLine))
            return -1;
        *pId = m_nId;
        *pTitle = m_strTitle;
        m_nReaderValues[0] = m_nReaderValues[1] = m_nReaderValues[2] = 0;
        return nPosition;
    }
    BOOL ParseLine(LPCSTR lpszLine) override
    {
        CString strRest = lpszLine;
        CString fields[3];
        for (CString& field : fields) {
            const int nBar = strRest.Find('|');
            if (nBar < 0)
                return FALSE;
            field = strRest.Left(nBar);
            strRest = strRest.Mid(nBar + 1);
        }
        if (fields[1].IsEmpty() || fields[1].SpanIncluding("0123456789") != fields[1])
            return FALSE;
        m_nId = atoi(fields[1]);
        m_strTitle = strRest;
        return TRUE;
    }

private:
    int m_nId = 0;
    CString m_strTitle;
};

}  // namespace

BEGIN_MESSAGE_MAP(BrowseMediaVirtualListBox, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
END_MESSAGE_MAP()

BrowseMediaVirtualListBox::BrowseMediaVirtualListBox() = default;

BrowseMediaVirtualListBox::~BrowseMediaVirtualListBox()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pOwnList;
    delete m_pOwnData;
}

BOOL BrowseMediaVirtualListBox::Create(const RECT& rect, CWnd* pParent, UINT nID)
{
    if (g_strBrowseClass.IsEmpty())
        g_strBrowseClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    m_nID = nID;
    return CWnd::Create(g_strBrowseClass, "BrowseMediaVirtualListBox", WS_CHILD | WS_VISIBLE | WS_BORDER, rect, pParent,
                        nID);
}

int BrowseMediaVirtualListBox::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* pData = new CBrowseMediaFileList;
    m_pOwnData = pData;
    CString strFolder;
    try {
        if (GetDataDir(strFolder, DDT_INFO_DAT, 1, FALSE) && pData->OpenFirstFile(strFolder + BROWSE_MEDIA_FILE))
            pData->Open(strFolder + BROWSE_MEDIA_INDEX);
    } catch (CException* e) {
        e->Delete();  // an empty list
    }
    m_pOwnList = new CVLVListWnd(m_pOwnData);
    CRect client;
    GetClientRect(&client);
    if (!m_pOwnList->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, client, this, m_nID))
        return -1;
    m_pOwnList->SetBlackOnWhite(TRUE);
    m_pOwnList->ScrollToCurrent();
    m_pCurrentList = m_pOwnList;
    m_pCurrentData = m_pOwnData;
    return 0;
}

void BrowseMediaVirtualListBox::RestoreOwnList()
{
    if (m_pCurrentList != NULL && m_pCurrentList != m_pOwnList && m_pCurrentList->GetSafeHwnd() != NULL)
        m_pCurrentList->ShowWindow(SW_HIDE);
    m_pCurrentList = m_pOwnList;
    m_pCurrentData = m_pOwnData;
    if (m_pOwnList != NULL && m_pOwnList->GetSafeHwnd() != NULL) {
        m_pOwnList->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        m_pOwnList->ShowWindow(SW_SHOW);
    }
}

void BrowseMediaVirtualListBox::PlaceCurrentList()
{
    if (m_pCurrentList == NULL || m_pCurrentList->GetSafeHwnd() == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    m_pCurrentList->MoveWindow(&client);
}

void BrowseMediaVirtualListBox::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    PlaceCurrentList();
}

CString BrowseMediaVirtualListBox::GetCurrentTitle() const
{
    if (m_pCurrentList == NULL || m_pCurrentData == NULL)
        return CString();
    const long nRow = m_pCurrentList->GetCurrentItemData();
    if (nRow < 1)
        return CString();
    CVLVirtualData::VLLISTENTRY entry;
    return m_pCurrentData->GetListEntry(nRow, entry) != 0 ? entry.strTitle : CString();
}

BOOL BrowseMediaVirtualListBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_pCurrentList != NULL && reinterpret_cast<HWND>(lParam) == m_pCurrentList->GetSafeHwnd()) {
        if (HIWORD(wParam) == LBN_DBLCLK || HIWORD(wParam) == LBN_SELCHANGE) {
            const long nRow = m_pCurrentList->GetCurrentItemData();
            const long nRin = nRow >= 1 && m_pCurrentData != NULL ? m_pCurrentData->GetItemData(nRow) : 0;
            if (nRin > 0 && GetParent() != NULL)
                GetParent()->SendMessage(VLM_BROWSE_CHOSEN, 0, nRin);
        }
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

void BrowseMediaVirtualListBox::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 255));
}
