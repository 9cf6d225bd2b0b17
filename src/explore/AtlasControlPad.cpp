#include "explore/AtlasControlPad.h"

#include "base/DataFolders.h"
#include "base/PaletteSelector.h"
#include "base/ReferenceList.h"
#include "explore/AtlasOverlayTabWin.h"
#include "explore/AtlasShared.h"
#include "widgets/DibWin.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

const char kLegendFailed[] = "Unable to create Map Locator/Legend window.";

// Whether a GIF starts at the position of the file: its signature lies wholly inside it.
BOOL GifStartsAt(LPCSTR lpszPath, LONG nPosition)
{
    if (nPosition < 0)
        return FALSE;
    CFile file;
    if (!file.Open(lpszPath, CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone))
        return FALSE;
    BOOL bGif = FALSE;
    try {
        const ULONGLONG nLength = file.GetLength();
        if (static_cast<ULONGLONG>(nPosition) + 6 <= nLength) {
            char signature[6] = {};
            file.Seek(nPosition, CFile::begin);
            bGif = file.Read(signature, 6) == 6 && std::memcmp(signature, "GIF8", 4) == 0;
        }
    } catch (CFileException* e) {
        e->Delete();
        bGif = FALSE;
    }
    file.Close();
    return bGif;
}

}  // namespace

IMPLEMENT_DYNAMIC(CAtlasControlPad, CPaletteMainWin)

BEGIN_MESSAGE_MAP(CAtlasControlPad, CPaletteMainWin)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_COMMAND(IDC_PAD_TOGGLE_LIST, OnToggleList)
    ON_BN_DOUBLECLICKED(IDC_PAD_TOGGLE_LIST, OnToggleList)
    ON_COMMAND(IDC_PAD_CLOSE, OnClosePad)
    ON_BN_DOUBLECLICKED(IDC_PAD_CLOSE, OnClosePad)
    ON_MESSAGE(VLM_ATLAS_LEGEND, OnLegend)
END_MESSAGE_MAP()

CAtlasControlPad::CAtlasControlPad() = default;

CAtlasControlPad::~CAtlasControlPad()
{
    DestroyLegend();
    delete m_pOverlayList;
    m_pOverlayList = NULL;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CAtlasControlPad::Create(int x, int y, CWnd* pParentWnd, UINT nID)
{
    try {
        m_dibFace.LoadFromResourceId(IDB_PAD_FACE);
    } catch (CResourceException* e) {
        e->Delete();
        return FALSE;
    }
    const CString strClass =
        AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    return CWnd::Create(strClass, "Overlay Control Pad", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                        CRect(x, y, x + m_dibFace.GetWidth(), y + m_dibFace.GetHeight()), pParentWnd, nID);
}

int CAtlasControlPad::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CPaletteMainWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_btnClose.Create("", WS_CHILD | BS_OWNERDRAW, CRect(173, 7, 183, 17), this, IDC_PAD_CLOSE) ||
        !m_btnClose.LoadStateBitmaps(IDB_PAD_CLOSE, IDB_PAD_CLOSE_PRESSED, IDB_PAD_CLOSE, IDB_PAD_CLOSE))
        return -1;
    m_btnClose.SizeToBitmap();
    return 0;
}

CFont* CAtlasControlPad::NameFont()
{
    if (m_fontName.GetSafeHandle() == NULL)
        m_fontName.CreatePointFont(110, "Arial");
    return &m_fontName;
}

BOOL CAtlasControlPad::HasOverlays()
{
    const CReferenceList* pList = CAtlasShared::GetOverlayList();
    return pList != NULL && pList->GetCount() > 0;
}

CRect CAtlasControlPad::GetNameBox() const
{
    return CRect(kNameLeft, kNameTop - 1, kNameLeft + kNameWidth, kNameTop - 1 + (m_bTwoLines ? 36 : 19));
}

int CAtlasControlPad::MeasureName()
{
    const int nRoom = HasOverlays() ? kRoomWithList : kRoomWithoutList;
    CClientDC dc(GetSafeHwnd() != NULL ? this : NULL);
    CFont* pOld = dc.SelectObject(NameFont());
    const int nWidth = dc.GetTextExtent(CAtlasShared::GetOverlayName()).cx;
    dc.SelectObject(pOld);
    m_bTwoLines = nWidth >= nRoom;
    return GetLineCount();
}

void CAtlasControlPad::GetNameLines(CString& strFirst, CString& strSecond)
{
    const CString& strName = CAtlasShared::GetOverlayName();
    strFirst.Empty();
    strSecond.Empty();
    if (!m_bTwoLines) {
        strFirst = strName;
        return;
    }
    CClientDC dc(GetSafeHwnd() != NULL ? this : NULL);
    CFont* pOld = dc.SelectObject(NameFont());
    const int nFirstWidth = kFirstLineRight - (kNameLeft + kTextIndent);
    int nSpace = strName.ReverseFind(' ');
    while (nSpace >= 0 && dc.GetTextExtent(strName.Left(nSpace)).cx >= nFirstWidth)
        nSpace = nSpace > 0 ? strName.Left(nSpace).ReverseFind(' ') : -1;
    dc.SelectObject(pOld);
    if (nSpace < 0) {
        strSecond = strName;
        return;
    }
    strFirst = strName.Left(nSpace);
    strSecond = strName.Mid(nSpace + 1);
}

void CAtlasControlPad::LayOut()
{
    if (GetSafeHwnd() == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    if (m_btnClose.GetSafeHwnd() != NULL) {
        m_btnClose.SetWindowPos(NULL, 173, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_btnClose.ShowWindow(SW_SHOW);
    }
    MeasureName();
    const CRect box = GetNameBox();
    if (m_pOverlayList != NULL && m_pOverlayList->GetSafeHwnd() != NULL) {
        const int nRight = 177 + ::GetSystemMetrics(SM_CXVSCROLL) - ::GetSystemMetrics(SM_CXBORDER);
        m_pOverlayList->SetWindowPos(NULL, kNameLeft, box.bottom, nRight - kNameLeft, kListHeight,
                                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_pLegend != NULL && m_pLegend->GetSafeHwnd() != NULL) {
        CRect legend;
        m_pLegend->GetWindowRect(&legend);
        const int nAreaTop = box.bottom;
        const int nAreaBottom = client.bottom - 10;
        const int x = (client.Width() - legend.Width()) / 2;
        const int y = nAreaTop + (nAreaBottom - nAreaTop - legend.Height()) / 2;
        m_pLegend->SetWindowPos(&CWnd::wndBottom, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    SetWindowRgn(::CreateRoundRectRgn(0, 0, client.Width() + 2, client.Height() + 2, 36, 36), TRUE);
}

void CAtlasControlPad::OnSize(UINT nType, int cx, int cy)
{
    CPaletteMainWin::OnSize(nType, cx, cy);
    LayOut();
}

void CAtlasControlPad::OnPaint()
{
    CPaintDC dc(this);
    RealizeOwnPalette(&dc, TRUE, FALSE);
    if (!m_dibFace.IsEmpty())
        m_dibFace.Draw(&dc, 0, 0);

    const CRect frame = GetNameBox();
    CRect inside = frame;
    inside.DeflateRect(1, 1);
    CBrush white(0x02FFFFFF);
    dc.FillRect(&inside, &white);
    CBrush black(0x02000000);
    dc.FrameRect(&frame, &black);
    if (HasOverlays()) {
        try {
            CDib mark(static_cast<UINT>(IDB_PAD_DROP_MARK));
            mark.Draw(&dc, 173, 33);
        } catch (CResourceException* e) {
            e->Delete();
        }
    }

    CFont* pOldFont = dc.SelectObject(NameFont());
    const COLORREF crOldText = dc.SetTextColor(0x02000000);
    const COLORREF crOldBk = dc.SetBkColor(0x02FFFFFF);
    const int nOldMode = dc.SetBkMode(OPAQUE);
    CString strFirst, strSecond;
    GetNameLines(strFirst, strSecond);
    const int nLeft = kNameLeft + kTextIndent;
    if (!m_bTwoLines) {
        CRect line(nLeft, kNameTop, frame.right - 1, frame.bottom - 1);
        dc.DrawText(strFirst, &line, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    } else {
        CRect first(nLeft, kNameTop, kFirstLineRight, kNameTop + kLineHeight);
        dc.DrawText(strFirst, &first, DT_SINGLELINE | DT_BOTTOM | DT_LEFT | DT_NOPREFIX);
        CRect second(nLeft, kNameTop + kLineHeight, frame.right - 1, kNameTop + 2 * kLineHeight);
        dc.DrawText(strSecond, &second, DT_SINGLELINE | DT_BOTTOM | DT_LEFT | DT_NOPREFIX);
    }
    dc.SetBkMode(nOldMode);
    dc.SetBkColor(crOldBk);
    dc.SetTextColor(crOldText);
    dc.SelectObject(pOldFont);
}

void CAtlasControlPad::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (GetNameBox().PtInRect(point))
        PostMessage(WM_COMMAND, IDC_PAD_TOGGLE_LIST, 0);
    CPaletteMainWin::OnLButtonDown(nFlags, point);
}

void CAtlasControlPad::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // The second click of a quick pair toggles the list again, as a click does.
    if (GetNameBox().PtInRect(point))
        PostMessage(WM_COMMAND, IDC_PAD_TOGGLE_LIST, 0);
    CPaletteMainWin::OnLButtonDblClk(nFlags, point);
}

void CAtlasControlPad::OnToggleList()
{
    ToggleOverlayList();
}

void CAtlasControlPad::ToggleOverlayList()
{
    CReferenceList* pList = CAtlasShared::GetOverlayList();
    const DWORD dwSerial = CAtlasShared::GetOverlayListSerial();
    if (!m_bListBuilt || dwSerial != m_dwListSerial) {
        // The list window shows only the list it was built for; another list (or none) means
        // another window.
        delete m_pOverlayList;
        m_pOverlayList = NULL;
        m_bListShown = FALSE;
        m_dwListSerial = dwSerial;
        m_bListBuilt = TRUE;
        if (HasOverlays()) {
            m_pOverlayList = new CAtlasOverlayTabWin;
            if (!m_pOverlayList->Create("Atlas Overlays List Control", kNameLeft, GetNameBox().bottom, this,
                                        IDC_PAD_OVERLAY_LIST)) {
                delete m_pOverlayList;
                m_pOverlayList = NULL;
            } else {
                m_pOverlayList->ShowWindow(SW_HIDE);
                m_pOverlayList->Fill(pList);
            }
        }
    }
    if (m_pOverlayList != NULL && m_pOverlayList->IsWindowVisible()) {
        m_pOverlayList->ShowWindow(SW_HIDE);
        m_bListShown = FALSE;
    } else if (m_pOverlayList != NULL && HasOverlays()) {
        LayOut();
        m_pOverlayList->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        m_bListShown = TRUE;
    }
    Invalidate();
}

void CAtlasControlPad::OnClosePad()
{
    if (CWnd* pAtlas = GetParent(); pAtlas != NULL)
        pAtlas->PostMessage(VLM_ATLAS_TOGGLE_PAD, 0, 0);
}

void CAtlasControlPad::DestroyLegend()
{
    if (m_pLegend == NULL)
        return;
    if (m_pLegend->GetSafeHwnd() != NULL) {
        CRect area;
        m_pLegend->GetWindowRect(&area);
        ScreenToClient(&area);
        m_pLegend->ShowWindow(SW_HIDE);
        if (GetSafeHwnd() != NULL)
            InvalidateRect(&area);
        m_pLegend->DestroyWindow();
    }
    delete m_pLegend;
    m_pLegend = NULL;
}

BOOL CAtlasControlPad::ShowLegend(LPCSTR lpszSource, LONG nPosition)
{
    if (m_pOverlayList != NULL && m_pOverlayList->IsWindowVisible()) {
        m_pOverlayList->ShowWindow(SW_HIDE);
        m_bListShown = FALSE;
    }
    Invalidate();
    DestroyLegend();

    CString strPath = lpszSource != NULL ? lpszSource : "";
    if (strPath.IsEmpty()) {
        CString strFolder;
        if (!GetDataDir(strFolder, DDT_INFO_DAT11, 1, TRUE))
            return FALSE;
        strPath = strFolder + "vl.dat";
    }
    auto pLegend = std::make_unique<CDibWin>();
    BOOL bMade = GifStartsAt(strPath, nPosition);
    if (bMade) {
        try {
            pLegend->GetDib().ReadGifFile(strPath, nPosition);
        } catch (CFileException* e) {
            e->Delete();
        }
        bMade = !pLegend->GetDib().IsEmpty() &&
                pLegend->CreateEx(0, AfxRegisterWndClass(0), "Map Locator/Legend Win.", WS_CHILD | WS_CLIPSIBLINGS,
                                  CRect(0, 0, 1, 1), this, 0);
    }
    if (!bMade) {
        AfxMessageBox(kLegendFailed, MB_ICONEXCLAMATION);
        return FALSE;
    }
    pLegend->SizeToDib();
    m_pLegend = pLegend.release();
    MeasureName();
    PostMessage(WM_SIZE, 0, 0);
    CRect box = GetNameBox();
    InvalidateRect(&box);
    return TRUE;
}

LRESULT CAtlasControlPad::OnLegend(WPARAM wParam, LPARAM lParam)
{
    std::unique_ptr<CString> pSource(reinterpret_cast<CString*>(wParam));
    ShowLegend(pSource != NULL ? static_cast<LPCSTR>(*pSource) : "", static_cast<LONG>(lParam));
    return 0;
}
